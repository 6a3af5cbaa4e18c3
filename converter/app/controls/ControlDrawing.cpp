#include "ControlDrawing.h"

#include "AppGlobals.h"
#include "AppPaths.h"
#include "CWnd.h"

void PaintParentBackground(CWnd* control, HDC dc)
{
    HWND parent = ::GetParent(control->m_hWnd);
    if (!parent)
        return;
    RECT r;
    ::GetWindowRect(control->m_hWnd, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    POINT old;
    ::OffsetWindowOrgEx(dc, r.left, r.top, &old);
    ::SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ::SetWindowOrgEx(dc, old.x, old.y, nullptr);
}

bool AppUsesVisualStyles() { return g_pAppPaths && g_pAppPaths->m_visualStyles != 0; }

void DrawLineText(HDC dc, const wchar_t* text, int length, RECT rect, UINT align, COLORREF colour)
{
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = ::SetTextColor(dc, colour);
    ::DrawTextW(dc, text, length, &rect, align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
}
