#include <gtest/gtest.h>

#include <ctime>

#include "FwTestSupport.h"
#include "HttpTestServer.h"
#include "UpdateChecker.h"

namespace {

CString DescriptorUrl(const wchar_t* version, const wchar_t* program)
{
    CString path;
    path.Format(L"/v/%s/%s/update.xml", version, program);
    return HttpTestServer::Url(path);
}

CUpdateProduct Viewer(const CString& descriptorUrl)
{
    CUpdateProduct product;
    product.name = L"Sorvik";
    product.version = L"3.2.3";
    product.descriptorUrl = descriptorUrl;
    product.productPage = L"http://www.brenmoor.example/sorvik/";
    return product;
}

TEST(UpdateCheck, TheDescriptorDecidesWhetherANewerVersionIsOut)
{
    ASSERT_NE(HttpTestServer::Get().httpPort, 0) << "the test server is not running";
    struct Case {
        const wchar_t* version;
        const wchar_t* current;
        int result;
    } cases[] = {
        {L"3.3.0", L"3.2.3", 1},
        {L"3.2.10", L"3.2.9", 1},
        {L"3.2.3", L"3.2.3", 0},
        {L"3.0.3", L"3.2.3", 0},
        {L"3.3", L"3.2.3", 0},
        {L"empty", L"3.2.3", -1},
        {L"nourl", L"3.2.3", -1},
        {L"ftp", L"3.2.3", -1},
        {L"junk", L"3.2.3", -1},
    };
    for (const Case& c : cases) {
        CUpdateProduct product = Viewer(DescriptorUrl(c.version, L"sorvik"));
        product.version = c.current;
        CUpdateChecker job(product, 1);
        EXPECT_EQ(job.IsNewerAvailable(), c.result) << CString(c.version).ToUtf8();
    }
}

TEST(UpdateCheck, TheJobKeepsWhatTheDescriptorSays)
{
    CUpdateChecker job(Viewer(DescriptorUrl(L"3.3.0", L"sorvik")), 1);
    ASSERT_EQ(job.IsNewerAvailable(), 1);
    EXPECT_EQ(job.m_strRemoteVersion, CString(L"3.3.0"));
    EXPECT_EQ(job.m_nLevel, 2);
    EXPECT_EQ(job.m_strDescription, CString(L"sorvik 3.3.0 release notes\r\nFaster and smaller."));
    EXPECT_EQ(job.m_strDownloadUrl, HttpTestServer::Url(L"/download/sorvik-3.3.0.exe"));
}

TEST(UpdateCheck, AMissingDescriptorOrServerIsAFailure)
{
    for (const CString& url : {HttpTestServer::Url(L"/status/404"), HttpTestServer::SecureUrl(L"/v/9.9.9/sorvik/update.xml"),
                               CString(L"http://127.0.0.1:1/v/9.9.9/sorvik/update.xml")}) {
        CUpdateChecker job(Viewer(url), 1);
        EXPECT_EQ(job.IsNewerAvailable(), -1) << url.ToUtf8();
    }
}

class UpdateCheckProfile : public FwProfileTest {
protected:
    static int64_t LastCheck() { return int64_t(unsigned(TestApp().GetProfileInt(L"Settings", L"LastUpdateCheck", 0))); }
    static void SetLastCheck(int64_t when) { TestApp().WriteProfileInt(L"Settings", L"LastUpdateCheck", int(when)); }
};

TEST_F(UpdateCheckProfile, AnAutomaticCheckWaitsForItsInterval)
{
    const int64_t now = int64_t(std::time(nullptr));
    // Up to date, so that the check threads that do start show nothing.
    const CUpdateProduct product = Viewer(DescriptorUrl(L"3.2.3", L"sorvik"));
    struct Case {
        const char* what;
        int64_t last;
        int interval;
        int result;
    } cases[] = {
        {"checked an hour ago, weekly", now - 3600, 7, 1},
        {"checked six days ago, weekly", now - 6 * 86400, 7, 1},
        {"checked eight days ago, weekly", now - 8 * 86400, 7, 0},
        {"never checked, weekly", 0, 7, 0},
        {"just checked, every time", now, 0, 0},
        {"checked long ago, never", 0, -1, 1},
    };
    for (const Case& c : cases) {
        SetLastCheck(c.last);
        EXPECT_EQ(CheckForUpdates(product, c.interval, 1), c.result) << c.what;
        if (c.result == 1)
            EXPECT_EQ(LastCheck(), c.last) << c.what << ": a check not due is no check";
        else
            EXPECT_GE(LastCheck(), now) << c.what << ": the start of the check is kept";
    }
    ::Sleep(500);   // the started checks find nothing new and end quietly
}

TEST_F(UpdateCheckProfile, TheSiteComesFromTheProfile)
{
    EXPECT_EQ(UpdateSiteAddress(L"/sorvik/update.xml"), CString(L"https://www.brenmoor.example/sorvik/update.xml"));
    TestApp().WriteProfileString(L"Settings", L"UpdateSite", L"http://127.0.0.1:8080/v/3.3.0/");
    EXPECT_EQ(UpdateSiteAddress(L"/talvena/update.xml"), CString(L"http://127.0.0.1:8080/v/3.3.0/talvena/update.xml"));
}

} // namespace
