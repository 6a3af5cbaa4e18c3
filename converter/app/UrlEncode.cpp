#include "UrlEncode.h"

#include <cwchar>

#include "NumberFormat.h"

namespace {

void AppendPercent(CString& out, unsigned byte)
{
    out.AppendFormat(L"%%%02X", byte & 0xFF);
}

void AppendUtf8(CString& out, unsigned long code)
{
    if (code < 0x80) {
        AppendPercent(out, code);
    } else if (code < 0x800) {
        AppendPercent(out, 0xC0 | (code >> 6));
        AppendPercent(out, 0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        AppendPercent(out, 0xE0 | (code >> 12));
        AppendPercent(out, 0x80 | ((code >> 6) & 0x3F));
        AppendPercent(out, 0x80 | (code & 0x3F));
    } else {
        AppendPercent(out, 0xF0 | (code >> 18));
        AppendPercent(out, 0x80 | ((code >> 12) & 0x3F));
        AppendPercent(out, 0x80 | ((code >> 6) & 0x3F));
        AppendPercent(out, 0x80 | (code & 0x3F));
    }
}

bool InSet(wchar_t ch, const wchar_t* set)
{
    return ch != L'\0' && std::wcschr(set, ch) != nullptr;
}

bool IsAsciiAlphanumeric(wchar_t ch)
{
    return (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z') || (ch >= L'0' && ch <= L'9');
}

// The character at `i` (a surrogate pair taken as one), `i` moved past it. A lone surrogate
// stands for U+FFFD.
unsigned long NextCode(const CString& text, int& i)
{
    const unsigned long ch = static_cast<unsigned long>(text[i++]);
    if (sizeof(wchar_t) == 2 && ch >= 0xD800 && ch <= 0xDFFF) {
        if (ch <= 0xDBFF && i < text.GetLength()) {
            const unsigned long low = static_cast<unsigned long>(text[i]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                ++i;
                return 0x10000 + ((ch - 0xD800) << 10) + (low - 0xDC00);
            }
        }
        return 0xFFFD;
    }
    return ch;
}

} // namespace

CString UrlEncode(const CString& text, bool encodeReserved)
{
    CString out;
    for (int i = 0; i < text.GetLength();) {
        const unsigned long code = NextCode(text, i);
        const wchar_t ch = code < 0x80 ? static_cast<wchar_t>(code) : L'\0';
        if (code < 0x80 && IsAsciiAlphanumeric(ch))
            out += ch;
        else if (code < 0x80 && InSet(ch, kUrlReservedCharacters) && !encodeReserved)
            out += ch;
        else
            AppendUtf8(out, code);
    }
    return out;
}
