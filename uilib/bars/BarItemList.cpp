#include "BarItemList.h"

namespace {

// Command-update of one item: only its enabled state is asked.
class CBarItemCmdUI : public CCmdUI {
public:
    CBarItem* m_pItem = nullptr;

    void Enable(BOOL on) override
    {
        m_pItem->Enable(on);
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(const wchar_t*) override {}
};

void InvalidateNow(CBarItem* item)
{
    if (item)
        item->Invalidate(TRUE);
}

} // namespace

CBarItemList::~CBarItemList() { RemoveAll(); }

int CBarItemList::Add(CBarItem* item) { return m_items.Add(item); }

void CBarItemList::RemoveAll()
{
    m_pHotItem = m_pFocusItem = m_pPressedItem = m_pCaptureItem = nullptr;
    for (void* item : m_items)
        delete static_cast<CBarItem*>(item);
    m_items.RemoveAll();
}

CBarItem* CBarItemList::GetAt(int index) const
{
    if (index < 0 || index >= m_items.GetSize())
        return nullptr;
    return static_cast<CBarItem*>(m_items[index]);
}

int CBarItemList::FindItem(const CBarItem* item) const
{
    for (int i = 0; i < m_items.GetSize(); i++)
        if (m_items[i] == item)
            return i;
    return -1;
}

int CBarItemList::HitTest(POINT point) const
{
    for (int i = 0; i < m_items.GetSize(); i++)
        if (GetAt(i)->HitTest(point))
            return i;
    return -1;
}

void CBarItemList::ModifyItemState(int index, DWORD remove, DWORD add, BOOL redraw)
{
    if (CBarItem* item = GetAt(index))
        item->ModifyState(remove, add, redraw);
}

void CBarItemList::UpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler)
{
    CBarItemCmdUI state;
    state.m_pOther = m_pOwnerWnd;
    state.m_nIndexMax = static_cast<UINT>(m_items.GetSize());
    // Every item, the last one as well.
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
        state.m_pItem = GetAt(static_cast<int>(state.m_nIndex));
        state.m_nID = static_cast<UINT>(state.m_pItem->GetCommandId());
        if (state.m_nID == 0)
            continue;
        if (m_pOwnerWnd) {
            if (m_pOwnerWnd->OnCmdMsg(0, MAKELONG(CN_UPDATE_COMMAND_UI & 0xFFFF, WM_COMMAND + WM_REFLECT_BASE), &state))
                continue;
            if (m_pOwnerWnd->OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state))
                continue;
        }
        state.DoUpdate(target, disableIfNoHandler);
    }
    if (m_pOwnerWnd && m_pOwnerWnd->GetSafeHwnd())
        m_pOwnerWnd->UpdateDialogControls(target, disableIfNoHandler);
}

BOOL CBarItemList::RelayMouseMessage(const MSG* msg)
{
    switch (msg->message) {
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
        ResetHotState(TRUE);
        return FALSE;
    case WM_MOUSEMOVE:
        TrackMouseLeave();
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_MOUSELEAVE:
        ResetHotState(msg->message == WM_MOUSELEAVE);
        if (msg->message == WM_MOUSELEAVE)
            return FALSE;
        break;
    default:
        break;
    }
    BOOL taken = FALSE;
    for (int i = 0; i < m_items.GetSize(); i++) {
        CBarItem* item = GetAt(i);
        if (!item->IsHidden() && !item->IsDisabled() && item->OnMouseMessage(msg))
            taken = TRUE;
    }
    return taken;
}

void CBarItemList::PaintItems(CDC* dc)
{
    for (int i = 0; i < m_items.GetSize(); i++)
        GetAt(i)->Paint(dc);
}

void CBarItemList::SetHotItem(CBarItem* item)
{
    CBarItem* old = m_pHotItem;
    m_pHotItem = item;
    InvalidateNow(old);
    if (item != old)
        InvalidateNow(item);
}

void CBarItemList::SetTrackedItem(CBarItem* item)
{
    CBarItem* previous[] = {m_pPressedItem, m_pHotItem, m_pFocusItem};
    m_pPressedItem = m_pHotItem = m_pFocusItem = item;
    for (int i = 0; i < 3; i++) {
        bool seen = previous[i] == item;
        for (int j = 0; j < i; j++)
            seen = seen || previous[j] == previous[i];
        if (!seen)
            InvalidateNow(previous[i]);
    }
    InvalidateNow(item);
}

void CBarItemList::SetCaptureItem(CBarItem* item)
{
    m_pCaptureItem = item;
    if (item) {
        if (m_pOwnerWnd && m_pOwnerWnd->GetSafeHwnd())
            m_pOwnerWnd->SetCapture();
    } else if (m_pOwnerWnd && m_pOwnerWnd->GetSafeHwnd() && ::GetCapture() == m_pOwnerWnd->GetSafeHwnd()) {
        CWnd::ReleaseCapture();
    }
}

void CBarItemList::TrackMouseLeave()
{
    if (m_bTrackingLeave || !m_pOwnerWnd || !m_pOwnerWnd->GetSafeHwnd())
        return;
    TRACKMOUSEEVENT request{sizeof(request), TME_LEAVE, m_pOwnerWnd->GetSafeHwnd(), 0};
    ::TrackMouseEvent(&request);
    m_bTrackingLeave = 1;
}

void CBarItemList::ResetHotState(BOOL clearPressed)
{
    m_bTrackingLeave = 0;
    if (clearPressed)
        SetTrackedItem(nullptr);
    SetHotItem(nullptr);
}
