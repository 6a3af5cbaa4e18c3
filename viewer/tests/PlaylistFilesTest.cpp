#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include <pugixml.hpp>

#include "ListText.h"
#include "PlaylistFiles.h"
#include "PlaylistItem.h"
#include "SettingsValues.h"
#include "TextBytes.h"
#include "ViewerFiles.h"
#include "ViewerTestSupport.h"

namespace {

class PlaylistFilesTest : public ScratchFolderTest {
protected:
    void Write(const std::string& name, const std::string& text) { std::ofstream(m_folder / name, std::ios::binary) << text; }
    std::string Read(const std::string& name)
    {
        std::ifstream in(m_folder / name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    CPlaylistItem* AddItem(CPlaylist& list, const CString& path)
    {
        CPlaylistItem* item = new CPlaylistItem;
        item->m_strPath = path;
        list.m_items.Add(item);
        return item;
    }
    // The paths a list file gives, as UTF-8; -1 as the only element when it was refused.
    std::vector<std::string> Loaded(const std::string& name)
    {
        CPlaylist list;
        if (LoadPlaylistFile(Path(name), list) != 0)
            return {"-1"};
        std::vector<std::string> paths;
        for (int i = 0; i < list.GetCount(); i++)
            paths.push_back(list.GetAt(i)->m_strPath.ToUtf8());
        return paths;
    }
    std::string Beside(const std::string& entry) const
    {
        return ViewerFiles::JoinPath(Folder(), CString::FromUtf8(entry.c_str())).ToUtf8();
    }
};

TEST(PlaylistFileTypes, AreRecognisedByTheirExtensionInAnyCase)
{
    EXPECT_TRUE(IsPlaylistFile(L"C:\\a\\list.PLS"));
    EXPECT_TRUE(IsPlaylistFile(L"list.M3u"));
    EXPECT_TRUE(IsPlaylistFile(L"x.playlist"));
    EXPECT_FALSE(IsPlaylistFile(L"x.gif"));
    EXPECT_FALSE(IsPlaylistFile(L"playlist"));
    EXPECT_FALSE(IsPlaylistFile(L"dir.m3u\\file"));
}

TEST(Base64, RoundTripsEveryLengthWithTheStandardAlphabet)
{
    char out[16];
    const uint8_t man[] = {'M', 'a', 'n'};
    EXPECT_EQ(std::string(out, Base64Encode(man, 3, out)), "TWFu");
    EXPECT_EQ(std::string(out, Base64Encode(man, 2, out)), "TWE=");
    EXPECT_EQ(std::string(out, Base64Encode(man, 1, out)), "TQ==");
    const uint8_t high[] = {0xFB, 0xFF};
    EXPECT_EQ(std::string(out, Base64Encode(high, 2, out)), "+/8=");
    for (size_t n = 0; n < 40; n++) {
        std::vector<uint8_t> bytes(n);
        for (size_t i = 0; i < n; i++)
            bytes[i] = uint8_t(i * 37 + 11);
        std::string text((n + 2) / 3 * 4, '\0');
        text.resize(Base64Encode(bytes.data(), n, &text[0]));
        std::vector<uint8_t> back(text.size() * 6 / 8 + 8);
        back.resize(Base64Decode(text.data(), text.size(), back.data()));
        EXPECT_EQ(back, bytes) << n;
    }
}

TEST(Base64, DecodingStopsAtTheFirstForeignCharacter)
{
    uint8_t out[16];
    EXPECT_EQ(Base64Decode("TWFu\nTWFu", 9, out), 3u);
    EXPECT_EQ(Base64Decode("TW=Fu", 5, out), 1u);
}

TEST_F(PlaylistFilesTest, XmlPlaylistRoundTripsFactsAndFilters)
{
    CPlaylist list;
    list.Flags = 3;
    list.Title = L"Holiday \u00e9t\u00e9";
    CPlaylistItem* a = AddItem(list, L"C:\\gifs\\a \u00e9.gif");
    a->State = ITEM_READY;
    a->Width = 320;
    a->Height = 240;
    a->FrameCount = 12;
    a->Duration = 1200;
    a->Size = 5000000000LL;
    a->LoopCount = 2;
    a->Reverse = a->FlipVert = a->RotateRight = a->Negate = 1;
    a->GrayScale = 1;
    a->ThumbnailFile = L"C:\\thumbs\\a.jpg";
    AddItem(list, L"C:\\gifs\\b.gif");
    ASSERT_EQ(SavePlaylistFile(Path("list.playlist"), L".PLAYLIST", list, true), 0);

    std::string xml = Read("list.playlist");
    EXPECT_NE(xml.find("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"), std::string::npos);
    EXPECT_NE(xml.find("<Playlists Version=\"1.2.0\" Generator=\"Brenmoor - Sorvik\">"), std::string::npos);
    EXPECT_NE(xml.find("\t<Playlist Flags=\"3\">"), std::string::npos);
    EXPECT_NE(xml.find("Negative=\"1\""), std::string::npos);
    EXPECT_EQ(xml.find("GrayScale"), std::string::npos);

    CPlaylist back;
    ASSERT_EQ(LoadPlaylistFile(Path("list.playlist"), back), 0);
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back.Flags, 3);
    EXPECT_EQ(back.Title, list.Title);
    CPlaylistItem* r = back.GetAt(0);
    EXPECT_EQ(r->m_strPath, a->m_strPath);
    EXPECT_EQ(r->State, ITEM_READY);
    EXPECT_EQ(r->Width, 320);
    EXPECT_EQ(r->Height, 240);
    EXPECT_EQ(r->FrameCount, 12);
    EXPECT_EQ(r->Duration, 1200);
    EXPECT_EQ(r->Size, 5000000000LL);
    EXPECT_EQ(r->LoopCount, 2);
    EXPECT_EQ(r->Reverse, 1);
    EXPECT_EQ(r->FlipHorz, 0);
    EXPECT_EQ(r->FlipVert, 1);
    EXPECT_EQ(r->RotateRight, 1);
    // The negate filter survives under the name it is written with.
    EXPECT_EQ(r->Negate, 1);
    EXPECT_EQ(r->GrayScale, 0);
    EXPECT_EQ(r->ThumbnailFile, a->ThumbnailFile);
    EXPECT_EQ(back.GetAt(1)->m_strPath, CString(L"C:\\gifs\\b.gif"));
}

TEST_F(PlaylistFilesTest, XmlReaderTakesTheOlderNegateNameAndSkipsItemsWithoutFile)
{
    Write("old.playlist",
          "<?xml version=\"1.0\"?><Playlists Version=\"1.1.0\"><Playlist><Title>T</Title>"
          "<Item State=\"0\" Width=\"5\"><Thumbnail/></Item>"
          "<Item Width=\"7\"><File>x.gif</File><Filters Negate=\"1\" FlipHorz=\"1\"/></Item>"
          "</Playlist></Playlists>");
    CPlaylist list;
    ASSERT_EQ(LoadXmlPlaylist(Path("old.playlist"), list), 0);
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetAt(0)->Width, 7);
    EXPECT_EQ(list.GetAt(0)->Negate, 1);
    EXPECT_EQ(list.GetAt(0)->FlipHorz, 1);
    EXPECT_EQ(list.Title, CString(L"T"));
}

TEST_F(PlaylistFilesTest, ImplausibleStoredFactsAreDropped)
{
    Write("bad.playlist",
          "<Playlists><Playlist>"
          "<Item State=\"2\" Width=\"30\" Height=\"20\" FrameCount=\"2000000000\"><File>a.gif</File></Item>"
          "<Item State=\"2\" Width=\"-4\" Height=\"20\" FrameCount=\"3\"><File>b.gif</File></Item>"
          "<Item State=\"2\" Width=\"30\" Height=\"20\" FrameCount=\"3\" Size=\"99\"><File>c.gif</File></Item>"
          "</Playlist></Playlists>");
    CPlaylist list;
    ASSERT_EQ(LoadXmlPlaylist(Path("bad.playlist"), list), 0);
    ASSERT_EQ(list.GetCount(), 3);
    for (int i = 0; i < 2; i++) {
        EXPECT_EQ(list.GetAt(i)->State, ITEM_NEW) << i;
        EXPECT_EQ(list.GetAt(i)->FrameCount, 0) << i;
        EXPECT_EQ(list.GetAt(i)->Width, 0) << i;
    }
    EXPECT_EQ(list.GetAt(2)->State, ITEM_READY);
    EXPECT_EQ(list.GetAt(2)->FrameCount, 3);
}

TEST_F(PlaylistFilesTest, XmlReaderRefusesOtherDocuments)
{
    Write("a.playlist", "<Other><Playlist/></Other>");
    Write("b.playlist", "not xml at all <");
    CPlaylist list;
    EXPECT_EQ(LoadPlaylistFile(Path("a.playlist"), list), -1);
    EXPECT_EQ(LoadPlaylistFile(Path("b.playlist"), list), -1);
    EXPECT_EQ(LoadPlaylistFile(Path("missing.playlist"), list), -1);
    Write("c.txt", "x");
    EXPECT_EQ(LoadPlaylistFile(Path("c.txt"), list), -1);
    EXPECT_EQ(SavePlaylistFile(Path("c.txt"), L"txt", list, false), -1);
}

TEST_F(PlaylistFilesTest, M3uSkipsCommentsAndBlanksAndResolvesRelativeEntries)
{
    Write("list.m3u", "#EXTM3U\n   # indented comment\n\n  \nC:\\abs\\one.gif   \r\nsub\\two.gif\n/unix/three.gif\n");
    CPlaylist list;
    ASSERT_EQ(LoadPlaylistFile(Path("list.m3u"), list), 0);
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetAt(0)->m_strPath, CString(L"C:\\abs\\one.gif"));
    EXPECT_EQ(list.GetAt(1)->m_strPath, ViewerFiles::JoinPath(Folder(), L"sub\\two.gif"));
    EXPECT_EQ(list.GetAt(2)->m_strPath, CString(L"/unix/three.gif"));
}

