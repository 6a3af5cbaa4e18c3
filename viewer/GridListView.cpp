#include "GridListView.h"

#include <windowsx.h>

#include <algorithm>

#include "OffscreenDC.h"

namespace {
SCROLLINFO ScrollInfo(UINT mask)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = mask;
    return info;
}
} // namespace

// ---- CGridTracker ----

CGridTracker::CGridTracker(CGridListView* view) : m_pView(view) { m_brush.CreateSolidBrush(RGB(255, 255, 255)); }

void CGridTracker::DrawTrackerRect(const RECT* rect, CWnd* clipWnd, CDC* dc, CWnd* wnd)
{
    // Drawn and erased in turn: an erase inverts again exactly what was drawn last.
    CRect band;
    if (m_bDrawn) {
        band = m_drawn;
    } else {
        band = *rect;
        band.NormalizeRect();
        if (clipWnd && wnd && clipWnd != wnd)
            wnd->MapWindowPoints(clipWnd, &band);
        m_drawn = band;
    }
    m_bDrawn = !m_bDrawn;
    HGDIOBJ old = dc->SelectObject(&m_brush);
    const int w = band.Width(), h = band.Height();
    dc->PatBlt(band.left, band.top, w, 1, PATINVERT);
    if (h > 1)
        dc->PatBlt(band.left, band.bottom - 1, w, 1, PATINVERT);
    if (h > 2) {
        dc->PatBlt(band.left, band.top + 1, 1, h - 2, PATINVERT);
        if (w > 1)
            dc->PatBlt(band.right - 1, band.top + 1, 1, h - 2, PATINVERT);
    }
    dc->SelectObject(old);
}

void CGridTracker::OnChangedRect(const CRect&)
{
    CRect band = m_rect;
    band.NormalizeRect();
    CPoint pointer;
    ::GetCursorPos(&pointer);
    m_pView->ScreenToClient(&pointer);
    const int moved = m_pView->OnBandChanged(CGridListView::ToViewRect(band), pointer.y);
    // The anchor stays on the content it was pressed on.
    m_rect.top -= moved;
    m_pView->UpdateWindow();
}

// ---- CGridListView ----

FW_BEGIN_MESSAGE_MAP(CGridListView, CView)
    FwOnEraseBkgnd(&ThisClass::OnEraseBkgnd),
    FwOnSize(&ThisClass::OnSize),
    FwOnPlain(WM_DESTROY, &ThisClass::OnDestroy),
    FwOnMouse(WM_LBUTTONDOWN, &ThisClass::OnLButtonDown),
    FwOnMouse(WM_LBUTTONUP, &ThisClass::OnLButtonUp),
    FwOnMouse(WM_RBUTTONDOWN, &ThisClass::OnRButtonDown),
    FwOnMouse(WM_MOUSEMOVE, &ThisClass::OnMouseMove),
    FwOnMessage(WM_MOUSELEAVE, &ThisClass::OnMouseLeave),
    FwOnMessage(WM_MOUSEWHEEL, &ThisClass::OnMouseWheel),
    FwOnKey(WM_KEYDOWN, &ThisClass::OnKeyDown),
    FwOnMessage(WM_VSCROLL, &ThisClass::OnVScroll),
    FwOnMessage(WM_GETDLGCODE, &ThisClass::OnGetDlgCode),
FW_END_MESSAGE_MAP()

CGridListView::CGridListView() { m_crBackground = ::GetSysColor(COLOR_WINDOW); }

BOOL CGridListView::PreCreateWindow(CREATESTRUCTW& cs)
{
    cs.style |= WS_VSCROLL;
    return CView::PreCreateWindow(cs);
}

CRect CGridListView::ItemRect(int index)
{
    ViewRect r;
    GetItemRect(index, r);
    return ToCRect(r);
}

CRect CGridListView::ContentRect() const
{
    ViewRect r;
    GetContentRect(r);
    return ToCRect(r);
}

ViewRect CGridListView::GetClientArea() const
{
    CRect client(0, 0, 0, 0);
    if (GetSafeHwnd())
        GetClientRect(&client);
    return ToViewRect(client);
}

int CGridListView::GetScrollPosition() const
{
    if (!GetSafeHwnd())
        return 0;
    SCROLLINFO info = ScrollInfo(SIF_POS);
    return ::GetScrollInfo(m_hWnd, SB_VERT, &info) ? info.nPos : 0;
}

void CGridListView::SetScrollPosition(int position)
{
    if (!GetSafeHwnd())
        return;
    SCROLLINFO info = ScrollInfo(SIF_POS);
    info.nPos = std::clamp(position, 0, GetScrollLimit());
    ::SetScrollInfo(m_hWnd, SB_VERT, &info, TRUE);
}

void CGridListView::SetScrollRange(GridScrollRange range)
{
    SCROLLINFO info = ScrollInfo(SIF_RANGE | SIF_PAGE);
    info.nMin = 0;
    info.nMax = range.maximum;
    info.nPage = UINT(std::max(range.page, 0));
    ::SetScrollInfo(m_hWnd, SB_VERT, &info, TRUE);
}

void CGridListView::UpdateScrollBars()
{
    if (m_bUpdatingScrollBars)
        return;
    m_bUpdatingScrollBars = true;
    CGridListCore::UpdateScrollBars();
    m_bUpdatingScrollBars = false;
}

void CGridListView::RedrawRect(const ViewRect& rect)
{
    if (!GetSafeHwnd())
        return;
    CRect r = ToCRect(rect);
    InvalidateRect(&r, FALSE);
}

