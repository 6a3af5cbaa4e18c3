#pragma once
// Sorvik.exe started as the user starts it, from a clean profile (no update check, no last
// playlist), and ended with the test.
#include <gtest/gtest.h>

#include <windows.h>

#include "CString.h"
#include "ScratchFolder.h"
#include "SorvikProcess.h"
#include "SorvikWindows.h"

class SorvikProcessTest : public ScratchFolderTest {
protected:
    CSorvikProcess m_sorvik;
    PROCESS_INFORMATION& m_process = m_sorvik.m_info;

    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Sorvik");
        ASSERT_TRUE(WriteSorvikSetting(L"AutoCheckUpdate", 0));
        ASSERT_TRUE(WriteSorvikSetting(L"LoadLastPlaylist", 0));
    }
    void TearDown() override
    {
        m_sorvik.End();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Sorvik");
        ScratchFolderTest::TearDown();
    }
    bool Start(const CString& arguments)
    {
        m_sorvik.End();
        return m_sorvik.Start(arguments);
    }
};

struct OtherWindowSearch {
    DWORD processId;
    HWND main;
    int count;
};

inline BOOL CALLBACK CountOtherWindow(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<OtherWindowSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    if (pid == search->processId && wnd != search->main && ::IsWindowVisible(wnd))
        search->count++;
    return TRUE;
}

// Visible top-level windows of the process other than the main one (a message box would be one).
inline int OtherVisibleWindows(DWORD processId, HWND main)
{
    OtherWindowSearch search{processId, main, 0};
    ::EnumWindows(CountOtherWindow, reinterpret_cast<LPARAM>(&search));
    return search.count;
}

inline CString WindowText(HWND wnd)
{
    wchar_t text[512] = L"";
    ::GetWindowTextW(wnd, text, 512);
    return text;
}

inline bool WaitForWindowText(HWND wnd, const CString& text, DWORD ms)
{
    DWORD start = ::GetTickCount();
    while (WindowText(wnd) != text) {
        if (::GetTickCount() - start > ms)
            return false;
        ::Sleep(20);
    }
    return true;
}
