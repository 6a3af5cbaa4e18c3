#pragma once
// Runs a sibling program hidden and waits for it on the calling thread. A stop request (flag 2
// or 3) gives the program one more second and then ends it; a run with a time limit is ended
// when the limit passes, so a hung program cannot hold the caller for ever.
#include <windows.h>

#include "CString.h"
#include "StopFlag.h"

// How the last run ended, for callers that report more than success or failure.
enum ModuleRunEnd {
    MODULE_NOT_RUN,
    MODULE_EXITED,         // ran and exited by itself (with any code)
    MODULE_MISSING,        // no such program file, or not a full path
    MODULE_START_FAILED,   // the system refused to start it
    MODULE_STOPPED,        // a stop request ended the wait
    MODULE_TIMED_OUT,      // ended at the time limit
};

class CModuleProcess {
public:
    virtual ~CModuleProcess() = default;

    virtual int SetProgram(const CString& path);
    // 0 when the program ran and exited with code 0, else -1.
    virtual int Run(const CString& commandLine, CStopFlag* stop);

    const CString& GetProgram() const { return m_program; }
    // 0: no limit.
    void SetTimeLimit(DWORD milliseconds) { m_timeLimit = milliseconds; }
    ModuleRunEnd GetRunEnd() const { return m_runEnd; }
    DWORD GetExitCode() const { return m_exitCode; }

protected:
    CString m_program;

private:
    DWORD m_timeLimit = 0;
    ModuleRunEnd m_runEnd = MODULE_NOT_RUN;
    DWORD m_exitCode = 1;
};
