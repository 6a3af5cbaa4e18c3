#include "PlayView.h"

#include "CMenu.h"
#include "CWinApp.h"
#include "CrImage.h"
#include "FrameExport.h"
#include "GIFInfoDlg.h"
#include "MainFrame.h"
#include "OCFileDialog.h"
#include "PlaylistItem.h"
#include "PlaylistView.h"
#include "Settings.h"
#include "SysHelpers.h"
#include "ViewerFiles.h"
#include "ViewerGlobals.h"
#include "resource.h"

namespace {
const wchar_t kSaveFrameFilter[] =
    L"JPEG File (*.jpg)|*.jpg|PNG File (*.png)|*.png|BMP File (*.bmp)|*.bmp|All Files (*.*)|*.*|";

bool ShiftOrCtrl(UINT flags) { return (flags & (MK_SHIFT | MK_CONTROL)) != 0; }
} // namespace

FW_BEGIN_MESSAGE_MAP(CPlayView, CView)
    FwOnCreate(&ThisClass::OnCreate),
    FwOnSize(&ThisClass::OnSize),
    FwOnEraseBkgnd(&ThisClass::OnEraseBkgnd),
    FwOnKey(WM_CHAR, &ThisClass::OnChar),
    FwOnMouse(WM_LBUTTONDBLCLK, &ThisClass::OnLButtonDblClk),
    FwOnMouse(WM_MBUTTONUP, &ThisClass::OnMButtonUp),
    FwOnContextMenu(&ThisClass::OnContextMenu),
    FwOnMessage(WM_PLAY_FINISHED, &ThisClass::OnPlayFinished),
    FwOnMessage(WM_PLAY_ITEM, &ThisClass::OnPlayItemMessage),
    FwOnCommand(ID_PLAY_PLAY, &ThisClass::OnPlay),
    FwOnUpdateCommand(ID_PLAY_PLAY, &ThisClass::OnUpdatePlay),
    FwOnCommand(ID_PLAY_PAUSE, &ThisClass::OnPause),
    FwOnCommand(ID_PLAY_PAUSE_RESUME, &ThisClass::OnPauseResume),
    FwOnCommand(ID_PLAY_STOP, &ThisClass::OnStop),
    FwOnUpdateCommand(ID_PLAY_STOP, &ThisClass::OnUpdateStop),
    FwOnCommand(ID_PLAY_PREVIOUS_FILE, &ThisClass::OnPreviousFile),
    FwOnUpdateCommand(ID_PLAY_PREVIOUS_FILE, &ThisClass::OnUpdatePreviousFile),
    FwOnCommand(ID_PLAY_NEXT_FILE, &ThisClass::OnNextFile),
    FwOnUpdateCommand(ID_PLAY_NEXT_FILE, &ThisClass::OnUpdateNextFile),
    FwOnCommand(ID_PLAY_PREVIOUS_FRAME, &ThisClass::OnPreviousFrame),
    FwOnUpdateCommand(ID_PLAY_PREVIOUS_FRAME, &ThisClass::OnUpdatePreviousFrame),
    FwOnCommand(ID_PLAY_NEXT_FRAME, &ThisClass::OnNextFrame),
    FwOnUpdateCommand(ID_PLAY_NEXT_FRAME, &ThisClass::OnUpdateNextFrame),
    FwOnCommand(ID_PLAY_COPY_FRAME, &ThisClass::OnCopyFrame),
    FwOnUpdateCommand(ID_PLAY_COPY_FRAME, &ThisClass::OnUpdateFrameExport),
    FwOnCommand(ID_PLAY_SAVE_FRAME, &ThisClass::OnSaveFrame),
    FwOnUpdateCommand(ID_PLAY_SAVE_FRAME, &ThisClass::OnUpdateFrameExport),
    FwOnCommand(ID_GIF_INFO, &ThisClass::OnGifInfo),
    FwOnUpdateCommand(ID_GIF_INFO, &ThisClass::OnUpdateHasItem),
    FwOnCommand(ID_PLAY_REPEAT_ALL, &ThisClass::OnRepeatAll),
    FwOnUpdateCommand(ID_PLAY_REPEAT_ALL, &ThisClass::OnUpdateRepeatAll),
    FwOnCommand(ID_PLAY_REPEAT_CURRENT, &ThisClass::OnRepeatCurrent),
    FwOnUpdateCommand(ID_PLAY_REPEAT_CURRENT, &ThisClass::OnUpdateRepeatCurrent),
    FwOnCommand(ID_PLAY_AUTO_ADVANCE, &ThisClass::OnAutoPlayNext),
    FwOnUpdateCommand(ID_PLAY_AUTO_ADVANCE, &ThisClass::OnUpdateAutoPlayNext),
    FwOnCommand(ID_AFTER_CLOSE_WINDOW, &ThisClass::OnAfterCloseWindow),
    FwOnUpdateCommand(ID_AFTER_CLOSE_WINDOW, &ThisClass::OnUpdateAfterCloseWindow),
    FwOnCommand(ID_AFTER_SHUTDOWN, &ThisClass::OnAfterShutdown),
    FwOnUpdateCommand(ID_AFTER_SHUTDOWN, &ThisClass::OnUpdateAfterShutdown),
    FwOnCommandRange(ID_ZOOM_FIT, ID_ZOOM_200, &ThisClass::OnZoom),
    FwOnUpdateCommandRange(ID_ZOOM_FIT, ID_ZOOM_200, &ThisClass::OnUpdateZoom),
    FwOnCommand(ID_ZOOM_CYCLE, &ThisClass::OnZoomCycle),
    FwOnCommandRange(ID_FILTER_FLIP_HORZ, ID_FILTER_GRAY, &ThisClass::OnFilter),
    FwOnUpdateCommandRange(ID_FILTER_FLIP_HORZ, ID_FILTER_GRAY, &ThisClass::OnUpdateFilter),
    FwOnCommandRange(ID_BACKGROUND_AUTO, ID_BACKGROUND_BLACK, &ThisClass::OnBackground),
    FwOnUpdateCommandRange(ID_BACKGROUND_AUTO, ID_BACKGROUND_BLACK, &ThisClass::OnUpdateBackground),
    FwOnCommandRange(ID_HATCH_SOLID, ID_HATCH_DIAGONAL_CROSS, &ThisClass::OnHatch),
    FwOnUpdateCommandRange(ID_HATCH_SOLID, ID_HATCH_DIAGONAL_CROSS, &ThisClass::OnUpdateHatch),
    FwOnCommandRange(ID_NEXT_PANE, ID_PREV_PANE, &ThisClass::OnSwitchView),
    FwOnUpdateCommandRange(ID_NEXT_PANE, ID_PREV_PANE, &ThisClass::OnUpdateSwitchView),
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

