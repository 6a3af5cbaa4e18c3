#include "AboutDlg.h"

#include "CWinApp.h"
#include "DialogFonts.h"
#include "DialogsRes.h"

FW_BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    FwOnControl(BN_CLICKED, IDC_ABOUT_EMAIL, &ThisClass::OnEmail),
FW_END_MESSAGE_MAP()

CAboutDlg::CAboutDlg(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent) {}

void CAboutDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_ABOUT_WEB_SITE, m_wndWebSite);
    DDX_Control(dx, IDC_ABOUT_EMAIL, m_wndEmail);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const CString& name = FwGetApp()->m_strAppName;
    SetWindowText(GetWindowText() + L" " + name);

    CString text;
    text.Format(L"%s %s", name.GetString(), m_info.version.SpanExcluding(L".").GetString());
    ::SendDlgItemMessageW(m_hWnd, IDC_ABOUT_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(TitleFont()), FALSE);
    SetDlgItemText(IDC_ABOUT_TITLE, text);
    text.Format(L"Version %s", m_info.version.GetString());
    SetDlgItemText(IDC_ABOUT_VERSION, text);

    ShowLink(m_wndWebSite, m_info.homePage, m_info.homePage);
    // The address has no target: its click goes to the program's mail command.
    ShowLink(m_wndEmail, L"", m_info.email);
    return TRUE;
}

void CAboutDlg::ShowLink(CHyperlinkButton& link, const wchar_t* target, const wchar_t* text)
{
    link.SetFont(LinkFont(), FALSE);
    link.m_crBackground = ::GetSysColor(COLOR_BTNFACE);
    link.SetLink(target, text);
    link.SizeToText();
}

void CAboutDlg::OnEmail()
{
    if (m_info.emailCommand)
        OnCmdMsg(m_info.emailCommand, CN_COMMAND, nullptr);
}

HFONT CAboutDlg::TitleFont()
{
    return GivenOrOwnFont(m_info.titleFont, m_titleFont, GetFont(), [](LOGFONTW& lf) {
        lf.lfWeight = FW_BOLD;
        lf.lfHeight += lf.lfHeight / 3;
    });
}

HFONT CAboutDlg::LinkFont()
{
    return GivenOrOwnFont(m_info.linkFont, m_linkFont, GetFont(), UnderlineFont);
}
