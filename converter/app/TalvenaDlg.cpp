// The main dialog's life: its message map, its controls, toolbars and image lists made at
// start-up, its keys and system commands, and its end.

#include "TalvenaDlg.h"

#include "AppGlobals.h"
#include "AppPaths.h"
#include "AppSettings.h"
#include "CMenu.h"
#include "CWinApp.h"
#include "ConvertListItem.h"
#include "EncoderCallback.h"
#include "FileShell.h"
#include "MediaConvertThread.h"
#include "MediaPreset.h"
#include "MessageFilter.h"
#include "TalvenaCommandLine.h"
#include "TalvenaDlgHelpers.h"
#include "TalvenaRes.h"
#include "UpdateCheck.h"
#include "VisualTheme.h"

namespace {

constexpr COLORREF kMask = RGB(255, 0, 255);

// The folder box's text lives in its edit part.
void ExchangeEditText(CDataExchange* dx, CImageComboBox& combo, CString& value)
{
    if (dx->m_bSaveAndValidate)
        value = combo.GetEditText();
    else
        combo.SetEditText(value);
}

bool IsKeyboardMessage(const MSG* msg)
{
    return msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST;
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
    m_list.InsertColumn(JOB_COLUMN_STATE, L"", LVCFMT_LEFT, 36);
    m_list.InsertColumn(JOB_COLUMN_INPUT, L"Input", LVCFMT_LEFT, 354);
    m_list.InsertColumn(JOB_COLUMN_OUTPUT, L"Output", LVCFMT_LEFT, 354);
    const int statusWidth = client.Width() - GetSystemMetrics(SM_CXVSCROLL) - 746;
    m_list.InsertColumn(JOB_COLUMN_STATUS, L"Status", LVCFMT_LEFT, statusWidth > 100 ? statusWidth : 100);
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

CConvertListItem* CTalvenaDlg::GetItem(int row) const
{
    return reinterpret_cast<CConvertListItem*>(m_list.GetItemData(row));
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

LRESULT CTalvenaDlg::OnCheckUpdate(WPARAM wParam, LPARAM lParam)
{
    if (wParam == 0)
        TalvenaCheckForUpdates(lParam != 0);
    return 0;
}