// ---- playing ----

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
    CView* target = host ? host : dynamic_cast<CView*>(m_canvas.GetParent());
    frame->MoveCanvasTo(target);
    if (target && target == g_pPlaylistView) {
        g_pPlaylistView->EnsureVisible(g_pPlaylistView->GetCurrentIndex());
        frame->ShowPlaylistView();
    } else {
        frame->ShowPlayView();
    }
    return 0;
}

void CPlayView::CloseItem()
{
    m_canvas.Close();
    m_canvas.ShowWindow(SW_HIDE);
}

PlayStatus CPlayView::GetStatus() const
{
    PlayStatus s;
    CPlaylistItem* item = m_canvas.GetItem();
    s.hasItem = item != nullptr;
    s.frameCount = item ? item->FrameCount : 0;
    s.frameIndex = m_canvas.GetFrameIndex();
    s.playState = m_canvas.GetPlayState();
    s.hasPlayThread = m_canvas.HasPlayThread();
    return s;
}

void CPlayView::OnPlay()
{
    if (!g_pPlaylistView)
        return;
    switch (ChoosePlayAction(g_pPlaylistView->GetItemCount(), m_canvas.GetPlayState())) {
    case PlayAction::OpenFile:
        g_pPlaylistView->PostMessage(WM_COMMAND, ID_FILE_OPEN_FILES);
        break;
    case PlayAction::Pause:
        PausePlayback();
        break;
    case PlayAction::Resume:
        StartPlayback(nullptr);
        break;
    case PlayAction::PlaySelected: {
        const int selected = g_pPlaylistView->GetNextSelected(0);
        g_pPlaylistView->PlayIndex(selected >= 0 ? selected : 0, nullptr);
        break;
    }
    }
}

