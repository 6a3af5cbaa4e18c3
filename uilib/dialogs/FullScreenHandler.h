#pragma once
// Switches a frame window between its own placement and one whose client area covers the
// primary screen (borders, caption and menu bar pushed past the edges), and back.
#include <windows.h>

class CWnd;

class CFullScreenHandler {
public:
    enum { Normal = 0, Entering = 1, FullScreen = 2 };

    CWnd* m_pFrame = nullptr;
    int m_nState = Normal;
    WINDOWPLACEMENT m_wpSaved{};
    RECT m_rcFullScreen{};
    RECT m_rcMargin{};   // extra room beyond the screen on each side

    virtual ~CFullScreenHandler() = default;

    void SetFrame(CWnd* frame) { m_pFrame = frame; }
    // Enters full screen, or leaves it for the placement the frame had before.
    virtual void Toggle();
    bool IsFullScreen() const { return m_nState != Normal; }
    // For the frame's WM_GETMINMAXINFO: while full screen, the frame may grow to the
    // full-screen rectangle (and no further).
    void OnGetMinMaxInfo(MINMAXINFO* info) const;
};

// The window rectangle that puts the client area (`client`, in screen coordinates, of a window
// at `window`) over a screen of `screen`, widened by `margin` and by 2 pixels on every side.
RECT FullScreenWindowRect(const RECT& window, const RECT& client, SIZE screen, const RECT& margin);
// The placement that shows a frame at `rect` (screen coordinates): restored, with the rectangle
// as its normal position, which the system counts from the work area's corner `workOrigin`.
WINDOWPLACEMENT FullScreenPlacement(const WINDOWPLACEMENT& saved, const RECT& rect, POINT workOrigin);
