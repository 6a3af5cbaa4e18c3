#include "EncoderProcess.h"

#include "EncoderCallback.h"
#include "EncoderCommandLine.h"

int CEncoderProcess::RunWithCallback(const CString& commandLine, CStopFlag* stop)
{
    // Messages can name this run only while it is in the table, that is while the encoder runs.
    CEncoderRunRegistration registration(this);
    const int64_t window = static_cast<int64_t>(reinterpret_cast<intptr_t>(m_callbackWindow));
    const int result = CModuleProcess::Run(commandLine + FormatCallbackItems(window, registration.GetToken()), stop);
    if (IsStopRequested(stop))
        return 1;
    return result;
}

int CEncoderProcess::Setup(const CString& encoder, const CString& presetsFolder, HWND callbackWindow)
{
    if (SetProgram(encoder) != 0)
        return -1;
    m_presetsFolder = presetsFolder;
    m_callbackWindow = callbackWindow;
    return 0;
}

CString CEncoderProcess::BuildCommandLine(CEncodeOptions& options) const
{
    return BuildEncoderCommandLine(m_program, options);
}

int CEncoderProcess::RunOptions(CEncodeOptions& options, CStopFlag* stop)
{
    const CString line = BuildCommandLine(options);
    if (line.IsEmpty())
        return -1;
    return Run(line, stop);
}