void CPlayView::OnUpdatePlay(CCmdUI* ui)
{
    const PlayStatus s = GetStatus();
    ui->SetText(IsPlaying(s) ? L"Pause\tCtrl+P" : L"Play\tCtrl+P");
    ui->Enable(CanPlay(s));
}

void CPlayView::OnPause()
{
    if (IsPlaying(GetStatus()))
        PausePlayback();
}

void CPlayView::OnPauseResume()
{
    switch (ChoosePauseAction(m_canvas.GetPlayState())) {
    case PauseAction::Pause:
        PausePlayback();
        break;
    case PauseAction::Resume:
        StartPlayback(nullptr);
        break;
    case PauseAction::None:
        break;
    }
}

void CPlayView::OnStop()
{
    const int state = m_canvas.GetPlayState();
    if (!CanStop(GetStatus()))
        return;
    CloseItem();
    if (state == PLAY_PAUSED)
        if (CMainFrame* frame = GetMainFrame())
            frame->ShowPlaylistView();
}

void CPlayView::OnUpdateStop(CCmdUI* ui) { ui->Enable(CanStop(GetStatus())); }

void CPlayView::PlayNeighbour(bool next)
{
    if (!g_pPlaylistView || !m_canvas.HasPlayThread())
        return;
    bool edge = false;
    CPlaylistItem* item = next ? g_pPlaylistView->GetNextItem(false, &edge) : g_pPlaylistView->GetPrevItem(false, &edge);
    if (item) {
        StopPlayback(STOP_STOP);
        PlayItem(item, nullptr);
    }
    ShowHint(edge ? (next ? L"This is the last one." : L"This is the first one.") : nullptr);
}

void CPlayView::OnUpdatePreviousFile(CCmdUI* ui)
{
    ui->Enable(m_canvas.HasPlayThread() && g_pPlaylistView && g_pPlaylistView->GetPrevItem(false, nullptr));
}

void CPlayView::OnUpdateNextFile(CCmdUI* ui)
{
    ui->Enable(m_canvas.HasPlayThread() && g_pPlaylistView && g_pPlaylistView->GetNextItem(false, nullptr));
}

void CPlayView::StepFrame(int delta)
{
    const PlayStatus s = GetStatus();
    if (s.hasItem && s.frameCount > 0)
        m_canvas.SeekFrame(::StepFrame(s, delta), true);
}

void CPlayView::OnUpdatePreviousFrame(CCmdUI* ui) { ui->Enable(CanStepBack(GetStatus())); }

void CPlayView::OnUpdateNextFrame(CCmdUI* ui) { ui->Enable(CanStepForward(GetStatus())); }

// ---- the current frame out of the viewer ----

namespace {
// The frame shown at `index` with the item's filters, when it has been decoded.
CrImage* DecodedFrame(CPlaylistItem* item, int index)
{
    CFrameSlot* slot = item ? item->m_slots.GetAt(index) : nullptr;
    return slot && slot->m_nState == SLOT_DECODED ? item->GetFrame(index) : nullptr;
}
} // namespace

