#include "TalvenaDlg.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "AboutDlg.h"
#include "AdvancedOptionsDlg.h"
#include "AppFormatCatalog.h"
#include "AppGlobals.h"
#include "AppPaths.h"
#include "AppSettings.h"
#include "CDC.h"
#include "CFileFind.h"
#include "CMenu.h"
#include "CSync.h"
#include "CWinApp.h"
#include "ConvertJob.h"
#include "ConvertListItem.h"
#include "ConverterInfo.h"
#include "ConverterPaths.h"
#include "EncoderCallback.h"
#include "FileFilter.h"
#include "FileShell.h"
#include "FolderBrowser.h"
#include "FolderDialog.h"
#include "FormatManagerDlg.h"
#include "FormatSettingsDlg.h"
#include "ITunes.h"
#include "InputLists.h"
#include "JobStates.h"
#include "MediaConvertThread.h"
#include "MediaFormatting.h"
#include "MediaInfoDlg.h"
#include "MessageFilter.h"
#include "OCFileDialog.h"
#include "PathLists.h"
#include "SysHelpers.h"
#include "TalvenaApp.h"
#include "TalvenaCommandLine.h"
#include "UpdateCheck.h"
#include "TalvenaRes.h"
#include "VisualTheme.h"

namespace {

enum Column { COLUMN_STATE, COLUMN_INPUT, COLUMN_OUTPUT, COLUMN_STATUS };
enum Popup { POPUP_MAIN, POPUP_MORE, POPUP_DIALOG, POPUP_LIST, POPUP_ROW };

constexpr UINT_PTR kActivityTimer = 3;
constexpr UINT kActivityPeriodMs = 100;
constexpr UINT kSystemAlwaysOnTop = ID_SYSTEM_ALWAYS_ON_TOP;
constexpr COLORREF kBandColour = RGB(240, 240, 240);
constexpr COLORREF kBandLineColour = RGB(224, 224, 224);
constexpr COLORREF kListLineColour = RGB(232, 232, 232);
constexpr COLORREF kMask = RGB(255, 0, 255);

// Controls that keep still while a run goes on.
const int kRunLockedControls[] = {IDC_FORMAT, IDC_PRESET, IDC_ADVANCED, IDC_OUTPUT_FOLDER, IDC_BROWSE, IDC_SAME_AS_INPUT};

bool IsGroupEntry(const CMediaCatalogItem* entry)
{
    return entry && (entry->m_flags & MEDIA_ITEM_GROUP) != 0;
}

// The folder box's text lives in its edit part.
void ExchangeEditText(CDataExchange* dx, CImageComboBox& combo, CString& value)
{
    if (dx->m_bSaveAndValidate)
        value = combo.GetEditText();
    else
        combo.SetEditText(value);
}

bool HasITunes()
{
    return g_pAppPaths && g_pAppPaths->m_iTunes;
}

int ClampIndex(int index, int count)
{
    return index >= 0 && index < count ? index : 0;
}

bool IsKeyboardMessage(const MSG* msg)
{
    return msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST;
}

// The "|"-separated list that the shell's copy takes: each path followed by "|", then one more.
CString ShellCopyList(const CStringArray& paths)
{
    CString list;
    for (int i = 0; i < paths.GetSize(); ++i)
        list += paths[i] + L"|";
    return list + L"|";
}

// The list lock of the application, when there is one (tests may run without).
class ListLockGuard {
public:
    ListLockGuard()
    {
        if (g_pListLock)
            g_pListLock->Lock();
    }
    ~ListLockGuard()
    {
        if (g_pListLock)
            g_pListLock->Unlock();
    }
    ListLockGuard(const ListLockGuard&) = delete;
    ListLockGuard& operator=(const ListLockGuard&) = delete;
};

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

FW_BEGIN_MESSAGE_MAP(CTalvenaDlg, CFrameDlg)
    FwOnCreate(&ThisClass::OnCreate),
    FwOnPlain(WM_DESTROY, &ThisClass::OnDestroy),
    FwOnPlain(WM_CLOSE, &ThisClass::OnClose),
    FwOnSize(&ThisClass::OnSize),
    FwOnEraseBkgnd(&ThisClass::OnEraseBkgnd),
    FwOnMessage(WM_CTLCOLORBTN, &ThisClass::OnCtlColor),
    FwOnMessage(WM_CTLCOLORSTATIC, &ThisClass::OnCtlColor),
    FwOnMouse(WM_LBUTTONDOWN, &ThisClass::OnLButtonDown),
    FwOnTimer(&ThisClass::OnTimer),
    FwOnContextMenu(&ThisClass::OnContextMenu),
    FwOnMessage(WM_DROPFILES, &ThisClass::OnDropFiles),
    FwOnMessage(WM_SYSCOMMAND, &ThisClass::OnSysCommand),
    FwOnMessage(WM_INITMENUPOPUP, &ThisClass::OnInitMenuPopupMessage),
    FwOnMessage(WM_IDLEUPDATECMDUI, &ThisClass::OnIdleUpdate),
    FwOnMessage(WM_QUERYENDSESSION, &ThisClass::OnQueryEndSession),
    FwOnMessage(WM_CONVERT_FINISHED, &ThisClass::OnConvertFinished),
    FwOnMessage(WM_CONVERT_ROW_DONE, &ThisClass::OnRowDone),

