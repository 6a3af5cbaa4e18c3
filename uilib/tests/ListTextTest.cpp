#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ListText.h"
#include "TextBytes.h"

namespace {

using Lines = std::vector<std::string>;

// Each line as UTF-8, a broken one as "!".
Lines Split(const std::string& bytes)
{
    Lines lines;
    for (const CListTextLine& line : SplitListText(bytes))
        lines.push_back(line.intact ? line.text.ToUtf8() : std::string("!"));
    return lines;
}

std::vector<std::string> Utf8Of(const std::vector<CString>& entries)
{
    std::vector<std::string> out;
    for (const CString& entry : entries)
        out.push_back(entry.ToUtf8());
    return out;
}

TEST(ListText, LinesInEveryEncodingAndWithEveryLineEnd)
{
    struct Case {
        const char* what;
        std::string bytes;
        Lines lines;
    } const cases[] = {
        {"LF", "a\nb", {"a", "b"}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"CR only", "a\rb\r", {"a", "b"}},
        {"mixed, with a blank line", "a\r\r\nb\n\nc", {"a", "", "b", "", "c"}},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" "a\xC3\xA9\r\nb", {"a\xC3\xA9", "b"}},
        {"UTF-16LE", Utf16Bytes(u"a\u00E9\r\nb", false), {"a\xC3\xA9", "b"}},
        {"UTF-16BE with a pair", Utf16Bytes(u"x\U0001F600\ry", true), {"x\xF0\x9F\x98\x80", "y"}},
        {"empty", "", {}},
        // A broken line is marked, and the lines after it still count.
        {"NUL without a mark", Bytes("C:\\dir\0\\evil.gif\nC:\\next.gif"), {"!", "C:\\next.gif"}},
        {"NUL in UTF-16", Utf16Bytes(std::u16string(u"a\0b\nc", 5), false), {"!", "c"}},
        {"bad UTF-8 after its mark", "\xEF\xBB\xBF" "a\xC3(\nb", {"!", "b"}},
        {"overlong UTF-8", "\xEF\xBB\xBF\xC0\xAF\nb", {"!", "b"}},
        {"lone surrogate", Utf16Bytes(u"a\xD800z\nb", true), {"!", "b"}},
        {"half a character at the end", Utf16Bytes(u"a\nb", false) + "x", {"a", "!"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Split(c.bytes), c.lines) << c.what;
}

TEST(ListText, LinesOfAnyLengthStayWhole)
{
    const std::string path = "C:\\" + std::string(100000, 'x') + ".gif";
    EXPECT_EQ(Split(path + "\nC:\\b.gif\n"), (Lines{path, "C:\\b.gif"}));
    // A UTF-8 character at any place of a long line is read as one character.
    const std::string wide = std::string(4094, 'x') + "\xC3\xA9" + std::string(3000, 'y');
    EXPECT_EQ(Split("\xEF\xBB\xBF" + wide), (Lines{wide}));
}

TEST(ListText, OnlyTextsThatCanNameAFileAreEntries)
{
    struct Case {
        CString entry;
        bool path;
    } const cases[] = {
        {L"C:\\a b\\c.gif", true},       {L"", false},
        {L"C:\\a\tb.gif", false},        {L"C:\\a|b.gif", false},
        {L"\"C:\\a.gif\"", false},       {L"C:\\\u00E9\u4E2D.gif", true},
        {CString(L'x', kMaxListEntryPath), true}, {CString(L'x', kMaxListEntryPath + 1), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsListEntryPath(c.entry), c.path) << c.entry.Left(40).ToUtf8();
}

TEST(ListText, RelativeEntriesAreFoundBesideTheList)
{
#ifdef _WIN32
    const CString beside = L"C:\\lists\\";
#else
    const CString beside = L"C:\\lists/";
#endif
    struct Case {
        CString list, entry, resolved;
    } const cases[] = {
        {L"C:\\lists\\l.m3u", L"a.gif", beside + L"a.gif"},
        {L"C:\\lists\\l.m3u", L"..\\up\\a.gif", beside + L"..\\up\\a.gif"},
        {L"C:\\lists\\l.m3u", L"D:\\a.gif", L"D:\\a.gif"},
        {L"C:\\lists\\l.m3u", L"\\\\server\\share\\a.gif", L"\\\\server\\share\\a.gif"},
        {L"C:\\lists\\l.m3u", L"/abs/a.gif", L"/abs/a.gif"},
        {L"l.m3u", L"a.gif", L"a.gif"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveListEntry(c.list, c.entry), c.resolved) << c.entry.ToUtf8();
}

TEST(ListText, M3uEntriesAreTheTrimmedLinesThatAreNoComments)
{
    EXPECT_EQ(Utf8Of(ParseM3uText("#EXTM3U\r  # indented\r\n  C:\\a b.gif \t\n\n   \nb.gif")),
              (std::vector<std::string>{"C:\\a b.gif", "", "", "b.gif"}));
}

TEST(ListText, PlsEntriesComeFromTheKeysThatExist)
{
    struct Case {
        const char* what;
        std::string bytes;
        bool counted;
        std::vector<std::string> entries;
    } const cases[] = {
        {"a huge count", "[Playlist]\nNumberOfEntries=20000000\nFile1=a.gif\nFile20000000=b.gif\n", true,
         {"a.gif", "b.gif"}},
        {"the largest count", "[Playlist]\nNumberOfEntries=2147483647\nFile2147483647=b.gif\nFile1=a.gif\n", true,
         {"a.gif", "b.gif"}},
        {"keys beyond the count", "[Playlist]\nNumberOfEntries=2\nFile3=c.gif\nFile2=b.gif\n", true, {"b.gif"}},
        {"names as File%d writes them", "[playlist]\nnumberofentries=9\nFILE1=a.gif\nFile01=x.gif\nFile+2=y.gif\n",
         true, {"a.gif"}},
        {"the first of two keys", "[Playlist]\nNumberOfEntries=1\nFile1=a.gif\nFile1=b.gif\n", true, {"a.gif"}},
        {"quotes, blanks, empties", "[Playlist]\nNumberOfEntries=3\nFile1 = \"a b.gif\" \nFile2=\nFile3=  c.gif\n",
         true, {"a b.gif", "c.gif"}},
        {"other sections", "[Other]\nFile1=x.gif\n[Playlist]\nNumberOfEntries=1\n[More]\nFile1=y.gif\n", true, {}},
        {"a NUL in one entry", Bytes("[Playlist]\nNumberOfEntries=2\nFile1=C:\\d\0\\e.gif\nFile2=b.gif\n"),
         true, {"b.gif"}},
        {"UTF-16BE", Utf16Bytes(u"[Playlist]\r\nNumberOfEntries=1\r\nFile1=\u00E9.gif\r\n", true), true,
         {"\xC3\xA9.gif"}},
        {"no count", "[Playlist]\nFile1=a.gif\n", false, {}},
        {"a count of -1", "[Playlist]\nNumberOfEntries=-1\nFile1=a.gif\n", false, {}},
    };
    for (const Case& c : cases) {
        std::vector<CString> entries;
        EXPECT_EQ(ParsePlsText(c.bytes, entries), c.counted) << c.what;
        EXPECT_EQ(Utf8Of(entries), c.entries) << c.what;
    }
}

TEST(ListText, WrittenListsReadBackAsTheSameEntries)
{
    // The first starts like a byte-order mark.
    const std::vector<CString> entries = {L"\uFEFFodd.gif", L"C:\\a b.gif", L"D:\\\u00E9\u4E2D\U0001F600.gif",
                                          L"C:\\" + CString(L'x', 5000)};
    EXPECT_EQ(Utf8Of(ParseM3uText(ComposeM3uText(entries, L"\r\n"))), Utf8Of(entries));
    std::vector<CString> back;
    ASSERT_TRUE(ParsePlsText(ComposePlsText(std::string(), entries), back));
    EXPECT_EQ(Utf8Of(back), Utf8Of(entries));
}

TEST(ListText, APlsIsWrittenWithItsOtherSections)
{
    const std::string old =
        "; note\r\n[Keep]\r\nx=1\r\n[Playlist]\r\nNumberOfEntries=9\r\nFile9=old.gif\r\n[Also]\ny=2\n";
    EXPECT_EQ(ComposePlsText(old, {L"a.gif"}),
              "; note\r\n[Keep]\r\nx=1\r\n[Also]\r\ny=2\r\n[Playlist]\r\nNumberOfEntries=1\r\nFile1=a.gif\r\n");
}

TEST(ListText, TextIsStoredInTheCodePageOnlyWhenItHoldsEveryCharacter)
{
    EXPECT_EQ(EncodeListText(L"C:\\a.gif\n"), "C:\\a.gif\n");
    // A first character that reads as a byte-order mark keeps its own mark in front.
    EXPECT_EQ(EncodeListText(L"\uFEFFa"), "\xEF\xBB\xBF\xEF\xBB\xBF" "a");
    // No single-byte code page holds this, so the list is written as UTF-8 (natively it always is).
    const std::string chinese = EncodeListText(L"\u4E2D.gif");
    EXPECT_EQ(chinese.substr(chinese.size() - 7), "\xE4\xB8\xAD.gif");
}

TEST(ListText, TheCodePageAloneRefusesWhatWouldReadBackAsAnotherText)
{
    std::string bytes;
    EXPECT_TRUE(EncodeCodePageListText(L"C:\\a.gif\n", bytes));
    EXPECT_EQ(bytes, "C:\\a.gif\n");
    EXPECT_FALSE(EncodeCodePageListText(L"\uFEFFa", bytes));
    // Where the code page is a single-byte one (Windows), it cannot hold this.
    const bool heldAll = EncodeCodePageListText(L"\u4E2D.gif", bytes);
    EXPECT_EQ(heldAll, bytes == "\xE4\xB8\xAD.gif");
}

} // namespace
