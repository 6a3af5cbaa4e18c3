#include "LayoutWnd.h"

#include "Settings.h"
#include "ViewerGlobals.h"

namespace {
constexpr COLORREF kDividerColour = RGB(0x18, 0x18, 0x18);
constexpr UINT kFirstPane = FW_IDW_PANE_FIRST;
} // namespace

FW_BEGIN_MESSAGE_MAP(CLayoutWnd, CWnd)
    FwOnMouse(WM_LBUTTONDOWN, &ThisClass::OnLButtonDown),
    FwOnMouse(WM_LBUTTONUP, &ThisClass::OnLButtonUp),
    FwOnMouse(WM_LBUTTONDBLCLK, &ThisClass::OnLButtonDblClk),
    FwOnMouse(WM_MOUSEMOVE, &ThisClass::OnMouseMove),
    FwOnSetCursor(&ThisClass::OnSetCursor),
    FwOnPlain(WM_CANCELMODE, &ThisClass::OnCancelMode),
    FwOnMessage(WM_ERASEBKGND, &ThisClass::OnEraseBkgnd),
    FwOnPlain(WM_PAINT, &ThisClass::OnPaint),
    FwOnSize(&ThisClass::OnSize),
    FwOnMessage(WM_MOUSEWHEEL, &ThisClass::OnMouseWheel),
FW_END_MESSAGE_MAP()

CLayoutWnd::CLayoutWnd()
    : m_nMode(g_pSettings ? g_pSettings->ViewLayout : LAYOUT_SINGLE),
      m_split{0, -1},
      m_hSplitCursor(::LoadCursorW(nullptr, IDC_SIZEWE))
{
    ResetRightWidth();
}

CLayoutWnd::~CLayoutWnd()
{
    if (g_pSettings)
        g_pSettings->ViewLayout = m_nMode;
}

void CLayoutWnd::ResetRightWidth()
{
    m_split.rightWidth =
        DefaultRightPaneWidth(::GetSystemMetrics(SM_CXVSCROLL), g_pSettings ? g_pSettings->ThumbnailCx : 200);
    m_split.wanted = -1;
}

BOOL CLayoutWnd::Create(int paneCount, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    m_nPaneCount = paneCount;
    const wchar_t* windowClass = FwRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
    return CWnd::Create(windowClass, nullptr, style | WS_CLIPCHILDREN, rect, parent, id);
}

BOOL CLayoutWnd::CreatePane(int index, const CRuntimeClass* viewClass, CCreateContext* context)
{
    CCreateContext local;
    if (!context) {
        CFrameWnd* frame = GetParentFrame();
        CView* current = frame ? frame->GetActiveView() : nullptr;
        local.m_pCurrentDoc = current ? current->GetDocument() : nullptr;
        local.m_pCurrentFrame = frame;
    }
    CCreateContext paneContext = context ? *context : local;
    paneContext.m_pNewViewClass = viewClass;
    CObject* object = viewClass->CreateObject();
    auto* view = dynamic_cast<CWnd*>(object);
    if (!view) {
        delete object;
        return FALSE;
    }
    // Before the version-4 look panes had no edge of their own.
    const bool oldLook = g_pUIResources && g_pUIResources->m_osVersion.m_valid &&
                         g_pUIResources->m_osVersion.m_info.dwMajorVersion < 4;
    DWORD style = WS_CHILD | (oldLook ? WS_BORDER : 0);
    if (!view->Create(nullptr, nullptr, style, CRect(0, 0, 0, 0), this, kFirstPane + UINT(index), &paneContext))
        return FALSE;   // a view that failed in WM_CREATE has deleted itself
    if (!context)
        view->SendMessage(WM_INITIALUPDATE);
    return TRUE;
}

bool CLayoutWnd::IsPane(HWND wnd)
{
    if (!wnd || !(::GetWindowLongW(wnd, GWL_STYLE) & WS_CHILD))
        return false;
    const int id = ::GetDlgCtrlID(wnd);
    return id >= int(kFirstPane) && id <= 0xE9FF;
}

CWnd* CLayoutWnd::GetPane(int index) const
{
    if (index < 0 || index >= m_nPaneCount || !m_hWnd)
        return nullptr;
    return CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, int(kFirstPane) + index));
}

CWnd* CLayoutWnd::GetActivePane() const
{
    CFrameWnd* frame = GetParentFrame();
    CWnd* active = frame ? frame->GetActiveView() : nullptr;
    if (!active) {
        HWND focus = ::GetFocus();
        active = focus && ::GetParent(focus) == m_hWnd && IsPane(focus) ? CWnd::FromHandlePermanent(focus) : nullptr;
    }
    for (int i = 0; i < m_nPaneCount; i++)
        if (active && GetPane(i) == active)
            return active;
    return nullptr;
}

int CLayoutWnd::GetActivePaneIndex() const
{
    CWnd* active = GetActivePane();
    for (int i = 0; active && i < m_nPaneCount; i++)
        if (GetPane(i) == active)
            return i;
    return -1;
}

void CLayoutWnd::ActivateNextPane(bool next)
{
    int index = GetActivePaneIndex();
    if (index < 0)
        index = next ? m_nPaneCount - 1 : 0;
    ActivatePane((index + (next ? 1 : m_nPaneCount - 1)) % m_nPaneCount);
}

