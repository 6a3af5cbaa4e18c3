// Palette and pixel access of CrImage.
#include "CrImage.h"

#include <cstring>

namespace {

CrRgbQuad Quad(uint8_t r, uint8_t g, uint8_t b, uint8_t alpha = 0)
{
    CrRgbQuad q;
    q.rgbBlue = b;
    q.rgbGreen = g;
    q.rgbRed = r;
    q.rgbReserved = alpha;
    return q;
}

int HighestBit(uint32_t mask)
{
    int bit = -1;
    for (int i = 0; i < 32; i++)
        if (mask & (1u << i))
            bit = i;
    return bit;
}

int LowestBit(uint32_t mask)
{
    for (int i = 0; i < 32; i++)
        if (mask & (1u << i))
            return i;
    return 0;
}

// The masked field scaled to 8 bits. Narrower fields repeat their top bits below themselves, so
// 0 stays 0 and a full field gives 255; wider ones keep their top 8 bits.
uint8_t MaskedChannel(uint32_t pixel, uint32_t mask)
{
    if (!mask)
        return 0;
    const int low = LowestBit(mask);
    const int width = HighestBit(mask) - low + 1;
    const uint32_t field = (pixel & mask) >> low;
    if (width >= 8)
        return static_cast<uint8_t>(field >> (width - 8));
    uint32_t wide = field;
    int bits = width;
    for (; bits < 8; bits += width)
        wide = (wide << width) | field;
    return static_cast<uint8_t>(wide >> (bits - 8));
}

} // namespace

// ---- Palette ----

CrRgbQuad* CrImage::GetPalette() const
{
    if (!m_pDib || !m_head.biClrUsed)
        return nullptr;
    return reinterpret_cast<CrRgbQuad*>(m_pDib + sizeof(CrBitmapInfoHeader));
}

CrRgbQuad CrImage::GetPaletteColor(uint32_t index) const
{
    const CrRgbQuad* palette = GetPalette();
    index &= 255;
    if (!palette || index >= GetNumColors())
        return Quad(0, 0, 0);
    return palette[index];
}

bool CrImage::GetPaletteColor(uint32_t index, uint8_t* r, uint8_t* g, uint8_t* b) const
{
    const CrRgbQuad* palette = GetPalette();
    if (!palette || index >= GetNumColors())
        return false;
    if (r)
        *r = palette[index].rgbRed;
    if (g)
        *g = palette[index].rgbGreen;
    if (b)
        *b = palette[index].rgbBlue;
    return true;
}

void CrImage::SetPaletteColor(uint32_t index, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha)
{
    SetPaletteColor(index, Quad(r, g, b, alpha));
}

void CrImage::SetPaletteColor(uint32_t index, CrRgbQuad color)
{
    CrRgbQuad* palette = GetPalette();
    index &= 255;
    if (palette && index < GetNumColors())
        palette[index] = color;
    m_info.nearestValid = false;
}

void CrImage::SetPalette(const CrRgbQuad* entries, uint32_t n)
{
    CrRgbQuad* palette = GetPalette();
    if (palette && entries) {
        const uint64_t bytes = static_cast<uint64_t>(n) * 4;
        memcpy(palette, entries, static_cast<size_t>(bytes < GetPaletteSize() ? bytes : GetPaletteSize()));
    }
    m_info.nearestValid = false;
}

void CrImage::SetPalette(uint32_t n, const uint8_t* red, const uint8_t* green, const uint8_t* blue)
{
    CrRgbQuad* palette = GetPalette();
    m_info.nearestValid = false;
    if (!palette || !red)
        return;
    if (!green)
        green = red;
    if (!blue)
        blue = green;
    const uint32_t count = n < GetNumColors() ? n : GetNumColors();
    for (uint32_t i = 0; i < count; i++)
        palette[i] = Quad(red[i], green[i], blue[i]);
}

void CrImage::SetPalette(const CrRgbColor* rgb, uint32_t n)
{
    CrRgbQuad* palette = GetPalette();
    m_info.nearestValid = false;
    if (!palette || !rgb)
        return;
    const uint32_t count = n < GetNumColors() ? n : GetNumColors();
    for (uint32_t i = 0; i < count; i++)
        palette[i] = Quad(rgb[i].r, rgb[i].g, rgb[i].b);
}

void CrImage::SetGrayPalette()
{
    CrRgbQuad* palette = GetPalette();
    m_info.nearestValid = false;
    if (!palette || GetNumColors() < 2)
        return;
    const uint32_t step = 255 / (GetNumColors() - 1);
    for (uint32_t i = 0; i < GetNumColors(); i++) {
        const uint8_t level = static_cast<uint8_t>(i * step);
        palette[i] = Quad(level, level, level);
    }
}

