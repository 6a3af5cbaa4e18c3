#pragma once
// One output format (a container or a device target): its codec entries, presets and custom
// preset, and the resolution of a preset into the options of one encoder run.
#include <memory>
#include <vector>

#include "MediaPreset.h"

class CMediaFormatInfo : public CMediaCatalogItem {
public:
    CMediaFormatInfo() = default;
    CMediaFormatInfo(const CMediaFormatInfo&) = delete;
    CMediaFormatInfo& operator=(const CMediaFormatInfo&) = delete;

    // Reloads the built-in presets (when the format has any) and makes the first the default.
    virtual void Reset();
    // Fills a zeroed record with the preset's values, bent onto the codec entries' choices when
    // a source stream is given; the name field gets the muxer name. Returns 1.
    virtual int ResolvePreset(MEDIA_PRESET_SETTINGS& resolved, const CMediaPreset& preset,
                              const CMediaStreamInfo* sourceVideo, const CMediaStreamInfo* sourceAudio) const;
    // Writes the resolved values into options that hold the inputs and output already; values
    // that resolve to 0 leave the encoder to decide. 1, or 0 when a codec entry refuses the run.
    virtual int ApplyToOptions(CEncodeOptions& options, const CMediaPreset& preset,
                               const CMediaStreamInfo* sourceVideo, const CMediaStreamInfo* sourceAudio) const;

    bool HasVideo() const { return (m_flags & MEDIA_FORMAT_VIDEO) != 0; }
    bool HasAudio() const { return (m_flags & MEDIA_FORMAT_AUDIO) != 0; }
    // Exact (case-sensitive) lookups; null when the format carries no such stream.
    CVideoCodecInfo* FindVideoCodec(const wchar_t* id) const;
    CAudioCodecInfo* FindAudioCodec(const wchar_t* id) const;

    // Replaces the preset array with one preset per record; a record whose codec ids name no
    // entry is kept without that entry. Returns 1.
    int LoadPresets(const MEDIA_PRESET_SETTINGS* table, int count);
    void ClearPresets() { m_presets.DeleteAll(); }
    // Index of the first preset with the same settings (CompareSettings); -1 when none.
    int FindSamePreset(const CMediaPreset& preset) const;
    static bool CompareSettings(const CMediaPreset& a, const CMediaPreset& b);

    // Whether one of the built-in presets names this codec id (entries it does not offer included).
    bool IsBuiltinCodecId(const wchar_t* id, bool video) const;

    CString m_name;
    CString m_extension;   // with the dot
    CString m_formatName;  // the first part of a preset's description
    CString m_muxer;       // the encoder's "-f" value
    std::vector<std::unique_ptr<CVideoCodecInfo>> m_videoCodecs;
    int32_t m_defaultVideoCodec = 0;
    std::vector<std::unique_ptr<CAudioCodecInfo>> m_audioCodecs;
    int32_t m_defaultAudioCodec = 0;
    CMediaPresetArray m_presets;
    int32_t m_defaultPreset = 0;
    std::unique_ptr<CMediaPreset> m_customPreset;
    int32_t m_customPresetPos = -1;  // where the format dialog listed "Custom"; -1 when not listed
    CString m_extraOptions;

    // The built-in presets that Reset loads.
    const MEDIA_PRESET_SETTINGS* m_builtinPresets = nullptr;
    int m_builtinPresetCount = 0;
};
