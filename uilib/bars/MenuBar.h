#pragma once
// A window's menu shown as a row of drawn entries instead of the system's menu bar, with the
// keyboard and mouse navigation users expect: a click or Alt+mnemonic opens an entry's popup,
// Left and Right move to the neighbouring entry even while a popup is open, Escape steps back,
// a click elsewhere ends menu mode. The frame hands it its menu and its menu messages.
#include "BarItemList.h"
#include "SkinBar.h"

// Posted to the bar: open entry wParam; LOWORD(lParam) non-zero when opened from the keyboard.
constexpr UINT WM_MENUBAR_OPENITEM = WM_USER + 100;

class CMenuBarItem : public CBarItem {
public:
    CMenuBarItem(CBarItemList* owner, const CString& text);

    // Drawn by the bar with its colours; alone, in the system's menu colours.
    void Paint(CDC* dc) override;
    // textColours: {normal, hot}.
    virtual void Draw(CDC* dc, const COLORREF* textColours, COLORREF highlight);
    virtual void DrawHighlight(CDC* dc, COLORREF highlight, const RECT& rect);
    virtual void DrawText(CDC* dc, const COLORREF* textColours, const RECT& rect);

    const CString& GetText() const { return m_strText; }
    wchar_t GetMnemonic() const { return m_chMnemonic; }

protected:
    CString m_strText;      // as the menu has it, ampersands included
    wchar_t m_chMnemonic;   // 0: none
};

class CMenuBar : public CSkinBar, public CBarItemList {
    FW_DECLARE_MESSAGE_MAP()
public:
    CMenuBar();
    ~CMenuBar() override;

    // One entry per top-level position of `menu`, which the bar owns from now on. Entries are
    // laid out from the right edge when `rightAligned` is set.
    void LoadMenu(HMENU menu, BOOL rightAligned);
    HMENU GetMenuHandle() const { return m_hMenu; }
    // Index of the first entry with that access key (case ignored), or -1.
    int FindMnemonic(wchar_t ch) const;

    // From the frame: Alt pressed alone (TRUE when the bar took it), Alt+letter without a match
    // in the window menu (TRUE when an entry opens), and the popups' notifications.
    BOOL OnFrameSysCommand(UINT id, LPARAM lParam);
    BOOL OnFrameMenuChar(UINT ch, UINT flags, HMENU menu);
    void OnFrameInitMenuPopup(HMENU popup, UINT index, BOOL system);
    void OnFrameMenuSelect(UINT item, UINT flags, HMENU menu);

    BOOL PreTranslateMessage(MSG* msg) override;
    void OnUpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler) override;
    virtual void LayoutItems(CDC* dc);
    virtual void DrawBackground(CDC* dc);
    void PaintItems(CDC* dc) override;
    virtual void DrawItems(CDC* dc, const COLORREF* textColours, COLORREF highlight);

    BOOL IsInMenuMode() const { return m_bMenuMode; }
    BOOL IsTrackingPopup() const { return m_bTracking; }
    int GetCurrentIndex() const { return m_nCurrentIndex; }

    // The menu-loop filter hands the bar the messages of its popup.
    void OnMenuLoopMessage(const MSG* msg);

protected:
    int m_nBottomInset = 0;
    HMENU m_hMenu = nullptr;
    BOOL m_bRightAligned = FALSE;
    COLORREF m_crText;
    COLORREF m_crHotText;
    COLORREF m_crHighlight;
    CPoint m_ptLastMouse;
    HWND m_hWndOldFocus = nullptr;
    HMENU m_hTrackedPopup = nullptr;
    int m_nCurrentIndex = -1;
    BOOL m_bMenuMode = FALSE;
    BOOL m_bTracking = FALSE;
    BOOL m_bTopLevelPopup = FALSE;
    BOOL m_bOpensSubmenu = FALSE;
    BOOL m_bStayInMenuMode = FALSE;
    BOOL m_bSwitchRequested = FALSE;
    BOOL m_bOpenWithKeyboard = FALSE;
    BOOL m_bLayoutNeeded = FALSE;

    void EnterMenuMode(int index);
    void ExitMenuMode();
    // Closes the open popup so that the tracking loop reopens on the current entry.
    void CancelAndSwitch(BOOL keyboard);
    CWnd* MenuOwner() const;
    // Tracks the popup of the current entry; FALSE when the entry has none.
    BOOL TrackCurrentPopup();
    // A click elsewhere in menu mode ends it and goes to the window under the point; TRUE then.
    BOOL FilterClickOutside(UINT message, UINT flags, CPoint point);

    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnSysKeyDown(UINT key, UINT repeat, UINT flags);
    LRESULT OnKillFocus(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    LRESULT OnOpenItem(WPARAM wParam, LPARAM lParam);
};
