#pragma once
// A frame window whose menu is shown by a drawn menu bar docked at its top instead of the
// system's menu bar. The derived frame supplies the bar (usually a member) before the window is
// made; the frame moves the menu it was loaded with into the bar and hands the bar the menu
// messages, so that Alt, Alt+letter and popup navigation keep working.
#include "CFrameWnd.h"
#include "DrawnPopupMenus.h"
#include "MenuBar.h"

// The control id of the menu bar.
constexpr UINT FW_IDW_MENUBAR = 0xE800;

class COVMBFrameWnd : public CFrameWnd {
    FW_DECLARE_MESSAGE_MAP()
public:
    BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW, CWnd* parent = nullptr,
                   CCreateContext* context = nullptr) override;

    CMenuBar* GetMenuBar() const { return m_pMenuBar; }

protected:
    CMenuBar* m_pMenuBar = nullptr;   // not owned
    int m_nMenuBarHeight = 21;
    CDrawnPopupMenus m_popups;

    int OnCreate(LPCREATESTRUCTW cs);
    LRESULT OnMenuChar(WPARAM wParam, LPARAM lParam);
    LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnUninitMenuPopup(WPARAM wParam, LPARAM lParam);
    LRESULT OnMeasureItem(WPARAM wParam, LPARAM lParam);
    LRESULT OnDrawItem(WPARAM wParam, LPARAM lParam);
};
