#include "BuiltinFormats.h"

#include <algorithm>
#include <iterator>

#include "BuiltinCodecs.h"

namespace {

#include "BuiltinPresets.inc"

constexpr uint32_t VA = MEDIA_FORMAT_VIDEO | MEDIA_FORMAT_AUDIO;
constexpr uint32_t V = MEDIA_FORMAT_VIDEO;
constexpr uint32_t HIDDEN = MEDIA_ITEM_HIDDEN;

struct Ids {
    const wchar_t* const* ids;
    int count;
};

template <int N>
constexpr Ids I(const wchar_t* const (&ids)[N])
{
    return {ids, N};
}

struct FormatEntry {
    BuiltinGroup group;
    const wchar_t* id;
    const wchar_t* name;
    const wchar_t* extension;
    const wchar_t* formatName;
    const wchar_t* muxer;
    uint32_t flags;
    Ids video;
    Ids audio;
    const MEDIA_PRESET_SETTINGS* presets;
    int presetCount;
};

#define PRESETS(table) table, static_cast<int>(std::size(table))

// Codec entry lists.
const wchar_t* const kMp4Video[] = {L"VC_libx264", L"VC_libx265", L"VC_mpeg4", L"VC_libxvid", L"VC_h263"};
const wchar_t* const kMp4Audio[] = {L"AC_libfdk_aac", L"AC_libmp3lame", L"AC_libopencore_amrnb", L"AC_libvo_amrwbenc"};
const wchar_t* const kWmvVideo[] = {L"VC_wmv2", L"VC_wmv1"};
const wchar_t* const kWmvAudio[] = {L"AC_wmav2", L"AC_wmav1"};
const wchar_t* const kMovVideo[] = {L"VC_libx264", L"VC_mpeg4", L"VC_libxvid"};
const wchar_t* const kAac[] = {L"AC_libfdk_aac"};
const wchar_t* const k3g2Video[] = {L"VC_h263.3g2", L"VC_libx264.3g2", L"VC_mpeg4.3g2", L"VC_libxvid.3g2"};
const wchar_t* const k3g2Audio[] = {L"AC_libopencore_amrnb", L"AC_libvo_amrwbenc", L"AC_libfdk_aac.3g2"};
const wchar_t* const k3gpVideo[] = {L"VC_h263.3gp", L"VC_libx264.3gp", L"VC_mpeg4.3gp", L"VC_libxvid.3gp"};
const wchar_t* const k3gpAudio[] = {L"AC_libopencore_amrnb", L"AC_libvo_amrwbenc", L"AC_libfdk_aac.3gp"};
const wchar_t* const kAsfVideo[] = {L"VC_msmpeg4", L"VC_wmv2", L"VC_wmv1"};
const wchar_t* const kAsfAudio[] = {L"AC_libmp3lame", L"AC_mp2", L"AC_wmav2", L"AC_wmav1"};
const wchar_t* const kAviVideo[] = {L"VC_libx264", L"VC_mpeg4", L"VC_libxvid", L"VC_msmpeg4", L"VC_msmpeg4v2",
                                    L"VC_msmpeg4v1", L"VC_mpeg2video", L"VC_mpeg1video", L"VC_h263", L"VC_h263p",
                                    L"VC_mjpeg", L"VC_huffyuv", L"VC_rawvideo", L"VC_wmv2", L"VC_wmv1"};
const wchar_t* const kAviAudio[] = {L"AC_libmp3lame", L"AC_mp2", L"AC_ac3", L"AC_libfdk_aac", L"AC_pcm_s16le",
                                    L"AC_pcm_alaw", L"AC_pcm_mulaw", L"AC_adpcm_ima_wav", L"AC_adpcm_ms",
                                    L"AC_wmav2", L"AC_wmav1"};
const wchar_t* const kDvVideo[] = {L"VC_dvvideo"};
const wchar_t* const kDvAudio[] = {L"AC_pcm_s16le.dv"};
const wchar_t* const kFlvVideo[] = {L"VC_flv", L"VC_libx264", L"VC_h263"};
const wchar_t* const kFlvAudio[] = {L"AC_libmp3lame.flv", L"AC_libfdk_aac"};
const wchar_t* const kGifVideo[] = {L"VC_gif"};
const wchar_t* const kM4vVideo[] = {L"VC_libx264", L"VC_libxvid"};
const wchar_t* const kMkvVideo[] = {L"VC_libx264", L"VC_mpeg4", L"VC_libxvid", L"VC_mjpeg"};
const wchar_t* const kMkvAudio[] = {L"AC_libfdk_aac", L"AC_ac3", L"AC_libmp3lame", L"AC_mp2", L"AC_pcm_s16le"};
const wchar_t* const kMp4WebVideo[] = {L"VC_libx264", L"VC_libx264.web", L"VC_mpeg4", L"VC_libxvid", L"VC_h263"};
const wchar_t* const kMpeg1Video[] = {L"VC_mpeg1video"};
const wchar_t* const kMp2[] = {L"AC_mp2"};
const wchar_t* const kMpeg2Video[] = {L"VC_mpeg2video"};
const wchar_t* const kMp2Ac3[] = {L"AC_mp2", L"AC_ac3"};
const wchar_t* const kOgvVideo[] = {L"VC_libtheora"};
const wchar_t* const kVorbis[] = {L"AC_libvorbis"};
const wchar_t* const kSwfVideo[] = {L"VC_flv"};
const wchar_t* const kSwfAudio[] = {L"AC_libmp3lame.flv"};
const wchar_t* const kTsVideo[] = {L"VC_mpeg2video.ts", L"VC_libx264.ts"};
const wchar_t* const kDvdVideo[] = {L"VC_mpeg2video.DVD"};
const wchar_t* const kVobAudio[] = {L"AC_ac3.DVD", L"AC_mp2.DVD"};
const wchar_t* const kWebmVideo[] = {L"VC_libvpx", L"VC_libvpx_vp9"};
const wchar_t* const kDvdAudio[] = {L"AC_ac3.DVD"};
const wchar_t* const kSvcdVideo[] = {L"VC_mpeg2video.SVCD"};
const wchar_t* const kVcdAudio[] = {L"AC_mp2.VCD"};
const wchar_t* const kVcdVideo[] = {L"VC_mpeg1video.VCD"};
const wchar_t* const kAppleVideo[] = {L"VC_libx264.Apple", L"VC_mpeg4.Apple"};
const wchar_t* const kAppleAudio[] = {L"AC_libfdk_aac.Apple"};
const wchar_t* const kAndroidVideo[] = {L"VC_libx264.Android", L"VC_mpeg4.Android"};
const wchar_t* const kAndroidAudio[] = {L"AC_libfdk_aac.Android"};
const wchar_t* const kBlackBerryVideo[] = {L"VC_mpeg4.BlackBerry", L"VC_libx264.BlackBerry"};
const wchar_t* const kBlackBerryAudio[] = {L"AC_libfdk_aac.BlackBerry", L"AC_libmp3lame"};
const wchar_t* const kX264Mpeg4[] = {L"VC_libx264", L"VC_mpeg4"};
const wchar_t* const kMpeg4X264[] = {L"VC_mpeg4", L"VC_libx264"};
const wchar_t* const kAacMp3[] = {L"AC_libfdk_aac", L"AC_libmp3lame"};
const wchar_t* const kWindowsPhoneVideo[] = {L"VC_libx264.WindowsPhone", L"VC_mpeg4.WindowsPhone"};
const wchar_t* const kWindowsPhoneAudio[] = {L"AC_libfdk_aac.WindowsPhone"};
const wchar_t* const kAviDevicesVideo[] = {L"VC_libx264", L"VC_mpeg4", L"VC_libxvid", L"VC_h263", L"VC_mjpeg"};
const wchar_t* const kAviDevicesAudio[] = {L"AC_libmp3lame", L"AC_mp2", L"AC_pcm_s16le", L"AC_ac3", L"AC_libfdk_aac"};
const wchar_t* const kMp4DevicesVideo[] = {L"VC_libx264", L"VC_mpeg4", L"VC_libxvid"};

constexpr Ids NO_AUDIO = {nullptr, 0};
constexpr BuiltinGroup VG = BUILTIN_VIDEO_GROUP;
constexpr BuiltinGroup DG = BUILTIN_DEVICE_GROUP;

const FormatEntry kFormats[] = {
    {VG, L"MC_mp4", L"MP4", L".mp4", L"MP4", L"mp4", VA, I(kMp4Video), I(kMp4Audio), PRESETS(kMp4)},
    {VG, L"MC_wmv", L"WMV", L".wmv", L"WMV", L"asf", VA, I(kWmvVideo), I(kWmvAudio), PRESETS(kWmv)},
    {VG, L"MC_mov", L"MOV", L".mov", L"MOV", L"mov", VA, I(kMovVideo), I(kAac), PRESETS(kMov)},
    {VG, L"MC_3g2", L"3GPP2", L".3g2", L"3GPP2", L"3g2", VA, I(k3g2Video), I(k3g2Audio), PRESETS(k3g2)},
    {VG, L"MC_3gp", L"3GPP", L".3gp", L"3GPP", L"3gp", VA, I(k3gpVideo), I(k3gpAudio), PRESETS(k3gp)},
    {VG, L"MC_asf", L"ASF", L".asf", L"ASF", L"asf", VA | HIDDEN, I(kAsfVideo), I(kAsfAudio), PRESETS(kAsf)},
    {VG, L"MC_avi", L"AVI", L".avi", L"AVI", L"avi", VA, I(kAviVideo), I(kAviAudio), PRESETS(kAvi)},
    {VG, L"MC_dv", L"DV", L".dv", L"DV", L"dv", VA | HIDDEN, I(kDvVideo), I(kDvAudio), PRESETS(kDv)},
    {VG, L"MC_flv", L"FLV", L".flv", L"FLV", L"flv", VA, I(kFlvVideo), I(kFlvAudio), PRESETS(kFlv)},
    {VG, L"MC_gif", L"GIF", L".gif", L"GIF", L"gif", V | HIDDEN, I(kGifVideo), NO_AUDIO, PRESETS(kGif)},
    {VG, L"MC_m4v", L"M4V", L".m4v", L"M4V", L"mp4", VA | HIDDEN, I(kM4vVideo), I(kAac), PRESETS(kM4v)},
    {VG, L"MC_mkv", L"MKV", L".mkv", L"MKV", L"matroska", VA, I(kMkvVideo), I(kMkvAudio), PRESETS(kMkv)},
    {VG, L"MC_mp4.web", L"MP4 for Web", L".mp4", L"MP4", L"mp4", VA, I(kMp4WebVideo), I(kMp4Audio), PRESETS(kMp4Web)},
    {VG, L"MC_mpeg1", L"MPEG-1", L".mpg", L"MPEG-1", L"mpeg", VA, I(kMpeg1Video), I(kMp2), PRESETS(kMpeg1)},
    {VG, L"MC_mpeg2", L"MPEG-2", L".mpg", L"MPEG-2", L"mpeg", VA, I(kMpeg2Video), I(kMp2Ac3), PRESETS(kMpeg2)},
    {VG, L"MC_ogv", L"OGV", L".ogv", L"OGV", L"ogg", VA | HIDDEN, I(kOgvVideo), I(kVorbis), PRESETS(kOgv)},
    {VG, L"MC_swf", L"SWF", L".swf", L"SWF", L"swf", VA, I(kSwfVideo), I(kSwfAudio), PRESETS(kSwf)},
    {VG, L"MC_ts", L"TS", L".ts", L"TS", L"mpegts", VA, I(kTsVideo), I(kMp2Ac3), PRESETS(kTs)},
    {VG, L"MC_vob", L"VOB", L".vob", L"VOB", L"vob", VA | HIDDEN, I(kDvdVideo), I(kVobAudio), PRESETS(kVob)},
    {VG, L"MC_webm", L"WEBM", L".webm", L"WEBM", L"webm", VA, I(kWebmVideo), I(kVorbis), PRESETS(kWebm)},
    {VG, L"MC_DVD", L"DVD", L".vob", L"DVD", L"dvd", VA, I(kDvdVideo), I(kDvdAudio), PRESETS(kDvd)},
    {VG, L"MC_SVCD", L"SVCD", L".mpg", L"SVCD", L"svcd", VA | HIDDEN, I(kSvcdVideo), I(kVcdAudio), PRESETS(kSvcd)},
    {VG, L"MC_VCD", L"VCD", L".mpg", L"VCD", L"vcd", VA, I(kVcdVideo), I(kVcdAudio), PRESETS(kVcd)},
    {DG, L"MC_Apple", L"Apple", L".mp4", L"MP4", L"mp4", VA, I(kAppleVideo), I(kAppleAudio), PRESETS(kApple)},
    {DG, L"MC_Amazon", L"Amazon", L".mp4", L"MP4", L"mp4", VA, I(kAndroidVideo), I(kAndroidAudio), PRESETS(kAmazon)},
    {DG, L"MC_Android", L"Android", L".mp4", L"MP4", L"mp4", VA, I(kAndroidVideo), I(kAndroidAudio), PRESETS(kAndroid)},
    {DG, L"MC_BlackBerry", L"BlackBerry", L".mp4", L"MPEG-4", L"mp4", VA, I(kBlackBerryVideo), I(kBlackBerryAudio),
     PRESETS(kBlackBerry)},
    {DG, L"MC_Google", L"Google", L".mp4", L"MP4", L"mp4", VA, I(kX264Mpeg4), I(kAacMp3), PRESETS(kGoogle)},
    {DG, L"MC_HTC", L"HTC", L".mp4", L"MP4", L"mp4", VA, I(kMpeg4X264), I(kAac), PRESETS(kHtc)},
    {DG, L"MC_LG", L"LG", L".mp4", L"MP4", L"mp4", VA, I(kX264Mpeg4), I(kAac), PRESETS(kLg)},
    {DG, L"MC_Microsoft", L"Microsoft", L".mp4", L"MP4", L"mp4", VA, I(kX264Mpeg4), I(kAac), PRESETS(kMicrosoft)},
    {DG, L"MC_Motorola", L"Motorola", L".mp4", L"MP4", L"mp4", VA, I(kX264Mpeg4), I(kAac), PRESETS(kMotorola)},
    {DG, L"MC_Nokia", L"Nokia", L".mp4", L"MP4", L"mp4", VA, I(kMpeg4X264), I(kAac), PRESETS(kNokia)},
    {DG, L"MC_Samsung", L"Samsung", L".mp4", L"MP4", L"mp4", VA, I(kX264Mpeg4), I(kAac), PRESETS(kSamsung)},
    {DG, L"MC_Sony", L"Sony", L".mp4", L"MP4", L"mp4", VA, I(kX264Mpeg4), I(kAac), PRESETS(kSony)},
    {DG, L"MC_WindowsPhone", L"Windows Phone", L".mp4", L"MP4", L"mp4", VA, I(kWindowsPhoneVideo),
     I(kWindowsPhoneAudio), PRESETS(kWindowsPhone)},
    {DG, L"MC_avi.devices", L"AVI for Devices", L".avi", L"AVI", L"avi", VA, I(kAviDevicesVideo), I(kAviDevicesAudio),
     PRESETS(kAviDevices)},
    {DG, L"MC_mp4.devices", L"MP4 for Devices", L".mp4", L"MPEG-4", L"mp4", VA, I(kMp4DevicesVideo), I(kAacMp3),
     PRESETS(kMp4Devices)},
    {DG, L"MC_wmv.devices", L"WMV for Devices", L".wmv", L"WMV", L"asf", VA, I(kWmvVideo), I(kWmvAudio),
     PRESETS(kWmvDevices)},
};

#undef PRESETS

} // namespace

