#include "shell/AnimatedShellTreeCtrl.h"

#include "CWinApp.h"
#include "res/UiShellRes.h"

namespace {
constexpr int kFrames = 10;
constexpr UINT kFramePeriodMs = 125;
}

CAnimatedShellTreeCtrl::CAnimatedShellTreeCtrl()
{
    m_bShowIcon = TRUE;
    m_nAnimationPeriod = kFramePeriodMs;
    m_hCursor = static_cast<HCURSOR>(::LoadImageW(FwGetResourceHandle(), MAKEINTRESOURCEW(IDC_LOADING_ANIMATION), IMAGE_CURSOR,
                                                  ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
}

CAnimatedShellTreeCtrl::~CAnimatedShellTreeCtrl()
{
    if (m_hCursor)
        ::DestroyCursor(m_hCursor);
}

void CAnimatedShellTreeCtrl::BeginAnimation(HTREEITEM placeholder)
{
    CProgressShellTreeCtrl::BeginAnimation(placeholder);
    m_nFrame = 0;
    m_rectIcon = GetImageList(TVSIL_NORMAL) ? GetLoadingIconRect(placeholder) : CRect();
    COLORREF background = GetBkColor();
    // -1 means the tree paints with the system's window colour.
    m_brushBackground.CreateSolidBrush(background == static_cast<COLORREF>(-1) ? ::GetSysColor(COLOR_WINDOW)
                                                                               : (background & 0xFFFFFF));
}

void CAnimatedShellTreeCtrl::AnimationStep(BOOL timerTick, int total, int current)
{
    CProgressShellTreeCtrl::AnimationStep(timerTick, total, current);
    if (!timerTick || m_rectIcon.IsRectEmpty() || !m_hCursor)
        return;
    m_nFrame = (m_nFrame + 1) % kFrames;
    CClientDC dc(this);
    ::DrawIconEx(dc, m_rectIcon.left, m_rectIcon.top, m_hCursor, m_rectIcon.Width(), m_rectIcon.Height(),
                 static_cast<UINT>(m_nFrame), m_brushBackground, DI_NORMAL);
}

void CAnimatedShellTreeCtrl::EndAnimation()
{
    m_brushBackground.DeleteObject();
    CProgressShellTreeCtrl::EndAnimation();
}
