#pragma once
// Lets test failures show wide strings as text.
#include <ostream>

#include "CString.h"

inline void PrintTo(const CString& text, std::ostream* os)
{
    *os << '"' << text.ToUtf8() << '"';
}
