#include "GIFLoadThread.h"

#include "AnimationWnd.h"
#include "PlayControlBar.h"
#include "PlaylistView.h"
#include "SysHelpers.h"
#include "ViewerGlobals.h"

CGIFLoadThread::CGIFLoadThread(CPlaylistItem* item) : CFrameLoadCallback(item)
{
    m_bAutoDelete = FALSE;
}

BOOL CGIFLoadThread::InitInstance()
{
    m_pItem->LoadFrames(this, &m_nCancel);
    if (g_pPlaylistView && g_pPlaylistView->GetSafeHwnd())
        g_pPlaylistView->PostMessage(WM_LOAD_FINISHED, WPARAM(m_nCancel.load()), reinterpret_cast<LPARAM>(m_pItem));
    return FALSE;
}

void CGIFLoadThread::Cancel()
{
    m_nCancel = 2;
    SetThreadPriority(THREAD_PRIORITY_ABOVE_NORMAL);
    if (g_pPlaylistView && g_pPlaylistView->GetSafeHwnd())
        PumpMessagesUntilMatch(nullptr, WM_LOAD_FINISHED, reinterpret_cast<LPARAM>(m_pItem));
    else
        PumpUntilThreadEnds(m_hThread);
}

bool CGIFLoadThread::IsCurrentItem() const { return g_pPlayControlBar && g_pCanvas && g_pCanvas->GetItem() == m_pItem; }

int CGIFLoadThread::OnFramesFound(CrImageGIF* gif, GifLoadInfo* info)
{
    const int answer = CFrameLoadCallback::OnFramesFound(gif, info);
    if (IsCurrentItem())
        g_pPlayControlBar->SetFrameRange(0, info->frameCount - 1);
    return answer;
}

int CGIFLoadThread::OnFrameDecoded(CrImageGIF* gif, GifLoadInfo* info)
{
    const int answer = CFrameLoadCallback::OnFrameDecoded(gif, info);
    if (IsCurrentItem()) {
        g_pPlayControlBar->SetFramePos(0, info->frameIndex, TRUE);
        // A canvas paused on this frame before it was decoded shows it now; a playing one
        // paints it in its turn anyway.
        if (g_pCanvas->GetFrameIndex() == info->frameIndex && g_pCanvas->GetSafeHwnd())
            ::InvalidateRect(g_pCanvas->m_hWnd, nullptr, FALSE);
    }
    return answer;
}

// ---- the Windows side of the playlist item ----

int CPlaylistItem::StartLoadThread()
{
    if (m_pLoadThread)
        return 1;
    // Until the thread runs, playing already waits for the frames instead of skipping them.
    for (int i = 0; i < m_slots.GetSize(); i++)
        m_slots.GetAt(i)->m_nState = SLOT_PENDING;
    m_nLoadStatus = LOAD_LOADING;
    if (StartWorker(m_pLoadThread, new CGIFLoadThread(this)) != 0) {
        m_nLoadStatus = LOAD_FAILED;
        OnLoadFinished(false);
        return -1;
    }
    return 0;
}

int CPlaylistItem::CancelLoading()
{
    if (!m_pLoadThread)
        return 1;
    m_pLoadThread->Cancel();
    // Without a playlist view nobody else waits for the thread.
    WaitLoadThread();
    return 0;
}

int CPlaylistItem::WaitLoadThread()
{
    EndWorker(m_pLoadThread);
    return 0;
}
