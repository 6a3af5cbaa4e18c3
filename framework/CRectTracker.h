#pragma once
// Rubber-band selection: tracks the mouse from a press point until the button is released,
// drawing the band and telling a subclass of each change.
#include "CDC.h"
#include "CWnd.h"

class CRectTracker {
public:
    CRect m_rect;   // the band in the window's client coordinates; left/top is the anchor

    virtual ~CRectTracker() = default;

    // Runs until the left button is released (TRUE when the band is not empty) or the tracking
    // is cancelled by Escape, the right button or a lost capture (FALSE).
    BOOL TrackRubberBand(CWnd* wnd, CPoint point, BOOL allowInvert = TRUE);

    // Draws (and, drawn again, erases) the band; the default inverts a dotted frame.
    virtual void DrawTrackerRect(const RECT* rect, CWnd* clipWnd, CDC* dc, CWnd* wnd);
    // May correct the band while it is tracked.
    virtual void AdjustRect(int handle, RECT* rect) {}
    // Called after each change of the band, with the band it had before.
    virtual void OnChangedRect(const CRect& oldRect) {}
    virtual UINT GetHandleMask() const { return 0; }
};
