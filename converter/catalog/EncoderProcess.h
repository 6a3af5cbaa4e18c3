#pragma once
// The encoder runner: builds the encoder's command line from the options and adds the window
// that receives its progress messages and the token that names this run.
#include <windows.h>

#include <cstdint>

#include "EncodeOptions.h"
#include "EncoderMessage.h"
#include "ModuleProcess.h"

class CEncoderProcess : public CModuleProcess {
public:
    // The run with the callback items: " -callbackwindow <handle>" when a window is set, then
    // " -context <token>". 1 when the run was asked to stop, else the result of the run.
    int Run(const CString& commandLine, CStopFlag* stop) override { return RunWithCallback(commandLine, stop); }
    int RunWithCallback(const CString& commandLine, CStopFlag* stop);

    virtual int Setup(const CString& encoder, const CString& presetsFolder, HWND callbackWindow);
    virtual int RunOptions(CEncodeOptions& options, CStopFlag* stop);

    // The run's answer to one of the encoder's messages; only an encoder task has one.
    virtual int OnCallbackData(const CEncoderMessage& message) { return ENCODER_ANSWER_REFUSED; }

    CString BuildCommandLine(CEncodeOptions& options) const;
    const CString& GetPresetsFolder() const { return m_presetsFolder; }
    HWND GetCallbackWindow() const { return m_callbackWindow; }

protected:
    CString m_presetsFolder;
    HWND m_callbackWindow = nullptr;
};
