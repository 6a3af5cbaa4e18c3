#pragma once
// The rows the media information dialog lists for one file: file facts, then five rows for each
// video or audio stream. Portable.
#include <vector>

#include "CString.h"
#include "MediaInfo.h"

struct MediaInfoRow {
    CString label;
    CString value;
};

std::vector<MediaInfoRow> MediaInfoRows(const CString& path, const CMediaInfo& info);

// Every block has five rows: the first of each ("File Name", "Stream #n") is a heading.
inline bool IsMediaInfoHeading(int row) { return row % 5 == 0; }
