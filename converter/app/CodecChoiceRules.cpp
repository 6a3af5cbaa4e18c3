#include "CodecChoiceRules.h"

#include <cmath>
#include <cwchar>

#include "MediaFormatting.h"

namespace {

constexpr int kRateScale = 1000;
// 9 thousandths of a frame a second and less are no rate.
constexpr int kSmallestFinalRate = 9;

} // namespace

CString SizeChoiceText(CIntPair size)
{
    if (size.first == 0 && size.second == 0)
        return L"Auto";
    return FormatPair(size.first, size.second, L"%d x %d");
}

CIntPair ParseTypedFrameRate(const wchar_t* text, bool final)
{
    double fps = 0;
    if (!text || std::swscanf(text, L"%lf", &fps) != 1 || !std::isfinite(fps) || fps > 1e6)
        return {};
    // Rounded, so that 29.97 is 29970 / 1000 and not one thousandth less.
    const int numerator = static_cast<int>(std::lround(fps * kRateScale));
    if (numerator <= 0 || (final && numerator <= kSmallestFinalRate))
        return {};
    return {numerator, kRateScale};
}

int ParseTypedBitRate(const wchar_t* text)
{
    int kbps = 0;
    if (!text || std::swscanf(text, L"%d", &kbps) != 1 || kbps <= 0 || kbps > 2000000)
        return 0;
    return kbps * 1000;
}

CIntPair ParseTypedSize(const wchar_t* text)
{
    CIntPair size;
    ParseSize(text ? text : L"", L"%d x %d", size.first, size.second);
    return size;
}

bool StreamBoxEnabled(bool formatHasStream, bool locked, bool checked, bool formatHasOther, bool otherChecked)
{
    if (!formatHasStream || locked)
        return false;
    return !checked || (formatHasOther && otherChecked);
}
