#include "PlaylistView.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "AnimationWnd.h"
#include "MainFrame.h"
#include "PlayView.h"
#include "PlaylistFiles.h"
#include "PlaylistItem.h"
#include "Settings.h"
#include "SorvikApp.h"
#include "SysHelpers.h"
#include "ViewerFiles.h"
#include "ViewerGlobals.h"

#include <algorithm>
#include <vector>

#include "CFileFind.h"
#include "FileFilter.h"

// ---- CJobList ----

void CJobList::AddTail(CQueueJob* job)
{
    CSectionLock lock(m_lock);
    m_jobs.push_back(job);
}

CQueueJob* CJobList::RemoveHead()
{
    CSectionLock lock(m_lock);
    if (m_jobs.empty())
        return nullptr;
    CQueueJob* job = m_jobs.front();
    m_jobs.pop_front();
    return job;
}

bool CJobList::IsEmpty()
{
    CSectionLock lock(m_lock);
    return m_jobs.empty();
}

void CJobList::RemoveAll()
{
    CSectionLock lock(m_lock);
    for (CQueueJob* job : m_jobs)
        delete job;
    m_jobs.clear();
}

// ---- CQueueThread ----

BOOL CQueueThread::InitInstance()
{
    m_pView->RunQueue(m_nStop);
    m_pView->PostMessage(WM_QUEUE_FINISHED, WPARAM(m_nStop.load()), 0);
    return FALSE;
}

// ---- CPlaylistView ----

FW_BEGIN_MESSAGE_MAP(CPlaylistView, CView)
    FwOnCreate(&ThisClass::OnCreate),
    FwOnPlain(WM_DESTROY, &ThisClass::OnDestroy),
    FwOnEraseBkgnd(&ThisClass::OnEraseBkgnd),
    FwOnMessage(WM_QUEUE_FINISHED, &ThisClass::OnQueueFinished),
    FwOnMessage(WM_QUEUE_ITEM_ADDED, &ThisClass::OnItemAdded),
    FwOnMessage(WM_QUEUE_ITEM_INFO, &ThisClass::OnItemInfo),
    FwOnMessage(WM_LOAD_FINISHED, &ThisClass::OnLoadFinished),
    FwOnMessage(WM_DROPFILES, &ThisClass::OnDropFiles),
    FwOnMessage(WM_DROP_FORWARDED, &ThisClass::OnDropForwarded),
FW_END_MESSAGE_MAP()

CPlaylistView::CPlaylistView()
{
    g_pPlaylistView = this;
}

CPlaylistView::~CPlaylistView()
{
    if (g_pPlaylistView == this)
        g_pPlaylistView = nullptr;
    for (CPlaylistItem* item : m_items)
        delete item;
}

BOOL CPlaylistView::PreCreateWindow(CREATESTRUCTW& cs)
{
    cs.style |= WS_CLIPCHILDREN;
    cs.dwExStyle |= WS_EX_ACCEPTFILES;
    return CView::PreCreateWindow(cs);
}

int CPlaylistView::OnCreate(LPCREATESTRUCTW cs)
{
    return CView::OnCreate(cs);
}

void CPlaylistView::OnInitialUpdate()
{
    CSorvikApp* app = GetSorvikApp();
    if (!app)
        return;
    CDocument* doc = GetDocument();
    if (!app->m_bStartup && doc && !doc->GetPathName().IsEmpty())
        OpenPath(doc->GetPathName());
    else if (app->m_bStartup && ViewerSettings().LoadLastPlaylist)
        LoadDefaultPlaylist();
}

void CPlaylistView::OnDestroy()
{
    m_bClosing = true;
    StopQueue();
    // The canvas lets go of its item (and of its loading) before the items go.
    if (g_pCanvas && g_pCanvas->GetItem() && FindItem(g_pCanvas->GetItem()) >= 0)
        g_pCanvas->Close();
    if (ViewerSettings().LoadLastPlaylist) {
        if (SaveDefaultPlaylist() <= 0)
            ViewerSettings().DeleteOwnTempFiles();
    } else {
        ViewerSettings().DeleteOwnTempFiles();
    }
    CView::OnDestroy();
}

