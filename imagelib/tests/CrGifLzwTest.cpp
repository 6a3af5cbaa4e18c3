// The LZW code-stream decoder against a plain dictionary decoder written here.
#include "CrGifLzw.h"
#include "GifTestStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

// Writes codes at the widths a decoder reads them, and decodes them the textbook way.
class Reference {
public:
    explicit Reference(uint32_t minCodeSize) : m_min(minCodeSize), m_clear(1u << minCodeSize) { Reset(); }

    uint32_t Next() const { return m_next; }
    bool HasPrev() const { return m_hasPrev; }

    void Code(uint32_t code)
    {
        m_bits.Put(code, m_width);
        if (code == m_clear) {
            Reset();
            return;
        }
        if (code == m_clear + 1)
            return;
        std::vector<uint8_t> s;
        if (!m_hasPrev) {
            s = {uint8_t(code)};
            m_hasPrev = true;
        } else {
            if (code < m_clear)
                s = {uint8_t(code)};
            else if (code < m_next)
                s = m_table[code];
            else {
                s = m_prev;
                s.push_back(m_prev[0]);
            }
            if (m_next < 4096) {
                std::vector<uint8_t> entry = m_prev;
                entry.push_back(s[0]);
                m_table[m_next++] = entry;
                if (m_next == (1u << m_width) && m_width < 12)
                    ++m_width;
            }
        }
        m_out.insert(m_out.end(), s.begin(), s.end());
        m_prev = s;
    }
    std::vector<uint8_t> Data()
    {
        std::vector<uint8_t> blocks = m_bits.SubBlocks();
        std::vector<uint8_t> data;
        for (size_t i = 0; i < blocks.size() && blocks[i] != 0; i += blocks[i] + 1u)
            data.insert(data.end(), blocks.begin() + long(i + 1), blocks.begin() + long(i + 1 + blocks[i]));
        return data;
    }
    const std::vector<uint8_t>& Out() const { return m_out; }

private:
    void Reset()
    {
        m_width = m_min + 1;
        m_next = m_clear + 2;
        m_hasPrev = false;
        m_table.assign(4096, {});
    }

    uint32_t m_min, m_clear, m_width = 0, m_next = 0;
    bool m_hasPrev = false;
    std::vector<std::vector<uint8_t>> m_table;
    std::vector<uint8_t> m_prev, m_out;
    giftest::CodeBits m_bits;
};

GifLzwResult DecodeCodes(std::vector<uint8_t> data, uint32_t minCodeSize, std::vector<uint8_t>& out, size_t capacity)
{
    size_t size = data.size();
    data.resize(size + kGifLzwSlack, 0);
    out.assign(capacity + kGifLzwSlack, 0xEE);
    GifLzwResult r = GifLzwDecode(data.data(), size, int(minCodeSize), out.data(), capacity);
    out.resize(r.pixels);
    return r;
}

} // namespace

TEST(GifLzw, RandomStreamsDecodeLikeTheDictionary)
{
    std::mt19937 rng(7);
    for (uint32_t min = 2; min <= 11; ++min) {
        for (int round = 0; round < 6; ++round) {
            Reference ref(min);
            const uint32_t clear = 1u << min;
            const uint32_t roots = std::min(clear, 256u); // palette indices
            ref.Code(clear);
            // Long enough to fill the table and run on with it full, with a clear now and then.
            int codes = 3000 + int(rng() % 6000);
            for (int i = 0; i < codes; ++i) {
                uint32_t pick = rng() % 100;
                uint32_t code;
                if (!ref.HasPrev() || pick < 40)
                    code = rng() % roots;
                else if (pick < 48 && ref.Next() < 4096)
                    code = ref.Next(); // the code being defined
                else if (pick == 99 && round % 2 == 0)
                    code = clear;
                else
                    code = ref.Next() > clear + 2 ? clear + 2 + rng() % (ref.Next() - clear - 2) : rng() % roots;
                ref.Code(code);
            }
            ref.Code(clear + 1);
            std::vector<uint8_t> out;
            GifLzwResult r = DecodeCodes(ref.Data(), min, out, ref.Out().size());
            EXPECT_TRUE(r.ended) << min << "/" << round;
            EXPECT_LE(r.pixels, GifLzwMostPixels(ref.Data().size(), int(min)));
            EXPECT_EQ(r.badCodes, 0);
            EXPECT_EQ(out, ref.Out()) << min << "/" << round;
        }
    }
}

TEST(GifLzw, StreamWithoutLeadingClearStartsAsIfCleared)
{
    Reference ref(2);
    for (uint32_t c : {1u, 2u, 6u, 7u, 3u, 8u})
        ref.Code(c);
    ref.Code(5);
    std::vector<uint8_t> out;
    GifLzwResult r = DecodeCodes(ref.Data(), 2, out, 64);
    EXPECT_TRUE(r.ended);
    EXPECT_EQ(out, ref.Out());
}

