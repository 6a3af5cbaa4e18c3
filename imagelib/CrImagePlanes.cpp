// Alpha plane and selection mask of CrImage: width × height bytes each, rows bottom-up.
// A ghost works on the planes it shares but never allocates or frees one.
#include "CrImage.h"

#include <cstdlib>
#include <cstring>

namespace {

void FlipRows(uint8_t* plane, size_t width, size_t height)
{
    for (size_t top = height - 1, bottom = 0; bottom < top; bottom++, top--) {
        uint8_t* a = plane + bottom * width;
        uint8_t* b = plane + top * width;
        for (size_t x = 0; x < width; x++) {
            const uint8_t t = a[x];
            a[x] = b[x];
            b[x] = t;
        }
    }
}

void MirrorRows(uint8_t* plane, size_t width, size_t height)
{
    for (size_t y = 0; y < height; y++) {
        uint8_t* row = plane + y * width;
        for (size_t left = 0, right = width - 1; left < right; left++, right--) {
            const uint8_t t = row[left];
            row[left] = row[right];
            row[right] = t;
        }
    }
}

} // namespace

// ---- Alpha plane ----

bool CrImage::AlphaCreate()
{
    if (m_pAlpha)
        return true;
    if (!m_pDib || IsGhost())
        return false;
    m_pAlpha = static_cast<uint8_t*>(malloc(PlaneSize()));
    if (m_pAlpha)
        memset(m_pAlpha, 255, PlaneSize());
    return m_pAlpha != nullptr;
}

void CrImage::AlphaDelete()
{
    if (!IsGhost())
        free(m_pAlpha);
    m_pAlpha = nullptr;
}

void CrImage::AlphaSet(uint8_t level)
{
    if (m_pAlpha)
        memset(m_pAlpha, level, PlaneSize());
}

void CrImage::AlphaSet(int32_t x, int32_t y, uint8_t level)
{
    if (m_pAlpha && IsInside(x, y))
        m_pAlpha[static_cast<size_t>(x) + static_cast<size_t>(y) * GetWidth()] = level;
}

// Only an 8-bit grey image holds one byte per pixel in its rows.
bool CrImage::AlphaSet(const CrImage& gray)
{
    if (!m_pDib || !gray.IsValid() || gray.GetBpp() != 8 || !gray.IsGrayScale() ||
        gray.GetWidth() != GetWidth() || gray.GetHeight() != GetHeight())
        return false;
    if (!AlphaCreate())
        return false;
    const size_t width = static_cast<size_t>(GetWidth());
    for (int32_t y = 0; y < GetHeight(); y++)
        memcpy(m_pAlpha + width * static_cast<size_t>(y), gray.GetBits(static_cast<uint32_t>(y)), width);
    return true;
}

bool CrImage::AlphaCopy(const CrImage& src)
{
    if (!m_pDib || !src.m_pAlpha || src.GetWidth() != GetWidth() || src.GetHeight() != GetHeight())
        return false;
    if (!AlphaCreate())
        return false;
    memcpy(m_pAlpha, src.m_pAlpha, PlaneSize());
    m_info.alphaMax = src.m_info.alphaMax;
    return true;
}

void CrImage::AlphaInvert()
{
    if (!m_pAlpha)
        return;
    const size_t size = PlaneSize();
    for (size_t i = 0; i < size; i++)
        m_pAlpha[i] = static_cast<uint8_t>(255 - m_pAlpha[i]);
}

uint8_t CrImage::AlphaGet(int32_t x, int32_t y) const
{
    if (!m_pAlpha || !IsInside(x, y))
        return 0;
    return AlphaGetUnchecked(x, y);
}

uint8_t* CrImage::AlphaGetPointer(int32_t x, int32_t y) const
{
    if (!m_pAlpha || !IsInside(x, y))
        return nullptr;
    return m_pAlpha + static_cast<size_t>(x) + static_cast<size_t>(y) * GetWidth();
}

uint8_t CrImage::AlphaGetUnchecked(int32_t x, int32_t y) const
{
    return m_pAlpha[static_cast<size_t>(x) + static_cast<size_t>(y) * GetWidth()];
}