int CPlayView::CopyFrameToClipboard()
{
    CrImage* frame = DecodedFrame(m_canvas.GetItem(), m_canvas.GetFrameIndex());
    HGLOBAL handle = frame ? static_cast<HGLOBAL>(frame->CopyToHandle()) : nullptr;
    if (!handle)
        return -1;
    int result = -1;
    if (::OpenClipboard(m_hWnd)) {
        if (::EmptyClipboard()) {
            if (::SetClipboardData(CF_DIB, handle)) {
                handle = nullptr;   // the clipboard owns it now
                result = 0;
            } else {
                ShowHint(L"Failed to copy frame to clipboard.");
            }
        }
        ::CloseClipboard();
    }
    if (handle)
        ::GlobalFree(handle);
    return result;
}

void CPlayView::OnCopyFrame()
{
    if (!m_canvas.GetItem())
        return;
    const bool wasPlaying = IsPlaying(GetStatus());
    if (wasPlaying)
        PausePlayback();
    CopyFrameToClipboard();
    if (wasPlaying)
        StartPlayback(nullptr);
}

int CPlayView::SaveFrame(const CString& path, CString& error)
{
    CrImage* frame = DecodedFrame(m_canvas.GetItem(), m_canvas.GetFrameIndex());
    if (!frame) {
        error = L"The frame is not loaded yet.";
        return -1;
    }
    return SaveFrameImage(*frame, path, error);
}

void CPlayView::OnSaveFrame()
{
    if (!m_canvas.GetItem())
        return;
    const bool wasPlaying = IsPlaying(GetStatus());
    if (wasPlaying)
        PausePlayback();
    CSettingsValues& settings = ViewerSettings();
    COCFileDialog dialog(FALSE, L"jpg", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kSaveFrameFilter, this);
    dialog.m_pOFN->lpstrTitle = L"Save Current Frame to File";
    const CString folder = settings.LastSaveFolder;
    dialog.m_pOFN->lpstrInitialDir = folder;
    if (dialog.DoModal() == IDOK) {
        const CString path = dialog.GetPathName();
        settings.LastSaveFolder = ViewerFiles::FolderPart(path);
        CString error;
        // A name of another type is refused in so many words: its bytes would not be what it says.
        if (FrameSaveFormat(path) == 0)
            MessageBox(kFrameFormatRefused, FwGetApp()->m_strAppName, MB_OK | MB_ICONEXCLAMATION);
        else if (SaveFrame(path, error) != 0)
            ShowHint(error);
    }
    if (wasPlaying)
        StartPlayback(nullptr);
}

void CPlayView::OnUpdateFrameExport(CCmdUI* ui) { ui->Enable(CanExportFrame(GetStatus())); }

void CPlayView::OnGifInfo()
{
    if (CPlaylistItem* item = m_canvas.GetItem())
        CGIFInfoDlg(item, this).DoModal();
}

void CPlayView::OnUpdateHasItem(CCmdUI* ui) { ui->Enable(m_canvas.GetItem() != nullptr); }

// ---- playback options ----

void CPlayView::OnRepeatAll() { ViewerSettings().Repeat = ToggleRepeatAll(ViewerSettings().Repeat); }

void CPlayView::OnUpdateRepeatAll(CCmdUI* ui) { ui->SetCheck(ViewerSettings().Repeat == 2); }

void CPlayView::OnRepeatCurrent() { ViewerSettings().Repeat = ToggleRepeatCurrent(ViewerSettings().Repeat); }

void CPlayView::OnUpdateRepeatCurrent(CCmdUI* ui) { ui->SetCheck(ViewerSettings().Repeat == 1); }

void CPlayView::OnAutoPlayNext() { ViewerSettings().AutoAdvance = !ViewerSettings().AutoAdvance; }

void CPlayView::OnUpdateAutoPlayNext(CCmdUI* ui) { ui->SetCheck(ViewerSettings().AutoAdvance != 0); }

void CPlayView::OnAfterCloseWindow() { ViewerSettings().AutoClose = !ViewerSettings().AutoClose; }

void CPlayView::OnUpdateAfterCloseWindow(CCmdUI* ui) { ui->SetCheck(ViewerSettings().AutoClose != 0); }

