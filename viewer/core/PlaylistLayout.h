#pragma once
// Where the playlist view puts things in its cells (thumbnail box, buttons, labels), where a
// dragged item would land, the type-ahead search and the choice of a saved playlist's format.
// Portable.
#include <vector>

#include "CString.h"
#include "GridListCore.h"

// The size of a grid cell for a thumbnail size, with or without the file name below it.
ViewSize PlaylistCellSize(int thumbnailCx, int thumbnailCy, bool showTitle, int textHeight);
// The black box that holds the thumbnail: the cell shrunk by 1, Thumbnail.cy high.
ViewRect ThumbnailBox(const ViewRect& cell, int thumbnailCy);

enum class CellButton { None, Play, Remove };

struct CellButtons {
    ViewRect play;
    ViewRect remove;
};

// The two buttons of a hovered cell as drawn, and the areas that react to the pointer.
CellButtons GridButtons(const ViewRect& cell, int thumbnailCy);
CellButtons GridButtonHitAreas(const ViewRect& cell, int thumbnailCy);
CellButtons ListButtons(const ViewRect& row);
CellButton ButtonAt(const CellButtons& areas, int x, int y);

// Labels at the bottom right of the box, from the bottom up; widths are the texts' widths, an
// entry of -1 is a label that is off or empty. Each result is empty when it does not fit.
std::vector<ViewRect> LabelRects(const ViewRect& box, const std::vector<int>& textWidths);

// The 24 x 24 icon place of a list row (28 pixels from its left, centred vertically).
ViewRect ListIconBox(const ViewRect& row);

// Where an item dragged from `dragged` would go when released at the point: the target index
// and whether after it; -1 when outside the content or when it would not move the item.
struct DropPlace {
    int index;
    bool after;
};
DropPlace FindDropTarget(CGridListCore& view, int x, int y, int dragged);
// The insertion bar for a drop place (2 pixels wide or high).
ViewRect DropBarRect(CGridListCore& view, const DropPlace& place);
// Moves the cell at `from` so that it stands before the cell that was at `to` (to may be the
// count). False when that leaves it where it is.
bool MoveCell(CGridListCore& view, int from, int to);

// The playlist search by typed characters: a key within 500 ms of the one before looks one
// character further into the names.
class CTypeAhead {
public:
    // The index to select, -1 when no name matches.
    int Type(const std::vector<CString>& names, wchar_t typed, unsigned tick);

private:
    int Search(const std::vector<CString>& names, wchar_t typed) const;
    unsigned m_lastTick = 0;
    bool m_typed = false;
    int m_position = 0;
};

// The format of a playlist being saved: 1 ".playlist", 2 ".m3u", 3 ".pls". A name that already
// ends in one of those extensions is saved in that format (never XML under an ".m3u" name); any
// other name takes the chosen filter's format and gets its extension appended when it has none.
int PlaylistSaveFormat(const CString& path, int filterIndex, CString& savedPath);

// The welcome window's two 96 x 96 buttons, centred as a block 256 wide (index 0 or 1).
ViewRect WelcomeButtonRect(int index, int width, int height);

// A text cut to at most `limit` UTF-16 units, never in the middle of a surrogate pair.
CString CutText(const CString& text, int limit);
