#pragma once
// The animated shell tree with the shell's context menu for the selected item (commands
// 0xE00-0xFFF while the menu is up).
#include "shell/AnimatedShellTreeCtrl.h"
#include "shell/ShellContextMenu.h"

constexpr UINT SHELLMENU_FIRST_COMMAND = 0xE00;
constexpr UINT SHELLMENU_LAST_COMMAND = 0xFFF;

class CShellMenuTreeCtrl : public CAnimatedShellTreeCtrl {
    FW_DECLARE_MESSAGE_MAP()
public:
    CShellContextMenu m_contextMenu;

    BOOL ShowContextMenu();

protected:
    void OnContextMenu(CWnd* wnd, CPoint point);
    void OnRightClick(NMHDR* header, LRESULT* result);
    void OnShellCommand(UINT id);
};
