#include "ViewerGlobals.h"

#include "CWinApp.h"
#include "MainFrame.h"

CSettings* g_pSettings = nullptr;
CUIResources* g_pUIResources = nullptr;
CPlayView* g_pPlayView = nullptr;
CPlaylistView* g_pPlaylistView = nullptr;
CAnimationWnd* g_pCanvas = nullptr;
CPlayControlBar* g_pPlayControlBar = nullptr;
CMessageWnd* g_pMessageWnd = nullptr;

CMainFrame* GetMainFrame() { return dynamic_cast<CMainFrame*>(FwGetMainWnd()); }

void PumpUntilThreadEnds(HANDLE thread)
{
    if (!thread)
        return;
    bool quit = false;
    int quitCode = 0;
    while (::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // Kept for the outer loop; messages the worker sends are still served meanwhile.
                quit = true;
                quitCode = static_cast<int>(msg.wParam);
                continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    if (quit)
        ::PostQuitMessage(quitCode);
}

void WaitServingSentMessages(HANDLE thread)
{
    while (thread && ::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
