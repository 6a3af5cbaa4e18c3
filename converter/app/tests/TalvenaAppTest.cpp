// The application's small path and link helpers.
#include <gtest/gtest.h>

#include "NumberFormat.h"
#include "SysHelpers.h"
#include "TalvenaApp.h"
#include "TalvenaTestSupport.h"

namespace {

TEST(TalvenaApp, TheViewerIsBesideTheProgram)
{
    EXPECT_EQ(GetAppFolder() + L"\\Sorvik.exe", GetViewerPath());
}

TEST(TalvenaApp, TheRecommendMailIsEncodedOnce)
{
    const CString body = RecommendMailBody();
    EXPECT_EQ(L"download from:\n" + MakerPageUrl(L"/talvena") + L"\n", body);
    EXPECT_EQ(-1, body.Find(L'%')) << "the body is plain text";
    const CString url = BuildMailToUrl(L"", L"Talvena - very cool app!!!", body);
    EXPECT_EQ(0, url.Find(L"mailto:?subject=Talvena%20-%20very%20cool%20app%21%21%21&body=download%20from%3A%0A"));
    EXPECT_EQ(-1, url.Find(L"%25")) << "nothing is encoded twice";
}

} // namespace
