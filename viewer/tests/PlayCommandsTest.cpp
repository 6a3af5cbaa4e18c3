#include <gtest/gtest.h>

#include <functional>

#include "CrImage.h"
#include "PlayCommands.h"
#include "PlayLoop.h"
#include "PlaylistItem.h"

namespace {

PlayStatus Status(bool hasItem, int frameCount, int frameIndex, int playState, bool hasThread)
{
    PlayStatus s;
    s.hasItem = hasItem;
    s.frameCount = frameCount;
    s.frameIndex = frameIndex;
    s.playState = playState;
    s.hasPlayThread = hasThread;
    return s;
}

TEST(PlayCommandUpdate, WhenEachCommandIsOffered)
{
    struct Case {
        PlayStatus status;
        bool play, stop, back, forward, exportFrame;
    } cases[] = {
        // Nothing current: play is offered (it opens files or plays the first item).
        {Status(false, 0, 0, PLAY_IDLE, false), true, false, false, false, false},
        // Playing the first of four frames.
        {Status(true, 4, 0, PLAY_PLAYING, true), true, true, false, true, true},
        // Paused at the last frame.
        {Status(true, 4, 3, PLAY_PAUSED, false), true, true, true, false, true},
        // A thread that is just ending (finished, not yet waited for): play waits.
        {Status(true, 4, 0, PLAY_FINISHED, true), false, false, false, true, true},
        // Stopped in the middle: frames can still be stepped and exported.
        {Status(true, 4, 2, PLAY_STOPPED, false), true, false, true, true, true},
        // An item without frames (still loading, or unreadable).
        {Status(true, 0, 0, PLAY_IDLE, false), true, false, false, false, false},
        // One frame: no step either way.
        {Status(true, 1, 0, PLAY_PAUSED, false), true, true, false, false, true},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n++);
        EXPECT_EQ(CanPlay(c.status), c.play);
        EXPECT_EQ(CanStop(c.status), c.stop);
        EXPECT_EQ(CanStepBack(c.status), c.back);
        EXPECT_EQ(CanStepForward(c.status), c.forward);
        EXPECT_EQ(CanExportFrame(c.status), c.exportFrame);
    }
}

