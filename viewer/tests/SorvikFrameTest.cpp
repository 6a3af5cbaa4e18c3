#include <gtest/gtest.h>

#include <windows.h>

#include <ddeml.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <vector>

#include "GuiDriving.h"
#include "SorvikProcessTest.h"
#include "SorvikWindows.h"
#include "TestGif.h"
#include "ViewerGuiSupport.h"

namespace {

// The viewer's main window driven as a user drives it: its menu bar, control bar, layout, window
// options, hint and dialogs, checked on the screen, on the window and in the registry.
class SorvikFrameTest : public SorvikProcessTest {
protected:
    HWND m_main = nullptr;

    // Starts the viewer and waits for its window with that title prefix.
    void Open(const CString& arguments, const wchar_t* title)
    {
        ASSERT_TRUE(Start(arguments));
        m_main = WaitForSorvikWindow(title, m_process.dwProcessId, 30000);
        ASSERT_NE(m_main, nullptr) << "no window named " << CString(title).ToUtf8();
        ::SetForegroundWindow(m_main);
        ::Sleep(300);
    }
    void Command(UINT id) { ::PostMessageW(m_main, WM_COMMAND, id, 0); }
    void Close()
    {
        ASSERT_TRUE(m_sorvik.Close(m_main)) << "the viewer did not close by itself";
    }
    HWND Child(HWND parent, int id) const { return ::GetDlgItem(parent, id); }
    HWND MenuBar() const { return Child(m_main, 0xE800); }
    HWND ControlBar() const { return Child(m_main, 59397); }
    static RECT Rect(HWND wnd)
    {
        RECT r{};
        ::GetWindowRect(wnd, &r);
        return r;
    }
    static bool Visible(HWND wnd) { return wnd && ::IsWindowVisible(wnd); }
    static DWORD ReadSetting(const wchar_t* name, DWORD missing = 0xFFFFFFFF)
    {
        DWORD value = missing;
        DWORD size = sizeof value;
        ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Sorvik\\Settings", name, RRF_RT_REG_DWORD, nullptr,
                       &value, &size);
        return value;
    }
    // A visible top-level window of the viewer's process other than the main one, with that class
    // ("#32768" for a menu) or, with a null class, that title.
    struct OtherSearch {
        DWORD process;
        HWND main;
        const wchar_t* windowClass;
        const wchar_t* title;
        HWND found;
    };
    static BOOL CALLBACK VisitOther(HWND wnd, LPARAM param)
    {
        auto* s = reinterpret_cast<OtherSearch*>(param);
        DWORD pid = 0;
        ::GetWindowThreadProcessId(wnd, &pid);
        if (pid != s->process || wnd == s->main || !::IsWindowVisible(wnd))
            return TRUE;
        wchar_t text[256] = L"";
        if (s->windowClass)
            ::GetClassNameW(wnd, text, 256);
        else
            ::GetWindowTextW(wnd, text, 256);
        if (::lstrcmpW(text, s->windowClass ? s->windowClass : s->title) != 0)
            return TRUE;
        s->found = wnd;
        return FALSE;
    }
    HWND OtherWindow(const wchar_t* windowClass, const wchar_t* title) const
    {
        OtherSearch search{m_process.dwProcessId, m_main, windowClass, title, nullptr};
        ::EnumWindows(VisitOther, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    HWND WaitForOther(const wchar_t* windowClass, const wchar_t* title, DWORD ms = 10000) const
    {
        HWND found = nullptr;
        WaitFor([&] { return (found = OtherWindow(windowClass, title)) != nullptr; }, ms);
        return found;
    }
};

bool Near(COLORREF c, COLORREF wanted, int tolerance = 10) { return NearColour(c, wanted, tolerance); }

// The text lines of a popup menu on the screen: the rows that hold pixels far from the menu's
// ground, with, for each line, the columns that do.
struct MenuLines {
    struct Line {
        int top = 0, bottom = 0;
        std::vector<bool> inked;
    };
    std::vector<Line> lines;

    explicit MenuLines(const RECT& r)
    {
        ScreenShot shot(r);
        const COLORREF ground = shot.At(r.left + 3, r.bottom - 3);
        const int width = r.right - r.left;
        Line line;
        for (int y = r.top + 2; y < r.bottom - 2; y++) {
            std::vector<bool> row(size_t(width), false);
            bool any = false;
            for (int x = r.left + 2; x < r.right - 2; x++)
                if (std::abs(Luminance(shot.At(x, y)) - Luminance(ground)) > 80)
                    any = row[size_t(x - r.left)] = true;
            if (any) {
                if (line.inked.empty())
                    line = Line{y, y, row};
                for (size_t i = 0; i < row.size(); i++)
                    line.inked[i] = line.inked[i] || row[i];
                line.bottom = y;
            } else if (!line.inked.empty()) {
                if (line.bottom - line.top >= 5)   // separators are thinner
                    lines.push_back(line);
                line = Line{};
            }
        }
    }
    // The shortcut column: the most common start of ink after a gap of at least 10 pixels.
    int ShortcutColumn() const
    {
        std::map<int, int> starts;
        for (const Line& line : lines) {
            int gap = 0;
            bool seen = false;
            for (size_t x = 0; x < line.inked.size(); x++) {
                if (line.inked[x]) {
                    if (seen && gap >= 10)
                        starts[int(x)]++;
                    seen = true;
                    gap = 0;
                } else {
                    gap++;
                }
            }
        }
        int best = -1, count = 0;
        for (const auto& start : starts)
            if (start.second > count)
                best = start.first, count = start.second;
        return best;
    }
};

TEST_F(SorvikFrameTest, TheDrawnMenuBarShowsCountsFilesAndOpensItsMenus)
{
    ASSERT_TRUE(WriteTestGif(Path("one.gif"), 40, 30, ColourFrames(2, 20)));
    ASSERT_TRUE(WriteTestGif(Path("two.gif"), 40, 30, ColourFrames(2, 20)));
    ASSERT_TRUE(WriteSorvikSetting(L"ViewLayout", 1));   // docked: the menu bar stays while playing
    Open(L"\"" + Path("one.gif") + L"\" \"" + Path("two.gif") + L"\"", L"one.gif - 1/2");
    HWND bar = MenuBar();
    ASSERT_TRUE(Visible(bar));
    RECT r = Rect(bar);
    EXPECT_EQ(r.bottom - r.top, 24);
    ASSERT_TRUE(WaitFor([&] {
        ScreenShot shot(r);
        // The dark ground, light entry texts on the left and the file count at the right end.
        const int ground = shot.Count([](COLORREF c) { return Near(c, RGB(0x20, 0x20, 0x20), 4); });
        ScreenShot right(RECT{r.right - 80, r.top, r.right, r.bottom});
        const int count = right.Count([](COLORREF c) { return GetRValue(c) > 120 && GetGValue(c) > 120; });
        return ground > (r.right - r.left) * 12 && count > 10;
    }, 10000)) << "the menu bar is not drawn dark with its file count";

    // Alt+F opens the File menu; Escape twice closes it.
    PressKeyWith(VK_MENU, 'F');
    HWND popup = WaitForOther(L"#32768", nullptr);
    EXPECT_NE(popup, nullptr) << "Alt+F opened no menu";
    PressKey(VK_ESCAPE);
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return OtherWindow(L"#32768", nullptr) == nullptr; }, 5000));
    // A click on the first entry opens it too.
    ClickAt(r.left + 12, (r.top + r.bottom) / 2);
    EXPECT_NE(WaitForOther(L"#32768", nullptr), nullptr) << "a click on File opened no menu";
    PressKey(VK_ESCAPE);
    PressKey(VK_ESCAPE);
    Close();
}

