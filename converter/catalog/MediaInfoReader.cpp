#include "MediaInfoReader.h"

#include "XmlFields.h"

namespace {

void ReadInt(int32_t& field, const pugi::xml_node& node, const char* name)
{
    field = node.attribute(name).as_int(field);
}

void ReadUInt(uint32_t& field, const pugi::xml_node& node, const char* name)
{
    field = node.attribute(name).as_uint(field);
}

void ReadInt64(int64_t& field, const pugi::xml_node& node, const char* name)
{
    field = node.attribute(name).as_llong(field);
}

void ReadString(CString& field, const pugi::xml_node& node, const char* name)
{
    const pugi::xml_attribute attribute = node.attribute(name);
    if (attribute)
        field = CString::FromUtf8(attribute.value());
}

void ReadElementText(CString& field, const pugi::xml_node& parent, const char* name)
{
    const pugi::xml_node element = parent.child(name);
    if (element)
        field = CString::FromUtf8(element.text().as_string(""));
}

void ReadStream(const pugi::xml_node& node, CMediaStreamInfo& stream)
{
    ReadInt(stream.m_type, node, "Type");
    ReadUInt(stream.m_flags, node, "Flags");
    ReadString(stream.m_format, node, "Format");
    ReadInt64(stream.m_startTime, node, "StartTime");
    ReadInt64(stream.m_duration, node, "Duration");
    ReadInt64(stream.m_frames, node, "Frames");
    ReadInt(stream.m_bitRate, node, "BitRate");
    if (stream.m_type == MEDIA_STREAM_VIDEO) {
        ReadPair(node, "Resolution", L"%dx%d", stream.m_width, stream.m_height);
        ReadPair(node, "Aspect", L"%d/%d", stream.m_aspectNum, stream.m_aspectDen);
        ReadPair(node, "FrameRate", L"%d/%d", stream.m_rateNum, stream.m_rateDen);
    } else if (stream.m_type == MEDIA_STREAM_AUDIO) {
        ReadInt(stream.m_channels, node, "Channels");
        ReadInt(stream.m_sampleRate, node, "SampleRate");
    }
}

void ReadMetaData(const pugi::xml_node& node, CMediaMetaData& meta)
{
    ReadInt(meta.m_year, node, "Year");
    ReadInt(meta.m_track, node, "Track");
    ReadElementText(meta.m_title, node, "Title");
    ReadElementText(meta.m_author, node, "Author");
    ReadElementText(meta.m_copyright, node, "Copyright");
    ReadElementText(meta.m_comment, node, "Comment");
    ReadElementText(meta.m_album, node, "Album");
    ReadElementText(meta.m_genre, node, "Genre");
}

} // namespace

int CMediaInfoReader::Read(const CString& path, CMediaInfo& info)
{
    pugi::xml_document document;
    if (!LoadXmlDocument(path, document))
        return -1;
    return ReadDocument(document, info);
}

int CMediaInfoReader::ReadDocument(const pugi::xml_document& document, CMediaInfo& info)
{
    const pugi::xml_node file = document.child("MediaInfo").child("File");
    if (!file)
        return -1;

    ReadInt(info.m_type, file, "Type");
    ReadUInt(info.m_flags, file, "Flags");
    ReadString(info.m_format, file, "Format");
    ReadInt64(info.m_size, file, "Size");
    ReadInt64(info.m_startTime, file, "StartTime");
    ReadInt64(info.m_duration, file, "Duration");
    ReadInt(info.m_bitRate, file, "BitRate");
    ReadInt(info.m_streamCount, file, "Streams");

    for (const pugi::xml_node& node : file.child("Streams").children("Stream")) {
        auto stream = std::make_unique<CMediaStreamInfo>();
        ReadStream(node, *stream);
        info.m_streams.push_back(std::move(stream));
    }
    const pugi::xml_node meta = file.child("MetaData");
    if (meta)
        ReadMetaData(meta, info.m_metaData);
    return 0;
}
