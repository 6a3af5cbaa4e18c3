#include "UpdateChecker.h"

#include <ctime>

#include "CWinApp.h"
#include "CWinThread.h"
#include "HttpDownloader.h"
#include "HyperlinkButton.h"
#include "UpdateDialogs.h"

int(WINAPI* g_pfnUpdateMessageBox)(HWND, const wchar_t*, const wchar_t*, UINT) = ::MessageBoxW;

namespace {
const wchar_t kSettings[] = L"Settings";
}

CString UpdateSiteAddress(const wchar_t* path)
{
    CString site = FwGetApp()->GetProfileString(kSettings, L"UpdateSite", kDefaultUpdateSite);
    site.Trim();
    site.TrimRight(L'/');
    return site + path;
}

CUpdateChecker::CUpdateChecker(const CUpdateProduct& product, int automatic)
    : m_strProductName(product.name), m_strCurrentVersion(product.version), m_strDescriptorUrl(product.descriptorUrl),
      m_bAutomatic(automatic), m_strProductPage(product.productPage), m_pAutoCheck(product.autoCheck),
      m_hLabelFont(product.labelFont), m_hLinkFont(product.linkFont)
{
}

int CUpdateChecker::GetAutoCheck() const
{
    return m_pAutoCheck ? int(::InterlockedCompareExchange(reinterpret_cast<volatile LONG*>(m_pAutoCheck), 0, 0)) : 0;
}

void CUpdateChecker::SetAutoCheck(int value)
{
    if (m_pAutoCheck)
        ::InterlockedExchange(reinterpret_cast<volatile LONG*>(m_pAutoCheck), value ? 1 : 0);
}

int CUpdateChecker::DownloadUpdateXml(CString& xml)
{
    CHttpDownloader http;
    http.m_pCancel = &m_nCancel;
    http.m_strUrl = m_strDescriptorUrl;
    return http.DownloadToString(xml) == 0 ? 0 : -1;
}

int CUpdateChecker::ParseUpdateXml(const CString& xml)
{
    CUpdateDescriptor descriptor;
    descriptor.level = m_nLevel;
    if (::ParseUpdateXml(xml, descriptor) != 0)
        return -1;
    m_strRemoteVersion = descriptor.version;
    m_nLevel = descriptor.level;
    m_strDownloadUrl = descriptor.downloadUrl;
    m_strDescription = descriptor.description;
    return 0;
}

int CUpdateChecker::FetchUpdateInfo()
{
    CString xml;
    if (DownloadUpdateXml(xml) != 0)
        return -1;
    return ParseUpdateXml(xml);
}

int CUpdateChecker::IsNewerAvailable()
{
    if (FetchUpdateInfo() != 0)
        return -1;
    return CompareVersions(m_strRemoteVersion, m_strCurrentVersion) > 0 ? 1 : 0;
}

int CUpdateChecker::Run()
{
    int result;
    if (m_bAutomatic) {
        result = IsNewerAvailable();
    } else {
        CUpdateProgressDlg progress(this);
        progress.m_bAutoCheck = GetAutoCheck();
        progress.DoModal();
        SetAutoCheck(progress.m_bAutoCheck);
        result = progress.m_nResult;
    }
    if (m_nCancel != 0)
        return 0;
    if (result == -1) {
        if (!m_bAutomatic)
            g_pfnUpdateMessageBox(nullptr, L"Failed to get update information!\nPlease try again later.",
                                  m_strProductName, MB_OK);
        return -1;
    }
    if (result == 1) {
        CNewVersionDlg offer(this);
        if (offer.DoModal() != IDOK)
            return 0;
        if (IsWebAddress(m_strDownloadUrl))
            g_pfnShellExecuteW(nullptr, L"open", m_strDownloadUrl, nullptr, nullptr, SW_SHOWNORMAL);
        return 1;
    }
    if (!m_bAutomatic)
        g_pfnUpdateMessageBox(nullptr, L"You are already using the newest version.\nPlease check again in future.",
                              m_strProductName, MB_OK);
    return 0;
}

UINT UpdateCheckThreadProc(void* param)
{
    auto* job = static_cast<CUpdateChecker*>(param);
    job->Run();
    delete job;
    return 0;
}

int CheckForUpdates(const CUpdateProduct& product, int intervalDays, int automatic)
{
    const int64_t now = int64_t(std::time(nullptr));
    CWinApp* app = FwGetApp();
    if (automatic) {
        const int64_t last = int64_t(unsigned(app->GetProfileInt(kSettings, L"LastUpdateCheck", 0)));
        if (!IsUpdateCheckDue(last, now, intervalDays))
            return 1;
    }
    app->WriteProfileInt(kSettings, L"LastUpdateCheck", int(now));
    auto* job = new CUpdateChecker(product, automatic);
    if (!FwBeginThread(UpdateCheckThreadProc, job)) {
        delete job;
        return -1;
    }
    return 0;
}
