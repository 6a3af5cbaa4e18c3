#include "TalvenaDlg.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "AppFormatCatalog.h"
#include "AppGlobals.h"
#include "AppPaths.h"
#include "AppSettings.h"
#include "CSync.h"
#include "CFileFind.h"
#include "ConvertJob.h"
#include "CWinApp.h"
#include "ConvertListItem.h"
#include "ConverterPaths.h"
#include "EncoderCallback.h"
#include "FileFilter.h"
#include "FileShell.h"
#include "InputLists.h"
#include "JobStates.h"
#include "MediaConvertThread.h"
#include "MediaFormatting.h"
#include "MessageFilter.h"
#include "SysHelpers.h"
#include "TalvenaCommandLine.h"
#include "UpdateCheck.h"
#include "TalvenaRes.h"

namespace {

enum Column { COLUMN_STATE, COLUMN_INPUT, COLUMN_OUTPUT, COLUMN_STATUS };

// Controls that keep still while a run goes on.
const int kRunLockedControls[] = {IDC_FORMAT, IDC_PRESET, IDC_OUTPUT_FOLDER, IDC_SAME_AS_INPUT};

bool IsGroupEntry(const CMediaCatalogItem* entry)
{
    return entry && (entry->m_flags & MEDIA_ITEM_GROUP) != 0;
}

bool IsShown(const CMediaCatalogItem& entry)
{
    return (entry.m_flags & MEDIA_ITEM_HIDDEN) == 0;
}


void ShowMessage(HWND owner, const wchar_t* text)
{
    ::MessageBoxW(owner, text, FwGetApp() ? FwGetApp()->m_strAppName.GetString() : L"", MB_OK);
}

int ClampIndex(int index, int count)
{
    return index >= 0 && index < count ? index : 0;
}

} // namespace

FW_BEGIN_MESSAGE_MAP(CTalvenaDlg, CDialog)
    FwOnCommand(IDC_CONVERT, &ThisClass::OnConvert),
    FwOnCommand(IDC_STOP, &ThisClass::OnStop),
    FwOnCommand(IDC_SAME_AS_INPUT, &ThisClass::OnSameAsInput),
    FwOnCommand(IDC_CLOSE_WHEN_DONE, &ThisClass::OnCloseWhenDone),
    FwOnControl(CBN_SELCHANGE, IDC_FORMAT, &ThisClass::OnFormatChanged),
    FwOnControl(CBN_SELCHANGE, IDC_PRESET, &ThisClass::OnPresetChanged),
    FwOnPlain(WM_DESTROY, &ThisClass::OnDestroy),
    FwOnMessage(WM_CONVERT_FINISHED, &ThisClass::OnConvertFinished),
    FwOnMessage(WM_CONVERT_ROW_DONE, &ThisClass::OnRowDone),
    FwOnMessage(WM_CHECK_UPDATE, &ThisClass::OnCheckUpdate),
FW_END_MESSAGE_MAP()

CTalvenaDlg::CTalvenaDlg(CTalvenaCommandLine* commandLine, CWnd* parent)
    : CDialog(IDD_TALVENA_DIALOG, parent), m_commandLine(commandLine)
{
    if (CAppSettings* settings = g_pAppSettings) {
        m_closeWhenDone = settings->m_autoClose;
        m_autoPlay = settings->m_autoPlay;
        m_autoOpen = settings->m_autoOpen;
        m_alwaysOnTop = settings->m_alwaysOnTop;
        m_sameAsInput = settings->m_sameAsInput;
        m_addToITunes = settings->m_addToITunes;
        m_autoStart = settings->m_autoStart;
        m_currentPreset = settings->m_preset;
        m_currentFormat = m_currentPreset ? m_currentPreset->m_format : nullptr;
    }
    if (m_commandLine)
        m_outputFolder = m_commandLine->m_outputFolder;
}

CTalvenaDlg::~CTalvenaDlg()
{
    if (CAppSettings* settings = g_pAppSettings) {
        settings->m_autoClose = m_closeWhenDone;
        settings->m_autoPlay = m_autoPlay;
        settings->m_autoOpen = m_autoOpen;
        settings->m_alwaysOnTop = m_alwaysOnTop;
        settings->m_sameAsInput = m_sameAsInput;
        settings->m_addToITunes = m_addToITunes;
        settings->m_preset = m_currentPreset;
    }
}

void CTalvenaDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_JOB_LIST, m_list);
    DDX_Control(dx, IDC_FORMAT, m_formatCombo);
    DDX_Control(dx, IDC_PRESET, m_presetCombo);
    DDX_Control(dx, IDC_OUTPUT_FOLDER, m_outputCombo);
    DDX_Text(dx, IDC_OUTPUT_FOLDER, m_outputFolder);
    DDX_Check(dx, IDC_CLOSE_WHEN_DONE, m_closeWhenDone);
    DDX_Check(dx, IDC_SAME_AS_INPUT, m_sameAsInput);
    DDX_Check(dx, IDC_ADD_TO_ITUNES, m_addToITunes);
}

BOOL CTalvenaDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const HICON large = FwGetApp() ? FwGetApp()->LoadIcon(IDR_MAINFRAME) : nullptr;
    if (large)
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
    if (g_pAppPaths)
        g_pAppPaths->CreateFonts(GetFont());
    AllowCopyDataMessages();

    if (!g_pAppPaths || !g_pAppPaths->m_iTunes)
        GetDlgItem(IDC_ADD_TO_ITUNES)->ShowWindow(SW_HIDE);
    if (g_pAppPaths)
        GetDlgItem(IDC_CONVERT)->SetFont(static_cast<HFONT>(g_pAppPaths->m_fontBold));

    InitOutputFolder();
    FillFormatCombo();
    SelectFormat(ClampIndex(m_formatIndex, m_formatCombo.GetCount()));
    SetBusy(false);

    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER);
    CRect client;
    ::GetClientRect(m_list.m_hWnd, &client);
    m_list.InsertColumn(COLUMN_STATE, L"", LVCFMT_LEFT, 36);
    m_list.InsertColumn(COLUMN_INPUT, L"Input", LVCFMT_LEFT, 354);
    m_list.InsertColumn(COLUMN_OUTPUT, L"Output", LVCFMT_LEFT, 354);
    const int statusWidth = client.Width() - GetSystemMetrics(SM_CXVSCROLL) - 746;
    m_list.InsertColumn(COLUMN_STATUS, L"Status", LVCFMT_LEFT, statusWidth > 100 ? statusWidth : 100);

    if (m_commandLine && m_commandLine->m_sources.GetSize() > 0) {
        AddFiles(m_commandLine->m_sources, m_commandLine->m_scanSubfolders);
        m_commandLine->m_sources.RemoveAll();
        // Unattended, a list with nothing in it must still end the program.
        if (m_autoStart && m_list.GetItemCount() == 0 && m_closeWhenDone)
            CloseWhenDone();
        else if (m_autoStart && (m_sameAsInput || !m_outputFolder.IsEmpty()))
            PostMessage(WM_COMMAND, IDC_CONVERT);
    }
    if (g_pAppSettings && g_pAppSettings->m_autoCheckUpdate)
        PostMessage(WM_CHECK_UPDATE, 0, 1);
    return TRUE;
}

void CTalvenaDlg::InitOutputFolder()
{
    CRecentList* history = g_pAppSettings ? &g_pAppSettings->m_recentFolders : nullptr;
    if (history)
        for (int i = 0; i < history->GetCount(); ++i)
            m_outputCombo.AddString(history->GetAt(i));
    if (m_outputFolder.IsEmpty())
        m_outputFolder = history && history->GetCount() > 0 ? history->GetAt(0) : GetMyVideosFolder(false);
    m_outputCombo.SetWindowText(m_outputFolder);
    GetDlgItem(IDC_OUTPUT_FOLDER)->EnableWindow(!m_sameAsInput);
}

