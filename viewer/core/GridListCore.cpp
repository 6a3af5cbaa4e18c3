#include "GridListCore.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

ViewRect IntersectRects(const ViewRect& a, const ViewRect& b)
{
    ViewRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (r.IsEmpty())
        return ViewRect{0, 0, 0, 0};
    return r;
}

CGridListCore::~CGridListCore()
{
    // The window deletes its cells (and their data) when it is destroyed; what is left is bare.
    for (CGridCell* cell : m_cells)
        delete cell;
}

CGridCell* CGridListCore::CellAt(int index) const
{
    return index >= 0 && index < GetItemCount() ? m_cells[size_t(index)] : nullptr;
}

// ---- layout ----

void CGridListCore::GetContentRect(ViewRect& rect) const
{
    ViewRect client = GetClientArea();
    rect = ViewRect{client.left + m_nInsetLeft, client.top + m_nInsetTop, client.right - m_nInsetRight,
                    client.bottom - m_nInsetBottom};
}

int CGridListCore::ComputeColumns()
{
    if (!(m_nMode & GRID_MODE_FIXED_COLUMNS)) {
        ViewRect content;
        GetContentRect(content);
        m_nColumns = std::max(1, content.Width() / std::max(1, ColumnStep()));
    }
    return std::max(1, m_nColumns);
}

int CGridListCore::GetItemRect(int index, ViewRect& rect)
{
    rect = ViewRect{0, 0, 0, 0};
    if (index < 0 || index >= GetItemCount())
        return 0;
    ViewRect content;
    GetContentRect(content);
    if (IsGrid()) {
        const int columns = ComputeColumns();
        const int left = content.left + m_nLeftMargin + (index % columns) * ColumnStep();
        const int top = content.top + m_nTopMargin + (index / columns) * RowStep() - GetScrollPosition();
        rect = ViewRect{left, top, left + m_nCellWidth, top + m_nCellHeight};
    } else {
        const int top = content.top + (index - GetScrollPosition()) * m_nLineHeight;
        rect = ViewRect{content.left, top, content.right, top + m_nLineHeight};
    }
    return 1;
}

void CGridListCore::MakeRect(int, int left, int top, int right, int bottom, ViewRect& rect)
{
    rect = ViewRect{left, top, right, bottom};
}

void CGridListCore::UpdateScrollBars()
{
    if (!HasWindow())
        return;
    ViewRect content;
    GetContentRect(content);
    const int count = GetItemCount();
    GridScrollRange range{0, 0};
    if (IsGrid()) {
        if (!(m_nMode & GRID_MODE_FIXED_COLUMNS))
            m_nColumns = std::max(1, (m_nHSpacing + content.Width() - 2 * m_nTopMargin) / std::max(1, ColumnStep()));
        const int columns = std::max(1, m_nColumns);
        const int rows = count / columns + (count % columns ? 1 : 0);
        range.maximum = m_nVSpacing * (rows - 1) + rows * m_nCellHeight + 2 * m_nTopMargin;
        range.page = std::max(0, content.Height());
    } else {
        const int line = std::max(1, m_nLineHeight);
        range.maximum = count;
        range.page = std::max(0, (content.Height() + line - 1) / line);
    }
    m_scrollRange = range;
    SetScrollRange(range);
    RedrawAll();
}

int CGridListCore::GetScrollLimit() const
{
    return std::max(0, m_scrollRange.maximum - std::max(m_scrollRange.page, 1) + 1);
}

void CGridListCore::ScrollTo(int position)
{
    SetScrollPosition(position);
    RedrawAll();
}

int CGridListCore::FirstGridCandidate() const
{
    const int first = (GetScrollPosition() - m_nTopMargin) / std::max(1, RowStep()) * std::max(1, m_nColumns);
    return std::max(0, first);
}

