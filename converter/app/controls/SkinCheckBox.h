#pragma once
// The main dialog's check boxes: transparent over the parent's background, the box drawn with
// visual styles where they are on, the text in a colour of the dialog's choice, a hover look.
#include "Controls.h"

class CSkinCheckBox : public CButton {
    FW_DECLARE_MESSAGE_MAP()
public:
    void SetTextColor(COLORREF colour) { m_textColour = colour; if (m_hWnd) Invalidate(FALSE); }
    void Paint(HDC dc);

    COLORREF m_textColour = ::GetSysColor(COLOR_BTNTEXT);
    int m_hover = 0;

protected:
    void PreSubclassWindow() override;
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnPaint();
    void OnMouseMove(UINT flags, CPoint point);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    // The system button paints at once on these; we let it work unseen, then paint our way.
    LRESULT OnStateChange(WPARAM, LPARAM);
};
