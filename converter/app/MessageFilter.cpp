#include "MessageFilter.h"

#include <windows.h>

int AllowCopyDataMessages()
{
    using FilterFunction = BOOL(WINAPI*)(UINT, DWORD);
    const HMODULE user = GetModuleHandleW(L"user32.dll");
    const auto allow = reinterpret_cast<FilterFunction>(
        reinterpret_cast<void*>(user ? GetProcAddress(user, "ChangeWindowMessageFilter") : nullptr));
    if (!allow)
        return 1;
    constexpr DWORD kAdd = 1;  // MSGFLT_ADD
    // 0x49 is the system's own companion message of WM_COPYDATA.
    const bool copyData = allow(WM_COPYDATA, kAdd) != FALSE;
    const bool companion = allow(0x49, kAdd) != FALSE;
    return copyData && companion ? 0 : -1;
}