    FwOnCommand(IDC_CONVERT, &ThisClass::OnConvert),
    FwOnCommand(IDC_STOP, &ThisClass::OnStop),
    FwOnCommand(ID_CONVERT_MENU, &ThisClass::OnConvertMenu),
    FwOnCommand(ID_STOP_MENU, &ThisClass::OnStopMenu),
    FwOnCommand(IDC_SAME_AS_INPUT, &ThisClass::OnSameAsInput),
    FwOnCommand(IDC_CLOSE_WHEN_DONE, &ThisClass::OnCloseWhenDone),
    FwOnCommand(IDC_ADD_TO_ITUNES, &ThisClass::OnAddToITunesCheck),
    FwOnControl(CBN_SELCHANGE, IDC_FORMAT, &ThisClass::OnFormatChanged),
    FwOnControl(CBN_SELCHANGE, IDC_PRESET, &ThisClass::OnPresetChanged),
    FwOnCommand(IDC_BROWSE, &ThisClass::OnBrowse),
    FwOnCommand(IDC_OPEN_FOLDER, &ThisClass::OnOpenFolder),
    FwOnCommand(ID_ADD_GIF, &ThisClass::OnAddGif),
    FwOnCommand(ID_ADD_FOLDER, &ThisClass::OnAddFolder),
    FwOnCommand(ID_EDIT_PASTE_FILES, &ThisClass::OnPasteFiles),
    FwOnCommand(ID_REMOVE, &ThisClass::OnRemove),
    FwOnCommand(ID_REMOVE_ALL, &ThisClass::OnRemoveAll),
    FwOnCommand(ID_PLAY_OUTPUT, &ThisClass::OnPlayOutput),
    FwOnCommand(ID_PLAY_ALL_OUTPUTS, &ThisClass::OnPlayAllOutputs),
    FwOnCommand(ID_COPY_OUTPUT, &ThisClass::OnCopyOutput),
    FwOnCommand(ID_COPY_ALL_OUTPUTS, &ThisClass::OnCopyAllOutputs),
    FwOnCommand(ID_RENAME_OUTPUT, &ThisClass::OnRenameOutput),
    FwOnCommand(ID_PLAY_INPUT, &ThisClass::OnPlayInput),
    FwOnCommand(ID_OPEN_INPUT_FOLDER, &ThisClass::OnOpenInputFolder),
    FwOnCommand(ID_OPEN_OUTPUT_FOLDER, &ThisClass::OnOpenOutputFolder),
    FwOnCommand(ID_SELECT_ALL_ROWS, &ThisClass::OnSelectAll),
    FwOnCommand(ID_MINIMIZE_RESTORE, &ThisClass::OnMinimizeRestore),
    FwOnCommand(ID_AUTO_PLAY, &ThisClass::OnAutoPlay),
    FwOnCommand(ID_AUTO_OPEN, &ThisClass::OnAutoOpen),
    FwOnCommand(ID_SHUTDOWN_WHEN_DONE, &ThisClass::OnShutdownWhenDone),
    FwOnCommand(ID_APP_ABOUT, &ThisClass::OnAbout),
    FwOnCommand(IDC_ADVANCED, &ThisClass::OnAdvanced),
    FwOnCommand(ID_FORMAT_MANAGER, &ThisClass::OnFormatManager),
    FwOnCommand(ID_ADVANCED_OPTIONS, &ThisClass::OnAdvancedOptions),
    FwOnCommand(ID_MEDIA_INFO, &ThisClass::OnMediaInfo),
    FwOnCommand(ID_ADD_TO_ITUNES_ROW, &ThisClass::OnAddToITunesRow),
    FwOnCommand(ID_ADD_ALL_TO_ITUNES, &ThisClass::OnAddAllToITunes),
    FwOnMessage(WM_SYSCOLORCHANGE, &ThisClass::OnSysColorChange),

    FwOnUpdateCommand(ID_AUTO_PLAY, &ThisClass::OnUpdateAutoPlay),
    FwOnUpdateCommand(ID_AUTO_OPEN, &ThisClass::OnUpdateAutoOpen),
    FwOnUpdateCommand(ID_SHUTDOWN_WHEN_DONE, &ThisClass::OnUpdateShutdown),
    FwOnUpdateCommandRange(IDC_CONVERT, IDC_SAME_AS_INPUT, &ThisClass::OnUpdateRule),
    FwOnUpdateCommandRange(ID_ADD_GIF, ID_MEDIA_INFO, &ThisClass::OnUpdateRule),
    FwOnUpdateCommand(ID_EDIT_PASTE_FILES, &ThisClass::OnUpdateRule),
    FwOnUpdateCommand(ID_SELECT_ALL_ROWS, &ThisClass::OnUpdateRule),

