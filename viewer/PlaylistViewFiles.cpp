// Playlist files: opening, adding and saving them, the default playlist kept between runs and the
// recent playlists.
#include "PlaylistView.h"

#include "CWinApp.h"
#include "PlaylistFiles.h"
#include "PlaylistItem.h"
#include "Settings.h"
#include "ViewerFiles.h"
#include "ViewerGlobals.h"
#include "dialogs/OCFileDialog.h"
#include "resource.h"

namespace {

const wchar_t kAddPlaylistFilter[] = L"Playlist Files (*.playlist; *.m3u; *.pls)|*.playlist;*.m3u;*.pls|"
                                     L"All Files (*.*)|*.*||";
const wchar_t kOpenPlaylistFilter[] = L"Playlist Files (*.playlist; *.m3u; *.pls)|*.playlist;*.m3u;*.pls|All Files (*.*)|*.*||";
const wchar_t kSavePlaylistFilter[] =
    L"Playlist Files (*.playlist)|*.playlist|M3U Playlist Files (*.m3u)|*.m3u|PLS Playlist Files (*.pls)|*.pls||";
const wchar_t* const kSaveTypes[] = {L".playlist", L".m3u", L".pls"};

} // namespace

// ---- playlist files ----

int CPlaylistView::OpenPlaylist(const CString& path, bool autoplay, bool addToRecent)
{
    if (!ViewerFiles::FileExists(path))
        return -1;
    ClearPlaylist();
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
    ClearPlaylist();
    int count = AddPlaylist(path);
    if (!m_pQueueThread)
        StartQueue();
    return count;
}

void CPlaylistView::OnAddPlaylist()
{
    CString folder = ViewerSettings().LastOpenFolder;
    CStringArray paths = AskForFiles(L"Add Playlist", kAddPlaylistFilter, true, false);
    ViewerSettings().LastOpenFolder = folder;
    if (!paths.IsEmpty())
        AppendPaths(paths);
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