BOOL CPlaylistView::OnEraseBkgnd(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(client, RGB(32, 32, 32));
    return TRUE;
}

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
        DeleteItem(item);
        return -1;
    }
    return AppendItem(item, true);
}

bool CPlaylistView::IsDuplicate(const CString& path)
{
    CSectionLock lock(m_itemLock);
    for (CPlaylistItem* item : m_items)
        if (item->m_strPath.CompareNoCase(path) == 0)
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
    int index;
    {
        CSectionLock lock(m_itemLock);
        index = m_items.Add(item);
    }
    if (post)
        PostMessage(WM_QUEUE_ITEM_ADDED, WPARAM(index), 0);
    // The queue thread leaves the window to the messages it posts.
    if (::GetCurrentThreadId() == ::GetWindowThreadProcessId(GetSafeHwnd(), nullptr))
        UpdateStatus();
    m_bModified = true;
    return index;
}

// ---- the playlist ----

int CPlaylistView::GetItemCount()
{
    CSectionLock lock(m_itemLock);
    return m_items.GetSize();
}

CPlaylistItem* CPlaylistView::GetItem(int index)
{
    CSectionLock lock(m_itemLock);
    return index >= 0 && index < m_items.GetSize() ? m_items[index] : nullptr;
}

int CPlaylistView::FindItem(const CPlaylistItem* item)
{
    CSectionLock lock(m_itemLock);
    for (int i = 0; i < m_items.GetSize(); i++)
        if (m_items[i] == item)
            return i;
    return -1;
}

int CPlaylistView::OpenPath(const CString& path)
{
    CStringArray paths;
    paths.Add(path);
    return ReplaceWithPaths(paths, true);
}

int CPlaylistView::ReplaceWithPaths(const CStringArray& paths, bool play)
{
    StopQueue();
    m_jobs.RemoveAll();
    RemoveAllItems();
    m_nPlayWhenReady = -1;
    for (const CString& path : paths)
        QueueAddPath(CQueueJob::PATH_DETECT, path, L"*", 1);
    if (paths.IsEmpty()) {
        UpdateStatus();
        return 0;
    }
    if (play)
        m_nPlayWhenReady = 0;
    m_bModified = true;
    if (!m_pQueueThread)
        StartQueue();
    return 0;
}

int CPlaylistView::LoadDefaultPlaylist()
{
    CString path = CSettings::GetDefaultPlaylistPath();
    if (!ViewerFiles::FileExists(path))
        return -1;
    StopQueue();
    m_jobs.RemoveAll();
    RemoveAllItems();
    m_nPlayWhenReady = -1;
    int count = AddPlaylist(path);
    if (!m_pQueueThread)
        StartQueue();
    return count;
}

int CPlaylistView::SaveDefaultPlaylist()
{
    CPlaylist playlist;
    {
        CSectionLock lock(m_itemLock);
        for (CPlaylistItem* item : m_items)
            playlist.m_items.Add(item);
    }
    int result = SavePlaylistFile(CSettings::GetDefaultPlaylistPath(), L".playlist", playlist, false);
    int count = playlist.GetCount();
    playlist.m_items.RemoveAll();   // the items stay with the view
    return result != 0 ? -1 : count;
}

void CPlaylistView::DeleteItem(CPlaylistItem* item)
{
    // A thumbnail file is deleted only when the viewer made it.
    if (ViewerSettings().IsOwnTempFile(item->ThumbnailFile))
        ViewerFiles::RemoveFile(item->ThumbnailFile);
    delete item;
}

