// Waits for the viewer to play the named file, lets it play for a few seconds, then closes it as a
// user would, so that the main job ends by itself.
//   SorvikCloser SECONDS TITLE-PREFIX
#include <cstdio>
#include <cstdlib>
#include <string>

#include "SorvikWindows.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: SorvikCloser SECONDS TITLE-PREFIX\n");
        return 2;
    }
    const int seconds = _wtoi(argv[1]);
    HWND main = WaitForSorvikWindow(argv[2], 0, 30000);
    if (!main) {
        std::fprintf(stderr, "SorvikCloser: no viewer window is playing the file\n");
        return 1;
    }
    wchar_t title[512] = L"";
    ::GetWindowTextW(main, title, 512);
    std::printf("playing: %ls\n", title);
    std::fflush(stdout);
    ::Sleep(DWORD(seconds) * 1000);
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    std::printf("closed the viewer after %d seconds\n", seconds);
    return 0;
}
