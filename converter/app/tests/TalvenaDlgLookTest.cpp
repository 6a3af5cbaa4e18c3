// What the main dialog is made of, as the user meets it: its two toolbars with their buttons,
// texts and tips, its keys, the texts of its menus and the popups its buttons and the list open,
// the shape it opens in, the about box, and the colour and progress setters of the run.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "DialogsRes.h"
#include "JobStates.h"
#include "MessageBoxAnswerer.h"
#include "TalvenaDlgTestSupport.h"

namespace {

using TalvenaDlgLookTest = MainDialogTest<CTalvenaDlg>;

// Notes the commands the list's gestures post, without running them (most open a window).
class RecordingDlg : public CTalvenaDlg {
public:
    using CTalvenaDlg::CTalvenaDlg;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND && lParam == 0 && LOWORD(wParam) >= ID_OPEN_NEW_WINDOW && LOWORD(wParam) <= ID_MEDIA_INFO) {
            m_commands.push_back(LOWORD(wParam));
            return 0;
        }
        return CTalvenaDlg::WindowProc(message, wParam, lParam);
    }
    std::vector<UINT> m_commands;
};

using TalvenaDlgGestureTest = MainDialogTest<RecordingDlg>;

std::wstring ItemText(HMENU menu, UINT position)
{
    wchar_t text[128] = L"";
    ::GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
    return text;
}

// Every command of a menu and its sub-menus with the texts it is shown under.
void CollectTexts(HMENU menu, std::map<UINT, std::vector<std::wstring>>& texts)
{
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = ::GetSubMenu(menu, i))
            CollectTexts(sub, texts);
        else if (const UINT id = ::GetMenuItemID(menu, i); id != 0 && id != static_cast<UINT>(-1))
            texts[id].push_back(ItemText(menu, static_cast<UINT>(i)));
    }
}

// Polls from a thread of the test's own (the window's thread is inside a modal loop).
bool PollFor(const std::function<bool()>& done, DWORD timeoutMs = 15000)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() > end)
            return false;
        ::Sleep(20);
    }
    return true;
}

// A popup menu as it was tracked: its commands in order and its default one.
struct TrackedMenu {
    std::vector<UINT> ids;
    UINT defaultId = static_cast<UINT>(-1);
    bool seen = false;
};

BOOL CALLBACK FindPopupMenu(HWND window, LPARAM data)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = L"";
    ::GetClassNameW(window, className, 16);
    if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) && lstrcmpW(className, L"#32768") == 0) {
        *reinterpret_cast<HWND*>(data) = window;
        return FALSE;
    }
    return TRUE;
}

// Runs `open` (which tracks a popup menu on this thread) while another thread reads the menu
// and closes it with Escape.
TrackedMenu ReadTrackedMenu(const std::function<void()>& open)
{
    TrackedMenu tracked;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        HWND window = nullptr;
        PollFor([&] { return done || (::EnumWindows(FindPopupMenu, reinterpret_cast<LPARAM>(&window)), window != nullptr); }, 15000);
        if (!window)
            return;
        const auto menu = reinterpret_cast<HMENU>(::SendMessageW(window, MN_GETHMENU, 0, 0));
        if (menu) {
            tracked.seen = true;
            for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
                tracked.ids.push_back(::GetMenuItemID(menu, i));
            tracked.defaultId = ::GetMenuDefaultItem(menu, FALSE, 0);
        }
        while (!done && ::IsWindow(window) && ::IsWindowVisible(window)) {
            ::PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
            ::Sleep(50);
        }
    });
    open();
    done = true;
    reader.join();
    return tracked;
}

bool Holds(const TrackedMenu& menu, UINT id)
{
    for (UINT held : menu.ids)
        if (held == id)
            return true;
    return false;
}

