#include "UiHelpers.h"

#include <shlwapi.h>

#include <algorithm>

#include "ControlRules.h"

bool ShellAutoComplete(HWND edit, DWORD flags)
{
    if (!edit)
        return false;
    HMODULE library = ::LoadLibraryW(L"SHLWAPI.DLL");
    if (!library)
        return false;
    using AutoCompleteProc = HRESULT(WINAPI*)(HWND, DWORD);
    auto call = reinterpret_cast<AutoCompleteProc>(reinterpret_cast<void*>(::GetProcAddress(library, "SHAutoComplete")));
    bool done = call && SUCCEEDED(call(edit, flags));
    ::FreeLibrary(library);
    return done;
}

GradientPainterState::~GradientPainterState()
{
    if (library)
        ::FreeLibrary(library);
}

GradientPainterState& GetGradientPainter()
{
    static GradientPainterState state;
    return state;
}

namespace {

bool GradientFillAvailable()
{
    GradientPainterState& state = GetGradientPainter();
    if (state.status == 0) {
        state.library = ::LoadLibraryW(L"msimg32.dll");
        if (state.library)
            state.fill = reinterpret_cast<decltype(state.fill)>(reinterpret_cast<void*>(::GetProcAddress(state.library, "GradientFill")));
        state.status = state.fill ? 1 : -1;
    }
    return state.status == 1;
}

TRIVERTEX Vertex(LONG x, LONG y, COLORREF colour)
{
    TRIVERTEX vertex{};
    vertex.x = x;
    vertex.y = y;
    vertex.Red = static_cast<COLOR16>(GetRValue(colour) << 8);
    vertex.Green = static_cast<COLOR16>(GetGValue(colour) << 8);
    vertex.Blue = static_cast<COLOR16>(GetBValue(colour) << 8);
    return vertex;
}

void PaintBands(HDC dc, const RECT& rect, COLORREF start, COLORREF end, int direction, int numerator, int denominator, int step)
{
    const bool across = direction == GRADIENT_HORIZONTAL;
    const int extent = across ? rect.right - rect.left : rect.bottom - rect.top;
    step = std::max(step, 1);
    for (int offset = 0; offset < extent; offset += step) {
        COLORREF colour = RGB(GradientChannel(GetRValue(start), GetRValue(end), numerator, denominator, offset, extent),
                              GradientChannel(GetGValue(start), GetGValue(end), numerator, denominator, offset, extent),
                              GradientChannel(GetBValue(start), GetBValue(end), numerator, denominator, offset, extent));
        RECT band = rect;
        if (across) {
            band.left = rect.left + offset;
            band.right = std::min<LONG>(band.left + step, rect.right);
        } else {
            band.top = rect.top + offset;
            band.bottom = std::min<LONG>(band.top + step, rect.bottom);
        }
        ::SetBkColor(dc, colour);
        ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &band, nullptr, 0, nullptr);
    }
}

} // namespace

void PaintGradient(HDC dc, const RECT& rect, COLORREF start, COLORREF end, int direction, int numerator, int denominator, int step)
{
    if (GradientFillAvailable()) {
        TRIVERTEX vertices[2] = {Vertex(rect.left, rect.top, start), Vertex(rect.right, rect.bottom, end)};
        GRADIENT_RECT area{0, 1};
        GetGradientPainter().fill(dc, vertices, 2, &area, 1, direction == GRADIENT_HORIZONTAL ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
        return;
    }
    COLORREF saved = ::GetBkColor(dc);
    PaintBands(dc, rect, start, end, direction, numerator, denominator, step);
    ::SetBkColor(dc, saved);
}
