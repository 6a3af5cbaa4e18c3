#pragma once
// A tree whose branches are read when they are opened. While a branch fills, a "Loading..."
// child stands under it, the window shows a frozen snapshot and a second thread animates a
// progress indicator from timer ticks and progress reports.
#include <windows.h>

#include <atomic>

#include "CDC.h"
#include "Controls.h"

class CLoadingTreeCtrl : public CTreeCtrl {
    FW_DECLARE_MESSAGE_MAP()
public:
    CLoadingTreeCtrl() = default;
    ~CLoadingTreeCtrl() override;

    void SetAnimationPeriod(UINT ms) { m_nAnimationPeriod = ms; }
    // The current count; `total` gets the total (0 or less: not known yet).
    int GetProgress(int* total) const;
    void SetProgress(int total, int current);
    void AddProgress(int count);
    void DeleteChildren(HTREEITEM item);

protected:
    HANDLE m_hAnimator = nullptr;
    HANDLE m_hTimerEvent = nullptr;
    HANDLE m_hRequestEvent = nullptr;
    std::atomic<int> m_bQuit{0};
    BOOL m_bSnapshot = FALSE;
    CBitmap m_bmpSnapshot;
    UINT m_nTimerId = 0;
    UINT m_nAnimationPeriod = 0;
    CString m_strLoading = L"Loading...";
    HICON m_hLoadingIcon = nullptr;
    BOOL m_bShowIcon = FALSE;
    std::atomic<int> m_nProgressCurrent{0};
    std::atomic<int> m_nProgressTotal{0};
    HTREEITEM m_hLoadingItem = nullptr;
    HTREEITEM m_hExpandingItem = nullptr;

    // Animation hooks, called on the animator thread between Begin and End (both on the UI thread).
    virtual void BeginAnimation(HTREEITEM placeholder) {}
    virtual void AnimationStep(BOOL timerTick, int total, int current) {}
    virtual void EndAnimation() {}
    // Whether an opened or closed branch is to be read again.
    virtual BOOL NeedsRefill(HTREEITEM item) { return FALSE; }
    // Reads the children of `item`; FALSE when the branch may gain children later (an empty
    // drive that is not fixed), so that it keeps its button.
    virtual BOOL FillChildren(HTREEITEM item) = 0;

    // Where the placeholder's icon goes: a small-icon square 3 px left of its text.
    CRect GetLoadingIconRect(HTREEITEM placeholder) const;

    void OnItemExpanding(NMHDR* header, LRESULT* result);
    void OnItemExpanded(NMHDR* header, LRESULT* result);
    BOOL OnEraseBkgnd(CDC* dc);

private:
    void StartAnimator();
    void StopAnimator();
    void PaintLoadingIcon();
    void TakeSnapshot();
    void ScrollChildrenIntoView(HTREEITEM item);
    static unsigned __stdcall AnimatorEntry(void* self);
    void AnimatorLoop();
};
