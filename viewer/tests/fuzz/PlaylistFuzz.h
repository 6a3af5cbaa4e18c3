#pragma once
// What every playlist reader must leave behind, whatever the bytes: items whose paths (and stored
// thumbnail files) can name a file. A fault stops the run at once, so the fuzz test fails.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ListText.h"
#include "PlaylistFiles.h"
#include "PlaylistItem.h"

template <typename Reader>
int ReadAndCheckPlaylist(const uint8_t* data, size_t size, Reader read)
{
    CPlaylist playlist;
    read(std::string(reinterpret_cast<const char*>(data), size), playlist);
    for (int i = 0; i < playlist.GetCount(); i++) {
        const CPlaylistItem* item = playlist.GetAt(i);
        const bool thumbnailFileOk = item->ThumbnailFile.IsEmpty() || IsListEntryPath(item->ThumbnailFile);
        if (!IsListEntryPath(item->m_strPath) || !thumbnailFileOk)
            std::abort();
    }
    return 0;
}
