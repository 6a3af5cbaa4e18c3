#pragma once
// The cells of the grid and list view: their layout, hit tests, scroll ranges, selection, focus
// and hover, and what the mouse, the arrow keys, the wheel and the rubber band do to them.
// Portable: the window (GridListView.h) supplies the client size and the scroll position and
// repaints what changes.
#include <cstdint>
#include <vector>

#include "ViewGeometry.h"

enum : int {
    GRID_MODE_GRID = 1,
    GRID_MODE_LIST = 2,
    GRID_MODE_FIXED_COLUMNS = 0x10,   // the column count is kept as set
    CELL_SELECTED = 1,                // the other flag bits are the subclass's
};

// The Windows key codes the view answers.
enum : unsigned {
    GRID_KEY_LEFT = 0x25,
    GRID_KEY_UP = 0x26,
    GRID_KEY_RIGHT = 0x27,
    GRID_KEY_DOWN = 0x28,
};

// The scroll bar's codes (the Windows SB_ values).
enum : int {
    GRID_SB_LINEUP = 0,
    GRID_SB_LINEDOWN = 1,
    GRID_SB_PAGEUP = 2,
    GRID_SB_PAGEDOWN = 3,
    GRID_SB_THUMBPOSITION = 4,
    GRID_SB_THUMBTRACK = 5,
    GRID_SB_TOP = 6,
    GRID_SB_BOTTOM = 7,
};

class CGridCell {
public:
    virtual ~CGridCell() = default;
    int m_nFlags = 0;
    void* m_pData = nullptr;   // the subclass's
};

struct GridScrollRange {
    int maximum;
    int page;
};

class CGridListCore {
public:
    uint32_t m_crBackground = 0xFFFFFF;   // COLORREF
    int m_nMode = GRID_MODE_GRID;
    int m_nInsetLeft = 0, m_nInsetTop = 0, m_nInsetRight = 0, m_nInsetBottom = 0;
    int m_nCellWidth = 240;
    int m_nCellHeight = 160;
    int m_nLeftMargin = 16;
    int m_nTopMargin = 16;
    int m_nHSpacing = 16;
    int m_nVSpacing = 16;
    int m_nLineHeight = 24;
    int m_nColumns = 1;
    std::vector<CGridCell*> m_cells;
    int m_nFocus = -1;
    int m_nHover = -1;
    int m_nPressX = -1, m_nPressY = -1;

    CGridListCore() = default;
    virtual ~CGridListCore();
    CGridListCore(const CGridListCore&) = delete;
    CGridListCore& operator=(const CGridListCore&) = delete;

    bool IsGrid() const { return (m_nMode & 0x0F) == GRID_MODE_GRID; }
    bool IsList() const { return (m_nMode & 0x0F) == GRID_MODE_LIST; }
    int GetItemCount() const { return static_cast<int>(m_cells.size()); }
    // The grid's step from one cell to the next.
    int ColumnStep() const { return m_nCellWidth + m_nHSpacing; }
    int RowStep() const { return m_nCellHeight + m_nVSpacing; }

    // ---- overridables ----
    virtual int SelectItem(int index, bool select, bool clearOthers, bool redraw);
    virtual void SelectRange(int first, int last, bool select, bool redraw);
    virtual int SetFocusItem(int index, bool redraw);
    virtual int SetHotItem(int index, bool redraw);
    virtual int AddItem(void* data, bool update);
    virtual int InsertItem(int index, void* data, bool update);
    virtual int DeleteItem(int index, bool update);
    virtual void DeleteAllItems(bool update);
    virtual void SwapItems(int a, int b);
    virtual int HitTestGrid(int x, int y);
    virtual int HitTestList(int x, int y);
    // 1 with the cell's rectangle, 0 (and an empty one) out of range.
    virtual int GetItemRect(int index, ViewRect& rect);
    virtual void GetContentRect(ViewRect& rect) const;
    // The hit rectangle of a cell from its box.
    virtual void MakeRect(int index, int left, int top, int right, int bottom, ViewRect& rect);
    virtual void UpdateScrollBars();
    virtual void ScrollTo(int position);
    virtual CGridCell* NewCell() { return new CGridCell; }
    virtual void DeleteCell(CGridCell* cell) { delete cell; }

    // ---- what the window supplies ----
    virtual ViewRect GetClientArea() const = 0;
    virtual int GetScrollPosition() const = 0;
    // Sets the position, kept inside the range; the view repaints.
    virtual void SetScrollPosition(int position) = 0;
    virtual void SetScrollRange(GridScrollRange range) = 0;
    virtual bool HasWindow() const = 0;
    virtual void RedrawRect(const ViewRect&) {}
    virtual void RedrawAll() {}

    // ---- cells ----
    int GetSelectedCount() const;
    // The first selected index at or after `from`, -1 when none.
    int GetNextSelected(int from) const;
    void* GetItemData(int index) const;
    void SetItemData(int index, void* data);
    int GetItemFlags(int index) const;
    void SetItemFlags(int index, int clearMask, int setMask, bool redraw);
    bool IsSelected(int index) const { return (GetItemFlags(index) & CELL_SELECTED) != 0; }
    void RedrawItem(int index);
    void SelectAll(bool select, bool redraw);
    void EnsureVisible(int index);
    int HitTest(int x, int y) { return IsGrid() ? HitTestGrid(x, y) : HitTestList(x, y); }
    // The columns the grid has in the present width (at least 1), as the cell rectangles use it.
    int ComputeColumns();
    // The first cell that can be visible in the grid.
    int FirstGridCandidate() const;
    // The first line that can be visible in the list.
    int FirstListLine() const { return GetScrollPosition() < 0 ? 0 : GetScrollPosition(); }
    // The largest scroll position the range last set allows.
    int GetScrollLimit() const;

    // ---- input ----
    void OnLeftButtonDown(int x, int y, bool shift, bool ctrl);
    void OnLeftButtonUp() { m_nPressX = m_nPressY = -1; }
    void OnRightButtonDown(int x, int y, bool ctrl);
    // True when the move starts a rubber band from the press point (which is then cleared).
    bool OnMouseMove(int x, int y, bool leftHeld);
    void OnMouseLeave() { SetHotItem(-1, true); }
    void OnMouseWheel(int delta);
    // False for keys (and moves) the view leaves to the default handling.
    bool OnKeyDown(unsigned key, bool shift, bool ctrl);
    void OnVScroll(int code, int thumbPosition);
    // The band changed (normalised, client coordinates) while the pointer is at `pointerY`:
    // selects by overlap and scrolls when the pointer is beyond the content. The result is how
    // far the content moved up, in pixels (the band's anchor moves with it).
    int OnBandChanged(const ViewRect& band, int pointerY);
    // A cell is taken into the band by at least a quarter of its width or height; a list row
    // by a line height across or half a line height down.
    bool BandTakesCell(const ViewRect& cell, const ViewRect& band) const;

protected:
    // The cell at the index, null out of range.
    CGridCell* CellAt(int index) const;

    GridScrollRange m_scrollRange{0, 0};
};

// The overlap of two rectangles (empty when they do not meet).
ViewRect IntersectRects(const ViewRect& a, const ViewRect& b);
inline bool RectContains(const ViewRect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }
