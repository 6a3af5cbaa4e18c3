// Whole-image operations of CrImage.
#include "CrImage.h"

bool CrImage::IncreaseBpp(uint32_t bpp)
{
    if (!m_pDib)
        return false;
    if (bpp == GetBpp())
        return true;
    if (bpp < GetBpp() || (bpp != 4 && bpp != 8 && bpp != 24))
        return false;

    CrImage raised;
    raised.CopyInfo(*this);
    if (!raised.Create(GetWidth(), GetHeight(), bpp, GetType())) {
        SetLastError(raised.GetLastError());
        return false;
    }
    const bool indexed = bpp < 24;
    if (indexed) {
        raised.SetPalette(GetPalette(), GetNumColors());
    } else if (m_info.transIndex >= 0) {
        raised.SetTransColor(GetPaletteColor(static_cast<uint32_t>(m_info.transIndex)));
    }
    if (m_pSelection)
        raised.SelectionCopy(*this);
    if (m_pAlpha)
        raised.AlphaCopy(*this);
    else if (!indexed && AlphaPaletteIsValid())
        raised.AlphaCreate();

    for (int32_t y = 0; y < GetHeight() && !GetEscape(); y++)
        for (int32_t x = 0; x < GetWidth(); x++) {
            if (indexed)
                raised.SetPixelIndexUnchecked(x, y, GetPixelIndexUnchecked(x, y));
            else
                raised.SetPixelColorUnchecked(x, y, GetPixelColorUnchecked(x, y, true), true);
        }
    Transfer(raised, true);
    return true;
}
