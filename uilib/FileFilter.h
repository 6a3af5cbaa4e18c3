#pragma once
// Which file names a folder scan takes: ";"-separated include and exclude patterns matched with
// wildcards (portable).
#include "CString.h"
#include "Collections.h"

// "?" one character, "*" any run, 0x1A a run up to the next ".", "!" negates the rest, "[...]"
// sets with ranges and "!" negation, a backquote quotes the next character. Letter case is
// ignored unless `caseSensitive`. The time grows with name length times pattern length, never
// more, whatever the pattern.
bool WildcardMatch(const wchar_t* pattern, const wchar_t* name, bool caseSensitive = false);

class CFileFilter {
public:
    CString m_strInclude;
    CString m_strExclude;
    int m_bCaseSensitive = 0;
    CStringArray m_include;
    CStringArray m_exclude;

    virtual ~CFileFilter() = default;
    virtual int SetPatterns(const wchar_t* include, const wchar_t* exclude, int caseSensitive);
    virtual bool Match(const wchar_t* name) const;
};
