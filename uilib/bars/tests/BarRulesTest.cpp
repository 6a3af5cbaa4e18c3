#include <gtest/gtest.h>

#include "BarRules.h"

namespace {

// A slider item 20..220 wide with a 20 x 24 thumb: the channel is 30..210 (180 px).
const BarBox kItem{20, 0, 220, 30};
const BarBox kChannel = SliderChannel(kItem, 20, 24);

} // namespace

TEST(SliderRules, ChannelLeavesHalfAThumbAtEachEndAndIsCentred)
{
    EXPECT_EQ(kChannel.left, 30);
    EXPECT_EQ(kChannel.right, 210);
    EXPECT_EQ(kChannel.top, 3);
    EXPECT_EQ(kChannel.bottom, 27);
    BarBox odd = SliderChannel(BarBox{0, 0, 100, 24}, 11, 24);
    EXPECT_EQ(odd.left, 5);
    EXPECT_EQ(odd.right, 94);   // 100 - 11 + 5
}

TEST(SliderRules, ValueToXScalesTheOffsetFromTheMinimum)
{
    struct Case {
        int minimum, maximum, value, x;
    } cases[] = {
        {0, 180, 0, 30},      {0, 180, 90, 120},    {0, 180, 180, 210},   {0, 180, 45, 75},
        {100, 280, 100, 30},  {100, 280, 190, 120}, {100, 280, 280, 210}, {100, 280, 145, 75},
        {-50, 130, -50, 30},  {-50, 130, 40, 120},  {-50, 130, 130, 210},
        {100, 280, 50, 30},   // below the range: the left end
        {5, 5, 5, 30},        // empty range
        {7, 3, 5, 30},        // reversed range
        {1, 4, 2, 90},        // 180 / 3 per step
        {1, 4, 3, 150},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SliderValueToX(kChannel, c.minimum, c.maximum, c.value), c.x)
            << c.minimum << ".." << c.maximum << " value " << c.value;
}

TEST(SliderRules, XToValueGivesTheNearestStepFromTheMinimum)
{
    struct Case {
        int minimum, maximum, x, y;
        bool dragging;
        bool ok;
        int value;
    } cases[] = {
        {0, 180, 30, 10, false, true, 0},     {0, 180, 120, 10, false, true, 90},
        {0, 180, 210, 10, false, true, 180},  {100, 280, 30, 10, false, true, 100},
        {100, 280, 120, 10, false, true, 190}, {100, 280, 210, 10, false, true, 280},
        {100, 280, 215, 10, false, true, 280}, // right of the channel, inside the item
        {100, 280, 25, 10, false, true, 100},  // left of the channel
        {100, 280, 10, 10, false, false, 0},   // a click outside the item
        {100, 280, 120, 40, false, false, 0},  // below the item
        {100, 280, 10, 10, true, true, 100},   // dragging: left of the channel is its left end
        {100, 280, 400, 99, true, true, 280},  // dragging: far right is the maximum
        {1, 4, 59, 10, false, true, 1},        // steps of 60 px: 29 px into a step rounds down
        {1, 4, 60, 10, false, true, 2},        // 30 px rounds up
        {1, 4, 150, 10, false, true, 3},
        {-3, -1, 120, 10, false, true, -2},    // a range through -1 still maps
        {-3, -1, 200, 10, false, true, -1},
        {5, 5, 120, 10, false, true, 5},       // empty range: the minimum
        {7, 3, 120, 10, false, false, 0},      // reversed range
    };
    for (const Case& c : cases) {
        int value = 0;
        bool ok = SliderXToValue(kItem, kChannel, c.minimum, c.maximum, c.x, c.y, c.dragging, &value);
        EXPECT_EQ(ok, c.ok) << c.minimum << ".." << c.maximum << " x " << c.x;
        if (ok && c.ok) {
            EXPECT_EQ(value, c.value) << c.minimum << ".." << c.maximum << " x " << c.x;
        }
    }
}

TEST(SliderRules, ValueAndPositionRoundTrip)
{
    for (int minimum : {0, 100, -40}) {
        for (int value = minimum; value <= minimum + 9; value++) {
            int x = SliderValueToX(kChannel, minimum, minimum + 9, value);
            int back = 0;
            ASSERT_TRUE(SliderXToValue(kItem, kChannel, minimum, minimum + 9, x, 10, false, &back));
            EXPECT_EQ(back, value) << "minimum " << minimum;
        }
    }
}

TEST(SliderRules, AnEmptyChannelGivesNoValue)
{
    BarBox narrow = SliderChannel(BarBox{0, 0, 10, 24}, 20, 24);
    int value = 0;
    EXPECT_FALSE(SliderXToValue(BarBox{0, 0, 10, 24}, narrow, 0, 10, 5, 5, false, &value));
}

TEST(MenuRules, MnemonicIsTheCharacterAfterASingleAmpersand)
{
    struct Case {
        const wchar_t* text;
        wchar_t mnemonic;
    } cases[] = {
        {L"&File", L'F'},      {L"E&dit", L'd'},      {L"File", L'F'},       {L"File&", L'F'},
        {L"&&File", 0},        {L"&&", 0},            {L"&", 0},             {L"", 0},
        {L"Save && E&xit", L'x'}, {L"A&&B", L'A'},    {L"&&&Tools", L'T'},   {L"&\x00C4nderung", L'\x00C4'},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MenuMnemonic(c.text), c.mnemonic) << CString(c.text).ToUtf8();
}

TEST(MenuRules, LeftAndRightWrapAtBothEnds)
{
    struct Case {
        int current, step, count, next;
    } cases[] = {
        {0, 1, 4, 1}, {3, 1, 4, 0}, {0, -1, 4, 3}, {2, -1, 4, 1},
        {-1, 1, 4, 0}, {-1, -1, 4, 3}, {0, 1, 1, 0}, {0, -1, 1, 0}, {-1, 1, 0, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WrapMenuIndex(c.current, c.step, c.count), c.next) << c.current << " " << c.step << " of " << c.count;
}
