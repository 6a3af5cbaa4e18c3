#pragma once
// Where everything of a job-list row goes: the row box, the cells, the state image, thumbnail,
// name, links and info line of the file cells, the remove button, the progress line; and where
// a dragged row would land. Plain geometry, so that drawing and hit testing agree. Portable.
#include <cstdint>
#include <vector>

struct RowRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const RowRect& other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

enum JobColumn { JOB_COLUMN_STATE, JOB_COLUMN_INPUT, JOB_COLUMN_OUTPUT, JOB_COLUMN_STATUS, JOB_COLUMN_COUNT };

// The commands of the in-row links and the remove button.
enum : int {
    JOB_LINK_NONE = 0,
    JOB_LINK_REMOVE = 32791,
    JOB_LINK_PLAY_OUTPUT = 32808,
    JOB_LINK_PLAY_INPUT = 32820,
    JOB_LINK_OPEN_INPUT_FOLDER = 32832,
    JOB_LINK_OPEN_OUTPUT_FOLDER = 32833,
};

constexpr int kRemoveButtonSide = 20;
constexpr int kStateImageSide = 24;
constexpr int kInfoIconSide = 12;
constexpr int kLinkGap = 10;
// Cells narrower than this are not drawn.
constexpr int kNarrowestCell = 9;
constexpr int kGradientWidth = 64;

// What a row's layout depends on besides its bounds: the thumbnail box of the settings, the
// measured height of a text line and the measured widths of the two links.
struct RowMetrics {
    int thumbnailWidth = 100;
    int thumbnailHeight = 100;
    int lineHeight = 13;
    int playWidth = 0;
    int openFolderWidth = 0;
};

// The row's box: the bounds less 2 at the left, top and bottom; its border runs along the edge,
// its fill one pixel inside.
RowRect RowBox(const RowRect& bounds);
RowRect RowBoxFill(const RowRect& bounds);
// The cells side by side from the bounds' left, by the widths in display order.
std::vector<RowRect> CellRects(const RowRect& bounds, const std::vector<int>& widths);
RowRect StateImageRect(const RowRect& cell);
RowRect ThumbnailRect(const RowRect& cell, const RowMetrics& metrics);
// The band beside the thumbnail that holds name, links and info line; empty when the
// thumbnail leaves no room.
RowRect FileTextArea(const RowRect& cell, const RowMetrics& metrics);
RowRect NameRect(const RowRect& textArea, const RowMetrics& metrics);
// The two links on the text area's bottom line, clipped to it.
RowRect PlayLinkRect(const RowRect& textArea, const RowMetrics& metrics);
RowRect OpenFolderLinkRect(const RowRect& textArea, const RowMetrics& metrics);
// The edit box of an in-place rename over a file cell's text area.
RowRect RenameEditRect(const RowRect& cell, const RowMetrics& metrics);
RowRect StatusTextRect(const RowRect& cell, const RowMetrics& metrics);
RowRect RemoveButtonRect(const RowRect& bounds);

// The info line: each non-empty text after its icon, one after another on a centred band.
struct InfoPiece {
    int text;  // index into the texts given
    RowRect icon;
    RowRect label;  // clipped to the text area
};
std::vector<InfoPiece> LayoutInfoLine(const RowRect& textArea, const std::vector<int>& textWidths,
                                      const std::vector<bool>& present);

// The command under a point of a cell (the cell as the list reports it). Output links only
// for completed rows.
int LinkAt(int column, const RowRect& cell, const RowRect& bounds, const RowMetrics& metrics, bool completed,
           int x, int y);

// The progress line along the row box's bottom: pieces of it, each drawn as a gradient when it
// is short, else solid with the gradient at its end.
struct ProgressPiece {
    int left, right;
    bool operator==(const ProgressPiece& other) const { return left == other.left && right == other.right; }
};
RowRect ProgressLineRect(const RowRect& bounds);
std::vector<ProgressPiece> ProgressPieces(const RowRect& line, int64_t value, int64_t range, bool indeterminate);
// The solid part (possibly empty) and the gradient part of a piece.
void SplitProgressPiece(const ProgressPiece& piece, ProgressPiece& solid, ProgressPiece& gradient);
// The percentage a known progress shows.
int ProgressPercent(int64_t value, int64_t range);

// Where a dragged row would be dropped: before or after a row, or nowhere.
struct DropPosition {
    int row = -1;
    int after = 0;
    bool IsNone() const { return row < 0; }
    int InsertIndex() const { return row + after; }
    bool operator==(const DropPosition& other) const { return row == other.row && after == other.after; }
};
// Rows are given by their vertical bounds (top, bottom), in list order.
DropPosition DropPositionAt(int y, bool insideClient, const std::vector<RowRect>& rows, int draggedRow);
// The red strip that marks a drop position.
RowRect DropMarkerRect(const DropPosition& position, const std::vector<RowRect>& rows);

// Moving a row: where the copy goes, where the old row then is, and where the row ends up;
// no move when it would land where it is, or when it is being converted.
struct RowMove {
    bool moves = false;
    int insertAt = -1;
    int oldRowAfterInsert = -1;
    int finalRow = -1;
};
RowMove PlanRowMove(int from, int to, int rowCount, int convertingRow);
