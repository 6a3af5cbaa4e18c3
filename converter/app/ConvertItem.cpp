#include "ConvertItem.h"

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
    return 0;
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
