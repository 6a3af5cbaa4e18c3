#include "CatalogTestSupport.h"
#include "MediaFormatsXml.h"

#include <functional>
#include <pugixml.hpp>

#include <gtest/gtest.h>

namespace {

class MediaFormatsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_path = m_folder.File("MediaFormats.xml");
        LoadBuiltins(m_builtins);
    }

    // Writes the built-in catalogue to the file, lets the test change the document, stores it.
    void WriteEdited(const std::function<void(pugi::xml_node root)>& edit)
    {
        m_builtins.m_path = m_path;
        ASSERT_EQ(m_builtins.Save(), 0);
        pugi::xml_document document;
        ASSERT_TRUE(document.load_file(m_folder.Path("MediaFormats.xml").c_str()));
        edit(document.child("MediaFormats"));
        ASSERT_TRUE(document.save_file(m_folder.Path("MediaFormats.xml").c_str(), "\t"));
    }

    static pugi::xml_node FormatNode(pugi::xml_node root, const char* group, const char* format)
    {
        return root.child(group).child(format);
    }

    bool HasBackup() const { return std::filesystem::exists(m_folder.Path("MediaFormats.xml.bak")); }

    static void ExpectSameCatalogue(const CAppFormatCatalog& a, const CAppFormatCatalog& b)
    {
        ASSERT_EQ(a.m_groups.size(), b.m_groups.size());
        for (size_t g = 0; g < a.m_groups.size(); ++g) {
            const CMediaFormatGroup& ga = *a.m_groups[g];
            const CMediaFormatGroup& gb = *b.m_groups[g];
            EXPECT_EQ(ga.m_name, gb.m_name);
            EXPECT_EQ(ga.m_flags, gb.m_flags);
            EXPECT_EQ(ga.m_defaultFormat, gb.m_defaultFormat);
            ASSERT_EQ(ga.m_formats.size(), gb.m_formats.size());
            for (size_t f = 0; f < ga.m_formats.size(); ++f) {
                const CMediaFormatInfo& fa = *ga.m_formats[f];
                const CMediaFormatInfo& fb = *gb.m_formats[f];
                EXPECT_EQ(fa.m_name, fb.m_name);
                EXPECT_EQ(fa.m_flags, fb.m_flags);
                EXPECT_EQ(fa.m_defaultPreset, fb.m_defaultPreset);
                ASSERT_EQ(fa.m_presets.size(), fb.m_presets.size()) << fa.m_id.ToUtf8();
                for (size_t p = 0; p < fa.m_presets.size(); ++p)
                    ExpectSamePreset(*fa.m_presets[p], *fb.m_presets[p]);
                ExpectSamePreset(*fa.m_customPreset, *fb.m_customPreset);
            }
        }
    }

    static void ExpectSamePreset(const CMediaPreset& a, const CMediaPreset& b)
    {
        EXPECT_EQ(Fields(a.m_settings), Fields(b.m_settings));
        EXPECT_EQ(a.m_videoCodec ? a.m_videoCodec->m_id : CString(), b.m_videoCodec ? b.m_videoCodec->m_id : CString());
        EXPECT_EQ(a.m_audioCodec ? a.m_audioCodec->m_id : CString(), b.m_audioCodec ? b.m_audioCodec->m_id : CString());
    }

    ScratchFolder m_folder;
    CString m_path;
    CAppFormatCatalog m_builtins;
};

TEST_F(MediaFormatsFile, FirstStartWritesTheBuiltinsAndReadsThemBackUnchanged)
{
    CAppFormatCatalog first;
    ASSERT_EQ(first.Load(m_path), 0);
    EXPECT_EQ(first.m_modified, 1);
    EXPECT_FALSE(HasBackup());
    EXPECT_EQ(first.Save(), 0);

    CAppFormatCatalog second;
    ASSERT_EQ(second.Load(m_path), 0);
    EXPECT_EQ(second.m_modified, 0);
    ExpectSameCatalogue(first, second);
    // The presets whose codec entry no format offers come back too.
    const CMediaPreset* divx = second.FindPreset(L"MC_avi", L"DivX");
    ASSERT_TRUE(divx);
    EXPECT_EQ(divx->m_videoCodec, nullptr);
    ASSERT_TRUE(second.FindPreset(L"MC_mp4", L"DivX"));
}

