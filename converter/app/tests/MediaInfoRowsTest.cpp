// The media information dialog's rows: file facts, five rows per video or audio stream numbered
// by their place among all streams, empty values for what is not known, and the heading rows.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MediaInfoRows.h"
#include "NumberFormat.h"

namespace {

std::unique_ptr<CMediaStreamInfo> Stream(int type, const wchar_t* format, int bitRate)
{
    auto stream = std::make_unique<CMediaStreamInfo>();
    stream->m_type = type;
    stream->m_format = format;
    stream->m_bitRate = bitRate;
    return stream;
}

std::vector<std::string> Lines(const std::vector<MediaInfoRow>& rows)
{
    std::vector<std::string> lines;
    for (const MediaInfoRow& row : rows)
        lines.push_back(row.label.ToUtf8() + "=" + row.value.ToUtf8());
    return lines;
}

TEST(MediaInfoRows, ASourceWithOneVideoStream)
{
    CMediaInfo info;
    info.m_size = 12345;
    info.m_duration = 4250000;
    info.m_format = L"gif";
    info.m_bitRate = 999;
    auto video = Stream(MEDIA_STREAM_VIDEO, L"gif", 999);
    video->m_width = 65;
    video->m_height = 49;
    video->m_rateNum = 30000;
    video->m_rateDen = 1001;
    info.m_streams.push_back(std::move(video));
    const std::vector<std::string> expected{
        "File Name=a.gif",
        "File Size=" + FormatInt64Grouped(12345).ToUtf8(),
        "Length=0:00:04.250",
        "Format=gif",
        "Bit Rate=0 kbps",
        "Stream #1=Video",
        "Format=gif",
        "Width x Height=65 x 49",
        "Frame Rate=29.97 fps",
        "Bit Rate=0.999 kbps",
    };
    const std::vector<MediaInfoRow> rows = MediaInfoRows(L"Z:/gifs/a.gif", info);
    EXPECT_EQ(expected, Lines(rows));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row)
        EXPECT_EQ(row == 0 || row == 5, IsMediaInfoHeading(row)) << row;
}

TEST(MediaInfoRows, UnknownValuesStayEmptyAndOtherStreamsLeaveGaps)
{
    CMediaInfo info;
    info.m_format = L"mov,mp4,m4a,3gp,3g2,mj2";
    auto audio = Stream(MEDIA_STREAM_AUDIO, L"aac", 128000);
    audio->m_channels = 2;
    audio->m_sampleRate = 44100;
    info.m_streams.push_back(std::move(audio));
    info.m_streams.push_back(Stream(0, L"bin_data", 0));
    auto video = Stream(MEDIA_STREAM_VIDEO, L"h264", 0);
    video->m_width = 66;
    video->m_height = 50;
    info.m_streams.push_back(std::move(video));
    const std::vector<std::string> expected{
        "File Name=out.mp4",
        "File Size=0",
        "Length=",
        "Format=mov,mp4,m4a,3gp,3g2,mj2",
        "Bit Rate=",
        "Stream #1=Audio",
        "Format=aac",
        "Channels=Stereo",
        "Sample Rate=44100",
        "Bit Rate=128 kbps",
        "Stream #3=Video",
        "Format=h264",
        "Width x Height=66 x 50",
        "Frame Rate=",
        "Bit Rate=",
    };
    EXPECT_EQ(expected, Lines(MediaInfoRows(L"C:/videos/out.mp4", info)));
}

} // namespace
