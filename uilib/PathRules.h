#pragma once
// Path texts the system's file functions accept whatever their length (portable rules).
#include "CString.h"

// Paths this long or longer need the "\\?\" form; shorter ones are left as they are.
constexpr int kLongPathThreshold = 260;

// "\\?\" before a long absolute path, "\\?\UNC\" in place of the leading "\\" of a long network
// path; forward slashes become backslashes (the long form does no such translation). Paths
// already in the long form, and short ones, are returned unchanged.
CString MakeLongPath(const CString& path);
