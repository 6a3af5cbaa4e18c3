#include "JobRowLayout.h"

#include <algorithm>

namespace {

constexpr int kThumbnailInset = 1;
constexpr int kTextInsetLeft = 8;
constexpr int kTextInsetRight = 6;
constexpr int kStatusInset = 6;
constexpr int kInfoTextOffset = 15;
constexpr int kInfoGap = 10;
constexpr int kSegmentWidth = 16;
constexpr int kSegmentStep = 24;
constexpr int kSegmentCount = 3;

// A band of the given height centred vertically in the cell.
RowRect CentredBand(const RowRect& cell, int left, int right, int height)
{
    const int top = cell.top + (cell.Height() - height) / 2;
    return {left, top, std::max(left, right), top + height};
}

RowRect ClippedRight(RowRect r, int right)
{
    r.right = std::min(r.right, right);
    if (r.right < r.left)
        r.right = r.left;
    return r;
}

} // namespace

RowRect RowBox(const RowRect& bounds)
{
    return {bounds.left + 2, bounds.top + 2, bounds.right, bounds.bottom - 2};
}

RowRect RowBoxFill(const RowRect& bounds)
{
    const RowRect box = RowBox(bounds);
    return {box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
}

std::vector<RowRect> CellRects(const RowRect& bounds, const std::vector<int>& widths)
{
    std::vector<RowRect> cells;
    int left = bounds.left;
    for (int width : widths) {
        cells.push_back({left, bounds.top, left + width, bounds.bottom});
        left += width;
    }
    return cells;
}

RowRect StateImageRect(const RowRect& cell)
{
    const int left = cell.left + (cell.Width() - kStateImageSide - 2) / 2 + 2;
    const int top = cell.top + (cell.Height() - kStateImageSide) / 2;
    return {left, top, left + kStateImageSide, top + kStateImageSide};
}

RowRect ThumbnailRect(const RowRect& cell, const RowMetrics& metrics)
{
    const int left = cell.left + kThumbnailInset;
    return CentredBand(cell, left, left + metrics.thumbnailWidth, metrics.thumbnailHeight);
}

RowRect FileTextArea(const RowRect& cell, const RowMetrics& metrics)
{
    const RowRect thumbnail = ThumbnailRect(cell, metrics);
    return CentredBand(cell, thumbnail.right + 1 + kTextInsetLeft, cell.right - kTextInsetRight, metrics.thumbnailHeight);
}

RowRect NameRect(const RowRect& textArea, const RowMetrics& metrics)
{
    return {textArea.left, textArea.top, textArea.right, std::min(textArea.bottom, textArea.top + metrics.lineHeight)};
}

RowRect PlayLinkRect(const RowRect& textArea, const RowMetrics& metrics)
{
    const RowRect line{textArea.left, textArea.bottom - metrics.lineHeight, textArea.left + metrics.playWidth,
                       textArea.bottom};
    return ClippedRight(line, textArea.right);
}

RowRect OpenFolderLinkRect(const RowRect& textArea, const RowMetrics& metrics)
{
    const int left = std::min(textArea.left + metrics.playWidth + kLinkGap, std::max(textArea.left, textArea.right));
    const RowRect line{left, textArea.bottom - metrics.lineHeight, left + metrics.openFolderWidth, textArea.bottom};
    return ClippedRight(line, textArea.right);
}

RowRect RenameEditRect(const RowRect& cell, const RowMetrics& metrics)
{
    const RowRect thumbnail = ThumbnailRect(cell, metrics);
    return CentredBand(cell, thumbnail.right + 2 + kTextInsetLeft, cell.right - kTextInsetRight,
                       metrics.thumbnailHeight + 2);
}

RowRect StatusTextRect(const RowRect& cell, const RowMetrics& metrics)
{
    return CentredBand(cell, cell.left + kStatusInset, cell.right - kStatusInset, metrics.thumbnailHeight);
}

RowRect RemoveButtonRect(const RowRect& bounds)
{
    const int top = RowBox(bounds).top;
    return {bounds.right - kRemoveButtonSide, top, bounds.right, top + kRemoveButtonSide};
}

std::vector<InfoPiece> LayoutInfoLine(const RowRect& textArea, const std::vector<int>& textWidths,
                                      const std::vector<bool>& present)
{
    std::vector<InfoPiece> pieces;
    if (textArea.IsEmpty())
        return pieces;
    const int top = textArea.top + (textArea.Height() - kInfoIconSide) / 2;
    int x = textArea.left;
    for (size_t i = 0; i < textWidths.size() && x < textArea.right; ++i) {
        if (i < present.size() && !present[i])
            continue;
        InfoPiece piece;
        piece.text = static_cast<int>(i);
        piece.icon = ClippedRight({x, top + 1, x + kInfoIconSide, top + 1 + kInfoIconSide}, textArea.right);
        const int textLeft = std::min(x + kInfoTextOffset, textArea.right);
        piece.label = ClippedRight({textLeft, top, textLeft + textWidths[i], top + kInfoIconSide}, textArea.right);
        pieces.push_back(piece);
        x += kInfoTextOffset + textWidths[i] + kInfoGap;
    }
    return pieces;
}

int LinkAt(int column, const RowRect& cell, const RowRect& bounds, const RowMetrics& metrics, bool completed,
           int x, int y)
{
    // The button is hit where it is drawn.
    if (column == JOB_COLUMN_STATUS)
        return RemoveButtonRect(bounds).Contains(x, y) ? JOB_LINK_REMOVE : JOB_LINK_NONE;
    if (column != JOB_COLUMN_INPUT && !(column == JOB_COLUMN_OUTPUT && completed))
        return JOB_LINK_NONE;
    const RowRect shrunk{cell.left, cell.top + 4, cell.right, cell.bottom - 4};
    const RowRect area = FileTextArea(shrunk, metrics);
    if (area.IsEmpty())
        return JOB_LINK_NONE;
    const bool input = column == JOB_COLUMN_INPUT;
    if (PlayLinkRect(area, metrics).Contains(x, y))
        return input ? JOB_LINK_PLAY_INPUT : JOB_LINK_PLAY_OUTPUT;
    if (OpenFolderLinkRect(area, metrics).Contains(x, y))
        return input ? JOB_LINK_OPEN_INPUT_FOLDER : JOB_LINK_OPEN_OUTPUT_FOLDER;
    return JOB_LINK_NONE;
}

RowRect ProgressLineRect(const RowRect& bounds)
{
    const RowRect box = RowBox(bounds);
    return {box.left, box.bottom - 1, box.right, box.bottom};
}

std::vector<ProgressPiece> ProgressPieces(const RowRect& line, int64_t value, int64_t range, bool indeterminate)
{
    std::vector<ProgressPiece> pieces;
    const int64_t width = line.Width();
    if (range <= 0 || width <= 0 || value < 0)
        return pieces;
    if (!indeterminate) {
        const int64_t filled = std::min(width, width * value / range);
        if (filled >= 1)
            pieces.push_back({line.left, line.left + static_cast<int>(filled)});
        return pieces;
    }
    const int64_t extended = width + kGradientWidth;
    const int head = line.left + static_cast<int>(std::min(extended, extended * value / range));
    for (int i = 0; i < kSegmentCount; ++i) {
        const int right = std::min(head - kSegmentStep * i, line.right);
        const int left = std::max(head - kSegmentStep * i - kSegmentWidth, line.left);
        if (right > left)
            pieces.push_back({left, right});
    }
    return pieces;
}

void SplitProgressPiece(const ProgressPiece& piece, ProgressPiece& solid, ProgressPiece& gradient)
{
    const int split = piece.right - piece.left <= kGradientWidth ? piece.left : piece.right - kGradientWidth;
    solid = {piece.left, split};
    gradient = {split, piece.right};
}

int ProgressPercent(int64_t value, int64_t range)
{
    if (range <= 0)
        return 0;
    return static_cast<int>(std::clamp<int64_t>(value * 100 / range, 0, 100));
}

DropPosition DropPositionAt(int y, bool insideClient, const std::vector<RowRect>& rows, int draggedRow)
{
    DropPosition none;
    if (!insideClient)
        return none;
    const int last = static_cast<int>(rows.size()) - 1;
    for (int r = 0; r <= last; ++r) {
        const RowRect& row = rows[static_cast<size_t>(r)];
        const int middle = row.top + row.Height() / 2;
        DropPosition found;
        if ((y >= row.top || r == 0) && y < middle)
            found = {r, 0};
        else if (y >= middle && (y < row.bottom || r == last))
            found = {r, 1};
        else
            continue;
        const int index = found.InsertIndex();
        return index == draggedRow || index == draggedRow + 1 ? none : found;
    }
    return none;
}

RowRect DropMarkerRect(const DropPosition& position, const std::vector<RowRect>& rows)
{
    if (position.IsNone() || position.row >= static_cast<int>(rows.size()))
        return {};
    const RowRect& row = rows[static_cast<size_t>(position.row)];
    if (!position.after)
        return {row.left, position.row == 0 ? row.top : row.top - 1, row.right, row.top + 1};
    const bool lastRow = position.row == static_cast<int>(rows.size()) - 1;
    return {row.left, row.bottom - 1, row.right, lastRow ? row.bottom : row.bottom + 1};
}

RowMove PlanRowMove(int from, int to, int rowCount, int convertingRow)
{
    RowMove move;
    if (from < 0 || from >= rowCount || to < 0 || to > rowCount || to == from || to == from + 1 || from == convertingRow)
        return move;
    move.moves = true;
    move.insertAt = to;
    move.oldRowAfterInsert = to < from ? from + 1 : from;
    move.finalRow = to < from ? to : to - 1;
    return move;
}
