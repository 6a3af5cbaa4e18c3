#pragma once
// The converter's application object: the command line, the paths and shared resources, the
// settings and the format catalogue; start-up runs the main dialog and ends the program.
#include "AppFormatCatalog.h"
#include "AppPaths.h"
#include "AppSettings.h"
#include "CSync.h"
#include "CWinApp.h"
#include "TalvenaCommandLine.h"

#include <memory>

class CTalvenaApp : public CWinApp {
    FW_DECLARE_MESSAGE_MAP()
public:
    // Publishes the paths, the settings and the catalogue.
    CTalvenaApp();
    ~CTalvenaApp() override;

    // Always FALSE: the program ends when the main dialog closes.
    BOOL InitInstance() override;
    int ExitInstance() override;

    CTalvenaCommandLine m_commandLine;
    CAppPaths m_paths;
    CAppSettings m_settings;
    CAppFormatCatalog m_catalog;

private:
    void OnHelpPage();
    void OnOpenNewWindow();
    void OnSettings();
    void OnEmailUs();
    void OnWebSite();
    void OnRecommend();
    void OnCheckForUpdates();

    std::unique_ptr<CCriticalSection> m_listLock;
    bool m_oleStarted = false;
    bool m_settingsLoaded = false;
    int m_exitCode = 0;  // the main window's
};

// The viewer beside the program.
CString GetViewerPath();
// The maker's pages.
CString MakerPageUrl(const wchar_t* path);
// The recommend-by-mail body, as plain text.
CString RecommendMailBody();
