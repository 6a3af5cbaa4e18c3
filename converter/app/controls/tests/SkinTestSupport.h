#pragma once
// The skinned controls' test dialog: a teal background of its own, so that a control that lets
// the parent's background through shows it.
#include <gtest/gtest.h>

#include "CDC.h"
#include "ControlsTestRes.h"
#include "FrameDlg.h"
#include "FwTestSupport.h"
#include "GuiDriving.h"

constexpr COLORREF kTeal = RGB(0, 128, 128);

class SkinTestDlg : public CFrameDlg {
    FW_DECLARE_MESSAGE_MAP()
public:
    SkinTestDlg() : CFrameDlg(IDD_SKIN_TEST) {}
    BOOL OnEraseBkgnd(CDC* dc)
    {
        CRect client;
        GetClientRect(&client);
        dc->FillSolidRect(client, kTeal);
        return TRUE;
    }
    LRESULT OnCtlColor(WPARAM wParam, LPARAM)
    {
        ::SetBkColor(reinterpret_cast<HDC>(wParam), kTeal);
        return reinterpret_cast<LRESULT>(m_brush.GetSafeHandle());
    }
    void OnCommandFromCombo(UINT) { m_editChanges++; }
    int m_editChanges = 0;
    CBrush m_brush{kTeal};
};

// The dialog on top at a fixed place, the pointer out of its way.
class SkinDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApp();
        ASSERT_TRUE(m_dlg.Create(IDD_SKIN_TEST));
        m_dlg.SetWindowPos(HWND_TOPMOST, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        m_dlg.SetForegroundWindow();
        MoveMouseTo(1200, 1000);
        PumpUntil([] { return false; }, 200);
    }
    void TearDown() override { m_dlg.DestroyWindow(); }

    SkinTestDlg m_dlg;
};

// The control's area on the screen, after it has painted.
inline ScreenShot ShotOf(CWnd& control)
{
    control.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
    PumpUntil([] { return false; }, 150);
    RECT r;
    control.GetWindowRect(&r);
    return ScreenShot(r);
}

inline RECT ScreenRectOf(CWnd& control)
{
    RECT r;
    control.GetWindowRect(&r);
    return r;
}
