// What the main dialog does with the rows' files: playing, copying and handing over the
// outputs, playing the inputs, and showing either in its folder.

#include "TalvenaDlg.h"

#include <shellapi.h>
#include <shlobj.h>
#include <vector>

#include "ConvertListItem.h"
#include "ConverterPaths.h"
#include "FileShell.h"
#include "FolderBrowser.h"
#include "ITunes.h"
#include "PathLists.h"
#include "TalvenaApp.h"

namespace {

// The "|"-separated list that the shell's copy takes: each path followed by "|", then one more.
CString ShellCopyList(const CStringArray& paths)
{
    CString list;
    for (int i = 0; i < paths.GetSize(); ++i)
        list += paths[i] + L"|";
    return list + L"|";
}

} // namespace

std::vector<const CConvertItem*> CTalvenaDlg::RowItems(bool selectedOnly) const
{
    std::vector<const CConvertItem*> items;
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        if (!selectedOnly || IsRowSelected(row))
            items.push_back(GetItem(row));
    return items;
}

void CTalvenaDlg::CompletedOutputs(bool selectedOnly, CStringArray& outputs) const
{
    outputs = CompletedOutputPaths(RowItems(selectedOnly));
}

void CTalvenaDlg::ShellOpen(const CString& file)
{
    ShellExecuteW(m_hWnd, L"open", file, nullptr, nullptr, SW_SHOWNORMAL);
}

// Each output goes to the shell by itself: one quoted string of several names is no file.
void CTalvenaDlg::PlayOutputs(bool selectedOnly)
{
    CStringArray outputs;
    CompletedOutputs(selectedOnly, outputs);
    for (int i = 0; i < outputs.GetSize(); ++i)
        ShellOpen(outputs[i]);
}

void CTalvenaDlg::OnPlayOutput()
{
    PlayOutputs(true);
}

void CTalvenaDlg::OnPlayAllOutputs()
{
    PlayOutputs(false);
}

void CTalvenaDlg::CopyOutputs(bool selectedOnly)
{
    CStringArray outputs;
    CompletedOutputs(selectedOnly, outputs);
    if (outputs.GetSize() == 0)
        return;
    CFolderBrowser browser(L"Select Destination Folder", BIF_STATUSTEXT, this);
    browser.SetInitialFolder(m_outputCombo.GetEditText());
    if (browser.DoModal() == IDOK)
        CopyFilesTo(ShellCopyList(outputs), browser.GetFolder(), true, FOF_ALLOWUNDO, m_hWnd);
}

void CTalvenaDlg::OnCopyOutput()
{
    CopyOutputs(true);
}

void CTalvenaDlg::OnCopyAllOutputs()
{
    CopyOutputs(false);
}

void CTalvenaDlg::AddOutputsToITunes(bool selectedOnly)
{
    CStringArray outputs;
    CompletedOutputs(selectedOnly, outputs);
    if (outputs.GetSize() > 0 && AddFilesToITunes(outputs, FALSE) != 0)
        ShowMessage(kITunesUnavailableText);
}

void CTalvenaDlg::OnAddToITunesRow()
{
    AddOutputsToITunes(true);
}

void CTalvenaDlg::OnAddAllToITunes()
{
    AddOutputsToITunes(false);
}

void CTalvenaDlg::OnPlayInput()
{
    CStringArray inputs;
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        const CConvertListItem* item = GetItem(row);
        if (item && IsRowSelected(row) && PathExists(item->m_settings.m_source))
            inputs.Add(item->m_settings.m_source);
    }
    if (inputs.GetSize() == 0)
        return;
    const CString list = QuotePathList(inputs);
    const CString viewer = GetViewerPath();
    if (PathExists(viewer))
        ShellExecuteW(m_hWnd, nullptr, viewer, list, nullptr, SW_SHOW);
    else
        for (int i = 0; i < inputs.GetSize(); ++i)
            ShellOpen(inputs[i]);
}

void CTalvenaDlg::OnOpenInputFolder()
{
    const int row = m_list.GetFirstSelected();
    if (row >= 0)
        m_list.OpenInputFolder(row);
}

void CTalvenaDlg::OnOpenOutputFolder()
{
    const int row = m_list.GetFirstSelected();
    if (row >= 0)
        m_list.OpenOutputFolder(row);
}
