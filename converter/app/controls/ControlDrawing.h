#pragma once
// What the converter's controls share when they paint: the parent's background behind them
// and the application's visual-styles flag.
#include <windows.h>

class CWnd;

// The parent erases (WM_ERASEBKGND) into `dc` with the origin moved by the control's position,
// so the parent's background shows through the control.
void PaintParentBackground(CWnd* control, HDC dc);
// The application's visual-styles flag (taken at start-up; off without the application).
bool AppUsesVisualStyles();
// A text in one line, ellipsis at the end, with a transparent background.
void DrawLineText(HDC dc, const wchar_t* text, int length, RECT rect, UINT align, COLORREF colour);
