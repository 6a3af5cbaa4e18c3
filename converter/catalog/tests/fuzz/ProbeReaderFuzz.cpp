// The probe's two readers on any bytes: the stand-in's reading of ffprobe's report into the
// "MediaInfo" document, and the converter's reading of that document with the texts it shows.
#include <cstddef>
#include <cstdint>
#include <string>

#include <pugixml.hpp>

#include "MediaFormatting.h"
#include "MediaInfoReader.h"
#include "ProbeTranslation.h"

namespace {

void ReadAndShow(const std::string& xml)
{
    pugi::xml_document document;
    if (!document.load_buffer(xml.data(), xml.size()))
        return;
    CMediaInfo info;
    if (CMediaInfoReader::ReadDocument(document, info) != 0)
        return;
    info.SplitStreams();
    FormatDuration64(info.m_duration, false, false, false);
    for (const auto& stream : info.m_streams)
        FormatDuration64(stream->m_duration, false, true, true);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string translated;
    if (TranslateProbeXml(bytes, translated))
        ReadAndShow(translated);
    ReadAndShow(bytes);
    return 0;
}
