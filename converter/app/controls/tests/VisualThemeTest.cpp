// Visual styles loaded by name, with and without the library, and with a library that lacks
// the entry points.
#include <gtest/gtest.h>

#include <vssym32.h>

#include "FwTestSupport.h"
#include "VisualTheme.h"

namespace {

class VisualThemeTest : public ::testing::Test {
protected:
    void TearDown() override { ResetUxThemeLibrary(); }
};

HWND MakeWindow() { return ::CreateWindowExW(0, L"BUTTON", L"x", WS_POPUP, 0, 0, 40, 20, nullptr, nullptr, nullptr, nullptr); }

TEST_F(VisualThemeTest, WithoutTheLibraryEveryQuerySaysNoTheme)
{
    ResetUxThemeLibrary(L"NoSuchUxTheme.dll");
    FARPROC fallback = reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&::GetTickCount));
    EXPECT_EQ(fallback, GetUxThemeProc("OpenThemeData", fallback));
    EXPECT_EQ(fallback, GetUxThemeProc("IsThemeActive", fallback));
    EXPECT_EQ(1, UxThemeLoadAttempts()) << "tried once only";

    HWND window = MakeWindow();
    CVisualTheme theme(window, L"Button");
    EXPECT_FALSE(theme.IsOpen());
    EXPECT_EQ(0, theme.Close());
    RECT r{0, 0, 10, 10};
    EXPECT_EQ(E_FAIL, theme.DrawBackground(::GetDC(window), BP_PUSHBUTTON, PBS_NORMAL, &r));
    EXPECT_EQ(0, CVisualTheme::IsThemeActive());
    EXPECT_EQ(0, CVisualTheme::IsAppThemed());
    EXPECT_FALSE(IsVisualThemeActive());
    EXPECT_EQ(1, UxThemeLoadAttempts());
    ::DestroyWindow(window);
}

TEST_F(VisualThemeTest, ALibraryWithoutTheEntryPointsAnswersMinusOneAndNoTheme)
{
    ResetUxThemeLibrary(L"kernel32.dll");
    EXPECT_EQ(nullptr, GetUxThemeProc("OpenThemeData", reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&::GetTickCount))));
    EXPECT_EQ(-1, CVisualTheme::IsThemeActive());
    EXPECT_EQ(-1, CVisualTheme::IsAppThemed());
    EXPECT_FALSE(IsVisualThemeActive()) << "a missing entry point is no theme";
    HWND window = MakeWindow();
    CVisualTheme theme;
    EXPECT_FALSE(theme.Open(window, L"Button"));
    RECT r{0, 0, 10, 10};
    EXPECT_EQ(-1, theme.DrawBackground(nullptr, 1, 1, &r));
    EXPECT_EQ(1, UxThemeLoadAttempts());
    ::DestroyWindow(window);
}

TEST_F(VisualThemeTest, WithTheLibraryTheSystemAnswers)
{
    ResetUxThemeLibrary();
    FARPROC open = GetUxThemeProc("OpenThemeData", nullptr);
    ASSERT_NE(nullptr, open) << "the system's UxTheme.dll";
    EXPECT_EQ(reinterpret_cast<FARPROC>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"uxtheme.dll"), "OpenThemeData"))), open);
    const int active = CVisualTheme::IsThemeActive();
    EXPECT_TRUE(active == 0 || active == 1);
    HWND window = MakeWindow();
    CVisualTheme theme(window, L"Button");
    // A theme opens where visual styles are on; either way the answers agree.
    if (IsVisualThemeActive()) {
        EXPECT_TRUE(theme.IsOpen());
        HDC dc = ::GetDC(window);
        RECT r{0, 0, 40, 20};
        EXPECT_EQ(S_OK, theme.DrawBackground(dc, BP_PUSHBUTTON, PBS_NORMAL, &r));
        ::ReleaseDC(window, dc);
        EXPECT_EQ(S_OK, theme.Close());
    }
    EXPECT_EQ(0, theme.Close()) << "nothing open any more";
    EXPECT_FALSE(theme.IsOpen());
    EXPECT_EQ(1, UxThemeLoadAttempts());
    ::DestroyWindow(window);
}

} // namespace
