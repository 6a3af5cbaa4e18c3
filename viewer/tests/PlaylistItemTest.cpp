#include <gtest/gtest.h>

#include <fstream>

#include "PlaylistItem.h"
#include "SettingsValues.h"
#include "ViewerTestSupport.h"

namespace {

class PlaylistItemTest : public ScratchFolderTest {
protected:
    CString MakeGif(const std::string& name, int w, int h, const std::vector<TestFrame>& frames)
    {
        CString path = Path(name);
        EXPECT_TRUE(WriteTestGif(path, w, h, frames));
        return path;
    }
    static std::vector<TestFrame> Frames(int n, uint32_t delay)
    {
        std::vector<TestFrame> frames;
        for (int i = 0; i < n; i++)
            frames.push_back(TestFrame{uint8_t(40 * i), uint8_t(255 - 40 * i), 7, delay});
        return frames;
    }
};

// The decoder's reports, with a cancel request at a chosen frame.
class CancellingCallback : public CFrameLoadCallback {
public:
    using CFrameLoadCallback::CFrameLoadCallback;
    int cancelAfter = -1;
    int OnFrameDecoded(CrImageGIF* gif, GifLoadInfo* info) override
    {
        int answer = CFrameLoadCallback::OnFrameDecoded(gif, info);
        if (info->frameIndex == cancelAfter)
            m_nCancel = 2;
        return answer ? answer : m_nCancel.load();
    }
};

TEST_F(PlaylistItemTest, OpenReadsTheFactsOfTheFirstFrame)
{
    CSettingsValues settings;
    CString path = MakeGif("wide.gif", 400, 100, Frames(3, 20));
    CPlaylistItem item;
    ASSERT_EQ(item.Open(path), 0);
    EXPECT_EQ(item.State, ITEM_READY);
    EXPECT_EQ(item.Width, 400);
    EXPECT_EQ(item.Height, 100);
    EXPECT_EQ(item.FrameCount, 3);
    EXPECT_GT(item.Size, 0);
    EXPECT_EQ(item.m_strName, CString(L"wide.gif"));
    EXPECT_EQ(item.m_strResolution, CString(L"400x100"));
    EXPECT_EQ(item.m_strFrameCount, CString(L"3 frames"));
    CString size;
    size.Format(L"%d KB", int(item.Size / 1024));
    EXPECT_EQ(item.m_strSize, size);
    EXPECT_TRUE(item.m_strDuration.IsEmpty());
    EXPECT_EQ(item.m_slots.GetSize(), 3);
    // 200 x 200 thumbnails: a 400 x 100 picture becomes 200 x 50.
    EXPECT_EQ(item.m_thumbnail.GetWidth(), 200);
    EXPECT_EQ(item.m_thumbnail.GetHeight(), 50);
    EXPECT_EQ(item.m_thumbnail.GetBpp(), 24u);
}

TEST_F(PlaylistItemTest, SmallPicturesAreTheirOwnThumbnail)
{
    CSettingsValues settings;
    CPlaylistItem item;
    ASSERT_EQ(item.Open(MakeGif("small.gif", 100, 100, Frames(1, 10))), 0);
    EXPECT_EQ(item.m_thumbnail.GetWidth(), 100);
    EXPECT_EQ(item.m_thumbnail.GetHeight(), 100);
    EXPECT_EQ(item.FrameCount, 1);
}

TEST_F(PlaylistItemTest, MissingAndUnreadableFiles)
{
    CPlaylistItem missing;
    EXPECT_EQ(missing.Open(Path("nowhere.gif")), -1);
    EXPECT_TRUE(missing.m_strPath.IsEmpty());
    EXPECT_EQ(missing.State, ITEM_NEW);

    std::ofstream(m_folder / "text.gif") << "this is not a picture";
    CPlaylistItem bad;
    EXPECT_EQ(bad.Open(Path("text.gif")), -1);
    EXPECT_EQ(bad.State, ITEM_UNREADABLE);
    EXPECT_TRUE(bad.m_strFrameCount.IsEmpty());
    // The entry still says which file it is and what is wrong with it.
    EXPECT_EQ(bad.m_strName, CString(L"text.gif"));
    EXPECT_EQ(bad.m_nProblem, PROBLEM_NOT_GIF);
    EXPECT_TRUE(bad.IsUnplayable());
}

TEST_F(PlaylistItemTest, AFileTheUserNamedStaysAnEntryThatSaysWhatIsWrong)
{
    struct Case {
        const char* name;
        std::string bytes;   // none: the file does not exist
        bool exists;
        int problem;
        const wchar_t* text;
    } cases[] = {
        {"nowhere.gif", "", false, PROBLEM_MISSING, L"The file does not exist."},
        {"empty.gif", "", true, PROBLEM_EMPTY, L"The file is empty."},
        {"notes.gif", "just some words", true, PROBLEM_NOT_GIF, L"This is not a GIF file."},
        {"cut.gif", std::string("GIF89a\x10\x00", 8), true, PROBLEM_DAMAGED_GIF, L"The GIF data is damaged."},
        {"photo.gif", std::string("\xFF\xD8\xFF\xE0junk", 8), true, PROBLEM_JPEG,
         L"This is a JPEG picture, not a GIF animation."},
        {"paint.gif", "BMjunkjunk", true, PROBLEM_BMP, L"This is a BMP picture, not a GIF animation."},
        {"icon.gif", std::string("\0\0\1\0junk", 8), true, PROBLEM_ICO, L"This is an icon, not a GIF animation."},
        {"picture.gif", "", false, PROBLEM_PNG, L"This is a PNG picture, not a GIF animation."},
    };
    ASSERT_TRUE(CrImage(8, 8, 24, CRIMAGE_FORMAT_PNG).Save(Path("picture.gif"), CRIMAGE_FORMAT_PNG));
    for (const Case& c : cases) {
        if (c.exists)
            std::ofstream(m_folder / c.name, std::ios::binary) << c.bytes;
        CPlaylistItem item;
        EXPECT_EQ(item.OpenOrExplain(Path(c.name)), -1) << c.name;
        EXPECT_EQ(item.m_strPath, Path(c.name)) << c.name;
        EXPECT_EQ(item.m_strName, CString(c.name)) << c.name;
        EXPECT_EQ(item.State, ITEM_UNREADABLE) << c.name;
        EXPECT_EQ(item.m_nProblem, c.problem) << c.name;
        EXPECT_STREQ(item.GetProblemText(), c.text) << c.name;
    }
    CPlaylistItem good;
    EXPECT_EQ(good.OpenOrExplain(MakeGif("good.gif", 4, 4, Frames(1, 10))), 0);
    EXPECT_FALSE(good.IsUnplayable());
}

TEST_F(PlaylistItemTest, AFileThatStoppedBeingAGifSaysWhyUntilItIsOneAgain)
{
    CPlaylistItem item;
    ASSERT_EQ(item.Open(MakeGif("changing.gif", 8, 8, Frames(1, 10))), 0);
    ASSERT_TRUE(CrImage(8, 8, 24, CRIMAGE_FORMAT_PNG).Save(Path("changing.gif"), CRIMAGE_FORMAT_PNG));
    CFrameLoadCallback callback(&item);
    EXPECT_LT(item.LoadFrames(&callback, &callback.m_nCancel), 0);
    EXPECT_TRUE(item.IsUnplayable());
    EXPECT_STREQ(item.GetProblemText(), L"This is a PNG picture, not a GIF animation.");
    ASSERT_TRUE(WriteTestGif(Path("changing.gif"), 8, 8, Frames(1, 10)));
    EXPECT_EQ(item.LoadFrames(&callback, &callback.m_nCancel), 0);
    EXPECT_FALSE(item.IsUnplayable());
    EXPECT_EQ(item.m_nProblem, PROBLEM_NONE);
}

TEST_F(PlaylistItemTest, LoadingDecodesEveryFrameAndSumsTheDelays)
{
    CPlaylistItem item;
    ASSERT_EQ(item.Open(MakeGif("anim.gif", 20, 10, Frames(4, 0))), 0);
    CFrameLoadCallback callback(&item);
    EXPECT_EQ(item.LoadFrames(&callback, &callback.m_nCancel), 0);
    EXPECT_EQ(item.m_nLoadStatus, LOAD_DONE);
    // Delays of 0 count as 10 hundredths.
    EXPECT_EQ(item.Duration, 400);
    EXPECT_EQ(item.m_strDuration, CString(L"0:00"));
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(item.m_slots.GetAt(i)->m_nState, SLOT_DECODED);
        ASSERT_NE(item.GetFrame(i), nullptr);
        EXPECT_EQ(item.GetFrame(i)->GetFrameDelay(), 10u);
        EXPECT_EQ(item.GetFrame(i)->GetBpp(), 24u);
    }
}

