#include <gtest/gtest.h>

#include <string>

#include "BarButton.h"
#include "BarSlider.h"
#include "BarTestSupport.h"

FW_BEGIN_MESSAGE_MAP(CItemBar, CSkinBar)
    FwOnMessage(WM_BARSLIDER_POS, &ThisClass::OnSliderPos),
    FwOnUpdateCommand(104, &ThisClass::OnUpdateOwn),
FW_END_MESSAGE_MAP()

namespace {

constexpr int kNone = -1;

// Buttons A (0-50, command 101), B (50-100, command 0), C (100-150, command -1) and a slider
// (160-300) whose position track runs from 10 to 19.
class BarItemStates : public ::testing::Test {
protected:
    CBarHost host;
    CItemBar bar;
    CImageList thumbs;
    CBarSlider* slider = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(host.Make());
        ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | BAR_ALIGN_TOP, CRect(0, 0, 400, 30), &host, 100));
        bar.Add(new CBarButton(&bar, 0, 0, 50, 30, 101));
        bar.Add(new CBarButton(&bar, 50, 0, 100, 30, 0));
        bar.Add(new CBarButton(&bar, 100, 0, 150, 30, -1));
        slider = new CBarSlider(&bar, 160, 0, 300, 30);
        bar.Add(slider);
        MakeStrip(thumbs, {RGB(10, 10, 10), RGB(20, 20, 20), RGB(30, 30, 30), RGB(40, 40, 40), RGB(50, 50, 50)});
        slider->SetThumbImages(&thumbs);
        slider->SetRangeMax(1, 19);
        slider->SetRangeMin(1, 10);
    }

    // The index of an item pointer, kNone for null.
    int IndexOf(CBarItem* item) const { return item ? bar.FindItem(item) : kNone; }
};

struct Step {
    UINT message;
    int x, y;
    int hot, pressed, captured;
    std::vector<int> commands;
};

struct Sequence {
    const char* name;
    std::vector<Step> steps;
};

} // namespace

TEST_F(BarItemStates, MouseSequencesMoveHotPressedAndCaptureAndSendCommands)
{
    const Sequence sequences[] = {
        {"hover, press and release inside sends the command",
         {{WM_MOUSEMOVE, 25, 10, 0, kNone, kNone, {}},
          {WM_LBUTTONDOWN, 25, 10, 0, 0, kNone, {}},
          {WM_LBUTTONUP, 25, 10, kNone, kNone, kNone, {101}}}},
        {"releasing outside the pressed button cancels it",
         {{WM_MOUSEMOVE, 25, 10, 0, kNone, kNone, {}},
          {WM_LBUTTONDOWN, 25, 10, 0, 0, kNone, {}},
          {WM_LBUTTONUP, 75, 10, kNone, kNone, kNone, {}}}},
        {"dragging off the pressed button cancels it",
         {{WM_LBUTTONDOWN, 25, 10, 0, 0, kNone, {}},
          {WM_MOUSEMOVE, 75, 10, 1, kNone, kNone, {}},
          {WM_LBUTTONUP, 25, 10, kNone, kNone, kNone, {}}}},
        {"command 0 presses but sends nothing",
         {{WM_MOUSEMOVE, 75, 10, 1, kNone, kNone, {}},
          {WM_LBUTTONDOWN, 75, 10, 1, 1, kNone, {}},
          {WM_LBUTTONUP, 75, 10, kNone, kNone, kNone, {}}}},
        {"leaving the bar drops hot and pressed",
         {{WM_LBUTTONDOWN, 25, 10, 0, 0, kNone, {}},
          {WM_MOUSELEAVE, 0, 0, kNone, kNone, kNone, {}},
          {WM_LBUTTONUP, 25, 10, kNone, kNone, kNone, {}}}},
        {"the slider's thumb captures the mouse and drags the position",
         {{WM_MOUSEMOVE, 170, 10, 3, kNone, kNone, {}},
          {WM_LBUTTONDOWN, 170, 10, 3, 3, 3, {}},
          {WM_MOUSEMOVE, 230, 10, 3, 3, 3, {}},
          {WM_MOUSEMOVE, 400, 10, 3, 3, 3, {}},
          {WM_LBUTTONUP, 400, 10, kNone, kNone, kNone, {}}}},
        {"a click in the channel sets the position without capture",
         {{WM_LBUTTONDOWN, 200, 10, 3, 3, kNone, {}},
          {WM_LBUTTONUP, 200, 10, kNone, kNone, kNone, {}}}},
    };
    for (const Sequence& sequence : sequences) {
        SCOPED_TRACE(sequence.name);
        int n = 0;
        for (const Step& step : sequence.steps) {
            SCOPED_TRACE("step " + std::to_string(++n));
            MSG msg = MouseMessage(bar.m_hWnd, step.message, step.x, step.y);
            bar.RelayMouseMessage(&msg);
            EXPECT_EQ(IndexOf(bar.GetHotItem()), step.hot);
            EXPECT_EQ(IndexOf(bar.GetPressedItem()), step.pressed);
            EXPECT_EQ(IndexOf(bar.GetCaptureItem()), step.captured);
            EXPECT_EQ(::GetCapture() == bar.m_hWnd, step.captured != kNone);
            EXPECT_EQ(bar.TakeCommands(), step.commands);
        }
    }
    // The drags went 10 → 14 (230 is 4.5 steps in, rounded down), then to the end; the click at
    // 200 is 2.7 steps in: 12. Each came with the slider as its item.
    EXPECT_EQ(bar.positions, (std::vector<int>{14, 19, 12}));
    for (LPARAM item : bar.positionItems)
        EXPECT_EQ(item, reinterpret_cast<LPARAM>(slider));
}

