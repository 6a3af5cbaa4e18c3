#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>

#include "PlayLoop.h"
#include "PlaylistItem.h"
#include "ViewerTestSupport.h"

namespace {

// A clock that moves only when the loop sleeps or paints, with events scripted at given times.
class FakeHost : public IPlayLoopHost {
public:
    uint32_t now = 0;
    int repeat = 0;
    int seeks = 0;
    int problems = 0;
    int rangeLast = -2;
    int longestSleep = 0;
    std::vector<std::pair<int, uint32_t>> shown;   // frame, time
    std::vector<int> states;
    std::function<void(uint32_t)> script;
    // What painting a frame costs, and how late a sleep of so many milliseconds wakes.
    std::function<uint32_t(int)> paintCost = [](int) { return 0u; };
    std::function<uint32_t(int)> wakeLateness = [](int) { return 0u; };
    std::atomic<int>* stop = nullptr;
    CPlayPosition* position = nullptr;

    void ShowFrame(int index) override
    {
        shown.emplace_back(index, now);
        now += paintCost(index);
    }
    void ShowProblem() override { problems++; }
    void SetPositionRange(int last, int) override { rangeLast = last; }
    void ReportPlayState(int state) override { states.push_back(state); }
    void SeekFirstFrame() override
    {
        seeks++;
        position->frameIndex = 0;
    }
    void Sleep(int ms) override
    {
        longestSleep = std::max(longestSleep, ms);
        now += uint32_t(ms) + wakeLateness(ms);
        if (script)
            script(now);
        if (now > 600000)
            *stop = STOP_STOP;   // a loop that never ends fails the test instead of hanging it
    }
    uint32_t TickCount() override { return now; }
    int RepeatMode() override { return repeat; }
};

class PlayLoopTest : public ScratchFolderTest {
protected:
    CPlaylistItem m_item;
    CPlayPosition m_position;
    std::atomic<int> m_stop{0};
    FakeHost m_host;

