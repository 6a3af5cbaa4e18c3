#pragma once
// List controls of the converter: selection and check-box helpers over the system list, and a
// check list that allows one checked item at most.
#include "Controls.h"

class CListCtrlEx : public CListCtrl {
public:
    BOOL IsItemSelected(int item) const { return (GetItemState(item, LVIS_SELECTED) & LVIS_SELECTED) != 0; }
    // -1 when nothing is selected.
    int GetFirstSelected() const { return GetNextItem(-1, LVNI_SELECTED); }
    // Selecting also focuses the item; `clearOthers` deselects every item first.
    void SelectItem(int item, BOOL select, BOOL clearOthers);
    // Sets the header text of a column.
    BOOL SetColumnText(int column, const wchar_t* text);

    // Each part is used only when given (text not null, the numbers not -1).
    virtual int InsertColumnEx(int column, const wchar_t* text, int image = -1, int format = -1, int width = -1, int subItem = -1);
    virtual void SelectAll(BOOL select);
    // Every item's check box (state image 2 checked, 1 unchecked).
    virtual void CheckAll(BOOL check);
};

// One checked item at most; the check box is the item's state image. A click on a check box
// and the Space key on the first selected item check that item.
class CRadioListCtrl : public CListCtrlEx {
    FW_DECLARE_MESSAGE_MAP()
public:
    // The first item that is not unchecked, else -1.
    virtual int GetCheckedItem() const;
    // Unchecks the checked item, then checks `item`; whether that succeeded.
    virtual BOOL CheckItem(int item);

protected:
    void OnItemInserted(NMHDR* header, LRESULT* result);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnChar(UINT key, UINT repeat, UINT flags);
};
