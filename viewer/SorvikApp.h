#pragma once
// The viewer's application object: start-up in a fixed order, the document template, the command
// line (every argument a path, queued into the playlist) and the application's own commands.
#include "CFrameWnd.h"
#include "CWinApp.h"
#include "Collections.h"
#include "Settings.h"

// Collects every plain argument as a full path. An argument led by "-" or "/" is a switch (the
// viewer knows none, so all are ignored) unless it names an existing file or folder, or holds a
// further slash: then it is a Unix path (as Wine passes them on), turned into the Windows one.
class CCommandLineInfoEx : public CCommandLineInfo {
public:
    CStringArray m_files;

    // Narrow text (from the system code page) is read as the wide one.
    virtual void ParseParam(const char* param, BOOL flag, BOOL last);
    void ParseParam(const wchar_t* param, BOOL flag, BOOL last) override;
    void ParseLast(BOOL last);
};

// The document has no data: the playlist lives in the playlist view. It stays modified so that
// every close passes through SaveModified, which stops playback first.
class CSorvikDoc : public CDocument {
public:
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(const wchar_t* path) override;
    void SetPathName(const wchar_t* path, BOOL addToRecent = TRUE) override;
    BOOL SaveModified() override;
};

class CSorvikApp : public CWinApp {
    FW_DECLARE_MESSAGE_MAP()
public:
    CUIResources m_resources;
    CSettings m_settings;
    int m_bStartup = 1;   // 1 until the command line named a path
    // The shell's DDE conversation: the program's name and the "system" topic.
    ATOM m_atomApp = 0;
    ATOM m_atomSystemTopic = 0;

    CSorvikApp();

    virtual int RegisterFileTypes(int register_);
    virtual void RegisterPlaylistFileType();
    virtual void RegisterGifFileType();

    BOOL InitInstance() override;
    int ExitInstance() override;
    int OpenCommandLineFiles(CCommandLineInfoEx& info);
    void EnableShellOpen();

protected:
    void OnOpenRecentFile(UINT id);
    void OnUpdateRecentFileMenu(CCmdUI* ui);
    void OnClearRecentFileList();
    void OnUpdateClearRecentFileList(CCmdUI* ui);
    void OnWebSite();
    void OnEmailUs();
    void OnCheckForUpdates();
    void OnSettings();
    void OnAppAbout();
    void OnAppExit();

private:
    void RegisterType(const wchar_t* extension, const wchar_t* description, int icon);
};

// Whether ".gif" opens with the viewer, and switching that: the association it had is kept in
// the profile ("FileTypes\.gif", "Backup") and given back when the option is turned off.
bool IsGifAssociated();
void SetGifAssociation(bool on);

// The path an argument names, empty for a switch; `flag`: the lead "-" or "/" was taken off `param`.
CString CommandLinePath(const wchar_t* param, BOOL flag);

// The application object when it is the viewer's (null in test programs).
CSorvikApp* GetSorvikApp();

// The maker's and the program's words, and the places on the maker's site.
extern const wchar_t kMakerName[];
extern const wchar_t kProgramVersion[];
