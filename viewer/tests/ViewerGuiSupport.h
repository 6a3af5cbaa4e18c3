#pragma once
// Windows of the viewer's window tests: a top-level host for the canvas and the views.
#include "FwTestSupport.h"
#include "ViewerTestSupport.h"

// A plain visible pop-up window that children can be put in.
class CTestHost : public CWnd {
public:
    bool Make(int width = 320, int height = 240)
    {
        return CreateEx(0, nullptr, L"viewer test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10, width, height,
                        nullptr, nullptr);
    }
    ~CTestHost() override
    {
        if (GetSafeHwnd())
            DestroyWindow();
    }
};

inline bool SameColour(COLORREF c, const TestFrame& f, int tolerance = 8)
{
    return std::abs(int(GetRValue(c)) - f.r) <= tolerance && std::abs(int(GetGValue(c)) - f.g) <= tolerance &&
           std::abs(int(GetBValue(c)) - f.b) <= tolerance;
}

// How light a colour looks: text against its ground.
inline int Luminance(COLORREF c) { return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000; }
