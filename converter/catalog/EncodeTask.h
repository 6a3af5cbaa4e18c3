#pragma once
// One encoder run with its options and the receiver of its start, progress and finish; and the
// ready-made runs the converter uses (stream copy, one frame, video only, frame sequence).
#include <windows.h>

#include "EncodeOptions.h"
#include "EncoderMessage.h"
#include "EncoderProcess.h"

class IEncoderSink {
public:
    virtual ~IEncoderSink() = default;
    virtual int OnStart(const CEncoderProgress& progress) = 0;
    // 1 asks the encoder to stop.
    virtual int OnProgress(const CEncoderProgress& progress) = 0;
    virtual int OnFinish() = 0;
};

class CEncodeTask : public CEncoderProcess {
public:
    using CEncoderProcess::Run;
    using CEncoderProcess::Setup;

    virtual int Setup(const CString& encoder, const CString& presetsFolder, HWND callbackWindow, IEncoderSink* sink);
    // Runs with the task's own options (sizes made even first), then tells the sink it finished.
    virtual int Run(CStopFlag* stop);
    virtual int CopyStreams(const CString& input, int videoStream, const CString& input2, int audioStream,
                            const CString& output, const CString& format, CStopFlag* stop);
    virtual int GrabFrame(const CString& input, const CString& image, int timeMs, int width, int height,
                          const CString& format, CStopFlag* stop);
    virtual int EncodeVideoOnly(const CString& input, int rateNum, int rateDen, const CString& output,
                                const CString& format, const CString& videoCodec, int width, int height,
                                int sameQuality, int quality, CStopFlag* stop);
    virtual int ExtractFrames(const CString& input, int firstMs, int lastMs, const CString& outputPattern,
                              const CString& format, int width, int height, CStopFlag* stop);
    int OnCallbackData(const CEncoderMessage& message) override;

    CEncodeOptions m_options;
    IEncoderSink* m_sink = nullptr;

private:
    void SetOutputSize(int width, int height);
};

// A thumbnail grab that takes longer than this is taken for hung and ended.
constexpr DWORD kGrabTimeLimitMs = 60000;

// One frame of the input at the time, written as an image with the encoder of the module paths;
// 0 only when the run succeeded and left a non-empty image file.
int GrabVideoFrame(const CString& input, const CString& image, int timeMs, int width, int height,
                   const CString& format, CStopFlag* stop);
