#include "MainFrame.h"

#include <dde.h>

#include "AnimationWnd.h"
#include "FrameRules.h"
#include "LayeredWindow.h"
#include "PlayCommands.h"
#include "PlayView.h"
#include "PlaylistItem.h"
#include "PlaylistView.h"
#include "Settings.h"
#include "SorvikApp.h"
#include "UpdateCheck.h"
#include "UpdateCheck.h"
#include "ViewerGlobals.h"
#include "resource.h"

namespace {
constexpr int kMenuBarHeight = 24;
constexpr int kControlBarHeight = 38;
constexpr DWORD kControlBarStyle = 0x50008000;   // child, visible, along the bottom
} // namespace

FW_BEGIN_MESSAGE_MAP(CMainFrame, COVMBFrameWnd)
    FwOnCreate(&ThisClass::OnCreate),
    FwOnPlain(WM_DESTROY, &ThisClass::OnDestroy),
    FwOnMessage(WM_DROPFILES, &ThisClass::OnDropFiles),
    FwOnMessage(WM_QUERYENDSESSION, &ThisClass::OnQueryEndSession),
    FwOnMessage(WM_GETMINMAXINFO, &ThisClass::OnGetMinMaxInfo),
    FwOnMessage(WM_WINDOWPOSCHANGING, &ThisClass::OnWindowPosChanging),
    FwOnMessage(WM_WINDOWPOSCHANGED, &ThisClass::OnWindowPosChanged),
    FwOnMessage(WM_LAYOUT_CHANGED, &ThisClass::OnLayoutChanged),
    FwOnMessage(WM_CHECK_UPDATE, &ThisClass::OnCheckUpdate),
    FwOnMessage(WM_SYSCOMMAND, &ThisClass::OnSysCommand),
    FwOnMessage(WM_DDE_INITIATE, &ThisClass::OnDdeInitiate),
    FwOnMessage(WM_DDE_EXECUTE, &ThisClass::OnDdeExecute),
    FwOnMessage(WM_DDE_TERMINATE, &ThisClass::OnDdeTerminate),
    FwOnCommand(ID_VIEW_DOCK_PLAYLIST, &ThisClass::OnDockPlaylist),
    FwOnUpdateCommand(ID_VIEW_DOCK_PLAYLIST, &ThisClass::OnUpdateDockPlaylist),
    FwOnCommand(ID_VIEW_FULL_SCREEN, &ThisClass::OnFullScreen),
    FwOnUpdateCommand(ID_VIEW_FULL_SCREEN, &ThisClass::OnUpdateFullScreen),
    FwOnCommand(ID_VIEW_ALWAYS_ON_TOP, &ThisClass::OnAlwaysOnTop),
    FwOnUpdateCommand(ID_VIEW_ALWAYS_ON_TOP, &ThisClass::OnUpdateAlwaysOnTop),
    FwOnCommand(ID_VIEW_TRANSPARENT, &ThisClass::OnTransparent),
    FwOnUpdateCommand(ID_VIEW_TRANSPARENT, &ThisClass::OnUpdateTransparent),
    FwOnCommand(ID_VIEW_CONTROL_BAR, &ThisClass::OnControlBar),
    FwOnUpdateCommand(ID_VIEW_CONTROL_BAR, &ThisClass::OnUpdateControlBar),
    FwOnCommand(ID_VIEW_RESTORE_OR_MINIMISE, &ThisClass::OnRestoreOrMinimise),
FW_END_MESSAGE_MAP()

int CurrentLayoutMode()
{
    CMainFrame* frame = GetMainFrame();
    if (frame && frame->m_wndLayout.GetSafeHwnd())
        return frame->m_wndLayout.GetLayout();
    return g_pSettings ? g_pSettings->ViewLayout : LAYOUT_SINGLE;
}

CMainFrame::CMainFrame()
{
    m_pMenuBar = &m_wndMenuBar;
    m_nMenuBarHeight = kMenuBarHeight;
}