void CGridListView::RedrawAll()
{
    if (GetSafeHwnd())
        Invalidate(FALSE);
}

// ---- painting ----

void CGridListView::DrawBackground(CDC* dc, const CRect& rect)
{
    if (!rect.IsRectEmpty())
        dc->FillSolidRect(rect, m_crBackground);
}

void CGridListView::OnDraw(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    CRect content = ContentRect();
    // The insets belong to the background.
    DrawBackground(dc, CRect(client.left, client.top, client.right, content.top));
    DrawBackground(dc, CRect(client.left, content.bottom, client.right, client.bottom));
    DrawBackground(dc, CRect(client.left, content.top, content.left, content.bottom));
    DrawBackground(dc, CRect(content.right, content.top, client.right, content.bottom));
    if (IsGrid())
        DrawGridItems(dc, content);
    else
        DrawListItems(dc, content);
}

void CGridListView::DrawGridItems(CDC* dc, const CRect& area)
{
    CRect clip;
    dc->GetClipBox(&clip);
    const int columns = ComputeColumns();
    const int count = GetItemCount();
    int filledTo = area.top;   // everything above is painted
    for (int i = FirstGridCandidate(); i < count; i++) {
        CRect cell = ItemRect(i);
        if (cell.top >= area.bottom)
            break;
        const bool rowStart = i % columns == 0;
        const bool rowEnd = i % columns == columns - 1 || i == count - 1;
        if (rowStart && cell.top > filledTo)
            DrawBackground(dc, CRect(area.left, filledTo, area.right, cell.top));
        // The spacing to the left of the cell (from the area's edge for the first of a row).
        const int left = rowStart ? area.left : cell.left - m_nHSpacing;
        DrawBackground(dc, CRect(left, cell.top, cell.left, cell.bottom));
        if (rowEnd) {
            DrawBackground(dc, CRect(cell.right, cell.top, area.right, cell.bottom));
            filledTo = cell.bottom;
        }
        CRect visible;
        if (visible.IntersectRect(cell, clip)) {
            COffscreenDC offscreen(dc, &cell);
            DrawGridCell(&offscreen, i, cell);
        }
    }
    if (filledTo < area.bottom)
        DrawBackground(dc, CRect(area.left, std::max<int>(filledTo, area.top), area.right, area.bottom));
}

void CGridListView::DrawListItems(CDC* dc, const CRect& area)
{
    CRect clip;
    dc->GetClipBox(&clip);
    int filledTo = area.top;
    for (int i = FirstListLine(); i < GetItemCount(); i++) {
        CRect row = ItemRect(i);
        if (row.top >= area.bottom)
            break;
        CRect visible;
        if (visible.IntersectRect(row, clip)) {
            COffscreenDC offscreen(dc, &row);
            DrawListRow(&offscreen, i, row);
        }
        filledTo = row.bottom;
    }
    if (filledTo < area.bottom)
        DrawBackground(dc, CRect(area.left, filledTo, area.right, area.bottom));
}

// ---- input ----

void CGridListView::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (type != SIZE_MINIMIZED && cx > 0 && cy > 0)
        UpdateScrollBars();
}

void CGridListView::OnDestroy()
{
    DeleteAllItems(false);
    CView::OnDestroy();
}

void CGridListView::OnLButtonDown(UINT flags, CPoint point)
{
    if (::GetFocus() != m_hWnd)
        SetFocus();
    OnLeftButtonDown(point.x, point.y, (flags & MK_SHIFT) != 0, (flags & MK_CONTROL) != 0);
}

void CGridListView::OnLButtonUp(UINT, CPoint) { OnLeftButtonUp(); }

void CGridListView::OnRButtonDown(UINT flags, CPoint point)
{
    if (::GetFocus() != m_hWnd)
        SetFocus();
    OnRightButtonDown(point.x, point.y, (flags & MK_CONTROL) != 0);
    Default();
}

void CGridListView::TrackMouseLeave()
{
    if (m_bTrackingLeave)
        return;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
    m_bTrackingLeave = ::TrackMouseEvent(&track) != FALSE;
}

void CGridListView::OnMouseMove(UINT flags, CPoint point)
{
    const CPoint press(m_nPressX, m_nPressY);
    const bool band = CGridListCore::OnMouseMove(point.x, point.y, (flags & MK_LBUTTON) != 0);
    if (m_nHover >= 0)
        TrackMouseLeave();
    if (band) {
        CGridTracker tracker(this);
        tracker.TrackRubberBand(this, press, TRUE);
    }
}

LRESULT CGridListView::OnMouseLeave(WPARAM, LPARAM)
{
    m_bTrackingLeave = false;
    CGridListCore::OnMouseLeave();
    return 0;
}

LRESULT CGridListView::OnMouseWheel(WPARAM wParam, LPARAM)
{
    CGridListCore::OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
    return 0;
}

void CGridListView::OnKeyDown(UINT key, UINT, UINT)
{
    const bool shift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool ctrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (!CGridListCore::OnKeyDown(key, shift, ctrl))
        Default();
}

LRESULT CGridListView::OnVScroll(WPARAM wParam, LPARAM)
{
    SCROLLINFO info = ScrollInfo(SIF_TRACKPOS);
    ::GetScrollInfo(m_hWnd, SB_VERT, &info);
    CGridListCore::OnVScroll(LOWORD(wParam), info.nTrackPos);
    return 0;
}
