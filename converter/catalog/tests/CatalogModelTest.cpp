#include "CatalogTestSupport.h"

#include <gtest/gtest.h>

namespace {

class CatalogModel : public ::testing::Test {
protected:
    void SetUp() override { LoadBuiltins(m_catalog); }

    CMediaFormatInfo& Format(const wchar_t* id)
    {
        CMediaFormatInfo* format = m_catalog.FindFormat(id);
        EXPECT_TRUE(format) << CString(id).ToUtf8();
        return *format;
    }
    CMediaPreset& Preset(const wchar_t* format, const wchar_t* name)
    {
        CMediaPreset* preset = m_catalog.FindPreset(format, name);
        EXPECT_TRUE(preset) << CString(name).ToUtf8();
        return *preset;
    }

    CAppFormatCatalog m_catalog;
};

TEST_F(CatalogModel, GroupsFormatsAndPresetCounts)
{
    ASSERT_EQ(m_catalog.m_groups.size(), 2u);
    const CMediaFormatGroup& video = *m_catalog.m_groups[0];
    const CMediaFormatGroup& device = *m_catalog.m_groups[1];
    EXPECT_EQ(video.m_id, CString(L"MCG_Video"));
    EXPECT_EQ(video.m_name, CString(L"Video"));
    EXPECT_EQ(video.m_category, MEDIA_CATEGORY_VIDEO);
    EXPECT_EQ(video.m_flags, MEDIA_ITEM_GROUP);
    EXPECT_EQ(device.m_id, CString(L"MCG_Device"));
    EXPECT_EQ(device.m_name, CString(L"Device"));
    EXPECT_EQ(device.m_category, MEDIA_CATEGORY_DEVICE_GROUP);
    EXPECT_EQ(m_catalog.m_flags, 0u);
    EXPECT_EQ(m_catalog.m_modified, 1);

    struct Expected {
        const wchar_t* id;
        size_t presets;
        bool hidden;
    } const videoFormats[] = {
        {L"MC_mp4", 15, false}, {L"MC_wmv", 7, false}, {L"MC_mov", 6, false}, {L"MC_3g2", 2, false},
        {L"MC_3gp", 2, false}, {L"MC_asf", 1, true}, {L"MC_avi", 11, false}, {L"MC_dv", 2, true},
        {L"MC_flv", 6, false}, {L"MC_gif", 1, true}, {L"MC_m4v", 1, true}, {L"MC_mkv", 5, false},
        {L"MC_mp4.web", 10, false}, {L"MC_mpeg1", 3, false}, {L"MC_mpeg2", 7, false}, {L"MC_ogv", 3, true},
        {L"MC_swf", 8, false}, {L"MC_ts", 6, false}, {L"MC_vob", 2, true}, {L"MC_webm", 9, false},
        {L"MC_DVD", 6, false}, {L"MC_SVCD", 2, true}, {L"MC_VCD", 2, false},
    };
    const Expected deviceFormats[] = {
        {L"MC_Apple", 17, false}, {L"MC_Amazon", 5, false}, {L"MC_Android", 11, false},
        {L"MC_BlackBerry", 9, false}, {L"MC_Google", 4, false}, {L"MC_HTC", 10, false}, {L"MC_LG", 6, false},
        {L"MC_Microsoft", 5, false}, {L"MC_Motorola", 7, false}, {L"MC_Nokia", 20, false},
        {L"MC_Samsung", 16, false}, {L"MC_Sony", 13, false}, {L"MC_WindowsPhone", 4, false},
        {L"MC_avi.devices", 16, false}, {L"MC_mp4.devices", 18, false}, {L"MC_wmv.devices", 14, false},
    };
    auto check = [](const CMediaFormatGroup& group, const Expected* expected, size_t count, int32_t category) {
        ASSERT_EQ(group.m_formats.size(), count);
        for (size_t i = 0; i < count; ++i) {
            const CMediaFormatInfo& format = *group.m_formats[i];
            EXPECT_EQ(format.m_id, CString(expected[i].id));
            EXPECT_EQ(format.m_presets.size(), expected[i].presets) << format.m_id.ToUtf8();
            EXPECT_EQ((format.m_flags & MEDIA_ITEM_HIDDEN) != 0, expected[i].hidden) << format.m_id.ToUtf8();
            EXPECT_EQ(format.m_category, category);
            EXPECT_EQ(format.m_defaultPreset, 0);
            EXPECT_EQ(format.m_defaultVideoCodec, 0);
            EXPECT_EQ(format.m_defaultAudioCodec, 0);
            EXPECT_TRUE(format.m_extraOptions.IsEmpty());
            EXPECT_EQ(format.m_customPresetPos, -1);
        }
    };
    check(video, videoFormats, std::size(videoFormats), MEDIA_CATEGORY_VIDEO);
    check(device, deviceFormats, std::size(deviceFormats), MEDIA_CATEGORY_DEVICE);
}

TEST_F(CatalogModel, FormatFields)
{
    const CMediaFormatInfo& web = Format(L"MC_mp4.web");
    EXPECT_EQ(web.m_name, CString(L"MP4 for Web"));
    EXPECT_EQ(web.m_extension, CString(L".mp4"));
    EXPECT_EQ(web.m_formatName, CString(L"MP4"));
    EXPECT_EQ(web.m_muxer, CString(L"mp4"));
    EXPECT_EQ(web.m_flags, MEDIA_FORMAT_VIDEO | MEDIA_FORMAT_AUDIO);
    ASSERT_EQ(web.m_videoCodecs.size(), 5u);
    EXPECT_EQ(web.m_videoCodecs[1]->m_id, CString(L"VC_libx264.web"));
    EXPECT_EQ(web.m_audioCodecs.size(), 4u);

    const CMediaFormatInfo& gif = Format(L"MC_gif");
    EXPECT_EQ(gif.m_flags, MEDIA_FORMAT_VIDEO | MEDIA_ITEM_HIDDEN);
    EXPECT_TRUE(gif.m_audioCodecs.empty());
    EXPECT_EQ(Format(L"MC_avi").m_videoCodecs.size(), 15u);
    EXPECT_EQ(Format(L"MC_avi").m_audioCodecs.size(), 11u);
    EXPECT_EQ(Format(L"MC_mkv").m_muxer, CString(L"matroska"));
    EXPECT_EQ(Format(L"MC_BlackBerry").m_formatName, CString(L"MPEG-4"));
    EXPECT_EQ(Format(L"MC_WindowsPhone").m_name, CString(L"Windows Phone"));
}

TEST_F(CatalogModel, CustomPresetIsACopyOfTheFirst)
{
    for (const auto& group : m_catalog.m_groups) {
        for (const auto& format : group->m_formats) {
            const CMediaPreset& custom = *format->m_customPreset;
            const CMediaPreset& first = *format->m_presets[0];
            EXPECT_EQ(CString(custom.m_settings.name), CString(L"Custom"));
            EXPECT_EQ(custom.m_settings.flags, MEDIA_PRESET_CUSTOM);
            EXPECT_EQ(custom.m_videoCodec, first.m_videoCodec);
            EXPECT_EQ(custom.m_audioCodec, first.m_audioCodec);
            EXPECT_EQ(custom.m_settings.width, first.m_settings.width);
            // Only the presets of the lists lose their sound on load.
            EXPECT_EQ(custom.m_settings.audioFlags | MEDIA_NO_STREAM | MEDIA_STREAM_LOCKED,
                      first.m_settings.audioFlags);
            EXPECT_FALSE(custom.m_settings.audioFlags & MEDIA_NO_STREAM);
        }
    }
}

TEST_F(CatalogModel, EveryListedPresetHasItsAudioSwitchedOff)
{
    for (const auto& group : m_catalog.m_groups) {
        for (const auto& format : group->m_formats) {
            for (const auto& preset : format->m_presets)
                EXPECT_EQ(preset->m_settings.audioFlags & 0xC0000000u, 0xC0000000u);
        }
    }
}

TEST_F(CatalogModel, PresetsAndTheirEntries)
{
    const CMediaPreset& p = Preset(L"MC_mp4", L"H.264 - 240p");
    EXPECT_EQ(p.m_format, &Format(L"MC_mp4"));
    ASSERT_TRUE(p.m_videoCodec);
    EXPECT_EQ(p.m_videoCodec->m_id, CString(L"VC_libx264"));
    EXPECT_EQ(p.m_audioCodec->m_id, CString(L"AC_libfdk_aac"));
    EXPECT_EQ(p.m_settings.width, 320);
    EXPECT_EQ(p.m_settings.videoFlags, MEDIA_SAME_QUALITY);

    const CMediaPreset& nokia = Preset(L"MC_Nokia", L"176x144");
    EXPECT_EQ(nokia.m_settings.width, 172);
    EXPECT_EQ(Preset(L"MC_Nokia", L"640x480").m_settings.width, 320);
    EXPECT_EQ(Preset(L"MC_wmv.devices", L"Zune").m_settings.rateDen, 0);
    EXPECT_EQ(CString(Preset(L"MC_webm", L"HD 1080p").m_settings.videoPreset), CString(L"libvpx-1080p"));
    EXPECT_EQ(CString(Format(L"MC_Amazon").m_presets[2]->m_settings.name), CString(L"Kindle Fire HD 8.9\" - H.264"));
    EXPECT_EQ(Preset(L"MC_gif", L"Auto").m_audioCodec, nullptr);

    // The DivX presets name an entry that neither format offers and are kept without it.
    for (const wchar_t* id : {L"MC_avi", L"MC_mp4"}) {
        const CMediaPreset& divx = Preset(id, L"DivX");
        EXPECT_EQ(divx.m_videoCodec, nullptr);
        EXPECT_TRUE(divx.m_audioCodec);
        EXPECT_EQ(CString(divx.m_settings.videoCodec), CString(L"VC_mpeg4.divx"));
    }
}

TEST_F(CatalogModel, Lookups)
{
    EXPECT_EQ(m_catalog.FindPreset(L"mc_mp4", L"custom"), Format(L"MC_mp4").m_customPreset.get());
    EXPECT_EQ(m_catalog.FindPreset(L"MC_mp4", L"h.264 - 240p"), Format(L"MC_mp4").m_presets[1].get());
    EXPECT_EQ(m_catalog.FindPreset(L"MC_nothing", L"Custom"), nullptr);
    EXPECT_EQ(m_catalog.FindPreset(L"MC_mp4", L"Nothing"), nullptr);
    EXPECT_EQ(m_catalog.FindPreset(nullptr, L"Custom"), nullptr);
    EXPECT_EQ(m_catalog.FindFormat(L"MC_WMV.DEVICES"), &Format(L"MC_wmv.devices"));
    // The first of two presets of one name.
    EXPECT_EQ(m_catalog.FindPreset(L"MC_avi.devices", L"BBK Media Player - 800x480"),
              Format(L"MC_avi.devices").m_presets[3].get());

    const CMediaFormatInfo& mp4 = Format(L"MC_mp4");
    EXPECT_TRUE(mp4.FindVideoCodec(L"VC_libx265"));
    EXPECT_EQ(mp4.FindVideoCodec(L"vc_libx265"), nullptr);
    EXPECT_EQ(mp4.FindAudioCodec(L"AC_wmav2"), nullptr);
    EXPECT_EQ(Format(L"MC_gif").FindAudioCodec(L""), nullptr);

    CAppFormatCatalog empty;
    EXPECT_EQ(empty.FindFormat(L"MC_mp4"), nullptr);
}

TEST_F(CatalogModel, SetSettingsAnswersWhetherTheEntriesExist)
{
    CMediaFormatInfo& mp4 = Format(L"MC_mp4");
    MEDIA_PRESET_SETTINGS s = mp4.m_presets[0]->m_settings;
    CMediaPreset preset(&mp4);
    EXPECT_EQ(preset.SetSettings(s), 1);
    SetPresetText(s.audioCodec, L"AC_none");
    EXPECT_EQ(preset.SetSettings(s), 0);
    EXPECT_TRUE(preset.m_videoCodec);
    EXPECT_EQ(preset.m_audioCodec, nullptr);
    EXPECT_EQ(CString(preset.m_settings.audioCodec), CString(L"AC_none"));
}

TEST(PresetText, CutsAtTheFieldSize)
{
    wchar_t field[MEDIA_PRESET_TEXT];
    const CString longName(L'x', 100);
    SetPresetText(field, longName);
    EXPECT_EQ(CString(field), CString(L'x', MEDIA_PRESET_TEXT - 1));
    SetPresetText(field, nullptr);
    EXPECT_EQ(CString(field), CString());
    SetPresetText(field, L"short");
    EXPECT_EQ(CString(field), CString(L"short"));
}

TEST_F(CatalogModel, CompareSettings)
{
    CMediaFormatInfo& mp4 = Format(L"MC_mp4");
    CMediaPreset a(&mp4), b(&mp4);
    a.SetSettings(mp4.m_presets[1]->m_settings);
    struct Case {
        const char* what;
        void (*change)(MEDIA_PRESET_SETTINGS&);
        bool same;
    } const cases[] = {
        {"identical", [](MEDIA_PRESET_SETTINGS&) {}, true},
        {"name, aspect and preset names are not compared",
         [](MEDIA_PRESET_SETTINGS& s) { SetPresetText(s.name, L"Other"); s.aspectNum = 4; s.aspectDen = 3;
                                        SetPresetText(s.videoPreset, L"x"); },
         true},
        {"high flag bits are not compared", [](MEDIA_PRESET_SETTINGS& s) { s.flags |= 0x20000000; }, true},
        {"low flag bits are", [](MEDIA_PRESET_SETTINGS& s) { s.flags |= 0x4; }, false},
        {"width", [](MEDIA_PRESET_SETTINGS& s) { s.width = 640; }, false},
        {"video flags", [](MEDIA_PRESET_SETTINGS& s) { s.videoFlags = 0; }, false},
        {"audio bit rate", [](MEDIA_PRESET_SETTINGS& s) { s.audioBitRate = 1; }, false},
        {"codec entry", [](MEDIA_PRESET_SETTINGS& s) { SetPresetText(s.videoCodec, L"VC_mpeg4"); }, false},
    };
    for (const Case& c : cases) {
        MEDIA_PRESET_SETTINGS s = a.m_settings;
        c.change(s);
        b.SetSettings(s);
        EXPECT_EQ(CMediaFormatInfo::CompareSettings(a, b), c.same) << c.what;
    }

    struct Rates {
        int an, ad, bn, bd;
        bool same;
    } const rates[] = {
        {30000, 1001, 2997, 100, true}, {30000, 1001, 30, 1, false}, {0, 0, 0, 0, true},
        {0, 0, 25, 1, false}, {30, 0, 30, 0, true}, {30, 0, 30, 1, false},
    };
    for (const Rates& r : rates) {
        MEDIA_PRESET_SETTINGS x = a.m_settings, y = a.m_settings;
        x.rateNum = r.an;
        x.rateDen = r.ad;
        y.rateNum = r.bn;
        y.rateDen = r.bd;
        a.SetSettings(x);
        b.SetSettings(y);
        EXPECT_EQ(CMediaFormatInfo::CompareSettings(a, b), r.same) << r.an << "/" << r.ad << " " << r.bn << "/" << r.bd;
    }

    CMediaFormatInfo& mov = Format(L"MC_mov");
    CMediaPreset other(&mov);
    other.SetSettings(a.m_settings);
    EXPECT_FALSE(CMediaFormatInfo::CompareSettings(a, other));
}

TEST_F(CatalogModel, FindSamePreset)
{
    CMediaFormatInfo& dvd = Format(L"MC_DVD");
    CMediaPreset copy(&dvd);
    copy.SetSettings(dvd.m_presets[4]->m_settings);
    SetPresetText(copy.m_settings.name, L"Mine");
    EXPECT_EQ(dvd.FindSamePreset(copy), 4);
    copy.m_settings.videoBitRate = 1;
    EXPECT_EQ(dvd.FindSamePreset(copy), -1);
}

TEST_F(CatalogModel, ListDetailAndSummaryTexts)
{
    struct Case {
        const wchar_t* format;
        const wchar_t* preset;
        const wchar_t* tabbed;
        const wchar_t* plain;
        const wchar_t* summary;
    } const cases[] = {
        {L"MC_mp4", L"H.264 - 240p", L"H.264 - 240p\t320 x 240", L"H.264 - 240p (320 x 240)",
         L"MP4; Video: H.264, Size=320x240, Frame Rate=Auto, Bit Rate=Auto; "
         L"Audio: AAC, Channels=Auto, Sample Rate=Auto, Bit Rate=Auto"},
        {L"MC_mp4", L"H.264", L"H.264", L"H.264",
         L"MP4; Video: H.264, Size=Auto, Frame Rate=Auto, Bit Rate=Auto; "
         L"Audio: AAC, Channels=Auto, Sample Rate=Auto, Bit Rate=Auto"},
        {L"MC_DVD", L"NTSC - High Quality", L"NTSC - High Quality\t720 x 480", L"NTSC - High Quality (720 x 480)",
         L"DVD; Video: MPEG2, Size=720x480, Frame Rate=29.97 fps, Bit Rate=7000 kbps; "
         L"Audio: AC3, Channels=Stereo, Sample Rate=48000, Bit Rate=192 kbps"},
        {L"MC_3gp", L"144p", L"144p\t176 x 144", L"144p (176 x 144)",
         L"3GPP; Video: H.263, Size=176x144, Frame Rate=15 fps, Bit Rate=Auto; "
         L"Audio: AMR Narrow-Band, Channels=Mono, Sample Rate=8000, Bit Rate=12.2 kbps"},
        {L"MC_gif", L"Auto", L"Auto", L"Auto", L"GIF; Video: GIF, Size=Auto, Frame Rate=Auto, Bit Rate=Auto"},
        {L"MC_avi", L"DivX", L"DivX", L"DivX",
         L"AVI; Audio: MP3, Channels=Auto, Sample Rate=Auto, Bit Rate=Auto"},
    };
    for (const Case& c : cases) {
        const CMediaPreset& preset = Preset(c.format, c.preset);
        CString text;
        preset.GetListText(text, true);
        EXPECT_EQ(text, CString(c.tabbed));
        preset.GetListText(text, false);
        EXPECT_EQ(text, CString(c.plain));
        preset.GetSummary(text);
        EXPECT_EQ(text, CString(c.summary));
    }
}

TEST_F(CatalogModel, ListTextOfAudioOnlyAndEmptyPresets)
{
    CMediaFormatInfo& mp4 = Format(L"MC_mp4");
    CMediaPreset preset(&mp4);
    MEDIA_PRESET_SETTINGS s = MEDIA_PRESET_SETTINGS();
    SetPresetText(s.name, L"Voice");
    SetPresetText(s.audioCodec, L"AC_libfdk_aac");
    s.audioBitRate = 64500;
    preset.SetSettings(s);
    CString text;
    preset.GetListText(text, false);
    EXPECT_EQ(text, CString(L"Voice (64.5 kbps)"));
    preset.m_settings.audioFlags = MEDIA_NO_STREAM;
    preset.GetListText(text, true);
    EXPECT_EQ(text, CString(L"Voice"));
    preset.m_audioCodec = nullptr;
    preset.GetListText(text, true);
    EXPECT_EQ(text, CString());

    CString format, video, audio;
    preset.GetDetails(format, video, audio);
    EXPECT_EQ(format, CString(L"MP4"));
    EXPECT_TRUE(video.IsEmpty());
    EXPECT_TRUE(audio.IsEmpty());
}

TEST_F(CatalogModel, ResetRestoresTheBuiltinPresets)
{
    CMediaFormatInfo& flv = Format(L"MC_flv");
    flv.m_presets.erase(flv.m_presets.begin());
    flv.m_defaultPreset = 3;
    CMediaPreset* custom = flv.m_customPreset.get();
    custom->m_settings.width = 99;
    flv.Reset();
    EXPECT_EQ(flv.m_presets.size(), 6u);
    EXPECT_EQ(flv.m_defaultPreset, 0);
    EXPECT_EQ(CString(flv.m_presets[0]->m_settings.name), CString(L"Auto"));
    EXPECT_EQ(flv.m_customPreset.get(), custom);
    EXPECT_EQ(custom->m_settings.width, 99);
}

TEST(MediaInfo, SplitStreamsAndReset)
{
    CMediaInfo info;
    const int32_t types[] = {3, MEDIA_STREAM_VIDEO, MEDIA_STREAM_AUDIO, MEDIA_STREAM_VIDEO};
    for (int32_t type : types) {
        auto stream = std::make_unique<CMediaStreamInfo>();
        stream->m_type = type;
        info.m_streams.push_back(std::move(stream));
    }
    info.SplitStreams();
    EXPECT_EQ(info.m_videoStreams.size(), 2u);
    EXPECT_EQ(info.m_audioStreams.size(), 1u);
    EXPECT_EQ(info.GetFirstVideoStream(), info.m_streams[1].get());
    EXPECT_EQ(info.GetFirstAudioStream(), info.m_streams[2].get());
    EXPECT_EQ(info.m_flags, MEDIA_INFO_HAS_VIDEO | MEDIA_INFO_HAS_AUDIO);

    info.m_metaData.m_title = L"t";
    info.Reset();
    EXPECT_TRUE(info.m_streams.empty());
    EXPECT_EQ(info.GetFirstVideoStream(), nullptr);
    EXPECT_EQ(info.m_firstAudio, -1);
    EXPECT_TRUE(info.m_metaData.m_title.IsEmpty());
}

} // namespace
