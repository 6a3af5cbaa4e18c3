#include "PlayView.h"

#include "MainFrame.h"
#include "PlaylistItem.h"
#include "PlaylistView.h"
#include "Settings.h"
#include "SysHelpers.h"
#include "ViewerGlobals.h"
#include "resource.h"

FW_BEGIN_MESSAGE_MAP(CPlayView, CView)
    FwOnCreate(&ThisClass::OnCreate),
    FwOnSize(&ThisClass::OnSize),
    FwOnEraseBkgnd(&ThisClass::OnEraseBkgnd),
    FwOnMessage(WM_PLAY_FINISHED, &ThisClass::OnPlayFinished),
    FwOnMessage(WM_PLAY_ITEM, &ThisClass::OnPlayItemMessage),
    FwOnCommand(ID_PLAY_PLAY, &ThisClass::OnPlay),
    FwOnCommand(ID_PLAY_STOP, &ThisClass::OnStop),
    FwOnCommand(ID_PLAY_PREVIOUS_FILE, &ThisClass::OnPreviousFile),
    FwOnCommand(ID_PLAY_NEXT_FILE, &ThisClass::OnNextFile),
FW_END_MESSAGE_MAP()

CPlayView::CPlayView()
{
    g_pPlayView = this;
    m_canvas.SetZoom(ViewerSettings().Zoom);
}

CPlayView::~CPlayView()
{
    ViewerSettings().Zoom = m_canvas.GetZoom();
    if (g_pPlayView == this)
        g_pPlayView = nullptr;
}

BOOL CPlayView::PreCreateWindow(CREATESTRUCTW& cs)
{
    cs.style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    return CView::PreCreateWindow(cs);
}

int CPlayView::OnCreate(LPCREATESTRUCTW cs)
{
    if (CView::OnCreate(cs) == -1)
        return -1;
    if (!m_canvas.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(0, 0, 0, 0), this, 1))
        return -1;
    return 0;
}

void CPlayView::OnInitialUpdate() { ResizeCanvas(); }

void CPlayView::OnPlayStateChanged(int)
{
    // Invalidating is safe from any thread; the playlist paints on its own.
    if (g_pPlaylistView && g_pPlaylistView->GetSafeHwnd())
        g_pPlaylistView->Invalidate(FALSE);
}

void CPlayView::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (type != SIZE_MINIMIZED && cx > 0 && cy > 0)
        ResizeCanvas();
}

BOOL CPlayView::OnEraseBkgnd(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(client, RGB(0, 0, 0));
    return TRUE;
}

void CPlayView::ResizeCanvas()
{
    if (!m_canvas.GetSafeHwnd() || m_canvas.GetParent() != this)
        return;
    CRect client;
    GetClientRect(&client);
    m_canvas.MoveWindow(client);
}

int CPlayView::PlayItem(CPlaylistItem* item, CView* host)
{
    if (!item)
        return -1;
    StopPlayback(STOP_STOP);
    int result;
    if (g_pPlaylistView) {
        // The queue thread does not read an item's information while it becomes current.
        CSectionLock lock(g_pPlaylistView->m_itemLock);
        result = m_canvas.SetItem(item);
    } else {
        result = m_canvas.SetItem(item);
    }
    if (result != 0)
        return -1;
    return StartPlayback(host);
}

int CPlayView::StartPlayback(CView* host)
{
    if (m_canvas.StartPlayThread() != 0)
        return -1;
    CMainFrame* frame = GetMainFrame();
    if (!frame)
        return 0;
    CWnd* parent = m_canvas.GetParent();
    CView* target = host ? host : dynamic_cast<CView*>(parent);
    if (target == g_pPlaylistView)
        frame->ShowPlaylistView();
    else
        frame->ShowPlayView();
    return 0;
}

void CPlayView::CloseItem()
{
    m_canvas.Close();
    m_canvas.ShowWindow(SW_HIDE);
}

void CPlayView::OnPlay()
{
    if (!g_pPlaylistView)
        return;
    switch (m_canvas.GetPlayState()) {
    case PLAY_PLAYING:
        PausePlayback();
        return;
    case PLAY_PAUSED:
        if (m_canvas.GetItem()) {
            StartPlayback(nullptr);
            return;
        }
        break;
    default:
        break;
    }
    if (g_pPlaylistView->GetItemCount() == 0) {
        g_pPlaylistView->PostMessage(WM_COMMAND, ID_FILE_OPEN_FILES);
        return;
    }
    g_pPlaylistView->PlayIndex(0, nullptr);
}

void CPlayView::OnStop()
{
    int state = m_canvas.GetPlayState();
    if (state != PLAY_PLAYING && state != PLAY_PAUSED)
        return;
    CloseItem();
    if (state == PLAY_PAUSED)
        if (CMainFrame* frame = GetMainFrame())
            frame->ShowPlaylistView();
}

void CPlayView::PlayNeighbour(bool next)
{
    if (!g_pPlaylistView || !m_canvas.HasPlayThread())
        return;
    bool edge = false;
    CPlaylistItem* item = next ? g_pPlaylistView->GetNextItem(false, &edge) : g_pPlaylistView->GetPrevItem(false, &edge);
    if (!item)
        return;
    StopPlayback(STOP_STOP);
    PlayItem(item, nullptr);
}

LRESULT CPlayView::OnPlayItemMessage(WPARAM wParam, LPARAM lParam)
{
    auto* item = reinterpret_cast<CPlaylistItem*>(lParam);
    if (!item)
        return -1;
    if (wParam != ID_PLAY_PLAY)
        return 1;
    return PlayItem(item, this);
}

LRESULT CPlayView::OnPlayFinished(WPARAM wParam, LPARAM)
{
    const int code = int(wParam);
    m_canvas.WaitPlayThread();
    CPlaylistItem* item = m_canvas.GetItem();
    // A file that could not be played is no recent file to come back to.
    if (item && !item->IsUnplayable() && g_pSettings)
        g_pSettings->AddRecentFile(item->m_strPath);
    CSettingsValues& settings = ViewerSettings();
    const int state = m_canvas.GetPlayState();
    if (code != STOP_STOP && state == PLAY_FINISHED && settings.AutoAdvance && g_pPlaylistView) {
        if (CPlaylistItem* next = g_pPlaylistView->GetNextItem(settings.Repeat == 2, nullptr)) {
            PlayItem(next, nullptr);
            return 0;
        }
    }
    CMainFrame* frame = GetMainFrame();
    if (state == PLAY_FINISHED && code == STOP_RUN) {
        if (m_bShutdownAfterPlayback)
            ShutdownSystem(EWX_POWEROFF | EWX_FORCE);
        else if (settings.AutoClose && frame)
            frame->PostMessage(WM_CLOSE);
    } else if (state != PLAY_PAUSED && code != STOP_STOP && (state == PLAY_FINISHED || state == PLAY_CLOSED) && frame) {
        frame->ShowPlaylistView();
    }
    return 0;
}
