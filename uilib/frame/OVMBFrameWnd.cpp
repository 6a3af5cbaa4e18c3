#include "OVMBFrameWnd.h"

#include "CMenu.h"

FW_BEGIN_MESSAGE_MAP(COVMBFrameWnd, CFrameWnd)
    FwOnCreate(&ThisClass::OnCreate),
    FwOnMessage(WM_MENUCHAR, &ThisClass::OnMenuChar),
    FwOnMessage(WM_INITMENUPOPUP, &ThisClass::OnInitMenuPopup),
    FwOnMessage(WM_MENUSELECT, &ThisClass::OnMenuSelect),
    FwOnMessage(WM_SYSCOMMAND, &ThisClass::OnSysCommand),
    FwOnMessage(WM_UNINITMENUPOPUP, &ThisClass::OnUninitMenuPopup),
    FwOnMessage(WM_MEASUREITEM, &ThisClass::OnMeasureItem),
    FwOnMessage(WM_DRAWITEM, &ThisClass::OnDrawItem),
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
    HMENU popup = reinterpret_cast<HMENU>(wParam);
    // The command updates work on plain string items.
    m_popups.Restore(popup);
    LRESULT result = CFrameWnd::OnInitMenuPopup(wParam, lParam);
    if (m_pMenuBar)
        m_pMenuBar->OnFrameInitMenuPopup(popup, LOWORD(lParam), HIWORD(lParam));
    if (!HIWORD(lParam))   // the window menu keeps the system's drawing
        m_popups.Prepare(popup);
    return result;
}

LRESULT COVMBFrameWnd::OnUninitMenuPopup(WPARAM wParam, LPARAM)
{
    m_popups.Restore(reinterpret_cast<HMENU>(wParam));
    return Default();
}

LRESULT COVMBFrameWnd::OnMeasureItem(WPARAM, LPARAM lParam)
{
    if (m_popups.Measure(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
        return TRUE;
    return Default();
}

LRESULT COVMBFrameWnd::OnDrawItem(WPARAM, LPARAM lParam)
{
    if (m_popups.Draw(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
        return TRUE;
    return Default();
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
