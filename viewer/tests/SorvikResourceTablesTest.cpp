// Sorvik.exe's menus, keys, dialogs, strings and art, read from the program file and checked
// against the tables the windows are built from.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "../resource.h"
#include "SorvikModuleTest.h"

namespace {

using SorvikResourceTablesTest = SorvikModuleTest;

std::wstring MenuText(HMENU menu, int position)
{
    wchar_t text[256] = L"";
    ::GetMenuStringW(menu, UINT(position), text, 256, MF_BYPOSITION);
    return text;
}

// Every command of a menu and its submenus with the texts it stands under.
void CollectItems(HMENU menu, std::multimap<UINT, std::wstring>& items)
{
    for (int i = 0; i < ::GetMenuItemCount(menu); i++) {
        if (HMENU sub = ::GetSubMenu(menu, i)) {
            CollectItems(sub, items);
            continue;
        }
        const UINT id = ::GetMenuItemID(menu, i);
        if (id != 0 && id != UINT(-1))
            items.emplace(id, MenuText(menu, i));
    }
}

// The commands of one popup in their order, separators left out.
std::vector<UINT> Commands(HMENU popup)
{
    std::vector<UINT> ids;
    for (int i = 0; i < ::GetMenuItemCount(popup); i++) {
        const UINT id = ::GetMenuItemID(popup, i);
        if (id != 0 && id != UINT(-1))
            ids.push_back(id);
    }
    return ids;
}

struct MenuEntry {
    UINT id;
    const wchar_t* text;
};

void ExpectEntries(HMENU menu, const std::vector<MenuEntry>& entries, const char* which)
{
    std::multimap<UINT, std::wstring> items;
    CollectItems(menu, items);
    for (const MenuEntry& entry : entries) {
        auto range = items.equal_range(entry.id);
        EXPECT_NE(range.first, range.second) << which << ": no command " << entry.id;
        for (auto it = range.first; it != range.second; ++it)
            EXPECT_EQ(it->second, std::wstring(entry.text)) << which << ": command " << entry.id;
    }
}

TEST_F(SorvikResourceTablesTest, TheMainMenuHasEveryCommandUnderItsText)
{
    HMENU menu = ::LoadMenuW(m_module, MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(menu, nullptr);
    const std::vector<MenuEntry> entries = {
        {40001, L"Recent File"},
        {40000, L"Clear Recent File List"},
        {32803, L"Settings..."},
        {32836, L"Check for Updates..."},
        {32826, L"Web Site"},
        {32825, L"Email Us"},
        {57664, L"About..."},
        {32778, L"Dock Playlist Bar"},
        {32782, L"Full Screen\tAlt+Enter or F11"},
        {32779, L"Always On Top"},
        {32781, L"Transparent"},
        {59392, L"Show Control Bar"},
        {32823, L"Open File...\tCtrl+O"},
        {32775, L"Add File...\tInsert"},
        {32844, L"Add Playlist..."},
        {32824, L"Open Folder...\tCtrl+Shift+O"},
        {32777, L"Add Folder...\tCtrl+Insert"},
        {32784, L"Open Playlist..."},
        {32783, L"Save Playlist..."},
        {40100, L"Clear Recent Playlist List"},
        {32780, L"Remove\tDel"},
        {32813, L"Remove All\tCtrl+Del"},
        {32808, L"Select All\tCtrl+A"},
        {32788, L"Move Up\tCtrl+Up"},
        {32789, L"Move Down\tCtrl+Down"},
        {32806, L"GIF Info..."},
        {32839, L"Open Folder"},
        {32810, L"Show File Name"},
        {32815, L"Show Thumbnail"},
        {32818, L"Show Duration"},
        {32833, L"Show Resolution"},
        {32831, L"Show Frame Count"},
        {32835, L"Small:\t100 x 100"},
        {32837, L"Medium:\t200 x 200"},
        {32838, L"Large:\t300 x 300"},
        {32829, L"Grid View"},
        {32830, L"List View"},
        {32854, L"Reverse Play"},
        {32850, L"Flip Horizontal"},
        {32851, L"Flip Vertical"},
        {32852, L"Rotate Left"},
        {32853, L"Rotate Right"},
        {32855, L"Negative"},
        {32856, L"Gray Scale"},
        {57680, L"Switch View\tDouble-Click or F6"},
        {32771, L"Play\tCtrl+P"},
        {32773, L"Stop\tCtrl+S"},
        {32774, L"Previous File\tPage Up"},
        {32776, L"Next File\tPage Down"},
        {32840, L"Previous Frame\tLeft"},
        {32841, L"Next Frame\tRight"},
        {32842, L"Copy Current Frame to Clipboard\tCtrl+C"},
        {32843, L"Save Current Frame to File\tCtrl+F"},
        {32812, L"Repeat All\tCtrl+T"},
        {32809, L"Repeat Current"},
        {32834, L"Auto Play Next"},
        {32821, L"Close this window"},
        {32786, L"Shutdown this computer"},
        {32796, L"Fit Window\tCtrl+Enter"},
        {32797, L"50%\tAlt+1"},
        {32798, L"100%\tAlt+2"},
        {32799, L"200%\tAlt+3"},
        {34120, L"Auto"},
        {34121, L"White"},
        {34122, L"Black"},
        {34130, L"Solid"},
        {34131, L"Grid Hatch"},
        {34132, L"Horizontal Hatch"},
        {34133, L"Vertical Hatch"},
        {34134, L"Upward Hatch "},
        {34135, L"Downward Hatch "},
        {34136, L"Cross Hatch"},
        {34137, L"Cross Hatch at 45 Degrees"},
    };
    ExpectEntries(menu, entries, "menu 128");
    ::DestroyMenu(menu);
}

TEST_F(SorvikResourceTablesTest, TheControlBarsContextMenusHoldTheirCommandsInOrder)
{
    HMENU menu = ::LoadMenuW(m_module, MAKEINTRESOURCEW(IDR_CONTEXT_MENUS));
    ASSERT_NE(menu, nullptr);
    ASSERT_GE(::GetMenuItemCount(menu), 7);
    const struct {
        int position;
        const wchar_t* name;
        std::vector<UINT> commands;
    } popups[] = {
        {3, L"_PLAY_", {32771, 32811, 32773, 32840, 32841, 32842, 32843, 32774, 32776, 32812, 32809}},
        {4, L"_SEEK_", {32840, 32841, 32842, 32843}},
        {5, L"_ZOOM_", {32782, 32796, 32797, 32798, 32799}},
        {6, L"_SWITCH_", {57680}},
    };
    for (const auto& popup : popups) {
        EXPECT_EQ(MenuText(menu, popup.position), std::wstring(popup.name)) << popup.position;
        HMENU sub = ::GetSubMenu(menu, popup.position);
        ASSERT_NE(sub, nullptr) << popup.position;
        EXPECT_EQ(Commands(sub), popup.commands) << popup.name;
    }
    const std::vector<MenuEntry> entries = {
        {32814, L"Play\tEnter"},
        {32811, L"Pause\tCtrl+P"},
        {32796, L"Fit Window\tAlt+0"},
        {32797, L"50%\tAlt+1"},
        {32771, L"Play\tCtrl+P"},
        {32780, L"Remove\tDel"},
        {57680, L"Switch View\tDouble-Click or F6"},
    };
    ExpectEntries(menu, entries, "menu 146");
    ::DestroyMenu(menu);
}

TEST_F(SorvikResourceTablesTest, TheKeysAreExactlyTheViewersOwn)
{
    HACCEL table = ::LoadAcceleratorsW(m_module, MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(table, nullptr);
    std::vector<ACCEL> keys(size_t(::CopyAcceleratorTableW(table, nullptr, 0)));
    ::CopyAcceleratorTableW(table, keys.data(), int(keys.size()));
    using Key = std::tuple<int, int, int>;   // modifiers, virtual key, command
    std::multiset<Key> found;
    for (const ACCEL& key : keys) {
        EXPECT_TRUE(key.fVirt & FVIRTKEY) << key.cmd;
        found.emplace(key.fVirt & (FSHIFT | FCONTROL | FALT), key.key, key.cmd);
    }
    const int C = FCONTROL, S = FSHIFT, A = FALT;
    const std::multiset<Key> expected = {
        {C, 'O', 32823},           {C | S, 'O', 32824},    {0, VK_INSERT, 32775},  {C, VK_INSERT, 32777},
        {0, VK_DELETE, 32780},     {C, VK_DELETE, 32813},  {C, 'A', 32808},        {C, VK_UP, 32788},
        {C, VK_DOWN, 32789},       {0, VK_RETURN, 32814},  {C, 'P', 32771},        {C, 'S', 32773},
        {0, VK_SPACE, 32857},      {0, VK_PRIOR, 32774},   {0, VK_UP, 32774},      {0, VK_NEXT, 32776},
        {0, VK_DOWN, 32776},       {0, VK_LEFT, 32840},    {0, VK_RIGHT, 32841},   {C, 'C', 32842},
        {C, 'F', 32843},           {C, 'T', 32812},        {C, VK_RETURN, 32796},  {A, '0', 32796},
        {A, '1', 32797},           {A, '2', 32798},        {A, '3', 32799},        {A, VK_RETURN, 32782},
        {0, VK_F11, 32782},        {0, VK_F6, 57680},      {0, VK_TAB, 57680},     {C, VK_TAB, 57680},
        {S, VK_F6, 57681},         {C | S, VK_TAB, 57681},
    };
    EXPECT_EQ(found, expected);
    ::DestroyAcceleratorTable(table);
}

TEST_F(SorvikResourceTablesTest, TheDocumentAndProgramStrings)
{
    wchar_t text[512] = L"";
    ::LoadStringW(m_module, IDR_MAINFRAME, text, 512);
    EXPECT_EQ(std::wstring(text),
              L"Sorvik\n\nPlaylist\nPlaylist Files (*.playlist)\n.playlist\nBrenmoor.Sorvik.playlist\nPlaylist");
    ::LoadStringW(m_module, IDS_PROGRAM_TITLE, text, 512);
    EXPECT_EQ(std::wstring(text), L"Sorvik");
}

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

std::wstring WindowText(HWND wnd)
{
    wchar_t text[256] = L"";
    ::GetWindowTextW(wnd, text, 256);
    return text;
}

std::wstring ClassOf(HWND wnd)
{
    wchar_t name[64] = L"";
    ::GetClassNameW(wnd, name, 64);
    return name;
}

BOOL CALLBACK CollectText(HWND wnd, LPARAM param)
{
    reinterpret_cast<std::set<std::wstring>*>(param)->insert(WindowText(wnd));
    return TRUE;
}

struct Control {
    int id;
    const wchar_t* windowClass;
    const wchar_t* text;   // null: not compared
    DWORD style;           // style bits it must have
};

TEST_F(SorvikResourceTablesTest, TheDialogsHaveTheirControlsWithTheirTexts)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    const struct {
        int id;
        const wchar_t* caption;
        std::vector<Control> controls;
        std::vector<const wchar_t*> statics;
    } dialogs[] = {
        {IDD_VIEWER_SETTINGS,
         L"Settings",
         {{1027, L"Edit", nullptr, 0},
          {1030, L"Edit", nullptr, 0},
          {1035, L"Button", L"Reload last playlist at startup", BS_AUTOCHECKBOX},
          {1025, L"Button", L"Allow duplicate items in the playlist", BS_AUTOCHECKBOX},
          {1033, L"Button", L"Show control bar in full screen mode", BS_AUTOCHECKBOX},
          {1008, L"Button", L"Automatically check for updates (weekly)", BS_AUTOCHECKBOX},
          {1009, L"Button", L"Associate .gif files with Sorvik", BS_AUTOCHECKBOX},
          {IDOK, L"Button", L"OK", 0},
          {IDCANCEL, L"Button", L"Cancel", 0}},
         {L"Thumbnail Size:", L"X"}},
        {IDD_GIF_INFO,
         nullptr,
         {{IDOK, L"Button", L"Close", 0}, {1039, L"Edit", nullptr, ES_READONLY}, {1032, L"SysListView32", nullptr, 0}},
         {}},
    };
    for (const auto& dialog : dialogs) {
        HRSRC found = ::FindResourceW(m_module, MAKEINTRESOURCEW(dialog.id), MAKEINTRESOURCEW(5));
        ASSERT_NE(found, nullptr) << "no dialog " << dialog.id;
        auto* layout = static_cast<const DLGTEMPLATE*>(::LockResource(::LoadResource(m_module, found)));
        HWND wnd = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), layout, nullptr, QuietDialog, 0);
        ASSERT_NE(wnd, nullptr) << "dialog " << dialog.id << " does not build";
        if (dialog.caption)
            EXPECT_EQ(WindowText(wnd), std::wstring(dialog.caption));
        for (const Control& control : dialog.controls) {
            HWND item = ::GetDlgItem(wnd, control.id);
            ASSERT_NE(item, nullptr) << dialog.id << ": no control " << control.id;
            EXPECT_EQ(ClassOf(item), std::wstring(control.windowClass)) << dialog.id << ": " << control.id;
            if (control.text)
                EXPECT_EQ(WindowText(item), std::wstring(control.text)) << dialog.id << ": " << control.id;
            const DWORD style = DWORD(::GetWindowLongW(item, GWL_STYLE));
            if (control.style == BS_AUTOCHECKBOX)
                EXPECT_EQ(style & BS_TYPEMASK, DWORD(BS_AUTOCHECKBOX)) << dialog.id << ": " << control.id;
            else
                EXPECT_EQ(style & control.style, control.style) << dialog.id << ": " << control.id;
        }
        std::set<std::wstring> texts;
        ::EnumChildWindows(wnd, CollectText, reinterpret_cast<LPARAM>(&texts));
        for (const wchar_t* text : dialog.statics)
            EXPECT_EQ(texts.count(text), 1u) << dialog.id << ": no text \"" << std::string(text, text + wcslen(text)) << "\"";
        ::DestroyWindow(wnd);
    }
}

