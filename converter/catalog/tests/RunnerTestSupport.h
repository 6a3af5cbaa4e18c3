#pragma once
// Shared pieces of the runner tests: the fake sibling beside the test program, the script
// variable it reads, and the processes that run.
#include <windows.h>
#include <tlhelp32.h>

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

// Running processes of the program file name (case ignored); -1 when they cannot be listed.
inline int ProcessCount(const wchar_t* fileName)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        count += lstrcmpiW(entry.szExeFile, fileName) == 0 ? 1 : 0;
    CloseHandle(snapshot);
    return count;
}

// True when no process with the id (taken from the fake's pid file) runs any more. A fake ended
// before it got as far as writing its id is looked for by its name: the test program has its
// Wine prefix, and so the list of processes, to itself.
inline bool ProcessGone(const CString& pidFile)
{
    const std::string text = ReadFileText(pidFile);
    if (text.empty())
        return ProcessCount(L"fakesibling.exe") == 0;
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
