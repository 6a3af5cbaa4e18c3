// The encoder's reading of ffmpeg's progress reports, on any bytes cut into pieces of any size:
// the blocks are those of the whole text, and what is kept between pieces stays bounded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FfmpegProgress.h"

namespace {

bool Same(const CFfmpegProgress& a, const CFfmpegProgress& b)
{
    return a.m_valid == b.m_valid && a.m_ended == b.m_ended && a.m_frame == b.m_frame && a.m_timeUs == b.m_timeUs &&
           a.m_size == b.m_size;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t piece = 1 + data[0] % 64;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::vector<CFfmpegProgress> whole = ParseFfmpegProgressBlocks(text);
    CFfmpegProgressReader reader;
    std::vector<CFfmpegProgress> pieces;
    for (size_t at = 0; at < text.size(); at += piece) {
        for (const CFfmpegProgress& block : reader.Take(text.substr(at, piece)))
            pieces.push_back(block);
        if (reader.PendingSize() > CFfmpegProgressReader::kMaxLine)
            std::abort();
    }
    if (pieces.size() != whole.size())
        std::abort();
    for (size_t i = 0; i < whole.size(); ++i)
        if (!Same(pieces[i], whole[i]))
            std::abort();
    return 0;
}