TEST_F(PlaylistItemTest, LongerAnimationsGetADurationText)
{
    CPlaylistItem item;
    ASSERT_EQ(item.Open(MakeGif("long.gif", 8, 8, Frames(3, 150))), 0);
    CFrameLoadCallback callback(&item);
    ASSERT_EQ(item.LoadFrames(&callback, &callback.m_nCancel), 0);
    EXPECT_EQ(item.Duration, 4500);
    EXPECT_EQ(item.m_strDuration, CString(L"0:04"));
}

TEST_F(PlaylistItemTest, ACancelKeepsTheDecodedFrames)
{
    CPlaylistItem item;
    ASSERT_EQ(item.Open(MakeGif("anim.gif", 20, 10, Frames(5, 10))), 0);
    CancellingCallback callback(&item);
    callback.cancelAfter = 1;
    EXPECT_GT(item.LoadFrames(&callback, &callback.m_nCancel), 0);
    EXPECT_EQ(item.m_nLoadStatus, LOAD_CANCELLED);
    EXPECT_EQ(item.m_slots.GetAt(0)->m_nState, SLOT_DECODED);
    EXPECT_EQ(item.m_slots.GetAt(1)->m_nState, SLOT_DECODED);
    for (int i = 2; i < 5; i++)
        EXPECT_EQ(item.m_slots.GetAt(i)->m_nState, SLOT_CANCELLED);
}

