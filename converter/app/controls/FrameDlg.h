#pragma once
// A dialog that serves as a program's main window: its icons, tool tips for its controls and
// toolbar buttons (from the string table), and command-state updates of the menus it opens.
#include "CDialog.h"
#include "Controls.h"

class CFrameDlg : public CDialog {
    FW_DECLARE_MESSAGE_MAP()
public:
    CFrameDlg(UINT templateId, CWnd* parent = nullptr);
    ~CFrameDlg() override;

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    HICON m_hIcon = nullptr;        // resource 128, large
    HICON m_hSmallIcon = nullptr;   // resource 128 at 16 x 16
    // Menu commands below the system range that nobody updates are disabled.
    int m_bAutoMenuEnable = 1;
    CToolTipCtrl m_toolTip;

protected:
    int OnCreate(LPCREATESTRUCTW create);
    void OnPaint();
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    void OnToolTipTextW(UINT id, NMHDR* header, LRESULT* result);
    void OnToolTipTextA(UINT id, NMHDR* header, LRESULT* result);

private:
    // The tool's command: the control id when the tool is a window.
    static UINT ToolCommand(const NMHDR* header, UINT flags);
    static void RaiseTip(const NMHDR* header);
};
