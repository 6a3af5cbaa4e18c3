// Sorvik.exe playing as a user meets it: the end of an item, File > Exit, a paused picture in a
// window of another size, dragging the slider and the position text while frames still decode,
// each read off the screen, the process and the registry.
#include <gtest/gtest.h>

#include <windows.h>

#include <random>

#include "CrImage.h"
#include "GuiDriving.h"
#include "SorvikProcessTest.h"
#include "SorvikWindows.h"
#include "TestGif.h"
#include "ViewGeometry.h"
#include "ViewerGuiSupport.h"

namespace {

constexpr COLORREF kBarGround = RGB(0x30, 0x30, 0x30);
constexpr COLORREF kPlayedPart = RGB(0, 170, 90);
constexpr COLORREF kDecodedPart = RGB(112, 112, 112);
// The pictures of the tests that place them.
constexpr int kWidth = 120, kHeight = 80;

RECT WindowRect(HWND wnd)
{
    RECT r{};
    ::GetWindowRect(wnd, &r);
    return r;
}

COLORREF Colour(const TestFrame& f) { return RGB(f.r, f.g, f.b); }

// The part of a rectangle on the screen (a full-screen window reaches past its edges, and the
// screen cannot be read there).
RECT OnScreen(const RECT& r)
{
    const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    RECT part{};
    ::IntersectRect(&part, &r, &screen);
    return part;
}

// Where the pixels of one colour are on the screen inside `area`, and how many there are.
struct ColourPatch {
    RECT bounds{0, 0, 0, 0};
    int count = 0;
};

ColourPatch FindColour(const RECT& wanted, COLORREF colour)
{
    const RECT area = OnScreen(wanted);
    ScreenShot shot(area);
    ColourPatch patch;
    patch.bounds = RECT{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++)
            if (NearColour(shot.At(x, y), colour, 12)) {
                patch.count++;
                patch.bounds.left = std::min<LONG>(patch.bounds.left, x);
                patch.bounds.top = std::min<LONG>(patch.bounds.top, y);
                patch.bounds.right = std::max<LONG>(patch.bounds.right, x + 1);
                patch.bounds.bottom = std::max<LONG>(patch.bounds.bottom, y + 1);
            }
    return patch;
}

// The pixels of an area as they are now, for comparing two moments.
std::vector<COLORREF> Pixels(const RECT& area)
{
    ScreenShot shot(area);
    std::vector<COLORREF> pixels;
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++)
            pixels.push_back(shot.At(x, y));
    return pixels;
}

class SorvikPlaybackTest : public SorvikProcessTest {
protected:
    HWND m_main = nullptr;

