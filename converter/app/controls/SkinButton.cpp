#include "SkinButton.h"

#include <vssym32.h>

#include <algorithm>

#include "CDC.h"
#include "ControlDrawing.h"
#include "ControlRules.h"
#include "VisualTheme.h"

FW_BEGIN_MESSAGE_MAP(CSkinButton, CButton)
    FwOnCreate(&ThisClass::OnCreate),
    FwOnEraseBkgnd(&ThisClass::OnEraseBkgnd),
    FwOnMouse(WM_MOUSEMOVE, &ThisClass::OnMouseMove),
    FwOnMessage(WM_MOUSELEAVE, &ThisClass::OnMouseLeave),
FW_END_MESSAGE_MAP()

void CSkinButton::PreSubclassWindow() { MakeOwnerDrawn(); }

int CSkinButton::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    MakeOwnerDrawn();
    return 0;
}

void CSkinButton::MakeOwnerDrawn()
{
    DWORD style = GetStyle();
    if ((style & BS_TYPEMASK) != BS_OWNERDRAW)
        ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>((style & ~BS_TYPEMASK) | BS_OWNERDRAW));
}

void CSkinButton::Redraw()
{
    if (m_hWnd)
        Invalidate(FALSE);
}

void CSkinButton::SetImageList(CImageList* list, int layout)
{
    m_frameImages = list;
    m_imageLayout = layout;
    m_frameWidth = m_frameHeight = 0;
    IMAGEINFO info{};
    if (list && list->GetSafeHandle() && list->GetImageInfo(0, &info)) {
        m_frameWidth = info.rcImage.right - info.rcImage.left;
        m_frameHeight = info.rcImage.bottom - info.rcImage.top;
    }
    Redraw();
}

void CSkinButton::SetIconImage(CImageList* list, int index)
{
    m_iconImages = list;
    m_iconIndex = index;
    m_iconWidth = m_iconHeight = 0;
    if (list && list->GetSafeHandle())
        ImageList_GetIconSize(*list, &m_iconWidth, &m_iconHeight);
    Redraw();
}

void CSkinButton::OnMouseMove(UINT, CPoint)
{
    if (!m_hot) {
        m_hot = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&track);
        Redraw();
    }
    Default();
}

LRESULT CSkinButton::OnMouseLeave(WPARAM, LPARAM)
{
    m_hot = false;
    Redraw();
    return Default();
}

bool CSkinButton::IsDefaultButton() const
{
    HWND parent = ::GetParent(m_hWnd);
    if (!parent)
        return false;
    LRESULT id = ::SendMessageW(parent, DM_GETDEFID, 0, 0);
    return HIWORD(id) == DC_HASDEFID && LOWORD(id) == static_cast<WORD>(GetDlgCtrlID());
}

void CSkinButton::DrawItem(LPDRAWITEMSTRUCT item)
{
    UINT state = item->itemState & (SKIN_SELECTED | SKIN_DISABLED | SKIN_FOCUS);
    if (!IsWindowEnabled())
        state |= SKIN_DISABLED;
    if (m_hot)
        state |= SKIN_HOT;
    Paint(item->hDC, state);
}

void CSkinButton::Paint(HDC dc, UINT state)
{
    RECT client;
    GetClientRect(&client);
    PaintParentBackground(this, dc);
    DrawFrame(dc, client, state);
    RECT content = client;
    content.left += 4;
    content.right -= 4;
    content.bottom -= 1;
    DrawContent(dc, content, state);
}

