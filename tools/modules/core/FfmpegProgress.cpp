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

std::vector<CFfmpegProgress> CFfmpegProgressReader::Take(const std::string& piece)
{
    std::vector<CFfmpegProgress> blocks;
    for (size_t start = 0; start < piece.size();) {
        const size_t end = piece.find('\n', start);
        const size_t stop = end == std::string::npos ? piece.size() : end;
        if (!m_skipping) {
            m_line.append(piece, start, std::min(stop - start, kMaxLine + 1 - m_line.size()));
            if (m_line.size() > kMaxLine) {
                m_line.clear();
                m_skipping = true;
            }
        }
        if (end == std::string::npos)
            break;
        // A line without its end may still be being written, so only whole lines are read.
        if (!m_skipping)
            ReadLine(blocks);
        m_line.clear();
        m_skipping = false;
        start = end + 1;
    }
    return blocks;
}

void CFfmpegProgressReader::ReadLine(std::vector<CFfmpegProgress>& blocks)
{
    const size_t equals = m_line.find('=');
    if (equals == std::string::npos)
        return;
    const std::string key = m_line.substr(0, equals);
    const std::string value = m_line.substr(equals + 1);
    if (key == "frame")
        m_block.m_frame = Number(value);
    else if (key == "out_time_us")
        m_block.m_timeUs = std::max<int64_t>(0, Number(value));
    else if (key == "total_size")
        m_block.m_size = Number(value);
    else if (key == "progress") {
        m_block.m_valid = true;
        m_block.m_ended = value == "end";
        blocks.push_back(m_block);
        m_block = CFfmpegProgress();
    }
}

std::vector<CFfmpegProgress> ParseFfmpegProgressBlocks(const std::string& text)
{
    CFfmpegProgressReader reader;
    return reader.Take(text);
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