bool CrImage::AlphaPaletteIsValid() const
{
    const CrRgbQuad* palette = GetPalette();
    if (!palette)
        return false;
    for (uint32_t i = 0; i < GetNumColors(); i++)
        if (palette[i].rgbReserved)
            return true;
    return false;
}

bool CrImage::AlphaFlip()
{
    if (!m_pAlpha)
        return false;
    FlipRows(m_pAlpha, static_cast<size_t>(GetWidth()), static_cast<size_t>(GetHeight()));
    return true;
}

bool CrImage::AlphaMirror()
{
    if (!m_pAlpha)
        return false;
    MirrorRows(m_pAlpha, static_cast<size_t>(GetWidth()), static_cast<size_t>(GetHeight()));
    return true;
}

bool CrImage::AlphaSplit(CrImage* dest)
{
    if (!m_pAlpha || !dest)
        return false;
    CrImage gray;
    if (!gray.Create(GetWidth(), GetHeight(), 8, GetType())) {
        SetLastError(gray.GetLastError());
        return false;
    }
    gray.SetGrayPalette();
    const size_t width = static_cast<size_t>(GetWidth());
    for (int32_t y = 0; y < GetHeight(); y++)
        memcpy(gray.GetBits(static_cast<uint32_t>(y)), m_pAlpha + width * static_cast<size_t>(y), width);
    return dest->Transfer(gray, true);
}

// ---- Selection mask ----

bool CrImage::SelectionCreate()
{
    if (!m_pDib || IsGhost())
        return false;
    free(m_pSelection);
    m_pSelection = static_cast<uint8_t*>(calloc(PlaneSize(), 1));
    return m_pSelection != nullptr;
}

void CrImage::SelectionDelete()
{
    if (!IsGhost())
        free(m_pSelection);
    m_pSelection = nullptr;
    m_info.selectionBox.left = GetWidth();
    m_info.selectionBox.top = 0;
    m_info.selectionBox.right = 0;
    m_info.selectionBox.bottom = GetHeight();
}

bool CrImage::SelectionIsInside(int32_t x, int32_t y) const
{
    if (!m_pSelection)
        return true;
    return IsInside(x, y) && SelectionGetUnchecked(x, y) != 0;
}

bool CrImage::SelectionCopy(const CrImage& src)
{
    if (!m_pDib || !src.m_pSelection || src.GetWidth() != GetWidth() || src.GetHeight() != GetHeight())
        return false;
    if (!m_pSelection && !SelectionCreate())
        return false;
    memcpy(m_pSelection, src.m_pSelection, PlaneSize());
    m_info.selectionBox = src.m_info.selectionBox;
    return true;
}

void CrImage::SelectionSet(int32_t x, int32_t y, uint8_t level)
{
    if (m_pSelection && IsInside(x, y))
        m_pSelection[static_cast<size_t>(x) + static_cast<size_t>(y) * GetWidth()] = level;
}

uint8_t CrImage::SelectionGetUnchecked(int32_t x, int32_t y) const
{
    return m_pSelection[static_cast<size_t>(x) + static_cast<size_t>(y) * GetWidth()];
}

uint8_t* CrImage::SelectionGetPointer(int32_t x, int32_t y) const
{
    if (!m_pSelection || !IsInside(x, y))
        return nullptr;
    return m_pSelection + static_cast<size_t>(x) + static_cast<size_t>(y) * GetWidth();
}

bool CrImage::SelectionFlip()
{
    if (!m_pSelection)
        return false;
    FlipRows(m_pSelection, static_cast<size_t>(GetWidth()), static_cast<size_t>(GetHeight()));
    CrRectL& box = m_info.selectionBox;
    const int32_t top = box.top;
    box.top = GetHeight() - box.bottom;
    box.bottom = GetHeight() - top;
    return true;
}

bool CrImage::SelectionMirror()
{
    if (!m_pSelection)
        return false;
    MirrorRows(m_pSelection, static_cast<size_t>(GetWidth()), static_cast<size_t>(GetHeight()));
    CrRectL& box = m_info.selectionBox;
    const int32_t left = box.left;
    box.left = GetWidth() - box.right;
    box.right = GetWidth() - left;
    return true;
}