    FwOnNotify(NM_DBLCLK, IDC_JOB_LIST, &ThisClass::OnListDoubleClick),
    FwOnNotify(LVN_KEYDOWN, IDC_JOB_LIST, &ThisClass::OnListKeyDown),
    FwOnNotify(NM_CLICK, IDC_JOB_LIST, &ThisClass::OnListClick),
    FwOnNotify(LVN_BEGINLABELEDITW, IDC_JOB_LIST, &ThisClass::OnListBeginLabelEdit),
    FwOnNotify(LVN_ENDLABELEDITW, IDC_JOB_LIST, &ThisClass::OnListEndLabelEdit),
    FwOnNotify(LVN_INSERTITEM, IDC_JOB_LIST, &ThisClass::OnListItemInserted),
    FwOnNotify(LVN_DELETEITEM, IDC_JOB_LIST, &ThisClass::OnListItemDeleted),
    FwOnNotifyRange(TBN_DROPDOWN, IDW_MENU_TOOLBAR, IDW_LIST_TOOLBAR, &ThisClass::OnToolbarDropDown),
    FwOnMessage(WM_CHECK_UPDATE, &ThisClass::OnCheckUpdate),
FW_END_MESSAGE_MAP()

CTalvenaDlg::CTalvenaDlg(CTalvenaCommandLine* commandLine, CWnd* parent)
    : CFrameDlg(IDD_TALVENA_DIALOG, parent), m_commandLine(commandLine)
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
    // Before the box is subclassed: its auto-completion offers folders only.
    m_outputCombo.SetMode(CPathComboBoxEx::MODE_FOLDERS);
}

CTalvenaDlg::~CTalvenaDlg()
{
    if (m_accelerators)
        DestroyAcceleratorTable(m_accelerators);
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
    DDX_Control(dx, IDC_BROWSE, m_browseButton);
    DDX_Control(dx, IDC_OPEN_FOLDER, m_openButton);
    DDX_Control(dx, IDC_ADVANCED, m_advancedButton);
    DDX_Control(dx, IDCANCEL, m_closeButton);
    DDX_Control(dx, IDC_STOP, m_stopButton);
    DDX_Control(dx, IDC_CONVERT, m_convertButton);
    DDX_Control(dx, IDC_CLOSE_WHEN_DONE, m_closeCheck);
    ExchangeEditText(dx, m_outputCombo, m_outputFolder);
    DDX_Check(dx, IDC_CLOSE_WHEN_DONE, m_closeWhenDone);
    DDX_Check(dx, IDC_SAME_AS_INPUT, m_sameAsInput);
    DDX_Check(dx, IDC_ADD_TO_ITUNES, m_addToITunes);
}

// ---- start-up -------------------------------------------------------------------------------

int CTalvenaDlg::OnCreate(LPCREATESTRUCTW create)
{
    if (CFrameDlg::OnCreate(create) == -1)
        return -1;
    if (!m_backgroundBrush.CreateSolidBrush(m_backgroundColour))
        return -1;
    if (CreateToolBars() != 0 || CreateImageLists() != 0)
        return -1;
    return 0;
}

int CTalvenaDlg::CreateToolBars()
{
    const DWORD common = WS_VISIBLE | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS;
    if (!m_menuToolBar.Create(this, common | TBSTYLE_TRANSPARENT, IDW_MENU_TOOLBAR) ||
        !m_menuToolBar.LoadToolBar(IDR_MENU_TOOLBAR) || !m_menuToolImages.Create(IDB_MENU_TOOLBAR, 32, 1, kMask))
        return -1;
    m_menuToolBar.SetImageList(m_menuToolImages);
    m_menuToolBar.SetDropDownButton(ID_MENU, FALSE);

    if (!m_listToolBar.Create(this, common | TBSTYLE_LIST | TBSTYLE_TRANSPARENT, IDW_LIST_TOOLBAR) ||
        !m_listToolBar.LoadToolBar(IDR_LIST_TOOLBAR) || !m_listToolImages.Create(IDB_LIST_TOOLBAR, 24, 1, kMask) ||
        !m_listToolDisabledImages.Create(IDB_LIST_TOOLBAR_DISABLED, 24, 1, kMask))
        return -1;
    m_listToolBar.SetImageList(m_listToolImages);
    m_listToolBar.SetDisabledImageList(m_listToolDisabledImages);
    m_listToolBar.SetExtendedStyle(TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS | TBSTYLE_EX_HIDECLIPPEDBUTTONS);
    m_listToolBar.SetButtonText(ID_ADD_GIF, L"Add GIF");
    m_listToolBar.SetButtonText(ID_ADD_FOLDER, L"Add Folder");
    m_listToolBar.SetButtonText(ID_REMOVE, L"Remove");
    m_listToolBar.SetButtonText(ID_REMOVE_ALL, L"Remove All");
    m_listToolBar.SetDropDownButton(ID_MORE, TRUE);
    return 0;
}

int CTalvenaDlg::CreateImageLists()
{
    const int rowHeight = (g_pAppSettings ? g_pAppSettings->m_thumbnailHeight : 100) + 15;
    const bool made = m_rowHeightImages.Create(16, rowHeight, ILC_COLOR24 | ILC_MASK, 0, 1) &&
                      m_stateImages.Create(IDB_JOB_STATES, 24, 1, kMask) &&
                      m_buttonSkinSmall.Create(IDB_BUTTON_SMALL, 8, 1, kMask) &&
                      m_buttonSkinLarge.Create(IDB_BUTTON_LARGE, 8, 1, kMask) &&
                      m_labelIcons.Create(IDB_LABEL_ICONS, 12, 1, kMask);
    return made ? 0 : -1;
}

