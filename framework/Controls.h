#pragma once
// Wrappers of the standard and common controls: creation with the control's class and the
// messages the programs send them. Owner-drawn buttons, combo and list boxes get the reflected
// WM_DRAWITEM / WM_MEASUREITEM through DrawItem and MeasureItem.
#include <windows.h>
#include <commctrl.h>

#include "CWnd.h"

class CImageList;

// Common base: creation of a control window of a given class.
class CControl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) { return CreateControl(0, style, rect, parent, id); }
    BOOL CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) { return CreateControl(exStyle, style, rect, parent, id); }
    using CWnd::Create;
    using CWnd::CreateEx;

protected:
    virtual const wchar_t* ControlClass() const = 0;
    BOOL CreateControl(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Hands reflected owner-draw messages to DrawItem / MeasureItem, after the message map.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CButton : public CControl {
public:
    BOOL Create(const wchar_t* text, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    using CControl::Create;
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    void SetState(BOOL highlight) { SendMessage(BM_SETSTATE, highlight); }
    UINT GetButtonStyle() const { return GetStyle() & 0xFFFF; }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) { SendMessage(BM_SETSTYLE, style, redraw); }
    HICON SetIcon(HICON icon) { return reinterpret_cast<HICON>(SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon))); }
    HBITMAP SetBitmap(HBITMAP bitmap) { return reinterpret_cast<HBITMAP>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap))); }

protected:
    const wchar_t* ControlClass() const override { return WC_BUTTONW; }
};

class CEdit : public CControl {
public:
    void SetSel(int start, int end, BOOL noScroll = FALSE)
    {
        SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
        if (!noScroll)
            SendMessage(EM_SCROLLCARET);
    }
    void GetSel(int& start, int& end) const { SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end)); }
    void ReplaceSel(const wchar_t* text, BOOL undo = FALSE) { SendMessage(EM_REPLACESEL, undo, reinterpret_cast<LPARAM>(text)); }
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly)); }
    void LimitText(int chars = 0) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(chars)); }
    int GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
    BOOL GetModify() const { return static_cast<BOOL>(SendMessage(EM_GETMODIFY)); }
    void SetModify(BOOL modified = TRUE) { SendMessage(EM_SETMODIFY, modified); }

protected:
    const wchar_t* ControlClass() const override { return WC_EDITW; }
};

class CStatic : public CControl {
public:
    BOOL Create(const wchar_t* text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
    using CControl::Create;
    HICON SetIcon(HICON icon) { return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon))); }
    HBITMAP SetBitmap(HBITMAP bitmap) { return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap))); }

protected:
    const wchar_t* ControlClass() const override { return WC_STATICW; }
};

class CScrollBar : public CControl {
public:
    void SetScrollRange(int minimum, int maximum, BOOL redraw = TRUE) { ::SetScrollRange(m_hWnd, SB_CTL, minimum, maximum, redraw); }
    int SetScrollPos(int pos, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, pos, redraw); }
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }

protected:
    const wchar_t* ControlClass() const override { return WC_SCROLLBARW; }
};

class CListBox : public CControl {
public:
    int AddString(const wchar_t* text) { return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
    int InsertString(int index, const wchar_t* text) { return static_cast<int>(SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text))); }
    int DeleteString(int index) { return static_cast<int>(SendMessage(LB_DELETESTRING, static_cast<WPARAM>(index))); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index))); }
    CString GetText(int index) const;
    DWORD_PTR GetItemData(int index) const { return static_cast<DWORD_PTR>(SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(index))); }
    int SetItemData(int index, DWORD_PTR data) { return static_cast<int>(SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data))); }

protected:
    const wchar_t* ControlClass() const override { return WC_LISTBOXW; }
};

