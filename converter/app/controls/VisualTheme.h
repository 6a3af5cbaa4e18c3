#pragma once
// Visual styles without linking the visual-styles library: UxTheme.dll is loaded by name on
// first use, each entry point is looked up once and every one has a fallback, so the controls
// draw their classic frames where there are no visual styles.
#include <windows.h>
#include <uxtheme.h>

// The library's entry point `name`; `fallback` when the library cannot be loaded (tried once
// only), null when the loaded library lacks the entry point.
FARPROC GetUxThemeProc(const char* name, FARPROC fallback);

// For tests: forgets the library and every cached entry point and takes `libraryName` (a
// missing one, or one without the entry points) on the next use.
void ResetUxThemeLibrary(const wchar_t* libraryName = L"UxTheme.dll");
// How many times loading the library was tried since the last reset.
int UxThemeLoadAttempts();

class CVisualTheme {
public:
    CVisualTheme() = default;
    // Opens at once.
    CVisualTheme(HWND window, const wchar_t* classList);
    CVisualTheme(const CVisualTheme&) = delete;
    CVisualTheme& operator=(const CVisualTheme&) = delete;
    ~CVisualTheme();

    // Closes any held handle first; true when a handle was obtained.
    BOOL Open(HWND window, const wchar_t* classList);
    // The system's result; 0 when nothing was open.
    HRESULT Close();
    BOOL IsOpen() const { return m_hTheme != nullptr; }
    // -1 when the library lacks the entry point.
    HRESULT DrawBackground(HDC dc, int part, int state, const RECT* rect, const RECT* clip = nullptr);

    // The system's answers (0 without the library); -1 when a loaded library lacks them.
    static int IsThemeActive();
    static int IsAppThemed();

    HTHEME m_hTheme = nullptr;
};

// Both the theme and the application's use of it are on. An entry point that is missing
// counts as off.
bool IsVisualThemeActive();
