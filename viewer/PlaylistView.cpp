#include "PlaylistView.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

#include "AnimationWnd.h"
#include "CFileFind.h"
#include "CMenu.h"
#include "FileFilter.h"
#include "GIFInfoDlg.h"
#include "MainFrame.h"
#include "OffscreenDC.h"
#include "PlayView.h"
#include "PlaylistFiles.h"
#include "PlaylistItem.h"
#include "Settings.h"
#include "SorvikApp.h"
#include "SysHelpers.h"
#include "ViewerFiles.h"
#include "ViewerGlobals.h"
#include "dialogs/FolderDialog.h"
#include "dialogs/OCFileDialog.h"
#include "resource.h"

namespace {

const wchar_t kGifFilesFilter[] = L"Animated GIF Files (*.gif)|*.gif|"
                                  L"Playlist Files (*.playlist; *.m3u; *.pls)|*.playlist;*.m3u;*.pls|"
                                  L"All Files (*.*)|*.*||";
const wchar_t kAddPlaylistFilter[] = L"Playlist Files (*.playlist; *.m3u; *.pls)|*.playlist;*.m3u;*.pls|"
                                     L"All Files (*.*)|*.*||";
const wchar_t kOpenPlaylistFilter[] = L"Playlist Files (*.playlist; *.m3u; *.pls)|*.playlist;*.m3u;*.pls|All Files (*.*)|*.*||";
const wchar_t kFolderPatterns[] = L"*.gif|*.*";
const wchar_t kSavePlaylistFilter[] =
    L"Playlist Files (*.playlist)|*.playlist|M3U Playlist Files (*.m3u)|*.m3u|PLS Playlist Files (*.pls)|*.pls||";
const wchar_t* const kSaveTypes[] = {L".playlist", L".m3u", L".pls"};

const COLORREF kSelection = RGB(0, 160, 255);
const COLORREF kHoverText = RGB(192, 192, 192);
const COLORREF kOtherText = RGB(160, 160, 160);
const COLORREF kPlayingText = RGB(0, 255, 0);
const COLORREF kDragMask = RGB(255, 0, 255);

bool KeyDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

bool OnWindowThread(HWND wnd) { return ::GetCurrentThreadId() == ::GetWindowThreadProcessId(wnd, nullptr); }

} // namespace

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

FW_BEGIN_MESSAGE_MAP(CPlaylistView, CGridListView)
    FwOnCreate(&ThisClass::OnCreate),
    FwOnPlain(WM_DESTROY, &ThisClass::OnDestroy),
    FwOnSize(&ThisClass::OnSize),
    FwOnContextMenu(&ThisClass::OnContextMenu),
    FwOnKey(WM_CHAR, &ThisClass::OnChar),
    FwOnMouse(WM_MOUSEMOVE, &ThisClass::OnMouseMove),
    FwOnMessage(WM_MOUSELEAVE, &ThisClass::OnMouseLeave),
    FwOnMouse(WM_LBUTTONDOWN, &ThisClass::OnLButtonDown),
    FwOnMouse(WM_LBUTTONUP, &ThisClass::OnLButtonUp),
    FwOnMouse(WM_LBUTTONDBLCLK, &ThisClass::OnLButtonDblClk),
    FwOnMouse(WM_RBUTTONUP, &ThisClass::OnRButtonUp),
    FwOnMouse(WM_MBUTTONUP, &ThisClass::OnMButtonUp),
    FwOnSetCursor(&ThisClass::OnSetCursor),
    FwOnMessage(WM_CAPTURECHANGED, &ThisClass::OnCaptureChanged),
    FwOnNotify(TTN_NEEDTEXTW, 1, &ThisClass::OnToolTipText),
    FwOnNotify(TTN_NEEDTEXTA, 1, &ThisClass::OnToolTipText),
    FwOnMessage(WM_QUEUE_FINISHED, &ThisClass::OnQueueFinished),
    FwOnMessage(WM_QUEUE_INSERT_ITEM, &ThisClass::OnQueueInsertItem),
    FwOnMessage(WM_QUEUE_ITEM_ADDED, &ThisClass::OnItemAdded),
    FwOnMessage(WM_QUEUE_ITEM_INFO, &ThisClass::OnItemInfo),
    FwOnMessage(WM_LOAD_FINISHED, &ThisClass::OnLoadFinished),
    FwOnMessage(WM_DROPFILES, &ThisClass::OnDropFiles),
    FwOnMessage(WM_DROP_FORWARDED, &ThisClass::OnDropForwarded),

    FwOnCommand(ID_FILE_OPEN_FILES, &ThisClass::OnOpenFile),
    FwOnUpdateCommand(ID_FILE_OPEN_FILES, &ThisClass::OnUpdateNoQueue),
    FwOnCommand(ID_FILE_ADD_FILES, &ThisClass::OnAddFile),
    FwOnUpdateCommand(ID_FILE_ADD_FILES, &ThisClass::OnUpdateNoQueue),
    FwOnCommand(ID_FILE_ADD_PLAYLIST, &ThisClass::OnAddPlaylist),
    FwOnUpdateCommand(ID_FILE_ADD_PLAYLIST, &ThisClass::OnUpdateNoQueue),
    FwOnCommand(ID_FILE_OPEN_FOLDER, &ThisClass::OnOpenFolder),
    FwOnUpdateCommand(ID_FILE_OPEN_FOLDER, &ThisClass::OnUpdateNoQueue),
    FwOnCommand(ID_FILE_ADD_FOLDER, &ThisClass::OnAddFolder),
    FwOnUpdateCommand(ID_FILE_ADD_FOLDER, &ThisClass::OnUpdateNoQueue),
    FwOnCommand(ID_FILE_OPEN_PLAYLIST, &ThisClass::OnOpenPlaylist),
    FwOnUpdateCommand(ID_FILE_OPEN_PLAYLIST, &ThisClass::OnUpdateNoQueue),
    FwOnCommand(ID_FILE_SAVE_PLAYLIST, &ThisClass::OnSavePlaylist),
    FwOnUpdateCommand(ID_FILE_SAVE_PLAYLIST, &ThisClass::OnUpdateNeedsItems),
    FwOnCommandRange(ID_PLAYLIST_RECENT_FIRST, ID_PLAYLIST_RECENT_LAST, &ThisClass::OnRecentPlaylist),
    FwOnUpdateCommand(ID_PLAYLIST_RECENT_FIRST, &ThisClass::OnUpdateRecentPlaylists),
    FwOnCommand(ID_PLAYLIST_CLEAR_RECENT, &ThisClass::OnClearRecentPlaylists),
    FwOnUpdateCommand(ID_PLAYLIST_CLEAR_RECENT, &ThisClass::OnUpdateClearRecentPlaylists),
    FwOnCommand(ID_EDIT_REMOVE, &ThisClass::OnRemove),
    FwOnUpdateCommand(ID_EDIT_REMOVE, &ThisClass::OnUpdateRemove),
    FwOnCommand(ID_EDIT_REMOVE_ALL, &ThisClass::OnRemoveAll),
    FwOnUpdateCommand(ID_EDIT_REMOVE_ALL, &ThisClass::OnUpdateNeedsItems),
    FwOnCommand(ID_EDIT_SELECT_ALL, &ThisClass::OnSelectAll),
    FwOnUpdateCommand(ID_EDIT_SELECT_ALL, &ThisClass::OnUpdateNeedsItems),
    FwOnCommand(ID_EDIT_MOVE_UP, &ThisClass::OnMoveUp),
    FwOnUpdateCommand(ID_EDIT_MOVE_UP, &ThisClass::OnUpdateMoveUp),
    FwOnCommand(ID_EDIT_MOVE_DOWN, &ThisClass::OnMoveDown),
    FwOnUpdateCommand(ID_EDIT_MOVE_DOWN, &ThisClass::OnUpdateMoveDown),
    FwOnCommand(ID_PLAYLIST_PLAY, &ThisClass::OnPlaySelected),
    FwOnUpdateCommand(ID_PLAYLIST_PLAY, &ThisClass::OnUpdatePlaySelected),
    FwOnCommand(ID_GIF_INFO, &ThisClass::OnGifInfo),
    FwOnUpdateCommand(ID_GIF_INFO, &ThisClass::OnUpdateNeedsSelection),
    FwOnCommand(ID_PLAYLIST_OPEN_FOLDER, &ThisClass::OnShowInFolder),
    FwOnUpdateCommand(ID_PLAYLIST_OPEN_FOLDER, &ThisClass::OnUpdateNeedsSelection),
    FwOnCommand(ID_SHOW_TITLE, &ThisClass::OnShowTitle),
    FwOnUpdateCommand(ID_SHOW_TITLE, &ThisClass::OnUpdateShowTitle),
    FwOnCommand(ID_SHOW_THUMBNAIL, &ThisClass::OnShowThumbnail),
    FwOnUpdateCommand(ID_SHOW_THUMBNAIL, &ThisClass::OnUpdateShowThumbnail),
    FwOnCommandRange(ID_SHOW_DURATION, ID_SHOW_DURATION, &ThisClass::OnShowFlag),
    FwOnCommandRange(ID_SHOW_RESOLUTION, ID_SHOW_RESOLUTION, &ThisClass::OnShowFlag),
    FwOnCommandRange(ID_SHOW_FRAME_COUNT, ID_SHOW_FRAME_COUNT, &ThisClass::OnShowFlag),
    FwOnUpdateCommandRange(ID_SHOW_DURATION, ID_SHOW_DURATION, &ThisClass::OnUpdateShowFlag),
    FwOnUpdateCommandRange(ID_SHOW_RESOLUTION, ID_SHOW_RESOLUTION, &ThisClass::OnUpdateShowFlag),
    FwOnUpdateCommandRange(ID_SHOW_FRAME_COUNT, ID_SHOW_FRAME_COUNT, &ThisClass::OnUpdateShowFlag),
    FwOnCommandRange(ID_THUMBNAIL_SMALL, ID_THUMBNAIL_SMALL, &ThisClass::OnThumbnailSize),
    FwOnCommandRange(ID_THUMBNAIL_MEDIUM, ID_THUMBNAIL_LARGE, &ThisClass::OnThumbnailSize),
    FwOnUpdateCommandRange(ID_THUMBNAIL_SMALL, ID_THUMBNAIL_SMALL, &ThisClass::OnUpdateThumbnailSize),
    FwOnUpdateCommandRange(ID_THUMBNAIL_MEDIUM, ID_THUMBNAIL_LARGE, &ThisClass::OnUpdateThumbnailSize),
    FwOnCommandRange(ID_VIEW_GRID, ID_VIEW_LIST, &ThisClass::OnViewStyle),
    FwOnUpdateCommandRange(ID_VIEW_GRID, ID_VIEW_LIST, &ThisClass::OnUpdateViewStyle),
    FwOnCommandRange(ID_FILTER_FLIP_HORZ, ID_FILTER_GRAY, &ThisClass::OnFilter),
    FwOnUpdateCommandRange(ID_FILTER_FLIP_HORZ, ID_FILTER_GRAY, &ThisClass::OnUpdateFilter),
