#include "CString.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace {

wchar_t FoldCase(wchar_t ch)
{
    if (ch >= L'A' && ch <= L'Z')
        return static_cast<wchar_t>(ch - L'A' + L'a');
    if (ch < 0x80)
        return ch;
    return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
}

bool InSet(wchar_t ch, const wchar_t* set)
{
    return set && std::wcschr(set, ch) != nullptr && ch != 0;
}

const wchar_t kWhitespace[] = L" \t\r\n\v\f";

void AppendUtf8(std::string& out, unsigned long cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendCodePoint(std::wstring& out, unsigned long cp)
{
    if (sizeof(wchar_t) == 2 && cp >= 0x10000) {
        cp -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (cp >> 10));
        out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    } else {
        out += static_cast<wchar_t>(cp);
    }
}

} // namespace

CString::CString(const char* utf8) : m_text(FromUtf8(utf8).m_text) {}

CString CString::FromUtf8(const char* text, int length)
{
    std::wstring out;
    if (!text)
        return CString();
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    const size_t n = length < 0 ? std::char_traits<char>::length(text) : static_cast<size_t>(length);
    for (size_t i = 0; i < n;) {
        unsigned long cp = p[i];
        int extra = cp < 0x80 ? 0 : (cp >> 5) == 6 ? 1 : (cp >> 4) == 14 ? 2 : (cp >> 3) == 30 ? 3 : -1;
        if (extra < 0 || (extra > 0 && i + extra >= n)) {
            AppendCodePoint(out, 0xFFFD);
            ++i;
            continue;
        }
        if (extra > 0)
            cp &= 0x3F >> extra;
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) { ok = false; break; }
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if (!ok) {
            AppendCodePoint(out, 0xFFFD);
            ++i;
            continue;
        }
        AppendCodePoint(out, cp);
        i += static_cast<size_t>(extra) + 1;
    }
    return CString(std::move(out));
}

