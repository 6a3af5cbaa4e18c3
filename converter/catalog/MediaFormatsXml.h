#pragma once
// Reads and writes the catalogue file: names, hidden flags, default indexes, the presets of
// every format and each format's custom preset. The structure itself always comes from the
// program's own tables.
#include "MediaFormatCatalog.h"

namespace pugi {
class xml_node;
}

class CMediaFormatsXml {
public:
    // 0 taken, 1 written by another catalogue version (ignored), -1 missing or unusable.
    static int Read(const CString& path, CMediaFormatCatalog& catalog);
    // Writes a temporary file beside the target and moves it into place: 0 saved, -1 failed
    // (the file on disk is then left as it was).
    static int Write(const CString& path, const CMediaFormatCatalog& catalog);

private:
    static void ReadGroup(CMediaFormatGroup& group, const pugi::xml_node& node);
    static void ReadFormat(CMediaFormatInfo& format, const pugi::xml_node& node);
    static bool ReadPreset(CMediaFormatInfo& format, CMediaPreset* existing, const pugi::xml_node& node);
    static bool WriteGroup(pugi::xml_node& parent, const CMediaFormatGroup& group);
    static bool WriteFormat(pugi::xml_node& parent, const CMediaFormatInfo& format);
    static bool WritePreset(pugi::xml_node& parent, const char* element, const CMediaFormatInfo& format,
                            const CMediaPreset& preset);
};
