#pragma once
// The options of one encoder run: inputs, output, format, times, size limit, video and audio
// settings, picture filters and extra options. 0 means "not given" for counts, sizes, rates and
// times; -1 for the stream maps, the loop count and the two qualities.
#include <cstdint>

#include "CString.h"

enum : uint32_t {
    ENCODE_THREADS = 0x1,            // flags: the codec takes a thread count
    ENCODE_SAME_QUALITY = 0x1,       // video and audio flags
    ENCODE_NO_STREAM = 0x40000000,   // video and audio flags: no video / no audio
};

struct CEncodeOptions {
    // Back to the defaults below.
    void Reset() { *this = CEncodeOptions(); }
    // Odd positive width and height become the next lower even number; encoders need even sizes.
    int MakeEvenSize();
    // Appends with one blank between it and what is already there; empty texts are ignored.
    void AddExtraOptions(const wchar_t* text);

    uint32_t m_flags = 0;
    int32_t m_threadCount = 0;
    int32_t m_bufferSize = 0;
    CString m_input;
    CString m_input2;
    int32_t m_startTime = 0;  // ms
    int32_t m_duration = 0;  // ms
    int64_t m_sizeLimit = 0;  // bytes
    int32_t m_inputRateNum = 0, m_inputRateDen = 0;
    CString m_output;
    CString m_format;  // muxer name
    CString m_target;
    int32_t m_map1Input = -1, m_map1Stream = -1;
    int32_t m_map2Input = -1, m_map2Stream = -1;
    int32_t m_loopCount = -1;

    uint32_t m_videoFlags = 0;
    CString m_videoCodec;
    CString m_videoPreset;
    int32_t m_videoQuality = -1;
    int32_t m_width = 0, m_height = 0;
    int32_t m_aspectNum = 0, m_aspectDen = 0;
    int32_t m_rateNum = 0, m_rateDen = 0;  // output frame rate
    int32_t m_videoBitRate = 0;
    int32_t m_frameCount = 0;
    int32_t m_cropX = 0, m_cropY = 0, m_cropWidth = 0, m_cropHeight = 0;
    int32_t m_rotation = 0;  // 0, 90, 180 or 270
    int32_t m_hflip = 0, m_vflip = 0, m_grey = 0, m_negate = 0;

    uint32_t m_audioFlags = 0;
    CString m_audioCodec;
    CString m_audioPreset;
    int32_t m_audioQuality = -1;
    int32_t m_channels = 0;
    int32_t m_sampleRate = 0;
    int32_t m_audioBitRate = 0;
    int32_t m_volume = 256;  // 256 = unchanged
    int32_t m_input2Offset = 0;  // ms
    int32_t m_volumePercent = 100;  // 100 = unchanged

    CString m_extraOptions;
};
