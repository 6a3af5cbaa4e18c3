#pragma once
// A static text in a colour of its own on white while it is enabled.
#include "Controls.h"

class CColorStatic : public CStatic {
public:
    // -1: the default colour.
    void SetTextColor(COLORREF colour) { m_textColour = colour; if (m_hWnd) Invalidate(); }

    COLORREF m_textColour = static_cast<COLORREF>(-1);

protected:
    // The reflected WM_CTLCOLORSTATIC; a disabled static keeps the parent's answer.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
