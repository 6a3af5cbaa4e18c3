#include <gtest/gtest.h>

#include <ostream>

#include "NumberFormat.h"

inline void PrintTo(const CString& text, std::ostream* os) { *os << '"' << text.ToUtf8() << '"'; }

TEST(NumberFormat, GroupingNumberFromLocaleText)
{
    EXPECT_EQ(GroupingFromLocaleText(L"3;2;0"), 32);
    EXPECT_EQ(GroupingFromLocaleText(L"3;0"), 3);
    EXPECT_EQ(GroupingFromLocaleText(L"4;0"), 4);
    EXPECT_EQ(GroupingFromLocaleText(L""), 3);
    EXPECT_EQ(GroupingFromLocaleText(nullptr), 3);
}

TEST(NumberFormat, DigitsAreGroupedByTheGivenRule)
{
    NumberGrouping western;
    EXPECT_EQ(FormatNumberWith(L"1234567", western), L"1,234,567");
    EXPECT_EQ(FormatNumberWith(L"123", western), L"123");
    EXPECT_EQ(FormatNumberWith(L"-1234", western), L"-1,234");
    NumberGrouping indian;
    indian.grouping = 32;
    EXPECT_EQ(FormatNumberWith(L"1234567", indian), L"12,34,567");
    NumberGrouping spaced;
    spaced.thousandSeparator = L" ";
    EXPECT_EQ(FormatNumberWith(L"9876543210", spaced), L"9 876 543 210");
    // Text the system cannot format comes back unchanged.
    EXPECT_EQ(FormatNumberWith(L"12ab", western), L"12ab");
}

TEST(NumberFormat, Int64ZeroIsPlain)
{
    EXPECT_EQ(FormatInt64Grouped(0), L"0");
    CString big = FormatInt64Grouped(9000000000LL);
    EXPECT_EQ(big.SpanIncluding(L"0123456789").GetLength() < big.GetLength() || big == L"9000000000", true);
    CString plain = big;
    plain.Remove(L',');
    plain.Remove(L'.');
    plain.Remove(L' ');
    plain.Remove(L'\u00a0');
    EXPECT_EQ(plain, L"9000000000");
}

TEST(NumberFormat, Durations)
{
    struct Case {
        int ms;
        bool secondsOnly, withMs, alwaysHours;
        const wchar_t* text;
    } cases[] = {
        {3723004, false, false, false, L"1:02:03"},
        {3723004, false, true, false, L"1:02:03.004"},
        {63004, false, false, false, L"1:03"},
        {63004, false, false, true, L"0:01:03"},
        {63004, false, true, false, L"1:03.004"},
        {63004, true, true, false, L"63.004"},
        {63004, true, false, false, L"63"},
        {0, false, false, false, L"0:00"},
        {59999, false, true, true, L"0:00:59.999"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatDuration(c.ms, c.secondsOnly, c.withMs, c.alwaysHours), c.text) << c.ms;
}

TEST(NumberFormat, MailLinksEncodeSubjectAndBody)
{
    EXPECT_EQ(PercentEncodeMailText(L"About Sorvik 3.2.3"), L"About%20Sorvik%203.2.3");
    EXPECT_EQ(PercentEncodeMailText(L"a&b=c?d#e\n"), L"a%26b%3Dc%3Fd%23e%0A");
    EXPECT_EQ(PercentEncodeMailText(L"\u00e9"), L"%C3%A9");
    EXPECT_EQ(BuildMailToUrl(L"help@example.org", L"Hi & bye", nullptr), L"mailto:help@example.org?subject=Hi%20%26%20bye");
    EXPECT_EQ(BuildMailToUrl(L"", L"s", L"line 1\nline&2"), L"mailto:?subject=s&body=line%201%0Aline%262");
}

TEST(NumberFormat, UrlCharacterSets)
{
    EXPECT_EQ(kUrlUnsafeCount, 14u);
    EXPECT_EQ(kUrlReservedCount, 18u);
    EXPECT_NE(std::wcschr(kUrlUnsafeCharacters, L'`'), nullptr);
    EXPECT_NE(std::wcschr(kUrlReservedCharacters, L'\''), nullptr);
}
