// Whole-image operations of CrImage: depth, grey scale, flips, turns, negative.
#include "CrImage.h"

#include <cstdlib>
#include <cstring>

namespace {

uint8_t GrayOf(uint8_t r, uint8_t g, uint8_t b)
{
    return static_cast<uint8_t>((r * 306 + g * 601 + b * 117) >> 10);
}

uint8_t GrayOf(const CrRgbQuad& c)
{
    return GrayOf(c.rgbRed, c.rgbGreen, c.rgbBlue);
}

void InvertBytes(uint8_t* p, size_t n)
{
    for (size_t i = 0; i < n; i++)
        p[i] = static_cast<uint8_t>(~p[i]);
}

} // namespace

bool CrImage::MakeLike(CrImage& target, int32_t width, int32_t height, uint32_t bpp)
{
    target.CopyInfo(*this);
    if (!target.Create(width, height, bpp, GetType())) {
        SetLastError(target.GetLastError());
        return false;
    }
    target.SetPalette(GetPalette(), GetNumColors());
    return true;
}

bool CrImage::MoveResult(CrImage& result, CrImage* dest)
{
    return (dest ? dest : this)->Transfer(result, true);
}

bool CrImage::IncreaseBpp(uint32_t bpp)
{
    if (!m_pDib)
        return false;
    if (bpp == GetBpp())
        return true;
    if (bpp < GetBpp() || (bpp != 4 && bpp != 8 && bpp != 24))
        return false;

    CrImage raised;
    if (!MakeLike(raised, GetWidth(), GetHeight(), bpp))
        return false;
    const bool indexed = bpp < 24;
    if (!indexed && m_info.transIndex >= 0)
        raised.SetTransColor(GetPaletteColor(static_cast<uint32_t>(m_info.transIndex)));
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
    return MoveResult(raised, nullptr);
}

bool CrImage::GrayScale()
{
    if (!m_pDib)
        return false;
    const int32_t w = GetWidth(), h = GetHeight();
    if (!IsIndexed()) {
        CrImage gray;
        if (!MakeLike(gray, w, h, 8))
            return false;
        gray.SetGrayPalette();
        if (m_info.transIndex >= 0)
            gray.m_info.transIndex = GrayOf(GetTransColor());
        if (m_pSelection)
            gray.SelectionCopy(*this);
        if (m_pAlpha)
            gray.AlphaCopy(*this);
        for (int32_t y = 0; y < h; y++) {
            const uint8_t* src = GetBits(static_cast<uint32_t>(y));
            uint8_t* dst = gray.GetBits(static_cast<uint32_t>(y));
            for (int32_t x = 0; x < w; x++, src += 3)
                dst[x] = GrayOf(src[2], src[1], src[0]);
        }
        return MoveResult(gray, nullptr);
    }

    // The grey value of every entry goes into its blue byte first.
    CrRgbQuad* palette = GetPalette();
    for (uint32_t i = 0; i < GetNumColors(); i++)
        palette[i].rgbBlue = GrayOf(palette[i]);
    m_info.nearestValid = false;
    if (m_info.transIndex >= 0 && static_cast<uint32_t>(m_info.transIndex) < GetNumColors())
        m_info.transIndex = palette[m_info.transIndex].rgbBlue;

    if (GetBpp() == 8) {
        uint8_t* p = m_info.pFirstRow;
        for (size_t i = 0, n = static_cast<size_t>(m_info.rowBytes) * h; i < n; i++)
            p[i] = palette[p[i]].rgbBlue;
        SetGrayPalette();
        return true;
    }
    CrImage gray;
    if (!MakeLike(gray, w, h, 8))
        return false;
    gray.SetGrayPalette();
    if (m_pSelection)
        gray.SelectionCopy(*this);
    if (m_pAlpha)
        gray.AlphaCopy(*this);
    for (int32_t y = 0; y < h; y++) {
        uint8_t* dst = gray.GetBits(static_cast<uint32_t>(y));
        for (int32_t x = 0; x < w; x++)
            dst[x] = palette[GetPixelIndexUnchecked(x, y)].rgbBlue;
    }
    return MoveResult(gray, nullptr);
}