// Each strip holds its pieces side by side: width = pieces x piece width.
TEST_F(SorvikResourceTablesTest, TheBitmapsAreStripsOfTheirPieces)
{
    const struct {
        int id;
        int width, height;
    } bitmaps[] = {
        {133, 120, 24}, {142, 120, 24}, {137, 120, 24}, {138, 120, 24}, {139, 120, 24}, {144, 120, 24},
        {146, 120, 24}, {204, 120, 24}, {149, 120, 24}, {131, 120, 24}, {135, 120, 24},
        {141, 100, 24},   // thumb pieces 20 x 24
        {201, 6, 24},     // channel ends 3 x 24
        {203, 36, 48},    // message pieces 12 x 48
        {192, 48, 24},    // grid status, playing and paused, 24 x 24
        {130, 40, 20},    // list status 20 x 20
        {191, 192, 32},   // grid buttons: play and remove, three states each, 32 x 32
        {147, 120, 20},   // list buttons 20 x 20
        {162, 12, 14},    // label ends and middle 4 x 14
        {177, 16, 16},    // the dark and light patterns, tiled from a 16-pixel origin
        {178, 16, 16},
    };
    for (const auto& expected : bitmaps) {
        auto bitmap = static_cast<HBITMAP>(::LoadImageW(m_module, MAKEINTRESOURCEW(expected.id), IMAGE_BITMAP, 0, 0, 0));
        ASSERT_NE(bitmap, nullptr) << "no bitmap " << expected.id;
        BITMAP info{};
        ::GetObjectW(bitmap, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, expected.width) << expected.id;
        EXPECT_EQ(info.bmHeight, expected.height) << expected.id;
        ::DeleteObject(bitmap);
    }
}

TEST_F(SorvikResourceTablesTest, IconsCursorsAndPicturesAreThere)
{
    for (int id : {128, 129, 205})
        EXPECT_NE(::FindResourceW(m_module, MAKEINTRESOURCEW(id), RT_GROUP_ICON), nullptr) << "icon " << id;
    for (int id : {401, 135, 136, 137, 402})
        EXPECT_NE(::FindResourceW(m_module, MAKEINTRESOURCEW(id), RT_GROUP_CURSOR), nullptr) << "cursor " << id;
    for (int id : {155, 156, 910, 911})
        EXPECT_NE(::FindResourceW(m_module, MAKEINTRESOURCEW(id), L"PNG"), nullptr) << "picture " << id;
}

} // namespace
