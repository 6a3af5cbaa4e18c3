#include "shell/LoadingTreeCtrl.h"

#include <mmsystem.h>
#include <process.h>

namespace {
// The action bits of an expansion notification (collapse, expand, toggle).
constexpr UINT kExpandAction = TVE_COLLAPSE | TVE_EXPAND | TVE_TOGGLE;
}

FW_BEGIN_MESSAGE_MAP(CLoadingTreeCtrl, CTreeCtrl)
    FwOnReflectNotify(TVN_ITEMEXPANDINGW, &ThisClass::OnItemExpanding),
    FwOnReflectNotify(TVN_ITEMEXPANDEDW, &ThisClass::OnItemExpanded),
    FwOnEraseBkgnd(&ThisClass::OnEraseBkgnd),
FW_END_MESSAGE_MAP()

CLoadingTreeCtrl::~CLoadingTreeCtrl() { StopAnimator(); }

int CLoadingTreeCtrl::GetProgress(int* total) const
{
    if (total)
        *total = m_nProgressTotal;
    return m_nProgressCurrent;
}

void CLoadingTreeCtrl::SetProgress(int total, int current)
{
    m_nProgressTotal = total;
    m_nProgressCurrent = current;
    if (m_hRequestEvent)
        ::SetEvent(m_hRequestEvent);
}

void CLoadingTreeCtrl::AddProgress(int count)
{
    m_nProgressCurrent += count;
    if (m_hRequestEvent)
        ::SetEvent(m_hRequestEvent);
}

void CLoadingTreeCtrl::DeleteChildren(HTREEITEM item)
{
    for (HTREEITEM child = GetChildItem(item); child;) {
        HTREEITEM next = GetNextSiblingItem(child);
        DeleteItem(child);
        child = next;
    }
}

CRect CLoadingTreeCtrl::GetLoadingIconRect(HTREEITEM placeholder) const
{
    CRect text;
    if (!placeholder || !GetItemRect(placeholder, &text, TRUE))
        return CRect();
    int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    int right = text.left - 3;
    int top = text.top + (text.Height() - cy) / 2;
    return CRect(right - cx, top, right, top + cy);
}

void CLoadingTreeCtrl::OnItemExpanding(NMHDR* header, LRESULT* result)
{
    *result = 0;
    auto* tree = reinterpret_cast<NMTREEVIEWW*>(header);
    if ((tree->action & kExpandAction) != TVE_EXPAND)
        return;
    HTREEITEM item = tree->itemNew.hItem;
    if (GetChildItem(item)) {
        // Children are read once, unless the branch asks for a fresh read.
        if (!NeedsRefill(item))
            return;
        DeleteChildren(item);
    }
    m_hExpandingItem = item;
    UpdateWindow();
    SetRedraw(FALSE);
    TVINSERTSTRUCTW insert{};
    insert.hParent = item;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(m_strLoading.GetString());
    m_hLoadingItem = InsertItem(&insert);
    m_nProgressTotal = 1;
    m_nProgressCurrent = 0;
}

void CLoadingTreeCtrl::OnItemExpanded(NMHDR* header, LRESULT* result)
{
    *result = 0;
    auto* tree = reinterpret_cast<NMTREEVIEWW*>(header);
    HTREEITEM item = tree->itemNew.hItem;
    if ((tree->action & kExpandAction) == TVE_COLLAPSE) {
        if (NeedsRefill(item))
            DeleteChildren(item);
        return;
    }
    if ((tree->action & kExpandAction) != TVE_EXPAND || !m_hExpandingItem)
        return;
    item = m_hExpandingItem;
    if (m_bShowIcon) {
        SetRedraw(TRUE);
        EnsureVisible(m_hLoadingItem);
        UpdateWindow();
    }
    StartAnimator();
    if (m_bShowIcon)
        PaintLoadingIcon();
    SetRedraw(FALSE);
    TakeSnapshot();

    if (m_hLoadingItem)
        DeleteItem(m_hLoadingItem);
    m_hLoadingItem = nullptr;
    BOOL filled = FillChildren(item);
    StopAnimator();

    if (item != TVI_ROOT) {
        BOOL hasChild = GetChildItem(item) != nullptr;
        if (filled) {
            TVITEMW children{};
            children.mask = TVIF_CHILDREN;
            children.hItem = item;
            children.cChildren = hasChild ? 1 : 0;
            SetItem(&children);
        } else if (!hasChild) {
            // Closed again and not marked as read: the next open reads it anew.
            SetItemState(item, 0, TVIS_EXPANDED | TVIS_EXPANDEDONCE);
        }
    }
    m_bSnapshot = FALSE;
    m_bmpSnapshot.DeleteObject();
    m_hExpandingItem = nullptr;
    SetRedraw(TRUE);
    Invalidate();
    ScrollChildrenIntoView(item);
}

