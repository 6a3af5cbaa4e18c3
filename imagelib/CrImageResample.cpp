// Resampling, margins and thumbnails of CrImage.
#include "CrImage.h"

#include <cmath>
#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// Truncation that does not let float noise turn an exact 255 into 254.
uint8_t ClampTruncate(float v)
{
    v += 0.001f;
    if (!(v > 0.0f))
        return 0;
    return v >= 255.0f ? 255 : static_cast<uint8_t>(v);
}

int32_t Clamp(int32_t v, int32_t low, int32_t high)
{
    return v < low ? low : v > high ? high : v;
}

// How source pixels along one axis split over target pixels when shrinking: pixel s gives
// `share` thousandths of itself to target `target[s]` and the rest to the next one.
struct AreaAxis {
    std::vector<int32_t> target;
    std::vector<int32_t> share;
    std::vector<int64_t> weight; // thousandths received by each target pixel

    AreaAxis(int32_t sourceSize, int32_t targetSize, float scale)
        : target(static_cast<size_t>(sourceSize)), share(static_cast<size_t>(sourceSize)),
          weight(static_cast<size_t>(targetSize), 0)
    {
        for (int32_t s = 0; s < sourceSize; s++) {
            int32_t t = static_cast<int32_t>(s / static_cast<double>(scale));
            if (t >= targetSize)
                t = targetSize - 1;
            while (t + 1 < targetSize && (t + 1) * static_cast<double>(scale) <= s)
                t++;
            while (t > 0 && t * static_cast<double>(scale) > s)
                t--;
            int32_t part = 1000;
            if (t < targetSize - 1) {
                const double boundary = (t + 1) * static_cast<double>(scale);
                part = Clamp(static_cast<int32_t>(std::floor((boundary - s) * 1000 + 0.5)), 0, 1000);
            }
            target[static_cast<size_t>(s)] = t;
            share[static_cast<size_t>(s)] = part;
            weight[static_cast<size_t>(t)] += part;
            if (part < 1000)
                weight[static_cast<size_t>(t) + 1] += 1000 - part;
        }
    }
};

// Neighbourhood of one target coordinate for the bicubic mode.
struct CubicTaps {
    int32_t index[4];
    float weight[4];
};

std::vector<CubicTaps> MakeCubicTaps(int32_t targetSize, int32_t sourceSize, float scale)
{
    std::vector<CubicTaps> taps(static_cast<size_t>(targetSize));
    for (int32_t t = 0; t < targetSize; t++) {
        const float centre = t * scale - 0.5f;
        const int32_t i = static_cast<int32_t>(std::floor(centre));
        const float d = centre - i;
        for (int32_t n = -1; n <= 2; n++) {
            taps[static_cast<size_t>(t)].index[n + 1] = Clamp(i + n, 0, sourceSize - 1);
            taps[static_cast<size_t>(t)].weight[n + 1] = CrImage::KernelBSpline(d - n);
        }
    }
    return taps;
}

// Neighbours of one target coordinate for the bilinear mode.
struct LinearTap {
    int32_t first, second;
    float fraction;
};

std::vector<LinearTap> MakeLinearTaps(int32_t targetSize, int32_t sourceSize, float scale)
{
    std::vector<LinearTap> taps(static_cast<size_t>(targetSize));
    for (int32_t t = 0; t < targetSize; t++) {
        const float f = t * scale;
        const int32_t first = Clamp(static_cast<int32_t>(f), 0, sourceSize - 1);
        taps[static_cast<size_t>(t)] = {first, first + 1 < sourceSize ? first + 1 : sourceSize - 1, f - first};
    }
    return taps;
}

CrRgbQuad Quad(const float* channel)
{
    CrRgbQuad c;
    c.rgbBlue = ClampTruncate(channel[0]);
    c.rgbGreen = ClampTruncate(channel[1]);
    c.rgbRed = ClampTruncate(channel[2]);
    c.rgbReserved = 0;
    return c;
}

} // namespace

bool CrImage::Resample(int32_t newWidth, int32_t newHeight, int32_t mode, CrImage* dest)
{
    if (!m_pDib || newWidth <= 0 || newHeight <= 0)
        return false;
    if (newWidth == GetWidth() && newHeight == GetHeight())
        return dest ? dest->Copy(*this) : true;
    CrImage target;
    if (!MakeLike(target, newWidth, newHeight, GetBpp()))
        return false;
    SetProgress(0);
    switch (mode) {
    case CRIMAGE_RESAMPLE_NEAREST:
        ResampleNearest(target);
        break;
    case CRIMAGE_RESAMPLE_BICUBIC:
        ResampleBicubic(target);
        break;
    default:
        if (GetBpp() == 24 && newWidth < GetWidth() && newHeight < GetHeight())
            ResampleArea(target);
        else
            ResampleBilinear(target);
        break;
    }
    if (m_pAlpha && mode != CRIMAGE_RESAMPLE_NEAREST && !ResampleAlpha(target, mode))
        return false;
    return MoveResult(target, dest);
}