TEST_F(SorvikFrameTest, TheControlBarIsDrawnAndItsSliderFollowsPlayback)
{
    ASSERT_TRUE(WriteTestGif(Path("long.gif"), 64, 48, ColourFrames(30, 15)));
    Open(L"\"" + Path("long.gif") + L"\"", L"long.gif - 1/1");
    HWND bar = ControlBar();
    ASSERT_TRUE(Visible(bar));
    RECT r = Rect(bar);
    EXPECT_EQ(r.bottom - r.top, 38);
    // The played part of the slider is green; it grows and starts again as the frames go by.
    const RECT slider{r.left + 200, r.top, r.right - 240, r.bottom};
    auto played = [&] {
        ScreenShot shot(slider);
        return shot.Count([](COLORREF c) { return Near(c, RGB(0, 170, 90), 12); });
    };
    std::vector<int> seen;
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 6000) {
        seen.push_back(played());
        ::Sleep(100);
    }
    int most = 0, changes = 0;
    for (size_t i = 0; i < seen.size(); i++) {
        most = std::max(most, seen[i]);
        changes += i > 0 && seen[i] != seen[i - 1];
    }
    EXPECT_GT(most, 100) << "the slider never showed the play position";
    EXPECT_GT(changes, 5) << "the slider did not move with the frames";
    {
        ScreenShot shot(r);
        EXPECT_GT(shot.Count([](COLORREF c) { return Near(c, RGB(0x30, 0x30, 0x30), 3); }), (r.right - r.left) * 10)
            << "the bar's ground is not drawn";
        EXPECT_GT(shot.Count([](COLORREF c) { return Near(c, RGB(0xC0, 0xC0, 0xC0), 8); }), 40)
            << "no button glyphs on the bar";
    }
    Close();
}

