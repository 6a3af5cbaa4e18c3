// The viewer's reader of ".pls" lists over any bytes.
#include "PlaylistFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return ReadAndCheckPlaylist(data, size, [](const std::string& bytes, CPlaylist& playlist) {
        ReadPlsPlaylist(bytes, L"C:\\lists\\list.pls", playlist);
    });
}
