#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include <shlobj.h>

#include "CrImage.h"
#include "PlayLoop.h"
#include "SorvikProcessTest.h"
#include "SorvikWindows.h"
#include "ViewerGuiSupport.h"

namespace {

// Sorvik.exe as the user starts it, with GIFs on its command line.
using SorvikRunTest = SorvikProcessTest;

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

// The screen inside a window, read at once.
class CScreenShot {
public:
    explicit CScreenShot(HWND wnd)
    {
        ::GetWindowRect(wnd, &m_rect);
        m_width = m_rect.right - m_rect.left;
        m_height = m_rect.bottom - m_rect.top;
        m_pixels.resize(size_t(m_width) * size_t(m_height));
        HDC screen = ::GetDC(nullptr);
        HDC memory = ::CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), m_width, -m_height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, m_width, m_height, screen, m_rect.left, m_rect.top, SRCCOPY);
        ::GdiFlush();
        memcpy(m_pixels.data(), bits, m_pixels.size() * 4);
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
        ::ReleaseDC(nullptr, screen);
    }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // As COLORREF (red in the low byte).
    COLORREF At(int x, int y) const
    {
        uint32_t p = m_pixels[size_t(y) * size_t(m_width) + size_t(x)];
        return RGB((p >> 16) & 255, (p >> 8) & 255, p & 255);
    }
    // Pixels of the band of rows that are not the background colour.
    int CountOtherThan(COLORREF background, int top, int bottom) const
    {
        int count = 0;
        for (int y = std::max(top, 0); y < std::min(bottom, m_height); y++)
            for (int x = 0; x < m_width; x++)
                count += At(x, y) != background;
        return count;
    }

private:
    RECT m_rect{};
    int m_width = 0, m_height = 0;
    std::vector<uint32_t> m_pixels;
};

TEST_F(SorvikRunTest, FilesThatCannotPlaySayWhatIsWrongAndTheNextOnePlays)
{
    std::ofstream(m_folder / "notes.gif") << "just some words, no picture";
    ASSERT_TRUE(CrImage(48, 32, 24, CRIMAGE_FORMAT_PNG).Save(Path("picture.gif"), CRIMAGE_FORMAT_PNG));
    const auto frames = ColourFrames(2, 50);
    ASSERT_TRUE(WriteTestGif(Path("good.gif"), 64, 48, frames));
    ASSERT_TRUE(Start(Path("nowhere.gif") + L" " + Path("notes.gif") + L" " + Path("picture.gif") + L" " +
                      Path("good.gif")));
    struct Case {
        const wchar_t* title;
        const wchar_t* words;
    } cases[] = {
        {L"nowhere.gif - 1/", L"nowhere.gif: The file does not exist."},
        {L"notes.gif - 2/", L"notes.gif: This is not a GIF file."},
        {L"picture.gif - 3/", L"picture.gif: This is a PNG picture, not a GIF animation."},
    };
    for (const Case& c : cases) {
        // The title names the file, the canvas says what is wrong with it, and nothing waits for a click.
        HWND main = WaitForSorvikWindow(c.title, m_process.dwProcessId, 30000);
        ASSERT_NE(main, nullptr) << "never came to " << CString(c.title).ToUtf8();
        HWND canvas = SorvikCanvas(main);
        ASSERT_NE(canvas, nullptr);
        ASSERT_TRUE(WaitForWindowText(canvas, c.words, 5000)) << "the canvas says: " << WindowText(canvas).ToUtf8();
        ::Sleep(200);
        CScreenShot shot(canvas);
        ASSERT_GT(shot.Height(), 100);
        const int middle = shot.Height() / 2;
        EXPECT_GT(shot.CountOtherThan(RGB(0, 0, 0), middle - 30, middle + 30), 100) << "no words on the screen";
        EXPECT_EQ(shot.CountOtherThan(RGB(0, 0, 0), 0, middle - 40), 0) << "more than words on the screen";
        EXPECT_EQ(shot.CountOtherThan(RGB(0, 0, 0), middle + 40, shot.Height()), 0);
        EXPECT_EQ(OtherVisibleWindows(m_process.dwProcessId, main), 0) << "a window waits for the user";
    }
    HWND main = WaitForSorvikWindow(L"good.gif - 4/4", m_process.dwProcessId, 15000);
    ASSERT_NE(main, nullptr) << "the file after them did not play";
    HWND canvas = SorvikCanvas(main);
    DWORD start = ::GetTickCount();
    bool seen = false;
    while (!seen && ::GetTickCount() - start < 5000) {
        CScreenShot shot(canvas);
        seen = SameColour(shot.At(shot.Width() / 2, shot.Height() / 2), frames[0], 12) ||
               SameColour(shot.At(shot.Width() / 2, shot.Height() / 2), frames[1], 12);
        ::Sleep(20);
    }
    EXPECT_TRUE(seen) << "the good file's frames never showed";
    EXPECT_TRUE(WindowText(canvas).IsEmpty());

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(::WaitForSingleObject(m_process.hProcess, 20000), WAIT_OBJECT_0) << "the viewer did not close";
    DWORD code = 1;
    ::GetExitCodeProcess(m_process.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

TEST_F(SorvikRunTest, AMissingFileAloneStaysSaidUntilTheWindowCloses)
{
    ASSERT_TRUE(Start(Path("nowhere.gif")));
    HWND main = WaitForSorvikWindow(L"nowhere.gif - 1/1", m_process.dwProcessId, 30000);
    ASSERT_NE(main, nullptr);
    HWND canvas = SorvikCanvas(main);
    ASSERT_TRUE(WaitForWindowText(canvas, L"nowhere.gif: The file does not exist.", 5000));
    // Long after its playback has ended the words are still there.
    ::Sleep(kProblemShowMs + 1000);
    CScreenShot shot(canvas);
    EXPECT_GT(shot.CountOtherThan(RGB(0, 0, 0), shot.Height() / 2 - 30, shot.Height() / 2 + 30), 100);
    EXPECT_EQ(WindowText(main), CString(L"nowhere.gif - 1/1"));
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(::WaitForSingleObject(m_process.hProcess, 20000), WAIT_OBJECT_0);
}

TEST_F(SorvikRunTest, AUnixPathAsWineHandsItOverPlays)
{
    ASSERT_TRUE(WriteTestGif(Path("unix.gif"), 32, 32, ColourFrames(2, 10)));
    using UnixFileName = char*(CDECL*)(const WCHAR*);
    auto unixFileName = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    ASSERT_NE(unixFileName, nullptr);
    char* unixPath = unixFileName(Path("unix.gif"));
    ASSERT_NE(unixPath, nullptr);
    CString argument = CString::FromUtf8(unixPath);
    ::HeapFree(::GetProcessHeap(), 0, unixPath);
    ASSERT_EQ(argument[0], L'/');
    ASSERT_TRUE(Start(L"\"" + argument + L"\""));
    EXPECT_NE(WaitForSorvikWindow(L"unix.gif - 1/1", m_process.dwProcessId, 30000), nullptr);
    HWND main = WaitForSorvikWindow(L"", m_process.dwProcessId, 1000);
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
    ASSERT_TRUE(WriteSorvikSetting(L"LoadLastPlaylist", 1));

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
