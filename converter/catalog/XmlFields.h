#pragma once
// Pieces of reading shared by the catalogue file and the probe's description.
#include <cstdint>

#include <pugixml.hpp>

#include "CString.h"

// false when the path is empty, the file is missing or does not parse.
bool LoadXmlDocument(const CString& path, pugi::xml_document& document);
// A "%dx%d" or "%d/%d" pair, scanned only when the attribute holds text; what is not scanned
// becomes 0.
void ReadPair(const pugi::xml_node& node, const char* name, const wchar_t* format, int32_t& first, int32_t& second);
