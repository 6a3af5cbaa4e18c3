#include "LayeredWindow.h"

namespace {

template <class Fn>
Fn User32Entry(const char* name)
{
    HMODULE user32 = ::GetModuleHandleW(L"USER32.DLL");
    return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(user32, name))) : nullptr;
}

} // namespace

BOOL CallSetLayeredWindowAttributes(HWND window, COLORREF colourKey, BYTE alpha, DWORD flags)
{
    using Fn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    Fn fn = User32Entry<Fn>("SetLayeredWindowAttributes");
    return fn ? fn(window, colourKey, alpha, flags) : 0;
}

BOOL CallUpdateLayeredWindow(HWND window, HDC destination, POINT* position, SIZE* size, HDC source, POINT* sourcePoint,
                             COLORREF colourKey, BLENDFUNCTION* blend, DWORD flags)
{
    using Fn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
    Fn fn = User32Entry<Fn>("UpdateLayeredWindow");
    return fn ? fn(window, destination, position, size, source, sourcePoint, colourKey, blend, flags) : 0;
}

BOOL SetWindowAlpha(HWND window, BYTE alpha)
{
    LONG_PTR style = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
    ::SetWindowLongPtrW(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
    return CallSetLayeredWindowAttributes(window, 0, alpha, LWA_ALPHA);
}

BOOL RemoveWindowAlpha(HWND window)
{
    LONG_PTR style = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
    ::SetWindowLongPtrW(window, GWL_EXSTYLE, style & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    ::RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
    return 1;
}
