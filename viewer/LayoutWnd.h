#pragma once
// The main window's client: two panes, the play view (0) and the playlist view (1), either side
// by side with a divider the user drags (layout 1) or one at a time (layout 2).
#include "CFrameWnd.h"
#include "FrameRules.h"

// Posted to the parent after a pane was activated: wParam the layout, lParam 1 when only the
// playlist pane shows.
constexpr UINT WM_LAYOUT_CHANGED = 0x401;

enum { LAYOUT_DOCKED = 1, LAYOUT_SINGLE = 2 };

class CLayoutWnd : public CWnd {
    FW_DECLARE_MESSAGE_MAP()
public:
    CLayoutWnd();
    ~CLayoutWnd() override;

    virtual BOOL Create(int paneCount, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    virtual BOOL CreatePane(int index, const CRuntimeClass* viewClass, CCreateContext* context);
    virtual void RecalcLayout();

    void SetLayout(int mode);
    int GetLayout() const { return m_nMode; }
    void ActivatePane(int index);
    CWnd* GetPane(int index) const;
    CWnd* GetActivePane() const;
    int GetActivePaneIndex() const;
    void ActivateNextPane(bool next);
    // Where the divider is (layout 1), -1 otherwise.
    int GetDivider() const;
    // The panes reach up to the divider: presses on its strip are taken before they get them.
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    int m_nPaneCount = 2;
    int m_nMode;
    SplitState m_split;
    HCURSOR m_hSplitCursor;
    int m_nDragOffset = 0;

    static bool IsPane(HWND wnd);
    bool OnDivider(CPoint point) const;
    void ResetRightWidth();

    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    BOOL OnSetCursor(CWnd* wnd, UINT hit, UINT message);
    void OnCancelMode();
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
};
