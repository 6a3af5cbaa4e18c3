#pragma once
// The probe runner: runs the probe program on one input, has it write its XML description into
// a temporary file and reads that into a media description.
#include <windows.h>

#include "MediaInfo.h"
#include "ModuleProcess.h"
#include "ProbeOptions.h"

// A probe that takes longer than this is taken for hung and ended.
constexpr DWORD kProbeTimeLimitMs = 60000;

class CProbeProcess : public CModuleProcess {
public:
    CProbeProcess() { SetTimeLimit(kProbeTimeLimitMs); }

    // Runs the probe with the options; no callback items are added.
    virtual int RunProbe(const CProbeOptions& options, CStopFlag* stop);
    CString BuildCommandLine(const CProbeOptions& options) const;

    CProbeOptions m_options;
};

class CProbeTask : public CProbeProcess {
public:
    // Probes the input into the media description through a temporary XML file that never
    // outlives the call; 0 or -1 (the description keeps what was read).
    virtual int Probe(const CString& input, CMediaInfo& info, CStopFlag* stop);
    virtual int RunToFile(const CString& input, const CString& xmlPath, CStopFlag* stop);

    static int CheckInput(const CString& input) { return CheckProbeInput(input); }
};
