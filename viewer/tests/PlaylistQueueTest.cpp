#include <gtest/gtest.h>

#include <fstream>

#include <shlobj.h>

#include "AnimationWnd.h"
#include "PlayView.h"
#include "PlaylistItem.h"
#include "PlaylistView.h"
#include "Settings.h"
#include "ViewerFiles.h"
#include "ViewerGlobals.h"
#include "ViewerGuiSupport.h"

namespace {

// The playlist view and the play view side by side in a test window, as the frame holds them.
class PlaylistQueueTest : public ScratchFolderTest {
protected:
    CSettingsValues m_settings;
    CTestHost m_host;
    CPlaylistView* m_list = nullptr;
    CPlayView* m_play = nullptr;

    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        m_settings.TempFolder = Path("temp");
        m_settings.LoadLastPlaylist = 0;
        ASSERT_TRUE(m_host.Make(400, 300));
        m_play = new CPlayView;
        ASSERT_TRUE(m_play->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 300), &m_host, 0xE900));
        m_list = new CPlaylistView;
        ASSERT_TRUE(m_list->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(200, 0, 400, 300), &m_host, 0xE901));
        m_play->ResizeCanvas();
    }
    void TearDown() override
    {
        if (m_list)
            m_list->DestroyWindow();
        if (m_play)
            m_play->DestroyWindow();
        ScratchFolderTest::TearDown();
    }
    void Gif(const std::string& name, int frames = 2, uint32_t delay = 10)
    {
        std::filesystem::create_directories((m_folder / name).parent_path());
        ASSERT_TRUE(WriteTestGif(Path(name), 16, 12, ColourFrames(frames, delay)));
    }
    void Text(const std::string& name, const std::string& text) { std::ofstream(m_folder / name) << text; }
    bool RunQueue(DWORD ms = 20000)
    {
        if (!m_list->m_pQueueThread && m_list->StartQueue() != 0)
            return false;
        return PumpUntil([&] { return m_list->m_pQueueThread == nullptr; }, ms);
    }
    std::vector<CString> Names()
    {
        std::vector<CString> names;
        for (int i = 0; i < m_list->GetItemCount(); i++)
            names.push_back(ViewerFiles::FileNamePart(m_list->GetItem(i)->m_strPath));
        return names;
    }
    CAnimationWnd& Canvas() { return m_play->m_canvas; }
    bool WaitUntilPlayedOut(DWORD ms = 15000)
    {
        return PumpUntil([&] { return !Canvas().HasPlayThread() && m_list->m_pQueueThread == nullptr &&
                                      Canvas().GetPlayState() != PLAY_PLAYING; }, ms);
    }
};

TEST_F(PlaylistQueueTest, AFolderBecomesItemsInNameOrderWithPlaylistsExpanded)
{
    Gif("b.gif");
    Gif("a.gif");
    Gif("sub/c.gif");
    Gif("x.gif");
    Text("notes.txt", "not a picture");
    Text("broken.gif", "not a picture either");
    Text("list.m3u", "#EXTM3U\nx.gif\n");
    m_list->QueueAddPath(CQueueJob::PATH_DETECT, Folder(), L"*", 1);
    ASSERT_TRUE(RunQueue());
    EXPECT_EQ(Names(), (std::vector<CString>{L"a.gif", L"b.gif", L"x.gif", L"c.gif", L"x.gif"}));
    // The item that came from the list got its information from the queue too.
    EXPECT_EQ(m_list->GetItem(2)->State, ITEM_READY);
    EXPECT_EQ(m_list->GetItem(2)->FrameCount, 2);
    EXPECT_TRUE(m_list->m_jobs.IsEmpty());
}

TEST_F(PlaylistQueueTest, PatternAndSubfolderChoicesAreFollowed)
{
    Gif("a.gif");
    Gif("sub/c.gif");
    Text("list.m3u", "a.gif\n");
    m_list->QueueAddPath(CQueueJob::PATH_FOLDER, Folder(), L"*.gif", 0);
    ASSERT_TRUE(RunQueue());
    EXPECT_EQ(Names(), (std::vector<CString>{L"a.gif"}));
}

