#include "SkinBar.h"

FW_BEGIN_MESSAGE_MAP(CSkinBar, CControlBar)
FW_END_MESSAGE_MAP()

BOOL CSkinBar::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    m_dwStyle = style & BAR_STYLE_MASK;
    m_nWidth = rect.right - rect.left;
    m_nHeight = rect.bottom - rect.top;
    return CWnd::Create(nullptr, nullptr, style & ~BAR_STYLE_MASK, rect, parent, id);
}

CSize CSkinBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    if (!stretch)
        return CSize(m_nWidth, m_nHeight);
    return horizontal ? CSize(0x7FFF, m_nHeight) : CSize(m_nWidth, 0x7FFF);
}

void CSkinBar::OnUpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler)
{
    UpdateDialogControls(target, disableIfNoHandler);
}