class CComboBox : public CControl {
public:
    int AddString(const wchar_t* text) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
    int InsertString(int index, const wchar_t* text) { return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text))); }
    int DeleteString(int index) { return static_cast<int>(SendMessage(CB_DELETESTRING, static_cast<WPARAM>(index))); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    CString GetLBText(int index) const;
    void GetLBText(int index, CString& text) const { text = GetLBText(index); }
    int GetLBTextLen(int index) const { return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index))); }
    int FindString(int start, const wchar_t* text) const { return static_cast<int>(SendMessage(CB_FINDSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text))); }
    int FindStringExact(int start, const wchar_t* text) const { return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text))); }
    int SelectString(int start, const wchar_t* text) { return static_cast<int>(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text))); }
    DWORD_PTR GetItemData(int index) const { return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index))); }
    int SetItemData(int index, DWORD_PTR data) { return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data))); }
    void* GetItemDataPtr(int index) const { return reinterpret_cast<void*>(GetItemData(index)); }
    int SetItemDataPtr(int index, void* data) { return SetItemData(index, reinterpret_cast<DWORD_PTR>(data)); }
    int GetItemHeight(int index) const { return static_cast<int>(SendMessage(CB_GETITEMHEIGHT, static_cast<WPARAM>(index))); }
    int SetItemHeight(int index, UINT height) { return static_cast<int>(SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(index), height)); }
    void GetDroppedControlRect(RECT* r) const { SendMessage(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(r)); }
    int SetDroppedWidth(UINT width) { return static_cast<int>(SendMessage(CB_SETDROPPEDWIDTH, width)); }
    int GetDroppedWidth() const { return static_cast<int>(SendMessage(CB_GETDROPPEDWIDTH)); }
    BOOL GetDroppedState() const { return static_cast<BOOL>(SendMessage(CB_GETDROPPEDSTATE)); }
    void ShowDropDown(BOOL show = TRUE) { SendMessage(CB_SHOWDROPDOWN, show); }
    BOOL LimitText(int chars) { return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(chars))); }
    BOOL SetEditSel(int start, int end) { return static_cast<BOOL>(SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(start, end))); }
    DWORD GetEditSel() const { return static_cast<DWORD>(SendMessage(CB_GETEDITSEL)); }

protected:
    const wchar_t* ControlClass() const override { return WC_COMBOBOXW; }
};

// The extended combo box (images and indentation); plain combo messages still apply.
class CComboBoxEx : public CComboBox {
public:
    int InsertItem(const COMBOBOXEXITEMW* item) { return static_cast<int>(SendMessage(CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(item))); }
    BOOL SetItem(const COMBOBOXEXITEMW* item) { return static_cast<BOOL>(SendMessage(CBEM_SETITEMW, 0, reinterpret_cast<LPARAM>(item))); }
    BOOL GetItem(COMBOBOXEXITEMW* item) const { return static_cast<BOOL>(SendMessage(CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(item))); }
    int DeleteItem(int index) { return static_cast<int>(SendMessage(CBEM_DELETEITEM, static_cast<WPARAM>(index))); }
    HWND GetEditCtrl() const { return reinterpret_cast<HWND>(SendMessage(CBEM_GETEDITCONTROL)); }
    HWND GetComboBoxCtrl() const { return reinterpret_cast<HWND>(SendMessage(CBEM_GETCOMBOCONTROL)); }
    HIMAGELIST SetImageList(HIMAGELIST list) { return reinterpret_cast<HIMAGELIST>(SendMessage(CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list))); }
    HIMAGELIST GetImageList() const { return reinterpret_cast<HIMAGELIST>(SendMessage(CBEM_GETIMAGELIST)); }
    DWORD SetExtendedStyle(DWORD mask, DWORD style) { return static_cast<DWORD>(SendMessage(CBEM_SETEXTENDEDSTYLE, mask, style)); }

protected:
    const wchar_t* ControlClass() const override { return WC_COMBOBOXEXW; }
};

class CHeaderCtrl : public CControl {
public:
    int GetItemCount() const { return Header_GetItemCount(m_hWnd); }
    BOOL GetItem(int index, HDITEMW* item) const { return Header_GetItem(m_hWnd, index, item); }
    BOOL SetItem(int index, HDITEMW* item) { return Header_SetItem(m_hWnd, index, item); }
    BOOL GetItemRect(int index, RECT* r) const { return Header_GetItemRect(m_hWnd, index, r); }
    HIMAGELIST SetImageList(HIMAGELIST list) { return Header_SetImageList(m_hWnd, list); }
    HIMAGELIST GetImageList() const { return Header_GetImageList(m_hWnd); }
    BOOL Layout(HDLAYOUT* layout) { return Header_Layout(m_hWnd, layout); }

protected:
    const wchar_t* ControlClass() const override { return WC_HEADERW; }
};

