#include "ConvTestSupport.h"
#include "InputLists.h"
#include "TestPaths.h"
#include "TextBytes.h"

#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace {

CString Fixture(const char* name)
{
    CString path = CString::FromUtf8(SourcePath(std::string("converter/app/tests/data/") + name).c_str());
    path.Replace(L'/', L'\\');
    return path;
}

std::vector<std::string> Entries(const CPlaylistFile& list)
{
    std::vector<std::string> entries;
    for (int i = 0; i < list.m_entries.GetSize(); ++i)
        entries.push_back(list.m_entries[i].ToUtf8());
    return entries;
}

TEST(InputLists, KindsByExtension)
{
    struct Case {
        const wchar_t* path;
        bool isList;
        const char* kind;
    } const cases[] = {
        {L"C:\\a\\list.m3u", true, "m3u"}, {L"C:\\a\\LIST.PLS", true, "pls"},  {L"C:\\a\\list.M3u", true, "m3u"},
        {L"C:\\a\\list.m3u8", false, ""},  {L"C:\\a.pls\\clip.gif", false, ""}, {L"C:\\a\\m3u", false, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsInputListFile(c.path), c.isList) << CString(c.path).ToUtf8();
        std::unique_ptr<CPlaylistFile> list(CreatePlaylistFile(c.path));
        const std::string kind = dynamic_cast<CM3uFile*>(list.get())   ? "m3u"
                                 : dynamic_cast<CPlsFile*>(list.get()) ? "pls"
                                                                       : "";
        EXPECT_EQ(kind, c.kind) << CString(c.path).ToUtf8();
    }
}

TEST(InputLists, M3uSkipsCommentsAndKeepsBlankLinesAsEmptyEntries)
{
    CM3uFile list;
    ASSERT_EQ(list.Load(Fixture("lists.m3u")), 1);
    // A relative entry is found beside the list.
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"C:\\Clips\\first clip.gif", "", "C:\\Clips\\second.gif",
                                                        Fixture("third.gif").ToUtf8()}));
}

TEST(InputLists, M3uMissingFileAndVeryLongLines)
{
    ScratchFolder folder;
    CM3uFile list;
    EXPECT_EQ(list.Load(folder.File(L"none.m3u")), 0);
    EXPECT_EQ(list.Load(folder.Path()), 0);
    // A line longer than one read buffer stays one entry.
    const std::string longPath = "C:\\" + std::string(5000, 'x') + ".gif";
    WriteBytes(folder.File(L"long.m3u"), longPath + "\nC:\\b.gif\n");
    ASSERT_EQ(list.Load(folder.File(L"long.m3u")), 1);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{longPath, "C:\\b.gif"}));
}

TEST(InputLists, ListsInAnyEncodingGiveWholeEntriesOrNone)
{
    ScratchFolder folder;
    struct Case {
        const wchar_t* name;
        std::string bytes;
        std::vector<std::string> entries;
    } const cases[] = {
        {L"zero-byte.pls",
         Bytes("[Playlist]\nNumberOfEntries=3\nFile1=C:\\dir\0\\evil.gif\nFile2=C:\\b.gif\nFile3=C:\\c.gif\n"),
         {"C:\\b.gif", "C:\\c.gif"}},
        {L"be.pls", Utf16Bytes(u"[Playlist]\r\nNumberOfEntries=1\r\nFile1=C:\\\u00E9\u4E2D.gif\r\n", true),
         {"C:\\\xC3\xA9\xE4\xB8\xAD.gif"}},
        {L"relative.pls", "[Playlist]\nNumberOfEntries=1\nFile1=sub\\a.gif\n", {folder.File(L"sub\\a.gif").ToUtf8()}},
        {L"zero-byte.m3u", Bytes("C:\\dir\0\\evil.gif\r\nC:\\b.gif\r\n"), {"C:\\b.gif"}},
        {L"le.m3u", Utf16Bytes(u"C:\\a.gif\r\nC:\\\u4E2D.gif", false), {"C:\\a.gif", "C:\\\xE4\xB8\xAD.gif"}},
        {L"cr.m3u", "C:\\a.gif\rC:\\b.gif\r", {"C:\\a.gif", "C:\\b.gif"}},
        // A text-mode read would end the file at the Ctrl+Z.
        {L"ctrlz.m3u", "C:\\a.gif\r\n\x1A\r\nC:\\b.gif\r\n", {"C:\\a.gif", "C:\\b.gif"}},
    };
    for (const Case& c : cases) {
        WriteBytes(folder.File(c.name), c.bytes);
        std::unique_ptr<CPlaylistFile> list(CreatePlaylistFile(c.name));
        ASSERT_EQ(list->Load(folder.File(c.name)), 1) << CString(c.name).ToUtf8();
        EXPECT_EQ(Entries(*list), c.entries) << CString(c.name).ToUtf8();
    }
}

