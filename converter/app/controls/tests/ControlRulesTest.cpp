// The controls' decisions without a window, as tables.
#include <gtest/gtest.h>

#include <string>

#include "ControlRules.h"

namespace {

std::wstring W(const CString& s) { return s.str(); }

TEST(ControlRules, TipIsThePartAfterTheNewline)
{
    struct Case {
        const wchar_t* prompt;
        const wchar_t* tip;
    } cases[] = {
        {L"Add GIF files\nAdd GIF files to convert (Insert)", L"Add GIF files to convert (Insert)"},
        {L"No newline", L""},
        {L"", L""},
        {L"\n", L""},
        {L"a\nb\nc", L"b\nc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::wstring(c.tip), W(TipFromPrompt(c.prompt))) << W(CString(c.prompt)).size();
    EXPECT_EQ(79, TipFromPrompt(CString(L"x\n") + CString(L'y', 200)).GetLength());
}

TEST(ControlRules, ItemTextsSplitIntoTwoColumns)
{
    struct Case {
        const wchar_t* text;
        bool backslashT;
        const wchar_t* left;
        const wchar_t* right;
        bool hasRight;
    } cases[] = {
        {L"MP4\tMPEG-4 Video", true, L"MP4", L"MPEG-4 Video", true},
        {L"High\\t1280 x 720", true, L"High", L"1280 x 720", true},
        {L"High\\t1280 x 720", false, L"High\\t1280 x 720", L"", false},
        {L"a\tb\\tc", true, L"a", L"b\\tc", true},
        {L"plain", true, L"plain", L"", false},
        {L"\t", true, L"", L"", true},
        {L"", true, L"", L"", false},
    };
    for (const Case& c : cases) {
        ColumnTexts parts = SplitColumns(c.text, c.backslashT);
        EXPECT_EQ(std::wstring(c.left), W(parts.left)) << c.text;
        EXPECT_EQ(std::wstring(c.right), W(parts.right)) << c.text;
        EXPECT_EQ(c.hasRight, parts.hasRight) << c.text;
    }
}

TEST(ControlRules, FrameSizesReadAndWritten)
{
    struct Case {
        const wchar_t* text;
        bool ok;
        int width;
        int height;
    } cases[] = {
        {L"640 x 480", true, 640, 480},
        {L"0 x 0", true, 0, 0},
        {L"320x240", true, 320, 240},
        {L"  1280  x  720 (HD)", true, 1280, 720},
        {L"Auto", false, 0, 0},
        {L"640 by 480", false, 0, 0},
        {L"640 x", false, 0, 0},
        {L"", false, 0, 0},
        {L"99999999999 x 5", true, 0x7FFFFFFF, 5},
    };
    for (const Case& c : cases) {
        int w = -7;
        int h = -7;
        EXPECT_EQ(c.ok, ParseFrameSize(c.text, w, h)) << c.text;
        EXPECT_EQ(c.width, w) << c.text;
        EXPECT_EQ(c.height, h) << c.text;
    }
    EXPECT_EQ(L"640 x 480", W(FormatFrameSize(640, 480)));
    EXPECT_EQ(L"Auto", W(FrameSizeField(0)));
    EXPECT_EQ(L"352", W(FrameSizeField(352)));
    EXPECT_EQ(352, ReadFrameSizeField(L"352"));
    EXPECT_EQ(0, ReadFrameSizeField(L"Auto"));
    EXPECT_EQ(0, ReadFrameSizeField(L""));
    EXPECT_EQ(12, ReadFrameSizeField(L"12px"));
}

TEST(ControlRules, PathsCompareAsTheFileSystemDoes)
{
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        bool equal;
    } cases[] = {
        {L"C:\\Videos", L"c:\\videos", true},
        {L"C:\\Videos\\", L"C:\\Videos", true},
        {L"C:/Videos/Out", L"C:\\VIDEOS\\out", true},
        {L"C:\\", L"C:", false},
        {L"C:\\", L"c:\\", true},
        {L"C:\\Videos", L"C:\\Videos2", false},
        {L"C:\\Videos\\\\", L"C:\\Videos", false},
        {L"", L"", true},
        {L"\\", L"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.equal, PathsEqual(c.a, c.b)) << c.a << L" / " << c.b;
}

TEST(ControlRules, SkinStripIndexByState)
{
    struct Case {
        unsigned state;
        bool focus;
        bool checked;
        int index;
    } cases[] = {
        {SKIN_DISABLED | SKIN_SELECTED, true, true, 4},
        {SKIN_SELECTED, false, false, 3},
        {SKIN_CHECKED | SKIN_HOT, false, false, 3},
        {SKIN_HOT | SKIN_FOCUS, true, false, 1},
        {SKIN_FOCUS, true, false, 2},
        {SKIN_FOCUS, false, false, 0},
        {SKIN_FOCUS, false, true, 3},
        {0, false, true, 3},
        {0, false, false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.index, SkinStripIndex(c.state, c.focus, c.checked)) << c.state;
}

TEST(ControlRules, ThemeStatesByButtonState)
{
    struct Case {
        unsigned state;
        bool isDefault;
        int push;
        int toolbar;
    } cases[] = {
        {SKIN_SELECTED, false, 3, 3},
        {SKIN_CHECKED, false, 3, 5},
        {SKIN_HOT, false, 2, 2},
        {SKIN_HOT, true, 2, 2},
        {0, true, 5, 1},
        {SKIN_DISABLED, false, 4, 4},
        {SKIN_DISABLED, true, 4, 4},   // a disabled default button looks disabled
        {0, false, 1, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.push, PushButtonThemeState(c.state, c.isDefault)) << c.state << c.isDefault;
        EXPECT_EQ(c.toolbar, ToolbarButtonThemeState(c.state)) << c.state;
    }
    struct Check {
        bool checked, disabled, pushed, hot;
        int state;
    } checks[] = {
        {false, false, false, false, 1}, {false, false, false, true, 2}, {false, false, true, true, 3},
        {false, true, true, true, 4},    {true, false, false, false, 5}, {true, false, false, true, 6},
        {true, false, true, false, 7},   {true, true, false, false, 8},
    };
    for (const Check& c : checks)
        EXPECT_EQ(c.state, CheckBoxThemeState(c.checked, c.disabled, c.pushed, c.hot));
}

TEST(ControlRules, GradientBandsRunFromStartToEnd)
{
    struct Case {
        int start, end, num, den, offset, extent, value;
    } cases[] = {
        {0, 255, 1, 1, 0, 100, 0},
        {0, 255, 1, 1, 50, 100, 127},
        {0, 255, 1, 1, 100, 100, 255},
        {255, 0, 1, 1, 25, 100, 192},
        {0, 255, 2, 1, 100, 100, 255},   // clamped
        {200, 0, 3, 1, 100, 100, 0},     // clamped below
        {10, 20, 1, 1, 5, 0, 10},        // nothing to spread over
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.value, GradientChannel(c.start, c.end, c.num, c.den, c.offset, c.extent));
}

} // namespace
