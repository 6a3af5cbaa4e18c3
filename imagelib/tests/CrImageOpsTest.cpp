#include "TestImage.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Every pixel of `turned` against the source pixel the turn should have put there.
void ExpectTurned(const CrImage& src, const CrImage& turned, bool left)
{
    ASSERT_EQ(src.GetHeight(), turned.GetWidth());
    ASSERT_EQ(src.GetWidth(), turned.GetHeight());
    for (int32_t y = 0; y < turned.GetHeight(); y++)
        for (int32_t x = 0; x < turned.GetWidth(); x++) {
            const int32_t ox = left ? y : src.GetWidth() - 1 - y;
            const int32_t oy = left ? src.GetHeight() - 1 - x : x;
            ASSERT_EQ(src.GetPixelColor(ox, oy), turned.GetPixelColor(x, y)) << x << "," << y;
        }
}

TestImage* NewFrame()
{
    return new TestImage(1, 1, 8);
}

} // namespace

TEST(CrImageDepth, RefusesLowerOrOddDepths)
{
    TestImage rgb(4, 4, 24);
    FillPattern(rgb);
    TestImage before(rgb);
    EXPECT_FALSE(rgb.IncreaseBpp(8));
    EXPECT_FALSE(rgb.IncreaseBpp(32));
    EXPECT_TRUE(rgb.IncreaseBpp(24));
    EXPECT_EQ(0, memcmp(before.GetDIB(), rgb.GetDIB(), rgb.GetSize()));
    TestImage four(4, 4, 4);
    EXPECT_FALSE(four.IncreaseBpp(5));
    TestImage empty;
    EXPECT_FALSE(empty.IncreaseBpp(24));
}

TEST(CrImageDepth, KeepsIndicesColoursAndInfo)
{
    for (uint32_t to : {4u, 8u, 24u}) {
        TestImage image(9, 5, 1, CRIMAGE_FORMAT_GIF);
        image.SetPaletteColor(0, 10, 20, 30);
        image.SetPaletteColor(1, 200, 100, 50);
        FillPattern(image);
        image.SetFrameDelay(25);
        TestImage before(image);
        ASSERT_TRUE(image.IncreaseBpp(to));
        EXPECT_EQ(to, image.GetBpp());
        EXPECT_EQ(25u, image.GetFrameDelay());
        EXPECT_EQ(CRIMAGE_FORMAT_GIF, image.GetType());
        for (int32_t y = 0; y < 5; y++)
            for (int32_t x = 0; x < 9; x++) {
                ASSERT_EQ(before.GetPixelColor(x, y), image.GetPixelColor(x, y)) << to;
                if (to < 24) {
                    ASSERT_EQ(before.GetPixelIndex(x, y), image.GetPixelIndex(x, y));
                }
            }
    }
}

TEST(CrImageDepth, ToTrueColourCarriesTransparencyAndAlpha)
{
    TestImage image(3, 3, 8);
    image.SetPaletteColor(4, 1, 2, 3);
    image.SetTransIndex(4);
    ASSERT_TRUE(image.AllocFrames(1));
    image.PutFrame(0, NewFrame());
    ASSERT_TRUE(image.IncreaseBpp(24));
    EXPECT_EQ(Rgb(1, 2, 3), image.GetTransColor());
    EXPECT_FALSE(image.AlphaIsValid());
    EXPECT_EQ(nullptr, image.GetFrame(0)); // the result never carries frames

    TestImage paletteAlpha(3, 3, 8);
    paletteAlpha.SetPaletteColor(1, 50, 60, 70, 128);
    paletteAlpha.SetPixelIndex(1, 1, 1);
    ASSERT_TRUE(paletteAlpha.IncreaseBpp(24));
    ASSERT_TRUE(paletteAlpha.AlphaIsValid());
    EXPECT_EQ(128, paletteAlpha.AlphaGet(1, 1));
    EXPECT_EQ(0, paletteAlpha.AlphaGet(0, 0));

    TestImage withAlpha(3, 3, 4);
    ASSERT_TRUE(withAlpha.AlphaCreate());
    withAlpha.AlphaSet(2, 2, 9);
    ASSERT_TRUE(withAlpha.SelectionCreate());
    withAlpha.SelectionSet(0, 2, 1);
    ASSERT_TRUE(withAlpha.IncreaseBpp(8));
    EXPECT_EQ(9, withAlpha.AlphaGet(2, 2));
    EXPECT_TRUE(withAlpha.SelectionIsInside(0, 2));
}

TEST(CrImageDepth, EscapeStopsEarlyButStillMovesTheResult)
{
    TestImage image(4, 4, 8);
    image.SetPaletteColor(1, 255, 255, 255);
    image.Clear(1);
    image.SetEscape(1);
    ASSERT_TRUE(image.IncreaseBpp(24));
    EXPECT_EQ(24u, image.GetBpp());
    EXPECT_EQ(Rgb(0, 0, 0), image.GetPixelColor(2, 2));
}