// ---- creation ----

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!COVMBFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    // Topmost from the start: set on the hidden window later, Wine loses it when the window shows.
    if (g_pSettings && g_pSettings->AlwaysOnTop)
        cs.dwExStyle |= WS_EX_TOPMOST;
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCTW cs)
{
    if (COVMBFrameWnd::OnCreate(cs) == -1)
        return -1;
    CenterWindow();
    SetFrame(this);
    if (!m_wndPlayBar.Create(kControlBarStyle, CRect(0, 0, kControlBarHeight, kControlBarHeight), this,
                             IDW_PLAY_CONTROL_BAR))
        return -1;
    g_pPlayControlBar = &m_wndPlayBar;
    if (g_pSettings && g_pSettings->Transparent)
        SetTransparent(TRUE);
    m_wndPlayBar.SetSplitButton(m_wndLayout.GetLayout() == LAYOUT_DOCKED);
    if (!m_wndMessage.Create(this))
        return -1;
    g_pMessageWnd = &m_wndMessage;
    RecalcLayout();
    return 0;
}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCTW, CCreateContext* context)
{
    if (!m_wndWelcome.Create(WS_CHILD, CRect(0, 0, 0, 0), this, IDW_WELCOME))
        return FALSE;
    if (!m_wndLayout.Create(2, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, IDW_LAYOUT))
        return FALSE;
    if (!m_wndLayout.CreatePane(0, RuntimeClassOf<CPlayView>(), context) ||
        !m_wndLayout.CreatePane(1, RuntimeClassOf<CPlaylistView>(), context)) {
        m_wndLayout.DestroyWindow();
        return FALSE;
    }
    m_wndLayout.SetLayout(g_pSettings ? g_pSettings->ViewLayout : LAYOUT_SINGLE);
    CSorvikApp* app = GetSorvikApp();
    m_wndLayout.ActivatePane(app && app->m_bStartup ? 1 : 0);
    return TRUE;
}

void CMainFrame::OnDestroy()
{
    g_pMessageWnd = nullptr;
    g_pPlayControlBar = nullptr;
    COVMBFrameWnd::OnDestroy();
}

void CMainFrame::RecalcLayout(BOOL notify)
{
    COVMBFrameWnd::RecalcLayout(notify);
    if (!m_wndLayout.GetSafeHwnd() || !m_wndWelcome.GetSafeHwnd())
        return;
    CRect rect;
    m_wndLayout.GetWindowRect(&rect);
    ScreenToClient(&rect);
    m_wndWelcome.SetWindowPos(HWND(nullptr), rect.left, rect.top, rect.Width(), rect.Height(),
                              SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- routing and keys ----

BOOL CMainFrame::OnCmdMsg(UINT id, int code, void* extra, bool probe)
{
    CView* active = GetActiveView();
    if (active && active->OnCmdMsg(id, code, extra, probe))
        return TRUE;
    for (CView* view : {static_cast<CView*>(g_pPlayView), static_cast<CView*>(g_pPlaylistView)})
        if (view && view != active && view->OnCmdMsg(id, code, extra, probe))
            return TRUE;
    if (CWnd::OnCmdMsg(id, code, extra, probe))
        return TRUE;
    CWinApp* app = FwGetApp();
    return app && app->OnCmdMsg(id, code, extra, probe);
}

bool CMainFrame::IsGridKey(const MSG* msg) const
{
    if (msg->message != WM_KEYDOWN || !g_pPlaylistView || !g_pPlaylistView->GetSafeHwnd())
        return false;
    HWND focus = ::GetFocus();
    const bool inPlaylist = focus && (focus == g_pPlaylistView->m_hWnd || ::IsChild(g_pPlaylistView->m_hWnd, focus));
    return ArrowKeyBelongsToPlaylist(unsigned(msg->wParam), ::GetKeyState(VK_CONTROL) < 0, ::GetKeyState(VK_MENU) < 0,
                                     inPlaylist);
}

BOOL CMainFrame::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE && m_nState == FullScreen) {
        ToggleFullScreen();
        return TRUE;
    }
    if (IsGridKey(msg))
        return FALSE;
    return COVMBFrameWnd::PreTranslateMessage(msg);
}

// ---- views, canvas, title, hint ----

void CMainFrame::ShowPlayView()
{
    if (!g_pPlayView || !g_pPlaylistView || m_wndLayout.GetActivePaneIndex() == 0)
        return;
    ShowHint(nullptr);
    m_wndLayout.ActivatePane(0);
    g_pPlayView->ResizeCanvas();
}

void CMainFrame::ShowPlaylistView()
{
    if (!g_pPlaylistView || m_wndLayout.GetActivePaneIndex() == 1)
        return;
    ShowHint(nullptr);
    m_wndLayout.ActivatePane(1);
}

void CMainFrame::MoveCanvasTo(CView* view)
{
    if (!g_pPlayView || !g_pPlaylistView || !g_pCanvas || !g_pCanvas->GetSafeHwnd() || !view)
        return;
    if (::GetParent(g_pCanvas->m_hWnd) == view->m_hWnd)
        return;
    ShowHint(nullptr);
    ::SetParent(g_pCanvas->m_hWnd, view->m_hWnd);
    g_pPlaylistView->PlaceCanvas();
    g_pPlayView->ResizeCanvas();
}

void CMainFrame::ShowHint(const wchar_t* text)
{
    if (!g_pMessageWnd)
        return;
    g_pMessageWnd->ShowMessage(text);
}

