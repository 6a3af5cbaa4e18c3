#include <gtest/gtest.h>

#include <cstdlib>

#include "AnimationWnd.h"
#include "PlaylistItem.h"
#include "Settings.h"
#include "ViewerGlobals.h"
#include "ViewerGuiSupport.h"

namespace {

class CanvasTest : public ScratchFolderTest {
protected:
    CSettingsValues m_settings;
    CTestHost m_host;
    CAnimationWnd m_canvas;
    CPlaylistItem m_item;

    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        ASSERT_TRUE(m_host.Make());
        ASSERT_TRUE(m_canvas.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &m_host, 1));
    }
    void TearDown() override
    {
        m_canvas.Close();
        m_canvas.DestroyWindow();
        ScratchFolderTest::TearDown();
    }
    void OpenItem(const std::vector<TestFrame>& frames, int w = 60, int h = 40)
    {
        ASSERT_TRUE(WriteTestGif(Path("anim.gif"), w, h, frames));
        ASSERT_EQ(m_item.Open(Path("anim.gif")), 0);
    }
    // The canvas's own painting, read back from a memory bitmap.
    COLORREF PaintedPixel(int x, int y)
    {
        CClientDC window(&m_canvas);
        CDC memory;
        memory.CreateCompatibleDC(&window);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(window, 300, 200);
        HGDIOBJ old = memory.SelectObject(&bitmap);
        m_canvas.DrawCurrentFrame(&memory);
        COLORREF c = memory.GetPixel(x, y);
        memory.SelectObject(old);
        return c;
    }
    bool WaitForState(int state, DWORD ms = 10000)
    {
        return PumpUntil([&] { return m_canvas.GetPlayState() == state && !m_canvas.HasPlayThread(); }, ms);
    }
};

TEST_F(CanvasTest, SetItemLoadsTheFramesOnTheLoadThread)
{
    OpenItem(ColourFrames(3, 10));
    EXPECT_EQ(m_canvas.SetItem(nullptr), -1);
    ASSERT_EQ(m_canvas.SetItem(&m_item), 0);
    EXPECT_EQ(m_canvas.GetItem(), &m_item);
    ASSERT_TRUE(PumpUntil([&] { return m_item.m_nLoadStatus == LOAD_DONE; }));
    // Without a playlist view the canvas's close waits for the thread itself.
    m_canvas.Close();
    EXPECT_EQ(m_item.m_pLoadThread, nullptr);
    EXPECT_EQ(m_canvas.GetItem(), nullptr);
}

TEST_F(CanvasTest, PlaysEveryFrameAtItsPaceAndEndsOnTheFirst)
{
    const auto frames = ColourFrames(4, 20);
    OpenItem(frames);
    ASSERT_EQ(m_canvas.SetItem(&m_item), 0);
    EXPECT_EQ(m_canvas.StartPlayThread(), 0);
    EXPECT_EQ(m_canvas.StartPlayThread(), 1);
    std::vector<int> seen;
    DWORD start = ::GetTickCount();
    ASSERT_TRUE(PumpUntil([&] {
        int index = m_canvas.GetFrameIndex();
        if (m_canvas.GetPlayState() == PLAY_PLAYING && (seen.empty() || seen.back() != index))
            seen.push_back(index);
        return m_canvas.GetPlayState() == PLAY_FINISHED;
    }));
    DWORD elapsed = ::GetTickCount() - start;
    EXPECT_GE(elapsed, 750u);   // four frames of 200 ms
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(m_canvas.GetFrameIndex(), 0);
    // The play thread ended by itself; nothing waited for it, so the canvas still holds it.
    EXPECT_EQ(m_canvas.StopPlayThread(STOP_STOP), 0);
    EXPECT_FALSE(m_canvas.HasPlayThread());
    EXPECT_TRUE(SameColour(PaintedPixel(150, 100), frames[0]));
}

