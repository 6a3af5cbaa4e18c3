#pragma once
// The entries of an input list as the converter takes them from the file's bytes (portable).
#include <string>

#include "CString.h"
#include "Collections.h"

// ".m3u" (`pls` false): every line that is no comment, trimmed, a blank line an empty entry;
// ".pls": the numbered entries up to the entry count. Entries relative to the list are joined to
// `listPath`'s folder; a line that cannot be a path is left out. 1, or 0 for a ".pls" without
// an entry count (nothing is added then).
int ReadInputListText(bool pls, const std::string& bytes, const CString& listPath, CStringArray& entries);
