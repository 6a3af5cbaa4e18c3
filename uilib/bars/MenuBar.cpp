#include "MenuBar.h"

#include <algorithm>

#include "BarRules.h"
#include "CMenu.h"
#include "LibResources.h"
#include "OffscreenDC.h"

namespace {

// The bar whose popup is on screen and the filter that watches its menu loop (one at a time).
CMenuBar* g_trackedBar = nullptr;
HHOOK g_menuFilter = nullptr;

LRESULT CALLBACK MenuLoopFilter(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_MENU && g_trackedBar)
        g_trackedBar->OnMenuLoopMessage(reinterpret_cast<const MSG*>(lParam));
    return ::CallNextHookEx(g_menuFilter, code, wParam, lParam);
}

wchar_t UpperChar(wchar_t ch)
{
    return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(ch)))));
}

void PressKey(WORD key)
{
    ::keybd_event(static_cast<BYTE>(key), 0, 0, 0);
    ::keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
}

} // namespace

// ---- entry ------------------------------------------------------------------------------------

CMenuBarItem::CMenuBarItem(CBarItemList* owner, const CString& text)
    : CBarItem(owner), m_strText(text), m_chMnemonic(MenuMnemonic(text))
{
}

void CMenuBarItem::Paint(CDC* dc)
{
    const COLORREF text[] = {::GetSysColor(COLOR_MENUTEXT), ::GetSysColor(COLOR_HIGHLIGHTTEXT)};
    Draw(dc, text, ::GetSysColor(COLOR_HIGHLIGHT));
}

void CMenuBarItem::Draw(CDC* dc, const COLORREF* textColours, COLORREF highlight)
{
    if (IsHidden())
        return;
    DrawHighlight(dc, highlight, m_rect);
    DrawText(dc, textColours, m_rect);
}

void CMenuBarItem::DrawHighlight(CDC* dc, COLORREF highlight, const RECT& rect)
{
    if (IsPressed() || IsHot())
        dc->FillSolidRect(rect, highlight);
}

void CMenuBarItem::DrawText(CDC* dc, const COLORREF* textColours, const RECT& rect)
{
    if (m_strText.IsEmpty())
        return;
    int oldMode = dc->SetBkMode(TRANSPARENT);
    COLORREF oldColour = dc->SetTextColor(IsPressed() || IsHot() ? textColours[1] : textColours[0]);
    HGDIOBJ oldFont = dc->SelectObject(GetLibMenuFont());
    CRect area(rect);
    dc->DrawText(m_strText, area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    dc->SelectObject(oldFont);
    dc->SetTextColor(oldColour);
    dc->SetBkMode(oldMode);
}

// ---- bar --------------------------------------------------------------------------------------

FW_BEGIN_MESSAGE_MAP(CMenuBar, CSkinBar)
    FwOnPlain(WM_PAINT, &ThisClass::OnPaint),
    FwOnSize(&ThisClass::OnSize),
    FwOnMouse(WM_RBUTTONDOWN, &ThisClass::OnRButtonDown),
    FwOnMouse(WM_LBUTTONDOWN, &ThisClass::OnLButtonDown),
    FwOnMouse(WM_MOUSEMOVE, &ThisClass::OnMouseMove),
    FwOnKey(WM_KEYDOWN, &ThisClass::OnKeyDown),
    FwOnKey(WM_SYSKEYDOWN, &ThisClass::OnSysKeyDown),
    FwOnMessage(WM_KILLFOCUS, &ThisClass::OnKillFocus),
    FwOnMessage(WM_GETDLGCODE, &ThisClass::OnGetDlgCode),
    FwOnMessage(WM_MOUSELEAVE, &ThisClass::OnMouseLeave),
    FwOnMessage(WM_MENUBAR_OPENITEM, &ThisClass::OnOpenItem),
FW_END_MESSAGE_MAP()

CMenuBar::CMenuBar()
    : CBarItemList(this),
      m_crText(::GetSysColor(COLOR_MENUTEXT)),
      m_crHotText(::GetSysColor(COLOR_MENUTEXT)),
      m_crHighlight(::GetSysColor(COLOR_HIGHLIGHT))
{
}

CMenuBar::~CMenuBar()
{
    if (m_hMenu)
        ::DestroyMenu(m_hMenu);
}

void CMenuBar::LoadMenu(HMENU menu, BOOL rightAligned)
{
    RemoveAll();
    CMenu* wrapper = CMenu::FromHandle(menu);
    int count = menu ? ::GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; i++)
        Add(new CMenuBarItem(this, wrapper->GetMenuString(static_cast<UINT>(i), MF_BYPOSITION)));
    if (m_hMenu && m_hMenu != menu)
        ::DestroyMenu(m_hMenu);
    m_hMenu = menu;
    m_bRightAligned = rightAligned;
    m_bLayoutNeeded = TRUE;
    if (m_hWnd)
        Invalidate(FALSE);
}

