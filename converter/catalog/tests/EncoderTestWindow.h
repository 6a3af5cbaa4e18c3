#pragma once
// A window that answers the encoder's messages as the converter's dialog does, and running a
// blocking call on a worker while this thread pumps messages (as the dialog's thread does while
// the conversion thread waits for the encoder).
#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

#include "EncoderCallback.h"

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

// The work's result.
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
