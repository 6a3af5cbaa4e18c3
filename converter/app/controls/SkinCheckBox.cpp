#include "SkinCheckBox.h"

#include <vssym32.h>

#include <algorithm>

#include "CDC.h"
#include "ControlDrawing.h"
#include "ControlRules.h"
#include "VisualTheme.h"

FW_BEGIN_MESSAGE_MAP(CSkinCheckBox, CButton)
    FwOnEraseBkgnd(&ThisClass::OnEraseBkgnd),
    FwOnPlain(WM_PAINT, &ThisClass::OnPaint),
    FwOnMouse(WM_MOUSEMOVE, &ThisClass::OnMouseMove),
    FwOnMessage(WM_MOUSELEAVE, &ThisClass::OnMouseLeave),
    FwOnMessage(BM_SETCHECK, &ThisClass::OnStateChange),
    FwOnMessage(BM_SETSTATE, &ThisClass::OnStateChange),
    FwOnMessage(BM_CLICK, &ThisClass::OnStateChange),
    FwOnMessage(WM_SETFOCUS, &ThisClass::OnStateChange),
    FwOnMessage(WM_KILLFOCUS, &ThisClass::OnStateChange),
    FwOnMessage(WM_ENABLE, &ThisClass::OnStateChange),
    FwOnMessage(WM_SETTEXT, &ThisClass::OnStateChange),
    FwOnMessage(WM_LBUTTONDOWN, &ThisClass::OnStateChange),
    FwOnMessage(WM_LBUTTONDBLCLK, &ThisClass::OnStateChange),
    FwOnMessage(WM_LBUTTONUP, &ThisClass::OnStateChange),
    FwOnMessage(WM_CAPTURECHANGED, &ThisClass::OnStateChange),
    FwOnMessage(WM_KEYDOWN, &ThisClass::OnStateChange),
    FwOnMessage(WM_KEYUP, &ThisClass::OnStateChange),
    FwOnMessage(WM_UPDATEUISTATE, &ThisClass::OnStateChange),
FW_END_MESSAGE_MAP()

void CSkinCheckBox::PreSubclassWindow()
{
    ULONG_PTR style = ::GetClassLongPtrW(m_hWnd, GCL_STYLE);
    ::SetClassLongPtrW(m_hWnd, GCL_STYLE, static_cast<LONG_PTR>(style | CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS));
}

LRESULT CSkinCheckBox::OnStateChange(WPARAM, LPARAM)
{
    const bool visible = (GetStyle() & WS_VISIBLE) != 0;
    if (visible)
        ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(GetStyle() & ~WS_VISIBLE));
    LRESULT result = Default();
    if (visible && ::IsWindow(m_hWnd)) {
        ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(GetStyle() | WS_VISIBLE));
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOERASE);
    }
    return result;
}

void CSkinCheckBox::OnMouseMove(UINT, CPoint)
{
    if (!m_hover) {
        m_hover = 1;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&track);
        Invalidate(FALSE);
    }
    OnStateChange(0, 0);
}

LRESULT CSkinCheckBox::OnMouseLeave(WPARAM, LPARAM)
{
    m_hover = 0;
    Invalidate(FALSE);
    return Default();
}

void CSkinCheckBox::OnPaint()
{
    CPaintDC dc(this);
    Paint(dc.GetSafeHdc());
}

void CSkinCheckBox::Paint(HDC dc)
{
    RECT client;
    GetClientRect(&client);
    PaintParentBackground(this, dc);

    const UINT buttonState = static_cast<UINT>(SendMessage(BM_GETSTATE));
    const bool checked = (buttonState & BST_CHECKED) != 0;
    const bool disabled = !IsWindowEnabled();
    RECT box{client.left, client.top + 1, client.left + 13, client.top + 14};
    bool drawn = false;
    if (AppUsesVisualStyles()) {
        CVisualTheme theme(m_hWnd, L"Button");
        drawn = theme.IsOpen() &&
                SUCCEEDED(theme.DrawBackground(dc, BP_CHECKBOX, CheckBoxThemeState(checked, disabled, (buttonState & BST_PUSHED) != 0, m_hover != 0), &box));
    }
    if (!drawn)
        ::DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | (checked ? DFCS_CHECKED : 0));

    CString text = GetWindowText();
    RECT textRect = client;
    textRect.left += 16;
    HGDIOBJ oldFont = ::SelectObject(dc, GetFont() ? static_cast<HGDIOBJ>(GetFont()) : ::GetStockObject(DEFAULT_GUI_FONT));
    DrawLineText(dc, text, text.GetLength(), textRect, DT_LEFT, m_textColour);
    if (buttonState & BST_FOCUS) {
        RECT extent = textRect;
        ::DrawTextW(dc, text, text.GetLength(), &extent, DT_LEFT | DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
        RECT focus{textRect.left - 1, client.top, std::min(extent.right + 1, client.right), client.bottom};
        ::DrawFocusRect(dc, &focus);
    }
    ::SelectObject(dc, oldFont);
}
