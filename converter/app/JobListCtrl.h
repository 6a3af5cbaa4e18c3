#pragma once
// The main dialog's job list: a report list whose rows are conversion items. Every row is drawn
// here (state image, thumbnails, names, links, info lines, remove button, progress line); the
// in-row links run their commands, rows can be dragged to a new place or out of the list, and the
// dialog's status setters write the current row's progress into it. Its members are defined by
// concern: JobListCtrl.cpp (parts, rows, renaming), ...Paint, ...Links and ...Drag.
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "CImageList.h"
#include "FixedPosEdit.h"
#include "HeaderCtrlEx.h"
#include "JobRowLayout.h"
#include "ListCtrlEx.h"

class CConvertListItem;
class CDC;

// The window that owns the job list removes its rows (it owns their items and may have to stop
// the run first).
class CJobListOwner {
public:
    virtual ~CJobListOwner() = default;
    virtual void RemoveRow(int row) = 0;
};

class CJobListCtrl : public CListCtrlEx {
    FW_DECLARE_MESSAGE_MAP()
public:
    CJobListCtrl();
    ~CJobListCtrl() override;

    // The image lists and the header; -1 when an image list cannot be made.
    int SetUpParts();

    // The viewer on the row's source (the shell's open verb when the viewer is missing); -1
    // when the source is gone.
    int PlayInput(int row);
    // The completed row's output through the shell; -1 when there is none.
    int PlayOutput(int row);
    // The file shown in its folder; "Folder/file does not exist!" and -1 when it is gone.
    int OpenInputFolder(int row);
    int OpenOutputFolder(int row);
    void RemoveRow(int row);
    void RedrawCell(int row, int column);
    // 1 when the row moved to before `to`, 0 when it stays (its own place, or it is converting).
    int MoveRow(int from, int to);

    CConvertListItem* GetRowItem(int row) const;
    // The command of the link or button under a client point, and its row.
    int LinkAt(CPoint point, int* row = nullptr) const;

    // In-place rename of a row's output (the dialog decides when).
    void SetEditTarget(int row, int column);
    int GetEditRow() const { return m_editRow; }
    int GetEditColumn() const { return m_editColumn; }
    // Begins editing the target row's label when the target is set.
    void StartEdit();
    // On LVN_BEGINLABELEDIT: true when the target is column 2 of a completed row; the list's edit
    // box then sits over that column's text with its text.
    bool BeginRenameEdit();
    // On LVN_ENDLABELEDIT: lets the edit box go and clears the target.
    void EndRenameEdit();

    // The current row's progress as the dialog's run writes it.
    void SetBusy(int busy) { m_busy = busy; }
    int IsBusy() const { return m_busy; }
    void SetIndeterminate(int indeterminate) { m_indeterminate = indeterminate; }
    int IsIndeterminate() const { return m_indeterminate; }
    void SetProgress(int64_t value, int64_t range);
    int64_t GetProgressValue() const { return m_progressValue; }
    int64_t GetProgressRange() const { return m_progressRange; }
    void SetCurrentRowColour(COLORREF colour) { m_currentRowColour = colour; }
    COLORREF GetCurrentRowColour() const { return m_currentRowColour; }

    // The measures rows are laid out with (thumbnail box, line height, link widths).
    RowMetrics GetMetrics() const;
    bool IsDragging() const { return m_dragImage != nullptr; }

protected:
    // The action of a link or of the remove button on its row.
    virtual int RunLink(int command, int row);
    void PreSubclassWindow() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    int OnCreate(LPCREATESTRUCTW create);
    void OnCustomDraw(NMHDR* header, LRESULT* result);
    BOOL OnClick(NMHDR* header, LRESULT* result);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnDestroy();
    LRESULT OnCaptureChanged(WPARAM, LPARAM lParam);
    LRESULT OnSetImageList(WPARAM kind, LPARAM list);
    LRESULT OnGetImageList(WPARAM kind, LPARAM);

private:
    void DrawRow(CDC& dc, int row, const CRect& bounds, bool dragImage);
    void DrawRowBox(CDC& dc, const CRect& bounds, bool highlighted);
    void DrawStateCell(CDC& dc, int row, const RowRect& cell);
    void DrawFileCell(CDC& dc, int row, int column, const RowRect& cell, const CConvertListItem* item, COLORREF fill);
    void DrawThumbnail(CDC& dc, const RowRect& box, int row, const CConvertListItem* item, bool output, COLORREF fill);
    void DrawInfoLine(CDC& dc, const RowRect& area, const CConvertListItem& item, bool output);
    void DrawStatusCell(CDC& dc, int row, const RowRect& cell, const CConvertListItem* item);
    void DrawProgress(CDC& dc, const CRect& bounds);
    // The cells of a row in column order (index = column).
    std::vector<RowRect> RowCells(const CRect& bounds) const;
    std::vector<RowRect> RowBoundsList() const;
    std::vector<int> ColumnOrder() const;
    void MeasureTexts() const;
    HFONT NormalFont() const;
    HFONT BoldFont() const;
    HFONT HugeFont() const;
    bool IsCompleted(int row) const;
    bool IsCurrentRow(int row) const;
    int ShowInFolder(const CString& path);

    bool BeginDrag(CPoint point);
    void DragTo(CPoint point);
    void EndDrag(CPoint point);
    void CancelDrag();
    void StopDragging();
    void ShowDropMarker(const DropPosition& position);

    CFixedPosEdit m_edit;
    int m_editRow = -1;
    int m_editColumn = -1;
    // The last click was on a link: the list's own delayed label edit of that click is refused.
    bool m_linkClicked = false;
    CRect m_editRect;
    // Written by the run's thread, read when drawing.
    std::atomic<int> m_busy{0};
    std::atomic<int> m_indeterminate{0};
    std::atomic<int64_t> m_progressRange{0};
    std::atomic<int64_t> m_progressValue{0};
    std::atomic<COLORREF> m_currentRowColour;
    CHeaderCtrlEx m_header;
    CImageList m_headerImages;
    CImageList m_removeImages;
    CImageList m_infoImages;
    // The small image list the owner gave (it sets the row height) and the one the list shows
    // in its place where the list pads its rows.
    HIMAGELIST m_givenRowImages = nullptr;
    CImageList m_rowImages;
    int m_pressRow = -1;
    CPoint m_pressPoint{-1, -1};
    std::unique_ptr<CImageList> m_dragImage;
    int m_dragRow = -1;
    DropPosition m_drop;
    HCURSOR m_cursor = nullptr;

    // Measured once, on the first drawing.
    mutable int m_lineHeight = -1;
    mutable int m_playWidth = -1;
    mutable int m_openFolderWidth = -1;
};
