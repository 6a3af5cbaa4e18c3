#include "BarButton.h"

#include "BarItemList.h"

CBarButton::CBarButton(CBarItemList* owner, int left, int top, int right, int bottom, int commandId)
    : CBarItem(owner), m_nCommandId(commandId)
{
    m_rect.SetRect(left, top, right, bottom);
}

void CBarButton::SetSkin(CImageList* skin, int mode, int horizontalStep, int verticalStep)
{
    m_pSkin = skin;
    m_nSkinMode = mode;
    m_nStepX = horizontalStep;
    m_nStepY = verticalStep;
}

void CBarButton::SetColours(COLORREF normal, COLORREF hot)
{
    m_crNormal = normal;
    m_crHot = hot;
}

BOOL CBarButton::OnMouseMessage(const MSG* msg)
{
    if (!m_pList || (m_dwState & (BARITEM_DISABLED | BARITEM_HIDDEN)))
        return FALSE;
    BOOL inside = HitTest(BarMessagePoint(msg));
    switch (msg->message) {
    case WM_MOUSEMOVE:
        return CBarItem::OnMouseMessage(msg);
    case WM_LBUTTONDOWN:
        if (!inside)
            return FALSE;
        m_pList->SetTrackedItem(this);
        if (!CanPress())
            m_pList->ResetHotState(TRUE);
        return TRUE;
    case WM_LBUTTONUP:
        if (!inside) {
            if (IsPressed())
                m_pList->SetTrackedItem(nullptr);
            return FALSE;
        }
        if (IsPressed()) {
            m_pList->SetTrackedItem(nullptr);
            OnClick();
        }
        return TRUE;
    case WM_MOUSELEAVE:
        CBarItem::OnMouseMessage(msg);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CBarButton::CanPress() { return m_nCommandId != -1 || m_pList->OnItemNotify(this); }

BOOL CBarButton::OnClick()
{
    if (m_nCommandId != 0 && m_nCommandId != -1 && m_pOwnerWnd && m_pOwnerWnd->GetSafeHwnd())
        m_pOwnerWnd->PostMessage(WM_COMMAND, static_cast<WPARAM>(m_nCommandId), 0);
    return TRUE;
}

int CBarButton::GetDrawState() const
{
    if (IsDisabled())
        return BARSTATE_DISABLED;
    if (IsPressed())
        return BARSTATE_PRESSED;
    if (IsHot())
        return BARSTATE_HOT;
    if (m_pList && m_pList->GetFocusItem() == this && m_pOwnerWnd && m_pOwnerWnd->GetSafeHwnd() &&
        ::GetFocus() == m_pOwnerWnd->GetSafeHwnd())
        return BARSTATE_FOCUSED;
    return BARSTATE_NORMAL;
}

void CBarButton::Paint(CDC* dc)
{
    if (IsHidden())
        return;
    int state = GetDrawState();
    DrawBackground(dc, m_rect, state);
    DrawForeground(dc, m_rect, state);
}

void CBarButton::DrawBackground(CDC* dc, const RECT& rect, int state)
{
    if (!m_pSkin) {
        COLORREF colour = IsHot() ? m_crHot : m_crNormal;
        if (colour != BAR_NO_COLOUR)
            dc->FillSolidRect(rect, colour);
        return;
    }
    auto draw = [&](int image, int x, int y) { m_pSkin->Draw(dc, image, CPoint(x, y), ILD_NORMAL); };
    int first = 3 * state;
    switch (m_nSkinMode) {
    case BARSKIN_PER_STATE:
        draw(state, rect.left, rect.top);
        break;
    case BARSKIN_HORIZONTAL:
        draw(first, rect.left, rect.top);
        for (int x = rect.left + m_nStepX; m_nStepX > 0 && x < rect.right - m_nStepX; x += m_nStepX)
            draw(first + 1, x, rect.top);
        draw(first + 2, rect.right - m_nStepX, rect.top);
        break;
    case BARSKIN_VERTICAL:
        draw(first, rect.left, rect.top);
        for (int y = rect.top + m_nStepY; m_nStepY > 0 && y < rect.bottom - m_nStepY; y += m_nStepY)
            draw(first + 1, rect.left, y);
        draw(first + 2, rect.left, rect.bottom - m_nStepY);
        break;
    default:
        break;
    }
}

void CBarImageItem::SetImageList(CImageList* list, BOOL redraw)
{
    m_pImages = list;
    CSize size = BarImageSize(list);
    m_nImageWidth = size.cx;
    m_nImageHeight = size.cy;
    if (redraw)
        Invalidate(TRUE);
}

void CBarImageItem::DrawForeground(CDC* dc, const RECT& rect, int state)
{
    if (!m_pImages)
        return;
    int shift = state == BARSTATE_PRESSED ? 1 : 0;
    int x = rect.left + (rect.right - rect.left - m_nImageWidth) / 2 + shift;
    int y = rect.top + (rect.bottom - rect.top - m_nImageHeight) / 2 + shift;
    m_pImages->Draw(dc, state, CPoint(x, y), ILD_NORMAL);
}

CBarTextItem::CBarTextItem(CBarItemList* owner, int left, int top, int right, int bottom, int commandId)
    : CBarButton(owner, left, top, right, bottom, commandId),
      m_crText(::GetSysColor(COLOR_BTNTEXT)),
      m_crHotText(::GetSysColor(COLOR_BTNTEXT)),
      m_crDisabledText(::GetSysColor(COLOR_BTNTEXT))
{
}

void CBarTextItem::SetText(const wchar_t* text, BOOL redraw)
{
    m_strText = text;
    if (redraw)
        Invalidate(TRUE);
}

void CBarTextItem::SetTextColours(COLORREF normal, COLORREF hot, COLORREF disabled)
{
    m_crText = normal;
    m_crHotText = hot;
    m_crDisabledText = disabled;
}

void CBarTextItem::DrawForeground(CDC* dc, const RECT& rect, int)
{
    if (m_strText.IsEmpty())
        return;
    CRect area(rect);
    area.DeflateRect(2, 0, 2, 1);
    COLORREF colour = IsHot() ? m_crHotText : (IsDisabled() ? m_crDisabledText : m_crText);
    HFONT font = m_pFont ? static_cast<HFONT>(*m_pFont) : (m_pOwnerWnd ? m_pOwnerWnd->GetFont() : nullptr);
    int oldMode = dc->SetBkMode(TRANSPARENT);
    COLORREF oldColour = dc->SetTextColor(colour);
    HGDIOBJ oldFont = dc->SelectObject(font);
    UINT align = (m_dwStyle & BARITEM_TEXT_LEFT) ? DT_LEFT : (m_dwStyle & BARITEM_TEXT_RIGHT) ? DT_RIGHT : DT_CENTER;
    dc->DrawText(m_strText, area, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | align);
    if (oldFont)
        dc->SelectObject(oldFont);
    dc->SetTextColor(oldColour);
    dc->SetBkMode(oldMode);
}
