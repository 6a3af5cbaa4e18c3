// The viewer's reader of ".m3u" lists over any bytes.
#include "PlaylistFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return ReadAndCheckPlaylist(data, size, [](const std::string& bytes, CPlaylist& playlist) {
        ReadM3uPlaylist(bytes, L"C:\\lists\\list.m3u", playlist);
    });
}
