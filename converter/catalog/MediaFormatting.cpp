#include "MediaFormatting.h"

#include <climits>
#include <cwctype>

namespace {

// Removes trailing zeros of the fractional part, then a bare decimal point. Digits before the
// point are never touched, so "100" stays "100".
void StripFractionZeros(CString& text)
{
    if (text.Find(L'.') < 0)
        return;
    text.TrimRight(L'0');
    text.TrimRight(L'.');
}

// One "%d" conversion: optional blanks, sign and digits, saturating at the int range.
bool ScanInt(const wchar_t*& p, int& value)
{
    while (std::iswspace(static_cast<wint_t>(*p)))
        ++p;
    const wchar_t* q = p;
    bool negative = false;
    if (*q == L'+' || *q == L'-')
        negative = *q++ == L'-';
    if (*q < L'0' || *q > L'9')
        return false;
    long long n = 0;
    for (; *q >= L'0' && *q <= L'9'; ++q) {
        if (n <= static_cast<long long>(INT_MAX) + 1)
            n = n * 10 + (*q - L'0');
    }
    if (negative)
        n = -n;
    value = n > INT_MAX ? INT_MAX : n < INT_MIN ? INT_MIN : static_cast<int>(n);
    p = q;
    return true;
}

} // namespace

CString FormatDuration64(int64_t microseconds, bool secondsOnly, bool withMilliseconds, bool alwaysHours)
{
    return FormatDuration(microseconds / 1000, secondsOnly, withMilliseconds, alwaysHours);
}

CString FormatPair(int first, int second, const wchar_t* format)
{
    CString text;
    text.Format(format, first, second);
    return text;
}

CString FormatOrAuto(int first, int second, const wchar_t* format, bool autoText)
{
    if ((first != 0 && second != 0) || !autoText)
        return FormatPair(first, second, format);
    return L"Auto";
}

void ParseSize(const wchar_t* text, const wchar_t* format, int& first, int& second)
{
    first = 0;
    second = 0;
    if (!text || !format)
        return;
    int* targets[] = {&first, &second};
    int next = 0;
    const wchar_t* p = text;
    for (const wchar_t* f = format; *f; ++f) {
        if (f[0] == L'%' && f[1] == L'd') {
            if (next == 2 || !ScanInt(p, *targets[next++]))
                return;
            ++f;
        } else if (std::iswspace(static_cast<wint_t>(*f))) {
            while (std::iswspace(static_cast<wint_t>(*p)))
                ++p;
        } else if (*p++ != *f) {
            return;
        }
    }
}

CString FormatRatioDecimal(int numerator, int denominator, const wchar_t* format)
{
    CString text;
    if (numerator > 0 && denominator > 0) {
        text.Format(format, static_cast<double>(numerator) / denominator);
        StripFractionZeros(text);
    }
    return text;
}

CString FormatFrameRate(int numerator, int denominator, const wchar_t* format, bool unit, bool autoText)
{
    if (numerator == 0 || denominator == 0)
        return autoText ? CString(L"Auto") : CString();
    CString text = FormatRatioDecimal(numerator, denominator, format);
    if (unit)
        text += L" fps";
    return text;
}

CString FormatChannels(int channels, bool autoText)
{
    switch (channels) {
    case 0: return autoText ? CString(L"Auto") : CString();
    case 1: return L"Mono";
    case 2: return L"Stereo";
    case 6: return L"5.1";
    default: return CString();
    }
}

CString FormatKbps(int bitRate, const wchar_t* format, bool unit, bool autoText)
{
    if (bitRate == 0)
        return autoText ? CString(L"Auto") : CString();
    CString text;
    if (bitRate > 0) {
        text.Format(format, bitRate * 0.001);
        StripFractionZeros(text);
        if (unit)
            text += L" kbps";
    }
    return text;
}

CString FormatHz(int sampleRate, const wchar_t* format, bool unit, bool autoText)
{
    if (sampleRate == 0)
        return autoText ? CString(L"Auto") : CString();
    CString text;
    if (sampleRate > 0) {
        text.Format(format, sampleRate);
        if (unit)
            text += L" Hz";
    }
    return text;
}
