#pragma once
// Codec entries: what a format offers for its video and audio streams, with the value lists the
// user can choose from and the rule that bends a requested value onto them.
#include <vector>

#include "EncodeOptions.h"
#include "MediaCatalogItem.h"
#include "MediaInfo.h"

enum : uint32_t {
    VIDEO_ANY_SIZE = 0x1,
    VIDEO_ANY_FRAME_RATE = 0x4,
    VIDEO_ANY_BIT_RATE = 0x8,
    AUDIO_ANY_CHANNELS = 0x1,
    AUDIO_ANY_SAMPLE_RATE = 0x2,
    AUDIO_ANY_BIT_RATE = 0x4,
    CODEC_THREADS = 0x10000,  // the codec takes a thread count
};

class CCodecInfo : public CMediaCatalogItem {
public:
    virtual int ChooseBitRate(int requested, int source) const = 0;
    // May add per-run options (or rewrite the entry's own extra options); 0 refuses the run.
    virtual int AddCodecOptions(CEncodeOptions& options, const CMediaStreamInfo* source);

    CString m_name;
    CString m_codecName;  // the encoder's codec name; may be empty
    std::vector<int32_t> m_bitRates;
    int32_t m_defaultBitRate = 0;
    CString m_defaultPreset;
    CString m_extraOptions;
};

class CVideoCodecInfo : public CCodecInfo {
public:
    // Rewrites the entry's options for one run, for entries that need more than their lists.
    using OptionsHook = int (*)(CVideoCodecInfo& entry, CEncodeOptions& options, const CMediaStreamInfo* source);

    int ChooseBitRate(int requested, int source) const override;
    int AddCodecOptions(CEncodeOptions& options, const CMediaStreamInfo* source) override;
    virtual CIntPair ChooseSize(CIntPair requested, CIntPair source) const;
    virtual CIntPair ChooseFrameRate(CIntPair requested, CIntPair source) const;

    std::vector<CIntPair> m_sizes;
    CIntPair m_defaultSize;
    std::vector<CIntPair> m_aspects;
    CIntPair m_defaultAspect;
    std::vector<CIntPair> m_frameRates;
    CIntPair m_defaultFrameRate;
    OptionsHook m_optionsHook = nullptr;
};

class CAudioCodecInfo : public CCodecInfo {
public:
    int ChooseBitRate(int requested, int source) const override;
    virtual int ChooseChannels(int requested, int source) const;
    virtual int ChooseSampleRate(int requested, int source) const;

    std::vector<int32_t> m_channels;
    int32_t m_defaultChannels = 0;
    std::vector<int32_t> m_sampleRates;
    int32_t m_defaultSampleRate = 0;
};
