#include <gtest/gtest.h>

#include <fstream>

#include "FwTestSupport.h"
#include "GuiDriving.h"
#include "HyperlinkButton.h"
#include "LibResources.h"

namespace {

constexpr COLORREF kLeftHalf = RGB(200, 230, 200);
constexpr COLORREF kRightHalf = RGB(230, 230, 160);
constexpr int kSplit = 100;   // where the host's background changes colour (the link starts at 40)
constexpr UINT kLinkId = 1002;

// A top-level window with a two-coloured background and a log of the clicks it is told of.
class CLinkHost : public CWnd {
    FW_DECLARE_MESSAGE_MAP()
public:
    int m_clicks = 0;

    bool Make()
    {
        return CreateEx(WS_EX_TOPMOST, nullptr, L"link host", WS_POPUP | WS_VISIBLE, 100, 100, 300, 120, nullptr, nullptr);
    }
    ~CLinkHost() override
    {
        if (m_hWnd)
            DestroyWindow();
    }

protected:
    BOOL OnEraseBkgnd(CDC* dc)
    {
        CRect r;
        GetClientRect(&r);
        dc->FillSolidRect(CRect(r.left, r.top, kSplit, r.bottom), kLeftHalf);
        dc->FillSolidRect(CRect(kSplit, r.top, r.right, r.bottom), kRightHalf);
        return TRUE;
    }
    void OnLinkClicked() { m_clicks++; }
};

FW_BEGIN_MESSAGE_MAP(CLinkHost, CWnd)
    FwOnEraseBkgnd(&ThisClass::OnEraseBkgnd),
    FwOnControl(BN_CLICKED, kLinkId, &ThisClass::OnLinkClicked),
FW_END_MESSAGE_MAP()

// What the stand-in of the shell was asked.
struct ShellCall {
    int count = 0;
    CString verb, file;
    bool noParameters = false;
    int show = 0;
};
ShellCall g_shell;

HINSTANCE WINAPI RecordShellExecute(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                                    const wchar_t* folder, INT show)
{
    g_shell.count++;
    g_shell.verb = verb;
    g_shell.file = file;
    g_shell.noParameters = !parameters && !folder;
    g_shell.show = show;
    return reinterpret_cast<HINSTANCE>(33);
}

class HyperlinkButtonTest : public ::testing::Test {
protected:
    CLinkHost m_host;
    CHyperlinkButton m_link;

    void SetUp() override
    {
        TestApp();
        g_shell = ShellCall{};
        g_pfnShellExecuteW = RecordShellExecute;
        MoveMouseTo(5, 5);
        ASSERT_TRUE(m_host.Make());
        // Across the host's colour change, so that a misplaced background would show.
        ASSERT_TRUE(m_link.Create(L"Brenmoor web site", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | BS_LEFT, CRect(40, 40, 200, 70),
                                  &m_host, kLinkId));
        m_link.SetFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        m_host.SetForegroundWindow();
        Settle();
    }
    void TearDown() override
    {
        g_pfnShellExecuteW = ::ShellExecuteW;
        SetLibHandCursor(nullptr);
    }

    static void Settle(DWORD ms = 300)
    {
        DWORD start = ::GetTickCount();
        PumpUntil([&] { return ::GetTickCount() - start > ms; });
    }
    CRect LinkOnScreen() const
    {
        CRect r;
        m_link.GetWindowRect(&r);
        return r;
    }
    void Redraw()
    {
        m_link.RedrawWindow();
        Settle(100);
    }
};

} // namespace

TEST(HyperlinkTextFormat, AlignmentAndLinesFollowTheStyle)
{
    struct Case {
        DWORD style;
        UINT format;
    };
    const Case cases[] = {
        {BS_OWNERDRAW, 0x8025},
        {BS_OWNERDRAW | BS_LEFT, 0x8024},
        {BS_OWNERDRAW | BS_RIGHT, 0x8026},
        {BS_OWNERDRAW | BS_CENTER, 0x8025},   // both alignment bits: centred, not right-aligned
        {BS_OWNERDRAW | BS_MULTILINE, 0x8011},
        {BS_OWNERDRAW | BS_MULTILINE | BS_LEFT, 0x8010},
        {BS_OWNERDRAW | BS_MULTILINE | BS_RIGHT, 0x8012},
        {BS_OWNERDRAW | BS_MULTILINE | BS_CENTER, 0x8011},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HyperlinkTextFormat(c.style), c.format) << std::hex << c.style;
}

TEST_F(HyperlinkButtonTest, DrawsItsTextInTheLinkColourOverTheBackground)
{
    struct Case {
        const char* what;
        BOOL transparent;
        COLORREF leftBackground, rightBackground;
    };
    const Case cases[] = {
        {"transparent: the host's own background, each half where it is", TRUE, kLeftHalf, kRightHalf},
        {"opaque: the button's colour", FALSE, RGB(255, 255, 0), RGB(255, 255, 0)},
    };
    for (const Case& c : cases) {
        m_link.m_bTransparent = c.transparent;
        m_link.m_crBackground = RGB(255, 255, 0);
        Redraw();
        CRect r = LinkOnScreen();
        ScreenShot shot(r);
        // Below the text, on both sides of where the host's colour changes (host x 100).
        CPoint left(r.left + 10, r.bottom - 2), right(r.left + 80, r.bottom - 2);
        EXPECT_TRUE(NearColour(shot.At(left.x, left.y), c.leftBackground)) << c.what << std::hex << " " << shot.At(left.x, left.y);
        EXPECT_TRUE(NearColour(shot.At(right.x, right.y), c.rightBackground)) << c.what << std::hex << " " << shot.At(right.x, right.y);
        EXPECT_GT(shot.Count(Bluish), 20) << c.what;
        EXPECT_EQ(shot.Count(Reddish), 0) << c.what;
    }
    // No text: only the background.
    m_link.SetWindowText(L"");
    Redraw();
    EXPECT_EQ(ScreenShot(LinkOnScreen()).Count(Bluish), 0);
}

