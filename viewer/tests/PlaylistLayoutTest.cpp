#include <gtest/gtest.h>

#include "GridTestSupport.h"
#include "PlaylistLayout.h"

namespace {

std::string Text(const ViewRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(PlaylistCells, SizeFollowsTheThumbnailAndTheTitle)
{
    struct Case {
        int cx, cy;
        bool title;
        int text, width, height;
    } cases[] = {{200, 200, false, 13, 202, 202}, {200, 200, true, 13, 202, 219}, {100, 150, true, 16, 102, 172}};
    for (const Case& c : cases) {
        ViewSize s = PlaylistCellSize(c.cx, c.cy, c.title, c.text);
        EXPECT_EQ(s.cx, c.width);
        EXPECT_EQ(s.cy, c.height);
    }
}

TEST(PlaylistCells, ButtonsAndTheirHitAreas)
{
    const ViewRect cell{100, 50, 302, 269};   // a 200 x 200 thumbnail with its title
    EXPECT_EQ(Text(ThumbnailBox(cell, 200)), "101,51,301,251");
    CellButtons drawn = GridButtons(cell, 200);
    EXPECT_EQ(Text(drawn.play), "101,219,133,251");
    EXPECT_EQ(Text(drawn.remove), "269,51,301,83");
    CellButtons hit = GridButtonHitAreas(cell, 200);
    EXPECT_EQ(Text(hit.play), "101,223,129,251");
    EXPECT_EQ(Text(hit.remove), "277,51,301,75");
    struct Case {
        int x, y;
        CellButton expected;
    } cases[] = {{110, 240, CellButton::Play}, {131, 240, CellButton::None}, {110, 220, CellButton::None},
                 {290, 60, CellButton::Remove}, {272, 60, CellButton::None}, {290, 80, CellButton::None},
                 {200, 150, CellButton::None}};
    for (const Case& c : cases)
        EXPECT_EQ(ButtonAt(hit, c.x, c.y), c.expected) << c.x << "," << c.y;

    const ViewRect row{0, 26, 500, 52};
    CellButtons list = ListButtons(row);
    EXPECT_EQ(Text(list.play), "4,29,24,49");
    EXPECT_EQ(Text(list.remove), "480,29,500,49");
    EXPECT_EQ(Text(ListIconBox(row)), "28,27,52,51");
}

TEST(PlaylistCells, LabelsStackFromTheBottomRightWhileTheyFit)
{
    const ViewRect box{0, 0, 200, 200};
    // Widths 30 (36 -> 36), 41 (47 -> 48), off, 200 (too wide).
    std::vector<ViewRect> labels = LabelRects(box, {30, 41, -1, 200});
    ASSERT_EQ(labels.size(), 4u);
    EXPECT_EQ(Text(labels[0]), "161,183,197,197");
    EXPECT_EQ(Text(labels[1]), "149,167,197,181");
    EXPECT_TRUE(labels[2].IsEmpty());
    EXPECT_TRUE(labels[3].IsEmpty());
    // A box too low for the second label.
    std::vector<ViewRect> low = LabelRects(ViewRect{0, 0, 200, 30}, {10, 10});
    EXPECT_FALSE(low[0].IsEmpty());
    EXPECT_TRUE(low[1].IsEmpty());
}

// Cells of 202 x 202 with the view's spacing, in a 700-pixel wide view: 3 columns.
class PlaylistGrid : public CFakeGrid {
public:
    explicit PlaylistGrid(int count, int width = 700, int mode = GRID_MODE_GRID) : CFakeGrid(0, mode)
    {
        m_nCellWidth = m_nCellHeight = 202;
        m_nLineHeight = 26;
        m_client = {0, 0, width, 500};
        for (int i = 0; i < count; i++)
            AddItem(nullptr, false);
        UpdateScrollBars();
    }
};

TEST(PlaylistDrag, DropTargetsAroundTheCells)
{
    // Columns at x 16..218, 234..436, 452..654; rows at y 16..218, 234..436.
    struct Case {
        const char* what;
        int mode, width, dragged, x, y;
        int index;
        bool after;
    } cases[] = {
        {"left half of a cell", GRID_MODE_GRID, 700, 4, 250, 100, 1, false},
        {"right half of a cell", GRID_MODE_GRID, 700, 0, 400, 100, 1, true},
        {"onto itself", GRID_MODE_GRID, 700, 1, 300, 100, -1, false},
        {"just after the one before it", GRID_MODE_GRID, 700, 2, 400, 100, -1, false},
        {"just before the one after it", GRID_MODE_GRID, 700, 0, 240, 100, -1, false},
        {"the spacing belongs to the nearer half", GRID_MODE_GRID, 700, 4, 224, 100, 0, true},
        {"left margin of a row", GRID_MODE_GRID, 700, 0, 4, 300, 3, false},
        {"past the last cell of a row", GRID_MODE_GRID, 700, 4, 690, 100, 2, true},
        {"past the last cell of all", GRID_MODE_GRID, 700, 0, 600, 300, 4, true},
        {"below the last row", GRID_MODE_GRID, 700, 0, 100, 480, 3, false},
        {"outside the content", GRID_MODE_GRID, 700, 0, 720, 100, -1, false},
        {"one column: top half", GRID_MODE_GRID, 300, 4, 100, 250, 1, false},
        {"one column: bottom half", GRID_MODE_GRID, 300, 0, 100, 400, 1, true},
        {"list: bottom half", GRID_MODE_LIST, 700, 0, 100, 26 * 2 + 20, 2, true},
        {"list: top half", GRID_MODE_LIST, 700, 4, 100, 26 * 2 + 3, 2, false},
        {"list: below the rows", GRID_MODE_LIST, 700, 0, 100, 480, 4, true},
    };
    for (const Case& c : cases) {
        PlaylistGrid grid(5, c.width, c.mode);
        DropPlace place = FindDropTarget(grid, c.x, c.y, c.dragged);
        EXPECT_EQ(place.index, c.index) << c.what;
        if (place.index >= 0) {
            EXPECT_EQ(place.after, c.after) << c.what;
        }
    }
}

TEST(PlaylistDrag, InsertionBars)
{
    PlaylistGrid grid(5);
    EXPECT_EQ(Text(DropBarRect(grid, DropPlace{1, false})), "225,16,227,218");
    EXPECT_EQ(Text(DropBarRect(grid, DropPlace{1, true})), "443,16,445,218");
    PlaylistGrid column(5, 300);
    EXPECT_EQ(Text(DropBarRect(column, DropPlace{1, false})), "16,225,218,227");
    PlaylistGrid list(5, 700, GRID_MODE_LIST);
    EXPECT_EQ(Text(DropBarRect(list, DropPlace{1, true})), "0,50,700,52");
    EXPECT_EQ(Text(DropBarRect(list, DropPlace{1, false})), "0,26,700,28");
}

TEST(PlaylistDrag, MovingACell)
{
    struct Case {
        int from, to;
        bool moved;
        const char* order;
    } cases[] = {
        {0, 0, false, "ABCDE"}, {0, 1, false, "ABCDE"}, {0, 3, true, "BCADE"}, {0, 5, true, "BCDEA"},
        {4, 0, true, "EABCD"},  {3, 1, true, "ADBCE"},  {2, 9, false, "ABCDE"},
    };
    for (const Case& c : cases) {
        CFakeGrid grid(0);
        static char names[] = "ABCDE";
        for (int i = 0; i < 5; i++)
            grid.AddItem(&names[i], false);
        EXPECT_EQ(MoveCell(grid, c.from, c.to), c.moved) << c.from << " to " << c.to;
        std::string order;
        for (int i = 0; i < 5; i++)
            order += *static_cast<char*>(grid.GetItemData(i));
        EXPECT_EQ(order, c.order) << c.from << " to " << c.to;
    }
}

TEST(PlaylistTypeAhead, FindsByTheTypedCharacters)
{
    const std::vector<CString> names = {L"apple.gif", L"Banana.gif", L"bird.gif", L"blue.gif", L"cat.gif"};
    struct Key {
        wchar_t ch;
        unsigned tick;
        int expected;
    };
    struct Case {
        const char* what;
        std::vector<Key> keys;
    } cases[] = {
        {"first letter, case-insensitive", {{L'B', 1000, 1}}},
        {"second key within 500 ms looks at the second letter", {{L'b', 1000, 1}, {L'i', 1400, 2}}},
        {"a slow second key starts again", {{L'b', 1000, 1}, {L'c', 1600, 4}}},
        {"no match further on starts again at the first letter", {{L'b', 1000, 1}, {L'c', 1100, 4}}},
        {"third letter", {{L'b', 1000, 1}, {L'l', 1100, 3}, {L'u', 1200, 3}}},
        {"nothing matches", {{L'z', 1000, -1}}},
    };
    for (const Case& c : cases) {
        CTypeAhead search;
        for (const Key& k : c.keys)
            EXPECT_EQ(search.Type(names, k.ch, k.tick), k.expected) << c.what;
    }
}

TEST(PlaylistSave, FormatAndNameFromTheFilterAndTheExtension)
{
    struct Case {
        const wchar_t* typed;
        int filter;
        int format;
        const wchar_t* saved;
    } cases[] = {
        {L"C:\\lists\\mine", 1, 1, L"C:\\lists\\mine.playlist"},
        {L"C:\\lists\\mine", 2, 2, L"C:\\lists\\mine.m3u"},
        {L"C:\\lists\\mine", 3, 3, L"C:\\lists\\mine.pls"},
        {L"C:\\lists\\mine.M3U", 1, 2, L"C:\\lists\\mine.M3U"},   // the name's own format
        {L"C:\\lists\\mine.pls", 2, 3, L"C:\\lists\\mine.pls"},
        {L"C:\\lists\\mine.txt", 2, 2, L"C:\\lists\\mine.txt"},
        {L"C:\\lists\\mine", 0, 1, L"C:\\lists\\mine.playlist"},
    };
    for (const Case& c : cases) {
        CString saved;
        EXPECT_EQ(PlaylistSaveFormat(c.typed, c.filter, saved), c.format) << CString(c.typed).ToUtf8();
        EXPECT_EQ(saved, CString(c.saved));
    }
}

TEST(WelcomeWindow, TheButtonsAreCentredAsABlock)
{
    struct Case {
        int width, height, index;
        const char* expected;
    } cases[] = {
        {656, 496, 0, "200,200,296,296"},
        {656, 496, 1, "360,200,456,296"},
        {200, 96, 0, "-28,0,68,96"},   // narrower than the block: the first one starts left of the edge
        {201, 97, 1, "132,0,228,96"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Text(WelcomeButtonRect(c.index, c.width, c.height)), c.expected) << c.width << "x" << c.height;
}

TEST(PlaylistTips, TextsAreCutWithoutSplittingACharacter)
{
    CString longName;
    for (int i = 0; i < 100; i++)
        longName += L'a';
    EXPECT_EQ(CutText(longName, 80).GetLength(), 80);
    EXPECT_EQ(CutText(L"short", 80), CString(L"short"));
    CString wide;
    for (int i = 0; i < 79; i++)
        wide += L'\x4E2D';
    wide += L"\xD83D\xDE00\xD83D\xDE00";   // two characters outside the basic plane
    CString cut = CutText(wide, 80);
    EXPECT_EQ(cut.GetLength(), 79);
    EXPECT_EQ(CutText(wide, 81).GetLength(), 81);
}

} // namespace
