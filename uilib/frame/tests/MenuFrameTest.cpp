#include <gtest/gtest.h>

#include <atomic>
#include <cwchar>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "FwTestSupport.h"
#include "LibResources.h"
#include "OVMBFrameWnd.h"
#include "SampleFrameRes.h"

// A small program with a frame whose menu is drawn by the menu bar, used the way a user uses it:
// keys and clicks arrive as real input (SendInput from a second thread, while the program's
// thread runs its messages and its popup menus), and what the bar shows is read off the screen.
namespace {

constexpr COLORREF kBack = RGB(32, 32, 32);
constexpr COLORREF kText = RGB(160, 160, 160);
constexpr COLORREF kHotText = RGB(255, 255, 255);
constexpr COLORREF kHighlight = RGB(0, 160, 255);
constexpr COLORREF kViewColour = RGB(0, 90, 40);

class CSampleMenuBar : public CMenuBar {
public:
    CSampleMenuBar()
    {
        m_crText = kText;
        m_crHotText = kHotText;
        m_crHighlight = kHighlight;
    }
    void DrawBackground(CDC* dc) override
    {
        CRect client;
        GetClientRect(&client);
        dc->FillSolidRect(client, kBack);
    }
};

class CSampleView : public CView {
    FW_DECLARE_MESSAGE_MAP()
public:
    static std::atomic<int> s_clicks;
    void OnDraw(CDC* dc) override
    {
        CRect r;
        GetClientRect(&r);
        dc->FillSolidRect(r, kViewColour);
    }

protected:
    void OnLButtonDown(UINT, CPoint)
    {
        s_clicks++;
        Default();
    }
};

std::atomic<int> CSampleView::s_clicks{0};

FW_BEGIN_MESSAGE_MAP(CSampleView, CView)
    FwOnMouse(WM_LBUTTONDOWN, &ThisClass::OnLButtonDown),
FW_END_MESSAGE_MAP()

class CSampleFrame : public COVMBFrameWnd {
    FW_DECLARE_MESSAGE_MAP()
public:
    CSampleMenuBar bar;
    std::vector<UINT> commands;

    CSampleFrame() { m_pMenuBar = &bar; }

protected:
    void OnMenuCommand(UINT id) { commands.push_back(id); }
};

FW_BEGIN_MESSAGE_MAP(CSampleFrame, COVMBFrameWnd)
    FwOnCommandRange(ID_FILE_OPEN, ID_HELP_ABOUT, &ThisClass::OnMenuCommand),
FW_END_MESSAGE_MAP()

// ---- what the user sees and does --------------------------------------------------------------

// A screenshot of a screen rectangle, read with GetDIBits.
class CScreenShot {
public:
    explicit CScreenShot(const RECT& area) : m_area(area)
    {
        int w = m_area.Width(), h = m_area.Height();
        HDC screen = ::GetDC(nullptr);
        HDC memory = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, w, h, screen, m_area.left, m_area.top, SRCCOPY);
        ::SelectObject(memory, old);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_pixels.resize(static_cast<size_t>(w) * h);
        ::GetDIBits(memory, bitmap, 0, h, m_pixels.data(), &info, DIB_RGB_COLORS);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
        ::ReleaseDC(nullptr, screen);
    }
    // At a screen point inside the area.
    COLORREF At(int x, int y) const
    {
        uint32_t p = m_pixels[static_cast<size_t>(y - m_area.top) * m_area.Width() + (x - m_area.left)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int Count(const RECT& r, COLORREF colour) const
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; y++)
            for (int x = r.left; x < r.right; x++)
                n += At(x, y) == colour;
        return n;
    }

private:
    CRect m_area;
    std::vector<uint32_t> m_pixels;
};