    // Starts the viewer on one GIF and waits until it is the current item.
    void Open(const CString& gif, const CString& title)
    {
        ASSERT_TRUE(Start(L"\"" + gif + L"\""));
        m_main = WaitForSorvikWindow(title.str(), m_process.dwProcessId, 30000);
        ASSERT_NE(m_main, nullptr) << "no window named " << title.ToUtf8();
        ::SetForegroundWindow(m_main);
    }
    // Writes the frames as a GIF, starts the viewer on it, looping it until the test is done,
    // and waits until one of them shows.
    void StartPlaying(const std::string& name, const std::vector<TestFrame>& frames, int width = kWidth,
                      int height = kHeight)
    {
        ASSERT_TRUE(WriteSorvikSetting(L"Repeat", 1));
        ASSERT_TRUE(WriteTestGif(Path(name), width, height, frames));
        Open(Path(name), CString::FromUtf8(name.c_str()) + L" - 1/1");
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(WaitFor([&] { return ShownFrame(frames) >= 0; })) << "the GIF did not play";
    }
    HWND Canvas() const { return SorvikCanvas(m_main); }
    HWND ControlBar() const { return ::GetDlgItem(m_main, 59397); }
    // A key (with a modifier, or 0) typed into the viewer's window.
    void Key(WORD key, WORD modifier = 0) { TypeKeyInto(m_main, key, modifier); }
    // The frame of `frames` whose colour fills the middle of the canvas, -1 for none.
    int ShownFrame(const std::vector<TestFrame>& frames) const
    {
        HWND canvas = Canvas();
        if (!canvas || !::IsWindowVisible(canvas))
            return -1;
        RECT r = OnScreen(WindowRect(canvas));
        ScreenShot shot(r);
        const COLORREF c = shot.At((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        for (size_t i = 0; i < frames.size(); i++)
            if (NearColour(c, Colour(frames[i]), 12))
                return int(i);
        return -1;
    }
    bool WaitForFrame(const std::vector<TestFrame>& frames, int frame, DWORD ms = 5000) const
    {
        return WaitFor([&] { return ShownFrame(frames) == frame; }, ms);
    }
    // Space pauses: the same frame stays for well over its time. Answers that frame.
    int Pause(const std::vector<TestFrame>& frames, DWORD frameMs)
    {
        Key(VK_SPACE);
        int shown = -1;
        EXPECT_TRUE(WaitFor([&] {
            const int before = ShownFrame(frames);
            ::Sleep(frameMs + 300);
            shown = ShownFrame(frames);
            return before >= 0 && shown == before;
        }, 4 * frameMs + 4000)) << "Space did not pause";
        return shown;
    }
    // The slider's channel on the screen, one row in the middle of the bar: from the item's left
    // (200 pixels in) plus half a thumb, to the first gap of the bar's ground after it.
    void SliderChannel(int& left, int& right, int& y) const
    {
        const RECT bar = WindowRect(ControlBar());
        y = (bar.top + bar.bottom) / 2;
        left = bar.left + 210;
        ScreenShot shot(RECT{bar.left, y, bar.right, y + 1});
        right = left;
        for (int x = left; x < bar.right - 3; x++) {
            bool ground = true;
            for (int i = 0; i < 3; i++)
                ground = ground && NearColour(shot.At(x + i, y), kBarGround, 2);
            if (ground) {
                right = x;
                break;
            }
        }
    }
    // Where the position text is: between the slider and the four buttons at the right end.
    RECT PositionText() const
    {
        int left = 0, right = 0, y = 0;
        SliderChannel(left, right, y);
        const RECT bar = WindowRect(ControlBar());
        return RECT{right + 10, bar.top, bar.right - 4 * 48 - 8, bar.bottom};
    }
    // The right end of the slider's played (green) part on the screen; the channel's left when none.
    int PlayedPartEnd() const
    {
        int left = 0, right = 0, y = 0;
        SliderChannel(left, right, y);
        ColourPatch played = FindColour(RECT{left - 10, y - 2, right + 10, y + 3}, kPlayedPart);
        return played.count ? int(played.bounds.right) : left;
    }
    // The bar's first button shows pause (two bars, ground between them) while playing, else play.
    bool ShowsPauseButton() const
    {
        const RECT bar = WindowRect(ControlBar());
        const POINT middle{bar.left + 24, (bar.top + bar.bottom) / 2};
        ScreenShot shot(RECT{middle.x, middle.y, middle.x + 1, middle.y + 1});
        return NearColour(shot.At(middle.x, middle.y), kBarGround, 4);
    }
    static DWORD ReadSetting(const wchar_t* name)
    {
        DWORD value = 0xFFFFFFFF, size = sizeof value;
        ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Sorvik\\Settings", name, RRF_RT_REG_DWORD, nullptr,
                       &value, &size);
        return value;
    }
};

TEST_F(SorvikPlaybackTest, AGifThatPlaysOnceEndsOnItsFirstFrameAndTheScreenShowsThePlaylist)
{
    const auto frames = ColourFrames(5, 20);
    ASSERT_TRUE(WriteTestGif(Path("once.gif"), 64, 48, frames));
    Open(Path("once.gif"), L"once.gif - 1/1");
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(WaitForFrame(frames, 1, 5000)) << "the GIF did not play";
    HWND list = SorvikPane(m_main, 1);
    ASSERT_NE(list, nullptr);
    // A second after its last frame the playlist stands where the play pane was: its grid with
    // the item's thumbnail (frame 0), no black window.
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(list) != FALSE; }, 5000)) << "the playlist never came back";
    ::Sleep(500);
    const RECT pane = WindowRect(list);
    const ColourPatch thumbnail = FindColour(pane, Colour(frames[0]));
    EXPECT_GE(thumbnail.count, 64 * 48 * 9 / 10) << "no thumbnail of frame 0 in the playlist on the screen";
    ScreenShot shot(pane);
    const int black = shot.Count([](COLORREF c) { return NearColour(c, RGB(0, 0, 0), 4); });
    const int all = (pane.right - pane.left) * (pane.bottom - pane.top);
    EXPECT_LT(black, all / 2) << "the pane is mostly black";
    // Frame 0 is the position: the slider has no played part.
    int left = 0, right = 0, y = 0;
    SliderChannel(left, right, y);
    EXPECT_LE(PlayedPartEnd(), left + 2);
    EXPECT_TRUE(m_sorvik.Close(m_main));
}

