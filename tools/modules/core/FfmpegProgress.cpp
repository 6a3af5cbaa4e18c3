#include "FfmpegProgress.h"

#include <algorithm>
#include <cstdlib>

#include "CString.h"
#include "EncoderPlan.h"

namespace {

int64_t Number(const std::string& text)
{
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    return end != text.c_str() ? value : 0;
}

} // namespace

std::vector<CFfmpegProgress> TakeFfmpegProgressBlocks(std::string& pending)
{
    std::vector<CFfmpegProgress> blocks;
    CFfmpegProgress block;
    size_t taken = 0;
    for (size_t start = 0, end; (end = pending.find('\n', start)) != std::string::npos; start = end + 1) {
        // A line without its end may still be being written, so only whole lines are read.
        const std::string line = pending.substr(start, end - start);
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "frame")
            block.m_frame = Number(value);
        else if (key == "out_time_us")
            block.m_timeUs = std::max<int64_t>(0, Number(value));
        else if (key == "total_size")
            block.m_size = Number(value);
        else if (key == "progress") {
            block.m_valid = true;
            block.m_ended = value == "end";
            blocks.push_back(block);
            block = CFfmpegProgress();
            taken = end + 1;
        }
    }
    pending.erase(0, taken);
    return blocks;
}

std::vector<CFfmpegProgress> ParseFfmpegProgressBlocks(const std::string& text)
{
    std::string pending = text;
    return TakeFfmpegProgressBlocks(pending);
}

CFfmpegProgress ParseFfmpegProgress(const std::string& text)
{
    const std::vector<CFfmpegProgress> blocks = ParseFfmpegProgressBlocks(text);
    return blocks.empty() ? CFfmpegProgress() : blocks.back();
}

int64_t ParseInputDuration(const std::string& log)
{
    const std::string key = "Duration: ";
    const size_t at = log.find(key);
    if (at == std::string::npos)
        return -1;
    const size_t start = at + key.size();
    const size_t end = log.find_first_of(", \r\n", start);
    const std::string text = log.substr(start, end == std::string::npos ? std::string::npos : end - start);
    return ParseEncoderTime(CString::FromUtf8(text.c_str()));
}

int64_t ExpectedOutputDuration(int64_t inputUs, int64_t startUs, int64_t limitUs)
{
    if (inputUs <= 0)
        return 0;
    int64_t remaining = std::max<int64_t>(0, inputUs - std::max<int64_t>(0, startUs));
    if (limitUs > 0)
        remaining = std::min(remaining, limitUs);
    return remaining;
}
