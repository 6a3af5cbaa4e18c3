#pragma once
// Two system calls the converter's windows use where they exist, looked up at run time: shell
// auto-completion of an edit box, and gradient fills (with banded fallback drawing).
#include <windows.h>

// SHAutoComplete on the edit box; false without a window, the library or its entry point.
bool ShellAutoComplete(HWND edit, DWORD flags);

enum { GRADIENT_HORIZONTAL = 1, GRADIENT_VERTICAL = 2 };

// Fills `rect` from `start` to `end` colour, left to right (1) or top to bottom (2). Without
// GradientFill it draws bands `step` pixels wide, each at start + scale × (end − start) × offset
// / extent with scale = numerator / denominator.
void PaintGradient(HDC dc, const RECT& rect, COLORREF start, COLORREF end, int direction, int numerator = 1,
                   int denominator = 1, int step = 1);

// GradientFill looked up once per program: 0 not tried, 1 available, -1 unavailable.
struct GradientPainterState {
    HMODULE library = nullptr;
    BOOL(WINAPI* fill)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG) = nullptr;
    int status = 0;
    ~GradientPainterState();
};
GradientPainterState& GetGradientPainter();
