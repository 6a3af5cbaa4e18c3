// Resampling speed: CrImage::Resample (bilinear mode, which averages areas when shrinking, and
// bicubic mode) and CrImage::Thumbnail on a 24-bit 4000 x 3000 picture, against stb_image_resize
// with the matching filters (triangle, cubic B-spline), measured in the same run on the same pixels.
//
//   resample_bench [--quick]
#include "CrImage.h"

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb_image_resize.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// Photograph-like content: smooth shading with grain.
void Paint(CrImage& image)
{
    std::mt19937 rng(7);
    for (int y = 0; y < kHeight; y++) {
        uint8_t* p = image.GetBits(static_cast<uint32_t>(y));
        for (int x = 0; x < kWidth; x++, p += 3) {
            const double shade = 128 + 90 * std::sin(x / 230.0) * std::cos(y / 170.0);
            p[0] = static_cast<uint8_t>(std::fmin(255, shade + rng() % 16));
            p[1] = static_cast<uint8_t>((x * 255 / kWidth + rng() % 8) & 255);
            p[2] = static_cast<uint8_t>((y * 255 / kHeight + rng() % 8) & 255);
        }
    }
}

// Seconds per run: the best of several runs (at least half a second of runs unless quick).
double Time(const std::function<void()>& run, bool quick)
{
    const int minRuns = quick ? 1 : 5;
    const double minTime = quick ? 0.0 : 0.5;
    double best = 1e30, total = 0;
    for (int runs = 0; runs < minRuns || total < minTime; runs++) {
        const auto start = std::chrono::steady_clock::now();
        run();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        best = std::fmin(best, seconds);
        total += seconds;
    }
    return best;
}

// Mean absolute difference per channel between our result and the peer's, as a sanity check
// that both did comparable work.
double Difference(const CrImage& ours, const std::vector<uint8_t>& peer, int width, int height)
{
    if (ours.GetWidth() != width || ours.GetHeight() != height)
        return -1;
    double sum = 0;
    for (int y = 0; y < height; y++) {
        const uint8_t* a = ours.GetBits(static_cast<uint32_t>(y));
        const uint8_t* b = peer.data() + static_cast<size_t>(y) * width * 3;
        for (int i = 0; i < width * 3; i++)
            sum += std::abs(a[i] - b[i]);
    }
    return sum / (static_cast<double>(width) * height * 3);
}

struct Case {
    const char* name;
    int width, height;
    std::function<void(CrImage& src, CrImage& dest, int w, int h)> ours;
    stbir_filter filter;
};

} // namespace

int main(int argc, char** argv)
{
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    CrImage source(kWidth, kHeight, 24);
    if (!source.IsValid()) {
        std::fprintf(stderr, "resample_bench: %s\n", source.GetLastError());
        return 1;
    }
    Paint(source);

    const CrRgbQuad black = {0, 0, 0, 0};
    auto resample = [](int32_t mode) {
        return [mode](CrImage& src, CrImage& dest, int w, int h) { src.Resample(w, h, mode, &dest); };
    };
    auto thumbnail = [black](CrImage& src, CrImage& dest, int w, int h) { src.Thumbnail(w, h, black, &dest); };
    const Case cases[] = {
        {"Resample bilinear", 200, 150, resample(CRIMAGE_RESAMPLE_AUTO), STBIR_FILTER_TRIANGLE},
        {"Resample bilinear", 1000, 750, resample(CRIMAGE_RESAMPLE_AUTO), STBIR_FILTER_TRIANGLE},
        {"Resample bicubic", 200, 150, resample(CRIMAGE_RESAMPLE_BICUBIC), STBIR_FILTER_CUBICBSPLINE},
        {"Resample bicubic", 1000, 750, resample(CRIMAGE_RESAMPLE_BICUBIC), STBIR_FILTER_CUBICBSPLINE},
        {"Thumbnail", 200, 150, thumbnail, STBIR_FILTER_TRIANGLE},
        {"Thumbnail", 1000, 750, thumbnail, STBIR_FILTER_TRIANGLE},
    };

    std::printf("source %d x %d, 24 bits; peer: stb_image_resize (linear colour space, clamped edges)\n", kWidth, kHeight);
    std::printf("%-18s %11s | %9s | %9s %-14s | %6s | %5s\n", "operation", "target", "ours ms", "peer ms", "filter", "ratio",
                "diff");
    for (const Case& c : cases) {
        CrImage dest;
        const double ours = Time([&] { c.ours(source, dest, c.width, c.height); }, quick);
        std::vector<uint8_t> peerPixels;
        const double peer = Time(
            [&] {
                peerPixels.assign(static_cast<size_t>(c.width) * c.height * 3, 0);
                stbir_resize_uint8_generic(source.GetBits(), kWidth, kHeight, static_cast<int>(source.GetRowBytes()),
                                           peerPixels.data(), c.width, c.height, c.width * 3, 3, STBIR_ALPHA_CHANNEL_NONE, 0,
                                           STBIR_EDGE_CLAMP, c.filter, STBIR_COLORSPACE_LINEAR, nullptr);
            },
            quick);
        char target[24];
        std::snprintf(target, sizeof target, "%d x %d", c.width, c.height);
        std::printf("%-18s %11s | %9.2f | %9.2f %-14s | %5.2fx | %5.2f\n", c.name, target, ours * 1e3, peer * 1e3,
                    c.filter == STBIR_FILTER_TRIANGLE ? "triangle" : "cubic B-spline", peer / ours,
                    Difference(dest, peerPixels, c.width, c.height));
    }
    std::printf("ratio = peer time / our time (above 1: we are faster); diff = mean absolute channel difference\n");
    return 0;
}