void CTalvenaDlg::FillFormatCombo()
{
    m_formatCombo.ResetContent();
    if (!g_pFormatCatalog)
        return;
    for (const auto& group : g_pFormatCatalog->m_groups) {
        if (!IsShown(*group))
            continue;
        bool anyShown = false;
        for (const auto& format : group->m_formats)
            anyShown = anyShown || IsShown(*format);
        if (!anyShown)
            continue;
        m_formatCombo.SetItemDataPtr(m_formatCombo.AddString(group->m_name), group.get());
        for (const auto& format : group->m_formats) {
            if (!IsShown(*format))
                continue;
            const int index = m_formatCombo.AddString(L"    " + format->m_name);
            m_formatCombo.SetItemDataPtr(index, format.get());
            if (format.get() == m_currentFormat)
                m_formatIndex = index;
        }
    }
}

void CTalvenaDlg::SelectFormat(int index)
{
    const int count = m_formatCombo.GetCount();
    auto entryAt = [&](int i) { return static_cast<CMediaCatalogItem*>(m_formatCombo.GetItemDataPtr(i)); };
    while (index + 1 < count && IsGroupEntry(entryAt(index)))
        ++index;
    m_formatCombo.SetCurSel(index);
    CMediaCatalogItem* entry = index >= 0 && index < count ? entryAt(index) : nullptr;
    const bool isFormat = entry && !IsGroupEntry(entry);
    if (isFormat && static_cast<CMediaFormatInfo*>(entry) != m_currentFormat) {
        m_currentFormat = static_cast<CMediaFormatInfo*>(entry);
        const auto chosen = m_chosenPresets.find(m_currentFormat);
        m_presetIndex = chosen != m_chosenPresets.end() ? chosen->second : m_currentFormat->m_defaultPreset;
        m_currentPreset = nullptr;
    } else if (!isFormat) {
        m_currentFormat = nullptr;
    }
    m_presetCombo.EnableWindow(isFormat && !IsConverting());
    m_formatIndex = index;
    FillPresetCombo();
    SelectPreset(ClampIndex(m_presetIndex, m_presetCombo.GetCount()));
}

void CTalvenaDlg::FillPresetCombo()
{
    m_presetCombo.ResetContent();
    if (!m_currentFormat)
        return;
    for (const auto& preset : m_currentFormat->m_presets) {
        CString text;
        preset->GetListText(text, false);
        const int index = m_presetCombo.AddString(text);
        m_presetCombo.SetItemDataPtr(index, preset.get());
        if (preset.get() == m_currentPreset)
            m_presetIndex = index;
    }
    m_currentFormat->m_customPresetPos = -1;
    if (CMediaPreset* custom = m_currentFormat->m_customPreset.get()) {
        const int index = m_presetCombo.AddString(L"Custom");
        m_presetCombo.SetItemDataPtr(index, custom);
        m_currentFormat->m_customPresetPos = index;
        if (custom == m_currentPreset)
            m_presetIndex = index;
    }
}

void CTalvenaDlg::SelectPreset(int index)
{
    if (index < 0 || index >= m_presetCombo.GetCount()) {
        m_currentPreset = nullptr;
        return;
    }
    m_presetCombo.SetCurSel(index);
    m_presetIndex = index;
    m_currentPreset = static_cast<CMediaPreset*>(m_presetCombo.GetItemDataPtr(index));
}

void CTalvenaDlg::OnFormatChanged()
{
    if (m_currentFormat)
        m_chosenPresets[m_currentFormat] = m_presetIndex;
    const int index = m_formatCombo.GetCurSel();
    if (index >= 0 && index != m_formatIndex)
        SelectFormat(index);
}

void CTalvenaDlg::OnPresetChanged()
{
    const int index = m_presetCombo.GetCurSel();
    if (index >= 0 && index != m_presetIndex)
        SelectPreset(index);
}

void CTalvenaDlg::OnSameAsInput()
{
    m_sameAsInput = IsDlgButtonChecked(IDC_SAME_AS_INPUT) == BST_CHECKED;
    GetDlgItem(IDC_OUTPUT_FOLDER)->EnableWindow(!m_sameAsInput && !IsConverting());
}

void CTalvenaDlg::OnCloseWhenDone()
{
    m_closeWhenDone = IsDlgButtonChecked(IDC_CLOSE_WHEN_DONE) == BST_CHECKED;
}