void CGridListCore::EnsureVisible(int index)
{
    if (index < 0 || index >= GetItemCount())
        return;
    ViewRect content;
    GetContentRect(content);
    const int position = GetScrollPosition();
    if (IsGrid()) {
        ViewRect cell;
        GetItemRect(index, cell);
        if (cell.top < content.top)
            ScrollTo(position - (content.top - cell.top));
        else if (cell.bottom > content.bottom)
            ScrollTo(position + (cell.bottom - content.bottom));
        return;
    }
    const int lines = content.Height() / std::max(1, m_nLineHeight);
    if (index < position)
        ScrollTo(index);
    else if (index >= position + lines)
        ScrollTo(index - std::max(lines, 1) + 1);
}

// ---- hit tests ----

int CGridListCore::HitTestGrid(int x, int y)
{
    ViewRect content;
    GetContentRect(content);
    ComputeColumns();
    for (int i = FirstGridCandidate(); i < GetItemCount(); i++) {
        ViewRect box, hit;
        GetItemRect(i, box);
        if (box.top >= content.bottom)
            break;
        MakeRect(i, box.left, box.top, box.right, box.bottom, hit);
        if (RectContains(hit, x, y))
            return i;
    }
    return -1;
}

int CGridListCore::HitTestList(int x, int y)
{
    ViewRect content;
    GetContentRect(content);
    for (int i = FirstListLine(); i < GetItemCount(); i++) {
        ViewRect row, hit;
        GetItemRect(i, row);
        if (row.top >= content.bottom)
            break;
        MakeRect(i, row.left, row.top, row.right, row.bottom, hit);
        if (RectContains(hit, x, y))
            return i;
    }
    return -1;
}

// ---- cells ----

int CGridListCore::SelectItem(int index, bool select, bool clearOthers, bool redraw)
{
    if (clearOthers)
        SelectAll(false, redraw);
    CGridCell* cell = CellAt(index);
    if (!cell || ((cell->m_nFlags & CELL_SELECTED) != 0) == select)
        return 1;
    if (select)
        cell->m_nFlags |= CELL_SELECTED;
    else
        cell->m_nFlags &= ~CELL_SELECTED;
    if (redraw)
        RedrawItem(index);
    return 0;
}

void CGridListCore::SelectRange(int first, int last, bool select, bool redraw)
{
    SelectAll(false, redraw);
    last = std::min(last, GetItemCount() - 1);
    for (int i = std::max(first, 0); i <= last; i++)
        SelectItem(i, select, false, redraw);
}

void CGridListCore::SelectAll(bool select, bool redraw)
{
    for (int i = 0; i < GetItemCount(); i++)
        SelectItem(i, select, false, redraw);
}

int CGridListCore::SetFocusItem(int index, bool redraw)
{
    if (index == m_nFocus)
        return 0;
    const int old = m_nFocus;
    m_nFocus = index;
    if (redraw) {
        RedrawItem(old);
        RedrawItem(index);
    }
    return 1;
}

int CGridListCore::SetHotItem(int index, bool redraw)
{
    if (index == m_nHover)
        return 0;
    const int old = m_nHover;
    m_nHover = index;
    if (redraw) {
        RedrawItem(old);
        RedrawItem(index);
    }
    return 1;
}

int CGridListCore::AddItem(void* data, bool update) { return InsertItem(GetItemCount(), data, update); }

int CGridListCore::InsertItem(int index, void* data, bool update)
{
    index = std::clamp(index, 0, GetItemCount());
    CGridCell* cell = NewCell();
    cell->m_pData = data;
    m_cells.insert(m_cells.begin() + index, cell);
    if (update)
        UpdateScrollBars();
    return index;
}

int CGridListCore::DeleteItem(int index, bool update)
{
    CGridCell* cell = CellAt(index);
    if (!cell)
        return 0;
    if (m_nFocus == index)
        m_nFocus = -1;
    if (m_nHover == index)
        m_nHover = -1;
    m_cells.erase(m_cells.begin() + index);
    DeleteCell(cell);
    if (update)
        UpdateScrollBars();
    return 1;
}

