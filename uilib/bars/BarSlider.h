#pragma once
// A horizontal slider item with two value tracks: track 1 is the position the user drags,
// track 0 a second filled bar behind it (how much is loaded, say). Its thumb list holds the
// channel tile (0), the track 0 fill (1), the track 1 fill (2) and the hot (3) and pressed (4)
// thumbs. A new position is sent to the bar as message 0x676 (position, item).
#include "BarItem.h"
#include "BarRules.h"
#include "CImageList.h"

constexpr UINT WM_BARSLIDER_POS = 0x676;

class CBarSlider : public CBarItem {
public:
    CBarSlider(CBarItemList* owner, int left, int top, int right, int bottom);

    BOOL OnMouseMessage(const MSG* msg) override;
    void Paint(CDC* dc) override;

    void SetRangeMax(int track, int maximum);
    void SetRangeMin(int track, int minimum);
    // Clamped into the track's range; nothing when unchanged.
    void SetValue(int track, int value, BOOL redraw);
    int GetValue(int track) const { return m_nValue[Track(track)]; }
    int GetRangeMin(int track) const { return m_nMin[Track(track)]; }
    int GetRangeMax(int track) const { return m_nMax[Track(track)]; }
    void SetThumbImages(CImageList* list);
    // Track 1 takes the value and the bar hears of it; FALSE when unchanged.
    BOOL SetPos(int value);

    BarBox GetChannel() const;
    int ValueToX(int track) const;
    CRect GetThumbRect() const;

protected:
    int m_nMin[2] = {0, 0};
    int m_nMax[2] = {0, 0};
    int m_nValue[2] = {0, 0};
    CImageList* m_pThumbs = nullptr;
    int m_nThumbWidth = 0;
    int m_nThumbHeight = 0;

    static int Track(int track) { return track == 0 ? 0 : 1; }
    BarBox ItemBox() const { return BarBox{m_rect.left, m_rect.top, m_rect.right, m_rect.bottom}; }
    // The channel and its two fills, under the thumb; a slider with a channel art of its own
    // paints that over them.
    virtual void PaintChannel(CDC* dc, const BarBox& channel);
    // Tiles `image` of the thumb list from the channel's left up to `right`, the last tile cut.
    void TileChannel(CDC* dc, int image, int right) const;
    BOOL HasRange() const { return m_nMin[1] < m_nMax[1]; }
    BOOL EndPress();
};