TEST_F(PlaylistQueueTest, PathTypesAreDetected)
{
    Gif("a.gif");
    Text("l.PLS", "[playlist]\nNumberOfEntries=1\nFile1=a.gif\n");
    struct Case {
        CString path;
        int type;
    } cases[] = {{Folder(), CQueueJob::PATH_FOLDER}, {Path("l.PLS"), CQueueJob::PATH_PLAYLIST}, {Path("a.gif"), CQueueJob::PATH_GIF}};
    for (const Case& c : cases) {
        CQueueJob job(CQueueJob::ADD_PATH);
        job.m_strPath = c.path;
        job.m_strPattern = L"*.nothing";
        m_list->ProcessJob(&job);
        EXPECT_EQ(job.m_nPathType, c.type) << c.path.ToUtf8();
    }
    CQueueJob empty(CQueueJob::ADD_PATH);
    EXPECT_EQ(m_list->ProcessJob(&empty), -1);
    CQueueJob noItem(CQueueJob::LOAD_ITEM);
    EXPECT_EQ(m_list->ProcessJob(&noItem), -1);
    CQueueJob other(7);
    EXPECT_EQ(m_list->ProcessJob(&other), 1);
    m_list->RemoveAllItems();
}

TEST_F(PlaylistQueueTest, DuplicatesAreRefusedWhenNotAllowed)
{
    Gif("a.gif");
    m_settings.AllowDuplicates = 0;
    CString upper = Path("a.gif");
    upper.MakeUpper();
    m_list->QueueAddPath(CQueueJob::PATH_GIF, Path("a.gif"), L"", 0);
    m_list->QueueAddPath(CQueueJob::PATH_GIF, upper, L"", 0);
    ASSERT_TRUE(RunQueue());
    EXPECT_EQ(m_list->GetItemCount(), 1);
    m_settings.AllowDuplicates = 1;
    m_list->QueueAddPath(CQueueJob::PATH_GIF, upper, L"", 0);
    ASSERT_TRUE(RunQueue());
    EXPECT_EQ(m_list->GetItemCount(), 2);
    // A missing file the user named stays, saying so; one a folder scan met would be skipped.
    EXPECT_EQ(m_list->AddFile(Path("missing.gif"), false), -1);
    EXPECT_EQ(m_list->AddFile(Path("missing.gif"), true), 2);
    EXPECT_EQ(m_list->GetItem(2)->m_nProblem, PROBLEM_MISSING);
}

TEST_F(PlaylistQueueTest, StoppingWaitsForAFolderScanToFinish)
{
    for (int i = 0; i < 40; i++) {
        char name[32];
        snprintf(name, sizeof name, "many/%02d.gif", i);
        Gif(name);
    }
    Gif("last.gif");
    m_list->QueueAddPath(CQueueJob::PATH_FOLDER, Path("many"), L"*", 0);
    m_list->QueueAddPath(CQueueJob::PATH_GIF, Path("last.gif"), L"", 0);
    ASSERT_EQ(m_list->StartQueue(), 0);
    ASSERT_TRUE(PumpUntil([&] { return m_list->GetItemCount() > 0; }));
    EXPECT_EQ(m_list->StopQueue(), 0);
    EXPECT_EQ(m_list->m_pQueueThread, nullptr);
    EXPECT_EQ(m_list->GetItemCount(), 40);   // the started scan ran to its end, the next job did not run
    EXPECT_EQ(m_list->StopQueue(), 0);
    EXPECT_EQ(m_list->StartQueue(), 0);
    ASSERT_TRUE(RunQueue());
    EXPECT_EQ(m_list->GetItemCount(), 41);
    EXPECT_EQ(m_list->StartQueue(), 1);   // nothing left to do
}

TEST_F(PlaylistQueueTest, TheFirstItemPlaysWithItsOwnDelaysAndThePlayDoneMessageArrives)
{
    Gif("a.gif", 4, 20);
    ASSERT_EQ(m_list->OpenPath(Path("a.gif")), 0);
    std::vector<std::pair<int, DWORD>> seen;
    ASSERT_TRUE(PumpUntil([&] {
        if (Canvas().GetPlayState() == PLAY_PLAYING) {
            int index = Canvas().GetFrameIndex();
            if (seen.empty() || seen.back().first != index)
                seen.emplace_back(index, ::GetTickCount());
        }
        return !seen.empty() && Canvas().GetPlayState() == PLAY_FINISHED && !Canvas().HasPlayThread();
    }, 15000));
    ASSERT_EQ(seen.size(), 4u);
    for (size_t i = 0; i < seen.size(); i++)
        EXPECT_EQ(seen[i].first, int(i));
    for (size_t i = 1; i < seen.size(); i++) {
        DWORD gap = seen[i].second - seen[i - 1].second;
        EXPECT_GE(gap, 150u) << i;
        EXPECT_LE(gap, 600u) << i;
    }
    EXPECT_EQ(Canvas().GetItem(), m_list->GetItem(0));
    EXPECT_EQ(m_list->GetCurrentIndex(), 0);
}

