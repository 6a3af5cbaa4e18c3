#pragma once
// The viewer's program-wide pointers (each set once by the object it names) and its private
// window messages.
#include <windows.h>

#include "CWinThread.h"

class CSettings;
class CUIResources;
class CPlayView;
class CPlaylistView;
class CAnimationWnd;
class CMainFrame;
class CPlayControlBar;
class CMessageWnd;

extern CSettings* g_pSettings;
extern CUIResources* g_pUIResources;
extern CPlayView* g_pPlayView;
extern CPlaylistView* g_pPlaylistView;
extern CAnimationWnd* g_pCanvas;
extern CPlayControlBar* g_pPlayControlBar;
extern CMessageWnd* g_pMessageWnd;

// Worker → window.
constexpr UINT WM_QUEUE_FINISHED = 0x5B9;   // stop word / 0
constexpr UINT WM_QUEUE_ITEM_ADDED = 0x5BA; // new index / 0
constexpr UINT WM_QUEUE_ITEM_INFO = 0x5BB;  // 0 / item
constexpr UINT WM_LOAD_FINISHED = 0x5BC;    // cancel word / item
constexpr UINT WM_PLAY_FINISHED = 0x5BD;    // stop word / 0
// Window → window.
constexpr UINT WM_PLAY_ITEM = 0x414;        // command / item
constexpr UINT WM_CHECK_UPDATE = 0x59A;     // 0 / 1 automatic
constexpr UINT WM_DROP_FORWARDED = 0x40A;   // drop handle / 0

// The main frame of the running program, null before it exists.
CMainFrame* GetMainFrame();

// Dispatches this thread's messages until the thread ends (workers may send to this thread
// while they finish, so a plain wait could never return).
void PumpUntilThreadEnds(HANDLE thread);

// Starts a worker the viewer's way: created suspended, normal priority, resumed. The slot holds
// it while it runs; a thread that cannot be made is deleted and the slot cleared (-1).
template <class T>
int StartWorker(T*& slot, T* thread)
{
    slot = thread;
    if (!thread->CreateThread(CREATE_SUSPENDED)) {
        delete thread;
        slot = nullptr;
        return -1;
    }
    thread->SetThreadPriority(THREAD_PRIORITY_NORMAL);
    thread->ResumeThread();
    return 0;
}

// Waits for a thread without limit, serving only the messages it sends to this thread (a worker
// that repaints synchronously can then never block the wait); posted messages stay queued.
void WaitServingSentMessages(HANDLE thread);

// Waits for a finished worker, deletes it and clears the slot.
template <class T>
void EndWorker(T*& slot)
{
    if (!slot)
        return;
    WaitServingSentMessages(slot->m_hThread);
    delete slot;
    slot = nullptr;
}
