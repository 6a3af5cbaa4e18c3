#include "ControlRules.h"

#include <cwctype>

CString TipFromPrompt(const CString& prompt, int limit)
{
    int newline = prompt.Find(L'\n');
    if (newline < 0)
        return CString();
    CString tip = prompt.Mid(newline + 1);
    return tip.GetLength() > limit ? tip.Left(limit) : tip;
}

ColumnTexts SplitColumns(const CString& text, bool backslashTToo)
{
    ColumnTexts parts;
    int at = text.Find(L'\t');
    int skip = 1;
    if (at < 0 && backslashTToo) {
        at = text.Find(L"\\t");
        skip = 2;
    }
    if (at < 0) {
        parts.left = text;
        return parts;
    }
    parts.left = text.Left(at);
    parts.right = text.Mid(at + skip);
    parts.hasRight = true;
    return parts;
}

namespace {

// Leading blanks, an optional sign and digits; false when there are no digits.
bool ReadInt(const CString& text, int& pos, int& value)
{
    const int length = text.GetLength();
    while (pos < length && std::iswspace(text[pos]))
        pos++;
    bool negative = false;
    if (pos < length && (text[pos] == L'-' || text[pos] == L'+'))
        negative = text[pos++] == L'-';
    if (pos >= length || !std::iswdigit(text[pos]))
        return false;
    long long number = 0;
    while (pos < length && std::iswdigit(text[pos])) {
        if (number < 1000000000LL)
            number = number * 10 + (text[pos] - L'0');
        pos++;
    }
    if (number > 0x7FFFFFFF)
        number = 0x7FFFFFFF;
    value = static_cast<int>(negative ? -number : number);
    return true;
}

} // namespace

bool ParseFrameSize(const CString& text, int& width, int& height)
{
    width = height = 0;
    int pos = 0;
    int w = 0;
    int h = 0;
    if (!ReadInt(text, pos, w))
        return false;
    while (pos < text.GetLength() && std::iswspace(text[pos]))
        pos++;
    if (pos >= text.GetLength() || text[pos] != L'x')
        return false;
    pos++;
    if (!ReadInt(text, pos, h))
        return false;
    width = w;
    height = h;
    return true;
}

CString FormatFrameSize(int width, int height)
{
    CString text;
    text.Format(L"%d x %d", width, height);
    return text;
}

CString FrameSizeField(int value)
{
    if (value == 0)
        return CString(L"Auto");
    CString text;
    text.Format(L"%d", value);
    return text;
}

int ReadFrameSizeField(const CString& text)
{
    int pos = 0;
    int value = 0;
    return ReadInt(text, pos, value) ? value : 0;
}

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// The path without one trailing separator, unless that leaves a drive ("C:") or nothing.
int ComparableLength(const CString& path)
{
    int length = path.GetLength();
    if (length > 1 && IsSeparator(path[length - 1]) && !(length == 3 && path[1] == L':'))
        length--;
    return length;
}

} // namespace

bool PathsEqual(const CString& a, const CString& b)
{
    const int length = ComparableLength(a);
    if (length != ComparableLength(b))
        return false;
    for (int i = 0; i < length; i++) {
        wchar_t x = a[i];
        wchar_t y = b[i];
        if (IsSeparator(x) && IsSeparator(y))
            continue;
        if (std::towlower(x) != std::towlower(y))
            return false;
    }
    return true;
}

int SkinStripIndex(unsigned state, bool hasKeyboardFocus, bool buttonChecked)
{
    if (state & SKIN_DISABLED)
        return 4;
    if (state & (SKIN_SELECTED | SKIN_CHECKED))
        return 3;
    if (state & SKIN_HOT)
        return 1;
    if ((state & SKIN_FOCUS) && hasKeyboardFocus)
        return 2;
    return buttonChecked ? 3 : 0;
}

int PushButtonThemeState(unsigned state, bool isDefault)
{
    if (state & (SKIN_SELECTED | SKIN_CHECKED))
        return 3;
    if (state & SKIN_HOT)
        return 2;
    if (isDefault && !(state & SKIN_DISABLED))
        return 5;
    if (state & SKIN_DISABLED)
        return 4;
    return 1;
}

int ToolbarButtonThemeState(unsigned state)
{
    if (state & SKIN_SELECTED)
        return 3;
    if (state & SKIN_CHECKED)
        return 5;
    if (state & SKIN_HOT)
        return 2;
    if (state & SKIN_DISABLED)
        return 4;
    return 1;
}

int CheckBoxThemeState(bool checked, bool disabled, bool pushed, bool hot)
{
    int base = checked ? 4 : 0;
    if (disabled)
        return base + 4;
    if (pushed)
        return base + 3;
    if (hot)
        return base + 2;
    return base + 1;
}

int GradientChannel(int start, int end, int numerator, int denominator, int offset, int extent)
{
    if (extent <= 0 || denominator == 0)
        return start;
    long long value = start + static_cast<long long>(numerator) * (end - start) * offset / (static_cast<long long>(denominator) * extent);
    return value < 0 ? 0 : (value > 255 ? 255 : static_cast<int>(value));
}
