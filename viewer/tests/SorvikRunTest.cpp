#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include <shlobj.h>

#include "SorvikWindows.h"
#include "ViewerGuiSupport.h"

namespace {

std::wstring SorvikPath()
{
    std::wstring path = L"Z:" + FromFsPath(std::filesystem::path(SORVIK_EXE)).str();
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

// Sorvik.exe as the user starts it, with a GIF on its command line.
class SorvikRunTest : public ScratchFolderTest {
protected:
    PROCESS_INFORMATION m_process{};

    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Sorvik");
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Sorvik\\Settings", 0, nullptr, 0,
                                    KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
        DWORD off = 0;
        ::RegSetValueExW(key, L"AutoCheckUpdate", 0, REG_DWORD, reinterpret_cast<BYTE*>(&off), sizeof off);
        ::RegSetValueExW(key, L"LoadLastPlaylist", 0, REG_DWORD, reinterpret_cast<BYTE*>(&off), sizeof off);
        ::RegCloseKey(key);
    }
    void TearDown() override
    {
        if (m_process.hProcess) {
            if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
                ::TerminateProcess(m_process.hProcess, 3);
            ::CloseHandle(m_process.hProcess);
            ::CloseHandle(m_process.hThread);
        }
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Sorvik");
        ScratchFolderTest::TearDown();
    }
    bool Start(const CString& arguments)
    {
        std::wstring command = L"\"" + SorvikPath() + L"\" " + arguments.str();
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        return ::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_process);
    }
};