TEST_F(PlaylistFilesTest, M3uIsWrittenOnePathPerLine)
{
    CPlaylist list;
    AddItem(list, L"C:\\a.gif");
    AddItem(list, L"D:\\b c.gif");
    ASSERT_EQ(SavePlaylistFile(Path("out.m3u"), L"m3u", list, false), 0);
    EXPECT_EQ(Read("out.m3u"), "C:\\a.gif\nD:\\b c.gif\n");
}

TEST_F(PlaylistFilesTest, PlsNeedsItsCountAndSkipsEmptyEntries)
{
    Write("no-count.pls", "[playlist]\nFile1=a.gif\n");
    CPlaylist list;
    EXPECT_EQ(LoadPlaylistFile(Path("no-count.pls"), list), -1);
    EXPECT_EQ(list.GetCount(), 0);

    Write("list.pls", "[Other]\nFile1=zzz\n[Playlist]\nNumberOfEntries=4\nFile1=  C:\\a.gif  \nFile2=\nFile4=C:\\d.gif\n");
    ASSERT_EQ(LoadPlaylistFile(Path("list.pls"), list), 0);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetAt(0)->m_strPath, CString(L"C:\\a.gif"));
    EXPECT_EQ(list.GetAt(1)->m_strPath, CString(L"C:\\d.gif"));
}

