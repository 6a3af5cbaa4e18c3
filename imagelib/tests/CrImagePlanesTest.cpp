#include "TestImage.h"

#include <gtest/gtest.h>

TEST(CrImageAlpha, CreateKeepsAnExistingPlane)
{
    TestImage image(3, 2, 24);
    EXPECT_FALSE(image.AlphaIsValid());
    ASSERT_TRUE(image.AlphaCreate());
    EXPECT_EQ(255, image.AlphaGet(2, 1));
    image.AlphaSet(1, 1, 7);
    uint8_t* plane = image.AlphaGetPointer();
    EXPECT_TRUE(image.AlphaCreate());
    EXPECT_EQ(plane, image.AlphaGetPointer());
    EXPECT_EQ(7, image.AlphaGet(1, 1));
    image.AlphaDelete();
    EXPECT_FALSE(image.AlphaIsValid());
    TestImage empty;
    EXPECT_FALSE(empty.AlphaCreate());
}

TEST(CrImageAlpha, ValuesPointersAndBounds)
{
    TestImage image(4, 3, 8);
    EXPECT_EQ(0, image.AlphaGet(0, 0));
    EXPECT_EQ(nullptr, image.AlphaGetPointer(0, 0));
    ASSERT_TRUE(image.AlphaCreate());
    image.AlphaSet(10);
    image.AlphaSet(3, 2, 200);
    image.AlphaSet(4, 2, 1); // outside: ignored
    EXPECT_EQ(200, image.AlphaGet(3, 2));
    EXPECT_EQ(200, image.AlphaGetUnchecked(3, 2));
    EXPECT_EQ(200, *image.AlphaGetPointer(3, 2));
    EXPECT_EQ(image.AlphaGetPointer() + 11, image.AlphaGetPointer(3, 2));
    EXPECT_EQ(0, image.AlphaGet(-1, 0));
    EXPECT_EQ(nullptr, image.AlphaGetPointer(0, 3));
    image.AlphaInvert();
    EXPECT_EQ(55, image.AlphaGet(3, 2));
    EXPECT_EQ(245, image.AlphaGet(0, 0));
}

TEST(CrImageAlpha, SetFromAGrayImageOnly)
{
    TestImage target(5, 3, 24);
    TestImage gray(5, 3, 8);
    gray.SetGrayPalette();
    for (int32_t y = 0; y < 3; y++)
        for (int32_t x = 0; x < 5; x++)
            gray.SetPixelIndex(x, y, static_cast<uint8_t>(x * 10 + y));
    ASSERT_TRUE(target.AlphaSet(gray));
    EXPECT_EQ(42, target.AlphaGet(4, 2));

    TestImage colour(5, 3, 8); // palette all black: not the grey ramp
    colour.SetPaletteColor(1, 9, 9, 9);
    EXPECT_FALSE(target.AlphaSet(colour));
    TestImage other(6, 3, 8);
    other.SetGrayPalette();
    EXPECT_FALSE(target.AlphaSet(other));
    // Grey but packed: its rows hold fewer bytes than pixels.
    TestImage packed(5, 3, 4);
    for (uint32_t i = 0; i < 16; i++)
        packed.SetPaletteColor(i, static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i));
    ASSERT_TRUE(packed.IsGrayScale());
    EXPECT_FALSE(target.AlphaSet(packed));
    TestImage rgb(5, 3, 24);
    EXPECT_FALSE(target.AlphaSet(rgb));
    EXPECT_EQ(42, target.AlphaGet(4, 2));
}

TEST(CrImageAlpha, CopyNeedsAPlaneOfTheSameSize)
{
    TestImage src(4, 4, 24);
    TestImage target(4, 4, 8);
    EXPECT_FALSE(target.AlphaCopy(src));
    ASSERT_TRUE(src.AlphaCreate());
    src.AlphaSet(1, 2, 33);
    src.SetAlphaMax(128);
    ASSERT_TRUE(target.AlphaCopy(src));
    EXPECT_EQ(33, target.AlphaGet(1, 2));
    EXPECT_EQ(128, target.GetAlphaMax());
    TestImage small(3, 4, 24);
    EXPECT_FALSE(small.AlphaCopy(src));
}

TEST(CrImageAlpha, PaletteAlpha)
{
    TestImage image(2, 2, 4);
    EXPECT_FALSE(image.AlphaPaletteIsValid());
    image.SetPaletteColor(15, 0, 0, 0, 1);
    EXPECT_TRUE(image.AlphaPaletteIsValid());
    TestImage rgb(2, 2, 24);
    EXPECT_FALSE(rgb.AlphaPaletteIsValid());
}