void Keys(std::initializer_list<std::pair<WORD, bool>> strokes)
{
    std::vector<INPUT> inputs;
    for (auto [key, down] : strokes) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void Press(WORD key) { Keys({{key, true}, {key, false}}); }
void AltPlus(WORD key) { Keys({{VK_MENU, true}, {key, true}, {key, false}, {VK_MENU, false}}); }

// The pointer is moved as the user's mouse moves it: by the X server (xdotool), whose motion
// Wine turns into input. (Wine's own SendInput moves are not passed on to the server while a
// popup menu holds the mouse, and the server's position comes back with the next popup.)
void MouseTo(POINT p)
{
    wchar_t command[96];
    swprintf(command, 96, L"Z:\\usr\\bin\\xdotool mousemove %ld %ld", p.x, p.y);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    // Wine starts Linux programs but gives no handle to wait on: the pointer's arrival is awaited.
    if (::CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        if (process.hProcess)
            ::CloseHandle(process.hProcess);
        if (process.hThread)
            ::CloseHandle(process.hThread);
    }
    for (int i = 0; i < 150; i++) {
        POINT at{};
        ::GetCursorPos(&at);
        if (at.x == p.x && at.y == p.y)
            break;
        ::Sleep(20);
    }
}

void Button(DWORD flags)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    ::SendInput(1, &in, sizeof(INPUT));
}

void ClickAt(POINT p)
{
    MouseTo(p);
    ::Sleep(100);
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 3000)
{
    DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(20);
    }
    ::Sleep(60);   // let the painting that goes with it finish
    return true;
}

// What the test knows of the program, taken before the driver starts.
struct Program {
    HWND frame = nullptr, bar = nullptr, view = nullptr;
    DWORD thread = 0;
    HMENU menu = nullptr;
    std::vector<CRect> items;   // the bar entries on the screen
    CRect barRect;
};

BOOL CALLBACK CollectPopup(HWND hwnd, LPARAM list)
{
    wchar_t cls[16] = L"";
    ::GetClassNameW(hwnd, cls, 16);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (lstrcmpW(cls, L"#32768") == 0 && ::IsWindowVisible(hwnd) && pid == ::GetCurrentProcessId())
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

// The popup menus on the screen.
std::vector<HWND> VisiblePopups()
{
    std::vector<HWND> popups;
    ::EnumWindows(CollectPopup, reinterpret_cast<LPARAM>(&popups));
    return popups;
}

HMENU PopupMenuOf(HWND popup) { return reinterpret_cast<HMENU>(::SendMessageW(popup, MN_GETHMENU, 0, 0)); }

// The bar entry whose popup is open (-1 for none, -2 for something else).
int OpenEntry(const Program& p)
{
    std::vector<HWND> popups = VisiblePopups();
    if (popups.empty())
        return -1;
    for (HWND popup : popups) {
        HMENU shown = PopupMenuOf(popup);
        for (int i = 0; i < static_cast<int>(p.items.size()); i++)
            if (shown == ::GetSubMenu(p.menu, i))
                return i;
    }
    return -2;
}

// The selected entry of the open popup of bar entry `entry`, -1 for none.
int SelectedPopupEntry(const Program& p, int entry)
{
    HMENU popup = ::GetSubMenu(p.menu, entry);
    for (int i = 0; i < ::GetMenuItemCount(popup); i++)
        if (::GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)
            return i;
    return -1;
}

// Which bar entries show the highlight on the screen (a corner pixel, clear of the text).
std::vector<bool> Highlighted(const Program& p)
{
    CScreenShot shot(p.barRect);
    std::vector<bool> lit;
    for (const CRect& r : p.items)
        lit.push_back(shot.At(r.left + 2, r.top + 2) == kHighlight);
    return lit;
}

std::vector<bool> Only(const Program& p, int entry)
{
    std::vector<bool> lit(p.items.size(), false);
    if (entry >= 0)
        lit[static_cast<size_t>(entry)] = true;
    return lit;
}

HWND FocusOf(const Program& p)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(p.thread, &info);
    return info.hwndFocus;
}

std::string Describe(const std::vector<bool>& lit)
{
    std::string s;
    for (bool b : lit)
        s += b ? '#' : '.';
    return s;
}

// Runs the user's steps on a thread of its own and notes what did not come true.
class CUser {
public:
    std::vector<std::string> failures;
    std::atomic<bool> done{false};

    explicit CUser(const Program& program) : p(program) {}

    void Expect(bool ok, const std::string& what)
    {
        if (!ok)
            failures.push_back(what);
    }
    // After a step: the popup of `entry` is open (or none for -1) and the bar lights `lit`.
    void ExpectShown(const std::string& step, int entry, int lit)
    {
        bool popupOk = WaitFor([&] { return OpenEntry(p) == entry; });
        Expect(popupOk, step + ": open popup " + std::to_string(OpenEntry(p)) + ", wanted " + std::to_string(entry));
        bool litOk = WaitFor([&] { return Highlighted(p) == Only(p, lit); }, 1500);
        Expect(litOk, step + ": bar shows " + Describe(Highlighted(p)) + ", wanted " + Describe(Only(p, lit)));
    }

