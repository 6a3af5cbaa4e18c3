#pragma once
// Durations as text, shared by the programs' lists and the encoder's command line.
#include <cstdint>

#include "CString.h"

// "m:ss", "h:mm:ss", with ".fff" milliseconds, or plain seconds ("63", "63.004").
CString FormatDuration(int64_t milliseconds, bool secondsOnly, bool withMilliseconds, bool alwaysHours);