BOOL CTalvenaDlg::OnInitDialog()
{
    CFrameDlg::OnInitDialog();
    if (CMenu* system = GetSystemMenu(FALSE)) {
        system->InsertMenu(0, MF_BYPOSITION | MF_SEPARATOR);
        system->InsertMenu(0, MF_BYPOSITION | MF_STRING, kSystemAlwaysOnTop, L"Always On Top");
    }
    if (g_pAppPaths)
        g_pAppPaths->CreateFonts(GetFont());
    AllowCopyDataMessages();
    SetClassLongPtrW(m_hWnd, GCL_STYLE, GetClassLongPtrW(m_hWnd, GCL_STYLE) | CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS);
    m_accelerators = LoadAcceleratorsW(FwGetResourceHandle(), MAKEINTRESOURCEW(IDR_DIALOG_ACCELERATORS));

    if (!HasITunes())
        GetDlgItem(IDC_ADD_TO_ITUNES)->ShowWindow(SW_HIDE);
    m_menuToolBar.SetFont(GetFont());
    m_listToolBar.SetFont(GetFont());
    if (g_pAppPaths)
        m_convertButton.SetFont(static_cast<HFONT>(g_pAppPaths->m_fontBold));
    SetUpButtons();

    if (g_pAppPaths)
        m_formatCombo.SetImageList(&g_pAppPaths->m_images16);
    m_formatCombo.SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 18);
    m_formatCombo.SendMessage(CB_SETITEMHEIGHT, 0, 18);
    m_formatCombo.SetRightColumn(32, 0x404040, FALSE);
    m_presetCombo.SetSecondColumn(64, 0x404040, TRUE);
    InitOutputFolder();
    FillFormatCombo();
    SelectFormat(ClampIndex(m_formatIndex, m_formatCombo.GetCount()));
    SetBusy(false);
    CheckDlgButton(IDC_SAME_AS_INPUT, m_sameAsInput ? BST_CHECKED : BST_UNCHECKED);
    OnSameAsInput();

    SetAlwaysOnTop(m_alwaysOnTop != 0);
    SetWindowPos(static_cast<HWND>(nullptr), 0, 0, 880, 560, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CenterWindow();
    SetUpList();

    if (g_pAppSettings && g_pAppSettings->m_autoCheckUpdate)
        PostMessage(WM_CHECK_UPDATE, 0, 1);
    if (m_commandLine && m_commandLine->m_sources.GetSize() > 0) {
        AddFiles(m_commandLine->m_sources, m_commandLine->m_scanSubfolders);
        m_commandLine->m_sources.RemoveAll();
        // Unattended, a list with nothing in it must still end the program.
        if (m_autoStart && m_list.GetItemCount() == 0 && m_closeWhenDone)
            CloseWhenDone();
        else if (m_autoStart && (m_sameAsInput || !m_outputFolder.IsEmpty()))
            PostMessage(WM_COMMAND, IDC_CONVERT);
    }
    return TRUE;
}

void CTalvenaDlg::SetUpButtons()
{
    const struct {
        int id;
        const wchar_t* tip;
    } tips[] = {
        {IDC_ADVANCED, L"Advanced format options"},
        {IDC_BROWSE, L"Choose a folder as output folder"},
        {IDC_OPEN_FOLDER, L"Open this folder"},
        {IDC_CONVERT, L"Start converting"},
        {IDC_STOP, L"Stop converting"},
        {IDCANCEL, L"Stop converting and close this window"},
    };
    if (m_toolTip.m_hWnd)
        for (const auto& tip : tips)
            m_toolTip.AddTool(GetDlgItem(tip.id), tip.tip);
    for (CSkinButton* large : {&m_convertButton, &m_stopButton, &m_closeButton})
        large->SetImageList(&m_buttonSkinLarge, CSkinButton::LAYOUT_HORIZONTAL);
    for (CSkinButton* small : {&m_advancedButton, &m_browseButton, &m_openButton})
        small->SetImageList(&m_buttonSkinSmall, CSkinButton::LAYOUT_HORIZONTAL);
}

void CTalvenaDlg::SetUpList()
{
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER);
    m_list.SetImageList(m_rowHeightImages, LVSIL_SMALL);
    m_list.SetImageList(m_stateImages, LVSIL_STATE);
    CRect client;
    m_list.GetClientRect(&client);
    m_list.InsertColumn(COLUMN_STATE, L"", LVCFMT_LEFT, 36);
    m_list.InsertColumn(COLUMN_INPUT, L"Input", LVCFMT_LEFT, 354);
    m_list.InsertColumn(COLUMN_OUTPUT, L"Output", LVCFMT_LEFT, 354);
    const int statusWidth = client.Width() - GetSystemMetrics(SM_CXVSCROLL) - 746;
    m_list.InsertColumn(COLUMN_STATUS, L"Status", LVCFMT_LEFT, statusWidth > 100 ? statusWidth : 100);
}