TEST_F(SorvikPlaybackTest, FileExitClosesTheViewerAndSavesItsSettings)
{
    const auto frames = ColourFrames(4, 30);
    StartPlaying("exit.gif", frames, 64, 48);
    if (HasFatalFailure())
        return;
    // A setting changed in this run: Repeat All (from Repeat Current).
    ::PostMessageW(m_main, WM_COMMAND, 32812, 0);
    // F6 to the playlist, where the menu bar is; Alt+F; a click on its last entry, Exit.
    Key(VK_F6);
    HWND menuBar = ::GetDlgItem(m_main, 0xE800);
    ASSERT_TRUE(WaitFor([&] { return menuBar && ::IsWindowVisible(menuBar); }, 5000)) << "no menu bar";
    ::Sleep(300);
    Key('F', VK_MENU);
    HWND popup = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (popup = ::FindWindowW(L"#32768", nullptr)) && ::IsWindowVisible(popup); }, 5000))
        << "Alt+F opened no menu";
    ::Sleep(300);
    const RECT r = WindowRect(popup);
    ClickAt(r.left + 30, r.bottom - 10);
    ASSERT_EQ(::WaitForSingleObject(m_process.hProcess, 15000), WAIT_OBJECT_0) << "Exit did not close the viewer";
    DWORD code = 1;
    ::GetExitCodeProcess(m_process.hProcess, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(ReadSetting(L"Repeat"), 2u) << "the settings were not saved";
}

TEST_F(SorvikPlaybackTest, APausedPictureIsPlacedAnewAtEverySizeInAndOutOfFullScreen)
{
    ASSERT_TRUE(WriteSorvikSetting(L"AlwaysShowControlBar", 0));
    const auto frames = ColourFrames(3, 100);
    StartPlaying("paused.gif", frames);
    if (HasFatalFailure())
        return;
    const int shown = Pause(frames, 1000);
    ASSERT_GE(shown, 0);
    const COLORREF colour = Colour(frames[size_t(shown)]);
    const RECT start = WindowRect(m_main);

    // Whatever the size, the picture is where the zoom puts it in the canvas, and all of it.
    auto placedRight = [&](const char* when, int zoom) {
        SCOPED_TRACE(when);
        HWND canvas = Canvas();
        ASSERT_NE(canvas, nullptr);
        RECT client{}, want{};
        ColourPatch patch;
        const bool placed = WaitFor([&] {
            ::GetClientRect(canvas, &client);
            const ViewRect r = FrameRect(zoom, {kWidth, kHeight}, {0, 0, client.right, client.bottom});
            const RECT canvasRect = WindowRect(canvas);
            want = RECT{r.left, r.top, r.right, r.bottom};
            ::OffsetRect(&want, canvasRect.left, canvasRect.top);
            want = OnScreen(want);
            patch = FindColour(canvasRect, colour);
            // Enlarged, the edges of the picture may blend with the ground.
            const int area = (want.right - want.left) * (want.bottom - want.top);
            return ::EqualRect(&patch.bounds, &want) && patch.count >= (zoom == 100 ? area : area * 99 / 100);
        }, 5000);
        EXPECT_TRUE(placed) << "picture at " << patch.bounds.left << "," << patch.bounds.top << "-"
                            << patch.bounds.right << "," << patch.bounds.bottom << " (" << patch.count
                            << " pixels) instead of " << want.left << "," << want.top << "-" << want.right << ","
                            << want.bottom << " on the screen, canvas " << client.right << "x" << client.bottom;
        EXPECT_EQ(ShownFrame(frames), shown) << "no longer paused on the same frame";
    };
    ::SetWindowPos(m_main, nullptr, 0, 0, start.right - start.left + 160, start.bottom - start.top + 90,
                   SWP_NOMOVE | SWP_NOZORDER);
    placedRight("wider and higher", 100);
    ::SetWindowPos(m_main, nullptr, 0, 0, start.right - start.left - 120, start.bottom - start.top - 60,
                   SWP_NOMOVE | SWP_NOZORDER);
    placedRight("narrower and lower", 100);
    Key('0', VK_MENU);   // fitted
    placedRight("fitted", 0);
    Key(VK_RETURN, VK_MENU);
    ASSERT_TRUE(WaitFor([&] {
        RECT r = WindowRect(Canvas());
        return r.left <= 0 && r.top <= 0 && r.right >= ::GetSystemMetrics(SM_CXSCREEN);
    }, 5000)) << "Alt+Enter did not go full screen";
    placedRight("fitted, full screen", 0);
    Key('2', VK_MENU);   // 100 %
    placedRight("full screen", 100);
    Key(VK_RETURN, VK_MENU);
    ASSERT_TRUE(WaitFor([&] { return WindowRect(Canvas()).left > 0; }, 5000)) << "Alt+Enter did not leave full screen";
    placedRight("out of full screen", 100);
    EXPECT_TRUE(m_sorvik.Close(m_main));
}

