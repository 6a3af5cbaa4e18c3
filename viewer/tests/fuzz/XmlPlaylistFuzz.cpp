// The viewer's reader of ".playlist" documents over any bytes.
#include "PlaylistFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return ReadAndCheckPlaylist(data, size, [](const std::string& bytes, CPlaylist& playlist) {
        ReadXmlPlaylist(bytes, playlist);
    });
}
