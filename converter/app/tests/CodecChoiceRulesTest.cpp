// The format dialogs' value rules: size texts, typed frame rates (while typing and when taken),
// bit rates and sizes, and which stream box may be switched.
#include <gtest/gtest.h>

#include "CodecChoiceRules.h"

namespace {

TEST(CodecChoiceRules, SizeTexts)
{
    EXPECT_EQ(CString(L"Auto"), SizeChoiceText({0, 0}));
    EXPECT_EQ(CString(L"640 x 480"), SizeChoiceText({640, 480}));
    EXPECT_EQ(CString(L"320 x 0"), SizeChoiceText({320, 0}));
}

TEST(CodecChoiceRules, TypedValues)
{
    struct Rate {
        const wchar_t* text;
        bool final;
        CIntPair expected;
    };
    const Rate rates[] = {
        {L"29.97", true, {29970, 1000}}, {L"25", false, {25000, 1000}},   {L"0.005", true, {0, 0}},
        {L"0.005", false, {5, 1000}},    {L"0", false, {0, 0}},           {L"-3", false, {0, 0}},
        {L"Auto", false, {0, 0}},        {L"", true, {0, 0}},             {L"1e300", true, {0, 0}},
        {L"0.01", true, {10, 1000}},
    };
    for (const Rate& r : rates)
        EXPECT_EQ(r.expected, ParseTypedFrameRate(r.text, r.final)) << CString(r.text).ToUtf8() << " " << r.final;

    struct BitRate {
        const wchar_t* text;
        int expected;
    };
    const BitRate bitRates[] = {{L"128", 128000}, {L"1500 kbps", 1500000}, {L"Auto", 0}, {L"-5", 0}, {L"99999999", 0}};
    for (const BitRate& b : bitRates)
        EXPECT_EQ(b.expected, ParseTypedBitRate(b.text)) << CString(b.text).ToUtf8();

    EXPECT_EQ((CIntPair{640, 480}), ParseTypedSize(L"640 x 480"));
    EXPECT_EQ((CIntPair{0, 0}), ParseTypedSize(L"Auto"));
    EXPECT_EQ((CIntPair{320, 0}), ParseTypedSize(L"320"));
}

TEST(CodecChoiceRules, TypedValuesOutOfRangeAreRefused)
{
    struct Case {
        CString (*problem)(const wchar_t*);
        const wchar_t* text;
        bool taken;
    } const cases[] = {
        {TypedSizeProblem, L"640 x 480", true},   {TypedSizeProblem, L" 8192 x 2 ", true},
        {TypedSizeProblem, L"Auto", true},        {TypedSizeProblem, L"", true},
        {TypedSizeProblem, L"0 x 0", true},       {TypedSizeProblem, L"8194 x 480", false},
        {TypedSizeProblem, L"640 x 1", false},    {TypedSizeProblem, L"320", false},
        {TypedSizeProblem, L"-640 x 480", false}, {TypedSizeProblem, L"640 x 480 px", false},
        {TypedSizeProblem, L"wide", false},       {TypedFrameRateProblem, L"29.97", true},
        {TypedFrameRateProblem, L"25 fps", true}, {TypedFrameRateProblem, L"0.005", true},
        {TypedFrameRateProblem, L"1000", true},   {TypedFrameRateProblem, L"1000.5", false},
        {TypedFrameRateProblem, L"1e300", false}, {TypedFrameRateProblem, L"fast", false},
        {TypedFrameRateProblem, L"-25", false},
        {TypedFrameRateProblem, L"25 kbps", false}, {TypedBitRateProblem, L"1500", true},
        {TypedBitRateProblem, L"1500 kbps", true}, {TypedBitRateProblem, L"auto", true},
        {TypedBitRateProblem, L"100000", true},   {TypedBitRateProblem, L"100001", false},
        {TypedBitRateProblem, L"99999999", false}, {TypedBitRateProblem, L"-5", false},
        {TypedBitRateProblem, L"1.5 Mbps", false}, {TypedBitRateProblem, L"lots", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.taken, c.problem(c.text).IsEmpty()) << CString(c.text).ToUtf8();
    EXPECT_EQ(CString(L"The bit rate must be a whole number of kbps from 1 to 100000, or Auto."),
              TypedBitRateProblem(L"99999999"));
}

TEST(CodecChoiceRules, StreamBoxes)
{
    struct Case {
        const char* what;
        bool has, locked, checked, hasOther, otherChecked;
        bool expected;
    };
    const Case cases[] = {
        {"video on, audio on", true, false, true, true, true, true},
        {"video on, audio off", true, false, true, true, false, false},
        {"video on, no audio in the format", true, false, true, false, false, false},
        {"video off can always come back", true, false, false, true, true, true},
        {"no video in the format", false, false, false, true, true, false},
        {"locked", true, true, true, true, true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, StreamBoxEnabled(c.has, c.locked, c.checked, c.hasOther, c.otherChecked)) << c.what;
}

} // namespace
