#include "DialogTestSupport.h"
#include "FullScreenHandler.h"

namespace {

constexpr COLORREF kClient = RGB(0, 160, 60);

bool SameRect(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

std::string Text(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// A frame as a program has it: caption, sizing borders, a menu bar, a client area of one colour.
class CTestFrame : public CWnd, public CFullScreenHandler {
    FW_DECLARE_MESSAGE_MAP()
public:
    bool Make(const RECT& r)
    {
        HMENU menu = ::CreateMenu();
        ::AppendMenuW(menu, MF_STRING, 100, L"&File");
        if (!CreateEx(0, nullptr, L"full screen frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, r.left, r.top, r.right - r.left,
                      r.bottom - r.top, nullptr, menu))
            return false;
        SetFrame(this);
        return true;
    }
    ~CTestFrame() override
    {
        if (m_hWnd)
            DestroyWindow();
    }
    CRect ClientOnScreen() const
    {
        CRect r;
        GetClientRect(&r);
        ClientToScreen(&r);
        return r;
    }

protected:
    BOOL OnEraseBkgnd(CDC* dc)
    {
        CRect r;
        GetClientRect(&r);
        dc->FillSolidRect(r, kClient);
        return TRUE;
    }
    LRESULT OnGetMinMaxInfoMessage(WPARAM, LPARAM lParam)
    {
        Default();
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    }
};

FW_BEGIN_MESSAGE_MAP(CTestFrame, CWnd)
    FwOnEraseBkgnd(&ThisClass::OnEraseBkgnd),
    FwOnMessage(WM_GETMINMAXINFO, &ThisClass::OnGetMinMaxInfoMessage),
FW_END_MESSAGE_MAP()

void Settle(DWORD ms = 400)
{
    DWORD start = ::GetTickCount();
    PumpUntil([&] { return ::GetTickCount() - start > ms; });
}

bool ClientColourAt(int x, int y) { return NearColour(ScreenShot(CRect(x, y, x + 1, y + 1)).At(x, y), kClient); }

} // namespace

TEST(FullScreenGeometry, TheClientAreaCoversTheScreenWithTwoPixelsToSpare)
{
    struct Case {
        const char* what;
        RECT window, client, margin;
        SIZE screen;
        RECT full;
    };
    const Case cases[] = {
        {"frame with caption, menu and borders", {100, 100, 500, 400}, {108, 150, 492, 392}, {0, 0, 0, 0}, {1280, 1024},
         {-10, -52, 1290, 1034}},
        {"maximised frame", {-8, -8, 1288, 1008}, {0, 42, 1280, 1000}, {0, 0, 0, 0}, {1280, 1024}, {-10, -52, 1290, 1034}},
        {"a margin widens every side", {0, 0, 200, 100}, {4, 30, 196, 96}, {1, 2, 3, 4}, {800, 600},
         {-7, -34, 809, 610}},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(SameRect(FullScreenWindowRect(c.window, c.client, c.screen, c.margin), c.full))
            << c.what << ": " << Text(FullScreenWindowRect(c.window, c.client, c.screen, c.margin));
}

TEST(FullScreenGeometry, ThePlacementIsRestoredAndCountedFromTheWorkArea)
{
    WINDOWPLACEMENT saved{sizeof(saved), WPF_RESTORETOMAXIMIZED, SW_SHOWMAXIMIZED, {-1, -1}, {-8, -8}, {100, 100, 500, 400}};
    const RECT full{-10, -52, 1290, 1034};
    struct Case {
        const char* what;
        POINT workOrigin;
        RECT normal;
    };
    const Case cases[] = {
        {"work area at the screen's corner", {0, 0}, full},
        {"a task bar above the work area", {0, 30}, {-10, -82, 1290, 1004}},
        {"a task bar left of it", {60, 0}, {-70, -52, 1230, 1034}},
    };
    for (const Case& c : cases) {
        WINDOWPLACEMENT p = FullScreenPlacement(saved, full, c.workOrigin);
        EXPECT_EQ(p.length, sizeof(p)) << c.what;
        EXPECT_EQ(p.showCmd, static_cast<UINT>(SW_SHOWNORMAL)) << c.what;
        EXPECT_EQ(p.flags, 0u) << c.what;
        EXPECT_TRUE(SameRect(p.rcNormalPosition, c.normal)) << c.what << ": " << Text(p.rcNormalPosition);
    }
}

TEST(FullScreenGeometry, OnlyFullScreenRaisesTheSizeLimits)
{
    CFullScreenHandler handler;
    handler.m_rcFullScreen = {-10, -52, 1290, 1034};
    struct Case {
        int state;
        LONG width, height;
    };
    const Case cases[] = {{CFullScreenHandler::Normal, 1288, 1030}, {CFullScreenHandler::Entering, 1300, 1086},
                          {CFullScreenHandler::FullScreen, 1300, 1086}};
    for (const Case& c : cases) {
        handler.m_nState = c.state;
        MINMAXINFO info{};
        info.ptMaxSize = info.ptMaxTrackSize = {1288, 1030};
        handler.OnGetMinMaxInfo(&info);
        EXPECT_EQ(info.ptMaxSize.x, c.width) << c.state;
        EXPECT_EQ(info.ptMaxTrackSize.x, c.width) << c.state;
        EXPECT_EQ(info.ptMaxSize.y, c.height) << c.state;
        EXPECT_EQ(info.ptMaxTrackSize.y, c.height) << c.state;
    }
    CFullScreenHandler alone;
    alone.Toggle();   // no frame: nothing happens
    EXPECT_EQ(alone.m_nState, CFullScreenHandler::Normal);
}

class FullScreenTest : public ::testing::Test {
protected:
    CTestFrame m_frame;
    int m_screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    int m_screenHeight = ::GetSystemMetrics(SM_CYSCREEN);

    void SetUp() override
    {
        TestApp();
        ASSERT_TRUE(m_frame.Make(CRect(150, 120, 650, 480)));
        m_frame.SetForegroundWindow();
        Settle();
    }
};

TEST_F(FullScreenTest, TheClientCoversTheScreenAndTheFrameComesBackAsItWas)
{
    WINDOWPLACEMENT before{};
    m_frame.GetWindowPlacement(&before);
    CRect windowBefore;
    m_frame.GetWindowRect(&windowBefore);
    DWORD style = m_frame.GetStyle(), exStyle = m_frame.GetExStyle();
    ASSERT_FALSE(ClientColourAt(20, 20)) << "the desktop should show beside the frame";

    m_frame.Toggle();
    Settle();
    EXPECT_EQ(m_frame.m_nState, CFullScreenHandler::FullScreen);
    CRect window;
    m_frame.GetWindowRect(&window);
    EXPECT_TRUE(SameRect(window, m_frame.m_rcFullScreen)) << Text(window) << " " << Text(m_frame.m_rcFullScreen);
    // Only the client area shows, two pixels past every edge: menu, caption and borders are off the screen.
    CRect client = m_frame.ClientOnScreen();
    EXPECT_TRUE(SameRect(client, CRect(-2, -2, m_screenWidth + 2, m_screenHeight + 2))) << Text(client);
    for (POINT p : {POINT{0, 0}, POINT{m_screenWidth - 1, 0}, POINT{0, m_screenHeight - 1},
                    POINT{m_screenWidth - 1, m_screenHeight - 1}, POINT{m_screenWidth / 2, m_screenHeight / 2}})
        EXPECT_TRUE(ClientColourAt(p.x, p.y)) << p.x << "," << p.y;

    m_frame.Toggle();
    Settle();
    EXPECT_EQ(m_frame.m_nState, CFullScreenHandler::Normal);
    WINDOWPLACEMENT after{};
    m_frame.GetWindowPlacement(&after);
    EXPECT_EQ(after.showCmd, before.showCmd);
    EXPECT_TRUE(SameRect(after.rcNormalPosition, before.rcNormalPosition)) << Text(after.rcNormalPosition);
    m_frame.GetWindowRect(&window);
    EXPECT_TRUE(SameRect(window, windowBefore)) << Text(window);
    EXPECT_EQ(m_frame.GetStyle(), style);
    EXPECT_EQ(m_frame.GetExStyle(), exStyle);
    EXPECT_FALSE(ClientColourAt(20, 20));
    CRect clientBack = m_frame.ClientOnScreen();
    EXPECT_TRUE(ClientColourAt(clientBack.CenterPoint().x, clientBack.CenterPoint().y));
}

TEST_F(FullScreenTest, AMaximisedFrameReturnsMaximisedWithItsNormalSizeKept)
{
    WINDOWPLACEMENT normal{};
    m_frame.GetWindowPlacement(&normal);
    m_frame.ShowWindow(SW_MAXIMIZE);
    Settle();
    ASSERT_TRUE(m_frame.IsZoomed());
    CRect maximised;
    m_frame.GetWindowRect(&maximised);

    m_frame.Toggle();
    Settle();
    EXPECT_FALSE(m_frame.IsZoomed());
    EXPECT_TRUE(SameRect(m_frame.ClientOnScreen(), CRect(-2, -2, m_screenWidth + 2, m_screenHeight + 2)))
        << Text(m_frame.ClientOnScreen());

    m_frame.Toggle();
    Settle();
    EXPECT_TRUE(m_frame.IsZoomed());
    CRect window;
    m_frame.GetWindowRect(&window);
    EXPECT_TRUE(SameRect(window, maximised)) << Text(window);
    // A later restore goes back to the size it had before it was maximised.
    m_frame.ShowWindow(SW_RESTORE);
    Settle();
    WINDOWPLACEMENT restored{};
    m_frame.GetWindowPlacement(&restored);
    EXPECT_TRUE(SameRect(restored.rcNormalPosition, normal.rcNormalPosition)) << Text(restored.rcNormalPosition);
}

TEST_F(FullScreenTest, WhileFullScreenTheFrameCannotGrowPastTheFullScreenRectangle)
{
    m_frame.Toggle();
    Settle();
    const RECT& full = m_frame.m_rcFullScreen;
    m_frame.SetWindowPos(static_cast<const CWnd*>(nullptr), full.left, full.top, full.right - full.left + 300,
                         full.bottom - full.top + 200, SWP_NOZORDER);
    CRect window;
    m_frame.GetWindowRect(&window);
    EXPECT_EQ(window.Width(), full.right - full.left);
    EXPECT_EQ(window.Height(), full.bottom - full.top);
    m_frame.Toggle();
}
