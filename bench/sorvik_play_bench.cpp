// Frame timing of the viewer as the user sees it: Sorvik.exe plays a GIF under Wine, the screen is
// read in the middle of its canvas as often as it can be (about every millisecond), and the period
// of the frames that appear is measured against the GIF's own (its nominal period is the peer in
// the same run). A period under 50 ms plays at 100 ms. Also shown: how far the farthest frame came
// from its place (the first frame seen plus the nominal periods of the frames before it), which
// grows over a run when the lateness of frames adds up.
//
//   sorvik_play_bench [--quick]
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "SorvikWindows.h"
#include "TestGif.h"

namespace {

double NowMs()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return double(f.QuadPart);
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return double(now.QuadPart) * 1000.0 / frequency;
}

struct Case {
    const char* name;
    uint32_t delay;      // hundredths of a second, as stored
    double nominalMs;    // as it is meant to play
    int frames;          // in a full run; a quick run plays a third
};

struct Appearance {
    int frame;   // counted from the first one seen
    double at;   // ms
};

// The colour of ColourFrames nearest to the pixel, -1 when none is near (the background).
int ColourIndex(COLORREF c)
{
    const std::vector<TestFrame>& colours = FrameColours();
    for (size_t i = 0; i < colours.size(); i++) {
        const TestFrame& f = colours[i];
        if (std::abs(int(GetRValue(c)) - f.r) <= 12 && std::abs(int(GetGValue(c)) - f.g) <= 12 &&
            std::abs(int(GetBValue(c)) - f.b) <= 12)
            return int(i);
    }
    return -1;
}

// Reads the pixel in the middle of the canvas until the last of the frames has shown (the viewer
// then goes back to the first); each change of colour is the next frame (a frame missed between
// two reads counts by its colour's distance).
std::vector<Appearance> WatchFrames(HANDLE process, HWND canvas, int frames, int* reads, double* span)
{
    std::vector<Appearance> seen;
    HDC screen = ::GetDC(nullptr);
    const int colours = int(FrameColours().size());
    int last = -1, frame = -1;
    const double start = NowMs();
    *reads = 0;
    while (::WaitForSingleObject(process, 0) == WAIT_TIMEOUT && NowMs() - start < 120000) {
        RECT r;
        if (!::GetWindowRect(canvas, &r))
            break;
        const int index = ColourIndex(::GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2));
        const double at = NowMs();
        ++*reads;
        if (index >= 0 && index != last) {
            frame = last < 0 ? 0 : frame + (index - last + colours) % colours;
            if (frame >= frames)
                break;
            seen.push_back(Appearance{frame, at});
            last = index;
        }
        ::Sleep(1);
    }
    *span = NowMs() - start;
    ::ReleaseDC(nullptr, screen);
    return seen;
}

bool RunCase(const Case& c, int frames, const std::filesystem::path& folder)
{
    const std::wstring name = std::wstring(c.name, c.name + strlen(c.name)) + L".gif";
    const std::wstring gif = (folder / name).wstring();
    if (!WriteTestGif(gif.c_str(), 160, 120, ColourFrames(frames, c.delay))) {
        std::printf("%-22s could not write the GIF\n", c.name);
        return false;
    }
    std::wstring command = L"\"" + SorvikProgramPath() + L"\" \"" + gif + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::printf("%-22s could not start Sorvik.exe\n", c.name);
        return false;
    }
    HWND main = WaitForSorvikWindow(name + L" - 1/1", process.dwProcessId, 30000);
    HWND canvas = main ? SorvikCanvas(main) : nullptr;
    std::vector<Appearance> seen;
    int reads = 0;
    double span = 0;
    if (canvas)
        seen = WatchFrames(process.hProcess, canvas, frames, &reads, &span);
    // AutoClose ends the viewer after the last frame; one that hangs is ended here.
    if (::WaitForSingleObject(process.hProcess, 10000) == WAIT_TIMEOUT)
        ::TerminateProcess(process.hProcess, 3);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    if (seen.size() < 3) {
        std::printf("%-22s too few frames seen (%zu)\n", c.name, seen.size());
        return false;
    }
    const Appearance& first = seen.front();
    const Appearance& last = seen.back();
    const double period = (last.at - first.at) / double(last.frame - first.frame);
    double farthest = 0, longestGap = 0;
    for (size_t i = 0; i < seen.size(); i++) {
        const double place = first.at + double(seen[i].frame - first.frame) * c.nominalMs;
        farthest = std::max(farthest, std::fabs(seen[i].at - place));
        if (i > 0)
            longestGap = std::max(longestGap, seen[i].at - seen[i - 1].at);
    }
    std::printf("%-22s nominal %6.1f ms  measured %6.1f ms  ratio %.3f  over %3d frames  farthest from place "
                "%5.1f ms  longest frame %6.1f ms  (%d frames missed, screen read every %.1f ms)\n",
                c.name, c.nominalMs, period, period / c.nominalMs, last.frame - first.frame, farthest, longestGap,
                last.frame + 1 - int(seen.size()), span / std::max(reads, 1));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    const Case cases[] = {
        {"delay-100ms", 10, 100, 120},
        {"delay-220ms", 22, 220, 60},
        {"delay-40ms-plays-100", 4, 100, 120},
        {"delay-50ms", 5, 50, 240},
    };
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / L"sorvik-play-bench";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    // The viewer closes itself after playing and reads nothing else at start.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Sorvik");
    WriteSorvikSetting(L"AutoCheckUpdate", 0);
    WriteSorvikSetting(L"LoadLastPlaylist", 0);
    WriteSorvikSetting(L"AutoClose", 1);
    WriteSorvikSetting(L"Repeat", 0);
    std::printf("Sorvik frame period on the screen against the GIF's own (%s run)\n", quick ? "quick" : "full");
    int failed = 0;
    for (const Case& c : cases)
        failed += !RunCase(c, quick ? c.frames / 3 : c.frames, folder);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Sorvik");
    std::filesystem::remove_all(folder, error);
    return failed ? 1 : 0;
}
