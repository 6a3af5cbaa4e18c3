#include "SorvikApp.h"

#include <commctrl.h>
#include <shellapi.h>

#include "FileAssociation.h"
#include "MainFrame.h"
#include "PlayView.h"
#include "PlaylistView.h"
#include "SysHelpers.h"
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

void CCommandLineInfoEx::ParseParam(const wchar_t* param, BOOL flag, BOOL last)
{
    if (!flag)
        m_files.Add(param);
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
FW_END_MESSAGE_MAP()

CSorvikApp::CSorvikApp() : CWinApp(L"Sorvik") {}

BOOL CSorvikApp::InitInstance()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    SetRegistryKey(kMakerName);
    if (m_resources.Load() != 0)
        return FALSE;
    if (m_settings.Load() != 0)
        return FALSE;
    CCommandLineInfoEx info;
    ParseCommandLine(info);
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RuntimeClassOf<CSorvikDoc>(), RuntimeClassOf<CMainFrame>(),
                                          RuntimeClassOf<CPlayView>()));
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
    return CWinApp::ExitInstance();
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
