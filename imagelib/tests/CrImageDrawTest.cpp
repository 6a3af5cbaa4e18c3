// Compositing of drawing, into a plain pixel buffer that stands for part of the screen: placement,
// scaling with and without smoothing, clipping, flipping, transparency and blending.
#include "CodecTestSupport.h"

using namespace codectest;

namespace {

// A screen area of 24-bit pixels, rows bottom-up, filled with one colour.
struct Screen {
    int32_t left, top, width, height;
    std::vector<uint8_t> bits;
    uint32_t rowBytes;

    Screen(int32_t l, int32_t t, int32_t w, int32_t h, CrRgbQuad fill) : left(l), top(t), width(w), height(h)
    {
        rowBytes = uint32_t((w * 3 + 3) & ~3);
        bits.assign(size_t(rowBytes) * size_t(h), 0);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                Put(l + x, t + y, fill);
    }
    uint8_t* At(int32_t x, int32_t y)
    {
        return &bits[size_t(height - 1 - (y - top)) * rowBytes + size_t(x - left) * 3];
    }
    void Put(int32_t x, int32_t y, CrRgbQuad c)
    {
        uint8_t* p = At(x, y);
        p[0] = c.rgbBlue;
        p[1] = c.rgbGreen;
        p[2] = c.rgbRed;
    }
    CrRgbQuad Get(int32_t x, int32_t y)
    {
        uint8_t* p = At(x, y);
        return Rgb(p[2], p[1], p[0]);
    }
    void Paint(const CrImage& image, int32_t x, int32_t y, int32_t cx, int32_t cy, bool smooth = false, bool flip = false)
    {
        CrPaintBuffer area = {bits.data(), rowBytes, left, top, width, height};
        image.DrawInto(area, x, y, cx, cy, smooth, flip);
    }
};

const CrRgbQuad kBack = Rgb(10, 20, 30);

// The picture's pixel shown at screen (X, Y) for an image drawn at (x, y) at its own size.
CrRgbQuad Shown(const CrImage& image, int32_t x, int32_t y, int32_t X, int32_t Y, bool flip = false)
{
    const int32_t row = flip ? Y - y : image.GetHeight() - 1 - (Y - y);
    return image.GetPixelColor(X - x, row, false);
}

} // namespace

TEST(DrawCompositing, OpaqueAtItsOwnSizeAndFlipped)
{
    CrImage image = Rgb24(7, 5);
    for (bool flip : {false, true}) {
        Screen screen(0, 0, 12, 10, kBack);
        screen.Paint(image, 3, 2, 7, 5, false, flip);
        for (int32_t Y = 0; Y < 10; ++Y)
            for (int32_t X = 0; X < 12; ++X) {
                const bool inside = X >= 3 && X < 10 && Y >= 2 && Y < 7;
                ASSERT_EQ(screen.Get(X, Y), inside ? Shown(image, 3, 2, X, Y, flip) : kBack) << X << "," << Y << " flip " << flip;
            }
    }
}

TEST(DrawCompositing, ClippedAreaShowsItsOwnPartOfThePicture)
{
    // The area holds only the lower right of the destination; flipped, that part shows the picture's top.
    CrImage image = Indexed(8, 8, 8);
    for (bool flip : {false, true}) {
        Screen screen(14, 15, 4, 3, kBack);
        screen.Paint(image, 10, 10, 8, 8, false, flip);
        for (int32_t Y = 15; Y < 18; ++Y)
            for (int32_t X = 14; X < 18; ++X)
                ASSERT_EQ(screen.Get(X, Y), Shown(image, 10, 10, X, Y, flip)) << X << "," << Y << " flip " << flip;
    }
}

