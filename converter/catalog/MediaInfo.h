#pragma once
// The description of one media file as the probe reports it: file facts, streams and tags.
// The probe reader fills it; the catalogue resolves presets against its first video and audio
// streams, and the converter shows it.
#include <cstdint>
#include <memory>
#include <vector>

#include "CString.h"
#include "StopFlag.h"

enum : int32_t {
    MEDIA_STREAM_VIDEO = 1,
    MEDIA_STREAM_AUDIO = 2,
};

enum : uint32_t {
    MEDIA_INFO_HAS_VIDEO = 0x1,
    MEDIA_INFO_HAS_AUDIO = 0x2,
};

struct CMediaStreamInfo {
    int32_t m_type = 0;
    uint32_t m_flags = 0;
    CString m_format;
    int64_t m_duration = 0;   // microseconds
    int64_t m_startTime = 0;  // microseconds
    int64_t m_frames = 0;
    int32_t m_bitRate = 0;
    int32_t m_rateNum = 0, m_rateDen = 0;
    int32_t m_width = 0, m_height = 0;
    int32_t m_aspectNum = 0, m_aspectDen = 0;
    int32_t m_sampleRate = 0;
    int32_t m_channels = 0;
};

class CMediaMetaData {
public:
    virtual ~CMediaMetaData() = default;
    void Clear();

    CString m_title, m_author, m_copyright, m_comment, m_album, m_genre;
    int32_t m_year = 0;
    int32_t m_track = 0;
};

class CMediaInfo {
public:
    CMediaInfo() = default;
    CMediaInfo(const CMediaInfo&) = delete;
    CMediaInfo& operator=(const CMediaInfo&) = delete;
    virtual ~CMediaInfo() = default;

    void Reset();
    // Runs the probe program on the file (Windows only: defined with the probe runner); 0 or -1.
    int Probe(const CString& path, CStopFlag* stop);
    // Sorts the streams into the video and audio lists and notes the first of each.
    void SplitStreams();
    const CMediaStreamInfo* GetFirstVideoStream() const { return StreamAt(m_firstVideo); }
    const CMediaStreamInfo* GetFirstAudioStream() const { return StreamAt(m_firstAudio); }

    int32_t m_type = 0;
    uint32_t m_flags = 0;
    CString m_format;
    int64_t m_duration = 0;   // microseconds
    int64_t m_startTime = 0;  // microseconds
    int64_t m_size = 0;       // bytes
    int32_t m_bitRate = 0;
    int32_t m_streamCount = 0;  // as the file states it
    std::vector<std::unique_ptr<CMediaStreamInfo>> m_streams;
    std::vector<CMediaStreamInfo*> m_videoStreams;
    std::vector<CMediaStreamInfo*> m_audioStreams;
    int32_t m_firstVideo = -1;
    int32_t m_firstAudio = -1;
    CMediaMetaData m_metaData;

private:
    const CMediaStreamInfo* StreamAt(int32_t index) const;
};