void CrImage::ResampleNearest(CrImage& target)
{
    const int32_t tw = target.GetWidth(), th = target.GetHeight();
    const float xs = static_cast<float>(GetWidth()) / tw, ys = static_cast<float>(GetHeight()) / th;
    const bool alpha = m_pAlpha && target.AlphaCreate();
    std::vector<int32_t> columns(static_cast<size_t>(tw));
    for (int32_t x = 0; x < tw; x++)
        columns[static_cast<size_t>(x)] = Clamp(static_cast<int32_t>(x * xs), 0, GetWidth() - 1);
    for (int32_t y = 0; y < th && !GetEscape(); y++) {
        SetProgress(static_cast<uint32_t>(y * 100 / th));
        const int32_t sy = Clamp(static_cast<int32_t>(y * ys), 0, GetHeight() - 1);
        for (int32_t x = 0; x < tw; x++) {
            const int32_t sx = columns[static_cast<size_t>(x)];
            if (GetBpp() == 24)
                memcpy(target.GetPixelPointer(x, y), GetPixelPointer(sx, sy), 3);
            else
                target.SetPixelColorUnchecked(x, y, GetPixelColorUnchecked(sx, sy, false));
            if (alpha)
                target.AlphaSet(x, y, AlphaGetUnchecked(sx, sy));
        }
    }
}

void CrImage::ResampleBicubic(CrImage& target)
{
    const int32_t tw = target.GetWidth(), th = target.GetHeight();
    const std::vector<CubicTaps> xt = MakeCubicTaps(tw, GetWidth(), static_cast<float>(GetWidth()) / tw);
    const std::vector<CubicTaps> yt = MakeCubicTaps(th, GetHeight(), static_cast<float>(GetHeight()) / th);
    const bool direct = GetBpp() == 24;
    for (int32_t y = 0; y < th && !GetEscape(); y++) {
        SetProgress(static_cast<uint32_t>(y * 100 / th));
        const CubicTaps& ty = yt[static_cast<size_t>(y)];
        const uint8_t* rows[4];
        for (int m = 0; m < 4; m++)
            rows[m] = GetBits(static_cast<uint32_t>(ty.index[m]));
        uint8_t* out = target.GetBits(static_cast<uint32_t>(y));
        for (int32_t x = 0; x < tw; x++) {
            const CubicTaps& tx = xt[static_cast<size_t>(x)];
            float sum[3] = {0, 0, 0};
            for (int m = 0; m < 4; m++)
                for (int n = 0; n < 4; n++) {
                    const float weight = ty.weight[m] * tx.weight[n];
                    if (direct) {
                        const uint8_t* p = rows[m] + static_cast<size_t>(tx.index[n]) * 3;
                        sum[0] += p[0] * weight;
                        sum[1] += p[1] * weight;
                        sum[2] += p[2] * weight;
                    } else {
                        const CrRgbQuad c = GetPixelColorUnchecked(tx.index[n], ty.index[m], false);
                        sum[0] += c.rgbBlue * weight;
                        sum[1] += c.rgbGreen * weight;
                        sum[2] += c.rgbRed * weight;
                    }
                }
            if (direct) {
                out[x * 3] = ClampTruncate(sum[0]);
                out[x * 3 + 1] = ClampTruncate(sum[1]);
                out[x * 3 + 2] = ClampTruncate(sum[2]);
            } else {
                target.SetPixelColorUnchecked(x, y, Quad(sum));
            }
        }
    }
}