TEST(DrawCompositing, NearestNeighbourScaling)
{
    CrImage image = Rgb24(4, 3);
    Screen big(0, 0, 8, 6, kBack);
    big.Paint(image, 0, 0, 8, 6);
    for (int32_t Y = 0; Y < 6; ++Y)
        for (int32_t X = 0; X < 8; ++X)
            ASSERT_EQ(big.Get(X, Y), image.GetPixelColor(X / 2, 2 - Y / 2, false)) << X << "," << Y;

    CrImage large = Rgb24(8, 6);
    Screen small(0, 0, 4, 3, kBack);
    small.Paint(large, 0, 0, 4, 3);
    for (int32_t Y = 0; Y < 3; ++Y)
        for (int32_t X = 0; X < 4; ++X)
            ASSERT_EQ(small.Get(X, Y), large.GetPixelColor(2 * X, 6 - 2 * (Y + 1), false)) << X << "," << Y;

    // Flipped and scaled: the same picture upside down.
    Screen flipped(0, 0, 8, 6, kBack);
    flipped.Paint(image, 0, 0, 8, 6, false, true);
    for (int32_t Y = 0; Y < 6; ++Y)
        for (int32_t X = 0; X < 8; ++X)
            ASSERT_EQ(flipped.Get(X, Y), big.Get(X, 5 - Y));
}

TEST(DrawCompositing, SampledCoordinatesStayInsideTheImage)
{
    // Scale factors whose float products land on or past the last pixel.
    for (int32_t size : {1, 2, 3, 7, 13}) {
        CrImage image = Rgb24(size, size);
        for (int32_t target : {1, 3, 29, 97}) {
            Screen screen(0, 0, target, target, kBack);
            screen.Paint(image, 0, 0, target, target);
            screen.Paint(image, 0, 0, target, target, true);
            EXPECT_EQ(screen.Get(target - 1, target - 1).rgbReserved, 0);
        }
    }
}

TEST(DrawCompositing, SmoothScaling)
{
    // One flat colour stays flat whichever way it is scaled.
    CrImage flat(6, 6, 24);
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 6; ++x)
            flat.SetPixelColor(x, y, Rgb(100, 150, 200));
    for (int32_t target : {2, 4, 15}) {
        Screen screen(0, 0, target, target, kBack);
        screen.Paint(flat, 0, 0, target, target, true);
        for (int32_t Y = 0; Y < target; ++Y)
            for (int32_t X = 0; X < target; ++X) {
                const CrRgbQuad c = screen.Get(X, Y);
                ASSERT_NEAR(c.rgbRed, 100, 1);
                ASSERT_NEAR(c.rgbBlue, 200, 1);
            }
    }
    // Black and white columns: shrunk with smoothing they average to grey, without it they do not.
    CrImage stripes(8, 8, 24);
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 8; ++x)
            stripes.SetPixelColor(x, y, x % 2 ? Rgb(255, 255, 255) : Rgb(0, 0, 0));
    Screen sharp(0, 0, 4, 4, kBack), soft(0, 0, 4, 4, kBack);
    sharp.Paint(stripes, 0, 0, 4, 4, false);
    soft.Paint(stripes, 0, 0, 4, 4, true);
    EXPECT_EQ(sharp.Get(1, 1), Rgb(0, 0, 0));
    EXPECT_NEAR(soft.Get(1, 1).rgbRed, 128, 40);
    // Enlarged with smoothing: in-between values appear between a black and a white pixel.
    CrImage pair(2, 1, 24);
    pair.SetPixelColor(0, 0, Rgb(0, 0, 0));
    pair.SetPixelColor(1, 0, Rgb(255, 255, 255));
    Screen wide(0, 0, 16, 1, kBack);
    wide.Paint(pair, 0, 0, 16, 1, true);
    bool between = false;
    for (int32_t X = 0; X < 16; ++X)
        between = between || (wide.Get(X, 0).rgbRed > 20 && wide.Get(X, 0).rgbRed < 235);
    EXPECT_TRUE(between);
    EXPECT_LT(wide.Get(0, 0).rgbRed, wide.Get(15, 0).rgbRed);
}