TEST_F(CanvasTest, StoppingWithoutAPlayViewWaitsForThePlayThread)
{
    OpenItem(ColourFrames(3, 100));
    ASSERT_EQ(m_canvas.SetItem(&m_item), 0);
    ASSERT_EQ(m_canvas.StartPlayThread(), 0);
    ASSERT_TRUE(PumpUntil([&] { return m_canvas.GetPlayState() == PLAY_PLAYING; }));
    EXPECT_EQ(m_canvas.PausePlayThread(), 0);
    EXPECT_FALSE(m_canvas.HasPlayThread());
    EXPECT_EQ(m_canvas.GetPlayState(), PLAY_PAUSED);
    EXPECT_TRUE(m_canvas.IsWindowVisible());
    EXPECT_EQ(m_canvas.PausePlayThread(), 1);
    // Closing ends in the closed state and shows no frame.
    ASSERT_EQ(m_canvas.StartPlayThread(), 0);
    m_canvas.Close();
    EXPECT_EQ(m_canvas.GetPlayState(), PLAY_CLOSED);
    EXPECT_FALSE(m_canvas.HasPlayThread());
}

TEST_F(CanvasTest, AFileThatIsNotAGifSaysSoInPlaceOfThePictureAndFinishes)
{
    OpenItem(ColourFrames(3, 10));
    // The file is replaced by something else after its info was read.
    FILE* f = _wfopen(Path("anim.gif"), L"wb");
    fputs("not a picture any more", f);
    fclose(f);
    ASSERT_EQ(m_canvas.SetItem(&m_item), 0);
    ASSERT_EQ(m_canvas.StartPlayThread(), 0);
    EXPECT_TRUE(PumpUntil([&] { return m_canvas.GetPlayState() == PLAY_FINISHED; }, 5000));
    EXPECT_EQ(m_item.m_nLoadStatus, LOAD_FAILED);
    m_canvas.StopPlayThread(STOP_STOP);
    // The words stay readable after playback: on the screen and as the canvas's text.
    EXPECT_TRUE(m_canvas.IsWindowVisible());
    EXPECT_EQ(m_canvas.GetWindowText(), CString(L"anim.gif: This is not a GIF file."));
    int lit = 0;
    for (int y = 60; y < 140; y++)
        for (int x = 0; x < 300; x += 2)
            lit += PaintedPixel(x, y) != RGB(0, 0, 0);
    EXPECT_GT(lit, 40) << "no words in the middle of the canvas";
    EXPECT_EQ(PaintedPixel(5, 5), RGB(0, 0, 0));
    EXPECT_EQ(PaintedPixel(150, 190), RGB(0, 0, 0));
    // The next item takes the words away.
    m_canvas.Close();
    EXPECT_TRUE(m_canvas.GetWindowText().IsEmpty());
}

TEST_F(CanvasTest, SeekingShowsTheFrameAndRefusesBadIndices)
{
    const auto frames = ColourFrames(3, 10);
    OpenItem(frames);
    EXPECT_EQ(m_canvas.SeekFrame(0, true), -1);   // no item
    ASSERT_EQ(m_canvas.SetItem(&m_item), 0);
    ASSERT_TRUE(PumpUntil([&] { return m_item.m_nLoadStatus == LOAD_DONE; }));
    EXPECT_EQ(m_canvas.SeekFrame(2, false), 0);
    EXPECT_EQ(m_canvas.GetFrameIndex(), 2);
    EXPECT_EQ(m_canvas.SeekFrame(2, false), 1);
    EXPECT_EQ(m_canvas.SeekFrame(2, true), 0);
    EXPECT_EQ(m_canvas.SeekFrame(3, true), -1);
    EXPECT_EQ(m_canvas.SeekFrame(-1, true), -1);
    EXPECT_TRUE(SameColour(PaintedPixel(150, 100), frames[2]));
}

TEST_F(CanvasTest, ZoomAndFitPlaceTheFrame)
{
    const auto frames = ColourFrames(1, 10);
    OpenItem(frames, 60, 40);
    ASSERT_EQ(m_canvas.SetItem(&m_item), 0);
    ASSERT_TRUE(PumpUntil([&] { return m_item.m_nLoadStatus == LOAD_DONE; }));
    // 100 %: 60 x 40 centred in 300 x 200, so (125, 85) is outside it and (150, 100) inside.
    EXPECT_TRUE(SameColour(PaintedPixel(150, 100), frames[0]));
    EXPECT_EQ(PaintedPixel(100, 100), RGB(0, 0, 0));
    // Fit: 300 x 200 fills the window.
    m_canvas.SetZoom(0);
    EXPECT_TRUE(SameColour(PaintedPixel(2, 2), frames[0]));
    m_canvas.SetZoom(200);
    EXPECT_TRUE(SameColour(PaintedPixel(100, 70), frames[0]));
    EXPECT_EQ(PaintedPixel(80, 50), RGB(0, 0, 0));
}

