#include "TestImage.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(CrImagePalette, EntriesAndRanges)
{
    TestImage image(2, 2, 4);
    EXPECT_EQ(64u, image.GetPaletteSize());
    image.SetPaletteColor(3, 10, 20, 30, 40);
    EXPECT_EQ(Rgb(10, 20, 30, 40), image.GetPaletteColor(3));
    EXPECT_EQ(Rgb(10, 20, 30, 40), image.GetPaletteColor(256 + 3)); // taken modulo 256
    EXPECT_EQ(Rgb(0, 0, 0), image.GetPaletteColor(16));
    image.SetPaletteColor(16, Rgb(1, 1, 1)); // out of range: ignored
    image.SetPaletteColor(256 + 5, Rgb(7, 8, 9));
    EXPECT_EQ(Rgb(7, 8, 9), image.GetPaletteColor(5));

    uint8_t r = 0, g = 0, b = 0;
    EXPECT_TRUE(image.GetPaletteColor(3, &r, &g, &b));
    EXPECT_EQ(10, r);
    EXPECT_EQ(20, g);
    EXPECT_EQ(30, b);
    EXPECT_FALSE(image.GetPaletteColor(16, &r, &g, &b));

    TestImage rgb(2, 2, 24);
    EXPECT_EQ(nullptr, rgb.GetPalette());
    EXPECT_EQ(0u, rgb.GetPaletteSize());
    EXPECT_FALSE(rgb.GetPaletteColor(0, &r, &g, &b));
    EXPECT_EQ(Rgb(0, 0, 0), rgb.GetPaletteColor(0));
}

TEST(CrImagePalette, SetPaletteForms)
{
    TestImage image(2, 2, 1);
    const CrRgbQuad quads[3] = {Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(7, 8, 9)};
    image.SetPalette(quads, 3); // only two entries fit
    EXPECT_EQ(Rgb(4, 5, 6), image.GetPaletteColor(1));

    TestImage image4(2, 2, 4);
    const uint8_t red[20] = {10, 11, 12};
    const uint8_t green[20] = {20, 21, 22};
    image4.SetPalette(20, red, green);
    EXPECT_EQ(Rgb(11, 21, 21), image4.GetPaletteColor(1)); // blue takes the green array
    image4.SetPalette(2, red);
    EXPECT_EQ(Rgb(10, 10, 10), image4.GetPaletteColor(0));
    EXPECT_EQ(Rgb(12, 22, 22), image4.GetPaletteColor(2)); // beyond n: unchanged

    const CrRgbColor triples[2] = {{200, 100, 50}, {1, 2, 3}};
    image4.SetPalette(triples, 2);
    EXPECT_EQ(Rgb(200, 100, 50), image4.GetPaletteColor(0));
    EXPECT_EQ(Rgb(1, 2, 3), image4.GetPaletteColor(1));
}

TEST(CrImagePalette, GrayRampAndGrayTest)
{
    struct Case { uint32_t bpp, index; uint8_t level; };
    const Case cases[] = {{1, 1, 255}, {4, 1, 17}, {4, 15, 255}, {8, 200, 200}};
    for (const Case& c : cases) {
        TestImage image(2, 2, c.bpp);
        image.SetGrayPalette();
        EXPECT_EQ(Rgb(c.level, c.level, c.level), image.GetPaletteColor(c.index));
    }
    TestImage gray(2, 2, 8);
    gray.SetGrayPalette();
    EXPECT_TRUE(gray.IsGrayScale());
    gray.SetPaletteColor(9, 9, 9, 10);
    EXPECT_FALSE(gray.IsGrayScale());
    TestImage rgb(2, 2, 24);
    EXPECT_FALSE(rgb.IsGrayScale());
    TestImage empty;
    EXPECT_FALSE(empty.IsGrayScale());
}

TEST(CrImagePalette, SwapIndexRewritesPixels)
{
    TestImage image(5, 2, 4);
    image.SetPaletteColor(1, 1, 1, 1);
    image.SetPaletteColor(6, 6, 6, 6);
    image.SetPixelIndex(0, 0, 1);
    image.SetPixelIndex(3, 1, 6);
    image.SetPixelIndex(4, 1, 2);
    image.SwapIndex(1, 6);
    EXPECT_EQ(Rgb(6, 6, 6), image.GetPaletteColor(1));
    EXPECT_EQ(Rgb(1, 1, 1), image.GetPaletteColor(6));
    EXPECT_EQ(6, image.GetPixelIndex(0, 0));
    EXPECT_EQ(1, image.GetPixelIndex(3, 1));
    EXPECT_EQ(2, image.GetPixelIndex(4, 1));
    EXPECT_EQ(Rgb(1, 1, 1), image.GetPixelColor(0, 0));
    image.SwapIndex(1, 40); // out of range: nothing
    EXPECT_EQ(6, image.GetPixelIndex(0, 0));
}