FW_END_MESSAGE_MAP()

CPlaylistView::CPlaylistView()
{
    g_pPlaylistView = this;
    CSettingsValues& settings = ViewerSettings();
    m_nViewStyle = settings.PlaylistViewStyle == STYLE_LIST ? STYLE_LIST : STYLE_GRID;
    m_bShowTitle = settings.ShowTitle;
    m_bShowThumbnail = settings.ShowThumbnail;
    m_bShowDuration = settings.ShowDuration;
    m_bShowResolution = settings.ShowResolution;
    m_bShowFrameCount = settings.ShowFrameCount;
    m_crBackground = kBackground;
    m_nMode = m_nViewStyle;
    m_nLineHeight = kListLineHeight;
}

CPlaylistView::~CPlaylistView()
{
    CSettingsValues& settings = ViewerSettings();
    settings.PlaylistViewStyle = m_nViewStyle;
    settings.ShowTitle = m_bShowTitle;
    settings.ShowThumbnail = m_bShowThumbnail;
    settings.ShowDuration = m_bShowDuration;
    settings.ShowResolution = m_bShowResolution;
    settings.ShowFrameCount = m_bShowFrameCount;
    delete m_pDragImage;
    if (g_pPlaylistView == this)
        g_pPlaylistView = nullptr;
}

BOOL CPlaylistView::PreCreateWindow(CREATESTRUCTW& cs)
{
    cs.style |= WS_CLIPCHILDREN;
    cs.dwExStyle |= WS_EX_ACCEPTFILES;
    m_nMode = m_nViewStyle;
    return CGridListView::PreCreateWindow(cs);
}

int CPlaylistView::OnCreate(LPCREATESTRUCTW cs)
{
    if (CGridListView::OnCreate(cs) == -1)
        return -1;
    if (!m_gridStatusIcons.Create(IDB_GRID_STATUS, 24, 0, kDragMask) ||
        !m_listStatusIcons.Create(IDB_LIST_STATUS, 20, 0, kDragMask) ||
        !m_gridButtons.Create(IDB_GRID_BUTTONS, 32, 0, RGB(255, 255, 255)) ||
        !m_listButtons.Create(IDB_LIST_BUTTONS, 20, 0, RGB(255, 255, 255)) ||
        !m_labelPieces.Create(IDB_LABEL_PIECES, 4, 0, RGB(255, 255, 255)))
        return -1;
    HINSTANCE instance = FwGetResourceHandle();
    m_hArrowCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    m_hDragGridCursor = ::LoadCursorW(instance, MAKEINTRESOURCEW(IDC_DRAG_GRID));
    m_hDragListCursor = ::LoadCursorW(instance, MAKEINTRESOURCEW(IDC_DRAG_LIST));
    m_hDragRemoveCursor = ::LoadCursorW(instance, MAKEINTRESOURCEW(IDC_DRAG_REMOVE));
    m_hDragPlayCursor = ::LoadCursorW(instance, MAKEINTRESOURCEW(IDC_DRAG_PLAY));
    if (m_toolTip.Create(this, TTS_ALWAYSTIP | TTS_NOPREFIX)) {
        m_toolTip.SetMaxTipWidth(600);
        m_toolTip.AddTool(this, LPSTR_TEXTCALLBACKW, CRect(0, 0, 0, 0), 1);
    }
    m_nLineHeight = kListLineHeight;
    RecalcCellSize();
    return 0;
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
    if (m_nDragIndex >= 0)
        EndItemDrag(CPoint(-1, -1), true);
    // The canvas lets go of its item (and of its loading) before the items go.
    if (g_pCanvas && g_pCanvas->GetItem() && FindItem(g_pCanvas->GetItem()) >= 0)
        g_pCanvas->Close();
    if (ViewerSettings().LoadLastPlaylist) {
        if (SavePlaylist(CSettings::GetDefaultPlaylistPath(), 1, 0, false) <= 0)
            ViewerSettings().DeleteOwnTempFiles();
    } else {
        ViewerSettings().DeleteOwnTempFiles();
    }
    CGridListView::OnDestroy();
}