TEST(PlayCommandUpdate, StepsStayInsideTheFrames)
{
    struct Case {
        int count, index, delta, expected;
    } cases[] = {{5, 2, 1, 3}, {5, 2, -1, 1}, {5, 4, 1, 4}, {5, 0, -1, 0}, {1, 0, 1, 0}, {0, 0, -1, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(StepFrame(Status(true, c.count, c.index, PLAY_PAUSED, false), c.delta), c.expected)
            << c.count << " " << c.index << " " << c.delta;
}

TEST(PlayCommandActions, PlayAndSpace)
{
    EXPECT_EQ(ChoosePlayAction(0, PLAY_IDLE), PlayAction::OpenFile);
    EXPECT_EQ(ChoosePlayAction(0, PLAY_PLAYING), PlayAction::OpenFile);
    EXPECT_EQ(ChoosePlayAction(3, PLAY_PLAYING), PlayAction::Pause);
    EXPECT_EQ(ChoosePlayAction(3, PLAY_PAUSED), PlayAction::Resume);
    for (int state : {PLAY_IDLE, PLAY_FINISHED, PLAY_STOPPED, PLAY_CLOSED})
        EXPECT_EQ(ChoosePlayAction(3, state), PlayAction::PlaySelected) << state;
    EXPECT_EQ(ChoosePauseAction(PLAY_PLAYING), PauseAction::Pause);
    EXPECT_EQ(ChoosePauseAction(PLAY_PAUSED), PauseAction::Resume);
    for (int state : {PLAY_IDLE, PLAY_FINISHED, PLAY_STOPPED, PLAY_CLOSED})
        EXPECT_EQ(ChoosePauseAction(state), PauseAction::None) << state;
}

TEST(PlayKeys, ArrowsMoveThePlaylistsSelectionOnlyWhereItHasTheFocus)
{
    const unsigned left = 0x25, up = 0x26, right = 0x27, down = 0x28, pageDown = 0x22, space = 0x20;
    struct Case {
        unsigned key;
        bool ctrl, alt, focusInPlaylist, playlists;
    } cases[] = {
        {left, false, false, true, true},     {right, false, false, true, true},  {up, false, false, true, true},
        {down, false, false, true, true},
        // The play view keeps its frame and file steps.
        {left, false, false, false, false},   {right, false, false, false, false}, {down, false, false, false, false},
        // Ctrl+Up and Ctrl+Down stay Move Up and Move Down; Alt goes to the menus.
        {up, true, false, true, false},       {down, true, false, true, false},    {right, false, true, true, false},
        // Other keys are never taken from the accelerators.
        {pageDown, false, false, true, false}, {space, false, false, true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ArrowKeyBelongsToPlaylist(c.key, c.ctrl, c.alt, c.focusInPlaylist), c.playlists)
            << c.key << " " << c.ctrl << c.alt << c.focusInPlaylist;
}

TEST(PlayCommandActions, ZoomCycleAndRepeatToggles)
{
    struct {
        int from, to;
    } zooms[] = {{0, 100}, {100, 200}, {200, 50}, {50, 100}, {75, 100}};
    for (auto z : zooms)
        EXPECT_EQ(NextZoom(z.from), z.to) << z.from;
    struct {
        int from, all, current;
    } repeats[] = {{0, 2, 1}, {1, 2, 0}, {2, 0, 1}};
    for (auto r : repeats) {
        EXPECT_EQ(ToggleRepeatAll(r.from), r.all) << r.from;
        EXPECT_EQ(ToggleRepeatCurrent(r.from), r.current) << r.from;
    }
}

TEST(FrameSaving, TheExtensionChoosesTheFormatAndOthersAreRefused)
{
    struct Case {
        const wchar_t* path;
        int format;
    } cases[] = {
        {L"C:\\pictures\\frame.jpg", 3},  {L"C:\\pictures\\frame.JPEG", 3}, {L"frame.Png", 4},
        {L"C:\\a.b\\frame.bmp", 1},       {L"C:\\pictures\\frame.gif", 0},  {L"C:\\pictures\\frame", 0},
        {L"C:\\pictures.png\\frame", 0},  {L"C:\\pictures\\frame.", 0},     {L"C:\\pictures\\frame.jpg.txt", 0},
        {L"/tmp/x.png/frame", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FrameSaveFormat(c.path), c.format) << CString(c.path).ToUtf8();
}

TEST(AfterPlayback, OnlyAPlaybackThatFinishedByItselfActs)
{
    auto end = [](int code, int state, bool advance, bool close, bool shutdown, bool unplayable = false) {
        PlayEnd e;
        e.unplayable = unplayable;
        e.stopCode = code;
        e.playState = state;
        e.autoAdvance = advance;
        e.autoClose = close;
        e.shutdownAfter = shutdown;
        return e;
    };
    struct Case {
        PlayEnd end;
        bool next;
        AfterPlay after;
    } cases[] = {
        // Finished by itself: the next item when wanted, else the after-playback actions.
        {end(STOP_RUN, PLAY_FINISHED, true, true, true), true, AfterPlay::ShutDown},
        {end(STOP_RUN, PLAY_FINISHED, false, true, false), false, AfterPlay::CloseWindow},
        // Without them the playlist comes back, except after words about a file that cannot play.
        {end(STOP_RUN, PLAY_FINISHED, false, false, false), false, AfterPlay::ShowPlaylist},
        {end(STOP_RUN, PLAY_FINISHED, true, false, false), true, AfterPlay::ShowPlaylist},
        {end(STOP_RUN, PLAY_FINISHED, true, false, false, true), true, AfterPlay::Nothing},
        {end(STOP_RUN, PLAY_FINISHED, false, true, false, true), false, AfterPlay::CloseWindow},
        {end(STOP_CLOSE, PLAY_CLOSED, false, false, false, true), false, AfterPlay::ShowPlaylist},
        // Shut-down wins over closing the window.
        {end(STOP_RUN, PLAY_FINISHED, false, true, true), false, AfterPlay::ShutDown},
        // Paused, stopped, moved on or closed: never shut down or close, whatever the options.
        {end(STOP_PAUSE, PLAY_PAUSED, true, true, true), false, AfterPlay::Nothing},
        {end(STOP_STOP, PLAY_STOPPED, true, true, true), false, AfterPlay::Nothing},
        {end(STOP_CLOSE, PLAY_CLOSED, true, true, true), false, AfterPlay::ShowPlaylist},
        {end(STOP_DESTROY, PLAY_CLOSED, true, true, true), false, AfterPlay::ShowPlaylist},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n++);
        EXPECT_EQ(WantsNextItem(c.end), c.next);
        EXPECT_EQ(ChooseAfterPlay(c.end), c.after);
    }
}

// ---- the display filters on a small picture ----

// A 3 x 2 picture whose every pixel differs; (x, y) counts from the top left as on the screen.
CrRgbQuad PatternAt(int x, int y) { return CrRgbQuad{uint8_t(10 + 40 * x), uint8_t(20 + 90 * y), uint8_t(200 - 30 * x - 60 * y), 0}; }

CrRgbQuad ScreenPixel(const CrImage& image, int x, int y)
{
    return image.GetPixelColor(x, image.GetHeight() - 1 - y, false);
}

bool SameRgb(CrRgbQuad a, CrRgbQuad b) { return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue; }

CrImage Pattern()
{
    CrImage image(3, 2, 24, CRIMAGE_FORMAT_BMP);
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 3; x++)
            image.SetPixelColor(x, 1 - y, PatternAt(x, y));
    return image;
}

struct FilterCase {
    const char* name;
    bool flipHorz, flipVert, rotateLeft, rotateRight, negate;
    int width, height;
    // The source pixel that lands at (x, y) of the result.
    std::function<void(int x, int y, int& sx, int& sy)> source;
};

TEST(DisplayFilters, MoveAndChangeEveryPixel)
{
    const FilterCase cases[] = {
        {"none", false, false, false, false, false, 3, 2, [](int x, int y, int& sx, int& sy) { sx = x, sy = y; }},
        {"flip horizontal", true, false, false, false, false, 3, 2,
         [](int x, int y, int& sx, int& sy) { sx = 2 - x, sy = y; }},
        {"flip vertical", false, true, false, false, false, 3, 2,
         [](int x, int y, int& sx, int& sy) { sx = x, sy = 1 - y; }},
        // Turned left, the top row becomes the left column read upwards.
        {"rotate left", false, false, true, false, false, 2, 3,
         [](int x, int y, int& sx, int& sy) { sx = 2 - y, sy = x; }},
        {"rotate right", false, false, false, true, false, 2, 3,
         [](int x, int y, int& sx, int& sy) { sx = y, sy = 1 - x; }},
        // Both turns together make half a turn.
        {"rotate both", false, false, true, true, false, 3, 2,
         [](int x, int y, int& sx, int& sy) { sx = 2 - x, sy = 1 - y; }},
        {"negative", false, false, false, false, true, 3, 2, [](int x, int y, int& sx, int& sy) { sx = x, sy = y; }},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.name);
        CrImage image = Pattern();
        ApplyImageFilters(image, c.flipHorz, c.flipVert, c.rotateLeft, c.rotateRight, c.negate, false);
        ASSERT_EQ(image.GetWidth(), c.width);
        ASSERT_EQ(image.GetHeight(), c.height);
        for (int y = 0; y < c.height; y++)
            for (int x = 0; x < c.width; x++) {
                int sx = 0, sy = 0;
                c.source(x, y, sx, sy);
                CrRgbQuad want = PatternAt(sx, sy);
                if (c.negate)
                    want = CrRgbQuad{uint8_t(255 - want.rgbBlue), uint8_t(255 - want.rgbGreen), uint8_t(255 - want.rgbRed), 0};
                EXPECT_TRUE(SameRgb(ScreenPixel(image, x, y), want)) << x << "," << y;
            }
    }
}

TEST(DisplayFilters, GreyKeepsThePlacesAndDropsTheColour)
{
    CrImage image = Pattern();
    ApplyImageFilters(image, false, false, false, false, false, true);
    ASSERT_EQ(image.GetWidth(), 3);
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 3; x++) {
            CrRgbQuad c = ScreenPixel(image, x, y);
            EXPECT_EQ(c.rgbRed, c.rgbGreen);
            EXPECT_EQ(c.rgbGreen, c.rgbBlue);
        }
    // Brighter source pixels stay brighter.
    EXPECT_LT(ScreenPixel(image, 0, 0).rgbRed, ScreenPixel(image, 2, 1).rgbRed);
}

} // namespace
