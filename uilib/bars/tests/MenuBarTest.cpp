#include <gtest/gtest.h>

#include "BarTestSupport.h"
#include "CMenu.h"
#include "LibResources.h"
#include "MenuBar.h"

namespace {

// A menu of popups with the given texts (each popup with one command).
HMENU MakeMenu(std::initializer_list<const wchar_t*> texts)
{
    HMENU menu = ::CreateMenu();
    UINT id = 300;
    for (const wchar_t* text : texts) {
        HMENU popup = ::CreatePopupMenu();
        ::AppendMenuW(popup, MF_STRING, id++, L"Entry");
        ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), text);
    }
    return menu;
}

class MenuBarLayout : public ::testing::Test {
protected:
    CBarHost host;
    CMenuBar bar;

    void SetUp() override
    {
        ASSERT_TRUE(host.Make(500, 40));
        ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | BAR_ALIGN_TOP, CRect(0, 0, 500, 21), &host, 0xE800));
    }
    CRect RectOf(int index)
    {
        CRect r;
        bar.GetAt(index)->GetRect(&r);
        return r;
    }
    int TextWidth(const wchar_t* text)
    {
        CClientDC dc(&bar);
        HGDIOBJ old = dc.SelectObject(GetLibMenuFont());
        CRect r;
        dc.DrawText(text, -1, r, DT_CALCRECT | DT_SINGLELINE);
        dc.SelectObject(old);
        return r.Width();
    }
    void Layout()
    {
        CClientDC dc(&bar);
        bar.LayoutItems(&dc);
    }
};

} // namespace

TEST_F(MenuBarLayout, EntriesTakeTheirTextWidthPlus24FromTheLeft)
{
    bar.LoadMenu(MakeMenu({L"&File", L"&Edit", L"&&Tools"}), FALSE);
    ASSERT_EQ(bar.GetCount(), 3);
    Layout();
    int x = 0;
    const wchar_t* texts[] = {L"&File", L"&Edit", L"&&Tools"};
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(RectOf(i), CRect(x, 0, x + TextWidth(texts[i]) + 24, 21)) << i;
        x = RectOf(i).right;
    }
    EXPECT_EQ(static_cast<CMenuBarItem*>(bar.GetAt(2))->GetText(), L"&&Tools");
}

TEST_F(MenuBarLayout, RightAlignedEntriesEndAtTheRightEdge)
{
    bar.LoadMenu(MakeMenu({L"&File", L"&Help"}), TRUE);
    Layout();
    EXPECT_EQ(RectOf(1).right, 500);
    EXPECT_EQ(RectOf(0).right, RectOf(1).left);
    EXPECT_EQ(RectOf(1).Width(), TextWidth(L"&Help") + 24);
    // The bar grows with its frame: the entries follow the new edge at the next layout.
    bar.SetWindowPos(HWND(nullptr), 0, 0, 600, 21, SWP_NOZORDER);
    Layout();
    EXPECT_EQ(RectOf(1).right, 600);
}

TEST_F(MenuBarLayout, MnemonicsAreFoundWithoutRegardToCase)
{
    bar.LoadMenu(MakeMenu({L"&File", L"E&dit", L"&&Tools", L"View", L"Last&", L""}), FALSE);
    struct Case {
        wchar_t ch;
        int index;
    } cases[] = {
        {L'f', 0}, {L'F', 0}, {L'd', 1}, {L'E', -1}, {L'&', -1}, {L't', -1},
        {L'v', 3}, {L'l', 4}, {0, -1}, {L'q', -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bar.FindMnemonic(c.ch), c.index) << static_cast<int>(c.ch);
}

TEST_F(MenuBarLayout, ANewMenuReplacesTheEntriesAndNoMenuGivesNone)
{
    bar.LoadMenu(MakeMenu({L"&File", L"&Edit"}), FALSE);
    bar.LoadMenu(MakeMenu({L"&View"}), FALSE);
    EXPECT_EQ(bar.GetCount(), 1);
    bar.LoadMenu(nullptr, FALSE);
    EXPECT_EQ(bar.GetCount(), 0);
    EXPECT_EQ(bar.GetMenuHandle(), nullptr);
    EXPECT_EQ(bar.CalcFixedLayout(FALSE, TRUE), CSize(500, 21));
    EXPECT_EQ(bar.CalcFixedLayout(TRUE, TRUE), CSize(0x7FFF, 21));
    EXPECT_EQ(bar.CalcFixedLayout(TRUE, FALSE), CSize(500, 0x7FFF));
    EXPECT_EQ(bar.GetBarStyle(), BAR_ALIGN_TOP);
}

TEST_F(MenuBarLayout, AnEntryWithoutAPopupEndsTheTrackingLoopAtOnce)
{
    HMENU menu = MakeMenu({L"&File"});
    ::AppendMenuW(menu, MF_STRING, 399, L"&Quit");
    bar.LoadMenu(menu, FALSE);
    Layout();
    bar.SendMessage(WM_MENUBAR_OPENITEM, 1, 0);   // returns without a popup
    EXPECT_FALSE(bar.IsTrackingPopup());
    EXPECT_FALSE(bar.IsInMenuMode());
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_COMMAND, WM_COMMAND, PM_NOREMOVE));   // nothing sent
}
