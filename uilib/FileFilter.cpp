#include "FileFilter.h"

#include <cwctype>

namespace {

wchar_t Lower(wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))); }

// A set "[...]" at `p` (just after the bracket) against character `c`; `end` gets the position
// after the closing bracket, null when the set is not terminated.
bool MatchSet(const wchar_t* p, wchar_t c, const wchar_t** end)
{
    bool negate = *p == L'!';
    if (negate)
        p++;
    bool found = false;
    wchar_t lc = Lower(c);
    while (*p && *p != L']') {
        wchar_t first = *p++;
        if (first == L'`') {
            if (!*p)
                break;
            first = *p++;
        }
        wchar_t last = first;
        if (*p == L'-' && p[1] && p[1] != L']') {
            p++;
            last = *p++;
            if (last == L'`') {
                if (!*p)
                    break;
                last = *p++;
            }
        }
        if (lc >= Lower(first) && lc <= Lower(last))
            found = true;
    }
    if (*p != L']') {
        *end = nullptr;
        return false;
    }
    *end = p + 1;
    return found != negate;
}

bool Match(const wchar_t* p, const wchar_t* n)
{
    for (;;) {
        switch (*p) {
        case 0:
            return *n == 0;
        case L'?':
            if (!*n)
                return false;
            p++;
            n++;
            break;
        case L'*': {
            size_t length = 0;
            while (n[length])
                length++;
            for (size_t take = length + 1; take-- > 0;)
                if (Match(p + 1, n + take))
                    return true;
            return false;
        }
        case 0x1A: {
            size_t length = 0;
            while (n[length] && n[length] != L'.')
                length++;
            for (size_t take = length + 1; take-- > 0;)
                if (Match(p + 1, n + take))
                    return true;
            return false;
        }
        case L'!':
            return p[1] != 0 && !Match(p + 1, n);
        case L'[': {
            const wchar_t* end = nullptr;
            if (!*n || !MatchSet(p + 1, *n, &end))
                return false;
            p = end;
            n++;
            break;
        }
        case L'`':
            if (!p[1] || Lower(p[1]) != Lower(*n))
                return false;
            p += 2;
            n++;
            break;
        default:
            if (!*n || Lower(*p) != Lower(*n))
                return false;
            p++;
            n++;
            break;
        }
    }
}

void Split(const CString& text, bool caseSensitive, CStringArray& out)
{
    out.RemoveAll();
    int start = 0;
    while (start <= text.GetLength()) {
        int end = text.Find(L';', start);
        if (end < 0)
            end = text.GetLength();
        CString piece = text.Mid(start, end - start);
        if (!piece.IsEmpty()) {
            if (!caseSensitive)
                piece.MakeUpper();
            out.Add(piece);
        }
        start = end + 1;
    }
}

bool AnyMatches(const CStringArray& patterns, const CString& name)
{
    for (const CString& pattern : patterns)
        if (WildcardMatch(pattern, name))
            return true;
    return false;
}

} // namespace

bool WildcardMatch(const wchar_t* pattern, const wchar_t* name)
{
    return pattern && name && Match(pattern, name);
}

int CFileFilter::SetPatterns(const wchar_t* include, const wchar_t* exclude, int caseSensitive)
{
    m_strInclude = include ? include : L"";
    m_strExclude = exclude ? exclude : L"";
    m_bCaseSensitive = caseSensitive;
    Split(m_strInclude, caseSensitive != 0, m_include);
    Split(m_strExclude, caseSensitive != 0, m_exclude);
    return 0;
}

bool CFileFilter::Match(const wchar_t* name) const
{
    CString text(name ? name : L"");
    if (!m_bCaseSensitive)
        text.MakeUpper();
    bool included = !m_strInclude.IsEmpty() && (m_strInclude == L"*" || AnyMatches(m_include, text));
    if (!included)
        return false;
    bool excluded = !m_strExclude.IsEmpty() && (m_strExclude == L"*" || AnyMatches(m_exclude, text));
    return !excluded;
}