TEST(CrImagePalette, ImportantColoursByDepth)
{
    struct Case { uint32_t bpp, n, stored; };
    const Case cases[] = {{1, 5, 2}, {1, 1, 1}, {4, 20, 16}, {4, 3, 3}, {8, 200, 200},
                          {8, 300, 0}, {8, 0, 0}, {24, 10, 7}, {24, 300, 0}};
    for (const Case& c : cases) {
        TestImage image(2, 2, c.bpp);
        image.Head().biClrImportant = 7;
        image.SetClrImportant(c.n);
        EXPECT_EQ(c.stored, image.GetClrImportant()) << c.bpp << " bpp, n " << c.n;
    }
}

TEST(CrImagePixels, IndexBitPositions)
{
    TestImage one(10, 2, 1);
    one.SetPixelIndex(0, 1, 1);
    one.SetPixelIndex(9, 1, 1);
    EXPECT_EQ(0x80, one.GetBits(1)[0]);
    EXPECT_EQ(0x40, one.GetBits(1)[1]);
    one.SetPixelIndex(0, 1, 0);
    EXPECT_EQ(0x00, one.GetBits(1)[0]);

    TestImage four(3, 1, 4);
    four.SetPixelIndex(0, 0, 0xA);
    four.SetPixelIndex(1, 0, 0x5);
    four.SetPixelIndex(2, 0, 0xF);
    EXPECT_EQ(0xA5, four.GetBits()[0]);
    EXPECT_EQ(0xF0, four.GetBits()[1]);
    EXPECT_EQ(0x5, four.GetPixelIndex(1, 0));

    for (uint32_t bpp : {1u, 4u, 8u}) {
        TestImage image(13, 5, bpp);
        FillPattern(image);
        for (int32_t y = 0; y < 5; y++)
            for (int32_t x = 0; x < 13; x++)
                ASSERT_EQ((x + 3 * y) % static_cast<int32_t>(image.GetNumColors()), image.GetPixelIndex(x, y)) << bpp;
    }
}

TEST(CrImagePixels, IndexOutsideTheImage)
{
    TestImage image(4, 4, 4);
    image.SetPixelIndex(0, 0, 9);
    image.SetPixelIndex(1, 0, 2);
    EXPECT_EQ(9, image.GetPixelIndex(-1, 0)); // the index of pixel (0, 0)
    EXPECT_EQ(9, image.GetPixelIndex(4, 4));
    image.SetTransIndex(3);
    EXPECT_EQ(3, image.GetPixelIndex(0, 10));
    image.SetPixelIndex(10, 0, 1); // ignored
    EXPECT_EQ(2, image.GetPixelIndex(1, 0));

    TestImage rgb(2, 2, 24);
    rgb.SetPixelIndex(0, 0, 5);
    EXPECT_EQ(0, rgb.GetPixelIndex(0, 0));
    EXPECT_EQ(nullptr, image.GetPixelPointer(0, 0));
    EXPECT_EQ(rgb.GetBits(), rgb.GetPixelPointer(0, 0));
    EXPECT_EQ(rgb.GetBits(1) + 3, rgb.GetPixelPointer(1, 1));
    EXPECT_EQ(nullptr, rgb.GetPixelPointer(2, 0));
}

