#include "ModuleProcess.h"

#include <shlwapi.h>

#include <string>

namespace {

constexpr DWORD kPollPeriod = 100;
constexpr DWORD kStopGrace = 1000;
// After TerminateProcess the process is gone only once its handle is signalled.
constexpr DWORD kTerminateWait = 5000;

// Closes the process and thread handles on every way out of the run.
class CProcessHandles {
public:
    PROCESS_INFORMATION m_info{};
    ~CProcessHandles()
    {
        if (m_info.hThread)
            CloseHandle(m_info.hThread);
        if (m_info.hProcess)
            CloseHandle(m_info.hProcess);
    }
};

// Gives the process `grace` milliseconds to end by itself, then ends it.
void EndProcess(HANDLE process, DWORD grace)
{
    if (WaitForSingleObject(process, grace) == WAIT_TIMEOUT) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, kTerminateWait);
    }
}

} // namespace

int CModuleProcess::SetProgram(const CString& path)
{
    m_program = path;
    return 0;
}

int CModuleProcess::Run(const CString& commandLine, CStopFlag* stop)
{
    m_runEnd = MODULE_NOT_RUN;
    m_exitCode = 1;
    // Only a full path is run, so the system never searches the current folder for the name.
    if (m_program.IsEmpty() || PathIsRelativeW(m_program) || !PathFileExistsW(m_program)) {
        m_runEnd = MODULE_MISSING;
        return -1;
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_FORCEOFFFEEDBACK;
    startup.wShowWindow = SW_HIDE;
    std::wstring line = commandLine.str();
    CProcessHandles process;
    if (!CreateProcessW(m_program, &line[0], nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &process.m_info)) {
        m_runEnd = MODULE_START_FAILED;
        return -1;
    }

    const HANDLE handle = process.m_info.hProcess;
    const bool polled = stop || m_timeLimit;
    const DWORD started = GetTickCount();
    m_runEnd = MODULE_EXITED;
    for (;;) {
        if (IsStopRequested(stop)) {
            EndProcess(handle, kStopGrace);
            m_runEnd = MODULE_STOPPED;
            break;
        }
        if (m_timeLimit && GetTickCount() - started >= m_timeLimit) {
            EndProcess(handle, 0);
            m_runEnd = MODULE_TIMED_OUT;
            break;
        }
        if (WaitForSingleObject(handle, polled ? kPollPeriod : INFINITE) != WAIT_TIMEOUT)
            break;
    }

    DWORD code = 1;
    if (!GetExitCodeProcess(handle, &code) || code == STILL_ACTIVE)
        code = 1;
    m_exitCode = code;
    return code == 0 ? 0 : -1;
}
