#include "FullScreenHandler.h"

#include "CWnd.h"

RECT FullScreenWindowRect(const RECT& window, const RECT& client, SIZE screen, const RECT& margin)
{
    RECT r{window.left - client.left, window.top - client.top, screen.cx + window.right - client.right,
           screen.cy + window.bottom - client.bottom};
    r.left -= margin.left + 2;
    r.top -= margin.top + 2;
    r.right += margin.right + 2;
    r.bottom += margin.bottom + 2;
    return r;
}

WINDOWPLACEMENT FullScreenPlacement(const WINDOWPLACEMENT& saved, const RECT& rect, POINT workOrigin)
{
    WINDOWPLACEMENT placement = saved;
    placement.length = sizeof(placement);
    placement.flags = 0;
    placement.showCmd = SW_SHOWNORMAL;
    placement.rcNormalPosition = rect;
    ::OffsetRect(&placement.rcNormalPosition, -workOrigin.x, -workOrigin.y);
    return placement;
}

void CFullScreenHandler::Toggle()
{
    if (!m_pFrame)
        return;
    m_pFrame->LockWindowUpdate();
    if (m_nState != Normal) {
        m_nState = Normal;
        // Placed as saved, a maximised frame is maximised again over its normal position.
        // (Maximised first, the placement would then move it off its maximised position.)
        m_pFrame->SetWindowPlacement(&m_wpSaved);
    } else {
        m_nState = Entering;
        m_pFrame->GetWindowPlacement(&m_wpSaved);
        RECT window, client;
        m_pFrame->GetWindowRect(&window);
        m_pFrame->GetClientRect(&client);
        m_pFrame->ClientToScreen(&client);
        SIZE screen{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        m_rcFullScreen = FullScreenWindowRect(window, client, screen, m_rcMargin);
        RECT work{};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        WINDOWPLACEMENT placement = FullScreenPlacement(m_wpSaved, m_rcFullScreen, POINT{work.left, work.top});
        m_pFrame->SetWindowPlacement(&placement);
        m_nState = FullScreen;
    }
    CWnd::UnlockWindowUpdate();
}

void CFullScreenHandler::OnGetMinMaxInfo(MINMAXINFO* info) const
{
    if (m_nState == Normal)
        return;
    info->ptMaxSize.x = info->ptMaxTrackSize.x = m_rcFullScreen.right - m_rcFullScreen.left;
    info->ptMaxSize.y = info->ptMaxTrackSize.y = m_rcFullScreen.bottom - m_rcFullScreen.top;
}
