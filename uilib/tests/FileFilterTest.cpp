#include <gtest/gtest.h>

#include <string>

#include "FileFilter.h"

namespace {

TEST(WildcardMatch, PatternCharacters)
{
    struct Case {
        const wchar_t* pattern;
        const wchar_t* name;
        bool match;
    } cases[] = {
        {L"*.gif", L"C:\\a\\Cat.GIF", true},
        {L"*.gif", L"cat.gifx", false},
        {L"*", L"", true},
        {L"?at", L"cat", true},
        {L"?at", L"at", false},
        {L"a*b*c", L"aXXbYYc", true},
        {L"a*b*c", L"aXXbYY", false},
        {L"\x1A.gif", L"name.gif", true},
        {L"\x1A.gif", L"na.me.gif", false},
        {L"!*.gif", L"a.png", true},
        {L"!*.gif", L"a.gif", false},
        {L"!", L"a", false},
        {L"[a-c]at", L"Bat", true},
        {L"[a-c]at", L"dat", false},
        {L"[!a-c]at", L"dat", true},
        {L"[`]]x", L"]x", true},
        {L"[abc", L"a", false},
        {L"`*", L"*", true},
        {L"`*", L"a", false},
        {L"a`", L"a", false},
        {L"*.GIF", L"cat.gif", true},
        {L"?", L"", false},
        {L"[!0-9]*", L"7up.gif", false},
        {L"[!0-9]*", L"up7.gif", true},
        {L"!\x1A.gif", L"a.b.gif", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << CString(c.pattern).ToUtf8() << " / " << CString(c.name).ToUtf8();
    EXPECT_FALSE(WildcardMatch(nullptr, L"a"));
    EXPECT_FALSE(WildcardMatch(L"a", nullptr));
}

// Patterns of many stars against long names that almost match would take exponential time if
// each star tried every split; ctest's timeout fails this test then.
TEST(WildcardMatch, AdversarialPatternsFinish)
{
    std::wstring tenThousand(10000, L'a');
    EXPECT_FALSE(WildcardMatch(L"*a*a*a*a*b", tenThousand.c_str()));
    EXPECT_TRUE(WildcardMatch(L"*a*a*a*a*b", (tenThousand + L"b").c_str()));
    EXPECT_FALSE(WildcardMatch(L"\x1A\x1A\x1A\x1A.x", std::wstring(5000, L'n').c_str()));

    std::wstring name(20000, L'a');
    std::wstring pattern;
    for (int i = 0; i < 40; i++)
        pattern += L"*a";
    EXPECT_FALSE(WildcardMatch((pattern + L"b").c_str(), name.c_str()));
    EXPECT_TRUE(WildcardMatch(pattern.c_str(), name.c_str()));
    EXPECT_FALSE(WildcardMatch((L"!" + pattern + L"*").c_str(), name.c_str()));
}

TEST(WildcardMatch, CaseFlag)
{
    struct Case {
        const wchar_t* pattern;
        const wchar_t* name;
        bool caseSensitive;
        bool match;
    } cases[] = {
        {L"*.gif", L"A.GIF", false, true},
        {L"*.gif", L"A.GIF", true, false},
        {L"*.GIF", L"A.GIF", true, true},
        {L"[a-c]at", L"Bat", true, false},
        {L"[A-C]at", L"Bat", true, true},
        {L"`Q", L"q", true, false},
        {L"`Q", L"q", false, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatch(c.pattern, c.name, c.caseSensitive), c.match)
            << CString(c.pattern).ToUtf8() << " / " << CString(c.name).ToUtf8() << " case " << c.caseSensitive;
}

TEST(FileFilter, IncludeAndExcludeLists)
{
    CFileFilter filter;
    filter.SetPatterns(L"*.gif;;*.playlist", L"*tmp*", 0);
    EXPECT_EQ(filter.m_include.GetSize(), 2);
    EXPECT_EQ(filter.m_include[0], CString(L"*.GIF"));
    EXPECT_TRUE(filter.Match(L"C:\\x\\a.gif"));
    EXPECT_TRUE(filter.Match(L"list.PLAYLIST"));
    EXPECT_FALSE(filter.Match(L"a.png"));
    EXPECT_FALSE(filter.Match(L"tmpfile.gif"));

    filter.SetPatterns(L"*", L"", 0);
    EXPECT_TRUE(filter.Match(L"anything"));
    filter.SetPatterns(L"", L"", 0);
    EXPECT_FALSE(filter.Match(L"anything"));
    filter.SetPatterns(L"*", L"*", 0);
    EXPECT_FALSE(filter.Match(L"anything"));

    filter.SetPatterns(L"*.gif;;*.GIF;", L"", 0);
    EXPECT_EQ(filter.m_include.GetSize(), 2);
    EXPECT_EQ(filter.m_include[1], CString(L"*.GIF"));
}

TEST(FileFilter, CaseSensitiveFilterKeepsLetterCase)
{
    CFileFilter filter;
    filter.SetPatterns(L"*.gif", L"Tmp*", 1);
    EXPECT_EQ(filter.m_include[0], CString(L"*.gif"));
    EXPECT_TRUE(filter.Match(L"a.gif"));
    EXPECT_FALSE(filter.Match(L"a.GIF"));
    EXPECT_FALSE(filter.Match(L"Tmp1.gif"));
    EXPECT_TRUE(filter.Match(L"tmp1.gif"));
}

} // namespace