class CListCtrl : public CControl {
public:
    int InsertColumn(int column, const wchar_t* heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
    int InsertColumn(int column, const LVCOLUMNW* info) { return ListView_InsertColumn(m_hWnd, column, info); }
    BOOL DeleteColumn(int column) { return ListView_DeleteColumn(m_hWnd, column); }
    BOOL GetColumn(int column, LVCOLUMNW* info) const { return ListView_GetColumn(m_hWnd, column, info); }
    BOOL SetColumn(int column, const LVCOLUMNW* info) { return ListView_SetColumn(m_hWnd, column, info); }
    int GetColumnWidth(int column) const { return ListView_GetColumnWidth(m_hWnd, column); }
    BOOL SetColumnWidth(int column, int width) { return ListView_SetColumnWidth(m_hWnd, column, width); }
    int InsertItem(int index, const wchar_t* text, int image = -1);
    int InsertItem(const LVITEMW* item) { return ListView_InsertItem(m_hWnd, item); }
    BOOL SetItem(const LVITEMW* item) { return ListView_SetItem(m_hWnd, item); }
    BOOL GetItem(LVITEMW* item) const { return ListView_GetItem(m_hWnd, item); }
    BOOL DeleteItem(int index) { return ListView_DeleteItem(m_hWnd, index); }
    BOOL DeleteAllItems() { return ListView_DeleteAllItems(m_hWnd); }
    int GetItemCount() const { return ListView_GetItemCount(m_hWnd); }
    CString GetItemText(int index, int subItem) const;
    BOOL SetItemText(int index, int subItem, const wchar_t* text);
    DWORD_PTR GetItemData(int index) const;
    BOOL SetItemData(int index, DWORD_PTR data);
    UINT GetItemState(int index, UINT mask) const { return ListView_GetItemState(m_hWnd, index, mask); }
    BOOL SetItemState(int index, UINT state, UINT mask);
    int GetNextItem(int start, UINT flags) const { return ListView_GetNextItem(m_hWnd, start, flags); }
    UINT GetSelectedCount() const { return ListView_GetSelectedCount(m_hWnd); }
    BOOL GetItemRect(int index, RECT* r, UINT code) const { return ListView_GetItemRect(m_hWnd, index, r, code); }
    BOOL GetSubItemRect(int index, int subItem, int code, RECT* r) const { return ListView_GetSubItemRect(m_hWnd, index, subItem, code, r); }
    int HitTest(POINT p, UINT* flags = nullptr) const;
    int SubItemHitTest(LVHITTESTINFO* info) const { return ListView_SubItemHitTest(m_hWnd, info); }
    BOOL EnsureVisible(int index, BOOL partialOk) { return ListView_EnsureVisible(m_hWnd, index, partialOk); }
    int GetTopIndex() const { return ListView_GetTopIndex(m_hWnd); }
    int GetCountPerPage() const { return ListView_GetCountPerPage(m_hWnd); }
    BOOL RedrawItems(int first, int last) { return ListView_RedrawItems(m_hWnd, first, last); }
    DWORD SetExtendedStyle(DWORD style) { return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style)); }
    DWORD GetExtendedStyle() const { return ListView_GetExtendedListViewStyle(m_hWnd); }
    HIMAGELIST SetImageList(HIMAGELIST list, int kind) { return ListView_SetImageList(m_hWnd, list, kind); }
    HIMAGELIST GetImageList(int kind) const { return ListView_GetImageList(m_hWnd, kind); }
    HWND GetHeaderCtrl() const { return ListView_GetHeader(m_hWnd); }
    HWND EditLabel(int index) { return ListView_EditLabel(m_hWnd, index); }
    HWND GetEditControl() const { return ListView_GetEditControl(m_hWnd); }
    BOOL GetCheck(int index) const { return ListView_GetCheckState(m_hWnd, index); }
    BOOL SetCheck(int index, BOOL check = TRUE);
    COLORREF GetBkColor() const { return ListView_GetBkColor(m_hWnd); }
    BOOL SetBkColor(COLORREF colour) { return ListView_SetBkColor(m_hWnd, colour); }