TEST_F(PlaylistItemTest, AFileThatVanishedFailsEveryFrame)
{
    CPlaylistItem item;
    CString path = MakeGif("gone.gif", 20, 10, Frames(3, 10));
    ASSERT_EQ(item.Open(path), 0);
    std::filesystem::remove(m_folder / "gone.gif");
    CFrameLoadCallback callback(&item);
    EXPECT_LT(item.LoadFrames(&callback, &callback.m_nCancel), 0);
    EXPECT_EQ(item.m_nLoadStatus, LOAD_FAILED);
    // Nothing waits for frames that will never come.
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(item.m_slots.GetAt(i)->m_nState, SLOT_BAD);
}

TEST_F(PlaylistItemTest, AGifWithoutFramesFailsItsLoad)
{
    CPlaylistItem item;
    CString path = MakeGif("empty.gif", 2, 2, Frames(2, 10));
    ASSERT_EQ(item.Open(path), 0);
    // The file now holds a screen and a palette but no picture.
    const char bytes[] = "GIF89a\x02\x00\x02\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff\x3b";
    std::ofstream(m_folder / "empty.gif", std::ios::binary).write(bytes, sizeof bytes - 1);
    CFrameLoadCallback callback(&item);
    EXPECT_LT(item.LoadFrames(&callback, &callback.m_nCancel), 0);
    EXPECT_EQ(item.m_nLoadStatus, LOAD_FAILED);
    EXPECT_EQ(item.m_slots.GetAt(0)->m_nState, SLOT_BAD);
    EXPECT_EQ(item.m_slots.GetAt(1)->m_nState, SLOT_BAD);
}

TEST_F(PlaylistItemTest, ReportsBeyondTheSlotsAreIgnored)
{
    // The file grew after its info was read.
    CPlaylistItem item;
    CString path = MakeGif("grown.gif", 20, 10, Frames(2, 10));
    ASSERT_EQ(item.Open(path), 0);
    ASSERT_TRUE(WriteTestGif(path, 20, 10, Frames(5, 10)));
    CFrameLoadCallback callback(&item);
    EXPECT_EQ(item.LoadFrames(&callback, &callback.m_nCancel), 0);
    EXPECT_EQ(item.m_slots.GetSize(), 2);
    EXPECT_EQ(item.m_slots.GetAt(1)->m_nState, SLOT_DECODED);
    EXPECT_EQ(item.GetFrame(2), nullptr);
}

TEST_F(PlaylistItemTest, ReverseAloneGivesTheDecodedFramesBackwards)
{
    CPlaylistItem item;
    ASSERT_EQ(item.Open(MakeGif("anim.gif", 20, 10, Frames(3, 10))), 0);
    CFrameLoadCallback callback(&item);
    ASSERT_EQ(item.LoadFrames(&callback, &callback.m_nCancel), 0);
    CrImage* first = item.GetFrame(0);
    CrImage* last = item.GetFrame(2);
    item.Reverse = 1;
    EXPECT_EQ(item.GetFrame(0), last);
    EXPECT_EQ(item.GetFrame(2), first);
    EXPECT_EQ(item.m_slots.GetAt(0)->m_pFiltered, nullptr);
    EXPECT_EQ(item.GetFrame(3), nullptr);
    EXPECT_EQ(item.GetFrame(-1), nullptr);
}

