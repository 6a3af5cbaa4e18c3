#include "CString.h"

#include <gtest/gtest.h>

TEST(CStringFormat, WideMeaningOfConversions)
{
    struct Case { const wchar_t* expected; CString actual; };
    auto fmt = [](const wchar_t* f, auto... args) { CString s; s.Format(f, args...); return s; };
    const Case cases[] = {
        {L"abc 12", fmt(L"%s %d", L"abc", 12)},
        {L"[  ab]", fmt(L"[%4s]", L"ab")},
        {L"x=narrow", fmt(L"x=%S", "narrow")},
        {L"Q", fmt(L"%c", L'Q')},
        {L"9000000000", fmt(L"%I64d", static_cast<long long>(9000000000LL))},
        {L"100%", fmt(L"%d%%", 100)},
        {L"%s literal", fmt(L"%%s literal")},
        {L"1.50", fmt(L"%.2f", 1.5)},
        {L"007", fmt(L"%03d", 7)},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.expected, c.actual.GetString());
}

TEST(CStringFormat, LongResultGrowsTheBuffer)
{
    std::wstring big(5000, L'x');
    CString s;
    s.Format(L"<%s>", big.c_str());
    EXPECT_EQ(5002, s.GetLength());
    s.AppendFormat(L"%d", 5);
    EXPECT_EQ(L'5', s[s.GetLength() - 1]);
}

TEST(CStringEdit, TrimFindAndExtract)
{
    CString s(L"  Hello, World \t");
    s.Trim();
    EXPECT_EQ(CString(L"Hello, World"), s);
    EXPECT_EQ(5, s.Find(L','));
    EXPECT_EQ(7, s.Find(L"World"));
    EXPECT_EQ(-1, s.Find(L"x"));
    EXPECT_EQ(8, s.ReverseFind(L'o'));
    EXPECT_EQ(CString(L"Hello"), s.Left(5));
    EXPECT_EQ(CString(L"World"), s.Right(5));
    EXPECT_EQ(CString(L"lo, "), s.Mid(3, 4));
    EXPECT_EQ(CString(L""), s.Mid(50));
    EXPECT_EQ(CString(L"Hello, World"), s.Left(500));
    CString t(L"xxabcxx");
    t.Trim(L'x');
    EXPECT_EQ(CString(L"abc"), t);
}

TEST(CStringEdit, ReplaceRemoveInsertDelete)
{
    CString s(L"a-b-c");
    EXPECT_EQ(2, s.Replace(L"-", L"--"));
    EXPECT_EQ(CString(L"a--b--c"), s);
    EXPECT_EQ(4, s.Remove(L'-'));
    s.Insert(1, L"XY");
    s.Delete(0);
    EXPECT_EQ(CString(L"XYbc"), s);
}

TEST(CStringCompare, CaseInsensitive)
{
    EXPECT_EQ(0, CString(L"MediaFormats.XML").CompareNoCase(L"mediaformats.xml"));
    EXPECT_LT(CString(L"abc").CompareNoCase(L"ABD"), 0);
    EXPECT_GT(CString(L"abcd").CompareNoCase(L"ABC"), 0);
    EXPECT_NE(0, CString(L"a").Compare(L"A"));
}

TEST(CStringTokens, TokenizeSkipsEmptyFields)
{
    CString s(L";a;;bc;");
    int pos = 0;
    EXPECT_EQ(CString(L"a"), s.Tokenize(L";", pos));
    EXPECT_EQ(CString(L"bc"), s.Tokenize(L";", pos));
    EXPECT_EQ(CString(L""), s.Tokenize(L";", pos));
    EXPECT_EQ(-1, pos);
}

TEST(CStringUtf8, RoundTripAndBadBytes)
{
    const char text[] = "Gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x98\x80";
    CString s = CString::FromUtf8(text);
    EXPECT_EQ(std::string(text), s.ToUtf8());
    EXPECT_EQ(L'\xFC', s[2]);
    CString bad = CString::FromUtf8("a\xC3");
    EXPECT_EQ(2, bad.GetLength());
    EXPECT_EQ(L'\xFFFD', bad[1]);
}

TEST(CStringBuffer, ReleaseTakesLengthToNul)
{
    CString s;
    wchar_t* p = s.GetBuffer(10);
    p[0] = L'o'; p[1] = L'k'; p[2] = 0;
    s.ReleaseBuffer();
    EXPECT_EQ(CString(L"ok"), s);
}
