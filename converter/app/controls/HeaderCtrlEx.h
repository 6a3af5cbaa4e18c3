#pragma once
// The job list's header: drawn off-screen on a white or image background, with its own
// dividers, text colour and height.
#include "CImageList.h"
#include "Controls.h"

class CHeaderCtrlEx : public CHeaderCtrl {
    FW_DECLARE_MESSAGE_MAP()
public:
    // Image 0 is the background strip, image 1 the divider (not owned).
    void SetBackgroundImages(CImageList* list) { m_background = list; Redraw(); }
    void SetTextColor(COLORREF colour) { m_textColour = colour; Redraw(); }
    // -1: the system's height.
    void SetHeight(int height) { m_height = height; }

    void Paint(HDC dc);

    int m_plainItems = 0;
    int m_noDividers = 0;
    int m_height = -1;
    CImageList* m_background = nullptr;
    COLORREF m_textColour = ::GetSysColor(COLOR_BTNSHADOW);

protected:
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnPaint();
    LRESULT OnLayout(WPARAM, LPARAM lParam);

private:
    void Redraw() { if (m_hWnd) Invalidate(FALSE); }
    void DrawBackground(HDC dc, const RECT& client);
    void DrawItemFace(HDC dc, int index);
    void DrawDivider(HDC dc, const RECT& item, const RECT& client);
};