TEST_F(SorvikFrameTest, TheControlBarKeepsItsCommandsUpToDateUnderAModalDialog)
{
    ASSERT_TRUE(WriteTestGif(Path("first.gif"), 64, 48, ColourFrames(60, 20)));   // playing all along
    ASSERT_TRUE(WriteTestGif(Path("second.gif"), 64, 48, ColourFrames(2, 20)));
    Open(L"\"" + Path("first.gif") + L"\"", L"first.gif - 1/1");
    const RECT bar = Rect(ControlBar());
    // The next-file button (the fifth 48-pixel button) shows its glyph lit when enabled.
    const RECT next{bar.left + 144 + 8, bar.top + 4, bar.left + 192 - 8, bar.bottom - 4};
    auto nextLit = [&] {
        ScreenShot shot(next);
        return shot.Count([](COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) > 150 && GetBValue(c) > 150; }) > 20;
    };
    ASSERT_TRUE(WaitFor([&] { return !nextLit(); }, 5000)) << "Next File is enabled with one item";
    ::Sleep(500);   // the queue has finished with the first item: a drop is taken
    Command(32806);
    HWND info = WaitForOther(nullptr, L"first.gif");
    ASSERT_NE(info, nullptr) << "no GIF information dialog";
    // An item arrives while the dialog is up: Next File becomes possible, and the bar says so.
    ASSERT_TRUE(m_sorvik.Drop(SorvikPane(m_main, 1), {Path("second.gif")}));
    EXPECT_TRUE(WaitFor(nextLit, 10000)) << "the bar kept its old state under the dialog";
    EXPECT_TRUE(::IsWindowVisible(info));
    ::PostMessageW(info, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(info) || !::IsWindowVisible(info); }, 5000));
    Close();
}