void CSkinButton::DrawFrame(HDC dc, const RECT& r, UINT state)
{
    int mode = m_drawMode;
    if (mode == DRAW_AUTO)
        mode = AppUsesVisualStyles() ? DRAW_THEME_BUTTON : DRAW_IMAGES;
    if (mode == DRAW_IMAGES || mode == DRAW_IMAGES_TOO) {
        const bool focused = ::GetFocus() == m_hWnd;
        const bool checked = SendMessage(BM_GETCHECK) == BST_CHECKED;
        DrawStrip(dc, r, SkinStripIndex(state, focused, checked));
        return;
    }
    RECT frame = r;
    if (mode == DRAW_THEME_BUTTON) {
        CVisualTheme theme(m_hWnd, L"Button");
        if (theme.IsOpen()) {
            theme.DrawBackground(dc, BP_PUSHBUTTON, PushButtonThemeState(state, IsDefaultButton()), &frame);
            return;
        }
        UINT classic = DFCS_BUTTONPUSH;
        if (state & SKIN_DISABLED)
            classic |= DFCS_INACTIVE;
        if (state & SKIN_SELECTED)
            classic |= DFCS_PUSHED;
        if (state & SKIN_CHECKED)
            classic |= DFCS_CHECKED;
        ::DrawFrameControl(dc, &frame, DFC_BUTTON, classic);
        return;
    }
    CVisualTheme theme(m_hWnd, L"Toolbar");
    if (theme.IsOpen()) {
        theme.DrawBackground(dc, TP_BUTTON, ToolbarButtonThemeState(state), &frame);
        return;
    }
    CDC* target = CDC::FromHandle(dc);
    if (state & SKIN_SELECTED)
        target->Draw3dRect(frame, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    else if ((state & SKIN_HOT) && !(state & SKIN_CHECKED))
        target->Draw3dRect(frame, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
}

void CSkinButton::DrawStrip(HDC dc, const RECT& r, int index)
{
    if (!m_frameImages || !m_frameImages->GetSafeHandle() || m_frameWidth <= 0)
        return;
    HIMAGELIST images = *m_frameImages;
    if (m_imageLayout == LAYOUT_SINGLE) {
        ImageList_Draw(images, index, dc, r.left, r.top, ILD_NORMAL);
        return;
    }
    const int first = 3 * index;
    if (m_imageLayout == LAYOUT_HORIZONTAL) {
        ImageList_Draw(images, first, dc, r.left, r.top, ILD_NORMAL);
        for (int x = r.left + m_frameWidth; x < r.right - m_frameWidth; x += m_frameWidth)
            ImageList_DrawEx(images, first + 1, dc, x, r.top, std::min<int>(m_frameWidth, r.right - m_frameWidth - x), 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
        ImageList_Draw(images, first + 2, dc, r.right - m_frameWidth, r.top, ILD_NORMAL);
        return;
    }
    ImageList_Draw(images, first, dc, r.left, r.top, ILD_NORMAL);
    for (int y = r.top + m_frameHeight; y < r.bottom - m_frameHeight; y += m_frameHeight)
        ImageList_DrawEx(images, first + 1, dc, r.left, y, 0, std::min<int>(m_frameHeight, r.bottom - m_frameHeight - y), CLR_NONE, CLR_NONE, ILD_NORMAL);
    ImageList_Draw(images, first + 2, dc, r.left, r.bottom - m_frameHeight, ILD_NORMAL);
}

void CSkinButton::DrawContent(HDC dc, RECT r, UINT state)
{
    if (!m_flat && (state & SKIN_SELECTED))
        ::OffsetRect(&r, 1, 1);
    CString text = GetWindowText();
    COLORREF colour = m_textColour;
    if (colour == static_cast<COLORREF>(-1))
        colour = ::GetSysColor((state & SKIN_DISABLED) ? COLOR_BTNSHADOW : COLOR_BTNTEXT);
    HGDIOBJ oldFont = ::SelectObject(dc, GetFont() ? static_cast<HGDIOBJ>(GetFont()) : ::GetStockObject(DEFAULT_GUI_FONT));
    const bool hasIcon = m_iconImages && m_iconImages->GetSafeHandle() && m_iconIndex >= 0;
    if (!hasIcon) {
        const DWORD style = GetStyle();
        UINT align = DT_CENTER;
        if ((style & BS_CENTER) == BS_LEFT)
            align = DT_LEFT;
        else if ((style & BS_CENTER) == BS_RIGHT)
            align = DT_RIGHT;
        DrawLineText(dc, text, text.GetLength(), r, align, colour);
    } else {
        SIZE extent{0, 0};
        if (!text.IsEmpty())
            ::GetTextExtentPoint32W(dc, text, text.GetLength(), &extent);
        const int gap = text.IsEmpty() ? 0 : 4;
        const int whole = m_iconWidth + gap + extent.cx;
        int x = r.left + ((r.right - r.left) - whole) / 2;
        const int y = r.top + ((r.bottom - r.top) - m_iconHeight) / 2;
        ImageList_Draw(*m_iconImages, m_iconIndex, dc, x, y, ILD_NORMAL);
        if (!text.IsEmpty()) {
            RECT textRect = r;
            textRect.left = x + m_iconWidth + gap;
            DrawLineText(dc, text, text.GetLength(), textRect, DT_LEFT, colour);
        }
    }
    ::SelectObject(dc, oldFont);
}
