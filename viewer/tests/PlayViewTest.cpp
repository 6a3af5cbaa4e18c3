// The play view's commands on a real canvas, in a window of the test's own: what they change,
// when they are offered, and what follows the end of a playback.
#include <gtest/gtest.h>

#include "CrImage.h"
#include "PlayView.h"
#include "PlaylistItem.h"
#include "Settings.h"
#include "SysHelpers.h"
#include "ViewerGlobals.h"
#include "ViewerGuiSupport.h"
#include "resource.h"

namespace {

UINT g_exitFlags = 0;
int g_exitCalls = 0;

BOOL WINAPI RecordExitWindows(UINT flags, DWORD)
{
    g_exitFlags = flags;
    g_exitCalls++;
    return TRUE;
}

// Records what an update handler says about one command.
class CRecordingCmdUI : public CCmdUI {
public:
    explicit CRecordingCmdUI(UINT id) { m_nID = id; }
    int enabled = -1, checked = -1;
    CString text;
    void Enable(BOOL on) override
    {
        enabled = on ? 1 : 0;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int check) override { checked = check; }
    void SetRadio(BOOL on) override { checked = on ? 1 : 0; }
    void SetText(const wchar_t* t) override { text = t; }
};

class PlayViewTest : public ScratchFolderTest {
protected:
    CSettingsValues m_settings;
    CTestHost m_host;
    CPlayView* m_view = nullptr;   // deletes itself with its window
    CPlaylistItem m_item;

    void SetUp() override
    {
        TestApp();
        ScratchFolderTest::SetUp();
        m_settings.AutoAdvance = 0;
        ASSERT_TRUE(m_host.Make(320, 240));
        m_view = new CPlayView;
        ASSERT_TRUE(m_view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 320, 240), &m_host, 0xE900));
        m_view->ResizeCanvas();
        // Half a second a frame: time enough to pause before the end.
        ASSERT_TRUE(WriteTestGif(Path("three.gif"), 40, 30, ColourFrames(3, 50)));
        ASSERT_EQ(m_item.Open(Path("three.gif")), 0);
    }
    void TearDown() override
    {
        if (m_view) {
            m_view->CloseItem();
            m_view->DestroyWindow();
        }
        ScratchFolderTest::TearDown();
    }
    void Command(UINT id) { m_view->SendMessage(WM_COMMAND, id); }
    CRecordingCmdUI Update(UINT id)
    {
        CRecordingCmdUI ui(id);
        ui.DoUpdate(m_view, FALSE);
        return ui;
    }
    // Plays the item and waits until it is paused on a frame.
    void PlayAndPause()
    {
        ASSERT_EQ(m_view->PlayItem(&m_item, nullptr), 0);
        ASSERT_TRUE(PumpUntil([&] { return m_item.m_nLoadStatus == LOAD_DONE; }));
        m_view->PausePlayback();
        ASSERT_TRUE(PumpUntil([&] { return m_view->m_canvas.GetPlayState() == PLAY_PAUSED; }));
    }
};

TEST_F(PlayViewTest, StepsStayInsideTheFramesAndAreOfferedOnlyWhereTheyLead)
{
    PlayAndPause();
    if (HasFatalFailure())
        return;
    CAnimationWnd& canvas = m_view->m_canvas;
    canvas.SeekFrame(0, true);
    EXPECT_EQ(Update(ID_PLAY_PREVIOUS_FRAME).enabled, 0);
    EXPECT_EQ(Update(ID_PLAY_NEXT_FRAME).enabled, 1);
    Command(ID_PLAY_NEXT_FRAME);
    Command(ID_PLAY_NEXT_FRAME);
    EXPECT_EQ(canvas.GetFrameIndex(), 2);
    EXPECT_EQ(Update(ID_PLAY_NEXT_FRAME).enabled, 0);
    Command(ID_PLAY_NEXT_FRAME);
    EXPECT_EQ(canvas.GetFrameIndex(), 2);
    Command(ID_PLAY_PREVIOUS_FRAME);
    EXPECT_EQ(canvas.GetFrameIndex(), 1);
    // Paused: Play reads "Play", Stop and the frame's export are offered.
    EXPECT_EQ(Update(ID_PLAY_PLAY).text, CString(L"Play\tCtrl+P"));
    EXPECT_EQ(Update(ID_PLAY_STOP).enabled, 1);
    EXPECT_EQ(Update(ID_PLAY_COPY_FRAME).enabled, 1);
    EXPECT_EQ(Update(ID_GIF_INFO).enabled, 1);
    // Space resumes; Play then reads "Pause".
    Command(ID_PLAY_PAUSE_RESUME);
    EXPECT_TRUE(PumpUntil([&] { return canvas.GetPlayState() == PLAY_PLAYING; }));
    EXPECT_EQ(Update(ID_PLAY_PLAY).text, CString(L"Pause\tCtrl+P"));
    Command(ID_PLAY_PAUSE);
    EXPECT_EQ(canvas.GetPlayState(), PLAY_PAUSED);
}

