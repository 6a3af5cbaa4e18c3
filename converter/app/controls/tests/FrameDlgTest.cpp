// The dialog frame: icons, the tool tip control, tips from the string table, menu updates; the
// fixed-position edit box.
#include <gtest/gtest.h>

#include <string>

#include "ControlsTestRes.h"
#include "FixedPosEdit.h"
#include "FrameDlg.h"
#include "FwTestSupport.h"

namespace {

class TestFrameDlg : public CFrameDlg {
    FW_DECLARE_MESSAGE_MAP()
public:
    TestFrameDlg() : CFrameDlg(IDD_CONTROLS_TEST) {}
    void OnHandled() {}
    void OnUpdateHandled(CCmdUI* ui) { ui->Enable(TRUE); }
};

FW_BEGIN_MESSAGE_MAP(TestFrameDlg, CFrameDlg)
    FwOnCommand(ID_TEST_HANDLED, &ThisClass::OnHandled),
    FwOnUpdateCommand(ID_TEST_HANDLED, &ThisClass::OnUpdateHandled),
FW_END_MESSAGE_MAP()

class FrameDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApp();
        ASSERT_TRUE(m_dlg.Create(IDD_CONTROLS_TEST));
    }
    void TearDown() override { m_dlg.DestroyWindow(); }

    std::wstring WideTip(UINT_PTR id, UINT flags = 0)
    {
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = m_dlg.m_toolTip.m_hWnd;
        info.hdr.idFrom = id;
        info.hdr.code = TTN_GETDISPINFOW;
        info.uFlags = flags;
        m_dlg.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        return info.lpszText ? std::wstring(info.lpszText) : std::wstring();
    }

    TestFrameDlg m_dlg;
};

TEST_F(FrameDlgTest, CreationLoadsBothIconsAndMakesTheToolTip)
{
    ASSERT_NE(nullptr, m_dlg.m_hIcon);
    ASSERT_NE(nullptr, m_dlg.m_hSmallIcon);
    EXPECT_EQ(reinterpret_cast<LRESULT>(m_dlg.m_hIcon), m_dlg.SendMessage(WM_GETICON, ICON_BIG));
    EXPECT_EQ(reinterpret_cast<LRESULT>(m_dlg.m_hSmallIcon), m_dlg.SendMessage(WM_GETICON, ICON_SMALL));
    EXPECT_EQ(reinterpret_cast<LRESULT>(m_dlg.m_hIcon), m_dlg.SendMessage(WM_QUERYDRAGICON));
    ASSERT_TRUE(::IsWindow(m_dlg.m_toolTip.m_hWnd));
    EXPECT_EQ(0xFFFF, m_dlg.m_toolTip.SendMessage(TTM_GETMAXTIPWIDTH));
    EXPECT_TRUE(m_dlg.m_toolTip.GetStyle() & TTS_ALWAYSTIP);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(m_dlg.m_hSmallIcon, &info));
    BITMAP bits{};
    ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bits), &bits);
    EXPECT_EQ(16, bits.bmWidth);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
}

TEST_F(FrameDlgTest, ToolTipsComeFromThePartOfTheStringAfterTheNewline)
{
    struct Case {
        UINT id;
        std::wstring tip;
    } cases[] = {
        {ID_TEST_WITH_TIP, L"Add GIF files to convert (Insert)"},
        {ID_TEST_NO_NEWLINE, L""},
        {ID_TEST_UNHANDLED, L""},   // no string at all
        {ID_TEST_LONG_TIP, std::wstring(L"0123456789012345678901234567890123456789012345678901234567890123456789012345678")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.tip, WideTip(c.id)) << c.id;
}

TEST_F(FrameDlgTest, AToolThatIsAWindowIsAskedUnderItsControlId)
{
    CWnd* button = m_dlg.GetDlgItem(IDC_TEST_BUTTON);
    ASSERT_NE(nullptr, button);
    button->SetDlgCtrlID(ID_TEST_WITH_TIP);
    EXPECT_EQ(L"Add GIF files to convert (Insert)", WideTip(reinterpret_cast<UINT_PTR>(button->m_hWnd), TTF_IDISHWND));
    button->SetDlgCtrlID(IDC_TEST_BUTTON);
}

TEST_F(FrameDlgTest, TheAnsiRequestGetsTheSameTip)
{
    NMTTDISPINFOA info{};
    info.hdr.hwndFrom = m_dlg.m_toolTip.m_hWnd;
    info.hdr.idFrom = ID_TEST_WITH_TIP;
    info.hdr.code = TTN_GETDISPINFOA;
    m_dlg.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(nullptr, info.lpszText);
    EXPECT_STREQ("Add GIF files to convert (Insert)", info.lpszText);
}

bool IsGrayed(HMENU menu, UINT pos) { return (::GetMenuState(menu, pos, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) != 0; }

TEST_F(FrameDlgTest, AnOpeningMenuDisablesCommandsNobodyHandles)
{
    struct Case {
        int autoEnable;
        BOOL systemMenu;
        bool unhandledGrayed;
    } cases[] = {{1, FALSE, true}, {0, FALSE, false}, {1, TRUE, false}};
    for (const Case& c : cases) {
        HMENU bar = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TEST_MENU));
        ASSERT_NE(nullptr, bar);
        HMENU popup = ::GetSubMenu(bar, 0);
        m_dlg.m_bAutoMenuEnable = c.autoEnable;
        m_dlg.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, c.systemMenu));
        EXPECT_FALSE(IsGrayed(popup, 0)) << c.autoEnable << c.systemMenu;   // handled
        EXPECT_EQ(c.unhandledGrayed, IsGrayed(popup, 2)) << c.autoEnable << c.systemMenu;
        EXPECT_FALSE(IsGrayed(popup, 3)) << "a sub-menu entry is never disabled";
        ::DestroyMenu(bar);
    }
}

TEST(FixedPosEditTest, MovesAndResizesAreReplacedByTheStoredRectangle)
{
    TestApp();
    CFrameDlg dlg(IDD_CONTROLS_TEST);
    ASSERT_TRUE(dlg.Create(IDD_CONTROLS_TEST));
    CFixedPosEdit edit;
    edit.SetFixedRect(CRect(20, 30, 120, 52));
    ASSERT_TRUE(edit.SubclassDlgItem(IDC_TEST_EDIT, &dlg));
    edit.MoveWindow(0, 0, 300, 80);
    CRect r;
    edit.GetWindowRect(&r);
    dlg.ScreenToClient(&r);
    EXPECT_EQ(CRect(20, 30, 120, 52), r);
    edit.UnsubclassWindow();
    edit.MoveWindow(5, 6, 70, 20);
    edit.GetWindowRect(&r);
    dlg.ScreenToClient(&r);
    EXPECT_EQ(CRect(5, 6, 75, 26), r) << "released, it moves again";
    dlg.DestroyWindow();
}

} // namespace
