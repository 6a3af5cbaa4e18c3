#pragma once
// The program's own output formats: containers in the video group, device targets in the device
// group, each with its codec entries, its custom preset and its built-in presets.
#include <memory>

#include "MediaFormatInfo.h"

enum BuiltinGroup { BUILTIN_VIDEO_GROUP, BUILTIN_DEVICE_GROUP };

// The formats of a group in display order; id null past the last.
const wchar_t* BuiltinFormatId(BuiltinGroup group, int index);
// The format with its entries and custom preset but no presets yet (Reset loads them); the
// built-in display name unless one is given. Null for an unknown id.
std::unique_ptr<CMediaFormatInfo> BuildMediaFormatEntry(const wchar_t* id, const wchar_t* displayName = nullptr);
