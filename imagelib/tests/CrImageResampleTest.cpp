#include "TestImage.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

CrRgbQuad Gray(uint8_t v)
{
    return Rgb(v, v, v);
}

} // namespace

TEST(CrImageResample, SizeRules)
{
    TestImage image(4, 4, 24);
    FillPattern(image);
    TestImage before(image);
    EXPECT_FALSE(image.Resample(0, 4));
    EXPECT_FALSE(image.Resample(4, -1));
    ASSERT_TRUE(image.Resample(4, 4));
    EXPECT_EQ(0, memcmp(before.GetDIB(), image.GetDIB(), image.GetSize()));
    TestImage dest;
    ASSERT_TRUE(image.Resample(4, 4, CRIMAGE_RESAMPLE_AUTO, &dest));
    EXPECT_EQ(0, memcmp(before.GetDIB(), dest.GetDIB(), image.GetSize()));
    TestImage empty;
    EXPECT_FALSE(empty.Resample(2, 2));
}

TEST(CrImageResample, NearestNeighbourTakesPixelsAndAlpha)
{
    TestImage image(4, 2, 8, CRIMAGE_FORMAT_PNG);
    image.SetGrayPalette();
    FillPattern(image);
    image.SetFrameDelay(9);
    ASSERT_TRUE(image.AlphaCreate());
    image.AlphaSet(2, 1, 50);
    TestImage small;
    ASSERT_TRUE(image.Resample(2, 1, CRIMAGE_RESAMPLE_NEAREST, &small));
    EXPECT_EQ(8u, small.GetBpp());
    EXPECT_EQ(CRIMAGE_FORMAT_PNG, small.GetType());
    EXPECT_EQ(9u, small.GetFrameDelay());
    EXPECT_EQ(image.GetPixelIndex(0, 0), small.GetPixelIndex(0, 0));
    EXPECT_EQ(image.GetPixelIndex(2, 0), small.GetPixelIndex(1, 0));
    EXPECT_EQ(255, small.AlphaGet(1, 0));
    TestImage big;
    ASSERT_TRUE(image.Resample(8, 4, CRIMAGE_RESAMPLE_NEAREST, &big));
    EXPECT_EQ(image.GetPixelIndex(2, 1), big.GetPixelIndex(5, 3));
    EXPECT_EQ(50, big.AlphaGet(5, 3));
}

TEST(CrImageResample, AreaAveragingWeighsOverlaps)
{
    // 3 × 3 to 2 × 2: each target pixel covers 1.5 × 1.5 source pixels.
    TestImage image(3, 3, 24);
    image.SetPixelColor(0, 0, Gray(90));
    image.SetPixelColor(1, 0, Gray(180));
    image.SetPixelColor(0, 1, Gray(36));
    image.SetPixelColor(1, 1, Gray(252));
    ASSERT_TRUE(image.Resample(2, 2));
    EXPECT_EQ(2, image.GetWidth());
    // (90 + 180/2 + 36/2 + 252/4) / 2.25
    EXPECT_NEAR(116, image.GetPixelColor(0, 0).rgbRed, 1);
    // The last row and column come out too: (180/2 + 252/4) / 2.25
    EXPECT_NEAR(68, image.GetPixelColor(1, 0).rgbGreen, 1);
    EXPECT_NEAR(28, image.GetPixelColor(1, 1).rgbBlue, 1);

    TestImage blocks(4, 4, 24);
    for (int32_t y = 0; y < 4; y++)
        for (int32_t x = 0; x < 4; x++)
            blocks.SetPixelColor(x, y, Rgb(static_cast<uint8_t>(x < 2 ? 10 : 200), static_cast<uint8_t>(y < 2 ? 20 : 100), 0));
    ASSERT_TRUE(blocks.Resample(2, 2));
    EXPECT_EQ(Rgb(10, 20, 0), blocks.GetPixelColor(0, 0));
    EXPECT_EQ(Rgb(200, 100, 0), blocks.GetPixelColor(1, 1));
}

TEST(CrImageResample, AreaAveragingCannotOverflowOnLargeReductions)
{
    TestImage image(4000, 3000, 24);
    image.Clear(255);
    ASSERT_TRUE(image.Resample(1, 1));
    EXPECT_EQ(Rgb(255, 255, 255), image.GetPixelColor(0, 0));
    TestImage strip(4000, 3000, 24);
    strip.Clear(200);
    ASSERT_TRUE(strip.Resample(3, 2));
    EXPECT_EQ(Gray(200), strip.GetPixelColor(2, 1));
}

