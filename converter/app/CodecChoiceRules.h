#pragma once
// The value rules of the format and preset dialogs: how sizes read in their lists, how typed
// frame rates, bit rates and sizes become preset values, and when a stream's box may be
// switched. Portable.
#include "MediaCatalogItem.h"

// "%d x %d", or "Auto" for 0 x 0.
CString SizeChoiceText(CIntPair size);

// A typed frame rate in frames a second as numerator / 1000; 0 / 0 (Auto) for none or less. When
// the dialog takes its values (`final`), anything below 0.01 fps is Auto too.
CIntPair ParseTypedFrameRate(const wchar_t* text, bool final);
// A typed bit rate in kbps, as bit/s; 0 (Auto) for no number.
int ParseTypedBitRate(const wchar_t* text);
// A typed "width x height"; what is not read stays 0.
CIntPair ParseTypedSize(const wchar_t* text);

// What a typed value must be for the dialogs to take it (an entry's drop lists hold only its own
// values): empty text when it is one, else the message that says what is wanted. Empty text and
// "Auto" are always taken.
constexpr int kMaxVideoSide = 8192;
constexpr int kMaxFrameRate = 1000;
constexpr int kMaxBitRateKbps = 100000;
CString TypedSizeProblem(const wchar_t* text);
CString TypedFrameRateProblem(const wchar_t* text);
CString TypedBitRateProblem(const wchar_t* text);

// Whether a stream's check box can be used: the format must carry the stream and not lock it,
// and a ticked box may only be cleared while the other stream is there and ticked, so that one
// of the two stays on.
bool StreamBoxEnabled(bool formatHasStream, bool locked, bool checked, bool formatHasOther, bool otherChecked);
