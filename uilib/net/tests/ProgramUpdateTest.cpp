// A program's update check as the user meets it: the program is started with its maker's site
// pointed at the loopback test server, its "Check for Updates..." command (or its start, for
// the automatic check) brings up the checker's dialogs, and their texts are read off the screen.
// Built once per program (UPDATE_PROGRAM_* name it).
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "FwTestSupport.h"
#include "GuiDriving.h"
#include "HttpTestServer.h"
#include "NetRes.h"

namespace {

const std::wstring kProgramKey = std::wstring(L"Software\\Brenmoor\\") + UPDATE_PROGRAM_NAME;

std::wstring Widen(const char* text)
{
    std::wstring wide(size_t(::MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0)), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text, -1, &wide[0], int(wide.size()));
    wide.resize(wide.size() - 1);
    return wide;
}

// The program the build made, as a Windows path (Wine gives the Unix root the drive Z:).
std::wstring ProgramPath()
{
    std::wstring path = Widen(UPDATE_PROGRAM_EXE);
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return L"Z:" + path;
}

bool WriteSetting(const wchar_t* name, DWORD type, const void* data, DWORD bytes)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, (kProgramKey + L"\\Settings").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                          &key, nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = ::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return ok;
}

bool WriteSetting(const wchar_t* name, DWORD value) { return WriteSetting(name, REG_DWORD, &value, sizeof value); }

bool WriteSetting(const wchar_t* name, const CString& text)
{
    return WriteSetting(name, REG_SZ, text.GetString(), DWORD((text.GetLength() + 1) * sizeof(wchar_t)));
}

DWORD ReadSetting(const wchar_t* name)
{
    DWORD value = 0, bytes = sizeof value;
    ::RegGetValueW(HKEY_CURRENT_USER, (kProgramKey + L"\\Settings").c_str(), name, RRF_RT_REG_DWORD, nullptr, &value,
                   &bytes);
    return value;
}

CString WindowText(HWND wnd)
{
    // GetWindowText of another process's window gives only its caption, and an edit control keeps
    // its text to itself: the control is asked.
    wchar_t text[1024] = L"";
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(wnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &copied);
    return text;
}

CString ItemText(HWND dialog, int id) { return WindowText(::GetDlgItem(dialog, id)); }

struct Search {
    DWORD process;
    int childId;        // 0: the window with the program's name
    HWND found;
};

BOOL CALLBACK VisitTopWindow(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    ::GetWindowThreadProcessId(wnd, &process);
    const bool wanted = search->childId ? ::GetDlgItem(wnd, search->childId) != nullptr
                                        : WindowText(wnd) == CString(UPDATE_PROGRAM_NAME);
    if (process == search->process && ::IsWindowVisible(wnd) && wanted) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// MessageBox puts its text in the static 0xFFFF.
constexpr int kMessageBoxText = 0xFFFF;

class ProgramUpdateTest : public ::testing::Test {
protected:
    PROCESS_INFORMATION m_process{};

    void SetUp() override
    {
        ASSERT_NE(HttpTestServer::Get().httpPort, 0) << "the test server is not running";
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey.c_str());
        ASSERT_TRUE(WriteSetting(L"AutoCheckUpdate", 0));
        ASSERT_TRUE(WriteSetting(L"LoadLastPlaylist", 0));
    }
    void TearDown() override
    {
        if (m_process.hProcess) {
            if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
                ::TerminateProcess(m_process.hProcess, 3);
                ::WaitForSingleObject(m_process.hProcess, 5000);
            }
            ::CloseHandle(m_process.hProcess);
            ::CloseHandle(m_process.hThread);
        }
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey.c_str());
    }
    // The maker's site: the test server, whose descriptors all carry the version in the path.
    static void PointSiteAt(const wchar_t* version)
    {
        CString site;
        site.Format(L"/v/%s", version);
        ASSERT_TRUE(WriteSetting(L"UpdateSite", HttpTestServer::Url(site)));
    }
    HWND Start()
    {
        std::wstring command = L"\"" + ProgramPath() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_process))
            return nullptr;
        return WaitForWindow(0, 30000);
    }
    // A visible top-level window of the program with the child `childId` (0: its main window).
    HWND WaitForWindow(int childId, DWORD timeoutMs = 20000) const
    {
        Search search{m_process.dwProcessId, childId, nullptr};
        WaitFor([&] {
            ::EnumWindows(VisitTopWindow, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        }, timeoutMs);
        return search.found;
    }
    static void Press(HWND dialog, int button)
    {
        ::Sleep(300);
        ::SetForegroundWindow(dialog);
        ClickCentre(::GetDlgItem(dialog, button));
        WaitFor([dialog] { return !::IsWindow(dialog); }, 5000);
    }
    static CString Version() { return UPDATE_PROGRAM_VERSION; }
    static CString OwnWord() { return CString(UPDATE_PROGRAM_NAME).MakeLower(); }
};

