#pragma once
// Where the sibling programs live: the encoder, its presets folder and the probe, all in the
// "Modules" folder below the program folder. The paths are always full ones: a bare program
// name would let the system search the current folder, where anyone may have planted a
// program of that name. The application sets them once at start-up, before any run.
#include "CString.h"

struct CModulePaths {
    // <appFolder>\Modules\Tollwick.exe, <appFolder>\Modules\Presets, <appFolder>\Modules\Harrowin.exe;
    // the files need not exist (a run of a missing one fails).
    static CModulePaths Locate(const CString& appFolder);

    CString m_encoder;
    CString m_presets;
    CString m_probe;
};

void SetModulePaths(const CModulePaths& paths);
const CModulePaths& GetModulePaths();
