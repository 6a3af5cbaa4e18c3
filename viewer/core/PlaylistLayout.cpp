#include "PlaylistLayout.h"

#include <algorithm>
#include <cwctype>

#include "ViewerFiles.h"

namespace {

ViewRect Shrunk(const ViewRect& r, int left, int top, int right, int bottom)
{
    return ViewRect{r.left + left, r.top + top, r.right - right, r.bottom - bottom};
}

// Floor division for positions left of or above the content.
int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

} // namespace

ViewSize PlaylistCellSize(int thumbnailCx, int thumbnailCy, bool showTitle, int textHeight)
{
    return ViewSize{thumbnailCx + 2, showTitle ? thumbnailCy + 6 + textHeight : thumbnailCy + 2};
}

ViewRect ThumbnailBox(const ViewRect& cell, int thumbnailCy)
{
    return ViewRect{cell.left + 1, cell.top + 1, cell.right - 1, cell.top + 1 + thumbnailCy};
}

CellButtons GridButtons(const ViewRect& cell, int thumbnailCy)
{
    const ViewRect box = ThumbnailBox(cell, thumbnailCy);
    return CellButtons{ViewRect{box.left, box.bottom - 32, box.left + 32, box.bottom},
                       ViewRect{box.right - 32, box.top, box.right, box.top + 32}};
}

CellButtons GridButtonHitAreas(const ViewRect& cell, int thumbnailCy)
{
    const CellButtons drawn = GridButtons(cell, thumbnailCy);
    return CellButtons{Shrunk(drawn.play, 0, 4, 4, 0), Shrunk(drawn.remove, 8, 0, 0, 8)};
}

CellButtons ListButtons(const ViewRect& row)
{
    const int top = row.top + (row.Height() - 20) / 2;
    return CellButtons{ViewRect{row.left + 4, top, row.left + 24, top + 20},
                       ViewRect{row.right - 20, top, row.right, top + 20}};
}

CellButton ButtonAt(const CellButtons& areas, int x, int y)
{
    if (RectContains(areas.play, x, y))
        return CellButton::Play;
    if (RectContains(areas.remove, x, y))
        return CellButton::Remove;
    return CellButton::None;
}

ViewRect ListIconBox(const ViewRect& row)
{
    const int top = row.top + (row.Height() - 24) / 2;
    return ViewRect{row.left + 28, top, row.left + 52, top + 24};
}

std::vector<ViewRect> LabelRects(const ViewRect& box, const std::vector<int>& textWidths)
{
    std::vector<ViewRect> labels;
    int bottom = box.bottom - 3;
    for (int width : textWidths) {
        if (width < 0) {
            labels.push_back(ViewRect{0, 0, 0, 0});
            continue;
        }
        const int wide = (width + 6 + 3) / 4 * 4;
        ViewRect label{box.right - 3 - wide, bottom - 14, box.right - 3, bottom};
        const bool fits = label.left >= box.left && label.top >= box.top;
        labels.push_back(fits ? label : ViewRect{0, 0, 0, 0});
        bottom -= 16;
    }
    return labels;
}

DropPlace FindDropTarget(CGridListCore& view, int x, int y, int dragged)
{
    const DropPlace none{-1, false};
    const int count = view.GetItemCount();
    ViewRect content;
    view.GetContentRect(content);
    if (count == 0 || !RectContains(content, x, y))
        return none;
    DropPlace place{0, false};
    if (view.IsGrid()) {
        const int columns = view.ComputeColumns();
        const int rowStep = std::max(1, view.RowStep());
        const int yy = y - content.top - view.m_nTopMargin + view.GetScrollPosition();
        const int lastRow = (count - 1) / columns;
        const int row = std::clamp(FloorDiv(yy + view.m_nVSpacing / 2, rowStep), 0, lastRow);
        if (columns > 1) {
            const int step = std::max(1, view.ColumnStep());
            const int xx = x - content.left - view.m_nLeftMargin;
            const int inRow = std::min(columns, count - row * columns);
            const int column = std::clamp(FloorDiv(xx + view.m_nHSpacing / 2, step), 0, inRow - 1);
            place = DropPlace{row * columns + column, xx >= column * step + view.m_nCellWidth / 2};
        } else {
            place = DropPlace{row, yy >= row * rowStep + view.m_nCellHeight / 2};
        }
    } else {
        const int line = std::max(1, view.m_nLineHeight);
        const int yy = y - content.top + view.GetScrollPosition() * line;
        const int row = std::clamp(FloorDiv(yy, line), 0, count - 1);
        place = DropPlace{row, yy - row * line >= line / 2};
    }
    if (place.index == dragged || (place.index == dragged - 1 && place.after) ||
        (place.index == dragged + 1 && !place.after))
        return none;
    return place;
}

