#pragma once
// Threads: a worker function or an object whose InitInstance does the work, optionally followed
// by a message loop. Owners that keep auto-delete off wait on m_hThread and delete the object.
#include <windows.h>

#include "CCmdTarget.h"

class CWnd;

using FwThreadProc = UINT (*)(void* param);

class CWinThread : public CCmdTarget {
public:
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    BOOL m_bAutoDelete = TRUE;     // delete the object when the thread ends
    CWnd* m_pMainWnd = nullptr;    // the thread's main window, if it has one
    void* m_pThreadParams = nullptr;
    MSG m_msgCur{};                // the last message the loop took

    CWinThread() = default;
    CWinThread(FwThreadProc proc, void* param) : m_pThreadParams(param), m_pfnThreadProc(proc) {}
    ~CWinThread() override;

    // Starts the thread; with CREATE_SUSPENDED it waits for ResumeThread.
    BOOL CreateThread(DWORD flags = 0, UINT stackSize = 0);
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    DWORD SuspendThread() { return ::SuspendThread(m_hThread); }
    BOOL SetThreadPriority(int priority) { return ::SetThreadPriority(m_hThread, priority); }
    int GetThreadPriority() const { return ::GetThreadPriority(m_hThread); }
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // FALSE ends the thread at once through ExitInstance; TRUE runs the message loop.
    virtual BOOL InitInstance() { return FALSE; }
    virtual int Run();
    // The exit code: by default the wParam of the last message.
    virtual int ExitInstance() { return static_cast<int>(m_msgCur.wParam); }
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Idle work between messages; TRUE asks for another call.
    virtual BOOL OnIdle(LONG count);
    // The command-update pass of idle time over the visible main window and its descendants (its
    // bars), also run by modal loops: what a dialog is opened over goes on showing its state.
    void UpdateMainWindowCommands();
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }

    // One pass of the loop: takes, translates and dispatches a message. FALSE on WM_QUIT.
    BOOL PumpMessage();

protected:
    FwThreadProc m_pfnThreadProc = nullptr;

private:
    static unsigned __stdcall Entry(void* self);
    int RunThread();
};

// Starts a worker function on a new thread object (auto-delete on).
CWinThread* FwBeginThread(FwThreadProc proc, void* param, int priority = THREAD_PRIORITY_NORMAL,
                          UINT stackSize = 0, DWORD flags = 0);
// The thread object of the calling thread, or the application for the main thread.
CWinThread* FwGetThread();
// Drops the temporary window, menu and context wrappers of the calling thread.
void FwDeleteTempMaps();
