// Tollwick: the converter's encoder. Takes the command line the converter builds, encodes with
// the system's ffmpeg (run through the unixrun helper beside it), reports start, progress and
// finish to the window named after -callbackwindow, stops when a progress answer asks so, and
// exits 0 only when every output is complete and not empty.
// Exit codes: 0 done, 1 stopped, 2 bad command line or encoding failed, 3 cannot run ffmpeg.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "EncoderMessage.h"
#include "EncoderPlan.h"
#include "FfmpegProgress.h"
#include "GifTiming.h"
#include "OutputFiles.h"
#include "UnixChild.h"

namespace {

constexpr DWORD kPollPeriod = 100;
// Progress goes out at least this often, so an answer asking to stop comes soon.
constexpr DWORD kProgressPeriod = 250;
constexpr UINT kSendTimeout = 10000;

std::vector<CString> Arguments()
{
    std::vector<CString> args;
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; i < count; ++i)
        args.push_back(argv[i]);
    LocalFree(argv);
    return args;
}

void Report(const CString& text)
{
    std::fprintf(stderr, "Tollwick: %s\n", text.ToUtf8().c_str());
}

// Sends the run's messages to the converter's window; the window's answer, 0 without one.
class CProgressMessenger {
public:
    CProgressMessenger(int64_t window, int64_t context)
        : m_window(reinterpret_cast<HWND>(static_cast<intptr_t>(window))), m_context(static_cast<uint32_t>(context))
    {
    }

    int Send(int32_t kind, const CEncoderProgress& progress) const
    {
        if (!m_window || !IsWindow(m_window))
            return ENCODER_ANSWER_CONTINUE;
        CEncoderMessage message{};
        message.m_context = m_context;
        message.m_kind = kind;
        message.m_progress = progress;
        COPYDATASTRUCT data{kEncoderMessageId, kEncoderMessageSize, &message};
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(m_window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                 SMTO_NORMAL | SMTO_ABORTIFHUNG, kSendTimeout, &answer))
            return ENCODER_ANSWER_CONTINUE;
        return static_cast<int>(answer);
    }

private:
    HWND m_window;
    uint32_t m_context;
};

// When each output was last written, to tell this run's files from ones that were there.
std::vector<FILETIME> WriteTimes(const std::vector<CString>& outputs)
{
    std::vector<FILETIME> times;
    for (const CString& output : outputs) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(NumberedOutputFile(output, 1), GetFileExInfoStandard, &data))
            data.ftLastWriteTime = FILETIME{};
        times.push_back(data.ftLastWriteTime);
    }
    return times;
}

bool IsNonEmptyFile(const CString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return GetFileAttributesExW(path, GetFileExInfoStandard, &data) &&
           !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (data.nFileSizeHigh || data.nFileSizeLow);
}

bool OutputsComplete(const std::vector<CString>& outputs)
{
    for (const CString& output : outputs)
        if (!IsNonEmptyFile(NumberedOutputFile(output, 1)))
            return false;
    return !outputs.empty();
}

// Removes what this run wrote; a file it never touched stays as it was.
void RemoveOutputs(const std::vector<CString>& outputs, const std::vector<FILETIME>& before)
{
    const std::vector<FILETIME> after = WriteTimes(outputs);
    for (size_t i = 0; i < outputs.size(); ++i) {
        if (CompareFileTime(&before[i], &after[i]) == 0 && (before[i].dwLowDateTime || before[i].dwHighDateTime))
            continue;
        if (!IsOutputPattern(outputs[i])) {
            DeleteFileW(outputs[i]);
            continue;
        }
        for (int n = 1; DeleteFileW(NumberedOutputFile(outputs[i], n)); ++n) {
        }
    }
}

// ffmpeg's own words on why it failed: the end of its log.
void ReportFailure(const CUnixChild& child)
{
    const std::string log = child.ReadJobFile(L"stderr");
    const size_t tail = log.size() > 2000 ? log.size() - 2000 : 0;
    Report(CString::FromUtf8((child.GetStatus() + "\n" + log.substr(tail)).c_str()));
}

// The timing of a GIF input, from its own bytes.
bool ReadInputTiming(const CString& path, CGifTiming& timing)
{
    FILE* file = _wfopen(path, L"rb");
    if (!file)
        return false;
    const bool read = ReadGifTimingFile(file, timing);
    std::fclose(file);
    return read;
}

std::string PresetFile(const CString& name)
{
    const CString path = CUnixChild::ProgramFolder() + L"\\Presets\\" + name + L".ffpreset";
    std::string unixPath;
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES || !CUnixChild::ToUnixPath(path, unixPath))
        return std::string();
    return unixPath;
}