void CPlayView::OnAfterShutdown() { m_bShutdownAfterPlayback = !m_bShutdownAfterPlayback; }

void CPlayView::OnUpdateAfterShutdown(CCmdUI* ui) { ui->SetCheck(m_bShutdownAfterPlayback != 0); }

// ---- zoom, filters and background ----

namespace {
constexpr int kZoomOfCommand[] = {0, 50, 100, 200};
} // namespace

void CPlayView::OnZoom(UINT id) { m_canvas.SetZoom(kZoomOfCommand[id - ID_ZOOM_FIT]); }

void CPlayView::OnUpdateZoom(CCmdUI* ui) { ui->SetRadio(m_canvas.GetZoom() == kZoomOfCommand[ui->m_nID - ID_ZOOM_FIT]); }

void CPlayView::OnZoomCycle() { m_canvas.SetZoom(NextZoom(m_canvas.GetZoom())); }

int* CPlayView::FilterFlag(UINT id) const
{
    CPlaylistItem* item = m_canvas.GetItem();
    if (!item)
        return nullptr;
    switch (id) {
    case ID_FILTER_FLIP_HORZ: return &item->FlipHorz;
    case ID_FILTER_FLIP_VERT: return &item->FlipVert;
    case ID_FILTER_ROTATE_LEFT: return &item->RotateLeft;
    case ID_FILTER_ROTATE_RIGHT: return &item->RotateRight;
    case ID_FILTER_REVERSE: return &item->Reverse;
    case ID_FILTER_NEGATIVE: return &item->Negate;
    case ID_FILTER_GRAY: return &item->GrayScale;
    default: return nullptr;
    }
}

void CPlayView::OnFilter(UINT id)
{
    int* flag = FilterFlag(id);
    if (!flag)
        return;
    *flag = !*flag;
    // Reverse too: the filtered copies are kept per shown position, which reversing changes.
    m_canvas.GetItem()->ResetFilters();
    m_canvas.Redraw();
}

void CPlayView::OnUpdateFilter(CCmdUI* ui)
{
    int* flag = FilterFlag(ui->m_nID);
    ui->Enable(flag != nullptr);
    ui->SetCheck(flag && *flag);
}

void CPlayView::RebuildBackground()
{
    COLORREF color = m_canvas.GetBackgroundColor();
    if (ViewerSettings().BackgroundTheme == 0) {
        // The item's own colour; white without an item or when it has none.
        CPlaylistItem* item = m_canvas.GetItem();
        color = item && item->m_nBackColor >= 0 ? COLORREF(item->m_nBackColor) : RGB(255, 255, 255);
    }
    m_canvas.SetBackground(color);
    m_canvas.Redraw();
}

void CPlayView::OnBackground(UINT id)
{
    ViewerSettings().BackgroundTheme = int(id - ID_BACKGROUND_AUTO);
    RebuildBackground();
}

void CPlayView::OnUpdateBackground(CCmdUI* ui)
{
    ui->SetRadio(ViewerSettings().BackgroundTheme + ID_BACKGROUND_AUTO == int(ui->m_nID));
}

void CPlayView::OnHatch(UINT id)
{
    ViewerSettings().BackgroundHatch = int(id - ID_HATCH_SOLID);
    RebuildBackground();
}

void CPlayView::OnUpdateHatch(CCmdUI* ui)
{
    ui->Enable(ViewerSettings().BackgroundTheme != 0);
    ui->SetRadio(ViewerSettings().BackgroundHatch + ID_HATCH_SOLID == int(ui->m_nID));
}

// ---- switching views, keys and the mouse ----

void CPlayView::OnSwitchView(UINT id)
{
    if (CMainFrame* frame = GetMainFrame())
        frame->m_wndLayout.ActivateNextPane(id == ID_NEXT_PANE);
}

void CPlayView::OnUpdateSwitchView(CCmdUI* ui)
{
    CMainFrame* frame = GetMainFrame();
    ui->SetText(frame && frame->m_wndLayout.GetActivePaneIndex() == 0 ? L"Go to Playlist View\tDouble-Click or F6"
                                                                     : L"Go to Play View\tDouble-Click or F6");
}

