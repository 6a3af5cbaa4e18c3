#include <gtest/gtest.h>

#include <fstream>

#include "SettingsValues.h"
#include "ViewerFiles.h"
#include "ViewerTestSupport.h"

namespace {

TEST(SettingsBounds, RecentMaximaAreClampedAndBadThumbnailSizesReset)
{
    struct Case {
        int recent, expectedRecent, cx, cy, expectedCx, expectedCy;
    } cases[] = {
        {99, 30, 39, 200, 200, 200},
        {-5, 0, 200, 301, 200, 200},
        {10, 10, 40, 30, 40, 30},
        {30, 30, 400, 300, 400, 300},
        {0, 0, 401, 100, 200, 200},
        {1, 1, 100, 29, 200, 200},
        {2, 2, 64, 400, 200, 200},
    };
    for (const Case& c : cases) {
        CSettingsValues s;
        s.MaxRecentFiles = s.MaxRecentPlaylists = c.recent;
        s.ThumbnailCx = c.cx;
        s.ThumbnailCy = c.cy;
        s.ApplyBounds();
        EXPECT_EQ(s.MaxRecentFiles, c.expectedRecent);
        EXPECT_EQ(s.MaxRecentPlaylists, c.expectedRecent);
        EXPECT_EQ(s.ThumbnailCx, c.expectedCx) << c.cx << "x" << c.cy;
        EXPECT_EQ(s.ThumbnailCy, c.expectedCy) << c.cx << "x" << c.cy;
    }
    // The bounds the settings dialog checks are the ones reading applies.
    EXPECT_TRUE(AreThumbnailSizesValid(kThumbnailWidthMin, kThumbnailHeightMin));
    EXPECT_TRUE(AreThumbnailSizesValid(kThumbnailWidthMax, kThumbnailHeightMax));
    EXPECT_FALSE(AreThumbnailSizesValid(kThumbnailWidthMin - 1, kThumbnailHeightMin));
    EXPECT_FALSE(AreThumbnailSizesValid(kThumbnailWidthMax, kThumbnailHeightMax + 1));
}

TEST(SettingsDefaults, AStandInNeverHidesTheRealSettings)
{
    ViewerSettings().Zoom = 100;   // no settings object yet: the stand-in answers
    CSettingsValues real;
    real.Zoom = 55;
    EXPECT_EQ(&ViewerSettings(), &real);
    EXPECT_EQ(ViewerSettings().Zoom, 55);
}

TEST(SettingsDefaults, MatchTheDocumentedValues)
{
    CSettingsValues s;
    EXPECT_EQ(s.ViewLayout, 2);
    EXPECT_EQ(s.PlaylistViewStyle, 1);
    EXPECT_EQ(s.Repeat, 0);
    EXPECT_EQ(s.AutoAdvance, 1);
    EXPECT_EQ(s.EscToExitFullScreen, 10);
    EXPECT_EQ(s.ThumbnailCx, 200);
    EXPECT_EQ(s.ThumbnailCy, 200);
    EXPECT_EQ(s.BackgroundTheme, 2);
    EXPECT_EQ(s.Zoom, 100);
    EXPECT_EQ(s.AutoCheckUpdateEvery, 7);
    EXPECT_EQ(s.CacheFrames, 0);
}

class TempFolderTest : public ScratchFolderTest {
protected:
    void Touch(const std::string& name) { std::ofstream(m_folder / name) << "x"; }
};

TEST_F(TempFolderTest, NewNamesSkipTheOnesInUse)
{
    CSettingsValues s;
    s.TempFolder = Path("temp");
    ASSERT_TRUE(ViewerFiles::CreateFolderTree(s.TempFolder));
    std::ofstream(m_folder / "temp" / "00000000") << "a";
    std::ofstream(m_folder / "temp" / "00000001") << "b";
    EXPECT_EQ(s.NewTempFileName(), ViewerFiles::JoinPath(s.TempFolder, L"00000002"));
}

TEST_F(TempFolderTest, MissingFoldersAreCreated)
{
    CSettingsValues s;
    s.TempFolder = Path("a/b/c");
    EXPECT_EQ(s.NewTempFileName(), ViewerFiles::JoinPath(s.TempFolder, L"00000000"));
    EXPECT_TRUE(ViewerFiles::FolderExists(s.TempFolder));
}

TEST_F(TempFolderTest, CleanupDeletesOnlyTheViewersOwnFiles)
{
    // A folder set by hand may be one the user keeps other files in.
    CSettingsValues s;
    s.TempFolder = Folder();
    Touch("00000000");
    Touch("00000007");
    Touch("holiday.jpg");
    Touch("1234567");
    Touch("000000001");
    std::filesystem::create_directories(m_folder / "sub");
    s.DeleteOwnTempFiles();
    EXPECT_FALSE(ViewerFiles::FileExists(Path("00000000")));
    EXPECT_FALSE(ViewerFiles::FileExists(Path("00000007")));
    EXPECT_TRUE(ViewerFiles::FileExists(Path("holiday.jpg")));
    EXPECT_TRUE(ViewerFiles::FileExists(Path("1234567")));
    EXPECT_TRUE(ViewerFiles::FileExists(Path("000000001")));
    EXPECT_TRUE(ViewerFiles::FolderExists(Path("sub")));
}

TEST_F(TempFolderTest, AnEmptiedFolderOfItsOwnIsRemoved)
{
    CSettingsValues s;
    s.TempFolder = Path("temp");
    CString file = s.NewTempFileName();
    std::ofstream(m_folder / "temp" / "00000000") << "x";
    ASSERT_TRUE(ViewerFiles::FileExists(file));
    s.DeleteOwnTempFiles();
    EXPECT_FALSE(ViewerFiles::FolderExists(s.TempFolder));
}

TEST_F(TempFolderTest, OwnFilesAreTheEightDigitNamesInTheFolder)
{
    CSettingsValues s;
    s.TempFolder = Path("temp");
    EXPECT_TRUE(s.IsOwnTempFile(ViewerFiles::JoinPath(s.TempFolder, L"00000042")));
    EXPECT_FALSE(s.IsOwnTempFile(ViewerFiles::JoinPath(s.TempFolder, L"thumb.jpg")));
    EXPECT_FALSE(s.IsOwnTempFile(Path("00000042")));
    EXPECT_FALSE(s.IsOwnTempFile(L""));
}

} // namespace
