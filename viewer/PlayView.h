#pragma once
// The play pane: holds the canvas, turns the play commands into canvas operations and decides
// what follows when a play thread ends.
#include "AnimationWnd.h"
#include "CFrameWnd.h"

class CPlaylistItem;

class CPlayView : public CView {
    FW_DECLARE_MESSAGE_MAP()
public:
    CAnimationWnd m_canvas;
    int m_bShutdownAfterPlayback = 0;

    CPlayView();
    ~CPlayView() override;

    int PlayItem(CPlaylistItem* item, CView* host);
    int StartPlayback(CView* host);
    void PausePlayback() { m_canvas.PausePlayThread(); }
    void StopPlayback(int code) { m_canvas.StopPlayThread(code); }
    void CloseItem();
    void ResizeCanvas();
    // The canvas's play state changed (on the play thread too): the item's cell shows it.
    void OnPlayStateChanged(int state);

    void OnInitialUpdate() override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    BOOL OnEraseBkgnd(CDC* dc);
    LRESULT OnPlayFinished(WPARAM wParam, LPARAM lParam);
    LRESULT OnPlayItemMessage(WPARAM wParam, LPARAM lParam);
    void OnPlay();
    void OnStop();
    void OnPreviousFile() { PlayNeighbour(false); }
    void OnNextFile() { PlayNeighbour(true); }

private:
    void PlayNeighbour(bool next);
};