TEST_F(MediaFormatsFile, UserChangesSurviveARoundTrip)
{
    CAppFormatCatalog first;
    first.Load(m_path);
    CMediaFormatInfo* mp4 = first.FindFormat(L"MC_mp4");
    mp4->m_flags |= MEDIA_ITEM_HIDDEN;
    mp4->m_name = L"Mein MP4 \x00E9\x4E2D";
    mp4->m_defaultPreset = 2;
    std::swap(mp4->m_presets[0], mp4->m_presets[3]);
    mp4->m_presets.pop_back();
    MEDIA_PRESET_SETTINGS& custom = mp4->m_customPreset->m_settings;
    custom.width = 1000;
    custom.height = 562;
    custom.rateNum = 29970;
    custom.rateDen = 1000;
    custom.audioBitRate = 128000;
    SetPresetText(custom.videoPreset, L"slow & <steady>");
    first.m_groups[1]->m_flags |= MEDIA_ITEM_HIDDEN;
    first.m_groups[1]->m_defaultFormat = 5;
    first.FindFormat(L"MC_gif")->m_flags &= ~MEDIA_ITEM_HIDDEN;
    ASSERT_EQ(first.Save(), 0);

    CAppFormatCatalog second;
    second.Load(m_path);
    ExpectSameCatalogue(first, second);
    EXPECT_EQ(second.FindFormat(L"MC_mp4")->m_flags, 0x40000003u);
}

TEST_F(MediaFormatsFile, LayoutOfTheWrittenFile)
{
    CAppFormatCatalog catalog;
    catalog.Load(m_path);
    catalog.Save();
    const std::string text = ReadTextFile(m_folder.Path("MediaFormats.xml"));
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<MediaFormats Version=\"2.3.0\" "
                         "Generator=\"Brenmoor Talvena\">\n\t<MCG_Video Name=\"Video\" Flags=\"536870912\" "
                         "DefaultCodec=\"0\">\n\t\t<MC_mp4 Name=\"MP4\" Flags=\"3\" DefaultFormat=\"0\">\n"
                         "\t\t\t<PresetFormat Name=\"H.264\" Flags=\"0\">\n"
                         "\t\t\t\t<Video Flags=\"1\" Codec=\"VC_libx264\" Resolution=\"0x0\" Aspect=\"0/0\" "
                         "FrameRate=\"0/0\" BitRate=\"0\" Preset=\"\" />\n"
                         "\t\t\t\t<Audio Flags=\"3221225473\" Codec=\"AC_libfdk_aac\" Channels=\"0\" "
                         "SampleRate=\"0\" BitRate=\"0\" Preset=\"\" />\n",
                         0),
              0u)
        << text.substr(0, 600);
    EXPECT_NE(text.find("<MC_asf Name=\"ASF\" Flags=\"1073741827\""), std::string::npos);
    EXPECT_NE(text.find("<MC_gif Name=\"GIF\" Flags=\"1073741825\""), std::string::npos);
    EXPECT_NE(text.find("<CustomFormat Name=\"Custom\" Flags=\"536870912\">"), std::string::npos);
    EXPECT_NE(text.find("<MC_mp4.web "), std::string::npos);
    EXPECT_NE(text.find("Name=\"Kindle Fire HD 7&quot; - H.264\""), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(m_folder.Path("MediaFormats.xml.tmp")));
}

TEST_F(MediaFormatsFile, OtherVersionIsKeptAsBackupAndReplaced)
{
    WriteEdited([](pugi::xml_node root) {
        root.attribute("Version").set_value("2.2.9");
        FormatNode(root, "MCG_Video", "MC_mp4").remove_child("PresetFormat");
    });
    const std::string original = ReadTextFile(m_folder.Path("MediaFormats.xml"));
    CAppFormatCatalog catalog;
    EXPECT_EQ(CMediaFormatsXml::Read(m_path, catalog), 1);
    ASSERT_EQ(catalog.Load(m_path), 0);
    EXPECT_EQ(catalog.m_modified, 1);
    EXPECT_EQ(catalog.FindFormat(L"MC_mp4")->m_presets.size(), 15u);
    ASSERT_TRUE(HasBackup());
    EXPECT_EQ(ReadTextFile(m_folder.Path("MediaFormats.xml.bak")), original);
    ASSERT_EQ(catalog.Save(), 0);
    EXPECT_NE(ReadTextFile(m_folder.Path("MediaFormats.xml")).find("Version=\"2.3.0\""), std::string::npos);
}

