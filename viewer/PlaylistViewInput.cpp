// The playlist's keyboard, context menu and mouse: type-ahead, the cells' buttons, clicks, the
// canvas playing in a cell, and the tooltips.
#include "PlaylistView.h"

#include <vector>

#include "AnimationWnd.h"
#include "CMenu.h"
#include "MainFrame.h"
#include "PlayView.h"
#include "PlaylistItem.h"
#include "SysHelpers.h"
#include "Settings.h"
#include "ViewerGlobals.h"
#include "resource.h"

// ---- keyboard and context menu ----

void CPlaylistView::OnChar(UINT ch, UINT, UINT)
{
    if (ch < L' ') {
        Default();
        return;
    }
    std::vector<CString> names;
    for (int i = 0; i < GetItemCount(); i++)
        names.push_back(GetItem(i)->m_strName);
    const int found = m_typeAhead.Type(names, wchar_t(ch), ::GetTickCount());
    if (found < 0)
        return;
    EnsureVisible(found);
    SelectItem(found, true, true, true);
    SetFocusItem(found, true);
}

void CPlaylistView::OnContextMenu(CWnd*, CPoint point)
{
    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXT_MENUS))
        return;
    const int first = GetNextSelected(0);
    if (point.x == -1 && point.y == -1) {
        CRect client;
        GetClientRect(&client);
        point = client.CenterPoint();
        CRect cell = ItemRect(first);
        CRect visible;
        if (first >= 0 && visible.IntersectRect(cell, client))
            point = IsGrid() ? cell.CenterPoint() : CPoint(cell.left + 64, cell.CenterPoint().y);
        ClientToScreen(&point);
    }
    CMenu* popup = menu.GetSubMenu(first >= 0 ? 2 : 1);
    if (!popup || !popup->GetSafeHmenu())
        return;
    if (CurrentLayoutMode() == 2)
        popup->SetDefaultItem(ID_NEXT_PANE);
    CWnd* owner = GetTopLevelParent();
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, owner ? owner : this);
}

// ---- mouse ----

CellButtons CPlaylistView::HoverButtonAreas()
{
    const ViewRect cell = ToViewRect(ItemRect(m_nHover));
    return IsGrid() ? GridButtonHitAreas(cell, ViewerSettings().ThumbnailCy) : ListButtons(cell);
}

CellButtons CPlaylistView::HoverButtonRects()
{
    const ViewRect cell = ToViewRect(ItemRect(m_nHover));
    return IsGrid() ? GridButtons(cell, ViewerSettings().ThumbnailCy) : ListButtons(cell);
}

int CPlaylistView::ButtonUnder(CPoint point)
{
    if (m_nHover < 0)
        return -1;
    switch (ButtonAt(HoverButtonAreas(), point.x, point.y)) {
    case CellButton::Play:
        return IsPlaying(GetItem(m_nHover)) ? -1 : int(ID_PLAYLIST_PLAY);
    case CellButton::Remove:
        return ID_EDIT_REMOVE;
    default:
        return -1;
    }
}

void CPlaylistView::SetButtonState(int& state, int command)
{
    if (command == state)
        return;
    state = command;
    CellButtons rects = HoverButtonRects();
    RedrawRect(rects.play);
    RedrawRect(rects.remove);
}

void CPlaylistView::RunButton(int command, int index)
{
    if (command == int(ID_EDIT_REMOVE)) {
        RemoveOne(index);
    } else if (command == int(ID_PLAYLIST_PLAY)) {
        PlayIndex(index, g_pPlayView);
    }
}

void CPlaylistView::OnMouseMove(UINT flags, CPoint point)
{
    if (m_nDragIndex >= 0) {
        MoveItemDrag(point);
        return;
    }
    if ((flags & MK_LBUTTON) && m_dragStart.x >= 0 && m_nPressedButton < 0 && GetSelectedCount() == 1 &&
        m_nHover >= 0 && (point.x != m_dragStart.x || point.y != m_dragStart.y)) {
        BeginItemDrag(point);
        return;
    }
    const int oldHover = m_nHover;
    CGridListView::OnMouseMove(flags, point);
    if (m_nHover != oldHover) {
        m_nHoverButton = -1;
        UpdateToolTip();
    }
    SetButtonState(m_nHoverButton, ButtonUnder(point));
}

LRESULT CPlaylistView::OnMouseLeave(WPARAM wParam, LPARAM lParam)
{
    CGridListView::OnMouseLeave(wParam, lParam);
    // Onto the canvas playing in a cell the pointer stays on that cell.
    HoverUnderPointer();
    return 0;
}

// ---- the canvas playing in a cell ----

bool CPlaylistView::IsCanvasInPlace(HWND hwnd) const
{
    return hwnd && g_pCanvas && hwnd == g_pCanvas->GetSafeHwnd() && ::GetParent(hwnd) == m_hWnd;
}

void CPlaylistView::SetHover(int index)
{
    const int oldHover = m_nHover;
    SetHotItem(index, true);
    if (m_nHover != oldHover) {
        m_nHoverButton = -1;
        UpdateToolTip();
    }
}

void CPlaylistView::HoverCanvas()
{
    SetHover(FindItem(g_pCanvas->GetItem()));
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, g_pCanvas->m_hWnd, 0};
    ::TrackMouseEvent(&track);
}

void CPlaylistView::HoverUnderPointer()
{
    CPoint point;
    ::GetCursorPos(&point);
    HWND under = ::WindowFromPoint(point);
    if (IsCanvasInPlace(under)) {
        HoverCanvas();
    } else if (under == m_hWnd) {
        ScreenToClient(&point);
        SetHover(HitTest(point.x, point.y));
        if (m_nHover >= 0)
            TrackMouseLeave();
    } else {
        SetHover(-1);
    }
}

