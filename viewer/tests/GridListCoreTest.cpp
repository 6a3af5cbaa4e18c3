#include <gtest/gtest.h>

#include <climits>

#include "GridTestSupport.h"

namespace {

void ExpectRect(const ViewRect& r, const ViewRect& expected, const std::string& what)
{
    EXPECT_EQ(r.left, expected.left) << what;
    EXPECT_EQ(r.top, expected.top) << what;
    EXPECT_EQ(r.right, expected.right) << what;
    EXPECT_EQ(r.bottom, expected.bottom) << what;
}

TEST(GridLayout, CellsFlowInRowsOfTheColumnsThatFit)
{
    struct Case {
        int width, scroll, index;
        ViewRect expected;
        int columns;
    } cases[] = {
        {600, 0, 0, {16, 16, 256, 176}, 2},     // 600 div 256 = 2 columns
        {600, 0, 1, {272, 16, 512, 176}, 2},
        {600, 0, 2, {16, 192, 256, 352}, 2},    // next row: 160 + 16 lower
        {600, 100, 2, {16, 92, 256, 252}, 2},   // scrolled 100 pixels
        {800, 0, 3, {16, 192, 256, 352}, 3},    // 800 div 256 = 3
        {100, 0, 1, {16, 192, 256, 352}, 1},    // narrower than a cell: still one column
    };
    for (const Case& c : cases) {
        CFakeGrid grid(6);
        grid.m_client = {0, 0, c.width, 400};
        grid.UpdateScrollBars();
        grid.m_nScroll = c.scroll;
        ViewRect r;
        EXPECT_EQ(grid.GetItemRect(c.index, r), 1);
        ExpectRect(r, c.expected, "cell " + std::to_string(c.index) + " at width " + std::to_string(c.width));
        EXPECT_EQ(grid.m_nColumns, c.columns);
    }
}

TEST(GridLayout, OutOfRangeGivesAnEmptyRectangle)
{
    CFakeGrid grid(3);
    for (int index : {-1, 3, 100}) {
        ViewRect r{1, 2, 3, 4};
        EXPECT_EQ(grid.GetItemRect(index, r), 0);
        EXPECT_TRUE(r.IsEmpty());
    }
}

TEST(GridLayout, InsetsShrinkTheContent)
{
    CFakeGrid grid(2);
    grid.m_nInsetLeft = 10;
    grid.m_nInsetTop = 20;
    ViewRect r;
    grid.GetItemRect(0, r);
    ExpectRect(r, {26, 36, 266, 196}, "inset cell");
}

TEST(GridLayout, ListRowsSpanTheWidthAndScrollByLines)
{
    struct Case {
        int scroll, index;
        ViewRect expected;
    } cases[] = {
        {0, 0, {0, 0, 600, 24}},
        {0, 3, {0, 72, 600, 96}},
        {2, 3, {0, 24, 600, 48}},
        {5, 3, {0, -48, 600, -24}},
    };
    for (const Case& c : cases) {
        CFakeGrid list(40, GRID_MODE_LIST);
        list.m_nScroll = c.scroll;
        ViewRect r;
        list.GetItemRect(c.index, r);
        ExpectRect(r, c.expected, "row " + std::to_string(c.index) + " scrolled " + std::to_string(c.scroll));
    }
}

TEST(GridScrollRange, FollowsTheRowsAndTheLines)
{
    struct Case {
        int mode, count, width, height;
        GridScrollRange expected;
        int columns;
    } cases[] = {
        // (16 + 600 - 32) div 256 = 2 columns; 3 rows: 16 x 2 + 3 x 160 + 32.
        {GRID_MODE_GRID, 5, 600, 400, {544, 400}, 2},
        {GRID_MODE_GRID, 4, 600, 400, {368, 400}, 2},
        {GRID_MODE_GRID, 1, 200, 300, {192, 300}, 1},
        {GRID_MODE_LIST, 30, 600, 100, {30, 5}, 1},   // 100 / 24 rounded up
        {GRID_MODE_LIST, 0, 600, 96, {0, 4}, 1},
    };
    for (const Case& c : cases) {
        CFakeGrid grid(c.count, c.mode);
        grid.m_client = {0, 0, c.width, c.height};
        grid.UpdateScrollBars();
        EXPECT_EQ(grid.m_range.maximum, c.expected.maximum) << c.count << " in mode " << c.mode;
        EXPECT_EQ(grid.m_range.page, c.expected.page) << c.count << " in mode " << c.mode;
        if (c.mode == GRID_MODE_GRID) {
            EXPECT_EQ(grid.m_nColumns, c.columns);
        }
    }
}

TEST(GridScrollRange, AFixedColumnCountIsKept)
{
    CFakeGrid grid(6, GRID_MODE_GRID | GRID_MODE_FIXED_COLUMNS);
    grid.m_nColumns = 1;
    grid.UpdateScrollBars();
    EXPECT_EQ(grid.m_nColumns, 1);
    ViewRect r;
    grid.GetItemRect(1, r);
    ExpectRect(r, {16, 192, 256, 352}, "fixed single column");
}

TEST(GridHitTest, FindsTheCellUnderThePoint)
{
    struct Case {
        int mode, scroll, x, y, expected;
    } cases[] = {
        {GRID_MODE_GRID, 0, 20, 20, 0},    {GRID_MODE_GRID, 0, 300, 100, 1},  {GRID_MODE_GRID, 0, 260, 100, -1},
        {GRID_MODE_GRID, 0, 20, 180, -1},  {GRID_MODE_GRID, 0, 20, 200, 2},   {GRID_MODE_GRID, 0, 8, 8, -1},
        {GRID_MODE_GRID, 176, 20, 20, 2},  {GRID_MODE_GRID, 0, 300, 300, 3},  {GRID_MODE_GRID, 0, 300, 560, -1},
        {GRID_MODE_LIST, 0, 5, 5, 0},      {GRID_MODE_LIST, 0, 590, 50, 2},   {GRID_MODE_LIST, 3, 5, 5, 3},
        {GRID_MODE_LIST, 0, 5, 24 * 5 + 1, -1},
    };
    for (const Case& c : cases) {
        CFakeGrid grid(c.mode == GRID_MODE_GRID ? 4 : 5, c.mode);
        grid.m_nScroll = c.scroll;
        EXPECT_EQ(grid.HitTest(c.x, c.y), c.expected) << "mode " << c.mode << " at " << c.x << "," << c.y;
    }
}

TEST(GridScroll, EnsureVisibleAlignsTheNearEdge)
{
    struct Case {
        int mode, scroll, index, expected;
    } cases[] = {
        {GRID_MODE_GRID, 0, 0, 0},       // already visible
        {GRID_MODE_GRID, 0, 5, 128},     // row 2 ends at 528: its bottom meets the bottom (400)
        {GRID_MODE_GRID, 300, 0, 16},    // top at -284 meets the top
        {GRID_MODE_LIST, 0, 20, 5},      // 16 whole lines: 20 becomes the last of them
        {GRID_MODE_LIST, 10, 3, 3},
        {GRID_MODE_LIST, 10, 12, 10},
    };
    for (const Case& c : cases) {
        CFakeGrid grid(30, c.mode);
        grid.m_nScroll = c.scroll;
        grid.EnsureVisible(c.index);
        EXPECT_EQ(grid.m_nScroll, c.expected) << "mode " << c.mode << " index " << c.index << " from " << c.scroll;
    }
}

TEST(GridScroll, WheelAndScrollBarMoveThePosition)
{
    struct Case {
        int mode;
        bool wheel;
        int codeOrDelta, thumb, from, expected;
    } cases[] = {
        {GRID_MODE_GRID, true, -120, 0, 0, 160},        // one notch down: a cell height
        {GRID_MODE_GRID, true, 240, 0, 400, 80},        // two notches up
        {GRID_MODE_GRID, true, 120, 0, 0, 0},           // clamped at the top
        {GRID_MODE_LIST, true, -360, 0, 0, 3},          // lines
        {GRID_MODE_GRID, false, GRID_SB_LINEDOWN, 0, 0, 160},
        {GRID_MODE_GRID, false, GRID_SB_PAGEDOWN, 0, 0, 400},
        {GRID_MODE_GRID, false, GRID_SB_THUMBTRACK, 250, 0, 250},
        {GRID_MODE_GRID, false, GRID_SB_TOP, 0, 300, 0},
        {GRID_MODE_LIST, false, GRID_SB_PAGEDOWN, 0, 0, 16},
        {GRID_MODE_LIST, false, GRID_SB_LINEUP, 0, 5, 4},
    };
    for (const Case& c : cases) {
        CFakeGrid grid(60, c.mode);
        grid.m_nScroll = c.from;
        if (c.wheel)
            grid.OnMouseWheel(c.codeOrDelta);
        else
            grid.OnVScroll(c.codeOrDelta, c.thumb);
        EXPECT_EQ(grid.m_nScroll, c.expected) << "mode " << c.mode << (c.wheel ? " wheel " : " bar ") << c.codeOrDelta;
    }
    CFakeGrid grid(60, GRID_MODE_GRID);
    grid.OnVScroll(GRID_SB_BOTTOM, 0);
    EXPECT_EQ(grid.m_nScroll, grid.GetScrollLimit());
    EXPECT_GT(grid.m_nScroll, 0);
}

// ---- selection ----

struct Click {
    enum Kind { Left, Right, Key } kind;
    int x, y;          // a cell index for clicks (its centre is clicked), -1 for empty space
    unsigned key;
    bool shift, ctrl;
};

void RunStep(CFakeGrid& grid, const Click& c)
{
    ViewRect r{};
    int x = 590, y = 390;   // empty space right of and below the cells
    if (c.x >= 0 && grid.GetItemRect(c.x, r)) {
        x = (r.left + r.right) / 2;
        y = (r.top + r.bottom) / 2;
    }
    switch (c.kind) {
    case Click::Left: grid.OnLeftButtonDown(x, y, c.shift, c.ctrl); break;
    case Click::Right: grid.OnRightButtonDown(x, y, c.ctrl); break;
    case Click::Key: grid.OnKeyDown(c.key, c.shift, c.ctrl); break;
    }
}

Click L(int cell, bool shift = false, bool ctrl = false) { return Click{Click::Left, cell, 0, 0, shift, ctrl}; }
Click R(int cell, bool ctrl = false) { return Click{Click::Right, cell, 0, 0, false, ctrl}; }
Click K(unsigned key, bool shift = false, bool ctrl = false) { return Click{Click::Key, -1, 0, key, shift, ctrl}; }

TEST(GridSelection, SequencesOfClicksAndKeys)
{
    struct Case {
        const char* what;
        int mode;
        std::vector<Click> steps;
        std::string selection;
        int focus;
    } cases[] = {
        {"a click selects alone", GRID_MODE_GRID, {L(1), L(2)}, "..x...", 2},
        {"shift extends from the focus", GRID_MODE_GRID, {L(1), L(4, true)}, ".xxxx.", 4},
        {"shift without a focus starts at 0", GRID_MODE_GRID, {L(2, true)}, "xxx...", 2},
        {"shift range runs from the focus", GRID_MODE_GRID, {L(3), L(5, true), L(1, true)}, ".xxxxx", 1},
        {"ctrl toggles", GRID_MODE_GRID, {L(0), L(2, false, true), L(4, false, true), L(2, false, true)}, "x...x.", 2},
        {"empty space clears", GRID_MODE_GRID, {L(0), L(1, true), L(-1)}, "......", -1},
        {"right click keeps a multiple selection", GRID_MODE_GRID, {L(0), L(2, true), R(1)}, "xxx...", 1},
        {"right click elsewhere selects alone", GRID_MODE_GRID, {L(0), L(2, true), R(4)}, "....x.", 4},
        {"right click with ctrl changes nothing", GRID_MODE_GRID, {L(0), R(4, true)}, "x.....", 0},
        {"right click on empty space", GRID_MODE_GRID, {L(0), R(-1)}, "......", -1},
        {"right arrow", GRID_MODE_GRID, {L(0), K(GRID_KEY_RIGHT)}, ".x....", 1},
        {"down arrow moves a row (2 columns)", GRID_MODE_GRID, {L(1), K(GRID_KEY_DOWN)}, "...x..", 3},
        {"down in the last row does nothing", GRID_MODE_GRID, {L(4), K(GRID_KEY_DOWN)}, "....x.", 4},
        {"up in the first row does nothing", GRID_MODE_GRID, {L(1), K(GRID_KEY_UP)}, ".x....", 1},
        {"left at the first does nothing", GRID_MODE_GRID, {L(0), K(GRID_KEY_LEFT)}, "x.....", 0},
        {"shift arrow adds", GRID_MODE_GRID, {L(0), K(GRID_KEY_RIGHT, true), K(GRID_KEY_DOWN, true)}, "xx.x..", 3},
        {"ctrl arrow moves only the focus", GRID_MODE_GRID, {L(0), K(GRID_KEY_RIGHT, false, true)}, "x.....", 1},
        {"an arrow without a focus starts at the first", GRID_MODE_GRID, {K(GRID_KEY_DOWN)}, "x.....", 0},
        {"list: down and up", GRID_MODE_LIST, {L(2), K(GRID_KEY_DOWN), K(GRID_KEY_DOWN), K(GRID_KEY_UP)}, "...x..", 3},
        {"list: left and right are not the list's", GRID_MODE_LIST, {L(2), K(GRID_KEY_RIGHT)}, "..x...", 2},
        {"list: down at the last does nothing", GRID_MODE_LIST, {L(5), K(GRID_KEY_DOWN)}, ".....x", 5},
    };
    for (const Case& c : cases) {
        CFakeGrid grid(6, c.mode);
        for (const Click& step : c.steps)
            RunStep(grid, step);
        EXPECT_EQ(grid.Selection(), c.selection) << c.what;
        EXPECT_EQ(grid.m_nFocus, c.focus) << c.what;
    }
}

TEST(GridSelection, KeysTheViewLeavesToOthers)
{
    CFakeGrid grid(6);
    grid.OnLeftButtonDown(20, 20, false, false);
    EXPECT_FALSE(grid.OnKeyDown(GRID_KEY_LEFT, false, false));
    EXPECT_FALSE(grid.OnKeyDown(0x41, false, false));   // A
    EXPECT_TRUE(grid.OnKeyDown(GRID_KEY_RIGHT, false, false));
    CFakeGrid empty(0);
    EXPECT_FALSE(empty.OnKeyDown(GRID_KEY_DOWN, false, false));
}

TEST(GridSelection, SelectItemAnswersWhetherItChanged)
{
    CFakeGrid grid(3);
    EXPECT_EQ(grid.SelectItem(1, true, false, true), 0);
    EXPECT_EQ(grid.SelectItem(1, true, false, true), 1);
    EXPECT_EQ(grid.SelectItem(2, false, false, true), 1);
    EXPECT_EQ(grid.SelectItem(7, true, false, true), 1);
    grid.SelectRange(1, 99, true, false);
    EXPECT_EQ(grid.Selection(), ".xx");
    EXPECT_EQ(grid.GetSelectedCount(), 2);
    EXPECT_EQ(grid.GetNextSelected(0), 1);
    EXPECT_EQ(grid.GetNextSelected(3), -1);
    EXPECT_EQ(grid.SetFocusItem(2, true), 1);
    EXPECT_EQ(grid.SetFocusItem(2, true), 0);
}

TEST(GridCells, DeletingKeepsOtherIndicesAsTheyWere)
{
    CFakeGrid grid(5);
    grid.SetFocusItem(3, false);
    grid.SetHotItem(1, false);
    EXPECT_EQ(grid.DeleteItem(0, true), 1);
    EXPECT_EQ(grid.m_nFocus, 3);   // not shifted
    EXPECT_EQ(grid.m_nHover, 1);
    EXPECT_EQ(grid.DeleteItem(3, true), 1);
    EXPECT_EQ(grid.m_nFocus, -1);
    EXPECT_EQ(grid.DeleteItem(1, true), 1);
    EXPECT_EQ(grid.m_nHover, -1);
    EXPECT_EQ(grid.DeleteItem(9, true), 0);
    EXPECT_EQ(grid.GetItemCount(), 2);
    int a = 1, b = 2;
    CFakeGrid data(0);
    EXPECT_EQ(data.InsertItem(-4, &a, false), 0);
    EXPECT_EQ(data.InsertItem(99, &b, false), 1);
    data.SwapItems(0, 1);
    EXPECT_EQ(data.GetItemData(0), &b);
    EXPECT_EQ(data.GetItemData(5), nullptr);
    data.DeleteAllItems(true);
    EXPECT_EQ(data.GetItemCount(), 0);
}

// ---- rubber band ----

TEST(GridRubberBand, StartsAfterAMoveFromEmptySpace)
{
    struct Case {
        int dx, dy;
        bool starts;
    } cases[] = {{4, 1, true}, {1, 4, true}, {3, 3, false}, {4, 0, false}, {10, 10, true}};
    for (const Case& c : cases) {
        CFakeGrid grid(4);
        grid.OnLeftButtonDown(590, 390, false, false);
        EXPECT_EQ(grid.OnMouseMove(590 - c.dx, 390 - c.dy, true), c.starts) << c.dx << "," << c.dy;
        EXPECT_EQ(grid.m_nPressX < 0, c.starts);
    }
    CFakeGrid grid(4);
    grid.OnLeftButtonDown(590, 390, false, false);
    EXPECT_FALSE(grid.OnMouseMove(500, 300, false)) << "no band without the button held";
    grid.OnLeftButtonUp();
    EXPECT_FALSE(grid.OnMouseMove(500, 300, true)) << "the press point is gone after the release";
    CFakeGrid none(0);
    none.OnLeftButtonDown(100, 100, false, false);
    EXPECT_FALSE(none.OnMouseMove(200, 200, true)) << "no band over an empty view";
}

TEST(GridRubberBand, SelectsCellsByAQuarterOfTheirSize)
{
    // Cells 240 x 160: a quarter is 60 across or 40 down.
    struct Case {
        ViewRect band;
        std::string selection;
    } cases[] = {
        {{200, 130, 250, 170}, "x..."},   // 50 x 40 into cell 0: 40 down is a quarter
        {{200, 140, 250, 170}, "...."},   // 50 x 30: less than a quarter both ways
        {{196, 100, 256, 120}, "x..."},   // 60 across
        {{230, 100, 300, 120}, "...."},   // 26 x 20 into cell 0, 28 x 20 into cell 1
        {{0, 0, 600, 400}, "xxxx"},
        {{300, 170, 310, 360}, "...x"},   // a thin band down the second column: 6 into cell 1
    };
    for (const Case& c : cases) {
        CFakeGrid grid(4);
        grid.OnBandChanged(c.band, 200);
        EXPECT_EQ(grid.Selection(), c.selection) << c.band.left << "," << c.band.top << "," << c.band.right << ","
                                                 << c.band.bottom;
    }
}

TEST(GridRubberBand, ListRowsNeedALineAcrossOrHalfALineDown)
{
    struct Case {
        ViewRect band;
        std::string selection;
    } cases[] = {
        {{0, 10, 24, 14}, "x...."},     // 24 across
        {{0, 10, 23, 14}, "....."},     // narrower than a line, 4 down
        {{0, 12, 10, 36}, "xx..."},     // 12 down in row 0, 12 in row 1
        {{0, 13, 10, 36}, ".x..."},
    };
    for (const Case& c : cases) {
        CFakeGrid list(5, GRID_MODE_LIST);
        list.OnBandChanged(c.band, 20);
        EXPECT_EQ(list.Selection(), c.selection) << c.band.left << "," << c.band.top << "," << c.band.right << ","
                                                 << c.band.bottom;
    }
}

TEST(GridRubberBand, ScrollsWhenThePointerLeavesTheContent)
{
    struct Case {
        int mode, from, pointerY, expectedScroll, shift;
    } cases[] = {
        {GRID_MODE_GRID, 0, 420, 20, 20},     // 20 below the bottom
        {GRID_MODE_GRID, 0, 408, 0, 0},       // 8 below: not yet
        {GRID_MODE_GRID, 0, 409, 9, 9},
        {GRID_MODE_GRID, 100, -30, 70, -30},
        {GRID_MODE_GRID, 100, -8, 100, 0},    // 8 above: not yet
        {GRID_MODE_GRID, 0, -50, 0, 0},       // already at the top
        {GRID_MODE_LIST, 0, 450, 1, 24},      // one line
        {GRID_MODE_LIST, 3, -20, 2, -24},
    };
    for (const Case& c : cases) {
        CFakeGrid grid(40, c.mode);
        grid.m_nScroll = c.from;
        int moved = grid.OnBandChanged(ViewRect{590, 390, 595, 395}, c.pointerY);
        EXPECT_EQ(grid.m_nScroll, c.expectedScroll) << "mode " << c.mode << " pointer " << c.pointerY;
        EXPECT_EQ(moved, c.shift) << "mode " << c.mode << " pointer " << c.pointerY;
    }
    CFakeGrid grid(40);
    grid.m_nScroll = grid.GetScrollLimit();
    EXPECT_EQ(grid.OnBandChanged(ViewRect{590, 390, 595, 395}, 500), 0) << "already at the bottom";
}

TEST(GridHover, MovesFollowTheCellUnderThePointer)
{
    CFakeGrid grid(3);
    grid.OnMouseMove(20, 20, false);
    EXPECT_EQ(grid.m_nHover, 0);
    grid.OnMouseMove(300, 20, false);
    EXPECT_EQ(grid.m_nHover, 1);
    grid.OnMouseMove(590, 390, false);
    EXPECT_EQ(grid.m_nHover, -1);
    grid.OnMouseMove(20, 20, false);
    grid.OnMouseLeave();
    EXPECT_EQ(grid.m_nHover, -1);
}

} // namespace
