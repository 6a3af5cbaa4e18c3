#pragma once
// The playlist: owns the items and the job queue that fills it (files, folders and playlist files
// are read on the queue thread), and plays items through the play view. The grid of thumbnails,
// its commands and painting are built on top of this.
#include <atomic>
#include <deque>

#include "CFrameWnd.h"
#include "CSync.h"
#include "CWinThread.h"
#include "Collections.h"

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

class CPlaylistView : public CView {
    FW_DECLARE_MESSAGE_MAP()
public:
    CJobList m_jobs;
    CQueueThread* m_pQueueThread = nullptr;
    std::atomic<int> m_nPlayWhenReady{-1};
    bool m_bClosing = false;
    std::atomic<bool> m_bModified{false};
    // Guards the item array, and the items while the queue thread reads their information.
    CCriticalSection m_itemLock;

    CPlaylistView();
    ~CPlaylistView() override;

    // ---- the job queue ----
    int QueueAddPath(int pathType, const CString& path, const CString& pattern, int scanSubfolders);
    int QueueLoadItem(CPlaylistItem* item);
    int StartQueue();
    int StopQueue();
    void RunQueue(const std::atomic<int>& stop);
    int ProcessJob(CQueueJob* job);
    // A file found by a folder scan, or a playlist file.
    int AddPath(const CString& path);
    // A file the user named stays in the playlist when it cannot be played, saying why; one found
    // by a folder scan is skipped then. The item's index, or -1.
    int AddFile(const CString& path, bool named);
    bool IsDuplicate(const CString& path);
    int AddPlaylist(const CString& path);
    int AddFolder(const CString& folder, const CString& pattern, int scanSubfolders);
    int AppendItem(CPlaylistItem* item, bool post);

    // ---- the playlist ----
    int GetItemCount();
    CPlaylistItem* GetItem(int index);
    int FindItem(const CPlaylistItem* item);
    // Replaces the playlist with one path; the first item that arrives plays.
    int OpenPath(const CString& path);
    // Replaces the playlist with paths queued in order; with `play` the first item that arrives plays.
    int ReplaceWithPaths(const CStringArray& paths, bool play);
    int LoadDefaultPlaylist();
    int SaveDefaultPlaylist();
    void RemoveAllItems();
    int PlayIndex(int index, CView* host);
    int GetCurrentIndex();
    CPlaylistItem* GetNextItem(bool wrap, bool* last);
    CPlaylistItem* GetPrevItem(bool wrap, bool* first);
    void UpdateStatus();
    // The thumbnail size changed: every item makes its display image anew at the new size.
    void RebuildThumbnails();
    // The canvas over the current item's place, while it plays in the playlist.
    void PlaceCanvas();

    void OnInitialUpdate() override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    BOOL OnEraseBkgnd(CDC* dc);
    LRESULT OnQueueFinished(WPARAM wParam, LPARAM lParam);
    LRESULT OnItemAdded(WPARAM wParam, LPARAM lParam);
    LRESULT OnItemInfo(WPARAM wParam, LPARAM lParam);
    LRESULT OnLoadFinished(WPARAM wParam, LPARAM lParam);
    LRESULT OnDropFiles(WPARAM wParam, LPARAM lParam);
    LRESULT OnDropForwarded(WPARAM wParam, LPARAM lParam);

private:
    void DeleteItem(CPlaylistItem* item);
    void TakeDrop(HDROP drop, bool replace);

    CArray<CPlaylistItem*> m_items;
};