TEST_F(PlaylistQueueTest, AutoAdvancePlaysTheNextItemAndRepeatAllWraps)
{
    Gif("a.gif", 1, 10);
    Gif("b.gif", 1, 10);
    CStringArray paths;
    paths.Add(Path("a.gif"));
    paths.Add(Path("b.gif"));
    ASSERT_EQ(m_list->ReplaceWithPaths(paths, true), 0);
    ASSERT_TRUE(PumpUntil([&] { return m_list->GetCurrentIndex() == 1; }));
    ASSERT_TRUE(WaitUntilPlayedOut());
    EXPECT_EQ(Canvas().GetPlayState(), PLAY_FINISHED);
    EXPECT_EQ(m_list->GetCurrentIndex(), 1);
    bool last = false;
    EXPECT_EQ(m_list->GetNextItem(false, &last), nullptr);
    EXPECT_TRUE(last);
    EXPECT_EQ(m_list->GetNextItem(true, &last), m_list->GetItem(0));
    bool first = false;
    EXPECT_EQ(m_list->GetPrevItem(false, &first), m_list->GetItem(0));
    EXPECT_TRUE(first);
}

TEST_F(PlaylistQueueTest, EntriesThatCannotPlaySayWhyAndTheNextOnesFollow)
{
    Gif("b.gif");
    Gif("c.gif");
    Text("list.m3u", "missing.gif\nb.gif\n");
    Text("notes.gif", "not a picture");
    CStringArray paths;
    paths.Add(Path("list.m3u"));
    paths.Add(Path("notes.gif"));
    paths.Add(Path("c.gif"));
    ASSERT_EQ(m_list->ReplaceWithPaths(paths, true), 0);
    ASSERT_TRUE(RunQueue());
    EXPECT_EQ(Names(), (std::vector<CString>{L"missing.gif", L"b.gif", L"notes.gif", L"c.gif"}));
    EXPECT_EQ(m_list->GetItem(0)->m_nProblem, PROBLEM_MISSING);
    EXPECT_EQ(m_list->GetItem(2)->m_nProblem, PROBLEM_NOT_GIF);
    // The first entry plays by telling what is wrong, then each item follows in turn.
    std::vector<int> current;
    ASSERT_TRUE(PumpUntil([&] {
        int index = m_list->GetCurrentIndex();
        if (index >= 0 && (current.empty() || current.back() != index))
            current.push_back(index);
        return index == 3 && !Canvas().HasPlayThread() && Canvas().GetPlayState() == PLAY_FINISHED;
    }, 20000));
    EXPECT_EQ(current, (std::vector<int>{0, 1, 2, 3}));
}

TEST_F(PlaylistQueueTest, StoppingPlaybackWaitsForThePlayDoneMessage)
{
    Gif("a.gif", 3, 100);
    ASSERT_EQ(m_list->OpenPath(Path("a.gif")), 0);
    ASSERT_TRUE(PumpUntil([&] { return Canvas().GetPlayState() == PLAY_PLAYING; }));
    m_play->StopPlayback(STOP_STOP);
    EXPECT_FALSE(Canvas().HasPlayThread());
    EXPECT_EQ(Canvas().GetPlayState(), PLAY_STOPPED);
    m_play->CloseItem();
    EXPECT_EQ(Canvas().GetItem(), nullptr);
}

TEST_F(PlaylistQueueTest, RemovingItemsDeletesOnlyThumbnailFilesOfTheViewer)
{
    Gif("a.gif");
    std::filesystem::create_directories(m_folder / "temp");
    Text("temp/00000003", "jpeg of ours");
    Text("mine.jpg", "the user's own picture");
    Text("list.playlist",
         "<Playlists><Playlist>"
         "<Item><File>" + Path("a.gif").ToUtf8() + "</File><ThumbnailFile>" + Path("temp/00000003").ToUtf8() +
             "</ThumbnailFile></Item>"
         "<Item><File>" + Path("a.gif").ToUtf8() + "</File><ThumbnailFile>" + Path("mine.jpg").ToUtf8() +
             "</ThumbnailFile></Item>"
         "</Playlist></Playlists>");
    m_list->QueueAddPath(CQueueJob::PATH_PLAYLIST, Path("list.playlist"), L"", 0);
    ASSERT_TRUE(RunQueue());
    ASSERT_EQ(m_list->GetItemCount(), 2);
    m_list->RemoveAllItems();
    EXPECT_EQ(m_list->GetItemCount(), 0);
    EXPECT_FALSE(ViewerFiles::FileExists(Path("temp/00000003")));
    EXPECT_TRUE(ViewerFiles::FileExists(Path("mine.jpg")));
}

