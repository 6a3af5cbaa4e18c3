#pragma once
// What the dialog tests share: a scratch folder, a visible owner window, and a driver thread
// that acts on a dialog while the test thread sits in the dialog's modal loop.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "FsPath.h"
#include "FwTestSupport.h"
#include "GuiDriving.h"

class ScratchFolderTest : public ::testing::Test {
protected:
    std::filesystem::path m_folder;

    void SetUp() override
    {
        TestApp();
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = std::filesystem::temp_directory_path() / (std::string("uilib-dialogs-") + info->name());
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override
    {
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }
    CString Folder() const { return FromFsPath(m_folder); }
    CString Path(const CString& name) const { return Folder() + L"\\" + name; }
    CString MakeFile(const CString& name) const
    {
        std::ofstream(ToFsPath(Path(name)), std::ios::binary) << "GIF89a";
        return Path(name);
    }
};

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