int CMenuBar::FindMnemonic(wchar_t ch) const
{
    if (!ch)
        return -1;
    wchar_t wanted = UpperChar(ch);
    for (int i = 0; i < GetCount(); i++) {
        auto* item = dynamic_cast<CMenuBarItem*>(GetAt(i));
        if (item && item->GetMnemonic() && UpperChar(item->GetMnemonic()) == wanted)
            return i;
    }
    return -1;
}

BOOL CMenuBar::PreTranslateMessage(MSG* msg)
{
    RelayMouseMessage(msg);
    return CSkinBar::PreTranslateMessage(msg);
}

void CMenuBar::OnUpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler) { UpdateCmdUI(target, disableIfNoHandler); }

CWnd* CMenuBar::MenuOwner() const
{
    CWnd* frame = GetParentFrame();
    return frame ? frame : GetParent();
}

// ---- painting ---------------------------------------------------------------------------------

void CMenuBar::OnPaint()
{
    CPaintDC paint(this);
    COffscreenDC dc(&paint);
    DrawBackground(&dc);
    if (m_bLayoutNeeded)
        LayoutItems(&dc);
    const COLORREF text[] = {m_crText, m_crHotText};
    DrawItems(&dc, text, m_crHighlight);
}

void CMenuBar::OnSize(UINT type, int cx, int cy)
{
    Default();
    // Entries span the bar's height and right-aligned ones follow its right edge.
    m_bLayoutNeeded = TRUE;
    Invalidate(FALSE);
}

void CMenuBar::DrawBackground(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(client, ::GetSysColor(COLOR_BTNFACE));
}

void CMenuBar::LayoutItems(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    client.bottom -= m_nBottomInset;
    HGDIOBJ oldFont = dc->SelectObject(GetLibMenuFont());
    auto widthOf = [dc](CBarItem* item) {
        auto* entry = dynamic_cast<CMenuBarItem*>(item);
        CRect measured;
        if (entry)
            dc->DrawText(entry->GetText(), measured, DT_CALCRECT | DT_SINGLELINE);
        return measured.Width() + 24;
    };
    int x = m_bRightAligned ? client.right : client.left;
    for (int n = 0; n < GetCount(); n++) {
        CBarItem* item = GetAt(m_bRightAligned ? GetCount() - 1 - n : n);
        int width = widthOf(item);
        if (m_bRightAligned) {
            item->SetRect(CRect(x - width, client.top, x, client.bottom), FALSE);
            x -= width;
        } else {
            item->SetRect(CRect(x, client.top, x + width, client.bottom), FALSE);
            x += width;
        }
    }
    dc->SelectObject(oldFont);
    m_bLayoutNeeded = FALSE;
}

void CMenuBar::PaintItems(CDC* dc)
{
    const COLORREF text[] = {m_crText, m_crHotText};
    DrawItems(dc, text, m_crHighlight);
}

void CMenuBar::DrawItems(CDC* dc, const COLORREF* textColours, COLORREF highlight)
{
    for (int i = 0; i < GetCount(); i++) {
        CBarItem* item = GetAt(i);
        if (auto* entry = dynamic_cast<CMenuBarItem*>(item))
            entry->Draw(dc, textColours, highlight);
        else
            item->Paint(dc);
    }
}

// ---- menu mode --------------------------------------------------------------------------------

void CMenuBar::EnterMenuMode(int index)
{
    if (m_bMenuMode)
        return;
    m_bMenuMode = TRUE;
    HWND focus = ::GetFocus();
    if (focus != m_hWnd) {
        m_hWndOldFocus = focus;
        SetFocus();
    }
    if (::GetCapture() != m_hWnd) {
        SetCapture();
        SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(HTCLIENT, 0));
    }
    SetHotIndex(index);
}

