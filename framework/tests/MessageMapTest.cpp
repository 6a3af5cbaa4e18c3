#include <gtest/gtest.h>

#include <vector>

#include "FwTestSupport.h"

namespace {

constexpr UINT kPrivate = WM_USER + 0x5B8;
constexpr UINT kButtonId = 1001;

// A window whose handlers note what reached them.
class CProbeWnd : public CWnd {
    FW_DECLARE_MESSAGE_MAP()
public:
    std::vector<CString> calls;
    BOOL handleUpdate = TRUE;

    BOOL CreateTop()
    {
        BOOL ok = CreateEx(0, nullptr, L"probe", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr);
        calls.clear();   // creation's own messages
        return ok;
    }

protected:
    LRESULT OnPrivate(WPARAM w, LPARAM l) { calls.push_back(L"private"); return static_cast<LRESULT>(w + l); }
    void OnSave() { calls.push_back(L"save"); }
    void OnRange(UINT id) { CString t; t.Format(L"range %u", id); calls.push_back(t); }
    void OnUpdateSave(CCmdUI* ui) { ui->Enable(handleUpdate); calls.push_back(L"update"); }
    void OnButtonDouble() { calls.push_back(L"double"); }
    void OnTimer(UINT_PTR id) { KillTimer(id); calls.push_back(L"timer"); }
    void OnHeaderNotify(NMHDR*, LRESULT* result) { *result = 42; calls.push_back(L"notify"); }
    void OnSize(UINT, int cx, int cy) { CString t; t.Format(L"size %dx%d", cx, cy); calls.push_back(t); Default(); }
};

FW_BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
    FwOnMessage(kPrivate, &ThisClass::OnPrivate),
    FwOnCommand(100, &ThisClass::OnSave),
    FwOnCommandRange(200, 210, &ThisClass::OnRange),
    FwOnUpdateCommand(100, &ThisClass::OnUpdateSave),
    FwOnControl(BN_DOUBLECLICKED, kButtonId, &ThisClass::OnButtonDouble),
    FwOnTimer(&ThisClass::OnTimer),
    FwOnNotify(NM_CLICK, 7, &ThisClass::OnHeaderNotify),
    FwOnSize(&ThisClass::OnSize),
FW_END_MESSAGE_MAP()

// A derived map answers first; the base entries still work.
class CDerivedWnd : public CProbeWnd {
    FW_DECLARE_MESSAGE_MAP()
protected:
    void OnSaveDerived() { calls.push_back(L"derived save"); }
};

FW_BEGIN_MESSAGE_MAP(CDerivedWnd, CProbeWnd)
    FwOnCommand(100, &ThisClass::OnSaveDerived),
FW_END_MESSAGE_MAP()

// A button that handles its own click; answering FALSE lets the parent see it too.
class CSelfButton : public CButton {
    FW_DECLARE_MESSAGE_MAP()
public:
    BOOL passOn = FALSE;
    int clicks = 0;

protected:
    BOOL OnClicked() { clicks++; return !passOn; }
};

FW_BEGIN_MESSAGE_MAP(CSelfButton, CButton)
    FwOnReflectControl(BN_CLICKED, &ThisClass::OnClicked),
FW_END_MESSAGE_MAP()

// Remembers the messages offered to PreTranslateMessage.
class CFilterWnd : public CProbeWnd {
public:
    UINT eaten = 0;
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN) {
            eaten = static_cast<UINT>(msg->wParam);
            return TRUE;
        }
        return FALSE;
    }
};

} // namespace

TEST(MessageMap, DispatchesMessagesCommandsRangesAndNotifications)
{
    CProbeWnd wnd;
    ASSERT_TRUE(wnd.CreateTop());
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    EXPECT_EQ(wnd.SendMessage(kPrivate, 2, 3), 5);
    wnd.SendMessage(WM_COMMAND, 100, 0);
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(205, 1), 0);   // from an accelerator
    wnd.SendMessage(WM_COMMAND, 211, 0);                  // outside the range: nobody
    NMHDR header{wnd.m_hWnd, 7, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header)), 42);
    NMHDR other{wnd.m_hWnd, 8, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 8, reinterpret_cast<LPARAM>(&other)), 0);
    wnd.SetWindowPos(HWND(nullptr), 0, 0, 120, 80, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    wnd.SetTimer(5, 10);
    EXPECT_TRUE(PumpUntil([&] { return !wnd.calls.empty() && wnd.calls.back() == L"timer"; }));
    std::vector<CString> expected{L"private", L"save", L"range 205", L"notify"};
    ASSERT_GE(wnd.calls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); i++)
        EXPECT_EQ(wnd.calls[i], expected[i]) << i;
    EXPECT_NE(std::find(wnd.calls.begin(), wnd.calls.end(), CString(L"size 120x80")), wnd.calls.end());
    wnd.DestroyWindow();
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(header.hwndFrom), nullptr);
}

TEST(MessageMap, DerivedEntriesComeFirst)
{
    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.CreateTop());
    wnd.SendMessage(WM_COMMAND, 100, 0);
    wnd.SendMessage(WM_COMMAND, 200, 0);
    ASSERT_EQ(wnd.calls.size(), 2u);
    EXPECT_EQ(wnd.calls[0], L"derived save");
    EXPECT_EQ(wnd.calls[1], L"range 200");
}