TEST_F(BarItemStates, CommandMinusOneAsksTheListAtEveryPressAndSendsNothing)
{
    struct Case {
        BOOL answer;
        int pressed;
    } cases[] = {{TRUE, 2}, {FALSE, kNone}, {TRUE, 2}};
    int asked = 0;
    for (const Case& c : cases) {
        bar.notifyAnswer = c.answer;
        MSG down = MouseMessage(bar.m_hWnd, WM_LBUTTONDOWN, 125, 10);
        EXPECT_TRUE(bar.RelayMouseMessage(&down));
        EXPECT_EQ(bar.notifies, ++asked);
        EXPECT_EQ(IndexOf(bar.GetPressedItem()), c.pressed);
        MSG up = MouseMessage(bar.m_hWnd, WM_LBUTTONUP, 125, 10);
        bar.RelayMouseMessage(&up);
        EXPECT_TRUE(bar.TakeCommands().empty());
    }
}

TEST_F(BarItemStates, DisabledAndHiddenItemsTakeNoMouseButAreStillHit)
{
    bar.GetAt(0)->Enable(FALSE);
    MSG move = MouseMessage(bar.m_hWnd, WM_MOUSEMOVE, 25, 10);
    EXPECT_FALSE(bar.RelayMouseMessage(&move));
    EXPECT_EQ(bar.GetHotItem(), nullptr);
    bar.GetAt(0)->Enable(TRUE);
    bar.GetAt(0)->SetHidden(TRUE);
    MSG down = MouseMessage(bar.m_hWnd, WM_LBUTTONDOWN, 25, 10);
    EXPECT_FALSE(bar.RelayMouseMessage(&down));
    EXPECT_EQ(bar.GetPressedItem(), nullptr);
    EXPECT_EQ(bar.HitTest(CPoint(25, 10)), 0);

    // Overlapping items: the first in array order wins; right and bottom edges are outside.
    bar.Add(new CBarButton(&bar, 40, 0, 60, 30, 105));
    EXPECT_EQ(bar.HitTest(CPoint(45, 10)), 0);
    EXPECT_EQ(bar.HitTest(CPoint(55, 10)), 1);
    EXPECT_EQ(bar.HitTest(CPoint(150, 10)), kNone);
    EXPECT_EQ(bar.HitTest(CPoint(10, 30)), kNone);
    EXPECT_EQ(bar.GetAt(5), nullptr);
    EXPECT_EQ(bar.GetAt(-1), nullptr);
    EXPECT_EQ(bar.FindItem(nullptr), kNone);
}

