#pragma once
// Layered (semi-transparent) windows. The user32 entry points are looked up at every call, so the
// programs still run where they are missing; the calls then answer 0.
#include <windows.h>

BOOL CallSetLayeredWindowAttributes(HWND window, COLORREF colourKey, BYTE alpha, DWORD flags);
BOOL CallUpdateLayeredWindow(HWND window, HDC destination, POINT* position, SIZE* size, HDC source, POINT* sourcePoint,
                             COLORREF colourKey, BLENDFUNCTION* blend, DWORD flags);
// Makes the window layered with the given opacity (255 opaque).
BOOL SetWindowAlpha(HWND window, BYTE alpha);
// Makes it an ordinary window again and redraws it; returns 1.
BOOL RemoveWindowAlpha(HWND window);
