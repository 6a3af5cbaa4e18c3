#include "MediaFormatInfo.h"

#include <cmath>

void CMediaFormatInfo::Reset()
{
    if (!m_builtinPresets)
        return;
    m_defaultPreset = 0;
    LoadPresets(m_builtinPresets, m_builtinPresetCount);
}

namespace {

CIntPair SizeOf(const CMediaStreamInfo& s) { return {s.m_width, s.m_height}; }
CIntPair RateOf(const CMediaStreamInfo& s) { return {s.m_rateNum, s.m_rateDen}; }

// The preset's own name, else the entry's default when that is not empty.
void ResolvePresetName(wchar_t (&resolved)[MEDIA_PRESET_TEXT], const wchar_t* own, const CString& fallback)
{
    if (*own)
        SetPresetText(resolved, own);
    else if (!fallback.IsEmpty())
        SetPresetText(resolved, fallback);
}

} // namespace

int CMediaFormatInfo::ResolvePreset(MEDIA_PRESET_SETTINGS& r, const CMediaPreset& preset,
                                    const CMediaStreamInfo* sourceVideo, const CMediaStreamInfo* sourceAudio) const
{
    const MEDIA_PRESET_SETTINGS& s = preset.m_settings;
    r = MEDIA_PRESET_SETTINGS();
    r.flags = s.flags | m_flags;
    SetPresetText(r.name, m_muxer);
    if (const CVideoCodecInfo* entry = preset.m_videoCodec) {
        r.videoFlags = s.videoFlags;
        SetPresetText(r.videoCodec, entry->m_codecName);
        r.aspectNum = s.aspectNum;
        r.aspectDen = s.aspectDen;
        if (sourceVideo) {
            const CIntPair size = entry->ChooseSize({s.width, s.height}, SizeOf(*sourceVideo));
            const CIntPair rate = entry->ChooseFrameRate({s.rateNum, s.rateDen}, RateOf(*sourceVideo));
            r.width = size.first;
            r.height = size.second;
            r.rateNum = rate.first;
            r.rateDen = rate.second;
            r.videoBitRate = entry->ChooseBitRate(s.videoBitRate, sourceVideo->m_bitRate);
        } else {
            r.width = s.width;
            r.height = s.height;
            r.rateNum = s.rateNum;
            r.rateDen = s.rateDen;
            r.videoBitRate = s.videoBitRate;
        }
        ResolvePresetName(r.videoPreset, s.videoPreset, entry->m_defaultPreset);
    }
    if (const CAudioCodecInfo* entry = preset.m_audioCodec) {
        r.audioFlags = s.audioFlags;
        SetPresetText(r.audioCodec, entry->m_codecName);
        if (sourceAudio) {
            r.channels = entry->ChooseChannels(s.channels, sourceAudio->m_channels);
            r.sampleRate = entry->ChooseSampleRate(s.sampleRate, sourceAudio->m_sampleRate);
            r.audioBitRate = entry->ChooseBitRate(s.audioBitRate, sourceAudio->m_bitRate);
        } else {
            r.channels = s.channels;
            r.sampleRate = s.sampleRate;
            r.audioBitRate = s.audioBitRate;
        }
        ResolvePresetName(r.audioPreset, s.audioPreset, entry->m_defaultPreset);
    }
    return 1;
}

namespace {

// The steps shared by both streams once a stream is produced: codec hook, preset, the entry's
// own extra options and its thread-count flag.
int ApplyCodecEntry(CEncodeOptions& o, CCodecInfo* entry, const CMediaStreamInfo* source, const wchar_t* presetName,
                    CString& optionsPreset)
{
    if (!entry)
        return 1;
    if (entry->AddCodecOptions(o, source) == 0)
        return 0;
    if (*presetName)
        optionsPreset = presetName;
    o.AddExtraOptions(entry->m_extraOptions);
    if (entry->m_flags & CODEC_THREADS)
        o.m_flags |= ENCODE_THREADS;
    return 1;
}

} // namespace

