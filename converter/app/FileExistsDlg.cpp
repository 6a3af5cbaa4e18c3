#include "FileExistsDlg.h"

#include "AppGlobals.h"
#include "AppPaths.h"
#include "AppSettings.h"
#include "ConverterPaths.h"
#include "TalvenaRes.h"

namespace {

enum : UINT_PTR { TIMER_COUNTDOWN = 1, TIMER_STOP_WATCH = 2 };
constexpr UINT kStopWatchPeriod = 100;

} // namespace

FW_BEGIN_MESSAGE_MAP(CFileExistsDlg, CDialog)
    FwOnCommand(IDC_EXISTS_SAVE_AS_NEW, &ThisClass::OnSaveAsNew),
    FwOnCommand(IDC_EXISTS_OVERWRITE, &ThisClass::OnOverwrite),
    FwOnCommand(IDC_EXISTS_AUTO_CLOSE, &ThisClass::OnAutoCloseClicked),
    FwOnTimer(&ThisClass::OnTimer),
    FwOnPlain(WM_DESTROY, &ThisClass::OnDestroy),
FW_END_MESSAGE_MAP()

CFileExistsDlg::CFileExistsDlg(const CString& folder, const CString& title, const CString& extension, CWnd* parent,
                               const CStopFlag* stop)
    : CDialog(IDD_FILE_EXISTS, parent), m_folder(folder), m_title(title), m_extension(extension), m_stop(stop)
{
    if (g_pAppSettings)
        m_autoClose = g_pAppSettings->m_autoSelect;
}

CFileExistsDlg::~CFileExistsDlg()
{
    if (g_pAppSettings)
        g_pAppSettings->m_autoSelect = m_autoClose ? 1 : 0;
}

void CFileExistsDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_EXISTS_NEW_NAME, m_newTitle);
    DDX_Check(dx, IDC_EXISTS_REMEMBER, m_remember);
    DDX_Check(dx, IDC_EXISTS_AUTO_CLOSE, m_autoClose);
}

BOOL CFileExistsDlg::OnInitDialog()
{
    m_suggestion = MakeUniqueFileName(m_folder, m_title, m_extension);
    m_newTitle = m_suggestion;
    CDialog::OnInitDialog();

    ::SendDlgItemMessageW(m_hWnd, IDC_EXISTS_ICON, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_WARNING)), 0);
    if (g_pAppPaths && g_pAppPaths->m_fontBold.m_hObject)
        ::SendDlgItemMessageW(m_hWnd, IDC_EXISTS_HEADING, WM_SETFONT,
                            reinterpret_cast<WPARAM>(static_cast<HFONT>(g_pAppPaths->m_fontBold)), TRUE);
    SetDlgItemText(IDC_EXISTS_NAME, m_title + m_extension);
    CWnd* edit = GetDlgItem(IDC_EXISTS_NEW_NAME);
    GotoDlgCtrl(edit);
    edit->SendMessage(EM_SETSEL, static_cast<WPARAM>(m_title.GetLength()), m_suggestion.GetLength());
    ShowCountdown();
    if (m_autoClose)
        SetTimer(TIMER_COUNTDOWN, 1000);
    if (m_stop)
        SetTimer(TIMER_STOP_WATCH, kStopWatchPeriod);
    return FALSE;  // the focus is set
}

void CFileExistsDlg::ShowCountdown()
{
    CString text;
    text.Format(L"Auto close within 00:%02d", m_countdown > 0 ? m_countdown : 0);
    SetDlgItemText(IDC_EXISTS_AUTO_CLOSE, text);
}

bool CFileExistsDlg::TakeNewTitle()
{
    if (!UpdateData(TRUE))
        return false;
    if (IsAcceptableNewTitle(m_newTitle))
        return true;
    // A name that is empty or leads out of the folder is not taken.
    MessageBeep(MB_ICONWARNING);
    m_newTitle = m_suggestion;
    SetDlgItemText(IDC_EXISTS_NEW_NAME, m_newTitle);
    CWnd* edit = GetDlgItem(IDC_EXISTS_NEW_NAME);
    GotoDlgCtrl(edit);
    edit->SendMessage(EM_SETSEL, 0, -1);
    return false;
}

void CFileExistsDlg::OnSaveAsNew()
{
    if (TakeNewTitle())
        EndDialog(m_remember ? OVERWRITE_NEW_NAME : EXISTS_NEW_NAME);
}

void CFileExistsDlg::OnOK()
{
    if (!TakeNewTitle())
        m_newTitle = m_suggestion;
    EndDialog(EXISTS_NEW_NAME);
}

void CFileExistsDlg::OnOverwrite()
{
    if (UpdateData(TRUE))
        EndDialog(m_remember ? OVERWRITE_ALWAYS : EXISTS_OVERWRITE);
}

void CFileExistsDlg::OnCancel()
{
    UpdateData(TRUE);
    EndDialog(m_remember ? OVERWRITE_CANCEL : EXISTS_CANCEL);
}

void CFileExistsDlg::OnAutoCloseClicked()
{
    m_autoClose = IsDlgButtonChecked(IDC_EXISTS_AUTO_CLOSE) == BST_CHECKED;
    if (m_autoClose)
        SetTimer(TIMER_COUNTDOWN, 1000);
    else
        KillTimer(TIMER_COUNTDOWN);
}

void CFileExistsDlg::OnTimer(UINT_PTR id)
{
    if (id == TIMER_STOP_WATCH) {
        if (m_stop && m_stop->load() != 0) {
            KillTimer(TIMER_STOP_WATCH);
            EndDialog(EXISTS_CANCEL);
        }
        return;
    }
    if (id != TIMER_COUNTDOWN || !m_autoClose)
        return;
    --m_countdown;
    ShowCountdown();
    if (m_countdown <= 0) {
        KillTimer(TIMER_COUNTDOWN);
        PostMessage(WM_COMMAND, IDOK);
    }
}

void CFileExistsDlg::OnDestroy()
{
    KillTimer(TIMER_COUNTDOWN);
    KillTimer(TIMER_STOP_WATCH);
    Default();
}

int CFileExistsPrompt::Ask(const CString& folder, const CString& title, const CString& extension, CString& newTitle)
{
    CFileExistsDlg dialog(folder, title, extension, CWnd::FromHandle(m_owner), m_stop);
    const int answer = static_cast<int>(dialog.DoModal());
    newTitle = dialog.m_newTitle;
    return answer;
}