const wchar_t* BuiltinFormatId(BuiltinGroup group, int index)
{
    for (const FormatEntry& entry : kFormats) {
        if (entry.group == group && index-- == 0)
            return entry.id;
    }
    return nullptr;
}

std::unique_ptr<CMediaFormatInfo> BuildMediaFormatEntry(const wchar_t* id, const wchar_t* displayName)
{
    const FormatEntry* e = std::find_if(std::begin(kFormats), std::end(kFormats), [id](const FormatEntry& entry) {
        return id && CString(entry.id).Compare(id) == 0;
    });
    if (e == std::end(kFormats))
        return nullptr;
    auto format = std::make_unique<CMediaFormatInfo>();
    format->m_category = e->group == BUILTIN_VIDEO_GROUP ? MEDIA_CATEGORY_VIDEO : MEDIA_CATEGORY_DEVICE;
    format->m_id = e->id;
    format->m_flags = e->flags;
    format->m_name = displayName ? displayName : e->name;
    format->m_extension = e->extension;
    format->m_formatName = e->formatName;
    format->m_muxer = e->muxer;
    for (int i = 0; i < e->video.count; ++i)
        format->m_videoCodecs.push_back(BuildVideoCodecEntry(e->video.ids[i]));
    for (int i = 0; i < e->audio.count; ++i)
        format->m_audioCodecs.push_back(BuildAudioCodecEntry(e->audio.ids[i]));
    format->m_builtinPresets = e->presets;
    format->m_builtinPresetCount = e->presetCount;

    // The custom preset starts as a copy of the format's first built-in preset.
    format->m_customPreset = std::make_unique<CMediaPreset>(format.get());
    format->m_customPreset->SetSettings(e->presets[format->m_defaultPreset]);
    format->m_customPreset->m_settings.flags |= MEDIA_PRESET_CUSTOM;
    SetPresetText(format->m_customPreset->m_settings.name, L"Custom");
    return format;
}
