// The toolbar resource read portably.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "ToolBarTemplate.h"

namespace {

std::vector<uint8_t> Bytes(const std::vector<uint16_t>& words)
{
    std::vector<uint8_t> bytes;
    for (uint16_t w : words) {
        bytes.push_back(static_cast<uint8_t>(w & 0xFF));
        bytes.push_back(static_cast<uint8_t>(w >> 8));
    }
    return bytes;
}

TEST(ToolBarTemplate, ReadsSizesAndEntries)
{
    struct Case {
        std::vector<uint16_t> words;
        bool ok;
        int width;
        int height;
        std::vector<unsigned> commands;
    } cases[] = {
        {{1, 24, 24, 3, 32781, 0, 32791}, true, 24, 24, {32781, 0, 32791}},
        {{1, 32, 24, 1, 32830}, true, 32, 24, {32830}},
        {{1, 16, 15, 0}, true, 16, 15, {}},
        {{2, 24, 24, 1, 5}, false, 0, 0, {}},          // unknown version
        {{1, 24, 24, 3, 32781}, false, 0, 0, {}},      // entries past the end
        {{1, 24}, false, 0, 0, {}},                    // no header
        {{}, false, 0, 0, {}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = Bytes(c.words);
        ToolBarTemplate bar;
        EXPECT_EQ(c.ok, ParseToolBarTemplate(bytes.data(), bytes.size(), bar)) << c.words.size();
        EXPECT_EQ(c.width, bar.imageWidth);
        EXPECT_EQ(c.height, bar.imageHeight);
        EXPECT_EQ(c.commands, bar.commands);
    }
    ToolBarTemplate bar;
    EXPECT_FALSE(ParseToolBarTemplate(nullptr, 8, bar));
}

TEST(ToolBarTemplate, AnOddTrailingByteIsIgnored)
{
    std::vector<uint8_t> bytes = Bytes({1, 24, 24, 1, 7});
    bytes.push_back(0xAA);
    ToolBarTemplate bar;
    ASSERT_TRUE(ParseToolBarTemplate(bytes.data(), bytes.size(), bar));
    EXPECT_EQ(std::vector<unsigned>{7}, bar.commands);
}

} // namespace
