// The job list's in-row links and remove button: what lies under the mouse, the hand cursor
// over them, and their commands on the row's files.

#include "JobListCtrl.h"

#include <shellapi.h>

#include "CWinApp.h"
#include "ConvertListItem.h"
#include "JobListCtrlHelpers.h"
#include "JobStates.h"
#include "TalvenaApp.h"

namespace {

bool FileExists(const CString& path)
{
    return !path.IsEmpty() && ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

CString Quoted(const CString& path) { return L"\"" + path + L"\""; }

} // namespace

int CJobListCtrl::PlayInput(int row)
{
    const CConvertListItem* item = GetRowItem(row);
    if (!item || !FileExists(item->m_settings.m_source))
        return -1;
    const CString source = item->m_settings.m_source;
    const CString viewer = GetViewerPath();
    if (FileExists(viewer))
        ::ShellExecuteW(m_hWnd, nullptr, viewer, Quoted(source), nullptr, SW_SHOW);
    else
        ::ShellExecuteW(m_hWnd, L"open", source, nullptr, nullptr, SW_SHOWNORMAL);
    return 0;
}

int CJobListCtrl::PlayOutput(int row)
{
    const CConvertListItem* item = GetRowItem(row);
    if (!item || item->m_state != JOB_COMPLETED || !FileExists(item->m_outputPath))
        return -1;
    ::ShellExecuteW(m_hWnd, L"open", item->m_outputPath, nullptr, nullptr, SW_SHOWNORMAL);
    return 0;
}

int CJobListCtrl::ShowInFolder(const CString& path)
{
    if (!FileExists(path)) {
        MessageBox(L"Folder/file does not exist!", FwGetApp() ? FwGetApp()->m_strAppName.GetString() : nullptr,
                   MB_OK | MB_ICONEXCLAMATION);
        return -1;
    }
    ::ShellExecuteW(m_hWnd, nullptr, L"explorer.exe", L"/select," + Quoted(path), nullptr, SW_SHOWNORMAL);
    return 0;
}

int CJobListCtrl::OpenInputFolder(int row)
{
    const CConvertListItem* item = GetRowItem(row);
    return item ? ShowInFolder(item->m_settings.m_source) : -1;
}

int CJobListCtrl::OpenOutputFolder(int row)
{
    const CConvertListItem* item = GetRowItem(row);
    if (!item || item->m_state != JOB_COMPLETED)
        return -1;
    return ShowInFolder(item->m_outputPath);
}

int CJobListCtrl::RunLink(int command, int row)
{
    switch (command) {
    case JOB_LINK_REMOVE:
        RemoveRow(row);
        return 0;
    case JOB_LINK_PLAY_OUTPUT:
        return PlayOutput(row);
    case JOB_LINK_PLAY_INPUT:
        return PlayInput(row);
    case JOB_LINK_OPEN_INPUT_FOLDER:
        return OpenInputFolder(row);
    case JOB_LINK_OPEN_OUTPUT_FOLDER:
        return OpenOutputFolder(row);
    default:
        return -1;
    }
}

int CJobListCtrl::LinkAt(CPoint point, int* row) const
{
    LVHITTESTINFO hit{};
    hit.pt = point;
    const int hitRow = ListView_SubItemHitTest(m_hWnd, &hit);
    if (row)
        *row = hitRow;
    if (hitRow < 0 || hit.iSubItem < 0)
        return JOB_LINK_NONE;
    CRect bounds;
    GetItemRect(hitRow, &bounds, LVIR_BOUNDS);
    const std::vector<RowRect> cells = RowCells(bounds);
    if (static_cast<size_t>(hit.iSubItem) >= cells.size())
        return JOB_LINK_NONE;
    return ::LinkAt(hit.iSubItem, cells[static_cast<size_t>(hit.iSubItem)], ToRowRect(bounds), GetMetrics(),
                    IsCompleted(hitRow), point.x, point.y);
}

BOOL CJobListCtrl::OnClick(NMHDR* header, LRESULT*)
{
    const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(header);
    int row = -1;
    const int command = LinkAt(click->ptAction, &row);
    m_linkClicked = command != JOB_LINK_NONE;
    if (m_linkClicked) {
        ::SetCursor(AppCursor(CAppPaths::CURSOR_HAND));
        RunLink(command, row);
        return FALSE;
    }
    m_editRow = m_editColumn = -1;
    LVHITTESTINFO hit{};
    hit.pt = click->ptAction;
    if (ListView_SubItemHitTest(m_hWnd, &hit) >= 0 && hit.iSubItem > 0 && (hit.flags & LVHT_ONITEM) &&
        IsItemSelected(hit.iItem) && GetSelectedCount() > 0 && !GetEditControl()) {
        m_editRow = hit.iItem;
        m_editColumn = hit.iSubItem;
    }
    return FALSE;
}

BOOL CJobListCtrl::OnSetCursor(CWnd*, UINT hitTest, UINT)
{
    if (hitTest == HTCLIENT && !m_dragImage) {
        // Where the mouse is now: the position of the last message read may be one move behind,
        // as the cursor is asked for before the move is handed out.
        CPoint point;
        ::GetCursorPos(&point);
        ScreenToClient(&point);
        if (LinkAt(point) != JOB_LINK_NONE) {
            ::SetCursor(AppCursor(CAppPaths::CURSOR_HAND));
            return TRUE;
        }
    }
    return static_cast<BOOL>(Default());
}