void CTalvenaDlg::InitOutputFolder()
{
    m_outputCombo.ModifyStyle(0, WS_CLIPCHILDREN);
    m_outputCombo.DragAcceptFiles(TRUE);
    if (g_pAppPaths)
        m_outputCombo.SetImageList(g_pAppPaths->GetList(CSysImageList::SMALL_ICONS)->GetSafeHandle());
    CRecentList* history = g_pAppSettings ? &g_pAppSettings->m_recentFolders : nullptr;
    if (history)
        m_outputCombo.SetHistory(history, L"Clear Recent List");
    if (!m_outputFolder.IsEmpty()) {
        m_outputCombo.SelectPath(m_outputFolder, FALSE);
    } else if (!history || history->GetCount() == 0) {
        m_outputFolder = GetMyVideosFolder(false);
        m_outputCombo.SetEditText(m_outputFolder);
    } else {
        m_outputCombo.SetCurSel(0);
        m_outputFolder = m_outputCombo.GetEditText();
    }
}

// ---- format and preset ----------------------------------------------------------------------

void CTalvenaDlg::FillFormatCombo()
{
    m_formatCombo.ResetContent();
    if (!g_pFormatCatalog)
        return;
    const int row = ::FillFormatCombo(m_formatCombo, *g_pFormatCatalog, m_currentFormat);
    if (row >= 0)
        m_formatIndex = row;
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
        preset->GetListText(text, true);
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

// ---- check boxes, buttons and simple commands ------------------------------------------------

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

void CTalvenaDlg::OnAdvanced()
{
    if (!m_currentFormat || IsConverting())
        return;
    CFormatSettingsDlg dialog(m_formatIndex, m_presetIndex, this);
    if (dialog.DoModal() != IDOK)
        return;
    SelectFormat(ClampIndex(dialog.m_formatIndex, m_formatCombo.GetCount()));
    SelectPreset(ClampIndex(dialog.m_presetIndex, m_presetCombo.GetCount()));
    if (g_pFormatCatalog)
        g_pFormatCatalog->Save();
}

void CTalvenaDlg::OnFormatManager()
{
    // The run reads the chosen preset: its presets are not deleted or reset under it.
    if (IsConverting())
        return;
    const CString formatId = m_currentFormat ? m_currentFormat->m_id : CString();
    // The listed rows are converted with the chosen preset: while there are any, it stays.
    CMediaPreset* const chosen = m_currentPreset;
    const bool rowsWaiting = m_list.GetItemCount() > 0;
    CFormatManagerDlg dialog(this);
    dialog.m_isPresetInUse = [chosen, rowsWaiting](const CMediaPreset* preset) { return rowsWaiting && preset == chosen; };
    dialog.DoModal();
    // Presets may have gone: the choice is found again by the format's id, and the preset by
    // itself when it is still there (its place may have moved).
    m_currentPreset = nullptr;
    m_currentFormat = g_pFormatCatalog && !formatId.IsEmpty() ? g_pFormatCatalog->FindFormat(formatId) : nullptr;
    FillFormatCombo();
    SelectFormat(ClampIndex(m_formatIndex, m_formatCombo.GetCount()));
    int presetRow = ClampIndex(m_presetIndex, m_presetCombo.GetCount());
    for (int row = 0; rowsWaiting && row < m_presetCombo.GetCount(); ++row)
        if (m_presetCombo.GetItemDataPtr(row) == chosen)
            presetRow = row;
    SelectPreset(presetRow);
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

// ---- command states ------------------------------------------------------------------------

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

LRESULT CTalvenaDlg::OnInitMenuPopupMessage(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CFrameDlg::OnInitMenuPopup(wParam, lParam);
    if (HIWORD(lParam))
        CheckMenuItem(reinterpret_cast<HMENU>(wParam), kSystemAlwaysOnTop, m_alwaysOnTop ? MF_CHECKED : MF_UNCHECKED);
    return result;
}

// ---- menus ---------------------------------------------------------------------------------

void CTalvenaDlg::ShowMenu(int popup, UINT flags, CPoint point, UINT defaultCommand, const RECT* exclude)
{
    CMenu menus;
    if (!menus.LoadMenu(IDR_DIALOG_MENUS))
        return;
    CMenu* menu = menus.GetSubMenu(popup);
    if (!menu)
        return;
    if (!HasITunes()) {
        menu->DeleteMenu(ID_ADD_ALL_TO_ITUNES, MF_BYCOMMAND);
        menu->DeleteMenu(ID_ADD_TO_ITUNES_ROW, MF_BYCOMMAND);
    }
    if (defaultCommand)
        menu->SetDefaultItem(defaultCommand);
    TPMPARAMS params{};
    params.cbSize = sizeof(params);
    if (exclude)
        params.rcExclude = *exclude;
    menu->TrackPopupMenuEx(flags | TPM_RIGHTBUTTON, point.x, point.y, this, exclude ? &params : nullptr);
}

void CTalvenaDlg::OnToolbarDropDown(UINT id, NMHDR* header, LRESULT* result)
{
    const auto* drop = reinterpret_cast<const NMTOOLBARW*>(header);
    CToolBar& bar = id == IDW_MENU_TOOLBAR ? m_menuToolBar : m_listToolBar;
    CRect button;
    bar.GetItemRect(bar.CommandToIndex(static_cast<UINT>(drop->iItem)), &button);
    bar.ClientToScreen(&button);
    if (drop->iItem == ID_MORE) {
        ShowMenu(POPUP_MORE, TPM_LEFTALIGN | TPM_VERTICAL, CPoint(button.left, button.bottom), 0, &button);
    } else if (drop->iItem == ID_MENU) {
        bar.PressButton(ID_MENU, TRUE);
        ShowMenu(POPUP_MAIN, TPM_RIGHTALIGN | TPM_VERTICAL, CPoint(button.right, button.bottom), 0, &button);
        bar.PressButton(ID_MENU, FALSE);
    }
    *result = 0;
}

void CTalvenaDlg::OnContextMenu(CWnd* wnd, CPoint point)
{
    const bool keyboard = point.x == -1 && point.y == -1;
    if (FwHwnd(wnd) != m_list.m_hWnd) {
        if (keyboard) {
            point = CPoint(0, 0);
            ClientToScreen(&point);
        }
        ShowMenu(POPUP_DIALOG, TPM_LEFTALIGN, point, 0, nullptr);
        return;
    }
    int row = -1;
    if (keyboard) {
        row = m_list.GetFirstSelected();
        CRect list;
        m_list.GetClientRect(&list);
        CRect bounds;
        if (row >= 0 && m_list.GetItemRect(row, &bounds, LVIR_BOUNDS) && list.PtInRect(bounds.CenterPoint()))
            point = bounds.CenterPoint();
        else
            point = CPoint(0, 0);
        m_list.ClientToScreen(&point);
    } else {
        CPoint inList = point;
        m_list.ScreenToClient(&inList);
        row = m_list.HitTest(inList);
        if (row >= 0 && !IsRowSelected(row))
            m_list.SelectItem(row, TRUE, TRUE);
    }
    if (row < 0) {
        ShowMenu(POPUP_LIST, TPM_LEFTALIGN, point, ID_ADD_GIF, nullptr);
        return;
    }
    const CConvertListItem* item = GetItem(row);
    const bool completed = item && item->m_state == JOB_COMPLETED;
    ShowMenu(POPUP_ROW, TPM_LEFTALIGN, point, completed ? ID_PLAY_OUTPUT : ID_ADVANCED_OPTIONS, nullptr);
}

BOOL CTalvenaDlg::PreTranslateMessage(MSG* msg)
{
    if (m_accelerators && IsKeyboardMessage(msg) && TranslateAcceleratorW(m_hWnd, m_accelerators, msg))
        return TRUE;
    return CFrameDlg::PreTranslateMessage(msg);
}

LRESULT CTalvenaDlg::OnSysCommand(WPARAM wParam, LPARAM)
{
    // Our own entries sit below the system's commands (which start at 0xF000).
    if (wParam >= kSystemAlwaysOnTop && wParam <= 31) {
        SetAlwaysOnTop(!m_alwaysOnTop);
        return 0;
    }
    return Default();
}

void CTalvenaDlg::SetAlwaysOnTop(bool on)
{
    m_alwaysOnTop = on ? 1 : 0;
    SetWindowPos(on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- the window ----------------------------------------------------------------------------

void CTalvenaDlg::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (type != SIZE_MINIMIZED && cx > 0 && cy > 0 && m_list.m_hWnd)
        LayOut(cx, cy);
}

void CTalvenaDlg::LayOut(int cx, int cy)
{
    cx = std::max(cx, 400);
    cy = std::max(cy, 280);
    auto size = [this](int id) {
        CRect r;
        GetDlgItem(id)->GetWindowRect(&r);
        return CSize(r.Width(), r.Height());
    };
    HDWP batch = BeginDeferWindowPos(20);
    auto place = [&](HWND window, int x, int y, int w, int h) {
        if (batch)
            batch = DeferWindowPos(batch, window, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    // Top band: the menu button right-aligned, the list tools left of it.
    SIZE menuSize{}, listSize{};
    m_menuToolBar.SendMessage(TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&menuSize));
    m_listToolBar.SendMessage(TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&listSize));
    const int menuLeft = cx - 10 - menuSize.cx;
    place(m_menuToolBar.m_hWnd, menuLeft, (m_topBandHeight - menuSize.cy) / 2, menuSize.cx, menuSize.cy);
    place(m_listToolBar.m_hWnd, 6, (m_topBandHeight - listSize.cy) / 2, std::max(0, menuLeft - 12), listSize.cy);

    // Bottom band.
    const int bandTop = cy - m_bottomBandHeight;
    const CSize close = size(IDCANCEL), convert = size(IDC_CONVERT), check = size(IDC_CLOSE_WHEN_DONE);
    place(GetDlgItem(IDC_CLOSE_WHEN_DONE)->m_hWnd, 12, bandTop + (m_bottomBandHeight - check.cy) / 2, check.cx, check.cy);
    const int closeLeft = cx - 10 - close.cx;
    const int buttonTop = bandTop + (m_bottomBandHeight - close.cy) / 2;
    place(GetDlgItem(IDCANCEL)->m_hWnd, closeLeft, buttonTop, close.cx, close.cy);
    place(GetDlgItem(IDC_CONVERT)->m_hWnd, closeLeft - 6 - convert.cx, buttonTop, convert.cx, convert.cy);
    place(GetDlgItem(IDC_STOP)->m_hWnd, closeLeft - 6 - convert.cx, buttonTop, convert.cx, convert.cy);

    // From the bottom band up: the check boxes, the output row, the format row.
    const CSize label = size(IDC_SAVE_TO_LABEL);
    const int fieldLeft = 12 + label.cx + 6;
    int y = bandTop - 10;
    for (int id : {IDC_ADD_TO_ITUNES, IDC_SAME_AS_INPUT}) {
        CWnd* box = GetDlgItem(id);
        // Its own style, not what shows: the window is still hidden at its first layout.
        if (!(box->GetStyle() & WS_VISIBLE))
            continue;
        const CSize boxSize = size(id);
        y -= boxSize.cy;
        place(box->m_hWnd, fieldLeft, y, boxSize.cx, boxSize.cy);
        y -= 10;
    }
    const CSize open = size(IDC_OPEN_FOLDER), browse = size(IDC_BROWSE), combo = size(IDC_OUTPUT_FOLDER);
    y -= combo.cy;
    const int openLeft = cx - 10 - open.cx;
    const int browseLeft = openLeft - 4 - browse.cx;
    place(GetDlgItem(IDC_OPEN_FOLDER)->m_hWnd, openLeft, y, open.cx, open.cy);
    place(GetDlgItem(IDC_BROWSE)->m_hWnd, browseLeft, y, browse.cx, browse.cy);
    place(m_outputCombo.m_hWnd, fieldLeft, y, std::max(40, browseLeft - 16 - fieldLeft), 200);
    place(GetDlgItem(IDC_SAVE_TO_LABEL)->m_hWnd, 12, y + (combo.cy - label.cy) / 2, label.cx, label.cy);

    const CSize advanced = size(IDC_ADVANCED), format = size(IDC_FORMAT), formatLabel = size(IDC_FORMAT_LABEL);
    y -= 16 + format.cy;
    const int advancedLeft = cx - 10 - advanced.cx;
    place(GetDlgItem(IDC_ADVANCED)->m_hWnd, advancedLeft, y, advanced.cx, advanced.cy);
    place(m_formatCombo.m_hWnd, fieldLeft, y, format.cx, 300);
    const int presetLeft = fieldLeft + format.cx + 6;
    place(m_presetCombo.m_hWnd, presetLeft, y, std::max(40, advancedLeft - 6 - presetLeft), 300);
    place(GetDlgItem(IDC_FORMAT_LABEL)->m_hWnd, 12, y + (format.cy - formatLabel.cy) / 2, formatLabel.cx, formatLabel.cy);

    place(m_list.m_hWnd, 0, m_topBandHeight, cx, std::max(0, y - 16 - m_topBandHeight));
    if (batch)
        EndDeferWindowPos(batch);
    Invalidate();
}

BOOL CTalvenaDlg::OnEraseBkgnd(CDC* dc)
{
    PaintBackground(*dc);
    return TRUE;
}

void CTalvenaDlg::PaintBackground(CDC& dc)
{
    CRect client;
    GetClientRect(&client);
    client.bottom = std::max(client.bottom, client.top + 280);
    dc.FillSolidRect(client, m_backgroundColour);
    CRect top(client.left, client.top, client.right, client.top + m_topBandHeight);
    dc.FillSolidRect(top, kBandColour);
    dc.FillSolidRect(CRect(top.left, top.bottom - 1, top.right, top.bottom), kBandLineColour);
    CRect bottom(client.left, client.bottom - m_bottomBandHeight, client.right, client.bottom);
    dc.FillSolidRect(bottom, kBandColour);
    dc.FillSolidRect(CRect(bottom.left, bottom.top, bottom.right, bottom.top + 1), kBandLineColour);
    if (m_list.m_hWnd) {
        CRect list;
        m_list.GetWindowRect(&list);
        ScreenToClient(&list);
        dc.FillSolidRect(CRect(list.left, list.bottom, list.right, list.bottom + 1), kListLineColour);
    }
    for (int id : {IDC_FORMAT_LABEL, IDC_SAVE_TO_LABEL}) {
        CRect label;
        GetDlgItem(id)->GetWindowRect(&label);
        ScreenToClient(&label);
        m_labelIcons.Draw(&dc, 0, CPoint(label.left - 8 - 12, label.top + (label.Height() - 12) / 2),
                          ILD_TRANSPARENT);
    }
    if (g_pAppPaths && !g_pAppPaths->m_osVersion.IsVistaOrLater())
        g_pAppPaths->m_images12.Draw(&dc, 0, CPoint(client.right - 12, client.bottom - 12), ILD_TRANSPARENT);
}

LRESULT CTalvenaDlg::OnCtlColor(WPARAM wParam, LPARAM)
{
    const HDC dc = reinterpret_cast<HDC>(wParam);
    SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, m_backgroundColour);
    return reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_backgroundBrush));
}