TEST(CrImageResample, FlatPicturesStayFlatInEveryMode)
{
    for (int32_t mode : {CRIMAGE_RESAMPLE_AUTO, CRIMAGE_RESAMPLE_NEAREST, CRIMAGE_RESAMPLE_BICUBIC})
        for (int32_t size : {5, 40}) {
            TestImage image(17, 13, 24);
            FillColor(image, Rgb(255, 128, 3));
            ASSERT_TRUE(image.Resample(size, size / 2 + 1, mode));
            for (int32_t y = 0; y < image.GetHeight(); y++)
                for (int32_t x = 0; x < image.GetWidth(); x++)
                    ASSERT_EQ(Rgb(255, 128, 3), image.GetPixelColor(x, y)) << mode << " " << size;
        }
}

TEST(CrImageResample, BilinearWhenGrowing)
{
    TestImage image(2, 1, 24);
    image.SetPixelColor(0, 0, Gray(0));
    image.SetPixelColor(1, 0, Gray(200));
    ASSERT_TRUE(image.Resample(4, 2));
    EXPECT_EQ(Gray(0), image.GetPixelColor(0, 0));
    EXPECT_EQ(Gray(100), image.GetPixelColor(1, 1));
    EXPECT_EQ(Gray(200), image.GetPixelColor(2, 0));
    EXPECT_EQ(Gray(200), image.GetPixelColor(3, 0));
}

TEST(CrImageResample, IndexedPicturesUseTheirPalette)
{
    TestImage image(4, 4, 4);
    image.SetPaletteColor(0, 0, 0, 0);
    image.SetPaletteColor(1, 100, 100, 100);
    image.SetPaletteColor(2, 250, 250, 250);
    for (int32_t y = 0; y < 4; y++)
        for (int32_t x = 0; x < 4; x++)
            image.SetPixelIndex(x, y, x < 2 ? 0 : 2);
    TestImage grown;
    ASSERT_TRUE(image.Resample(8, 4, CRIMAGE_RESAMPLE_AUTO, &grown));
    EXPECT_EQ(4u, grown.GetBpp());
    EXPECT_EQ(1, grown.GetPixelIndex(3, 0)); // halfway between black and white: the grey entry
    EXPECT_EQ(2, grown.GetPixelIndex(7, 3));
    TestImage smooth;
    ASSERT_TRUE(image.Resample(2, 2, CRIMAGE_RESAMPLE_BICUBIC, &smooth));
    EXPECT_EQ(4u, smooth.GetBpp());
}

TEST(CrImageResample, AlphaFollowsInSmoothModes)
{
    TestImage image(8, 8, 24);
    ASSERT_TRUE(image.AlphaCreate());
    image.AlphaSet(100);
    for (int32_t mode : {CRIMAGE_RESAMPLE_AUTO, CRIMAGE_RESAMPLE_BICUBIC}) {
        TestImage small;
        ASSERT_TRUE(image.Resample(3, 5, mode, &small));
        ASSERT_TRUE(small.AlphaIsValid());
        EXPECT_NEAR(100, small.AlphaGet(1, 2), 1) << mode;
    }
}

TEST(CrImageResample, EscapeStopsEarly)
{
    TestImage image(40, 40, 24);
    image.Clear(200);
    image.SetEscape(1);
    ASSERT_TRUE(image.Resample(10, 10));
    EXPECT_EQ(10, image.GetWidth());
    EXPECT_EQ(Gray(0), image.GetPixelColor(5, 5));
}

TEST(CrImageExpand, MarginsAtEveryDepth)
{
    const CrRgbQuad canvas = Rgb(250, 0, 0, 60);
    for (uint32_t bpp : {1u, 4u, 8u, 24u}) {
        SCOPED_TRACE(bpp);
        TestImage image(5, 3, bpp);
        image.SetPaletteColor(1, 255, 0, 0);
        FillPattern(image);
        TestImage before(image);
        TestImage big;
        ASSERT_TRUE(image.Expand(2, 1, 3, 4, canvas, &big));
        ASSERT_EQ(10, big.GetWidth());
        ASSERT_EQ(8, big.GetHeight());
        for (int32_t y = 0; y < 8; y++)
            for (int32_t x = 0; x < 10; x++) {
                const bool inside = x >= 2 && x < 7 && y >= 4 && y < 7;
                const CrRgbQuad expected = inside ? before.GetPixelColor(x - 2, y - 4) : big.GetPaletteColor(1);
                ASSERT_EQ(bpp == 24 && !inside ? Rgb(250, 0, 0) : expected, big.GetPixelColor(x, y)) << x << "," << y;
            }
    }
}

