#include "MediaPreset.h"

#include <cstring>

#include "MediaFormatInfo.h"
#include "MediaFormatting.h"

void SetPresetText(wchar_t (&field)[MEDIA_PRESET_TEXT], const wchar_t* text)
{
    int length = 0;
    if (text) {
        while (length < MEDIA_PRESET_TEXT - 1 && text[length])
            ++length;
        // On UTF-16 a cut must not leave the first half of a surrogate pair behind.
        if (sizeof(wchar_t) == 2 && length == MEDIA_PRESET_TEXT - 1 && text[length] &&
            text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF)
            --length;
        std::memcpy(field, text, static_cast<size_t>(length) * sizeof(wchar_t));
    }
    std::memset(field + length, 0, static_cast<size_t>(MEDIA_PRESET_TEXT - length) * sizeof(wchar_t));
}

CMediaPreset::CMediaPreset(CMediaFormatInfo* format) : m_settings(), m_format(format) {}

int CMediaPreset::SetSettings(const MEDIA_PRESET_SETTINGS& settings)
{
    m_settings = settings;
    int result = 1;
    m_videoCodec = nullptr;
    m_audioCodec = nullptr;
    if (m_format && m_format->HasVideo()) {
        m_videoCodec = m_format->FindVideoCodec(m_settings.videoCodec);
        if (!m_videoCodec)
            result = 0;
    }
    if (m_format && m_format->HasAudio()) {
        m_audioCodec = m_format->FindAudioCodec(m_settings.audioCodec);
        if (!m_audioCodec)
            result = 0;
    }
    return result;
}

namespace {

CString JoinListText(const wchar_t* name, const CString& value, bool tabbed)
{
    CString text;
    text.Format(tabbed ? L"%s\t%s" : L"%s (%s)", name, value.GetString());
    return text;
}

} // namespace

void CMediaPreset::GetListText(CString& text, bool tabbed) const
{
    const MEDIA_PRESET_SETTINGS& s = m_settings;
    if (m_videoCodec) {
        if ((s.videoFlags & MEDIA_NO_STREAM) || s.width == 0 || s.height == 0)
            text = s.name;
        else
            text = JoinListText(s.name, FormatOrAuto(s.width, s.height, L"%d x %d"), tabbed);
    } else if (m_audioCodec) {
        if ((s.audioFlags & MEDIA_NO_STREAM) || s.audioBitRate == 0)
            text = s.name;
        else
            text = JoinListText(s.name, FormatKbps(s.audioBitRate), tabbed);
    } else {
        text.Empty();
    }
}

void CMediaPreset::GetDetails(CString& format, CString& video, CString& audio) const
{
    const MEDIA_PRESET_SETTINGS& s = m_settings;
    format = m_format ? m_format->m_formatName : CString();
    video.Empty();
    audio.Empty();
    if (m_videoCodec) {
        video.Format(L"%s, Size=%s, Frame Rate=%s, Bit Rate=%s", m_videoCodec->m_name.GetString(),
                     FormatOrAuto(s.width, s.height, L"%dx%d").GetString(),
                     FormatFrameRate(s.rateNum, s.rateDen).GetString(), FormatKbps(s.videoBitRate).GetString());
    }
    if (m_audioCodec) {
        audio.Format(L"%s, Channels=%s, Sample Rate=%s, Bit Rate=%s", m_audioCodec->m_name.GetString(),
                     FormatChannels(s.channels).GetString(), FormatHz(s.sampleRate, L"%d", false).GetString(),
                     FormatKbps(s.audioBitRate).GetString());
    }
}

void CMediaPreset::GetSummary(CString& text) const
{
    CString video, audio;
    GetDetails(text, video, audio);
    if (!video.IsEmpty())
        text += L"; Video: " + video;
    if (!audio.IsEmpty())
        text += L"; Audio: " + audio;
}
