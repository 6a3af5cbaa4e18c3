#pragma once
// An owner-drawn button that looks like a web link: link colour, another colour while the mouse
// is over it, the program's hand cursor, and a click that opens its target with the shell.
#include <windows.h>

#include "CDC.h"
#include "Controls.h"

class CHyperlinkButton : public CButton {
    FW_DECLARE_MESSAGE_MAP()
public:
    CFont* m_pHoverFont = nullptr;   // null: the button's own font
    COLORREF m_crLink = RGB(0, 0, 255);
    COLORREF m_crHover = RGB(255, 0, 0);
    COLORREF m_crBackground = ::GetSysColor(COLOR_WINDOW);
    CString m_strLink;
    BOOL m_bHover = 0;
    BOOL m_bTransparent = 1;   // paint the parent's background under the text

    ~CHyperlinkButton() override = default;

    // Stores the target; a non-null text becomes the window text.
    void SetLink(const wchar_t* target, const wchar_t* text = nullptr);
    // As wide as the text in the button's font (multi-line buttons keep their size).
    void SizeToText();
    void DrawItem(LPDRAWITEMSTRUCT item) override;

protected:
    BOOL OnSetCursor(CWnd*, UINT, UINT);
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    BOOL OnClicked();
    void OnMouseMove(UINT flags, CPoint point);
    LRESULT OnMouseLeave(WPARAM, LPARAM);

private:
    void PaintBackground(CDC& dc, const RECT& item);
};

// The DrawText format for a link button of this style: alignment from BS_LEFT / BS_RIGHT /
// BS_CENTER, one vertically centred line unless BS_MULTILINE, an ellipsis where it does not fit.
UINT HyperlinkTextFormat(DWORD style);

// The shell call a click makes (tests put a stand-in here).
extern HINSTANCE(WINAPI* g_pfnShellExecuteW)(HWND, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*, INT);