    const Program& p;
};

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class MenuFrame : public ::testing::Test {
protected:
    CSampleFrame* frame = nullptr;
    Program p;

    void SetUp() override
    {
        TestApp();
        CCreateContext context;
        context.m_pNewViewClass = RuntimeClassOf<CSampleView>();
        frame = new CSampleFrame;
        ASSERT_TRUE(frame->LoadFrame(IDR_SAMPLEFRAME, WS_OVERLAPPEDWINDOW, nullptr, &context));
        auto* view = dynamic_cast<CView*>(CWnd::FromHandlePermanent(::GetDlgItem(frame->m_hWnd, FW_IDW_PANE_FIRST)));
        ASSERT_NE(view, nullptr);
        frame->SetWindowPos(HWND_TOP, 100, 100, 640, 400, SWP_SHOWWINDOW);
        frame->UpdateWindow();
        frame->SetForegroundWindow();
        frame->SetActiveView(view);
        PumpUntil([] { return false; }, 300);

        p.frame = frame->m_hWnd;
        p.bar = frame->bar.m_hWnd;
        p.view = view->m_hWnd;
        p.thread = ::GetCurrentThreadId();
        p.menu = frame->bar.GetMenuHandle();
        frame->bar.GetWindowRect(&p.barRect);
        for (int i = 0; i < frame->bar.GetCount(); i++) {
            CRect r;
            frame->bar.GetAt(i)->GetRect(&r);
            frame->bar.ClientToScreen(&r);
            p.items.push_back(r);
        }
    }
    void TearDown() override
    {
        if (frame && frame->m_hWnd)
            frame->DestroyWindow();   // the frame deletes itself
        PumpUntil([] { return false; }, 100);
    }

    // Runs `steps` as the user while this thread serves the program.
    void RunUser(const std::function<void(CUser&)>& steps)
    {
        CUser user(p);
        std::thread driver([&] {
            steps(user);
            user.done = true;
        });
        bool finished = PumpUntil([&] { return user.done.load(); }, 90000);
        driver.join();
        ASSERT_TRUE(finished);
        for (const std::string& failure : user.failures)
            ADD_FAILURE() << failure;
    }
};

} // namespace

