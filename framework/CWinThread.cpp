#include "CWinThread.h"

#include <process.h>

#include "CDC.h"
#include "CMenu.h"
#include "CWinApp.h"
#include "CWnd.h"

namespace {
thread_local CWinThread* t_thread = nullptr;
}

void FwDeleteTempMaps()
{
    CWnd::DeleteTempMap();
    CMenu::DeleteTempMap();
    CDC::DeleteTempMap();
}

CWinThread* FwGetThread() { return t_thread ? t_thread : FwGetApp(); }

CWinThread::~CWinThread()
{
    if (m_hThread)
        ::CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(DWORD flags, UINT stackSize)
{
    // Always start suspended: the object must know its handle before the thread may end.
    unsigned id = 0;
    auto handle = _beginthreadex(nullptr, stackSize, &CWinThread::Entry, this, CREATE_SUSPENDED, &id);
    if (!handle)
        return FALSE;
    m_hThread = reinterpret_cast<HANDLE>(handle);
    m_nThreadID = id;
    if (!(flags & CREATE_SUSPENDED))
        ::ResumeThread(m_hThread);
    return TRUE;
}

unsigned __stdcall CWinThread::Entry(void* self)
{
    return static_cast<unsigned>(static_cast<CWinThread*>(self)->RunThread());
}

int CWinThread::RunThread()
{
    t_thread = this;
    int code = 0;
    try {
        if (m_pfnThreadProc)
            code = static_cast<int>(m_pfnThreadProc(m_pThreadParams));
        else if (InitInstance())
            code = Run();
        else
            code = ExitInstance();
    } catch (CException* e) {
        e->Delete();
        code = -1;
    }
    FwDeleteTempMaps();
    t_thread = nullptr;
    if (m_bAutoDelete)
        delete this;
    return code;
}

BOOL CWinThread::PreTranslateMessage(MSG* msg)
{
    CWnd* main = GetMainWnd();
    return CWnd::WalkPreTranslateTree(FwHwnd(main), msg);
}

void CWinThread::UpdateMainWindowCommands()
{
    if (CWnd* main = GetMainWnd(); main && main->m_hWnd && main->IsWindowVisible()) {
        main->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        main->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE);
    }
}

BOOL CWinThread::OnIdle(LONG count)
{
    if (count == 0) {
        UpdateMainWindowCommands();
        return TRUE;
    }
    FwDeleteTempMaps();
    return FALSE;
}

BOOL CWinThread::PumpMessage()
{
    if (::GetMessageW(&m_msgCur, nullptr, 0, 0) <= 0)
        return FALSE;
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageW(&m_msgCur);
    }
    return TRUE;
}

int CWinThread::Run()
{
    LONG idleCount = 0;
    for (;;) {
        MSG peek;
        while (!::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE) && OnIdle(idleCount))
            idleCount++;
        if (!PumpMessage())
            return ExitInstance();
        // Mouse moves and timers are no reason to redo idle work.
        UINT m = m_msgCur.message;
        if (m != WM_MOUSEMOVE && m != WM_NCMOUSEMOVE && m != WM_TIMER && m != WM_PAINT && m != 0x0118 /* caret blink */)
            idleCount = 0;
    }
}

CWinThread* FwBeginThread(FwThreadProc proc, void* param, int priority, UINT stackSize, DWORD flags)
{
    auto* thread = new CWinThread(proc, param);
    if (!thread->CreateThread(flags | CREATE_SUSPENDED, stackSize)) {
        delete thread;
        return nullptr;
    }
    thread->SetThreadPriority(priority);
    if (!(flags & CREATE_SUSPENDED))
        thread->ResumeThread();
    return thread;
}
