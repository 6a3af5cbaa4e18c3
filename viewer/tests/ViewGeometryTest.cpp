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
        // 200 % that does not fit is reduced by 400 / 600 to just inside the window: 600 x 400
        // becomes 399 x 266.
        FrameCase{200, {300, 200}, {0, 0, 400, 300}, {0, 17, 399, 283}},
        // Reduced by the height: 300 x 600 in 400 x 300 by 300 / 600 is 149 x 299.
        FrameCase{200, {150, 300}, {0, 0, 400, 300}, {125, 0, 274, 299}},
        // Fit of a picture with the window's own shape fills it exactly.
        FrameCase{0, {40, 30}, {0, 0, 400, 300}, {0, 0, 400, 300}},
        FrameCase{0, {7, 3}, {0, 0, 100, 100}, {0, 29, 100, 71}},
        // Uneven zooms are truncated: 50 % of 7 x 5 is 3 x 2.
        FrameCase{50, {7, 5}, {0, 0, 100, 100}, {48, 49, 51, 51}},
        FrameCase{50, {300, 200}, {0, 0, 400, 300}, {125, 100, 275, 200}},
        // The client's own origin counts.
        FrameCase{100, {10, 10}, {5, 7, 25, 27}, {10, 12, 20, 22}},
        // Nothing to draw.
        FrameCase{0, {10, 10}, {0, 0, 0, 100}, {0, 0, 0, 0}},
        FrameCase{50, {1, 1}, {0, 0, 100, 100}, {0, 0, 0, 0}}));

TEST(FrameRectBounds, NoZoomEverComesOutLargerThanTheWindow)
{
    for (int zoom : {0, 50, 100, 200})
        for (int cw : {1, 17, 100, 399, 640})
            for (int ch : {1, 13, 100, 301, 480})
                for (int iw : {1, 3, 99, 320, 1000})
                    for (int ih : {1, 7, 100, 240, 999}) {
                        ViewRect r = FrameRect(zoom, {iw, ih}, {0, 0, cw, ch});
                        ASSERT_LE(r.Width(), cw) << zoom << " " << iw << "x" << ih << " in " << cw << "x" << ch;
                        ASSERT_LE(r.Height(), ch) << zoom << " " << iw << "x" << ih << " in " << cw << "x" << ch;
                        ASSERT_GE(r.left, 0);
                        ASSERT_GE(r.top, 0);
                        // Fit always fills the window in one direction.
                        if (zoom == 0) {
                            ASSERT_TRUE(r.IsEmpty() || r.Width() == cw || r.Height() == ch);
                        }
                    }
}

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
