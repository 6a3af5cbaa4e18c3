// Toolbars from toolbar resources: buttons and separators, texts, drop-down buttons, tool-tip
// requests reaching the owner and command updates of the buttons.
#include <gtest/gtest.h>

#include "FrameworkTestRes.h"
#include "FwTestSupport.h"

namespace {

class ToolOwner : public CWnd {
    FW_DECLARE_MESSAGE_MAP()
public:
    void OnAdd() {}
    void OnUpdateRemove(CCmdUI* ui) { ui->Enable(m_removeEnabled); ui->SetCheck(1); }
    void OnTip(UINT id, NMHDR*, LRESULT* result)
    {
        m_tipRequests++;
        m_lastTipId = id;
        *result = 0;
    }
    BOOL m_removeEnabled = FALSE;
    int m_tipRequests = 0;
    UINT m_lastTipId = 0;
};

FW_BEGIN_MESSAGE_MAP(ToolOwner, CWnd)
    FwOnCommand(ID_TOOL_ADD, &ThisClass::OnAdd),
    FwOnUpdateCommand(ID_TOOL_REMOVE, &ThisClass::OnUpdateRemove),
    FwOnNotifyRange(TTN_GETDISPINFOW, 0, 0xFFFFFFFF, &ThisClass::OnTip),
FW_END_MESSAGE_MAP()

class ToolBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApp();
        ASSERT_TRUE(m_owner.CreateEx(0, nullptr, L"Tool owner", WS_OVERLAPPEDWINDOW, CRect(10, 10, 400, 200), nullptr, 0));
        ASSERT_TRUE(m_bar.Create(&m_owner, WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | TBSTYLE_LIST, 59393));
    }
    void TearDown() override { m_owner.DestroyWindow(); }

    ToolOwner m_owner;
    CToolBar m_bar;
};

TEST_F(ToolBarTest, LoadsOneButtonPerEntryWithImagesInOrder)
{
    ASSERT_TRUE(m_bar.LoadToolBar(IDR_TEST_TOOLBAR));
    ASSERT_EQ(4, m_bar.GetButtonCount());
    const UINT ids[] = {ID_TOOL_ADD, 0, ID_TOOL_REMOVE, ID_TOOL_MORE};
    const int images[] = {0, -1, 1, 2};
    for (int i = 0; i < 4; i++) {
        TBBUTTON button{};
        ASSERT_TRUE(m_bar.SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
        EXPECT_EQ(ids[i], m_bar.GetItemID(i));
        if (ids[i] == 0) {
            EXPECT_TRUE(button.fsStyle & BTNS_SEP);
        } else {
            EXPECT_EQ(images[i], button.iBitmap);
            EXPECT_TRUE(m_bar.IsButtonEnabled(ids[i]));
        }
    }
}

TEST_F(ToolBarTest, AMissingOrMalformedResourceIsRefused)
{
    EXPECT_FALSE(m_bar.LoadToolBar(4242));
    EXPECT_FALSE(m_bar.LoadToolBar(IDR_BAD_TOOLBAR));
    EXPECT_EQ(0, m_bar.GetButtonCount());
}

TEST_F(ToolBarTest, TextsAndDropDownButtons)
{
    ASSERT_TRUE(m_bar.LoadToolBar(IDR_TEST_TOOLBAR));
    EXPECT_TRUE(m_bar.SetButtonText(ID_TOOL_ADD, L"Add GIF"));
    EXPECT_EQ(L"Add GIF", m_bar.GetButtonText(ID_TOOL_ADD));
    EXPECT_TRUE(m_bar.GetButtonStyle(ID_TOOL_ADD) & BTNS_SHOWTEXT);
    EXPECT_TRUE(m_bar.SetDropDownButton(ID_TOOL_MORE, TRUE));
    EXPECT_EQ(BTNS_WHOLEDROPDOWN, m_bar.GetButtonStyle(ID_TOOL_MORE) & BTNS_WHOLEDROPDOWN);
    EXPECT_TRUE(m_bar.SetDropDownButton(ID_TOOL_REMOVE, FALSE));
    EXPECT_EQ(BTNS_DROPDOWN, m_bar.GetButtonStyle(ID_TOOL_REMOVE) & (BTNS_DROPDOWN | BTNS_WHOLEDROPDOWN));
}

TEST_F(ToolBarTest, UpdatesDisableButtonsNobodyHandles)
{
    ASSERT_TRUE(m_bar.LoadToolBar(IDR_TEST_TOOLBAR));
    m_bar.UpdateButtons(&m_owner, TRUE);
    EXPECT_TRUE(m_bar.IsButtonEnabled(ID_TOOL_ADD)) << "a handler";
    EXPECT_FALSE(m_bar.IsButtonEnabled(ID_TOOL_REMOVE)) << "its update handler said so";
    EXPECT_TRUE(m_bar.SendMessage(TB_ISBUTTONCHECKED, ID_TOOL_REMOVE));
    EXPECT_FALSE(m_bar.IsButtonEnabled(ID_TOOL_MORE)) << "nobody handles it";
    m_owner.m_removeEnabled = TRUE;
    m_bar.EnableButton(ID_TOOL_MORE, TRUE);
    m_bar.UpdateButtons(&m_owner, FALSE);
    EXPECT_TRUE(m_bar.IsButtonEnabled(ID_TOOL_REMOVE));
    EXPECT_TRUE(m_bar.IsButtonEnabled(ID_TOOL_MORE)) << "left alone";
}

TEST_F(ToolBarTest, ToolTipRequestsReachTheOwnerUnderTheCommandId)
{
    ASSERT_TRUE(m_bar.LoadToolBar(IDR_TEST_TOOLBAR));
    HWND tips = m_bar.GetToolTips();
    ASSERT_NE(nullptr, tips);
    // What the tool tip asks when the pointer rests on the first button.
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = tips;
    info.hdr.idFrom = ID_TOOL_ADD;
    info.hdr.code = TTN_GETDISPINFOW;
    m_bar.SendMessage(WM_NOTIFY, ID_TOOL_ADD, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(1, m_owner.m_tipRequests);
    EXPECT_EQ(static_cast<UINT>(ID_TOOL_ADD), m_owner.m_lastTipId);
}

} // namespace
