#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "SorvikDriving.h"
#include "SorvikProcessTest.h"
#include "ViewerGuiSupport.h"

namespace {

// Commands the playlist view answers (what only a menu reaches).
constexpr UINT kAddFolder = 32777;
constexpr UINT kOpenPlaylist = 32784;
constexpr UINT kSavePlaylist = 32783;
constexpr UINT kRemove = 32780;
constexpr UINT kRemoveAll = 32813;
constexpr UINT kMoveUp = 32788;
constexpr UINT kListView = 32830;
constexpr UINT kGridView = 32829;
constexpr UINT kSmallThumbnails = 32835;
constexpr UINT kMediumThumbnails = 32837;
constexpr int kWelcomeId = 59649;

const COLORREF kSelected = RGB(0, 160, 255);
const COLORREF kBackground = RGB(32, 32, 32);
const COLORREF kHovered = RGB(192, 192, 192);

// One solid colour per file, far apart from each other and from the view's own colours.
const TestFrame kColours[] = {{230, 40, 40, 10}, {40, 210, 60, 10}, {230, 210, 40, 10}, {200, 60, 210, 10}, {40, 210, 220, 10}};

// The viewer without paths on its command line: an empty playlist, its pane the active one.
class SorvikPlaylistTest : public SorvikProcessTest {
protected:
    HWND m_main = nullptr;
    HWND m_list = nullptr;

    void SetUp() override
    {
        SorvikProcessTest::SetUp();
        std::filesystem::create_directories(m_folder / "gifs");
        for (int i = 0; i < 3; i++)
            ASSERT_TRUE(MakeGif(i));
        ASSERT_TRUE(WriteSorvikString(L"LastOpenFolder", Path("gifs")));
        ASSERT_TRUE(WriteSorvikString(L"LastSaveFolder", Folder()));
        ASSERT_TRUE(Start(L""));
        m_main = WaitForSorvikWindow(L"Sorvik", m_process.dwProcessId, 30000);
        ASSERT_NE(m_main, nullptr) << "the viewer did not come up";
        // Wide enough for four cells in the first row.
        ::SetWindowPos(m_main, HWND_TOP, 20, 20, 1040, 720, SWP_SHOWWINDOW);
        ASSERT_TRUE(WaitFor([&] { return (m_list = SorvikPane(m_main, 1)) != nullptr; }));
    }
    void TearDown() override
    {
        if (m_main && ::IsWindow(m_main)) {
            EXPECT_TRUE(m_sorvik.Close(m_main)) << "the viewer did not close cleanly";
        }
        SorvikProcessTest::TearDown();
    }
    CString GifPath(int i) const { return Path("gifs\\" + std::string(1, char('a' + i)) + ".gif"); }
    bool MakeGif(int i) const { return WriteTestGif(GifPath(i), 64, 48, {kColours[i], kColours[i]}); }
    void Command(UINT id) { ::PostMessageW(m_main, WM_COMMAND, id, 0); }

