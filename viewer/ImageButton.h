#pragma once
// An owner-drawn button that shows a picture centred on a flat background, and another picture
// while the pointer is over it or it is pushed.
#include "CDC.h"
#include "Controls.h"

class CrImage;

class CImageButton : public CButton {
    FW_DECLARE_MESSAGE_MAP()
public:
    enum { STATE_NORMAL = 0, STATE_HOT = 1, STATE_FOCUSED = 2, STATE_PUSHED = 3, STATE_DISABLED = 4 };

    CrImage* m_pNormalImage = nullptr;   // not owned
    CrImage* m_pHoverImage = nullptr;    // not owned
    int m_nImageWidth = 0;
    int m_nImageHeight = 0;
    COLORREF m_crBackground = RGB(32, 32, 32);
    int m_bHover = 0;

    void SetImage(CrImage* normal, CrImage* hover);
    // The state drawn for an owner-draw record's flags.
    int StateFor(UINT itemState) const;

    virtual void DrawBackground(CDC* dc, const CRect& rect, int imageIndex);
    virtual void DrawImage(CDC* dc, int left, int top, int right, int bottom, int state);
    void DrawItem(LPDRAWITEMSTRUCT item) override;

protected:
    void OnMouseMove(UINT flags, CPoint point);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    BOOL OnSetCursor(CWnd* wnd, UINT hit, UINT message);
};
