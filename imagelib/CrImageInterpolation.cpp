// Colour at fractional points and over fractional areas, and what points outside yield.
#include "CrImage.h"

#include <cmath>

namespace {

CrRgbQuad White0()
{
    CrRgbQuad c;
    c.rgbBlue = c.rgbGreen = c.rgbRed = 255;
    c.rgbReserved = 0;
    return c;
}

uint8_t ClampByte(float v)
{
    if (!(v > 0.0f)) // NaN too
        return 0;
    if (v >= 255.0f)
        return 255;
    return static_cast<uint8_t>(v + 0.5f);
}

struct Accumulator {
    float red = 0, green = 0, blue = 0, alpha = 0;

    void Add(const CrRgbQuad& c, float weight) { CrImage::AddAreaContribution(c, weight, &red, &green, &blue, &alpha); }
    CrRgbQuad Result(float divisor = 1.0f) const
    {
        CrRgbQuad c;
        c.rgbRed = ClampByte(red / divisor);
        c.rgbGreen = ClampByte(green / divisor);
        c.rgbBlue = ClampByte(blue / divisor);
        c.rgbReserved = ClampByte(alpha / divisor);
        return c;
    }
};

using Kernel = float (*)(float);

float Lanczos6(float x) { return CrImage::KernelLanczosSinc(x, 6.0f); }
float GeneralizedCubicHalf(float x) { return CrImage::KernelGeneralizedCubic(x, -0.5f); }
float PowerOfTwo(float x) { return CrImage::KernelPower(x, 2.0f); }

Kernel KernelOf(int32_t method)
{
    switch (method) {
    case CRIMAGE_IM_BSPLINE: return CrImage::KernelBSpline;
    case CRIMAGE_IM_BICUBIC: return CrImage::KernelCubic;
    case CRIMAGE_IM_BICUBIC2: return GeneralizedCubicHalf;
    case CRIMAGE_IM_LANCZOS: return Lanczos6;
    case CRIMAGE_IM_BOX: return CrImage::KernelBox;
    case CRIMAGE_IM_HERMITE: return CrImage::KernelHermite;
    case CRIMAGE_IM_HAMMING: return CrImage::KernelHamming;
    case CRIMAGE_IM_SINC: return CrImage::KernelSinc;
    case CRIMAGE_IM_BLACKMAN: return CrImage::KernelBlackman;
    case CRIMAGE_IM_BESSEL: return CrImage::KernelBessel;
    case CRIMAGE_IM_GAUSSIAN: return CrImage::KernelGaussian;
    case CRIMAGE_IM_QUADRATIC: return CrImage::KernelQuadratic;
    case CRIMAGE_IM_MITCHELL: return CrImage::KernelMitchell;
    case CRIMAGE_IM_CATROM: return CrImage::KernelCatrom;
    case CRIMAGE_IM_HANNING: return CrImage::KernelHanning;
    case CRIMAGE_IM_POWER: return PowerOfTwo;
    default: return nullptr;
    }
}

// Overflow methods that answer for an outside point at once instead of moving it.
bool AnswersAtOnce(int32_t overflow)
{
    return overflow >= 1 && overflow <= CRIMAGE_OM_BACKGROUND;
}

int64_t Remainder(int64_t a, int64_t b) { return a % b; }
float Remainder(float a, float b) { return std::fmod(a, b); }

// One coordinate of an outside point moved by the overflow method.
template <typename T>
T MoveInside(T c, T size, int32_t method)
{
    switch (method) {
    case CRIMAGE_OM_REPEAT: {
        const T r = Remainder(c, size);
        return r < 0 ? r + size : r;
    }
    case CRIMAGE_OM_CLAMP:
        return c < 0 ? 0 : c > size - 1 ? size - 1 : c;
    case CRIMAGE_OM_MIRROR:
        if (c < 0)
            return Remainder(-c, size);
        return c >= size ? size - Remainder(c, size) - 1 : c;
    default:
        return c;
    }
}

} // namespace

void CrImage::AddAreaContribution(CrRgbQuad color, float weight, float* red, float* green, float* blue, float* alpha)
{
    *red += color.rgbRed * weight;
    *green += color.rgbGreen * weight;
    *blue += color.rgbBlue * weight;
    *alpha += color.rgbReserved * weight;
}

