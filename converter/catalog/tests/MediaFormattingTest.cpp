#include "MediaFormatting.h"
#include "TestPrint.h"

#include <gtest/gtest.h>

namespace {

struct TextCase {
    CString actual;
    const wchar_t* expected;
};

TEST(MediaFormatting, Texts)
{
    const TextCase cases[] = {
        {FormatDuration(3723004, false, false, false), L"1:02:03"},
        {FormatDuration(3723004, false, true, false), L"1:02:03.004"},
        {FormatDuration(63004, false, false, false), L"1:03"},
        {FormatDuration(63004, false, false, true), L"0:01:03"},
        {FormatDuration(63004, true, true, false), L"63.004"},
        {FormatDuration(63004, true, false, false), L"63"},
        {FormatDuration(5500, false, true, true), L"0:00:05.500"},
        {FormatDuration64(1500999, false, true, true), L"0:00:01.500"},
        {FormatDuration64(4250000, false, false, false), L"0:04"},
        {FormatPair(640, 480, L"%dx%d"), L"640x480"},
        {FormatOrAuto(640, 480, L"%d x %d"), L"640 x 480"},
        {FormatOrAuto(640, 0, L"%d x %d"), L"Auto"},
        {FormatOrAuto(0, 0, L"%dx%d", false), L"0x0"},
        {FormatRatioDecimal(10, 4, L"%.3f"), L"2.5"},
        {FormatRatioDecimal(0, 1, L"%.3f"), L""},
        {FormatRatioDecimal(30000, 1001, L"%.3f"), L"29.97"},
        {FormatRatioDecimal(25, 1, L"%.3f"), L"25"},
        {FormatFrameRate(30000, 1001), L"29.97 fps"},
        {FormatFrameRate(25, 1, L"%.3f", false), L"25"},
        {FormatFrameRate(-1, 1), L" fps"},
        {FormatFrameRate(0, 0), L"Auto"},
        {FormatFrameRate(30, 0, L"%.3f", true, false), L""},
        {FormatChannels(1), L"Mono"},
        {FormatChannels(2), L"Stereo"},
        {FormatChannels(6), L"5.1"},
        {FormatChannels(4), L""},
        {FormatChannels(0), L"Auto"},
        {FormatChannels(0, false), L""},
        {FormatKbps(128000), L"128 kbps"},
        {FormatKbps(64500, L"%.3f", false), L"64.5"},
        {FormatKbps(1000000, L"%.3f", false), L"1000"},
        {FormatKbps(0), L"Auto"},
        {FormatKbps(0, L"%.3f", true, false), L""},
        {FormatKbps(-5), L""},
        {FormatHz(44100), L"44100 Hz"},
        {FormatHz(48000, L"%d", false), L"48000"},
        {FormatHz(0), L"Auto"},
        {FormatHz(-1), L""},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(c.actual, CString(c.expected));
}

TEST(MediaFormatting, ZeroStrippingLeavesWholeNumbersAlone)
{
    // Without a decimal point there is no fraction to trim: 100 and 1000 keep their zeros.
    EXPECT_EQ(FormatRatioDecimal(100, 1, L"%.0f"), CString(L"100"));
    EXPECT_EQ(FormatKbps(1000000, L"%.0f", true), CString(L"1000 kbps"));
    EXPECT_EQ(FormatKbps(10000, L"%.1f", false), CString(L"10"));
}

TEST(MediaFormatting, ParseSize)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* format;
        int first, second;
    } const cases[] = {
        {L"640x480", L"%dx%d", 640, 480},
        {L"0x0", L"%dx%d", 0, 0},
        {L"30000/1001", L"%d/%d", 30000, 1001},
        {L"-1x240", L"%dx%d", -1, 240},
        {L"640", L"%dx%d", 640, 0},
        {L"abc", L"%dx%d", 0, 0},
        {L"", L"%dx%d", 0, 0},
        {L" 16/ 9", L"%d/%d", 16, 9},
        {L"16 /9", L"%d/%d", 16, 0},
        {L"x480", L"%dx%d", 0, 0},
        {L"99999999999x5", L"%dx%d", 2147483647, 5},
    };
    for (const Case& c : cases) {
        int a = 7, b = 7;
        ParseSize(c.text, c.format, a, b);
        EXPECT_EQ(a, c.first) << c.text;
        EXPECT_EQ(b, c.second) << c.text;
    }
}

} // namespace