void CGridListCore::DeleteAllItems(bool update)
{
    m_nFocus = m_nHover = -1;
    while (!m_cells.empty())
        DeleteItem(0, false);
    if (update)
        UpdateScrollBars();
}

void CGridListCore::SwapItems(int a, int b)
{
    if (CellAt(a) && CellAt(b))
        std::swap(m_cells[size_t(a)], m_cells[size_t(b)]);
}

int CGridListCore::GetSelectedCount() const
{
    int count = 0;
    for (const CGridCell* cell : m_cells)
        count += (cell->m_nFlags & CELL_SELECTED) != 0;
    return count;
}

int CGridListCore::GetNextSelected(int from) const
{
    for (int i = std::max(from, 0); i < GetItemCount(); i++)
        if (m_cells[size_t(i)]->m_nFlags & CELL_SELECTED)
            return i;
    return -1;
}

void* CGridListCore::GetItemData(int index) const
{
    CGridCell* cell = CellAt(index);
    return cell ? cell->m_pData : nullptr;
}

void CGridListCore::SetItemData(int index, void* data)
{
    if (CGridCell* cell = CellAt(index))
        cell->m_pData = data;
}

int CGridListCore::GetItemFlags(int index) const
{
    CGridCell* cell = CellAt(index);
    return cell ? cell->m_nFlags : 0;
}

void CGridListCore::SetItemFlags(int index, int clearMask, int setMask, bool redraw)
{
    CGridCell* cell = CellAt(index);
    if (!cell)
        return;
    cell->m_nFlags = (cell->m_nFlags & ~clearMask) | setMask;
    if (redraw)
        RedrawItem(index);
}

void CGridListCore::RedrawItem(int index)
{
    ViewRect rect;
    if (GetItemRect(index, rect))
        RedrawRect(rect);
}

// ---- input ----

void CGridListCore::OnLeftButtonDown(int x, int y, bool shift, bool ctrl)
{
    const int hit = HitTest(x, y);
    if (hit < 0) {
        SelectAll(false, true);
        SetFocusItem(-1, true);
        m_nPressX = x;
        m_nPressY = y;
        return;
    }
    if (shift) {
        const int anchor = m_nFocus < 0 ? 0 : m_nFocus;
        SelectRange(std::min(hit, anchor), std::max(hit, anchor), true, true);
    } else if (ctrl) {
        SelectItem(hit, !IsSelected(hit), false, true);
    } else {
        SelectItem(hit, true, true, true);
    }
    SetFocusItem(hit, true);
}

void CGridListCore::OnRightButtonDown(int x, int y, bool ctrl)
{
    if (ctrl)
        return;
    const int hit = HitTest(x, y);
    if (hit < 0) {
        SelectAll(false, true);
        SetFocusItem(-1, true);
        return;
    }
    SelectItem(hit, true, !IsSelected(hit), true);
    SetFocusItem(hit, true);
}

bool CGridListCore::OnMouseMove(int x, int y, bool leftHeld)
{
    SetHotItem(HitTest(x, y), true);
    if (!leftHeld || m_nPressX < 0 || m_nPressY < 0 || GetItemCount() == 0)
        return false;
    const int dx = std::abs(x - m_nPressX), dy = std::abs(y - m_nPressY);
    if (!((dx > 3 && dy >= 1) || (dy > 3 && dx >= 1)))
        return false;
    m_nPressX = m_nPressY = -1;
    return true;
}

void CGridListCore::OnMouseWheel(int delta)
{
    if (IsGrid())
        ScrollTo(GetScrollPosition() - delta * m_nCellHeight / 120);
    else
        ScrollTo(GetScrollPosition() - delta / 120);
}