// Reports the run to the converter's window from what ffmpeg writes: start once the input is
// known, then each progress block as it comes (at least every 250 ms, so that an answer asking
// to stop comes soon), and at the end the whole length done.
class CEncoderRun {
public:
    CEncoderRun(const CEncoderPlan& plan, CUnixChild& child)
        : m_plan(plan), m_child(child), m_messenger(plan.m_callbackWindow, plan.m_context)
    {
    }

    void Poll()
    {
        // The input's length is in the log before the first progress block.
        if (m_inputDuration < 0 && !m_progressSeen)
            m_inputDuration = ParseInputDuration(m_child.ReadJobFile(L"stderr"));
        const std::string more = m_child.ReadJobFile(L"progress", m_progressRead);
        m_progressRead += static_cast<long>(more.size());
        const std::vector<CFfmpegProgress> blocks = m_progress.Take(more);
        m_progressSeen = m_progressSeen || !blocks.empty();
        m_record.m_duration = ExpectedOutputDuration(m_inputDuration, m_plan.m_startUs, m_plan.m_limitUs);
        if (!m_started && (m_inputDuration >= 0 || m_progressSeen)) {
            m_messenger.Send(ENCODER_MESSAGE_START, m_record);
            m_started = true;
        }
        if (!m_started || m_stopping)
            return;
        for (const CFfmpegProgress& block : blocks) {
            Take(block);
            SendProgress();
            if (m_stopping)
                return;
        }
        if (blocks.empty() && GetTickCount() - m_lastSent >= kProgressPeriod)
            SendProgress();
    }

    bool IsStopping() const { return m_stopping; }

    void Finish(bool complete)
    {
        if (complete) {
            Poll();
            if (!m_started)
                m_messenger.Send(ENCODER_MESSAGE_START, m_record);
            // ffmpeg's last time is that of the last packet; the output is whole now.
            m_record.m_time = std::max(m_record.m_time, m_record.m_duration);
            m_messenger.Send(ENCODER_MESSAGE_PROGRESS, m_record);
        }
        m_messenger.Send(ENCODER_MESSAGE_FINISH, m_record);
    }

private:
    void Take(const CFfmpegProgress& block)
    {
        m_record.m_frames = block.m_frame;
        m_record.m_time = block.m_timeUs;
        m_record.m_size = block.m_size;
    }

    void SendProgress()
    {
        m_lastSent = GetTickCount();
        if (m_messenger.Send(ENCODER_MESSAGE_PROGRESS, m_record) == ENCODER_ANSWER_STOP) {
            m_child.RequestStop();
            m_stopping = true;
        }
    }

    const CEncoderPlan& m_plan;
    CUnixChild& m_child;
    const CProgressMessenger m_messenger;
    CEncoderProgress m_record{};
    int64_t m_inputDuration = -1;
    long m_progressRead = 0;     // bytes of the progress file read so far
    CFfmpegProgressReader m_progress;
    bool m_progressSeen = false;
    bool m_started = false;
    bool m_stopping = false;
    DWORD m_lastSent = 0;
};

} // namespace

int main()
{
    CEncoderPlan plan;
    if (PlanEncoderRun(Arguments(), CUnixChild::ToUnixPath, PresetFile, ReadInputTiming, plan) != 0) {
        Report(plan.m_error);
        return 2;
    }
    CUnixChild child;
    if (child.Create() != 0) {
        Report(child.GetError());
        return 3;
    }
    std::vector<std::string> argv = {"ffmpeg", "-nostdin", "-hide_banner", "-nostats", "-progress",
                                     child.UnixJobFile("progress"), "-stats_period", "0.1"};
    argv.insert(argv.end(), plan.m_arguments.begin(), plan.m_arguments.end());
    const std::vector<FILETIME> before = WriteTimes(plan.m_outputs);
    if (child.Start(argv, plan.m_unixOutputs) != 0) {
        Report(child.GetError());
        return 3;
    }

    CEncoderRun run(plan, child);
    while (!child.IsDone()) {
        run.Poll();
        child.WaitDone(kPollPeriod);
    }
    const bool ok = !run.IsStopping() && child.GetExitCode() == 0 && OutputsComplete(plan.m_outputs);
    if (!ok) {
        RemoveOutputs(plan.m_outputs, before);
        if (!run.IsStopping())
            ReportFailure(child);
    }
    run.Finish(ok);
    return ok ? 0 : run.IsStopping() ? 1 : 2;
}
