#pragma once
// The program's own codec entries, built by catalogue id. A format builds its own instances, so
// one id can exist once per format that offers it.
#include <memory>

#include "CodecInfo.h"

// Null when the id names no built-in entry.
std::unique_ptr<CVideoCodecInfo> BuildVideoCodecEntry(const wchar_t* id);
std::unique_ptr<CAudioCodecInfo> BuildAudioCodecEntry(const wchar_t* id);