TEST_F(MenuFrame, TheMenuMovesIntoTheDrawnBarAndTheSystemShowsNone)
{
    EXPECT_EQ(::GetMenu(p.frame), nullptr);
    ASSERT_NE(p.menu, nullptr);
    EXPECT_EQ(::GetMenuItemCount(p.menu), 4);
    ASSERT_EQ(p.items.size(), 4u);
    EXPECT_EQ(::GetDlgCtrlID(p.bar), 0xE800);

    // The window is its client area plus caption and borders: no menu bar row of the system's.
    CRect client, window;
    ::GetClientRect(p.frame, &client);
    ::MapWindowPoints(p.frame, nullptr, reinterpret_cast<POINT*>(&client), 2);
    ::GetWindowRect(p.frame, &window);
    CRect expected = client;
    ::AdjustWindowRectEx(&expected, static_cast<DWORD>(::GetWindowLongW(p.frame, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongW(p.frame, GWL_EXSTYLE)));
    EXPECT_EQ(window, expected);
    // The bar runs along the client's top, 21 pixels high; the view fills the rest.
    EXPECT_EQ(p.barRect, CRect(client.left, client.top, client.right, client.top + 21));
    CRect view;
    ::GetWindowRect(p.view, &view);
    EXPECT_EQ(view, CRect(client.left, client.top + 21, client.right, client.bottom));

    // On the screen: the bar's background, each entry's text, no highlight, the view below.
    CScreenShot shot(window);
    EXPECT_EQ(shot.At(p.barRect.right - 5, p.barRect.top + 10), kBack);
    EXPECT_EQ(shot.At(view.left + 10, view.top + 10), kViewColour);
    for (size_t i = 0; i < p.items.size(); i++) {
        const CRect& r = p.items[i];
        EXPECT_EQ(r.top, p.barRect.top);
        EXPECT_EQ(r.bottom, p.barRect.bottom);
        if (i > 0) {
            EXPECT_EQ(r.left, p.items[i - 1].right);
        }
        EXPECT_EQ(shot.Count(r, kHighlight), 0) << i;
        EXPECT_GT(r.Width() * r.Height() - shot.Count(r, kBack), 15) << "entry " << i << " shows no text";
    }
    EXPECT_EQ(p.items[0].left, p.barRect.left);

    // "&&Tools" reads "&Tools": a literal ampersand, nothing underlined. The entries are drawn
    // again here the same way, once as plain text, and compared with the screen.
    auto render = [&](const CRect& r, const wchar_t* text, UINT extra) {
        CClientDC screen(nullptr);
        CDC dc;
        dc.CreateCompatibleDC(&screen);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(screen.m_hDC, r.Width(), r.Height());
        HGDIOBJ oldBitmap = dc.SelectObject(&bitmap);
        dc.FillSolidRect(CRect(0, 0, r.Width(), r.Height()), kBack);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(kText);
        HGDIOBJ oldFont = dc.SelectObject(GetLibMenuFont());
        CRect area(0, 0, r.Width(), r.Height());
        dc.DrawText(text, -1, area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | extra);
        int differ = 0;
        for (int y = 0; y < r.Height(); y++)
            for (int x = 0; x < r.Width(); x++)
                differ += dc.GetPixel(x, y) != shot.At(r.left + x, r.top + y);
        dc.SelectObject(oldFont);
        dc.SelectObject(oldBitmap);
        return differ;
    };
    EXPECT_EQ(render(p.items[2], L"&Tools", DT_NOPREFIX), 0) << "the Tools entry differs from \"&Tools\"";
    EXPECT_GT(render(p.items[0], L"File", DT_NOPREFIX), 0) << "the File entry shows no underlined F";
    EXPECT_EQ(render(p.items[0], L"&File", 0), 0);
}

TEST_F(MenuFrame, AltAndAMnemonicOpenAPopupAndTheArrowsWrapAcrossTheBar)
{
    RunUser([](CUser& u) {
        AltPlus('F');
        u.ExpectShown("Alt+F", 0, 0);
        u.Expect(WaitFor([&] { return SelectedPopupEntry(u.p, 0) == 0; }), "Alt+F: the first entry is not selected");
        u.Expect(FocusOf(u.p) == u.p.bar, "Alt+F: the bar does not have the keyboard");
        const struct {
            WORD key;
            int entry;
            const char* name;
        } moves[] = {{VK_RIGHT, 1, "Right"}, {VK_RIGHT, 2, "Right"}, {VK_RIGHT, 3, "Right"},
                     {VK_RIGHT, 0, "Right on the last entry"}, {VK_LEFT, 3, "Left on the first entry"},
                     {VK_LEFT, 2, "Left"}};
        for (const auto& move : moves) {
            Press(move.key);
            u.ExpectShown(move.name, move.entry, move.entry);
            u.Expect(WaitFor([&] { return SelectedPopupEntry(u.p, move.entry) == 0; }),
                     std::string(move.name) + ": the popup opened without its first entry selected");
        }
        Press(VK_ESCAPE);
        u.ExpectShown("Escape in the popup", -1, 2);   // back on the bar, still in menu mode
        u.Expect(FocusOf(u.p) == u.p.bar, "Escape in the popup: the bar lost the keyboard");
        Press(VK_LEFT);
        u.ExpectShown("Left in menu mode", -1, 1);
        Press(VK_DOWN);
        u.ExpectShown("Down in menu mode", 1, 1);
        Press(VK_ESCAPE);
        u.ExpectShown("Escape", -1, 1);
        Press(VK_ESCAPE);
        u.ExpectShown("Escape in menu mode", -1, -1);
        u.Expect(WaitFor([&] { return FocusOf(u.p) == u.p.view; }), "the view did not get the keyboard back");
    });
}

TEST_F(MenuFrame, AltAloneLightsTheFirstEntryAndAnUnknownLetterOpensNothing)
{
    RunUser([](CUser& u) {
        Press(VK_MENU);
        u.ExpectShown("Alt", -1, 0);
        u.Expect(FocusOf(u.p) == u.p.bar, "Alt: the bar does not have the keyboard");
        Press(VK_RIGHT);
        u.ExpectShown("Right in menu mode", -1, 1);
        Press(VK_ESCAPE);
        u.ExpectShown("Escape", -1, -1);

        AltPlus('T');   // "&&Tools" has no access key
        ::Sleep(600);
        u.ExpectShown("Alt+T", -1, -1);
        AltPlus('H');
        u.ExpectShown("Alt+H", 3, 3);
        Press(VK_ESCAPE);
        Press(VK_ESCAPE);
        u.ExpectShown("Escape twice", -1, -1);
    });
}

TEST_F(MenuFrame, ClicksOpenPopupsTheMouseSwitchesThemAndAClickElsewhereEndsMenuMode)
{
    CSampleView::s_clicks = 0;
    RunUser([](CUser& u) {
        ClickAt(Centre(u.p.items[1]));
        u.ExpectShown("click on Edit", 1, 1);
        u.Expect(SelectedPopupEntry(u.p, 1) == -1, "a popup opened by the mouse has an entry selected");
        MouseTo(Centre(u.p.items[3]));
        u.ExpectShown("mouse over Help", 3, 3);
        MouseTo(Centre(u.p.items[0]));
        u.ExpectShown("mouse over File", 0, 0);
        Press(VK_ESCAPE);
        u.ExpectShown("Escape", -1, 0);
        CRect view;
        ::GetWindowRect(u.p.view, &view);
        ClickAt(Centre(view));
        u.ExpectShown("click in the view", -1, -1);
        u.Expect(WaitFor([&] { return CSampleView::s_clicks.load() == 1; }), "the click did not reach the view");
        u.Expect(WaitFor([&] { return FocusOf(u.p) == u.p.view; }), "the view did not get the keyboard back");
    });
}

TEST_F(MenuFrame, CommandsReachTheFrameAndSubmenusOpenWithRight)
{
    RunUser([](CUser& u) {
        AltPlus('F');
        u.ExpectShown("Alt+F", 0, 0);
        WaitFor([&] { return SelectedPopupEntry(u.p, 0) == 0; });
        Press(VK_DOWN);   // "Recent", which opens a submenu
        u.Expect(WaitFor([&] { return SelectedPopupEntry(u.p, 0) == 1; }), "Down did not move to Recent");
        Press(VK_RIGHT);
        u.Expect(WaitFor([] { return VisiblePopups().size() == 2; }), "Right on Recent did not open its submenu");
        u.ExpectShown("Right on Recent", 0, 0);
        Press(VK_ESCAPE);
        u.Expect(WaitFor([] { return VisiblePopups().size() == 1; }), "Escape did not close the submenu alone");
        u.ExpectShown("Escape in the submenu", 0, 0);
        Press(VK_UP);
        Press(VK_RETURN);   // Open
        u.ExpectShown("Enter on Open", -1, -1);
        u.Expect(WaitFor([&] { return FocusOf(u.p) == u.p.view; }), "the view did not get the keyboard back");
    });
    EXPECT_EQ(frame->commands, (std::vector<UINT>{ID_FILE_OPEN}));
}

TEST(MenuFrameMaking, WithoutAMenuTheBarHasNoEntriesAndWithoutABarTheSystemKeepsTheMenu)
{
    TestApp();
    auto* bare = new CSampleFrame;
    ASSERT_TRUE(bare->LoadFrame(999, WS_OVERLAPPEDWINDOW));   // no menu of that id
    EXPECT_EQ(bare->GetMenuBar()->GetCount(), 0);
    EXPECT_EQ(bare->GetMenuBar()->GetMenuHandle(), nullptr);
    EXPECT_EQ(::GetMenu(bare->m_hWnd), nullptr);
    bare->DestroyWindow();

    // The frame class is made by name like any frame; given no bar it makes none.
    auto* plain = dynamic_cast<COVMBFrameWnd*>(RuntimeClassOf<COVMBFrameWnd>()->CreateObject());
    ASSERT_NE(plain, nullptr);
    ASSERT_TRUE(plain->LoadFrame(IDR_SAMPLEFRAME, WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(plain->GetMenuBar(), nullptr);
    EXPECT_EQ(::GetDlgItem(plain->m_hWnd, 0xE800), nullptr);
    EXPECT_NE(::GetMenu(plain->m_hWnd), nullptr);
    plain->DestroyWindow();
}
