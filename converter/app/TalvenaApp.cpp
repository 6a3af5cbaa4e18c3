#include "TalvenaApp.h"

#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include "AppGlobals.h"
#include "COleMessageFilter.h"
#include "ConverterInfo.h"
#include "SupportMail.h"
#include "SysHelpers.h"
#include "SettingsDlg.h"
#include "TalvenaDlg.h"
#include "TalvenaRes.h"
#include "UpdateCheck.h"

namespace {

const wchar_t kMakerSite[] = L"https://www.brenmoor.example";

void OpenPage(const CString& url)
{
    ShellExecuteW(nullptr, L"open", url, nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace

CString GetViewerPath()
{
    return GetAppFolder() + L"\\" + L"Sorvik.exe";
}

CString MakerPageUrl(const wchar_t* path)
{
    return CString(kMakerSite) + path;
}

CString RecommendMailBody()
{
    CString body;
    body.Format(L"download from:\n%s\n", MakerPageUrl(L"/talvena").GetString());
    return body;
}

FW_BEGIN_MESSAGE_MAP(CTalvenaApp, CWinApp)
    FwOnCommand(ID_HELP_PAGE, &ThisClass::OnHelpPage),
    FwOnCommand(ID_OPEN_NEW_WINDOW, &ThisClass::OnOpenNewWindow),
    FwOnCommand(ID_SETTINGS, &ThisClass::OnSettings),
    FwOnCommand(ID_EMAIL_US, &ThisClass::OnEmailUs),
    FwOnCommand(ID_WEB_SITE, &ThisClass::OnWebSite),
    FwOnCommand(ID_RECOMMEND, &ThisClass::OnRecommend),
    FwOnCommand(ID_CHECK_UPDATES, &ThisClass::OnCheckForUpdates),
FW_END_MESSAGE_MAP()

CTalvenaApp::CTalvenaApp() : CWinApp(kProgramName)
{
    g_pAppPaths = &m_paths;
    g_pAppSettings = &m_settings;
    g_pFormatCatalog = &m_catalog;
}

CTalvenaApp::~CTalvenaApp()
{
    g_pFormatCatalog = nullptr;
    g_pAppSettings = nullptr;
    g_pAppPaths = nullptr;
}

BOOL CTalvenaApp::InitInstance()
{
    if (!FwOleInit())
        return FALSE;
    m_oleStarted = true;
    InitCommonControls();
    SetRegistryKey(kMakerName);
    if (m_paths.LocateModules() != 0 || m_settings.Load() != 0)
        return FALSE;
    m_settingsLoaded = true;
    if (m_catalog.LoadDefault(GetAppDataFolder()) != 0)
        return FALSE;
    m_settings.LoadMediaChoice(m_catalog);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    m_commandLine.Parse(argv ? argc : 0, argv);
    LocalFree(argv);
    if (m_commandLine.m_usage) {
        MessageBoxW(nullptr, CTalvenaCommandLine::UsageText(), m_strAppName, MB_OK);
        return FALSE;
    }

    m_listLock = std::make_unique<CCriticalSection>();
    g_pListLock = m_listLock.get();
    CTalvenaDlg dialog(&m_commandLine);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_exitCode = dialog.GetExitCode();
    m_pMainWnd = nullptr;
    return FALSE;
}

int CTalvenaApp::ExitInstance()
{
    g_pListLock = nullptr;
    m_listLock.reset();
    m_catalog.Save();
    // Settings that were never read would overwrite the user's with the defaults.
    if (m_settingsLoaded)
        m_settings.Save();
    if (m_oleStarted)
        FwOleTerm();
    const int quitCode = CWinApp::ExitInstance();
    return m_exitCode != 0 ? m_exitCode : quitCode;
}

void CTalvenaApp::OnHelpPage()
{
    OpenPage(MakerPageUrl(L"/talvena/how-to-use.html"));
}

void CTalvenaApp::OnSettings()
{
    CSettingsDlg dialog(m_pMainWnd);
    if (dialog.DoModal() == IDOK)
        m_settings.Save();
}

void CTalvenaApp::OnOpenNewWindow()
{
    const CString program = GetModuleFilePath();
    if (!program.IsEmpty())
        ShellExecuteW(nullptr, nullptr, program, nullptr, nullptr, SW_SHOW);
}

void CTalvenaApp::OnEmailUs()
{
    ComposeSupportMail();
}

void CTalvenaApp::OnWebSite()
{
    OpenPage(MakerPageUrl(L""));
}

void CTalvenaApp::OnRecommend()
{
    CString subject;
    subject.Format(L"%s - very cool app!!!", kProgramName);
    // The mail link encodes subject and body itself.
    OpenMailTo(L"", subject, RecommendMailBody());
}

void CTalvenaApp::OnCheckForUpdates()
{
    TalvenaCheckForUpdates(0);
}
