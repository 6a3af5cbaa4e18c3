#include <gtest/gtest.h>

#include <mutex>
#include <string>

#include "FwTestSupport.h"
#include "GuiDriving.h"
#include "HttpTestServer.h"
#include "HyperlinkButton.h"
#include "NetRes.h"
#include "UpdateChecker.h"

namespace {

// What the checker handed to the shell and said in message boxes, from its own thread.
struct Seen {
    std::mutex lock;
    std::wstring opened;
    std::wstring message;
    std::wstring caption;
    std::atomic<int> messages{0};
    std::atomic<int> opens{0};
} g_seen;

HINSTANCE WINAPI StandInShellExecute(HWND, const wchar_t*, const wchar_t* file, const wchar_t*, const wchar_t*, INT)
{
    std::lock_guard<std::mutex> hold(g_seen.lock);
    g_seen.opened = file ? file : L"";
    ++g_seen.opens;
    return reinterpret_cast<HINSTANCE>(33);
}

int WINAPI StandInMessageBox(HWND, const wchar_t* text, const wchar_t* caption, UINT)
{
    std::lock_guard<std::mutex> hold(g_seen.lock);
    g_seen.message = text;
    g_seen.caption = caption;
    ++g_seen.messages;
    return IDOK;
}

CString ItemText(HWND dialog, int id)
{
    wchar_t text[1024] = L"";
    ::GetDlgItemTextW(dialog, id, text, 1024);
    return text;
}

struct DialogSearch {
    int childId;
    HWND found;
};

BOOL CALLBACK FindDialogWithChild(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<DialogSearch*>(param);
    DWORD process = 0;
    ::GetWindowThreadProcessId(wnd, &process);
    if (process == ::GetCurrentProcessId() && ::IsWindowVisible(wnd) && ::GetDlgItem(wnd, search->childId)) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog of this process that has the child `id`.
HWND WaitForDialogWith(int id, DWORD timeoutMs = 20000)
{
    DialogSearch search{id, nullptr};
    WaitFor([&] {
        ::EnumWindows(FindDialogWithChild, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    }, timeoutMs);
    return search.found;
}

// Every button pressed here closes its dialog. A window that has only just shown may miss the
// first click on a loaded machine, so the click is repeated while the dialog stays.
void Press(HWND dialog, int button)
{
    ::Sleep(300);   // let it paint and settle
    // A window other programs left on the shared display must not take the click.
    ::SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    for (int attempt = 0; attempt < 3 && ::IsWindow(dialog); ++attempt) {
        ::SetForegroundWindow(dialog);
        ClickCentre(::GetDlgItem(dialog, button));
        WaitFor([dialog] { return !::IsWindow(dialog); }, 2000);
    }
}

class UpdateDialogsTest : public FwProfileTest {
protected:
    int m_autoCheck = 1;

    void SetUp() override
    {
        FwProfileTest::SetUp();
        ASSERT_NE(HttpTestServer::Get().httpPort, 0) << "the test server is not running";
        g_pfnShellExecuteW = StandInShellExecute;
        g_pfnUpdateMessageBox = StandInMessageBox;
        g_seen.messages = 0;
        g_seen.opens = 0;
    }
    void TearDown() override
    {
        g_pfnShellExecuteW = ::ShellExecuteW;
        g_pfnUpdateMessageBox = ::MessageBoxW;
        FwProfileTest::TearDown();
    }
    CUpdateProduct Product(const wchar_t* site)
    {
        CUpdateProduct product;
        product.name = L"Sorvik";
        product.version = L"3.2.3";
        product.descriptorUrl = HttpTestServer::Url(site) + L"/sorvik/update.xml";
        product.productPage = L"http://www.brenmoor.example/sorvik/";
        product.autoCheck = &m_autoCheck;
        return product;
    }
    std::wstring Message()
    {
        std::lock_guard<std::mutex> hold(g_seen.lock);
        return g_seen.message;
    }
};

TEST_F(UpdateDialogsTest, AManualCheckOffersTheNewerVersion)
{
    ASSERT_EQ(CheckForUpdates(Product(L"/v/3.3.0"), 0, 0), 0);
    HWND offer = WaitForDialogWith(IDC_NEW_VERSION_LINK);
    ASSERT_NE(offer, nullptr) << "no new-version dialog";
    wchar_t caption[256] = L"";
    ::GetWindowTextW(offer, caption, 256);
    EXPECT_STREQ(caption, L"Sorvik");
    EXPECT_EQ(ItemText(offer, IDC_UPDATE_LABEL), CString(L"A newer version of Sorvik is available:"));
    EXPECT_EQ(ItemText(offer, IDC_NEW_VERSION_LINK), CString(L"3.3.0"));
    EXPECT_EQ(ItemText(offer, IDC_NEW_VERSION_YOURS), CString(L"Your version is 3.2.3."));
    EXPECT_EQ(ItemText(offer, IDC_NEW_VERSION_DESCRIPTION), CString(L"sorvik 3.3.0 release notes\r\nFaster and smaller."));
    EXPECT_EQ(ItemText(offer, IDC_NEW_VERSION_LEARN_MORE), CString(L"Learn more about the new version"));
    EXPECT_EQ(ItemText(offer, IDOK), CString(L"Download New Version"));
    EXPECT_EQ(::IsDlgButtonChecked(offer, IDC_NEW_VERSION_AUTO_CHECK), UINT(BST_CHECKED));
    Press(offer, IDCANCEL);
    EXPECT_TRUE(WaitFor([offer] { return !::IsWindow(offer); }));
    ::Sleep(300);
    EXPECT_EQ(g_seen.opens.load(), 0);
    EXPECT_EQ(g_seen.messages.load(), 0);
}

TEST_F(UpdateDialogsTest, DownloadNewVersionOpensTheDescriptorsAddress)
{
    ASSERT_EQ(CheckForUpdates(Product(L"/v/4.0.0"), 0, 0), 0);
    HWND offer = WaitForDialogWith(IDC_NEW_VERSION_LINK);
    ASSERT_NE(offer, nullptr);
    // Untick the automatic check: the program's setting follows.
    ClickCentre(::GetDlgItem(offer, IDC_NEW_VERSION_AUTO_CHECK));
    EXPECT_TRUE(WaitFor([offer] { return ::IsDlgButtonChecked(offer, IDC_NEW_VERSION_AUTO_CHECK) == BST_UNCHECKED; }));
    Press(offer, IDOK);
    ASSERT_TRUE(WaitFor([] { return g_seen.opens.load() == 1; }));
    std::lock_guard<std::mutex> hold(g_seen.lock);
    EXPECT_EQ(CString(g_seen.opened.c_str()), HttpTestServer::Url(L"/download/sorvik-4.0.0.exe"));
    EXPECT_EQ(m_autoCheck, 0);
}

TEST_F(UpdateDialogsTest, AManualCheckSaysWhenTheVersionIsTheNewest)
{
    ASSERT_EQ(CheckForUpdates(Product(L"/v/3.2.3"), 0, 0), 0);
    ASSERT_TRUE(WaitFor([] { return g_seen.messages.load() == 1; }, 20000));
    EXPECT_EQ(Message(), L"You are already using the newest version.\nPlease check again in future.");
    std::lock_guard<std::mutex> hold(g_seen.lock);
    EXPECT_EQ(g_seen.caption, L"Sorvik");
}

TEST_F(UpdateDialogsTest, AManualCheckSaysWhenTheDescriptorIsBroken)
{
    for (const wchar_t* site : {L"/v/empty", L"/v/nourl", L"/status/404"}) {
        g_seen.messages = 0;
        ASSERT_EQ(CheckForUpdates(Product(site), 0, 0), 0);
        ASSERT_TRUE(WaitFor([] { return g_seen.messages.load() == 1; }, 20000)) << CString(site).ToUtf8();
        EXPECT_EQ(Message(), L"Failed to get update information!\nPlease try again later.") << CString(site).ToUtf8();
    }
}

TEST_F(UpdateDialogsTest, TheProgressDialogShowsTheCheckAndCancelEndsItQuietly)
{
    ASSERT_EQ(CheckForUpdates(Product(L"/trickle/600/200"), 0, 0), 0);   // a minute of body
    HWND progress = WaitForDialogWith(IDC_UPDATE_PROGRESS);
    ASSERT_NE(progress, nullptr) << "no progress dialog";
    wchar_t caption[256] = L"";
    ::GetWindowTextW(progress, caption, 256);
    EXPECT_STREQ(caption, L"Sorvik");
    EXPECT_EQ(ItemText(progress, IDC_UPDATE_LABEL), CString(L"Checking for updates..."));
    EXPECT_EQ(ItemText(progress, IDC_UPDATE_AUTO_CHECK), CString(L"Auto check for updates"));
    // The bar moves while the check waits.
    HWND bar = ::GetDlgItem(progress, IDC_UPDATE_PROGRESS);
    EXPECT_TRUE(WaitFor([bar] { return ::SendMessageW(bar, PBM_GETPOS, 0, 0) >= 10; }, 5000));
    Press(progress, IDCANCEL);
    EXPECT_TRUE(WaitFor([progress] { return !::IsWindow(progress); }, 5000)) << "the dialog stayed after Cancel";
    ::Sleep(500);
    EXPECT_EQ(g_seen.messages.load(), 0);
    EXPECT_EQ(WaitForDialogWith(IDC_NEW_VERSION_LINK, 500), nullptr);
}

TEST_F(UpdateDialogsTest, AnAutomaticCheckOnlyOffers)
{
    ASSERT_EQ(CheckForUpdates(Product(L"/v/3.3.0"), 0, 1), 0);
    HWND offer = WaitForDialogWith(IDC_NEW_VERSION_LINK);
    ASSERT_NE(offer, nullptr);
    Press(offer, IDCANCEL);
    EXPECT_TRUE(WaitFor([offer] { return !::IsWindow(offer); }));
    // A broken descriptor says nothing when nobody asked.
    ASSERT_EQ(CheckForUpdates(Product(L"/v/empty"), 0, 1), 0);
    ::Sleep(2000);
    EXPECT_EQ(g_seen.messages.load(), 0);
}

} // namespace
