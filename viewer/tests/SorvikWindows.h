#pragma once
// Finding the running viewer's windows from another process (the run test, the closer and the
// play benchmark), and setting it up before it starts.
#include <windows.h>

#include <string>

struct SorvikWindowSearch {
    std::wstring titlePrefix;
    DWORD processId = 0;   // 0: any process
    HWND found = nullptr;
};

inline BOOL CALLBACK SorvikWindowVisit(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<SorvikWindowSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    if (search->processId && pid != search->processId)
        return TRUE;
    wchar_t title[512] = L"";
    ::GetWindowTextW(wnd, title, 512);
    if (::IsWindowVisible(wnd) && std::wstring(title).rfind(search->titlePrefix, 0) == 0) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// The visible top-level window whose title starts with the prefix, waited for up to `timeoutMs`.
inline HWND WaitForSorvikWindow(const std::wstring& titlePrefix, DWORD processId, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        SorvikWindowSearch search{titlePrefix, processId, nullptr};
        ::EnumWindows(SorvikWindowVisit, reinterpret_cast<LPARAM>(&search));
        if (search.found || ::GetTickCount() - start > timeoutMs)
            return search.found;
        ::Sleep(20);
    }
}

// The layout window (0xE900 of the main window) and its panes: 0xE900 the play view, 0xE901 the
// playlist view.
inline HWND SorvikPane(HWND mainWindow, int index)
{
    HWND layout = ::GetDlgItem(mainWindow, 0xE900);
    return layout ? ::GetDlgItem(layout, 0xE900 + index) : nullptr;
}

// The canvas: window 1 inside the play pane, or inside the playlist pane while it plays there.
inline HWND SorvikCanvas(HWND mainWindow)
{
    for (int pane = 0; pane < 2; pane++)
        if (HWND canvas = SorvikPane(mainWindow, pane) ? ::GetDlgItem(SorvikPane(mainWindow, pane), 1) : nullptr)
            return canvas;
    return nullptr;
}

// A value in the viewer's "Settings" section of the profile, for the next start.
inline bool WriteSorvikSetting(const wchar_t* name, DWORD value)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Sorvik\\Settings", 0, nullptr, 0, KEY_WRITE, nullptr,
                          &key, nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return ok;
}

#ifdef SORVIK_EXE
// The program the build made, as a Windows path (Wine gives the Unix root the drive Z:).
inline std::wstring SorvikProgramPath()
{
    const char* unixPath = SORVIK_EXE;
    std::wstring path(size_t(::MultiByteToWideChar(CP_UTF8, 0, unixPath, -1, nullptr, 0)), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, unixPath, -1, &path[0], int(path.size()));
    path.resize(path.size() - 1);
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return L"Z:" + path;
}
#endif
