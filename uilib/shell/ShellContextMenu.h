#pragma once
// The shell's own context menu for one item, shown inside a program's popup menu: its commands
// take a range of the program's ids, and the owner window's owner-drawn menu messages are
// forwarded to it while the menu is up.
#include <windows.h>
#include <shlobj.h>

#include "CString.h"

class CWnd;

class CShellContextMenu {
public:
    IContextMenu* m_pContextMenu = nullptr;
    UINT m_nFirstId = 0;
    UINT m_nLastId = 0;
    CWnd* m_pOwner = nullptr;
    WNDPROC m_pOldWndProc = nullptr;

    CShellContextMenu() = default;
    CShellContextMenu(const CShellContextMenu&) = delete;
    CShellContextMenu& operator=(const CShellContextMenu&) = delete;
    virtual ~CShellContextMenu();

    // The menu of `child` in `folder`; TRUE when the folder gave one.
    BOOL Create(IShellFolder* folder, LPCITEMIDLIST child);
    // Adds the shell's commands at `index` with ids from `firstId` on (up to `lastId`).
    // With CMF_NODEFAULT the menu's own default entry stays the default.
    BOOL QueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT lastId, UINT flags);
    BOOL InvokeCommand(UINT id);
    BOOL GetCommandString(UINT id, CString& text);
    // Hooks `owner` (null unhooks) so that the menu's owner-drawn messages reach the shell.
    void Attach(CWnd* owner);
    void Unhook();
    // TRUE when the message was the menu's; `result` is the answer for the window.
    BOOL HandleMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

private:
    static LRESULT CALLBACK ForwardingWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void ReleaseMenu();
    BOOL InRange(UINT id) const { return m_pContextMenu && m_nFirstId <= id && id <= m_nLastId && m_nLastId >= m_nFirstId; }
};
