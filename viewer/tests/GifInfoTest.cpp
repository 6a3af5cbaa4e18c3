#include <gtest/gtest.h>

#include <fstream>

#include "GifInfo.h"
#include "NumberFormat.h"
#include "PlaylistItem.h"
#include "SettingsValues.h"
#include "ViewerTestSupport.h"

namespace {

class GifInfoTest : public ScratchFolderTest {};

TEST(GifInfoLooping, TextsByCount)
{
    EXPECT_EQ(LoopingText(0), CString(L"Infinite loop"));
    EXPECT_EQ(LoopingText(1), CString(L"Play once"));
    EXPECT_EQ(LoopingText(5), CString(L"Play 5 times"));
}

TEST_F(GifInfoTest, RowsBeforeAndAfterTheFramesAreLoaded)
{
    CSettingsValues settings;
    CPlaylistItem item;
    ASSERT_TRUE(WriteTestGif(Path("facts.gif"), 30, 20, ColourFrames(3, 10)));
    ASSERT_EQ(item.Open(Path("facts.gif")), 0);
    std::vector<GifInfoRow> rows = GifInfoRows(item);
    ASSERT_EQ(rows.size(), 7u);
    const wchar_t* names[] = {L"File Name", L"File Size", L"Resolution", L"Frame Count", L"Duration", L"Looping", L"Comment"};
    for (size_t i = 0; i < rows.size(); i++)
        EXPECT_EQ(rows[i].name, CString(names[i]));
    EXPECT_EQ(rows[0].value, CString(L"facts.gif"));
    EXPECT_EQ(rows[1].value, FormatInt64Grouped(int64_t(std::filesystem::file_size(m_folder / "facts.gif"))));
    EXPECT_EQ(rows[2].value, CString(L"30x20"));
    EXPECT_EQ(rows[3].value, CString(L"3"));
    // Not loaded yet: no duration, no comment, and the loop count reads as infinite.
    EXPECT_TRUE(rows[4].value.IsEmpty());
    EXPECT_EQ(rows[5].value, CString(L"Infinite loop"));
    EXPECT_TRUE(rows[6].value.IsEmpty());

    CFrameLoadCallback callback(&item);
    ASSERT_EQ(item.LoadFrames(&callback, &callback.m_nCancel), 0);
    rows = GifInfoRows(item);
    EXPECT_FALSE(rows[4].value.IsEmpty());
    // A single turn swaps the resolution.
    item.RotateLeft = 1;
    item.ResetFilters();
    EXPECT_EQ(GifInfoRows(item)[2].value, CString(L"20x30"));
}

TEST_F(GifInfoTest, AnUnreadableItemHasNoRows)
{
    CSettingsValues settings;
    CPlaylistItem item;
    std::ofstream(m_folder / "words.gif") << "not a picture";
    item.Open(Path("words.gif"));
    EXPECT_TRUE(GifInfoRows(item).empty());
}

} // namespace
