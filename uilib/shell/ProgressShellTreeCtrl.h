#pragma once
// The shell tree with a small progress bar beside the "Loading..." child of an opening branch.
#include "shell/ShellTreeCtrl.h"

class CProgressShellTreeCtrl : public CShellTreeCtrl {
public:
    CRect m_rectBar;
    CRect m_rectFill;
    CBrush m_brushFrame;
    CBrush m_brushFill;

protected:
    void BeginAnimation(HTREEITEM placeholder) override;
    void AnimationStep(BOOL timerTick, int total, int current) override;
    void EndAnimation() override;
};
