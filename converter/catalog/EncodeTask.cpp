#include "EncodeTask.h"

#include "ModulePaths.h"
#include "SysHelpers.h"

namespace {

const wchar_t kImageFormat[] = L"image2";

CString OrImageFormat(const CString& format)
{
    return format.IsEmpty() ? CString(kImageFormat) : format;
}

} // namespace

int CEncodeTask::Setup(const CString& encoder, const CString& presetsFolder, HWND callbackWindow, IEncoderSink* sink)
{
    if (CEncoderProcess::Setup(encoder, presetsFolder, callbackWindow) != 0)
        return -1;
    m_sink = sink;
    return 0;
}

int CEncodeTask::Run(CStopFlag* stop)
{
    m_options.MakeEvenSize();
    const int result = RunOptions(m_options, stop);
    if (m_sink)
        m_sink->OnFinish();
    return result;
}

void CEncodeTask::SetOutputSize(int width, int height)
{
    if (width > 0)
        m_options.m_width = width;
    if (height > 0)
        m_options.m_height = height;
}

int CEncodeTask::CopyStreams(const CString& input, int videoStream, const CString& input2, int audioStream,
                             const CString& output, const CString& format, CStopFlag* stop)
{
    m_options.Reset();
    m_options.m_input = input;
    m_options.m_input2 = input2;
    m_options.m_output = output;
    m_options.m_format = format;
    m_options.m_videoCodec = L"copy";
    m_options.m_audioCodec = L"copy";
    m_options.m_map1Input = 0;
    m_options.m_map1Stream = videoStream;
    m_options.m_map2Input = 1;
    m_options.m_map2Stream = audioStream;
    return Run(stop);
}

int CEncodeTask::GrabFrame(const CString& input, const CString& image, int timeMs, int width, int height,
                           const CString& format, CStopFlag* stop)
{
    m_options.Reset();
    m_options.m_input = input;
    m_options.m_output = image;
    m_options.m_startTime = timeMs;
    m_options.m_format = OrImageFormat(format);
    SetOutputSize(width, height);
    m_options.m_frameCount = 1;
    return Run(stop);
}

int CEncodeTask::EncodeVideoOnly(const CString& input, int rateNum, int rateDen, const CString& output,
                                 const CString& format, const CString& videoCodec, int width, int height,
                                 int sameQuality, int quality, CStopFlag* stop)
{
    m_options.Reset();
    m_options.m_input = input;
    if (rateNum > 0) {
        m_options.m_inputRateNum = rateNum;
        m_options.m_inputRateDen = rateDen;
    }
    m_options.m_output = output;
    m_options.m_format = format;
    m_options.m_videoCodec = videoCodec;
    SetOutputSize(width, height);
    if (sameQuality)
        m_options.m_videoQuality = 0;
    if (quality >= 0)
        m_options.m_videoQuality = quality;
    m_options.m_audioFlags |= ENCODE_NO_STREAM;
    return Run(stop);
}

int CEncodeTask::ExtractFrames(const CString& input, int firstMs, int lastMs, const CString& outputPattern,
                               const CString& format, int width, int height, CStopFlag* stop)
{
    m_options.Reset();
    m_options.m_input = input;
    if (firstMs > 0)
        m_options.m_startTime = firstMs;
    if (lastMs > 0)
        m_options.m_duration = lastMs - firstMs + 1;
    m_options.m_output = outputPattern;
    m_options.m_format = OrImageFormat(format);
    SetOutputSize(width, height);
    return Run(stop);
}

int CEncodeTask::OnCallbackData(const CEncoderMessage& message)
{
    if (!m_sink)
        return ENCODER_ANSWER_REFUSED;
    switch (message.m_kind) {
    case ENCODER_MESSAGE_START:
        return m_sink->OnStart(message.m_progress);
    case ENCODER_MESSAGE_PROGRESS:
        return m_sink->OnProgress(message.m_progress);
    case ENCODER_MESSAGE_FINISH:
        return m_sink->OnFinish();
    default:
        return ENCODER_ANSWER_REFUSED;
    }
}

int GrabVideoFrame(const CString& input, const CString& image, int timeMs, int width, int height,
                   const CString& format, CStopFlag* stop)
{
    const CModulePaths& paths = GetModulePaths();
    CEncodeTask task;
    if (task.Setup(paths.m_encoder, paths.m_presets, nullptr, nullptr) != 0)
        return -1;
    task.SetTimeLimit(kGrabTimeLimitMs);
    if (task.GrabFrame(input, image, timeMs, width, height, format, stop) != 0)
        return -1;
    return GetFileSize64(image) > 0 ? 0 : -1;
}
