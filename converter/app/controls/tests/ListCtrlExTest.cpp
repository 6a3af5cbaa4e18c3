// List helpers: columns, selection, check boxes; the one-choice check list driven by a click
// and the Space key.
#include <gtest/gtest.h>

#include "ControlsTestRes.h"
#include "FrameDlg.h"
#include "FwTestSupport.h"
#include "GuiDriving.h"
#include "ListCtrlEx.h"

namespace {

UINT StateImage(const CListCtrl& list, int item) { return (list.GetItemState(item, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12; }

template <class List>
class ListFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApp();
        ASSERT_TRUE(m_dlg.Create(IDD_CONTROLS_TEST));
        ASSERT_TRUE(m_list.SubclassDlgItem(IDC_TEST_LIST, &m_dlg));
        m_list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
        m_list.InsertColumnEx(0, L"Name", -1, LVCFMT_LEFT, 120);
        for (const wchar_t* name : {L"one", L"two", L"three", L"four"})
            m_list.InsertItem(m_list.GetItemCount(), name);
    }
    void TearDown() override { m_dlg.DestroyWindow(); }

    CFrameDlg m_dlg{IDD_CONTROLS_TEST};
    List m_list;
};

using ListCtrlExTest = ListFixture<CListCtrlEx>;
using RadioListCtrlTest = ListFixture<CRadioListCtrl>;

TEST_F(ListCtrlExTest, ColumnsTakeOnlyTheGivenParts)
{
    EXPECT_EQ(1, m_list.InsertColumnEx(1, L"Size", -1, LVCFMT_RIGHT, 64));
    EXPECT_EQ(2, m_list.InsertColumnEx(2, nullptr, -1, -1, 40));
    EXPECT_EQ(64, m_list.GetColumnWidth(1));
    LVCOLUMNW info{};
    wchar_t text[64] = L"";
    info.mask = LVCF_FMT | LVCF_TEXT;
    info.pszText = text;
    info.cchTextMax = 64;
    ASSERT_TRUE(m_list.GetColumn(1, &info));
    EXPECT_STREQ(L"Size", text);
    EXPECT_EQ(LVCFMT_RIGHT, info.fmt & LVCFMT_JUSTIFYMASK);
    ASSERT_TRUE(m_list.SetColumnText(1, L"Bytes"));
    ASSERT_TRUE(m_list.GetColumn(1, &info));
    EXPECT_STREQ(L"Bytes", text);
}

TEST_F(ListCtrlExTest, SelectionHelpers)
{
    EXPECT_EQ(-1, m_list.GetFirstSelected());
    m_list.SelectItem(2, TRUE, FALSE);
    m_list.SelectItem(3, TRUE, FALSE);
    EXPECT_EQ(2, m_list.GetFirstSelected());
    EXPECT_TRUE(m_list.IsItemSelected(3));
    EXPECT_TRUE(m_list.GetItemState(3, LVIS_FOCUSED) & LVIS_FOCUSED);
    m_list.SelectItem(1, TRUE, TRUE);
    EXPECT_EQ(1u, m_list.GetSelectedCount());
    EXPECT_EQ(1, m_list.GetFirstSelected());
    m_list.SelectItem(1, FALSE, FALSE);
    EXPECT_EQ(-1, m_list.GetFirstSelected());
    m_list.SelectAll(TRUE);
    EXPECT_EQ(4u, m_list.GetSelectedCount());
    m_list.SelectAll(FALSE);
    EXPECT_EQ(0u, m_list.GetSelectedCount());
}

TEST_F(ListCtrlExTest, CheckAllSetsEveryCheckBox)
{
    m_list.CheckAll(TRUE);
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(2u, StateImage(m_list, i));
    m_list.CheckAll(FALSE);
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(1u, StateImage(m_list, i));
}

TEST_F(RadioListCtrlTest, OneCheckedItemAtMost)
{
    EXPECT_EQ(-1, m_list.GetCheckedItem()) << "new items start unchecked";
    EXPECT_TRUE(m_list.CheckItem(1));
    EXPECT_EQ(1, m_list.GetCheckedItem());
    EXPECT_TRUE(m_list.CheckItem(3));
    EXPECT_EQ(3, m_list.GetCheckedItem());
    EXPECT_EQ(1u, StateImage(m_list, 1));
    EXPECT_FALSE(m_list.CheckItem(9));
    EXPECT_EQ(3, m_list.GetCheckedItem());
}

TEST_F(RadioListCtrlTest, AClickOnACheckBoxAndTheSpaceKeyChoose)
{
    m_dlg.ShowWindow(SW_SHOW);
    m_dlg.SetForegroundWindow();
    m_dlg.UpdateWindow();
    m_list.CheckItem(0);
    CRect box;
    ASSERT_TRUE(m_list.GetItemRect(2, &box, LVIR_ICON));
    CRect label;
    m_list.GetItemRect(2, &label, LVIR_BOUNDS);
    // The state image sits at the left of the row, before the label.
    CPoint p(label.left + 8, (label.top + label.bottom) / 2);
    LVHITTESTINFO hit{};
    hit.pt = p;
    m_list.SubItemHitTest(&hit);
    ASSERT_TRUE(hit.flags & LVHT_ONITEMSTATEICON) << "flags " << hit.flags;
    m_list.ClientToScreen(&p);
    ClickAt(p.x, p.y);
    EXPECT_TRUE(PumpUntil([&] { return m_list.GetCheckedItem() == 2; }, 5000));
    EXPECT_EQ(1u, StateImage(m_list, 0));
    ClickAt(p.x, p.y);
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(2, m_list.GetCheckedItem()) << "a second click keeps the choice";

    m_list.SetFocus();
    m_list.SelectItem(3, TRUE, TRUE);
    PressKey(VK_SPACE);
    EXPECT_TRUE(PumpUntil([&] { return m_list.GetCheckedItem() == 3; }, 5000));
    EXPECT_EQ(1u, StateImage(m_list, 2));
}

} // namespace