std::string CString::ToUtf8() const
{
    std::string out;
    out.reserve(m_text.size());
    for (size_t i = 0; i < m_text.size(); ++i) {
        unsigned long cp = static_cast<unsigned long>(m_text[i]);
        if (sizeof(wchar_t) == 2 && cp >= 0xD800 && cp < 0xDC00 && i + 1 < m_text.size()) {
            unsigned long low = static_cast<unsigned long>(m_text[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        AppendUtf8(out, cp);
    }
    return out;
}

int CString::Compare(const wchar_t* other) const
{
    return std::wcscmp(m_text.c_str(), other ? other : L"");
}

int CString::CompareNoCase(const wchar_t* other) const
{
    const wchar_t* a = m_text.c_str();
    const wchar_t* b = other ? other : L"";
    for (;; ++a, ++b) {
        wchar_t ca = FoldCase(*a), cb = FoldCase(*b);
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    first = std::clamp(first, 0, GetLength());
    count = std::clamp(count, 0, GetLength() - first);
    return CString(m_text.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const
{
    count = std::clamp(count, 0, GetLength());
    return Mid(GetLength() - count, count);
}

CString CString::SpanIncluding(const wchar_t* set) const
{
    int n = 0;
    while (n < GetLength() && InSet(m_text[n], set)) ++n;
    return Left(n);
}

CString CString::SpanExcluding(const wchar_t* set) const
{
    int n = 0;
    while (n < GetLength() && !InSet(m_text[n], set)) ++n;
    return Left(n);
}

CString CString::Tokenize(const wchar_t* separators, int& start) const
{
    if (start < 0)
        return CString();
    int i = start;
    while (i < GetLength() && InSet(m_text[i], separators)) ++i;
    if (i >= GetLength()) {
        start = -1;
        return CString();
    }
    int end = i;
    while (end < GetLength() && !InSet(m_text[end], separators)) ++end;
    start = end + 1;
    return Mid(i, end - i);
}

int CString::Find(wchar_t ch, int start) const
{
    if (start < 0 || start >= GetLength()) return -1;
    size_t pos = m_text.find(ch, static_cast<size_t>(start));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const wchar_t* sub, int start) const
{
    if (!sub || start < 0 || start > GetLength()) return -1;
    size_t pos = m_text.find(sub, static_cast<size_t>(start));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(wchar_t ch) const
{
    size_t pos = m_text.rfind(ch);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(const wchar_t* set) const
{
    if (!set || !*set) return -1;
    size_t pos = m_text.find_first_of(set);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

CString& CString::MakeUpper()
{
    for (auto& ch : m_text) {
        if (ch >= L'a' && ch <= L'z') ch = static_cast<wchar_t>(ch - L'a' + L'A');
        else if (ch >= 0x80) ch = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(ch)));
    }
    return *this;
}

CString& CString::MakeLower()
{
    for (auto& ch : m_text) ch = FoldCase(ch);
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(m_text.begin(), m_text.end());
    return *this;
}

int CString::Replace(wchar_t from, wchar_t to)
{
    int n = 0;
    for (auto& ch : m_text)
        if (ch == from) { ch = to; ++n; }
    return n;
}

int CString::Replace(const wchar_t* from, const wchar_t* to)
{
    if (!from || !*from) return 0;
    const std::wstring f(from), t(to ? to : L"");
    int n = 0;
    for (size_t pos = m_text.find(f); pos != std::wstring::npos; pos = m_text.find(f, pos + t.size())) {
        m_text.replace(pos, f.size(), t);
        ++n;
    }
    return n;
}

int CString::Remove(wchar_t ch)
{
    const size_t before = m_text.size();
    m_text.erase(std::remove(m_text.begin(), m_text.end(), ch), m_text.end());
    return static_cast<int>(before - m_text.size());
}

int CString::Insert(int index, wchar_t ch)
{
    index = std::clamp(index, 0, GetLength());
    m_text.insert(m_text.begin() + index, ch);
    return GetLength();
}

int CString::Insert(int index, const wchar_t* text)
{
    index = std::clamp(index, 0, GetLength());
    if (text) m_text.insert(static_cast<size_t>(index), text);
    return GetLength();
}

int CString::Delete(int index, int count)
{
    if (index < 0) index = 0;
    if (count > 0 && index < GetLength())
        m_text.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    return GetLength();
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(wchar_t ch) { return TrimRight(ch).TrimLeft(ch); }
CString& CString::Trim(const wchar_t* set) { return TrimRight(set).TrimLeft(set); }
CString& CString::TrimLeft() { return TrimLeft(kWhitespace); }
CString& CString::TrimRight() { return TrimRight(kWhitespace); }

CString& CString::TrimLeft(wchar_t ch)
{
    const wchar_t set[2] = {ch, 0};
    return TrimLeft(set);
}

CString& CString::TrimRight(wchar_t ch)
{
    const wchar_t set[2] = {ch, 0};
    return TrimRight(set);
}

CString& CString::TrimLeft(const wchar_t* set)
{
    size_t n = 0;
    while (n < m_text.size() && InSet(m_text[n], set)) ++n;
    m_text.erase(0, n);
    return *this;
}

CString& CString::TrimRight(const wchar_t* set)
{
    size_t n = m_text.size();
    while (n > 0 && InSet(m_text[n - 1], set)) --n;
    m_text.resize(n);
    return *this;
}

std::wstring TranslateWideFormat(const wchar_t* format)
{
    std::wstring out;
    if (!format)
        return out;
    for (const wchar_t* p = format; *p;) {
        if (*p != L'%') {
            out += *p++;
            continue;
        }
        out += *p++;
        if (*p == L'%') {
            out += *p++;
            continue;
        }
        while (*p && std::wcschr(L"-+ #0123456789.*", *p))
            out += *p++;
        bool sized = false;
        if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
            out += L"ll";
            p += 3;
        } else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') {
            p += 3;
        } else if (p[0] == L'I') {
            out += L'z';
            ++p;
        } else {
            while (*p && std::wcschr(L"hlLqjzt", *p)) {
                out += *p++;
                sized = true;
            }
        }
        switch (*p) {
        case L's': case L'c': out += sized ? L"" : L"l"; out += *p++; break;
        case L'S': out += L's'; ++p; break;
        case L'C': out += L'c'; ++p; break;
        case 0: break;
        default: out += *p++; break;
        }
    }
    return out;
}

void CString::FormatV(const wchar_t* format, va_list args)
{
    m_text.clear();
    AppendFormatV(format, args);
}

void CString::Format(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
}

void CString::AppendFormatV(const wchar_t* format, va_list args)
{
    const std::wstring fmt = TranslateWideFormat(format);
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        int n = std::vswprintf(buffer.data(), buffer.size(), fmt.c_str(), copy);
        va_end(copy);
        if (n >= 0 && static_cast<size_t>(n) < buffer.size()) {
            m_text.append(buffer.data(), static_cast<size_t>(n));
            return;
        }
        if (buffer.size() >= (1u << 20))
            return; // a format that cannot be expanded gives nothing rather than looping
        buffer.resize(buffer.size() * 4);
    }
}

wchar_t* CString::GetBuffer(int minLength)
{
    if (minLength > GetLength())
        m_text.resize(static_cast<size_t>(minLength));
    return &m_text[0];
}

wchar_t* CString::GetBufferSetLength(int length)
{
    m_text.resize(static_cast<size_t>(length > 0 ? length : 0));
    return &m_text[0];
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0)
        newLength = static_cast<int>(std::wcslen(m_text.c_str()));
    m_text.resize(static_cast<size_t>(std::min(newLength, GetLength())));
}

CString operator+(const CString& a, const CString& b) { return CString(a.str() + b.str()); }
CString operator+(const CString& a, const wchar_t* b) { CString r(a); r += b; return r; }
CString operator+(const wchar_t* a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, wchar_t b) { CString r(a); r += b; return r; }
CString operator+(wchar_t a, const CString& b) { CString r(a); r += b; return r; }
