// Talvena.exe itself: started with a GIF and "/o" an output folder, it converts the GIF through
// the stand-in encoder when its Convert command comes, shows the row's status, and leaves a
// playable video that the stand-in probe describes. A help switch shows the usage and ends it.
#include <gtest/gtest.h>

#include <algorithm>

#include <shlobj.h>

#include "MediaInfo.h"
#include "TalvenaRes.h"
#include "TalvenaTestSupport.h"

namespace {

const wchar_t kProgramKey[] = L"Software\\Brenmoor\\Talvena";

CString ProgramPath()
{
    return WindowsPath(SUITE_PROGRAM_DIR) + L"\\Talvena.exe";
}

// One run of the program, ended when the test is over.
class ProgramRun {
public:
    explicit ProgramRun(const CString& arguments)
    {
        std::wstring line = (Quoted(ProgramPath()) + L" " + arguments).str();
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        m_started = CreateProcessW(ProgramPath(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &m_process) != FALSE;
    }
    ~ProgramRun()
    {
        if (!m_started)
            return;
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_process.hProcess, 1);
            WaitForSingleObject(m_process.hProcess, 5000);
        }
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }

    // The visible top-level window of the program whose caption starts with the text.
    HWND FindWindowTitled(const wchar_t* caption, DWORD timeoutMs) const
    {
        const DWORD start = GetTickCount();
        do {
            if (HWND found = FindProcessWindow(m_process.dwProcessId, caption))
                return found;
            Sleep(100);
        } while (GetTickCount() - start < timeoutMs);
        return nullptr;
    }
    bool WaitExit(DWORD timeoutMs) const { return WaitForSingleObject(m_process.hProcess, timeoutMs) == WAIT_OBJECT_0; }
    DWORD ExitCode() const
    {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(m_process.hProcess, &code);
        return code;
    }

    // A cell of a list view of the program, read through the program's own memory.
    CString ListText(HWND list, int row, int column) const
    {
        HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                                     m_process.dwProcessId);
        if (!process)
            return CString();
        constexpr int kChars = 512;
        auto* remote = static_cast<char*>(
            VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + kChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
        CString text;
        if (remote) {
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
            item.cchTextMax = kChars;
            DWORD_PTR length = 0;
            wchar_t buffer[kChars] = L"";
            if (WriteProcessMemory(process, remote, &item, sizeof(item), nullptr) &&
                SendMessageTimeoutW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote),
                                    SMTO_ABORTIFHUNG, 5000, &length) &&
                ReadProcessMemory(process, item.pszText, buffer, sizeof(buffer) - sizeof(wchar_t), nullptr))
                text = buffer;
            VirtualFreeEx(process, remote, 0, MEM_RELEASE);
        }
        CloseHandle(process);
        return text;
    }

    bool m_started = false;
    PROCESS_INFORMATION m_process{};
};

// The program's profile starts and ends empty.
class TalvenaProgramTest : public ConverterTest {
protected:
    void SetUp() override
    {
        ConverterTest::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey);
    }
    void TearDown() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey);
        ConverterTest::TearDown();
    }
};

TEST_F(TalvenaProgramTest, ConvertsAGifFromItsCommandLineIntoAVideo)
{
    const CString gif = PutSampleGif(m_scratch, "anim.gif");
    ProgramRun program(Quoted(gif) + L" /o " + Quoted(OutFolder()));
    ASSERT_TRUE(program.m_started);
    const HWND window = program.FindWindowTitled(L"Talvena", 60000);
    ASSERT_NE(nullptr, window);
    const HWND list = GetDlgItem(window, IDC_JOB_LIST);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(1, static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    EXPECT_EQ(CString(L"anim.gif"), program.ListText(list, 0, 1));

    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_CONVERT, BN_CLICKED), 0);
    CString status;
    std::vector<CString> seen;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 120000) {
        status = program.ListText(list, 0, 3);
        if (seen.empty() || seen.back() != status)
            seen.push_back(status);
        if (status == L"Completed." || status.Left(7) == L"Failed:")
            break;
        Sleep(50);
    }
    EXPECT_EQ(CString(L"Completed."), status);
    EXPECT_NE(std::find(seen.begin(), seen.end(), CString(L"Converting...")), seen.end());
    EXPECT_EQ(CString(L"anim.mp4"), program.ListText(list, 0, 2));

    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitExit(30000));

    const CString video = OutFile(L"anim.mp4");
    ASSERT_TRUE(FileExists(video));
    CMediaInfo info;
    ASSERT_EQ(0, info.Probe(video, nullptr));
    EXPECT_NE(-1, info.m_format.Find(L"mp4"));
    const CMediaStreamInfo* stream = info.GetFirstVideoStream();
    ASSERT_NE(nullptr, stream);
    EXPECT_EQ(CString(L"h264"), stream->m_format);
    EXPECT_EQ(20, stream->m_frames);
    EXPECT_EQ(nullptr, info.GetFirstAudioStream()) << "GIFs become videos without sound";
    EXPECT_TRUE(Leftovers().empty());
    EXPECT_EQ((std::vector<std::string>{}), FilesStartingWith(m_scratch.Path("out"), "[Converting] "));

    // At exit the catalogue went to the per-user data folder and the settings to the profile.
    wchar_t appData[MAX_PATH] = L"";
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE));
    EXPECT_TRUE(FileExists(CString(appData) + L"\\Brenmoor\\Talvena\\MediaFormats.xml"));
    DWORD overwrite = 99, size = sizeof(overwrite);
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Talvena\\Settings", L"Overwrite",
                                          RRF_RT_REG_DWORD, nullptr, &overwrite, &size));
    EXPECT_EQ(0u, overwrite);
}

TEST_F(TalvenaProgramTest, AHelpSwitchShowsTheUsageAndEnds)
{
    ProgramRun program(L"clip.gif /?");
    ASSERT_TRUE(program.m_started);
    const HWND box = program.FindWindowTitled(L"Talvena", 60000);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(nullptr, GetDlgItem(box, IDC_JOB_LIST)) << "no main window, only the message";
    wchar_t text[256] = L"";
    struct Visit {
        static BOOL CALLBACK Child(HWND child, LPARAM data)
        {
            wchar_t found[256] = L"";
            GetWindowTextW(child, found, 256);
            if (wcsncmp(found, L"Usage:", 6) == 0)
                lstrcpynW(reinterpret_cast<wchar_t*>(data), found, 256);
            return TRUE;
        }
    };
    EnumChildWindows(box, &Visit::Child, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(L"Usage: Talvena <source file1> [<source file2> <source file3> ...] [/o <output folder>]", text);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(program.WaitExit(30000));
}

} // namespace
