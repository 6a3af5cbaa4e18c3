// The job list's row geometry: boxes and cells, the file cells' thumbnail, texts, links and info
// line, the remove button, the progress line in both modes, hit testing of the links, drop
// positions with their markers, and row moves.
#include <gtest/gtest.h>

#include <ostream>

#include "JobRowLayout.h"

std::ostream& operator<<(std::ostream& out, const RowRect& r)
{
    return out << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

std::ostream& operator<<(std::ostream& out, const ProgressPiece& p)
{
    return out << "[" << p.left << "," << p.right << ")";
}

namespace {

// A row as the dialog makes it: 100 x 100 thumbnails, so 115 pixels high.
const RowRect kBounds{0, 0, 800, 115};
const RowRect kInputCell{36, 0, 390, 115};

RowMetrics Metrics()
{
    RowMetrics metrics;
    metrics.lineHeight = 13;
    metrics.playWidth = 22;
    metrics.openFolderWidth = 60;
    return metrics;
}

TEST(JobRowLayout, BoxAndCells)
{
    EXPECT_EQ((RowRect{2, 2, 800, 113}), RowBox(kBounds));
    EXPECT_EQ((RowRect{3, 3, 799, 112}), RowBoxFill(kBounds));

    // A list scrolled to the right starts its cells left of the client area.
    const std::vector<RowRect> cells = CellRects({-10, 24, 944, 139}, {36, 354, 354, 200});
    ASSERT_EQ(4u, cells.size());
    EXPECT_EQ((RowRect{-10, 24, 26, 139}), cells[0]);
    EXPECT_EQ((RowRect{26, 24, 380, 139}), cells[1]);
    EXPECT_EQ((RowRect{380, 24, 734, 139}), cells[2]);
    EXPECT_EQ((RowRect{734, 24, 934, 139}), cells[3]);
}

TEST(JobRowLayout, CellParts)
{
    struct Case {
        const char* what;
        RowRect actual;
        RowRect expected;
    };
    const RowMetrics m = Metrics();
    const RowRect area = FileTextArea(kInputCell, m);
    const RowRect narrowArea{146, 7, 170, 107};
    RowMetrics small = m;
    small.thumbnailWidth = 48;
    small.thumbnailHeight = 30;
    const RowRect smallCell{36, 0, 390, 45};
    const Case cases[] = {
        {"state image centred in 36 x 115", StateImageRect({0, 0, 36, 115}), {7, 45, 31, 69}},
        {"thumbnail 1 from the left, centred", ThumbnailRect(kInputCell, m), {37, 7, 137, 107}},
        {"text area beside it", area, {146, 7, 384, 107}},
        {"name on the top line", NameRect(area, m), {146, 7, 384, 20}},
        {"Play on the bottom line", PlayLinkRect(area, m), {146, 94, 168, 107}},
        {"Open Folder 10 after Play", OpenFolderLinkRect(area, m), {178, 94, 238, 107}},
        {"Open Folder cut off in a narrow area", OpenFolderLinkRect(narrowArea, m), {170, 94, 170, 107}},
        {"rename edit over the text", RenameEditRect(kInputCell, m), {147, 6, 384, 108}},
        {"status text 6 inside, centred", StatusTextRect({734, 0, 934, 115}, m), {740, 7, 928, 107}},
        {"remove button at the top-right", RemoveButtonRect(kBounds), {780, 2, 800, 22}},
        {"small thumbnails", ThumbnailRect(smallCell, small), {37, 7, 85, 37}},
        {"text area of small thumbnails", FileTextArea(smallCell, small), {94, 7, 384, 37}},
        {"thumbnail of a narrow column still whole", ThumbnailRect({36, 0, 100, 115}, m), {37, 7, 137, 107}},
        {"and no room for text", FileTextArea({36, 0, 100, 115}, m), {146, 7, 146, 107}},
        {"progress line on the box's bottom", ProgressLineRect(kBounds), {2, 112, 800, 113}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, c.actual) << c.what;
    EXPECT_TRUE(FileTextArea({36, 0, 100, 115}, m).IsEmpty());
}

TEST(JobRowLayout, InfoLine)
{
    struct Case {
        const char* what;
        RowRect area;
        std::vector<bool> present;
        std::vector<InfoPiece> expected;
    };
    const RowRect area{146, 7, 384, 107};
    const Case cases[] = {
        {"three texts",
         area,
         {true, true, true},
         {{0, {146, 52, 158, 64}, {161, 51, 201, 63}},
          {1, {211, 52, 223, 64}, {226, 51, 276, 63}},
          {2, {286, 52, 298, 64}, {301, 51, 346, 63}}}},
        {"an empty text takes no room",
         area,
         {true, false, true},
         {{0, {146, 52, 158, 64}, {161, 51, 201, 63}}, {2, {211, 52, 223, 64}, {226, 51, 271, 63}}}},
        {"clipped at the area's right",
         {146, 7, 230, 107},
         {true, true, true},
         {{0, {146, 52, 158, 64}, {161, 51, 201, 63}}, {1, {211, 52, 223, 64}, {226, 51, 230, 63}}}},
        {"nothing in an empty area", {146, 7, 146, 107}, {true, true, true}, {}},
    };
    for (const Case& c : cases) {
        const std::vector<InfoPiece> pieces = LayoutInfoLine(c.area, {40, 50, 45}, c.present);
        ASSERT_EQ(c.expected.size(), pieces.size()) << c.what;
        for (size_t i = 0; i < pieces.size(); ++i) {
            EXPECT_EQ(c.expected[i].text, pieces[i].text) << c.what;
            EXPECT_EQ(c.expected[i].icon, pieces[i].icon) << c.what;
            EXPECT_EQ(c.expected[i].label, pieces[i].label) << c.what;
        }
    }
}

TEST(JobRowLayout, LinkHitTest)
{
    struct Case {
        const char* what;
        int column;
        bool completed;
        int x, y;
        int expected;
    };
    const RowRect outputCell{390, 0, 744, 115};
    const RowRect statusCell{744, 0, 800, 115};
    const RowRect cells[] = {{0, 0, 36, 115}, kInputCell, outputCell, statusCell};
    const Case cases[] = {
        {"input Play", JOB_COLUMN_INPUT, false, 150, 100, JOB_LINK_PLAY_INPUT},
        {"input Open Folder", JOB_COLUMN_INPUT, false, 200, 100, JOB_LINK_OPEN_INPUT_FOLDER},
        {"between the links", JOB_COLUMN_INPUT, false, 172, 100, JOB_LINK_NONE},
        {"above the links", JOB_COLUMN_INPUT, false, 150, 90, JOB_LINK_NONE},
        {"the name is no link", JOB_COLUMN_INPUT, true, 150, 10, JOB_LINK_NONE},
        {"on the thumbnail", JOB_COLUMN_INPUT, true, 60, 100, JOB_LINK_NONE},
        {"output Play, completed", JOB_COLUMN_OUTPUT, true, 504, 100, JOB_LINK_PLAY_OUTPUT},
        {"output Open Folder, completed", JOB_COLUMN_OUTPUT, true, 550, 100, JOB_LINK_OPEN_OUTPUT_FOLDER},
        {"output Play, not completed", JOB_COLUMN_OUTPUT, false, 504, 100, JOB_LINK_NONE},
        {"output Open Folder, not completed", JOB_COLUMN_OUTPUT, false, 550, 100, JOB_LINK_NONE},
        {"remove button", JOB_COLUMN_STATUS, false, 790, 10, JOB_LINK_REMOVE},
        {"remove button's top row", JOB_COLUMN_STATUS, false, 780, 2, JOB_LINK_REMOVE},
        {"below the remove button", JOB_COLUMN_STATUS, false, 790, 22, JOB_LINK_NONE},
        {"status text", JOB_COLUMN_STATUS, true, 760, 60, JOB_LINK_NONE},
        {"state image", JOB_COLUMN_STATE, true, 18, 57, JOB_LINK_NONE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, LinkAt(c.column, cells[c.column], kBounds, Metrics(), c.completed, c.x, c.y)) << c.what;
}

TEST(JobRowLayout, ProgressPieces)
{
    struct Case {
        const char* what;
        int64_t value, range;
        bool indeterminate;
        std::vector<ProgressPiece> expected;
    };
    const RowRect line = ProgressLineRect(kBounds);  // 2 .. 800
    const Case cases[] = {
        {"half", 50, 100, false, {{2, 401}}},
        {"nothing at 0", 0, 100, false, {}},
        {"capped at the box", 200, 100, false, {{2, 800}}},
        {"no range", 50, 0, false, {}},
        {"range after a row", 50, -1, false, {}},
        {"activity at the start", 0, 100, true, {}},
        {"activity half way", 50, 100, true, {{417, 433}, {393, 409}, {369, 385}}},
        {"activity leaving the box", 95, 100, true, {{780, 796}, {756, 772}}},
        {"activity gone at the end", 100, 100, true, {}},
        {"activity without range", 50, 0, true, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, ProgressPieces(line, c.value, c.range, c.indeterminate)) << c.what;
}

TEST(JobRowLayout, ProgressSplitAndPercent)
{
    struct Split {
        ProgressPiece piece, solid, gradient;
    };
    const Split splits[] = {
        {{2, 401}, {2, 337}, {337, 401}},
        {{2, 66}, {2, 2}, {2, 66}},
        {{417, 433}, {417, 417}, {417, 433}},
    };
    for (const Split& s : splits) {
        ProgressPiece solid{}, gradient{};
        SplitProgressPiece(s.piece, solid, gradient);
        EXPECT_EQ(s.solid, solid) << s.piece;
        EXPECT_EQ(s.gradient, gradient) << s.piece;
    }
    struct Percent {
        int64_t value, range;
        int expected;
    };
    const Percent percents[] = {{50, 100, 50}, {1, 3, 33}, {150, 100, 100}, {5, 0, 0}, {int64_t(1) << 40, int64_t(1) << 41, 50}};
    for (const Percent& p : percents)
        EXPECT_EQ(p.expected, ProgressPercent(p.value, p.range)) << p.value << "/" << p.range;
}

TEST(JobRowLayout, DropPositions)
{
    const std::vector<RowRect> rows{{0, 24, 800, 139}, {0, 139, 800, 254}, {0, 254, 800, 369}};
    struct Case {
        const char* what;
        int y;
        bool inside;
        int dragged;
        DropPosition expected;
    };
    const DropPosition none;
    const Case cases[] = {
        {"own upper half", 30, true, 0, none},
        {"own lower half", 100, true, 0, none},
        {"before the next row is where it is", 150, true, 0, none},
        {"after the next row", 200, true, 0, {1, 1}},
        {"before the last row", 300, true, 0, {2, 0}},
        {"below the last row", 500, true, 0, {2, 1}},
        {"above the first row", 5, true, 2, {0, 0}},
        {"after the row before it", 200, true, 2, none},
        {"before the row before it", 150, true, 2, {1, 0}},
        {"below the last row, dragging it", 500, true, 2, none},
        {"outside the client area", 200, false, 0, none},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, DropPositionAt(c.y, c.inside, rows, c.dragged)) << c.what;
    EXPECT_TRUE(DropPositionAt(50, true, {}, 0).IsNone());

    struct Marker {
        DropPosition position;
        RowRect expected;
    };
    const Marker markers[] = {
        {{0, 0}, {0, 24, 800, 25}},
        {{1, 0}, {0, 138, 800, 140}},
        {{1, 1}, {0, 253, 800, 255}},
        {{2, 1}, {0, 368, 800, 369}},
        {none, {}},
    };
    for (const Marker& m : markers)
        EXPECT_EQ(m.expected, DropMarkerRect(m.position, rows)) << m.position.row << " " << m.position.after;
}

TEST(JobRowLayout, RowMoves)
{
    struct Case {
        const char* what;
        int from, to, count, converting;
        bool moves;
        int insertAt, oldRow, finalRow;
    };
    const Case cases[] = {
        {"down past the next", 0, 2, 3, -1, true, 2, 0, 1},
        {"to the end", 0, 3, 3, -1, true, 3, 0, 2},
        {"up to the top", 2, 0, 3, -1, true, 0, 3, 0},
        {"onto itself", 1, 1, 3, -1, false, -1, -1, -1},
        {"right after itself", 1, 2, 3, -1, false, -1, -1, -1},
        {"the row being converted", 0, 2, 3, 0, false, -1, -1, -1},
        {"another row while one converts", 2, 0, 3, 0, true, 0, 3, 0},
        {"no such row", 5, 0, 3, -1, false, -1, -1, -1},
        {"past the end", 0, 4, 3, -1, false, -1, -1, -1},
    };
    for (const Case& c : cases) {
        const RowMove move = PlanRowMove(c.from, c.to, c.count, c.converting);
        EXPECT_EQ(c.moves, move.moves) << c.what;
        EXPECT_EQ(c.insertAt, move.insertAt) << c.what;
        EXPECT_EQ(c.oldRow, move.oldRowAfterInsert) << c.what;
        EXPECT_EQ(c.finalRow, move.finalRow) << c.what;
    }
}

} // namespace