TEST_F(TalvenaDlgLookTest, TheToolbarsHoldTheirButtonsTextsAndDropDowns)
{
    CTalvenaDlg& dialog = Open();
    CToolBar& menuBar = dialog.m_menuToolBar;
    CToolBar& listBar = dialog.m_listToolBar;
    EXPECT_EQ(IDW_MENU_TOOLBAR, menuBar.GetDlgCtrlID());
    EXPECT_EQ(IDW_LIST_TOOLBAR, listBar.GetDlgCtrlID());

    ASSERT_EQ(1, menuBar.SendMessage(TB_BUTTONCOUNT));
    EXPECT_EQ(static_cast<UINT>(ID_MENU), menuBar.GetItemID(0));
    EXPECT_TRUE(menuBar.GetButtonStyle(ID_MENU) & BTNS_DROPDOWN);
    EXPECT_TRUE(menuBar.GetStyle() & TBSTYLE_FLAT);
    EXPECT_TRUE(menuBar.GetStyle() & TBSTYLE_TRANSPARENT);
    EXPECT_TRUE(menuBar.GetStyle() & TBSTYLE_TOOLTIPS);

    const std::vector<UINT> listButtons = {ID_ADD_GIF, ID_ADD_FOLDER, ID_REMOVE, ID_REMOVE_ALL, 0, ID_LIST_TOOL_SPARE, ID_MORE};
    ASSERT_EQ(static_cast<LRESULT>(listButtons.size()), listBar.SendMessage(TB_BUTTONCOUNT));
    for (size_t i = 0; i < listButtons.size(); ++i)
        EXPECT_EQ(listButtons[i], listBar.GetItemID(static_cast<int>(i))) << i;
    EXPECT_TRUE(listBar.GetStyle() & TBSTYLE_LIST);
    EXPECT_TRUE(listBar.GetStyle() & TBSTYLE_FLAT);
    const DWORD extended = static_cast<DWORD>(listBar.SendMessage(TB_GETEXTENDEDSTYLE));
    EXPECT_EQ(static_cast<DWORD>(TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS | TBSTYLE_EX_HIDECLIPPEDBUTTONS),
              extended & (TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS | TBSTYLE_EX_HIDECLIPPEDBUTTONS));
    EXPECT_TRUE(listBar.GetButtonStyle(ID_MORE) & BTNS_WHOLEDROPDOWN);
    const struct {
        UINT id;
        const wchar_t* text;
    } texts[] = {{ID_ADD_GIF, L"Add GIF"}, {ID_ADD_FOLDER, L"Add Folder"}, {ID_REMOVE, L"Remove"}, {ID_REMOVE_ALL, L"Remove All"}};
    for (const auto& t : texts) {
        EXPECT_EQ(CString(t.text), listBar.GetButtonText(t.id)) << t.id;
        EXPECT_TRUE(listBar.GetButtonStyle(t.id) & BTNS_SHOWTEXT) << t.id;
    }
    EXPECT_FALSE(listBar.GetButtonStyle(ID_MORE) & BTNS_SHOWTEXT);
    // The idle update: both drop-down buttons stay usable, the spare one has no handler.
    dialog.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_TRUE(menuBar.SendMessage(TB_ISBUTTONENABLED, ID_MENU));
    EXPECT_TRUE(listBar.SendMessage(TB_ISBUTTONENABLED, ID_MORE));
    EXPECT_FALSE(listBar.SendMessage(TB_ISBUTTONENABLED, ID_LIST_TOOL_SPARE));
    // 24 x 24 pictures, enabled and disabled; the menu button's are 32 x 24.
    int cx = 0, cy = 0;
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(listBar.SendMessage(TB_GETIMAGELIST)), &cx, &cy);
    EXPECT_EQ(24, cx);
    EXPECT_EQ(24, cy);
    EXPECT_NE(0, listBar.SendMessage(TB_GETDISABLEDIMAGELIST));
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(menuBar.SendMessage(TB_GETIMAGELIST)), &cx, &cy);
    EXPECT_EQ(32, cx);
    EXPECT_EQ(24, cy);
}

TEST_F(TalvenaDlgLookTest, ToolbarTipsComeFromTheStringTable)
{
    CTalvenaDlg& dialog = Open();
    const HWND tips = reinterpret_cast<HWND>(dialog.m_listToolBar.SendMessage(TB_GETTOOLTIPS));
    const struct {
        UINT id;
        const wchar_t* tip;
    } cases[] = {
        {ID_ADD_GIF, L"Add GIF files to convert (Insert)"},
        {ID_ADD_FOLDER, L"Add GIF files in a folder to convert (Ctrl+Insert)"},
        {ID_REMOVE, L"Remove selected items (Delete)"},
        {ID_REMOVE_ALL, L"Remove all items (Ctrl+Delete)"},
        {ID_ADD_TO_ITUNES_ROW, L"Add output videos to iTunes"},
        {ID_PLAY_OUTPUT, L"Play output video files (Ctrl+P)"},
        {ID_MORE, L"More..."},
        {ID_MENU, L"Menu"},
        {ID_LIST_TOOL_SPARE, L""},
    };
    for (const auto& c : cases) {
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = tips;
        info.hdr.idFrom = c.id;
        info.hdr.code = TTN_GETDISPINFOW;
        dialog.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(std::wstring(c.tip), info.lpszText ? std::wstring(info.lpszText) : std::wstring()) << c.id;
    }
}

