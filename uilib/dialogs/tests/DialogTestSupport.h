#pragma once
// What the dialog tests share: a scratch folder, a visible owner window, and a driver thread
// that acts on a dialog while the test thread sits in the dialog's modal loop.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "FwTestSupport.h"
#include "GuiDriving.h"
#include "ScratchFolder.h"

// A plain visible top-level window for dialogs to belong to.
class CTestOwner : public CWnd {
public:
    bool Make(const RECT& r)
    {
        return CreateEx(0, nullptr, L"dialog owner", WS_POPUP | WS_VISIBLE | WS_BORDER, r.left, r.top, r.right - r.left,
                        r.bottom - r.top, nullptr, nullptr);
    }
    ~CTestOwner() override
    {
        if (m_hWnd)
            DestroyWindow();
    }
};

// Runs `steps` on a thread of its own (given the dialog's window once it shows) and makes sure
// the dialog goes away in the end, so that a test whose steps failed cannot hang in the loop.
// Results go to variables the test reads after the modal call returned.
class DialogDriver {
public:
    DialogDriver(const wchar_t* title, std::function<void(HWND)> steps)
        : m_thread([title, steps] {
              HWND dialog = WaitForOwnWindow(title);
              if (!dialog)
                  return;
              ::Sleep(300);   // let it paint and settle its focus
              steps(dialog);
              if (!WaitFor([dialog] { return !::IsWindow(dialog); }, 10000))
                  ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
          })
    {
    }
    ~DialogDriver() { m_thread.join(); }

private:
    std::thread m_thread;
};
