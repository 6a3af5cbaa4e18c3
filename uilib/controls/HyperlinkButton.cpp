#include "HyperlinkButton.h"

#include <shellapi.h>

#include "LibResources.h"

HINSTANCE(WINAPI* g_pfnShellExecuteW)(HWND, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*, INT) = ::ShellExecuteW;

UINT HyperlinkTextFormat(DWORD style)
{
    const bool multiline = (style & BS_MULTILINE) != 0;
    const UINT lines = DT_END_ELLIPSIS | (multiline ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER);
    // BS_CENTER is both alignment bits, so it is asked for first.
    if ((style & BS_CENTER) == BS_CENTER)
        return lines | DT_CENTER;
    if (style & BS_RIGHT)
        return lines | DT_RIGHT;
    if (style & BS_LEFT)
        return lines | DT_LEFT;
    return lines | DT_CENTER;
}

FW_BEGIN_MESSAGE_MAP(CHyperlinkButton, CButton)
    FwOnSetCursor(&ThisClass::OnSetCursor),
    FwOnEraseBkgnd(&ThisClass::OnEraseBkgnd),
    FwOnReflectControl(BN_CLICKED, &ThisClass::OnClicked),
    FwOnMouse(WM_MOUSEMOVE, &ThisClass::OnMouseMove),
    FwOnMessage(WM_MOUSELEAVE, &ThisClass::OnMouseLeave),
FW_END_MESSAGE_MAP()

void CHyperlinkButton::SetLink(const wchar_t* target, const wchar_t* text)
{
    m_strLink = target;
    if (!m_hWnd)
        return;
    if (text)
        SetWindowText(text);
    Invalidate(TRUE);
}

void CHyperlinkButton::SizeToText()
{
    if (GetStyle() & BS_MULTILINE)
        return;
    CClientDC dc(this);
    HGDIOBJ old = dc.SelectObject(GetFont());
    CSize extent = dc.GetTextExtent(GetWindowText());
    dc.SelectObject(old);
    CRect r;
    GetWindowRect(&r);
    SetWindowPos(static_cast<const CWnd*>(nullptr), 0, 0, extent.cx + 2, r.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CHyperlinkButton::PaintBackground(CDC& dc, const RECT& item)
{
    if (!m_bTransparent) {
        dc.FillSolidRect(item, m_crBackground);
        return;
    }
    // The parent erases into our context, shifted so that its drawing lands where we stand.
    CWnd* parent = GetParent();
    CRect here;
    GetWindowRect(&here);
    parent->ScreenToClient(&here);
    int mode = dc.GetBkMode();
    COLORREF back = dc.GetBkColor();
    COLORREF text = dc.GetTextColor();
    CPoint origin = dc.SetWindowOrg(here.left, here.top);
    parent->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC));
    dc.SetWindowOrg(origin);
    dc.SetBkMode(mode);
    dc.SetBkColor(back);
    dc.SetTextColor(text);
}

void CHyperlinkButton::DrawItem(LPDRAWITEMSTRUCT item)
{
    CDC* dc = CDC::FromHandle(item->hDC);
    PaintBackground(*dc, item->rcItem);
    CString text = GetWindowText();
    if (!text.IsEmpty()) {
        CRect r = item->rcItem;
        r.DeflateRect(1, 0);
        int mode = dc->SetBkMode(TRANSPARENT);
        HFONT font = m_bHover && m_pHoverFont ? static_cast<HFONT>(m_pHoverFont->m_hObject) : GetFont();
        COLORREF colour = dc->SetTextColor(m_bHover ? m_crHover : m_crLink);
        HGDIOBJ oldFont = dc->SelectObject(font);
        dc->DrawText(text, &r, HyperlinkTextFormat(GetStyle()));
        dc->SelectObject(oldFont);
        dc->SetTextColor(colour);
        dc->SetBkMode(mode);
    }
    if (item->itemState & ODS_FOCUS)
        dc->DrawFocusRect(item->rcItem);
}

BOOL CHyperlinkButton::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(GetLibHandCursor());
    return TRUE;
}

BOOL CHyperlinkButton::OnClicked()
{
    if (m_strLink.IsEmpty())
        return FALSE;
    g_pfnShellExecuteW(nullptr, L"open", m_strLink, nullptr, nullptr, SW_SHOWNORMAL);
    return TRUE;
}

void CHyperlinkButton::OnMouseMove(UINT, CPoint)
{
    if (!m_bHover) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&track);
        m_bHover = TRUE;
        Invalidate(FALSE);
    }
    Default();
}

LRESULT CHyperlinkButton::OnMouseLeave(WPARAM, LPARAM)
{
    if (m_bHover) {
        m_bHover = FALSE;
        Invalidate(FALSE);
    }
    return 0;
}
