#pragma once
// Small text functions that turn media values into the words shown in lists, dialogs and the
// catalogue file, and parse value pairs back. 0 means "chosen automatically" throughout the
// catalogue, so many of them can answer "Auto" for it.
#include <cstdint>

#include "CString.h"
#include "DurationText.h"

// Microseconds, truncated to milliseconds, through FormatDuration.
CString FormatDuration64(int64_t microseconds, bool secondsOnly, bool withMilliseconds, bool alwaysHours);

CString FormatPair(int first, int second, const wchar_t* format);
// "Auto" when either value is 0 and the auto flag is set.
CString FormatOrAuto(int first, int second, const wchar_t* format, bool autoText = true);
// Scans "<int><separators><int>" as laid out by a "%d?%d" format; what is not scanned stays 0.
void ParseSize(const wchar_t* text, const wchar_t* format, int& first, int& second);

// numerator / denominator as a decimal without trailing fractional zeros; empty unless both are above 0.
CString FormatRatioDecimal(int numerator, int denominator, const wchar_t* format);
CString FormatFrameRate(int numerator, int denominator, const wchar_t* format = L"%.3f", bool unit = true,
                        bool autoText = true);
CString FormatChannels(int channels, bool autoText = true);
CString FormatKbps(int bitRate, const wchar_t* format = L"%.3f", bool unit = true, bool autoText = true);
CString FormatHz(int sampleRate, const wchar_t* format = L"%d", bool unit = true, bool autoText = true);
