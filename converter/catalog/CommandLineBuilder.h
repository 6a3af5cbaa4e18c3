#pragma once
// Builds a command line item by item as an argument vector and joins it with the quoting rules
// of the Windows C runtime, so that a value holding blanks, quotes or a trailing backslash stays
// one argument for the started program.
#include <vector>

#include "CString.h"

class CCommandLineBuilder {
public:
    enum Quoting {
        QUOTE_AS_NEEDED,  // plain unless blanks or quotes force quotes
        QUOTE_ALWAYS,     // always in double quotes (paths, presets, filter chains)
        QUOTE_PROGRAM,    // the program name: in quotes, read without escapes
        VERBATIM,         // option text added as it stands
    };
    struct Item {
        CString text;
        Quoting quoting;
    };

    virtual ~CCommandLineBuilder() = default;

    // Each refuses a missing or empty text with -1 and adds nothing; else 0.
    int Append(const wchar_t* text, Quoting quoting = QUOTE_AS_NEEDED);
    int AppendQuoted(const wchar_t* text) { return Append(text, QUOTE_ALWAYS); }
    // The option name (when given) as one item, then the formatted values (when not empty).
    int AppendFormat(const wchar_t* option, const wchar_t* format, ...);

    const std::vector<Item>& GetItems() const { return m_items; }
    // The items separated by one blank.
    CString GetText() const;

    static CString QuoteArgument(const CString& text);

private:
    std::vector<Item> m_items;
};