TEST(CrImageGray, FromEveryDepth)
{
    TestImage one(10, 2, 1);
    one.SetPaletteColor(0, 0, 0, 255);
    one.SetPaletteColor(1, 255, 255, 255);
    one.SetPixelIndex(3, 1, 1);
    ASSERT_TRUE(one.GrayScale());
    EXPECT_EQ(8u, one.GetBpp());
    EXPECT_TRUE(one.IsGrayScale());
    EXPECT_EQ(29, one.GetPixelIndex(0, 0)); // (255 × 117) >> 10
    EXPECT_EQ(255, one.GetPixelIndex(3, 1));

    TestImage four(3, 1, 4);
    four.SetPaletteColor(2, 100, 100, 100);
    four.SetPixelIndex(1, 0, 2);
    ASSERT_TRUE(four.GrayScale());
    EXPECT_EQ(8u, four.GetBpp());
    EXPECT_EQ(100, four.GetPixelIndex(1, 0));

    TestImage eight(3, 1, 8);
    eight.SetPaletteColor(7, 255, 0, 0);
    eight.SetPixelIndex(2, 0, 7);
    eight.SetTransIndex(7);
    ASSERT_TRUE(eight.GrayScale());
    EXPECT_EQ(76, eight.GetPixelIndex(2, 0)); // (255 × 306) >> 10
    EXPECT_EQ(76, eight.GetTransIndex());
    EXPECT_TRUE(eight.IsGrayScale());

    TestImage rgb(2, 1, 24);
    rgb.SetPixelColor(1, 0, Rgb(0, 255, 0));
    rgb.SetTransColor(Rgb(0, 0, 255));
    rgb.Info().transIndex = 0;
    ASSERT_TRUE(rgb.AlphaCreate());
    ASSERT_TRUE(rgb.GrayScale());
    EXPECT_EQ(8u, rgb.GetBpp());
    EXPECT_EQ(149, rgb.GetPixelIndex(1, 0)); // (255 × 601) >> 10
    EXPECT_EQ(29, rgb.GetTransIndex());
    EXPECT_TRUE(rgb.AlphaIsValid());
    TestImage empty;
    EXPECT_FALSE(empty.GrayScale());
}

TEST(CrImageFlips, FlipInPlaceKeepsFrames)
{
    TestImage image(5, 3, 24);
    FillPattern(image);
    ASSERT_TRUE(image.AlphaCreate());
    image.AlphaSet(0, 0, 1);
    ASSERT_TRUE(image.SelectionCreate());
    image.SelectionSet(0, 0, 1);
    ASSERT_TRUE(image.AllocFrames(1));
    image.PutFrame(0, NewFrame());
    ASSERT_TRUE(image.Flip(true, false));
    EXPECT_EQ(PatternColor(4, 2), image.GetPixelColor(4, 0, false));
    EXPECT_EQ(PatternColor(1, 0), image.GetPixelColor(1, 2, false));
    EXPECT_EQ(PatternColor(2, 1), image.GetPixelColor(2, 1, false));
    EXPECT_TRUE(image.SelectionIsInside(0, 2));
    EXPECT_EQ(1, image.AlphaGet(0, 0)); // alpha not asked for
    EXPECT_NE(nullptr, image.GetFrame(0));
    ASSERT_TRUE(image.Flip());
    EXPECT_EQ(1, image.AlphaGet(0, 2));
}

TEST(CrImageFlips, MirrorAtEveryDepth)
{
    for (uint32_t bpp : {1u, 4u, 8u, 24u}) {
        TestImage image(11, 3, bpp);
        FillPattern(image);
        ASSERT_TRUE(image.AlphaCreate());
        image.AlphaSet(0, 1, 5);
        TestImage before(image);
        ASSERT_TRUE(image.Mirror(false, true));
        for (int32_t y = 0; y < 3; y++)
            for (int32_t x = 0; x < 11; x++)
                ASSERT_EQ(before.GetPixelColor(10 - x, y, false), image.GetPixelColor(x, y, false)) << bpp;
        EXPECT_EQ(5, image.AlphaGet(10, 1));
        ASSERT_TRUE(image.Mirror(false, false));
        EXPECT_EQ(5, image.AlphaGet(10, 1));
    }
}

TEST(CrImageTurns, SmallPictureLeftAndRight)
{
    TestImage image(3, 2, 24);
    FillPattern(image);
    TestImage left;
    ASSERT_TRUE(image.RotateLeft(&left));
    EXPECT_EQ(2, left.GetWidth());
    EXPECT_EQ(3, left.GetHeight());
    EXPECT_EQ(PatternColor(0, 1), left.GetPixelColor(0, 0)); // old top-left to bottom-left
    EXPECT_EQ(3, image.GetWidth());                         // the source is unchanged
    ExpectTurned(image, left, true);
    TestImage right(image);
    ASSERT_TRUE(right.RotateRight());
    ExpectTurned(image, right, false);
    EXPECT_EQ(PatternColor(0, 1), right.GetPixelColor(1, 2)); // old top-left to top-right
}

