#include "MainFrame.h"

#include "AnimationWnd.h"
#include "PlayView.h"
#include "PlaylistItem.h"
#include "PlaylistView.h"
#include "Settings.h"
#include "SorvikApp.h"
#include "UpdateCheck.h"
#include "ViewerGlobals.h"

FW_BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    FwOnMessage(WM_DROPFILES, &ThisClass::OnDropFiles),
    FwOnMessage(WM_QUERYENDSESSION, &ThisClass::OnQueryEndSession),
    FwOnMessage(WM_CHECK_UPDATE, &ThisClass::OnCheckUpdate),
FW_END_MESSAGE_MAP()

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return TRUE;
}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCTW, CCreateContext* context)
{
    CCreateContext play = *context;
    play.m_pNewViewClass = RuntimeClassOf<CPlayView>();
    CCreateContext list = *context;
    list.m_pNewViewClass = RuntimeClassOf<CPlaylistView>();
    if (!CreateView(&play, FW_IDW_PANE_FIRST) || !CreateView(&list, FW_IDW_PANE_FIRST + 1))
        return FALSE;
    CSorvikApp* app = GetSorvikApp();
    ActivatePane(app && app->m_bStartup ? 1 : 0);
    return TRUE;
}

CView* CMainFrame::GetPane(int index) const
{
    return dynamic_cast<CView*>(CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, int(FW_IDW_PANE_FIRST) + index)));
}

void CMainFrame::ActivatePane(int index)
{
    CView* shown = GetPane(index);
    CView* hidden = GetPane(1 - index);
    if (!shown)
        return;
    if (hidden)
        hidden->ShowWindow(SW_HIDE);
    shown->ShowWindow(SW_SHOW);
    SetActiveView(shown);
    RecalcLayout();
}

void CMainFrame::RecalcLayout(BOOL notify)
{
    CFrameWnd::RecalcLayout(notify);
    CView* play = GetPane(0);
    CView* list = GetPane(1);
    if (!play || !list)
        return;
    CRect client;
    play->GetWindowRect(&client);
    ScreenToClient(&client);
    list->SetWindowPos(HWND(nullptr), client.left, client.top, client.Width(), client.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CMainFrame::OnCmdMsg(UINT id, int code, void* extra, bool probe)
{
    CView* active = GetActiveView();
    if (active && active->OnCmdMsg(id, code, extra, probe))
        return TRUE;
    for (int i = 0; i < 2; i++) {
        CView* pane = GetPane(i);
        if (pane && pane != active && pane->OnCmdMsg(id, code, extra, probe))
            return TRUE;
    }
    return CFrameWnd::OnCmdMsg(id, code, extra, probe);
}

void CMainFrame::ShowPlayView()
{
    if (g_pPlayView && g_pPlaylistView && GetActiveView() != g_pPlayView) {
        ActivatePane(0);
        g_pPlayView->ResizeCanvas();
    }
}

void CMainFrame::ShowPlaylistView()
{
    if (g_pPlaylistView && GetActiveView() != g_pPlaylistView)
        ActivatePane(1);
}

void CMainFrame::UpdateWindowTitle()
{
    if (!g_pPlayView || !g_pPlaylistView || !g_pCanvas)
        return;
    CPlaylistItem* item = g_pCanvas->GetItem();
    CString title;
    if (item)
        title.Format(L"%s - %d/%d", item->m_strName.GetString(), g_pPlaylistView->FindItem(item) + 1,
                     g_pPlaylistView->GetItemCount());
    else
        title = FwGetApp()->m_strAppName;
    SetWindowText(title);
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

LRESULT CMainFrame::OnCheckUpdate(WPARAM wParam, LPARAM lParam)
{
    if (wParam == 0)
        SorvikCheckForUpdates(lParam != 0);
    return 0;
}
