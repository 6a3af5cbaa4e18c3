#pragma once
// The facts the GIF information dialog lists for one playlist item (portable).
#include <vector>

#include "CString.h"

class CPlaylistItem;

struct GifInfoRow {
    CString name;
    CString value;
};

// "File Name" to "Comment"; none while the item's information is not read (or unreadable).
std::vector<GifInfoRow> GifInfoRows(const CPlaylistItem& item);
// "Infinite loop", "Play once" or "Play %d times".
CString LoopingText(int loopCount);