TEST(DrawCompositing, TransparentIndexShowsTheBackground)
{
    CrImage image = Indexed(6, 4, 4);
    image.SetTransIndex(2);
    for (bool scaled : {false, true})
        for (bool flip : {false, true}) {
            const int32_t k = scaled ? 2 : 1;
            Screen screen(0, 0, 6 * k, 4 * k, kBack);
            screen.Paint(image, 0, 0, 6 * k, 4 * k, false, flip);
            for (int32_t Y = 0; Y < 4 * k; ++Y)
                for (int32_t X = 0; X < 6 * k; ++X) {
                    const int32_t row = flip ? Y / k : 3 - Y / k;
                    const bool clear = image.GetPixelIndex(X / k, row) == 2;
                    ASSERT_EQ(screen.Get(X, Y), clear ? kBack : image.GetPixelColor(X / k, row, false))
                        << X << "," << Y << " scaled " << scaled << " flip " << flip;
                }
        }
    // 24 bits: pixels of the transparent colour are skipped.
    CrImage rgb = Rgb24(5, 5);
    rgb.SetTransIndex(0);
    rgb.SetTransColor(rgb.GetPixelColor(2, 2, false));
    Screen screen(0, 0, 5, 5, kBack);
    screen.Paint(rgb, 0, 0, 5, 5);
    EXPECT_EQ(screen.Get(2, 2), kBack);
    EXPECT_EQ(screen.Get(1, 2), rgb.GetPixelColor(1, 2, false));
}

TEST(DrawCompositing, AlphaBlending)
{
    CrImage image(2, 1, 24);
    image.SetPixelColor(0, 0, Rgb(200, 100, 0));
    image.SetPixelColor(1, 0, Rgb(200, 100, 0));
    image.AlphaCreate();
    image.AlphaSet(0, 0, 128);
    image.AlphaSet(1, 0, 0);
    Screen screen(0, 0, 2, 1, Rgb(0, 0, 200));
    screen.Paint(image, 0, 0, 2, 1);
    // a = 128 × 256 >> 8 = 128: (200 × 128 + 0 × 127) >> 8 = 100, (0 × 128 + 200 × 127) >> 8 = 99.
    EXPECT_EQ(screen.Get(0, 0), Rgb(100, 50, 99));
    EXPECT_EQ(screen.Get(1, 0), Rgb(0, 0, 200));

    // The alpha maximum scales the plane: 255 with a maximum of 127 blends half.
    image.AlphaSet(0, 0, 255);
    image.SetAlphaMax(127);
    Screen half(0, 0, 2, 1, Rgb(0, 0, 200));
    half.Paint(image, 0, 0, 2, 1);
    EXPECT_EQ(half.Get(0, 0), Rgb((200 * 127) >> 8, (100 * 127) >> 8, (200 * 128) >> 8));
}

TEST(DrawCompositing, PaletteAlpha)
{
    TestImage image;
    image.Create(3, 1, 8);
    image.SetPaletteColor(0, 255, 255, 255, 255);
    image.SetPaletteColor(1, 255, 255, 255, 0);
    image.SetPaletteColor(2, 255, 255, 255, 127);
    image.SetPixelIndex(0, 0, 0);
    image.SetPixelIndex(1, 0, 1);
    image.SetPixelIndex(2, 0, 2);
    image.Info().alphaPalette = true;
    ASSERT_TRUE(image.NeedsBlending());
    Screen screen(0, 0, 3, 1, Rgb(0, 0, 0));
    screen.Paint(image, 0, 0, 3, 1);
    EXPECT_EQ(screen.Get(0, 0), Rgb(255, 255, 255));
    EXPECT_EQ(screen.Get(1, 0), Rgb(0, 0, 0));
    EXPECT_EQ(screen.Get(2, 0), Rgb(126, 126, 126)); // a = 255 × 128 >> 8 = 127, 255 × 127 >> 8 = 126
}
