#include "ShellTreeLogic.h"

#include <cmath>
#include <cstdint>

CStringArray ShellPathSteps(const wchar_t* path)
{
    CStringArray steps;
    CString rest(path ? path : L"");
    rest.Replace(L'/', L'\\');
    rest.TrimRight(L'\\');
    if (rest.IsEmpty())
        return steps;
    CString partial;
    int start = 0;
    while (start <= rest.GetLength()) {
        int end = rest.Find(L'\\', start);
        if (end < 0)
            end = rest.GetLength();
        CString component = rest.Mid(start, end - start);
        partial.TrimRight(L'\\');
        // A drive root keeps its backslash ("C:\\"); deeper folders are joined by one.
        partial = partial.IsEmpty() ? component + L"\\" : partial + L"\\" + component;
        steps.Add(partial);
        start = end + 1;
    }
    return steps;
}

int LoadingBarFillWidth(int total, int current)
{
    if (current <= 0)
        return 0;
    if (total > 0) {
        int64_t width = static_cast<int64_t>(current) * kLoadingBarFill / total;
        return width > kLoadingBarFill ? kLoadingBarFill : static_cast<int>(width);
    }
    // 50 × (1 + 0.2c − 0.5 ln(e² + e^(0.4c) − 1)), rewritten as 50 × (1 − 0.5 ln(1 + (e² − 1) e^(−0.4c)))
    // so that no power of e overflows; the last pixel stays free for ever.
    double share = 1.0 - 0.5 * std::log1p((std::exp(2.0) - 1.0) * std::exp(-0.4 * current));
    int width = static_cast<int>(kLoadingBarFill * share);
    return width >= kLoadingBarFill ? kLoadingBarFill - 1 : (width < 0 ? 0 : width);
}
