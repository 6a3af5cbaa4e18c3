#include "FixedPosEdit.h"

FW_BEGIN_MESSAGE_MAP(CFixedPosEdit, CEdit)
    FwOnMessage(WM_WINDOWPOSCHANGING, &ThisClass::OnWindowPosChanging),
FW_END_MESSAGE_MAP()

LRESULT CFixedPosEdit::OnWindowPosChanging(WPARAM, LPARAM lParam)
{
    auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
    pos->x = m_left;
    pos->y = m_top;
    pos->cx = m_width;
    pos->cy = m_height;
    return Default();
}
