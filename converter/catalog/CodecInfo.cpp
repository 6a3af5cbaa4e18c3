#include "CodecInfo.h"

#include <algorithm>

namespace {

// The requested value when the entry takes any value or lists it; else the entry's default.
template <typename T>
T Choose(bool anyValue, const std::vector<T>& choices, const T& fallback, const T& requested)
{
    if (anyValue)
        return requested;
    if (choices.empty())
        return fallback;
    return std::find(choices.begin(), choices.end(), requested) != choices.end() ? requested : fallback;
}

} // namespace

int CCodecInfo::AddCodecOptions(CEncodeOptions&, const CMediaStreamInfo*)
{
    return 1;
}

int CVideoCodecInfo::ChooseBitRate(int requested, int) const
{
    return Choose(m_flags & VIDEO_ANY_BIT_RATE, m_bitRates, m_defaultBitRate, requested);
}

int CVideoCodecInfo::AddCodecOptions(CEncodeOptions& options, const CMediaStreamInfo* source)
{
    return m_optionsHook ? m_optionsHook(*this, options, source) : 1;
}

CIntPair CVideoCodecInfo::ChooseSize(CIntPair requested, CIntPair) const
{
    return Choose(m_flags & VIDEO_ANY_SIZE, m_sizes, m_defaultSize, requested);
}

CIntPair CVideoCodecInfo::ChooseFrameRate(CIntPair requested, CIntPair) const
{
    return Choose(m_flags & VIDEO_ANY_FRAME_RATE, m_frameRates, m_defaultFrameRate, requested);
}

int CAudioCodecInfo::ChooseBitRate(int requested, int) const
{
    return Choose(m_flags & AUDIO_ANY_BIT_RATE, m_bitRates, m_defaultBitRate, requested);
}

int CAudioCodecInfo::ChooseChannels(int requested, int) const
{
    return Choose(m_flags & AUDIO_ANY_CHANNELS, m_channels, m_defaultChannels, requested);
}

int CAudioCodecInfo::ChooseSampleRate(int requested, int) const
{
    return Choose(m_flags & AUDIO_ANY_SAMPLE_RATE, m_sampleRates, m_defaultSampleRate, requested);
}
