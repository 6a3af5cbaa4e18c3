#pragma once
// An owner-drawn view of cells: a grid of equal cells or a list of rows, with multiple
// selection, focus, hover, vertical scrolling, the arrow keys, the wheel and rubber-band
// selection. It knows nothing of playlists: subclasses paint the cells. The layout and the
// selection rules are the portable CGridListCore's; this adds the window.
#include "CFrameWnd.h"
#include "CRectTracker.h"
#include "GridListCore.h"

class CGridListView;

// The rubber band: an inverted one-pixel frame drawn with a white brush.
class CGridTracker : public CRectTracker {
public:
    explicit CGridTracker(CGridListView* view);
    ~CGridTracker() override = default;

    void DrawTrackerRect(const RECT* rect, CWnd* clipWnd, CDC* dc, CWnd* wnd) override;
    void OnChangedRect(const CRect& oldRect) override;

private:
    CGridListView* m_pView;
    CBrush m_brush;
    CRect m_drawn;          // the band as last drawn (drawing it again erases it)
    bool m_bDrawn = false;
};

class CGridListView : public CView, public CGridListCore {
    FW_DECLARE_MESSAGE_MAP()
public:
    CGridListView();
    ~CGridListView() override = default;

    static CRect ToCRect(const ViewRect& r) { return CRect(r.left, r.top, r.right, r.bottom); }
    static ViewRect ToViewRect(const RECT& r) { return ViewRect{r.left, r.top, r.right, r.bottom}; }
    CRect ItemRect(int index);
    CRect ContentRect() const;

    // ---- the window's side of the core ----
    ViewRect GetClientArea() const override;
    int GetScrollPosition() const override;
    void SetScrollPosition(int position) override;
    void SetScrollRange(GridScrollRange range) override;
    bool HasWindow() const override { return GetSafeHwnd() != nullptr; }
    // A scroll bar that comes or goes resizes the view, which asks again: once is enough.
    void UpdateScrollBars() override;
    void RedrawRect(const ViewRect& rect) override;
    void RedrawAll() override;

    // ---- painting ----
    virtual void DrawBackground(CDC* dc, const CRect& rect);
    virtual void DrawGridItems(CDC* dc, const CRect& area);
    virtual void DrawListItems(CDC* dc, const CRect& area);
    virtual void DrawGridCell(CDC*, int, const CRect&) {}
    virtual void DrawListRow(CDC*, int, const CRect&) {}
    void OnDraw(CDC* dc) override;

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

protected:
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    LRESULT OnVScroll(WPARAM wParam, LPARAM);
    LRESULT OnGetDlgCode(WPARAM, LPARAM) { return DLGC_WANTARROWS; }

    // Asks for one WM_MOUSELEAVE after the pointer came in.
    void TrackMouseLeave();

private:
    bool m_bTrackingLeave = false;
    bool m_bUpdatingScrollBars = false;
};