TEST_F(SorvikPlaybackTest, WhilePlayingAPictureMadeSmallerLeavesNothingOfTheLargerBehind)
{
    const auto frames = ColourFrames(6, 10);
    StartPlaying("zoomed.gif", frames);
    if (HasFatalFailure())
        return;
    // Playing on: 200 %, then 50 %. Only the small picture may be left on the black ground.
    Key('3', VK_MENU);
    ::Sleep(500);
    Key('1', VK_MENU);
    HWND canvas = Canvas();
    RECT client{};
    ::GetClientRect(canvas, &client);
    const ViewRect small = FrameRect(50, {kWidth, kHeight}, {0, 0, client.right, client.bottom});
    int lit = 0;
    EXPECT_TRUE(WaitFor([&] {
        ScreenShot shot(OnScreen(WindowRect(canvas)));
        lit = shot.Count([](COLORREF c) { return !NearColour(c, RGB(0, 0, 0), 12); });
        return lit == small.Width() * small.Height();
    }, 5000)) << lit << " lit pixels instead of " << small.Width() * small.Height();
    EXPECT_GE(ShownFrame(frames), 0) << "it stopped playing";
    EXPECT_TRUE(m_sorvik.Close(m_main));
}

TEST_F(SorvikPlaybackTest, DraggingTheSliderSeeksAsItGoesAndLandsUnderThePointer)
{
    const int count = 16;
    const auto frames = ColourFrames(count, 100);
    StartPlaying("seek.gif", frames, 64, 48);
    if (HasFatalFailure())
        return;
    // Frames 0 to 5 have colours of their own (ShownFrame finds the first of a colour); the
    // pause lands anywhere.
    auto shownOfSix = [&] { return ShownFrame(frames); };
    ASSERT_GE(Pause(frames, 1000), 0);
    MoveMouseTo(0, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    ::Sleep(300);
    int left = 0, right = 0, y = 0;
    SliderChannel(left, right, y);
    ASSERT_GT(right - left, 150) << "no slider channel found";
    // The x of a frame on the channel, as the slider places its values.
    auto frameX = [&](int frame) { return left + (right - left) * frame / (count - 1); };
    MoveMouseTo(frameX(1), y);
    ::Sleep(200);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(WaitFor([&] { return shownOfSix() == 1; }, 3000)) << "the press did not seek";
    // Half way the frame under the pointer shows already.
    for (int x = frameX(1); x <= frameX(3); x += 4) {
        MoveMouseTo(x, y);
        ::Sleep(30);
    }
    MoveMouseTo(frameX(3), y);
    EXPECT_TRUE(WaitFor([&] { return shownOfSix() == 3; }, 3000)) << "the drag did not seek as it went";
    for (int x = frameX(3); x <= frameX(5); x += 4) {
        MoveMouseTo(x, y);
        ::Sleep(30);
    }
    MoveMouseTo(frameX(5), y);
    ::Sleep(100);
    SendMouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(WaitFor([&] { return shownOfSix() == 5; }, 3000)) << "the release did not land on frame 5";
    // The played part of the slider ends over frame 5 (read with the pointer and its tip away).
    MoveMouseTo(0, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    ::Sleep(500);
    SliderChannel(left, right, y);
    EXPECT_NEAR(PlayedPartEnd(), frameX(5), 3) << "channel " << left << "-" << right;
    ::Sleep(1500);
    EXPECT_EQ(shownOfSix(), 5) << "still paused, on frame 5";
    EXPECT_TRUE(m_sorvik.Close(m_main));
}

// Frames of noise, so that decoding takes its time.
bool WriteNoisyGif(const CString& path, int width, int height, int count)
{
    std::mt19937 random(7);
    std::vector<CrImage*> images;
    for (int i = 0; i < count; i++) {
        auto* image = new CrImage(width, height, 8, CRIMAGE_FORMAT_GIF);
        for (int c = 0; c < 256; c++)
            image->SetPaletteColor(uint8_t(c), CrRgbQuad{uint8_t(c), uint8_t(255 - c), uint8_t(c * 7), 0});
        for (int yy = 0; yy < height; yy++)
            for (int xx = 0; xx < width; xx++)
                image->SetPixelIndex(xx, yy, uint8_t(random() & 0xFF));
        image->SetFrameDelay(100);
        images.push_back(image);
    }
    return WriteGifFrames(path, images);
}

TEST_F(SorvikPlaybackTest, WhileFramesStillDecodeThePositionTextTellsTheFrameOnTheScreen)
{
    ASSERT_TRUE(WriteSorvikSetting(L"Repeat", 1));
    ASSERT_TRUE(WriteNoisyGif(Path("big.gif"), 640, 480, 90));
    MoveMouseTo(0, ::GetSystemMetrics(SM_CYSCREEN) - 1);   // no hot item, no tooltip over the bar
    Open(Path("big.gif"), L"big.gif - 1/1");
    if (HasFatalFailure())
        return;
    // Paused as soon as it plays, with most of the frames still to come.
    ASSERT_TRUE(WaitFor([&] { return ShowsPauseButton(); }, 10000)) << "it did not play";
    Key(VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return !ShowsPauseButton(); }, 5000)) << "Space did not pause";
    // The light part of the slider shows how far decoding went: how far short of the end is it?
    auto decodingLeft = [&] {
        int left = 0, right = 0, y = 0;
        SliderChannel(left, right, y);
        ScreenShot shot(RECT{left, y, right, y + 1});
        int end = left;
        for (int x = left; x < right; x++)
            if (NearColour(shot.At(x, y), kDecodedPart, 4))
                end = x + 1;
        return right - end;
    };
    ::Sleep(300);
    const RECT text = PositionText();
    const std::vector<COLORREF> paused = Pixels(text);
    ASSERT_GT(decodingLeft(), 20) << "the frames were decoded before the pause: no test";
    // The end piece of the channel covers its last 3 pixels.
    ASSERT_TRUE(WaitFor([&] { return decodingLeft() <= 3; }, 60000)) << "the frames never finished decoding";
    ::Sleep(300);
    EXPECT_TRUE(Pixels(text) == paused) << "the position text moved while the picture stood still";
    // The paused frame is on the screen, whether it was decoded before the pause or after.
    ScreenShot shot(OnScreen(WindowRect(Canvas())));
    EXPECT_GT(shot.Count([](COLORREF c) { return !NearColour(c, RGB(0, 0, 0), 12); }), 640 * 480 / 2)
        << "the paused frame is not on the screen";
    // A step there and back shows this frame's position again: the text as it was.
    Key(VK_RIGHT);
    ASSERT_TRUE(WaitFor([&] { return Pixels(text) != paused; }, 5000)) << "a step did not change the text";
    Key(VK_LEFT);
    EXPECT_TRUE(WaitFor([&] { return Pixels(text) == paused; }, 5000)) << "the text did not come back";
    EXPECT_TRUE(m_sorvik.Close(m_main));
}

} // namespace