void CTalvenaDlg::SetBusy(bool busy)
{
    for (int id : kRunLockedControls)
        GetDlgItem(id)->EnableWindow(!busy);
    if (!busy) {
        GetDlgItem(IDC_OUTPUT_FOLDER)->EnableWindow(!m_sameAsInput);
        m_presetCombo.EnableWindow(m_currentFormat != nullptr);
    }
    CWnd* convert = GetDlgItem(IDC_CONVERT);
    CWnd* stop = GetDlgItem(IDC_STOP);
    convert->ShowWindow(busy ? SW_HIDE : SW_SHOW);
    stop->ShowWindow(busy ? SW_SHOW : SW_HIDE);
    SetDefID(busy ? IDC_STOP : IDC_CONVERT);
    GotoDlgCtrl(busy ? stop : convert);
}

int CTalvenaDlg::AddFile(const CString& path, bool named)
{
    const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    auto item = std::make_unique<CConvertListItem>();
    const bool isSource = item->SetSource(path) == 0;
    const int row = isSource || named ? m_list.InsertItem(m_list.GetItemCount(), L"") : -1;
    if (row >= 0) {
        // The row owns the item from here on.
        CConvertListItem& added = *item.release();
        m_list.SetItemData(row, reinterpret_cast<DWORD_PTR>(&added));
        m_list.SetItemState(row, 0xF000, LVIS_STATEIMAGEMASK);
        m_list.SetItemText(row, COLUMN_INPUT, GetFileNamePart(path));
        if (!isSource)
            ShowSourceFailure(row, added);
        m_list.EnsureVisible(row, FALSE);
    }
    SetCursor(previous);
    return isSource ? row : -1;
}

void CTalvenaDlg::ShowSourceFailure(int row, const CConvertListItem& item)
{
    const JobStateLook look = GetJobStateLook(item.m_sourceFailure);
    m_list.SetItemState(row, static_cast<UINT>(look.image) << 12, LVIS_STATEIMAGEMASK);
    m_list.SetItemText(row, COLUMN_STATUS, look.text);
}

void CTalvenaDlg::AddPath(const CString& path, bool named)
{
    if (!IsInputListFile(path)) {
        AddFile(path, named);
        return;
    }
    CPlaylistFile* list = CreatePlaylistFile(path);
    if (list && list->Load(path) > 0)
        for (int i = 0; i < list->m_entries.GetSize(); ++i)
            AddFile(list->m_entries[i], false);
    delete list;
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

CConvertListItem* CTalvenaDlg::GetItem(int row) const
{
    return reinterpret_cast<CConvertListItem*>(m_list.GetItemData(row));
}

void CTalvenaDlg::OnConvert()
{
    if (m_list.GetItemCount() == 0)
        return;
    CWnd* convert = GetDlgItem(IDC_CONVERT);
    convert->EnableWindow(FALSE);
    StartConversion();
    convert->EnableWindow(TRUE);
}

int CTalvenaDlg::StartConversion()
{
    if (m_thread)
        return 1;
    UpdateData(TRUE);
    if (!m_sameAsInput) {
        if (m_outputFolder.IsEmpty()) {
            ShowMessage(m_hWnd, L"You must select an output folder!");
            return -1;
        }
        if (!CreateDirectoryTree(m_outputFolder)) {
            CString text;
            text.Format(L"Cannot find or create folder:\n%s", m_outputFolder.GetString());
            ShowMessage(m_hWnd, text);
            return -1;
        }
    }
    SetBusy(true);
    m_thread = new CMyMediaConvertThread(this, this);
    if (!m_thread->CreateThread(CREATE_SUSPENDED)) {
        delete m_thread;
        m_thread = nullptr;
        SetBusy(false);
        return 0;
    }
    m_thread->SetThreadPriority(THREAD_PRIORITY_NORMAL);
    m_thread->ResumeThread();
    return 0;
}

void CTalvenaDlg::OnStop()
{
    CWnd* stop = GetDlgItem(IDC_STOP);
    stop->EnableWindow(FALSE);
    stop->SetWindowText(L"Stopping");
    StopConversion();
    stop->SetWindowText(L"Stop");
    stop->EnableWindow(TRUE);
}

int CTalvenaDlg::StopConversion()
{
    if (!m_thread)
        return 1;
    // Returns once the finished message has been handled, which deleted the thread.
    m_thread->Stop();
    return 0;
}

void CTalvenaDlg::OnOK()
{
    StopConversion();
    CDialog::OnOK();
}

void CTalvenaDlg::OnCancel()
{
    StopConversion();
    CDialog::OnCancel();
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
        RunConvertJob(item, this, m_hWnd, stop);
        SendMessage(WM_CONVERT_ROW_DONE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(item));
    }
    g_nConvertRow = -1;
    return stop->load() != 0 ? 1 : 0;
}

