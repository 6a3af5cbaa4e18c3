#include "SorvikApp.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include "AboutDlg.h"
#include "FileAssociation.h"
#include "MainFrame.h"
#include "PlayView.h"
#include "PlaylistView.h"
#include "SysHelpers.h"
#include "UpdateCheck.h"
#include "ViewerSettingsDlg.h"
#include "ViewerFiles.h"
#include "ViewerGlobals.h"
#include "resource.h"

const wchar_t kMakerName[] = L"Brenmoor";
const wchar_t kProgramVersion[] = L"3.2.3";

namespace {
const wchar_t kProgramWord[] = L"Sorvik";
const wchar_t kHomePage[] = L"https://www.brenmoor.example/";
const wchar_t kContactMailbox[] = L"support@brenmoor.example";
} // namespace

CSorvikApp* GetSorvikApp() { return dynamic_cast<CSorvikApp*>(FwGetApp()); }

// ---- command line ----

namespace {

// The Windows path of a Unix one under Wine (empty elsewhere, or when it has none).
CString DosPathOfUnixPath(const CString& path)
{
    using DosFileName = WCHAR*(CDECL*)(const char*);
    static const auto dosFileName = reinterpret_cast<DosFileName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (!dosFileName)
        return CString();
    WCHAR* dos = dosFileName(path.ToUtf8().c_str());
    if (!dos)
        return CString();
    CString result(dos);
    ::HeapFree(::GetProcessHeap(), 0, dos);
    if (result.Left(4) == L"\\\\?\\")
        result = result.Mid(4);
    return result;
}

CString FullPath(const CString& path)
{
    wchar_t full[4096] = L"";
    DWORD length = ::GetFullPathNameW(path, 4096, full, nullptr);
    return length > 0 && length < 4096 ? CString(full) : path;
}

} // namespace

CString CommandLinePath(const wchar_t* param, BOOL flag)
{
    if (!flag)
        return FullPath(param);
    if (!param[0])
        return CString();
    for (wchar_t lead : {L'/', L'-'}) {
        const CString typed = CString(lead) + param;
        if (lead == L'/') {
            CString dos = DosPathOfUnixPath(typed);
            if (!dos.IsEmpty() && ViewerFiles::PathExists(dos))
                return dos;
        }
        if (ViewerFiles::PathExists(typed))
            return FullPath(typed);
    }
    // A switch never holds a slash: a Unix path to something missing, reported as such later.
    if (CString(param).Find(L'/') >= 0) {
        CString dos = DosPathOfUnixPath(CString(L'/') + param);
        return dos.IsEmpty() ? FullPath(CString(L'/') + param) : dos;
    }
    return CString();
}

void CCommandLineInfoEx::ParseParam(const char* param, BOOL flag, BOOL last)
{
    const int length = ::MultiByteToWideChar(CP_ACP, 0, param, -1, nullptr, 0);
    std::wstring wide(size_t(length > 0 ? length : 1), L'\0');
    if (length > 0)
        ::MultiByteToWideChar(CP_ACP, 0, param, -1, &wide[0], length);
    ParseParam(wide.c_str(), flag, last);
}

void CCommandLineInfoEx::ParseParam(const wchar_t* param, BOOL flag, BOOL last)
{
    CString path = CommandLinePath(param, flag);
    if (!path.IsEmpty())
        m_files.Add(path);
    ParseLast(last);
}

void CCommandLineInfoEx::ParseLast(BOOL last)
{
    if (!last)
        return;
    if (!m_files.IsEmpty() && m_nShellCommand == FileNew)
        m_nShellCommand = FileOpen;
    m_bShowSplash = !m_bRunEmbedded && !m_bRunAutomated;
}

// ---- document ----

BOOL CSorvikDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return FALSE;
    SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL CSorvikDoc::OnOpenDocument(const wchar_t* path)
{
    // A file that is gone opens no document (so a recent entry for it is dropped).
    if (!ViewerFiles::PathExists(path) || !CDocument::OnOpenDocument(path))
        return FALSE;
    SetModifiedFlag(TRUE);
    return TRUE;
}