void CMenuBar::ExitMenuMode()
{
    if (!m_bMenuMode)
        return;
    // Cleared first: handing the focus back sends this bar WM_KILLFOCUS.
    m_bMenuMode = FALSE;
    HWND oldFocus = m_hWndOldFocus;
    m_hWndOldFocus = nullptr;
    SetHotItem(nullptr);
    if (::GetFocus() == m_hWnd && oldFocus && ::IsWindow(oldFocus))
        ::SetFocus(oldFocus);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

void CMenuBar::CancelAndSwitch(BOOL keyboard)
{
    if (CWnd* owner = MenuOwner())
        owner->PostMessage(WM_CANCELMODE);
    m_bSwitchRequested = TRUE;
    m_bOpenWithKeyboard = keyboard;
}

LRESULT CMenuBar::OnOpenItem(WPARAM wParam, LPARAM lParam)
{
    if (m_bTracking)
        return 0;   // one popup at a time
    int index = static_cast<int>(wParam);
    EnterMenuMode(index);
    m_nCurrentIndex = index;
    m_bSwitchRequested = TRUE;
    m_bStayInMenuMode = FALSE;
    m_bOpenWithKeyboard = LOWORD(lParam) != 0;
    while (m_bSwitchRequested && TrackCurrentPopup()) {
    }
    m_bSwitchRequested = FALSE;
    if (m_bStayInMenuMode && m_hWnd) {
        // Back in menu mode on the entry whose popup was left with Escape.
        SetCapture();
        SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(HTCLIENT, 0));
        SetHotIndex(m_nCurrentIndex);
    } else {
        ExitMenuMode();
    }
    return 0;
}

BOOL CMenuBar::TrackCurrentPopup()
{
    HMENU popup = m_hMenu ? ::GetSubMenu(m_hMenu, m_nCurrentIndex) : nullptr;
    CBarItem* item = GetAt(m_nCurrentIndex);
    if (!popup || !item)
        return FALSE;
    CWnd* owner = MenuOwner();
    SetTrackedIndex(m_nCurrentIndex);
    if (m_bOpenWithKeyboard)
        PressKey(VK_DOWN);   // the popup opens with its first entry selected
    CRect exclude;
    item->GetRect(&exclude);
    ClientToScreen(&exclude);
    exclude.left = std::max(0L, exclude.left);

    m_bTracking = TRUE;
    m_bTopLevelPopup = FALSE;
    m_bOpensSubmenu = FALSE;
    m_bSwitchRequested = FALSE;
    m_hTrackedPopup = popup;
    g_trackedBar = this;
    g_menuFilter = ::SetWindowsHookExW(WH_MSGFILTER, MenuLoopFilter, nullptr, ::GetCurrentThreadId());
    TPMPARAMS params{sizeof(TPMPARAMS), exclude};
    ::TrackPopupMenuEx(popup, TPM_VERTICAL, exclude.left, exclude.bottom, FwHwnd(owner), &params);
    if (g_menuFilter)
        ::UnhookWindowsHookEx(g_menuFilter);
    g_menuFilter = nullptr;
    g_trackedBar = nullptr;
    m_hTrackedPopup = nullptr;
    m_bTracking = FALSE;
    SetTrackedItem(nullptr);
    return TRUE;
}

void CMenuBar::OnMenuLoopMessage(const MSG* msg)
{
    switch (msg->message) {
    case WM_KEYDOWN:
        if (msg->wParam == VK_ESCAPE)
            m_bStayInMenuMode = m_bTopLevelPopup;   // Escape in the first popup returns to the bar
        else if ((msg->wParam == VK_LEFT && m_bTopLevelPopup) || (msg->wParam == VK_RIGHT && !m_bOpensSubmenu))
            SendMessage(WM_KEYDOWN, msg->wParam, msg->lParam);
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDBLCLK: {
        CPoint point = msg->pt;
        ScreenToClient(&point);
        SendMessage(msg->message, msg->wParam, MAKELPARAM(point.x, point.y));
        break;
    }
    default:
        break;
    }
}

void CMenuBar::OnFrameInitMenuPopup(HMENU popup, UINT index, BOOL)
{
    if (!m_hWnd)
        return;
    m_bTopLevelPopup = popup == m_hTrackedPopup;
    m_bOpensSubmenu = ::GetSubMenu(popup, static_cast<int>(index)) != nullptr;
}

void CMenuBar::OnFrameMenuSelect(UINT, UINT flags, HMENU menu)
{
    if (!m_hWnd)
        return;
    m_bTopLevelPopup = menu == m_hTrackedPopup;
    m_bOpensSubmenu = (flags & MF_POPUP) != 0;
}

BOOL CMenuBar::OnFrameSysCommand(UINT id, LPARAM lParam)
{
    if (!m_hWnd || !IsWindowVisible() || (id & 0xFFF0) != SC_KEYMENU || lParam != 0)
        return FALSE;
    EnterMenuMode(0);
    return TRUE;
}

