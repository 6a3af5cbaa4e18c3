#pragma once
// An edit box that stays where its owner put it: while subclassed, every move or resize is
// replaced by the stored rectangle (the job list's in-place rename).
#include "Controls.h"

class CFixedPosEdit : public CEdit {
    FW_DECLARE_MESSAGE_MAP()
public:
    void SetFixedRect(const RECT& r)
    {
        m_left = r.left;
        m_top = r.top;
        m_width = r.right - r.left;
        m_height = r.bottom - r.top;
    }

    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;

protected:
    LRESULT OnWindowPosChanging(WPARAM, LPARAM lParam);
};
