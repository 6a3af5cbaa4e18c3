#include "BarItem.h"

#include "BarItemList.h"

CBarItem::CBarItem(CBarItemList* owner) : m_pList(owner), m_pOwnerWnd(owner ? owner->GetOwnerWnd() : nullptr) {}

void CBarItem::SetRect(const RECT& rect, BOOL redraw)
{
    m_rect = rect;
    if (redraw)
        Invalidate(TRUE);
}

BOOL CBarItem::HitTest(POINT point) const { return m_rect.PtInRect(point); }

BOOL CBarItem::ModifyState(DWORD remove, DWORD add, BOOL redraw)
{
    m_dwState = (m_dwState & ~remove) | add;
    if (redraw)
        Invalidate(TRUE);
    return TRUE;
}

void CBarItem::SetHidden(BOOL hidden)
{
    m_dwState = hidden ? (m_dwState | BARITEM_HIDDEN) : (m_dwState & ~BARITEM_HIDDEN);
}

BOOL CBarItem::Enable(BOOL enable)
{
    if ((IsDisabled() != FALSE) == !enable)
        return 0;
    return enable ? ModifyState(BARITEM_DISABLED, 0, TRUE) : ModifyState(0, BARITEM_DISABLED, TRUE);
}

void CBarItem::Invalidate(BOOL update)
{
    if (!m_pOwnerWnd || !m_pOwnerWnd->GetSafeHwnd())
        return;
    m_pOwnerWnd->InvalidateRect(m_rect, FALSE);
    if (update)
        m_pOwnerWnd->UpdateWindow();
}

BOOL CBarItem::IsHot() const { return m_pList && m_pList->GetHotItem() == this; }
BOOL CBarItem::IsPressed() const { return m_pList && m_pList->GetPressedItem() == this; }

void CBarItem::LeaveItem()
{
    if (IsPressed())
        m_pList->SetTrackedItem(nullptr);
    if (IsHot())
        m_pList->SetHotItem(nullptr);
}

BOOL CBarItem::OnMouseMessage(const MSG* msg)
{
    if (!m_pList || (m_dwState & (BARITEM_DISABLED | BARITEM_HIDDEN)))
        return FALSE;
    switch (msg->message) {
    case WM_MOUSEMOVE:
        if (HitTest(BarMessagePoint(msg))) {
            if (!IsHot())
                m_pList->SetHotItem(this);
            return TRUE;
        }
        LeaveItem();
        return FALSE;
    case WM_MOUSELEAVE:
        LeaveItem();
        return TRUE;
    default:
        return FALSE;
    }
}
