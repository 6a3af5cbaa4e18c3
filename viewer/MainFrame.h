#pragma once
// The viewer's main window: the play pane and the playlist pane, one shown at a time, the window
// title that follows the current item, dropped files and saving the settings when Windows ends.
#include "CFrameWnd.h"

class CPlayView;
class CPlaylistView;

class CMainFrame : public CFrameWnd {
    FW_DECLARE_MESSAGE_MAP()
public:
    void ShowPlayView();
    void ShowPlaylistView();
    void UpdateWindowTitle();

    BOOL OnCreateClient(LPCREATESTRUCTW cs, CCreateContext* context) override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, bool probe = false) override;
    void RecalcLayout(BOOL notify = TRUE) override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

protected:
    LRESULT OnDropFiles(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueryEndSession(WPARAM wParam, LPARAM lParam);
    LRESULT OnCheckUpdate(WPARAM wParam, LPARAM lParam);

private:
    // Pane 0 is the play view, pane 1 the playlist view.
    void ActivatePane(int index);
    CView* GetPane(int index) const;
};