int32_t CrImage::ApplyOverflow(int32_t& x, int32_t& y, int32_t method) const
{
    const int32_t w = GetWidth(), h = GetHeight();
    if (IsInside(x, y) || w <= 0 || h <= 0)
        return y;
    x = static_cast<int32_t>(MoveInside<int64_t>(x, w, method));
    y = static_cast<int32_t>(MoveInside<int64_t>(y, h, method));
    return y;
}

float CrImage::ApplyOverflow(float& x, float& y, int32_t method) const
{
    const float w = static_cast<float>(GetWidth()), h = static_cast<float>(GetHeight());
    if ((x >= 0 && y >= 0 && x < w && y < h) || w <= 0 || h <= 0)
        return y;
    x = MoveInside(x, w, method);
    y = MoveInside(y, h, method);
    return y;
}

CrRgbQuad CrImage::GetPixelColorWithOverflow(int32_t x, int32_t y, int32_t overflow, const CrRgbQuad* background) const
{
    if (m_pDib && IsInside(x, y))
        return GetPixelColorUnchecked(x, y, true);
    CrRgbQuad color = background ? *background : White0();
    if (!m_pDib)
        return color;
    switch (overflow) {
    case CRIMAGE_OM_TRANSPARENT:
        if (m_info.transIndex >= 0)
            color = GetBpp() > 8 ? m_info.transColor : GetPaletteColor(static_cast<uint32_t>(m_info.transIndex));
        return color;
    case CRIMAGE_OM_BACKGROUND:
        if (m_pAlpha)
            color.rgbReserved = 0;
        else if (m_info.transIndex >= 0)
            color = GetTransColor();
        return color;
    case CRIMAGE_OM_REPEAT:
    case CRIMAGE_OM_CLAMP:
    case CRIMAGE_OM_MIRROR:
        ApplyOverflow(x, y, overflow);
        return GetPixelColor(x, y, true);
    default:
        return color;
    }
}

CrRgbQuad CrImage::GetPixelColorInterpolated(float x, float y, int32_t method, int32_t overflow,
                                             const CrRgbQuad* background) const
{
    const CrRgbQuad bg = background ? *background : White0();
    if (method == CRIMAGE_IM_NEAREST_NEIGHBOUR)
        return GetPixelColorWithOverflow(static_cast<int32_t>(x + 0.5f), static_cast<int32_t>(y + 0.5f), overflow, &bg);
    if (KernelOf(method))
        return SampleKernel(x, y, method, overflow, bg);

    const int32_t w = GetWidth(), h = GetHeight();
    int32_t xi = static_cast<int32_t>(std::floor(x)), yi = static_cast<int32_t>(std::floor(y));
    if (xi < -1 || xi >= w || yi < -1 || yi >= h) {
        if (AnswersAtOnce(overflow))
            return GetPixelColorWithOverflow(xi, yi, overflow, &bg);
        ApplyOverflow(x, y, overflow);
        xi = static_cast<int32_t>(std::floor(x));
        yi = static_cast<int32_t>(std::floor(y));
    }
    const float dx = x - xi, dy = y - yi;
    if (!m_pDib || IsIndexed() || xi < 0 || yi < 0 || xi + 1 >= w || yi + 1 >= h) {
        Accumulator sum;
        sum.Add(GetPixelColorWithOverflow(xi, yi, overflow, &bg), (1 - dx) * (1 - dy));
        sum.Add(GetPixelColorWithOverflow(xi + 1, yi, overflow, &bg), dx * (1 - dy));
        sum.Add(GetPixelColorWithOverflow(xi, yi + 1, overflow, &bg), (1 - dx) * dy);
        sum.Add(GetPixelColorWithOverflow(xi + 1, yi + 1, overflow, &bg), dx * dy);
        return sum.Result();
    }
    // Inside a 24-bit picture: fixed point in 1/256 steps straight from the rows.
    const int32_t fx = static_cast<int32_t>(256 * dx), fy = static_cast<int32_t>(256 * dy);
    const int32_t both = fx * fy / 256;
    const int32_t w1 = 256 - fx - fy + both, w2 = fx - both, w3 = fy - both, w4 = both;
    const uint8_t* lower = GetBits(static_cast<uint32_t>(yi)) + static_cast<size_t>(xi) * 3;
    const uint8_t* upper = lower + m_info.rowBytes;
    CrRgbQuad c;
    c.rgbBlue = static_cast<uint8_t>((lower[0] * w1 + lower[3] * w2 + upper[0] * w3 + upper[3] * w4) >> 8);
    c.rgbGreen = static_cast<uint8_t>((lower[1] * w1 + lower[4] * w2 + upper[1] * w3 + upper[4] * w4) >> 8);
    c.rgbRed = static_cast<uint8_t>((lower[2] * w1 + lower[5] * w2 + upper[2] * w3 + upper[5] * w4) >> 8);
    c.rgbReserved = 0;
    if (m_pAlpha) {
        const uint8_t* a = m_pAlpha + static_cast<size_t>(yi) * w + xi;
        c.rgbReserved = static_cast<uint8_t>((a[0] * w1 + a[1] * w2 + a[w] * w3 + a[w + 1] * w4) >> 8);
    }
    return c;
}

