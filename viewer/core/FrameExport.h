#pragma once
// Saving one frame to a file the user named (portable).
#include "CString.h"

class CrImage;

// Said when the name's extension is none of the formats a frame can be saved in.
extern const wchar_t kFrameFormatRefused[];

// Saves a 24-bit copy of `frame` in the format the extension of `path` names (FrameSaveFormat).
// An unknown extension writes nothing. The file is written beside the target and put in its
// place only when complete, so a failed save leaves an existing file as it was. 0, or -1 with
// `error` saying why.
int SaveFrameImage(const CrImage& frame, const CString& path, CString& error);