TEST_F(PlayViewTest, FiltersZoomRepeatAndBackgroundCommands)
{
    PlayAndPause();
    if (HasFatalFailure())
        return;
    struct Filter {
        UINT id;
        int CPlaylistItem::*flag;
    } filters[] = {{ID_FILTER_FLIP_HORZ, &CPlaylistItem::FlipHorz}, {ID_FILTER_FLIP_VERT, &CPlaylistItem::FlipVert},
                   {ID_FILTER_ROTATE_LEFT, &CPlaylistItem::RotateLeft}, {ID_FILTER_ROTATE_RIGHT, &CPlaylistItem::RotateRight},
                   {ID_FILTER_REVERSE, &CPlaylistItem::Reverse},          {ID_FILTER_NEGATIVE, &CPlaylistItem::Negate},
                   {ID_FILTER_GRAY, &CPlaylistItem::GrayScale}};
    for (const Filter& f : filters) {
        Command(f.id);
        EXPECT_EQ(m_item.*f.flag, 1) << f.id;
        EXPECT_EQ(Update(f.id).checked, 1) << f.id;
        Command(f.id);
        EXPECT_EQ(m_item.*f.flag, 0) << f.id;
    }
    // A negative frame is what the canvas now paints.
    Command(ID_FILTER_NEGATIVE);
    CrImage* shown = m_item.GetFrame(m_view->m_canvas.GetFrameIndex());
    ASSERT_NE(shown, nullptr);
    CrRgbQuad c = shown->GetPixelColor(1, 1, false);
    const TestFrame f = ColourFrames(3, 50)[size_t(m_view->m_canvas.GetFrameIndex())];
    EXPECT_NEAR(c.rgbRed, 255 - f.r, 2);

    struct {
        UINT id;
        int zoom;
    } zooms[] = {{ID_ZOOM_FIT, 0}, {ID_ZOOM_50, 50}, {ID_ZOOM_100, 100}, {ID_ZOOM_200, 200}};
    for (auto z : zooms) {
        Command(z.id);
        EXPECT_EQ(m_view->m_canvas.GetZoom(), z.zoom);
        EXPECT_EQ(Update(z.id).checked, 1);
    }
    Command(ID_ZOOM_CYCLE);
    EXPECT_EQ(m_view->m_canvas.GetZoom(), 50);

    Command(ID_PLAY_REPEAT_ALL);
    EXPECT_EQ(m_settings.Repeat, 2);
    Command(ID_PLAY_REPEAT_CURRENT);
    EXPECT_EQ(m_settings.Repeat, 1);
    EXPECT_EQ(Update(ID_PLAY_REPEAT_ALL).checked, 0);
    Command(ID_PLAY_REPEAT_CURRENT);
    EXPECT_EQ(m_settings.Repeat, 0);

    Command(ID_BACKGROUND_WHITE);
    EXPECT_EQ(m_settings.BackgroundTheme, 1);
    EXPECT_EQ(m_view->m_canvas.GetBackgroundColor(), RGB(255, 255, 255));
    Command(ID_HATCH_CROSS);
    EXPECT_EQ(m_settings.BackgroundHatch, 6);
    EXPECT_EQ(Update(ID_HATCH_CROSS).enabled, 1);
    Command(ID_BACKGROUND_AUTO);
    EXPECT_EQ(m_settings.BackgroundHatch, 0);
    EXPECT_EQ(Update(ID_HATCH_CROSS).enabled, 0);
}

TEST_F(PlayViewTest, TheFrameGoesToTheClipboardAndToFilesAsShown)
{
    PlayAndPause();
    if (HasFatalFailure())
        return;
    m_item.FlipHorz = 1;
    m_item.ResetFilters();
    ASSERT_EQ(m_view->CopyFrameToClipboard(), 0);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE data = ::GetClipboardData(CF_DIB);
    ASSERT_NE(data, nullptr);
    const auto* head = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(data));
    EXPECT_EQ(head->biWidth, 40);
    EXPECT_EQ(head->biHeight, 30);
    ::GlobalUnlock(data);
    ::CloseClipboard();

    CString error;
    ASSERT_EQ(m_view->SaveFrame(Path("frame.png"), error), 0) << error.ToUtf8();
    CrImage back;
    ASSERT_TRUE(back.Load(Path("frame.png"), CRIMAGE_FORMAT_PNG));
    EXPECT_EQ(back.GetWidth(), 40);
    EXPECT_EQ(m_view->SaveFrame(Path("frame.gif"), error), -1);
    EXPECT_FALSE(std::filesystem::exists(m_folder / "frame.gif"));
}

TEST_F(PlayViewTest, OnlyAPlaybackThatEndsByItselfShutsDownAndNothingIsForced)
{
    auto saved = g_pfnExitWindowsEx;
    g_pfnExitWindowsEx = RecordExitWindows;
    g_exitCalls = 0;
    m_view->SendMessage(WM_COMMAND, ID_AFTER_SHUTDOWN);
    EXPECT_EQ(m_view->m_bShutdownAfterPlayback, 1);
    // Paused first: no shut-down.
    PlayAndPause();
    EXPECT_EQ(g_exitCalls, 0);
    // Resumed and played to its end.
    Command(ID_PLAY_PAUSE_RESUME);
    EXPECT_TRUE(PumpUntil([] { return g_exitCalls > 0; }, 10000));
    g_pfnExitWindowsEx = saved;
    EXPECT_EQ(g_exitCalls, 1);
    EXPECT_EQ(g_exitFlags & (EWX_FORCE | EWX_FORCEIFHUNG), 0u);
    EXPECT_EQ(g_exitFlags & EWX_POWEROFF, UINT(EWX_POWEROFF));
}

} // namespace