TEST_F(MediaFormatsFile, RejectedFilesFallBackToTheBuiltins)
{
    struct Case {
        const char* what;
        std::function<void(pugi::xml_node)> edit;
        const char* text;
    } const cases[] = {
        {"missing device group",
         [](pugi::xml_node root) {
             root.child("MCG_Video").attribute("Name").set_value("Clips");
             root.remove_child("MCG_Device");
         },
         nullptr},
        {"no root", nullptr, "<?xml version=\"1.0\"?><Other/>"},
        {"parse error", nullptr, "<MediaFormats Version=\"2.3.0\"><MCG_Video"},
        {"empty file", nullptr, ""},
    };
    for (const Case& c : cases) {
        if (c.edit)
            WriteEdited(c.edit);
        else
            WriteTextFile(m_folder.Path("MediaFormats.xml"), c.text);
        std::filesystem::remove(m_folder.Path("MediaFormats.xml.bak"));
        CAppFormatCatalog catalog;
        ASSERT_EQ(catalog.Load(m_path), 0) << c.what;
        EXPECT_EQ(catalog.m_modified, 1) << c.what;
        EXPECT_TRUE(HasBackup()) << c.what;
        EXPECT_EQ(catalog.FindFormat(L"MC_Nokia")->m_presets.size(), 20u) << c.what;
    }
    // What the earlier groups gave stays.
    WriteEdited([](pugi::xml_node root) {
        root.child("MCG_Video").attribute("Name").set_value("Clips");
        root.remove_child("MCG_Device");
    });
    CAppFormatCatalog catalog;
    catalog.Load(m_path);
    EXPECT_EQ(catalog.m_groups[0]->m_name, CString(L"Clips"));
}

TEST_F(MediaFormatsFile, WithoutBackupARejectedFileIsNotOverwritten)
{
    WriteTextFile(m_folder.Path("MediaFormats.xml"), "<MediaFormats Version=\"9\"/>");
    std::filesystem::create_directory(m_folder.Path("MediaFormats.xml.bak"));
    CAppFormatCatalog catalog;
    ASSERT_EQ(catalog.Load(m_path), 0);
    EXPECT_EQ(catalog.FindFormat(L"MC_mp4")->m_presets.size(), 15u);
    EXPECT_EQ(catalog.m_modified, 0);
    EXPECT_EQ(catalog.Save(), 1);
    EXPECT_EQ(ReadTextFile(m_folder.Path("MediaFormats.xml")), "<MediaFormats Version=\"9\"/>");
}

TEST_F(MediaFormatsFile, MissingFileMakesNoBackup)
{
    CAppFormatCatalog catalog;
    ASSERT_EQ(catalog.LoadDefault(FromFsPath(m_folder.Root())), 0);
    EXPECT_EQ(catalog.m_path, m_path);
    EXPECT_EQ(catalog.m_modified, 1);
    EXPECT_FALSE(HasBackup());
}

TEST_F(MediaFormatsFile, DefaultIndexesAreClamped)
{
    WriteEdited([](pugi::xml_node root) {
        pugi::xml_node vcd = FormatNode(root, "MCG_Video", "MC_VCD");
        vcd.attribute("DefaultFormat").set_value(99);
        pugi::xml_node dvd = FormatNode(root, "MCG_Video", "MC_DVD");
        dvd.attribute("DefaultFormat").set_value(5);
        root.child("MCG_Device").attribute("DefaultCodec").set_value(16);
        root.child("MCG_Video").attribute("DefaultCodec").set_value(-1);
    });
    CAppFormatCatalog catalog;
    catalog.Load(m_path);
    EXPECT_EQ(catalog.m_modified, 0);
    EXPECT_EQ(catalog.FindFormat(L"MC_VCD")->m_defaultPreset, 0);
    EXPECT_EQ(catalog.FindFormat(L"MC_DVD")->m_defaultPreset, 5);
    EXPECT_EQ(catalog.m_groups[1]->m_defaultFormat, 0);
    EXPECT_EQ(catalog.m_groups[0]->m_defaultFormat, 0);
}

