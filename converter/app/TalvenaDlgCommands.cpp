// The main dialog's check boxes, buttons and simple commands, and the enabled and checked
// states of every command.

#include "TalvenaDlg.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "AboutDlg.h"
#include "AdvancedOptionsDlg.h"
#include "AppGlobals.h"
#include "AppPaths.h"
#include "ConvertListItem.h"
#include "ConverterInfo.h"
#include "FileShell.h"
#include "FolderBrowser.h"
#include "JobStates.h"
#include "MediaInfoDlg.h"
#include "TalvenaApp.h"
#include "TalvenaRes.h"

void CTalvenaDlg::OnSameAsInput()
{
    m_sameAsInput = IsDlgButtonChecked(IDC_SAME_AS_INPUT) == BST_CHECKED;
    GetDlgItem(IDC_OUTPUT_FOLDER)->EnableWindow(!m_sameAsInput && !IsConverting());
    GetDlgItem(IDC_BROWSE)->EnableWindow(!m_sameAsInput && !IsConverting());
}

void CTalvenaDlg::OnCloseWhenDone()
{
    m_closeWhenDone = IsDlgButtonChecked(IDC_CLOSE_WHEN_DONE) == BST_CHECKED;
}

void CTalvenaDlg::OnAddToITunesCheck()
{
    m_addToITunes = IsDlgButtonChecked(IDC_ADD_TO_ITUNES) == BST_CHECKED;
}

void CTalvenaDlg::OnBrowse()
{
    CString start = m_outputCombo.GetEditText();
    if (start.IsEmpty())
        start = GetMyVideosFolder(false);
    CFolderBrowser browser(L"Select output folder", BIF_STATUSTEXT, this);
    browser.SetInitialFolder(start);
    if (browser.DoModal() == IDOK)
        m_outputCombo.SetEditText(browser.GetFolder());
}

void CTalvenaDlg::OnOpenFolder()
{
    const CString folder = m_outputCombo.GetEditText();
    if (!PathIsDirectoryW(folder)) {
        ShowMessage(L"Folder doesn't exist!");
        return;
    }
    OpenFolderWithExplorer(folder);
}

void CTalvenaDlg::OpenFolderWithExplorer(const CString& folder)
{
    CString parameters;
    parameters.Format(L"%s", folder.GetString());
    ShellExecuteW(m_hWnd, nullptr, L"explorer.exe", parameters, nullptr, SW_SHOWNORMAL);
}

void CTalvenaDlg::OnAutoPlay()
{
    m_autoPlay = !m_autoPlay;
}

void CTalvenaDlg::OnAutoOpen()
{
    m_autoOpen = !m_autoOpen;
}

void CTalvenaDlg::OnShutdownWhenDone()
{
    m_shutdown = !m_shutdown;
}

void CTalvenaDlg::OnSelectAll()
{
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}

void CTalvenaDlg::OnMinimizeRestore()
{
    if (IsIconic())
        ShowWindow(SW_RESTORE);
    else
        ShowWindow(SW_MINIMIZE);
}

void CTalvenaDlg::OnAbout()
{
    CAboutDlg about(this);
    about.m_info.version = kProgramVersion;
    about.m_info.homePage = MakerPageUrl(L"");
    about.m_info.email = kSupportAddress;
    about.m_info.emailCommand = ID_EMAIL_US;
    if (g_pAppPaths) {
        about.m_info.titleFont = static_cast<HFONT>(g_pAppPaths->m_fontLargeBold);
        about.m_info.linkFont = static_cast<HFONT>(g_pAppPaths->m_fontUnderline);
    }
    about.DoModal();
}

// The first selected row's item, unless it is the one being converted (the run writes it).
CConvertListItem* CTalvenaDlg::SelectedIdleItem() const
{
    const int row = m_list.GetFirstSelected();
    if (row < 0 || (IsConverting() && row == g_nConvertRow))
        return nullptr;
    return GetItem(row);
}

void CTalvenaDlg::OnAdvancedOptions()
{
    if (CConvertListItem* item = SelectedIdleItem()) {
        CAdvancedOptionsDlg dialog(item, this);
        dialog.DoModal();
    }
}

void CTalvenaDlg::OnMediaInfo()
{
    if (const CConvertListItem* item = SelectedIdleItem()) {
        CMediaInfoDlg dialog(item, this);
        dialog.DoModal();
    }
}

bool CTalvenaDlg::IsRowSelected(int row) const
{
    return (m_list.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

DialogCommandState CTalvenaDlg::GetCommandState() const
{
    DialogCommandState s;
    s.converting = IsConverting();
    s.rows = m_list.GetItemCount();
    const int current = g_nConvertRow;
    int first = -1;
    for (int row = 0; row < s.rows; ++row) {
        const CConvertListItem* item = GetItem(row);
        const bool completed = item && item->m_state == JOB_COMPLETED;
        s.anyCompleted = s.anyCompleted || completed;
        if (!IsRowSelected(row))
            continue;
        ++s.selected;
        if (first < 0) {
            first = row;
            s.firstSelectedCompleted = completed;
            s.firstSelectedIsCurrent = s.converting && row == current;
        }
        s.selectedOtherThanCurrent = s.selectedOtherThanCurrent || IsRowRemovable(row, current, s.converting);
    }
    s.sameAsInput = m_sameAsInput != 0;
    s.hasFormat = m_currentFormat != nullptr;
    s.outputFolderEmpty = m_outputCombo.GetEditText().IsEmpty();
    return s;
}

void CTalvenaDlg::OnUpdateRule(CCmdUI* cmdUI)
{
    const CommandRule rule = GetCommandRule(cmdUI->m_nID, GetCommandState());
    if (rule != CommandRule::NotRuled)
        cmdUI->Enable(rule == CommandRule::Enabled);
    else if (cmdUI->m_nID >= 0x8000)
        // A menu or toolbar command the table does not rule: enabled when the dialog or the
        // application handles it (the dialog's own controls keep what the run gave them).
        cmdUI->Enable(OnCmdMsg(cmdUI->m_nID, CN_COMMAND, nullptr, true));
}

void CTalvenaDlg::OnUpdateAutoPlay(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(m_autoPlay ? 1 : 0);
}

void CTalvenaDlg::OnUpdateAutoOpen(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(m_autoOpen ? 1 : 0);
}

void CTalvenaDlg::OnUpdateShutdown(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(m_shutdown ? 1 : 0);
}

LRESULT CTalvenaDlg::OnIdleUpdate(WPARAM, LPARAM)
{
    UpdateDialogControls(this, FALSE);
    m_listToolBar.UpdateButtons(this, TRUE);
    m_menuToolBar.UpdateButtons(this, TRUE);
    return 0;
}
