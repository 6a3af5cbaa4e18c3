#include "MediaInfo.h"

void CMediaMetaData::Clear()
{
    m_title.Empty();
    m_author.Empty();
    m_copyright.Empty();
    m_comment.Empty();
    m_album.Empty();
    m_genre.Empty();
    m_year = 0;
    m_track = 0;
}

void CMediaInfo::Reset()
{
    m_type = 0;
    m_flags = 0;
    m_format.Empty();
    m_duration = 0;
    m_startTime = 0;
    m_size = 0;
    m_bitRate = 0;
    m_streamCount = 0;
    m_videoStreams.clear();
    m_audioStreams.clear();
    m_streams.clear();
    m_firstVideo = -1;
    m_firstAudio = -1;
    m_metaData.Clear();
}

void CMediaInfo::SplitStreams()
{
    m_videoStreams.clear();
    m_audioStreams.clear();
    m_firstVideo = -1;
    m_firstAudio = -1;
    for (size_t i = 0; i < m_streams.size(); ++i) {
        CMediaStreamInfo* stream = m_streams[i].get();
        if (stream->m_type == MEDIA_STREAM_VIDEO) {
            m_videoStreams.push_back(stream);
            m_flags |= MEDIA_INFO_HAS_VIDEO;
            if (m_firstVideo < 0)
                m_firstVideo = static_cast<int32_t>(i);
        } else if (stream->m_type == MEDIA_STREAM_AUDIO) {
            m_audioStreams.push_back(stream);
            m_flags |= MEDIA_INFO_HAS_AUDIO;
            if (m_firstAudio < 0)
                m_firstAudio = static_cast<int32_t>(i);
        }
    }
}

const CMediaStreamInfo* CMediaInfo::StreamAt(int32_t index) const
{
    if (index < 0 || static_cast<size_t>(index) >= m_streams.size())
        return nullptr;
    return m_streams[static_cast<size_t>(index)].get();
}
