#include <gtest/gtest.h>

#include "FwTestSupport.h"
#include "LayeredWindow.h"

namespace {

HWND MakePopup()
{
    return ::CreateWindowExW(0, L"STATIC", L"layered", WS_POPUP | WS_VISIBLE, 20, 20, 80, 60, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

bool IsLayered(HWND window) { return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

} // namespace

TEST(LayeredWindow, AlphaIsSetThroughTheLooseEntryPointAndRemovedAgain)
{
    HWND window = MakePopup();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(SetWindowAlpha(window, 128));
    EXPECT_TRUE(IsLayered(window));
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 128);
    EXPECT_EQ(flags & LWA_ALPHA, static_cast<DWORD>(LWA_ALPHA));
    EXPECT_TRUE(CallSetLayeredWindowAttributes(window, RGB(255, 0, 255), 200, LWA_ALPHA | LWA_COLORKEY));
    ASSERT_TRUE(::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 200);
    EXPECT_EQ(RemoveWindowAlpha(window), 1);
    EXPECT_FALSE(IsLayered(window));
    ::DestroyWindow(window);
}

TEST(LayeredWindow, UpdateLayeredWindowTakesAPictureForTheWindow)
{
    HWND window = MakePopup();
    ASSERT_NE(window, nullptr);
    ::SetWindowLongW(window, GWL_EXSTYLE, ::GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    HDC screen = ::GetDC(nullptr);
    HDC source = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 80;
    info.bmiHeader.biHeight = 60;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP picture = ::CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(picture, nullptr);
    HGDIOBJ old = ::SelectObject(source, picture);
    POINT position{20, 20}, origin{0, 0};
    SIZE size{80, 60};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, 0};
    EXPECT_TRUE(CallUpdateLayeredWindow(window, screen, &position, &size, source, &origin, 0, &blend, ULW_ALPHA));
    // Not a layered window: the call fails as the system's does.
    HWND plain = MakePopup();
    EXPECT_FALSE(CallUpdateLayeredWindow(plain, screen, &position, &size, source, &origin, 0, &blend, ULW_ALPHA));
    ::SelectObject(source, old);
    ::DeleteObject(picture);
    ::DeleteDC(source);
    ::ReleaseDC(nullptr, screen);
    ::DestroyWindow(plain);
    ::DestroyWindow(window);
}