void CTalvenaDlg::OnLButtonDown(UINT, CPoint point)
{
    CRect client;
    GetClientRect(&client);
    const bool corner = point.x >= client.right - 12 && point.y >= client.bottom - 12;
    ReleaseCapture();
    SendMessage(WM_NCLBUTTONDOWN, corner ? HTBOTTOMRIGHT : HTCAPTION, MAKELPARAM(point.x, point.y));
}

LRESULT CTalvenaDlg::OnSysColorChange(WPARAM, LPARAM)
{
    Default();
    if (g_pAppPaths)
        g_pAppPaths->m_visualStyles = IsVisualThemeActive() ? 1 : 0;
    return 0;
}

LRESULT CTalvenaDlg::OnQueryEndSession(WPARAM, LPARAM)
{
    if (!Default())
        return 0;
    if (g_pAppSettings)
        g_pAppSettings->Save();
    return 1;
}

void CTalvenaDlg::ShowMessage(const wchar_t* text)
{
    ::MessageBoxW(m_hWnd, text, FwGetApp() ? FwGetApp()->m_strAppName.GetString() : L"", MB_OK);
}

// ---- adding files ----------------------------------------------------------------------------

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
        m_list.SetItemText(row, COLUMN_INPUT, GetFileNamePart(path));
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
    m_list.SetItemText(row, COLUMN_STATUS, look.text);
}

