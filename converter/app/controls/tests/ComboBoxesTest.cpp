// The converter's combo boxes: two-column items drawn, format headings, path selection under
// the file system's comparison, the history and its clear entry, and the frame-size fields.
#include <gtest/gtest.h>

#include "ColumnComboBox.h"
#include "DibCanvas.h"
#include "FormatComboBox.h"
#include "MediaFormatCatalog.h"
#include "PathComboBoxEx.h"
#include "RecentList.h"
#include "SizeComboBox.h"
#include "SkinTestSupport.h"

namespace {

using ComboBoxesTest = SkinDialogTest;

TEST_F(ComboBoxesTest, ColumnItemsDrawTheirTwoParts)
{
    CColumnComboBox combo;
    ASSERT_TRUE(combo.SubclassDlgItem(IDC_COLUMN_COMBO, &m_dlg));
    combo.SetSecondColumn(64, RGB(0, 0, 230), TRUE);
    combo.AddString(L"High quality\t1280 x 720");
    combo.AddString(L"Plain entry");
    combo.AddString(L"Escaped\\tright");
    combo.AddSeparator(0);

    struct Case {
        int index;
        UINT state;
        BOOL hideInEdit;
        bool rightShown;
        bool separator;
    } cases[] = {
        {0, 0, FALSE, true, true},
        {0, ODS_COMBOBOXEDIT, FALSE, true, false},
        {0, ODS_COMBOBOXEDIT, TRUE, false, false},
        {1, 0, FALSE, false, false},
        {2, 0, FALSE, true, false},
    };
    for (const Case& c : cases) {
        DibCanvas canvas(240, 18);
        combo.SetHideSecondInEdit(c.hideInEdit);
        DRAWITEMSTRUCT item = canvas.ComboItem(combo.m_hWnd, c.index, c.state);
        combo.DrawItem(&item);
        EXPECT_EQ(c.rightShown, canvas.Count(240 - 64, 240, Bluish) > 3) << c.index << " " << c.state;
        EXPECT_EQ(0, canvas.Count(0, 240 - 64 - 8, Bluish)) << "the left part in the text colour";
        EXPECT_GT(canvas.Count(0, 120, [](COLORREF p) { return GetRValue(p) < 100 && GetGValue(p) < 100 && GetBValue(p) < 100; }), 5)
            << "left text";
        EXPECT_EQ(c.separator, canvas.At(120, 17) == RGB(216, 224, 232)) << c.index;
    }
    DibCanvas selected(240, 18);
    DRAWITEMSTRUCT item = selected.ComboItem(combo.m_hWnd, 1, ODS_SELECTED);
    combo.DrawItem(&item);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), selected.At(230, 2));
}

TEST_F(ComboBoxesTest, FormatRowsAndHeadings)
{
    CFormatComboBox combo;
    ASSERT_TRUE(combo.SubclassDlgItem(IDC_FORMAT_COMBO, &m_dlg));
    CMediaFormatGroup video;
    CMediaCatalogItem mp4;
    mp4.m_category = MEDIA_CATEGORY_VIDEO;
    CMediaFormatGroup audio;
    CMediaCatalogItem mp3;
    mp3.m_category = MEDIA_CATEGORY_AUDIO;
    combo.AddEntry(L"Video", &video);
    combo.AddEntry(L"MP4\tMPEG-4 Video", &mp4);
    combo.AddEntry(L"Audio", &audio);
    combo.AddEntry(L"MP3\tMPEG Audio", &mp3);
    EXPECT_TRUE(combo.IsHeading(0));
    EXPECT_FALSE(combo.IsHeading(1));
    EXPECT_EQ(1, combo.FormatRowFrom(0));
    EXPECT_EQ(3, combo.FormatRowFrom(2));
    EXPECT_EQ(-1, combo.FormatRowFrom(4));
    EXPECT_EQ(&mp3, combo.GetEntry(3));
    struct Icon {
        int category;
        int image;
    } icons[] = {{1, 0}, {2, 1}, {10, 2}, {11, 2}, {12, 2}, {3, -1}, {-1, -1}};
    for (const Icon& i : icons)
        EXPECT_EQ(i.image, FormatIconIndex(i.category)) << i.category;

    DibCanvas heading(200, 18);
    DRAWITEMSTRUCT item = heading.ComboItem(combo.m_hWnd, 2, 0);
    combo.DrawItem(&item);
    EXPECT_EQ(RGB(0xE0, 0xE0, 0xE0), heading.At(100, 0)) << "a heading after the first";
    EXPECT_EQ(RGB(0xF0, 0xF0, 0xF0), heading.At(190, 8));
    DibCanvas first(200, 18);
    item = first.ComboItem(combo.m_hWnd, 0, 0);
    combo.DrawItem(&item);
    EXPECT_EQ(RGB(0xF0, 0xF0, 0xF0), first.At(100, 0)) << "no line over the first heading";
}

