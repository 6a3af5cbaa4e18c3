#include "BuiltinCodecs.h"
#include "TestPrint.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<CVideoCodecInfo> Video(const wchar_t* id)
{
    auto entry = BuildVideoCodecEntry(id);
    EXPECT_TRUE(entry) << CString(id).ToUtf8();
    return entry;
}

std::unique_ptr<CAudioCodecInfo> Audio(const wchar_t* id)
{
    auto entry = BuildAudioCodecEntry(id);
    EXPECT_TRUE(entry) << CString(id).ToUtf8();
    return entry;
}

TEST(CodecEntries, EveryIdOfTheTablesIsBuilt)
{
    const wchar_t* const video[] = {
        L"VC_dvvideo", L"VC_flv", L"VC_gif", L"VC_h263", L"VC_h263.3g2", L"VC_h263.3gp", L"VC_h263p",
        L"VC_huffyuv", L"VC_libtheora", L"VC_libvpx", L"VC_libvpx_vp9", L"VC_libx264", L"VC_libx264.3g2",
        L"VC_libx264.3gp", L"VC_libx264.Android", L"VC_libx264.Apple", L"VC_libx264.BlackBerry", L"VC_libx264.ts",
        L"VC_libx264.web", L"VC_libx264.WindowsPhone", L"VC_libx265", L"VC_libxvid", L"VC_libxvid.3g2",
        L"VC_libxvid.3gp", L"VC_mjpeg", L"VC_mpeg1video", L"VC_mpeg1video.VCD", L"VC_mpeg2video",
        L"VC_mpeg2video.DVD", L"VC_mpeg2video.SVCD", L"VC_mpeg2video.ts", L"VC_mpeg4", L"VC_mpeg4.3g2",
        L"VC_mpeg4.3gp", L"VC_mpeg4.Android", L"VC_mpeg4.Apple", L"VC_mpeg4.BlackBerry", L"VC_mpeg4.WindowsPhone",
        L"VC_msmpeg4", L"VC_msmpeg4v1", L"VC_msmpeg4v2", L"VC_rawvideo", L"VC_wmv1", L"VC_wmv2"};
    for (const wchar_t* id : video) {
        auto entry = Video(id);
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->m_id, CString(id));
        EXPECT_FALSE(entry->m_name.IsEmpty());
        EXPECT_FALSE(entry->m_sizes.empty());
        EXPECT_FALSE(entry->m_frameRates.empty());
        EXPECT_FALSE(entry->m_bitRates.empty());
        EXPECT_TRUE(entry->m_defaultPreset.IsEmpty());
        EXPECT_EQ(entry->m_defaultAspect, (CIntPair{0, 0}));
    }
    const wchar_t* const audio[] = {
        L"AC_ac3", L"AC_ac3.DVD", L"AC_adpcm_ima_wav", L"AC_adpcm_ms", L"AC_libfdk_aac", L"AC_libfdk_aac.3g2",
        L"AC_libfdk_aac.3gp", L"AC_libfdk_aac.Android", L"AC_libfdk_aac.Apple", L"AC_libfdk_aac.BlackBerry",
        L"AC_libfdk_aac.WindowsPhone", L"AC_libmp3lame", L"AC_libmp3lame.flv", L"AC_libopencore_amrnb",
        L"AC_libvo_amrwbenc", L"AC_libvorbis", L"AC_mp2", L"AC_mp2.DVD", L"AC_mp2.VCD", L"AC_pcm_alaw",
        L"AC_pcm_mulaw", L"AC_pcm_s16le", L"AC_pcm_s16le.dv", L"AC_wmav1", L"AC_wmav2"};
    for (const wchar_t* id : audio) {
        auto entry = Audio(id);
        ASSERT_TRUE(entry);
        EXPECT_FALSE(entry->m_channels.empty());
        EXPECT_FALSE(entry->m_sampleRates.empty());
        EXPECT_FALSE(entry->m_bitRates.empty());
    }
    EXPECT_FALSE(BuildVideoCodecEntry(L"VC_mpeg4.divx"));
    EXPECT_FALSE(BuildVideoCodecEntry(L"vc_libx264"));
    EXPECT_FALSE(BuildAudioCodecEntry(L"VC_libx264"));
}

