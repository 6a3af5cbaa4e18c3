#include "Controls.h"

#include <cwchar>

namespace {

// A text whose length the control does not tell: `fill` (buffer, size) answers the length it
// wrote or -1; the buffer grows until the text fits.
template <class Fill>
CString ReadGrowing(Fill fill)
{
    for (int size = 256;; size *= 2) {
        CString text;
        int length = fill(text.GetBuffer(size), size);
        text.ReleaseBuffer(length > 0 ? length : 0);
        if (length < 0)
            return CString();
        if (length < size - 1)
            return text;
    }
}

} // namespace

BOOL CControl::CreateControl(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::CreateEx(exStyle, ControlClass(), nullptr, style, rect, parent, id);
}

BOOL CControl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (CWnd::OnChildNotify(message, wParam, lParam, result))
        return TRUE;
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        *result = TRUE;
        return TRUE;
    }
    if (message == WM_MEASUREITEM) {
        MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        *result = TRUE;
        return TRUE;
    }
    return FALSE;
}

BOOL CButton::Create(const wchar_t* text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!CreateControl(0, style, rect, parent, id))
        return FALSE;
    SetWindowText(text);
    return TRUE;
}

BOOL CStatic::Create(const wchar_t* text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!CreateControl(0, style, rect, parent, id))
        return FALSE;
    SetWindowText(text);
    return TRUE;
}

CString CListBox::GetText(int index) const
{
    CString text;
    int length = static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index)));
    if (length > 0) {
        SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.GetBuffer(length + 1)));
        text.ReleaseBuffer();
    }
    return text;
}

CString CComboBox::GetLBText(int index) const
{
    CString text;
    int length = GetLBTextLen(index);
    if (length > 0) {
        SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.GetBuffer(length + 1)));
        text.ReleaseBuffer();
    }
    return text;
}

int CListCtrl::InsertColumn(int column, const wchar_t* heading, int format, int width, int subItem)
{
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT | LVCF_FMT;
    info.fmt = format;
    info.pszText = const_cast<wchar_t*>(heading ? heading : L"");
    if (width != -1) {
        info.mask |= LVCF_WIDTH;
        info.cx = width;
    }
    if (subItem != -1) {
        info.mask |= LVCF_SUBITEM;
        info.iSubItem = subItem;
    }
    return ListView_InsertColumn(m_hWnd, column, &info);
}

int CListCtrl::InsertItem(int index, const wchar_t* text, int image)
{
    LVITEMW item{};
    item.mask = LVIF_TEXT | (image != -1 ? LVIF_IMAGE : 0);
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text ? text : L"");
    item.iImage = image;
    return ListView_InsertItem(m_hWnd, &item);
}

CString CListCtrl::GetItemText(int index, int subItem) const
{
    return ReadGrowing([&](wchar_t* buffer, int size) {
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = buffer;
        item.cchTextMax = size;
        return static_cast<int>(SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    });
}

BOOL CListCtrl::SetItemText(int index, int subItem, const wchar_t* text)
{
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = const_cast<wchar_t*>(text ? text : L"");
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

DWORD_PTR CListCtrl::GetItemData(int index) const
{
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return ListView_GetItem(m_hWnd, &item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CListCtrl::SetItemData(int index, DWORD_PTR data)
{
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = static_cast<LPARAM>(data);
    return ListView_SetItem(m_hWnd, &item);
}

BOOL CListCtrl::SetItemState(int index, UINT state, UINT mask)
{
    LVITEMW item{};
    item.stateMask = mask;
    item.state = state;
    return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

int CListCtrl::HitTest(POINT p, UINT* flags) const
{
    LVHITTESTINFO info{};
    info.pt = p;
    int index = ListView_HitTest(m_hWnd, &info);
    if (flags)
        *flags = info.flags;
    return index;
}

BOOL CListCtrl::SetCheck(int index, BOOL check)
{
    return SetItemState(index, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), LVIS_STATEIMAGEMASK);
}

HTREEITEM CTreeCtrl::InsertItem(const wchar_t* text, HTREEITEM parent, HTREEITEM after)
{
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(text ? text : L"");
    return TreeView_InsertItem(m_hWnd, &insert);
}

CString CTreeCtrl::GetItemText(HTREEITEM item) const
{
    return ReadGrowing([&](wchar_t* buffer, int size) {
        TVITEMW info{};
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = buffer;
        info.cchTextMax = size;
        buffer[0] = 0;
        return TreeView_GetItem(m_hWnd, &info) ? static_cast<int>(std::wcslen(buffer)) : -1;
    });
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, const wchar_t* text)
{
    TVITEMW info{};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = const_cast<wchar_t*>(text ? text : L"");
    return TreeView_SetItem(m_hWnd, &info);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const
{
    TVITEMW info{};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    return TreeView_GetItem(m_hWnd, &info) ? static_cast<DWORD_PTR>(info.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data)
{
    TVITEMW info{};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    info.lParam = static_cast<LPARAM>(data);
    return TreeView_SetItem(m_hWnd, &info);
}

BOOL CTreeCtrl::SetItemState(HTREEITEM item, UINT state, UINT mask)
{
    TVITEMW info{};
    info.mask = TVIF_STATE;
    info.hItem = item;
    info.state = state;
    info.stateMask = mask;
    return TreeView_SetItem(m_hWnd, &info);
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM item, RECT* r, BOOL textOnly) const
{
    return TreeView_GetItemRect(m_hWnd, item, r, textOnly);
}

HTREEITEM CTreeCtrl::HitTest(POINT p, UINT* flags) const
{
    TVHITTESTINFO info{};
    info.pt = p;
    HTREEITEM item = TreeView_HitTest(m_hWnd, &info);
    if (flags)
        *flags = info.flags;
    return item;
}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    return CWnd::CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, FwHwnd(parent), nullptr);
}

TTTOOLINFOW CToolTipCtrl::ToolInfo(CWnd* wnd, UINT_PTR toolId)
{
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = FwHwnd(wnd);
    if (toolId) {
        info.uId = toolId;
    } else {
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.uId = reinterpret_cast<UINT_PTR>(info.hwnd);
    }
    return info;
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, const wchar_t* text, const RECT* rect, UINT_PTR toolId)
{
    TTTOOLINFOW info = ToolInfo(wnd, toolId);
    info.lpszText = const_cast<wchar_t*>(text);
    if (rect)
        info.rect = *rect;
    else if (toolId && wnd)
        wnd->GetClientRect(&info.rect);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR toolId)
{
    TTTOOLINFOW info = ToolInfo(wnd, toolId);
    SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::SetToolRect(CWnd* wnd, UINT_PTR toolId, const RECT& rect)
{
    TTTOOLINFOW info = ToolInfo(wnd, toolId);
    info.rect = rect;
    SendMessage(TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(const wchar_t* text, CWnd* wnd, UINT_PTR toolId)
{
    TTTOOLINFOW info = ToolInfo(wnd, toolId);
    info.lpszText = const_cast<wchar_t*>(text);
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}