// Whatever a list's text looks like, each entry is read whole or not at all.
TEST_F(PlaylistFilesTest, ListFilesGiveWholeEntriesOrNone)
{
    const std::string longPath = "C:\\" + std::string(5000, 'x') + ".gif";
    // An "é" just where a line used to be cut.
    const std::string accented = "C:\\" + std::string(4090, 'x') + "\xC3\xA9.gif";
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> paths;
    } const cases[] = {
        {"count.pls", "[Playlist]\nNumberOfEntries=20000000\nFile1=C:\\a.gif\nFile20000000=C:\\b.gif\n",
         {"C:\\a.gif", "C:\\b.gif"}},
        {"largest.pls", "[Playlist]\nNumberOfEntries=2147483647\nFile2147483647=C:\\b.gif\nFile1=C:\\a.gif\n",
         {"C:\\a.gif", "C:\\b.gif"}},
        {"long.pls", "[Playlist]\r\nNumberOfEntries=1\r\nFile1=" + longPath + "\r\n", {longPath}},
        {"zero-byte.pls", Bytes("[Playlist]\nNumberOfEntries=2\nFile1=C:\\dir\0\\evil.gif\nFile2=C:\\b.gif\n"),
         {"C:\\b.gif"}},
        {"be.pls", Utf16Bytes(u"[Playlist]\nNumberOfEntries=1\nFile1=C:\\\u00E9.gif\n", true), {"C:\\\xC3\xA9.gif"}},
        {"le.pls", Utf16Bytes(u"[Playlist]\r\nNumberOfEntries=1\r\nFile1=C:\\a.gif", false), {"C:\\a.gif"}},
        {"relative.pls", "[Playlist]\nNumberOfEntries=1\nFile1=sub\\a.gif\n", {Beside("sub\\a.gif")}},
        {"long.m3u", longPath + "\nC:\\b.gif\n", {longPath, "C:\\b.gif"}},
        {"cut.m3u", "\xEF\xBB\xBF" + accented + "\n", {accented}},
        {"huge-line.m3u", std::string(10 * 1024 * 1024, 'j') + "\nC:\\b.gif\n", {"C:\\b.gif"}},
        {"zero-byte.m3u", Bytes("C:\\dir\0\\evil.gif\nC:\\b.gif\n"), {"C:\\b.gif"}},
        {"le.m3u", Utf16Bytes(u"C:\\a.gif\r\nC:\\b.gif", false), {"C:\\a.gif", "C:\\b.gif"}},
        {"be.m3u", Utf16Bytes(u"C:\\a.gif\nb.gif\n", true), {"C:\\a.gif", Beside("b.gif")}},
        {"cr.m3u", "C:\\a.gif\rC:\\b.gif\r", {"C:\\a.gif", "C:\\b.gif"}},
    };
    for (const Case& c : cases) {
        Write(c.name, c.bytes);
        EXPECT_EQ(Loaded(c.name), c.paths) << c.name;
    }
}