bool CrImage::Flip(bool flipSelection, bool flipAlpha)
{
    if (!m_pDib)
        return false;
    const size_t rowBytes = m_info.rowBytes;
    uint8_t* buffer = static_cast<uint8_t*>(malloc(rowBytes));
    if (!buffer)
        return false;
    for (int32_t bottom = 0, top = GetHeight() - 1; bottom < top; bottom++, top--) {
        uint8_t* a = GetBits(static_cast<uint32_t>(bottom));
        uint8_t* b = GetBits(static_cast<uint32_t>(top));
        memcpy(buffer, a, rowBytes);
        memcpy(a, b, rowBytes);
        memcpy(b, buffer, rowBytes);
    }
    free(buffer);
    if (flipSelection)
        SelectionFlip();
    if (flipAlpha)
        AlphaFlip();
    return true;
}

bool CrImage::Mirror(bool mirrorSelection, bool mirrorAlpha)
{
    if (!m_pDib)
        return false;
    const int32_t w = GetWidth(), h = GetHeight();
    CrImage mirrored;
    if (!MakeLike(mirrored, w, h, GetBpp()))
        return false;
    if (m_pSelection && !mirrored.SelectionCopy(*this))
        return false;
    if (m_pAlpha && !mirrored.AlphaCopy(*this))
        return false;
    for (int32_t y = 0; y < h; y++) {
        const uint8_t* src = GetBits(static_cast<uint32_t>(y));
        uint8_t* dst = mirrored.GetBits(static_cast<uint32_t>(y));
        switch (GetBpp()) {
        case 8:
            for (int32_t x = 0; x < w; x++)
                dst[w - 1 - x] = src[x];
            break;
        case 24:
            for (int32_t x = 0; x < w; x++)
                memcpy(dst + static_cast<size_t>(w - 1 - x) * 3, src + static_cast<size_t>(x) * 3, 3);
            break;
        default:
            for (int32_t x = 0; x < w; x++)
                mirrored.SetPixelIndexUnchecked(w - 1 - x, y, GetPixelIndexUnchecked(x, y));
            break;
        }
    }
    if (mirrorSelection)
        mirrored.SelectionMirror();
    if (mirrorAlpha)
        mirrored.AlphaMirror();
    return MoveResult(mirrored, nullptr);
}

bool CrImage::Negative()
{
    if (!m_pDib)
        return false;
    const int32_t w = GetWidth(), h = GetHeight();
    const CrRectL& box = m_info.selectionBox;
    const int32_t x0 = box.left > 0 ? box.left : 0, x1 = box.right < w - 1 ? box.right : w - 1;
    const int32_t y0 = box.bottom > 0 ? box.bottom : 0, y1 = box.top < h - 1 ? box.top : h - 1;

    if (!IsIndexed()) {
        if (m_pSelection) {
            for (int32_t y = y0; y <= y1; y++)
                for (int32_t x = x0; x <= x1; x++)
                    if (SelectionGetUnchecked(x, y)) {
                        uint8_t* p = GetPixelPointer(x, y);
                        p[0] = static_cast<uint8_t>(~p[0]);
                        p[1] = static_cast<uint8_t>(~p[1]);
                        p[2] = static_cast<uint8_t>(~p[2]);
                    }
        } else {
            InvertBytes(m_info.pFirstRow, static_cast<size_t>(m_info.rowBytes) * h);
        }
        CrRgbQuad& t = m_info.transColor;
        t.rgbBlue = static_cast<uint8_t>(~t.rgbBlue);
        t.rgbGreen = static_cast<uint8_t>(~t.rgbGreen);
        t.rgbRed = static_cast<uint8_t>(~t.rgbRed);
        return true;
    }
    if (!IsGrayScale()) {
        CrRgbQuad* palette = GetPalette();
        for (uint32_t i = 0; i < GetNumColors(); i++) {
            palette[i].rgbBlue = static_cast<uint8_t>(~palette[i].rgbBlue);
            palette[i].rgbGreen = static_cast<uint8_t>(~palette[i].rgbGreen);
            palette[i].rgbRed = static_cast<uint8_t>(~palette[i].rgbRed);
        }
        m_info.nearestValid = false;
        return true;
    }
    if (m_pSelection) {
        const uint8_t mask = static_cast<uint8_t>((1u << GetBpp()) - 1);
        for (int32_t y = y0; y <= y1; y++)
            for (int32_t x = x0; x <= x1; x++)
                if (SelectionGetUnchecked(x, y))
                    SetPixelIndexUnchecked(x, y, static_cast<uint8_t>(~GetPixelIndexUnchecked(x, y) & mask));
    } else {
        InvertBytes(m_info.pFirstRow, static_cast<size_t>(m_info.rowBytes) * h);
    }
    return true;
}

