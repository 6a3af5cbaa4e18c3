#include "NumberFormat.h"

#include <cwchar>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

const wchar_t kUrlUnsafeCharacters[] = L" \"<>#{}|\\^~[]`";
const size_t kUrlUnsafeCount = std::wcslen(kUrlUnsafeCharacters);
const wchar_t kUrlReservedCharacters[] = L"$&+,./:;=?@-_!*()'";
const size_t kUrlReservedCount = std::wcslen(kUrlReservedCharacters);

namespace {

constexpr int kNumberBuffer = 127;

CString Unchanged(const CString& digits) { return digits.Left(kNumberBuffer); }

#ifndef _WIN32
// The system's rules for NUMBERFMT: the digits of `grouping` are the group sizes from the
// right; the last repeats, unless the number ends in 0 after other digits.
CString GroupDigits(const CString& digits, const NumberGrouping& g)
{
    bool negative = digits.GetLength() > 0 && digits[0] == L'-';
    CString body = negative ? digits.Mid(1) : digits;
    if (body.IsEmpty() || body.SpanIncluding(L"0123456789").GetLength() != body.GetLength())
        return Unchanged(digits);
    std::vector<int> sizes;
    for (int rest = g.grouping; rest > 0; rest /= 10)
        sizes.insert(sizes.begin(), rest % 10);
    bool repeat = true;
    if (sizes.size() > 1 && sizes.back() == 0) {
        sizes.pop_back();
        repeat = false;
    }
    CString out;
    int end = body.GetLength();
    size_t group = 0;
    while (end > 0) {
        int size = group < sizes.size() ? sizes[group] : (repeat && !sizes.empty() ? sizes.back() : 0);
        if (size <= 0 || size >= end) {
            out.Insert(0, body.Left(end));
            break;
        }
        out.Insert(0, body.Mid(end - size, size));
        out.Insert(0, g.thousandSeparator);
        end -= size;
        group++;
    }
    if (!negative)
        return out;
    switch (g.negativeOrder) {
    case 0: return L"(" + out + L")";
    case 2: return L"- " + out;
    case 3: return out + L"-";
    case 4: return out + L" -";
    default: return L"-" + out;
    }
}
#endif

} // namespace

int GroupingFromLocaleText(const wchar_t* text)
{
    if (!text)
        return 3;
    if (std::wcscmp(text, L"3;2;0") == 0)
        return 32;
    wchar_t* end = nullptr;
    long value = std::wcstol(text, &end, 10);
    return end == text ? 3 : static_cast<int>(value);
}

CString FormatNumberWith(const CString& digits, const NumberGrouping& grouping)
{
#ifdef _WIN32
    NUMBERFMTW format{};
    format.NumDigits = 0;
    format.LeadingZero = static_cast<UINT>(grouping.leadingZero);
    format.Grouping = static_cast<UINT>(grouping.grouping);
    format.lpDecimalSep = const_cast<wchar_t*>(grouping.decimalSeparator.GetString());
    format.lpThousandSep = const_cast<wchar_t*>(grouping.thousandSeparator.GetString());
    format.NegativeOrder = static_cast<UINT>(grouping.negativeOrder);
    wchar_t buffer[kNumberBuffer + 1] = L"";
    if (::GetNumberFormatW(LOCALE_USER_DEFAULT, 0, digits, &format, buffer, kNumberBuffer) == 0)
        return Unchanged(digits);
    return buffer;
#else
    return GroupDigits(digits, grouping);
#endif
}

CString FormatNumberString(const CString& digits)
{
    NumberGrouping grouping;
#ifdef _WIN32
    auto info = [](LCTYPE type, const wchar_t* fallback) {
        wchar_t text[16] = L"";
        return ::GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 16) > 0 ? CString(text) : CString(fallback);
    };
    grouping.leadingZero = static_cast<int>(std::wcstol(info(LOCALE_ILZERO, L"0"), nullptr, 10));
    grouping.grouping = GroupingFromLocaleText(info(LOCALE_SGROUPING, L"3"));
    grouping.decimalSeparator = L".";
    grouping.thousandSeparator = info(LOCALE_STHOUSAND, L",");
    grouping.negativeOrder = static_cast<int>(std::wcstol(info(LOCALE_INEGNUMBER, L"0"), nullptr, 10));
#endif
    return FormatNumberWith(digits, grouping);
}

CString FormatInt64Grouped(int64_t n)
{
    if (n == 0)
        return L"0";
    CString digits;
    digits.Format(L"%I64d", static_cast<long long>(n));
    return FormatNumberString(digits);
}

CString PercentEncodeMailText(const CString& text)
{
    std::string bytes = text.ToUtf8();
    CString out;
    for (unsigned char c : bytes) {
        bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                     c == '_' || c == '.' || c == '~';
        if (plain)
            out.AppendChar(static_cast<wchar_t>(c));
        else
            out.AppendFormat(L"%%%02X", c);
    }
    return out;
}

CString BuildMailToUrl(const wchar_t* address, const wchar_t* subject, const wchar_t* body)
{
    CString url;
    url.Format(L"mailto:%s?subject=%s", address ? address : L"", PercentEncodeMailText(subject ? subject : L"").GetString());
    if (body)
        url += L"&body=" + PercentEncodeMailText(body);
    return url;
}