TEST_F(BarItemStates, MouseMovesAskForOneLeaveNotificationPerHover)
{
    MSG move = MouseMessage(bar.m_hWnd, WM_MOUSEMOVE, 25, 10);
    bar.RelayMouseMessage(&move);
    EXPECT_TRUE(bar.IsTrackingMouseLeave());
    MSG leave = MouseMessage(bar.m_hWnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(bar.RelayMouseMessage(&leave));
    EXPECT_FALSE(bar.IsTrackingMouseLeave());
}

TEST(BarSliderValues, SetValueAndRangeMaxKeepTheValueInRange)
{
    CBarItemList list(nullptr);
    CBarSlider slider(&list, 0, 0, 100, 24);
    slider.SetRangeMax(0, 50);
    slider.SetRangeMin(0, 10);
    EXPECT_EQ(slider.GetValue(0), 10);   // raised with the minimum
    struct Case {
        int value, stored;
    } cases[] = {{30, 30}, {99, 50}, {-5, 10}, {10, 10}};
    for (const Case& c : cases) {
        slider.SetValue(0, c.value, FALSE);
        EXPECT_EQ(slider.GetValue(0), c.stored) << c.value;
    }
    slider.SetValue(0, 40, FALSE);
    slider.SetRangeMax(0, 25);
    EXPECT_EQ(slider.GetValue(0), 25);
    EXPECT_EQ(slider.GetValue(1), 0);    // the other track is its own
}

namespace {

// The frame side of command-update: 101 enabled by its handler, 102 disabled, 104 disabled
// (but the bar answers first), 103 without any handler.
class CUpdateTarget : public CCmdTarget {
    FW_DECLARE_MESSAGE_MAP()
protected:
    void OnCommand101() {}
    void OnUpdateEnable(CCmdUI* ui) { ui->Enable(TRUE); }
    void OnUpdateDisable(CCmdUI* ui) { ui->Enable(FALSE); }
};

FW_BEGIN_MESSAGE_MAP(CUpdateTarget, CCmdTarget)
    FwOnCommand(101, &ThisClass::OnCommand101),
    FwOnUpdateCommand(101, &ThisClass::OnUpdateEnable),
    FwOnUpdateCommand(102, &ThisClass::OnUpdateDisable),
    FwOnUpdateCommand(104, &ThisClass::OnUpdateDisable),
FW_END_MESSAGE_MAP()

} // namespace

TEST(BarCommandUpdate, EveryItemIsUpdatedTheLastOneIncluded)
{
    CBarHost host;
    ASSERT_TRUE(host.Make());
    CUpdateTarget target;
    struct Case {
        const char* name;
        std::vector<int> ids;
        BOOL disableIfNoHandler;
        std::vector<bool> disabledBefore, disabledAfter;
    } cases[] = {
        {"a single item", {102}, FALSE, {false}, {true}},
        {"the last of several", {101, 0, 102}, FALSE, {true, true, false}, {false, true, true}},
        {"no handler, disabling asked", {101, 103}, TRUE, {false, false}, {false, true}},
        {"no handler, disabling not asked", {101, 103}, FALSE, {false, false}, {false, false}},
        {"the bar's own handler first", {104, 102}, FALSE, {true, false}, {false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CItemBar bar;
        ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 30), &host, 100));
        for (size_t i = 0; i < c.ids.size(); i++) {
            int left = static_cast<int>(i) * 40;
            auto* button = new CBarButton(&bar, left, 0, left + 40, 30, c.ids[i]);
            button->Enable(!c.disabledBefore[i]);
            bar.Add(button);
        }
        bar.UpdateCmdUI(&target, c.disableIfNoHandler);
        for (size_t i = 0; i < c.ids.size(); i++)
            EXPECT_EQ(bar.GetAt(static_cast<int>(i))->IsDisabled() != FALSE, c.disabledAfter[i]) << "item " << i;
        bar.DestroyWindow();
    }
}

TEST(BarItem, EnableAnswersWhetherTheStateChanged)
{
    CBarItemList list(nullptr);
    CBarButton button(&list, 0, 0, 10, 10, 1);
    EXPECT_EQ(button.Enable(TRUE), 0);
    EXPECT_NE(button.Enable(FALSE), 0);
    EXPECT_TRUE(button.IsDisabled());
    EXPECT_EQ(button.Enable(FALSE), 0);
    EXPECT_NE(button.Enable(TRUE), 0);
    EXPECT_TRUE(button.ModifyState(0, 0x100, FALSE));
    EXPECT_EQ(button.GetState(), 0x100u);   // bits of the owning bar are kept
    button.SetHidden(TRUE);
    EXPECT_TRUE(button.IsHidden());
    EXPECT_EQ(button.GetState(), 0x120u);
}
