#pragma once
// The main dialog's push buttons: drawn with visual styles ("Button" or "Toolbar") or from an
// image strip of frame pieces, with an optional icon beside the text. The button is owner-drawn
// so that every state change (press, focus, enable) comes back here, with either generation
// of the common controls.
#include "CImageList.h"
#include "Controls.h"

class CSkinButton : public CButton {
    FW_DECLARE_MESSAGE_MAP()
public:
    enum { DRAW_IMAGES = 0, DRAW_THEME_BUTTON = 1, DRAW_THEME_TOOLBAR = 2, DRAW_AUTO = 3, DRAW_IMAGES_TOO = 4 };
    enum { LAYOUT_SINGLE = 0, LAYOUT_HORIZONTAL = 1, LAYOUT_VERTICAL = 2 };

    void SetDrawMode(int mode) { m_drawMode = mode; Redraw(); }
    // The frame pieces (not owned); their size is that of image 0.
    void SetImageList(CImageList* list, int layout);
    // An icon from an image list (not owned) beside the text; -1: none.
    void SetIconImage(CImageList* list, int index);
    // -1: the system's colours.
    void SetTextColor(COLORREF colour) { m_textColour = colour; Redraw(); }
    void SetFlat(int flat) { m_flat = flat; Redraw(); }

    // Paints the whole button for the given item state flags (selected 1, disabled 4,
    // checked 8, focus 0x10, hot 0x40).
    void Paint(HDC dc, UINT state);

    int m_flat = 0;
    int m_drawMode = DRAW_AUTO;
    CImageList* m_frameImages = nullptr;
    int m_imageLayout = LAYOUT_SINGLE;
    int m_frameWidth = 0;
    int m_frameHeight = 0;
    CImageList* m_iconImages = nullptr;
    int m_iconIndex = -1;
    int m_iconWidth = 0;
    int m_iconHeight = 0;
    COLORREF m_textColour = static_cast<COLORREF>(-1);

protected:
    void PreSubclassWindow() override;
    int OnCreate(LPCREATESTRUCTW create);
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnMouseMove(UINT flags, CPoint point);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    void DrawItem(LPDRAWITEMSTRUCT item) override;

private:
    void MakeOwnerDrawn();
    void Redraw();
    bool IsDefaultButton() const;
    void DrawFrame(HDC dc, const RECT& r, UINT state);
    void DrawStrip(HDC dc, const RECT& r, int index);
    void DrawContent(HDC dc, RECT r, UINT state);

    bool m_hot = false;
};