protected:
    const wchar_t* ControlClass() const override { return WC_LISTVIEWW; }
};

class CTreeCtrl : public CControl {
public:
    HTREEITEM InsertItem(const TVINSERTSTRUCTW* insert) { return TreeView_InsertItem(m_hWnd, insert); }
    HTREEITEM InsertItem(const wchar_t* text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
    BOOL DeleteItem(HTREEITEM item) { return TreeView_DeleteItem(m_hWnd, item); }
    BOOL DeleteAllItems() { return TreeView_DeleteAllItems(m_hWnd); }
    BOOL Expand(HTREEITEM item, UINT code) { return TreeView_Expand(m_hWnd, item, code); }
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const { return TreeView_GetNextItem(m_hWnd, item, code); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return TreeView_GetChild(m_hWnd, item); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return TreeView_GetNextSibling(m_hWnd, item); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return TreeView_GetParent(m_hWnd, item); }
    HTREEITEM GetRootItem() const { return TreeView_GetRoot(m_hWnd); }
    HTREEITEM GetSelectedItem() const { return TreeView_GetSelection(m_hWnd); }
    HTREEITEM GetFirstVisibleItem() const { return TreeView_GetFirstVisible(m_hWnd); }
    BOOL SelectItem(HTREEITEM item) { return TreeView_SelectItem(m_hWnd, item); }
    BOOL Select(HTREEITEM item, UINT code) { return TreeView_Select(m_hWnd, item, code); }
    BOOL EnsureVisible(HTREEITEM item) { return TreeView_EnsureVisible(m_hWnd, item); }
    BOOL GetItem(TVITEMW* item) const { return TreeView_GetItem(m_hWnd, item); }
    BOOL SetItem(const TVITEMW* item) { return TreeView_SetItem(m_hWnd, item); }
    CString GetItemText(HTREEITEM item) const;
    BOOL SetItemText(HTREEITEM item, const wchar_t* text);
    DWORD_PTR GetItemData(HTREEITEM item) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
    UINT GetItemState(HTREEITEM item, UINT mask) const { return TreeView_GetItemState(m_hWnd, item, mask); }
    BOOL SetItemState(HTREEITEM item, UINT state, UINT mask);
    BOOL GetItemRect(HTREEITEM item, RECT* r, BOOL textOnly) const;
    BOOL ItemHasChildren(HTREEITEM item) const { return GetChildItem(item) != nullptr; }
    HTREEITEM HitTest(POINT p, UINT* flags = nullptr) const;
    BOOL SortChildrenCB(const TVSORTCB* sort) { return TreeView_SortChildrenCB(m_hWnd, sort, 0); }
    HIMAGELIST SetImageList(HIMAGELIST list, int kind) { return TreeView_SetImageList(m_hWnd, list, kind); }
    HIMAGELIST GetImageList(int kind) const { return TreeView_GetImageList(m_hWnd, kind); }
    COLORREF GetBkColor() const { return TreeView_GetBkColor(m_hWnd); }
    UINT GetCount() const { return TreeView_GetCount(m_hWnd); }
    BOOL GetCheck(HTREEITEM item) const { return TreeView_GetCheckState(m_hWnd, item) == 1; }
    BOOL SetCheck(HTREEITEM item, BOOL check = TRUE) { return SetItemState(item, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), TVIS_STATEIMAGEMASK); }

protected:
    const wchar_t* ControlClass() const override { return WC_TREEVIEWW; }
};

class CToolTipCtrl : public CControl {
public:
    // A tool tip owned by `parent` (a pop-up, so no id is needed).
    BOOL Create(CWnd* parent, DWORD style = 0);
    using CControl::Create;
    // Text may be LPSTR_TEXTCALLBACKW; a null rectangle means the whole window `wnd`.
    BOOL AddTool(CWnd* wnd, const wchar_t* text, const RECT* rect = nullptr, UINT_PTR toolId = 0);
    void DelTool(CWnd* wnd, UINT_PTR toolId = 0);
    void SetToolRect(CWnd* wnd, UINT_PTR toolId, const RECT& rect);
    void UpdateTipText(const wchar_t* text, CWnd* wnd, UINT_PTR toolId = 0);
    void RelayEvent(MSG* msg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }
    void Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, activate); }
    int SetMaxTipWidth(int width) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, width)); }
    void Pop() { SendMessage(TTM_POP); }
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }

