#include "ListCtrlEx.h"

namespace {

constexpr UINT kUnchecked = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT kChecked = INDEXTOSTATEIMAGEMASK(2);

} // namespace

void CListCtrlEx::SelectItem(int item, BOOL select, BOOL clearOthers)
{
    if (clearOthers)
        SetItemState(-1, 0, LVIS_SELECTED);
    if (select)
        SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    else
        SetItemState(item, 0, LVIS_SELECTED);
}

BOOL CListCtrlEx::SetColumnText(int column, const wchar_t* text)
{
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT;
    info.pszText = const_cast<wchar_t*>(text ? text : L"");
    return SetColumn(column, &info);
}

int CListCtrlEx::InsertColumnEx(int column, const wchar_t* text, int image, int format, int width, int subItem)
{
    LVCOLUMNW info{};
    if (text) {
        info.mask |= LVCF_TEXT;
        info.pszText = const_cast<wchar_t*>(text);
    }
    if (image != -1) {
        info.mask |= LVCF_IMAGE;
        info.iImage = image;
    }
    if (format != -1) {
        info.mask |= LVCF_FMT;
        info.fmt = format;
    }
    if (width != -1) {
        info.mask |= LVCF_WIDTH;
        info.cx = width;
    }
    if (subItem != -1) {
        info.mask |= LVCF_SUBITEM;
        info.iSubItem = subItem;
    }
    return InsertColumn(column, &info);
}

void CListCtrlEx::SelectAll(BOOL select) { SetItemState(-1, select ? LVIS_SELECTED : 0, LVIS_SELECTED); }

void CListCtrlEx::CheckAll(BOOL check) { SetItemState(-1, check ? kChecked : kUnchecked, LVIS_STATEIMAGEMASK); }

// ---- one checked item -----------------------------------------------------------------------

FW_BEGIN_MESSAGE_MAP(CRadioListCtrl, CListCtrlEx)
    FwOnReflectNotify(LVN_INSERTITEM, &ThisClass::OnItemInserted),
    FwOnMouse(WM_LBUTTONDOWN, &ThisClass::OnLButtonDown),
    FwOnKey(WM_KEYDOWN, &ThisClass::OnKeyDown),
    FwOnKey(WM_CHAR, &ThisClass::OnChar),
FW_END_MESSAGE_MAP()

int CRadioListCtrl::GetCheckedItem() const
{
    const int count = GetItemCount();
    for (int i = 0; i < count; i++) {
        if ((GetItemState(i, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) != kUnchecked)
            return i;
    }
    return -1;
}

BOOL CRadioListCtrl::CheckItem(int item)
{
    if (item < 0 || item >= GetItemCount())
        return FALSE;
    int checked = GetCheckedItem();
    if (checked >= 0)
        SetItemState(checked, kUnchecked, LVIS_STATEIMAGEMASK);
    return SetItemState(item, kChecked, LVIS_STATEIMAGEMASK);
}

void CRadioListCtrl::OnItemInserted(NMHDR* header, LRESULT*)
{
    auto* view = reinterpret_cast<NMLISTVIEW*>(header);
    SetItemState(view->iItem, kUnchecked, LVIS_STATEIMAGEMASK);
}

void CRadioListCtrl::OnLButtonDown(UINT, CPoint point)
{
    UINT where = 0;
    int item = HitTest(point, &where);
    // The list would toggle the box by itself; a radio choice only ever sets it.
    if (item >= 0 && (where & LVHT_ONITEMSTATEICON)) {
        CheckItem(item);
        return;
    }
    Default();
}

void CRadioListCtrl::OnKeyDown(UINT key, UINT, UINT)
{
    if (key == VK_SPACE) {
        int item = GetFirstSelected();
        if (item >= 0)
            CheckItem(item);
        return;
    }
    Default();
}

void CRadioListCtrl::OnChar(UINT key, UINT, UINT)
{
    if (key != L' ')
        Default();
}