bool CrImage::RotateLeft(CrImage* dest)
{
    return Rotate(true, dest);
}

bool CrImage::RotateRight(CrImage* dest)
{
    return Rotate(false, dest);
}

// New pixel (x, y) = old (y, h - 1 - x) turning left, old (w - 1 - y, x) turning right.
bool CrImage::Rotate(bool left, CrImage* dest)
{
    if (!m_pDib)
        return false;
    const int32_t w = GetWidth(), h = GetHeight();
    CrImage turned;
    if (!MakeLike(turned, h, w, GetBpp()))
        return false;
    if (m_pAlpha && !turned.AlphaCreate())
        return false;
    if (m_pSelection && !turned.SelectionCreate())
        return false;
    auto sourceX = [&](int32_t x, int32_t y) { return left ? y : w - 1 - y; };
    auto sourceY = [&](int32_t x, int32_t y) { return left ? h - 1 - x : x; };

    const int32_t tw = h, th = w;
    constexpr int32_t kBlock = 64;
    if (GetBpp() == 1) {
        // Whole source bytes at a time, but only the bits of real pixels: the row padding
        // must not land in the turned rows.
        for (int32_t oy = 0; oy < h; oy++) {
            const uint8_t* row = GetBits(static_cast<uint32_t>(oy));
            for (int32_t bx = 0; bx * 8 < w; bx++) {
                const uint8_t bits = row[bx];
                if (!bits)
                    continue;
                for (int32_t bit = 0; bit < 8 && bx * 8 + bit < w; bit++)
                    if (bits & (0x80 >> bit)) {
                        const int32_t ox = bx * 8 + bit;
                        turned.SetPixelIndexUnchecked(left ? h - 1 - oy : oy, left ? ox : w - 1 - ox, 1);
                    }
            }
            SetProgress(static_cast<uint32_t>(oy * 100 / h));
        }
    } else {
        for (int32_t by = 0; by < th; by += kBlock) {
            SetProgress(static_cast<uint32_t>(by * 100 / th));
            for (int32_t bx = 0; bx < tw; bx += kBlock)
                for (int32_t y = by; y < by + kBlock && y < th; y++)
                    for (int32_t x = bx; x < bx + kBlock && x < tw; x++) {
                        const int32_t ox = sourceX(x, y), oy = sourceY(x, y);
                        if (GetBpp() == 24)
                            memcpy(turned.GetPixelPointer(x, y), GetPixelPointer(ox, oy), 3);
                        else
                            turned.SetPixelIndexUnchecked(x, y, GetPixelIndexUnchecked(ox, oy));
                    }
        }
    }
    for (int32_t y = 0; y < th; y++)
        for (int32_t x = 0; x < tw; x++) {
            const int32_t ox = sourceX(x, y), oy = sourceY(x, y);
            if (m_pAlpha)
                turned.AlphaSet(x, y, AlphaGetUnchecked(ox, oy));
            if (m_pSelection)
                turned.SelectionSet(x, y, SelectionGetUnchecked(ox, oy));
        }
    const CrRectL box = m_info.selectionBox;
    CrRectL& tbox = turned.m_info.selectionBox;
    if (left)
        tbox = CrRectL{h - box.top, box.right, h - box.bottom, box.left};
    else
        tbox = CrRectL{box.bottom, w - box.left, box.top, w - box.right};
    SetProgress(100);
    return MoveResult(turned, dest);
}
