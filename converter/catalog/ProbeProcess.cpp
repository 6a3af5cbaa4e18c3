#include "ProbeProcess.h"

#include "MediaInfoReader.h"
#include "ModulePaths.h"
#include "TempFileGuard.h"

namespace {

// A new empty "~Wu" file in the temporary folder; empty when none can be made.
CString NewProbeXmlPath()
{
    wchar_t folder[MAX_PATH + 1];
    wchar_t path[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH || !GetTempFileNameW(folder, L"~Wu", 0, path))
        return CString();
    return CString(path);
}

} // namespace

CString CProbeProcess::BuildCommandLine(const CProbeOptions& options) const
{
    return BuildProbeCommandLine(m_program, options);
}

int CProbeProcess::RunProbe(const CProbeOptions& options, CStopFlag* stop)
{
    return CModuleProcess::Run(BuildCommandLine(options), stop);
}

int CProbeTask::RunToFile(const CString& input, const CString& xmlPath, CStopFlag* stop)
{
    m_options.m_input = input;
    m_options.m_xmlPath = xmlPath;
    return RunProbe(m_options, stop);
}

int CProbeTask::Probe(const CString& input, CMediaInfo& info, CStopFlag* stop)
{
    CTempFileGuard xml(NewProbeXmlPath(), 1);
    if (xml.GetPath().IsEmpty())
        return -1;
    if (RunToFile(input, xml.GetPath(), stop) != 0)
        return -1;
    if (CMediaInfoReader::Read(xml.GetPath(), info) != 0 || CheckInput(input) == -1)
        return -1;
    info.SplitStreams();
    return 0;
}

int CMediaInfo::Probe(const CString& path, CStopFlag* stop)
{
    Reset();
    CProbeTask task;
    if (task.SetProgram(GetModulePaths().m_probe) != 0)
        return -1;
    return task.Probe(path, *this, stop);
}
