#pragma once
// The progress tree that also plays the frames of the loading animation (an animated cursor of
// the library's resources) in the icon place of the "Loading..." child: ten steps, one every 125 ms.
#include "shell/ProgressShellTreeCtrl.h"

class CAnimatedShellTreeCtrl : public CProgressShellTreeCtrl {
public:
    CRect m_rectIcon;
    CBrush m_brushBackground;
    int m_nFrame = 0;
    HCURSOR m_hCursor = nullptr;

    CAnimatedShellTreeCtrl();
    ~CAnimatedShellTreeCtrl() override;

protected:
    void BeginAnimation(HTREEITEM placeholder) override;
    void AnimationStep(BOOL timerTick, int total, int current) override;
    void EndAnimation() override;
};
