#include "MediaConvertThread.h"

#include "SysHelpers.h"
#include "TalvenaDlg.h"

CMediaConvertThread::CMediaConvertThread(CJobStatusSink* sink, CTalvenaDlg* owner)
    : m_statusSink(sink), m_owner(owner)
{
    // The dialog waits for the thread and deletes it, so Stop can never meet a deleted object.
    m_bAutoDelete = FALSE;
    m_pMainWnd = nullptr;
    m_pThreadParams = nullptr;
}

int CMediaConvertThread::ExitInstance()
{
    ::PostMessageW(m_owner->m_hWnd, WM_CONVERT_FINISHED, 0, 0);
    return CWinThread::ExitInstance();
}

void CMediaConvertThread::Stop()
{
    const HWND owner = m_owner->m_hWnd;
    m_stop = 2;
    SetThreadPriority(THREAD_PRIORITY_ABOVE_NORMAL);
    PumpMessagesUntil(owner, WM_CONVERT_FINISHED);
}

BOOL CMyMediaConvertThread::InitInstance()
{
    m_owner->ConvertAll(&m_stop);
    return FALSE;
}
