// The main dialog's rows: removing them, the list's keys and double clicks, the row under
// conversion as rows come and go, and renaming an output in place.

#include "TalvenaDlg.h"

#include "AppGlobals.h"
#include "ConvertListItem.h"
#include "ConverterPaths.h"
#include "FileShell.h"
#include "JobStates.h"
#include "SysHelpers.h"
#include "TalvenaDlgHelpers.h"
#include "TalvenaRes.h"

void CTalvenaDlg::RemoveRow(int row)
{
    if (!IsRowRemovable(row, g_nConvertRow, IsConverting()))
        return;
    ListLockGuard lock;
    CConvertListItem* item = GetItem(row);
    m_list.DeleteItem(row);
    delete item;
    ShowRowCount();
}

void CTalvenaDlg::OnRemove()
{
    const bool converting = IsConverting();
    for (int row = m_list.GetItemCount() - 1; row >= 0; --row)
        if (IsRowSelected(row) && IsRowRemovable(row, g_nConvertRow, converting))
            RemoveRow(row);
}

void CTalvenaDlg::OnRemoveAll()
{
    const bool converting = IsConverting();
    for (int row = m_list.GetItemCount() - 1; row >= 0; --row)
        if (IsRowRemovable(row, g_nConvertRow, converting))
            RemoveRow(row);
}

void CTalvenaDlg::OnListItemInserted(NMHDR* header, LRESULT*)
{
    const auto* view = reinterpret_cast<const NMLISTVIEW*>(header);
    if (IsConverting() && g_nConvertRow >= 0 && view->iItem <= g_nConvertRow)
        ++g_nConvertRow;
}

void CTalvenaDlg::OnListItemDeleted(NMHDR* header, LRESULT*)
{
    const auto* view = reinterpret_cast<const NMLISTVIEW*>(header);
    if (IsConverting() && g_nConvertRow > 0 && view->iItem <= g_nConvertRow)
        --g_nConvertRow;
}

void CTalvenaDlg::OnListKeyDown(NMHDR* header, LRESULT*)
{
    const auto* key = reinterpret_cast<const NMLVKEYDOWN*>(header);
    if (key->wVKey == VK_DELETE)
        PostMessage(WM_COMMAND, (GetKeyState(VK_CONTROL) & 0x8000) ? ID_REMOVE_ALL : ID_REMOVE);
}

void CTalvenaDlg::OnListDoubleClick(NMHDR* header, LRESULT*)
{
    const auto* activate = reinterpret_cast<const NMITEMACTIVATE*>(header);
    LVHITTESTINFO hit{};
    hit.pt = activate->ptAction;
    m_list.SubItemHitTest(&hit);
    if (hit.iItem < 0) {
        PostMessage(WM_COMMAND, ID_ADD_GIF);
        return;
    }
    const CConvertListItem* item = GetItem(hit.iItem);
    UINT command = ID_ADVANCED_OPTIONS;
    if (hit.iSubItem == JOB_COLUMN_INPUT)
        command = ID_PLAY_INPUT;
    else if (hit.iSubItem == JOB_COLUMN_OUTPUT && item && item->m_state == JOB_COMPLETED)
        command = ID_PLAY_OUTPUT;
    PostMessage(WM_COMMAND, command);
}

void CTalvenaDlg::OnListClick(NMHDR*, LRESULT*)
{
    const int row = m_list.GetEditRow();
    if (row >= 0 && m_list.GetEditColumn() == JOB_COLUMN_OUTPUT)
        StartRename(row);
}

void CTalvenaDlg::OnRenameOutput()
{
    StartRename(m_list.GetFirstSelected());
}

void CTalvenaDlg::StartRename(int row)
{
    const CConvertListItem* item = row >= 0 ? GetItem(row) : nullptr;
    // The row under conversion keeps its name until its run has ended.
    if (!item || (IsConverting() && row == g_nConvertRow) || !PathExists(item->m_outputPath))
        return;
    m_list.SetEditTarget(row, JOB_COLUMN_OUTPUT);
    m_list.StartEdit();
}

void CTalvenaDlg::OnListBeginLabelEdit(NMHDR* header, LRESULT* result)
{
    const auto* edit = reinterpret_cast<const NMLVDISPINFOW*>(header);
    const bool running = IsConverting() && edit->item.iItem == g_nConvertRow;
    *result = running || !m_list.BeginRenameEdit() ? TRUE : FALSE;
}

void CTalvenaDlg::OnListEndLabelEdit(NMHDR* header, LRESULT* result)
{
    const auto* edit = reinterpret_cast<const NMLVDISPINFOW*>(header);
    *result = FALSE;
    CConvertListItem* item = edit->item.iItem >= 0 ? GetItem(edit->item.iItem) : nullptr;
    if (item && edit->item.pszText && m_list.GetEditColumn() == JOB_COLUMN_OUTPUT) {
        const CString entered(edit->item.pszText);
        if (!entered.IsEmpty() && entered.CompareNoCase(GetFileNamePart(item->m_outputPath)) != 0) {
            const CString renamed = GetFileDirectory(item->m_outputPath) + L"\\" + entered;
            if (RenameFileShell(item->m_outputPath, renamed, FOF_ALLOWUNDO, m_hWnd)) {
                item->m_outputPath = renamed;
                m_list.SetItemText(edit->item.iItem, JOB_COLUMN_OUTPUT, entered);
                *result = TRUE;
            }
        }
    }
    m_list.EndRenameEdit();
}
