#include "GifTiming.h"
#include "TestGif.h"

#include <gtest/gtest.h>

namespace {

CGifTiming Read(const std::string& bytes, bool* ok = nullptr)
{
    CGifTiming timing;
    const bool read = ReadGifTiming(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), timing);
    if (ok)
        *ok = read;
    return timing;
}

TEST(GifTiming, DelaysAsTheViewerPlaysThem)
{
    struct Case {
        std::vector<int> written;  // -1: no control block
        std::vector<int> played;
    } const cases[] = {
        {{10, 50, 100, 30}, {10, 50, 100, 30}},
        {{0, 2, 4, 5, 6}, {10, 10, 10, 5, 6}},
        {{30, -1, -1, 7}, {30, 10, 10, 7}},
        {{65535}, {65535}},
    };
    for (const Case& c : cases) {
        bool ok = false;
        const CGifTiming timing = Read(MakeTestGif(65, 49, c.written), &ok);
        EXPECT_TRUE(ok);
        EXPECT_EQ(timing.m_width, 65);
        EXPECT_EQ(timing.m_height, 49);
        EXPECT_EQ(timing.m_delays, c.played);
    }
}

TEST(GifTiming, OtherBlocksAndCutFiles)
{
    std::string gif = MakeTestGif(8, 8, {20, 30});
    // A comment and an application block before the first frame are passed over.
    const size_t firstBlock = 13 + 768;
    gif.insert(firstBlock, std::string("\x21\xFE\x05hello\x00\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 28));
    EXPECT_EQ(Read(gif).m_delays, (std::vector<int>{20, 30}));
    // Cut inside the second frame: the first one and the cut one are known.
    EXPECT_EQ(Read(gif.substr(0, gif.size() - 40)).m_delays, (std::vector<int>{20, 30}));
    // Cut before any frame, or not a GIF at all.
    bool ok = true;
    Read(gif.substr(0, firstBlock + 10), &ok);
    EXPECT_FALSE(ok);
    Read("GIF89a", &ok);
    EXPECT_FALSE(ok);
    Read("\x89PNG\r\n\x1A\n and more bytes than a header", &ok);
    EXPECT_FALSE(ok);
    Read("", &ok);
    EXPECT_FALSE(ok);
}

} // namespace
