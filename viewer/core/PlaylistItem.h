#pragma once
// One entry of the playlist: a GIF file with the facts of its first frame, its display filters and,
// while it is loaded, every decoded frame with a per-frame state. Portable; the load thread that
// fills the frames is Windows code (GIFLoadThread.h).
#include <atomic>
#include <cstdint>
#include <vector>

#include "CString.h"
#include "CrImageGIFEx.h"
#include "FileProblem.h"

class CGIFLoadThread;

// Slot states.
enum : int {
    SLOT_NONE = 0,
    SLOT_PENDING = 1,
    SLOT_DECODED = 2,
    SLOT_CANCELLED = 3,
    SLOT_BAD = -1,
};

// Item states and load states.
enum : int {
    ITEM_NEW = 0,
    ITEM_READING = 1,
    ITEM_READY = 2,
    ITEM_UNREADABLE = -1,
    LOAD_IDLE = 0,
    LOAD_LOADING = 1,
    LOAD_DONE = 2,
    LOAD_CANCELLED = 3,
    LOAD_FAILED = -1,
};

// Largest frame count and side length taken from a playlist file without checking the GIF.
constexpr int kMaxStoredFrameCount = 100000;
constexpr int kMaxStoredSide = 65535;

class CFrameSlot {
public:
    virtual ~CFrameSlot() { delete m_pFiltered; }
    std::atomic<int> m_nState{SLOT_NONE};   // written by the load thread, read by painting and playing
    CrImage* m_pFiltered = nullptr;         // owned
};

class CFrameArray {
public:
    ~CFrameArray() { DeleteAll(); }
    int GetSize() const { return static_cast<int>(m_slots.size()); }
    CFrameSlot* GetAt(int index) const { return index >= 0 && index < GetSize() ? m_slots[size_t(index)] : nullptr; }
    void Add(CFrameSlot* slot) { m_slots.push_back(slot); }
    void DeleteAll();
    // Drops every filtered copy; a slot that had one goes back to state 0.
    void ResetSlots();

private:
    std::vector<CFrameSlot*> m_slots;
};

class CPlaylistItem {
public:
    CPlaylistItem();
    virtual ~CPlaylistItem();
    CPlaylistItem(const CPlaylistItem&) = delete;
    CPlaylistItem& operator=(const CPlaylistItem&) = delete;

    CString m_strPath;
    int Width = 0;
    int Height = 0;
    int FrameCount = 0;
    int Duration = 0;       // milliseconds
    int64_t Size = 0;
    int LoopCount = 0;
    int m_nBackColor = -1;  // COLORREF, -1 none
    CString Comment;
    int Reverse = 0, FlipHorz = 0, FlipVert = 0, RotateLeft = 0, RotateRight = 0, GrayScale = 0, Negate = 0;
    CrImage m_thumbnail;
    CrImage m_display;
    CrImage m_icon;
    CString m_strName, m_strResolution, m_strFrameCount, m_strDuration, m_strSize;
    CrImageGIFEx m_frames;
    CFrameArray m_slots;
    CString ThumbnailFile;
    std::atomic<int> State{ITEM_NEW};
    std::atomic<int> m_nLoadStatus{LOAD_IDLE};
    // Why the file cannot be played; written before the state or load status that says so.
    std::atomic<int> m_nProblem{PROBLEM_NONE};
    CGIFLoadThread* m_pLoadThread = nullptr;

    // 0, or -1 when the file does not exist (nothing changes then).
    int Open(const CString& path);
    // Open for a file the user named: one that cannot be played still becomes the entry for its
    // path (State -1, its name text and its problem), so the user can be told about it. 0 or -1.
    int OpenOrExplain(const CString& path);
    // The file's information or its frames could not be read: playing it shows why instead.
    bool IsUnplayable() const { return State == ITEM_UNREADABLE || m_nLoadStatus == LOAD_FAILED; }
    const wchar_t* GetProblemText() const { return ProblemText(m_nProblem); }
    int LoadInfo(bool force);
    int ReadInfo(bool force);
    int EnsureThumbnail();
    int UpdateDescription();
    void Reset();
    // On the load thread: decodes every frame, reporting to `callback`; `cancel` non-zero stops it.
    int LoadFrames(ILoadCallback* callback, const std::atomic<int>* cancel);
    void FreeFrames(bool force);
    CrImage* GetFrame(int index);
    // The decoded frame shown at `index` (reverse order applied), without the other filters.
    CrImage* GetSourceFrame(int index) const;
    CrImage* GetImage(int type);
    void ResetFilters();
    void FreeDisplayImage() { m_display.Destroy(); }
    // A stored fact that is impossible (negative, or beyond the bounds above).
    bool HasImplausibleFacts() const;
    bool HasFilters() const { return FlipHorz || FlipVert || RotateLeft || RotateRight || GrayScale || Negate; }

    // What the load callbacks do to the item's slots (the load thread adds the control bar).
    void OnFramesFound();
    void OnFrameDecoded(int index);
    void OnLoadFinished(bool cancelled);

    // Windows only (GIFLoadThread.cpp).
    int StartLoadThread();
    int CancelLoading();
    int StopLoading();
    int WaitLoadThread();

private:
    void ApplyFilters(CrImage& image) const;
    void ScaleToThumbnailSize(CrImage& source, CrImage& target) const;
    void SetResolutionText();
    void MarkUnreadable();
};

// The decoder's reports applied to an item's slots.
class CFrameLoadCallback : public ILoadCallback {
public:
    explicit CFrameLoadCallback(CPlaylistItem* item) : m_pItem(item) {}
    virtual ~CFrameLoadCallback() = default;

    CPlaylistItem* m_pItem;
    std::atomic<int> m_nCancel{0};   // 2 asks the load to stop

    int OnFramesFound(CrImageGIF* gif, GifLoadInfo* info) override;
    int OnFrameDecoded(CrImageGIF* gif, GifLoadInfo* info) override;
    int OnLoadFinished(CrImageGIF* gif, GifLoadInfo* info) override;
};

// The frame prepared for showing: 24 bits per pixel without a transparent index, unless it is
// a grey-scale palette image; a delay of 0 becomes 10.
void NormaliseFrame(CrImage& frame);
// Whole-image filters, in the order the viewer applies them.
void ApplyImageFilters(CrImage& image, bool flipHorz, bool flipVert, bool rotateLeft, bool rotateRight, bool negate,
                       bool grayScale);