bool CPlaylistView::OnCanvasMouse(const MSG& msg)
{
    switch (msg.message) {
    case WM_MOUSEMOVE:
        HoverCanvas();
        return false;
    case WM_MOUSELEAVE:
        HoverUnderPointer();
        return true;
    case WM_LBUTTONDBLCLK:
        if (CMainFrame* frame = GetMainFrame())
            frame->ShowPlayView();
        return true;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        return false;   // screen coordinates; the canvas's default handling passes them up
    default:
        break;
    }
    if (msg.message < WM_MOUSEFIRST || msg.message > WM_MOUSELAST)
        return false;
    // The canvas covers the cell's thumbnail: clicks on it are clicks on the cell.
    CPoint point(msg.lParam);
    ::MapWindowPoints(msg.hwnd, m_hWnd, &point, 1);
    PostMessage(msg.message, msg.wParam, MAKELPARAM(point.x, point.y));
    return true;
}

void CPlaylistView::OnLButtonDown(UINT flags, CPoint point)
{
    const int button = ButtonUnder(point);
    if (button >= 0) {
        SetButtonState(m_nPressedButton, button);
        SetCapture();
        return;
    }
    if (GetItemCount() == 0) {
        if (CWnd* frame = GetTopLevelParent()) {
            CPoint screen = point;
            ClientToScreen(&screen);
            frame->PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
        }
        return;
    }
    CGridListView::OnLButtonDown(flags, point);
    m_dragStart = GetSelectedCount() == 1 && m_nHover >= 0 ? point : CPoint(-1, -1);
}

void CPlaylistView::OnLButtonUp(UINT flags, CPoint point)
{
    m_dragStart = CPoint(-1, -1);
    if (m_nDragIndex >= 0) {
        EndItemDrag(point, false);
        return;
    }
    const int pressed = m_nPressedButton;
    if (pressed >= 0) {
        SetButtonState(m_nPressedButton, -1);
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        const int under = ButtonUnder(point);
        if (under >= 0)
            RunButton(under, m_nHover);
    }
    CGridListView::OnLButtonUp(flags, point);
}

void CPlaylistView::OnLButtonDblClk(UINT flags, CPoint point)
{
    CMainFrame* frame = GetMainFrame();
    const int hit = HitTest(point.x, point.y);
    if (hit >= 0) {
        if (IsPlaying(GetItem(hit))) {
            if (frame)
                frame->ShowPlayView();
        } else {
            PlayIndex(hit, g_pPlayView);
        }
        return;
    }
    if (CurrentLayoutMode() == 2 && !(flags & (MK_SHIFT | MK_CONTROL))) {
        if (frame)
            frame->ShowPlayView();
    } else if (CWnd* top = GetTopLevelParent()) {
        top->PostMessage(WM_COMMAND, ID_VIEW_FULL_SCREEN);
    }
}

void CPlaylistView::OnRButtonUp(UINT, CPoint point)
{
    if (ButtonUnder(point) == int(ID_PLAYLIST_PLAY)) {
        // Plays in place in the grid, unless the play view stands beside the playlist anyway.
        CView* host = CurrentLayoutMode() == 1 || !IsGrid() ? static_cast<CView*>(g_pPlayView) : this;
        PlayIndex(m_nHover, host);
        return;
    }
    Default();
}

void CPlaylistView::OnMButtonUp(UINT, CPoint)
{
    if (CWnd* top = GetTopLevelParent())
        top->PostMessage(WM_COMMAND, ID_VIEW_FULL_SCREEN);
}

BOOL CPlaylistView::OnSetCursor(CWnd* wnd, UINT hit, UINT message)
{
    if (m_nDragIndex >= 0 && m_hLastCursor) {
        ::SetCursor(m_hLastCursor);
        return TRUE;
    }
    if (hit == HTCLIENT && m_nHoverButton >= 0 && g_pUIResources && g_pUIResources->m_hHandCursor) {
        ::SetCursor(g_pUIResources->m_hHandCursor);
        return TRUE;
    }
    return BOOL(Default());
}

// ---- tooltips ----

void CPlaylistView::UpdateToolTip()
{
    if (!m_toolTip.GetSafeHwnd())
        return;
    m_nTipItem = m_nHover;
    m_toolTip.Pop();
    m_toolTip.SetToolRect(this, 1, m_nHover >= 0 ? ItemRect(m_nHover) : CRect(0, 0, 0, 0));
}

void CPlaylistView::OnToolTipText(NMHDR* header, LRESULT* result)
{
    const LPARAM lParam = reinterpret_cast<LPARAM>(header);
    CPlaylistItem* item = GetItem(m_nTipItem);
    // The path cut to 80 characters, in buffers of our own: no name can overrun the record's.
    m_strTip = item ? CutText(item->m_strPath, 80) : CString();
    if (header->code == TTN_NEEDTEXTW) {
        reinterpret_cast<NMTTDISPINFOW*>(lParam)->lpszText = const_cast<wchar_t*>(m_strTip.GetString());
    } else {
        int length = ::WideCharToMultiByte(CP_ACP, 0, m_strTip, -1, m_szTipA, int(sizeof m_szTipA), nullptr, nullptr);
        m_szTipA[length > 0 ? length - 1 : 0] = '\0';
        reinterpret_cast<NMTTDISPINFOA*>(lParam)->lpszText = m_szTipA;
    }
    ::SetWindowPos(header->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    *result = 0;
}
