#pragma once
// Sorvik.exe started by a test as a user starts it, closed as a user closes it, or ended.
#include <windows.h>

#include <string>
#include <vector>

#include "CString.h"
#include "SorvikDriving.h"
#include "SorvikWindows.h"

class CSorvikProcess {
public:
    PROCESS_INFORMATION m_info{};

    ~CSorvikProcess() { End(); }

    bool Start(const CString& arguments)
    {
        std::wstring command = L"\"" + SorvikProgramPath() + L"\" " + arguments.str();
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        return ::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_info);
    }
    // Waits for the end (closing it when asked); true when it ended by itself with status 0.
    bool Close(HWND main, DWORD ms = 20000)
    {
        ::PostMessageW(main, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(m_info.hProcess, ms) != WAIT_OBJECT_0)
            return false;
        DWORD code = 1;
        ::GetExitCodeProcess(m_info.hProcess, &code);
        return code == 0;
    }
    void End()
    {
        if (!m_info.hProcess)
            return;
        if (::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_info.hProcess, 3);
        ::CloseHandle(m_info.hProcess);
        ::CloseHandle(m_info.hThread);
        m_info = PROCESS_INFORMATION{};
    }
    DWORD Id() const { return m_info.dwProcessId; }
    bool Drop(HWND target, const std::vector<CString>& paths) { return DropFilesOn(m_info.hProcess, target, paths); }
};