bool CGridListCore::OnKeyDown(unsigned key, bool shift, bool ctrl)
{
    const int count = GetItemCount();
    if (count == 0)
        return false;
    const int focus = m_nFocus;
    int target;
    if (IsGrid()) {
        const int columns = ComputeColumns();
        const int lastRow = (count - 1) / columns;
        switch (key) {
        case GRID_KEY_LEFT:
            if (focus == 0)
                return false;
            target = focus - 1;
            break;
        case GRID_KEY_RIGHT:
            if (focus == count - 1)
                return false;
            target = focus + 1;
            break;
        case GRID_KEY_UP:
            if (focus >= 0 && focus / columns == 0)
                return false;
            target = focus - columns;
            break;
        case GRID_KEY_DOWN:
            if (focus >= 0 && focus / columns == lastRow)
                return false;
            target = focus + columns;
            break;
        default:
            return false;
        }
    } else {
        switch (key) {
        case GRID_KEY_UP:
            if (focus == 0)
                return false;
            target = focus - 1;
            break;
        case GRID_KEY_DOWN:
            if (focus == count - 1)
                return false;
            target = focus + 1;
            break;
        default:
            return false;
        }
    }
    // Without a focus cell the first key starts at the first cell.
    target = focus < 0 ? 0 : std::clamp(target, 0, count - 1);
    if (shift)
        SelectItem(target, true, false, true);
    else if (!ctrl)
        SelectItem(target, true, true, true);
    SetFocusItem(target, true);
    EnsureVisible(target);
    return true;
}

void CGridListCore::OnVScroll(int code, int thumbPosition)
{
    ViewRect content;
    GetContentRect(content);
    const int position = GetScrollPosition();
    const int line = IsGrid() ? m_nCellHeight : 1;
    const int page = IsGrid() ? content.Height() : std::max(1, content.Height() / std::max(1, m_nLineHeight));
    switch (code) {
    case GRID_SB_LINEUP: ScrollTo(position - line); break;
    case GRID_SB_LINEDOWN: ScrollTo(position + line); break;
    case GRID_SB_PAGEUP: ScrollTo(position - page); break;
    case GRID_SB_PAGEDOWN: ScrollTo(position + page); break;
    case GRID_SB_THUMBPOSITION:
    case GRID_SB_THUMBTRACK: ScrollTo(thumbPosition); break;
    case GRID_SB_TOP: ScrollTo(0); break;
    case GRID_SB_BOTTOM: ScrollTo(INT_MAX); break;
    default: break;
    }
}

bool CGridListCore::BandTakesCell(const ViewRect& cell, const ViewRect& band) const
{
    ViewRect overlap = IntersectRects(cell, band);
    if (overlap.IsEmpty())
        return false;
    if (IsGrid())
        return overlap.Width() >= m_nCellWidth / 4 || overlap.Height() >= m_nCellHeight / 4;
    return overlap.Width() >= m_nLineHeight || overlap.Height() >= m_nLineHeight / 2;
}

int CGridListCore::OnBandChanged(const ViewRect& band, int pointerY)
{
    for (int i = IsGrid() ? 0 : FirstListLine(); i < GetItemCount(); i++) {
        ViewRect cell;
        GetItemRect(i, cell);
        SelectItem(i, BandTakesCell(cell, band), false, true);
    }
    ViewRect content;
    GetContentRect(content);
    const int position = GetScrollPosition();
    const int limit = GetScrollLimit();
    if (limit <= 0)
        return 0;
    int step = 0;
    if (pointerY < content.top - 8 && position > 0)
        step = IsGrid() ? pointerY - content.top : -1;
    else if (pointerY >= content.bottom + 9 && position < limit)
        step = IsGrid() ? pointerY - content.bottom : 1;
    if (step == 0)
        return 0;
    ScrollTo(position + step);
    const int moved = GetScrollPosition() - position;
    return IsGrid() ? moved : moved * m_nLineHeight;
}
