#include <gtest/gtest.h>

#include "FrameRules.h"

namespace {

// ---- the divider ----

struct SplitStep {
    int left, right;         // client area
    int divider;             // where it goes
    int rightWidth, wanted;  // the state afterwards
};

struct SplitCase {
    const char* name;
    SplitState start;
    std::vector<SplitStep> steps;
};

TEST(PlaceDividerTest, KeepsTheRightPaneAndGivesBackACutWidth)
{
    const SplitCase cases[] = {
        {"fits", {300, -1}, {{0, 1000, 700, 300, -1}}},
        {"the client's own left counts for the half", {300, -1}, {{200, 800, 500, 300, -1}}},
        {"exactly half fits", {300, -1}, {{0, 600, 300, 300, -1}}},
        {"narrowed, then widened in two steps",
         {300, -1},
         {{0, 400, 200, 200, 300}, {0, 500, 250, 250, 300}, {0, 800, 500, 300, 300}, {0, 900, 600, 300, -1}}},
        {"a wanted width is given back at once when there is room", {200, 300}, {{0, 1000, 700, 300, 300}}},
        {"no room at all", {300, -1}, {{0, 1, 1, 0, 300}}},
    };
    for (const SplitCase& c : cases) {
        SplitState split = c.start;
        int n = 0;
        for (const SplitStep& s : c.steps) {
            EXPECT_EQ(PlaceDivider(split, s.left, s.right), s.divider) << c.name << " step " << n;
            EXPECT_EQ(split.rightWidth, s.rightWidth) << c.name << " step " << n;
            EXPECT_EQ(split.wanted, s.wanted) << c.name << " step " << n;
            n++;
        }
    }
}

TEST(DragDividerTest, StaysBetweenHalfTheClientAndTheRightEdge)
{
    struct Case {
        int x, left, right;
        int divider, rightWidth;
    } cases[] = {
        {600, 0, 1000, 600, 400},
        {100, 0, 1000, 500, 500},    // at most half
        {1200, 0, 1000, 1000, 0},    // at most the right edge
        {-50, 0, 1000, 500, 500},
        {450, 100, 700, 450, 250},
    };
    for (const Case& c : cases) {
        SplitState split{300, 280};
        EXPECT_EQ(DragDivider(split, c.x, c.left, c.right), c.divider) << c.x;
        EXPECT_EQ(split.rightWidth, c.rightWidth) << c.x;
        EXPECT_EQ(split.wanted, -1) << "a drag forgets the wanted width";
    }
}

TEST(LayoutRulesTest, OnePaneAtATimeShowsOnlyTheActiveOne)
{
    const struct {
        int mode, active, index;
        bool shown;
    } cases[] = {{2, 0, 0, true}, {2, 0, 1, false}, {2, 1, 0, false}, {2, 1, 1, true},
                 {1, 0, 1, true}, {1, 1, 0, true},  {1, -1, 0, true}, {2, -1, 0, false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsPaneShown(c.mode, c.active, c.index), c.shown) << c.mode << " " << c.active << " " << c.index;
}

TEST(LayoutRulesTest, TheFrameFollowsThePaneShown)
{
    const struct {
        int mode;
        bool playlistShown, playing;
        LayoutReaction reaction;
    } cases[] = {
        {1, false, false, {0, -1, 1}},    // docked: the canvas is the play view's, the menu bar shows
        {1, true, true, {0, -1, 1}},
        {2, true, false, {-1, 0, 1}},     // the playlist: the menu bar shows, the button offers play
        {2, true, true, {1, 0, 1}},       // ... and a playing canvas goes along into its cell
        {2, false, false, {0, 1, 0}},     // the play view: no menu bar, the button offers the playlist
        {2, false, true, {0, 1, 0}},
    };
    for (const auto& c : cases) {
        LayoutReaction r = ReactToLayout(c.mode, c.playlistShown, c.playing);
        EXPECT_EQ(r.canvasPane, c.reaction.canvasPane) << c.mode << c.playlistShown << c.playing;
        EXPECT_EQ(r.switchOffers, c.reaction.switchOffers) << c.mode << c.playlistShown << c.playing;
        EXPECT_EQ(r.menuBar, c.reaction.menuBar) << c.mode << c.playlistShown << c.playing;
    }
}

TEST(DragDividerTest, DoubleClickWidthShowsOneColumn) { EXPECT_EQ(DefaultRightPaneWidth(17, 200), 245); }

// ---- the play control bar ----

struct BarCase {
    int width, textWidth;
    bool switchHidden;
    int sliderLeft, sliderRight, saveLeft, switchLeft;
};

TEST(LayoutPlayBarTest, PlacesEveryItem)
{
    const BarCase cases[] = {
        {800, 40, false, 200, 560, 608, 752},
        {800, 40, true, 200, 608, 656, 800},    // the slider gets the switch button's room
        {300, 40, false, 200, 300, 348, 492},   // never below 100
        {1000, 64, false, 200, 736, 808, 952},
    };
    for (const BarCase& c : cases) {
        BarSpan spans[BAR_ITEM_COUNT];
        LayoutPlayBar(c.width, c.textWidth, c.switchHidden, spans);
        EXPECT_EQ(spans[BAR_PLAY].left, 0);
        EXPECT_EQ(spans[BAR_PAUSE].right, 48);
        EXPECT_EQ(spans[BAR_STOP].left, 48);
        EXPECT_EQ(spans[BAR_PREVIOUS].left, 96);
        EXPECT_EQ(spans[BAR_NEXT].right, 192);
        EXPECT_EQ(spans[BAR_SLIDER].left, c.sliderLeft) << c.width;
        EXPECT_EQ(spans[BAR_SLIDER].right, c.sliderRight) << c.width;
        EXPECT_EQ(spans[BAR_POSITION].left, c.sliderRight);
        EXPECT_EQ(spans[BAR_POSITION].right, c.sliderRight + c.textWidth);
        EXPECT_EQ(spans[BAR_SAVE].left, c.saveLeft) << c.width;
        EXPECT_EQ(spans[BAR_ZOOM].left, c.saveLeft + 48);
        EXPECT_EQ(spans[BAR_FULL_SCREEN].left, c.saveLeft + 96);
        EXPECT_EQ(spans[BAR_SWITCH].left, c.switchLeft) << c.width;
    }
}

TEST(LayoutPlayBarTest, OnlyItemsThatFitWholeAreShown)
{
    BarSpan spans[BAR_ITEM_COUNT];
    LayoutPlayBar(500, 40, false, spans);   // the slider keeps 100: the switch button is past the end
    EXPECT_TRUE(PlayBarItemFits(spans[BAR_FULL_SCREEN], 500));
    EXPECT_FALSE(PlayBarItemFits(spans[BAR_SWITCH], 500));
    EXPECT_TRUE(PlayBarItemFits(spans[BAR_SWITCH], 540));
    EXPECT_FALSE(PlayBarItemFits(spans[BAR_SWITCH], 539));
}

TEST(LayoutPlayBarTest, PositionTextIsAtLeastFortyWide)
{
    EXPECT_EQ(PositionTextWidth(10), 40);
    EXPECT_EQ(PositionTextWidth(36), 40);
    EXPECT_EQ(PositionTextWidth(50), 54);
}

TEST(LayoutPlayBarTest, ContextMenuFollowsThePoint)
{
    BarSpan spans[BAR_ITEM_COUNT];
    LayoutPlayBar(800, 40, false, spans);
    const struct {
        int x, popup;
    } cases[] = {{-1, -1}, {0, 3}, {199, 3}, {200, 4}, {600, 4}, {655, 4}, {656, 5}, {751, 5}, {752, 6}, {900, 6}};
    for (const auto& c : cases)
        EXPECT_EQ(PlayBarPopupAt(c.x, spans), c.popup) << c.x;
}

TEST(PositionTextTest, CountsFromOne)
{
    const struct {
        int position, maximum;
        const wchar_t* text;
    } cases[] = {{-1, -1, L"0 / 0"}, {0, 9, L"1 / 10"}, {5, 9, L"6 / 10"}, {12, 9, L"10 / 10"}, {-1, 4, L"0 / 5"}};
    for (const auto& c : cases)
        EXPECT_EQ(PositionText(c.position, c.maximum), CString(c.text)) << c.position << "/" << c.maximum;
}

// ---- texts ----

TEST(WindowTitleTest, NamesTheItemAndItsPlace)
{
    CString name = L"cat.gif";
    EXPECT_EQ(WindowTitle(L"Sorvik", &name, 3, 5), CString(L"cat.gif - 3/5"));
    EXPECT_EQ(WindowTitle(L"Sorvik", &name, 0, 5), CString(L"cat.gif - 0/5"));
    EXPECT_EQ(WindowTitle(L"Sorvik", nullptr, 0, 0), CString(L"Sorvik"));
}

TEST(FileCountTextTest, SingularAndPlural)
{
    EXPECT_EQ(FileCountText(-1), CString());
    EXPECT_EQ(FileCountText(0), CString());
    EXPECT_EQ(FileCountText(1), CString(L"1 File"));
    EXPECT_EQ(FileCountText(2), CString(L"2 Files"));
    EXPECT_EQ(FileCountText(1234), CString(L"1234 Files"));
}

TEST(HintWidthTest, WholePiecesWithinTheWindow)
{
    const struct {
        int textWidth, limit, width;
    } cases[] = {{100, 1000, 132}, {106, 1000, 144}, {0, 1000, 36}, {5000, 640, 636}, {5000, 0, 5028}, {200, 20, 36}};
    for (const auto& c : cases)
        EXPECT_EQ(HintWidth(c.textWidth, c.limit), c.width) << c.textWidth << " in " << c.limit;
}

// ---- shell open ----

TEST(DdeOpenPathsTest, ReadsEveryOpenCommand)
{
    const struct {
        const wchar_t* command;
        std::vector<const wchar_t*> paths;
    } cases[] = {
        {L"[open(\"C:\\pics\\a cat.gif\")]", {L"C:\\pics\\a cat.gif"}},
        {L"[OPEN(\"C:\\a.gif\")][open(\"C:\\b.gif\")]", {L"C:\\a.gif", L"C:\\b.gif"}},
        {L"[open( C:\\plain.gif )]", {L"C:\\plain.gif"}},
        {L"[open(\"say \"\"hi\"\".gif\")]", {L"say \"hi\".gif"}},
        {L"[print(\"C:\\a.gif\")]", {}},
        {L"[open(\"\")]", {}},
        {L"[open(\"C:\\unterminated.gif", {L"C:\\unterminated.gif"}},
        {L"", {}},
    };
    for (const auto& c : cases) {
        CStringArray paths = DdeOpenPaths(c.command);
        ASSERT_EQ(paths.GetSize(), int(c.paths.size())) << CString(c.command).ToUtf8();
        for (int i = 0; i < paths.GetSize(); i++)
            EXPECT_EQ(paths[i], CString(c.paths[size_t(i)]));
    }
}

} // namespace
