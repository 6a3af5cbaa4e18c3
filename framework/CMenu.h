#pragma once
// A menu handle with the menu functions.
#include <windows.h>

#include "CCmdTarget.h"
#include "FwTypes.h"

class CWnd;

class CMenu : public CObject {
public:
    HMENU m_hMenu = nullptr;

    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    // A menu still attached when the object goes is destroyed with it.
    ~CMenu() override { DestroyMenu(); }

    // A temporary wrapper (no ownership) that lives until the thread's next idle time.
    static CMenu* FromHandle(HMENU menu);
    static void DeleteTempMap();

    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }
    BOOL Attach(HMENU menu);
    HMENU Detach();
    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL LoadMenu(UINT resourceId);
    BOOL DestroyMenu();

    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int pos) const { return ::GetMenuItemID(m_hMenu, pos); }
    UINT GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }
    int GetMenuString(UINT item, CString& text, UINT flags) const;
    CString GetMenuString(UINT item, UINT flags) const { CString t; GetMenuString(item, t, flags); return t; }
    CMenu* GetSubMenu(int pos) const { return FromHandle(::GetSubMenu(m_hMenu, pos)); }
    BOOL GetMenuItemInfo(UINT item, MENUITEMINFOW* info, BOOL byPos = FALSE) const { return ::GetMenuItemInfoW(m_hMenu, item, byPos, info); }
    BOOL SetMenuItemInfo(UINT item, MENUITEMINFOW* info, BOOL byPos = FALSE) { return ::SetMenuItemInfoW(m_hMenu, item, byPos, info); }
    UINT GetDefaultItem(UINT flags, BOOL byPos = FALSE) const { return ::GetMenuDefaultItem(m_hMenu, byPos, flags); }
    BOOL SetDefaultItem(UINT item, BOOL byPos = FALSE) { return ::SetMenuDefaultItem(m_hMenu, item, byPos); }

    BOOL AppendMenu(UINT flags, UINT_PTR idOrPopup = 0, const wchar_t* text = nullptr) { return ::AppendMenuW(m_hMenu, flags, idOrPopup, text); }
    BOOL InsertMenu(UINT pos, UINT flags, UINT_PTR idOrPopup = 0, const wchar_t* text = nullptr) { return ::InsertMenuW(m_hMenu, pos, flags, idOrPopup, text); }
    BOOL ModifyMenu(UINT pos, UINT flags, UINT_PTR idOrPopup = 0, const wchar_t* text = nullptr) { return ::ModifyMenuW(m_hMenu, pos, flags, idOrPopup, text); }
    BOOL DeleteMenu(UINT pos, UINT flags) { return ::DeleteMenu(m_hMenu, pos, flags); }
    BOOL RemoveMenu(UINT pos, UINT flags) { return ::RemoveMenu(m_hMenu, pos, flags); }
    UINT EnableMenuItem(UINT item, UINT flags) { return ::EnableMenuItem(m_hMenu, item, flags); }
    DWORD CheckMenuItem(UINT item, UINT flags) { return ::CheckMenuItem(m_hMenu, item, flags); }
    BOOL CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags) { return ::CheckMenuRadioItem(m_hMenu, first, last, item, flags); }

    // Returns the chosen command with TPM_RETURNCMD, else success.
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* exclude = nullptr) const;
    BOOL TrackPopupMenuEx(UINT flags, int x, int y, CWnd* owner, LPTPMPARAMS params) const;
};

// Command-update of every entry of a popup menu that is about to open (WM_INITMENUPOPUP).
// Entries that open a sub-menu are asked under the id of their first entry and never disabled
// for want of a handler; others are disabled without a handler when `autoMenuEnable` is set
// and their id lies below the system range.
void FwUpdateMenuPopup(CCmdTarget* target, CMenu* popup, BOOL autoMenuEnable);