TEST_F(SorvikFrameTest, PopupMenusKeepAGapBeforeTheirShortcutsAndGreyedItemsLegibleUnderThePointer)
{
    ASSERT_TRUE(WriteTestGif(Path("menu.gif"), 64, 48, ColourFrames(60, 20)));
    Open(L"\"" + Path("menu.gif") + L"\"", L"menu.gif - 1/1");
    HWND canvas = SorvikCanvas(m_main);
    ASSERT_NE(canvas, nullptr);
    RECT place = Rect(canvas);
    MoveMouseTo(place.left + 40, place.top + 40);
    ::Sleep(100);
    SendMouse(MOUSEEVENTF_RIGHTDOWN);
    SendMouse(MOUSEEVENTF_RIGHTUP);
    HWND popup = WaitForOther(L"#32768", nullptr);
    ASSERT_NE(popup, nullptr) << "no context menu";
    ::Sleep(300);
    const RECT menu = Rect(popup);
    {
        // "Copy Current Frame to Clipboard" is the longest name: even it ends well before the
        // shortcut column.
        MenuLines shown(menu);
        ASSERT_GE(shown.lines.size(), 10u);
        const int column = shown.ShortcutColumn();
        ASSERT_GT(column, 12);
        for (const auto& line : shown.lines)
            for (int x = column - 12; x < column - 2; x++)   // glyphs may start a pixel or two early
                EXPECT_FALSE(line.inked[size_t(x)]) << "a name touches the shortcuts at line " << line.top - menu.top;
    }
    // "Previous File" (the third line) is greyed with one item; under the pointer it stays legible.
    {
        MenuLines shown(menu);
        ASSERT_GE(shown.lines.size(), 3u);
        const auto& line = shown.lines[2];
        MoveMouseTo(menu.left + 60, (line.top + line.bottom) / 2);
        ::Sleep(400);
        ScreenShot shot(RECT{menu.left + 4, line.top - 2, menu.right - 4, line.bottom + 3});
        std::map<COLORREF, int> colours;
        for (int y = line.top - 2; y < line.bottom + 3; y++)
            for (int x = menu.left + 4; x < menu.right - 4; x++)
                colours[shot.At(x, y)]++;
        COLORREF ground = 0;
        int most = 0;
        for (const auto& c : colours)
            if (c.second > most)
                ground = c.first, most = c.second;
        const int legible = shot.Count([&](COLORREF c) { return std::abs(Luminance(c) - Luminance(ground)) >= 60; });
        EXPECT_GT(legible, 20) << "the greyed item's text is lost on its ground under the pointer";
    }
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return OtherWindow(L"#32768", nullptr) == nullptr; }, 5000));
    Close();
}

TEST_F(SorvikFrameTest, InANarrowWindowTheControlBarsButtonsAreWholeOrNotThere)
{
    Open(L"", L"Sorvik");
    // Widths at which the last button's 48 pixels end past the bar's edge.
    for (int width : {500, 516, 524, 532}) {
        ::SetWindowPos(m_main, HWND_TOP, 10, 10, width, 400, SWP_SHOWWINDOW);
        HWND bar = ControlBar();
        RECT client;
        ::GetClientRect(bar, &client);
        POINT corner{client.right, client.top};
        ::ClientToScreen(bar, &corner);
        // A whole glyph sits in the middle of its button: nothing lit at the bar's very end.
        const RECT edge{corner.x - 6, corner.y, corner.x, corner.y + client.bottom};
        auto lit = [&] {
            ScreenShot shot(edge);
            return shot.Count([](COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) > 150 && GetBValue(c) > 150; });
        };
        ::Sleep(300);
        EXPECT_TRUE(WaitFor([&] { return lit() == 0; }, 3000)) << "a button is cut at " << width << " pixels";
        // The buttons before it are still there.
        ScreenShot shot(RECT{corner.x - client.right, corner.y, corner.x, corner.y + client.bottom});
        EXPECT_GT(shot.Count([](COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) > 150 && GetBValue(c) > 150; }), 100)
            << width;
    }
    Close();
}

TEST_F(SorvikFrameTest, DockingShowsBothPanesWithADividerTheMouseDrags)
{
    ASSERT_TRUE(WriteTestGif(Path("dock.gif"), 40, 30, ColourFrames(60, 20)));   // playing all along
    Open(L"\"" + Path("dock.gif") + L"\"", L"dock.gif - 1/1");
    HWND play = SorvikPane(m_main, 0);
    HWND list = SorvikPane(m_main, 1);
    ASSERT_TRUE(Visible(play));
    EXPECT_FALSE(Visible(list)) << "one pane at a time at first";
    Command(32778);
    EXPECT_FALSE(Visible(MenuBar())) << "the play pane alone has no menu bar";
    ASSERT_TRUE(WaitFor([&] { return Visible(play) && Visible(list); }, 5000)) << "docking did not show both panes";
    EXPECT_TRUE(WaitFor([&] { return Visible(MenuBar()); }, 5000)) << "docked, the menu bar did not come back";
    RECT p = Rect(play), l = Rect(list);
    EXPECT_EQ(p.right, l.left) << "the panes abut";
    EXPECT_GT(p.right - p.left, 0);
    const int width = l.right - l.left;
    // Drag the divider 60 pixels to the left: the playlist grows by as much.
    const int y = (l.top + l.bottom) / 2;
    MoveMouseTo(l.left, y);
    ::Sleep(100);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 6; step++) {
        MoveMouseTo(l.left - step * 10, y);
        ::Sleep(30);
    }
    SendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitFor([&] { return Rect(list).right - Rect(list).left == width + 60; }, 5000))
        << "the playlist is " << Rect(list).right - Rect(list).left << " wide, was " << width;
    // The two panes are moved one after the other: the play pane follows a moment later.
    EXPECT_TRUE(WaitFor([&] { return Rect(play).right == Rect(list).left; }, 5000))
        << Rect(play).right << " against " << Rect(list).left;
    Close();
    EXPECT_EQ(ReadSetting(L"ViewLayout"), 1u);
}

