#pragma once
// Number and duration texts, and the texts of mail links. Portable: the digit grouping goes
// through the system's number formatting on Windows and through the same rules natively.
#include <cstdint>

#include "CString.h"
#include "DurationText.h"

// How FormatNumberString groups digits (the fields of the system's number format).
struct NumberGrouping {
    int leadingZero = 0;
    int grouping = 3;             // 3: groups of three; 32: three, then twos
    CString decimalSeparator = L".";
    CString thousandSeparator = L",";
    int negativeOrder = 1;        // 0 "(1)", 1 "-1", 2 "- 1", 3 "1-", 4 "1 -"
};

// The grouping number of a locale grouping text: "3;2;0" gives 32, any other text its leading
// integer, 3 when it has none.
int GroupingFromLocaleText(const wchar_t* text);

// An integer's digit text with the grouping applied; the input unchanged (at most 127
// characters) when it cannot be formatted.
CString FormatNumberWith(const CString& digits, const NumberGrouping& grouping);
// The same with the user's locale (natively: groups of three and commas).
CString FormatNumberString(const CString& digits);
CString FormatInt64Grouped(int64_t n);


// Text for a mailto link's subject or body: every character but ASCII letters, digits and
// "-_.~" as percent-encoded UTF-8.
CString PercentEncodeMailText(const CString& text);
// "mailto:address?subject=...[&body=...]" with subject and body encoded; a null body is left out.
CString BuildMailToUrl(const wchar_t* address, const wchar_t* subject, const wchar_t* body);

// The characters that a URL percent-encoder replaces: 14 unsafe and 18 reserved ones.
extern const wchar_t kUrlUnsafeCharacters[];
extern const size_t kUrlUnsafeCount;
extern const wchar_t kUrlReservedCharacters[];
extern const size_t kUrlReservedCount;
