// The converter's settings in the profile: defaults, every key read and written, the chosen
// preset stored crosswise, bounded thumbnail sizes and the first recent folders.
#include <gtest/gtest.h>

#include "AppSettings.h"
#include "FileShell.h"
#include "MediaFormatCatalog.h"
#include "TalvenaTestSupport.h"

namespace {

const wchar_t kSection[] = L"Settings";

class AppSettingsTest : public FwProfileTest {
protected:
    void SetUp() override
    {
        FwProfileTest::SetUp();
        LoadBuiltins(m_catalog);
    }
    CWinApp& App() { return TestApp(); }

    CAppFormatCatalog m_catalog;
};

TEST_F(AppSettingsTest, DefaultsWithAnEmptyProfile)
{
    CAppSettings settings;
    ASSERT_EQ(0, settings.Load());
    EXPECT_EQ(0, settings.m_overwrite.load());
    EXPECT_EQ(0, settings.m_autoStart);
    EXPECT_EQ(0, settings.m_autoClose);
    EXPECT_EQ(0, settings.m_sameAsInput);
    EXPECT_EQ(1, settings.m_autoSelect.load());
    EXPECT_EQ(100, settings.ThumbnailWidth());
    EXPECT_EQ(100, settings.ThumbnailHeight());
    EXPECT_EQ(1, settings.m_autoCheckUpdate);
    EXPECT_EQ(7, settings.m_autoCheckUpdateEvery);
    EXPECT_EQ(nullptr, settings.m_preset);
    EXPECT_EQ(0, settings.LoadMediaChoice(m_catalog));
    EXPECT_EQ(nullptr, settings.m_preset);
    EXPECT_EQ(20, settings.m_recentFolders.m_nMaxCount);
    EXPECT_EQ(CString(L"Recent\\Folders"), settings.m_recentFolders.m_strSection);
    EXPECT_EQ(CString(L"Recent\\Filters"), settings.m_recentFilters.m_strSection);
    EXPECT_EQ(CString(L"%02d"), settings.m_recentFilters.m_strEntryFormat);
}

TEST_F(AppSettingsTest, AnEmptyFolderHistoryOffersVideosThenMusic)
{
    const CString videos = GetMyVideosFolder(false);
    const CString music = GetMyMusicFolder(false);
    if (videos.IsEmpty() || music.IsEmpty())
        GTEST_SKIP() << "no special folders here";
    CAppSettings settings;
    settings.Load();
    ASSERT_EQ(2, settings.m_recentFolders.GetCount());
    EXPECT_EQ(videos, settings.m_recentFolders.GetAt(0));
    EXPECT_EQ(music, settings.m_recentFolders.GetAt(1));
}

TEST_F(AppSettingsTest, EveryKeyGoesRoundThroughTheProfile)
{
    CAppSettings saved;
    saved.m_overwrite = 12;
    saved.m_autoStart = saved.m_autoClose = saved.m_autoPlay = saved.m_autoOpen = 1;
    saved.m_alwaysOnTop = saved.m_sameAsInput = saved.m_addToITunes = 1;
    saved.m_autoSelect = 0;
    saved.m_thumbnailWidth = 120;
    saved.m_thumbnailHeight = 80;
    saved.m_folderFilterIndex = 2;
    saved.m_folderLastFolder = L"C:\\gifs";
    saved.m_folderScanSubfolders = 1;
    saved.m_folderDefaultFilter = L"*.gif";
    saved.m_autoCheckUpdate = 0;
    saved.m_autoCheckUpdateEvery = 3;
    saved.m_recentFolders.Add(L"C:\\videos");
    saved.m_recentFilters.Add(L"a*.gif");
    CMediaFormatInfo* webm = m_catalog.FindFormat(L"MC_webm");
    ASSERT_NE(nullptr, webm);
    saved.m_preset = webm->m_presets.back().get();
    saved.Save();

    // Crosswise: the format's id under "Media.Codec", the preset's name under "Media.Format".
    EXPECT_EQ(CString(L"MC_webm"), App().GetProfileString(kSection, L"Media.Codec"));
    EXPECT_EQ(CString(saved.m_preset->m_settings.name), App().GetProfileString(kSection, L"Media.Format"));
    EXPECT_EQ(1, App().GetProfileInt(kSection, L"AddToiTunes", 0));

    CAppSettings loaded;
    loaded.Load();
    loaded.LoadMediaChoice(m_catalog);
    EXPECT_EQ(12, loaded.m_overwrite.load());
    EXPECT_EQ(1, loaded.m_autoStart);
    EXPECT_EQ(1, loaded.m_autoClose);
    EXPECT_EQ(1, loaded.m_autoPlay);
    EXPECT_EQ(1, loaded.m_autoOpen);
    EXPECT_EQ(1, loaded.m_alwaysOnTop);
    EXPECT_EQ(1, loaded.m_sameAsInput);
    EXPECT_EQ(1, loaded.m_addToITunes);
    EXPECT_EQ(0, loaded.m_autoSelect.load());
    EXPECT_EQ(120, loaded.ThumbnailWidth());
    EXPECT_EQ(80, loaded.ThumbnailHeight());
    EXPECT_EQ(2, loaded.m_folderFilterIndex);
    EXPECT_EQ(CString(L"C:\\gifs"), loaded.m_folderLastFolder);
    EXPECT_EQ(1, loaded.m_folderScanSubfolders);
    EXPECT_EQ(CString(L"*.gif"), loaded.m_folderDefaultFilter);
    EXPECT_EQ(0, loaded.m_autoCheckUpdate);
    EXPECT_EQ(3, loaded.m_autoCheckUpdateEvery);
    ASSERT_EQ(1, loaded.m_recentFolders.GetCount());
    EXPECT_EQ(CString(L"C:\\videos"), loaded.m_recentFolders.GetAt(0));
    ASSERT_EQ(1, loaded.m_recentFilters.GetCount());
    EXPECT_EQ(saved.m_preset, loaded.m_preset);
}

TEST_F(AppSettingsTest, TheCustomPresetIsStoredByItsWord)
{
    CAppSettings saved;
    saved.m_preset = m_catalog.FindFormat(L"MC_mp4")->m_customPreset.get();
    ASSERT_NE(nullptr, saved.m_preset);
    saved.Save();
    EXPECT_EQ(CString(L"Custom"), App().GetProfileString(kSection, L"Media.Format"));
    CAppSettings loaded;
    loaded.LoadMediaChoice(m_catalog);
    EXPECT_EQ(saved.m_preset, loaded.m_preset);
}

TEST_F(AppSettingsTest, AChoiceOfAFormatThatIsGoneIsEmpty)
{
    App().WriteProfileString(kSection, L"Media.Codec", L"MC_gone");
    App().WriteProfileString(kSection, L"Media.Format", L"Custom");
    CAppSettings settings;
    settings.LoadMediaChoice(m_catalog);
    EXPECT_EQ(nullptr, settings.m_preset);
    App().WriteProfileString(kSection, L"Media.Codec", L"MC_mp4");
    App().WriteProfileString(kSection, L"Media.Format", L"");
    settings.LoadMediaChoice(m_catalog);
    EXPECT_EQ(nullptr, settings.m_preset);
}

TEST_F(AppSettingsTest, ThumbnailSidesFromTheProfileAreBounded)
{
    const struct {
        int stored, read;
    } cases[] = {{0, 16}, {-5, 16}, {16, 16}, {250, 250}, {512, 512}, {100000, 512}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        App().WriteProfileInt(kSection, L"Thumbnail.Width", c.stored);
        App().WriteProfileInt(kSection, L"Thumbnail.Height", c.stored);
        CAppSettings settings;
        settings.Load();
        EXPECT_EQ(c.read, settings.ThumbnailWidth());
        EXPECT_EQ(c.read, settings.ThumbnailHeight());
    }
}

TEST_F(AppSettingsTest, TruthValuesReadAsZeroOrOne)
{
    App().WriteProfileInt(kSection, L"AutoClose", 7);
    App().WriteProfileInt(kSection, L"Overwrite", 5);
    CAppSettings settings;
    settings.Load();
    EXPECT_EQ(1, settings.m_autoClose);
    EXPECT_EQ(5, settings.m_overwrite.load()) << "an unknown policy is kept; it means: ask";
}

} // namespace