    // Cells of the first row in screen coordinates: 202 wide at 16 + 218 i, the box 1 inside.
    POINT ToScreen(int x, int y) const
    {
        POINT p{x, y};
        ::ClientToScreen(m_list, &p);
        return p;
    }
    POINT CellCentre(int i) const { return ToScreen(16 + 218 * i + 101, 16 + 101); }
    POINT CellFrame(int i) const { return ToScreen(16 + 218 * i, 16 + 101); }
    COLORREF ScreenAt(POINT p) const
    {
        ScreenShot shot(RECT{p.x, p.y, p.x + 1, p.y + 1});
        return shot.At(p.x, p.y);
    }
    bool CellShows(int i, int colour) const { return SameColour(ScreenAt(CellCentre(i)), kColours[colour], 12); }
    bool CellSelected(int i) const { return NearColour(ScreenAt(CellFrame(i)), kSelected, 8); }
    bool CellHovered(int i) const { return NearColour(ScreenAt(CellFrame(i)), kHovered, 8); }
    // The colours of the first `count` cells, in order, as indices into kColours (-1: none).
    std::vector<int> Shown(int count) const
    {
        std::vector<int> shown;
        for (int i = 0; i < count; i++) {
            int found = -1;
            for (int c = 0; c < int(std::size(kColours)); c++)
                if (CellShows(i, c))
                    found = c;
            shown.push_back(found);
        }
        return shown;
    }
    bool WaitForCells(const std::vector<int>& expected, DWORD ms = 20000)
    {
        return WaitFor([&] { return Shown(int(expected.size())) == expected; }, ms);
    }
    std::string Selection(int count) const
    {
        std::string marks;
        for (int i = 0; i < count; i++)
            marks += CellSelected(i) ? 'x' : '.';
        return marks;
    }
    bool WaitForSelection(const std::string& expected)
    {
        return WaitFor([&] { return Selection(int(expected.size())) == expected; }, 5000);
    }
    bool WelcomeShown() const
    {
        HWND welcome = ::GetDlgItem(m_main, kWelcomeId);
        return welcome && ::IsWindowVisible(welcome);
    }
    void ClickCell(int i, WORD modifier = 0)
    {
        POINT p = CellCentre(i);
        MoveMouseTo(p.x, p.y);
        ::Sleep(50);
        if (modifier)
            SendKey(modifier, false);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        SendMouse(MOUSEEVENTF_LEFTUP);
        if (modifier)
            SendKey(modifier, true);
    }
    // The pointer pressed at one point and moved in steps to another, then released. The press
    // waits out the double-click time: on the spot of a click just before, it would be a double
    // click, which plays the item instead.
    void DragMouse(POINT from, POINT to)
    {
        MoveMouseTo(from.x, from.y);
        ::Sleep(::GetDoubleClickTime() + 50);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        MoveMouseInSteps(from, to);
        ::Sleep(100);
        SendMouse(MOUSEEVENTF_LEFTUP);
    }
    static void MoveMouseInSteps(POINT from, POINT to)
    {
        for (int step = 1; step <= 10; step++) {
            MoveMouseTo(from.x + (to.x - from.x) * step / 10, from.y + (to.y - from.y) * step / 10);
            ::Sleep(30);
        }
    }
    // Pixels of a client area of the pane, in screen coordinates, that match.
    int CountIn(RECT client, const std::function<bool(COLORREF)>& match) const
    {
        POINT a = ToScreen(client.left, client.top), b = ToScreen(client.right, client.bottom);
        ScreenShot shot(RECT{a.x, a.y, b.x, b.y});
        return shot.Count(match);
    }
    bool DropGifs(int count)
    {
        std::vector<CString> paths;
        std::vector<int> expected;
        for (int i = 0; i < count; i++) {
            paths.push_back(GifPath(i));
            expected.push_back(i);
        }
        return m_sorvik.Drop(m_list, paths) && WaitForCells(expected);
    }
    // Waits for a dialog of the viewer with that title.
    HWND Dialog(const wchar_t* title) { return WaitForSorvikWindow(title, m_process.dwProcessId, 15000); }
    void SaveAs(const CString& name)
    {
        Command(kSavePlaylist);
        HWND dialog = Dialog(L"Save Playlist");
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(EnterFileName(dialog, name));
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); }));
    }
    std::string FileText(const std::string& name) const
    {
        std::ifstream in(m_folder / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

// The folder dialog walks its tree to the initial folder on a worker: it is done when the tree
// has stopped growing and has a selection.
bool WaitForSettledTree(HWND dialog)
{
    HWND tree = FindDescendant(dialog, -1, L"SysTreeView32");
    if (!tree)
        return false;
    LRESULT count = -1;
    int still = 0;
    return WaitFor([&] {
        LRESULT now = ::SendMessageW(tree, TVM_GETCOUNT, 0, 0);
        const bool selected = ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) != 0;
        still = now == count && selected ? still + 1 : 0;
        count = now;
        return still >= 25;   // half a second without change
    }, 20000);
}

TEST_F(SorvikPlaylistTest, TheWelcomeWindowStandsInForAnEmptyPlaylistAndAFolderBecomesAGrid)
{
    ASSERT_TRUE(WaitFor([&] { return WelcomeShown(); })) << "no welcome window over the empty playlist";
    HWND welcome = ::GetDlgItem(m_main, kWelcomeId);
    RECT area;
    ::GetWindowRect(welcome, &area);
    ScreenShot shot(area);
    EXPECT_GT(shot.Count([](COLORREF c) { return NearColour(c, kBackground, 2); }), 10000) << "the dark background";
    // The two pictures: grey line art on the two buttons in the middle.
    EXPECT_GT(shot.Count([](COLORREF c) { return NearColour(c, RGB(160, 160, 160), 12); }), 200) << "the button pictures";

    Command(kAddFolder);
    HWND dialog = Dialog(L"Add Folder");
    ASSERT_NE(dialog, nullptr) << "no folder dialog";
    ASSERT_TRUE(WaitForSettledTree(dialog));
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitForCells({0, 1, 2})) << "the three thumbnails never showed";
    EXPECT_FALSE(WelcomeShown());
    EXPECT_TRUE(NearColour(ScreenAt(ToScreen(8, 8)), kBackground, 2)) << "the grid's background";
    EXPECT_EQ(Selection(3), "...");

    Command(kRemoveAll);
    ASSERT_TRUE(WaitFor([&] { return WelcomeShown(); })) << "emptied, the welcome window comes back";
}