void CrImage::ResampleBilinear(CrImage& target)
{
    const int32_t tw = target.GetWidth(), th = target.GetHeight();
    const std::vector<LinearTap> xt = MakeLinearTaps(tw, GetWidth(), static_cast<float>(GetWidth()) / tw);
    const std::vector<LinearTap> yt = MakeLinearTaps(th, GetHeight(), static_cast<float>(GetHeight()) / th);
    for (int32_t y = 0; y < th && !GetEscape(); y++) {
        SetProgress(static_cast<uint32_t>(y * 100 / th));
        const LinearTap& ty = yt[static_cast<size_t>(y)];
        for (int32_t x = 0; x < tw; x++) {
            const LinearTap& tx = xt[static_cast<size_t>(x)];
            const CrRgbQuad c11 = GetPixelColorUnchecked(tx.first, ty.first, false);
            const CrRgbQuad c12 = GetPixelColorUnchecked(tx.first, ty.second, false);
            const CrRgbQuad c21 = GetPixelColorUnchecked(tx.second, ty.first, false);
            const CrRgbQuad c22 = GetPixelColorUnchecked(tx.second, ty.second, false);
            const uint8_t v11[3] = {c11.rgbBlue, c11.rgbGreen, c11.rgbRed};
            const uint8_t v12[3] = {c12.rgbBlue, c12.rgbGreen, c12.rgbRed};
            const uint8_t v21[3] = {c21.rgbBlue, c21.rgbGreen, c21.rgbRed};
            const uint8_t v22[3] = {c22.rgbBlue, c22.rgbGreen, c22.rgbRed};
            float channel[3];
            for (int i = 0; i < 3; i++) {
                const float a = v11[i] + ty.fraction * (v12[i] - v11[i]);
                const float b = v21[i] + ty.fraction * (v22[i] - v21[i]);
                channel[i] = a + tx.fraction * (b - a);
            }
            target.SetPixelColorUnchecked(x, y, Quad(channel));
        }
    }
}

// Every source pixel adds to the one or two target pixels it overlaps on each axis, weighted by
// the overlap in thousandths; sums are 64-bit so that no reduction can overflow them.
void CrImage::ResampleArea(CrImage& target)
{
    const int32_t w = GetWidth(), h = GetHeight();
    const int32_t tw = target.GetWidth(), th = target.GetHeight();
    const AreaAxis xa(w, tw, static_cast<float>(w) / tw);
    const AreaAxis ya(h, th, static_cast<float>(h) / th);
    const size_t width3 = static_cast<size_t>(tw) * 3;
    std::vector<int64_t> line(width3), current(width3, 0), next(width3, 0);

    int32_t row = 0;
    auto emit = [&](const std::vector<int64_t>& sums) {
        uint8_t* out = target.GetBits(static_cast<uint32_t>(row));
        const int64_t rowWeight = ya.weight[static_cast<size_t>(row)];
        for (int32_t x = 0; x < tw; x++) {
            const int64_t divisor = xa.weight[static_cast<size_t>(x)] * rowWeight;
            for (int c = 0; c < 3; c++) {
                const size_t i = static_cast<size_t>(x) * 3 + static_cast<size_t>(c);
                out[i] = divisor > 0 ? static_cast<uint8_t>((sums[i] + divisor / 2) / divisor) : 0;
            }
        }
        SetProgress(static_cast<uint32_t>(row * 100 / th));
    };
    auto nextRow = [&]() {
        emit(current);
        current.swap(next);
        std::fill(next.begin(), next.end(), 0);
        row++;
    };

    for (int32_t sy = 0; sy < h && !GetEscape(); sy++) {
        std::fill(line.begin(), line.end(), 0);
        const uint8_t* p = GetBits(static_cast<uint32_t>(sy));
        for (int32_t sx = 0; sx < w; sx++, p += 3) {
            const size_t t = static_cast<size_t>(xa.target[static_cast<size_t>(sx)]) * 3;
            const int64_t s = xa.share[static_cast<size_t>(sx)];
            line[t] += p[0] * s;
            line[t + 1] += p[1] * s;
            line[t + 2] += p[2] * s;
            if (s < 1000) {
                line[t + 3] += p[0] * (1000 - s);
                line[t + 4] += p[1] * (1000 - s);
                line[t + 5] += p[2] * (1000 - s);
            }
        }
        const int32_t ty = ya.target[static_cast<size_t>(sy)];
        while (row < ty)
            nextRow();
        const int64_t s = ya.share[static_cast<size_t>(sy)];
        for (size_t i = 0; i < width3; i++)
            current[i] += line[i] * s;
        if (s < 1000)
            for (size_t i = 0; i < width3; i++)
                next[i] += line[i] * (1000 - s);
    }
    while (row < th && !GetEscape())
        nextRow();
}

bool CrImage::ResampleAlpha(CrImage& target, int32_t mode)
{
    CrImage gray;
    if (!AlphaSplit(&gray) || !gray.Resample(target.GetWidth(), target.GetHeight(), mode))
        return false;
    return target.AlphaSet(gray);
}

