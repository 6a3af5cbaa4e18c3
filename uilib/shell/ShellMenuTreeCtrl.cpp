#include "shell/ShellMenuTreeCtrl.h"

#include "CMenu.h"

FW_BEGIN_MESSAGE_MAP(CShellMenuTreeCtrl, CAnimatedShellTreeCtrl)
    FwOnContextMenu(&ThisClass::OnContextMenu),
    FwOnReflectNotify(NM_RCLICK, &ThisClass::OnRightClick),
    FwOnCommandRange(SHELLMENU_FIRST_COMMAND, SHELLMENU_LAST_COMMAND, &ThisClass::OnShellCommand),
FW_END_MESSAGE_MAP()

BOOL CShellMenuTreeCtrl::ShowContextMenu()
{
    HTREEITEM item = GetSelectedItem();
    if (!item || !CreateContextMenu(item, m_contextMenu))
        return FALSE;
    CMenu popup;
    if (!popup.CreatePopupMenu())
        return FALSE;
    m_contextMenu.QueryContextMenu(popup, 0, SHELLMENU_FIRST_COMMAND, SHELLMENU_LAST_COMMAND, CMF_EXPLORE | CMF_NODEFAULT);
    POINT cursor{};
    ::GetCursorPos(&cursor);
    m_contextMenu.Attach(this);
    popup.TrackPopupMenu(TPM_RIGHTBUTTON, cursor.x, cursor.y, this);
    m_contextMenu.Attach(nullptr);
    return TRUE;
}

void CShellMenuTreeCtrl::OnContextMenu(CWnd*, CPoint) { ShowContextMenu(); }

void CShellMenuTreeCtrl::OnRightClick(NMHDR*, LRESULT* result)
{
    ShowContextMenu();
    // Handled: the tree would otherwise send itself WM_CONTEXTMENU and show the menu again.
    *result = 1;
}

void CShellMenuTreeCtrl::OnShellCommand(UINT id) { m_contextMenu.InvokeCommand(id); }
