#pragma once
// A grid and list view without a window: a client size and a scroll position kept the way the
// system's scroll bar keeps it (inside the range).
#include <algorithm>
#include <string>

#include "GridListCore.h"

class CFakeGrid : public CGridListCore {
public:
    ViewRect m_client{0, 0, 600, 400};
    int m_nScroll = 0;
    GridScrollRange m_range{0, 0};

    explicit CFakeGrid(int count = 0, int mode = GRID_MODE_GRID)
    {
        m_nMode = mode;
        for (int i = 0; i < count; i++)
            AddItem(nullptr, false);
        UpdateScrollBars();
    }
    ViewRect GetClientArea() const override { return m_client; }
    int GetScrollPosition() const override { return m_nScroll; }
    void SetScrollPosition(int position) override { m_nScroll = std::clamp(position, 0, GetScrollLimit()); }
    void SetScrollRange(GridScrollRange range) override { m_range = range; }
    bool HasWindow() const override { return true; }

    // "x.x." for cells 0 and 2 selected of four.
    std::string Selection() const
    {
        std::string marks;
        for (int i = 0; i < GetItemCount(); i++)
            marks += IsSelected(i) ? 'x' : '.';
        return marks;
    }
};
