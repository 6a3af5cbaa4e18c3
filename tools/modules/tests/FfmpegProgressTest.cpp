#include "FfmpegProgress.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

const char kBlock1[] = "frame=5\nfps=0.00\nstream_0_0_q=28.0\nbitrate=N/A\ntotal_size=48\nout_time_us=-9223372036854775807\n"
                       "out_time_ms=-9223372036854775807\nout_time=N/A\ndup_frames=0\ndrop_frames=0\nspeed=N/A\n"
                       "progress=continue\n";
const char kBlock2[] = "frame=14\nfps=0.00\ntotal_size=1811\nout_time_us=1300000\nout_time_ms=1300000\n"
                       "progress=continue\n";
const char kEnd[] = "frame=20\ntotal_size=4083\nout_time_us=1900000\nprogress=end\n";

TEST(FfmpegProgress, LastCompleteBlockCounts)
{
    const CFfmpegProgress none = ParseFfmpegProgress("");
    EXPECT_FALSE(none.m_valid);

    const CFfmpegProgress first = ParseFfmpegProgress(kBlock1);
    EXPECT_TRUE(first.m_valid);
    EXPECT_FALSE(first.m_ended);
    EXPECT_EQ(first.m_frame, 5);
    EXPECT_EQ(first.m_timeUs, 0);  // not known yet
    EXPECT_EQ(first.m_size, 48);

    // A block still being written is not read.
    const CFfmpegProgress partial = ParseFfmpegProgress(std::string(kBlock1) + "frame=9\ntotal_size=900\nprog");
    EXPECT_EQ(partial.m_frame, 5);

    const CFfmpegProgress last = ParseFfmpegProgress(std::string(kBlock1) + kBlock2 + kEnd);
    EXPECT_TRUE(last.m_ended);
    EXPECT_EQ(last.m_frame, 20);
    EXPECT_EQ(last.m_timeUs, 1900000);
    EXPECT_EQ(last.m_size, 4083);

    const std::vector<CFfmpegProgress> blocks = ParseFfmpegProgressBlocks(std::string(kBlock1) + kBlock2 + kEnd + "fr");
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[1].m_timeUs, 1300000);
    EXPECT_EQ(blocks[1].m_frame, 14);
    EXPECT_FALSE(blocks[1].m_ended);
}

TEST(FfmpegProgress, BlocksArrivingInPieces)
{
    const std::string all = std::string(kBlock1) + kBlock2 + kEnd;
    CFfmpegProgressReader reader;
    std::vector<int64_t> frames;
    // Cut anywhere, even inside a line: every block comes out once, whole.
    for (size_t at = 0; at < all.size(); at += 7) {
        for (const CFfmpegProgress& block : reader.Take(all.substr(at, 7)))
            frames.push_back(block.m_frame);
    }
    EXPECT_EQ(frames, (std::vector<int64_t>{5, 14, 20}));
    EXPECT_EQ(reader.PendingSize(), 0u);
}

// The same blocks, however the text is cut.
std::vector<CFfmpegProgress> TakenInPieces(const std::string& text, size_t piece, size_t* mostPending = nullptr)
{
    CFfmpegProgressReader reader;
    std::vector<CFfmpegProgress> blocks;
    for (size_t at = 0; at < text.size(); at += piece) {
        for (const CFfmpegProgress& block : reader.Take(text.substr(at, piece)))
            blocks.push_back(block);
        if (mostPending)
            *mostPending = std::max(*mostPending, reader.PendingSize());
    }
    return blocks;
}

void ExpectSameBlocks(const std::vector<CFfmpegProgress>& a, const std::vector<CFfmpegProgress>& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].m_frame, b[i].m_frame) << i;
        EXPECT_EQ(a[i].m_timeUs, b[i].m_timeUs) << i;
        EXPECT_EQ(a[i].m_size, b[i].m_size) << i;
        EXPECT_EQ(a[i].m_ended, b[i].m_ended) << i;
    }
}

TEST(FfmpegProgress, LongRunsOfLinesKeepOnlyTheUnfinishedLine)
{
    // 1.6 MB of lines before the block ends, then a block, read in 4 KB pieces.
    std::string text = "frame=3\n";
    while (text.size() < 1600000)
        text += "fps=1.0\n";
    text += std::string("out_time_us=700000\nprogress=continue\n") + kBlock2 + kEnd;
    size_t mostPending = 0;
    const std::vector<CFfmpegProgress> pieces = TakenInPieces(text, 4096, &mostPending);
    EXPECT_LT(mostPending, sizeof("out_time_us=700000"));
    ExpectSameBlocks(pieces, ParseFfmpegProgressBlocks(text));
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].m_frame, 3);
    EXPECT_EQ(pieces[0].m_timeUs, 700000);
    EXPECT_TRUE(pieces[2].m_ended);
}

TEST(FfmpegProgress, OverlongLinesAreSkippedWhole)
{
    // A line longer than any ffmpeg writes is dropped to its end, never read as a shorter one.
    const std::string junk(100000, 'x');
    const std::string text = "frame=" + junk + "7\ntotal_size=9\n" + junk + "\nprogress=continue\n" + kEnd;
    for (size_t piece : {1u, 5u, 4096u, 1000000u}) {
        size_t mostPending = 0;
        const std::vector<CFfmpegProgress> blocks = TakenInPieces(text, piece, &mostPending);
        EXPECT_LE(mostPending, CFfmpegProgressReader::kMaxLine) << piece;
        ASSERT_EQ(blocks.size(), 2u) << piece;
        EXPECT_EQ(blocks[0].m_frame, 0) << piece;
        EXPECT_EQ(blocks[0].m_size, 9) << piece;
        EXPECT_EQ(blocks[1].m_frame, 20) << piece;
    }
}

TEST(FfmpegProgress, InputDurationFromTheLog)
{
    const std::string log = "Input #0, gif, from '/c/a.gif':\n  Duration: 00:00:02.00, start: 0.000000, bitrate: 31 kb/s\n"
                            "Output #0, mp4, to '/c/a.mp4':\n  Duration: 00:00:09.00\n";
    EXPECT_EQ(ParseInputDuration(log), 2000000);
    EXPECT_EQ(ParseInputDuration("  Duration: N/A, start: 0.000000\n"), -1);
    EXPECT_EQ(ParseInputDuration("Input #0, gif\n"), -1);
    struct Case {
        const char* log;
        int64_t us;
    } const cases[] = {
        {"  Duration: 01:02:03.45,", 3723450000LL},
        {"  Duration: 8:::::::::::, start: 0.0\n", -1},
        {"  Duration: 2562048:0:0:0\n", -1},
        {"  Duration: 2562048:00:00.00, start", 9223372800000000LL},
        {"  Duration: 99999999999999999999:00:00.00\n", -1},
        {"  Duration: ", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseInputDuration(c.log), c.us) << c.log;
}

TEST(FfmpegProgress, ExpectedOutputDuration)
{
    struct Case {
        int64_t input, start, limit, expected;
    } const cases[] = {
        {2000000, 0, 0, 2000000}, {2000000, 500000, 0, 1500000}, {2000000, 500000, 1000000, 1000000},
        {2000000, 3000000, 0, 0}, {-1, 0, 0, 0},                 {2000000, 0, 5000000, 2000000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExpectedOutputDuration(c.input, c.start, c.limit), c.expected);
}

} // namespace
