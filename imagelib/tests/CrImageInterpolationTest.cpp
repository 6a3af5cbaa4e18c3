#include "TestImage.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// J1 by its power series, as the reference for the rational approximations.
double SeriesJ1(double x)
{
    double term = x / 2, sum = 0;
    for (int k = 0; k < 60; k++) {
        sum += term;
        term *= -(x / 2) * (x / 2) / ((k + 1.0) * (k + 2.0));
    }
    return sum;
}


} // namespace

TEST(CrImageKernels, Values)
{
    const float pi = 3.14159265358979f;
    struct Case { const char* name; float value, expected; };
    const Case cases[] = {
        {"bspline 0", CrImage::KernelBSpline(0), 2.0f / 3},
        {"bspline 1", CrImage::KernelBSpline(1), 1.0f / 6},
        {"bspline -1", CrImage::KernelBSpline(-1), 1.0f / 6},
        {"bspline 2.5", CrImage::KernelBSpline(2.5f), 0},
        {"cubic 0", CrImage::KernelCubic(0), 1},
        {"cubic 1", CrImage::KernelCubic(1), 0},
        {"cubic -1.5", CrImage::KernelCubic(-1.5f), -0.125f},
        {"cubic 2", CrImage::KernelCubic(2), 0},
        {"gen cubic 0.5", CrImage::KernelGeneralizedCubic(0.5f, -0.5f), 0.5625f},
        {"gen cubic 1.5", CrImage::KernelGeneralizedCubic(1.5f, -0.5f), -0.0625f},
        {"lanczos 0", CrImage::KernelLanczosSinc(0, 6), 1},
        {"lanczos 1", CrImage::KernelLanczosSinc(1, 6), 0},
        {"lanczos 0.5", CrImage::KernelLanczosSinc(0.5f, 6), std::sin(pi / 12) / (pi / 12) * std::sin(pi / 2) / (pi / 2)},
        {"lanczos 7", CrImage::KernelLanczosSinc(7, 6), 0},
        {"box -0.5", CrImage::KernelBox(-0.5f), 1},
        {"box 0.5", CrImage::KernelBox(0.5f), 0},
        {"hermite 0.5", CrImage::KernelHermite(0.5f), 0.5f},
        {"hermite -0.5", CrImage::KernelHermite(-0.5f), 0.5f},
        {"hermite 1", CrImage::KernelHermite(1), 0},
        {"hanning 0", CrImage::KernelHanning(0), 1},
        {"hanning 0.5", CrImage::KernelHanning(0.5f), 1 / (pi / 2) * 0.5f},
        {"hanning 1.5", CrImage::KernelHanning(1.5f), 0},
        {"hamming 0.5", CrImage::KernelHamming(0.5f), 0.54f},
        {"hamming -0.5", CrImage::KernelHamming(-0.5f), 0.54f},
        {"sinc 0", CrImage::KernelSinc(0), 1},
        {"sinc 0.5", CrImage::KernelSinc(0.5f), 2 / pi},
        {"blackman 0", CrImage::KernelBlackman(0), 1},
        {"blackman 1", CrImage::KernelBlackman(1), 0},
        {"bessel 0", CrImage::KernelBessel(0), pi / 4},
        {"gaussian 0", CrImage::KernelGaussian(0), 0.7978846f},
        {"gaussian 1", CrImage::KernelGaussian(1), 0.7978846f * std::exp(-2.0f)},
        {"quadratic 0", CrImage::KernelQuadratic(0), 0.75f},
        {"quadratic 1", CrImage::KernelQuadratic(1), 0.125f},
        {"quadratic -1", CrImage::KernelQuadratic(-1), 0.125f},
        {"quadratic 1.5", CrImage::KernelQuadratic(1.5f), 0},
        {"mitchell 0", CrImage::KernelMitchell(0), 16.0f / 18},
        {"mitchell 1", CrImage::KernelMitchell(1), 1.0f / 18},
        {"mitchell -1", CrImage::KernelMitchell(-1), 1.0f / 18},
        {"mitchell 2", CrImage::KernelMitchell(2), 0},
        {"catrom 0", CrImage::KernelCatrom(0), 1},
        {"catrom 0.5", CrImage::KernelCatrom(0.5f), 0.5625f},
        {"catrom -1.5", CrImage::KernelCatrom(-1.5f), -0.0625f},
        {"catrom 1", CrImage::KernelCatrom(1), 0},
        {"power 0.5", CrImage::KernelPower(0.5f, 2), 0.75f},
        {"power -0.5", CrImage::KernelPower(-0.5f, 2), 0.75f},
        {"power 2", CrImage::KernelPower(2, 2), 0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(c.expected, c.value, 1e-5) << c.name;
}

TEST(CrImageKernels, BesselOrderOneMatchesTheSeries)
{
    for (double x : {0.25, 0.5, 1.0, 2.5, 3.0, 5.0, 7.9, 8.0, 9.5, 10.0, 14.0, 20.0, -3.0, -12.0}) {
        EXPECT_NEAR(SeriesJ1(x), CrImage::KernelBesselOrder1(static_cast<float>(x)), 2e-6) << x;
    }
    EXPECT_EQ(0.0f, CrImage::KernelBesselOrder1(0));
    EXPECT_NEAR(0.44005058574, CrImage::KernelBesselJ1(1.0f), 1e-6); // J1(x) / x at 1
    EXPECT_NEAR(SeriesJ1(3.14159265 * 0.5) / 1.0, CrImage::KernelBessel(0.5f), 1e-6);
}

TEST(CrImageOverflow, MovesOutsidePoints)
{
    TestImage image(4, 3, 24);
    struct Case { int32_t method, x, y, ex, ey; };
    const Case cases[] = {
        {CRIMAGE_OM_REPEAT, -1, 5, 3, 2}, {CRIMAGE_OM_REPEAT, 9, -7, 1, 2},
        {CRIMAGE_OM_CLAMP, -5, 10, 0, 2}, {CRIMAGE_OM_CLAMP, 4, -1, 3, 0},
        {CRIMAGE_OM_MIRROR, -1, 3, 1, 2}, {CRIMAGE_OM_MIRROR, 5, -2, 2, 2},
        {CRIMAGE_OM_BACKGROUND, -1, 7, -1, 7}, {CRIMAGE_OM_CLAMP, 2, 1, 2, 1},
    };
    for (const Case& c : cases) {
        int32_t x = c.x, y = c.y;
        EXPECT_EQ(c.ey, image.ApplyOverflow(x, y, c.method));
        EXPECT_EQ(c.ex, x) << c.method << " " << c.x << "," << c.y;
        EXPECT_EQ(c.ey, y) << c.method << " " << c.x << "," << c.y;
    }
    struct FloatCase { int32_t method; float x, y, ex, ey; };
    const FloatCase floats[] = {
        {CRIMAGE_OM_REPEAT, -0.5f, 3.5f, 3.5f, 0.5f}, {CRIMAGE_OM_CLAMP, 7.5f, -0.25f, 3, 0},
        {CRIMAGE_OM_MIRROR, -1.5f, 4.0f, 1.5f, 1.0f}, {CRIMAGE_OM_TRANSPARENT, -9, 0, -9, 0},
    };
    for (const FloatCase& c : floats) {
        float x = c.x, y = c.y;
        image.ApplyOverflow(x, y, c.method);
        EXPECT_FLOAT_EQ(c.ex, x) << c.method;
        EXPECT_FLOAT_EQ(c.ey, y) << c.method;
    }
}

TEST(CrImageOverflow, ColourOfOutsidePoints)
{
    TestImage image(2, 2, 8);
    image.SetPaletteColor(1, 10, 20, 30);
    image.SetPaletteColor(2, 40, 50, 60);
    image.SetPixelIndex(1, 0, 1);
    const CrRgbQuad white0 = Rgb(255, 255, 255, 0);
    const CrRgbQuad bg = Rgb(1, 2, 3, 4);
    EXPECT_EQ(Rgb(10, 20, 30), image.GetPixelColorWithOverflow(1, 0, CRIMAGE_OM_BACKGROUND));
    EXPECT_EQ(white0, image.GetPixelColorWithOverflow(-1, 0, CRIMAGE_OM_TRANSPARENT));
    EXPECT_EQ(bg, image.GetPixelColorWithOverflow(-1, 0, CRIMAGE_OM_BACKGROUND, &bg));
    EXPECT_EQ(bg, image.GetPixelColorWithOverflow(-1, 0, 9, &bg));
    EXPECT_EQ(Rgb(10, 20, 30), image.GetPixelColorWithOverflow(3, 0, CRIMAGE_OM_REPEAT));
    EXPECT_EQ(Rgb(10, 20, 30), image.GetPixelColorWithOverflow(7, -3, CRIMAGE_OM_CLAMP));
    EXPECT_EQ(Rgb(10, 20, 30), image.GetPixelColorWithOverflow(-1, 0, CRIMAGE_OM_MIRROR));
    image.SetTransIndex(2);
    EXPECT_EQ(Rgb(40, 50, 60), image.GetPixelColorWithOverflow(-1, 0, CRIMAGE_OM_TRANSPARENT, &bg));
    EXPECT_EQ(Rgb(40, 50, 60), image.GetPixelColorWithOverflow(-1, 0, CRIMAGE_OM_BACKGROUND, &bg));
    ASSERT_TRUE(image.AlphaCreate());
    EXPECT_EQ(Rgb(1, 2, 3, 0), image.GetPixelColorWithOverflow(-1, 0, CRIMAGE_OM_BACKGROUND, &bg));

    TestImage rgb(2, 2, 24);
    rgb.SetTransColor(Rgb(7, 7, 7));
    rgb.Info().transIndex = 0;
    EXPECT_EQ(Rgb(7, 7, 7), rgb.GetPixelColorWithOverflow(5, 5, CRIMAGE_OM_TRANSPARENT));
    TestImage empty;
    EXPECT_EQ(white0, empty.GetPixelColorWithOverflow(0, 0, CRIMAGE_OM_CLAMP));
}

TEST(CrImageInterpolation, BilinearFastAndSlowPathsAgree)
{
    TestImage rgb(4, 4, 24);
    FillPattern(rgb);
    // Exact centres give the pixel; the clamped left edge gives the edge pixel.
    EXPECT_EQ(PatternColor(1, 2), rgb.GetPixelColorInterpolated(1, 2, CRIMAGE_IM_BILINEAR, CRIMAGE_OM_CLAMP));
    EXPECT_EQ(PatternColor(0, 2), rgb.GetPixelColorInterpolated(-0.5f, 2, CRIMAGE_IM_BILINEAR, CRIMAGE_OM_CLAMP));
    const CrRgbQuad mid = rgb.GetPixelColorInterpolated(1.5f, 1.5f, CRIMAGE_IM_BILINEAR, CRIMAGE_OM_CLAMP);
    EXPECT_NEAR((PatternColor(1, 1).rgbGreen + PatternColor(1, 2).rgbGreen) / 2.0, mid.rgbGreen, 1);
    EXPECT_NEAR((PatternColor(1, 1).rgbRed + PatternColor(2, 1).rgbRed) / 2.0, mid.rgbRed, 1);

    // The same picture as a palette image goes the slow way.
    TestImage indexed(4, 4, 8);
    for (int32_t y = 0; y < 4; y++)
        for (int32_t x = 0; x < 4; x++) {
            indexed.SetPaletteColor(static_cast<uint32_t>(y * 4 + x), PatternColor(x, y));
            indexed.SetPixelIndex(x, y, static_cast<uint8_t>(y * 4 + x));
        }
    const CrRgbQuad slow = indexed.GetPixelColorInterpolated(1.5f, 1.5f, CRIMAGE_IM_BILINEAR, CRIMAGE_OM_CLAMP);
    EXPECT_NEAR(mid.rgbRed, slow.rgbRed, 1);
    EXPECT_NEAR(mid.rgbGreen, slow.rgbGreen, 1);
    EXPECT_NEAR(mid.rgbBlue, slow.rgbBlue, 1);
    // Unknown method numbers sample bilinearly.
    EXPECT_EQ(mid, rgb.GetPixelColorInterpolated(1.5f, 1.5f, 0, CRIMAGE_OM_CLAMP));
    EXPECT_EQ(mid, rgb.GetPixelColorInterpolated(1.5f, 1.5f, 19, CRIMAGE_OM_CLAMP));
    // Far outside with background overflow: the background at once.
    const CrRgbQuad bg = Rgb(9, 9, 9, 9);
    EXPECT_EQ(bg, rgb.GetPixelColorInterpolated(-20, 1, CRIMAGE_IM_BILINEAR, CRIMAGE_OM_BACKGROUND, &bg));
    EXPECT_EQ(PatternColor(3, 1), rgb.GetPixelColorInterpolated(-21, 1, CRIMAGE_IM_BILINEAR, CRIMAGE_OM_REPEAT));
}

TEST(CrImageInterpolation, AlphaIsInterpolatedToo)
{
    TestImage rgb(2, 2, 24);
    ASSERT_TRUE(rgb.AlphaCreate());
    rgb.AlphaSet(0);
    rgb.AlphaSet(1, 0, 200);
    rgb.AlphaSet(1, 1, 200);
    EXPECT_NEAR(100, rgb.GetPixelColorInterpolated(0.5f, 0.5f, CRIMAGE_IM_BILINEAR, CRIMAGE_OM_CLAMP).rgbReserved, 1);
    EXPECT_NEAR(100, rgb.GetPixelColorInterpolated(0.5f, 1.0f, CRIMAGE_IM_BSPLINE, CRIMAGE_OM_CLAMP).rgbReserved, 1);
}

TEST(CrImageInterpolation, NearestAndKernelMethods)
{
    TestImage rgb(8, 8, 24);
    FillPattern(rgb);
    EXPECT_EQ(PatternColor(0, 1), rgb.GetPixelColorInterpolated(0.4f, 0.6f, CRIMAGE_IM_NEAREST_NEIGHBOUR, CRIMAGE_OM_CLAMP));
    // Interpolating kernels that are 1 at 0 and 0 at every other integer give back the pixel.
    for (int32_t method : {CRIMAGE_IM_BICUBIC, CRIMAGE_IM_BICUBIC2, CRIMAGE_IM_LANCZOS, CRIMAGE_IM_CATROM,
                           CRIMAGE_IM_HERMITE, CRIMAGE_IM_SINC, CRIMAGE_IM_BOX}) {
        EXPECT_EQ(PatternColor(4, 3), rgb.GetPixelColorInterpolated(4, 3, method, CRIMAGE_OM_CLAMP)) << method;
        EXPECT_EQ(PatternColor(0, 7), rgb.GetPixelColorInterpolated(0, 7, method, CRIMAGE_OM_CLAMP)) << method;
    }
    // A flat picture stays flat under the kernels whose weights sum to one.
    TestImage flat(8, 8, 24);
    FillColor(flat, Rgb(100, 150, 200));
    for (int32_t method : {CRIMAGE_IM_BSPLINE, CRIMAGE_IM_BICUBIC, CRIMAGE_IM_MITCHELL, CRIMAGE_IM_CATROM,
                           CRIMAGE_IM_QUADRATIC}) {
        const CrRgbQuad c = flat.GetPixelColorInterpolated(3.3f, 4.7f, method, CRIMAGE_OM_CLAMP);
        EXPECT_NEAR(100, c.rgbRed, 1) << method;
        EXPECT_NEAR(200, c.rgbBlue, 1) << method;
    }
    // Unnormalised sums are clamped rather than wrapped.
    TestImage white(8, 8, 24);
    FillColor(white, Rgb(255, 255, 255));
    EXPECT_EQ(255, white.GetPixelColorInterpolated(3.5f, 3.5f, CRIMAGE_IM_BLACKMAN, CRIMAGE_OM_CLAMP).rgbRed);
    const CrRgbQuad bg = Rgb(1, 1, 1, 1);
    EXPECT_EQ(bg, white.GetPixelColorInterpolated(20, 3, CRIMAGE_IM_LANCZOS, CRIMAGE_OM_BACKGROUND, &bg));
}

TEST(CrImageInterpolation, AreaAverage)
{
    // A 3 × 3 block of 240 on black: the 3 × 3 area over it covers exactly the block, the 4 × 4
    // area adds a ring at half (edges) and a quarter (corners) of a pixel each.
    TestImage image(11, 11, 24);
    for (int32_t y = 4; y <= 6; y++)
        for (int32_t x = 4; x <= 6; x++)
            image.SetPixelColor(x, y, Rgb(240, 240, 240));
    EXPECT_EQ(Rgb(240, 240, 240), image.GetAreaColorInterpolated(5, 5, 3, 3, CRIMAGE_IM_BILINEAR, CRIMAGE_OM_CLAMP));
    EXPECT_EQ(Rgb(135, 135, 135), image.GetAreaColorInterpolated(5, 5, 4, 4, CRIMAGE_IM_BILINEAR, CRIMAGE_OM_CLAMP));
    image.SetPixelColor(3, 3, Rgb(160, 160, 160)); // a corner of the ring counts a quarter
    EXPECT_EQ(Rgb(138, 138, 138), image.GetAreaColorInterpolated(5, 5, 4, 4, CRIMAGE_IM_BILINEAR, CRIMAGE_OM_CLAMP));
    // One long side: samples along it, weighted by overlap.
    EXPECT_EQ(Rgb(80, 80, 80), image.GetAreaColorInterpolated(5, 7, 1, 3, CRIMAGE_IM_BILINEAR, CRIMAGE_OM_CLAMP));
    EXPECT_EQ(Rgb(80, 80, 80), image.GetAreaColorInterpolated(7, 5, 3, 1, CRIMAGE_IM_BILINEAR, CRIMAGE_OM_CLAMP));
    EXPECT_EQ(Rgb(180, 180, 180), image.GetAreaColorInterpolated(6, 5, 2, 1, CRIMAGE_IM_BILINEAR, CRIMAGE_OM_CLAMP));
    // Small areas are point samples.
    EXPECT_EQ(image.GetPixelColorInterpolated(4.5f, 4.5f, CRIMAGE_IM_BILINEAR, CRIMAGE_OM_CLAMP),
              image.GetAreaColorInterpolated(4.5f, 4.5f, 1, 0.5f, CRIMAGE_IM_BILINEAR, CRIMAGE_OM_CLAMP));
}
