#include "CrGifCanvas.h"

#include "CrGifStream.h"
#include "CrImage.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

uint32_t StrideFor(uint32_t width, uint32_t bpp) { return ((width * bpp + 31) / 32) * 4; }

bool Affordable(uint32_t width, uint32_t height, uint32_t bpp)
{
    return double(width) * height * bpp / 8 <= CRIMAGE_MAX_MEMORY;
}

inline void PutColor(uint8_t* d, const CrRgbQuad& q)
{
    d[0] = q.rgbBlue;
    d[1] = q.rgbGreen;
    d[2] = q.rgbRed;
}

} // namespace

bool CrGifCanvas::Start(uint32_t width, uint32_t height, const CrGifPalette& first, uint8_t background,
                        int32_t transIndex, bool tiles)
{
    m_width = width;
    m_height = height;
    m_tiles = tiles;
    m_rgb = tiles;
    m_palette = first;
    m_transIndex = transIndex;
    m_background = transIndex >= 0 ? uint8_t(transIndex) : background;
    uint32_t needed = std::max({first.colors, uint32_t(m_background) + 1, uint32_t(transIndex + 1)});
    m_bpp = needed <= 2 ? 1 : needed <= 16 ? 4 : 8;
    m_lastDisposal = 0;
    m_lastRect = Rect();
    m_saved.clear();
    if (width == 0 || height == 0 || !Affordable(width, height, m_rgb ? 24 : 8))
        return false;
    m_stride = StrideFor(width, m_rgb ? 24 : 8);
    try {
        m_pixels.assign(size_t(m_stride) * height, m_background);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (m_rgb) {
        // One still cut into tiles starts black, or in its transparent colour.
        if (transIndex < 0)
            std::fill(m_pixels.begin(), m_pixels.end(), uint8_t(0));
        else
            Fill(Rect{0, 0, int32_t(width), int32_t(height)});
    }
    return true;
}

bool CrGifCanvas::SharesColors(const CrGifPalette& palette) const
{
    return palette.colors <= m_palette.colors &&
           std::memcmp(palette.entries, m_palette.entries, palette.colors * sizeof(CrRgbQuad)) == 0;
}

bool CrGifCanvas::ToRgb()
{
    if (!Affordable(m_width, m_height, 24))
        return false;
    uint32_t stride = StrideFor(m_width, 24);
    std::vector<uint8_t> rgb;
    try {
        rgb.resize(size_t(stride) * m_height);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (uint32_t s = 0; s < m_height; ++s) {
        const uint8_t* src = m_pixels.data() + size_t(s) * m_stride;
        uint8_t* dst = rgb.data() + size_t(s) * stride;
        for (uint32_t x = 0; x < m_width; ++x)
            PutColor(dst + 3 * x, m_palette.entries[src[x]]);
    }
    m_pixels.swap(rgb);
    m_stride = stride;
    m_rgb = true;
    return true;
}

void CrGifCanvas::Fill(const Rect& r)
{
    for (int32_t y = r.y0; y < r.y1; ++y) {
        uint8_t* d = Row(y) + size_t(r.x0) * PixelBytes();
        if (!m_rgb) {
            std::memset(d, m_background, size_t(r.x1 - r.x0));
            continue;
        }
        CrRgbQuad q = m_palette.entries[m_background];
        if (m_tiles && m_transIndex < 0)
            q = CrRgbQuad{0, 0, 0, 0};
        for (int32_t x = r.x0; x < r.x1; ++x, d += 3)
            PutColor(d, q);
    }
}

void CrGifCanvas::Save(const Rect& r)
{
    m_saved.clear();
    m_savedRgb = m_rgb;
    if (r.Empty())
        return;
    size_t rowBytes = size_t(r.x1 - r.x0) * PixelBytes();
    m_saved.resize(rowBytes * size_t(r.y1 - r.y0));
    for (int32_t y = r.y0; y < r.y1; ++y)
        std::memcpy(m_saved.data() + rowBytes * size_t(y - r.y0), Row(y) + size_t(r.x0) * PixelBytes(), rowBytes);
}

void CrGifCanvas::Restore()
{
    const Rect& r = m_lastRect;
    if (m_saved.empty() || r.Empty())
        return;
    size_t width = size_t(r.x1 - r.x0);
    size_t savedRow = width * (m_savedRgb ? 3 : 1);
    for (int32_t y = r.y0; y < r.y1; ++y) {
        const uint8_t* src = m_saved.data() + savedRow * size_t(y - r.y0);
        uint8_t* d = Row(y) + size_t(r.x0) * PixelBytes();
        if (m_savedRgb == m_rgb) {
            std::memcpy(d, src, savedRow);
        } else {
            // Saved while the screen was still indexed.
            for (size_t x = 0; x < width; ++x)
                PutColor(d + 3 * x, m_palette.entries[src[x]]);
        }
    }
    m_saved.clear();
}

void CrGifCanvas::DrawRow(int32_t y, const uint8_t* src, int32_t left, int32_t width, int32_t trans,
                          const CrGifPalette& palette)
{
    if (y < 0 || y >= int32_t(m_height))
        return;
    int32_t n = std::min(left + width, int32_t(m_width)) - left;
    if (n <= 0)
        return;
    uint8_t* d = Row(y) + size_t(left) * PixelBytes();
    if (!m_rgb) {
        if (trans < 0) {
            std::memcpy(d, src, size_t(n));
            return;
        }
        for (int32_t i = 0; i < n; ++i)
            d[i] = src[i] == trans ? d[i] : src[i];
        return;
    }
    for (int32_t i = 0; i < n; ++i, d += 3)
        if (src[i] != trans)
            PutColor(d, palette.entries[src[i]]);
}

void CrGifCanvas::Draw(const CrGifFrameRecord& frame, const uint8_t* indices, size_t count,
                       const CrGifPalette& palette)
{
    if (!m_tiles) {
        if (m_lastDisposal == 2)
            Fill(m_lastRect);
        else if (m_lastDisposal == 3)
            Restore();
    }
    if (!m_rgb && !SharesColors(palette))
        ToRgb(); // when even that cannot be held, the frame is drawn by index

    Rect r;
    r.x0 = std::min(frame.left, int32_t(m_width));
    r.x1 = std::min(frame.left + frame.width, int32_t(m_width));
    r.y0 = std::min(frame.top, int32_t(m_height));
    r.y1 = std::min(frame.top + frame.height, int32_t(m_height));
    uint8_t disposal = m_tiles ? 0 : frame.Disposal();
    if (disposal == 3)
        Save(r);
    m_lastDisposal = disposal;
    m_lastRect = r;

    const int32_t fw = frame.width;
    if (fw <= 0)
        return;
    const size_t fullRows = count / size_t(fw);
    const int32_t rest = int32_t(count % size_t(fw));
    const int32_t trans = frame.TransIndex();
    size_t row = 0;
    // Rows in stream order: interlaced frames come in four passes.
    static const int32_t kStart[4] = {0, 4, 2, 1};
    static const int32_t kStep[4] = {8, 8, 4, 2};
    const int passes = frame.interlaced ? 4 : 1;
    for (int p = 0; p < passes; ++p) {
        int32_t step = frame.interlaced ? kStep[p] : 1;
        for (int32_t y = frame.interlaced ? kStart[p] : 0; y < frame.height; y += step, ++row) {
            if (row > fullRows || (row == fullRows && rest == 0))
                return;
            if (!frame.interlaced && frame.top + y >= int32_t(m_height))
                return;
            DrawRow(frame.top + y, indices + row * size_t(fw), frame.left, row < fullRows ? fw : rest, trans, palette);
        }
    }
}

bool CrGifCanvas::Store(CrImage& image, CrDibArena* arena) const
{
    uint32_t bpp = m_rgb ? 24 : m_bpp;
    if (!image.Create(int32_t(m_width), int32_t(m_height), bpp, CRIMAGE_FORMAT_GIF, arena))
        return false;
    if (m_rgb) {
        std::memcpy(image.GetBits(0), m_pixels.data(), m_pixels.size());
        if (m_transIndex >= 0)
            image.SetTransColor(m_palette.entries[m_transIndex]);
        image.SetTransIndex(m_transIndex >= 0 ? 0 : -1);
        return true;
    }
    image.SetPalette(m_palette.entries, 256);
    if (bpp == 8) {
        std::memcpy(image.GetBits(0), m_pixels.data(), m_pixels.size());
    } else {
        for (uint32_t s = 0; s < m_height; ++s) {
            const uint8_t* src = m_pixels.data() + size_t(s) * m_stride;
            uint8_t* dst = image.GetBits(s);
            std::memset(dst, 0, image.GetRowBytes());
            if (bpp == 4) {
                for (uint32_t x = 0; x < m_width; ++x)
                    dst[x >> 1] |= uint8_t((src[x] & 15) << ((x & 1) ? 0 : 4));
            } else {
                for (uint32_t x = 0; x < m_width; ++x)
                    dst[x >> 3] |= uint8_t((src[x] & 1) << (7 - (x & 7)));
            }
        }
    }
    image.SetTransIndex(m_transIndex);
    return true;
}