// A palette image whose entries are the identity grey ramp; images without a palette are not.
bool CrImage::IsGrayScale() const
{
    const CrRgbQuad* palette = GetPalette();
    if (!palette)
        return false;
    for (uint32_t i = 0; i < GetNumColors(); i++)
        if (palette[i].rgbBlue != i || palette[i].rgbGreen != i || palette[i].rgbRed != i)
            return false;
    return true;
}

void CrImage::SwapIndex(uint8_t a, uint8_t b)
{
    CrRgbQuad* palette = GetPalette();
    if (!palette || a >= GetNumColors() || b >= GetNumColors() || a == b)
        return;
    const CrRgbQuad entry = palette[a];
    palette[a] = palette[b];
    palette[b] = entry;
    m_info.nearestValid = false;
    for (int32_t y = 0; y < GetHeight(); y++)
        for (int32_t x = 0; x < GetWidth(); x++) {
            const uint8_t index = GetPixelIndexUnchecked(x, y);
            if (index == a)
                SetPixelIndexUnchecked(x, y, b);
            else if (index == b)
                SetPixelIndexUnchecked(x, y, a);
        }
}

void CrImage::SetClrImportant(uint32_t n)
{
    if (n == 0 || n > 256) {
        m_head.biClrImportant = 0;
    } else {
        switch (GetBpp()) {
        case 1: m_head.biClrImportant = n < 2 ? n : 2; break;
        case 4: m_head.biClrImportant = n < 16 ? n : 16; break;
        case 8: m_head.biClrImportant = n; break;
        default: return;
        }
    }
    SyncHeader();
}

// ---- Pixels ----

uint8_t CrImage::GetPixelIndex(int32_t x, int32_t y) const
{
    if (!m_pDib || !GetNumColors())
        return 0;
    if (!IsInside(x, y)) {
        if (m_info.transIndex >= 0)
            return static_cast<uint8_t>(m_info.transIndex);
        return GetPixelIndexUnchecked(0, 0);
    }
    return GetPixelIndexUnchecked(x, y);
}

