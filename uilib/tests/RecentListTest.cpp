#include <gtest/gtest.h>

#include "FwTestSupport.h"
#include "RecentList.h"

namespace {

using Recent = FwProfileTest;

constexpr UINT kFirst = 40001;

// Answers the placeholder's update through the list, as the programs' handlers do.
class CRecentOwner : public CCmdTarget {
    FW_DECLARE_MESSAGE_MAP()
public:
    CRecentList list;
    int shown = -2;

protected:
    void OnUpdateRecent(CCmdUI* ui) { shown = list.UpdateMenu(ui); }
    void OnRecent(UINT) {}
};

FW_BEGIN_MESSAGE_MAP(CRecentOwner, CCmdTarget)
    FwOnUpdateCommand(kFirst, &ThisClass::OnUpdateRecent),
    FwOnCommandRange(kFirst, kFirst + 9, &ThisClass::OnRecent),
FW_END_MESSAGE_MAP()

void BuildMenu(CMenu& menu)
{
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, 100, L"Open");
    menu.AppendMenu(MF_STRING, kFirst, L"Recent File");
    menu.AppendMenu(MF_STRING, 200, L"Exit");
}

} // namespace

TEST_F(Recent, AddMovesEqualEntriesToTheFrontAndKeepsTheMaximum)
{
    CRecentListBase exact;
    CRecentList paths;
    for (CRecentListBase* list : {static_cast<CRecentListBase*>(&exact), static_cast<CRecentListBase*>(&paths)}) {
        list->Add(L"  C:\\a.gif  ");
        list->Add(L"C:\\b.gif");
        list->Add(L"   ");
        list->Add(L"C:\\A.GIF");
    }
    ASSERT_EQ(paths.GetCount(), 2);
    EXPECT_EQ(paths.GetAt(0), L"C:\\A.GIF");   // written as newly given
    EXPECT_EQ(paths.GetAt(1), L"C:\\b.gif");
    ASSERT_EQ(exact.GetCount(), 3);
    EXPECT_EQ(exact.GetAt(2), L"C:\\a.gif");

    CRecentList full;
    for (int i = 0; i < 11; i++) {
        CString item;
        item.Format(L"item %d", i);
        full.Add(item);
    }
    ASSERT_EQ(full.GetCount(), 10);
    EXPECT_EQ(full.GetAt(0), L"item 10");
    EXPECT_EQ(full.GetAt(9), L"item 1");
    full.Remove(0);
    full.Remove(42);
    EXPECT_EQ(full.GetCount(), 9);
}

TEST_F(Recent, LoadSkipsEmptyValuesAndSaveReplacesTheSection)
{
    CWinApp& app = TestApp();
    app.WriteProfileString(L"Recent\\Files", L"01", L"  ");
    app.WriteProfileString(L"Recent\\Files", L"02", L"C:\\x.gif");
    CRecentList list;
    list.Load();   // no section yet: nothing
    EXPECT_EQ(list.GetCount(), 0);
    list.m_strSection = L"Recent\\Files";
    list.m_strEntryFormat = L"%02d";
    list.Load();
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetAt(0), L"C:\\x.gif");

    list.Add(L"C:\\y.gif");
    list.Save();
    EXPECT_EQ(app.GetProfileString(L"Recent\\Files", L"01"), L"C:\\y.gif");
    EXPECT_EQ(app.GetProfileString(L"Recent\\Files", L"02"), L"C:\\x.gif");
    list.RemoveAll();
    list.Save();
    EXPECT_EQ(app.GetSectionKey(L"Recent\\Files", false), nullptr);   // the section is gone
}

TEST_F(Recent, MenuShowsTheItemsOrThePlaceholder)
{
    CRecentOwner owner;
    owner.list.Add(L"C:\\pics\\one.gif");
    owner.list.Add(L"C:\\pics\\Tom & Jerry.gif");
    CMenu menu;
    BuildMenu(menu);
    FwUpdateMenuPopup(&owner, &menu, TRUE);
    EXPECT_EQ(owner.shown, 2);
    ASSERT_EQ(menu.GetMenuItemCount(), 4);
    EXPECT_EQ(menu.GetMenuString(1, MF_BYPOSITION), L"C:\\pics\\Tom && Jerry.gif");
    EXPECT_EQ(menu.GetMenuItemID(1), kFirst);
    EXPECT_EQ(menu.GetMenuString(2, MF_BYPOSITION), L"C:\\pics\\one.gif");
    EXPECT_EQ(menu.GetMenuItemID(2), kFirst + 1);
    // The walk went on after the run: Exit has no handler and was disabled.
    EXPECT_NE(menu.GetMenuState(200, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(menu.GetMenuState(kFirst + 1, MF_BYCOMMAND) & MF_GRAYED, 0u);

    owner.list.m_bFullPath = 0;
    FwUpdateMenuPopup(&owner, &menu, TRUE);
    ASSERT_EQ(menu.GetMenuItemCount(), 4);
    EXPECT_EQ(menu.GetMenuString(2, MF_BYPOSITION), L"one.gif");

    owner.list.RemoveAll();
    FwUpdateMenuPopup(&owner, &menu, TRUE);
    EXPECT_EQ(owner.shown, 0);
    ASSERT_EQ(menu.GetMenuItemCount(), 3);
    EXPECT_EQ(menu.GetMenuString(kFirst, MF_BYCOMMAND), L"Recent File");
    EXPECT_NE(menu.GetMenuState(kFirst, MF_BYCOMMAND) & MF_GRAYED, 0u);

    CCmdUI none;
    EXPECT_EQ(owner.list.UpdateMenu(&none), -1);
}
