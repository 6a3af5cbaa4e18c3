#pragma once
// Two small wrappers: a tool tip that relays mouse moves to whichever window is under the
// pointer, and a tree with bold items.
#include "Controls.h"

class CRelayToolTipCtrl : public CToolTipCtrl {
public:
    // Only WM_MOUSEMOVE: the message as the window under the point would get it.
    void RelayMouseMove(const MSG* message);
};

class CBoldTreeCtrl : public CTreeCtrl {
public:
    BOOL SetItemBold(HTREEITEM item, BOOL bold) { return SetItemState(item, bold ? TVIS_BOLD : 0, TVIS_BOLD); }
};
