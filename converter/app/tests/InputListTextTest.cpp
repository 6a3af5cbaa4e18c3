#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InputListText.h"
#include "TextBytes.h"

namespace {

#ifdef _WIN32
const std::string kBeside = "C:\\in\\";
#else
const std::string kBeside = "C:\\in/";
#endif

TEST(InputListText, EntriesAsTheConverterTakesThem)
{
    struct Case {
        const char* what;
        bool pls;
        std::string bytes;
        int result;
        std::vector<std::string> entries;
    } const cases[] = {
        {"m3u: comments out, blank lines in", false, "#EXTM3U\n  C:\\a.gif  \n\n#x\nD:\\b.gif", 1,
         {"C:\\a.gif", "", "D:\\b.gif"}},
        {"m3u: relative entries beside the list", false, "sub\\a.gif\r\n", 1, {kBeside + "sub\\a.gif"}},
        {"m3u: a NUL costs only its line", false, Bytes("C:\\dir\0\\evil.gif\nC:\\ok.gif\n"), 1, {"C:\\ok.gif"}},
        {"m3u: CR line ends", false, "C:\\a.gif\rC:\\b.gif\r", 1, {"C:\\a.gif", "C:\\b.gif"}},
        {"m3u: UTF-16LE", false, Utf16Bytes(u"C:\\a\r\n", false), 1, {"C:\\a"}},
        {"m3u: a line that names no file", false, "C:\\a\x01.gif\nC:\\b.gif\n", 1, {"C:\\b.gif"}},
        {"pls: relative and absolute", true, "[Playlist]\nNumberOfEntries=2\nFile1=a.gif\nFile2=D:\\b.gif\n", 1,
         {kBeside + "a.gif", "D:\\b.gif"}},
        {"pls: a huge count", true, "[Playlist]\nNumberOfEntries=2147483647\nFile2147483647=D:\\z.gif\n", 1,
         {"D:\\z.gif"}},
        {"pls: no count", true, "[Playlist]\nFile1=D:\\a.gif\n", 0, {}},
    };
    for (const Case& c : cases) {
        CStringArray entries;
        EXPECT_EQ(ReadInputListText(c.pls, c.bytes, L"C:\\in\\list", entries), c.result) << c.what;
        std::vector<std::string> got;
        for (int i = 0; i < entries.GetSize(); ++i)
            got.push_back(entries[i].ToUtf8());
        EXPECT_EQ(got, c.entries) << c.what;
    }
}

TEST(InputListText, ALongPathIsOneEntryAndATooLongOneNone)
{
    const std::string path = "C:\\" + std::string(5000, 'x') + ".gif";
    const std::string junk(10 * 1024 * 1024, 'j');
    CStringArray entries;
    ReadInputListText(false, path + "\n" + junk + "\nD:\\b.gif\n", L"C:\\in\\list", entries);
    ASSERT_EQ(entries.GetSize(), 2);
    EXPECT_EQ(entries[0].ToUtf8(), path);
    EXPECT_EQ(entries[1].ToUtf8(), "D:\\b.gif");
}

} // namespace
