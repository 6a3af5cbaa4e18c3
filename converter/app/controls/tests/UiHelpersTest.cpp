// The folder browser cancelled, auto-completion looked up at run time, the gradient painted
// with GradientFill and with its banded fallback.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <shlobj.h>
#include <shlwapi.h>

#include "ControlsTestRes.h"
#include "DibCanvas.h"
#include "FolderBrowser.h"
#include "FrameDlg.h"
#include "FwTestSupport.h"
#include "UiHelpers.h"

namespace {

bool Near(int a, int b, int tolerance = 6) { return a - b <= tolerance && b - a <= tolerance; }

void ExpectRedRamp(const DibCanvas& canvas, int width)
{
    EXPECT_TRUE(Near(0, GetRValue(canvas.At(0, 2))));
    EXPECT_TRUE(Near(127, GetRValue(canvas.At(width / 2, 2)), 8)) << int(GetRValue(canvas.At(width / 2, 2)));
    EXPECT_TRUE(Near(255, GetRValue(canvas.At(width - 1, 2)), 8));
    EXPECT_EQ(0, GetGValue(canvas.At(width / 2, 2)));
    EXPECT_EQ(0, GetBValue(canvas.At(width / 2, 2)));
}

TEST(GradientPainter, GradientFillRunsFromStartToEnd)
{
    GradientPainterState& state = GetGradientPainter();
    DibCanvas canvas(100, 10);
    PaintGradient(canvas.Dc(), RECT{0, 0, 100, 10}, RGB(0, 0, 0), RGB(255, 0, 0), GRADIENT_HORIZONTAL, 1, 1, 1);
    ASSERT_EQ(1, state.status) << "msimg32 is there";
    ExpectRedRamp(canvas, 100);
}

TEST(GradientPainter, AFailedLoadFallsBackToBandsWithoutLoadingAgain)
{
    GradientPainterState& state = GetGradientPainter();
    GradientPainterState saved;
    std::swap(saved.library, state.library);
    std::swap(saved.fill, state.fill);
    std::swap(saved.status, state.status);
    state.status = -1;   // as after a failed load

    DibCanvas canvas(100, 10);
    PaintGradient(canvas.Dc(), RECT{0, 0, 100, 10}, RGB(0, 0, 0), RGB(255, 0, 0), GRADIENT_HORIZONTAL, 1, 1, 1);
    ExpectRedRamp(canvas, 100);
    EXPECT_EQ(GetRValue(canvas.At(50, 0)), GetRValue(canvas.At(50, 9))) << "columns";
    DibCanvas rows(10, 40);
    PaintGradient(rows.Dc(), RECT{0, 0, 10, 40}, RGB(0, 0, 255), RGB(0, 0, 0), GRADIENT_VERTICAL, 1, 1, 10);
    EXPECT_EQ(RGB(0, 0, 255), rows.At(3, 0));
    EXPECT_EQ(RGB(0, 0, 255), rows.At(3, 9)) << "one band is ten rows";
    EXPECT_EQ(RGB(0, 0, 192), rows.At(3, 10));
    EXPECT_EQ(RGB(0, 0, 64), rows.At(3, 39));
    EXPECT_EQ(nullptr, state.library) << "not loaded again";
    EXPECT_EQ(-1, state.status);

    std::swap(saved.library, state.library);
    std::swap(saved.fill, state.fill);
    std::swap(saved.status, state.status);
}

TEST(ShellAutoCompleteTest, NeedsAWindowAndWorksOnAnEdit)
{
    TestApp();
    EXPECT_FALSE(ShellAutoComplete(nullptr, SHACF_FILESYS_DIRS));
    CFrameDlg dlg(IDD_CONTROLS_TEST);
    ASSERT_TRUE(dlg.Create(IDD_CONTROLS_TEST));
    EXPECT_TRUE(ShellAutoComplete(::GetDlgItem(dlg.m_hWnd, IDC_TEST_EDIT), SHACF_FILESYS_DIRS | SHACF_AUTOSUGGEST_FORCE_ON));
    dlg.DestroyWindow();
}

TEST(FolderBrowserTest, FlagsAndACancelledBrowserLeavesNoFolder)
{
    TestApp();
    CFolderBrowser browser(L"Select output folder", BIF_STATUSTEXT, nullptr);
    EXPECT_EQ(static_cast<UINT>(BIF_STATUSTEXT | BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_BROWSEINCLUDEURLS), browser.m_flags);
    browser.SetInitialFolder(L"C:\\windows");
    std::atomic<bool> cancelled{false};
    std::thread closer([&] {
        for (int i = 0; i < 200 && !cancelled; i++) {
            ::Sleep(50);
            HWND dialog = ::FindWindowW(L"#32770", nullptr);
            DWORD process = 0;
            ::GetWindowThreadProcessId(dialog, &process);
            if (dialog && process == ::GetCurrentProcessId()) {
                ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                cancelled = true;
            }
        }
    });
    EXPECT_EQ(IDCANCEL, browser.DoModal());
    closer.join();
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(browser.GetFolder().IsEmpty());
}

} // namespace
