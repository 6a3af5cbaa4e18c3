#include "CMenu.h"

#include "CWinApp.h"
#include "CWnd.h"
#include "FwTempMap.h"

namespace {

class CTempMenu : public CMenu {
public:
    ~CTempMenu() override { m_hMenu = nullptr; }
};

} // namespace

CMenu* CMenu::FromHandle(HMENU menu)
{
    if (!menu)
        return nullptr;
    return FwTempObject<CMenu>(menu, [](HMENU h) -> CMenu* {
        auto* temp = new CTempMenu;
        temp->m_hMenu = h;
        return temp;
    });
}

void CMenu::DeleteTempMap() { FwTempObjects<CMenu, HMENU>().clear(); }

BOOL CMenu::Attach(HMENU menu)
{
    if (!menu || m_hMenu)
        return FALSE;
    m_hMenu = menu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU menu = m_hMenu;
    m_hMenu = nullptr;
    return menu;
}

BOOL CMenu::LoadMenu(UINT resourceId)
{
    return Attach(::LoadMenuW(FwGetResourceHandle(), MAKEINTRESOURCEW(resourceId)));
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}

int CMenu::GetMenuString(UINT item, CString& text, UINT flags) const
{
    int length = ::GetMenuStringW(m_hMenu, item, nullptr, 0, flags);
    if (length <= 0) {
        text.Empty();
        return 0;
    }
    ::GetMenuStringW(m_hMenu, item, text.GetBuffer(length + 1), length + 1, flags);
    text.ReleaseBuffer();
    return text.GetLength();
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* exclude) const
{
    if (!exclude)
        return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, FwHwnd(owner), nullptr);
    TPMPARAMS params{sizeof(TPMPARAMS), *exclude};
    return ::TrackPopupMenuEx(m_hMenu, flags, x, y, FwHwnd(owner), &params);
}

BOOL CMenu::TrackPopupMenuEx(UINT flags, int x, int y, CWnd* owner, LPTPMPARAMS params) const
{
    return ::TrackPopupMenuEx(m_hMenu, flags, x, y, FwHwnd(owner), params);
}

void FwUpdateMenuPopup(CCmdTarget* target, CMenu* popup, BOOL autoMenuEnable)
{
    CCmdUI state;
    state.m_pMenu = popup;
    state.m_nIndexMax = static_cast<UINT>(popup->GetMenuItemCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
        state.m_nID = popup->GetMenuItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == 0)
            continue;   // separator
        if (state.m_nID == static_cast<UINT>(-1)) {
            // A sub-menu: asked under the id of its first entry.
            state.m_pSubMenu = popup->GetSubMenu(static_cast<int>(state.m_nIndex));
            if (!state.m_pSubMenu || (state.m_nID = state.m_pSubMenu->GetMenuItemID(0)) == 0 ||
                state.m_nID == static_cast<UINT>(-1)) {
                state.m_pSubMenu = nullptr;
                continue;
            }
            state.DoUpdate(target, FALSE);
        } else {
            state.m_pSubMenu = nullptr;
            state.DoUpdate(target, autoMenuEnable && state.m_nID < 0xF000);
        }
        // A handler may have added or removed entries: go on after those of the same id.
        UINT count = static_cast<UINT>(popup->GetMenuItemCount());
        if (count < state.m_nIndexMax) {
            UINT removed = state.m_nIndexMax - count;
            state.m_nIndex = state.m_nIndex > removed ? state.m_nIndex - removed : 0;
            while (state.m_nIndex < count && popup->GetMenuItemID(static_cast<int>(state.m_nIndex)) == state.m_nID)
                state.m_nIndex++;
        }
        state.m_nIndexMax = count;
    }
}
