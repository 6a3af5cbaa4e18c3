// A stand-in for the encoder and the probe in the runner's tests. It does what its arguments
// (and the variable FAKE_SIBLING_SCRIPT, for runs whose command line a test cannot extend) tell it:
//   -record PATH         appends its command line and then each answer it gets to PATH
//   -pidfile PATH        writes its process id to PATH
//   -send KIND           sends one message of that kind to the callback window
//   -raw ID SIZE KIND    sends a block with that identifier and size
//   -as-context N        names another run in the messages that follow
//   -progress-for MS     sends progress every 50 ms until answered 1 or MS have passed
//   -ignore-stop         goes on with -progress-for after an answer of 1
//   -write-output BYTES  writes that many bytes to the output (the argument after -y)
//   -copy-to-xml PATH    copies PATH to the probe's XML file (the argument after -o)
//   -sleep MS, -exit CODE
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "EncoderMessage.h"

namespace {

struct Fake {
    std::wstring record;
    HWND window = nullptr;
    uint32_t context = 0;
    bool ignoreStop = false;
    int sent = 0;

    void Note(const std::wstring& text) const
    {
        if (record.empty())
            return;
        FILE* f = _wfopen(record.c_str(), L"ab");
        if (!f)
            return;
        const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string utf8(size > 0 ? size - 1 : 0, '\0');
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &utf8[0], size, nullptr, nullptr);
        std::fprintf(f, "%s\n", utf8.c_str());
        std::fclose(f);
    }

    LRESULT Send(ULONG_PTR id, DWORD size, int kind)
    {
        CEncoderMessage message{};
        message.m_context = context;
        message.m_kind = kind;
        ++sent;
        message.m_progress.m_duration = 10000000;
        message.m_progress.m_time = sent * 100000;
        message.m_progress.m_size = sent * 1000;
        message.m_progress.m_frames = sent;
        std::vector<char> block(size > sizeof(message) ? size : sizeof(message), 0);
        std::memcpy(block.data(), &message, sizeof(message));
        COPYDATASTRUCT data{id, size, block.data()};
        DWORD_PTR answer = static_cast<DWORD_PTR>(-2);
        if (!SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 10000, &answer))
            answer = static_cast<DWORD_PTR>(-2);
        Note(L"answer " + std::to_wstring(kind) + L" " + std::to_wstring(static_cast<int>(answer)));
        return static_cast<LRESULT>(static_cast<int>(answer));
    }

    // Returns true when it was told to stop and listens to that.
    bool ProgressFor(DWORD milliseconds)
    {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < milliseconds) {
            if (Send(kEncoderMessageId, kEncoderMessageSize, ENCODER_MESSAGE_PROGRESS) == ENCODER_ANSWER_STOP &&
                !ignoreStop)
                return true;
            Sleep(50);
        }
        return false;
    }
};

std::wstring ArgumentAfter(const std::vector<std::wstring>& args, const wchar_t* option)
{
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == option)
            return args[i + 1];
    return std::wstring();
}

void WriteBytes(const std::wstring& path, size_t count)
{
    if (FILE* f = _wfopen(path.c_str(), L"wb")) {
        const std::string bytes(count, 'x');
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

std::vector<std::wstring> Arguments()
{
    std::vector<std::wstring> args;
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; i < count; ++i)
        args.push_back(argv[i]);
    LocalFree(argv);
    wchar_t script[2048];
    const DWORD length = GetEnvironmentVariableW(L"FAKE_SIBLING_SCRIPT", script, 2048);
    if (length > 0 && length < 2048) {
        std::wstring line = L"x ";
        line += script;
        argv = CommandLineToArgvW(line.c_str(), &count);
        for (int i = 1; i < count; ++i)
            args.push_back(argv[i]);
        LocalFree(argv);
    }
    return args;
}

} // namespace

int main()
{
    const std::vector<std::wstring> args = Arguments();
    Fake fake;
    fake.record = ArgumentAfter(args, L"-record");
    fake.window = reinterpret_cast<HWND>(static_cast<intptr_t>(_wtoi64(ArgumentAfter(args, L"-callbackwindow").c_str())));
    fake.context = static_cast<uint32_t>(_wtoi64(ArgumentAfter(args, L"-context").c_str()));
    fake.Note(GetCommandLineW());

    int exitCode = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == L"-pidfile" && hasValue) {
            const std::wstring pid = std::to_wstring(GetCurrentProcessId());
            FILE* f = _wfopen(args[++i].c_str(), L"wb");
            if (f) {
                std::fprintf(f, "%ls", pid.c_str());
                std::fclose(f);
            }
        } else if (a == L"-send" && hasValue) {
            fake.Send(kEncoderMessageId, kEncoderMessageSize, _wtoi(args[++i].c_str()));
        } else if (a == L"-raw" && i + 3 < args.size()) {
            const ULONG_PTR id = _wtoi(args[i + 1].c_str());
            const DWORD size = _wtoi(args[i + 2].c_str());
            fake.Send(id, size, _wtoi(args[i + 3].c_str()));
            i += 3;
        } else if (a == L"-as-context" && hasValue) {
            fake.context = static_cast<uint32_t>(_wtoi64(args[++i].c_str()));
        } else if (a == L"-ignore-stop") {
            fake.ignoreStop = true;
        } else if (a == L"-progress-for" && hasValue) {
            if (fake.ProgressFor(_wtoi(args[++i].c_str())))
                return 1;
        } else if (a == L"-write-output" && hasValue) {
            WriteBytes(ArgumentAfter(args, L"-y"), _wtoi(args[++i].c_str()));
        } else if (a == L"-copy-to-xml" && hasValue) {
            CopyFileW(args[++i].c_str(), ArgumentAfter(args, L"-o").c_str(), FALSE);
        } else if (a == L"-sleep" && hasValue) {
            Sleep(_wtoi(args[++i].c_str()));
        } else if (a == L"-exit" && hasValue) {
            exitCode = _wtoi(args[++i].c_str());
        }
    }
    return exitCode;
}
