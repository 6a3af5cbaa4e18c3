// The playlist's commands: opening and adding files and folders, removing and moving items, playing,
// information, the display options and the filters.
#include "PlaylistView.h"

#include <shellapi.h>

#include <algorithm>

#include "AnimationWnd.h"
#include "CWinApp.h"
#include "GIFInfoDlg.h"
#include "MainFrame.h"
#include "PlayView.h"
#include "PlaylistItem.h"
#include "Settings.h"
#include "ViewerFiles.h"
#include "ViewerGlobals.h"
#include "dialogs/FolderDialog.h"
#include "dialogs/OCFileDialog.h"
#include "resource.h"

namespace {

const wchar_t kGifFilesFilter[] = L"Animated GIF Files (*.gif)|*.gif|"
                                  L"Playlist Files (*.playlist; *.m3u; *.pls)|*.playlist;*.m3u;*.pls|"
                                  L"All Files (*.*)|*.*||";
const wchar_t kFolderPatterns[] = L"*.gif|*.*";

} // namespace

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

void CPlaylistView::OnUpdateRemove(CCmdUI* ui) { ui->Enable(GetNextSelected(0) >= 0 && !m_pQueueThread); }

void CPlaylistView::OnRemoveAll()
{
    ClearPlaylist();
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
