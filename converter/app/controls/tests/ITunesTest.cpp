// The iTunes hand-over where there is no iTunes: plain answers, nothing left behind, and the
// thread's message filter as it was.
#include <gtest/gtest.h>

#include <thread>

#include "COleMessageFilter.h"
#include "ConvertItem.h"
#include "FwTestSupport.h"
#include "ITunes.h"
#include "JobStates.h"
#include "ScratchFolder.h"

#include <fstream>

namespace {

BOOL CALLBACK MatchMessageBox(HWND hwnd, LPARAM param)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    wchar_t name[16] = L"";
    ::GetClassNameW(hwnd, name, 16);
    if (process == ::GetCurrentProcessId() && ::IsWindowVisible(hwnd) && ::lstrcmpW(name, L"#32770") == 0) {
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A message box or other dialog of this process on the screen.
HWND FindOwnDialog()
{
    HWND found = nullptr;
    ::EnumWindows(MatchMessageBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

class ITunesFiles : public ScratchFolderTest {
protected:
    CString Write(const char* name)
    {
        std::ofstream(m_folder / name) << "video";
        return Path(std::string(name));
    }
};

TEST(ITunes, NotInstalledAndNotRunningHere)
{
    EXPECT_FALSE(IsITunesInstalled());
    EXPECT_EQ(nullptr, FindITunesWindow());
}

TEST(ITunes, AWindowNamedAndClassedITunesIsTheRunningOne)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"iTunes";
    ASSERT_TRUE(::RegisterClassW(&wc));
    HWND other = ::CreateWindowExW(0, L"iTunes", L"Not iTunes", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    EXPECT_EQ(nullptr, FindITunesWindow()) << "the title must match too";
    HWND fake = ::CreateWindowExW(0, L"iTunes", L"iTunes", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    EXPECT_EQ(fake, FindITunesWindow());
    ::DestroyWindow(fake);
    ::DestroyWindow(other);
    ::UnregisterClassW(L"iTunes", wc.hInstance);
}

TEST(ITunes, AddsAnswerMinusOneWithoutAMessageAndLeaveComAsItWas)
{
    struct Case {
        bool list;
        int files;
        BOOL quit;
    } cases[] = {{false, 1, FALSE}, {false, 1, TRUE}, {true, 0, TRUE}, {true, 3, FALSE}};
    for (const Case& c : cases) {
        std::thread([&c] {
            ASSERT_TRUE(FwOleInit());
            COleMessageFilter* filter = FwOleGetMessageFilter();
            ASSERT_NE(nullptr, filter);
            CStringArray paths;
            for (int i = 0; i < c.files; i++)
                paths.Add(L"C:\\videos\\missing.mp4");
            int result = c.list ? AddFilesToITunes(paths, c.quit) : AddFileToITunes(L"C:\\videos\\missing.mp4", c.quit);
            EXPECT_EQ(-1, result);
            EXPECT_TRUE(filter->IsBusyDialogEnabled()) << "the filter is given back as it was";
            EXPECT_TRUE(filter->IsNotRespondingDialogEnabled());
            EXPECT_EQ(nullptr, FindOwnDialog());
            // COM is still this thread's own: one more start answers "already started".
            EXPECT_EQ(S_FALSE, ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
            ::CoUninitialize();
            FwOleTerm();
        }).join();
    }
    // A thread without COM of its own ends with none.
    std::thread([] {
        EXPECT_EQ(-1, AddFileToITunes(L"C:\\x.mp4", TRUE));
        EXPECT_EQ(S_OK, ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) << "COM was ended again";
        ::CoUninitialize();
    }).join();
}

TEST_F(ITunesFiles, AnItemIsMarkedOnlyWhenITunesTookIt)
{
    CConvertItem item;
    item.m_outputPath = Write("out.mp4");
    EXPECT_EQ(-1, item.AddToITunes()) << "not completed";
    item.SetState(JOB_COMPLETED);
    EXPECT_EQ(-1, item.AddToITunes()) << "no iTunes here";
    EXPECT_EQ(0u, item.m_flags & ITEM_IN_ITUNES);
    item.m_flags |= ITEM_IN_ITUNES;
    EXPECT_EQ(0, item.AddToITunes()) << "handed over before";
}

TEST_F(ITunesFiles, CompletedOutputsThatExistInRowOrder)
{
    CConvertItem a, b, c, d;
    a.m_outputPath = Write("a.mp4");
    b.m_outputPath = Path(std::string("b.mp4"));   // missing
    c.m_outputPath = Write("c.mp4");
    d.m_outputPath = a.m_outputPath;   // not completed
    a.SetState(JOB_COMPLETED);
    b.SetState(JOB_COMPLETED);
    c.SetState(JOB_COMPLETED);
    CStringArray paths = CompletedOutputPaths({&c, &b, &d, &a, nullptr});
    ASSERT_EQ(2, paths.GetSize());
    EXPECT_EQ(c.m_outputPath, paths[0]);
    EXPECT_EQ(a.m_outputPath, paths[1]);
    EXPECT_EQ(0, AddCompletedToITunes({&b, &d})) << "nothing to hand over";
    EXPECT_EQ(-1, AddCompletedToITunes({&a})) << "no iTunes here";
}

} // namespace
