#include "CCmdTarget.h"

#include "CMenu.h"
#include "CWnd.h"

namespace {

bool IsButton(HWND hwnd)
{
    wchar_t cls[16] = L"";
    ::GetClassNameW(hwnd, cls, 16);
    return ::lstrcmpiW(cls, L"Button") == 0;
}

} // namespace

void CCmdUI::Enable(BOOL on)
{
    if (m_pMenu) {
        if (!m_pSubMenu)
            m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther && m_pOther->m_hWnd) {
        // Keep the keyboard focus out of a control that becomes disabled.
        if (!on && ::GetFocus() == m_pOther->m_hWnd) {
            HWND parent = ::GetParent(m_pOther->m_hWnd);
            ::SendMessageW(parent, WM_NEXTDLGCTL, 0, FALSE);
        }
        m_pOther->EnableWindow(on);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int check)
{
    if (m_pMenu) {
        if (!m_pSubMenu)
            m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther && m_pOther->m_hWnd && IsButton(m_pOther->m_hWnd)) {
        m_pOther->SendMessage(BM_SETCHECK, static_cast<WPARAM>(check));
    }
}

void CCmdUI::SetRadio(BOOL on)
{
    if (m_pMenu && !m_pSubMenu) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE;
        m_pMenu->GetMenuItemInfo(m_nIndex, &info, TRUE);
        info.fType |= MFT_RADIOCHECK;
        info.fState = on ? (info.fState | MFS_CHECKED) : (info.fState & ~MFS_CHECKED);
        m_pMenu->SetMenuItemInfo(m_nIndex, &info, TRUE);
        return;
    }
    SetCheck(on ? 1 : 0);
}

void CCmdUI::SetText(const wchar_t* text)
{
    if (m_pMenu) {
        if (m_pSubMenu)
            return;
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING;
        info.dwTypeData = const_cast<wchar_t*>(text ? text : L"");
        m_pMenu->SetMenuItemInfo(m_nIndex, &info, TRUE);
    } else if (m_pOther && m_pOther->m_hWnd) {
        if (m_pOther->GetWindowText() != (text ? text : L""))
            m_pOther->SetWindowText(text);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler)
{
    if (!target)
        return FALSE;
    m_bEnableChanged = FALSE;
    BOOL handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this);
    if (!handled && disableIfNoHandler && !m_bEnableChanged)
        Enable(target->OnCmdMsg(m_nID, CN_COMMAND, nullptr, true));
    return handled;
}
