#pragma once
// The encoder's command line for one run, in its fixed order. Building it sets the video and
// audio quality to 0 when "same quality as source" is asked, so the options are taken by reference.
#include <cstdint>

#include "CommandLineBuilder.h"
#include "EncodeOptions.h"

void AddEncoderArguments(CCommandLineBuilder& line, const CString& program, CEncodeOptions& options);
CString BuildEncoderCommandLine(const CString& program, CEncodeOptions& options);

// The tail that names the window receiving progress messages (0: none) and the running task.
CString FormatCallbackItems(int64_t callbackWindow, int64_t context);