TEST(CrImageAlpha, FlipMirrorAndSplit)
{
    TestImage image(3, 2, 24);
    EXPECT_FALSE(image.AlphaFlip());
    ASSERT_TRUE(image.AlphaCreate());
    for (int32_t y = 0; y < 2; y++)
        for (int32_t x = 0; x < 3; x++)
            image.AlphaSet(x, y, static_cast<uint8_t>(10 * y + x));
    ASSERT_TRUE(image.AlphaFlip());
    EXPECT_EQ(10, image.AlphaGet(0, 0));
    EXPECT_EQ(2, image.AlphaGet(2, 1));
    ASSERT_TRUE(image.AlphaMirror());
    EXPECT_EQ(12, image.AlphaGet(0, 0));
    EXPECT_EQ(0, image.AlphaGet(2, 1));

    TestImage split(9, 9, 24);
    ASSERT_TRUE(split.AllocFrames(1));
    ASSERT_TRUE(image.AlphaSplit(&split));
    EXPECT_EQ(8u, split.GetBpp());
    EXPECT_TRUE(split.IsGrayScale());
    EXPECT_EQ(3, split.GetWidth());
    EXPECT_EQ(12, split.GetPixelIndex(0, 0));
    EXPECT_EQ(0, split.GetNumFrames());
    TestImage none(2, 2, 24);
    EXPECT_FALSE(none.AlphaSplit(&split));
    EXPECT_FALSE(image.AlphaSplit(nullptr));
}

TEST(CrImageSelection, MaskAndBox)
{
    TestImage image(100, 50, 8);
    EXPECT_TRUE(image.SelectionIsInside(5, 5));
    EXPECT_TRUE(image.SelectionIsInside(-5, 500)); // no mask: everything
    ASSERT_TRUE(image.SelectionCreate());
    EXPECT_FALSE(image.SelectionIsInside(5, 5));
    image.SelectionSet(5, 5, 1);
    image.SelectionSet(100, 5, 1); // outside: ignored
    EXPECT_TRUE(image.SelectionIsInside(5, 5));
    EXPECT_FALSE(image.SelectionIsInside(100, 5));
    EXPECT_EQ(1, image.SelectionGetUnchecked(5, 5));
    EXPECT_EQ(nullptr, image.SelectionGetPointer(0, 50));
    EXPECT_EQ(image.SelectionGetPointer() + 505, image.SelectionGetPointer(5, 5));
    image.SelectionDelete();
    EXPECT_FALSE(image.SelectionIsValid());
    const CrRectL box = image.GetSelectionBox();
    EXPECT_EQ(100, box.left);
    EXPECT_EQ(0, box.top);
    EXPECT_EQ(0, box.right);
    EXPECT_EQ(50, box.bottom);
}

TEST(CrImageSelection, CopyFlipAndMirrorMoveTheBox)
{
    TestImage image(10, 6, 24);
    ASSERT_TRUE(image.SelectionCreate());
    image.SelectionSet(1, 0, 1);
    image.SetSelectionBox(CrRectL{1, 4, 3, 0});
    ASSERT_TRUE(image.SelectionFlip());
    EXPECT_TRUE(image.SelectionIsInside(1, 5));
    EXPECT_FALSE(image.SelectionIsInside(1, 0));
    EXPECT_EQ(6, image.GetSelectionBox().top);
    EXPECT_EQ(2, image.GetSelectionBox().bottom);
    ASSERT_TRUE(image.SelectionMirror());
    EXPECT_TRUE(image.SelectionIsInside(8, 5));
    EXPECT_EQ(7, image.GetSelectionBox().left);
    EXPECT_EQ(9, image.GetSelectionBox().right);

    TestImage copy(10, 6, 8);
    ASSERT_TRUE(copy.SelectionCopy(image));
    EXPECT_TRUE(copy.SelectionIsInside(8, 5));
    EXPECT_EQ(7, copy.GetSelectionBox().left);
    TestImage other(10, 7, 8);
    EXPECT_FALSE(other.SelectionCopy(image));
    TestImage unselected(10, 6, 8);
    EXPECT_FALSE(copy.SelectionCopy(unselected));
    EXPECT_FALSE(unselected.SelectionFlip());
}

TEST(CrGeometry, RectangleArithmetic)
{
    const CrRectF a(0, 0, 4, 2);
    EXPECT_FLOAT_EQ(8, a.Area());
    EXPECT_FLOAT_EQ(4, a.Width());
    EXPECT_FLOAT_EQ(2, a.Height());
    EXPECT_FLOAT_EQ(2, a.Center().x);
    EXPECT_FLOAT_EQ(1, a.Center().y);
    const CrRectF b(3, 1, 10, 10);
    const CrRectF i = a.Intersect(b);
    EXPECT_FLOAT_EQ(3, i.left);
    EXPECT_FLOAT_EQ(1, i.top);
    EXPECT_FLOAT_EQ(4, i.right);
    EXPECT_FLOAT_EQ(2, i.bottom);
    const CrRectF apart = a.Intersect(CrRectF(5, 5, 6, 6));
    EXPECT_FLOAT_EQ(0, apart.left);
    EXPECT_FLOAT_EQ(0, apart.top);
    EXPECT_FLOAT_EQ(0, apart.right);
    EXPECT_FLOAT_EQ(0, apart.bottom);
    const CrRectF copy(b);
    EXPECT_FLOAT_EQ(63, copy.Area());
    EXPECT_FLOAT_EQ(0, CrRectF().Area());
    const CrPointF p(1.5f, -2);
    EXPECT_FLOAT_EQ(-2, p.y);
    EXPECT_FLOAT_EQ(0, CrPointF().x);
}
