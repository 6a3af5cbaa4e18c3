#pragma once
// Shared pieces of the runner tests: the fake sibling beside the test program and the script
// variable it reads.
#include <windows.h>

#include <chrono>
#include <string>
#include <thread>

#include "CatalogTestSupport.h"
#include "EncoderTestWindow.h"

inline CString ExeFolder()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    CString folder(path, static_cast<int>(length));
    return folder.Left(folder.ReverseFind(L'\\'));
}

inline CString FakeSiblingPath()
{
    return ExeFolder() + L"\\fakesibling.exe";
}

// Sets the fake sibling's script for the children started while it lives.
class FakeScript {
public:
    explicit FakeScript(const CString& script) { SetEnvironmentVariableW(L"FAKE_SIBLING_SCRIPT", script); }
    ~FakeScript() { SetEnvironmentVariableW(L"FAKE_SIBLING_SCRIPT", nullptr); }
};

inline CString Quoted(const CString& text)
{
    return L"\"" + text + L"\"";
}

inline std::string ReadFileText(const CString& path)
{
    return ReadTextFile(std::filesystem::path(path.str()));
}

// True when no process with the id (taken from the fake's pid file) runs any more.
inline bool ProcessGone(const CString& pidFile)
{
    const std::string text = ReadFileText(pidFile);
    if (text.empty())
        return false;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(std::stoul(text)));
    if (!process)
        return true;
    const bool gone = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return gone;
}

inline double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