// Items around the odd one stay; the odd one is left out or read as XML means it.
TEST_F(PlaylistFilesTest, XmlItemsWhoseFileCannotBeAPathAreLeftOut)
{
    auto document = [](const std::string& file) {
        return "<Playlists><Playlist><Item><File>C:\\first.gif</File></Item><Item><File>" + file +
               "</File></Item><Item><File>C:\\last.gif</File></Item></Playlist></Playlists>";
    };
    const std::vector<std::string> both = {"C:\\first.gif", "C:\\last.gif"};
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> paths;
    } const cases[] = {
        {"zero-byte.playlist", document(Bytes("C:\\dir\0\\evil.gif")), both},
        {"zero.playlist", document("C:\\dir&#0;\\evil.gif"), both},
        {"hexzero.playlist", document("C:\\dir&#x00;\\evil.gif"), both},
        {"wrapped.playlist", document("C:\\dir&#4294967296;\\evil.gif"), both},
        {"control.playlist", document("C:\\dir&#9;\\evil.gif"), both},
        {"element.playlist", document("C:\\dir<b/>\\evil.gif"), both},
        {"empty.playlist", document(""), both},
        {"comment.playlist", document("C:\\dir<!-- note -->\\whole.gif"),
         {"C:\\first.gif", "C:\\dir\\whole.gif", "C:\\last.gif"}},
        {"cdata.playlist", document("C:\\a &amp; <![CDATA[&b]]>.gif"),
         {"C:\\first.gif", "C:\\a & &b.gif", "C:\\last.gif"}},
        {"utf16.playlist",
         Utf16Bytes(u"<Playlists><Playlist><Item><File>C:\\a" + std::u16string(1, u'\0') +
                        u"b</File></Item><Item><File>C:\\\u00E9.gif</File></Item></Playlist></Playlists>",
                    false),
         {"C:\\\xC3\xA9.gif"}},
    };
    for (const Case& c : cases) {
        Write(c.name, c.bytes);
        EXPECT_EQ(Loaded(c.name), c.paths) << c.name;
    }
}