TEST(CrImagePixels, ColourReadsInsideAndOutside)
{
    TestImage rgb(3, 2, 24);
    rgb.SetPixelColor(2, 1, Rgb(10, 20, 30, 77));
    const uint8_t* p = rgb.GetPixelPointer(2, 1);
    EXPECT_EQ(30, p[0]);
    EXPECT_EQ(20, p[1]);
    EXPECT_EQ(10, p[2]);
    EXPECT_EQ(Rgb(10, 20, 30, 0), rgb.GetPixelColor(2, 1));
    ASSERT_TRUE(rgb.AlphaCreate());
    rgb.SetPixelColor(2, 1, Rgb(10, 20, 30, 77), true);
    EXPECT_EQ(Rgb(10, 20, 30, 77), rgb.GetPixelColor(2, 1));
    EXPECT_EQ(Rgb(10, 20, 30, 0), rgb.GetPixelColor(2, 1, false));

    rgb.SetPixelColor(0, 0, Rgb(1, 2, 3));
    EXPECT_EQ(Rgb(1, 2, 3, 255), rgb.GetPixelColor(-1, 5)); // pixel (0, 0)
    rgb.SetTransColor(Rgb(9, 9, 9));
    rgb.Info().transIndex = 0;
    EXPECT_EQ(Rgb(9, 9, 9), rgb.GetPixelColor(3, 0));

    TestImage indexed(2, 2, 8);
    indexed.SetPaletteColor(7, 70, 71, 72, 5);
    indexed.SetPaletteColor(8, 80, 81, 82);
    indexed.SetPixelIndex(1, 1, 7);
    EXPECT_EQ(Rgb(70, 71, 72, 5), indexed.GetPixelColor(1, 1));
    indexed.SetTransIndex(8);
    EXPECT_EQ(Rgb(80, 81, 82), indexed.GetPixelColor(5, 5));

    TestImage empty;
    EXPECT_EQ(Rgb(0, 0, 0), empty.GetPixelColor(0, 0));
}

TEST(CrImagePixels, ColourWritesOnIndexedImagesPickTheNearestEntry)
{
    TestImage image(2, 1, 8);
    image.SetPaletteColor(0, 0, 0, 0);
    image.SetPaletteColor(1, 250, 0, 0);
    image.SetPaletteColor(2, 0, 0, 250);
    image.SetPixelColor(0, 0, Rgb(200, 30, 10));
    EXPECT_EQ(1, image.GetPixelIndex(0, 0));
    image.SetPixelColor(1, 0, 0xF00000u); // red-low order: blue
    EXPECT_EQ(2, image.GetPixelIndex(1, 0));
    EXPECT_EQ(Rgb(0, 0, 0xF0), CrImage::RGBtoRGBQUAD(0xF00000u));
    EXPECT_EQ(Rgb(0x11, 0x22, 0x33), CrImage::RGBtoRGBQUAD(0xFF332211u));
}

TEST(CrImagePixels, NearestIndexRules)
{
    TestImage image(1, 1, 8);
    for (uint32_t i = 0; i < 256; i++)
        image.SetPaletteColor(i, 255, 255, 255);
    image.SetPaletteColor(4, 10, 10, 10);
    image.SetPaletteColor(9, 10, 10, 10);
    EXPECT_EQ(4, image.GetNearestIndex(Rgb(11, 10, 10)));
    // A palette change clears the cache.
    image.SetPaletteColor(2, 11, 10, 10);
    EXPECT_EQ(2, image.GetNearestIndex(Rgb(11, 10, 10)));
    // Only the important colours are searched, never past the palette.
    image.SetClrImportant(2);
    EXPECT_EQ(0, image.GetNearestIndex(Rgb(12, 10, 10)));
    image.Head().biClrImportant = 5000;
    EXPECT_EQ(2, image.GetNearestIndex(Rgb(13, 10, 10)));
    // Farther than every entry's start distance: index 0.
    TestImage dark(1, 1, 1);
    dark.SetPaletteColor(0, 0, 0, 0);
    dark.SetPaletteColor(1, 0, 0, 0);
    EXPECT_EQ(0, dark.GetNearestIndex(Rgb(255, 255, 255)));
    TestImage rgb(1, 1, 24);
    EXPECT_EQ(0, rgb.GetNearestIndex(Rgb(1, 2, 3)));
}

