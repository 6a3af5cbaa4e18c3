#pragma once
// One named set of video and audio settings of a format.
#include <memory>
#include <vector>

#include "CodecInfo.h"

// Room of the text fields of a preset record, terminator included.
constexpr int MEDIA_PRESET_TEXT = 64;

enum : uint32_t {
    MEDIA_PRESET_CUSTOM = 0x20000000,  // preset flags: the format's custom preset
    MEDIA_FORMAT_VIDEO = 0x1,          // format flags (merged into resolved preset flags)
    MEDIA_FORMAT_AUDIO = 0x2,
    MEDIA_SAME_QUALITY = 0x1,          // video and audio flags
    MEDIA_NO_STREAM = 0x40000000,
    MEDIA_STREAM_LOCKED = 0x80000000,  // the dialogs do not let the user switch the stream on or off
};

// One preset's values; 0 means automatic in every numeric field. In a resolved record the name
// holds the muxer name and the codec ids the encoder codec names.
struct MEDIA_PRESET_SETTINGS {
    uint32_t flags;
    wchar_t name[MEDIA_PRESET_TEXT];
    uint32_t videoFlags;
    wchar_t videoCodec[MEDIA_PRESET_TEXT];
    int32_t width, height;
    int32_t aspectNum, aspectDen;
    int32_t rateNum, rateDen;
    int32_t videoBitRate;
    wchar_t videoPreset[MEDIA_PRESET_TEXT];
    uint32_t audioFlags;
    wchar_t audioCodec[MEDIA_PRESET_TEXT];
    int32_t channels;
    int32_t sampleRate;
    int32_t audioBitRate;
    wchar_t audioPreset[MEDIA_PRESET_TEXT];
};

// Copies at most 63 characters into a field (never half of a surrogate pair).
void SetPresetText(wchar_t (&field)[MEDIA_PRESET_TEXT], const wchar_t* text);

class CMediaFormatInfo;

class CMediaPreset {
public:
    explicit CMediaPreset(CMediaFormatInfo* format);
    virtual ~CMediaPreset() = default;

    // Copies the record and finds its codec entries in the format; 0 when an id names none
    // (the copy and the entries found stay).
    int SetSettings(const MEDIA_PRESET_SETTINGS& settings);

    // The preset's line in lists: its name, with the size (or audio bit rate) after a tab or in
    // brackets.
    void GetListText(CString& text, bool tabbed) const;
    void GetDetails(CString& format, CString& video, CString& audio) const;
    void GetSummary(CString& text) const;

    MEDIA_PRESET_SETTINGS m_settings;
    CMediaFormatInfo* m_format;
    CVideoCodecInfo* m_videoCodec = nullptr;
    CAudioCodecInfo* m_audioCodec = nullptr;
};

class CMediaPresetArray : public std::vector<std::unique_ptr<CMediaPreset>> {
public:
    void DeleteAll() { clear(); }
};