TEST_F(PlaylistFilesTest, PlsWriterReplacesOnlyItsSection)
{
    Write("out.pls", "[Keep]\nx=1\n[Playlist]\nNumberOfEntries=9\nFile9=old.gif\n");
    CPlaylist list;
    AddItem(list, L"C:\\a.gif");
    AddItem(list, L"C:\\b.gif");
    ASSERT_EQ(SavePlaylistFile(Path("out.pls"), L".pls", list, false), 0);
    std::string text = Read("out.pls");
    EXPECT_NE(text.find("[Keep]"), std::string::npos);
    EXPECT_EQ(text.find("old.gif"), std::string::npos);
    CPlaylist back;
    ASSERT_EQ(LoadPlaylistFile(Path("out.pls"), back), 0);
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back.GetAt(1)->m_strPath, CString(L"C:\\b.gif"));
}

TEST_F(PlaylistFilesTest, AFailedWriteLeavesTheOldFileAndIsReported)
{
    CPlaylist list;
    AddItem(list, L"C:\\new.gif");
    for (const char* name : {"keep.m3u", "keep.pls", "keep.playlist"}) {
        Write(name, "old contents\n");
        // A folder where the temporary file would go makes the write fail.
        std::filesystem::create_directories(m_folder / (std::string(name) + ".saving"));
        EXPECT_EQ(SavePlaylistFile(Path(name), ViewerFiles::LowerExtension(Path(name)), list, false), -1) << name;
        EXPECT_EQ(Read(name), "old contents\n") << name;
    }
    EXPECT_EQ(SavePlaylistFile(Path("no-such-folder/x.playlist"), L"playlist", list, true), -1);
    EXPECT_EQ(SavePlaylistFile(Path("no-such-folder/x.pls"), L"pls", list, true), -1);
}

TEST_F(PlaylistFilesTest, SavedListsReadBackAsTheSamePaths)
{
    CPlaylist list;
    AddItem(list, L"C:\\a b.gif");
    AddItem(list, L"C:\\" + CString(L'x', 5000));
    for (const char* name : {"back.m3u", "back.pls", "back.playlist"}) {
        ASSERT_EQ(SavePlaylistFile(Path(name), ViewerFiles::LowerExtension(Path(name)), list, false), 0) << name;
        CPlaylist back;
        ASSERT_EQ(LoadPlaylistFile(Path(name), back), 0) << name;
        ASSERT_EQ(back.GetCount(), list.GetCount()) << name;
        for (int i = 0; i < list.GetCount(); i++)
            EXPECT_EQ(back.GetAt(i)->m_strPath, list.GetAt(i)->m_strPath) << name;
    }
}

