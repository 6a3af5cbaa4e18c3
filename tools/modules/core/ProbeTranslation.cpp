#include "ProbeTranslation.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include <pugixml.hpp>

namespace {

enum { kFileVideo = 1, kFileAudio = 2 };

int StreamType(const std::string& codecType)
{
    static const char* const types[] = {"video", "audio", "subtitle", "data", "attachment"};
    for (int i = 0; i < 5; ++i)
        if (codecType == types[i])
            return i + 1;
    return 0;
}

// ffprobe's "num:den" or "num/den"; empty for the unknown ratios it writes as 0.
std::string Ratio(const char* text)
{
    int num = 0, den = 0;
    char separator = 0;
    std::istringstream in(text ? text : "");
    if (!(in >> num >> separator >> den) || num <= 0 || den <= 0)
        return std::string();
    return std::to_string(num) + "/" + std::to_string(den);
}

bool EqualNoCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

// Tags keep their case as the file has it ("TITLE" in Matroska, "title" in MP4).
std::string Tag(const pugi::xml_node& owner, const char* key)
{
    for (const pugi::xml_node& tag : owner.children("tag"))
        if (EqualNoCase(tag.attribute("key").value(), key))
            return tag.attribute("value").value();
    return std::string();
}

long long LeadingNumber(const std::string& text)
{
    return std::strtoll(text.c_str(), nullptr, 10);
}

void SetIfPositive(pugi::xml_node node, const char* name, long long value)
{
    if (value > 0)
        node.append_attribute(name) = value;
}

void WriteStream(const pugi::xml_node& in, long long fileDuration, pugi::xml_node streams, unsigned& fileFlags)
{
    const int type = StreamType(in.attribute("codec_type").value());
    pugi::xml_node out = streams.append_child("Stream");
    out.append_attribute("Type") = type;
    const pugi::xml_node disposition = in.child("disposition");
    const unsigned flags = (disposition.attribute("default").as_int() ? 1u : 0u) |
                           (disposition.attribute("attached_pic").as_int() ? 2u : 0u);
    out.append_attribute("Flags") = flags;
    out.append_attribute("Format") = in.attribute("codec_name").value();
    out.append_attribute("StartTime") = SecondsToMicroseconds(in.attribute("start_time").value());
    const long long duration = SecondsToMicroseconds(in.attribute("duration").value());
    out.append_attribute("Duration") = duration > 0 ? duration : fileDuration;
    const long long frames = in.attribute("nb_frames").as_llong();
    out.append_attribute("Frames") = frames > 0 ? frames : in.attribute("nb_read_packets").as_llong();
    SetIfPositive(out, "BitRate", in.attribute("bit_rate").as_llong());
    if (type == 1) {
        fileFlags |= kFileVideo;
        const std::string size = std::to_string(in.attribute("width").as_int()) + "x" +
                                 std::to_string(in.attribute("height").as_int());
        out.append_attribute("Resolution") = size.c_str();
        const std::string aspect = Ratio(in.attribute("display_aspect_ratio").value());
        if (!aspect.empty())
            out.append_attribute("Aspect") = aspect.c_str();
        std::string rate = Ratio(in.attribute("avg_frame_rate").value());
        if (rate.empty())
            rate = Ratio(in.attribute("r_frame_rate").value());
        if (!rate.empty())
            out.append_attribute("FrameRate") = rate.c_str();
    } else if (type == 2) {
        fileFlags |= kFileAudio;
        out.append_attribute("Channels") = in.attribute("channels").as_int();
        out.append_attribute("SampleRate") = in.attribute("sample_rate").as_int();
    }
}

void WriteMetaData(const pugi::xml_node& format, pugi::xml_node file)
{
    struct Text {
        const char* element;
        const char* keys[2];
    } const texts[] = {
        {"Title", {"title", nullptr}},         {"Author", {"artist", "author"}}, {"Copyright", {"copyright", nullptr}},
        {"Comment", {"comment", nullptr}},     {"Album", {"album", nullptr}},    {"Genre", {"genre", nullptr}},
    };
    const std::string year = Tag(format, "date").empty() ? Tag(format, "year") : Tag(format, "date");
    const std::string track = Tag(format, "track");
    pugi::xml_node meta;
    auto node = [&]() {
        if (!meta)
            meta = file.append_child("MetaData");
        return meta;
    };
    if (LeadingNumber(year) > 0)
        node().append_attribute("Year") = LeadingNumber(year);
    if (LeadingNumber(track) > 0)
        node().append_attribute("Track") = LeadingNumber(track);
    for (const Text& t : texts) {
        for (const char* key : t.keys) {
            if (!key)
                continue;
            const std::string value = Tag(format, key);
            if (!value.empty()) {
                node().append_child(t.element).text() = value.c_str();
                break;
            }
        }
    }
}

} // namespace

long long SecondsToMicroseconds(const char* text)
{
    if (!text)
        return 0;
    const bool negative = *text == '-';
    if (negative)
        ++text;
    if (*text < '0' || *text > '9')
        return 0;
    // Lengths past the 64-bit range stay at its end rather than wrap.
    constexpr long long kMaxWhole = LLONG_MAX / 1000000;
    long long whole = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        if (whole <= kMaxWhole)
            whole = whole * 10 + (*text - '0');
    long long fraction = 0;
    int digits = 0;
    if (*text == '.')
        for (++text; *text >= '0' && *text <= '9'; ++text)
            if (digits < 6) {
                fraction = fraction * 10 + (*text - '0');
                ++digits;
            }
    for (; digits < 6; ++digits)
        fraction *= 10;
    const long long value =
        whole > kMaxWhole || fraction > LLONG_MAX - whole * 1000000 ? LLONG_MAX : whole * 1000000 + fraction;
    return negative ? -value : value;
}

bool TranslateProbeXml(const std::string& ffprobeXml, std::string& mediaInfoXml)
{
    pugi::xml_document in;
    if (!in.load_buffer(ffprobeXml.data(), ffprobeXml.size()))
        return false;
    const pugi::xml_node root = in.child("ffprobe");
    const pugi::xml_node format = root.child("format");
    if (!format)
        return false;

    pugi::xml_document out;
    pugi::xml_node declaration = out.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node file = out.append_child("MediaInfo").append_child("File");
    pugi::xml_attribute type = file.append_attribute("Type");
    pugi::xml_attribute flags = file.append_attribute("Flags");
    file.append_attribute("Format") = format.attribute("format_name").value();
    file.append_attribute("Size") = format.attribute("size").as_llong();
    file.append_attribute("StartTime") = SecondsToMicroseconds(format.attribute("start_time").value());
    const long long duration = SecondsToMicroseconds(format.attribute("duration").value());
    file.append_attribute("Duration") = duration;
    file.append_attribute("BitRate") = format.attribute("bit_rate").as_llong();
    file.append_attribute("Streams") = format.attribute("nb_streams").as_int();

    unsigned fileFlags = 0;
    pugi::xml_node streams = file.append_child("Streams");
    for (const pugi::xml_node& stream : root.child("streams").children("stream"))
        WriteStream(stream, duration, streams, fileFlags);
    flags = fileFlags;
    type = (fileFlags & kFileVideo) ? 1 : (fileFlags & kFileAudio) ? 2 : 0;
    WriteMetaData(format, file);

    std::ostringstream text;
    out.save(text, "\t", pugi::format_default, pugi::encoding_utf8);
    mediaInfoXml = text.str();
    return true;
}
