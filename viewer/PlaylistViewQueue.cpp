// The playlist view's side of the job queue: paths and items queued, read on the queue thread,
// and the queue's and the load threads' messages back on the window thread.
#include "PlaylistView.h"

#include <shlwapi.h>

#include <algorithm>
#include <vector>

#include "AnimationWnd.h"
#include "CFileFind.h"
#include "FileFilter.h"
#include "PlayView.h"
#include "PlaylistFiles.h"
#include "PlaylistItem.h"
#include "Settings.h"
#include "ViewerFiles.h"
#include "ViewerGlobals.h"

namespace {

bool OnWindowThread(HWND wnd) { return ::GetCurrentThreadId() == ::GetWindowThreadProcessId(wnd, nullptr); }

} // namespace

// ---- the job queue ----

int CPlaylistView::QueueAddPath(int pathType, const CString& path, const CString& pattern, int scanSubfolders)
{
    CQueueJob* job = new CQueueJob(CQueueJob::ADD_PATH);
    job->m_nPathType = pathType;
    job->m_strPath = path;
    job->m_strPattern = pattern;
    job->m_bScanSubfolders = scanSubfolders;
    m_jobs.AddTail(job);
    m_bModified = true;
    return 0;
}

int CPlaylistView::QueueLoadItem(CPlaylistItem* item)
{
    CQueueJob* job = new CQueueJob(CQueueJob::LOAD_ITEM);
    job->m_pItem = item;
    m_jobs.AddTail(job);
    return 0;
}

int CPlaylistView::StartQueue()
{
    if (m_jobs.IsEmpty())
        return 1;
    return StartWorker(m_pQueueThread, new CQueueThread(this));
}

int CPlaylistView::StopQueue()
{
    if (!m_pQueueThread)
        return 0;
    m_pQueueThread->m_nStop = 2;
    m_pQueueThread->SetThreadPriority(THREAD_PRIORITY_ABOVE_NORMAL);
    PumpMessagesUntil(nullptr, WM_QUEUE_FINISHED);
    return 0;
}

void CPlaylistView::RunQueue(const std::atomic<int>& stop)
{
    while (stop == 0) {
        CQueueJob* job = m_jobs.RemoveHead();
        if (!job)
            break;
        ProcessJob(job);
        delete job;
    }
}

int CPlaylistView::ProcessJob(CQueueJob* job)
{
    if (job->m_nKind == CQueueJob::LOAD_ITEM) {
        CPlaylistItem* item = job->m_pItem;
        if (!item)
            return -1;
        {
            // An item whose frames are loading or loaded (the current one) already has its
            // information. An item becomes current (and starts loading) only under this lock.
            CSectionLock lock(m_itemLock);
            if (item->m_nLoadStatus == LOAD_IDLE) {
                item->LoadInfo(false);
                item->EnsureThumbnail();
            }
        }
        RedrawItem(FindItem(item));
        PostMessage(WM_QUEUE_ITEM_INFO, 0, reinterpret_cast<LPARAM>(item));
        return 0;
    }
    if (job->m_nKind != CQueueJob::ADD_PATH)
        return 1;
    if (job->m_strPath.IsEmpty())
        return -1;
    if (job->m_nPathType == CQueueJob::PATH_DETECT)
        job->m_nPathType = ::PathIsDirectoryW(job->m_strPath) ? CQueueJob::PATH_FOLDER
                           : IsPlaylistFile(job->m_strPath)   ? CQueueJob::PATH_PLAYLIST
                                                              : CQueueJob::PATH_GIF;
    switch (job->m_nPathType) {
    case CQueueJob::PATH_GIF:
        return AddFile(job->m_strPath, true) != -1;
    case CQueueJob::PATH_PLAYLIST:
        return AddPlaylist(job->m_strPath);
    case CQueueJob::PATH_FOLDER:
        return AddFolder(job->m_strPath, job->m_strPattern, job->m_bScanSubfolders);
    default:
        return -1;
    }
}

int CPlaylistView::AddPath(const CString& path)
{
    if (IsPlaylistFile(path))
        return AddPlaylist(path);
    return AddFile(path, false) != -1 ? 1 : 0;
}

int CPlaylistView::AddFile(const CString& path, bool named)
{
    if (!ViewerSettings().AllowDuplicates && IsDuplicate(path))
        return -1;
    CPlaylistItem* item = new CPlaylistItem;
    if (item->OpenOrExplain(path) != 0 && !named) {
        DeleteItemAndFiles(item);
        return -1;
    }
    return AppendItem(item, true);
}