TEST_F(MediaFormatsFile, BadPresetsAreLeftOut)
{
    WriteEdited([](pugi::xml_node root) {
        pugi::xml_node presets[6];
        pugi::xml_node flv = FormatNode(root, "MCG_Video", "MC_flv");
        int i = 0;
        for (pugi::xml_node p = flv.child("PresetFormat"); p && i < 6; p = p.next_sibling("PresetFormat"))
            presets[i++] = p;
        presets[0].child("Video").attribute("Resolution").set_value("-1x240");
        presets[1].child("Video").remove_attribute("Resolution");
        presets[2].child("Video").attribute("FrameRate").set_value("25/-1");
        presets[3].remove_child("Audio");
        presets[4].child("Audio").attribute("Channels").set_value("-2");
        presets[5].child("Video").attribute("Codec").set_value("VC_unknown");
        // Out of any sensible range.
        pugi::xml_node mkv = FormatNode(root, "MCG_Video", "MC_mkv");
        mkv.child("PresetFormat").child("Video").attribute("Resolution").set_value("99999999999x10");
        mkv.child("PresetFormat").next_sibling("PresetFormat").child("Audio").attribute("SampleRate").set_value(
            "90000000");
        // An id only a built-in preset of another format names.
        pugi::xml_node mov = FormatNode(root, "MCG_Video", "MC_mov");
        mov.child("PresetFormat").child("Video").attribute("Codec").set_value("VC_mpeg4.divx");
    });
    CAppFormatCatalog catalog;
    catalog.Load(m_path);
    EXPECT_EQ(catalog.m_modified, 0);
    const CMediaFormatInfo& flv = *catalog.FindFormat(L"MC_flv");
    ASSERT_EQ(flv.m_presets.size(), 1u);
    EXPECT_EQ(CString(flv.m_presets[0]->m_settings.name), CString(L"320x240"));
    EXPECT_EQ(flv.m_presets[0]->m_settings.width, 0);
    EXPECT_EQ(flv.m_presets[0]->m_settings.height, 0);
    EXPECT_EQ(catalog.FindFormat(L"MC_mkv")->m_presets.size(), 3u);
    EXPECT_EQ(catalog.FindFormat(L"MC_mov")->m_presets.size(), 5u);
    EXPECT_EQ(catalog.FindFormat(L"MC_avi")->m_presets.size(), 11u);
}

TEST_F(MediaFormatsFile, StoredFlagsCannotChangeTheStructure)
{
    WriteEdited([](pugi::xml_node root) {
        // A group that claims to be a format, a video-only format that claims audio.
        root.child("MCG_Device").attribute("Flags").set_value(3u);
        pugi::xml_node gif = FormatNode(root, "MCG_Video", "MC_gif");
        gif.attribute("Flags").set_value(3u);
        gif.child("CustomFormat").attribute("Flags").set_value(0x20000003u);
        gif.child("PresetFormat").attribute("Flags").set_value(0x20000002u);
        FormatNode(root, "MCG_Video", "MC_webm").attribute("Flags").set_value(0x40000000u);
        FormatNode(root, "MCG_Video", "MC_mp4").child("CustomFormat").attribute("Flags").set_value(0u);
        FormatNode(root, "MCG_Video", "MC_mp4").child("PresetFormat").child("Video").attribute("Flags").set_value(
            0x12345679u);
    });
    CAppFormatCatalog catalog;
    catalog.Load(m_path);
    EXPECT_EQ(catalog.m_groups[1]->m_flags, MEDIA_ITEM_GROUP);
    const CMediaFormatInfo& gif = *catalog.FindFormat(L"MC_gif");
    EXPECT_EQ(gif.m_flags, MEDIA_FORMAT_VIDEO);
    EXPECT_EQ(gif.m_customPreset->m_settings.flags, MEDIA_PRESET_CUSTOM);
    EXPECT_EQ(gif.m_presets[0]->m_settings.flags, 0u);
    CEncodeOptions options;
    ASSERT_EQ(gif.ApplyToOptions(options, *gif.m_customPreset, nullptr, nullptr), 1);
    EXPECT_EQ(options.m_audioFlags & ENCODE_NO_STREAM, ENCODE_NO_STREAM);
    EXPECT_EQ(catalog.FindFormat(L"MC_webm")->m_flags, 0x40000003u);
    const CMediaFormatInfo& mp4 = *catalog.FindFormat(L"MC_mp4");
    EXPECT_EQ(mp4.m_customPreset->m_settings.flags, MEDIA_PRESET_CUSTOM);
    EXPECT_EQ(mp4.m_presets[0]->m_settings.videoFlags, MEDIA_SAME_QUALITY);
}