TEST(CrImageExpand, PlanesAndBoxMoveWithThePicture)
{
    TestImage image(2, 2, 24);
    ASSERT_TRUE(image.AlphaCreate());
    image.AlphaSet(1, 1, 7);
    ASSERT_TRUE(image.SelectionCreate());
    image.SelectionSet(1, 1, 1);
    image.SetSelectionBox(CrRectL{1, 2, 2, 1});
    ASSERT_TRUE(image.Expand(3, 0, 0, 2, Rgb(0, 0, 0, 40)));
    EXPECT_EQ(5, image.GetWidth());
    EXPECT_EQ(4, image.GetHeight());
    EXPECT_EQ(7, image.AlphaGet(4, 3));
    EXPECT_EQ(40, image.AlphaGet(0, 0));
    EXPECT_TRUE(image.SelectionIsInside(4, 3));
    EXPECT_FALSE(image.SelectionIsInside(1, 1));
    EXPECT_EQ(4, image.GetSelectionBox().left);
    EXPECT_EQ(3, image.GetSelectionBox().bottom);
    EXPECT_FALSE(image.Expand(-1, 0, 0, 0, Rgb(0, 0, 0)));
}

TEST(CrImageExpand, CentredForm)
{
    TestImage image(3, 2, 24);
    image.Clear(9);
    EXPECT_FALSE(image.Expand(2, 5, Rgb(1, 1, 1)));
    ASSERT_TRUE(image.Expand(8, 5, Rgb(1, 1, 1)));
    EXPECT_EQ(8, image.GetWidth());
    // left (8 - 3) / 2 = 2, top (5 - 2) / 2 = 1 row at the top, 2 at the bottom
    EXPECT_EQ(Rgb(9, 9, 9), image.GetPixelColor(2, 2));
    EXPECT_EQ(Rgb(9, 9, 9), image.GetPixelColor(4, 3));
    EXPECT_EQ(Rgb(1, 1, 1), image.GetPixelColor(4, 4));
    EXPECT_EQ(Rgb(1, 1, 1), image.GetPixelColor(4, 1));
    EXPECT_EQ(Rgb(1, 1, 1), image.GetPixelColor(5, 2));
}

TEST(CrImageThumbnail, FitsAndCentres)
{
    TestImage image(400, 100, 24);
    image.Clear(200);
    TestImage thumb;
    ASSERT_TRUE(image.Thumbnail(100, 100, Rgb(0, 0, 255), &thumb));
    ASSERT_EQ(100, thumb.GetWidth());
    ASSERT_EQ(100, thumb.GetHeight());
    EXPECT_EQ(400, image.GetWidth()); // the source stays as it was
    // 100 × 25 picture, 37 canvas rows above it and 38 below.
    for (int32_t y = 0; y < 100; y++) {
        const bool picture = y >= 38 && y < 63;
        ASSERT_EQ(picture ? Gray(200) : Rgb(0, 0, 255), thumb.GetPixelColor(50, y)) << y;
    }
}

TEST(CrImageThumbnail, ExactFitNoEnlargingAndNoZeroSide)
{
    struct Case { int32_t w, h, boxW, boxH, expectW, expectH; };
    const Case cases[] = {
        {44, 22, 26, 13, 26, 13},  // same shape as the box: filled exactly
        {37, 37, 3, 3, 3, 3},
        {20, 10, 100, 100, 100, 100}, // smaller: centred, not enlarged
        {1000, 1, 10, 10, 10, 10},
        {1, 1000, 10, 10, 10, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " in " << c.boxW << "x" << c.boxH);
        TestImage image(c.w, c.h, 24);
        image.Clear(200);
        ASSERT_TRUE(image.Thumbnail(c.boxW, c.boxH, Rgb(0, 0, 0)));
        EXPECT_EQ(c.expectW, image.GetWidth());
        EXPECT_EQ(c.expectH, image.GetHeight());
    }
    TestImage same(44, 22, 24);
    same.Clear(200);
    ASSERT_TRUE(same.Thumbnail(26, 13, Rgb(0, 0, 0)));
    EXPECT_EQ(Gray(200), same.GetPixelColor(0, 0));
    EXPECT_EQ(Gray(200), same.GetPixelColor(25, 12));
    TestImage small(20, 10, 24);
    small.Clear(200);
    ASSERT_TRUE(small.Thumbnail(100, 100, Rgb(0, 0, 0)));
    EXPECT_EQ(Gray(200), small.GetPixelColor(40, 45));
    EXPECT_EQ(Gray(0), small.GetPixelColor(39, 45));
    TestImage line(1000, 1, 24);
    line.Clear(200);
    ASSERT_TRUE(line.Thumbnail(10, 10, Rgb(0, 0, 0)));
    EXPECT_EQ(Gray(200), line.GetPixelColor(5, 5)); // a one-pixel row, (10 - 1) / 2 = 4 rows above it
    EXPECT_FALSE(line.Thumbnail(0, 10, Rgb(0, 0, 0)));
}
