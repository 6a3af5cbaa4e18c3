// Dragging a job list row: to a new place in the list, with a marker where it will go, or out
// of the list to remove it.

#include "JobListCtrl.h"

#include <memory>

#include "JobListCtrlHelpers.h"

namespace {

constexpr COLORREF kDropMarkerColour = RGB(255, 0, 0);

// The drag image keeps the screen under it and puts it back when it moves on, so the emptied row
// must be on the screen before the image is shown: Wine hands a window's pixels to the display
// only when the thread next waits, and a wait of no time does that.
void LetPaintingReachTheScreen() { ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT); }

} // namespace

void CJobListCtrl::OnLButtonDown(UINT, CPoint point)
{
    if (LinkAt(point) != JOB_LINK_NONE) {
        ::SetCursor(AppCursor(CAppPaths::CURSOR_HAND));
    } else {
        m_pressRow = HitTest(point);
        m_pressPoint = point;
    }
    Default();
}

void CJobListCtrl::OnMouseMove(UINT flags, CPoint point)
{
    if (m_dragImage) {
        DragTo(point);
        return;
    }
    if (flags & MK_LBUTTON) {
        if (m_pressRow >= 0 && point != m_pressPoint && HitTest(point) == m_pressRow && BeginDrag(point))
            return;
    } else {
        m_pressRow = -1;
        if (LinkAt(point) != JOB_LINK_NONE)
            ::SetCursor(AppCursor(CAppPaths::CURSOR_HAND));
    }
    Default();
}

void CJobListCtrl::OnLButtonUp(UINT, CPoint point)
{
    m_pressRow = -1;
    if (m_dragImage) {
        // The list saw no drag of its own: its button-up would click where the row was dropped.
        EndDrag(point);
        return;
    }
    Default();
}

LRESULT CJobListCtrl::OnCaptureChanged(WPARAM, LPARAM lParam)
{
    // Another window took the mouse in mid-drag: nothing is dropped.
    if (m_dragImage && reinterpret_cast<HWND>(lParam) != m_hWnd)
        CancelDrag();
    return Default();
}

bool CJobListCtrl::BeginDrag(CPoint point)
{
    const int row = m_pressRow;
    CRect bounds;
    if (!GetItemRect(row, &bounds, LVIR_BOUNDS) || bounds.IsRectEmpty())
        return false;
    CBitmap bitmap;
    {
        CClientDC client(this);
        CDC memory;
        if (!memory.CreateCompatibleDC(&client) || !bitmap.CreateCompatibleBitmap(client, bounds.Width(), bounds.Height()))
            return false;
        const HGDIOBJ old = memory.SelectObject(&bitmap);
        memory.SetWindowOrg(bounds.left, bounds.top);
        memory.FillSolidRect(bounds, RGB(255, 255, 255));
        DrawRow(memory, row, bounds, true);
        memory.SelectObject(old);
    }
    auto image = std::make_unique<CImageList>();
    if (!image->Create(bounds.Width(), bounds.Height(), ILC_COLOR24 | ILC_MASK, 1, 1) || image->Add(&bitmap, GetBkColor()) < 0)
        return false;
    m_pressRow = -1;
    m_dragRow = row;
    RedrawItems(row, row);
    UpdateWindow();
    LetPaintingReachTheScreen();
    if (!image->BeginDrag(0, CPoint(point.x - bounds.left, point.y - bounds.top))) {
        m_dragRow = -1;
        RedrawItems(row, row);
        return false;
    }
    CPoint screen = point;
    ClientToScreen(&screen);
    CImageList::DragEnter(nullptr, screen);
    m_dragImage = std::move(image);
    m_drop = DropPosition();
    SetCapture();
    DragTo(point);
    return true;
}

void CJobListCtrl::DragTo(CPoint point)
{
    CPoint screen = point;
    ClientToScreen(&screen);
    CImageList::DragMove(screen);
    CRect client;
    GetClientRect(&client);
    const bool inside = client.PtInRect(point) != FALSE;
    const DropPosition drop = DropPositionAt(point.y, inside, RowBoundsList(), m_dragRow);
    if (!(drop == m_drop))
        ShowDropMarker(drop);
    m_cursor = !inside ? AppCursor(CAppPaths::CURSOR_REMOVE)
                       : (drop.IsNone() ? ::LoadCursorW(nullptr, IDC_ARROW) : AppCursor(CAppPaths::CURSOR_MOVE));
    ::SetCursor(m_cursor);
}

void CJobListCtrl::ShowDropMarker(const DropPosition& drop)
{
    // The drag image is drawn over the screen: it must not be painted into the list meanwhile.
    CImageList::DragShowNolock(FALSE);
    const std::vector<RowRect> rows = RowBoundsList();
    if (!m_drop.IsNone()) {
        const CRect old = ToCRect(DropMarkerRect(m_drop, rows));
        InvalidateRect(&old, FALSE);
        UpdateWindow();
    }
    m_drop = drop;
    if (!drop.IsNone()) {
        CClientDC dc(this);
        dc.FillSolidRect(ToCRect(DropMarkerRect(drop, rows)), kDropMarkerColour);
    }
    CImageList::DragShowNolock(TRUE);
}

void CJobListCtrl::StopDragging()
{
    CImageList::DragLeave(nullptr);
    CImageList::EndDrag();
    m_dragImage.reset();
    ShowDropMarker(DropPosition());
    if (::GetCapture() == m_hWnd)
        ReleaseCapture();
}

void CJobListCtrl::CancelDrag()
{
    const int row = m_dragRow;
    StopDragging();
    m_dragRow = -1;
    RedrawItems(row, row);
}

void CJobListCtrl::EndDrag(CPoint point)
{
    const DropPosition drop = m_drop;
    StopDragging();
    const int row = m_dragRow;
    m_dragRow = -1;
    CRect client;
    GetClientRect(&client);
    bool gone = false;
    if (!drop.IsNone())
        gone = MoveRow(row, drop.InsertIndex()) == 1;
    else if (!client.PtInRect(point)) {
        RemoveRow(row);
        gone = true;
    }
    if (!gone)
        RedrawItems(row, row);
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
}