// The play view goes by the layout as it is now, not as it was stored at the start.
TEST_F(SorvikFrameTest, OnceDockedADoubleClickOnThePictureGoesFullScreen)
{
    ASSERT_TRUE(WriteTestGif(Path("docked.gif"), 40, 30, ColourFrames(60, 20)));
    Open(L"\"" + Path("docked.gif") + L"\"", L"docked.gif - 1/1");
    HWND play = SorvikPane(m_main, 0);
    HWND list = SorvikPane(m_main, 1);
    Command(32778);
    ASSERT_TRUE(WaitFor([&] { return Visible(play) && Visible(list); }, 5000)) << "docking did not show both panes";
    ::Sleep(300);
    const RECT p = Rect(play);
    ::Sleep(::GetDoubleClickTime() + 50);
    ClickAt((p.left + p.right) / 2, (p.top + p.bottom) / 2);
    ClickAt((p.left + p.right) / 2, (p.top + p.bottom) / 2);
    // Docked, the menu bar stays: the whole frame covers the screen.
    EXPECT_TRUE(WaitFor([&] {
        RECT client{};
        ::GetClientRect(m_main, &client);
        POINT origin{0, 0};
        ::ClientToScreen(m_main, &origin);
        return origin.x <= 0 && origin.y <= 0 && origin.x + client.right >= ::GetSystemMetrics(SM_CXSCREEN) &&
               origin.y + client.bottom >= ::GetSystemMetrics(SM_CYSCREEN);
    }, 5000)) << "the double click did not go full screen";
    PressKey(VK_ESCAPE);
    Close();
}

TEST_F(SorvikFrameTest, FullScreenCoversTheScreenShowsItsHintAndEscapeGivesTheWindowBack)
{
    ASSERT_TRUE(WriteSorvikSetting(L"AlwaysShowControlBar", 0));
    ASSERT_TRUE(WriteTestGif(Path("full.gif"), 40, 30, ColourFrames(60, 20)));
    Open(L"\"" + Path("full.gif") + L"\"", L"full.gif - 1/1");
    const RECT before = Rect(m_main);
    Command(32782);
    HWND canvasPane = SorvikPane(m_main, 0);
    ASSERT_TRUE(WaitFor([&] {
        RECT client{};
        ::GetClientRect(canvasPane, &client);
        POINT origin{0, 0};
        ::ClientToScreen(canvasPane, &origin);
        return origin.x <= 0 && origin.y <= 0 && origin.x + client.right >= ::GetSystemMetrics(SM_CXSCREEN) &&
               origin.y + client.bottom >= ::GetSystemMetrics(SM_CYSCREEN);
    }, 5000)) << "the play pane does not cover the screen";
    // The control bar went past the bottom edge, and the hint says how to leave.
    EXPECT_GE(Rect(ControlBar()).top, ::GetSystemMetrics(SM_CYSCREEN));
    HWND hint = WaitForOther(nullptr, L"Press Esc or F11 to exit full screen.", 5000);
    ASSERT_NE(hint, nullptr) << "no hint";
    EXPECT_TRUE(::GetWindowLongW(hint, GWL_EXSTYLE) & WS_EX_LAYERED);
    RECT h = Rect(hint);
    EXPECT_EQ(h.bottom - h.top, 48);
    EXPECT_EQ((h.right - h.left) % 12, 0);
    // Escape brings the window back where it was and hides the hint.
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] {
        RECT now = Rect(m_main);
        return ::EqualRect(&now, &before) != FALSE;
    }, 5000)) << "the window did not come back";
    EXPECT_TRUE(WaitFor([&] { return !Visible(hint); }, 3000));
    Close();
    EXPECT_EQ(ReadSetting(L"EscToExitFullScreen"), 9u) << "the hint is counted";
}