// ".m3u" and ".pls" are written in the system code page; a path it cannot hold leaves the list
// unwritten (an old file as it was) instead of naming another file. ".playlist" is UTF-8.
TEST_F(PlaylistFilesTest, ListsAreWrittenInTheCodePageOrNotAtAll)
{
    const CString wide = L"D:\\\u00E9\u4E2D.gif";
    std::string bytes;
    const bool held = EncodeCodePageListText(wide + L"\n", bytes);
    CPlaylist list;
    AddItem(list, wide);
    for (const char* name : {"wide.m3u", "wide.pls", "wide.playlist"}) {
        Write(name, "old contents\n");
        const bool xml = std::string(name).find(".playlist") != std::string::npos;
        const int saved = SavePlaylistFile(Path(name), ViewerFiles::LowerExtension(Path(name)), list, false);
        if (!held && !xml) {
            EXPECT_EQ(saved, -1) << name;
            EXPECT_EQ(Read(name), "old contents\n") << name;
            continue;
        }
        ASSERT_EQ(saved, 0) << name;
        EXPECT_NE(Read(name).rfind("\xEF\xBB\xBF", 0), 0u) << name << " starts with a byte-order mark";
        CPlaylist back;
        ASSERT_EQ(LoadPlaylistFile(Path(name), back), 0) << name;
        ASSERT_EQ(back.GetCount(), 1) << name;
        EXPECT_EQ(back.GetAt(0)->m_strPath, wide) << name;
    }
    EXPECT_EQ(held, bytes == std::string("D:\\\xC3\xA9\xE4\xB8\xAD.gif\n")) << "natively the code page is UTF-8";
}

TEST_F(PlaylistFilesTest, AddNewKeepsOnlyReadableFiles)
{
    ASSERT_TRUE(WriteTestGif(Path("a.gif"), 8, 8, {{1, 2, 3, 10}}));
    CPlaylist list;
    EXPECT_NE(list.AddNew(Path("a.gif")), nullptr);
    EXPECT_EQ(list.AddNew(Path("b.gif")), nullptr);
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetAt(0)->State, ITEM_READY);
    EXPECT_EQ(list.GetAt(5), nullptr);
}

// Thumbnails travel as JPEG, inside the list or in files of the viewer's temporary folder.
class PlaylistThumbnailTest : public PlaylistFilesTest {
protected:
    CSettingsValues m_settings;
    void SetUp() override
    {
        PlaylistFilesTest::SetUp();
        m_settings.TempFolder = Path("temp");
        ASSERT_TRUE(WriteTestGif(Path("a.gif"), 40, 30, {{200, 40, 10, 10}, {0, 0, 255, 10}}));
    }
};

TEST_F(PlaylistThumbnailTest, EmbeddedThumbnailsRoundTrip)
{
    CPlaylist list;
    ASSERT_NE(list.AddNew(Path("a.gif")), nullptr);
    ASSERT_EQ(SaveXmlPlaylist(Path("t.playlist"), list, true), 0);
    EXPECT_NE(Read("t.playlist").find("<Thumbnail>/9j/"), std::string::npos);
    CPlaylist back;
    ASSERT_EQ(LoadXmlPlaylist(Path("t.playlist"), back), 0);
    ASSERT_EQ(back.GetCount(), 1);
    CrImage& thumb = back.GetAt(0)->m_thumbnail;
    ASSERT_TRUE(thumb.IsValid());
    EXPECT_EQ(thumb.GetWidth(), 40);
    EXPECT_EQ(thumb.GetHeight(), 30);
    CrRgbQuad c = thumb.GetPixelColor(20, 15, false);
    EXPECT_NEAR(c.rgbRed, 200, 12);
    EXPECT_NEAR(c.rgbGreen, 40, 12);
}

TEST_F(PlaylistThumbnailTest, SeparateThumbnailsGoToTheTemporaryFolder)
{
    CPlaylist list;
    CPlaylistItem* item = list.AddNew(Path("a.gif"));
    ASSERT_NE(item, nullptr);
    ASSERT_EQ(SaveXmlPlaylist(Path("t.playlist"), list, false), 0);
    EXPECT_EQ(item->ThumbnailFile, ViewerFiles::JoinPath(m_settings.TempFolder, L"00000000"));
    EXPECT_GT(ViewerFiles::FileSize(item->ThumbnailFile), 0);
    CPlaylist back;
    ASSERT_EQ(LoadXmlPlaylist(Path("t.playlist"), back), 0);
    EXPECT_EQ(back.GetAt(0)->ThumbnailFile, item->ThumbnailFile);
    EXPECT_EQ(back.GetAt(0)->EnsureThumbnail(), 0);
    EXPECT_EQ(back.GetAt(0)->m_thumbnail.GetWidth(), 40);
}