TEST(GifLzw, CodesBeyondTheTableAreCountedAndRepaired)
{
    giftest::CodeBits c;
    c.Put(4, 3);
    c.Put(7, 3);  // right after a clear only roots are known: read as 0
    c.Put(1, 3);
    c.Put(7, 3);  // the code being defined: 1 1
    c.Put(10, 4); // beyond the next free code (8): read as the code being defined, 1 1 1
    c.Put(5, 4);
    std::vector<uint8_t> blocks = c.SubBlocks();
    std::vector<uint8_t> data(blocks.begin() + 1, blocks.end() - 1);
    std::vector<uint8_t> out;
    GifLzwResult r = DecodeCodes(data, 2, out, 64);
    EXPECT_EQ(r.badCodes, 2);
    EXPECT_EQ(out, (std::vector<uint8_t>{0, 1, 1, 1, 1, 1, 1}));
}

TEST(GifLzw, MinimumCodeSizeOutsideTwoToElevenDecodesNothing)
{
    std::vector<uint8_t> out;
    for (uint32_t min : {0u, 1u, 12u, 13u, 255u}) {
        EXPECT_FALSE(GifLzwCodeSizeValid(int(min))) << min;
        EXPECT_EQ(DecodeCodes({0xFF, 0xFF, 0xFF}, min, out, 16).pixels, 0u) << min;
        EXPECT_EQ(GifLzwMostPixels(1000, int(min)), 0u) << min;
    }
    for (int min = 2; min <= 11; ++min)
        EXPECT_TRUE(GifLzwCodeSizeValid(min)) << min;
}

TEST(GifLzw, LargeCodeSizesStartAtTheirWidthAndFillTheTableSooner)
{
    // At size 11 the first code is already 12 bits wide and the table is full after 2046 entries;
    // at 9 and 10 the width grows from 10 and 11 bits.
    for (uint32_t min : {9u, 10u, 11u}) {
        Reference ref(min);
        const uint32_t clear = 1u << min;
        ref.Code(clear);
        std::mt19937 rng(min);
        while (ref.Next() < 4096)
            ref.Code(ref.HasPrev() && rng() % 3 ? clear + 2 + rng() % (ref.Next() - clear - 2 + 1) : rng() % 16);
        for (int i = 0; i < 800; ++i)
            ref.Code(rng() % 2 ? rng() % 16 : clear + 2 + rng() % (4096 - clear - 2));
        ref.Code(clear + 1);
        std::vector<uint8_t> out;
        GifLzwResult r = DecodeCodes(ref.Data(), min, out, ref.Out().size());
        EXPECT_TRUE(r.ended) << min;
        EXPECT_EQ(r.badCodes, 0) << min;
        EXPECT_EQ(out, ref.Out()) << min;
    }
}

TEST(GifLzw, OutputStopsAtTheFrameEnd)
{
    Reference ref(2);
    ref.Code(4);
    ref.Code(1);
    for (int i = 0; i < 40; ++i)
        ref.Code(ref.Next()); // runs of 2, 3, 4 ... pixels
    ref.Code(5);
    for (size_t capacity : {0u, 1u, 7u, 100u}) {
        std::vector<uint8_t> out;
        GifLzwResult r = DecodeCodes(ref.Data(), 2, out, capacity);
        EXPECT_FALSE(r.ended);
        EXPECT_EQ(out, std::vector<uint8_t>(capacity, 1));
    }
}

TEST(GifLzw, DataEndingEarlyKeepsWhatWasDecoded)
{
    Reference ref(8);
    ref.Code(256);
    for (uint32_t c : {10u, 20u, 30u, 258u})
        ref.Code(c);
    std::vector<uint8_t> data = ref.Data();
    std::vector<uint8_t> out;
    GifLzwResult r = DecodeCodes(data, 8, out, 100);
    EXPECT_FALSE(r.ended);
    EXPECT_EQ(out, ref.Out());
}

TEST(GifLzw, MostPixelsHoldsStringsThatGrowByOne)
{
    for (uint32_t min : {2u, 8u, 11u}) {
        Reference ref(min);
        ref.Code(1u << min);
        ref.Code(1);
        while (ref.Next() < 4096)
            ref.Code(ref.Next()); // each code one longer than the last
        for (int i = 0; i < 500; ++i)
            ref.Code(4095);
        std::vector<uint8_t> data = ref.Data();
        const size_t most = GifLzwMostPixels(data.size(), int(min));
        std::vector<uint8_t> out;
        GifLzwResult r = DecodeCodes(data, min, out, most);
        EXPECT_EQ(r.pixels, ref.Out().size()) << min; // room for all of them
    }
    EXPECT_EQ(GifLzwMostPixels(1000, 1), 0u);
    EXPECT_EQ(GifLzwMostPixels(0, 8), 0u);
}
