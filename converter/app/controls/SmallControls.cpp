#include "SmallControls.h"

void CRelayToolTipCtrl::RelayMouseMove(const MSG* message)
{
    if (!message || message->message != WM_MOUSEMOVE || !m_hWnd)
        return;
    POINT screen{static_cast<short>(LOWORD(message->lParam)), static_cast<short>(HIWORD(message->lParam))};
    ::ClientToScreen(message->hwnd, &screen);
    HWND under = reinterpret_cast<HWND>(SendMessage(TTM_WINDOWFROMPOINT, 0, reinterpret_cast<LPARAM>(&screen)));
    if (!under)
        return;
    POINT client = screen;
    ::ScreenToClient(under, &client);
    MSG relayed = *message;
    relayed.hwnd = under;
    relayed.lParam = MAKELPARAM(client.x, client.y);
    Activate(TRUE);
    RelayEvent(&relayed);
}