TEST_F(ComboBoxesTest, PathsAreFoundIgnoringCaseAndMovedToTheTop)
{
    CPathComboBoxEx combo;
    combo.SetMode(CPathComboBoxEx::MODE_FOLDERS);
    ASSERT_TRUE(combo.SubclassDlgItem(IDC_PATH_COMBO, &m_dlg));
    EXPECT_EQ(1, combo.m_autoComplete) << "auto-completion on its edit";
    combo.InsertPath(0, L"C:\\windows");
    combo.InsertPath(1, L"C:\\no such folder");
    int image = -2;
    combo.GetItemImages(0, &image, nullptr);
    EXPECT_GE(image, 0) << "an existing folder has its icon";
    combo.GetItemImages(1, &image, nullptr);
    EXPECT_EQ(I_IMAGENONE, image) << "no icon (-1 would ask the parent for one)";

    EXPECT_EQ(-1, combo.SelectPath(L"", TRUE));
    EXPECT_EQ(0, combo.SelectPath(L"c:\\NO SUCH FOLDER\\", TRUE));
    EXPECT_EQ(2, combo.GetCount()) << "found, not added again";
    EXPECT_EQ(L"C:\\no such folder", combo.GetItemText(0));
    EXPECT_EQ(0, combo.GetCurSel());

    EXPECT_EQ(-1, combo.SelectPath(L"C:\\elsewhere", FALSE));
    EXPECT_EQ(2, combo.GetCount());
    EXPECT_EQ(L"C:\\elsewhere", combo.GetEditText());
    EXPECT_EQ(0, combo.SelectPath(L"C:\\elsewhere", TRUE));
    EXPECT_EQ(3, combo.GetCount());
    EXPECT_EQ(L"C:\\elsewhere", combo.GetItemText(0));
    EXPECT_EQ(1, combo.FindStringExact(1, L"C:/NO SUCH FOLDER"));
    EXPECT_EQ(-1, combo.FindStringExact(2, L"C:\\no such folder"));
}

TEST_F(ComboBoxesTest, HistoryRefillsAndItsClearEntryEmptiesIt)
{
    CRecentList history;
    history.m_nMaxCount = 20;
    history.m_items.Add(L"C:\\windows");
    history.m_items.Add(L"C:\\videos");
    history.m_items.Add(L"");
    history.m_items.Add(L"C:\\after the gap");
    CHistoryComboBoxEx combo;
    combo.SetMode(CPathComboBoxEx::MODE_FOLDERS);
    ASSERT_TRUE(combo.SubclassDlgItem(IDC_PATH_COMBO, &m_dlg));
    combo.SetHistory(&history, L"Clear Recent List");
    ASSERT_EQ(3, combo.GetCount()) << "two entries up to the empty one, then the clear entry";
    EXPECT_EQ(L"C:\\videos", combo.GetItemText(1));
    EXPECT_EQ(L"Clear Recent List", combo.GetItemText(2));
    EXPECT_TRUE(combo.IsClearEntry(2));

    history.m_items.InsertAt(0, L"C:\\newest");
    EXPECT_EQ(0, combo.SelectPath(L"c:\\VIDEOS", FALSE)) << "refilled first, then found";
    EXPECT_EQ(4, combo.GetCount());
    EXPECT_EQ(L"C:\\videos", combo.GetItemText(0));
    EXPECT_EQ(L"C:\\newest", combo.GetItemText(1));
    int clearImage = 0;
    combo.GetItemImages(combo.GetCount() - 1, &clearImage, nullptr);
    EXPECT_EQ(I_IMAGENONE, clearImage) << "the clear entry has no icon";

    // Dropped down it is filled in history order, the folder it shows still selected.
    const auto dropDown = [&] {
        m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PATH_COMBO, CBN_DROPDOWN), reinterpret_cast<LPARAM>(combo.m_hWnd));
    };
    dropDown();
    EXPECT_EQ(L"C:\\newest", combo.GetItemText(0));
    EXPECT_EQ(2, combo.GetCurSel());
    EXPECT_EQ(L"C:\\videos", combo.GetEditText());

    combo.SetEditText(L"C:\\typed");
    dropDown();
    EXPECT_EQ(L"C:\\typed", combo.GetEditText()) << "typed text stays";
    combo.SetCurSel(combo.GetCount() - 1);
    m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PATH_COMBO, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo.m_hWnd));
    EXPECT_EQ(0, history.GetCount()) << "the history is emptied";
    EXPECT_EQ(0, combo.GetCount());
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(L"C:\\typed", combo.GetEditText()) << "the text shown when it dropped down stays";
    combo.Refill();
    EXPECT_EQ(0, combo.GetCount()) << "no clear entry without entries";

    CHistoryComboBoxEx without;
    without.Refill();   // no list: nothing to do
}