TEST(CodecEntries, FieldsOfSomeEntries)
{
    auto web = Video(L"VC_libx264.web");
    EXPECT_EQ(web->m_name, CString(L"H.264 for web"));
    EXPECT_EQ(web->m_codecName, CString(L"libx264"));
    EXPECT_EQ(web->m_flags, VIDEO_ANY_SIZE | VIDEO_ANY_FRAME_RATE | VIDEO_ANY_BIT_RATE | CODEC_THREADS);
    EXPECT_EQ(web->m_extraOptions, CString(L"-movflags +faststart"));
    EXPECT_EQ(web->m_sizes.size(), 24u);
    EXPECT_EQ(web->m_bitRates.size(), 39u);

    auto ts = Video(L"VC_libx264.ts");
    EXPECT_EQ(ts->m_flags, VIDEO_ANY_BIT_RATE | CODEC_THREADS);
    EXPECT_EQ(ts->m_defaultSize, (CIntPair{1280, 720}));
    EXPECT_EQ(ts->m_defaultBitRate, 10000000);

    auto wmv = Video(L"VC_wmv2");
    ASSERT_EQ(wmv->m_aspects.size(), 3u);
    EXPECT_EQ(wmv->m_aspects[2], (CIntPair{16, 9}));
    EXPECT_TRUE(Video(L"VC_mpeg4")->m_aspects.empty());

    auto gif = Video(L"VC_gif");
    EXPECT_TRUE(gif->m_codecName.IsEmpty());

    auto dvd = Audio(L"AC_ac3.DVD");
    EXPECT_EQ(dvd->m_defaultChannels, 2);
    EXPECT_EQ(dvd->m_defaultSampleRate, 48000);
    EXPECT_EQ(dvd->m_defaultBitRate, 192000);
    EXPECT_EQ(dvd->m_bitRates.size(), 19u);

    auto amr = Audio(L"AC_libvo_amrwbenc");
    EXPECT_EQ(amr->m_flags, 0u);
    EXPECT_EQ(amr->m_defaultBitRate, 15850);
}

TEST(CodecEntries, VideoChoiceRule)
{
    struct Case {
        const wchar_t* id;
        CIntPair size, chosenSize, rate, chosenRate;
        int bitRate, chosenBitRate;
    } const cases[] = {
        // No free values: everything is bent onto the lists.
        {L"VC_mpeg2video.DVD", {0, 0}, {720, 480}, {25, 1}, {25, 1}, 4500000, 5000000},
        {L"VC_mpeg2video.DVD", {720, 576}, {720, 576}, {24, 1}, {30000, 1001}, 7000000, 7000000},
        {L"VC_mpeg2video.DVD", {640, 480}, {720, 480}, {0, 0}, {30000, 1001}, 0, 5000000},
        {L"VC_dvvideo", {720, 480}, {720, 480}, {30, 1}, {30000, 1001}, 123, 123},
        {L"VC_dvvideo", {640, 480}, {720, 576}, {25, 1}, {25, 1}, 0, 0},
        // GIF: any size, but its only frame rate is automatic and its only bit rate 0.
        {L"VC_gif", {333, 222}, {333, 222}, {25, 1}, {0, 0}, 1000000, 0},
        // Free entries return any request, also 0.
        {L"VC_libx264", {333, 222}, {333, 222}, {7, 3}, {7, 3}, 0, 0},
        {L"VC_libx264.ts", {640, 480}, {1280, 720}, {7, 3}, {0, 0}, 1, 1},
        {L"VC_libx264.ts", {1920, 1080}, {1920, 1080}, {25, 1}, {25, 1}, 3000000, 3000000},
    };
    for (const Case& c : cases) {
        auto entry = Video(c.id);
        const CIntPair source = {999, 999};
        EXPECT_EQ(entry->ChooseSize(c.size, source), c.chosenSize) << CString(c.id).ToUtf8();
        EXPECT_EQ(entry->ChooseFrameRate(c.rate, source), c.chosenRate) << CString(c.id).ToUtf8();
        EXPECT_EQ(entry->ChooseBitRate(c.bitRate, 999), c.chosenBitRate) << CString(c.id).ToUtf8();
    }
}