BOOL CMenuBar::OnFrameMenuChar(UINT ch, UINT flags, HMENU)
{
    if (!m_hWnd || !IsWindowVisible() || !(flags & MF_SYSMENU))
        return FALSE;
    int index = FindMnemonic(static_cast<wchar_t>(ch));
    if (index < 0)
        return FALSE;
    PostMessage(WM_MENUBAR_OPENITEM, static_cast<WPARAM>(index), 0x10001);
    return TRUE;
}

// ---- keyboard ---------------------------------------------------------------------------------

void CMenuBar::OnKeyDown(UINT key, UINT, UINT)
{
    if (m_bMenuMode && key == VK_ESCAPE) {
        ExitMenuMode();
        return;
    }
    if (m_bMenuMode && key == VK_SPACE) {
        ExitMenuMode();
        if (CWnd* owner = MenuOwner())
            owner->PostMessage(WM_SYSCOMMAND, SC_KEYMENU, L' ');   // the window menu
        return;
    }
    int current = FindItem(GetHotItem());
    if (key == VK_LEFT || key == VK_RIGHT) {
        int next = WrapMenuIndex(current, key == VK_RIGHT ? 1 : -1, GetCount());
        if (next != current) {
            SetHotIndex(next);
            if (m_bTracking)
                CancelAndSwitch(TRUE);
            m_nCurrentIndex = next;
        }
    } else if ((key == VK_UP || key == VK_DOWN) && current != -1) {
        PostMessage(WM_MENUBAR_OPENITEM, static_cast<WPARAM>(current), 1);
    }
    Default();
}

void CMenuBar::OnSysKeyDown(UINT, UINT, UINT) { ExitMenuMode(); }

LRESULT CMenuBar::OnKillFocus(WPARAM, LPARAM)
{
    Default();
    ExitMenuMode();
    return 0;
}

LRESULT CMenuBar::OnGetDlgCode(WPARAM, LPARAM)
{
    LRESULT code = Default();
    return m_bMenuMode ? (code | DLGC_WANTALLKEYS) : code;
}

// ---- mouse ------------------------------------------------------------------------------------

BOOL CMenuBar::FilterClickOutside(UINT message, UINT flags, CPoint point)
{
    if (!m_bMenuMode || m_bTracking)
        return FALSE;
    CPoint screen = point;
    ClientToScreen(&screen);
    CRect bar;
    GetWindowRect(&bar);
    if (bar.PtInRect(screen))
        return FALSE;
    ExitMenuMode();
    HWND target = ::WindowFromPoint(screen);
    if (!target)
        return TRUE;
    LRESULT hit = ::SendMessageW(target, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    if (hit == HTCLIENT) {
        CPoint client = screen;
        ::ScreenToClient(target, &client);
        ::PostMessageW(target, message, flags, MAKELPARAM(client.x, client.y));
    } else {
        UINT ncMessage = message == WM_LBUTTONDOWN ? WM_NCLBUTTONDOWN : WM_NCRBUTTONDOWN;
        ::PostMessageW(target, ncMessage, static_cast<WPARAM>(hit), MAKELPARAM(screen.x, screen.y));
    }
    return TRUE;
}

void CMenuBar::OnLButtonDown(UINT flags, CPoint point)
{
    if (FilterClickOutside(WM_LBUTTONDOWN, flags, point))
        return;
    int index = HitTest(point);
    if (index < 0) {
        // The empty part of the bar drags the frame.
        CPoint screen = point;
        ClientToScreen(&screen);
        if (CWnd* owner = MenuOwner())
            owner->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
    } else {
        PostMessage(WM_MENUBAR_OPENITEM, static_cast<WPARAM>(index), 0);
    }
    Default();
}

void CMenuBar::OnRButtonDown(UINT flags, CPoint point)
{
    if (!FilterClickOutside(WM_RBUTTONDOWN, flags, point))
        Default();
}

void CMenuBar::OnMouseMove(UINT, CPoint point)
{
    CPoint screen = point;
    ClientToScreen(&screen);
    if (m_bMenuMode) {
        if (m_bTracking && screen == m_ptLastMouse)
            return;
        if (::WindowFromPoint(screen) != m_hWnd)
            return;
    }
    m_ptLastMouse = screen;
    if (!m_bMenuMode) {
        Default();
        return;
    }
    int index = HitTest(point);
    if (index >= 0) {
        if (GetHotItem() != GetAt(index))
            SetHotIndex(index);
        if (index != m_nCurrentIndex) {
            if (m_bTracking)
                CancelAndSwitch(FALSE);
            m_nCurrentIndex = index;
        }
    } else {
        SetHotItem(nullptr);
    }
    Default();
}

LRESULT CMenuBar::OnMouseLeave(WPARAM, LPARAM)
{
    m_bTrackingLeave = 0;
    return 0;
}