void CPlayView::PostToFrame(UINT command)
{
    if (CMainFrame* frame = GetMainFrame())
        frame->PostMessage(WM_COMMAND, command);
}

void CPlayView::ShowHint(const wchar_t* text)
{
    if (CMainFrame* frame = GetMainFrame())
        frame->ShowHint(text);
}

void CPlayView::OnChar(UINT ch, UINT, UINT)
{
    switch (ch) {
    case L'F': case L'f': PostToFrame(ID_VIEW_FULL_SCREEN); break;
    case L'Z': case L'z': PostMessage(WM_COMMAND, ID_PLAY_PLAY); break;
    case L'X': case L'x': PostMessage(WM_COMMAND, ID_PLAY_STOP); break;
    case L'C': case L'c': PostMessage(WM_COMMAND, ID_PLAY_PREVIOUS_FILE); break;
    case L'V': case L'v': PostMessage(WM_COMMAND, ID_PLAY_NEXT_FILE); break;
    default: Default(); break;
    }
}

void CPlayView::OnLButtonDblClk(UINT flags, CPoint)
{
    CMainFrame* frame = GetMainFrame();
    if (CurrentLayoutMode() == LAYOUT_SINGLE && !ShiftOrCtrl(flags)) {
        if (frame)
            frame->ShowPlaylistView();
    } else {
        PostToFrame(ID_VIEW_FULL_SCREEN);
    }
}

void CPlayView::OnMButtonUp(UINT, CPoint) { PostToFrame(ID_VIEW_FULL_SCREEN); }

void CPlayView::OnContextMenu(CWnd*, CPoint point)
{
    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXT_MENUS))
        return;
    CMenu* popup = menu.GetSubMenu(0);
    if (!popup)
        return;
    if (point.x == -1 && point.y == -1) {
        point = CPoint(8, 8);
        ClientToScreen(&point);
    }
    const bool keys = (::GetKeyState(VK_SHIFT) < 0) || (::GetKeyState(VK_CONTROL) < 0);
    popup->SetDefaultItem(CurrentLayoutMode() == LAYOUT_SINGLE && !keys ? ID_NEXT_PANE : ID_VIEW_FULL_SCREEN);
    popup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, GetMainFrame());
}

// ---- the end of a play thread ----

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
    m_canvas.WaitPlayThread();
    CPlaylistItem* item = m_canvas.GetItem();
    // A file that could not be played is no recent file to come back to.
    if (item && !item->IsUnplayable() && g_pSettings)
        g_pSettings->AddRecentFile(item->m_strPath);
    CSettingsValues& settings = ViewerSettings();
    PlayEnd end;
    end.stopCode = int(wParam);
    end.playState = m_canvas.GetPlayState();
    end.autoAdvance = settings.AutoAdvance != 0;
    end.autoClose = settings.AutoClose != 0;
    end.shutdownAfter = m_bShutdownAfterPlayback != 0;
    end.unplayable = item && item->IsUnplayable();
    if (WantsNextItem(end) && g_pPlaylistView) {
        if (CPlaylistItem* next = g_pPlaylistView->GetNextItem(settings.Repeat == 2, nullptr)) {
            PlayItem(next, nullptr);
            return 0;
        }
    }
    CMainFrame* frame = GetMainFrame();
    switch (ChooseAfterPlay(end)) {
    case AfterPlay::ShutDown:
        // Programs with unsaved work may refuse: nothing is forced to close.
        ShutdownSystem(EWX_POWEROFF);
        break;
    case AfterPlay::CloseWindow:
        if (frame)
            frame->PostMessage(WM_CLOSE);
        break;
    case AfterPlay::ShowPlaylist:
        if (frame)
            frame->ShowPlaylistView();
        break;
    case AfterPlay::Nothing:
        break;
    }
    return 0;
}
