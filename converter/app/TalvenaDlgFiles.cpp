// Files into the main dialog's list: from the command line, the Add GIF and Add Folder
// dialogs, drops and pasted lists; input lists give their entries.

#include "TalvenaDlg.h"

#include <algorithm>
#include <memory>
#include <shellapi.h>
#include <shlwapi.h>
#include <utility>
#include <vector>

#include "AppGlobals.h"
#include "AppSettings.h"
#include "CFileFind.h"
#include "ConvertListItem.h"
#include "ConverterPaths.h"
#include "FileFilter.h"
#include "FolderDialog.h"
#include "InputLists.h"
#include "JobStates.h"
#include "OCFileDialog.h"
#include "PathLists.h"
#include "TalvenaDlgHelpers.h"

namespace {

// Every path of a drop, each as long as it is: no buffer of a fixed size.
void DroppedPaths(HDROP drop, CStringArray& paths)
{
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        CString path;
        DragQueryFileW(drop, i, path.GetBufferSetLength(static_cast<int>(length)), length + 1);
        path.ReleaseBuffer(static_cast<int>(length));
        if (!path.IsEmpty())
            paths.Add(path);
    }
}

} // namespace

int CTalvenaDlg::AddFile(const CString& path, bool named)
{
    const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    auto item = std::make_unique<CConvertListItem>();
    const bool isSource = item->SetSource(path) == 0;
    int row = -1;
    if (isSource || named) {
        ListLockGuard lock;
        row = m_list.InsertItem(m_list.GetItemCount(), L"");
    }
    if (row >= 0) {
        // The row owns the item from here on.
        CConvertListItem& added = *item.release();
        m_list.SetItemData(row, reinterpret_cast<DWORD_PTR>(&added));
        m_list.SetItemState(row, 0xF000, LVIS_STATEIMAGEMASK);
        m_list.SetItemText(row, JOB_COLUMN_INPUT, GetFileNamePart(path));
        if (!isSource)
            ShowSourceFailure(row, added);
        m_list.EnsureVisible(row, FALSE);
        m_list.SetFocus();
        ShowRowCount();
    }
    SetCursor(previous);
    return isSource ? row : -1;
}

void CTalvenaDlg::ShowSourceFailure(int row, const CConvertListItem& item)
{
    const JobStateLook look = GetJobStateLook(item.m_sourceFailure);
    m_list.SetItemState(row, static_cast<UINT>(look.image) << 12, LVIS_STATEIMAGEMASK);
    m_list.SetItemText(row, JOB_COLUMN_STATUS, look.text);
}

void CTalvenaDlg::ShowRowCount()
{
    CString text;
    if (const int rows = m_list.GetItemCount())
        text.Format(L"%d", rows);
    m_list.SetColumnText(JOB_COLUMN_STATE, text);
}

void CTalvenaDlg::AddPath(const CString& path, bool named)
{
    if (!IsInputListFile(path)) {
        AddFile(path, named);
        return;
    }
    std::unique_ptr<CPlaylistFile> list(CreatePlaylistFile(path));
    if (list && list->Load(path) > 0)
        for (int i = 0; i < list->m_entries.GetSize(); ++i)
            AddFile(list->m_entries[i], false);
}

void CTalvenaDlg::AddFiles(const CStringArray& paths, int scanSubfolders)
{
    const CString patterns = g_pAppSettings ? g_pAppSettings->m_folderDefaultFilter : CString();
    for (int i = 0; i < paths.GetSize(); ++i) {
        if (PathIsDirectoryW(paths[i]))
            AddFolder(paths[i], patterns, scanSubfolders);
        else
            AddPath(paths[i]);
    }
}

void CTalvenaDlg::AddFolder(const CString& folder, const CString& patterns, int recursive)
{
    // No patterns take every file; those that are no GIF give no row.
    CString include = patterns.IsEmpty() ? CString(L"*") : patterns;
    include.Replace(L'|', L';');
    CFileFilter filter;
    filter.SetPatterns(include, L"", 0);
    std::vector<std::pair<CString, bool>> entries;
    CFileFind find;
    BOOL more = find.FindFile(folder + L"\\*");
    while (more) {
        more = find.FindNextFile();
        if (!find.IsDots())
            entries.emplace_back(find.GetFilePath(), find.IsDirectory() != FALSE);
    }
    find.Close();
    // In name order, as the user sees the folder.
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return lstrcmpiW(a.first, b.first) < 0; });
    for (const auto& [path, isFolder] : entries) {
        if (isFolder) {
            if (recursive)
                AddFolder(path, patterns, recursive);
        } else if (filter.Match(GetFileNamePart(path))) {
            AddPath(path, false);
        }
    }
}

void CTalvenaDlg::OnAddGif()
{
    COCFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST,
                         GetGifFilter(1), this);
    dialog.m_pOFN->lpstrTitle = L"Add GIF Files";
    dialog.m_pOFN->nFilterIndex = g_pAppSettings ? g_pAppSettings->m_folderFilterIndex : 0;
    if (dialog.DoModal() != IDOK)
        return;
    POSITION position = dialog.GetStartPosition();
    while (position)
        AddPath(dialog.GetNextPathName(position));
    if (g_pAppSettings)
        g_pAppSettings->m_folderFilterIndex = static_cast<int>(dialog.m_pOFN->nFilterIndex);
}

void CTalvenaDlg::OnAddFolder()
{
    CAppSettings* settings = g_pAppSettings;
    CString patterns;
    if (settings)
        for (int i = 0; i < settings->m_recentFilters.GetCount(); ++i)
            patterns += (i ? L"|" : L"") + settings->m_recentFilters.GetAt(i);
    if (patterns.IsEmpty() && settings)
        patterns = settings->m_folderDefaultFilter;
    if (patterns.IsEmpty())
        patterns = GetGifFilter(0);
    CFolderDialog dialog(this);
    dialog.m_strTitle = L"Add Folder";
    dialog.m_strPrompt = L"Select a folder to convert";
    dialog.m_strPatternList = patterns;
    if (settings) {
        dialog.m_strInitialFolder = settings->m_folderLastFolder;
        dialog.m_bScanSubfolders = settings->m_folderScanSubfolders;
    }
    if (dialog.DoModal() != IDOK)
        return;
    AddFolder(dialog.m_strFolder, dialog.m_strPattern, dialog.m_bScanSubfolders);
    if (settings) {
        settings->m_folderLastFolder = dialog.m_strFolder;
        settings->m_folderScanSubfolders = dialog.m_bScanSubfolders;
        if (!dialog.m_strPattern.IsEmpty())
            settings->m_recentFilters.Add(dialog.m_strPattern);
    }
}

LRESULT CTalvenaDlg::OnDropFiles(WPARAM wParam, LPARAM)
{
    const HDROP drop = reinterpret_cast<HDROP>(wParam);
    CStringArray paths;
    DroppedPaths(drop, paths);
    DragFinish(drop);
    SetForegroundWindow();
    AddFiles(paths, (GetKeyState(VK_CONTROL) & 0x8000) != 0);
    return 0;
}

void CTalvenaDlg::OnPasteFiles()
{
    if (!OpenClipboard(m_hWnd))
        return;
    CStringArray paths;
    if (HANDLE files = GetClipboardData(CF_HDROP)) {
        DroppedPaths(static_cast<HDROP>(files), paths);
    } else if (HANDLE text = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(text))) {
            ParsePathList(CString(chars), paths);
            GlobalUnlock(text);
        }
    }
    CloseClipboard();
    AddFiles(paths, 0);
}
