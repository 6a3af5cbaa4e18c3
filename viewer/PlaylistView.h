#pragma once
// The playlist pane: the items as a grid of thumbnails or a list of rows, with their states and
// buttons, the playlist commands (open, add, remove, move, save, filters, display options),
// dropping, drag reordering, type-ahead, tooltips and the default playlist kept between runs.
// It owns the items (the cells' data) and the job queue that fills it: files, folders and
// playlist files are read on the queue thread, which hands each new item to the window thread.
// The members live in PlaylistView*.cpp by concern: the window and its items (PlaylistView.cpp),
// painting the cells (Cells), keyboard, mouse and tooltips (Input), drops and drag reordering
// (DragDrop), the queue's work (Queue), playlist files (Files) and the commands (Commands).
#include <atomic>

#include "CImageList.h"
#include "CSync.h"
#include "Collections.h"
#include "Controls.h"
#include "GridListView.h"
#include "PlaylistLayout.h"
#include "PlaylistQueue.h"

class CPlaylistItem;

class CPlaylistView : public CGridListView {
    FW_DECLARE_MESSAGE_MAP()
public:
    enum { STYLE_GRID = 1, STYLE_LIST = 2 };
    static constexpr int kListLineHeight = 26;
    static constexpr COLORREF kBackground = RGB(32, 32, 32);
    // Transparent in the status icons and around the dragged cell's image.
    static constexpr COLORREF kDragMask = RGB(255, 0, 255);

    CImageList m_gridStatusIcons;
    CImageList m_listStatusIcons;
    CImageList m_gridButtons;
    CImageList m_listButtons;
    CImageList m_labelPieces;

    CJobList m_jobs;
    CQueueThread* m_pQueueThread = nullptr;
    std::atomic<int> m_nPlayWhenReady{-1};
    bool m_bClosing = false;
    std::atomic<bool> m_bModified{false};
    // Held by the window thread while it changes the cells and paints the items, and by the
    // queue thread while it looks through them or reads an item's information.
    CCriticalSection m_itemLock;

    int m_nViewStyle = STYLE_GRID;
    int m_bShowTitle = 1, m_bShowThumbnail = 1, m_bShowDuration = 1, m_bShowResolution = 1, m_bShowFrameCount = 1;

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
    CPlaylistItem* GetItem(int index) const { return static_cast<CPlaylistItem*>(GetItemData(index)); }
    int FindItem(const CPlaylistItem* item);
    // Replaces the playlist with one path; the first item that arrives plays.
    int OpenPath(const CString& path);
    // Replaces the playlist with paths queued in order; with `play` the first item that arrives plays.
    int ReplaceWithPaths(const CStringArray& paths, bool play);
    // Appends paths queued in order (nothing plays by itself).
    void AppendPaths(const CStringArray& paths);
    int OpenPlaylist(const CString& path, bool autoplay, bool addToRecent);
    int SavePlaylist(const CString& path, int format, int flag, bool addToRecent);
    int LoadDefaultPlaylist();
    void RemoveAllItems();
    // Removes one item (closing it first when it is playing).
    void RemoveItemAt(int index);
    void RemoveSelected();
    // Removes one item as Remove does for a selection (its button, a drag out of the frame).
    void RemoveOne(int index);
    virtual void MoveItem(int from, int to);
    int PlayIndex(int index, CView* host);
    int GetCurrentIndex();
    CPlaylistItem* GetNextItem(bool wrap, bool* last);
    CPlaylistItem* GetPrevItem(bool wrap, bool* first);
    void UpdateStatus();
    // The thumbnail size changed: every item makes its display image anew at the new size.
    void RebuildThumbnails();
    // The cell size for the thumbnail size and the title setting.
    void RecalcCellSize();
    void SetViewStyle(int style);
    void SetThumbnailSize(int side);
    // Moves the canvas over the current item when it plays in place here.
    void PlaceCanvas();
    bool IsPlaying(const CPlaylistItem* item) const;
    bool IsPaused(const CPlaylistItem* item) const;

    // ---- cells ----
    int SelectItem(int index, bool select, bool clearOthers, bool redraw) override;
    void SwapItems(int a, int b) override;
    void DrawGridCell(CDC* dc, int index, const CRect& cell) override;
    void DrawListRow(CDC* dc, int index, const CRect& row) override;
    void DeleteCell(CGridCell* cell) override;
    void DrawBackground(CDC* dc, const CRect& rect) override;
    void OnDraw(CDC* dc) override;

