#pragma once
// The viewer's main window: the drawn menu bar, the play control bar, the layout window with the
// play and playlist panes, the welcome window and the hint. It routes commands to both views,
// keeps the title in step with the current item, moves the canvas between the views and applies
// the window options (always on top, translucent, full screen, control bar).
#include "CFrameWnd.h"
#include "FullScreenHandler.h"
#include "LayoutWnd.h"
#include "MainMenuBar.h"
#include "MessageWnd.h"
#include "OVMBFrameWnd.h"
#include "PlayControlBar.h"
#include "WelcomeWnd.h"

class CView;

// The layout window's mode while it exists (it follows "Dock Playlist Bar" at once), else the
// stored ViewLayout.
int CurrentLayoutMode();

class CMainFrame : public COVMBFrameWnd, public CFullScreenHandler {
    FW_DECLARE_MESSAGE_MAP()
public:
    CMainMenuBar m_wndMenuBar;
    CPlayControlBar m_wndPlayBar;
    CWelcomeWnd m_wndWelcome;   // shown instead of the layout window while the playlist is empty
    CLayoutWnd m_wndLayout;
    CMessageWnd m_wndMessage;

    CMainFrame();

    void ShowPlayView();
    void ShowPlaylistView();
    void MoveCanvasTo(CView* view);
    // Null hides the hint.
    void ShowHint(const wchar_t* text);
    void UpdateWindowTitle();
    void ToggleFullScreen();
    void SetTransparent(BOOL on);
    // The playlist's file count on the menu bar, and the welcome window while it is empty.
    void ShowPlaylistStatus(int count);

    BOOL OnCmdMsg(UINT id, int code, void* extra, bool probe = false) override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void RecalcLayout(BOOL notify = TRUE) override;
    BOOL OnCreateClient(LPCREATESTRUCTW cs, CCreateContext* context) override;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    LRESULT OnDropFiles(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueryEndSession(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
    LRESULT OnWindowPosChanging(WPARAM wParam, LPARAM lParam);
    LRESULT OnWindowPosChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnLayoutChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnCheckUpdate(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnDdeInitiate(WPARAM wParam, LPARAM lParam);
    LRESULT OnDdeExecute(WPARAM wParam, LPARAM lParam);
    LRESULT OnDdeTerminate(WPARAM wParam, LPARAM lParam);

    void OnDockPlaylist();
    void OnUpdateDockPlaylist(CCmdUI* ui);
    void OnFullScreen() { ToggleFullScreen(); }
    void OnUpdateFullScreen(CCmdUI* ui);
    void OnAlwaysOnTop();
    void OnUpdateAlwaysOnTop(CCmdUI* ui);
    void OnTransparent();
    void OnUpdateTransparent(CCmdUI* ui);
    void OnControlBar();
    void OnUpdateControlBar(CCmdUI* ui);
    void OnRestoreOrMinimise();

private:
    // The arrow keys belong to the playlist's grid while it has the focus.
    bool IsGridKey(const MSG* msg) const;
};