TEST_F(TalvenaDlgLookTest, TheKeysOfTheWindow)
{
    CTalvenaDlg& dialog = Open();
    ASSERT_NE(nullptr, dialog.m_accelerators);
    ACCEL keys[16];
    const int count = CopyAcceleratorTableW(dialog.m_accelerators, keys, 16);
    std::map<std::pair<BYTE, WORD>, WORD> table;
    for (int i = 0; i < count; ++i)
        table[{static_cast<BYTE>(keys[i].fVirt & (FCONTROL | FSHIFT | FALT)), keys[i].key}] = keys[i].cmd;
    const struct {
        BYTE modifiers;
        WORD key;
        WORD command;
    } expected[] = {
        {FCONTROL, 'A', ID_SELECT_ALL_ROWS}, {FCONTROL, 'N', ID_ADD_GIF},     {FCONTROL, 'P', ID_PLAY_OUTPUT},
        {0, VK_INSERT, ID_ADD_GIF},          {FCONTROL, VK_INSERT, ID_ADD_FOLDER},
    };
    for (const auto& e : expected) {
        const std::pair<BYTE, WORD> key(e.modifiers, e.key);
        EXPECT_EQ(e.command, table[key]) << e.key;
    }
}

TEST_F(TalvenaDlgLookTest, MenusShowEachCommandUnderItsText)
{
    CMenu menus;
    ASSERT_TRUE(menus.LoadMenu(IDR_DIALOG_MENUS));
    ASSERT_EQ(5, ::GetMenuItemCount(menus.m_hMenu)) << "main, more, dialog, list background, row";
    std::map<UINT, std::vector<std::wstring>> texts;
    CollectTexts(menus.m_hMenu, texts);
    const struct {
        UINT id;
        const wchar_t* text;
    } cases[] = {
        {ID_CONVERT_MENU, L"Convert"},
        {ID_STOP_MENU, L"Stop"},
        {ID_FORMAT_MANAGER, L"Video/Audio Formats..."},
        {ID_AUTO_PLAY, L"Auto play output videos when completed"},
        {ID_AUTO_OPEN, L"Auto open output folder when completed"},
        {ID_ADD_GIF, L"Add GIF\tInsert"},
        {ID_ADD_FOLDER, L"Add Folder\tCtrl+Insert"},
        {ID_REMOVE, L"Remove\tDel"},
        {ID_REMOVE_ALL, L"Remove All\tCtrl+Del"},
        {ID_PLAY_OUTPUT, L"Play Output Video\tCtrl+P"},
        {ID_PLAY_ALL_OUTPUTS, L"Play All Output Videos"},
        {ID_ADD_ALL_TO_ITUNES, L"Add All Output Videos to iTunes"},
        {ID_ADD_TO_ITUNES_ROW, L"Add Output Video to iTunes"},
        {ID_ADVANCED_OPTIONS, L"Advanced Conversion Options..."},
        {ID_MEDIA_INFO, L"Show Output Video Info..."},
        {ID_PLAY_INPUT, L"Play Input GIF"},
        {ID_OPEN_INPUT_FOLDER, L"Open Input Folder"},
        {ID_OPEN_OUTPUT_FOLDER, L"Open Output Folder"},
        {ID_APP_ABOUT, L"About..."},
        {ID_SETTINGS, L"Settings..."},
        {ID_OPEN_NEW_WINDOW, L"Open New Window"},
        {ID_EMAIL_US, L"Email Us"},
        {ID_WEB_SITE, L"Web Site"},
        {ID_CHECK_UPDATES, L"Check for Updates..."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        ASSERT_FALSE(texts[c.id].empty()) << "in no menu";
        for (const std::wstring& text : texts[c.id])
            EXPECT_EQ(std::wstring(c.text), text);
    }
    // The commands without a text of their own are there too.
    for (UINT id : {ID_SHUTDOWN_WHEN_DONE, ID_COPY_OUTPUT, ID_COPY_ALL_OUTPUTS, ID_RENAME_OUTPUT, ID_MINIMIZE_RESTORE, ID_HELP_PAGE})
        EXPECT_FALSE(texts[id].empty()) << id;
}

TEST_F(TalvenaDlgLookTest, ItOpensInItsShape)
{
    CTalvenaDlg& dialog = Open();
    CMenu* system = dialog.GetSystemMenu(FALSE);
    ASSERT_NE(nullptr, system);
    EXPECT_EQ(static_cast<UINT>(ID_SYSTEM_ALWAYS_ON_TOP), ::GetMenuItemID(system->m_hMenu, 0));
    EXPECT_EQ(L"Always On Top", ItemText(system->m_hMenu, 0));
    EXPECT_TRUE(::GetMenuState(system->m_hMenu, 1, MF_BYPOSITION) & MF_SEPARATOR);

    CRect window;
    dialog.GetWindowRect(&window);
    EXPECT_EQ(880, window.Width());
    EXPECT_EQ(560, window.Height());
    EXPECT_TRUE(GetClassLongPtrW(dialog.m_hWnd, GCL_STYLE) & CS_DBLCLKS);

    const DWORD listStyles = dialog.m_list.GetExtendedStyle();
    for (DWORD style : {LVS_EX_FULLROWSELECT, LVS_EX_INFOTIP, LVS_EX_DOUBLEBUFFER})
        EXPECT_TRUE(listStyles & style) << style;
    const struct {
        const wchar_t* title;
        int width;
    } columns[] = {{L"", 36}, {L"Input", 354}, {L"Output", 354}};
    for (int i = 0; i < 3; ++i) {
        wchar_t title[32] = L"";
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = title;
        column.cchTextMax = 32;
        ASSERT_TRUE(dialog.m_list.SendMessage(LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_EQ(std::wstring(columns[i].title), std::wstring(title)) << i;
        EXPECT_EQ(columns[i].width, column.cx) << i;
    }
    EXPECT_GE(dialog.m_list.SendMessage(LVM_GETCOLUMNWIDTH, 3), 100);

    const struct {
        int id;
        const wchar_t* tip;
    } tips[] = {
        {IDC_ADVANCED, L"Advanced format options"},
        {IDC_BROWSE, L"Choose a folder as output folder"},
        {IDC_OPEN_FOLDER, L"Open this folder"},
        {IDC_CONVERT, L"Start converting"},
        {IDC_STOP, L"Stop converting"},
        {IDCANCEL, L"Stop converting and close this window"},
    };
    for (const auto& t : tips) {
        wchar_t text[80] = L"";
        TTTOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.hwnd = dialog.GetDlgItem(t.id)->m_hWnd;
        info.uId = reinterpret_cast<UINT_PTR>(info.hwnd);
        info.uFlags = TTF_IDISHWND;
        info.lpszText = text;
        dialog.m_toolTip.SendMessage(TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(std::wstring(t.tip), std::wstring(text)) << t.id;
    }
    EXPECT_EQ(18, dialog.m_formatCombo.SendMessage(CB_GETITEMHEIGHT, 0));
    // Without iTunes on this machine its check box is not offered.
    EXPECT_FALSE(dialog.GetDlgItem(IDC_ADD_TO_ITUNES)->IsWindowVisible());
}

TEST_F(TalvenaDlgLookTest, AboutShowsTheProgramsVersion)
{
    Open();
    std::wstring version;
    std::thread driver([&] {
        HWND about = nullptr;
        PollFor([&] { return (about = FindOwnWindow(L"About", TitleMatch::Prefix)) != nullptr; });
        if (!about)
            return;
        wchar_t text[64] = L"";
        ::GetDlgItemTextW(about, IDC_ABOUT_VERSION, text, 64);
        version = text;
        ::PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    Command(ID_APP_ABOUT);
    driver.join();
    EXPECT_EQ(L"Version 3.0.3", version);
}

TEST_F(TalvenaDlgLookTest, TheRunsColourGoesToTheCurrentRowAndItsProgressIsNotShown)
{
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    CTalvenaDlg& dialog = Open();
    CJobStatusSink& sink = dialog;
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), dialog.m_list.GetCurrentRowColour()) << "before any run";

    g_nConvertRow = -1;
    sink.SetTextColor(RGB(1, 2, 3));
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), dialog.m_list.GetCurrentRowColour()) << "no row is being converted";

    g_nConvertRow = 0;
    sink.SetTextColor(0xFFA000);
    EXPECT_EQ(static_cast<COLORREF>(0xFFA000), dialog.m_list.GetCurrentRowColour());
    dialog.m_list.SetProgress(6, 100);
    sink.SetProgress(50000000, 90000000);  // the encoder's own progress is no bar
    EXPECT_EQ(6, dialog.m_list.GetProgressValue());
    EXPECT_EQ(100, dialog.m_list.GetProgressRange());
    g_nConvertRow = -1;
}

TEST_F(TalvenaDlgLookTest, TheMoreButtonAndTheListOpenTheirPopups)
{
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    CTalvenaDlg& dialog = Open();
    const auto dropDown = [&](CToolBar& bar, UINT barId, int button) {
        NMTOOLBARW drop{};
        drop.hdr.hwndFrom = bar.m_hWnd;
        drop.hdr.idFrom = barId;
        drop.hdr.code = TBN_DROPDOWN;
        drop.iItem = button;
        return ReadTrackedMenu([&] { dialog.SendMessage(WM_NOTIFY, barId, reinterpret_cast<LPARAM>(&drop)); });
    };
    const TrackedMenu more = dropDown(dialog.m_listToolBar, IDW_LIST_TOOLBAR, ID_MORE);
    ASSERT_TRUE(more.seen);
    EXPECT_TRUE(Holds(more, ID_PLAY_ALL_OUTPUTS));
    EXPECT_FALSE(Holds(more, ID_ADD_ALL_TO_ITUNES)) << "no iTunes here";
    const TrackedMenu main = dropDown(dialog.m_menuToolBar, IDW_MENU_TOOLBAR, ID_MENU);
    ASSERT_TRUE(main.seen);
    EXPECT_TRUE(Holds(main, ID_ADD_GIF));
    EXPECT_FALSE(dialog.m_menuToolBar.SendMessage(TB_ISBUTTONPRESSED, ID_MENU)) << "released after the menu";

    // The keyboard's context menu of the list: a selected row, else the list's background.
    const LPARAM keyboard = MAKELPARAM(-1, -1);
    dialog.m_list.SelectItem(0, TRUE, TRUE);
    const TrackedMenu row = ReadTrackedMenu([&] { dialog.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dialog.m_list.m_hWnd), keyboard); });
    ASSERT_TRUE(row.seen);
    EXPECT_EQ(static_cast<UINT>(ID_ADVANCED_OPTIONS), row.defaultId) << "a row not converted yet";
    EXPECT_FALSE(Holds(row, ID_ADD_TO_ITUNES_ROW)) << "no iTunes here";
    dialog.m_list.SelectItem(0, FALSE, TRUE);
    const TrackedMenu list = ReadTrackedMenu([&] { dialog.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dialog.m_list.m_hWnd), keyboard); });
    ASSERT_TRUE(list.seen);
    EXPECT_EQ(static_cast<UINT>(ID_ADD_GIF), list.defaultId);
    const TrackedMenu body = ReadTrackedMenu([&] { dialog.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dialog.m_hWnd), keyboard); });
    ASSERT_TRUE(body.seen);
    EXPECT_TRUE(Holds(body, ID_MINIMIZE_RESTORE));
}

