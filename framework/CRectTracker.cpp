#include "CRectTracker.h"

void CRectTracker::DrawTrackerRect(const RECT* rect, CWnd*, CDC* dc, CWnd*)
{
    CRect band(*rect);
    band.NormalizeRect();
    dc->DrawFocusRect(band);
}

BOOL CRectTracker::TrackRubberBand(CWnd* wnd, CPoint point, BOOL allowInvert)
{
    m_rect.SetRect(point.x, point.y, point.x, point.y);
    wnd->SetCapture();
    if (CWnd::GetCapture() != wnd)
        return FALSE;
    CClientDC dc(wnd);
    bool drawn = false;
    bool cancelled = false;
    auto erase = [&] {
        if (drawn)
            DrawTrackerRect(&m_rect, wnd, &dc, wnd);
        drawn = false;
    };
    for (;;) {
        MSG msg;
        if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            cancelled = true;
            break;
        }
        if (CWnd::GetCapture() != wnd) {
            cancelled = true;
            break;
        }
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
            CPoint at(msg.lParam);
            if (msg.hwnd != wnd->m_hWnd)
                ::MapWindowPoints(msg.hwnd, wnd->m_hWnd, &at, 1);
            CRect old = m_rect;
            CRect next(m_rect.left, m_rect.top, at.x, at.y);
            if (!allowInvert) {
                next.right = at.x < next.left ? next.left : at.x;
                next.bottom = at.y < next.top ? next.top : at.y;
            }
            AdjustRect(4, &next);   // the bottom-right corner moves
            if (next != old) {
                erase();
                m_rect = next;
                OnChangedRect(old);
                DrawTrackerRect(&m_rect, wnd, &dc, wnd);
                drawn = true;
            }
            if (msg.message == WM_LBUTTONUP)
                break;
            continue;
        }
        if ((msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_RBUTTONDOWN) {
            cancelled = true;
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    erase();
    if (CWnd::GetCapture() == wnd)
        CWnd::ReleaseCapture();
    if (cancelled)
        return FALSE;
    CRect band = m_rect;
    band.NormalizeRect();
    return !band.IsRectEmpty();
}