uint8_t CrImage::GetPixelIndexUnchecked(int32_t x, int32_t y) const
{
    const uint8_t* row = m_info.pFirstRow + static_cast<size_t>(y) * m_info.rowBytes;
    switch (GetBpp()) {
    case 8: return row[x];
    case 4: return static_cast<uint8_t>((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F);
    case 1: return static_cast<uint8_t>((row[x >> 3] >> (7 - (x & 7))) & 1);
    default: return 0;
    }
}

void CrImage::SetPixelIndex(int32_t x, int32_t y, uint8_t index)
{
    if (m_pDib && GetNumColors() && IsInside(x, y))
        SetPixelIndexUnchecked(x, y, index);
}

void CrImage::SetPixelIndexUnchecked(int32_t x, int32_t y, uint8_t index)
{
    uint8_t* row = m_info.pFirstRow + static_cast<size_t>(y) * m_info.rowBytes;
    switch (GetBpp()) {
    case 8:
        row[x] = index;
        break;
    case 4: {
        const int shift = (x & 1) ? 0 : 4;
        uint8_t& cell = row[x >> 1];
        cell = static_cast<uint8_t>((cell & ~(0x0F << shift)) | ((index & 0x0F) << shift));
        break;
    }
    case 1: {
        const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
        if (index)
            row[x >> 3] |= bit;
        else
            row[x >> 3] &= static_cast<uint8_t>(~bit);
        break;
    }
    default:
        break;
    }
}

CrRgbQuad CrImage::GetPixelColor(int32_t x, int32_t y, bool getAlpha) const
{
    if (!m_pDib)
        return Quad(0, 0, 0);
    if (IsInside(x, y))
        return GetPixelColorUnchecked(x, y, getAlpha);
    if (m_info.transIndex < 0)
        return GetPixelColorUnchecked(0, 0, getAlpha);
    if (IsIndexed())
        return GetPaletteColor(static_cast<uint32_t>(m_info.transIndex));
    return m_info.transColor;
}

CrRgbQuad CrImage::GetPixelColorUnchecked(int32_t x, int32_t y, bool getAlpha) const
{
    CrRgbQuad color;
    if (IsIndexed()) {
        color = GetPaletteColor(GetPixelIndexUnchecked(x, y));
    } else {
        const uint8_t* p = m_info.pFirstRow + static_cast<size_t>(y) * m_info.rowBytes + static_cast<size_t>(x) * 3;
        color = Quad(p[2], p[1], p[0]);
    }
    if (getAlpha && m_pAlpha)
        color.rgbReserved = AlphaGetUnchecked(x, y);
    return color;
}

void CrImage::SetPixelColor(int32_t x, int32_t y, CrRgbQuad color, bool setAlpha)
{
    if (m_pDib && IsInside(x, y))
        SetPixelColorUnchecked(x, y, color, setAlpha);
}

void CrImage::SetPixelColor(int32_t x, int32_t y, uint32_t colorRef)
{
    SetPixelColor(x, y, RGBtoRGBQUAD(colorRef), false);
}

void CrImage::SetPixelColorUnchecked(int32_t x, int32_t y, CrRgbQuad color, bool setAlpha)
{
    if (IsIndexed()) {
        SetPixelIndexUnchecked(x, y, GetNearestIndex(color));
    } else {
        uint8_t* p = m_info.pFirstRow + static_cast<size_t>(y) * m_info.rowBytes + static_cast<size_t>(x) * 3;
        p[0] = color.rgbBlue;
        p[1] = color.rgbGreen;
        p[2] = color.rgbRed;
    }
    if (setAlpha && m_pAlpha)
        m_pAlpha[static_cast<size_t>(x) + static_cast<size_t>(y) * GetWidth()] = color.rgbReserved;
}

uint8_t CrImage::GetNearestIndex(CrRgbQuad color)
{
    const CrRgbQuad* palette = GetPalette();
    if (!palette)
        return 0;
    if (m_info.nearestValid && m_info.nearestColor == color)
        return m_info.nearestIndex;
    m_info.nearestColor = color;
    m_info.nearestValid = true;

    uint32_t count = GetClrImportant() ? GetClrImportant() : GetNumColors();
    if (count > GetNumColors())
        count = GetNumColors();
    int32_t best = 200000;
    uint8_t bestIndex = 0;
    for (uint32_t i = 0; i < count; i++) {
        const int32_t dr = palette[i].rgbRed - color.rgbRed;
        const int32_t dg = palette[i].rgbGreen - color.rgbGreen;
        const int32_t db = palette[i].rgbBlue - color.rgbBlue;
        const int32_t distance = dr * dr + dg * dg + db * db;
        if (distance < best) {
            best = distance;
            bestIndex = static_cast<uint8_t>(i);
            if (distance == 0)
                break;
        }
    }
    m_info.nearestIndex = bestIndex;
    return bestIndex;
}

CrRgbQuad CrImage::RGBtoRGBQUAD(uint32_t colorRef)
{
    return Quad(static_cast<uint8_t>(colorRef), static_cast<uint8_t>(colorRef >> 8), static_cast<uint8_t>(colorRef >> 16));
}

void CrImage::RGBtoBGR(uint8_t* buffer, int32_t length) const
{
    if (!buffer || !m_pDib || GetBpp() != 24 || length <= 0)
        return;
    uint64_t limit = static_cast<uint64_t>(length);
    if (limit > m_info.rowBytes)
        limit = m_info.rowBytes;
    if (limit > static_cast<uint64_t>(GetWidth()) * 3)
        limit = static_cast<uint64_t>(GetWidth()) * 3;
    for (uint64_t i = 0; i + 2 < limit; i += 3) {
        const uint8_t first = buffer[i];
        buffer[i] = buffer[i + 2];
        buffer[i + 2] = first;
    }
}

uint8_t* CrImage::GetPixelPointer(int32_t x, int32_t y) const
{
    if (!m_pDib || IsIndexed() || !IsInside(x, y))
        return nullptr;
    return m_info.pFirstRow + static_cast<size_t>(y) * m_info.rowBytes + static_cast<size_t>(x) * 3;
}

bool CrImage::BitFieldsToRGB(const uint8_t* src, uint32_t redMask, uint32_t greenMask, uint32_t blueMask, uint32_t bpp)
{
    if (!src || !m_pDib || GetBpp() != 24 || (bpp != 16 && bpp != 32))
        return false;
    const size_t srcRowBytes = bpp == 16 ? ((static_cast<size_t>(GetWidth()) * 2 + 3) & ~static_cast<size_t>(3))
                                         : static_cast<size_t>(GetWidth()) * 4;
    for (int32_t y = 0; y < GetHeight(); y++) {
        const uint8_t* in = src + srcRowBytes * static_cast<size_t>(y);
        uint8_t* out = GetBits(static_cast<uint32_t>(y));
        for (int32_t x = 0; x < GetWidth(); x++, out += 3) {
            uint32_t pixel;
            if (bpp == 16) {
                pixel = static_cast<uint32_t>(in[x * 2] | (in[x * 2 + 1] << 8));
            } else {
                const uint8_t* p = in + static_cast<size_t>(x) * 4;
                pixel = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                        (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
            }
            out[0] = MaskedChannel(pixel, blueMask);
            out[1] = MaskedChannel(pixel, greenMask);
            out[2] = MaskedChannel(pixel, redMask);
        }
    }
    return true;
}
