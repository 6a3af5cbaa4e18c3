// The main dialog's conversion run: starting and stopping it, closing during it, the loop the
// conversion thread runs over the rows, the activity line, the actions at its end, and the
// status of the row being converted.

#include "TalvenaDlg.h"

#include <algorithm>
#include <memory>
#include <shlwapi.h>

#include "AppGlobals.h"
#include "AppSettings.h"
#include "CWinApp.h"
#include "ConvertJob.h"
#include "ConvertListItem.h"
#include "ITunes.h"
#include "JobStates.h"
#include "MediaConvertThread.h"
#include "MediaFormatting.h"
#include "SysHelpers.h"
#include "TalvenaDlgHelpers.h"
#include "TalvenaRes.h"

namespace {

constexpr UINT kActivityPeriodMs = 100;

// Controls that keep still while a run goes on.
const int kRunLockedControls[] = {IDC_FORMAT, IDC_PRESET, IDC_ADVANCED, IDC_OUTPUT_FOLDER, IDC_BROWSE, IDC_SAME_AS_INPUT};

// The system's words for an error code.
CString SystemErrorText(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    CString result = length && text ? CString(text) : CString();
    LocalFree(text);
    result.Trim();
    if (result.IsEmpty())
        result.Format(L"Error %u.", static_cast<unsigned>(error));
    return result;
}

} // namespace

void CTalvenaDlg::OnConvert()
{
    if (m_list.GetItemCount() == 0)
        return;
    m_convertButton.EnableWindow(FALSE);
    StartConversion();
    m_convertButton.EnableWindow(TRUE);
}

void CTalvenaDlg::OnConvertMenu()
{
    SendMessage(WM_COMMAND, IDC_CONVERT);
}

void CTalvenaDlg::OnStopMenu()
{
    SendMessage(WM_COMMAND, IDC_STOP);
}

BOOL CTalvenaDlg::BeginConvertThread(CMyMediaConvertThread* thread)
{
    return thread->CreateThread(CREATE_SUSPENDED);
}

int CTalvenaDlg::StartConversion()
{
    if (m_thread)
        return 1;
    UpdateData(TRUE);
    if (!m_sameAsInput) {
        if (m_outputFolder.IsEmpty()) {
            ShowMessage(L"You must select an output folder!");
            return -1;
        }
        if (!CreateDirectoryTree(m_outputFolder)) {
            CString text;
            text.Format(L"Cannot find or create folder:\n%s", m_outputFolder.GetString());
            ShowMessage(text);
            return -1;
        }
    }
    SetBusy(true);
    m_runPastRows = false;
    auto thread = std::make_unique<CMyMediaConvertThread>(this, this);
    if (!BeginConvertThread(thread.get())) {
        // Back to where the user was, and why nothing happens.
        const DWORD error = GetLastError();
        thread.reset();
        SetBusy(false);
        CString text;
        text.Format(L"The conversion cannot be started:\n%s", SystemErrorText(error).GetString());
        ShowMessage(text);
        return -1;
    }
    m_thread = thread.release();
    m_list.SetIndeterminate(1);
    // The activity line moves on this window's own timer, never one set by the worker.
    SetTimer(kActivityTimer, kActivityPeriodMs);
    m_thread->SetThreadPriority(THREAD_PRIORITY_NORMAL);
    m_thread->ResumeThread();
    return 0;
}

void CTalvenaDlg::OnStop()
{
    m_stopButton.EnableWindow(FALSE);
    m_stopButton.SetWindowText(L"Stopping");
    StopConversion();
    m_stopButton.SetWindowText(L"Stop");
    m_stopButton.EnableWindow(TRUE);
}

int CTalvenaDlg::StopConversion()
{
    if (!m_thread || m_stopping)
        return 1;
    // Returns once the finished message has been handled, which deleted the thread. Messages
    // are handled meanwhile: a second stop must not wait for a second end that never comes.
    m_stopping = true;
    m_thread->Stop();
    m_stopping = false;
    if (m_closeAfterStop) {
        m_closeAfterStop = false;
        CFrameDlg::OnCancel();
    }
    return 0;
}