TEST_F(ComboBoxesTest, FrameSizeFieldsShowAndTakeTheSize)
{
    CSizeComboBox combo;
    ASSERT_TRUE(combo.SubclassDlgItem(IDC_SIZE_COMBO, &m_dlg));
    ASSERT_TRUE(combo.m_widthEdit.IsWindow());
    ASSERT_TRUE(combo.m_heightEdit.IsWindow());
    EXPECT_EQ(static_cast<int>(CSizeComboBox::ID_WIDTH_EDIT), combo.m_widthEdit.GetDlgCtrlID());
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(combo.m_hWnd, CSizeComboBox::ID_COMBO_EDIT))) << "the combo's own edit is hidden";
    EXPECT_EQ(L"x", combo.m_separator.GetWindowText());
    CRect w, s, h;
    combo.m_widthEdit.GetWindowRect(&w);
    combo.m_separator.GetWindowRect(&s);
    combo.m_heightEdit.GetWindowRect(&h);
    EXPECT_EQ(w.right, s.left);
    EXPECT_EQ(12, s.Width());
    EXPECT_EQ(s.right, h.left);

    combo.AddString(L"320 x 240");
    combo.AddString(L"0 x 480");
    combo.SetFrameSize(0, 480);
    EXPECT_EQ(L"Auto", combo.m_widthEdit.GetWindowText());
    EXPECT_EQ(L"480", combo.m_heightEdit.GetWindowText());
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(0, m_dlg.m_editChanges) << "no change notice while it is set";

    combo.m_widthEdit.SetWindowText(L"640");
    EXPECT_EQ(L"640 x 480", combo.GetWindowText());
    EXPECT_TRUE(PumpUntil([&] { return m_dlg.m_editChanges == 1; }, 2000)) << "CBN_EDITCHANGE to the parent";

    combo.SetCurSel(0);
    m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SIZE_COMBO, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo.m_hWnd));
    EXPECT_EQ(L"320", combo.m_widthEdit.GetWindowText());
    EXPECT_EQ(L"240", combo.m_heightEdit.GetWindowText());
    EXPECT_EQ(combo.m_widthEdit.m_hWnd, ::GetFocus()) << "the width field takes the focus";

    PressKey(VK_TAB);
    EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == combo.m_heightEdit.m_hWnd; }, 3000)) << "Tab to the height";
    PressKeyWith(VK_SHIFT, VK_TAB);
    EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == combo.m_widthEdit.m_hWnd; }, 3000)) << "Shift+Tab back";

    combo.EnableWindow(FALSE);
    EXPECT_FALSE(combo.m_widthEdit.IsWindowEnabled());
    EXPECT_FALSE(combo.m_separator.IsWindowEnabled());
    combo.EnableWindow(TRUE);
    EXPECT_TRUE(combo.m_heightEdit.IsWindowEnabled());

    CIntPair size{1280, 0};
    CDataExchange load(&m_dlg, FALSE);
    DDX_FrameSize(&load, IDC_SIZE_COMBO, size);
    EXPECT_EQ(L"1280", combo.m_widthEdit.GetWindowText());
    EXPECT_EQ(L"Auto", combo.m_heightEdit.GetWindowText());
    EXPECT_EQ(L"1280 x 0", combo.GetWindowText());
    combo.SetWindowText(L"352 x 288");
    CDataExchange save(&m_dlg, TRUE);
    DDX_FrameSize(&save, IDC_SIZE_COMBO, size);
    EXPECT_EQ(352, size.first);
    EXPECT_EQ(288, size.second);
}

} // namespace