    void OnInitialUpdate() override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    void OnContextMenu(CWnd* wnd, CPoint point);
    void OnChar(UINT ch, UINT repeat, UINT flags);
    void OnMouseMove(UINT flags, CPoint point);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnRButtonUp(UINT flags, CPoint point);
    void OnMButtonUp(UINT flags, CPoint point);
    BOOL OnSetCursor(CWnd* wnd, UINT hit, UINT message);
    LRESULT OnCaptureChanged(WPARAM, LPARAM lParam);
    void OnToolTipText(NMHDR* header, LRESULT* result);
    LRESULT OnQueueFinished(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueueInsertItem(WPARAM wParam, LPARAM lParam);
    LRESULT OnItemAdded(WPARAM wParam, LPARAM lParam);
    LRESULT OnItemInfo(WPARAM wParam, LPARAM lParam);
    LRESULT OnLoadFinished(WPARAM wParam, LPARAM lParam);
    LRESULT OnDropFiles(WPARAM wParam, LPARAM lParam);
    LRESULT OnDropForwarded(WPARAM wParam, LPARAM lParam);

    // ---- commands ----
    void OnOpenFile();
    void OnAddFile();
    void OnAddPlaylist();
    void OnOpenFolder() { ChooseFolder(L"Open Folder", L"Open Folder to Play"); }
    void OnAddFolder() { ChooseFolder(L"Add Folder", L"Add Folder to Playlist"); }
    void OnOpenPlaylist();
    void OnSavePlaylist();
    void OnRecentPlaylist(UINT id);
    void OnUpdateRecentPlaylists(CCmdUI* ui);
    void OnClearRecentPlaylists();
    void OnUpdateClearRecentPlaylists(CCmdUI* ui);
    void OnRemove() { RemoveSelected(); }
    void OnUpdateRemove(CCmdUI* ui);
    void OnRemoveAll();
    void OnUpdateNeedsItems(CCmdUI* ui) { ui->Enable(GetItemCount() > 0); }
    void OnUpdateNoQueue(CCmdUI* ui) { ui->Enable(m_pQueueThread == nullptr); }
    void OnSelectAll() { SelectAll(true, true); }
    void OnMoveUp() { MoveSelected(-1); }
    void OnMoveDown() { MoveSelected(1); }
    void OnUpdateMoveUp(CCmdUI* ui) { ui->Enable(GetNextSelected(0) > 0); }
    void OnUpdateMoveDown(CCmdUI* ui);
    void OnPlaySelected();
    void OnGifInfo();
    void OnUpdatePlaySelected(CCmdUI* ui);
    void OnShowInFolder();
    void OnUpdateNeedsSelection(CCmdUI* ui) { ui->Enable(GetNextSelected(0) >= 0); }
    void OnShowTitle();
    void OnUpdateShowTitle(CCmdUI* ui);
    void OnShowThumbnail();
    void OnUpdateShowThumbnail(CCmdUI* ui);
    void OnShowFlag(UINT id);
    void OnUpdateShowFlag(CCmdUI* ui);
    void OnThumbnailSize(UINT id);
    void OnUpdateThumbnailSize(CCmdUI* ui);
    void OnViewStyle(UINT id);
    void OnUpdateViewStyle(CCmdUI* ui);
    void OnFilter(UINT id);
    void OnUpdateFilter(CCmdUI* ui);

private:
    void DeleteItemAndFiles(CPlaylistItem* item);
    // Before the playlist is replaced: no queue, no jobs, no items, nothing waiting to play.
    void ClearPlaylist();
    // Removing stops the queue and goes on with its jobs afterwards.
    void BeginRemoving();
    void EndRemoving();
    void TakeDrop(HDROP drop, bool replace);
    void ChooseFolder(const wchar_t* title, const wchar_t* prompt);
    // The paths the user chose in a file dialog, or none.
    CStringArray AskForFiles(const wchar_t* title, const wchar_t* filter, bool multiple, bool storeFilter);
    void MoveSelected(int step);
    int* ShowFlag(UINT id);
    int* FilterFlag(CPlaylistItem* item, UINT id);
    CPlaylistItem* FirstSelectedItem() const { return GetItem(GetNextSelected(0)); }

    // ---- painting helpers ----
    CFont* CellFont() const;
    void DrawThumbnail(CDC* dc, CPlaylistItem* item, const CRect& box);
    void DrawLabels(CDC* dc, CPlaylistItem* item, const CRect& box);
    void DrawCellButtons(CDC* dc, int index, const CellButtons& buttons, CImageList& images, int size);
    bool IsDragImageCell(int index) const { return m_bPaintingDragImage && index == m_nDragIndex; }

    // ---- buttons, drag reordering, tooltips ----
    CellButtons HoverButtonAreas();
    CellButtons HoverButtonRects();
    int ButtonUnder(CPoint point);
    // The hover or the pressed button (a command id or -1), redrawn when it changes.
    void SetButtonState(int& state, int command);
    void RunButton(int command, int index);
    void BeginItemDrag(CPoint point);
    void MoveItemDrag(CPoint point);
    void EndItemDrag(CPoint point, bool cancelled);
    void DrawDropBar(const DropPlace& place);
    // The dragged image is drawn in the frame window, at points of its window rectangle.
    HWND DragImageWindow() const;
    CPoint DragImagePoint(CPoint point) const;
    void ShowDragImage(bool show);
    bool PointInFrame(CPoint screenPoint) const;
    void UpdateToolTip();

    // ---- the canvas playing in a cell: the pointer on it is on its cell ----
    bool IsCanvasInPlace(HWND hwnd) const;
    // The hovered cell, with the buttons' hover and the tooltip following it.
    void SetHover(int index);
    // The canvas's item becomes the hovered cell, until the pointer leaves the canvas.
    void HoverCanvas();
    // After the pointer left the view or the canvas: the cell now under it, or none.
    void HoverUnderPointer();
    // A mouse message for the canvas; true when it was taken here.
    bool OnCanvasMouse(const MSG& msg);

    HCURSOR m_hArrowCursor = nullptr;
    HCURSOR m_hDragGridCursor = nullptr;     // 137
    HCURSOR m_hDragListCursor = nullptr;     // 136
    HCURSOR m_hDragRemoveCursor = nullptr;   // 135
    HCURSOR m_hDragPlayCursor = nullptr;     // 402
    HCURSOR m_hLastCursor = nullptr;
    int m_nHoverButton = -1;
    int m_nPressedButton = -1;
    CPoint m_dragStart{-1, -1};
    CImageList* m_pDragImage = nullptr;
    int m_nDragIndex = -1;
    DropPlace m_dropTarget{-1, false};
    bool m_bPaintingDragImage = false;
    bool m_bDragImageEntered = false;   // shown in the frame window, hidden around painting
    int m_nTextHeight = 0;
    CTypeAhead m_typeAhead;
    CToolTipCtrl m_toolTip;
    int m_nTipItem = -1;
    CString m_strTip;
    char m_szTipA[256] = {};
};
