#pragma once
// The worker that runs one Convert press: the owner dialog's rows one after another. It posts
// 0x5B8 to the dialog when it ends; the dialog then waits for it and deletes it.
#include "CWinThread.h"
#include "StopFlag.h"

class CJobStatusSink;
class CTalvenaDlg;

constexpr UINT WM_CONVERT_FINISHED = WM_USER + 440;  // posted, both parameters 0
constexpr UINT WM_CONVERT_ROW_DONE = WM_USER + 441;  // sent: row index, the row's item

class CMediaConvertThread : public CWinThread {
public:
    CMediaConvertThread(CJobStatusSink* sink, CTalvenaDlg* owner);

    int ExitInstance() override;
    // Asks the run to stop and dispatches this thread's messages until the finished message
    // has been handled; the object is gone afterwards.
    void Stop();

    CJobStatusSink* m_statusSink;
    CTalvenaDlg* m_owner;
    CStopFlag m_stop{0};
};

class CMyMediaConvertThread : public CMediaConvertThread {
public:
    using CMediaConvertThread::CMediaConvertThread;
    BOOL InitInstance() override;
};
