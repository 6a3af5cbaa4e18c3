#include <gtest/gtest.h>

#include <vector>

#include "FwTestSupport.h"

namespace {

class CCountingTracker : public CRectTracker {
public:
    std::vector<CRect> changes;
    int draws = 0;
    void OnChangedRect(const CRect&) override { changes.push_back(m_rect); }
    void DrawTrackerRect(const RECT* rect, CWnd* clip, CDC* dc, CWnd* wnd) override
    {
        draws++;
        CRectTracker::DrawTrackerRect(rect, clip, dc, wnd);
    }
};

} // namespace

TEST(RectTracker, FollowsTheMouseUntilTheButtonIsReleased)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"band", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr));
    wnd.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 40));
    wnd.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 40));   // no change: no call
    wnd.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 60));
    wnd.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 60));
    CCountingTracker tracker;
    EXPECT_TRUE(tracker.TrackRubberBand(&wnd, CPoint(10, 10)));
    ASSERT_EQ(tracker.changes.size(), 2u);
    EXPECT_EQ(tracker.changes[0], CRect(10, 10, 30, 40));
    EXPECT_EQ(tracker.changes[1], CRect(10, 10, 5, 60));   // inverted bands are allowed
    EXPECT_EQ(tracker.draws % 2, 0);                       // every band drawn was erased
    EXPECT_NE(CWnd::GetCapture(), &wnd);
    wnd.DestroyWindow();
}

TEST(RectTracker, EscapeCancels)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"band", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr));
    wnd.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 50));
    wnd.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    CCountingTracker tracker;
    EXPECT_FALSE(tracker.TrackRubberBand(&wnd, CPoint(10, 10), FALSE));
    EXPECT_EQ(tracker.draws % 2, 0);
    wnd.DestroyWindow();
}
