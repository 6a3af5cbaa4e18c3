#include <atomic>

#include "AboutDlg.h"
#include "DialogTestSupport.h"
#include "DialogsRes.h"

namespace {

constexpr UINT kMailCommand = 32825;
const wchar_t kHomePage[] = L"https://www.brenmoor.example/";
const wchar_t kAddress[] = L"support@brenmoor.example";

std::atomic<int> g_opened{0};
CString g_openedTarget;

HINSTANCE WINAPI RecordShellExecute(HWND, const wchar_t*, const wchar_t* file, const wchar_t*, const wchar_t*, INT)
{
    g_openedTarget = file;
    g_opened++;
    return reinterpret_cast<HINSTANCE>(33);
}

// The box as a program runs it, with the program's mail command.
class CTestAboutDlg : public CAboutDlg {
    FW_DECLARE_MESSAGE_MAP()
public:
    std::atomic<int> m_mails{0};

protected:
    void OnMail() { m_mails++; }
};

FW_BEGIN_MESSAGE_MAP(CTestAboutDlg, CAboutDlg)
    FwOnCommand(kMailCommand, &ThisClass::OnMail),
FW_END_MESSAGE_MAP()

// What the driver saw of the open box.
struct Seen {
    CString title, version, description, rights, webSite, email;
    HFONT titleFont = nullptr, linkFont = nullptr, mailFont = nullptr;
    int iconPixels = 0, linkPixels = 0;
    int webWidth = 0, webTextWidth = 0;
    int openedByClick = 0, mailsByClick = 0;
    bool closedByEnter = false;
};

CString ItemText(HWND dialog, int id)
{
    wchar_t text[256] = L"";
    ::GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

HFONT ItemFont(HWND dialog, int id) { return reinterpret_cast<HFONT>(::SendDlgItemMessageW(dialog, id, WM_GETFONT, 0, 0)); }

LOGFONTW FontInfo(HFONT font)
{
    LOGFONTW lf{};
    ::GetObjectW(font, sizeof(lf), &lf);
    return lf;
}

void Drive(HWND dialog, CTestAboutDlg& about, Seen& seen)
{
    seen.title = ItemText(dialog, IDC_ABOUT_TITLE);
    seen.version = ItemText(dialog, IDC_ABOUT_VERSION);
    seen.description = ItemText(dialog, IDC_ABOUT_DESCRIPTION);
    seen.rights = ItemText(dialog, IDC_ABOUT_RIGHTS);
    seen.webSite = ItemText(dialog, IDC_ABOUT_WEB_SITE);
    seen.email = ItemText(dialog, IDC_ABOUT_EMAIL);
    seen.titleFont = ItemFont(dialog, IDC_ABOUT_TITLE);
    seen.linkFont = ItemFont(dialog, IDC_ABOUT_WEB_SITE);
    seen.mailFont = ItemFont(dialog, IDC_ABOUT_EMAIL);

    HWND web = ::GetDlgItem(dialog, IDC_ABOUT_WEB_SITE);
    RECT r;
    ::GetWindowRect(web, &r);
    seen.webWidth = r.right - r.left;
    HDC dc = ::GetDC(web);
    HGDIOBJ old = ::SelectObject(dc, seen.linkFont);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, seen.webSite, seen.webSite.GetLength(), &extent);
    ::SelectObject(dc, old);
    ::ReleaseDC(web, dc);
    seen.webTextWidth = extent.cx;

    // The program's icon (a magenta tile) and the blue link are on the screen.
    RECT whole;
    ::GetWindowRect(dialog, &whole);
    seen.iconPixels = ScreenShot(whole).Count([](COLORREF c) { return NearColour(c, RGB(200, 0, 200)); });
    seen.linkPixels = ScreenShot(r).Count(Bluish);

    ClickCentre(web);
    WaitFor([] { return g_opened > 0; }, 5000);
    seen.openedByClick = g_opened;
    ::Sleep(::GetDoubleClickTime() + 100);
    ClickCentre(::GetDlgItem(dialog, IDC_ABOUT_EMAIL));
    WaitFor([&] { return about.m_mails > 0; }, 5000);
    seen.mailsByClick = about.m_mails;

    ::SetForegroundWindow(dialog);
    PressKey(VK_RETURN);
    seen.closedByEnter = WaitFor([dialog] { return !::IsWindow(dialog); }, 5000);
}

} // namespace

TEST(CAboutDlg, ShowsTheProgramAndItsLinksAndClosesWithEnter)
{
    TestApp();
    g_pfnShellExecuteW = RecordShellExecute;
    CFont title, link;
    LOGFONTW lf{};
    lf.lfHeight = -14;
    lf.lfWeight = FW_BOLD;
    ::lstrcpyW(lf.lfFaceName, L"Tahoma");
    title.CreateFontIndirect(&lf);
    lf.lfHeight = -11;
    lf.lfWeight = FW_NORMAL;
    lf.lfUnderline = TRUE;
    link.CreateFontIndirect(&lf);

    struct Case {
        const char* what;
        HFONT titleFont, linkFont;
    };
    const Case cases[] = {{"the program's fonts", title, link}, {"fonts of its own", nullptr, nullptr}};
    for (const Case& c : cases) {
        g_opened = 0;
        CTestOwner owner;
        ASSERT_TRUE(owner.Make(CRect(50, 50, 650, 500)));
        CTestAboutDlg about;
        about.m_pParentWnd = &owner;
        about.m_info.version = L"3.2.3";
        about.m_info.homePage = kHomePage;
        about.m_info.email = kAddress;
        about.m_info.emailCommand = kMailCommand;
        about.m_info.titleFont = c.titleFont;
        about.m_info.linkFont = c.linkFont;
        Seen seen;
        INT_PTR result = 0;
        {
            DialogDriver driver(L"About FwTests", [&](HWND dialog) { Drive(dialog, about, seen); });
            result = about.DoModal();
        }
        EXPECT_EQ(result, IDOK) << c.what;
        EXPECT_TRUE(seen.closedByEnter) << c.what;
        EXPECT_EQ(seen.title, L"FwTests 3") << c.what;
        EXPECT_EQ(seen.version, L"Version 3.2.3") << c.what;
        EXPECT_EQ(seen.description, L"Play animated GIF files.") << c.what;
        EXPECT_EQ(seen.rights, L"Copyright (C) Brenmoor. All rights reserved.") << c.what;
        EXPECT_EQ(seen.webSite, kHomePage) << c.what;
        EXPECT_EQ(seen.email, kAddress) << c.what;
        EXPECT_EQ(seen.webWidth, seen.webTextWidth + 2) << c.what;   // sized to its text
        EXPECT_GT(seen.iconPixels, 300) << c.what;
        EXPECT_GT(seen.linkPixels, 20) << c.what;
        // The web site opens with the shell; the address runs the program's mail command.
        EXPECT_EQ(seen.openedByClick, 1) << c.what;
        EXPECT_EQ(g_openedTarget, kHomePage) << c.what;
        EXPECT_EQ(seen.mailsByClick, 1) << c.what;
        EXPECT_EQ(g_opened, 1) << c.what;
        if (c.titleFont) {
            EXPECT_EQ(seen.titleFont, c.titleFont);
            EXPECT_EQ(seen.linkFont, c.linkFont);
        } else {
            EXPECT_EQ(FontInfo(seen.titleFont).lfWeight, FW_BOLD);
            EXPECT_TRUE(FontInfo(seen.linkFont).lfUnderline);
        }
        EXPECT_EQ(seen.mailFont, seen.linkFont) << c.what;
    }
    g_pfnShellExecuteW = ::ShellExecuteW;
}
