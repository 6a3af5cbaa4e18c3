#include "CodecChoiceRules.h"

#include <cmath>
#include <cwchar>

#include "MediaFormatting.h"

namespace {

constexpr int kRateScale = 1000;
// 9 thousandths of a frame a second and less are no rate.
constexpr int kSmallestFinalRate = 9;

bool IsAuto(const wchar_t* text)
{
    CString trimmed(text ? text : L"");
    trimmed.Trim();
    return trimmed.IsEmpty() || trimmed.CompareNoCase(L"Auto") == 0;
}

// Whether only spaces and, optionally, the unit follow.
bool EndsWith(const wchar_t* rest, const wchar_t* unit)
{
    CString tail(rest);
    tail.Trim();
    return tail.IsEmpty() || (unit && tail.CompareNoCase(unit) == 0);
}

} // namespace

CString TypedSizeProblem(const wchar_t* text)
{
    if (IsAuto(text))
        return CString();
    int width = 0, height = 0, used = 0;
    const bool read = std::swscanf(text, L" %d x %d%n", &width, &height, &used) == 2 && EndsWith(text + used, nullptr);
    const auto side = [](int value) { return value >= 2 && value <= kMaxVideoSide; };
    if (read && ((width == 0 && height == 0) || (side(width) && side(height))))
        return CString();
    CString message;
    message.Format(L"The size must be typed as width x height, each from 2 to %d pixels, or Auto.", kMaxVideoSide);
    return message;
}

CString TypedFrameRateProblem(const wchar_t* text)
{
    if (IsAuto(text))
        return CString();
    double fps = 0;
    int used = 0;
    if (std::swscanf(text, L" %lf%n", &fps, &used) == 1 && EndsWith(text + used, L"fps") && std::isfinite(fps) &&
        fps >= 0 && fps <= kMaxFrameRate)
        return CString();
    CString message;
    message.Format(L"The frame rate must be a number of frames a second up to %d, or Auto.", kMaxFrameRate);
    return message;
}

CString TypedBitRateProblem(const wchar_t* text)
{
    if (IsAuto(text))
        return CString();
    int kbps = 0, used = 0;
    if (std::swscanf(text, L" %d%n", &kbps, &used) == 1 && EndsWith(text + used, L"kbps") && kbps >= 0 &&
        kbps <= kMaxBitRateKbps)
        return CString();
    CString message;
    message.Format(L"The bit rate must be a whole number of kbps from 1 to %d, or Auto.", kMaxBitRateKbps);
    return message;
}

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