protected:
    const wchar_t* ControlClass() const override { return TOOLTIPS_CLASSW; }

private:
    static TTTOOLINFOW ToolInfo(CWnd* wnd, UINT_PTR toolId);
};

class CToolBarCtrl : public CControl {
public:
    void SetButtonStructSize() { SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON)); }
    BOOL AddButtons(int count, const TBBUTTON* buttons) { return static_cast<BOOL>(SendMessage(TB_ADDBUTTONSW, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(buttons))); }
    int GetButtonCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }
    int CommandToIndex(UINT id) const { return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, id)); }
    BOOL GetItemRect(int index, RECT* r) const { return static_cast<BOOL>(SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(r))); }
    BOOL GetButtonInfo(UINT id, TBBUTTONINFOW* info) const { return SendMessage(TB_GETBUTTONINFOW, id, reinterpret_cast<LPARAM>(info)) != -1; }
    BOOL SetButtonInfo(UINT id, const TBBUTTONINFOW* info) { return static_cast<BOOL>(SendMessage(TB_SETBUTTONINFOW, id, reinterpret_cast<LPARAM>(info))); }
    BOOL EnableButton(UINT id, BOOL enable = TRUE) { return static_cast<BOOL>(SendMessage(TB_ENABLEBUTTON, id, MAKELPARAM(enable, 0))); }
    BOOL CheckButton(UINT id, BOOL check = TRUE) { return static_cast<BOOL>(SendMessage(TB_CHECKBUTTON, id, MAKELPARAM(check, 0))); }
    BOOL PressButton(UINT id, BOOL press = TRUE) { return static_cast<BOOL>(SendMessage(TB_PRESSBUTTON, id, MAKELPARAM(press, 0))); }
    BOOL IsButtonEnabled(UINT id) const { return static_cast<BOOL>(SendMessage(TB_ISBUTTONENABLED, id)); }
    HIMAGELIST SetImageList(HIMAGELIST list) { return reinterpret_cast<HIMAGELIST>(SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list))); }
    HIMAGELIST SetDisabledImageList(HIMAGELIST list) { return reinterpret_cast<HIMAGELIST>(SendMessage(TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(list))); }
    DWORD SetExtendedStyle(DWORD style) { return static_cast<DWORD>(SendMessage(TB_SETEXTENDEDSTYLE, 0, style)); }
    BOOL SetButtonSize(SIZE size) { return static_cast<BOOL>(SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(size.cx, size.cy))); }
    BOOL SetBitmapSize(SIZE size) { return static_cast<BOOL>(SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(size.cx, size.cy))); }
    void AutoSize() { SendMessage(TB_AUTOSIZE); }
    HWND GetToolTips() const { return reinterpret_cast<HWND>(SendMessage(TB_GETTOOLTIPS)); }

protected:
    const wchar_t* ControlClass() const override { return TOOLBARCLASSNAMEW; }
};

class CProgressCtrl : public CControl {
public:
    void SetRange(int lower, int upper) { SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(lower), upper); }
    int SetPos(int pos) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(pos))); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
    int StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }
    int SetStep(int step) { return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(step))); }

protected:
    const wchar_t* ControlClass() const override { return PROGRESS_CLASSW; }
};

class CSliderCtrl : public CControl {
public:
    void SetRange(int minimum, int maximum, BOOL redraw = FALSE) { SendMessage(TBM_SETRANGEMIN, FALSE, minimum); SendMessage(TBM_SETRANGEMAX, redraw, maximum); }
    void SetPos(int pos) { SendMessage(TBM_SETPOS, TRUE, pos); }
    int GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
    int GetRangeMin() const { return static_cast<int>(SendMessage(TBM_GETRANGEMIN)); }
    int GetRangeMax() const { return static_cast<int>(SendMessage(TBM_GETRANGEMAX)); }

protected:
    const wchar_t* ControlClass() const override { return TRACKBAR_CLASSW; }
};