int CMediaFormatInfo::ApplyToOptions(CEncodeOptions& o, const CMediaPreset& preset,
                                     const CMediaStreamInfo* sourceVideo, const CMediaStreamInfo* sourceAudio) const
{
    MEDIA_PRESET_SETTINGS r;
    ResolvePreset(r, preset, sourceVideo, sourceAudio);
    if (*r.name)
        o.m_format = r.name;

    if (!(r.flags & MEDIA_FORMAT_VIDEO) || (r.videoFlags & MEDIA_NO_STREAM)) {
        o.m_videoFlags |= ENCODE_NO_STREAM;
    } else {
        if (*r.videoCodec)
            o.m_videoCodec = r.videoCodec;
        if (r.width > 0 && r.height > 0) {
            o.m_width = r.width;
            o.m_height = r.height;
        }
        if (r.aspectNum > 0 && r.aspectDen > 0) {
            o.m_aspectNum = r.aspectNum;
            o.m_aspectDen = r.aspectDen;
        }
        if (r.rateNum > 0 && r.rateDen > 0) {
            o.m_rateNum = r.rateNum;
            o.m_rateDen = r.rateDen;
        }
        if (r.videoBitRate > 0)
            o.m_videoBitRate = r.videoBitRate;
        if (r.videoFlags & MEDIA_SAME_QUALITY)
            o.m_videoFlags |= ENCODE_SAME_QUALITY;
        if (!ApplyCodecEntry(o, preset.m_videoCodec, sourceVideo, r.videoPreset, o.m_videoPreset))
            return 0;
    }

    if (!(r.flags & MEDIA_FORMAT_AUDIO) || (r.audioFlags & MEDIA_NO_STREAM)) {
        o.m_audioFlags |= ENCODE_NO_STREAM;
    } else {
        if (*r.audioCodec)
            o.m_audioCodec = r.audioCodec;
        if (r.channels > 0)
            o.m_channels = r.channels;
        if (r.sampleRate > 0)
            o.m_sampleRate = r.sampleRate;
        if (r.audioBitRate > 0)
            o.m_audioBitRate = r.audioBitRate;
        if (r.audioFlags & MEDIA_SAME_QUALITY)
            o.m_audioFlags |= ENCODE_SAME_QUALITY;
        if (!ApplyCodecEntry(o, preset.m_audioCodec, sourceAudio, r.audioPreset, o.m_audioPreset))
            return 0;
    }

    o.AddExtraOptions(m_extraOptions);
    return 1;
}

namespace {

template <typename Entry>
Entry* FindEntry(const std::vector<std::unique_ptr<Entry>>& entries, const wchar_t* id)
{
    if (!id)
        return nullptr;
    for (const auto& entry : entries) {
        if (entry->m_id.Compare(id) == 0)
            return entry.get();
    }
    return nullptr;
}

} // namespace

CVideoCodecInfo* CMediaFormatInfo::FindVideoCodec(const wchar_t* id) const
{
    return HasVideo() ? FindEntry(m_videoCodecs, id) : nullptr;
}

CAudioCodecInfo* CMediaFormatInfo::FindAudioCodec(const wchar_t* id) const
{
    return HasAudio() ? FindEntry(m_audioCodecs, id) : nullptr;
}

int CMediaFormatInfo::LoadPresets(const MEDIA_PRESET_SETTINGS* table, int count)
{
    ClearPresets();
    m_presets.reserve(static_cast<size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) {
        auto preset = std::make_unique<CMediaPreset>(this);
        preset->SetSettings(table[i]);
        m_presets.push_back(std::move(preset));
    }
    return 1;
}

int CMediaFormatInfo::FindSamePreset(const CMediaPreset& preset) const
{
    for (size_t i = 0; i < m_presets.size(); ++i) {
        if (CompareSettings(*m_presets[i], preset))
            return static_cast<int>(i);
    }
    return -1;
}

namespace {

bool SameFrameRate(const MEDIA_PRESET_SETTINGS& a, const MEDIA_PRESET_SETTINGS& b)
{
    if (a.rateNum && a.rateDen && b.rateNum && b.rateDen) {
        const double ra = static_cast<double>(a.rateNum) / a.rateDen;
        const double rb = static_cast<double>(b.rateNum) / b.rateDen;
        return std::fabs(ra - rb) < 0.001;
    }
    return a.rateNum == b.rateNum && a.rateDen == b.rateDen;
}

} // namespace

bool CMediaFormatInfo::CompareSettings(const CMediaPreset& a, const CMediaPreset& b)
{
    const MEDIA_PRESET_SETTINGS& x = a.m_settings;
    const MEDIA_PRESET_SETTINGS& y = b.m_settings;
    return a.m_format == b.m_format && (x.flags & 0x0FFFFFFF) == (y.flags & 0x0FFFFFFF) &&
           a.m_audioCodec == b.m_audioCodec && a.m_videoCodec == b.m_videoCodec && SameFrameRate(x, y) &&
           x.videoBitRate == y.videoBitRate && x.width == y.width && x.height == y.height &&
           x.videoFlags == y.videoFlags && x.audioFlags == y.audioFlags && x.audioBitRate == y.audioBitRate &&
           x.sampleRate == y.sampleRate && x.channels == y.channels;
}

bool CMediaFormatInfo::IsBuiltinCodecId(const wchar_t* id, bool video) const
{
    for (int i = 0; id && *id && i < m_builtinPresetCount; ++i) {
        const MEDIA_PRESET_SETTINGS& s = m_builtinPresets[i];
        if (CString(video ? s.videoCodec : s.audioCodec).Compare(id) == 0)
            return true;
    }
    return false;
}