void CMainFrame::UpdateWindowTitle()
{
    if (!g_pPlayView || !g_pPlaylistView || !g_pCanvas)
        return;
    CPlaylistItem* item = g_pCanvas->GetItem();
    const CString title = WindowTitle(FwGetApp()->m_strAppName, item ? &item->m_strName : nullptr,
                                      item ? g_pPlaylistView->FindItem(item) + 1 : 0,
                                      g_pPlaylistView->GetItemCount());
    SetWindowText(title);
}

void CMainFrame::ShowPlaylistStatus(int count)
{
    m_wndMenuBar.SetFileCount(count);
    // The title's "position/count" follows the list as it grows behind the playing item.
    UpdateWindowTitle();
    if (!m_wndWelcome.GetSafeHwnd())
        return;
    const bool empty = count <= 0;
    m_wndWelcome.ShowWindow(empty ? SW_SHOW : SW_HIDE);
    m_wndLayout.ShowWindow(empty ? SW_HIDE : SW_SHOW);
}

// ---- full screen, translucency ----

void CMainFrame::ToggleFullScreen()
{
    const bool keepBar = g_pSettings && g_pSettings->AlwaysShowControlBar;
    m_rcMargin.top = 0;
    if (keepBar) {
        m_rcMargin.right = 0;
        m_rcMargin.bottom = 0;
    } else {
        if (m_wndLayout.GetLayout() == LAYOUT_DOCKED && g_pPlaylistView) {
            CRect list;
            g_pPlaylistView->GetWindowRect(&list);
            m_rcMargin.right = list.Width();
        }
        CRect bar;
        m_wndPlayBar.GetWindowRect(&bar);
        m_rcMargin.bottom = m_wndPlayBar.IsWindowVisible() ? bar.Height() : 0;
    }
    CFullScreenHandler::Toggle();
    m_wndPlayBar.SetFullScreenButton(m_nState == FullScreen);
    if (m_nState == FullScreen) {
        if (g_pSettings && g_pSettings->EscToExitFullScreen > 0 && m_wndLayout.GetActivePaneIndex() == 0 && !keepBar) {
            g_pSettings->EscToExitFullScreen--;
            ShowHint(L"Press Esc or F11 to exit full screen.");
        }
    } else {
        ShowHint(nullptr);
    }
}

void CMainFrame::SetTransparent(BOOL on)
{
    if (g_pSettings)
        g_pSettings->Transparent = on ? 1 : 0;
    if (on)
        SetWindowAlpha(m_hWnd, 127);
    else
        RemoveWindowAlpha(m_hWnd);
}

// ---- commands ----

void CMainFrame::OnDockPlaylist()
{
    const int mode = 3 - m_wndLayout.GetLayout();
    m_wndLayout.SetLayout(mode);
    m_wndLayout.ActivatePane(g_pCanvas && g_pCanvas->HasPlayThread() ? 0 : 1);
    m_wndPlayBar.SetSplitButton(mode == LAYOUT_DOCKED);
}

void CMainFrame::OnUpdateDockPlaylist(CCmdUI* ui) { ui->SetCheck(m_wndLayout.GetLayout() == LAYOUT_DOCKED); }

void CMainFrame::OnUpdateFullScreen(CCmdUI* ui) { ui->SetCheck(m_nState == FullScreen); }