TEST_F(CanvasTest, BackgroundThemesAndHatches)
{
    struct Case {
        int theme, hatch;
        COLORREF given, expected;
    } cases[] = {
        {0, 3, RGB(10, 20, 30), RGB(10, 20, 30)},
        {1, 0, 0, RGB(255, 255, 255)},
        {2, 0, RGB(1, 2, 3), RGB(0, 0, 0)},
    };
    for (const Case& c : cases) {
        m_settings.BackgroundTheme = c.theme;
        m_settings.BackgroundHatch = c.hatch;
        m_canvas.SetBackground(c.given);
        EXPECT_EQ(m_canvas.GetBackgroundColor(), c.expected) << c.theme;
        EXPECT_EQ(PaintedPixel(5, 5), c.expected) << c.theme;
    }
    // Automatic takes the colour into the settings and drops the hatch.
    m_settings.BackgroundTheme = 0;
    m_settings.BackgroundHatch = 4;
    m_canvas.SetBackground(RGB(9, 9, 9));
    EXPECT_EQ(m_settings.BackgroundHatch, 0);
    EXPECT_EQ(m_settings.BackgroundColor, int(RGB(9, 9, 9)));
    // A cross hatch on the light theme draws lines in its own colour over white.
    m_settings.BackgroundTheme = 1;
    m_settings.BackgroundHatch = 6;
    m_canvas.SetBackground(0);
    int lines = 0;
    for (int x = 0; x < 16; x++)
        lines += PaintedPixel(x, 3) == RGB(0xE0, 0xE0, 0xE0);
    EXPECT_GT(lines, 0);
    // The pattern bitmap tiles.
    m_settings.BackgroundHatch = 1;
    m_canvas.SetBackground(0);
    EXPECT_EQ(PaintedPixel(1, 1), RGB(255, 255, 255));
    EXPECT_EQ(PaintedPixel(9, 1), RGB(224, 224, 224));
}

TEST_F(CanvasTest, RepeatCurrentLoopsUntilStopped)
{
    m_settings.Repeat = 1;
    OpenItem(ColourFrames(2, 5));
    ASSERT_EQ(m_canvas.SetItem(&m_item), 0);
    ASSERT_EQ(m_canvas.StartPlayThread(), 0);
    ASSERT_TRUE(PumpUntil([&] { return m_canvas.GetRepeatCount() >= 2; }));
    m_canvas.StopPlayThread(STOP_STOP);
    EXPECT_EQ(m_canvas.GetPlayState(), PLAY_STOPPED);
    EXPECT_EQ(m_canvas.GetFrameIndex(), 0);
    m_settings.Repeat = 0;
}

TEST_F(CanvasTest, CancellingALoadKeepsTheDecodedFrames)
{
    // Many large frames, so the cancel comes while decoding.
    OpenItem(ColourFrames(60, 10), 600, 400);
    ASSERT_EQ(m_item.StartLoadThread(), 0);
    EXPECT_EQ(m_item.StartLoadThread(), 1);
    ASSERT_TRUE(PumpUntil([&] { return m_item.m_slots.GetAt(0)->m_nState == SLOT_DECODED; }));
    EXPECT_EQ(m_item.CancelLoading(), 0);
    EXPECT_EQ(m_item.m_pLoadThread, nullptr);
    int status = m_item.m_nLoadStatus;
    EXPECT_TRUE(status == LOAD_CANCELLED || status == LOAD_DONE) << status;
    EXPECT_EQ(m_item.m_slots.GetAt(0)->m_nState, SLOT_DECODED);
    if (status == LOAD_CANCELLED) {
        EXPECT_EQ(m_item.m_slots.GetAt(59)->m_nState, SLOT_CANCELLED);
    }
    EXPECT_EQ(m_item.CancelLoading(), 1);
}

} // namespace
