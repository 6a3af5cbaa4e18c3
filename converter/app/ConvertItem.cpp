#include "ConvertItem.h"

#include <windows.h>

#include "ITunes.h"
#include "JobStates.h"

void CConvertItem::Reset(int resetSettings)
{
    m_flags = 0;
    if (resetSettings)
        m_settings.Reset();
    m_outputPath.Empty();
    m_outputSize = -1;
    m_state = 0;
    m_jobFlags = 0;
    m_inputInfo.Reset();
    m_outputInfo.Reset();
    m_progress = CEncoderProgress{};
}

int CConvertItem::SetSource(const CString& path)
{
    m_settings.m_source = path;
    return 0;
}

int CConvertItem::Finish()
{
    if (m_state != JOB_COMPLETED)
        return 0;
    if (!(m_flags & ITEM_OUTPUT_PROBED))
        ProbeOutput();
    if (m_settings.m_options & CONVERT_ADD_TO_ITUNES)
        AddToITunes();
    return 0;
}

int CConvertItem::AddToITunes()
{
    if (m_state != JOB_COMPLETED)
        return -1;
    if (m_flags & ITEM_IN_ITUNES)
        return 0;
    if (AddFileToITunes(m_outputPath, FALSE) != 0)
        return -1;
    m_flags |= ITEM_IN_ITUNES;
    return 0;
}

CStringArray CompletedOutputPaths(const std::vector<const CConvertItem*>& items)
{
    CStringArray paths;
    for (const CConvertItem* item : items) {
        if (item && item->m_state == JOB_COMPLETED && !item->m_outputPath.IsEmpty() &&
            ::GetFileAttributesW(item->m_outputPath) != INVALID_FILE_ATTRIBUTES)
            paths.Add(item->m_outputPath);
    }
    return paths;
}

int AddCompletedToITunes(const std::vector<const CConvertItem*>& items)
{
    CStringArray paths = CompletedOutputPaths(items);
    if (paths.GetSize() == 0)
        return 0;
    return AddFilesToITunes(paths, TRUE);
}

int CConvertItem::ProbeSource(CStopFlag* stop)
{
    if (m_inputInfo.Probe(m_settings.m_source, stop) != 0)
        return -1;
    m_flags |= ITEM_SOURCE_PROBED;
    return 0;
}

int CConvertItem::ProbeOutput(CStopFlag* stop)
{
    if (m_outputInfo.Probe(m_outputPath, stop) != 0)
        return -1;
    m_flags |= ITEM_OUTPUT_PROBED;
    return 0;
}
