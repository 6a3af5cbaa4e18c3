#include "shell/ProgressShellTreeCtrl.h"

#include "shell/ShellTreeLogic.h"

namespace {
constexpr int kBarHeight = 14;
constexpr int kBarWidth = kLoadingBarFill + 4;
}

void CProgressShellTreeCtrl::BeginAnimation(HTREEITEM placeholder)
{
    CRect text;
    if (placeholder && GetItemRect(placeholder, &text, TRUE)) {
        int left = text.right + 2;
        int top = text.top, bottom = text.bottom;
        if (text.Height() >= kBarHeight) {
            top = text.top + (text.Height() - kBarHeight) / 2;
            bottom = top + kBarHeight;
        }
        m_rectBar = CRect(left, top, left + kBarWidth, bottom);
    } else {
        m_rectBar = CRect();
    }
    m_rectFill = CRect(m_rectBar.left + 2, m_rectBar.top + 2, m_rectBar.left + 2, m_rectBar.bottom - 2);
    m_brushFrame.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    m_brushFill.CreateSolidBrush(RGB(0, 128, 255));
}

void CProgressShellTreeCtrl::AnimationStep(BOOL timerTick, int total, int current)
{
    if (timerTick || m_rectBar.IsRectEmpty())
        return;
    CClientDC dc(this);
    dc.FrameRect(m_rectBar, &m_brushFrame);
    CRect fill = m_rectFill;
    fill.right = fill.left + LoadingBarFillWidth(total, current);
    dc.FillRect(fill, &m_brushFill);
}

void CProgressShellTreeCtrl::EndAnimation()
{
    m_brushFrame.DeleteObject();
    m_brushFill.DeleteObject();
}