void CLayoutWnd::SetLayout(int mode)
{
    m_nMode = mode;
    if (!m_hWnd)
        return;
    // The active pane, or the playlist when none is yet.
    const int active = GetActivePaneIndex() >= 0 ? GetActivePaneIndex() : 1;
    for (int i = 0; i < m_nPaneCount; i++)
        if (CWnd* pane = GetPane(i))
            pane->ShowWindow(IsPaneShown(mode, active, i) ? SW_SHOW : SW_HIDE);
    RecalcLayout();
}

void CLayoutWnd::ActivatePane(int index)
{
    CWnd* pane = GetPane(index);
    if (!pane)
        return;
    for (int i = 0; i < m_nPaneCount; i++)
        if (CWnd* other = GetPane(i))
            other->ShowWindow(IsPaneShown(m_nMode, index, i) ? SW_SHOW : SW_HIDE);
    auto* view = dynamic_cast<CView*>(pane);
    CFrameWnd* frame = GetParentFrame();
    if (view && frame) {
        frame->SetActiveView(view);
        view->SetFocus();
    } else {
        pane->SetFocus();
    }
    if (CWnd* parent = GetParent())
        parent->PostMessage(WM_LAYOUT_CHANGED, WPARAM(m_nMode), m_nMode == LAYOUT_SINGLE && index == 1 ? 1 : 0);
}

void CLayoutWnd::RecalcLayout()
{
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    CWnd* left = GetPane(0);
    CWnd* right = GetPane(1);
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (m_nMode == LAYOUT_SINGLE) {
        for (CWnd* pane : {left, right})
            if (pane)
                pane->SetWindowPos(HWND(nullptr), client.left, client.top, client.Width(), client.Height(), flags);
    } else {
        const int divider = PlaceDivider(m_split, client.left, client.right);
        if (right)
            right->SetWindowPos(HWND(nullptr), divider, client.top, client.right - divider, client.Height(), flags);
        if (left)
            left->SetWindowPos(HWND(nullptr), client.left, client.top, divider - client.left, client.Height(), flags);
    }
    Invalidate();
}

int CLayoutWnd::GetDivider() const
{
    CWnd* right = GetPane(1);
    if (m_nMode == LAYOUT_SINGLE || !right)
        return -1;
    CRect rect;
    right->GetWindowRect(&rect);
    ScreenToClient(&rect);
    return rect.left;
}

bool CLayoutWnd::OnDivider(CPoint point) const
{
    const int divider = GetDivider();
    return divider >= 0 && point.x >= divider - kDividerGrip && point.x < divider + kDividerGrip;
}

BOOL CLayoutWnd::PreTranslateMessage(MSG* msg)
{
    if ((msg->message != WM_LBUTTONDOWN && msg->message != WM_LBUTTONDBLCLK) || msg->hwnd == m_hWnd ||
        !::IsChild(m_hWnd, msg->hwnd) || ::GetCapture() == m_hWnd)
        return FALSE;
    CPoint point(msg->lParam);
    ::MapWindowPoints(msg->hwnd, m_hWnd, &point, 1);
    if (!OnDivider(point))
        return FALSE;
    if (msg->message == WM_LBUTTONDOWN)
        OnLButtonDown(UINT(msg->wParam), point);
    else
        OnLButtonDblClk(UINT(msg->wParam), point);
    return TRUE;
}

void CLayoutWnd::OnLButtonDown(UINT, CPoint point)
{
    if (!OnDivider(point))
        return;
    ::SetCursor(m_hSplitCursor);
    SetCapture();
    m_nDragOffset = GetDivider() - point.x;
}

void CLayoutWnd::OnMouseMove(UINT, CPoint point)
{
    if (::GetCapture() != m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    DragDivider(m_split, point.x + m_nDragOffset, client.left, client.right);
    RecalcLayout();
    UpdateWindow();
}

void CLayoutWnd::OnLButtonUp(UINT, CPoint)
{
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

void CLayoutWnd::OnCancelMode()
{
    Default();
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

void CLayoutWnd::OnLButtonDblClk(UINT, CPoint point)
{
    if (!OnDivider(point))
        return;
    ResetRightWidth();
    RecalcLayout();
}

BOOL CLayoutWnd::OnSetCursor(CWnd* wnd, UINT hit, UINT message)
{
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    // The panes ask their parent first, so the strip over their edges shows the split cursor too.
    if (hit == HTCLIENT && OnDivider(point)) {
        ::SetCursor(m_hSplitCursor);
        return TRUE;
    }
    // Elsewhere a pane sets its own cursor.
    if (wnd != this)
        return FALSE;
    return static_cast<BOOL>(Default());
}

LRESULT CLayoutWnd::OnEraseBkgnd(WPARAM wParam, LPARAM)
{
    const int divider = GetDivider();
    if (divider < 0)
        return TRUE;
    CRect client;
    GetClientRect(&client);
    CRect strip(divider - kDividerGrip, client.top, divider, client.bottom);
    HBRUSH brush = ::CreateSolidBrush(kDividerColour);
    ::FillRect(reinterpret_cast<HDC>(wParam), &strip, brush);
    ::DeleteObject(brush);
    return TRUE;
}

void CLayoutWnd::OnPaint()
{
    if (m_nMode == LAYOUT_SINGLE) {
        ValidateRect(nullptr);
        return;
    }
    Default();
}

void CLayoutWnd::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (type != SIZE_MINIMIZED && cx > 0 && cy > 0)
        RecalcLayout();
}

LRESULT CLayoutWnd::OnMouseWheel(WPARAM wParam, LPARAM lParam)
{
    if (CWnd* list = GetPane(1))
        return list->SendMessage(WM_MOUSEWHEEL, wParam, lParam);
    return 0;
}
