#include <gtest/gtest.h>

#include "ViewGeometry.h"

namespace {

struct FrameCase {
    int zoom;
    ViewSize image;
    ViewRect client;
    ViewRect expected;
};

class FrameRectTest : public ::testing::TestWithParam<FrameCase> {};

TEST_P(FrameRectTest, SizesAndCentresTheFrame)
{
    const FrameCase& c = GetParam();
    ViewRect r = FrameRect(c.zoom, c.image, c.client);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Zooms, FrameRectTest,
    ::testing::Values(
        // Fit: wide picture fills the width, tall one the height, small ones are enlarged.
        FrameCase{0, {400, 100}, {0, 0, 200, 200}, {0, 75, 200, 125}},
        FrameCase{0, {100, 400}, {0, 0, 200, 200}, {75, 0, 125, 200}},
        FrameCase{0, {10, 10}, {0, 0, 300, 200}, {50, 0, 250, 200}},
        // 100 % keeps the size, centred with integer halves.
        FrameCase{100, {101, 51}, {0, 0, 400, 300}, {149, 124, 250, 175}},
        // 200 % that does not fit is reduced to the window: 600 x 400 becomes 400 x 266.
        FrameCase{200, {300, 200}, {0, 0, 400, 300}, {0, 17, 400, 283}},
        FrameCase{50, {300, 200}, {0, 0, 400, 300}, {125, 100, 275, 200}},
        // The client's own origin counts.
        FrameCase{100, {10, 10}, {5, 7, 25, 27}, {10, 12, 20, 22}},
        // Nothing to draw.
        FrameCase{0, {10, 10}, {0, 0, 0, 100}, {0, 0, 0, 0}},
        FrameCase{50, {1, 1}, {0, 0, 100, 100}, {0, 0, 0, 0}}));

TEST(ThumbnailFit, KeepsTheAspectInsideTheBox)
{
    ViewSize wide = FitThumbnail({400, 100}, {200, 200});
    EXPECT_EQ(wide.cx, 200);
    EXPECT_EQ(wide.cy, 50);
    ViewSize tall = FitThumbnail({100, 400}, {200, 150});
    EXPECT_EQ(tall.cx, 37);
    EXPECT_EQ(tall.cy, 150);
    // A sliver never becomes zero pixels high.
    ViewSize sliver = FitThumbnail({5000, 1}, {200, 200});
    EXPECT_EQ(sliver.cx, 200);
    EXPECT_EQ(sliver.cy, 1);
}

TEST(ThumbnailFit, IconsHaveTheirLongerSideAt24)
{
    ViewSize wide = FitIcon({200, 50}, 24);
    EXPECT_EQ(wide.cx, 24);
    EXPECT_EQ(wide.cy, 6);
    ViewSize tall = FitIcon({50, 200}, 24);
    EXPECT_EQ(tall.cx, 6);
    EXPECT_EQ(tall.cy, 24);
}

} // namespace