bool CrImage::Expand(int32_t left, int32_t top, int32_t right, int32_t bottom, CrRgbQuad canvas, CrImage* dest)
{
    if (!m_pDib || left < 0 || top < 0 || right < 0 || bottom < 0)
        return false;
    const int32_t w = GetWidth(), h = GetHeight();
    const int64_t newWidth = static_cast<int64_t>(left) + w + right;
    const int64_t newHeight = static_cast<int64_t>(bottom) + h + top;
    if (newWidth > INT32_MAX || newHeight > INT32_MAX)
        return false;
    CrImage big;
    if (!MakeLike(big, static_cast<int32_t>(newWidth), static_cast<int32_t>(newHeight), GetBpp()))
        return false;
    const int32_t bw = big.GetWidth(), bh = big.GetHeight();
    const uint8_t canvasIndex = big.GetNearestIndex(canvas);

    switch (GetBpp()) {
    case 1:
    case 4:
        for (int32_t y = 0; y < bh; y++) {
            SetProgress(static_cast<uint32_t>(y * 100 / bh));
            for (int32_t x = 0; x < bw; x++) {
                const int32_t ox = x - left, oy = y - bottom;
                big.SetPixelIndexUnchecked(x, y, IsInside(ox, oy) ? GetPixelIndexUnchecked(ox, oy) : canvasIndex);
            }
        }
        break;
    case 8:
        memset(big.GetBits(), canvasIndex, static_cast<size_t>(big.GetRowBytes()) * bh);
        for (int32_t y = 0; y < h; y++)
            memcpy(big.GetBits(static_cast<uint32_t>(y + bottom)) + left, GetBits(static_cast<uint32_t>(y)), static_cast<size_t>(w));
        break;
    default:
        for (int32_t y = 0; y < bh; y++) {
            SetProgress(static_cast<uint32_t>(y * 100 / bh));
            uint8_t* p = big.GetBits(static_cast<uint32_t>(y));
            for (int32_t x = 0; x < bw; x++, p += 3) {
                p[0] = canvas.rgbBlue;
                p[1] = canvas.rgbGreen;
                p[2] = canvas.rgbRed;
            }
        }
        for (int32_t y = 0; y < h; y++)
            memcpy(big.GetPixelPointer(left, y + bottom), GetBits(static_cast<uint32_t>(y)), static_cast<size_t>(w) * 3);
        break;
    }
    if (m_pSelection) {
        if (!big.SelectionCreate())
            return false;
        for (int32_t y = 0; y < h; y++)
            memcpy(big.SelectionGetPointer(left, y + bottom), SelectionGetPointer(0, y), static_cast<size_t>(w));
        CrRectL& box = big.m_info.selectionBox;
        box = CrRectL{box.left + left, box.top + bottom, box.right + left, box.bottom + bottom};
    }
    if (m_pAlpha) {
        if (!big.AlphaCreate())
            return false;
        big.AlphaSet(canvas.rgbReserved);
        for (int32_t y = 0; y < h; y++)
            memcpy(big.AlphaGetPointer(left, y + bottom), AlphaGetPointer(0, y), static_cast<size_t>(w));
    }
    SetProgress(100);
    return MoveResult(big, dest);
}

bool CrImage::Expand(int32_t newWidth, int32_t newHeight, CrRgbQuad canvas, CrImage* dest)
{
    if (!m_pDib || newWidth < GetWidth() || newHeight < GetHeight())
        return false;
    const int32_t left = (newWidth - GetWidth()) / 2;
    const int32_t top = (newHeight - GetHeight()) / 2;
    return Expand(left, top, newWidth - GetWidth() - left, newHeight - GetHeight() - top, canvas, dest);
}

// Fits the picture into the box (never enlarging it) and centres it there. The fit compares
// the aspect ratios in integers, so a picture of the box's own shape fills it exactly.
bool CrImage::Thumbnail(int32_t width, int32_t height, CrRgbQuad canvas, CrImage* dest)
{
    if (!m_pDib || width <= 0 || height <= 0)
        return false;
    CrImage copy;
    const int64_t iw = GetWidth(), ih = GetHeight();
    if (iw > width || ih > height) {
        int64_t tw, th;
        if (static_cast<int64_t>(width) * ih > iw * height) {
            th = height;
            tw = iw * height / ih;
        } else {
            tw = width;
            th = ih * width / iw;
        }
        // Resampled straight into the working copy: the same as copying first, without the copy.
        if (!Resample(static_cast<int32_t>(tw > 0 ? tw : 1), static_cast<int32_t>(th > 0 ? th : 1),
                      CRIMAGE_RESAMPLE_AUTO, &copy))
            return false;
    } else if (!copy.Copy(*this)) {
        SetLastError(copy.GetLastError());
        return false;
    }
    copy.Expand(width, height, canvas);
    return MoveResult(copy, dest);
}