void CLoadingTreeCtrl::ScrollChildrenIntoView(HTREEITEM item)
{
    for (HTREEITEM child = GetChildItem(item); child && GetFirstVisibleItem() != item; child = GetNextSiblingItem(child))
        EnsureVisible(child);
}

void CLoadingTreeCtrl::PaintLoadingIcon()
{
    CRect place = GetLoadingIconRect(m_hLoadingItem);
    if (place.IsRectEmpty())
        return;
    CClientDC dc(this);
    if (m_hLoadingIcon) {
        ::DrawIconEx(dc, place.left, place.top, m_hLoadingIcon, place.Width(), place.Height(), 0, nullptr, DI_NORMAL);
        return;
    }
    COLORREF background = TreeView_GetBkColor(m_hWnd);
    dc.FillSolidRect(place, background == static_cast<COLORREF>(-1) ? ::GetSysColor(COLOR_WINDOW) : background);
}

void CLoadingTreeCtrl::TakeSnapshot()
{
    CRect client;
    GetClientRect(&client);
    CClientDC dc(this);
    CDC memory;
    if (!memory.CreateCompatibleDC(&dc) || !m_bmpSnapshot.CreateCompatibleBitmap(dc, client.Width(), client.Height()))
        return;
    HGDIOBJ old = memory.SelectObject(&m_bmpSnapshot);
    memory.BitBlt(0, 0, client.Width(), client.Height(), &dc, 0, 0, SRCCOPY);
    memory.SelectObject(old);
    m_bSnapshot = TRUE;
}

BOOL CLoadingTreeCtrl::OnEraseBkgnd(CDC* dc)
{
    if (!m_bSnapshot)
        return static_cast<BOOL>(Default());
    CDC memory;
    if (memory.CreateCompatibleDC(dc)) {
        CSize size = m_bmpSnapshot.GetSize();
        HGDIOBJ old = memory.SelectObject(&m_bmpSnapshot);
        dc->BitBlt(0, 0, size.cx, size.cy, &memory, 0, 0, SRCCOPY);
        memory.SelectObject(old);
    }
    if (m_hRequestEvent)
        ::SetEvent(m_hRequestEvent);
    return TRUE;
}

void CLoadingTreeCtrl::StartAnimator()
{
    BeginAnimation(m_hLoadingItem);
    m_bQuit = 0;
    m_hTimerEvent = ::CreateEventW(nullptr, FALSE, TRUE, nullptr);
    m_hRequestEvent = ::CreateEventW(nullptr, FALSE, TRUE, nullptr);
    if (m_hTimerEvent && m_hRequestEvent)
        m_hAnimator = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &AnimatorEntry, this, 0, nullptr));
    if (m_hAnimator && m_nAnimationPeriod)
        m_nTimerId = ::timeSetEvent(m_nAnimationPeriod, 5, reinterpret_cast<LPTIMECALLBACK>(m_hTimerEvent), 0,
                                    TIME_PERIODIC | TIME_CALLBACK_EVENT_SET);
}

void CLoadingTreeCtrl::StopAnimator()
{
    if (!m_hAnimator && !m_hTimerEvent && !m_hRequestEvent)
        return;
    if (m_nTimerId)
        ::timeKillEvent(m_nTimerId);
    m_nTimerId = 0;
    m_bQuit = 1;
    if (m_hRequestEvent)
        ::SetEvent(m_hRequestEvent);
    if (m_hAnimator) {
        ::WaitForSingleObject(m_hAnimator, INFINITE);
        ::CloseHandle(m_hAnimator);
    }
    for (HANDLE* event : {&m_hTimerEvent, &m_hRequestEvent}) {
        if (*event)
            ::CloseHandle(*event);
        *event = nullptr;
    }
    m_hAnimator = nullptr;
    EndAnimation();
}

unsigned __stdcall CLoadingTreeCtrl::AnimatorEntry(void* self)
{
    static_cast<CLoadingTreeCtrl*>(self)->AnimatorLoop();
    return 0;
}

void CLoadingTreeCtrl::AnimatorLoop()
{
    HANDLE events[2] = {m_hTimerEvent, m_hRequestEvent};
    while (!m_bQuit) {
        DWORD fired = ::WaitForMultipleObjects(2, events, FALSE, INFINITE);
        if (m_bQuit || fired > WAIT_OBJECT_0 + 1)
            break;
        AnimationStep(fired == WAIT_OBJECT_0, m_nProgressTotal, m_nProgressCurrent);
    }
}