ViewRect DropBarRect(CGridListCore& view, const DropPlace& place)
{
    ViewRect cell;
    if (place.index < 0 || !view.GetItemRect(place.index, cell))
        return ViewRect{0, 0, 0, 0};
    if (view.IsGrid() && view.ComputeColumns() > 1) {
        const int x = place.after ? cell.right + view.m_nHSpacing / 2 - 1 : cell.left - view.m_nHSpacing / 2 - 1;
        return ViewRect{x, cell.top, x + 2, cell.bottom};
    }
    if (view.IsGrid()) {
        const int y = place.after ? cell.bottom + view.m_nVSpacing / 2 - 1 : cell.top - view.m_nVSpacing / 2 - 1;
        return ViewRect{cell.left, y, cell.right, y + 2};
    }
    return place.after ? ViewRect{cell.left, cell.bottom - 2, cell.right, cell.bottom}
                       : ViewRect{cell.left, cell.top, cell.right, cell.top + 2};
}

bool MoveCell(CGridListCore& view, int from, int to)
{
    const int count = view.GetItemCount();
    if (from < 0 || from >= count || to < 0 || to > count || to == from || to == from + 1)
        return false;
    CGridCell* cell = view.m_cells[size_t(from)];
    view.m_cells.insert(view.m_cells.begin() + to, cell);
    view.m_cells.erase(view.m_cells.begin() + (to < from ? from + 1 : from));
    return true;
}

int CTypeAhead::Search(const std::vector<CString>& names, wchar_t typed) const
{
    const wchar_t wanted = static_cast<wchar_t>(std::towlower(typed));
    for (size_t i = 0; i < names.size(); i++) {
        const CString& name = names[i];
        if (name.GetLength() > m_position && static_cast<wchar_t>(std::towlower(name[m_position])) == wanted)
            return static_cast<int>(i);
    }
    return -1;
}

int CTypeAhead::Type(const std::vector<CString>& names, wchar_t typed, unsigned tick)
{
    if (m_typed && tick - m_lastTick <= 500)
        m_position++;
    else
        m_position = 0;
    m_typed = true;
    m_lastTick = tick;
    int found = Search(names, typed);
    if (found < 0 && m_position > 0) {
        m_position = 0;
        found = Search(names, typed);
    }
    return found;
}

int PlaylistSaveFormat(const CString& path, int filterIndex, CString& savedPath)
{
    static const wchar_t* const kExtensions[] = {L".playlist", L".m3u", L".pls"};
    savedPath = path;
    const CString extension = ViewerFiles::LowerExtension(path);
    for (int format = 1; format <= 3; format++)
        if (extension == kExtensions[format - 1])
            return format;
    const int format = filterIndex >= 1 && filterIndex <= 3 ? filterIndex : 1;
    if (extension.IsEmpty())
        savedPath += kExtensions[format - 1];
    return format;
}

ViewRect WelcomeButtonRect(int index, int width, int height)
{
    const int left = FloorDiv(width - 256, 2) + (index ? 160 : 0);
    const int top = FloorDiv(height - 96, 2);
    return ViewRect{left, top, left + 96, top + 96};
}

CString CutText(const CString& text, int limit)
{
    if (text.GetLength() <= limit)
        return text;
    int length = limit;
    // A high surrogate at the end would lose its partner.
    if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF)
        length--;
    return text.Left(length);
}
