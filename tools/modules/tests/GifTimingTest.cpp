#include "GifTiming.h"
#include "TestGif.h"

#include <cstdio>

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

// Only a file that starts as a GIF is read past its first bytes.
TEST(GifTiming, Files)
{
    struct Case {
        std::string bytes;
        bool gif;
        long readUpTo;  // where the reading stopped
    } const cases[] = {
        {MakeTestGif(9, 7, {20, 30}), true, -1},
        {"\x89PNG\r\n\x1A\n" + std::string(200000, 'x'), false, 6},
        {"GIF", false, 3},
        {"", false, 0},
    };
    for (const Case& c : cases) {
        FILE* file = std::tmpfile();
        ASSERT_TRUE(file);
        std::fwrite(c.bytes.data(), 1, c.bytes.size(), file);
        std::rewind(file);
        CGifTiming timing;
        EXPECT_EQ(ReadGifTimingFile(file, timing), c.gif);
        EXPECT_EQ(std::ftell(file), c.readUpTo < 0 ? long(c.bytes.size()) : c.readUpTo);
        if (c.gif) {
            EXPECT_EQ(timing.m_delays, (std::vector<int>{20, 30}));
        }
        std::fclose(file);
    }
}

} // namespace
