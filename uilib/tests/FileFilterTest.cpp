#include <gtest/gtest.h>

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
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << CString(c.pattern).ToUtf8() << " / " << CString(c.name).ToUtf8();
    EXPECT_FALSE(WildcardMatch(nullptr, L"a"));
    EXPECT_FALSE(WildcardMatch(L"a", nullptr));
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
}

} // namespace
