#include "MediaInfoRows.h"

#include "ConverterPaths.h"
#include "MediaFormatting.h"
#include "NumberFormat.h"

namespace {

CString StreamHeading(size_t place)
{
    CString text;
    text.Format(L"Stream #%d", static_cast<int>(place));
    return text;
}

CString StreamBitRate(const CMediaStreamInfo& stream)
{
    return stream.m_bitRate > 0 ? FormatKbps(stream.m_bitRate, L"%.3f", true, false) : CString();
}

void AddStreamRows(std::vector<MediaInfoRow>& rows, size_t place, const CMediaStreamInfo& stream)
{
    CString text;
    if (stream.m_type == MEDIA_STREAM_VIDEO) {
        rows.push_back({StreamHeading(place), L"Video"});
        rows.push_back({L"Format", stream.m_format});
        text.Format(L"%d x %d", stream.m_width, stream.m_height);
        rows.push_back({L"Width x Height", text});
        rows.push_back({L"Frame Rate", FormatFrameRate(stream.m_rateNum, stream.m_rateDen, L"%.3f", true, false)});
        rows.push_back({L"Bit Rate", StreamBitRate(stream)});
    } else if (stream.m_type == MEDIA_STREAM_AUDIO) {
        rows.push_back({StreamHeading(place), L"Audio"});
        rows.push_back({L"Format", stream.m_format});
        rows.push_back({L"Channels", FormatChannels(stream.m_channels, true)});
        text.Format(L"%d", stream.m_sampleRate);
        rows.push_back({L"Sample Rate", text});
        rows.push_back({L"Bit Rate", StreamBitRate(stream)});
    }
}

} // namespace

std::vector<MediaInfoRow> MediaInfoRows(const CString& path, const CMediaInfo& info)
{
    std::vector<MediaInfoRow> rows;
    rows.push_back({L"File Name", GetFileNamePart(path)});
    rows.push_back({L"File Size", FormatInt64Grouped(info.m_size)});
    rows.push_back({L"Length", info.m_duration > 0 ? FormatDuration64(info.m_duration, false, true, true) : CString()});
    rows.push_back({L"Format", info.m_format});
    CString bitRate;
    if (info.m_bitRate > 0)
        bitRate.Format(L"%d kbps", info.m_bitRate / 1000);
    rows.push_back({L"Bit Rate", bitRate});
    // Streams are numbered by their place among all streams, whatever their kind.
    for (size_t i = 0; i < info.m_streams.size(); ++i)
        if (info.m_streams[i])
            AddStreamRows(rows, i + 1, *info.m_streams[i]);
    return rows;
}
