#pragma once
// Clickable bar items: a button painted from an image-list skin or solid colours that posts its
// command to the bar, and buttons that put an image or a text on top.
#include "BarItem.h"
#include "CImageList.h"
#include "CString.h"

// Skin modes of a button.
enum BarSkinMode { BARSKIN_PER_STATE = 0, BARSKIN_HORIZONTAL = 1, BARSKIN_VERTICAL = 2 };

// No colour: nothing is drawn.
constexpr COLORREF BAR_NO_COLOUR = static_cast<COLORREF>(-1);

class CBarButton : public CBarItem {
public:
    // Command id 0 and -1 send nothing; -1 also asks the list's OnItemNotify at every press.
    CBarButton(CBarItemList* owner, int left, int top, int right, int bottom, int commandId);

    int GetCommandId() const override { return m_nCommandId; }
    BOOL OnMouseMessage(const MSG* msg) override;
    void Paint(CDC* dc) override;
    virtual void DrawBackground(CDC* dc, const RECT& rect, int state);
    virtual void DrawForeground(CDC* dc, const RECT& rect, int state) {}
    virtual BOOL CanPress();
    virtual BOOL OnClick();

    // Per state (mode 0: image `state`) or three-part skins tiled in steps (modes 1 and 2:
    // images 3 x state + 0, 1, 2 for the start, the middle and the end). Null: the colours.
    void SetSkin(CImageList* skin, int mode, int horizontalStep = 0, int verticalStep = 0);
    void SetColours(COLORREF normal, COLORREF hot);
    // The draw state of this button now (disabled, pressed, hot, focused or normal).
    int GetDrawState() const;

protected:
    int m_nCommandId;
    COLORREF m_crNormal = BAR_NO_COLOUR;
    COLORREF m_crHot = BAR_NO_COLOUR;
    CImageList* m_pSkin = nullptr;
    int m_nSkinMode = BARSKIN_PER_STATE;
    int m_nStepX = 0;
    int m_nStepY = 0;
};

// A button with an image of the state's index from its own list, centred (1 px down and right
// while pressed).
class CBarImageItem : public CBarButton {
public:
    using CBarButton::CBarButton;

    void DrawForeground(CDC* dc, const RECT& rect, int state) override;
    // Width and height come from the list's image 0.
    void SetImageList(CImageList* list, BOOL redraw);

protected:
    CImageList* m_pImages = nullptr;
    int m_nImageWidth = 0;
    int m_nImageHeight = 0;
};

// A button with a one-line text.
class CBarTextItem : public CBarButton {
public:
    CBarTextItem(CBarItemList* owner, int left, int top, int right, int bottom, int commandId);

    void DrawForeground(CDC* dc, const RECT& rect, int state) override;
    void SetText(const wchar_t* text, BOOL redraw);
    const CString& GetText() const { return m_strText; }
    void SetTextColours(COLORREF normal, COLORREF hot, COLORREF disabled);
    // Null: the bar window's font.
    void SetFont(CFont* font) { m_pFont = font; }

protected:
    CString m_strText;
    COLORREF m_crText;
    COLORREF m_crHotText;
    COLORREF m_crDisabledText;
    CFont* m_pFont = nullptr;
};