void CMainFrame::OnAlwaysOnTop()
{
    if (!g_pSettings)
        return;
    g_pSettings->AlwaysOnTop = !g_pSettings->AlwaysOnTop;
    SetWindowPos(g_pSettings->AlwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CMainFrame::OnUpdateAlwaysOnTop(CCmdUI* ui) { ui->SetCheck(g_pSettings && g_pSettings->AlwaysOnTop); }

void CMainFrame::OnTransparent() { SetTransparent(!(g_pSettings && g_pSettings->Transparent)); }

void CMainFrame::OnUpdateTransparent(CCmdUI* ui) { ui->SetCheck(g_pSettings && g_pSettings->Transparent); }

void CMainFrame::OnControlBar()
{
    m_wndPlayBar.ShowWindow(m_wndPlayBar.IsWindowVisible() ? SW_HIDE : SW_SHOW);
    RecalcLayout();
}

void CMainFrame::OnUpdateControlBar(CCmdUI* ui) { ui->SetCheck(m_wndPlayBar.IsWindowVisible()); }

void CMainFrame::OnRestoreOrMinimise()
{
    if (IsIconic()) {
        ShowWindow(SW_RESTORE);
        ShowWindow(SW_SHOW);
    } else {
        ShowWindow(SW_MINIMIZE);
    }
}

// ---- messages ----

LRESULT CMainFrame::OnLayoutChanged(WPARAM wParam, LPARAM lParam)
{
    if (!g_pPlayView || !g_pPlaylistView)
        return 0;
    const LayoutReaction reaction =
        ReactToLayout(int(wParam), lParam != 0, g_pCanvas && g_pCanvas->GetPlayState() == 1);
    if (reaction.switchOffers >= 0)
        m_wndPlayBar.SetSwitchTooltip(reaction.switchOffers == 1);
    if (reaction.canvasPane >= 0)
        MoveCanvasTo(reaction.canvasPane == 1 ? static_cast<CView*>(g_pPlaylistView) : static_cast<CView*>(g_pPlayView));
    if (reaction.menuBar >= 0)
        m_wndMenuBar.ShowWindow(reaction.menuBar ? SW_SHOW : SW_HIDE);
    RecalcLayout();
    return 0;
}

LRESULT CMainFrame::OnCheckUpdate(WPARAM wParam, LPARAM lParam)
{
    if (wParam == 0)
        SorvikCheckForUpdates(lParam != 0);
    return 0;
}

LRESULT CMainFrame::OnDropFiles(WPARAM wParam, LPARAM)
{
    ::SetActiveWindow(m_hWnd);
    SetForegroundWindow();
    if (g_pPlaylistView)
        g_pPlaylistView->SendMessage(WM_DROP_FORWARDED, wParam, 0);
    else
        ::DragFinish(reinterpret_cast<HDROP>(wParam));
    return 0;
}

LRESULT CMainFrame::OnQueryEndSession(WPARAM, LPARAM)
{
    if (!Default())
        return FALSE;
    if (g_pSettings)
        g_pSettings->Save();
    return TRUE;
}

LRESULT CMainFrame::OnGetMinMaxInfo(WPARAM, LPARAM lParam)
{
    CFullScreenHandler::OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
    return Default();
}

LRESULT CMainFrame::OnWindowPosChanging(WPARAM, LPARAM lParam)
{
    if (m_nState == FullScreen)
        reinterpret_cast<WINDOWPOS*>(lParam)->flags |= SWP_NOMOVE;
    return Default();
}

LRESULT CMainFrame::OnWindowPosChanged(WPARAM, LPARAM)
{
    LRESULT result = Default();
    if (g_pMessageWnd && g_pMessageWnd->GetSafeHwnd() && g_pMessageWnd->IsWindowVisible())
        g_pMessageWnd->Reposition();
    return result;
}

LRESULT CMainFrame::OnSysCommand(WPARAM wParam, LPARAM lParam)
{
    // The system sends the screen saver's start to the active window; it never passes the queue.
    if ((wParam & 0xFFF0) == SC_SCREENSAVE && g_pSettings && g_pSettings->DisableScreenSaver && g_pCanvas &&
        g_pCanvas->GetPlayState() == 1)
        return 0;
    return COVMBFrameWnd::OnSysCommand(wParam, lParam);
}

// ---- shell open (DDE) ----

LRESULT CMainFrame::OnDdeInitiate(WPARAM wParam, LPARAM lParam)
{
    CSorvikApp* app = GetSorvikApp();
    if (!app || !app->m_atomApp || LOWORD(lParam) != app->m_atomApp || HIWORD(lParam) != app->m_atomSystemTopic)
        return 0;
    // The client deletes the atoms it is given.
    ATOM service = ::GlobalAddAtomW(app->m_strAppName);
    ATOM topic = ::GlobalAddAtomW(L"system");
    ::SendMessageW(reinterpret_cast<HWND>(wParam), WM_DDE_ACK, reinterpret_cast<WPARAM>(m_hWnd),
                   MAKELPARAM(service, topic));
    return 0;
}

LRESULT CMainFrame::OnDdeExecute(WPARAM wParam, LPARAM lParam)
{
    UINT_PTR unused = 0;
    UINT_PTR data = 0;
    ::UnpackDDElParam(WM_DDE_EXECUTE, lParam, &unused, &data);
    CString command;
    auto global = reinterpret_cast<HGLOBAL>(data);
    if (const auto* text = static_cast<const wchar_t*>(::GlobalLock(global))) {
        // The block may lack its terminator: read no further than its size.
        const SIZE_T chars = ::GlobalSize(global) / sizeof(wchar_t);
        command = CString(text, int(wcsnlen(text, chars)));
        ::GlobalUnlock(global);
    }
    const UINT_PTR positiveAck = 0x8000;
    ::PostMessageW(reinterpret_cast<HWND>(wParam), WM_DDE_ACK, reinterpret_cast<WPARAM>(m_hWnd),
                   ::ReuseDDElParam(lParam, WM_DDE_EXECUTE, WM_DDE_ACK, positiveAck, data));
    const CStringArray paths = DdeOpenPaths(command);
    for (int i = 0; i < paths.GetSize(); i++)
        FwGetApp()->OpenDocumentFile(paths[i]);
    return 0;
}

LRESULT CMainFrame::OnDdeTerminate(WPARAM wParam, LPARAM lParam)
{
    ::PostMessageW(reinterpret_cast<HWND>(wParam), WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(m_hWnd), lParam);
    return 0;
}
