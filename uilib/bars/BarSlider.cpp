#include "BarSlider.h"

#include <algorithm>

#include "BarItemList.h"

CBarSlider::CBarSlider(CBarItemList* owner, int left, int top, int right, int bottom) : CBarItem(owner)
{
    m_rect.SetRect(left, top, right, bottom);
}

void CBarSlider::SetRangeMax(int track, int maximum)
{
    int t = Track(track);
    m_nMax[t] = maximum;
    if (m_nValue[t] > maximum)
        m_nValue[t] = maximum;
    Invalidate(TRUE);
}

void CBarSlider::SetRangeMin(int track, int minimum)
{
    int t = Track(track);
    m_nMin[t] = minimum;
    if (m_nValue[t] < minimum)
        m_nValue[t] = minimum;
    Invalidate(TRUE);
}

void CBarSlider::SetValue(int track, int value, BOOL redraw)
{
    int t = Track(track);
    value = std::max(m_nMin[t], std::min(value, m_nMax[t]));
    if (value == m_nValue[t])
        return;
    m_nValue[t] = value;
    if (redraw)
        Invalidate(TRUE);
}

void CBarSlider::SetThumbImages(CImageList* list)
{
    m_pThumbs = list;
    CSize size = BarImageSize(list);
    m_nThumbWidth = size.cx;
    m_nThumbHeight = size.cy;
    Invalidate(TRUE);
}

BOOL CBarSlider::SetPos(int value)
{
    if (value == m_nValue[1])
        return FALSE;
    m_nValue[1] = value;
    Invalidate(TRUE);
    if (m_pOwnerWnd && m_pOwnerWnd->GetSafeHwnd())
        m_pOwnerWnd->SendMessage(WM_BARSLIDER_POS, static_cast<WPARAM>(value), reinterpret_cast<LPARAM>(this));
    return TRUE;
}

BarBox CBarSlider::GetChannel() const { return SliderChannel(ItemBox(), m_nThumbWidth, m_nThumbHeight); }

int CBarSlider::ValueToX(int track) const
{
    int t = Track(track);
    return SliderValueToX(GetChannel(), m_nMin[t], m_nMax[t], m_nValue[t]);
}

CRect CBarSlider::GetThumbRect() const
{
    BarBox channel = GetChannel();
    int left = ValueToX(1) - m_nThumbWidth / 2;
    return CRect(left, channel.top, left + m_nThumbWidth, channel.bottom);
}

void CBarSlider::TileChannel(CDC* dc, int image, int right) const
{
    BarBox channel = GetChannel();
    IMAGELISTDRAWPARAMS params{};
    params.cbSize = sizeof(params);
    params.himl = m_pThumbs->GetSafeHandle();
    params.i = image;
    params.hdcDst = dc->m_hDC;
    params.y = channel.top;
    params.cy = m_nThumbHeight;
    params.rgbBk = CLR_NONE;
    params.rgbFg = CLR_NONE;
    params.fStyle = ILD_NORMAL | ILD_ROP;
    params.dwRop = SRCCOPY;
    for (int x = channel.left; x < right; x += m_nThumbWidth) {
        params.x = x;
        params.cx = std::min(m_nThumbWidth, right - x);
        ImageList_DrawIndirect(&params);
    }
}

void CBarSlider::PaintChannel(CDC* dc, const BarBox& channel)
{
    TileChannel(dc, 0, channel.right);
    if (m_nValue[0] > m_nMin[0])
        TileChannel(dc, 1, ValueToX(0));
    if (m_nValue[1] > m_nMin[1])
        TileChannel(dc, 2, ValueToX(1));
}

void CBarSlider::Paint(CDC* dc)
{
    BarBox channel = GetChannel();
    if (IsHidden() || !m_pThumbs || m_nThumbWidth <= 0 || channel.Width() <= 0 || channel.Height() <= 0)
        return;
    PaintChannel(dc, channel);
    if (!HasRange())
        return;
    int thumb = -1;
    if (m_pList && (m_pList->GetPressedItem() == this || m_pList->GetCaptureItem() == this))
        thumb = 4;
    else if (IsHot())
        thumb = 3;
    if (thumb >= 0)
        m_pThumbs->Draw(dc, thumb, GetThumbRect().TopLeft(), ILD_NORMAL);
}

BOOL CBarSlider::EndPress()
{
    if (m_pList->GetCaptureItem() == this)
        m_pList->SetCaptureItem(nullptr);
    if (IsPressed())
        m_pList->SetTrackedItem(nullptr);
    Invalidate(TRUE);
    return TRUE;
}

BOOL CBarSlider::OnMouseMessage(const MSG* msg)
{
    if (!m_pList || (m_dwState & (BARITEM_DISABLED | BARITEM_HIDDEN)))
        return FALSE;
    CPoint point = BarMessagePoint(msg);
    int value = 0;
    switch (msg->message) {
    case WM_CANCELMODE:
        if (IsHot())
            m_pList->SetHotItem(nullptr);
        return EndPress();
    case WM_LBUTTONDOWN:
        if (!HasRange())
            return EndPress();
        if (GetThumbRect().PtInRect(point)) {
            m_pList->SetCaptureItem(this);
        } else {
            if (!SliderXToValue(ItemBox(), GetChannel(), m_nMin[1], m_nMax[1], point.x, point.y, false, &value) ||
                value == m_nValue[1])
                return FALSE;
            SetPos(value);
        }
        m_pList->SetTrackedItem(this);
        return TRUE;
    case WM_MOUSEMOVE:
        if (!HasRange())
            return FALSE;
        if (m_pList->GetCaptureItem() == this) {
            if (GetThumbRect().PtInRect(point))
                return FALSE;
            if (SliderXToValue(ItemBox(), GetChannel(), m_nMin[1], m_nMax[1], point.x, point.y, true, &value))
                SetPos(value);
            return TRUE;
        }
        if (HitTest(point)) {
            if (!IsHot())
                m_pList->SetHotItem(this);
            return TRUE;
        }
        if (IsHot())
            m_pList->SetHotItem(nullptr);
        return FALSE;
    case WM_LBUTTONUP:
        return EndPress();
    case WM_MOUSELEAVE:
        return TRUE;
    default:
        return FALSE;
    }
}
