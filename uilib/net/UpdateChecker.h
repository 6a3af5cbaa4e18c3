#pragma once
// Checks on a worker thread whether a newer version of the program is published: fetches the
// update descriptor, compares its version with the program's and, when it is newer, offers it.
// A manual check shows its progress and tells the outcome; an automatic one only offers.
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "CString.h"
#include "UpdateRules.h"

// Where the maker's site is when the profile does not say: a name that can never resolve, so
// that nothing real is asked by accident.
constexpr wchar_t kDefaultUpdateSite[] = L"https://www.brenmoor.example";

// The maker's site from the program's profile ("Settings"/"UpdateSite", no trailing slash)
// followed by `path`.
CString UpdateSiteAddress(const wchar_t* path);

// What the program tells the checker about itself.
struct CUpdateProduct {
    CString name;              // shown in the dialogs
    CString version;           // "3.2.3"
    CString descriptorUrl;     // its own descriptor
    CString productPage;       // the links of the new-version dialog
    int* autoCheck = nullptr;  // the program's "AutoCheckUpdate"; the new-version dialog sets it
    HFONT labelFont = nullptr; // null: the dialog's font
    HFONT linkFont = nullptr;  // null: the dialog's font underlined
};

// One check; made by CheckForUpdates and deleted by its thread.
class CUpdateChecker {
public:
    CString m_strProductName;
    CString m_strCurrentVersion;
    CString m_strRemoteVersion;
    CString m_strDownloadUrl;
    CString m_strDescription;
    int m_nLevel = 0;
    CString m_strDescriptorUrl;
    int m_bAutomatic = 0;
    std::atomic<int> m_nCancel{0};   // 2 from the progress dialog's Cancel
    CString m_strProductPage;
    int* m_pAutoCheck = nullptr;
    HFONT m_hLabelFont = nullptr;
    HFONT m_hLinkFont = nullptr;

    CUpdateChecker(const CUpdateProduct& product, int automatic);

    // -1 failed, 0 nothing newer (or cancelled), 1 the user chose to download.
    int Run();
    // 1 newer, 0 not, -1 the descriptor could not be had or read.
    int IsNewerAvailable();
    int FetchUpdateInfo();
    int DownloadUpdateXml(CString& xml);
    int ParseUpdateXml(const CString& xml);

    // The program's auto-check setting (another thread may read it meanwhile).
    int GetAutoCheck() const;
    void SetAutoCheck(int value);
};

// 1 when an automatic check is not due, 0 when the check thread started, -1 when it could not.
int CheckForUpdates(const CUpdateProduct& product, int intervalDays, int automatic);

UINT UpdateCheckThreadProc(void* job);

// The message box a check shows (tests put a stand-in here).
extern int(WINAPI* g_pfnUpdateMessageBox)(HWND, const wchar_t*, const wchar_t*, UINT);