// The kernel methods: a square neighbourhood weighted by the method's kernel on both axes.
CrRgbQuad CrImage::SampleKernel(float x, float y, int32_t method, int32_t overflow, const CrRgbQuad& bg) const
{
    const Kernel kernel = KernelOf(method);
    const int32_t before = method == CRIMAGE_IM_LANCZOS ? 5 : 1;
    const int32_t after = method == CRIMAGE_IM_LANCZOS ? 6 : 2;
    const int32_t w = GetWidth(), h = GetHeight();
    int32_t xi = static_cast<int32_t>(std::floor(x)), yi = static_cast<int32_t>(std::floor(y));
    if (xi + after < 0 || xi - before >= w || yi + after < 0 || yi - before >= h) {
        if (AnswersAtOnce(overflow))
            return GetPixelColorWithOverflow(xi, yi, overflow, &bg);
        ApplyOverflow(x, y, overflow);
        xi = static_cast<int32_t>(std::floor(x));
        yi = static_cast<int32_t>(std::floor(y));
    }
    const bool direct = m_pDib && !IsIndexed() && xi - before >= 0 && yi - before >= 0 && xi + after < w && yi + after < h;
    Accumulator sum;
    for (int32_t py = yi - before; py <= yi + after; py++) {
        const float wy = kernel(y - py);
        if (wy == 0.0f)
            continue;
        for (int32_t px = xi - before; px <= xi + after; px++) {
            const float weight = wy * kernel(x - px);
            if (weight == 0.0f)
                continue;
            sum.Add(direct ? GetPixelColorUnchecked(px, py, true) : GetPixelColorWithOverflow(px, py, overflow, &bg), weight);
        }
    }
    return sum.Result();
}

CrRgbQuad CrImage::GetAreaColorInterpolated(float x, float y, float width, float height, int32_t method,
                                            int32_t overflow, const CrRgbQuad* background) const
{
    if (width <= 1 && height <= 1)
        return GetPixelColorInterpolated(x, y, method, overflow, background);
    const CrRgbQuad bg = background ? *background : White0();
    const CrRectF area(x - width / 2, y - height / 2, x + width / 2, y + height / 2);
    // Pixel i covers [i - 0.5, i + 0.5) on its axis.
    const int32_t left = static_cast<int32_t>(std::floor(area.left + 0.5f));
    const int32_t right = static_cast<int32_t>(std::floor(area.right + 0.5f));
    const int32_t top = static_cast<int32_t>(std::floor(area.top + 0.5f));
    const int32_t bottom = static_cast<int32_t>(std::floor(area.bottom + 0.5f));
    Accumulator sum;
    float total = 0;
    if (width > 1 && height > 1) {
        for (int32_t j = top; j <= bottom; j++)
            for (int32_t i = left; i <= right; i++) {
                const float weight = area.Intersect(CrRectF(i - 0.5f, j - 0.5f, i + 0.5f, j + 0.5f)).Area();
                if (weight <= 0)
                    continue;
                sum.Add(GetPixelColorWithOverflow(i, j, overflow, &bg), weight);
                total += weight;
            }
    } else if (width > 1) {
        for (int32_t i = left; i <= right; i++) {
            const float weight = std::fmin(area.right, i + 0.5f) - std::fmax(area.left, i - 0.5f);
            if (weight <= 0)
                continue;
            sum.Add(GetPixelColorInterpolated(static_cast<float>(i), y, method, overflow, &bg), weight);
            total += weight;
        }
    } else {
        for (int32_t j = top; j <= bottom; j++) {
            const float weight = std::fmin(area.bottom, j + 0.5f) - std::fmax(area.top, j - 0.5f);
            if (weight <= 0)
                continue;
            sum.Add(GetPixelColorInterpolated(x, static_cast<float>(j), method, overflow, &bg), weight);
            total += weight;
        }
    }
    return total > 0 ? sum.Result(total) : bg;
}
