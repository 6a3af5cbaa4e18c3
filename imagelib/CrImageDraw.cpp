// The compositing of CrImage::Draw: sampling the image for every pixel of the paint area and
// blending it over what the screen shows. The device-context side is in CrImageDrawWin32.cpp.
#include "CrImage.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Sample {
    int32_t pixel; // the source column or stored row, inside the image
    float at;      // the unrounded source coordinate
};

int32_t Clamped(int32_t v, int32_t size) { return v < 0 ? 0 : v >= size ? size - 1 : v; }

// Source columns of the area's columns: screen column X (its left edge) maps to (X - x) × scale.
std::vector<Sample> Columns(const CrPaintBuffer& area, int32_t x, float scale, int32_t width)
{
    std::vector<Sample> out(static_cast<size_t>(area.width));
    for (int32_t i = 0; i < area.width; i++) {
        const float fx = static_cast<float>(area.left + i - x) * scale;
        out[static_cast<size_t>(i)] = Sample{Clamped(static_cast<int32_t>(std::floor(fx)), width), fx};
    }
    return out;
}

uint8_t Mix(uint8_t color, uint8_t under, unsigned a) { return static_cast<uint8_t>((color * a + under * (255 - a)) >> 8); }

} // namespace

bool CrImage::NeedsBlending() const
{
    return m_info.transIndex >= 0 || m_pAlpha || m_info.alphaPalette;
}

void CrImage::DrawInto(CrPaintBuffer& area, int32_t x, int32_t y, int32_t cx, int32_t cy, bool smooth, bool flip) const
{
    if (!m_pDib || !area.bits || area.width <= 0 || area.height <= 0 || cx <= 0 || cy <= 0)
        return;
    const int32_t width = GetWidth(), height = GetHeight();
    const bool scaled = cx != width || cy != height;
    const float xs = static_cast<float>(width) / static_cast<float>(cx);
    const float ys = static_cast<float>(height) / static_cast<float>(cy);
    const bool interpolate = scaled && smooth;
    const bool blend = NeedsBlending();
    const bool transparent = m_info.transIndex >= 0;
    const CrRgbQuad transColor = GetTransColor();
    const bool indexed = IsIndexed();
    const CrRgbQuad* palette = GetPalette();
    const std::vector<Sample> columns = Columns(area, x, xs, width);
    // Only the part of the area inside the destination is painted.
    const int32_t firstColumn = std::max(0, x - area.left);
    const int32_t endColumn = std::min(area.width, x + cx - area.left);
    const int32_t firstRow = std::max(0, area.top + area.height - (y + cy));
    const int32_t endRow = std::min(area.height, area.top + area.height - y);

    for (int32_t r = firstRow; r < endRow; r++) {
        // B: the screen coordinate just below the pixel row; flipped, the row mirrored in the destination.
        int32_t below = area.top + area.height - r;
        if (flip)
            below = 2 * y + cy - below + 1;
        const float fy = static_cast<float>(height) - static_cast<float>(below - y) * ys;
        const int32_t row = Clamped(static_cast<int32_t>(std::floor(fy)), height);
        uint8_t* out = area.bits + static_cast<size_t>(r) * area.rowBytes + static_cast<size_t>(firstColumn) * 3;
        for (int32_t i = firstColumn; i < endColumn; i++, out += 3) {
            const Sample& column = columns[static_cast<size_t>(i)];
            const int32_t col = column.pixel;
            const uint8_t index = indexed ? GetPixelIndexUnchecked(col, row) : 0;
            CrRgbQuad color = indexed ? palette[index] : GetPixelColorUnchecked(col, row, false);
            unsigned a = 255;
            if (blend) {
                if (m_pAlpha)
                    a = AlphaGetUnchecked(col, row);
                a = a * (m_info.alphaMax + 1u) >> 8;
                if (indexed && m_info.alphaPalette)
                    a = a * (color.rgbReserved + 1u) >> 8;
                if (a == 0)
                    continue;
                if (transparent &&
                    (indexed ? index == m_info.transIndex
                             : color.rgbBlue == transColor.rgbBlue && color.rgbGreen == transColor.rgbGreen &&
                                   color.rgbRed == transColor.rgbRed))
                    continue;
            }
            if (interpolate) {
                const float sx = column.at - 0.5f, sy = fy - 0.5f;
                color = xs > 1 && ys > 1
                            ? GetAreaColorInterpolated(sx, sy, xs, ys, CRIMAGE_IM_BILINEAR, CRIMAGE_OM_CLAMP)
                            : GetPixelColorInterpolated(sx, sy, CRIMAGE_IM_BILINEAR, CRIMAGE_OM_CLAMP);
            }
            if (a >= 255) {
                out[0] = color.rgbBlue;
                out[1] = color.rgbGreen;
                out[2] = color.rgbRed;
            } else {
                out[0] = Mix(color.rgbBlue, out[0], a);
                out[1] = Mix(color.rgbGreen, out[1], a);
                out[2] = Mix(color.rgbRed, out[2], a);
            }
        }
    }
}
