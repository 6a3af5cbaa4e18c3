#include "OutputFiles.h"

#include <cwchar>

namespace {

// Length of the "%[0][width]d" at `at`, or 0.
int ConversionLength(const CString& text, int at)
{
    int i = at + 1;
    while (i < text.GetLength() && text[i] >= L'0' && text[i] <= L'9')
        ++i;
    return i < text.GetLength() && text[i] == L'd' ? i - at + 1 : 0;
}

} // namespace

CString NumberedOutputFile(const CString& pattern, int number)
{
    CString file;
    for (int i = 0; i < pattern.GetLength(); ++i) {
        if (pattern[i] != L'%') {
            file += pattern[i];
            continue;
        }
        if (i + 1 < pattern.GetLength() && pattern[i + 1] == L'%') {
            file += L'%';
            ++i;
            continue;
        }
        const int length = ConversionLength(pattern, i);
        if (length == 0) {
            file += L'%';
            continue;
        }
        const CString spec = pattern.Mid(i + 1, length - 2);
        const int width = spec.IsEmpty() ? 0 : std::wcstol(spec, nullptr, 10);
        CString digits;
        digits.Format(L"%d", number);
        if (digits.GetLength() < width)
            digits = CString(spec[0] == L'0' ? L'0' : L' ', width - digits.GetLength()) + digits;
        file += digits;
        i += length - 1;
    }
    return file;
}

bool IsOutputPattern(const CString& path)
{
    return NumberedOutputFile(path, 1) != NumberedOutputFile(path, 2);
}
