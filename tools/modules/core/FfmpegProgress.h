#pragma once
// Reads what ffmpeg reports while it runs: the "-progress" blocks (key=value lines, each block
// closed by a "progress=" line) and the input's duration from its log.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct CFfmpegProgress {
    bool m_valid = false;  // a complete block was found
    bool m_ended = false;  // the last block says "progress=end"
    int64_t m_frame = 0;
    int64_t m_timeUs = 0;
    int64_t m_size = 0;
};

// Text that arrives in pieces: each line is read once, as soon as it is whole, into the block
// being filled; only the unfinished last line is kept, and at most kMaxLine bytes of it (a
// longer line is none ffmpeg writes, so it is skipped to its end).
class CFfmpegProgressReader {
public:
    static constexpr size_t kMaxLine = 256;

    // The blocks the piece completes, in order.
    std::vector<CFfmpegProgress> Take(const std::string& piece);
    size_t PendingSize() const { return m_line.size(); }

private:
    void ReadLine(std::vector<CFfmpegProgress>& blocks);

    CFfmpegProgress m_block;
    std::string m_line;
    bool m_skipping = false;  // inside a line that was too long
};

// Every complete block of the text, in order.
std::vector<CFfmpegProgress> ParseFfmpegProgressBlocks(const std::string& text);
// The last complete block of the text.
CFfmpegProgress ParseFfmpegProgress(const std::string& text);
// Microseconds of the first "Duration: h:mm:ss.cc" in the log; -1 when there is none or it is
// "N/A".
int64_t ParseInputDuration(const std::string& log);
// How long the output will be: the input from the start time on, at most the limit (0: none);
// 0 when the input's duration is unknown.
int64_t ExpectedOutputDuration(int64_t inputUs, int64_t startUs, int64_t limitUs);