    void Load(const std::vector<uint32_t>& delays)
    {
        std::vector<TestFrame> frames;
        for (size_t i = 0; i < delays.size(); i++)
            frames.push_back(TestFrame{uint8_t(i * 30), 0, 0, delays[i]});
        ASSERT_TRUE(WriteTestGif(Path("play.gif"), 8, 8, frames));
        ASSERT_EQ(m_item.Open(Path("play.gif")), 0);
        CFrameLoadCallback callback(&m_item);
        ASSERT_EQ(m_item.LoadFrames(&callback, &callback.m_nCancel), 0);
        m_host.stop = &m_stop;
        m_host.position = &m_position;
    }
    int Run() { return RunPlayLoop(&m_item, m_position, m_stop, m_host); }
    std::vector<uint32_t> Times() const
    {
        std::vector<uint32_t> times;
        for (auto& s : m_host.shown)
            times.push_back(s.second);
        return times;
    }
    std::vector<int> ShownFrames() const
    {
        std::vector<int> frames;
        for (auto& s : m_host.shown)
            frames.push_back(s.first);
        return frames;
    }
};

TEST(PlayDelay, ShortDelaysPlayAtATenthOfASecond)
{
    const std::pair<uint32_t, int> cases[] = {{0, 100}, {2, 100}, {4, 100}, {5, 50}, {10, 100}, {150, 1500}};
    for (auto& c : cases)
        EXPECT_EQ(FrameDelayMs(c.first), c.second) << c.first;
}

TEST(PlayFinalState, FollowsTheStopWord)
{
    const std::pair<int, int> cases[] = {{STOP_RUN, PLAY_FINISHED}, {STOP_PAUSE, PLAY_PAUSED}, {STOP_STOP, PLAY_STOPPED},
                                         {STOP_CLOSE, PLAY_CLOSED}, {STOP_DESTROY, PLAY_CLOSED}, {7, PLAY_PLAYING}};
    for (auto& c : cases)
        EXPECT_EQ(FinalPlayState(c.first, PLAY_PLAYING), c.second) << c.first;
}

TEST_F(PlayLoopTest, FramesPlayWithTheirOwnDelaysAndEndOnTheFirstFrame)
{
    Load({0, 2, 5, 20, 4});
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(ShownFrames(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(Times(), (std::vector<uint32_t>{0, 100, 200, 250, 450}));
    EXPECT_EQ(m_host.rangeLast, 4);
    EXPECT_EQ(m_host.states, (std::vector<int>{PLAY_PLAYING, PLAY_FINISHED}));
    EXPECT_EQ(m_position.playState, PLAY_FINISHED);
    EXPECT_EQ(m_host.seeks, 1);
    EXPECT_EQ(m_position.frameIndex, 0);
}

TEST_F(PlayLoopTest, FramesStillDecodingAreWaitedFor)
{
    Load({10, 10, 10});
    m_item.m_slots.GetAt(1)->m_nState = SLOT_PENDING;
    m_item.m_nLoadStatus = LOAD_LOADING;
    m_host.script = [this](uint32_t t) {
        if (t >= 350)
            m_item.m_slots.GetAt(1)->m_nState = SLOT_DECODED;
    };
    Run();
    EXPECT_EQ(ShownFrames(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(Times(), (std::vector<uint32_t>{0, 400, 500}));
}

TEST_F(PlayLoopTest, BadAndMissingFramesAreSkippedAfterATenth)
{
    Load({10, 10, 10, 10});
    m_item.m_slots.GetAt(1)->m_nState = SLOT_BAD;
    m_item.m_slots.GetAt(2)->m_nState = SLOT_CANCELLED;
    m_item.m_frames.DestroyFrames();   // a cancelled load: the images are gone
    Run();
    EXPECT_TRUE(m_host.shown.empty());
    EXPECT_EQ(m_host.now, 400u);
    EXPECT_EQ(m_position.playState, PLAY_FINISHED);
}

TEST_F(PlayLoopTest, EveryFrameKeepsItsPlaceThoughPaintingTakesTimeAndSleepsWakeLate)
{
    // 100, 220, 40 (played at 100) and 50 ms, repeated for a minute.
    Load({10, 22, 4, 5});
    m_host.repeat = 1;
    m_host.paintCost = [](int index) { return uint32_t(6 + index); };
    int sleeps = 0;
    m_host.wakeLateness = [&sleeps](int) { return uint32_t(sleeps++ * 7 % 4); };
    m_host.script = [this](uint32_t t) {
        if (t >= 60000)
            m_stop = STOP_STOP;
    };
    Run();
    const uint32_t period[] = {100, 220, 100, 50};
    ASSERT_GT(m_host.shown.size(), 500u);
    uint32_t place = 0;
    for (size_t k = 0; k < m_host.shown.size(); k++) {
        const auto& s = m_host.shown[k];
        EXPECT_EQ(s.first, int(k % 4));
        // On time within the lateness of one wake-up, however long it has played.
        ASSERT_GE(s.second, place) << "frame " << k;
        ASSERT_LE(s.second - place, 10u) << "frame " << k;
        place += period[k % 4];
    }
    // The stop word is looked at every 10 ms at least.
    EXPECT_LE(m_host.longestSleep, kStopPollMs);
}

TEST_F(PlayLoopTest, AStallStartsTheTimelineAnewInsteadOfRushing)
{
    Load({10, 10, 10, 10, 10});
    m_host.paintCost = [](int index) { return index == 2 ? 300u : 0u; };
    Run();
    EXPECT_EQ(Times(), (std::vector<uint32_t>{0, 100, 200, 600, 700}));
}

TEST_F(PlayLoopTest, TheFirstFrameKeepsAllOfItsTimeThoughItsPaintIsSlow)
{
    // The first paint of a playback covers the whole window: it is on the screen at 30.
    Load({10, 10, 10, 10});
    m_host.paintCost = [](int index) { return index == 0 ? 30u : 0u; };
    Run();
    EXPECT_EQ(Times(), (std::vector<uint32_t>{0, 130, 230, 330}));
}

TEST_F(PlayLoopTest, StoppingDuringALongDelayIsSeenAtOnce)
{
    Load({150, 150});
    m_host.script = [this](uint32_t t) {
        if (t >= 1234)
            m_stop = STOP_PAUSE;
    };
    Run();
    EXPECT_LE(m_host.now, 1234u + kStopPollMs);
    EXPECT_EQ(m_position.playState, PLAY_PAUSED);
    EXPECT_EQ(m_position.frameIndex, 0);
}

TEST_F(PlayLoopTest, AFailedLoadShowsWhyAndFinishesInsteadOfWaiting)
{
    Load({10, 10});
    for (int i = 0; i < 2; i++)
        m_item.m_slots.GetAt(i)->m_nState = SLOT_PENDING;
    m_item.m_nLoadStatus = LOAD_LOADING;
    m_host.script = [this](uint32_t t) {
        if (t >= 300)
            m_item.m_nLoadStatus = LOAD_FAILED;
    };
    Run();
    EXPECT_TRUE(m_host.shown.empty());
    EXPECT_EQ(m_host.problems, 1);
    EXPECT_EQ(m_host.now, 300u + kProblemShowMs);
    EXPECT_EQ(m_position.playState, PLAY_FINISHED);
}

TEST_F(PlayLoopTest, AnItemThatCannotBeReadShowsWhyUntilStopped)
{
    CPlaylistItem missing;
    ASSERT_EQ(missing.OpenOrExplain(Path("nowhere.gif")), -1);
    m_host.stop = &m_stop;
    m_host.position = &m_position;
    m_host.script = [this](uint32_t t) {
        if (t >= 500)
            m_stop = STOP_STOP;
    };
    EXPECT_EQ(RunPlayLoop(&missing, m_position, m_stop, m_host), 0);
    EXPECT_EQ(m_host.problems, 1);
    EXPECT_EQ(m_host.now, 500u);
    EXPECT_EQ(m_position.playState, PLAY_STOPPED);
}

TEST_F(PlayLoopTest, PendingFramesWithNoLoadRunningAreNotWaitedForEver)
{
    Load({10, 10});
    m_item.m_slots.GetAt(0)->m_nState = SLOT_NONE;
    m_item.m_nLoadStatus = LOAD_IDLE;
    Run();
    EXPECT_EQ(ShownFrames(), (std::vector<int>{1}));
    EXPECT_EQ(m_position.playState, PLAY_FINISHED);
}

TEST_F(PlayLoopTest, RepeatCurrentLoopsUntilStopped)
{
    Load({10, 10, 10});
    m_host.repeat = 1;
    m_host.script = [this](uint32_t t) {
        if (t >= 1050)
            m_stop = STOP_STOP;
    };
    Run();
    EXPECT_EQ(ShownFrames(), (std::vector<int>{0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1}));
    EXPECT_EQ(m_position.repeatCounter, 3);
    EXPECT_EQ(m_position.playState, PLAY_STOPPED);
    EXPECT_EQ(m_host.seeks, 1);
}

TEST_F(PlayLoopTest, RepeatAllEndsTheItemLikeNoRepeat)
{
    Load({10, 10});
    m_host.repeat = 2;
    Run();
    EXPECT_EQ(ShownFrames(), (std::vector<int>{0, 1}));
    EXPECT_EQ(m_position.playState, PLAY_FINISHED);
}

TEST_F(PlayLoopTest, PauseKeepsTheFrameAndPlayingAgainContinuesThere)
{
    Load({10, 10, 10, 10});
    m_host.script = [this](uint32_t t) {
        if (t >= 150)
            m_stop = STOP_PAUSE;
    };
    Run();
    EXPECT_EQ(m_position.playState, PLAY_PAUSED);
    EXPECT_EQ(m_position.frameIndex, 1);
    EXPECT_EQ(m_host.seeks, 0);

    m_stop = STOP_RUN;
    m_host.script = nullptr;
    m_host.shown.clear();
    Run();
    EXPECT_EQ(ShownFrames(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(m_position.playState, PLAY_FINISHED);
}

TEST_F(PlayLoopTest, ASeekDuringADelayContinuesFromTheNewFrame)
{
    Load({10, 10, 10, 10, 10});
    m_host.script = [this](uint32_t t) {
        if (t == 50)
            m_position.frameIndex.exchange(3);
    };
    Run();
    EXPECT_EQ(ShownFrames(), (std::vector<int>{0, 4}));
}

TEST_F(PlayLoopTest, ALoopStartedPastTheEndStartsAtTheFirstFrame)
{
    Load({10, 10});
    m_position.frameIndex = 9;
    Run();
    EXPECT_EQ(ShownFrames(), (std::vector<int>{0, 1}));
}

TEST_F(PlayLoopTest, CloseAndDestroyEndClosed)
{
    Load({10, 10});
    m_stop = STOP_CLOSE;
    Run();
    EXPECT_EQ(m_position.playState, PLAY_CLOSED);
    EXPECT_TRUE(m_host.shown.empty());
    EXPECT_EQ(m_host.seeks, 1);
}

TEST(PlayLoopArguments, NoItemOrNoFramesIsRefused)
{
    CPlayPosition position;
    std::atomic<int> stop{0};
    FakeHost host;
    EXPECT_EQ(RunPlayLoop(nullptr, position, stop, host), -1);
    CPlaylistItem empty;
    EXPECT_EQ(RunPlayLoop(&empty, position, stop, host), -1);
    EXPECT_TRUE(host.states.empty());
}

} // namespace
