#include <gtest/gtest.h>

#include "FrameworkTestRes.h"
#include "FwTestSupport.h"

namespace {

struct BoxSearch {
    HWND except;
    HWND found;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM p)
{
    auto* s = reinterpret_cast<BoxSearch*>(p);
    wchar_t cls[32] = L"";
    ::GetClassNameW(hwnd, cls, 32);
    if (hwnd != s->except && ::IsWindowVisible(hwnd) && ::lstrcmpW(cls, L"#32770") == 0) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindMessageBox(HWND except)
{
    BoxSearch search{except, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

CString MessageBoxText(HWND box)
{
    CString text;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[32] = L"";
        ::GetClassNameW(child, cls, 32);
        if (::lstrcmpiW(cls, L"Static") == 0)
            text += CWnd::FromHandle(child)->GetWindowText();
    }
    return text;
}

// Shown modally; its timer reads the controls, types new values (first an invalid count, then
// a valid one) and presses OK.
class CEntryDlg : public CDialog {
    FW_DECLARE_MESSAGE_MAP()
public:
    CString name = L"Hello";
    int count = 3;
    int flag = 1;
    int choice = 0;
    int pick = 2;

    CString shownName, shownCount, validationMessage;
    int shownFlag = -1, shownChoiceA = -1, shownPick = -1;
    int step = 0;

    CEntryDlg() : CDialog(IDD_ENTRY) {}

    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, IDC_NAME, name);
        DDX_Text(dx, IDC_COUNT, count);
        DDV_MinMaxInt(dx, count, 1, 10);
        DDX_Check(dx, IDC_FLAG, flag);
        DDX_Radio(dx, IDC_CHOICE_A, choice);
        DDX_CBIndex(dx, IDC_PICK, pick);
    }

    BOOL OnInitDialog() override
    {
        for (const wchar_t* entry : {L"zero", L"one", L"two"})
            SendDlgItemMessage(IDC_PICK, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        CDialog::OnInitDialog();
        SetTimer(1, 50);
        return TRUE;
    }

protected:
    void OnTimer(UINT_PTR)
    {
        step++;
        if (step == 1) {
            shownName = GetDlgItemText(IDC_NAME);
            shownCount = GetDlgItemText(IDC_COUNT);
            shownFlag = static_cast<int>(IsDlgButtonChecked(IDC_FLAG));
            shownChoiceA = static_cast<int>(IsDlgButtonChecked(IDC_CHOICE_A));
            shownPick = static_cast<int>(SendDlgItemMessage(IDC_PICK, CB_GETCURSEL));
            SetDlgItemText(IDC_NAME, L"World");
            SetDlgItemText(IDC_COUNT, L"99");
            CheckDlgButton(IDC_FLAG, BST_UNCHECKED);
            CheckRadioButton(IDC_CHOICE_A, IDC_CHOICE_B, IDC_CHOICE_B);
            SendDlgItemMessage(IDC_PICK, CB_SETCURSEL, 0);
            PostMessage(WM_COMMAND, IDOK);
        } else if (validationMessage.IsEmpty()) {
            // The range message is up, in its own modal loop: read and dismiss it.
            if (HWND box = FindMessageBox(m_hWnd)) {
                validationMessage = MessageBoxText(box);
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
        } else if (IsWindowEnabled() && !FindMessageBox(m_hWnd)) {
            KillTimer(1);
            SetDlgItemText(IDC_COUNT, L"7");
            PostMessage(WM_COMMAND, IDOK);
        }
        if (step > 200)
            EndDialog(IDABORT);
    }
};

FW_BEGIN_MESSAGE_MAP(CEntryDlg, CDialog)
    FwOnTimer(&ThisClass::OnTimer),
FW_END_MESSAGE_MAP()

// Closed by its timer through Cancel: the members keep their values.
class CCancelDlg : public CEntryDlg {
    FW_DECLARE_MESSAGE_MAP()
protected:
    void OnTimerCancel(UINT_PTR)
    {
        KillTimer(1);
        SetDlgItemText(IDC_NAME, L"Changed");
        PostMessage(WM_COMMAND, IDCANCEL);
    }
};

FW_BEGIN_MESSAGE_MAP(CCancelDlg, CEntryDlg)
    FwOnTimer(&ThisClass::OnTimerCancel),
FW_END_MESSAGE_MAP()

} // namespace

TEST(Dialog, DataExchangeInBothDirectionsWithValidation)
{
    CEntryDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    // Members to controls.
    EXPECT_EQ(dlg.shownName, L"Hello");
    EXPECT_EQ(dlg.shownCount, L"3");
    EXPECT_EQ(dlg.shownFlag, 1);
    EXPECT_EQ(dlg.shownChoiceA, 1);
    EXPECT_EQ(dlg.shownPick, 2);
    // The out-of-range count kept the dialog open with the range message.
    EXPECT_EQ(dlg.validationMessage, L"Please enter an integer between 1 and 10.");
    // Controls to members.
    EXPECT_EQ(dlg.name, L"World");
    EXPECT_EQ(dlg.count, 7);
    EXPECT_EQ(dlg.flag, 0);
    EXPECT_EQ(dlg.choice, 1);
    EXPECT_EQ(dlg.pick, 0);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(Dialog, CancelLeavesTheMembers)
{
    CCancelDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.name, L"Hello");
}

TEST(Dialog, MissingTemplateFails)
{
    CDialog dlg(4242);
    EXPECT_EQ(dlg.DoModal(), -1);
}
