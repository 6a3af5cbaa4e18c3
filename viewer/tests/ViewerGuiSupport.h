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

// Solid-colour frames with the given delays, each colour distinct.
inline std::vector<TestFrame> ColourFrames(int count, uint32_t delay)
{
    static const TestFrame colours[] = {{220, 40, 40, 0}, {40, 200, 60, 0}, {40, 80, 230, 0},
                                        {230, 210, 40, 0}, {200, 50, 200, 0}, {40, 210, 210, 0}};
    std::vector<TestFrame> frames;
    for (int i = 0; i < count; i++) {
        TestFrame f = colours[i % 6];
        f.delay = delay;
        frames.push_back(f);
    }
    return frames;
}

inline bool SameColour(COLORREF c, const TestFrame& f, int tolerance = 8)
{
    return std::abs(int(GetRValue(c)) - f.r) <= tolerance && std::abs(int(GetGValue(c)) - f.g) <= tolerance &&
           std::abs(int(GetBValue(c)) - f.b) <= tolerance;
}