TEST_F(SorvikRunTest, AGifOnTheCommandLinePlaysWithItsOwnDelays)
{
    const auto frames = ColourFrames(6, 40);
    CString gif = Path("played here.gif");   // a blank in the path arrives as one argument
    ASSERT_TRUE(WriteTestGif(gif, 96, 64, frames));
    ASSERT_TRUE(Start(L"\"" + gif + L"\""));
    HWND main = WaitForSorvikWindow(L"played here.gif - 1/1", m_process.dwProcessId, 30000);
    ASSERT_NE(main, nullptr) << "the viewer never made the file its current item";
    HWND canvas = SorvikCanvas(main);
    ASSERT_NE(canvas, nullptr);

    // Watch the middle of the canvas on the screen: which frame shows, and from when.
    std::vector<std::pair<int, DWORD>> shown;
    HDC screen = ::GetDC(nullptr);
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 6000 && (shown.empty() || shown.back().first != 5)) {
        RECT r;
        ::GetWindowRect(canvas, &r);
        COLORREF c = ::GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        for (int i = 0; i < 6; i++)
            if (SameColour(c, frames[size_t(i)], 12) && (shown.empty() || shown.back().first != i))
                shown.emplace_back(i, ::GetTickCount());
        ::Sleep(10);
    }
    ::ReleaseDC(nullptr, screen);

    ASSERT_GE(shown.size(), 4u) << "frames seen: " << shown.size();
    EXPECT_LE(shown[0].first, 1) << "the first frames were not seen";
    for (size_t i = 1; i < shown.size(); i++)
        EXPECT_EQ(shown[i].first, shown[i - 1].first + 1) << "frame " << i;
    for (size_t i = 2; i < shown.size(); i++) {
        DWORD gap = shown[i].second - shown[i - 1].second;
        EXPECT_GE(gap, 300u) << "frame " << shown[i].first;   // 400 ms a frame
        EXPECT_LE(gap, 1000u) << "frame " << shown[i].first;
    }

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(::WaitForSingleObject(m_process.hProcess, 20000), WAIT_OBJECT_0) << "the viewer did not close";
    DWORD code = 1;
    ::GetExitCodeProcess(m_process.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

TEST_F(SorvikRunTest, AMissingFileLeavesAnIdleWindowThatCloses)
{
    ASSERT_TRUE(Start(Path("nowhere.gif")));   // no blank, so no quotes needed
    HWND main = WaitForSorvikWindow(L"Sorvik", m_process.dwProcessId, 30000);
    ASSERT_NE(main, nullptr);
    ::Sleep(500);
    wchar_t title[256] = L"";
    ::GetWindowTextW(main, title, 256);
    EXPECT_STREQ(title, L"Sorvik");
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(::WaitForSingleObject(m_process.hProcess, 20000), WAIT_OBJECT_0);
}

TEST_F(SorvikRunTest, RecentFilesOpenAndVanishedOnesAreDropped)
{
    ASSERT_TRUE(WriteTestGif(Path("recent.gif"), 32, 32, ColourFrames(2, 10)));
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Sorvik\\Recent\\Files", 0, nullptr, 0,
                                KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    CString gone = Path("gone.gif"), recent = Path("recent.gif");
    ::RegSetValueExW(key, L"01", 0, REG_SZ, reinterpret_cast<const BYTE*>(gone.GetString()),
                     DWORD((gone.GetLength() + 1) * sizeof(wchar_t)));
    ::RegSetValueExW(key, L"02", 0, REG_SZ, reinterpret_cast<const BYTE*>(recent.GetString()),
                     DWORD((recent.GetLength() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);

    ASSERT_TRUE(Start(L""));
    HWND main = WaitForSorvikWindow(L"Sorvik", m_process.dwProcessId, 30000);
    ASSERT_NE(main, nullptr);
    ::PostMessageW(main, WM_COMMAND, 40001, 0);   // the vanished file: dropped from the list
    ::PostMessageW(main, WM_COMMAND, 40001, 0);   // now the first entry is the file that exists
    EXPECT_NE(WaitForSorvikWindow(L"recent.gif - 1/1", m_process.dwProcessId, 15000), nullptr);
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(::WaitForSingleObject(m_process.hProcess, 20000), WAIT_OBJECT_0);
    wchar_t first[512] = L"";
    DWORD size = sizeof first;
    ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Sorvik\\Recent\\Files", L"01", RRF_RT_REG_SZ, nullptr,
                   first, &size);
    EXPECT_EQ(CString(first), recent);
    size = sizeof first;
    EXPECT_NE(::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Sorvik\\Recent\\Files", L"02", RRF_RT_REG_SZ,
                             nullptr, first, &size), ERROR_SUCCESS);
}

TEST_F(SorvikRunTest, SeveralPathsPlayInCommandLineOrder)
{
    ASSERT_TRUE(WriteTestGif(Path("first.gif"), 32, 32, ColourFrames(2, 10)));
    ASSERT_TRUE(WriteTestGif(Path("second.gif"), 32, 32, ColourFrames(2, 10)));
    ASSERT_TRUE(Start(L"/ignored-switch " + Path("first.gif") + L" " + Path("second.gif")));
    // The first item plays as soon as it arrives, maybe before the second is in the list.
    HWND main = WaitForSorvikWindow(L"first.gif - 1/", m_process.dwProcessId, 30000);
    ASSERT_NE(main, nullptr);
    // The next item follows by itself when the first has played.
    EXPECT_NE(WaitForSorvikWindow(L"second.gif - 2/2", m_process.dwProcessId, 15000), nullptr);
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(::WaitForSingleObject(m_process.hProcess, 20000), WAIT_OBJECT_0);
}

TEST_F(SorvikRunTest, OnlySwitchesReloadTheLastPlaylistWithoutPlayingIt)
{
    // The per-user data folder of the viewer holds the playlist of the last run.
    wchar_t appData[MAX_PATH] = L"";
    ASSERT_TRUE(::SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE));
    std::filesystem::path folder = std::filesystem::path(appData) / L"Brenmoor" / L"Sorvik";
    std::filesystem::create_directories(folder);
    std::filesystem::path list = folder / L"Default.playlist";
    std::filesystem::path saved = folder / L"Default.playlist.before-test";
    std::error_code error;
    std::filesystem::rename(list, saved, error);
    ASSERT_TRUE(WriteTestGif(Path("kept.gif"), 32, 32, ColourFrames(2, 10)));
    std::ofstream(list) << "<?xml version=\"1.0\"?><Playlists Version=\"1.2.0\"><Playlist><Item><File>"
                        << Path("kept.gif").ToUtf8() << "</File></Item></Playlist></Playlists>";
    HKEY key = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Sorvik\\Settings", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                      nullptr);
    DWORD on = 1;
    ::RegSetValueExW(key, L"LoadLastPlaylist", 0, REG_DWORD, reinterpret_cast<BYTE*>(&on), sizeof on);
    ::RegCloseKey(key);

    ASSERT_TRUE(Start(L"-a /b"));
    HWND main = WaitForSorvikWindow(L"Sorvik", m_process.dwProcessId, 30000);
    ASSERT_NE(main, nullptr);
    ::Sleep(1500);
    wchar_t title[256] = L"";
    ::GetWindowTextW(main, title, 256);
    EXPECT_STREQ(title, L"Sorvik");   // nothing plays by itself
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(::WaitForSingleObject(m_process.hProcess, 20000), WAIT_OBJECT_0);
    // The reloaded list was written back at the end, with its item.
    std::ifstream in(list);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    EXPECT_NE(text.find("kept.gif"), std::string::npos);
    EXPECT_NE(text.find("FrameCount=\"2\""), std::string::npos);
    std::filesystem::remove(list, error);
    std::filesystem::rename(saved, list, error);
}

} // namespace