TEST(CodecEntries, AudioChoiceRule)
{
    struct Case {
        const wchar_t* id;
        int channels, chosenChannels, rate, chosenRate, bitRate, chosenBitRate;
    } const cases[] = {
        {L"AC_wmav2", 3, 0, 44100, 44100, 64000, 64000},
        {L"AC_wmav2", 2, 2, 11025, 0, 100000, 0},
        {L"AC_libopencore_amrnb", 2, 1, 44100, 8000, 12200, 12200},
        {L"AC_libopencore_amrnb", 0, 1, 0, 8000, 0, 6700},
        {L"AC_libvo_amrwbenc", 1, 1, 16000, 16000, 23850, 23850},
        {L"AC_libfdk_aac", 5, 5, 1234, 1234, 1, 1},
    };
    for (const Case& c : cases) {
        auto entry = Audio(c.id);
        EXPECT_EQ(entry->ChooseChannels(c.channels, 6), c.chosenChannels) << CString(c.id).ToUtf8();
        EXPECT_EQ(entry->ChooseSampleRate(c.rate, 48000), c.chosenRate) << CString(c.id).ToUtf8();
        EXPECT_EQ(entry->ChooseBitRate(c.bitRate, 1), c.chosenBitRate) << CString(c.id).ToUtf8();
    }
}

TEST(CodecEntries, DvPixelFormatHook)
{
    auto dv = Video(L"VC_dvvideo");
    CEncodeOptions options;
    options.m_width = 720;
    options.m_height = 480;
    EXPECT_EQ(dv->AddCodecOptions(options, nullptr), 1);
    EXPECT_EQ(dv->m_extraOptions, CString(L"-pix_fmt yuv411p"));
    options.m_height = 576;
    EXPECT_EQ(dv->AddCodecOptions(options, nullptr), 1);
    EXPECT_TRUE(dv->m_extraOptions.IsEmpty());
}

TEST(CodecEntries, XvidAspectHook)
{
    struct Case {
        int width, height, aspectNum, aspectDen, resultNum, resultDen;
    } const cases[] = {
        {0, 0, 0, 0, 0, 0},
        {720, 480, 0, 0, 720, 480},
        {640, 360, 16, 9, 16, 9},
        {640, 360, 16, 0, 640, 360},
    };
    for (const wchar_t* id : {L"VC_libxvid", L"VC_libxvid.3g2", L"VC_libxvid.3gp"}) {
        auto xvid = Video(id);
        for (const Case& c : cases) {
            CEncodeOptions options;
            options.m_width = c.width;
            options.m_height = c.height;
            options.m_aspectNum = c.aspectNum;
            options.m_aspectDen = c.aspectDen;
            EXPECT_EQ(xvid->AddCodecOptions(options, nullptr), 1);
            EXPECT_EQ(options.m_aspectNum, c.resultNum);
            EXPECT_EQ(options.m_aspectDen, c.resultDen);
        }
    }
    CEncodeOptions options;
    options.m_width = 720;
    options.m_height = 480;
    EXPECT_EQ(Video(L"VC_mpeg4")->AddCodecOptions(options, nullptr), 1);
    EXPECT_EQ(options.m_aspectNum, 0);
}

} // namespace
