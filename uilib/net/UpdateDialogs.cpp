#include "UpdateDialogs.h"

#include "DialogFonts.h"
#include "NetRes.h"
#include "UpdateChecker.h"

namespace {
constexpr UINT_PTR kProgressTimer = 1;
}

// ---- progress ----

FW_BEGIN_MESSAGE_MAP(CUpdateProgressDlg, CDialog)
    FwOnTimer(&ThisClass::OnTimer),
    FwOnMessage(WM_UPDATE_CHECK_DONE, &ThisClass::OnCheckDone),
FW_END_MESSAGE_MAP()

CUpdateProgressDlg::CUpdateProgressDlg(CUpdateChecker* job) : CDialog(IDD_UPDATE_PROGRESS), m_pJob(job) {}

CUpdateProgressDlg::~CUpdateProgressDlg()
{
    if (m_pCheckThread) {
        ::WaitForSingleObject(m_pCheckThread->m_hThread, INFINITE);
        delete m_pCheckThread;
    }
}

BOOL CUpdateProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_wndProgress.SubclassDlgItem(IDC_UPDATE_PROGRESS, this);
    if (m_pJob->m_hLabelFont)
        ::SendDlgItemMessageW(m_hWnd, IDC_UPDATE_LABEL, WM_SETFONT, WPARAM(m_pJob->m_hLabelFont), FALSE);
    m_wndProgress.SetRange(0, 100);
    SetWindowText(m_pJob->m_strProductName);
    SetDlgItemText(IDC_UPDATE_AUTO_CHECK, L"Auto check for updates");
    CheckDlgButton(IDC_UPDATE_AUTO_CHECK, m_bAutoCheck ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(IDC_UPDATE_LABEL, L"Checking for updates...");
    // A timer belongs to the thread of its window: this one, not the check thread.
    SetTimer(kProgressTimer, 100);
    m_pJob->m_nCancel = 0;
    m_pCheckThread = new CWinThread(RunCheck, this);
    m_pCheckThread->m_bAutoDelete = FALSE;
    if (!m_pCheckThread->CreateThread()) {
        delete m_pCheckThread;
        m_pCheckThread = nullptr;
        PostMessage(WM_UPDATE_CHECK_DONE);
    }
    return TRUE;
}

UINT CUpdateProgressDlg::RunCheck(void* self)
{
    auto* dialog = static_cast<CUpdateProgressDlg*>(self);
    dialog->m_nResult = dialog->m_pJob->IsNewerAvailable();
    dialog->PostMessage(WM_UPDATE_CHECK_DONE);
    return 0;
}

void CUpdateProgressDlg::OnTimer(UINT_PTR id)
{
    if (id != kProgressTimer)
        return;
    int position = m_wndProgress.GetPos() + 2;
    m_wndProgress.SetPos(position > 100 ? 0 : position);
}

void CUpdateProgressDlg::OnCancel()
{
    m_pJob->m_nCancel = 2;
    KillTimer(kProgressTimer);
}

LRESULT CUpdateProgressDlg::OnCheckDone(WPARAM, LPARAM)
{
    KillTimer(kProgressTimer);
    m_bAutoCheck = IsDlgButtonChecked(IDC_UPDATE_AUTO_CHECK) == BST_CHECKED;
    if (m_pCheckThread) {
        ::WaitForSingleObject(m_pCheckThread->m_hThread, INFINITE);
        delete m_pCheckThread;
        m_pCheckThread = nullptr;
    }
    EndDialog(m_pJob->m_nCancel != 0 ? IDCANCEL : IDOK);
    return 0;
}

// ---- new version ----

FW_BEGIN_MESSAGE_MAP(CNewVersionDlg, CDialog)
FW_END_MESSAGE_MAP()

CNewVersionDlg::CNewVersionDlg(CUpdateChecker* job) : CDialog(IDD_NEW_VERSION), m_pJob(job)
{
    m_bAutoCheck = job->GetAutoCheck();
}

CNewVersionDlg::~CNewVersionDlg() { m_pJob->SetAutoCheck(m_bAutoCheck); }

void CNewVersionDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_NEW_VERSION_LINK, m_wndVersionLink);
    DDX_Control(dx, IDC_NEW_VERSION_LEARN_MORE, m_wndLearnMore);
    DDX_Check(dx, IDC_NEW_VERSION_AUTO_CHECK, m_bAutoCheck);
}

BOOL CNewVersionDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_pJob->m_strProductName);
    if (m_pJob->m_hLabelFont)
        ::SendDlgItemMessageW(m_hWnd, IDC_UPDATE_LABEL, WM_SETFONT, WPARAM(m_pJob->m_hLabelFont), FALSE);
    CString text;
    text.Format(L"A newer version of %s is available:", m_pJob->m_strProductName.GetString());
    SetDlgItemText(IDC_UPDATE_LABEL, text);
    ShowLink(m_wndVersionLink, m_pJob->m_strRemoteVersion);
    ShowLink(m_wndLearnMore, nullptr);
    text.Format(L"Your version is %s.", m_pJob->m_strCurrentVersion.GetString());
    SetDlgItemText(IDC_NEW_VERSION_YOURS, text);
    SetDlgItemText(IDC_NEW_VERSION_DESCRIPTION, m_pJob->m_strDescription);
    return TRUE;
}

void CNewVersionDlg::ShowLink(CHyperlinkButton& link, const wchar_t* text)
{
    link.SetFont(GivenOrOwnFont(m_pJob->m_hLinkFont, m_linkFont, GetFont(), UnderlineFont), FALSE);
    link.m_crBackground = ::GetSysColor(COLOR_BTNFACE);
    link.SetLink(m_pJob->m_strProductPage, text);
    link.SizeToText();
}

void CNewVersionDlg::OnCancel()
{
    UpdateData(TRUE);
    EndDialog(IDCANCEL);
}