// A drop handle as the shell hands it over, for the given paths.
HDROP MakeDrop(const std::vector<CString>& paths)
{
    size_t chars = 1;
    for (const CString& p : paths)
        chars += size_t(p.GetLength()) + 1;
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(drop + 1);
    for (const CString& p : paths) {
        wcscpy(text, p);
        text += p.GetLength() + 1;
    }
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(PlaylistQueueTest, DroppedFilesAndFoldersReplaceThePlaylistAndPlay)
{
    Gif("old.gif");
    Gif("drop/a.gif", 2, 10);
    Gif("drop/inner/b.gif");
    Gif("c.gif");
    m_list->QueueAddPath(CQueueJob::PATH_GIF, Path("old.gif"), L"", 0);
    ASSERT_TRUE(RunQueue());
    // The frame forwards a drop: the playlist is replaced and its first item plays.
    m_list->SendMessage(WM_DROP_FORWARDED, reinterpret_cast<WPARAM>(MakeDrop({Path("drop"), Path("c.gif")})), 0);
    ASSERT_TRUE(PumpUntil([&] { return m_list->m_pQueueThread == nullptr && Canvas().GetItem() != nullptr; }));
    EXPECT_EQ(Names(), (std::vector<CString>{L"a.gif", L"b.gif", L"c.gif"}));
    EXPECT_EQ(Canvas().GetItem(), m_list->GetItem(0));
    ASSERT_TRUE(WaitUntilPlayedOut());
}

TEST_F(PlaylistQueueTest, ADropOnTheListAppendsUnlessTheQueueIsBusy)
{
    Gif("a.gif");
    Gif("b.gif");
    m_list->QueueAddPath(CQueueJob::PATH_GIF, Path("a.gif"), L"", 0);
    ASSERT_TRUE(RunQueue());
    m_list->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({Path("b.gif")})), 0);
    ASSERT_TRUE(PumpUntil([&] { return m_list->m_pQueueThread == nullptr && m_list->GetItemCount() == 2; }));
    EXPECT_EQ(Canvas().GetItem(), nullptr);   // appending plays nothing
    // While the queue runs, a drop is let go of unread.
    for (int i = 0; i < 20; i++)
        m_list->QueueAddPath(CQueueJob::PATH_GIF, Path("a.gif"), L"", 0);
    ASSERT_EQ(m_list->StartQueue(), 0);
    m_list->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({Path("b.gif")})), 0);
    ASSERT_TRUE(RunQueue());
    EXPECT_EQ(m_list->GetItemCount(), 22);
}

TEST_F(PlaylistQueueTest, ClosingTheViewWhileAnItemLoadsLetsGoOfIt)
{
    Gif("big.gif", 40, 10);
    ASSERT_EQ(m_list->OpenPath(Path("big.gif")), 0);
    ASSERT_TRUE(PumpUntil([&] { return Canvas().GetItem() != nullptr; }));
    m_list->DestroyWindow();
    m_list = nullptr;
    EXPECT_EQ(Canvas().GetItem(), nullptr);
    EXPECT_FALSE(Canvas().HasPlayThread());
}

TEST_F(PlaylistQueueTest, ClosingTheViewStopsTheQueueAndKeepsTheUsersFiles)
{
    Gif("a.gif");
    std::filesystem::create_directories(m_folder / "temp");
    Text("temp/keep.txt", "");
    m_list->QueueAddPath(CQueueJob::PATH_GIF, Path("a.gif"), L"", 0);
    ASSERT_EQ(m_list->StartQueue(), 0);
    m_list->DestroyWindow();
    m_list = nullptr;
    EXPECT_TRUE(ViewerFiles::FileExists(Path("a.gif")));
    EXPECT_TRUE(ViewerFiles::FileExists(Path("temp/keep.txt")));
}

} // namespace
