#include "ColorStatic.h"

BOOL CColorStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_CTLCOLORSTATIC)
        return CStatic::OnChildNotify(message, wParam, lParam, result);
    if (!IsWindowEnabled())
        return FALSE;
    HDC dc = reinterpret_cast<HDC>(wParam);
    if (m_textColour != static_cast<COLORREF>(-1))
        ::SetTextColor(dc, m_textColour);
    ::SetBkColor(dc, RGB(255, 255, 255));
    *result = reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
    return TRUE;
}
