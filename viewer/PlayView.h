#pragma once
// The play pane: holds the canvas, turns the play commands of the menus, keys and control bar
// into canvas operations, decides what follows when a play thread ends and exports the current
// frame to the clipboard or a file.
#include "AnimationWnd.h"
#include "CFrameWnd.h"
#include "PlayCommands.h"

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

    // The current frame with the item's filters, as a packed bitmap on the clipboard. 0, or -1.
    int CopyFrameToClipboard();
    // The current frame into `path` in the format its extension names. 0; -1 with `error` set.
    int SaveFrame(const CString& path, CString& error);

    void OnInitialUpdate() override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnChar(UINT ch, UINT repeat, UINT flags);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnMButtonUp(UINT flags, CPoint point);
    void OnContextMenu(CWnd* wnd, CPoint point);
    LRESULT OnPlayFinished(WPARAM wParam, LPARAM lParam);
    LRESULT OnPlayItemMessage(WPARAM wParam, LPARAM lParam);

    void OnPlay();
    void OnUpdatePlay(CCmdUI* ui);
    void OnPause();
    void OnPauseResume();
    void OnStop();
    void OnUpdateStop(CCmdUI* ui);
    void OnPreviousFile() { PlayNeighbour(false); }
    void OnNextFile() { PlayNeighbour(true); }
    void OnUpdatePreviousFile(CCmdUI* ui);
    void OnUpdateNextFile(CCmdUI* ui);
    void OnPreviousFrame() { StepFrame(-1); }
    void OnNextFrame() { StepFrame(1); }
    void OnUpdatePreviousFrame(CCmdUI* ui);
    void OnUpdateNextFrame(CCmdUI* ui);
    void OnCopyFrame();
    void OnSaveFrame();
    void OnUpdateFrameExport(CCmdUI* ui);
    void OnGifInfo();
    void OnUpdateHasItem(CCmdUI* ui);
    void OnRepeatAll();
    void OnUpdateRepeatAll(CCmdUI* ui);
    void OnRepeatCurrent();
    void OnUpdateRepeatCurrent(CCmdUI* ui);
    void OnAutoPlayNext();
    void OnUpdateAutoPlayNext(CCmdUI* ui);
    void OnAfterCloseWindow();
    void OnUpdateAfterCloseWindow(CCmdUI* ui);
    void OnAfterShutdown();
    void OnUpdateAfterShutdown(CCmdUI* ui);
    void OnZoom(UINT id);
    void OnUpdateZoom(CCmdUI* ui);
    void OnZoomCycle();
    void OnFilter(UINT id);
    void OnUpdateFilter(CCmdUI* ui);
    void OnBackground(UINT id);
    void OnUpdateBackground(CCmdUI* ui);
    void OnHatch(UINT id);
    void OnUpdateHatch(CCmdUI* ui);
    void OnSwitchView(UINT id);
    void OnUpdateSwitchView(CCmdUI* ui);

private:
    PlayStatus GetStatus() const;
    void PlayNeighbour(bool next);
    void StepFrame(int delta);
    void PostToFrame(UINT command);
    void ShowHint(const wchar_t* text);
    // The filter flag of the current item that a filter command toggles; null without an item.
    int* FilterFlag(UINT id) const;
    // The canvas background again, after the theme or hatch changed.
    void RebuildBackground();
};