TEST_F(SorvikFrameTest, AlwaysOnTopAndTranslucencyApplyAndAreStored)
{
    ASSERT_TRUE(WriteTestGif(Path("top.gif"), 40, 30, ColourFrames(2, 20)));
    Open(L"\"" + Path("top.gif") + L"\"", L"top.gif - 1/1");
    EXPECT_FALSE(::GetWindowLongW(m_main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    Command(32779);
    EXPECT_TRUE(WaitFor([&] { return (::GetWindowLongW(m_main, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, 5000));
    Command(32781);
    ASSERT_TRUE(WaitFor([&] { return (::GetWindowLongW(m_main, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }, 5000));
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(m_main, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 127);
    EXPECT_TRUE(flags & LWA_ALPHA);
    Close();
    EXPECT_EQ(ReadSetting(L"AlwaysOnTop"), 1u);
    EXPECT_EQ(ReadSetting(L"Transparent"), 1u);

    // The next start comes up the same way; turning translucency off makes the window plain.
    Open(L"\"" + Path("top.gif") + L"\"", L"top.gif - 1/1");
    EXPECT_TRUE(::GetWindowLongW(m_main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(::GetWindowLongW(m_main, GWL_EXSTYLE) & WS_EX_LAYERED);
    Command(32781);
    EXPECT_TRUE(WaitFor([&] { return (::GetWindowLongW(m_main, GWL_EXSTYLE) & WS_EX_LAYERED) == 0; }, 5000));
    Close();
    EXPECT_EQ(ReadSetting(L"Transparent"), 0u);
}

TEST_F(SorvikFrameTest, HidingTheControlBarGivesItsRoomToThePanes)
{
    ASSERT_TRUE(WriteTestGif(Path("bar.gif"), 40, 30, ColourFrames(2, 20)));
    Open(L"\"" + Path("bar.gif") + L"\"", L"bar.gif - 1/1");
    HWND layout = Child(m_main, 0xE900);
    const LONG height = Rect(layout).bottom - Rect(layout).top;
    Command(59392);
    ASSERT_TRUE(WaitFor([&] { return !Visible(ControlBar()); }, 5000));
    EXPECT_TRUE(WaitFor([&] { return Rect(layout).bottom - Rect(layout).top == height + 38; }, 5000));
    Command(59392);
    EXPECT_TRUE(WaitFor([&] { return Visible(ControlBar()); }, 5000));
    Close();
}

TEST_F(SorvikFrameTest, TheAboutBoxOpensFromItsCommand)
{
    Open(L"", L"Sorvik");
    Command(57664);
    HWND about = WaitForOther(nullptr, L"About Sorvik");
    ASSERT_NE(about, nullptr) << "no about box";
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(about) || !::IsWindowVisible(about); }, 5000));
    Close();
}

TEST_F(SorvikFrameTest, TheSettingsDialogOpensAndItsOkWritesTheSettings)
{
    Open(L"", L"Sorvik");
    Command(32803);
    HWND settings = WaitForOther(nullptr, L"Settings");
    ASSERT_NE(settings, nullptr) << "no settings dialog";
    EXPECT_EQ(ReadSetting(L"ViewLayout"), 0xFFFFFFFFu) << "nothing is written before OK";
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(settings) || !::IsWindowVisible(settings); }, 5000));
    EXPECT_TRUE(WaitFor([&] { return ReadSetting(L"Thumbnail.cx") == 200; }, 5000)) << "OK did not save the settings";
    Close();
}

TEST_F(SorvikFrameTest, ThumbnailSizesAtTheDialogsBoundsAreTakenAndKeptByTheNextStart)
{
    const struct {
        const wchar_t* width;
        const wchar_t* height;
        DWORD cx, cy;
    } sizes[] = {{L"40", L"30", 40, 30}, {L"400", L"300", 400, 300}};
    for (const auto& size : sizes) {
        Open(L"", L"Sorvik");
        Command(32803);
        HWND settings = WaitForOther(nullptr, L"Settings");
        ASSERT_NE(settings, nullptr) << "no settings dialog";
        ::SetDlgItemTextW(settings, 1027, size.width);
        ::SetDlgItemTextW(settings, 1030, size.height);
        ::PostMessageW(settings, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(settings) || !::IsWindowVisible(settings); }, 5000))
            << "the dialog refused " << size.cx << " x " << size.cy;
        EXPECT_TRUE(WaitFor([&] { return ReadSetting(L"Thumbnail.cx") == size.cx; }, 5000));
        Close();
        // The next start reads them and its end writes them back as they were.
        Open(L"", L"Sorvik");
        Close();
        EXPECT_EQ(ReadSetting(L"Thumbnail.cx"), size.cx);
        EXPECT_EQ(ReadSetting(L"Thumbnail.cy"), size.cy);
    }
}

TEST_F(SorvikFrameTest, TheShellOpensAFileInTheRunningViewer)
{
    ASSERT_TRUE(WriteTestGif(Path("shell open.gif"), 40, 30, ColourFrames(2, 20)));
    Open(L"", L"Sorvik");
    DWORD instance = 0;
    ASSERT_EQ(::DdeInitializeW(&instance, nullptr, APPCMD_CLIENTONLY, 0), UINT(DMLERR_NO_ERROR));
    HSZ service = ::DdeCreateStringHandleW(instance, L"Sorvik", CP_WINUNICODE);
    HSZ topic = ::DdeCreateStringHandleW(instance, L"system", CP_WINUNICODE);
    HCONV conversation = ::DdeConnect(instance, service, topic, nullptr);
    ASSERT_NE(conversation, nullptr) << "the viewer did not answer the shell";
    CString command = L"[open(\"" + Path("shell open.gif") + L"\")]";
    HDDEDATA result = ::DdeClientTransaction(
        reinterpret_cast<BYTE*>(const_cast<wchar_t*>(command.GetString())), DWORD((command.GetLength() + 1) * sizeof(wchar_t)),
        conversation, nullptr, 0, XTYP_EXECUTE, 10000, nullptr);
    EXPECT_NE(result, nullptr) << "the open command was refused";
    ::DdeDisconnect(conversation);
    ::DdeFreeStringHandle(instance, service);
    ::DdeFreeStringHandle(instance, topic);
    ::DdeUninitialize(instance);
    EXPECT_NE(WaitForSorvikWindow(L"shell open.gif - 1/1", m_process.dwProcessId, 20000), nullptr)
        << "the file did not become the current item";
    Close();
}

TEST_F(SorvikFrameTest, APlayedFileGoesOnTheRecentListWhichTheMenuClears)
{
    ASSERT_TRUE(WriteTestGif(Path("recent.gif"), 40, 30, ColourFrames(2, 5)));
    Open(L"\"" + Path("recent.gif") + L"\"", L"recent.gif - 1/1");
    ::Sleep(1000);   // played to its end
    Close();
    const wchar_t* section = L"Software\\Brenmoor\\Sorvik\\Recent\\Files";
    wchar_t first[512] = L"";
    DWORD size = sizeof first;
    ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, section, L"01", RRF_RT_REG_SZ, nullptr, first, &size), ERROR_SUCCESS);
    EXPECT_EQ(CString(first).CompareNoCase(Path("recent.gif")), 0);

    Open(L"", L"Sorvik");
    Command(40000);   // Clear Recent File List
    ::Sleep(300);
    Close();
    size = sizeof first;
    EXPECT_NE(::RegGetValueW(HKEY_CURRENT_USER, section, L"01", RRF_RT_REG_SZ, nullptr, first, &size), ERROR_SUCCESS)
        << "the recent list was not cleared";
}

} // namespace