// No OK button here: Enter in a field must not end the window (least of all during a run).
void CTalvenaDlg::OnOK()
{
}

bool CTalvenaDlg::RunHasWorkLeft() const
{
    // The row before the flag: the run sets the flag before the row goes back to -1, so a -1
    // with the flag clear is a run that has not taken its first row yet.
    const int current = g_nConvertRow;
    if (!IsConverting() || m_runPastRows)
        return false;
    for (int row = std::max(current, 0); row < m_list.GetItemCount(); ++row) {
        const CConvertListItem* item = GetItem(row);
        if (item && !item->m_sourceFailure && (row != current || item->m_state < JOB_COMPLETED))
            return true;
    }
    return false;
}

bool CTalvenaDlg::ConfirmCloseDuringRun()
{
    if (!RunHasWorkLeft())
        return true;
    const int answer = ::MessageBoxW(m_hWnd, L"Converting is in progress. Stop converting and close this window?",
                                     FwGetApp() ? FwGetApp()->m_strAppName.GetString() : L"",
                                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    return answer == IDYES && IsConverting() ? StopConversion() >= 0 : answer == IDYES;
}

void CTalvenaDlg::OnCancel()
{
    if (m_stopping) {
        m_closeAfterStop = true;   // the run is being stopped already: close once it has ended
        return;
    }
    if (!ConfirmCloseDuringRun())
        return;
    StopConversion();
    CFrameDlg::OnCancel();
}

// The close box and WM_CLOSE are the Close button, at once: the dialog's default would only post
// the button's command, so a run would go on until the message came round.
void CTalvenaDlg::OnClose()
{
    OnCancel();
}

void CTalvenaDlg::SetBusy(bool busy)
{
    for (int id : kRunLockedControls)
        GetDlgItem(id)->EnableWindow(!busy);
    if (!busy) {
        GetDlgItem(IDC_OUTPUT_FOLDER)->EnableWindow(!m_sameAsInput);
        GetDlgItem(IDC_BROWSE)->EnableWindow(!m_sameAsInput);
        m_presetCombo.EnableWindow(m_currentFormat != nullptr);
    }
    m_convertButton.ShowWindow(busy ? SW_HIDE : SW_SHOW);
    m_stopButton.ShowWindow(busy ? SW_SHOW : SW_HIDE);
    // During a run Enter has no default button to press (IDOK does nothing here).
    SetDefID(busy ? IDOK : IDC_CONVERT);
    GotoDlgCtrl(busy ? &m_stopButton : &m_convertButton);
}

int CTalvenaDlg::ConvertAll(CStopFlag* stop)
{
    g_nConvertRow = 0;
    for (int row = 0; row < m_list.GetItemCount() && stop->load() == 0; row = ++g_nConvertRow) {
        m_list.EnsureVisible(row, FALSE);
        CConvertListItem* item = GetItem(row);
        if (!item || item->m_sourceFailure)
            continue;
        item->Reset(0);
        item->m_settings.m_options = m_sameAsInput ? CONVERT_SAME_FOLDER : 0;
        item->m_settings.m_outputFolder = m_outputFolder;
        item->m_settings.m_preset = m_currentPreset;
        m_list.SetProgress(0, 100);
        m_list.SetBusy(1);
        m_list.RedrawItems(row, row);
        RunConvertJob(item, this, m_hWnd, stop);
        m_list.SetBusy(0);
        m_list.SetProgress(0, -1);
        m_list.RedrawItems(row, row);
        SendMessage(WM_CONVERT_ROW_DONE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(item));
    }
    m_runPastRows = true;
    g_nConvertRow = -1;
    // Where there is no iTunes its box is hidden: a choice stored elsewhere fails quietly.
    m_iTunesFailed = m_addToITunes && AddCompletedToITunes(RowItems(false)) != 0 && HasITunes();
    return stop->load() != 0 ? 1 : 0;
}

void CTalvenaDlg::OnTimer(UINT_PTR id)
{
    if (id != kActivityTimer) {
        Default();
        return;
    }
    const int row = g_nConvertRow;
    if (row < 0 || !m_list.IsBusy())
        return;
    int64_t value = m_list.GetProgressValue() + 2;
    if (value > 100)
        value = 0;
    m_list.SetProgress(value, 100);
    m_list.RedrawItems(row, row);
}

LRESULT CTalvenaDlg::OnRowDone(WPARAM, LPARAM)
{
    return m_closing;
}

LRESULT CTalvenaDlg::OnConvertFinished(WPARAM, LPARAM)
{
    KillTimer(kActivityTimer);
    if (m_thread) {
        WaitForSingleObject(m_thread->m_hThread, INFINITE);
        delete m_thread;
        m_thread = nullptr;
    }
    if (m_closing)
        return 0;
    SetBusy(false);
    if (m_iTunesFailed.exchange(false))
        ShowMessage(kITunesUnavailableText);
    // The folder box shows the history again when it next drops down.
    if (!m_sameAsInput && !m_outputFolder.IsEmpty() && g_pAppSettings)
        g_pAppSettings->m_recentFolders.Add(m_outputFolder);
    const FinishActions actions = GetFinishActions(m_shutdown != 0, m_autoPlay != 0, m_autoOpen != 0, m_closeWhenDone != 0);
    if (actions.shutdownFlags) {
        ShutdownSystem(actions.shutdownFlags);
        return 0;
    }
    if (actions.playOutputs)
        PlayOutputs(false);
    if (actions.openOutputFolder && PathIsDirectoryW(m_outputFolder))
        OpenFolderWithExplorer(m_outputFolder);
    if (actions.closeWindow)
        CloseWhenDone();
    return 0;
}

bool CTalvenaDlg::AllRowsCompleted() const
{
    const int rows = m_list.GetItemCount();
    for (int row = 0; row < rows; ++row) {
        const CConvertListItem* item = GetItem(row);
        if (!item || item->m_state != JOB_COMPLETED)
            return false;
    }
    return rows > 0;
}

void CTalvenaDlg::CloseWhenDone()
{
    m_exitCode = AllRowsCompleted() ? 0 : 1;
    PostMessage(WM_CLOSE);
}

void CTalvenaDlg::SetRowText(int column, const CString& text)
{
    const int row = g_nConvertRow;
    if (row >= 0)
        m_list.SetItemText(row, column, text);
}

void CTalvenaDlg::SetStateImage(int image)
{
    const int row = g_nConvertRow;
    if (row >= 0)
        m_list.SetItemState(row, static_cast<UINT>(image) << 12, LVIS_STATEIMAGEMASK);
}

void CTalvenaDlg::SetTextColor(COLORREF colour)
{
    if (g_nConvertRow >= 0)
        m_list.SetCurrentRowColour(colour);
}

void CTalvenaDlg::SetOutputText(const CString& text)
{
    SetRowText(JOB_COLUMN_OUTPUT, text);
}

void CTalvenaDlg::SetSizes(int64_t, int64_t outputBytes)
{
    const int row = g_nConvertRow;
    if (row < 0 || outputBytes < 0)
        return;
    if (CConvertListItem* item = GetItem(row))
        item->SetOutputText(CConvertListItem::TEXT_SIZE, FormatKilobytes(outputBytes));
    m_list.RedrawCell(row, JOB_COLUMN_OUTPUT);
}

void CTalvenaDlg::SetTimes(int64_t, int64_t outputMicroseconds)
{
    const int row = g_nConvertRow;
    if (row < 0 || outputMicroseconds < 0)
        return;
    if (CConvertListItem* item = GetItem(row))
        item->SetOutputText(CConvertListItem::TEXT_DURATION, FormatDuration64(outputMicroseconds, false, false, false));
    m_list.RedrawCell(row, JOB_COLUMN_OUTPUT);
}

void CTalvenaDlg::SetStatusText(const CString& text)
{
    SetRowText(JOB_COLUMN_STATUS, text);
}
