#pragma once
// Lets test failures show wide strings as text.
#include <ostream>

#include "CString.h"

// The framework's test support has the same printer: whichever comes first defines it.
#ifndef SUITE_CSTRING_PRINTTO
#define SUITE_CSTRING_PRINTTO
inline void PrintTo(const CString& text, std::ostream* os)
{
    *os << '"' << text.ToUtf8() << '"';
}
#endif