void CTalvenaDlg::ShowRowCount()
{
    CString text;
    if (const int rows = m_list.GetItemCount())
        text.Format(L"%d", rows);
    m_list.SetColumnText(COLUMN_STATE, text);
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

// ---- removing and rows ---------------------------------------------------------------------

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
    if (hit.iSubItem == COLUMN_INPUT)
        command = ID_PLAY_INPUT;
    else if (hit.iSubItem == COLUMN_OUTPUT && item && item->m_state == JOB_COMPLETED)
        command = ID_PLAY_OUTPUT;
    PostMessage(WM_COMMAND, command);
}

void CTalvenaDlg::OnListClick(NMHDR*, LRESULT*)
{
    const int row = m_list.GetEditRow();
    if (row >= 0 && m_list.GetEditColumn() == COLUMN_OUTPUT)
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
    m_list.SetEditTarget(row, COLUMN_OUTPUT);
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
    if (item && edit->item.pszText && m_list.GetEditColumn() == COLUMN_OUTPUT) {
        const CString entered(edit->item.pszText);
        if (!entered.IsEmpty() && entered.CompareNoCase(GetFileNamePart(item->m_outputPath)) != 0) {
            const CString renamed = GetFileDirectory(item->m_outputPath) + L"\\" + entered;
            if (RenameFileShell(item->m_outputPath, renamed, FOF_ALLOWUNDO, m_hWnd)) {
                item->m_outputPath = renamed;
                m_list.SetItemText(edit->item.iItem, COLUMN_OUTPUT, entered);
                *result = TRUE;
            }
        }
    }
    m_list.EndRenameEdit();
}

