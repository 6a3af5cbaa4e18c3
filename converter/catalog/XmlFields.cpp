#include "XmlFields.h"

#include "CatalogFiles.h"
#include "MediaFormatting.h"

bool LoadXmlDocument(const CString& path, pugi::xml_document& document)
{
    if (path.IsEmpty() || !CatalogFiles::Exists(path))
        return false;
    return static_cast<bool>(document.load_file(ToFsPath(path).c_str()));
}

void ReadPair(const pugi::xml_node& node, const char* name, const wchar_t* format, int32_t& first, int32_t& second)
{
    const char* text = node.attribute(name).as_string("");
    if (*text)
        ParseSize(CString::FromUtf8(text), format, first, second);
}