TEST_F(MediaFormatsFile, LongTextsAreCut)
{
    const std::string longName(200, 'n');
    WriteEdited([&longName](pugi::xml_node root) {
        pugi::xml_node preset = FormatNode(root, "MCG_Video", "MC_webm").child("PresetFormat");
        preset.attribute("Name").set_value(longName.c_str());
        preset.child("Video").attribute("Preset").set_value(longName.c_str());
    });
    CAppFormatCatalog catalog;
    catalog.Load(m_path);
    const MEDIA_PRESET_SETTINGS& s = catalog.FindFormat(L"MC_webm")->m_presets[0]->m_settings;
    EXPECT_EQ(CString(s.name), CString(L'n', MEDIA_PRESET_TEXT - 1));
    EXPECT_EQ(CString(s.videoPreset), CString(L'n', MEDIA_PRESET_TEXT - 1));
}

TEST_F(MediaFormatsFile, FormatWithoutPresetsKeepsItsCustomPreset)
{
    WriteEdited([](pugi::xml_node root) {
        pugi::xml_node swf = FormatNode(root, "MCG_Video", "MC_swf");
        while (swf.remove_child("PresetFormat")) {
        }
        swf.remove_child("CustomFormat");
        root.child("MCG_Video").remove_child("MC_ts");
    });
    CAppFormatCatalog catalog;
    catalog.Load(m_path);
    const CMediaFormatInfo& swf = *catalog.FindFormat(L"MC_swf");
    EXPECT_TRUE(swf.m_presets.empty());
    EXPECT_EQ(swf.m_defaultPreset, 0);
    ASSERT_TRUE(swf.m_customPreset);
    EXPECT_EQ(CString(swf.m_customPreset->m_settings.name), CString(L"Custom"));
    // A format missing from the file has no presets but its custom one.
    EXPECT_TRUE(catalog.FindFormat(L"MC_ts")->m_presets.empty());
    EXPECT_EQ(catalog.m_modified, 0);
}

TEST_F(MediaFormatsFile, MissingNameKeepsTheBuiltinName)
{
    WriteEdited([](pugi::xml_node root) {
        root.child("MCG_Video").remove_attribute("Name");
        FormatNode(root, "MCG_Video", "MC_avi").remove_attribute("Name");
        FormatNode(root, "MCG_Video", "MC_mkv").attribute("Name").set_value("Matroska");
    });
    CAppFormatCatalog catalog;
    catalog.Load(m_path);
    EXPECT_EQ(catalog.m_groups[0]->m_name, CString(L"Video"));
    EXPECT_EQ(catalog.FindFormat(L"MC_avi")->m_name, CString(L"AVI"));
    EXPECT_EQ(catalog.FindFormat(L"MC_mkv")->m_name, CString(L"Matroska"));
}

TEST_F(MediaFormatsFile, SaveOnlyWhenThereIsSomethingToWrite)
{
    CAppFormatCatalog catalog;
    EXPECT_EQ(catalog.Save(), 1);  // no groups
    catalog.Load(m_path);
    catalog.m_modified = 0;
    EXPECT_EQ(catalog.Save(), 1);
    EXPECT_FALSE(std::filesystem::exists(m_folder.Path("MediaFormats.xml")));
    catalog.m_modified = 1;
    catalog.m_path.Empty();
    EXPECT_EQ(catalog.Save(), 1);
}

TEST_F(MediaFormatsFile, FailedSaveIsReportedAndLeavesTheFileAlone)
{
    CAppFormatCatalog catalog;
    catalog.Load(m_path);
    ASSERT_EQ(catalog.Save(), 0);
    const std::string before = ReadTextFile(m_folder.Path("MediaFormats.xml"));
    catalog.FindFormat(L"MC_mp4")->m_name = L"Changed";

    // The temporary file cannot be created.
    std::filesystem::create_directory(m_folder.Path("MediaFormats.xml.tmp"));
    EXPECT_EQ(catalog.Save(), -1);
    EXPECT_EQ(ReadTextFile(m_folder.Path("MediaFormats.xml")), before);
    std::filesystem::remove(m_folder.Path("MediaFormats.xml.tmp"));

    // The folder does not exist.
    catalog.m_path = m_folder.File("missing/MediaFormats.xml");
    EXPECT_EQ(catalog.Save(), -1);

    // The target cannot be replaced.
    std::filesystem::create_directory(m_folder.Path("taken"));
    catalog.m_path = m_folder.File("taken");
    EXPECT_EQ(catalog.Save(), -1);
    EXPECT_FALSE(std::filesystem::exists(m_folder.Path("taken.tmp")));
    EXPECT_TRUE(std::filesystem::is_directory(m_folder.Path("taken")));
}

} // namespace
