#include <gtest/gtest.h>

#include <ctime>

#include "UpdateRules.h"

namespace {

// Seconds since 1970 of a local date and time.
int64_t LocalTime(int year, int month, int day, int hour, int minute)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_isdst = -1;
    return int64_t(std::mktime(&t));
}

constexpr int64_t kHour = 3600, kDay = 86400;

TEST(UpdateRules, ACheckIsDueByItsInterval)
{
    const int64_t now = LocalTime(2026, 3, 12, 10, 0);
    struct Case {
        const char* what;
        int64_t last;
        int64_t now;
        int interval;
        bool due;
    } cases[] = {
        {"interval 0, just checked", now, now, 0, true},
        {"interval 1, 23:59 yesterday", LocalTime(2026, 3, 11, 23, 59), LocalTime(2026, 3, 12, 0, 5), 1, true},
        {"interval 1, 00:01 today", LocalTime(2026, 3, 12, 0, 1), LocalTime(2026, 3, 12, 23, 50), 1, false},
        {"interval 1, same day last year", LocalTime(2025, 3, 12, 10, 0), now, 1, true},
        {"interval 7, 6 days 23 hours", now - 6 * kDay - 23 * kHour, now, 7, false},
        {"interval 7, 7 days", now - 7 * kDay, now, 7, true},
        {"interval 7, 30 days", now - 30 * kDay, now, 7, true},
        {"interval 7, never checked", 0, now, 7, true},
        {"interval 3, last check in the future", now + 2 * kDay, now, 3, false},
        {"interval 3, future check passed by 3 days", now + 2 * kDay, now + 5 * kDay, 3, true},
        {"interval -1, years ago", 0, now, -1, false},
        {"interval 2, one day", now - kDay, now, 2, false},
        {"interval 2, two days", now - 2 * kDay, now, 2, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsUpdateCheckDue(c.last, c.now, c.interval), c.due) << c.what;
}

TEST(UpdateRules, VersionsParseAsThreeNumbers)
{
    struct Case {
        const wchar_t* text;
        int result;
        int a, b, c;
    } cases[] = {
        {L"3.2.3", 0, 3, 2, 3},
        {L"  3 . 3 . 0 ", 0, 3, 3, 0},
        {L"3.2.10.7", 0, 3, 2, 10},
        {L"3.2", -1, 9, 9, 9},
        {L"3..2", -1, 9, 9, 9},
        {L"", -1, 9, 9, 9},
        {L"3.2.", -1, 9, 9, 9},
        {L"v3.2.1", 0, 0, 2, 1},
        {L"3.2b.1x", 0, 3, 2, 1},
        {L"99999999999.1.1", 0, 2147483647, 1, 1},
    };
    for (const Case& c : cases) {
        int fields[3] = {9, 9, 9};
        EXPECT_EQ(ParseVersion(c.text, fields), c.result) << CString(c.text).ToUtf8();
        EXPECT_EQ(fields[0], c.a) << CString(c.text).ToUtf8();
        EXPECT_EQ(fields[1], c.b) << CString(c.text).ToUtf8();
        EXPECT_EQ(fields[2], c.c) << CString(c.text).ToUtf8();
    }
}

TEST(UpdateRules, TheFirstDifferentFieldDecides)
{
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        int result;
    } cases[] = {
        {L"3.2.3", L"3.2.3", 0},       // equal
        {L"3.3.0", L"3.2.3", 1},       // newer
        {L"3.2.10", L"3.2.9", 1},      // numbers, not texts
        {L"3.2.2", L"3.2.3", -1},      // older
        {L"4.0.0", L"3.9.9", 1},
        {L"3.2.3.9", L"3.2.3", 0},     // more fields: the fourth is ignored
        {L"3.3", L"3.2.3", -1},        // fewer fields: counts as 0.0.0
        {L"3.3", L"0.0.0", 0},
        {L"junk", L"3.2.3", -1},       // unreadable: 0.0.0
        {L"3.0.3", L"3.2.3", -1},      // the converter's version is no news to the viewer
        {L"3 . 3 . 0", L"3.2.3", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompareVersions(c.a, c.b), c.result) << CString(c.a).ToUtf8() << " vs " << CString(c.b).ToUtf8();
}

TEST(UpdateRules, TheDescriptorGivesVersionAddressAndNotes)
{
    CUpdateDescriptor d;
    ASSERT_EQ(ParseUpdateXml(L"<?xml version=\"1.0\"?><Updates><Application Version=\"3.3.0\" Level=\"4\">"
                             L"<URL> https://www.brenmoor.example/sorvik/setup.exe </URL>"
                             L"<Description>Line one\\nLine two \\ kept</Description></Application></Updates>",
                             d),
              0);
    EXPECT_EQ(d.version, CString(L"3.3.0"));
    EXPECT_EQ(d.level, 4);
    EXPECT_EQ(d.downloadUrl, CString(L"https://www.brenmoor.example/sorvik/setup.exe"));
    EXPECT_EQ(d.description, CString(L"Line one\r\nLine two \\ kept"));
}

TEST(UpdateRules, ALevelMissingKeepsTheOldOne)
{
    CUpdateDescriptor d;
    d.level = 7;
    ASSERT_EQ(ParseUpdateXml(L"<Updates><Application Version=\"1.0.0\"><URL>http://a.test/x</URL></Application></Updates>", d), 0);
    EXPECT_EQ(d.level, 7);
    EXPECT_TRUE(d.description.IsEmpty());
}

TEST(UpdateRules, BrokenDescriptorsAreRefused)
{
    const wchar_t* broken[] = {
        L"",
        L"not xml <",
        L"<Other/>",
        L"<Updates/>",
        L"<Updates><Application><URL>http://a.test/x</URL></Application></Updates>",
        L"<Updates><Application Version=\"\"><URL>http://a.test/x</URL></Application></Updates>",
        L"<Updates><Application Version=\"1.2.3\"></Application></Updates>",
        L"<Updates><Application Version=\"1.2.3\"><URL>ftp://a.test/x</URL></Application></Updates>",
        L"<Updates><Application Version=\"1.2.3\"><URL>file:///C:/Windows/notepad.exe</URL></Application></Updates>",
        L"<Updates><Application Version=\"1.2.3\"><URL>C:\\Windows\\notepad.exe</URL></Application></Updates>",
    };
    for (const wchar_t* xml : broken) {
        CUpdateDescriptor d;
        EXPECT_EQ(ParseUpdateXml(xml, d), -1) << CString(xml).ToUtf8();
    }
}

TEST(UpdateRules, OnlyWebAddressesGoToTheShell)
{
    struct Case {
        const wchar_t* url;
        bool web;
    } cases[] = {
        {L"http://www.brenmoor.example/sorvik/", true},
        {L"HTTPS://www.brenmoor.example/x.exe", true},
        {L"http://127.0.0.1:8080/download", true},
        {L"ftp://www.brenmoor.example/x.exe", false},
        {L"file:///C:/x.exe", false},
        {L"C:\\x.exe", false},
        {L"calc.exe", false},
        {L"http:/x", false},
        {L"http://", false},
        {L"http:///x", false},
        {L"http://a.test/x y", false},
        {L"http://a.test/\"x", false},
        {L"javascript:alert(1)", false},
        {L"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsWebAddress(c.url), c.web) << CString(c.url).ToUtf8();
}

} // namespace
