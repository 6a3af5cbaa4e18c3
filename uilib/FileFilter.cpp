#include "FileFilter.h"

#include <cwctype>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// The user's locale decides on Windows; the C library elsewhere.
wchar_t Lower(wchar_t c)
{
#ifdef _WIN32
    return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(::CharLowerW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c)))));
#else
    return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
#endif
}

class Matcher {
public:
    Matcher(const wchar_t* pattern, const wchar_t* name, bool caseSensitive)
        : m_pattern(pattern), m_name(name), m_caseSensitive(caseSensitive)
    {
        while (m_pattern[m_patternLength])
            m_patternLength++;
        while (m_name[m_nameLength])
            m_nameLength++;
    }

    // Whether pattern position i matches name position j is decided from the end of the name
    // backwards, one column per name position, each column from the pattern's end backwards:
    // a star either matches nothing (same column, later pattern position) or one character
    // more (the column behind), so no combination of stars is ever tried twice.
    bool Run()
    {
        std::vector<char> next(m_patternLength + 1, 0), current(m_patternLength + 1, 0);
        for (size_t j = m_nameLength + 1; j-- > 0;) {
            for (size_t i = m_patternLength + 1; i-- > 0;)
                current[i] = Cell(i, j, current, next);
            current.swap(next);
        }
        return next[0] != 0;
    }

private:
    const wchar_t* m_pattern;
    const wchar_t* m_name;
    bool m_caseSensitive;
    size_t m_patternLength = 0;
    size_t m_nameLength = 0;

    bool Same(wchar_t a, wchar_t b) const { return m_caseSensitive ? a == b : Lower(a) == Lower(b); }

    // `here` holds column j for positions after i, `behind` column j + 1.
    bool Cell(size_t i, size_t j, const std::vector<char>& here, const std::vector<char>& behind) const
    {
        bool more = j < m_nameLength;
        wchar_t c = more ? m_name[j] : 0;
        switch (m_pattern[i]) {
        case 0:
            return !more;
        case L'?':
            return more && behind[i + 1];
        case L'*':
            return here[i + 1] || (more && behind[i]);
        case 0x1A:
            return here[i + 1] || (more && c != L'.' && behind[i]);
        case L'!':
            return m_pattern[i + 1] != 0 && !here[i + 1];
        case L'[': {
            size_t end = 0;
            return more && MatchSet(i + 1, c, &end) && behind[end];
        }
        case L'`':
            return m_pattern[i + 1] != 0 && more && Same(m_pattern[i + 1], c) && behind[i + 2];
        default:
            return more && Same(m_pattern[i], c) && behind[i + 1];
        }
    }

    bool InRange(wchar_t c, wchar_t first, wchar_t last) const
    {
        if (!m_caseSensitive) {
            c = Lower(c);
            first = Lower(first);
            last = Lower(last);
        }
        return c >= first && c <= last;
    }

    // The set starting at pattern position p (just after "[") against `c`; `end` gets the
    // position after the closing bracket. An unterminated set never matches.
    bool MatchSet(size_t p, wchar_t c, size_t* end) const
    {
        const wchar_t* s = m_pattern;
        bool negate = s[p] == L'!';
        if (negate)
            p++;
        bool found = false;
        while (s[p] && s[p] != L']') {
            wchar_t first = s[p++];
            if (first == L'`') {
                if (!s[p])
                    return false;
                first = s[p++];
            }
            wchar_t last = first;
            if (s[p] == L'-' && s[p + 1] && s[p + 1] != L']') {
                p++;
                last = s[p++];
                if (last == L'`') {
                    if (!s[p])
                        return false;
                    last = s[p++];
                }
            }
            if (InRange(c, first, last))
                found = true;
        }
        if (s[p] != L']')
            return false;
        *end = p + 1;
        return found != negate;
    }
};

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

bool AnyMatches(const CStringArray& patterns, const CString& name, bool caseSensitive)
{
    for (const CString& pattern : patterns)
        if (WildcardMatch(pattern, name, caseSensitive))
            return true;
    return false;
}

} // namespace

bool WildcardMatch(const wchar_t* pattern, const wchar_t* name, bool caseSensitive)
{
    return pattern && name && Matcher(pattern, name, caseSensitive).Run();
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
    bool caseSensitive = m_bCaseSensitive != 0;
    CString text(name ? name : L"");
    if (!caseSensitive)
        text.MakeUpper();
    bool included = !m_strInclude.IsEmpty() && (m_strInclude == L"*" || AnyMatches(m_include, text, caseSensitive));
    if (!included)
        return false;
    bool excluded = !m_strExclude.IsEmpty() && (m_strExclude == L"*" || AnyMatches(m_exclude, text, caseSensitive));
    return !excluded;
}