TEST_F(TalvenaDlgLookTest, AlwaysOnTopFromTheSystemMenu)
{
    m_settings.m_alwaysOnTop = 0;
    CTalvenaDlg& dialog = Open();
    CMenu* system = dialog.GetSystemMenu(FALSE);
    ASSERT_NE(nullptr, system);
    const auto ticked = [&] {
        dialog.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(system->m_hMenu), MAKELPARAM(0, TRUE));
        return (::GetMenuState(system->m_hMenu, ID_SYSTEM_ALWAYS_ON_TOP, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    // (Wine without a window manager keeps no topmost style, so the window's own flag is read.)
    EXPECT_FALSE(ticked());
    for (bool on : {true, false}) {
        SCOPED_TRACE(on);
        dialog.SendMessage(WM_SYSCOMMAND, ID_SYSTEM_ALWAYS_ON_TOP, 0);
        EXPECT_EQ(on ? 1 : 0, dialog.m_alwaysOnTop);
        EXPECT_EQ(on, ticked());
    }
}

// A control's rectangle in the dialog's client coordinates.
CRect ClientRectOf(CTalvenaDlg& dialog, int id)
{
    CRect r;
    dialog.GetDlgItem(id)->GetWindowRect(&r);
    dialog.ScreenToClient(&r);
    return r;
}

TEST_F(TalvenaDlgLookTest, TheControlsSitInTheirBandsAndRows)
{
    CTalvenaDlg& dialog = Open();
    CRect client;
    dialog.GetClientRect(&client);
    const int bandTop = client.bottom - 52;
    const CRect close = ClientRectOf(dialog, IDCANCEL), convert = ClientRectOf(dialog, IDC_CONVERT), stop = ClientRectOf(dialog, IDC_STOP);
    EXPECT_EQ(client.right - 10, close.right);
    EXPECT_EQ(close.left - 6, convert.right);
    EXPECT_EQ(convert, stop) << "Stop takes Convert's place";
    EXPECT_NEAR(bandTop + 26, close.CenterPoint().y, 1) << "centred in the bottom band";
    const CRect check = ClientRectOf(dialog, IDC_CLOSE_WHEN_DONE);
    EXPECT_LT(check.right, convert.left);
    EXPECT_NEAR(bandTop + 26, check.CenterPoint().y, 1);

    // Upwards from the band: "Same as input folder" (the iTunes box is hidden), the output row,
    // then the format row, and the list above them all.
    const CRect same = ClientRectOf(dialog, IDC_SAME_AS_INPUT);
    EXPECT_EQ(bandTop - 10, same.bottom);
    const CRect open = ClientRectOf(dialog, IDC_OPEN_FOLDER), browse = ClientRectOf(dialog, IDC_BROWSE);
    const CRect folder = ClientRectOf(dialog, IDC_OUTPUT_FOLDER);
    EXPECT_EQ(client.right - 10, open.right);
    EXPECT_LT(browse.right, open.left);
    EXPECT_LT(folder.right, browse.left);
    EXPECT_EQ(same.top - 10, folder.bottom);
    EXPECT_LT(ClientRectOf(dialog, IDC_SAVE_TO_LABEL).right, folder.left);
    const CRect advanced = ClientRectOf(dialog, IDC_ADVANCED), format = ClientRectOf(dialog, IDC_FORMAT);
    const CRect preset = ClientRectOf(dialog, IDC_PRESET);
    EXPECT_EQ(client.right - 10, advanced.right);
    EXPECT_LT(format.right, preset.left);
    EXPECT_LT(preset.right, advanced.left);
    EXPECT_EQ(folder.top - 16, format.bottom);
    EXPECT_LT(ClientRectOf(dialog, IDC_FORMAT_LABEL).right, format.left);
    const CRect list = ClientRectOf(dialog, IDC_JOB_LIST);
    EXPECT_EQ(CRect(0, 48, client.right, format.top - 16), list);

    // The toolbars in the top band: the menu button at the right, the list's tools left of it.
    CRect menuBar, listBar;
    dialog.m_menuToolBar.GetWindowRect(&menuBar);
    dialog.ScreenToClient(&menuBar);
    dialog.m_listToolBar.GetWindowRect(&listBar);
    dialog.ScreenToClient(&listBar);
    EXPECT_GE(menuBar.top, 0);
    EXPECT_LE(menuBar.bottom, 48);
    EXPECT_NEAR(24, menuBar.CenterPoint().y, 1);
    EXPECT_GT(menuBar.left, client.Width() / 2);
    EXPECT_LE(listBar.right, menuBar.left - 6);
}

TEST_F(TalvenaDlgLookTest, TheBackgroundHasItsBandsLinesAndLabelMarks)
{
    CTalvenaDlg& dialog = Open();
    CRect client;
    dialog.GetClientRect(&client);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.Width(), client.Height());
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    EXPECT_EQ(1, dialog.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory)));
    const CRect list = ClientRectOf(dialog, IDC_JOB_LIST);
    const int x = client.Width() / 2;
    const struct {
        int y;
        COLORREF colour;
        const char* what;
    } rows[] = {
        {1, RGB(240, 240, 240), "top band"},
        {47, RGB(224, 224, 224), "the top band's line"},
        {list.bottom, RGB(232, 232, 232), "the line under the list"},
        {list.bottom + 4, RGB(248, 248, 248), "the dialog's own colour"},
        {client.bottom - 52, RGB(224, 224, 224), "the bottom band's line"},
        {client.bottom - 30, RGB(240, 240, 240), "bottom band"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.colour, ::GetPixel(memory, x, r.y)) << r.what;
    // The mark before each of the two labels: 12 pixels, ending 8 before the label.
    for (int id : {IDC_FORMAT_LABEL, IDC_SAVE_TO_LABEL}) {
        const CRect label = ClientRectOf(dialog, id);
        int marked = 0;
        for (int px = label.left - 20; px < label.left - 8; ++px)
            for (int py = label.top - 6; py < label.bottom + 6; ++py)
                marked += ::GetPixel(memory, px, py) != RGB(248, 248, 248) ? 1 : 0;
        EXPECT_GT(marked, 10) << id;
        EXPECT_EQ(RGB(248, 248, 248), ::GetPixel(memory, label.left - 4, label.CenterPoint().y)) << id;
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
}

TEST_F(TalvenaDlgLookTest, WithoutITunesAStoredHandOverSaysNothingAfterARun)
{
    // Stored on a machine with iTunes; here its box is hidden and the user cannot untick it.
    m_settings.m_addToITunes = 1;
    FakeScript script(L"-write-output 300");
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    CTalvenaDlg& dialog = Open();
    ASSERT_FALSE(dialog.GetDlgItem(IDC_ADD_TO_ITUNES)->IsWindowVisible());
    MessageBoxAnswerer boxes(dialog.m_hWnd);
    ASSERT_TRUE(RunToEnd());
    PumpUntil([] { return false; }, 500);  // the end of the run is handled
    EXPECT_EQ(JOB_COMPLETED, State(0));
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(1, dialog.m_addToITunes) << "the choice is kept for a machine with iTunes";
}

TEST_F(TalvenaDlgGestureTest, DoubleClicksAndTheDeleteKeyPostTheirCommands)
{
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    RecordingDlg& dialog = Open();
    CListCtrl& list = dialog.m_list;
    const auto cellPoint = [&](int column) {
        CRect cell;
        cell.top = column;
        cell.left = LVIR_BOUNDS;
        list.SendMessage(LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
        return cell.CenterPoint();
    };
    const auto doubleClick = [&](CPoint point) {
        NMITEMACTIVATE activate{};
        activate.hdr.hwndFrom = list.m_hWnd;
        activate.hdr.idFrom = IDC_JOB_LIST;
        activate.hdr.code = NM_DBLCLK;
        activate.ptAction = point;
        dialog.m_commands.clear();
        dialog.SendMessage(WM_NOTIFY, IDC_JOB_LIST, reinterpret_cast<LPARAM>(&activate));
        PumpUntil([&] { return !dialog.m_commands.empty(); }, 2000);
        return dialog.m_commands.empty() ? 0u : dialog.m_commands.front();
    };
    CRect client;
    list.GetClientRect(&client);
    EXPECT_EQ(static_cast<UINT>(ID_ADD_GIF), doubleClick(CPoint(client.CenterPoint().x, client.bottom - 5))) << "below the rows";
    EXPECT_EQ(static_cast<UINT>(ID_PLAY_INPUT), doubleClick(cellPoint(1)));
    EXPECT_EQ(static_cast<UINT>(ID_ADVANCED_OPTIONS), doubleClick(cellPoint(2))) << "not converted yet";
    EXPECT_EQ(static_cast<UINT>(ID_ADVANCED_OPTIONS), doubleClick(cellPoint(3)));
    dialog.GetItem(0)->SetState(JOB_COMPLETED);
    EXPECT_EQ(static_cast<UINT>(ID_PLAY_OUTPUT), doubleClick(cellPoint(2)));

    const auto pressDelete = [&](bool control) {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = control ? 0x80 : 0;
        ::SetKeyboardState(keys);
        NMLVKEYDOWN key{};
        key.hdr.hwndFrom = list.m_hWnd;
        key.hdr.idFrom = IDC_JOB_LIST;
        key.hdr.code = LVN_KEYDOWN;
        key.wVKey = VK_DELETE;
        dialog.m_commands.clear();
        dialog.SendMessage(WM_NOTIFY, IDC_JOB_LIST, reinterpret_cast<LPARAM>(&key));
        keys[VK_CONTROL] = 0;
        ::SetKeyboardState(keys);
        PumpUntil([&] { return !dialog.m_commands.empty(); }, 2000);
        return dialog.m_commands.empty() ? 0u : dialog.m_commands.front();
    };
    EXPECT_EQ(static_cast<UINT>(ID_REMOVE), pressDelete(false));
    EXPECT_EQ(static_cast<UINT>(ID_REMOVE_ALL), pressDelete(true));
}

// The menu's entries as the update pass of an opening popup leaves them.
UINT EntryState(CTalvenaDlg& dialog, HMENU popup, UINT id)
{
    dialog.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    return ::GetMenuState(popup, id, MF_BYCOMMAND);
}

TEST_F(TalvenaDlgLookTest, MenuEntriesAreTickedAndEnabledByTheirRules)
{
    CTalvenaDlg& dialog = Open();
    CMenu menus;
    ASSERT_TRUE(menus.LoadMenu(IDR_DIALOG_MENUS));
    const HMENU main = ::GetSubMenu(menus.m_hMenu, 0);
    for (UINT id : {ID_AUTO_PLAY, ID_AUTO_OPEN, ID_SHUTDOWN_WHEN_DONE}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(EntryState(dialog, main, id) & MF_CHECKED);
        Command(static_cast<int>(id));
        EXPECT_TRUE(EntryState(dialog, main, id) & MF_CHECKED);
        Command(static_cast<int>(id));
        EXPECT_FALSE(EntryState(dialog, main, id) & MF_CHECKED);
    }
    EXPECT_TRUE(EntryState(dialog, main, ID_CONVERT_MENU) & MF_GRAYED) << "nothing to convert";
    EXPECT_TRUE(EntryState(dialog, main, ID_STOP_MENU) & MF_GRAYED) << "nothing running";
    EXPECT_FALSE(EntryState(dialog, main, ID_ADD_GIF) & MF_GRAYED);
    EXPECT_FALSE(EntryState(dialog, main, ID_APP_ABOUT) & MF_GRAYED);
    // (The application's own commands are enabled by Talvena's application object, which these
    // tests do not have; the program tests open them from the menu.)
    dialog.AddFile(PutSampleGif(m_scratch, "anim.gif"));
    EXPECT_FALSE(EntryState(dialog, main, ID_CONVERT_MENU) & MF_GRAYED);
    const HMENU row = ::GetSubMenu(menus.m_hMenu, 4);
    EXPECT_TRUE(EntryState(dialog, row, ID_REMOVE) & MF_GRAYED) << "no row selected";
    EXPECT_TRUE(EntryState(dialog, row, ID_PLAY_OUTPUT) & MF_GRAYED) << "not converted";
    dialog.m_list.SelectItem(0, TRUE, TRUE);
    EXPECT_FALSE(EntryState(dialog, row, ID_REMOVE) & MF_GRAYED);
    EXPECT_FALSE(EntryState(dialog, row, ID_ADVANCED_OPTIONS) & MF_GRAYED);
}

TEST_F(TalvenaDlgLookTest, MinimizeRestoreTurnsTheWindowIntoAnIconAndBack)
{
    CTalvenaDlg& dialog = Open();
    Command(ID_MINIMIZE_RESTORE);
    EXPECT_TRUE(dialog.IsIconic());
    Command(ID_MINIMIZE_RESTORE);
    EXPECT_FALSE(dialog.IsIconic());
}

TEST_F(TalvenaDlgLookTest, WindowsEndingSavesTheSettings)
{
    CTalvenaDlg& dialog = Open();
    m_settings.m_thumbnailWidth = 123;
    EXPECT_EQ(1, dialog.SendMessage(WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    EXPECT_EQ(123u, TestApp().GetProfileInt(L"Settings", L"Thumbnail.Width", 0));
}

} // namespace