TEST_F(SorvikPlaylistTest, CellsAreSelectedByClicksArrowKeysAndTheRubberBand)
{
    ASSERT_TRUE(DropGifs(3));
    ClickCell(0);
    ASSERT_TRUE(WaitForSelection("x..")) << Selection(3);
    // The arrow keys move the selection in the grid, they do not step frames there.
    PressKey(VK_RIGHT);
    ASSERT_TRUE(WaitForSelection(".x.")) << Selection(3);
    PressKeyWith(VK_SHIFT, VK_RIGHT);
    ASSERT_TRUE(WaitForSelection(".xx")) << Selection(3);
    // Left goes on from the focus, which Shift moved to the third cell.
    PressKey(VK_LEFT);
    ASSERT_TRUE(WaitForSelection(".x.")) << Selection(3);
    PressKey(VK_LEFT);
    ASSERT_TRUE(WaitForSelection("x..")) << Selection(3);
    ClickCell(2, VK_CONTROL);
    ASSERT_TRUE(WaitForSelection("x.x")) << Selection(3);
    ClickCell(1, VK_SHIFT);
    ASSERT_TRUE(WaitForSelection(".xx")) << Selection(3);

    // A band from the empty space below the cells over the first two.
    DragMouse(ToScreen(8, 420), ToScreen(16 + 218 + 100, 100));
    ASSERT_TRUE(WaitForSelection("xx.")) << Selection(3);
    // A click on empty space clears the selection.
    POINT empty = ToScreen(8, 420);
    ClickAt(empty.x, empty.y);
    ASSERT_TRUE(WaitForSelection("...")) << Selection(3);
}

TEST_F(SorvikPlaylistTest, RemoveAndReorder)
{
    ASSERT_TRUE(DropGifs(3));
    // Dragging the first cell onto the right half of the second puts it after the second.
    ClickCell(0);
    ASSERT_TRUE(WaitForSelection("x.."));
    DragMouse(CellCentre(0), ToScreen(16 + 218 + 160, 100));
    ASSERT_TRUE(WaitForCells({1, 0, 2})) << "the dragged item did not move";
    // Move Up puts the selected item back.
    ClickCell(1);
    Command(kMoveUp);
    ASSERT_TRUE(WaitForCells({0, 1, 2}));
    // Remove takes exactly the selected items.
    ClickCell(0);
    ClickCell(2, VK_CONTROL);
    ASSERT_TRUE(WaitForSelection("x.x"));
    Command(kRemove);
    ASSERT_TRUE(WaitForCells({1, -1})) << "only the middle one stays";
}