TEST(CrImageTurns, EveryDepthAcrossBlocks)
{
    for (uint32_t bpp : {1u, 4u, 8u, 24u})
        for (bool left : {true, false}) {
            SCOPED_TRACE(testing::Message() << bpp << (left ? " left" : " right"));
            TestImage image(70, 67, bpp);
            FillPattern(image);
            TestImage turned;
            ASSERT_TRUE(left ? image.RotateLeft(&turned) : image.RotateRight(&turned));
            ExpectTurned(image, turned, left);
        }
}

TEST(CrImageTurns, OneBitRowPaddingStaysOut)
{
    // Set bytes everywhere, padding included; then clear a few real pixels.
    for (int32_t width : {3, 9, 13}) {
        TestImage image(width, 5, 1);
        image.Clear(1);
        image.SetPixelIndex(0, 0, 0);
        image.SetPixelIndex(width - 1, 4, 0);
        for (bool left : {true, false}) {
            TestImage turned;
            ASSERT_TRUE(left ? image.RotateLeft(&turned) : image.RotateRight(&turned));
            ExpectTurned(image, turned, left);
            // Only real pixels were moved: the turned rows' padding stays clear.
            for (int32_t y = 0; y < turned.GetHeight(); y++) {
                const uint8_t last = turned.GetBits(static_cast<uint32_t>(y))[0];
                EXPECT_EQ(0, last & (0xFF >> 5)) << width; // 5 real pixels in the first byte
            }
        }
    }
}

TEST(CrImageTurns, PlanesAndSelectionBoxTurnToo)
{
    TestImage image(4, 2, 8);
    ASSERT_TRUE(image.AlphaCreate());
    image.AlphaSet(3, 1, 77);
    ASSERT_TRUE(image.SelectionCreate());
    image.SelectionSet(3, 1, 1);
    image.SetSelectionBox(CrRectL{3, 2, 4, 1});
    TestImage left;
    ASSERT_TRUE(image.RotateLeft(&left));
    EXPECT_EQ(77, left.AlphaGet(0, 3));
    EXPECT_TRUE(left.SelectionIsInside(0, 3));
    const CrRectL box = left.GetSelectionBox();
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(1, box.right);
    EXPECT_EQ(3, box.bottom);
    EXPECT_EQ(4, box.top);
    TestImage right;
    ASSERT_TRUE(image.RotateRight(&right));
    EXPECT_EQ(77, right.AlphaGet(1, 0));
    EXPECT_TRUE(right.SelectionIsInside(1, 0));
    EXPECT_EQ(0, right.GetSelectionBox().bottom);
    EXPECT_EQ(1, right.GetSelectionBox().top);
}

TEST(CrImageNegative, ByKindOfImage)
{
    TestImage rgb(2, 2, 24);
    rgb.SetPixelColor(1, 1, Rgb(10, 20, 30));
    rgb.SetTransColor(Rgb(1, 2, 3));
    ASSERT_TRUE(rgb.Negative());
    EXPECT_EQ(Rgb(245, 235, 225), rgb.GetPixelColor(1, 1));
    EXPECT_EQ(Rgb(255, 255, 255), rgb.GetPixelColor(0, 0));
    EXPECT_EQ(Rgb(254, 253, 252), rgb.GetTransColor());

    TestImage selected(3, 3, 24);
    ASSERT_TRUE(selected.SelectionCreate());
    selected.SelectionSet(1, 1, 1);
    selected.SelectionSet(2, 2, 1); // outside the box
    selected.SetSelectionBox(CrRectL{0, 1, 1, 0});
    ASSERT_TRUE(selected.Negative());
    EXPECT_EQ(Rgb(255, 255, 255), selected.GetPixelColor(1, 1));
    EXPECT_EQ(Rgb(0, 0, 0), selected.GetPixelColor(2, 2));
    EXPECT_EQ(Rgb(0, 0, 0), selected.GetPixelColor(0, 0));

    TestImage colour(2, 2, 8);
    colour.SetPaletteColor(3, 10, 20, 30);
    colour.SetPixelIndex(0, 0, 3);
    ASSERT_TRUE(colour.Negative());
    EXPECT_EQ(3, colour.GetPixelIndex(0, 0));
    EXPECT_EQ(Rgb(245, 235, 225), colour.GetPaletteColor(3));

    TestImage gray(2, 2, 8);
    gray.SetGrayPalette();
    gray.SetPixelIndex(0, 0, 200);
    ASSERT_TRUE(gray.Negative());
    EXPECT_EQ(55, gray.GetPixelIndex(0, 0));
    EXPECT_EQ(255, gray.GetPixelIndex(1, 1));
    EXPECT_TRUE(gray.IsGrayScale());

    TestImage grayFour(3, 1, 4);
    for (uint32_t i = 0; i < 16; i++)
        grayFour.SetPaletteColor(i, static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i));
    grayFour.SetPixelIndex(0, 0, 3);
    ASSERT_TRUE(grayFour.SelectionCreate());
    grayFour.SelectionSet(0, 0, 1);
    grayFour.SetSelectionBox(CrRectL{0, 0, 2, 0});
    ASSERT_TRUE(grayFour.Negative());
    EXPECT_EQ(12, grayFour.GetPixelIndex(0, 0));
    EXPECT_EQ(0, grayFour.GetPixelIndex(1, 0));
}
