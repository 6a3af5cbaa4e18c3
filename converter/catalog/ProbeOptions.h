#pragma once
// The options of one probe run and the probe's command line: program, input, "-o", the XML
// file it writes, then any extra options as they stand.
#include <cstdint>

#include "CString.h"

struct CProbeOptions {
    void Reset() { *this = CProbeOptions(); }

    int32_t m_flags = 0;
    CString m_input;
    CString m_xmlPath;
    CString m_extraOptions;
};

CString BuildProbeCommandLine(const CString& program, const CProbeOptions& options);

// Log and text files are never media, whatever the probe makes of them: -1 for those, else 0.
int CheckProbeInput(const CString& input);
