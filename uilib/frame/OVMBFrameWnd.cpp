#include "OVMBFrameWnd.h"

#include "CMenu.h"

FW_BEGIN_MESSAGE_MAP(COVMBFrameWnd, CFrameWnd)
    FwOnCreate(&ThisClass::OnCreate),
    FwOnMessage(WM_MENUCHAR, &ThisClass::OnMenuChar),
    FwOnMessage(WM_INITMENUPOPUP, &ThisClass::OnInitMenuPopup),
    FwOnMessage(WM_MENUSELECT, &ThisClass::OnMenuSelect),
    FwOnMessage(WM_SYSCOMMAND, &ThisClass::OnSysCommand),
FW_END_MESSAGE_MAP()

BOOL COVMBFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context)
{
    return CFrameWnd::LoadFrame(resourceId, style, parent, context);
}

int COVMBFrameWnd::OnCreate(LPCREATESTRUCTW cs)
{
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    if (!m_pMenuBar)
        return 0;
    CRect rect(0, 0, m_nMenuBarHeight, m_nMenuBarHeight);
    if (!m_pMenuBar->Create(WS_CHILD | WS_VISIBLE | BAR_ALIGN_TOP, rect, this, FW_IDW_MENUBAR))
        return -1;
    m_pMenuBar->LoadMenu(::GetMenu(m_hWnd), FALSE);
    ::SetMenu(m_hWnd, nullptr);
    return 0;
}

LRESULT COVMBFrameWnd::OnMenuChar(WPARAM wParam, LPARAM lParam)
{
    if (m_pMenuBar && m_pMenuBar->OnFrameMenuChar(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam)))
        return MAKELRESULT(0, MNC_CLOSE);
    return Default();
}

LRESULT COVMBFrameWnd::OnInitMenuPopup(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CFrameWnd::OnInitMenuPopup(wParam, lParam);
    if (m_pMenuBar)
        m_pMenuBar->OnFrameInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam));
    return result;
}

LRESULT COVMBFrameWnd::OnMenuSelect(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = Default();
    if (m_pMenuBar)
        m_pMenuBar->OnFrameMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
    return result;
}

LRESULT COVMBFrameWnd::OnSysCommand(WPARAM wParam, LPARAM lParam)
{
    if (m_pMenuBar)
        m_pMenuBar->OnFrameSysCommand(static_cast<UINT>(wParam), lParam);
    return Default();
}
