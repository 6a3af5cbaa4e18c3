#pragma once
// The playlist's job queue: paths to add and items whose information to read, taken in order by
// one worker thread that hands each new item to the playlist view's window thread.
#include <atomic>
#include <deque>

#include "CSync.h"
#include "CString.h"
#include "CWinThread.h"

class CPlaylistItem;
class CPlaylistView;

// One queued piece of playlist work.
class CQueueJob {
public:
    enum { ADD_PATH = 0, LOAD_ITEM = 1 };
    enum { PATH_DETECT = 0, PATH_GIF = 1, PATH_PLAYLIST = 2, PATH_FOLDER = 3 };

    explicit CQueueJob(int kind) : m_nKind(kind) {}
    virtual ~CQueueJob() = default;

    int m_nKind;
    int m_nPathType = PATH_DETECT;
    CString m_strPath;
    CString m_strPattern;
    int m_bScanSubfolders = 0;
    CPlaylistItem* m_pItem = nullptr;   // not owned
};

// First in, first out; appended on the window thread, taken by the queue thread.
class CJobList {
public:
    ~CJobList() { RemoveAll(); }
    void AddTail(CQueueJob* job);
    // The head job (the caller deletes it), null when the list is empty.
    CQueueJob* RemoveHead();
    bool IsEmpty();
    void RemoveAll();

private:
    CCriticalSection m_lock;
    std::deque<CQueueJob*> m_jobs;
};

class CQueueThread : public CWinThread {
public:
    explicit CQueueThread(CPlaylistView* view) : m_pView(view) { m_bAutoDelete = FALSE; }
    std::atomic<int> m_nStop{0};
    BOOL InitInstance() override;

private:
    CPlaylistView* m_pView;
};

// Sent by the queue thread: the window thread inserts the item (lParam) as a new cell and
// answers its index; wParam non-zero posts 0x5BA for it.
constexpr UINT WM_QUEUE_INSERT_ITEM = WM_APP + 0x5BA;
