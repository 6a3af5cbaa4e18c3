#include "CatalogTestSupport.h"
#include "EncoderCommandLine.h"

#include <gtest/gtest.h>

namespace {

const CString kProgram = L"C:\\Talvena\\Modules\\Tollwick.exe";

// A probed animated GIF: its only stream is video.
CMediaStreamInfo GifStream()
{
    CMediaStreamInfo s;
    s.m_type = MEDIA_STREAM_VIDEO;
    s.m_format = L"gif";
    s.m_width = 320;
    s.m_height = 240;
    s.m_rateNum = 10;
    s.m_rateDen = 1;
    return s;
}

class PresetCommandLine : public ::testing::Test {
protected:
    void SetUp() override { LoadBuiltins(m_catalog); }

    CEncodeOptions Options()
    {
        CEncodeOptions o;
        o.m_input = L"C:\\in\\a.gif";
        o.m_output = L"C:\\out\\[Converting] a.mp4";
        return o;
    }

    // The options of a run with the preset, as the conversion job prepares them.
    int Apply(CEncodeOptions& o, const CMediaPreset& preset, bool withSource = true)
    {
        const CMediaStreamInfo source = GifStream();
        return preset.m_format->ApplyToOptions(o, preset, withSource ? &source : nullptr, nullptr);
    }

    // The command line after program and input, up to the output.
    CString Middle(const wchar_t* format, const wchar_t* preset, CEncodeOptions o)
    {
        const CMediaPreset* p = m_catalog.FindPreset(format, preset);
        EXPECT_TRUE(p) << CString(preset).ToUtf8();
        if (!p)
            return CString();
        EXPECT_EQ(Apply(o, *p), 1);
        o.MakeEvenSize();
        CString line = BuildEncoderCommandLine(kProgram, o);
        const CString head = L"\"C:\\Talvena\\Modules\\Tollwick.exe\" -i \"C:\\in\\a.gif\" ";
        const CString tail = L" -y \"C:\\out\\[Converting] a.mp4\"";
        EXPECT_EQ(line.Left(head.GetLength()), head);
        EXPECT_EQ(line.Right(tail.GetLength()), tail);
        return line.Mid(head.GetLength(), line.GetLength() - head.GetLength() - tail.GetLength());
    }