TEST(InputLists, SavesReadBackAsTheSameEntriesAndAFailedSaveKeepsTheOldList)
{
    ScratchFolder folder;
    for (const wchar_t* name : {L"back.m3u", L"back.pls"}) {
        std::unique_ptr<CPlaylistFile> list(CreatePlaylistFile(name));
        list->Add(L"C:\\Clips\\\u4E2D\u00E9.gif");
        list->Add(L"C:\\" + CString(L'x', 5000) + L".gif");
        const CString path = folder.File(name);
        ASSERT_EQ(list->Save(path), 1);
        std::unique_ptr<CPlaylistFile> again(CreatePlaylistFile(name));
        ASSERT_EQ(again->Load(path), 1);
        EXPECT_EQ(Entries(*again), Entries(*list));
        // A folder where the new file would go makes the save fail before the old list is touched.
        const std::string before = ReadBytes(path);
        ASSERT_TRUE(CreateDirectoryW(path + L".saving", nullptr));
        EXPECT_EQ(list->Save(path), -1);
        EXPECT_EQ(ReadBytes(path), before);
    }
}

TEST(InputLists, M3uWritesOneLinePerEntry)
{
    ScratchFolder folder;
    CM3uFile list;
    list.Add(L"C:\\Clips\\a b.gif");
    list.Add(CString());
    EXPECT_EQ(list.Add(L"D:\\c.gif"), 2);
    const CString path = folder.File(L"out \u00E9.m3u");
    ASSERT_EQ(list.Save(path), 1);
    EXPECT_EQ(ReadBytes(path), "C:\\Clips\\a b.gif\r\n\r\nD:\\c.gif\r\n");
    CM3uFile again;
    ASSERT_EQ(again.Load(path), 1);
    EXPECT_EQ(Entries(again), Entries(list));
    EXPECT_EQ(list.Save(folder.File(L"no such folder\\x.m3u")), -1);
    list.Clear();
    EXPECT_EQ(list.m_entries.GetSize(), 0);
}

TEST(InputLists, PlsReadsNumberedEntriesUpToTheCount)
{
    CPlsFile list;
    ASSERT_EQ(list.Load(Fixture("lists.pls")), 1);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"C:\\Clips\\one.gif", "C:\\Clips\\three.gif"}));
}

TEST(InputLists, PlsWithoutCountLoadsNothing)
{
    CPlsFile list;
    EXPECT_EQ(list.Load(Fixture("no-count.pls")), 0);
    EXPECT_EQ(list.m_entries.GetSize(), 0);
    ScratchFolder folder;
    EXPECT_EQ(list.Load(folder.File(L"none.pls")), 0);
}

TEST(InputLists, PlsWithAHugeCountReadsOnlyItsKeys)
{
    CPlsFile list;
    ASSERT_EQ(list.Load(Fixture("huge-count.pls")), 1);
    // Key names are compared without regard to case, and taken in number order.
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"C:\\Clips\\two.gif", "C:\\Clips\\seven.gif"}));
}

TEST(InputLists, PlsSaveReplacesOnlyItsSection)
{
    ScratchFolder folder;
    const CString path = folder.File(L"out.pls");
    WriteBytes(path, "[Other]\r\nKeep=yes\r\n[Playlist]\r\nNumberOfEntries=9\r\nFile9=C:\\old.gif\r\n");
    CPlsFile list;
    list.Add(L"C:\\Clips\\one.gif");
    list.Add(L"C:\\Clips\\two.gif");
    ASSERT_EQ(list.Save(path), 1);
    CPlsFile again;
    ASSERT_EQ(again.Load(path), 1);
    EXPECT_EQ(Entries(again), Entries(list));
    wchar_t keep[16] = L"";
    GetPrivateProfileStringW(L"Other", L"Keep", L"", keep, 16, path);
    EXPECT_STREQ(keep, L"yes");
    EXPECT_EQ(GetPrivateProfileIntW(L"Playlist", L"NumberOfEntries", -1, path), 2u);
    wchar_t old[32] = L"";
    GetPrivateProfileStringW(L"Playlist", L"File9", L"", old, 32, path);
    EXPECT_STREQ(old, L"");
    // A new file is made.
    const CString fresh = folder.File(L"fresh.pls");
    ASSERT_EQ(list.Save(fresh), 1);
    CPlsFile third;
    ASSERT_EQ(third.Load(fresh), 1);
    EXPECT_EQ(Entries(third), Entries(list));
}

} // namespace