LRESULT CTalvenaDlg::OnRowDone(WPARAM, LPARAM)
{
    return m_closing;
}

LRESULT CTalvenaDlg::OnConvertFinished(WPARAM, LPARAM)
{
    if (m_thread) {
        WaitForSingleObject(m_thread->m_hThread, INFINITE);
        delete m_thread;
        m_thread = nullptr;
    }
    if (m_closing)
        return 0;
    SetBusy(false);
    if (!m_sameAsInput && !m_outputFolder.IsEmpty() && g_pAppSettings) {
        g_pAppSettings->m_recentFolders.Add(m_outputFolder);
        if (m_outputCombo.FindStringExact(-1, m_outputFolder) < 0)
            m_outputCombo.InsertString(0, m_outputFolder);
    }
    if (m_shutdown) {
        ShutdownSystem(EWX_POWEROFF | EWX_FORCE);
        return 0;
    }
    if (m_autoPlay) {
        const CString outputs = CompletedOutputs();
        if (!outputs.IsEmpty())
            ShellExecuteW(m_hWnd, L"open", outputs, nullptr, nullptr, SW_SHOWNORMAL);
    }
    if (m_autoOpen && !m_outputFolder.IsEmpty() && PathExists(m_outputFolder))
        ShellExecuteW(m_hWnd, nullptr, L"explorer.exe", m_outputFolder, nullptr, SW_SHOWNORMAL);
    if (m_closeWhenDone)
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

CString CTalvenaDlg::CompletedOutputs() const
{
    CString list;
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        const CConvertListItem* item = GetItem(row);
        if (!item || item->m_state != JOB_COMPLETED || !PathExists(item->m_outputPath))
            continue;
        if (!list.IsEmpty())
            list += L' ';
        list += L"\"" + item->m_outputPath + L"\"";
    }
    return list;
}

LRESULT CTalvenaDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data && data->dwData == kEncoderMessageId && data->cbData == kEncoderMessageSize)
            return OnEncoderCopyData(data);
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CTalvenaDlg::OnDestroy()
{
    m_closing = 1;
    if (g_pListLock)
        g_pListLock->Lock();
    for (int row = m_list.GetItemCount() - 1; row >= 0; --row) {
        delete GetItem(row);
        m_list.DeleteItem(row);
    }
    if (g_pListLock)
        g_pListLock->Unlock();
    Default();
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

void CTalvenaDlg::SetOutputText(const CString& text)
{
    SetRowText(COLUMN_OUTPUT, text);
}

void CTalvenaDlg::SetSizes(int64_t, int64_t outputBytes)
{
    const int row = g_nConvertRow;
    if (row < 0 || outputBytes < 0)
        return;
    if (CConvertListItem* item = GetItem(row))
        item->SetOutputText(CConvertListItem::TEXT_SIZE, FormatKilobytes(outputBytes));
    m_list.RedrawItems(row, row);
}

void CTalvenaDlg::SetTimes(int64_t, int64_t outputMicroseconds)
{
    const int row = g_nConvertRow;
    if (row < 0 || outputMicroseconds < 0)
        return;
    if (CConvertListItem* item = GetItem(row))
        item->SetOutputText(CConvertListItem::TEXT_DURATION, FormatDuration64(outputMicroseconds, false, false, false));
    m_list.RedrawItems(row, row);
}

void CTalvenaDlg::SetStatusText(const CString& text)
{
    SetRowText(COLUMN_STATUS, text);
}

LRESULT CTalvenaDlg::OnCheckUpdate(WPARAM wParam, LPARAM lParam)
{
    if (wParam == 0)
        TalvenaCheckForUpdates(lParam != 0);
    return 0;
}
