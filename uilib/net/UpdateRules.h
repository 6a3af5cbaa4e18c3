#pragma once
// The update checker's rules, apart from its windows: when an automatic check is due, the
// version rule, the update descriptor and which download addresses may go to the shell.
#include <cstdint>

#include "CString.h"

// What the descriptor tells.
struct CUpdateDescriptor {
    CString version;       // "Version" of "Application"
    CString downloadUrl;   // "URL"
    CString description;   // "Description", each backslash-n a line break
    int level = 0;         // "Level", kept as it was when absent
};

// Interval 0: always; 1: unless both times fall on the same local day; N >= 2: after N whole
// days; negative: never. Times are seconds since 1970 (UTC).
bool IsUpdateCheckDue(int64_t lastCheck, int64_t now, int intervalDays);

// Three dot-separated numbers, blanks ignored; 0, or -1 (the fields are then untouched).
int ParseVersion(const wchar_t* text, int fields[3]);
// 1 when a is newer than b, -1 when older, 0 when equal; an unreadable version counts as 0.0.0.
int CompareVersions(const wchar_t* a, const wchar_t* b);

// 0, or -1 when the XML, "Updates", "Application", its "Version", or a web address in "URL" is
// missing.
int ParseUpdateXml(const CString& xml, CUpdateDescriptor& descriptor);

// Only plain web addresses are handed to the shell: an address from a descriptor could
// otherwise name a program or a file to run.
bool IsWebAddress(const CString& url);