TEST_F(SorvikPlaylistTest, ADraggedItemsCellIsBlankAndNoMarksStayWhereItsImagePassed)
{
    ASSERT_TRUE(DropGifs(3));
    // From off the cells: the pointer may rest on the cell where an earlier case left it, and
    // without a move there the cell is not hovered, which a drag needs.
    const POINT empty = ToScreen(8, 420);
    MoveMouseTo(empty.x, empty.y);
    ::Sleep(50);
    ClickCell(2);
    ASSERT_TRUE(WaitForSelection("..x"));
    // Pressed on the third cell and moved below the cells, the button still held: its cell is
    // the view's background only, thumbnail, frame and name gone.
    const POINT from = CellCentre(2);
    const POINT below = ToScreen(16 + 218 * 2 + 101, 16 + 101 + 300);
    MoveMouseTo(from.x, from.y);
    ::Sleep(::GetDoubleClickTime() + 50);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    MoveMouseInSteps(from, below);
    const RECT cell{16 + 218 * 2, 16, 16 + 218 * 2 + 202, 16 + 202};
    auto background = [](COLORREF c) { return NearColour(c, kBackground, 2); };
    EXPECT_TRUE(WaitFor([&] { return CountIn(cell, background) == 202 * 202; }, 3000))
        << CountIn(cell, background) << " of " << 202 * 202 << " pixels of the dragged cell are blank";

    SendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitForCells({0, 1, 2})) << "let go in the view's empty part, nothing moves";

    // In the list, the last row out of the window past its bottom-right corner: nothing black
    // over the pane's empty part or the control bar, neither while the image is out there nor
    // after the release.
    Command(kListView);
    const POINT row = ToScreen(300, 2 * 26 + 13);
    ASSERT_TRUE(WaitFor([&] { return SameColour(ScreenAt(ToScreen(28 + 12, 2 * 26 + 13)), kColours[2], 12); }));
    RECT frame;
    ::GetWindowRect(m_main, &frame);
    const POINT outside{frame.right + 60, frame.bottom + 60};
    MoveMouseTo(row.x, row.y);
    ::Sleep(::GetDoubleClickTime() + 50);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    MoveMouseInSteps(row, outside);
    ::Sleep(300);
    RECT pane;
    ::GetClientRect(m_list, &pane);
    const RECT underRows{0, 3 * 26 + 8, pane.right, pane.bottom};
    HWND bar = ::GetDlgItem(m_main, 59397);
    RECT barRect;
    ::GetWindowRect(bar, &barRect);
    auto black = [](COLORREF c) { return NearColour(c, RGB(0, 0, 0), 6); };
    auto barBlack = [&] {
        ScreenShot shot(barRect);
        return shot.Count(black);
    };
    EXPECT_EQ(CountIn(underRows, black), 0) << "black over the pane while the image is outside";
    EXPECT_EQ(barBlack(), 0) << "black over the control bar while the image is outside";
    SendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitFor([&] { return !SameColour(ScreenAt(ToScreen(28 + 12, 2 * 26 + 13)), kColours[2], 12); }))
        << "dropped outside the window, the item goes";
    ::Sleep(500);
    EXPECT_EQ(CountIn(underRows, black), 0) << "black left over the pane";
    EXPECT_EQ(barBlack(), 0) << "black left over the control bar";
}

TEST_F(SorvikPlaylistTest, ThePointerOnTheCanvasPlayingInACellHoversThatCell)
{
    ASSERT_TRUE(DropGifs(3));
    // From off the cells (the pointer may rest where an earlier case left it: no move there).
    const POINT empty = ToScreen(8, 420);
    const POINT centre = CellCentre(1);
    MoveMouseTo(empty.x, empty.y);
    ::Sleep(50);
    MoveMouseTo(centre.x, centre.y);
    ASSERT_TRUE(WaitFor([&] { return CellHovered(1); }, 5000)) << "the cell itself shows no hover";
    // The hovered cell's play button (bottom left of its thumbnail) with the right button plays
    // the item in its cell: the canvas covers the thumbnail, inside the cell's frame.
    const POINT play = ToScreen(16 + 218 + 1 + 14, 16 + 1 + 200 - 14);
    MoveMouseTo(play.x, play.y);
    ::Sleep(100);
    SendMouse(MOUSEEVENTF_RIGHTDOWN);
    SendMouse(MOUSEEVENTF_RIGHTUP);
    HWND canvas = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (canvas = ::GetDlgItem(m_list, 1)) != nullptr && ::IsWindowVisible(canvas); }))
        << "the item did not play in its cell";
    RECT place;
    ::GetWindowRect(canvas, &place);
    EXPECT_EQ(place.left, ToScreen(16 + 218 + 1, 0).x) << "the canvas is not on the second cell";

    // Off the cells nothing is hovered, and a click there leaves no selection to hide the hover.
    ClickAt(empty.x, empty.y);
    ASSERT_TRUE(WaitFor([&] { return Selection(3) == "..." && !CellHovered(1); }, 5000)) << Selection(3);
    // Straight onto the canvas: its cell is the hovered one, until the pointer leaves again.
    MoveMouseTo(centre.x, centre.y);
    EXPECT_TRUE(WaitFor([&] { return CellHovered(1); }, 5000)) << "the canvas's cell shows no hover";
    EXPECT_FALSE(CellHovered(0) || CellHovered(2));
    MoveMouseTo(empty.x, empty.y);
    EXPECT_TRUE(WaitFor([&] { return !CellHovered(1); }, 5000)) << "the hover stayed after the pointer left the canvas";

    // A click on the canvas is a click on its cell; a double click goes on in the play view.
    ClickAt(centre.x, centre.y);
    EXPECT_TRUE(WaitForSelection(".x.")) << Selection(3);
    ::Sleep(::GetDoubleClickTime() + 50);
    ClickAt(centre.x, centre.y);
    ClickAt(centre.x, centre.y);
    EXPECT_TRUE(WaitFor([&] { return ::GetParent(canvas) == SorvikPane(m_main, 0) && !::IsWindowVisible(m_list); }))
        << "the double click did not show the play view";
}

