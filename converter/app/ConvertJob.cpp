#include "ConvertJob.h"

#include "AppGlobals.h"
#include "AppSettings.h"
#include "ConvertItem.h"
#include "ConverterPaths.h"
#include "FileExistsDlg.h"
#include "FileShell.h"
#include "JobStates.h"
#include "JobStatusSink.h"
#include "MediaFormatInfo.h"
#include "ModulePaths.h"
#include "SysHelpers.h"
#include "TempFileGuard.h"

namespace {

const wchar_t kTemporaryPrefix[] = L"[Converting] ";
constexpr int kUnchangedVolume = 256;

bool IsStopSet(const CStopFlag* stop)
{
    return stop && stop->load() != 0;
}

} // namespace

CConvertJob::CConvertJob(CConvertItem* item, CJobStatusSink* sink, HWND owner, CStopFlag* stop,
                         IFileExistsPrompt* prompt)
    : m_item(item), m_statusSink(sink), m_owner(owner), m_stop(stop), m_prompt(prompt)
{
}

int RunConvertJob(CConvertItem* item, CJobStatusSink* sink, HWND owner, CStopFlag* stop, IFileExistsPrompt* prompt)
{
    CConvertJob job(item, sink, owner, stop, prompt);
    return job.Execute();
}

void CConvertJob::SetState(int state)
{
    if (!m_item)
        return;
    m_item->SetState(state);
    if (m_statusSink)
        m_statusSink->OnStatus(m_item);
    m_item->Finish();
}

int CConvertJob::Execute()
{
    SetState(JOB_STARTED);
    const int result = Convert();
    if (result == 0)
        SetState(JOB_COMPLETED);
    else if (IsStopSet(m_stop))
        SetState(JOB_CANCELED);  // for every way a stopped conversion ends
    return result;
}

int CConvertJob::ResolveOutputName(CString& path, int policy)
{
    CFileExistsPrompt dialogPrompt(m_owner, m_stop);
    return ResolveOutputPath(path, policy, m_item->m_settings.m_source, m_prompt ? *m_prompt : dialogPrompt, m_stop);
}

int CConvertJob::Convert()
{
    if (!m_item)
        return -1;
    CConvertItem& item = *m_item;
    const CConvertSettings& settings = item.m_settings;
    item.m_progress = CEncoderProgress{};
    const CModulePaths& modules = GetModulePaths();
    if (Setup(modules.m_encoder, modules.m_presets, m_owner, this) != 0)
        return -1;
    if (!PathExists(settings.m_source)) {
        SetState(JOB_SOURCE_MISSING);
        return -1;
    }
    SetState(JOB_PREPARING);

    const CString folder =
        (settings.m_options & CONVERT_SAME_FOLDER) ? GetFileDirectory(settings.m_source) : settings.m_outputFolder;
    // Never "\title": an output needs a folder, and one that can be made.
    if (folder.IsEmpty() || !CreateDirectoryTree(folder)) {
        SetState(JOB_FOLDER_FAILED);
        return -1;
    }
    const CString title = GetOutputTitle(settings.m_outputName.IsEmpty() ? settings.m_source : settings.m_outputName);
    const CMediaFormatInfo* format = settings.m_preset ? settings.m_preset->m_format : nullptr;
    if (!format) {
        SetState(JOB_ENCODE_FAILED);
        return -1;
    }
    const CString& extension = format->m_extension;
    item.m_outputPath = JoinOutputPath(folder, title, extension);

    const int decision = ResolveOutputName(item.m_outputPath, g_pAppSettings ? g_pAppSettings->m_overwrite.load() : 0);
    if (IsRememberedDecision(decision) && g_pAppSettings)
        g_pAppSettings->m_overwrite = decision;
    if (decision == EXISTS_CANCEL || decision == OVERWRITE_CANCEL) {
        SetState(JOB_SKIPPED_EXISTS);
        return 1;
    }
    item.m_jobFlags |= JOB_NAME_CHOSEN;
    SetState(JOB_OUTPUT_NAMED);
    SetState(JOB_CONVERTING);
    // Stopped while the user was asked: no encoder run to start and end again.
    if (IsStopSet(m_stop))
        return 1;

    CString outputFolder, outputTitle, outputExtension;
    SplitOutputPath(item.m_outputPath, outputFolder, outputTitle, outputExtension);
    CTempFileGuard temporary(MakeUniqueFilePath(outputFolder, kTemporaryPrefix + outputTitle, outputExtension), 1);
    if (PrepareOptions(temporary.GetPath()) != 0) {
        SetState(JOB_ENCODE_FAILED);
        return -1;
    }
    if (Run(m_stop) == 0)
        return ReplaceOutput(temporary.GetPath());
    if (IsStopSet(m_stop))
        return 1;
    SetState(JOB_ENCODE_FAILED);
    return -1;
}

int CConvertJob::ReplaceOutput(const CString& temporaryPath)
{
    const int64_t size = GetFileSize64(temporaryPath);
    // In one step: an older output goes only when the new one takes its place.
    if (size <= 0 || MoveFileReplace(temporaryPath, m_item->m_outputPath) != 0) {
        SetState(JOB_ENCODE_FAILED);
        return -1;
    }
    m_item->m_outputSize = size;
    m_item->m_jobFlags |= JOB_OUTPUT_DONE;
    SetState(JOB_OUTPUT_WRITTEN);
    return 0;
}

int CConvertJob::PrepareOptions(const CString& temporaryPath)
{
    CConvertSettings& settings = m_item->m_settings;
    m_options.Reset();
    m_options.m_input = settings.m_source;
    m_options.m_output = temporaryPath;
    if (m_item->ProbeSource(m_stop) != 0)
        return -1;
    const CMediaStreamInfo* video = m_item->m_inputInfo.GetFirstVideoStream();
    const CMediaStreamInfo* audio = m_item->m_inputInfo.GetFirstAudioStream();
    if (!settings.m_preset || !settings.m_preset->m_format ||
        settings.m_preset->m_format->ApplyToOptions(m_options, *settings.m_preset, video, audio) == 0)
        return -1;

    m_options.m_startTime = settings.m_startTime > 0 ? settings.m_startTime : 0;
    m_options.m_duration = 0;
    if (settings.m_endTime > 0) {
        if (settings.m_endTime <= settings.m_startTime)
            settings.m_endTime = -1;
        if (settings.m_endTime > 0)
            m_options.m_duration = settings.m_endTime - settings.m_startTime;
    }

    m_options.m_volume = kUnchangedVolume;
    if (settings.m_volumePercent != 100) {
        int volume = static_cast<int>(settings.m_volumePercent * 2.56);
        if (volume < 0)
            volume = kUnchangedVolume;
        m_options.m_volume = volume;
    }

    if (settings.m_rotation)
        m_options.m_rotation = settings.m_rotation;
    if (settings.m_hflip)
        m_options.m_hflip = settings.m_hflip;
    if (settings.m_vflip)
        m_options.m_vflip = settings.m_vflip;
    if (settings.m_grey)
        m_options.m_grey = settings.m_grey;
    if (settings.m_negate)
        m_options.m_negate = settings.m_negate;
    return 0;
}

int CConvertJob::OnStart(const CEncoderProgress& progress)
{
    m_item->m_progress = progress;
    return ENCODER_ANSWER_CONTINUE;
}

int CConvertJob::OnProgress(const CEncoderProgress& progress)
{
    if (IsStopSet(m_stop))
        return ENCODER_ANSWER_STOP;
    m_item->m_progress = progress;
    if (m_statusSink)
        m_statusSink->OnProgress(m_item);
    return ENCODER_ANSWER_CONTINUE;
}