void CPlaylistView::OnSize(UINT type, int cx, int cy)
{
    CGridListView::OnSize(type, cx, cy);
    PlaceCanvas();
}

BOOL CPlaylistView::PreTranslateMessage(MSG* msg)
{
    if (IsCanvasInPlace(msg->hwnd) && OnCanvasMouse(*msg))
        return TRUE;
    if (m_toolTip.GetSafeHwnd() && msg->hwnd == m_hWnd && msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST)
        m_toolTip.RelayEvent(msg);
    return CGridListView::PreTranslateMessage(msg);
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

// ---- the playlist ----

int CPlaylistView::FindItem(const CPlaylistItem* item)
{
    if (!item)
        return -1;
    CSectionLock lock(m_itemLock);
    for (int i = 0; i < GetItemCount(); i++)
        if (GetItem(i) == item)
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

void CPlaylistView::AppendPaths(const CStringArray& paths)
{
    m_nPlayWhenReady = -1;
    for (const CString& path : paths)
        QueueAddPath(CQueueJob::PATH_DETECT, path, L"*", 1);
    if (!m_pQueueThread)
        StartQueue();
}

int CPlaylistView::OpenPlaylist(const CString& path, bool autoplay, bool addToRecent)
{
    if (!ViewerFiles::FileExists(path))
        return -1;
    StopQueue();
    m_jobs.RemoveAll();
    RemoveAllItems();
    m_nPlayWhenReady = -1;
    QueueAddPath(CQueueJob::PATH_PLAYLIST, path, L"", 0);
    if (autoplay)
        m_nPlayWhenReady = 0;
    if (addToRecent && g_pSettings)
        g_pSettings->AddRecentPlaylist(path);
    if (!m_pQueueThread)
        StartQueue();
    return 0;
}

int CPlaylistView::SavePlaylist(const CString& path, int format, int flag, bool addToRecent)
{
    if (format < 1 || format > 3)
        return -1;
    CPlaylist playlist;
    {
        CSectionLock lock(m_itemLock);
        for (int i = 0; i < GetItemCount(); i++)
            playlist.m_items.Add(GetItem(i));
    }
    const int result = SavePlaylistFile(path, kSaveTypes[format - 1], playlist, flag != 0);
    const int count = playlist.GetCount();
    playlist.m_items.RemoveAll();   // the items stay with the view
    if (result != 0)
        return -1;
    if (addToRecent && g_pSettings)
        g_pSettings->AddRecentPlaylist(path);
    return count;
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

void CPlaylistView::DeleteItemAndFiles(CPlaylistItem* item)
{
    // A thumbnail file is deleted only when the viewer made it.
    if (ViewerSettings().IsOwnTempFile(item->ThumbnailFile))
        ViewerFiles::RemoveFile(item->ThumbnailFile);
    delete item;
}

void CPlaylistView::DeleteCell(CGridCell* cell)
{
    if (auto* item = static_cast<CPlaylistItem*>(cell->m_pData))
        DeleteItemAndFiles(item);
    cell->m_pData = nullptr;
    CGridListView::DeleteCell(cell);
}

void CPlaylistView::RemoveAllItems()
{
    if (g_pPlayView && g_pCanvas && g_pCanvas->GetItem() && FindItem(g_pCanvas->GetItem()) >= 0)
        g_pPlayView->CloseItem();
    {
        CSectionLock lock(m_itemLock);
        DeleteAllItems(true);
    }
    m_bModified = true;
    UpdateStatus();
}

void CPlaylistView::RemoveItemAt(int index)
{
    CPlaylistItem* item = GetItem(index);
    if (!item)
        return;
    if (g_pPlayView && g_pCanvas && g_pCanvas->GetItem() == item)
        g_pPlayView->CloseItem();
    {
        CSectionLock lock(m_itemLock);
        DeleteItem(index, true);
    }
    UpdateStatus();
}

void CPlaylistView::RemoveSelected()
{
    StopQueue();
    m_nPlayWhenReady = -1;
    for (int index = GetNextSelected(0); index >= 0; index = GetNextSelected(0))
        RemoveItemAt(index);
    m_bModified = true;
    if (!m_jobs.IsEmpty() && !m_pQueueThread)
        StartQueue();
}

void CPlaylistView::MoveItem(int from, int to)
{
    {
        CSectionLock lock(m_itemLock);
        if (!MoveCell(*this, from, to))
            return;
    }
    m_nFocus = m_nHover = -1;
    m_bModified = true;
    PlaceCanvas();
    Invalidate(FALSE);
}

void CPlaylistView::MoveSelected(int step)
{
    const int first = GetNextSelected(0);
    const int other = first + step;
    if (first < 0 || other < 0 || other >= GetItemCount())
        return;
    SwapItems(first, other);
    SelectItem(other, true, true, true);
    SetFocusItem(other, true);
    EnsureVisible(other);
    m_bModified = true;
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

void CPlaylistView::UpdateStatus()
{
    const int count = GetItemCount();
    if (count == 0)
        ViewerSettings().DeleteOwnTempFiles();
    // The file count on the menu bar, and the welcome window in place of the panes while empty.
    if (CMainFrame* frame = GetMainFrame())
        frame->ShowPlaylistStatus(count);
    Invalidate(FALSE);
}

void CPlaylistView::RecalcCellSize()
{
    CSettingsValues& settings = ViewerSettings();
    if (m_bShowTitle && m_nTextHeight == 0 && GetSafeHwnd()) {
        CClientDC dc(this);
        HGDIOBJ old = dc.SelectObject(CellFont());
        SIZE size{};
        ::GetTextExtentPoint32W(dc.m_hDC, L"f", 1, &size);
        dc.SelectObject(old);
        m_nTextHeight = size.cy;
    }
    ViewSize cell = PlaylistCellSize(settings.ThumbnailCx, settings.ThumbnailCy, m_bShowTitle != 0, m_nTextHeight);
    m_nCellWidth = cell.cx;
    m_nCellHeight = cell.cy;
    UpdateScrollBars();
}

void CPlaylistView::SetViewStyle(int style)
{
    m_nViewStyle = style == STYLE_LIST ? STYLE_LIST : STYLE_GRID;
    m_nMode = m_nViewStyle;
    SetScrollPosition(0);
    UpdateScrollBars();
    PlaceCanvas();
}

void CPlaylistView::SetThumbnailSize(int side)
{
    CSettingsValues& settings = ViewerSettings();
    settings.ThumbnailCx = settings.ThumbnailCy = side;
    RebuildThumbnails();
}

void CPlaylistView::RebuildThumbnails()
{
    {
        CSectionLock lock(m_itemLock);
        for (int i = 0; i < GetItemCount(); i++)
            GetItem(i)->FreeDisplayImage();
    }
    RecalcCellSize();
    PlaceCanvas();
    Invalidate(FALSE);
}

bool CPlaylistView::IsPlaying(const CPlaylistItem* item) const
{
    return item && g_pCanvas && g_pCanvas->GetItem() == item && g_pCanvas->GetPlayState() == PLAY_PLAYING;
}

bool CPlaylistView::IsPaused(const CPlaylistItem* item) const
{
    return item && g_pCanvas && g_pCanvas->GetItem() == item && g_pCanvas->GetPlayState() == PLAY_PAUSED;
}

void CPlaylistView::PlaceCanvas()
{
    if (!g_pCanvas || !g_pCanvas->GetSafeHwnd() || ::GetParent(g_pCanvas->m_hWnd) != m_hWnd)
        return;
    const int index = FindItem(g_pCanvas->GetItem());
    CRect place(0, 0, 0, 0);
    if (index >= 0) {
        CRect cell = ItemRect(index);
        if (IsGrid())
            place = ToCRect(ThumbnailBox(ToViewRect(cell), ViewerSettings().ThumbnailCy));
        else if (m_bShowThumbnail)
            place = ToCRect(ListIconBox(ToViewRect(cell)));
    }
    if (place.IsRectEmpty()) {
        g_pCanvas->ShowWindow(SW_HIDE);
        return;
    }
    CRect now;
    g_pCanvas->GetWindowRect(&now);
    ScreenToClient(&now);
    if (now != place)
        g_pCanvas->SetWindowPos(HWND(nullptr), place.left, place.top, place.Width(), place.Height(),
                                SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- selection and cells ----

int CPlaylistView::SelectItem(int index, bool select, bool clearOthers, bool redraw)
{
    const int result = CGridListView::SelectItem(index, select, clearOthers, redraw);
    if (result == 0 && redraw) {
        // The neighbours' insertion marks and frames touch this cell.
        RedrawItem(index - 1);
        RedrawItem(index + 1);
    }
    return result;
}

void CPlaylistView::SwapItems(int a, int b)
{
    {
        CSectionLock lock(m_itemLock);
        CGridListView::SwapItems(a, b);
    }
    RedrawItem(a);
    RedrawItem(b);
    PlaceCanvas();
}

// ---- painting ----

CFont* CPlaylistView::CellFont() const
{
    if (g_pUIResources && g_pUIResources->m_fontNormal.GetSafeHandle())
        return &g_pUIResources->m_fontNormal;
    static CFont fallback;
    if (!fallback.GetSafeHandle())
        fallback.Attach(::GetStockObject(DEFAULT_GUI_FONT));
    return &fallback;
}

void CPlaylistView::DrawBackground(CDC* dc, const CRect& rect)
{
    if (!rect.IsRectEmpty())
        dc->FillSolidRect(rect, kBackground);
}

void CPlaylistView::OnDraw(CDC* dc)
{
    PlaceCanvas();
    // The queue thread reads items' information under the same lock.
    CSectionLock lock(m_itemLock);
    CGridListView::OnDraw(dc);
    if (m_dropTarget.index >= 0) {
        CRect bar = ToCRect(DropBarRect(*this, m_dropTarget));
        dc->FillSolidRect(bar, RGB(255, 0, 0));
    }
}

void CPlaylistView::DrawThumbnail(CDC* dc, CPlaylistItem* item, const CRect& box)
{
    CrImage* image = item->GetImage(1);
    if (!image || !image->IsValid())
        return;
    const CSettingsValues& settings = ViewerSettings();
    ViewSize size{image->GetWidth(), image->GetHeight()};
    if (size.cx > settings.ThumbnailCx || size.cy > settings.ThumbnailCy)
        size = FitThumbnail(size, ViewSize{settings.ThumbnailCx, settings.ThumbnailCy});
    const int left = box.left + (box.Width() - size.cx) / 2;
    const int top = box.top + (box.Height() - size.cy) / 2;
    image->Draw(dc->m_hDC, CRect(left, top, left + size.cx, top + size.cy));
}

void CPlaylistView::DrawLabels(CDC* dc, CPlaylistItem* item, const CRect& box)
{
    const CString* texts[] = {m_bShowFrameCount ? &item->m_strFrameCount : nullptr,
                              m_bShowResolution ? &item->m_strResolution : nullptr,
                              m_bShowDuration ? &item->m_strDuration : nullptr};
    std::vector<int> widths;
    for (const CString* text : texts) {
        SIZE size{-1, 0};
        if (text && !text->IsEmpty())
            ::GetTextExtentPoint32W(dc->m_hDC, *text, text->GetLength(), &size);
        widths.push_back(text && !text->IsEmpty() ? int(size.cx) : -1);
    }
    std::vector<ViewRect> labels = LabelRects(ToViewRect(box), widths);
    dc->SetTextColor(RGB(224, 224, 224));
    for (size_t i = 0; i < labels.size(); i++) {
        CRect label = ToCRect(labels[i]);
        if (label.IsRectEmpty())
            continue;
        m_labelPieces.Draw(dc, 0, CPoint(label.left, label.top), ILD_TRANSPARENT);
        for (int x = label.left + 4; x < label.right - 4; x += 4)
            m_labelPieces.Draw(dc, 1, CPoint(x, label.top), ILD_TRANSPARENT);
        m_labelPieces.Draw(dc, 2, CPoint(label.right - 4, label.top), ILD_TRANSPARENT);
        dc->DrawText(*texts[i], &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

void CPlaylistView::DrawCellButtons(CDC* dc, int index, const CellButtons& buttons, CImageList& images, int size)
{
    if (index != m_nHover || IsDragImageCell(index) || m_nDragIndex >= 0)
        return;
    auto state = [&](int command) { return m_nPressedButton == command ? 2 : m_nHoverButton == command ? 1 : 0; };
    if (!IsPlaying(GetItem(index)))
        images.Draw(dc, state(ID_PLAYLIST_PLAY), CPoint(buttons.play.left, buttons.play.top), ILD_TRANSPARENT);
    images.Draw(dc, 3 + state(ID_EDIT_REMOVE), CPoint(buttons.remove.left, buttons.remove.top), ILD_TRANSPARENT);
    (void)size;
}

void CPlaylistView::DrawGridCell(CDC* dc, int index, const CRect& cell)
{
    CPlaylistItem* item = GetItem(index);
    dc->FillSolidRect(cell, kBackground);
    if (!item || (index == m_nDragIndex && !m_bPaintingDragImage))
        return;
    const CSettingsValues& settings = ViewerSettings();
    const bool selected = IsSelected(index) || IsDragImageCell(index);
    const bool hovered = index == m_nHover;
    COLORREF text = IsPlaying(item) ? kPlayingText : selected ? RGB(255, 255, 255) : hovered ? kHoverText : kOtherText;
    HGDIOBJ oldFont = dc->SelectObject(CellFont());
    dc->SetBkMode(TRANSPARENT);

    CRect box = ToCRect(ThumbnailBox(ToViewRect(cell), settings.ThumbnailCy));
    dc->FillSolidRect(box, RGB(0, 0, 0));
    DrawThumbnail(dc, item, box);
    CRect frame = box;
    frame.InflateRect(1, 1);
    CBrush edge(selected ? kSelection : hovered ? kHoverText : RGB(48, 48, 48));
    dc->FrameRect(frame, &edge);
    DrawLabels(dc, item, box);
    if (IsPlaying(item) || IsPaused(item))
        m_gridStatusIcons.Draw(dc, IsPlaying(item) ? 0 : 1, CPoint(box.left + 4, box.top + 4), ILD_TRANSPARENT);
    DrawCellButtons(dc, index, GridButtons(ToViewRect(cell), settings.ThumbnailCy), m_gridButtons, 32);
    if (m_bShowTitle) {
        CRect title(cell.left, box.top + settings.ThumbnailCy + 4, cell.right, cell.bottom);
        dc->SetTextColor(text);
        dc->DrawText(item->m_strName, &title, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    dc->SelectObject(oldFont);
}

void CPlaylistView::DrawListRow(CDC* dc, int index, const CRect& row)
{
    CPlaylistItem* item = GetItem(index);
    if (!item || (index == m_nDragIndex && !m_bPaintingDragImage)) {
        dc->FillSolidRect(row, kBackground);
        return;
    }
    const bool selected = IsSelected(index) || IsDragImageCell(index);
    const bool hovered = index == m_nHover;
    COLORREF text = IsPlaying(item) ? kPlayingText : selected || hovered ? RGB(255, 255, 255) : kHoverText;
    dc->FillSolidRect(row, selected ? kSelection : hovered ? RGB(64, 64, 64) : kBackground);
    HGDIOBJ oldFont = dc->SelectObject(CellFont());
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(text);

    const bool wide = row.Width() > 320;
    int nameRight = row.right - 24;
    if (wide) {
        struct Column {
            int on;
            const CString* text;
            int width, narrowing;
        } columns[] = {{m_bShowFrameCount, &item->m_strFrameCount, 64, 72},
                       {m_bShowResolution, &item->m_strResolution, 56, 64},
                       {m_bShowDuration, &item->m_strDuration, 40, 48}};
        int right = row.right - 24;
        for (const Column& c : columns) {
            if (!c.on)
                continue;
            nameRight -= c.narrowing;
            if (!c.text->IsEmpty()) {
                CRect column(right - c.width, row.top, right, row.bottom);
                dc->DrawText(*c.text, &column, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            }
            right -= c.width + 8;
        }
    }
    int nameLeft = row.left + 28;
    if (m_bShowThumbnail) {
        CRect icon = ToCRect(ListIconBox(ToViewRect(row)));
        dc->FillSolidRect(icon, RGB(0, 0, 0));
        if (CrImage* image = item->GetImage(2); image && image->IsValid()) {
            const int left = icon.left + (24 - image->GetWidth()) / 2;
            const int top = icon.top + (24 - image->GetHeight()) / 2;
            image->Draw(dc->m_hDC, left, top);
        }
        nameLeft = row.left + 56;
    }
    CRect name(nameLeft, row.top, nameRight, row.bottom);
    dc->DrawText(item->m_strName, &name, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (IsPlaying(item) || IsPaused(item))
        m_listStatusIcons.Draw(dc, IsPlaying(item) ? 0 : 1, CPoint(row.left + 4, row.top + (row.Height() - 20) / 2),
                               ILD_TRANSPARENT);
    DrawCellButtons(dc, index, ListButtons(ToViewRect(row)), m_listButtons, 20);
    dc->SelectObject(oldFont);
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

// ---- drops ----

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
    if (replace)
        ReplaceWithPaths(paths, true);
    else
        AppendPaths(paths);
}

LRESULT CPlaylistView::OnDropFiles(WPARAM wParam, LPARAM)
{
    HDROP drop = reinterpret_cast<HDROP>(wParam);
    bool replace = KeyDown(VK_SHIFT);
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
    bool append = KeyDown(VK_SHIFT);
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

// ---- keyboard and context menu ----

void CPlaylistView::OnChar(UINT ch, UINT, UINT)
{
    if (ch < L' ') {
        Default();
        return;
    }
    std::vector<CString> names;
    for (int i = 0; i < GetItemCount(); i++)
        names.push_back(GetItem(i)->m_strName);
    const int found = m_typeAhead.Type(names, wchar_t(ch), ::GetTickCount());
    if (found < 0)
        return;
    EnsureVisible(found);
    SelectItem(found, true, true, true);
    SetFocusItem(found, true);
}

void CPlaylistView::OnContextMenu(CWnd*, CPoint point)
{
    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXT_MENUS))
        return;
    const int first = GetNextSelected(0);
    if (point.x == -1 && point.y == -1) {
        CRect client;
        GetClientRect(&client);
        point = client.CenterPoint();
        CRect cell = ItemRect(first);
        CRect visible;
        if (first >= 0 && visible.IntersectRect(cell, client))
            point = IsGrid() ? cell.CenterPoint() : CPoint(cell.left + 64, cell.CenterPoint().y);
        ClientToScreen(&point);
    }
    CMenu* popup = menu.GetSubMenu(first >= 0 ? 2 : 1);
    if (!popup || !popup->GetSafeHmenu())
        return;
    if (CurrentLayoutMode() == 2)
        popup->SetDefaultItem(ID_NEXT_PANE);
    CWnd* owner = GetTopLevelParent();
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, owner ? owner : this);
}

// ---- mouse ----

CellButtons CPlaylistView::HoverButtonAreas()
{
    const ViewRect cell = ToViewRect(ItemRect(m_nHover));
    return IsGrid() ? GridButtonHitAreas(cell, ViewerSettings().ThumbnailCy) : ListButtons(cell);
}

CellButtons CPlaylistView::HoverButtonRects()
{
    const ViewRect cell = ToViewRect(ItemRect(m_nHover));
    return IsGrid() ? GridButtons(cell, ViewerSettings().ThumbnailCy) : ListButtons(cell);
}

int CPlaylistView::ButtonUnder(CPoint point)
{
    if (m_nHover < 0)
        return -1;
    switch (ButtonAt(HoverButtonAreas(), point.x, point.y)) {
    case CellButton::Play:
        return IsPlaying(GetItem(m_nHover)) ? -1 : int(ID_PLAYLIST_PLAY);
    case CellButton::Remove:
        return ID_EDIT_REMOVE;
    default:
        return -1;
    }
}

void CPlaylistView::SetButtonState(int& state, int command)
{
    if (command == state)
        return;
    state = command;
    CellButtons rects = HoverButtonRects();
    RedrawRect(rects.play);
    RedrawRect(rects.remove);
}

void CPlaylistView::RunButton(int command, int index)
{
    if (command == int(ID_EDIT_REMOVE)) {
        StopQueue();
        m_nPlayWhenReady = -1;
        RemoveItemAt(index);
        m_bModified = true;
        if (!m_jobs.IsEmpty() && !m_pQueueThread)
            StartQueue();
    } else if (command == int(ID_PLAYLIST_PLAY)) {
        PlayIndex(index, g_pPlayView);
    }
}

void CPlaylistView::OnMouseMove(UINT flags, CPoint point)
{
    if (m_nDragIndex >= 0) {
        MoveItemDrag(point);
        return;
    }
    if ((flags & MK_LBUTTON) && m_dragStart.x >= 0 && m_nPressedButton < 0 && GetSelectedCount() == 1 &&
        m_nHover >= 0 && (point.x != m_dragStart.x || point.y != m_dragStart.y)) {
        BeginItemDrag(point);
        return;
    }
    const int oldHover = m_nHover;
    CGridListView::OnMouseMove(flags, point);
    if (m_nHover != oldHover) {
        m_nHoverButton = -1;
        UpdateToolTip();
    }
    SetButtonState(m_nHoverButton, ButtonUnder(point));
}

LRESULT CPlaylistView::OnMouseLeave(WPARAM wParam, LPARAM lParam)
{
    CGridListView::OnMouseLeave(wParam, lParam);
    // Onto the canvas playing in a cell the pointer stays on that cell.
    HoverUnderPointer();
    return 0;
}

// ---- the canvas playing in a cell ----

bool CPlaylistView::IsCanvasInPlace(HWND hwnd) const
{
    return hwnd && g_pCanvas && hwnd == g_pCanvas->GetSafeHwnd() && ::GetParent(hwnd) == m_hWnd;
}

void CPlaylistView::SetHover(int index)
{
    const int oldHover = m_nHover;
    SetHotItem(index, true);
    if (m_nHover != oldHover) {
        m_nHoverButton = -1;
        UpdateToolTip();
    }
}

void CPlaylistView::HoverCanvas()
{
    SetHover(FindItem(g_pCanvas->GetItem()));
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, g_pCanvas->m_hWnd, 0};
    ::TrackMouseEvent(&track);
}

void CPlaylistView::HoverUnderPointer()
{
    CPoint point;
    ::GetCursorPos(&point);
    HWND under = ::WindowFromPoint(point);
    if (IsCanvasInPlace(under)) {
        HoverCanvas();
    } else if (under == m_hWnd) {
        ScreenToClient(&point);
        SetHover(HitTest(point.x, point.y));
        if (m_nHover >= 0)
            TrackMouseLeave();
    } else {
        SetHover(-1);
    }
}

bool CPlaylistView::OnCanvasMouse(const MSG& msg)
{
    switch (msg.message) {
    case WM_MOUSEMOVE:
        HoverCanvas();
        return false;
    case WM_MOUSELEAVE:
        HoverUnderPointer();
        return true;
    case WM_LBUTTONDBLCLK:
        if (CMainFrame* frame = GetMainFrame())
            frame->ShowPlayView();
        return true;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        return false;   // screen coordinates; the canvas's default handling passes them up
    default:
        break;
    }
    if (msg.message < WM_MOUSEFIRST || msg.message > WM_MOUSELAST)
        return false;
    // The canvas covers the cell's thumbnail: clicks on it are clicks on the cell.
    CPoint point(msg.lParam);
    ::MapWindowPoints(msg.hwnd, m_hWnd, &point, 1);
    PostMessage(msg.message, msg.wParam, MAKELPARAM(point.x, point.y));
    return true;
}

void CPlaylistView::OnLButtonDown(UINT flags, CPoint point)
{
    const int button = ButtonUnder(point);
    if (button >= 0) {
        SetButtonState(m_nPressedButton, button);
        SetCapture();
        return;
    }
    if (GetItemCount() == 0) {
        if (CWnd* frame = GetTopLevelParent()) {
            CPoint screen = point;
            ClientToScreen(&screen);
            frame->PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
        }
        return;
    }
    CGridListView::OnLButtonDown(flags, point);
    m_dragStart = GetSelectedCount() == 1 && m_nHover >= 0 ? point : CPoint(-1, -1);
}

void CPlaylistView::OnLButtonUp(UINT flags, CPoint point)
{
    m_dragStart = CPoint(-1, -1);
    if (m_nDragIndex >= 0) {
        EndItemDrag(point, false);
        return;
    }
    const int pressed = m_nPressedButton;
    if (pressed >= 0) {
        SetButtonState(m_nPressedButton, -1);
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        const int under = ButtonUnder(point);
        if (under >= 0)
            RunButton(under, m_nHover);
    }
    CGridListView::OnLButtonUp(flags, point);
}

void CPlaylistView::OnLButtonDblClk(UINT flags, CPoint point)
{
    CMainFrame* frame = GetMainFrame();
    const int hit = HitTest(point.x, point.y);
    if (hit >= 0) {
        if (IsPlaying(GetItem(hit))) {
            if (frame)
                frame->ShowPlayView();
        } else {
            PlayIndex(hit, g_pPlayView);
        }
        return;
    }
    if (CurrentLayoutMode() == 2 && !(flags & (MK_SHIFT | MK_CONTROL))) {
        if (frame)
            frame->ShowPlayView();
    } else if (CWnd* top = GetTopLevelParent()) {
        top->PostMessage(WM_COMMAND, ID_VIEW_FULL_SCREEN);
    }
}

void CPlaylistView::OnRButtonUp(UINT, CPoint point)
{
    if (ButtonUnder(point) == int(ID_PLAYLIST_PLAY)) {
        // Plays in place in the grid, unless the play view stands beside the playlist anyway.
        CView* host = CurrentLayoutMode() == 1 || !IsGrid() ? static_cast<CView*>(g_pPlayView) : this;
        PlayIndex(m_nHover, host);
        return;
    }
    Default();
}

void CPlaylistView::OnMButtonUp(UINT, CPoint)
{
    if (CWnd* top = GetTopLevelParent())
        top->PostMessage(WM_COMMAND, ID_VIEW_FULL_SCREEN);
}

BOOL CPlaylistView::OnSetCursor(CWnd* wnd, UINT hit, UINT message)
{
    if (m_nDragIndex >= 0 && m_hLastCursor) {
        ::SetCursor(m_hLastCursor);
        return TRUE;
    }
    if (hit == HTCLIENT && m_nHoverButton >= 0 && g_pUIResources && g_pUIResources->m_hHandCursor) {
        ::SetCursor(g_pUIResources->m_hHandCursor);
        return TRUE;
    }
    return BOOL(Default());
}

LRESULT CPlaylistView::OnCaptureChanged(WPARAM, LPARAM lParam)
{
    if (m_nDragIndex >= 0 && reinterpret_cast<HWND>(lParam) != m_hWnd)
        EndItemDrag(CPoint(-1, -1), true);
    return Default();
}

// ---- drag reordering ----

bool CPlaylistView::PointInFrame(CPoint screenPoint) const
{
    CWnd* frame = GetTopLevelParent();
    if (!frame)
        return false;
    CRect rect;
    frame->GetWindowRect(&rect);
    return rect.PtInRect(screenPoint) != FALSE;
}

void CPlaylistView::BeginItemDrag(CPoint point)
{
    m_nDragIndex = GetNextSelected(0);
    m_dropTarget = DropPlace{-1, false};
    const CRect cell = ItemRect(m_nDragIndex);
    // The cell as it looks selected, on the mask colour, becomes the image under the pointer.
    delete m_pDragImage;
    m_pDragImage = new CImageList;
    if (m_pDragImage->Create(cell.Width(), cell.Height(), ILC_COLOR24 | ILC_MASK, 1, 1)) {
        CClientDC screen(this);
        CDC memory;
        memory.CreateCompatibleDC(&screen);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(screen.m_hDC, cell.Width(), cell.Height());
        HGDIOBJ old = memory.SelectObject(&bitmap);
        memory.SetWindowOrg(cell.left, cell.top);
        memory.FillSolidRect(cell, kDragMask);
        m_bPaintingDragImage = true;
        {
            CSectionLock lock(m_itemLock);
            if (IsGrid())
                DrawGridCell(&memory, m_nDragIndex, cell);
            else
                DrawListRow(&memory, m_nDragIndex, cell);
        }
        m_bPaintingDragImage = false;
        memory.SelectObject(old);
        m_pDragImage->Add(&bitmap, kDragMask);
        m_pDragImage->BeginDrag(0, CPoint(point.x - cell.left, point.y - cell.top));
        CPoint screenPoint = point;
        ClientToScreen(&screenPoint);
        CImageList::DragEnter(nullptr, screenPoint);
    }
    SetCapture();
    SetHotItem(-1, true);
    RedrawItem(m_nDragIndex);
    MoveItemDrag(point);
}

void CPlaylistView::DrawDropBar(const DropPlace& place)
{
    if (place.index >= 0)
        RedrawRect(DropBarRect(*this, place));
}

void CPlaylistView::MoveItemDrag(CPoint point)
{
    CPoint screenPoint = point;
    ClientToScreen(&screenPoint);
    CImageList::DragMove(screenPoint);
    const DropPlace place = FindDropTarget(*this, point.x, point.y, m_nDragIndex);
    if (place.index != m_dropTarget.index || place.after != m_dropTarget.after) {
        CImageList::DragShowNolock(FALSE);
        DrawDropBar(m_dropTarget);   // the old bar goes
        m_dropTarget = place;
        DrawDropBar(m_dropTarget);
        UpdateWindow();
        CImageList::DragShowNolock(TRUE);
    }
    CRect client;
    GetClientRect(&client);
    if (place.index >= 0)
        m_hLastCursor = IsGrid() && ComputeColumns() > 1 ? m_hDragGridCursor : m_hDragListCursor;
    else if (client.PtInRect(point))
        m_hLastCursor = m_hArrowCursor;
    else
        m_hLastCursor = PointInFrame(screenPoint) ? m_hDragPlayCursor : m_hDragRemoveCursor;
    ::SetCursor(m_hLastCursor);
}

void CPlaylistView::EndItemDrag(CPoint point, bool cancelled)
{
    const int dragged = m_nDragIndex;
    const DropPlace place = m_dropTarget;
    m_nDragIndex = -1;
    m_dropTarget = DropPlace{-1, false};
    m_hLastCursor = nullptr;
    if (m_pDragImage) {
        CImageList::DragLeave(nullptr);
        CImageList::EndDrag();
        delete m_pDragImage;
        m_pDragImage = nullptr;
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    Invalidate(FALSE);
    if (cancelled || dragged < 0)
        return;
    CRect client;
    GetClientRect(&client);
    CPoint screenPoint = point;
    ClientToScreen(&screenPoint);
    if (place.index >= 0) {
        MoveItem(dragged, place.index + (place.after ? 1 : 0));
        return;
    }
    if (client.PtInRect(point))
        return;
    if (PointInFrame(screenPoint)) {
        PlayIndex(dragged, g_pPlayView);
    } else {
        StopQueue();
        RemoveItemAt(dragged);
        m_bModified = true;
        if (!m_jobs.IsEmpty() && !m_pQueueThread)
            StartQueue();
    }
}

// ---- tooltips ----

void CPlaylistView::UpdateToolTip()
{
    if (!m_toolTip.GetSafeHwnd())
        return;
    m_nTipItem = m_nHover;
    m_toolTip.Pop();
    m_toolTip.SetToolRect(this, 1, m_nHover >= 0 ? ItemRect(m_nHover) : CRect(0, 0, 0, 0));
}

void CPlaylistView::OnToolTipText(NMHDR* header, LRESULT* result)
{
    const LPARAM lParam = reinterpret_cast<LPARAM>(header);
    CPlaylistItem* item = GetItem(m_nTipItem);
    // The path cut to 80 characters, in buffers of our own: no name can overrun the record's.
    m_strTip = item ? CutText(item->m_strPath, 80) : CString();
    if (header->code == TTN_NEEDTEXTW) {
        reinterpret_cast<NMTTDISPINFOW*>(lParam)->lpszText = const_cast<wchar_t*>(m_strTip.GetString());
    } else {
        int length = ::WideCharToMultiByte(CP_ACP, 0, m_strTip, -1, m_szTipA, int(sizeof m_szTipA), nullptr, nullptr);
        m_szTipA[length > 0 ? length - 1 : 0] = '\0';
        reinterpret_cast<NMTTDISPINFOA*>(lParam)->lpszText = m_szTipA;
    }
    ::SetWindowPos(header->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    *result = 0;
}

// ---- commands ----

CStringArray CPlaylistView::AskForFiles(const wchar_t* title, const wchar_t* filter, bool multiple, bool storeFilter)
{
    CStringArray paths;
    CSettingsValues& settings = ViewerSettings();
    DWORD flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | (multiple ? OFN_ALLOWMULTISELECT : 0);
    COCFileDialog dialog(TRUE, nullptr, nullptr, flags, filter, GetTopLevelParent());
    CString folder = settings.LastOpenFolder;
    dialog.m_pOFN->lpstrTitle = title;
    dialog.m_pOFN->lpstrInitialDir = folder;
    if (storeFilter)
        dialog.m_pOFN->nFilterIndex = DWORD(std::max(settings.LastFilterIndex, 0));
    if (dialog.DoModal() != IDOK)
        return paths;
    for (POSITION p = dialog.GetStartPosition(); p;)
        paths.Add(dialog.GetNextPathName(p));
    if (!paths.IsEmpty())
        settings.LastOpenFolder = ViewerFiles::FolderPart(paths[0]);
    if (storeFilter)
        settings.LastFilterIndex = int(dialog.m_pOFN->nFilterIndex);
    return paths;
}

void CPlaylistView::OnOpenFile()
{
    CStringArray paths = AskForFiles(L"Open Files", kGifFilesFilter, true, true);
    if (!paths.IsEmpty())
        ReplaceWithPaths(paths, true);
}

void CPlaylistView::OnAddFile()
{
    CStringArray paths = AskForFiles(L"Add Files", kGifFilesFilter, true, false);
    if (!paths.IsEmpty())
        AppendPaths(paths);
}

void CPlaylistView::OnAddPlaylist()
{
    CString folder = ViewerSettings().LastOpenFolder;
    CStringArray paths = AskForFiles(L"Add Playlist", kAddPlaylistFilter, true, false);
    ViewerSettings().LastOpenFolder = folder;
    if (!paths.IsEmpty())
        AppendPaths(paths);
}

void CPlaylistView::ChooseFolder(const wchar_t* title, const wchar_t* prompt)
{
    CSettingsValues& settings = ViewerSettings();
    CFolderDialog dialog(GetTopLevelParent());
    dialog.m_strTitle = title;
    dialog.m_strPrompt = prompt;
    dialog.m_strPatternList = kFolderPatterns;
    dialog.m_strPattern = L"*.gif";
    dialog.m_strInitialFolder = settings.LastOpenFolder;
    dialog.m_bScanSubfolders = settings.LastScanSubfolders;
    if (dialog.DoModal() != IDOK || dialog.m_strFolder.IsEmpty())
        return;
    settings.LastOpenFolder = dialog.m_strFolder;
    settings.LastScanSubfolders = dialog.m_bScanSubfolders;
    m_nPlayWhenReady = -1;
    QueueAddPath(CQueueJob::PATH_FOLDER, dialog.m_strFolder, dialog.m_strPattern, dialog.m_bScanSubfolders);
    if (!m_pQueueThread)
        StartQueue();
}

void CPlaylistView::OnOpenPlaylist()
{
    CString folder = ViewerSettings().LastOpenFolder;
    CStringArray paths = AskForFiles(L"Open Playlist", kOpenPlaylistFilter, false, false);
    ViewerSettings().LastOpenFolder = folder;
    if (!paths.IsEmpty())
        OpenPlaylist(paths[0], false, true);
}

void CPlaylistView::OnSavePlaylist()
{
    CSettingsValues& settings = ViewerSettings();
    COCFileDialog dialog(FALSE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kSavePlaylistFilter,
                         GetTopLevelParent());
    CString folder = settings.LastSaveFolder;
    dialog.m_pOFN->lpstrTitle = L"Save Playlist";
    dialog.m_pOFN->lpstrInitialDir = folder;
    if (dialog.DoModal() != IDOK)
        return;
    CString path;
    const int format = PlaylistSaveFormat(dialog.GetPathName(), int(dialog.m_pOFN->nFilterIndex), path);
    settings.LastSaveFolder = ViewerFiles::FolderPart(path);
    // A failed save says so: the user must not believe the list is kept.
    if (SavePlaylist(path, format, 1, true) < 0)
        MessageBox(L"The playlist could not be saved.", FwGetApp()->m_strAppName, MB_OK | MB_ICONEXCLAMATION);
}

void CPlaylistView::OnRecentPlaylist(UINT id)
{
    if (!g_pSettings)
        return;
    const int index = int(id - ID_PLAYLIST_RECENT_FIRST);
    if (index < 0 || index >= g_pSettings->m_recentPlaylists.GetCount())
        return;
    CString path = g_pSettings->m_recentPlaylists.GetAt(index);
    if (OpenPlaylist(path, false, true) != 0)
        g_pSettings->RemoveRecentPlaylist(index);
}

void CPlaylistView::OnUpdateRecentPlaylists(CCmdUI* ui)
{
    if (g_pSettings)
        g_pSettings->m_recentPlaylists.UpdateMenu(ui);
}

void CPlaylistView::OnClearRecentPlaylists()
{
    if (g_pSettings)
        g_pSettings->ClearRecentPlaylists();
}

void CPlaylistView::OnUpdateClearRecentPlaylists(CCmdUI* ui)
{
    ui->Enable(g_pSettings && g_pSettings->m_recentPlaylists.GetCount() > 0);
}

void CPlaylistView::OnUpdateRemove(CCmdUI* ui) { ui->Enable(GetNextSelected(0) >= 0 && !m_pQueueThread); }

void CPlaylistView::OnRemoveAll()
{
    StopQueue();
    m_jobs.RemoveAll();
    m_nPlayWhenReady = -1;
    RemoveAllItems();
}

void CPlaylistView::OnUpdateMoveDown(CCmdUI* ui)
{
    const int first = GetNextSelected(0);
    ui->Enable(first >= 0 && first < GetItemCount() - 1);
}

void CPlaylistView::OnGifInfo()
{
    if (CPlaylistItem* item = FirstSelectedItem())
        CGIFInfoDlg(item, this).DoModal();
}

void CPlaylistView::OnPlaySelected()
{
    CMainFrame* frame = GetMainFrame();
    if (frame && frame->GetActiveView() != this)
        return;
    PlayIndex(GetNextSelected(0), g_pPlayView);
}

void CPlaylistView::OnUpdatePlaySelected(CCmdUI* ui)
{
    CMainFrame* frame = GetMainFrame();
    ui->Enable((!frame || frame->GetActiveView() == this) && GetNextSelected(0) >= 0);
}

void CPlaylistView::OnShowInFolder()
{
    CPlaylistItem* item = FirstSelectedItem();
    if (!item)
        return;
    if (!ViewerFiles::FileExists(item->m_strPath)) {
        MessageBox(L"Folder/file does not exist!", FwGetApp()->m_strAppName, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CString arguments;
    arguments.Format(L"/select,%s", item->m_strPath.GetString());
    ::ShellExecuteW(nullptr, nullptr, L"explorer.exe", arguments, nullptr, SW_SHOWNORMAL);
}

void CPlaylistView::OnShowTitle()
{
    m_bShowTitle = !m_bShowTitle;
    RecalcCellSize();
}

void CPlaylistView::OnUpdateShowTitle(CCmdUI* ui)
{
    ui->SetCheck(m_nViewStyle == STYLE_LIST || m_bShowTitle);
    ui->Enable(m_nViewStyle == STYLE_GRID);
}

void CPlaylistView::OnShowThumbnail()
{
    m_bShowThumbnail = !m_bShowThumbnail;
    PlaceCanvas();
    Invalidate(FALSE);
}

void CPlaylistView::OnUpdateShowThumbnail(CCmdUI* ui)
{
    ui->SetCheck(m_nViewStyle == STYLE_GRID || m_bShowThumbnail);
    ui->Enable(m_nViewStyle == STYLE_LIST);
}

int* CPlaylistView::ShowFlag(UINT id)
{
    switch (id) {
    case ID_SHOW_DURATION: return &m_bShowDuration;
    case ID_SHOW_RESOLUTION: return &m_bShowResolution;
    case ID_SHOW_FRAME_COUNT: return &m_bShowFrameCount;
    default: return nullptr;
    }
}

void CPlaylistView::OnShowFlag(UINT id)
{
    if (int* flag = ShowFlag(id)) {
        *flag = !*flag;
        Invalidate(FALSE);
    }
}

void CPlaylistView::OnUpdateShowFlag(CCmdUI* ui)
{
    if (int* flag = ShowFlag(ui->m_nID))
        ui->SetCheck(*flag != 0);
}

void CPlaylistView::OnThumbnailSize(UINT id)
{
    SetThumbnailSize(id == ID_THUMBNAIL_SMALL ? 100 : id == ID_THUMBNAIL_MEDIUM ? 200 : 300);
}

void CPlaylistView::OnUpdateThumbnailSize(CCmdUI* ui)
{
    const int side = ui->m_nID == ID_THUMBNAIL_SMALL ? 100 : ui->m_nID == ID_THUMBNAIL_MEDIUM ? 200 : 300;
    const CSettingsValues& settings = ViewerSettings();
    ui->SetCheck(settings.ThumbnailCx == side && settings.ThumbnailCy == side);
}

void CPlaylistView::OnViewStyle(UINT id) { SetViewStyle(id == ID_VIEW_LIST ? STYLE_LIST : STYLE_GRID); }

void CPlaylistView::OnUpdateViewStyle(CCmdUI* ui)
{
    ui->SetRadio((ui->m_nID == ID_VIEW_LIST) == (m_nViewStyle == STYLE_LIST));
}

int* CPlaylistView::FilterFlag(CPlaylistItem* item, UINT id)
{
    if (!item)
        return nullptr;
    switch (id) {
    case ID_FILTER_REVERSE: return &item->Reverse;
    case ID_FILTER_FLIP_HORZ: return &item->FlipHorz;
    case ID_FILTER_FLIP_VERT: return &item->FlipVert;
    case ID_FILTER_ROTATE_LEFT: return &item->RotateLeft;
    case ID_FILTER_ROTATE_RIGHT: return &item->RotateRight;
    case ID_FILTER_NEGATIVE: return &item->Negate;
    case ID_FILTER_GRAY: return &item->GrayScale;
    default: return nullptr;
    }
}

void CPlaylistView::OnFilter(UINT id)
{
    CPlaylistItem* item = FirstSelectedItem();
    int* flag = FilterFlag(item, id);
    if (!flag)
        return;
    {
        CSectionLock lock(m_itemLock);
        *flag = !*flag;
        if (id != ID_FILTER_REVERSE)
            item->ResetFilters();
    }
    RedrawItem(GetNextSelected(0));
    if (g_pCanvas && g_pCanvas->GetItem() == item)
        g_pCanvas->Redraw();
}

void CPlaylistView::OnUpdateFilter(CCmdUI* ui)
{
    int* flag = FilterFlag(FirstSelectedItem(), ui->m_nID);
    ui->Enable(flag != nullptr);
    ui->SetCheck(flag && *flag);
}
