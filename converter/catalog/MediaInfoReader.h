#pragma once
// Reads the probe's "MediaInfo" XML document into a media description.
#include "CString.h"
#include "MediaInfo.h"

namespace pugi {
class xml_document;
}

class CMediaInfoReader {
public:
    // -1 when the path is empty, the file is missing or unreadable, or "MediaInfo" or its "File"
    // element is missing; else 0. Attributes the document leaves out keep the fields as they were;
    // streams are appended in document order.
    static int Read(const CString& path, CMediaInfo& info);
    // The same for a document already parsed.
    static int ReadDocument(const pugi::xml_document& document, CMediaInfo& info);
};
