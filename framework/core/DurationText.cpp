#include "DurationText.h"

CString FormatDuration(int64_t milliseconds, bool secondsOnly, bool withMilliseconds, bool alwaysHours)
{
    const int64_t s = milliseconds / 1000;
    const int64_t h = s / 3600;
    const int m = static_cast<int>((s % 3600) / 60);
    const int sec = static_cast<int>(s % 60);
    const int f = static_cast<int>(milliseconds % 1000);
    CString text;
    if (secondsOnly) {
        if (withMilliseconds)
            text.Format(L"%.3f", static_cast<double>(milliseconds) * 0.001);
        else
            text.Format(L"%I64d", static_cast<long long>(s));
    } else if (alwaysHours || h > 0) {
        if (withMilliseconds)
            text.Format(L"%I64d:%02d:%02d.%03d", static_cast<long long>(h), m, sec, f);
        else
            text.Format(L"%I64d:%02d:%02d", static_cast<long long>(h), m, sec);
    } else if (withMilliseconds) {
        text.Format(L"%d:%02d.%03d", m, sec, f);
    } else {
        text.Format(L"%d:%02d", m, sec);
    }
    return text;
}
