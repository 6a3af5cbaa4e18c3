#pragma once
// Output names of an encoder run: a plain path, or an image sequence pattern such as
// "frame%03d.png" that ffmpeg numbers from 1.
#include "CString.h"

// The file for the number; the path itself when it holds no "%d" (with optional zero padding and
// width). "%%" stands for one "%".
CString NumberedOutputFile(const CString& pattern, int number);
bool IsOutputPattern(const CString& path);
