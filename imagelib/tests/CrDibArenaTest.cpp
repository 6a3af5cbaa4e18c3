// Pixel blocks from the heap and from arenas: zeroed, apart, aligned, alive after their arena, freed
// from any thread, and the memory of blocks given up during a long run handed back.
#include "CrDibArena.h"
#include "TestImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>
#ifdef __linux__
#include <unistd.h>
#endif

namespace {

// Resident memory of this process in megabytes, -1 where the system does not tell.
double ResidentMegabytes()
{
#ifdef __linux__
    long pages = -1, resident = -1;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = -1;
        std::fclose(f);
    }
    return resident < 0 ? -1 : resident * double(sysconf(_SC_PAGESIZE)) / (1 << 20);
#else
    return -1;
#endif
}

} // namespace

TEST(CrDibArena, HeapBlocksAreZeroedAndFreed)
{
    for (size_t bytes : {size_t(1), size_t(40), size_t(100000)}) {
        uint8_t* block = CrDibAlloc(bytes);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 16, 0u);
        EXPECT_TRUE(AllBytesAre(block, bytes, 0));
        std::memset(block, 0xAB, bytes);
        CrDibFree(block);
    }
    CrDibFree(nullptr);
    EXPECT_EQ(CrDibAlloc(SIZE_MAX), nullptr);
}

TEST(CrDibArena, BlocksAreZeroedApartAndOutliveTheArena)
{
    struct Case {
        size_t blocks;  // as the arena is told
        std::vector<size_t> sizes;  // as it is asked
    };
    const std::vector<Case> cases = {
        {3, {40, 40, 40}},                                   // small: below any zone
        {80, std::vector<size_t>(80, 480000 + 1064)},         // a run of screens in one zone
        {70, std::vector<size_t>(70, 1000000 + 1064)},        // more than one zone
        {10, {300000, 300000, 900000, 900000, 900000, 900000, 900000, 900000, 900000, 900000}},  // screens that grow
        {0, std::vector<size_t>(12, 500000)},                // told nothing
        {4, std::vector<size_t>(9, 2000000)},                // asked for more than it was told
        {2, {65u << 20, 1000}},                              // larger than a zone
    };
    for (size_t c = 0; c < cases.size(); ++c) {
        std::vector<uint8_t*> blocks;
        {
            CrDibArena arena(cases[c].blocks);
            for (size_t i = 0; i < cases[c].sizes.size(); ++i) {
                uint8_t* block = arena.Alloc(cases[c].sizes[i]);
                ASSERT_NE(block, nullptr) << c << "/" << i;
                EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 16, 0u) << c << "/" << i;
                EXPECT_TRUE(AllBytesAre(block, cases[c].sizes[i], 0)) << c << "/" << i;
                std::memset(block, int(i + 1), cases[c].sizes[i]);
                blocks.push_back(block);
            }
        }
        for (size_t i = 0; i < blocks.size(); ++i)
            EXPECT_TRUE(AllBytesAre(blocks[i], cases[c].sizes[i], uint8_t(i + 1))) << c << "/" << i;
        // Out of order, and half of them from another thread.
        std::thread other([&] {
            for (size_t i = 0; i < blocks.size(); i += 2)
                CrDibFree(blocks[i]);
        });
        for (size_t i = blocks.size(); i-- > 0;)
            if (i % 2)
                CrDibFree(blocks[i]);
        other.join();
    }
}

TEST(CrDibArena, BlocksGivenUpDuringTheRunGiveTheirMemoryBack)
{
    const double before = ResidentMegabytes();
    if (before < 0)
        GTEST_SKIP() << "no resident set to read";
    // As a decoder whose every frame is converted and given up at once: 200 MB go through the arena.
    CrDibArena arena(200);
    double most = before;
    for (int i = 0; i < 200; ++i) {
        uint8_t* block = arena.Alloc(1 << 20);
        ASSERT_NE(block, nullptr);
        std::memset(block, 1, 1 << 20);
        CrDibFree(block);
        most = std::max(most, ResidentMegabytes());
    }
    EXPECT_LT(most - before, 32.0);
}

TEST(CrDibArena, ImagesTakeTheirPixelsFromAnArenaAndFreeThemAlike)
{
    std::vector<CrImage> frames(40);
    {
        CrDibArena arena(frames.size());
        for (size_t i = 0; i < frames.size(); ++i) {
            ASSERT_NE(frames[i].Create(500, 400, 8, CRIMAGE_FORMAT_GIF, &arena), nullptr);
            frames[i].Clear(uint8_t(i));
        }
    }
    CrImage kept;
    ASSERT_TRUE(kept.Transfer(frames[7]));
    CrImage copy(frames[9]);
    frames.clear();
    ASSERT_TRUE(kept.IsValid());
    EXPECT_TRUE(AllBytesAre(kept.GetBits(0), kept.GetRowBytes() * 400u, 7));
    EXPECT_TRUE(AllBytesAre(copy.GetBits(0), copy.GetRowBytes() * 400u, 9));
    EXPECT_EQ(kept.GetNumColors(), 256u);
}