void CSorvikDoc::SetPathName(const wchar_t* path, BOOL) { CDocument::SetPathName(path, FALSE); }

BOOL CSorvikDoc::SaveModified()
{
    if (g_pPlayView)
        g_pPlayView->StopPlayback(3);
    SetModifiedFlag(FALSE);
    return CDocument::SaveModified();
}

// ---- application ----

FW_BEGIN_MESSAGE_MAP(CSorvikApp, CWinApp)
    FwOnCommandRange(ID_FILE_RECENT_FIRST, ID_FILE_RECENT_LAST, &ThisClass::OnOpenRecentFile),
    FwOnUpdateCommand(ID_FILE_RECENT_FIRST, &ThisClass::OnUpdateRecentFileMenu),
    FwOnCommand(ID_FILE_CLEAR_RECENT, &ThisClass::OnClearRecentFileList),
    FwOnUpdateCommand(ID_FILE_CLEAR_RECENT, &ThisClass::OnUpdateClearRecentFileList),
    FwOnCommand(ID_HELP_WEB_SITE, &ThisClass::OnWebSite),
    FwOnCommand(ID_HELP_EMAIL, &ThisClass::OnEmailUs),
    FwOnCommand(ID_HELP_CHECK_UPDATES, &ThisClass::OnCheckForUpdates),
    FwOnCommand(ID_APP_SETTINGS, &ThisClass::OnSettings),
    FwOnCommand(ID_APP_ABOUT, &ThisClass::OnAppAbout),
    FwOnCommand(ID_APP_EXIT, &ThisClass::OnAppExit),
FW_END_MESSAGE_MAP()

CSorvikApp::CSorvikApp() : CWinApp(L"Sorvik") {}

BOOL CSorvikApp::InitInstance()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    // The folder dialog's shell trees talk to the shell's COM objects on this thread.
    ::OleInitialize(nullptr);
    SetRegistryKey(kMakerName);
    if (m_resources.Load() != 0)
        return FALSE;
    if (m_settings.Load() != 0)
        return FALSE;
    CCommandLineInfoEx info;
    ParseCommandLine(info);
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RuntimeClassOf<CSorvikDoc>(), RuntimeClassOf<CMainFrame>(),
                                          RuntimeClassOf<CPlayView>()));
    EnableShellOpen();
    RegisterFileTypes(1);
    if (!OpenCommandLineFiles(info))
        return FALSE;
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    m_pMainWnd->DragAcceptFiles(TRUE);
    if (m_settings.AutoCheckUpdate)
        m_pMainWnd->PostMessage(WM_CHECK_UPDATE, 0, 1);
    return TRUE;
}

int CSorvikApp::OpenCommandLineFiles(CCommandLineInfoEx& info)
{
    if (info.m_nShellCommand == CCommandLineInfo::FileOpen) {
        info.m_nShellCommand = CCommandLineInfo::FileNew;
        m_bStartup = 0;
    }
    if (!ProcessShellCommand(info))
        return 0;
    if (g_pPlaylistView) {
        if (m_bStartup)
            g_pPlaylistView->UpdateStatus();
        else
            g_pPlaylistView->ReplaceWithPaths(info.m_files, true);
    }
    m_bStartup = 0;
    return 1;
}

int CSorvikApp::ExitInstance()
{
    m_settings.Save();
    for (ATOM* atom : {&m_atomApp, &m_atomSystemTopic})
        if (*atom) {
            ::GlobalDeleteAtom(*atom);
            *atom = 0;
        }
    ::OleUninitialize();
    return CWinApp::ExitInstance();
}

void CSorvikApp::EnableShellOpen()
{
    m_atomApp = ::GlobalAddAtomW(m_strAppName);
    m_atomSystemTopic = ::GlobalAddAtomW(L"system");
}

int CSorvikApp::RegisterFileTypes(int)
{
    RegisterPlaylistFileType();
    return 0;
}

