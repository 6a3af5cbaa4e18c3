#include "JobStatusSink.h"

#include "ConvertItem.h"
#include "ConverterPaths.h"
#include "JobStates.h"

void CJobStatusSink::OnStatus(CConvertItem* item)
{
    if (!item)
        return;
    switch (item->m_state) {
    case JOB_STARTED:
        SetOutputText(CString());
        break;
    case JOB_OUTPUT_NAMED:
        SetOutputText(GetFileNamePart(item->m_outputPath));
        break;
    case JOB_COMPLETED:
        // The output's own values, for its column.
        SetSizes(-1, item->m_outputSize);
        SetTimes(-1, item->m_progress.m_time > 0 ? item->m_progress.m_time : -1);
        break;
    case JOB_CANCELED:
        SetSizes(-1, -1);
        SetTimes(-1, -1);
        break;
    default:
        break;
    }
    const JobStateLook look = GetJobStateLook(item->m_state);
    if (look.image >= 0)
        SetStateImage(look.image);
    if (look.colour >= 0)
        SetTextColor(static_cast<COLORREF>(look.colour));
    if (look.text)
        SetStatusText(look.text);
}

void CJobStatusSink::OnProgress(CConvertItem* item)
{
    if (!item)
        return;
    const CEncoderProgress& progress = item->m_progress;
    SetProgress(progress.m_time, progress.m_duration);
    SetTimes(progress.m_duration, progress.m_time);
    SetSizes(item->m_inputInfo.m_size, progress.m_size);
}