    CAppFormatCatalog m_catalog;
};

TEST_F(PresetCommandLine, SpreadOfBuiltinPresets)
{
    struct Case {
        const wchar_t* format;
        const wchar_t* preset;
        const wchar_t* items;
    } const cases[] = {
        {L"MC_mp4", L"H.264 - 240p", L"-f mp4 -vcodec libx264 -s 320x240 -q:v 0 -an"},
        {L"MC_mp4", L"H.264", L"-f mp4 -vcodec libx264 -q:v 0 -an"},
        {L"MC_DVD", L"NTSC - High Quality", L"-f dvd -vcodec mpeg2video -s 720x480 -r 30000/1001 -b:v 7000000 -an"},
        {L"MC_DVD", L"PAL - Low Quality", L"-f dvd -vcodec mpeg2video -s 720x576 -r 25/1 -b:v 3000000 -an"},
        {L"MC_webm", L"HD 720p", L"-f webm -vcodec libvpx -s 1280x720 -q:v 0 -vpre \"libvpx-720p\" -an"},
        {L"MC_webm", L"VP9", L"-f webm -vcodec libvpx-vp9 -q:v 0 -an"},
        {L"MC_dv", L"NTSC Compatible",
         L"-f dv -vcodec dvvideo -s 720x480 -r 30000/1001 -q:v 0 -an -pix_fmt yuv411p"},
        {L"MC_dv", L"PAL Compatible", L"-f dv -vcodec dvvideo -s 720x576 -r 25/1 -q:v 0 -an"},
        {L"MC_mp4.web", L"For Web - 640x360", L"-f mp4 -vcodec libx264 -s 640x360 -q:v 0 -an -movflags +faststart"},
        {L"MC_mp4.web", L"For YouTube - 480p", L"-f mp4 -vcodec libx264 -s 854x480 -q:v 0 -an"},
        {L"MC_wmv", L"For PowerPoint", L"-f asf -vcodec wmv2 -s 640x480 -b:v 2048000 -an"},
        {L"MC_VCD", L"NTSC", L"-f vcd -vcodec mpeg1video -s 352x240 -r 30000/1001 -b:v 1150000 -an"},
        {L"MC_3gp", L"144p", L"-f 3gp -vcodec h263 -s 176x144 -r 15/1 -an"},
        {L"MC_gif", L"Auto", L"-f gif -q:v 0 -an"},
        {L"MC_ts", L"For Xbox 360 - HD 720p", L"-f mpegts -vcodec mpeg2video -s 1280x720 -r 30000/1001 -b:v 5980000 -an"},
        {L"MC_ogv", L"Auto", L"-f ogg -vcodec libtheora -b:v 1000000 -an"},
        {L"MC_wmv.devices", L"Zune", L"-f asf -vcodec wmv2 -s 320x240 -q:v 0 -an"},
        {L"MC_Apple", L"iPhone 1/3S", L"-f mp4 -vcodec libx264 -s 480x320 -r 25/1 -q:v 0 -an"},
        {L"MC_avi", L"Xvid", L"-f avi -vcodec libxvid -q:v 0 -an"},
        // No entry for its codec id: the container picks its own codec.
        {L"MC_avi", L"DivX", L"-f avi -an"},
        {L"MC_mp4", L"DivX", L"-f mp4 -an"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Middle(c.format, c.preset, Options()), CString(c.items)) << CString(c.preset).ToUtf8();
}

TEST_F(PresetCommandLine, CustomPresetKeepsItsAudio)
{
    EXPECT_EQ(Middle(L"MC_mp4", L"Custom", Options()),
              CString(L"-f mp4 -vcodec libx264 -q:v 0 -acodec libfdk_aac -q:a 0"));
    EXPECT_EQ(Middle(L"MC_DVD", L"custom", Options()),
              CString(L"-f dvd -vcodec mpeg2video -s 720x480 -r 30000/1001 -b:v 7000000 -acodec ac3 -ac 2 -ar 48000 "
                      L"-b:a 192000"));
    // GIF output never has sound.
    EXPECT_EQ(Middle(L"MC_gif", L"Custom", Options()), CString(L"-f gif -q:v 0 -an"));
}

TEST_F(PresetCommandLine, RotationWithGreyScale)
{
    CEncodeOptions o = Options();
    o.m_rotation = 90;
    o.m_grey = 1;
    EXPECT_EQ(Middle(L"MC_mp4", L"H.264", o), CString(L"-f mp4 -vcodec libx264 -q:v 0 -vf \"transpose=1,hue=s=0\" -an"));
}

TEST_F(PresetCommandLine, ThreadFlagFromTheEntry)
{
    CEncodeOptions o = Options();
    ASSERT_EQ(Apply(o, *m_catalog.FindPreset(L"MC_mp4", L"H.264")), 1);
    EXPECT_EQ(o.m_flags & ENCODE_THREADS, ENCODE_THREADS);
    CEncodeOptions x = Options();
    ASSERT_EQ(Apply(x, *m_catalog.FindPreset(L"MC_avi", L"Xvid")), 1);
    EXPECT_EQ(x.m_flags & ENCODE_THREADS, 0u);
}

TEST_F(PresetCommandLine, ConstrainedEntryBendsTheCustomPreset)
{
    CMediaFormatInfo* dvd = m_catalog.FindFormat(L"MC_DVD");
    MEDIA_PRESET_SETTINGS& s = dvd->m_customPreset->m_settings;
    s.width = 640;
    s.rateNum = 24;
    s.rateDen = 1;
    s.videoBitRate = 4500000;
    s.channels = 1;
    EXPECT_EQ(Middle(L"MC_DVD", L"Custom", Options()),
              CString(L"-f dvd -vcodec mpeg2video -s 720x480 -r 30000/1001 -b:v 5000000 -acodec ac3 -ac 1 -ar 48000 "
                      L"-b:a 192000"));
}

TEST_F(PresetCommandLine, WithoutSourceStreamTheValuesAreTakenAsTheyStand)
{
    CMediaFormatInfo* dvd = m_catalog.FindFormat(L"MC_DVD");
    MEDIA_PRESET_SETTINGS& s = dvd->m_customPreset->m_settings;
    s.width = 640;
    CEncodeOptions o = Options();
    ASSERT_EQ(Apply(o, *dvd->m_customPreset, false), 1);
    EXPECT_EQ(o.m_width, 640);
}

TEST_F(PresetCommandLine, SizeAndRateNeedBothParts)
{
    CMediaFormatInfo* mp4 = m_catalog.FindFormat(L"MC_mp4");
    MEDIA_PRESET_SETTINGS& s = mp4->m_customPreset->m_settings;
    s.width = 640;
    s.height = 0;
    s.rateNum = 30;
    s.rateDen = 0;
    CEncodeOptions o = Options();
    ASSERT_EQ(Apply(o, *mp4->m_customPreset), 1);
    EXPECT_EQ(o.m_width, 0);
    EXPECT_EQ(o.m_rateNum, 0);
}

TEST_F(PresetCommandLine, XvidGetsThePictureAspect)
{
    CMediaFormatInfo* mp4 = m_catalog.FindFormat(L"MC_mp4");
    CMediaPreset& custom = *mp4->m_customPreset;
    MEDIA_PRESET_SETTINGS s = custom.m_settings;
    SetPresetText(s.videoCodec, L"VC_libxvid");
    s.width = 720;
    s.height = 480;
    ASSERT_EQ(custom.SetSettings(s), 1);
    EXPECT_EQ(Middle(L"MC_mp4", L"Custom", Options()),
              CString(L"-f mp4 -vcodec libxvid -s 720x480 -aspect 720:480 -q:v 0 -acodec libfdk_aac -q:a 0"));
}

TEST_F(PresetCommandLine, NoVideoWhenThePresetSwitchesItOff)
{
    CMediaFormatInfo* mp4 = m_catalog.FindFormat(L"MC_mp4");
    mp4->m_customPreset->m_settings.videoFlags = MEDIA_NO_STREAM;
    EXPECT_EQ(Middle(L"MC_mp4", L"Custom", Options()), CString(L"-f mp4 -vn -acodec libfdk_aac -q:a 0"));
}

TEST_F(PresetCommandLine, FormatAndEntryExtraOptionsAreAdded)
{
    CMediaFormatInfo* web = m_catalog.FindFormat(L"MC_mp4.web");
    web->m_extraOptions = L"-brand mp42";
    CEncodeOptions o = Options();
    o.AddExtraOptions(L"-metadata title=x");
    EXPECT_EQ(Middle(L"MC_mp4.web", L"For Web - 640x480", o),
              CString(L"-f mp4 -vcodec libx264 -s 640x480 -q:v 0 -an -metadata title=x -movflags +faststart "
                      L"-brand mp42"));
}

TEST_F(PresetCommandLine, ResolvedRecordCarriesEncoderNames)
{
    const CMediaPreset& p = *m_catalog.FindPreset(L"MC_mkv", L"HD 720p");
    MEDIA_PRESET_SETTINGS r;
    const CMediaStreamInfo source = GifStream();
    EXPECT_EQ(p.m_format->ResolvePreset(r, p, &source, nullptr), 1);
    EXPECT_EQ(CString(r.name), CString(L"matroska"));
    EXPECT_EQ(CString(r.videoCodec), CString(L"libx264"));
    EXPECT_EQ(CString(r.audioCodec), CString(L"libfdk_aac"));
    EXPECT_EQ(r.flags, MEDIA_FORMAT_VIDEO | MEDIA_FORMAT_AUDIO);
    EXPECT_EQ(r.width, 1280);
}

} // namespace