bool CPlaylistView::IsDuplicate(const CString& path)
{
    CSectionLock lock(m_itemLock);
    for (int i = 0; i < GetItemCount(); i++)
        if (GetItem(i)->m_strPath.CompareNoCase(path) == 0)
            return true;
    return false;
}

int CPlaylistView::AddPlaylist(const CString& path)
{
    CPlaylist playlist;
    if (LoadPlaylistFile(path, playlist) != 0)
        return 0;
    const int count = playlist.GetCount();
    for (int i = 0; i < count; i++) {
        CPlaylistItem* item = playlist.GetAt(i);
        AppendItem(item, false);
        QueueLoadItem(item);
    }
    playlist.m_items.RemoveAll();   // the items belong to the view now
    return count;
}

int CPlaylistView::AddFolder(const CString& folder, const CString& pattern, int scanSubfolders)
{
    CFileFilter filter;
    filter.SetPatterns(pattern, L"", 0);
    struct Entry {
        CString path;
        bool folder;
    };
    std::vector<Entry> entries;
    CFileFind find;
    BOOL more = find.FindFile(ViewerFiles::JoinPath(folder, L"*"));
    while (more) {
        more = find.FindNextFile();
        if (!find.IsDots())
            entries.push_back(Entry{find.GetFilePath(), find.IsDirectory() != FALSE});
    }
    find.Close();
    // The same order on every file system: by name, as the user sees the folder.
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return ::lstrcmpiW(a.path, b.path) < 0; });
    int added = 0;
    for (const Entry& entry : entries) {
        if (entry.folder) {
            if (scanSubfolders)
                added += AddFolder(entry.path, pattern, scanSubfolders);
        } else if (filter.Match(entry.path)) {
            added += AddPath(entry.path);
        }
    }
    return added;
}

int CPlaylistView::AppendItem(CPlaylistItem* item, bool post)
{
    // Cells change on the window thread only: the queue thread hands the item over and waits.
    if (GetSafeHwnd() && !OnWindowThread(m_hWnd))
        return int(SendMessage(WM_QUEUE_INSERT_ITEM, post, reinterpret_cast<LPARAM>(item)));
    return int(OnQueueInsertItem(post, reinterpret_cast<LPARAM>(item)));
}

LRESULT CPlaylistView::OnQueueInsertItem(WPARAM post, LPARAM lParam)
{
    auto* item = reinterpret_cast<CPlaylistItem*>(lParam);
    int index;
    {
        CSectionLock lock(m_itemLock);
        index = InsertItem(GetItemCount(), item, true);
    }
    if (post)
        PostMessage(WM_QUEUE_ITEM_ADDED, WPARAM(index), 0);
    // While the window goes, the frame's bars and panes may be gone already.
    if (!m_bClosing)
        UpdateStatus();
    m_bModified = true;
    return index;
}

// ---- messages of the queue and the load threads ----

LRESULT CPlaylistView::OnQueueFinished(WPARAM, LPARAM)
{
    EndWorker(m_pQueueThread);
    if (!m_bClosing) {
        m_nPlayWhenReady = -1;
        UpdateStatus();
    }
    return 0;
}

LRESULT CPlaylistView::OnItemAdded(WPARAM wParam, LPARAM)
{
    if (m_bClosing)
        return 0;
    int ready = m_nPlayWhenReady;
    if (ready != -1 && ready == int(wParam)) {
        m_nPlayWhenReady = -1;
        PlayIndex(ready, g_pPlayView);
    }
    return 0;
}

LRESULT CPlaylistView::OnItemInfo(WPARAM wParam, LPARAM lParam)
{
    if (m_bClosing)
        return 0;
    int ready = m_nPlayWhenReady;
    auto* item = reinterpret_cast<CPlaylistItem*>(lParam);
    // An entry whose file could not be read plays too: the canvas says why, then the next one follows.
    if (ready != -1 && ready == int(wParam) && FindItem(item) == ready) {
        m_nPlayWhenReady = -1;
        PlayIndex(ready, g_pPlayView);
    }
    return 0;
}

LRESULT CPlaylistView::OnLoadFinished(WPARAM, LPARAM lParam)
{
    if (auto* item = reinterpret_cast<CPlaylistItem*>(lParam))
        item->WaitLoadThread();
    return 0;
}