TEST_F(PlaylistItemTest, OtherFiltersWorkOnCachedCopies)
{
    CPlaylistItem item;
    ASSERT_EQ(item.Open(MakeGif("anim.gif", 20, 10, Frames(2, 10))), 0);
    CFrameLoadCallback callback(&item);
    ASSERT_EQ(item.LoadFrames(&callback, &callback.m_nCancel), 0);
    CrImage* plain = item.GetFrame(0);
    CrRgbQuad before = plain->GetPixelColor(0, 0, false);
    item.Negate = 1;
    item.RotateLeft = 1;
    item.ResetFilters();
    CrImage* filtered = item.GetFrame(0);
    ASSERT_NE(filtered, plain);
    EXPECT_EQ(item.GetFrame(0), filtered);   // cached
    EXPECT_EQ(filtered->GetWidth(), 10);
    EXPECT_EQ(filtered->GetHeight(), 20);
    EXPECT_EQ(filtered->GetPixelColor(0, 0, false).rgbRed, 255 - before.rgbRed);
    EXPECT_EQ(item.m_strResolution, CString(L"10x20"));
    item.ResetFilters();
    EXPECT_EQ(item.m_slots.GetAt(0)->m_pFiltered, nullptr);
    // Both turns together make a half turn and keep the resolution text.
    item.RotateRight = 1;
    item.ResetFilters();
    EXPECT_EQ(item.m_strResolution, CString(L"20x10"));
    EXPECT_EQ(item.GetFrame(1)->GetWidth(), 20);
}

TEST_F(PlaylistItemTest, IconsAreAtMost24Pixels)
{
    CSettingsValues settings;
    CPlaylistItem item;
    ASSERT_EQ(item.Open(MakeGif("wide.gif", 400, 100, Frames(1, 10))), 0);
    CrImage* icon = item.GetImage(2);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->GetWidth(), 24);
    EXPECT_EQ(icon->GetHeight(), 6);
    EXPECT_EQ(item.GetImage(0), &item.m_thumbnail);
    EXPECT_EQ(item.GetImage(7), nullptr);
}

TEST_F(PlaylistItemTest, TheDisplayImageShowsTheFilters)
{
    CSettingsValues settings;
    CPlaylistItem item;
    ASSERT_EQ(item.Open(MakeGif("wide.gif", 40, 20, Frames(1, 10))), 0);
    EXPECT_EQ(item.GetImage(1)->GetWidth(), 40);
    item.RotateRight = 1;
    item.ResetFilters();
    CrImage* display = item.GetImage(1);
    EXPECT_EQ(display, &item.m_display);
    EXPECT_EQ(display->GetWidth(), 20);
    EXPECT_EQ(display->GetHeight(), 40);
    EXPECT_EQ(item.m_thumbnail.GetWidth(), 40);   // the thumbnail itself stays as read
    // Smaller thumbnails make the display image smaller too.
    settings.ThumbnailCx = settings.ThumbnailCy = 100;
    CPlaylistItem big;
    ASSERT_EQ(big.Open(MakeGif("big.gif", 300, 150, Frames(1, 10))), 0);
    big.FreeDisplayImage();
    settings.ThumbnailCx = settings.ThumbnailCy = 50;
    EXPECT_EQ(big.GetImage(1)->GetWidth(), 50);
    EXPECT_EQ(big.GetImage(1)->GetHeight(), 25);
}

TEST_F(PlaylistItemTest, StoredFactsAreCheckedAgainstTheFile)
{
    CPlaylistItem item;
    item.m_strPath = MakeGif("anim.gif", 30, 20, Frames(2, 10));
    item.State = ITEM_READY;
    item.Width = 30;
    item.Height = 20;
    item.FrameCount = 2;
    item.Size = 12345678;   // another file than the one on disk now
    EXPECT_EQ(item.LoadInfo(false), 0);
    EXPECT_NE(item.Size, 12345678);
    EXPECT_TRUE(item.m_thumbnail.IsValid());

    // Facts that agree with the file are taken as they are.
    CPlaylistItem same;
    same.m_strPath = item.m_strPath;
    same.State = ITEM_READY;
    same.Width = 30;
    same.Height = 20;
    same.FrameCount = 2;
    same.Size = item.Size;
    EXPECT_EQ(same.ReadInfo(false), 1);
}

} // namespace
