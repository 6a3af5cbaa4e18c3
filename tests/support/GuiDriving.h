#pragma once
// Window tests that act as a user: keyboard and mouse through SendInput, pixels read back from
// the screen, and a wait for a window of this process. Windows only.
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// A copy of a screen area, 32 bits a pixel, taken at once.
class ScreenShot {
public:
    explicit ScreenShot(const RECT& area) : m_area(area), m_width(area.right - area.left), m_height(area.bottom - area.top)
    {
        m_pixels.resize(static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
        HDC screen = ::GetDC(nullptr);
        HDC memory = ::CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = m_width;
        info.bmiHeader.biHeight = -m_height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, m_width, m_height, screen, area.left, area.top, SRCCOPY);
        ::GdiFlush();
        const auto* quads = static_cast<const RGBQUAD*>(bits);
        for (size_t i = 0; i < m_pixels.size(); i++)
            m_pixels[i] = RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue);
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
        ::ReleaseDC(nullptr, screen);
    }

    // In screen coordinates.
    COLORREF At(int x, int y) const
    {
        return m_pixels[static_cast<size_t>(y - m_area.top) * static_cast<size_t>(m_width) + static_cast<size_t>(x - m_area.left)];
    }
    int Count(const std::function<bool(COLORREF)>& match) const
    {
        int n = 0;
        for (COLORREF c : m_pixels)
            n += match(c) ? 1 : 0;
        return n;
    }

private:
    RECT m_area;
    int m_width;
    int m_height;
    std::vector<COLORREF> m_pixels;
};

inline bool NearColour(COLORREF a, COLORREF b, int tolerance = 8)
{
    return std::abs(int(GetRValue(a)) - int(GetRValue(b))) <= tolerance &&
           std::abs(int(GetGValue(a)) - int(GetGValue(b))) <= tolerance &&
           std::abs(int(GetBValue(a)) - int(GetBValue(b))) <= tolerance;
}

// Text pixels of a colour on a light background: clearly that colour's hue, whatever the
// smoothing of the glyph edges.
inline bool Bluish(COLORREF c) { return GetBValue(c) > 150 && GetBValue(c) > GetRValue(c) + 60 && GetBValue(c) > GetGValue(c) + 60; }
inline bool Reddish(COLORREF c) { return GetRValue(c) > 150 && GetRValue(c) > GetGValue(c) + 60 && GetRValue(c) > GetBValue(c) + 60; }

inline void SendMouse(DWORD flags, int x = 0, int y = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        input.mi.dx = static_cast<LONG>((x * 65535LL + ::GetSystemMetrics(SM_CXSCREEN) / 2) / (::GetSystemMetrics(SM_CXSCREEN) - 1));
        input.mi.dy = static_cast<LONG>((y * 65535LL + ::GetSystemMetrics(SM_CYSCREEN) / 2) / (::GetSystemMetrics(SM_CYSCREEN) - 1));
    }
    ::SendInput(1, &input, sizeof(input));
}

inline void MoveMouseTo(int x, int y) { SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y); }

inline void ClickAt(int x, int y)
{
    MoveMouseTo(x, y);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
}

inline void ClickCentre(HWND hwnd)
{
    RECT r;
    ::GetWindowRect(hwnd, &r);
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

inline void SendKey(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof(input));
}

inline void PressKey(WORD key)
{
    SendKey(key, false);
    SendKey(key, true);
}

// The key with Shift (or another modifier) held.
inline void PressKeyWith(WORD modifier, WORD key)
{
    SendKey(modifier, false);
    PressKey(key);
    SendKey(modifier, true);
}

inline void TypeText(const wchar_t* text)
{
    for (; *text; text++) {
        INPUT input[2]{};
        for (INPUT& i : input) {
            i.type = INPUT_KEYBOARD;
            i.ki.wScan = *text;
            i.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        ::SendInput(2, input, sizeof(INPUT));
    }
}

// Polls until `done` answers true (true) or `timeoutMs` passed (false). For threads that do
// not pump messages themselves (a driver beside a modal loop).
inline bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 10000)
{
    DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(20);
    }
    return true;
}

// The first top-level window for which `match` answers true; null if none.
inline BOOL CALLBACK MatchTopWindow(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<std::pair<const std::function<bool(HWND)>*, HWND>*>(param);
    if (!(*search->first)(hwnd))
        return TRUE;
    search->second = hwnd;
    return FALSE;
}

inline HWND FindTopWindow(const std::function<bool(HWND)>& match)
{
    std::pair<const std::function<bool(HWND)>*, HWND> search{&match, nullptr};
    ::EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

inline DWORD WindowProcess(HWND hwnd)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    return process;
}

inline std::wstring WindowClass(HWND hwnd)
{
    wchar_t name[64] = L"";
    ::GetClassNameW(hwnd, name, 64);
    return name;
}

enum class TitleMatch { Exact, Prefix };

// A visible top-level window of the process with that title (or one that begins with it); null
// if none.
inline HWND FindProcessWindow(DWORD process, const wchar_t* title, TitleMatch match = TitleMatch::Exact)
{
    const std::wstring wanted(title);
    return FindTopWindow([&](HWND hwnd) {
        wchar_t text[256] = L"";
        ::GetWindowTextW(hwnd, text, 256);
        const std::wstring shown(text);
        const bool titled = match == TitleMatch::Exact ? shown == wanted : shown.compare(0, wanted.size(), wanted) == 0;
        return WindowProcess(hwnd) == process && ::IsWindowVisible(hwnd) && titled;
    });
}

// The same of this process.
inline HWND FindOwnWindow(const wchar_t* title, TitleMatch match = TitleMatch::Exact)
{
    return FindProcessWindow(::GetCurrentProcessId(), title, match);
}

inline HWND WaitForOwnWindow(const wchar_t* title, DWORD timeoutMs = 15000)
{
    HWND found = nullptr;
    WaitFor([&] { return (found = FindOwnWindow(title)) != nullptr; }, timeoutMs);
    return found;
}
