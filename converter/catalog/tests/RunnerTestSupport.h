#pragma once
// Shared pieces of the runner tests: the fake sibling beside the test program, a window that
// answers encoder messages, running a blocking call while this thread pumps messages, and the
// script variable the fake sibling reads.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "CatalogTestSupport.h"
#include "EncoderCallback.h"

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

// A hidden window whose procedure answers encoder messages as the converter's dialog does.
class CallbackWindow {
public:
    CallbackWindow()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"RunnerTestCallback";
        RegisterClassW(&wc);
        m_window = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                   wc.hInstance, nullptr);
    }
    ~CallbackWindow() { DestroyWindow(m_window); }
    HWND Handle() const { return m_window; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_COPYDATA)
            return OnEncoderCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        return DefWindowProcW(window, message, wParam, lParam);
    }
    HWND m_window;
};

// Runs `work` on a worker thread while this thread dispatches messages (as the dialog's thread
// does while the conversion thread waits in the runner); returns the work's result.
inline int RunPumping(const std::function<int()>& work)
{
    std::atomic<bool> done{false};
    int result = 0;
    std::thread worker([&] {
        result = work();
        done = true;
    });
    while (!done) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    worker.join();
    return result;
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