TEST_F(ProgramUpdateTest, TheCheckCommandOffersTheNewerVersionOfItsOwnDescriptor)
{
    PointSiteAt(L"3.3.0");
    HWND main = Start();
    ASSERT_NE(main, nullptr) << "the program never showed its window";
    ::PostMessageW(main, WM_COMMAND, UPDATE_PROGRAM_COMMAND, 0);
    HWND offer = WaitForWindow(IDC_NEW_VERSION_LINK);
    ASSERT_NE(offer, nullptr) << "no new-version dialog";
    EXPECT_EQ(WindowText(offer), CString(UPDATE_PROGRAM_NAME));
    EXPECT_EQ(ItemText(offer, IDC_UPDATE_LABEL), CString(L"A newer version of ") + UPDATE_PROGRAM_NAME + L" is available:");
    EXPECT_EQ(ItemText(offer, IDC_NEW_VERSION_LINK), CString(L"3.3.0"));
    EXPECT_EQ(ItemText(offer, IDC_NEW_VERSION_YOURS), L"Your version is " + Version() + L".");
    // The notes name the program whose descriptor was read.
    EXPECT_EQ(ItemText(offer, IDC_NEW_VERSION_DESCRIPTION), OwnWord() + L" 3.3.0 release notes\r\nFaster and smaller.");
    EXPECT_EQ(ItemText(offer, IDOK), CString(L"Download New Version"));
    Press(offer, IDCANCEL);
    EXPECT_FALSE(::IsWindow(offer));
}

TEST_F(ProgramUpdateTest, TheCheckCommandSaysWhenTheProgramIsUpToDate)
{
    PointSiteAt(Version());
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    ::PostMessageW(main, WM_COMMAND, UPDATE_PROGRAM_COMMAND, 0);
    HWND box = WaitForWindow(kMessageBoxText);
    ASSERT_NE(box, nullptr) << "no answer";
    EXPECT_EQ(WindowText(box), CString(UPDATE_PROGRAM_NAME));
    EXPECT_EQ(ItemText(box, kMessageBoxText), CString(L"You are already using the newest version.\nPlease check again in future."));
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([box] { return !::IsWindow(box); }, 5000));
}

TEST_F(ProgramUpdateTest, AnAutomaticCheckAtStartOffersANewerVersionWhenDue)
{
    PointSiteAt(L"3.3.0");
    ASSERT_TRUE(WriteSetting(L"AutoCheckUpdate", 1));
    ASSERT_TRUE(WriteSetting(L"AutoCheckUpdate.Every", 7));
    ASSERT_TRUE(WriteSetting(L"LastUpdateCheck", DWORD(std::time(nullptr) - 8 * 86400)));
    const DWORD before = DWORD(std::time(nullptr));
    ASSERT_NE(Start(), nullptr);
    HWND offer = WaitForWindow(IDC_NEW_VERSION_LINK);
    ASSERT_NE(offer, nullptr) << "no automatic check";
    EXPECT_EQ(ItemText(offer, IDC_NEW_VERSION_LINK), CString(L"3.3.0"));
    EXPECT_GE(ReadSetting(L"LastUpdateCheck"), before);
    Press(offer, IDCANCEL);
}

TEST_F(ProgramUpdateTest, AnAutomaticCheckWaitsForItsInterval)
{
    PointSiteAt(L"3.3.0");
    const DWORD last = DWORD(std::time(nullptr) - 3600);
    ASSERT_TRUE(WriteSetting(L"AutoCheckUpdate", 1));
    ASSERT_TRUE(WriteSetting(L"AutoCheckUpdate.Every", 7));
    ASSERT_TRUE(WriteSetting(L"LastUpdateCheck", last));
    ASSERT_NE(Start(), nullptr);
    EXPECT_EQ(WaitForWindow(IDC_NEW_VERSION_LINK, 4000), nullptr) << "checked again within the week";
    EXPECT_EQ(ReadSetting(L"LastUpdateCheck"), last);
}

} // namespace