TEST(CrImagePixels, RgbToBgrStaysInsideTheRow)
{
    TestImage image(2, 1, 24);
    uint8_t buffer[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    image.RGBtoBGR(buffer, 9);
    const uint8_t expected[9] = {3, 2, 1, 6, 5, 4, 7, 8, 9};
    EXPECT_EQ(0, memcmp(expected, buffer, 9));
    image.RGBtoBGR(buffer, 4);
    const uint8_t again[9] = {1, 2, 3, 6, 5, 4, 7, 8, 9};
    EXPECT_EQ(0, memcmp(again, buffer, 9));
    TestImage indexed(2, 1, 8);
    indexed.RGBtoBGR(buffer, 9);
    EXPECT_EQ(0, memcmp(again, buffer, 9));
}

TEST(CrImagePixels, BitFieldsToRgb)
{
    TestImage image(3, 2, 24);
    // 5-6-5, rows padded to 4 bytes: pure red, pure green, pure blue; then white, black, 1-1-1.
    const uint8_t src16[16] = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0,
                               0xFF, 0xFF, 0x00, 0x00, 0x21, 0x08, 0, 0};
    ASSERT_TRUE(image.BitFieldsToRGB(src16, 0xF800, 0x07E0, 0x001F, 16));
    EXPECT_EQ(Rgb(255, 0, 0), image.GetPixelColor(0, 0));
    EXPECT_EQ(Rgb(0, 255, 0), image.GetPixelColor(1, 0));
    EXPECT_EQ(Rgb(0, 0, 255), image.GetPixelColor(2, 0));
    EXPECT_EQ(Rgb(255, 255, 255), image.GetPixelColor(0, 1));
    EXPECT_EQ(Rgb(0, 0, 0), image.GetPixelColor(1, 1));
    EXPECT_EQ(Rgb(8, 4, 8), image.GetPixelColor(2, 1));

    const uint8_t src32[24] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12,
                               13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
    ASSERT_TRUE(image.BitFieldsToRGB(src32, 0xFF0000, 0xFF00, 0xFF, 32));
    EXPECT_EQ(Rgb(3, 2, 1), image.GetPixelColor(0, 0));
    EXPECT_EQ(Rgb(23, 22, 21), image.GetPixelColor(2, 1));
    ASSERT_TRUE(image.BitFieldsToRGB(src32, 0xFF000000u, 0xFF0000, 0xFF00, 32));
    EXPECT_EQ(Rgb(4, 3, 2), image.GetPixelColor(0, 0));

    TestImage indexed(3, 2, 8);
    EXPECT_FALSE(indexed.BitFieldsToRGB(src32, 0xFF0000, 0xFF00, 0xFF, 32));
    EXPECT_FALSE(image.BitFieldsToRGB(src32, 0xFF0000, 0xFF00, 0xFF, 24));
}

// Fields of every width spread over the 8 bits of a channel: 0 stays 0, a full field gives 255.
TEST(CrImagePixels, BitFieldsScaleEveryWidthToFullRange)
{
    struct Case {
        uint32_t bpp, red, green, blue, pixel;
        CrRgbQuad expected;
    };
    const Case cases[] = {
        {16, 0xF800, 0x07E0, 0x001F, 0xFFFF, Rgb(255, 255, 255)},
        {16, 0xF800, 0x07E0, 0x001F, (16u << 11) | (32u << 5) | 1u, Rgb(132, 130, 8)},
        {16, 0x7C00, 0x03E0, 0x001F, 0x7FFF, Rgb(255, 255, 255)},
        {16, 0x7C00, 0x03E0, 0x001F, (1u << 10) | (30u << 5) | 15u, Rgb(8, 247, 123)},
        {16, 0x0F00, 0x00F0, 0x000F, 0x0F80, Rgb(255, 136, 0)},
        {16, 0x8000, 0x4000, 0x2000, 0xA000, Rgb(255, 0, 255)},
        {32, 0x3FF00000, 0x000FFC00, 0x000003FF, 0x3FFFFFFF, Rgb(255, 255, 255)},
        {32, 0x3FF00000, 0x000FFC00, 0x000003FF, (512u << 20) | (3u << 10) | 1023u, Rgb(128, 0, 255)},
        {32, 0x00F80000, 0x0000FC00, 0x000000F8, 0x00F8FCF8, Rgb(255, 255, 255)},
    };
    for (const Case& c : cases) {
        TestImage image(1, 1, 24);
        uint8_t src[4] = {uint8_t(c.pixel), uint8_t(c.pixel >> 8), uint8_t(c.pixel >> 16), uint8_t(c.pixel >> 24)};
        ASSERT_TRUE(image.BitFieldsToRGB(src, c.red, c.green, c.blue, c.bpp));
        EXPECT_EQ(c.expected, image.GetPixelColor(0, 0)) << std::hex << c.bpp << " bits, masks " << c.red << " "
                                                         << c.green << " " << c.blue << ", pixel " << c.pixel;
    }
}
