#include "ProbeProcess.h"

#include "MediaInfoReader.h"
#include "ModulePaths.h"
#include "SysHelpers.h"
#include "TempFileGuard.h"

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
    CTempFileGuard xml(GetTempFilePath(), 1);
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
