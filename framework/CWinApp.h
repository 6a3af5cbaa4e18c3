#pragma once
// The application object: instance, name, registry profile, document templates, command line
// and the main thread's message loop.
#include <windows.h>

#include <vector>

#include "CString.h"
#include "CWinThread.h"

class CDocTemplate;
class CDocument;

// What the command line asks for; ParseParam is called once per argument.
class CCommandLineInfo : public CObject {
public:
    enum ShellCommand { FileNew, FileOpen, FileNothing };

    ShellCommand m_nShellCommand = FileNew;
    CString m_strFileName;     // the first plain argument
    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;

    // `flag`: the argument began with "-" or "/" (removed from `param`); `last`: no more follow.
    virtual void ParseParam(const wchar_t* param, BOOL flag, BOOL last);
};

class CWinApp : public CWinThread {
public:
    HINSTANCE m_hInstance = nullptr;
    const wchar_t* m_lpCmdLine = L"";
    int m_nCmdShow = SW_SHOWNORMAL;
    CString m_strAppName;       // the program's name, also its profile subkey
    CString m_strRegistryKey;   // the maker's key under HKEY_CURRENT_USER\Software

    // One application object per process. Without a name, string resource 57344 or the
    // program file's name is used.
    explicit CWinApp(const wchar_t* appName = nullptr);
    ~CWinApp() override;

    // The profile lives under HKEY_CURRENT_USER\Software\<key>\<program name>.
    void SetRegistryKey(const wchar_t* key) { m_strRegistryKey = key ? key : L""; }
    // Sections may nest with backslashes; an empty section is the program's key itself.
    int GetProfileInt(const wchar_t* section, const wchar_t* entry, int defaultValue);
    BOOL WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value);
    CString GetProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* defaultValue = L"");
    // A null value deletes the entry.
    BOOL WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value);
    // Deletes the section with everything below it.
    BOOL DeleteProfileSection(const wchar_t* section);
    // The program's key (or a section's), opened for reading and writing; the caller closes it.
    HKEY GetSectionKey(const wchar_t* section, bool create);

    void AddDocTemplate(CDocTemplate* docTemplate);
    // Opens a document through the first template; null when that fails.
    virtual CDocument* OpenDocumentFile(const wchar_t* path);
    void OnFileNew();
    void ParseCommandLine(CCommandLineInfo& info);
    BOOL ProcessShellCommand(CCommandLineInfo& info);

    HCURSOR LoadCursor(UINT id) const { return ::LoadCursorW(FwResource(), MAKEINTRESOURCEW(id)); }
    HCURSOR LoadStandardCursor(const wchar_t* id) const { return ::LoadCursorW(nullptr, id); }
    HICON LoadIcon(UINT id) const { return ::LoadIconW(FwResource(), MAKEINTRESOURCEW(id)); }

    BOOL InitInstance() override { return TRUE; }
    int ExitInstance() override;

    // The program's entry: InitInstance, then the message loop when it returned TRUE.
    int Main(HINSTANCE instance, const wchar_t* commandLine, int showCommand);

private:
    HINSTANCE FwResource() const { return m_hInstance; }
    HKEY OpenAppKey(bool create);
    std::vector<CDocTemplate*> m_templates;
};

CWinApp* FwGetApp();
CWnd* FwGetMainWnd();
HINSTANCE FwGetInstanceHandle();
HINSTANCE FwGetResourceHandle();
// A string resource of the program, empty when missing.
CString FwLoadString(UINT id);
// A message box owned by the main window, captioned with the program's name.
int FwMessageBox(const wchar_t* text, UINT type = MB_OK);