void CSorvikApp::RegisterType(const wchar_t* extension, const wchar_t* description, int icon)
{
    CString key;
    key.Format(L"%s.%s%s", kMakerName, kProgramWord, extension);
    key.Remove(L' ');
    CFileAssociation association(extension, key, description, icon);
    association.RegisterType(GetModuleFilePath());
}

void CSorvikApp::RegisterPlaylistFileType() { RegisterType(L".playlist", L"Playlist", -129); }
void CSorvikApp::RegisterGifFileType() { RegisterType(L".gif", L"GIF", -205); }

void CSorvikApp::OnOpenRecentFile(UINT id)
{
    int index = int(id - ID_FILE_RECENT_FIRST);
    if (index < 0 || index >= m_settings.m_recentFiles.GetCount())
        return;
    CString path = m_settings.m_recentFiles.GetAt(index);
    if (!OpenDocumentFile(path))
        m_settings.m_recentFiles.Remove(index);
}

void CSorvikApp::OnUpdateRecentFileMenu(CCmdUI* ui) { m_settings.m_recentFiles.UpdateMenu(ui); }

void CSorvikApp::OnClearRecentFileList() { m_settings.ClearRecentFiles(); }

void CSorvikApp::OnUpdateClearRecentFileList(CCmdUI* ui) { ui->Enable(m_settings.m_recentFiles.GetCount() > 0); }

void CSorvikApp::OnWebSite() { ::ShellExecuteW(nullptr, L"open", kHomePage, nullptr, nullptr, SW_SHOWNORMAL); }

void CSorvikApp::OnEmailUs()
{
    CString subject;
    subject.Format(L"About %s %s", m_strAppName.GetString(), kProgramVersion);
    OpenMailTo(kContactMailbox, subject, nullptr);
}

void CSorvikApp::OnCheckForUpdates() { SorvikCheckForUpdates(0); }

void CSorvikApp::OnAppAbout()
{
    CAboutDlg about(m_pMainWnd);
    about.m_info.version = kProgramVersion;
    about.m_info.homePage = kHomePage;
    about.m_info.email = kContactMailbox;
    about.m_info.emailCommand = ID_HELP_EMAIL;
    about.m_info.titleFont = m_resources.m_fontLargeBold;
    about.m_info.linkFont = m_resources.m_fontUnderline;
    about.DoModal();
}

// Exit closes the window as its close box does: playback stops and the settings are saved.
void CSorvikApp::OnAppExit()
{
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

void CSorvikApp::OnSettings()
{
    CViewerSettingsDlg dialog(m_pMainWnd);
    dialog.FillFrom(m_settings);
    dialog.m_bAssociateGif = IsGifAssociated();
    if (dialog.DoModal() != IDOK)
        return;
    const bool sizeChanged = dialog.StoreTo(m_settings);
    SetGifAssociation(dialog.m_bAssociateGif != 0);
    m_settings.Save();
    if (sizeChanged && g_pPlaylistView)
        g_pPlaylistView->RebuildThumbnails();
}

// ---- the ".gif" association ----

namespace {

CFileAssociation GifAssociation()
{
    CString key;
    key.Format(L"%s.%s.gif", kMakerName, kProgramWord);
    return CFileAssociation(L".gif", key, L"GIF", -205);
}

const wchar_t kBackupSection[] = L"FileTypes\\.gif";
const wchar_t kBackupEntry[] = L"Backup";

} // namespace

bool IsGifAssociated()
{
    CFileAssociation association = GifAssociation();
    return association.IsTypeRegistered() && association.IsAssociated();
}

void SetGifAssociation(bool on)
{
    CFileAssociation association = GifAssociation();
    CWinApp* app = FwGetApp();
    if (on) {
        association.RegisterType(GetModuleFilePath());
        CString previous;
        association.GetAssociation(previous);   // and binds ".gif" to the viewer
        if (!previous.IsEmpty() && previous != association.m_strTypeKey)
            app->WriteProfileString(kBackupSection, kBackupEntry, previous);
    } else {
        association.UnregisterType();
        CString backup = app->GetProfileString(kBackupSection, kBackupEntry, L"");
        if (backup == association.m_strTypeKey)
            backup.Empty();
        association.SetAssociation(backup);
    }
}