TEST_F(HyperlinkButtonTest, HoveringShowsTheHoverColourAndTheProgramsHandCursor)
{
    HCURSOR programs = ::LoadCursorW(nullptr, IDC_CROSS);
    SetLibHandCursor(programs);
    CRect r = LinkOnScreen();
    MoveMouseTo(r.CenterPoint().x, r.CenterPoint().y);
    ASSERT_TRUE(PumpUntil([&] { return m_link.m_bHover == TRUE; }, 5000)) << "the move never reached the link";
    Settle(200);
    ScreenShot hovered(r);
    EXPECT_GT(hovered.Count(Reddish), 20);
    EXPECT_EQ(hovered.Count(Bluish), 0);
    EXPECT_EQ(::GetCursor(), programs);

    // Leaving it puts the link colour back.
    MoveMouseTo(5, 5);
    ASSERT_TRUE(PumpUntil([&] { return m_link.m_bHover == FALSE; }, 5000)) << "the leave never came";
    Settle(200);
    EXPECT_GT(ScreenShot(r).Count(Bluish), 20);
    EXPECT_EQ(ScreenShot(r).Count(Reddish), 0);
}

TEST_F(HyperlinkButtonTest, AClickOpensTheTargetOrLeavesTheClickToTheParent)
{
    struct Case {
        const wchar_t* target;
        int opened, parentClicks;
    };
    const Case cases[] = {
        {L"https://www.brenmoor.example/", 1, 0},
        {L"", 0, 1},   // no target: nothing opens, the parent hears of it
    };
    for (const Case& c : cases) {
        g_shell = ShellCall{};
        m_host.m_clicks = 0;
        m_link.SetLink(c.target);
        Settle(::GetDoubleClickTime() + 100);   // two clicks, not a double click
        ClickCentre(m_link);
        ASSERT_TRUE(PumpUntil([&] { return g_shell.count + m_host.m_clicks > 0; }, 5000))
            << "the click never arrived at " << CString(c.target);
        Settle(100);
        EXPECT_EQ(g_shell.count, c.opened);
        EXPECT_EQ(m_host.m_clicks, c.parentClicks);
        if (c.opened) {
            EXPECT_EQ(g_shell.verb, L"open");
            EXPECT_EQ(g_shell.file, c.target);
            EXPECT_TRUE(g_shell.noParameters);
            EXPECT_EQ(g_shell.show, SW_SHOWNORMAL);
        }
    }
    // Without a target the hand still shows.
    SetLibHandCursor(nullptr);
    m_link.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_link.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
}

TEST_F(HyperlinkButtonTest, AClickRunsTheTargetThroughTheShell)
{
    g_pfnShellExecuteW = ::ShellExecuteW;
    wchar_t temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    CString script = CString(temp) + L"link-target.cmd";
    CString marker = CString(temp) + L"link-target-ran.txt";
    ::DeleteFileW(marker);
    {
        std::ofstream out(script.ToUtf8(), std::ios::binary);
        out << "@echo opened> \"" << marker.ToUtf8() << "\"\r\n";
    }
    m_link.SetLink(script);
    ClickCentre(m_link);
    EXPECT_TRUE(PumpUntil([&] { return ::GetFileAttributesW(marker) != INVALID_FILE_ATTRIBUTES; }, 30000))
        << "the target never ran";
    ::DeleteFileW(script);
    ::DeleteFileW(marker);
}

TEST_F(HyperlinkButtonTest, SetLinkAndSizeToText)
{
    m_link.SetLink(L"https://a.example/", L"A shorter text");
    EXPECT_EQ(m_link.m_strLink, L"https://a.example/");
    EXPECT_EQ(m_link.GetWindowText(), L"A shorter text");
    m_link.SetLink(L"https://b.example/");   // no text: the text stays
    EXPECT_EQ(m_link.GetWindowText(), L"A shorter text");

    CRect before;
    m_link.GetWindowRect(&before);
    m_link.SizeToText();
    CClientDC dc(&m_link);
    HGDIOBJ old = dc.SelectObject(m_link.GetFont());
    int textWidth = dc.GetTextExtent(CString(L"A shorter text")).cx;
    dc.SelectObject(old);
    CRect after;
    m_link.GetWindowRect(&after);
    EXPECT_EQ(after.Width(), textWidth + 2);
    EXPECT_EQ(after.Height(), before.Height());
    EXPECT_EQ(after.TopLeft(), before.TopLeft());

    // A multi-line link keeps its size.
    m_link.ModifyStyle(0, BS_MULTILINE);
    m_link.SetWindowPos(static_cast<const CWnd*>(nullptr), 0, 0, 150, 30, SWP_NOMOVE | SWP_NOZORDER);
    m_link.SizeToText();
    m_link.GetWindowRect(&after);
    EXPECT_EQ(after.Width(), 150);
}