// ---- outputs and inputs ----------------------------------------------------------------------

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

CConvertListItem* CTalvenaDlg::GetItem(int row) const
{
    return reinterpret_cast<CConvertListItem*>(m_list.GetItemData(row));
}

// ---- the run -------------------------------------------------------------------------------

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

LRESULT CTalvenaDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data && data->dwData == kEncoderMessageId && data->cbData == kEncoderMessageSize)
            return OnEncoderCopyData(data);
    }
    return CFrameDlg::WindowProc(message, wParam, lParam);
}

void CTalvenaDlg::OnDestroy()
{
    m_closing = 1;
    KillTimer(kActivityTimer);
    {
        ListLockGuard lock;
        for (int row = m_list.GetItemCount() - 1; row >= 0; --row) {
            CConvertListItem* item = GetItem(row);
            m_list.DeleteItem(row);
            delete item;
        }
    }
    Default();
}

// ---- status of the row being converted -------------------------------------------------------

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
    SetRowText(COLUMN_OUTPUT, text);
}

void CTalvenaDlg::SetSizes(int64_t, int64_t outputBytes)
{
    const int row = g_nConvertRow;
    if (row < 0 || outputBytes < 0)
        return;
    if (CConvertListItem* item = GetItem(row))
        item->SetOutputText(CConvertListItem::TEXT_SIZE, FormatKilobytes(outputBytes));
    m_list.RedrawCell(row, COLUMN_OUTPUT);
}

void CTalvenaDlg::SetTimes(int64_t, int64_t outputMicroseconds)
{
    const int row = g_nConvertRow;
    if (row < 0 || outputMicroseconds < 0)
        return;
    if (CConvertListItem* item = GetItem(row))
        item->SetOutputText(CConvertListItem::TEXT_DURATION, FormatDuration64(outputMicroseconds, false, false, false));
    m_list.RedrawCell(row, COLUMN_OUTPUT);
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