TEST_F(SorvikPlaylistTest, PlaylistsAreSavedInEachFormatAndOpenAgain)
{
    ASSERT_TRUE(DropGifs(3));
    struct Case {
        const char* typed;
        const char* file;
        const char* mark;
    } cases[] = {
        {"kept.m3u", "kept.m3u", "b.gif"},
        {"kept.pls", "kept.pls", "File2="},
        {"kept", "kept.playlist", "<"},   // no extension: the chosen filter's, ".playlist"
    };
    for (const Case& c : cases) {
        SaveAs(Path(c.typed));
        ASSERT_TRUE(WaitFor([&] { return FileText(c.file).find(c.mark) != std::string::npos; }))
            << c.file << " was not written: " << FileText(c.file);
        for (int i = 0; i < 3; i++)
            EXPECT_NE(FileText(c.file).find(std::string(1, char('a' + i)) + ".gif"), std::string::npos) << c.file;
    }
    EXPECT_EQ(FileText("kept.m3u").find("<?xml"), std::string::npos) << "an .m3u name holds M3U, not XML";

    for (const char* file : {"kept.m3u", "kept.pls", "kept.playlist"}) {
        Command(kRemoveAll);
        ASSERT_TRUE(WaitFor([&] { return WelcomeShown(); }));
        Command(kOpenPlaylist);
        HWND dialog = Dialog(L"Open Playlist");
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(EnterFileName(dialog, Path(file)));
        ASSERT_TRUE(WaitForCells({0, 1, 2})) << file << " did not open again";
    }
}

TEST_F(SorvikPlaylistTest, ListsAreSavedInTheCodePageAndOneItCannotHoldIsRefused)
{
    const CString latin = Path("gifs") + L"\\caf\u00E9.gif";
    const CString japanese = Path("gifs") + L"\\\u65E5\u672C.gif";
    ASSERT_TRUE(WriteTestGif(latin, 64, 48, {kColours[3], kColours[3]}));
    ASSERT_TRUE(WriteTestGif(japanese, 64, 48, {kColours[4], kColours[4]}));
    ASSERT_TRUE(m_sorvik.Drop(m_list, {latin}));
    ASSERT_TRUE(WaitForCells({3}));
    // The code page holds the name: its own bytes, no byte-order mark.
    SaveAs(Path("latin.m3u"));
    ASSERT_TRUE(WaitFor([&] { return !FileText("latin.m3u").empty(); })) << "latin.m3u was not written";
    EXPECT_NE(FileText("latin.m3u").find("caf\xE9.gif\n"), std::string::npos) << FileText("latin.m3u");
    EXPECT_NE(FileText("latin.m3u").rfind("\xEF\xBB\xBF", 0), 0u) << "a byte-order mark";

    ASSERT_TRUE(m_sorvik.Drop(m_list, {japanese}));
    ASSERT_TRUE(WaitForCells({3, 4}));
    for (const char* name : {"japanese.m3u", "japanese.pls"}) {
        SaveAs(Path(name));
        // A name the code page cannot hold would come back as another name: the save says no.
        ASSERT_TRUE(WaitFor([&] { return OtherVisibleWindows(m_process.dwProcessId, m_main) > 0; }))
            << name << ": no word that the playlist was not saved";
        PressKey(VK_RETURN);
        ASSERT_TRUE(WaitFor([&] { return OtherVisibleWindows(m_process.dwProcessId, m_main) == 0; }));
        EXPECT_FALSE(std::filesystem::exists(m_folder / name)) << name << " was written";
    }
}

