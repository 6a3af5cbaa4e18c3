#pragma once
// The bar at the bottom of the main window: play, pause, stop, previous and next file, the
// two-track slider (frames decoded, play position), the position text and the buttons for saving
// the frame, zoom, full screen and switching views. Its buttons send ordinary commands to the
// frame; the canvas, the load thread and the frame drive it through a few operations, which may
// be called from the workers too (they are then carried out on the bar's own thread).
#include <atomic>
#include <climits>

#include "BarButton.h"
#include "BarItemList.h"
#include "BarSlider.h"
#include "Controls.h"
#include "FrameRules.h"
#include "SkinBar.h"

// The current frame and the frame count, "%d / %d".
class CBarPositionText : public CBarTextItem {
public:
    CBarPositionText(CBarItemList* owner, int left, int top, int right, int bottom, int commandId);

    void SetMaximum(int maximum);
    void SetPosition(int position);
    int GetMaximum() const { return m_nMaximum; }
    int GetPosition() const { return m_nPosition; }
    void DrawForeground(CDC* dc, const RECT& rect, int state) override;

protected:
    int m_nMaximum = -1;
    int m_nPosition = -1;
    int m_nDisplayMode = 0;   // frame numbers

    void UpdateText();
};

// The slider with the rounded ends of its channel.
class CPlaySlider : public CBarSlider {
public:
    using CBarSlider::CBarSlider;

    void SetChannelImages(CImageList* list);
    // The frame under a point of the bar (0-based), or -1.
    int FrameAt(CPoint point) const;
    // A press anywhere on the channel takes hold of the thumb: the drag seeks as it goes and
    // the release lands on the frame under the pointer.
    BOOL OnMouseMessage(const MSG* msg) override;

protected:
    void PaintChannel(CDC* dc, const BarBox& channel) override;

    CImageList* m_pChannel = nullptr;
    int m_nChannelWidth = 0;
    int m_nChannelHeight = 0;
};

class CPlayControlBar : public CSkinBar, public CBarItemList {
    FW_DECLARE_MESSAGE_MAP()
public:
    CBarImageItem* m_pPlay = nullptr;
    CBarImageItem* m_pPause = nullptr;
    CBarImageItem* m_pStop = nullptr;
    CBarImageItem* m_pSaveFrame = nullptr;
    CBarImageItem* m_pPrevious = nullptr;
    CBarImageItem* m_pNext = nullptr;
    CPlaySlider* m_pSlider = nullptr;
    CBarPositionText* m_pPosition = nullptr;
    CBarImageItem* m_pZoom = nullptr;
    CBarImageItem* m_pFullScreen = nullptr;
    CBarImageItem* m_pSwitch = nullptr;
    bool m_bDocked = false;   // layout 1: no switch button
    CToolTipCtrl m_wndToolTip;

    CPlayControlBar();

    void SetPlayState(int state);
    // Track 0: frames decoded; track 1: play position, which the position text shows. -1 clears.
    void SetFrameRange(int track, int maximum);
    void SetFramePos(int track, int value, BOOL redraw);
    void SetSplitButton(BOOL docked);
    void SetSwitchTooltip(BOOL toPlaylist);
    void SetFullScreenButton(BOOL fullScreen);

    BOOL PreTranslateMessage(MSG* msg) override;
    void OnUpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Where the items are now.
    void GetItemSpans(BarSpan (&spans)[BAR_ITEM_COUNT]) const;

protected:
    CImageList m_ilPlay, m_ilPause, m_ilStop, m_ilPrevious, m_ilNext, m_ilThumb, m_ilToPlay, m_ilToPlaylist, m_ilSave,
        m_ilZoom, m_ilFullScreen, m_ilLeaveFullScreen, m_ilChannel;
    CString m_strSliderTip;

    int OnCreate(LPCREATESTRUCTW cs);
    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    void OnMouseMove(UINT flags, CPoint point);
    void OnContextMenu(CWnd* wnd, CPoint point);
    LRESULT OnSliderPos(WPARAM wParam, LPARAM lParam);
    LRESULT OnFromWorker(WPARAM wParam, LPARAM lParam);
    void OnUpdatePosition(CCmdUI* ui);

private:
    BOOL CreateImages();
    void AddItems();
    void LayoutItems();
    // Positions left by the workers for the bar's thread (kNoPosition: none), and whether a
    // message to fetch them is on its way.
    static constexpr int kNoPosition = INT_MIN;
    std::atomic<int> m_nWorkerPos[2] = {kNoPosition, kNoPosition};
    std::atomic<bool> m_bWorkerPosPosted{false};

    bool OnOtherThread() const;
    // True when the call came from another thread and was handed to the bar's own.
    bool HandToBarThread(int operation, int a, int b, int c);
    void TakeWorkerPositions();
    void ShowFramePos(int track, int value, BOOL redraw);
};