TEST(MessageMap, ControlNotificationsAreReflectedFirst)
{
    CProbeWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    CSelfButton button;
    ASSERT_TRUE(button.Create(L"b", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 50, 20), &parent, 100));
    // The click is the button's own business: the parent's command 100 does not run.
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), reinterpret_cast<LPARAM>(button.m_hWnd));
    EXPECT_EQ(button.clicks, 1);
    EXPECT_TRUE(parent.calls.empty());
    button.passOn = TRUE;
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), reinterpret_cast<LPARAM>(button.m_hWnd));
    EXPECT_EQ(button.clicks, 2);
    ASSERT_EQ(parent.calls.size(), 1u);
    EXPECT_EQ(parent.calls[0], L"save");
    // Other notification codes reach the parent's control entries by id.
    CButton plain;
    ASSERT_TRUE(plain.Create(L"p", WS_CHILD | BS_PUSHBUTTON, CRect(0, 30, 50, 50), &parent, kButtonId));
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(kButtonId, BN_DOUBLECLICKED), reinterpret_cast<LPARAM>(plain.m_hWnd));
    EXPECT_EQ(parent.calls.back(), L"double");
}

TEST(MessageMap, CommandUpdateEnablesChecksAndDisablesUnhandled)
{
    CProbeWnd wnd;
    ASSERT_TRUE(wnd.CreateTop());
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 100, L"Save");     // update handler: enabled
    menu.AppendMenu(MF_STRING, 205, L"Range");    // command handler only: stays enabled
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, 300, L"Nobody");   // no handler: disabled
    menu.AppendMenu(MF_STRING, 0xF120, L"System");// system range: never auto-disabled
    FwUpdateMenuPopup(&wnd, &menu, TRUE);
    EXPECT_EQ(menu.GetMenuState(100, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(menu.GetMenuState(205, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_NE(menu.GetMenuState(300, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(menu.GetMenuState(0xF120, MF_BYCOMMAND) & MF_GRAYED, 0u);
    wnd.handleUpdate = FALSE;
    FwUpdateMenuPopup(&wnd, &menu, FALSE);
    EXPECT_NE(menu.GetMenuState(100, MF_BYCOMMAND) & MF_GRAYED, 0u);

    // The same request against a control.
    CButton button;
    ASSERT_TRUE(button.Create(L"b", WS_CHILD | BS_PUSHBUTTON, CRect(0, 0, 50, 20), &wnd, 300));
    wnd.UpdateDialogControls(&wnd, TRUE);
    EXPECT_FALSE(button.IsWindowEnabled());
    CCmdUI ui;
    ui.m_nID = 300;
    ui.m_pOther = &button;
    ui.SetText(L"changed");
    EXPECT_EQ(button.GetWindowText(), L"changed");
}

TEST(MessageMap, PreTranslateWalksFromTheChildUp)
{
    CFilterWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &parent, 5));
    MSG msg{edit.m_hWnd, WM_KEYDOWN, 'Q', 0, 0, {0, 0}};
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(parent.m_hWnd, &msg));
    EXPECT_EQ(parent.eaten, static_cast<UINT>('Q'));
    msg.message = WM_KEYUP;
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(parent.m_hWnd, &msg));
}

TEST(MessageMap, TemporaryWrappersForForeignWindows)
{
    CProbeWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    HWND child = ::CreateWindowExW(0, L"STATIC", L"x", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd, nullptr, nullptr, nullptr);
    CWnd* temp = CWnd::FromHandle(child);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(child), nullptr);
    EXPECT_EQ(temp->GetParent(), &parent);
    EXPECT_EQ(temp->GetWindowText(), L"x");
    CWnd::DeleteTempMap();
    CStatic own;
    EXPECT_TRUE(own.SubclassWindow(child));
    EXPECT_EQ(CWnd::FromHandle(child), &own);
    EXPECT_EQ(own.UnsubclassWindow(), child);
    EXPECT_EQ(CWnd::FromHandlePermanent(child), nullptr);
}

namespace {

// Refuses its creation; on the heap it deletes itself once its window is gone.
class CRefusingWnd : public CWnd {
    FW_DECLARE_MESSAGE_MAP()
public:
    bool* deleted = nullptr;
    bool onHeap = false;
    ~CRefusingWnd() override
    {
        if (deleted)
            *deleted = true;
    }
    void PostNcDestroy() override
    {
        if (onHeap)
            delete this;
    }

protected:
    int OnCreate(LPCREATESTRUCTW) { return -1; }
};

FW_BEGIN_MESSAGE_MAP(CRefusingWnd, CWnd)
    FwOnCreate(&ThisClass::OnCreate),
FW_END_MESSAGE_MAP()

} // namespace

TEST(MessageMap, RefusedCreationLeavesNoWindow)
{
    CRefusingWnd local;
    EXPECT_FALSE(local.CreateEx(0, nullptr, L"no", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(local.m_hWnd, nullptr);

    bool deleted = false;
    auto* heap = new CRefusingWnd;
    heap->deleted = &deleted;
    heap->onHeap = true;
    EXPECT_FALSE(heap->CreateEx(0, nullptr, L"no", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_TRUE(deleted);
}