void CPlaylistView::RemoveAllItems()
{
    if (g_pPlayView && g_pCanvas && g_pCanvas->GetItem() && FindItem(g_pCanvas->GetItem()) >= 0)
        g_pPlayView->CloseItem();
    CArray<CPlaylistItem*> items;
    {
        CSectionLock lock(m_itemLock);
        items = m_items;
        m_items.RemoveAll();
    }
    for (CPlaylistItem* item : items)
        DeleteItem(item);
    m_bModified = true;
    UpdateStatus();
}

int CPlaylistView::PlayIndex(int index, CView* host)
{
    CPlaylistItem* item = GetItem(index);
    if (!item || !g_pPlayView)
        return -1;
    return g_pPlayView->PlayItem(item, host);
}

int CPlaylistView::GetCurrentIndex() { return g_pCanvas ? FindItem(g_pCanvas->GetItem()) : -1; }

CPlaylistItem* CPlaylistView::GetNextItem(bool wrap, bool* last)
{
    const int count = GetItemCount();
    int index = GetCurrentIndex();
    int next = index < 0 ? -1 : index + 1 < count ? index + 1 : wrap ? 0 : -1;
    CPlaylistItem* item = next >= 0 ? GetItem(next) : nullptr;
    if (last)
        *last = !item || next == count - 1;
    return item;
}

CPlaylistItem* CPlaylistView::GetPrevItem(bool wrap, bool* first)
{
    const int count = GetItemCount();
    int index = GetCurrentIndex();
    int prev = index < 0 ? -1 : index > 0 ? index - 1 : wrap ? count - 1 : -1;
    CPlaylistItem* item = prev >= 0 ? GetItem(prev) : nullptr;
    if (first)
        *first = !item || prev == 0;
    return item;
}

void CPlaylistView::RebuildThumbnails()
{
    {
        CSectionLock lock(m_itemLock);
        for (int i = 0; i < m_items.GetSize(); i++)
            m_items[i]->FreeDisplayImage();
    }
    Invalidate();
}

void CPlaylistView::UpdateStatus()
{
    const int count = GetItemCount();
    if (count == 0)
        ViewerSettings().DeleteOwnTempFiles();
    if (CMainFrame* frame = GetMainFrame())
        frame->ShowPlaylistStatus(count);
    Invalidate();
}

void CPlaylistView::PlaceCanvas()
{
    if (!g_pCanvas || !g_pCanvas->GetSafeHwnd() || ::GetParent(g_pCanvas->m_hWnd) != m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    g_pCanvas->MoveWindow(client);
}

// ---- messages ----

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
    UpdateStatus();
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
    Invalidate();
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

void CPlaylistView::TakeDrop(HDROP drop, bool replace)
{
    CStringArray paths;
    UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; i++) {
        wchar_t path[1025] = L"";
        if (::DragQueryFileW(drop, i, path, 1025))
            paths.Add(path);
    }
    ::DragFinish(drop);
    if (replace) {
        ReplaceWithPaths(paths, true);
        return;
    }
    m_nPlayWhenReady = -1;
    for (const CString& path : paths)
        QueueAddPath(CQueueJob::PATH_DETECT, path, L"*", 1);
    if (!m_pQueueThread)
        StartQueue();
}

LRESULT CPlaylistView::OnDropFiles(WPARAM wParam, LPARAM)
{
    HDROP drop = reinterpret_cast<HDROP>(wParam);
    bool replace = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    if (!replace && m_pQueueThread) {
        ::DragFinish(drop);
        return 0;
    }
    TakeDrop(drop, replace);
    return 0;
}

LRESULT CPlaylistView::OnDropForwarded(WPARAM wParam, LPARAM)
{
    HDROP drop = reinterpret_cast<HDROP>(wParam);
    bool append = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    if (append && m_pQueueThread) {
        ::DragFinish(drop);
        return 0;
    }
    TakeDrop(drop, !append);
    if (!append) {
        if (CWnd* frame = GetTopLevelParent()) {
            if (frame->IsIconic()) {
                frame->ShowWindow(SW_RESTORE);
                frame->SetWindowPos(HWND(nullptr), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
            }
            frame->SetForegroundWindow();
        }
    }
    return 0;
}
