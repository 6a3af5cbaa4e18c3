// The playlist view's window, its items and their order, the current item and the canvas in a cell.
// Its painting, input, drag and drop, job queue, playlist files and commands have files of their own
// (PlaylistView*.cpp).
#include "PlaylistView.h"

#include "AnimationWnd.h"
#include "MainFrame.h"
#include "PlayView.h"
#include "PlaylistItem.h"
#include "Settings.h"
#include "SorvikApp.h"
#include "ViewerFiles.h"
#include "ViewerGlobals.h"
#include "resource.h"

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
    ClearPlaylist();
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

void CPlaylistView::ClearPlaylist()
{
    StopQueue();
    m_jobs.RemoveAll();
    RemoveAllItems();
    m_nPlayWhenReady = -1;
}

void CPlaylistView::BeginRemoving()
{
    StopQueue();
    m_nPlayWhenReady = -1;
}

void CPlaylistView::EndRemoving()
{
    m_bModified = true;
    if (!m_jobs.IsEmpty() && !m_pQueueThread)
        StartQueue();
}

void CPlaylistView::RemoveSelected()
{
    BeginRemoving();
    for (int index = GetNextSelected(0); index >= 0; index = GetNextSelected(0))
        RemoveItemAt(index);
    EndRemoving();
}

void CPlaylistView::RemoveOne(int index)
{
    BeginRemoving();
    RemoveItemAt(index);
    EndRemoving();
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
