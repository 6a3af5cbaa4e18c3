#pragma once
// Finding the running viewer's windows from another process (the run test and the closer).
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

// The canvas: window 1 inside the play pane (0xE900) of the main window.
inline HWND SorvikCanvas(HWND mainWindow)
{
    HWND pane = ::GetDlgItem(mainWindow, 0xE900);
    return pane ? ::GetDlgItem(pane, 1) : nullptr;
}
