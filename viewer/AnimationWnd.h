#pragma once
// The canvas: paints the current frame of the current playlist item on a themed background,
// fitted or zoomed and centred, and owns the play thread that runs the play loop.
#include <atomic>

#include "CDC.h"
#include "CWinThread.h"
#include "CWnd.h"
#include "PlayLoop.h"

class CPlaylistItem;
class CrImage;
class CAnimationWnd;

class CGIFPlayThread : public CWinThread {
public:
    explicit CGIFPlayThread(CAnimationWnd* canvas) : m_pCanvas(canvas) { m_bAutoDelete = FALSE; }

    std::atomic<int> m_nStop{STOP_RUN};

    BOOL InitInstance() override;
    virtual void Stop() { StopWith(STOP_PAUSE); }
    virtual void StopWith(int code);
    // Returns when the thread has ended: its 0x5BD was handled by the play view, or, without a
    // play view, the thread itself was seen to end.
    virtual void WaitFinished();

private:
    CAnimationWnd* m_pCanvas;
};

class CAnimationWnd : public CWnd, private IPlayLoopHost {
    FW_DECLARE_MESSAGE_MAP()
public:
    // The background colour and the brush made from it.
    class CBackground {
    public:
        virtual ~CBackground() = default;
        COLORREF m_color = 0;
        CBrush m_brush;
    };

    CAnimationWnd();
    ~CAnimationWnd() override;

    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetBackground(COLORREF color);
    int SetItem(CPlaylistItem* item);
    int Close();
    int StartPlayThread();
    int PausePlayThread();
    int StopPlayThread(int code);
    int WaitPlayThread();
    int SeekFrame(int index, bool force);
    void SetZoom(int percent);
    int SetPlayState(int state);
    int Redraw();
    int Play(std::atomic<int>& stop);

    CPlaylistItem* GetItem() const { return m_pItem; }
    int GetPlayState() const { return m_position.playState; }
    int GetFrameIndex() const { return m_position.frameIndex; }
    int GetRepeatCount() const { return m_position.repeatCounter; }
    int GetZoom() const { return m_nZoom; }
    bool HasPlayThread() const { return m_pPlayThread != nullptr; }
    COLORREF GetBackgroundColor() const { return m_background.m_color; }

    void DrawCurrentFrame(CDC* dc);
    void DrawFrame(CDC* dc, CrImage* image, const CRect& client);
    void FillBackground(CDC* dc, const CRect& rect);
    // What the canvas says about an item that cannot be played: its file name and why.
    static CString ProblemMessage(const CPlaylistItem& item);

protected:
    void OnPaint();
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    // The canvas covers its view: the view's double click and middle click reach it from here.
    void OnLButtonDblClk(UINT flags, CPoint point) { ForwardToParent(WM_LBUTTONDBLCLK, flags, point); }
    void OnMButtonUp(UINT flags, CPoint point) { ForwardToParent(WM_MBUTTONUP, flags, point); }

private:
    // The play loop's view of the canvas (on the play thread).
    void ShowFrame(int index) override;
    void ShowProblem() override;
    void SetPositionRange(int last, int position) override;
    void ReportPlayState(int state) override { SetPlayState(state); }
    void SeekFirstFrame() override { SeekFrame(0, true); }
    void Sleep(int milliseconds) override { ::Sleep(DWORD(milliseconds)); }
    uint32_t TickCount() override;
    int RepeatMode() override;

    void DrawProblem(CDC* dc, const CRect& client, const CPlaylistItem& item);
    void ForwardToParent(UINT message, UINT flags, CPoint point);
    // The play position on the control bar.
    void ShowPosition(int index);
    // Paints the frame the loop shows now where the last one was and where this one goes.
    void RedrawPicture(int index);
    // Where the frame at `index` goes in the client rectangle, by its size, turns and the zoom.
    CRect PictureRect(int index, const CRect& client) const;

    CBackground m_background;
    CPlayPosition m_position;
    CPlaylistItem* m_pItem = nullptr;
    int m_nZoom = 100;
    CGIFPlayThread* m_pPlayThread = nullptr;
    unsigned m_nPlayThreadSerial = 0;
    CRect m_rcLoopPicture;   // the play thread's own: where its last frame went, empty at its start
};
