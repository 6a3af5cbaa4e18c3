#pragma once
// A control bar of fixed size: as wide and high as the rectangle it was created with (stretched
// along the frame's edge when the frame docks it).
#include "CFrameWnd.h"

class CSkinBar : public CControlBar {
    FW_DECLARE_MESSAGE_MAP()
public:
    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    // The bar's child controls are updated like a dialog's.
    void OnUpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler) override;
    // The bar-style bits of `style` (alignment) stay with the bar; the rest make the window.
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

protected:
    int m_nWidth = 0;
    int m_nHeight = 0;
};