TEST_F(SorvikPlaylistTest, JapaneseNamesAreDrawnInTheirOwnGlyphs)
{
    // Two names of the same characters in another order: drawn as glyphs they differ, drawn as
    // the boxes of a font without them they are the same.
    const CString first = Path("gifs") + L"\\\u65E5\u672C.gif", second = Path("gifs") + L"\\\u672C\u65E5.gif";
    ASSERT_TRUE(WriteTestGif(first, 64, 48, {kColours[3], kColours[3]}));
    ASSERT_TRUE(WriteTestGif(second, 64, 48, {kColours[4], kColours[4]}));
    ASSERT_TRUE(m_sorvik.Drop(m_list, {first, second}));
    ASSERT_TRUE(WaitForCells({3, 4}));
    const POINT away = ToScreen(8, 420);
    MoveMouseTo(away.x, away.y);
    ::Sleep(300);
    auto title = [&](int i) {
        POINT a = ToScreen(16 + 218 * i, 16 + 202 + 2), b = ToScreen(16 + 218 * i + 202, 16 + 202 + 24);
        ScreenShot shot(RECT{a.x, a.y, b.x, b.y});
        std::vector<bool> ink;
        for (int y = a.y; y < b.y; y++)
            for (int x = a.x; x < b.x; x++)
                ink.push_back(Luminance(shot.At(x, y)) > 90);
        return ink;
    };
    const std::vector<bool> one = title(0), two = title(1);
    int inked = 0, different = 0;
    for (size_t i = 0; i < one.size(); i++) {
        inked += one[i];
        different += one[i] != two[i];
    }
    EXPECT_GT(inked, 40) << "no name under the first cell";
    EXPECT_GT(different, 40) << "the two names look the same: boxes instead of glyphs";
}

TEST_F(SorvikPlaylistTest, TheListStyleShowsRowsAndGoesBackToTheGrid)
{
    ASSERT_TRUE(DropGifs(2));
    Command(kListView);
    // Rows of 26 pixels: the 24 x 24 icon box at 28 from the left holds the thumbnail's colour.
    ASSERT_TRUE(WaitFor([&] {
        return SameColour(ScreenAt(ToScreen(28 + 12, 13)), kColours[0], 12) &&
               SameColour(ScreenAt(ToScreen(28 + 12, 26 + 13)), kColours[1], 12);
    })) << "no rows";
    Command(kGridView);
    ASSERT_TRUE(WaitForCells({0, 1}));
}

TEST_F(SorvikPlaylistTest, TheMediumSizeCommandResizesTheThumbnailsAndPlaysNothing)
{
    ASSERT_TRUE(DropGifs(3));
    Command(kSmallThumbnails);
    // 100 x 100 boxes: the third cell's centre moves to 16 + 2 x 118 + 51.
    ASSERT_TRUE(WaitFor([&] {
        return SameColour(ScreenAt(ToScreen(16 + 2 * 118 + 51, 67)), kColours[2], 12);
    })) << "the small size did not take";
    Command(kMediumThumbnails);
    ASSERT_TRUE(WaitForCells({0, 1, 2})) << "back to 200 x 200";
    wchar_t title[256] = L"";
    ::GetWindowTextW(m_main, title, 256);
    EXPECT_STREQ(title, L"Sorvik") << "the size command started playback";
}

struct TipSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK VisitTip(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<TipSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    wchar_t name[64] = L"";
    ::GetClassNameW(wnd, name, 64);
    if (pid == search->processId && ::IsWindowVisible(wnd) && ::lstrcmpiW(name, TOOLTIPS_CLASSW) == 0) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

TEST_F(SorvikPlaylistTest, ALongNonLatinNameIsCutInItsTooltip)
{
    // As long as a name can be where Wine keeps it: 80 characters of three UTF-8 bytes each and
    // ".gif" fill most of the 255 bytes a Linux name may have.
    CString name;
    for (int i = 0; i < 80; i++)
        name += wchar_t(0x6F22 + i % 7);
    std::filesystem::create_directories(m_folder / "long");
    const CString path = Path("long") + L"\\" + name + L".gif";
    ASSERT_TRUE(WriteTestGif(path, 64, 48, {kColours[3], kColours[3]}));
    ASSERT_TRUE(m_sorvik.Drop(m_list, {path}));
    ASSERT_TRUE(WaitFor([&] { return CellShows(0, 3); }, 20000));
    POINT p = CellCentre(0);
    TipSearch search{m_process.dwProcessId, nullptr};
    // A tip shows once the pointer has rested on the tool for the initial delay, which is the
    // double-click time; every move starts that wait again.
    ASSERT_TRUE(WaitFor([&] {
        MoveMouseTo(p.x, p.y + 1);
        ::Sleep(150);
        MoveMouseTo(p.x, p.y);
        ::Sleep(::GetDoubleClickTime() + 400);
        search.found = nullptr;
        ::EnumWindows(VisitTip, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    }, 15000)) << "no tooltip over the cell";
    wchar_t text[512] = L"";
    ::SendMessageW(search.found, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(CString(text), path.Left(80)) << "the full path, cut to 80 characters";
}

} // namespace
