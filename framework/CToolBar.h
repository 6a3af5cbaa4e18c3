#pragma once
// A toolbar made from a toolbar resource: one button per command id (0 a separator), images in
// order, tool tips asked of the owner (which reads them from the string table), drop-down
// buttons and command-state updates of the buttons.
#include "Controls.h"

class CToolBar : public CToolBarCtrl {
public:
    // `style` adds to WS_CHILD: toolbar styles (TBSTYLE_FLAT, TBSTYLE_LIST, TBSTYLE_TOOLTIPS,
    // TBSTYLE_TRANSPARENT) and common-control styles (CCS_NODIVIDER, ...).
    BOOL Create(CWnd* parent, DWORD style, UINT id);
    using CToolBarCtrl::Create;
    // FALSE when the resource is missing or malformed.
    BOOL LoadToolBar(UINT resourceId);

    UINT GetItemID(int index) const;
    BOOL SetButtonStyle(UINT id, BYTE style);
    BYTE GetButtonStyle(UINT id) const;
    // A drop-down arrow beside the button, or (`whole`) the whole button opening the menu.
    BOOL SetDropDownButton(UINT id, BOOL whole);
    // A text shown on the button (list-style toolbars with mixed buttons show only these).
    BOOL SetButtonText(UINT id, const wchar_t* text);
    CString GetButtonText(UINT id) const;
    // Enabled and checked states of every button from the target's update handlers; buttons
    // nobody handles are disabled when asked.
    void UpdateButtons(CCmdTarget* target, BOOL disableIfNoHandler);
};
