#include <gtest/gtest.h>

#include <utility>

#include "FwTestSupport.h"
#include "Settings.h"
#include "SysHelpers.h"
#include "ViewerGlobals.h"

namespace {

using SettingsProfileTest = FwProfileTest;

int ProfileInt(const wchar_t* key, int fallback = -12345)
{
    return TestApp().GetProfileInt(L"Settings", key, fallback);
}

TEST_F(SettingsProfileTest, MissingValuesKeepTheDefaults)
{
    CSettings settings;
    EXPECT_EQ(settings.Load(), 0);
    EXPECT_EQ(settings.ViewLayout, 2);
    EXPECT_EQ(settings.ThumbnailCx, 200);
    EXPECT_EQ(settings.MaxRecentFiles, 10);
    EXPECT_EQ(settings.AutoCheckUpdate, 1);
    EXPECT_EQ(settings.m_recentFiles.m_nMaxCount, 10);
    EXPECT_EQ(settings.m_recentFiles.m_strSection, CString(L"Recent\\Files"));
    EXPECT_EQ(settings.m_recentPlaylists.m_strEntryFormat, CString(L"%02d"));
    EXPECT_EQ(settings.TempFolder, GetAppDataFolder() + L"\\Temp");
    EXPECT_EQ(g_pSettings, &settings);
}

TEST_F(SettingsProfileTest, ReadValuesAreClampedAndReset)
{
    CWinApp& app = TestApp();
    app.WriteProfileInt(L"Settings", L"MaxRecentFiles", 99);
    app.WriteProfileInt(L"Settings", L"MaxRecentPlaylists", -5);
    app.WriteProfileInt(L"Settings", L"Thumbnail.cx", 39);
    app.WriteProfileInt(L"Settings", L"Thumbnail.cy", 150);
    app.WriteProfileInt(L"Settings", L"AlwaysOnTop", 7);
    app.WriteProfileInt(L"Settings", L"Repeat", 2);
    CSettings settings;
    settings.Load();
    EXPECT_EQ(settings.MaxRecentFiles, 30);
    EXPECT_EQ(settings.MaxRecentPlaylists, 0);
    EXPECT_EQ(settings.ThumbnailCx, 200);
    EXPECT_EQ(settings.ThumbnailCy, 200);
    EXPECT_EQ(settings.AlwaysOnTop, 1);
    EXPECT_EQ(settings.Repeat, 2);

    // Every size the settings dialog takes is kept.
    for (const auto& size : {std::pair<int, int>{40, 300}, std::pair<int, int>{400, 30}}) {
        app.WriteProfileInt(L"Settings", L"Thumbnail.cx", size.first);
        app.WriteProfileInt(L"Settings", L"Thumbnail.cy", size.second);
        CSettings edge;
        edge.Load();
        EXPECT_EQ(edge.ThumbnailCx, size.first);
        EXPECT_EQ(edge.ThumbnailCy, size.second);
    }
}

TEST_F(SettingsProfileTest, RecentListsAreLoadedOnlyWhenKept)
{
    CWinApp& app = TestApp();
    app.WriteProfileString(L"Recent\\Files", L"01", L"C:\\a.gif");
    app.WriteProfileString(L"Recent\\Playlists", L"01", L"C:\\a.playlist");
    app.WriteProfileInt(L"Settings", L"SaveRecentFiles", 0);
    CSettings settings;
    settings.Load();
    EXPECT_EQ(settings.m_recentFiles.GetCount(), 0);
    EXPECT_EQ(settings.m_recentFiles.m_nMaxCount, 0);
    ASSERT_EQ(settings.m_recentPlaylists.GetCount(), 1);
    EXPECT_EQ(settings.m_recentPlaylists.GetAt(0), CString(L"C:\\a.playlist"));
}

TEST_F(SettingsProfileTest, SaveWritesEveryValueAndTheFoldersButNotTheTemporaryFolder)
{
    CWinApp& app = TestApp();
    app.WriteProfileString(L"Settings", L"TempFolder", L"C:\\by-hand");
    CSettings settings;
    settings.Load();
    EXPECT_EQ(settings.TempFolder, CString(L"C:\\by-hand"));
    // An empty folder reads as My Pictures and is written back as that path.
    EXPECT_EQ(settings.LastOpenFolder, GetMyPicturesFolder());
    settings.Zoom = 0;
    settings.Repeat = 1;
    settings.AutoCheckUpdateEvery = 3;
    settings.TempFolder = L"C:\\elsewhere";
    settings.AddRecentFile(L"C:\\b.gif");
    settings.Save();
    EXPECT_EQ(ProfileInt(L"Zoom"), 0);
    EXPECT_EQ(ProfileInt(L"Repeat"), 1);
    EXPECT_EQ(ProfileInt(L"AutoCheckUpdate.Every"), 3);
    EXPECT_EQ(ProfileInt(L"Thumbnail.cx"), 200);
    EXPECT_EQ(ProfileInt(L"CacheFrames"), 0);
    EXPECT_EQ(app.GetProfileString(L"Settings", L"LastOpenFolder"), GetMyPicturesFolder());
    EXPECT_EQ(app.GetProfileString(L"Settings", L"TempFolder"), CString(L"C:\\by-hand"));
    EXPECT_EQ(app.GetProfileString(L"Recent\\Files", L"01"), CString(L"C:\\b.gif"));
}

TEST_F(SettingsProfileTest, ThumbnailFilesAreOnlyMadeInTheViewersOwnFolder)
{
    CSettings settings;
    settings.TempFolder = L"Q:\\no\\such\\drive";
    EXPECT_TRUE(settings.NewTempFilePath().IsEmpty());
}

TEST(UIResources, FontsAndCursorAreMade)
{
    CUIResources resources;
    EXPECT_EQ(resources.Load(), 0);
    LOGFONTW normal{}, large{}, bold{}, underline{};
    resources.m_fontNormal.GetLogFont(&normal);
    resources.m_fontLargeBold.GetLogFont(&large);
    resources.m_fontBold.GetLogFont(&bold);
    resources.m_fontUnderline.GetLogFont(&underline);
    EXPECT_STREQ(normal.lfFaceName, L"Tahoma");
    EXPECT_EQ(large.lfHeight, normal.lfHeight + normal.lfHeight / 3);
    EXPECT_EQ(bold.lfWeight, FW_BOLD);
    EXPECT_FALSE(bold.lfUnderline);
    EXPECT_TRUE(underline.lfUnderline);
    EXPECT_NE(resources.m_hHandCursor, nullptr);
    EXPECT_EQ(g_pUIResources, &resources);
}

} // namespace