// A list names its thumbnail files, so only the viewer's own folder is ever written.
TEST_F(PlaylistThumbnailTest, AStoredThumbnailPathElsewhereIsNeverWritten)
{
    std::filesystem::create_directories(m_folder / "elsewhere");
    Write("elsewhere/empty", "");
    Write("elsewhere/text", "the user's own words");
    struct Case {
        CString stored;
        bool keptAsItIs;   // else the item gets a new file of the viewer's own
    } const cases[] = {
        {Path("elsewhere/missing"), false},
        {Path("elsewhere/empty"), false},
        {ViewerFiles::JoinPath(m_settings.TempFolder, L"00000007"), false},
        {Path("elsewhere/text"), true},
    };
    for (const Case& c : cases) {
        const int64_t size = ViewerFiles::FileSize(c.stored);
        CPlaylist list;
        CPlaylistItem* item = list.AddNew(Path("a.gif"));
        ASSERT_NE(item, nullptr);
        item->ThumbnailFile = c.stored;
        ASSERT_EQ(SaveXmlPlaylist(Path("t.playlist"), list, false), 0);
        EXPECT_EQ(ViewerFiles::FileSize(c.stored), size) << c.stored.ToUtf8();
        if (c.keptAsItIs) {
            EXPECT_EQ(item->ThumbnailFile, c.stored);
        } else {
            EXPECT_TRUE(m_settings.IsOwnTempFile(item->ThumbnailFile)) << item->ThumbnailFile.ToUtf8();
            EXPECT_GT(ViewerFiles::FileSize(item->ThumbnailFile), 0) << c.stored.ToUtf8();
        }
    }
    EXPECT_EQ(Read("elsewhere/text"), "the user's own words");
}

TEST_F(PlaylistThumbnailTest, AStoredThumbnailElsewhereIsReadOnlyWhenItIsAnImage)
{
    CrImage picture(12, 9, 24, CRIMAGE_FORMAT_JPG);
    ASSERT_TRUE(picture.Save(Path("cover.jpg"), CRIMAGE_FORMAT_JPG));
    Write("words.jpg", "no picture at all");
    struct Case {
        const char* file;
        int width;   // 12 from the stored picture, 40 from the GIF itself
    } const cases[] = {{"cover.jpg", 12}, {"words.jpg", 40}};
    for (const Case& c : cases) {
        Write("t.playlist", "<Playlists><Playlist><Item><File>" + Path("a.gif").ToUtf8() + "</File><ThumbnailFile>" +
                                Path(c.file).ToUtf8() + "</ThumbnailFile></Item></Playlist></Playlists>");
        CPlaylist list;
        ASSERT_EQ(LoadXmlPlaylist(Path("t.playlist"), list), 0);
        ASSERT_EQ(list.GetCount(), 1);
        list.GetAt(0)->EnsureThumbnail();
        EXPECT_EQ(list.GetAt(0)->m_thumbnail.GetWidth(), c.width) << c.file;
    }
    EXPECT_EQ(Read("words.jpg"), "no picture at all");
}

TEST(ThumbnailText, EmptyOrBrokenTextsAreRefused)
{
    CrImage image;
    CString text;
    EXPECT_EQ(DecodeThumbnail(L"", image), -1);
    EXPECT_EQ(DecodeThumbnail(L"@@@@", image), -1);
    EXPECT_EQ(EncodeThumbnail(image, text), -1);
    EXPECT_TRUE(text.IsEmpty());
}

} // namespace
