#include "CDialog.h"

#include <cwchar>
#include <limits>

#include "CFrameWnd.h"
#include "CWinApp.h"

namespace {

INT_PTR CALLBACK FwDlgProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

bool ParseInt(const CString& text, long long& value)
{
    CString trimmed = text;
    trimmed.Trim();
    if (trimmed.IsEmpty())
        return false;
    wchar_t* end = nullptr;
    value = std::wcstoll(trimmed, &end, 10);
    return end && *end == 0;
}

} // namespace

// ---- data exchange --------------------------------------------------------------------------

HWND CDataExchange::PrepareCtrl(int id)
{
    m_hWndLastControl = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    return m_hWndLastControl;
}

void CDataExchange::Fail(const wchar_t* message)
{
    if (message && *message)
        m_pDlgWnd->MessageBox(message, nullptr, MB_OK | MB_ICONEXCLAMATION);
    if (m_hWndLastControl && m_bSaveAndValidate) {
        ::SetFocus(m_hWndLastControl);
        ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    throw new CUserException;
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.m_hWnd)
        return;
    HWND hwnd = dx->PrepareCtrl(id);
    if (!hwnd || !control.SubclassWindow(hwnd))
        dx->Fail(nullptr);
}

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    HWND hwnd = dx->PrepareCtrl(id);
    if (!hwnd)
        return;
    if (dx->m_bSaveAndValidate)
        value = CWnd::FromHandle(hwnd)->GetWindowText();
    else
        ::SetWindowTextW(hwnd, value);
}

namespace {

// A number typed into a control: written with `format`, read back within the type's range.
template <class T>
void ExchangeNumber(CDataExchange* dx, int id, T& value, const wchar_t* format, const wchar_t* message)
{
    HWND hwnd = dx->PrepareCtrl(id);
    if (!hwnd)
        return;
    if (!dx->m_bSaveAndValidate) {
        CString text;
        text.Format(format, value);
        ::SetWindowTextW(hwnd, text);
        return;
    }
    long long parsed = 0;
    if (!ParseInt(CWnd::FromHandle(hwnd)->GetWindowText(), parsed) || parsed < std::numeric_limits<T>::min() ||
        parsed > static_cast<long long>(std::numeric_limits<T>::max()))
        dx->Fail(message);
    value = static_cast<T>(parsed);
}

} // namespace

void DDX_Text(CDataExchange* dx, int id, int& value) { ExchangeNumber(dx, id, value, L"%d", L"Please enter an integer."); }

void DDX_Text(CDataExchange* dx, int id, UINT& value)
{
    ExchangeNumber(dx, id, value, L"%u", L"Please enter a positive integer.");
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    HWND hwnd = dx->PrepareCtrl(id);
    if (!hwnd)
        return;
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageW(hwnd, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(hwnd, BM_SETCHECK, value == 1 ? BST_CHECKED : (value == 2 ? BST_INDETERMINATE : BST_UNCHECKED), 0);
}

void DDX_Radio(CDataExchange* dx, int id, int& value)
{
    HWND first = dx->PrepareCtrl(id);
    if (!first)
        return;
    if (dx->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    for (HWND button = first; button; button = ::GetWindow(button, GW_HWNDNEXT), index++) {
        if (button != first && (::GetWindowLongPtrW(button, GWL_STYLE) & WS_GROUP))
            break;
        if (dx->m_bSaveAndValidate) {
            if (::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                value = index;
                break;
            }
        } else {
            ::SendMessageW(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index)
{
    HWND hwnd = dx->PrepareCtrl(id);
    if (!hwnd)
        return;
    if (dx->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(hwnd, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_CBString(CDataExchange* dx, int id, CString& value)
{
    HWND hwnd = dx->PrepareCtrl(id);
    if (!hwnd)
        return;
    if (dx->m_bSaveAndValidate) {
        value = CWnd::FromHandle(hwnd)->GetWindowText();
        return;
    }
    // A listed entry is selected; any other text goes into the edit part.
    LRESULT found = ::SendMessageW(hwnd, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString()));
    if (found == CB_ERR)
        ::SetWindowTextW(hwnd, value);
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minimum, int maximum)
{
    if (!dx->m_bSaveAndValidate || (value >= minimum && value <= maximum))
        return;
    CString message;
    message.Format(L"Please enter an integer between %d and %d.", minimum, maximum);
    dx->Fail(message);
}

void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minimum, UINT maximum)
{
    if (!dx->m_bSaveAndValidate || (value >= minimum && value <= maximum))
        return;
    CString message;
    message.Format(L"Please enter an integer between %u and %u.", minimum, maximum);
    dx->Fail(message);
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int maximum)
{
    if (!dx->m_bSaveAndValidate || value.GetLength() <= maximum)
        return;
    CString message;
    message.Format(L"Enter no more than %d characters.", maximum);
    dx->Fail(message);
}

// ---- dialog ---------------------------------------------------------------------------------

FW_BEGIN_MESSAGE_MAP(CDialog, CWnd)
    FwOnMessage(WM_INITDIALOG, &ThisClass::OnInitDialogMessage),
    FwOnCommand(IDOK, &ThisClass::OnOK),
    FwOnCommand(IDCANCEL, &ThisClass::OnCancel),
FW_END_MESSAGE_MAP()

BOOL CDialog::CreateFromTemplate(HWND owner)
{
    UINT id = m_nIDTemplate;
    return HookedCreate([id, owner] {
        return ::CreateDialogParamW(FwGetResourceHandle(), MAKEINTRESOURCEW(id), owner, FwDlgProc, 0);
    });
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_nIDTemplate = templateId;
    m_pParentWnd = parent;
    return CreateFromTemplate(FwHwnd(parent));
}

HWND CDialog::FindModalOwner() const
{
    HWND owner = FwHwnd(m_pParentWnd);
    if (!owner) {
        CWinThread* thread = FwGetThread();
        CWnd* main = thread ? thread->GetMainWnd() : nullptr;
        if (main && main->m_hWnd && ::GetWindowThreadProcessId(main->m_hWnd, nullptr) == ::GetCurrentThreadId())
            owner = main->m_hWnd;
    }
    return owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
}

void CDialog::UpdateOwnerCommands()
{
    CWinThread* thread = FwGetThread();
    // Only a frame's bars: a dialog program's main dialog keeps to its own updates.
    auto* frame = thread ? dynamic_cast<CFrameWnd*>(thread->GetMainWnd()) : nullptr;
    if (frame && frame->m_hWnd && ::GetWindowThreadProcessId(frame->m_hWnd, nullptr) == ::GetCurrentThreadId())
        thread->UpdateMainWindowCommands();
}

INT_PTR CDialog::DoModal()
{
    HWND owner = FindModalOwner();
    bool disabledOwner = owner && ::IsWindowEnabled(owner);
    if (disabledOwner)
        ::EnableWindow(owner, FALSE);

    m_nModalResult = -1;
    m_bInModalLoop = true;
    if (!CreateFromTemplate(owner)) {
        m_bInModalLoop = false;
        if (disabledOwner)
            ::EnableWindow(owner, TRUE);
        return -1;
    }
    if (m_bInModalLoop && !IsWindowVisible())
        ShowWindow(SW_SHOWNORMAL);

    bool idle = true;
    MSG msg;
    while (m_bInModalLoop) {
        if (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            SendMessage(WM_IDLEUPDATECMDUI, TRUE);
            SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE);
            UpdateOwnerCommands();
            idle = false;
        }
        if (!m_bInModalLoop)
            break;
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The thread is ending: close the dialog and hand the quit on to the outer loop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            if (m_nModalResult == -1)
                m_nModalResult = IDCANCEL;
            break;
        }
        if (!WalkPreTranslateTree(m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (msg.message != WM_TIMER && msg.message != WM_MOUSEMOVE && msg.message != WM_PAINT)
            idle = true;
    }
    m_bInModalLoop = false;

    if (disabledOwner)
        ::EnableWindow(owner, TRUE);
    if (m_hWnd) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        DestroyWindow();
    }
    if (owner && ::IsWindow(owner))
        ::SetActiveWindow(owner);
    return m_nModalResult;
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    if (m_bInModalLoop) {
        m_bInModalLoop = false;
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);   // wake the loop
    } else if (m_hWnd) {
        ::EndDialog(m_hWnd, result);
    }
}

LRESULT CDialog::OnInitDialogMessage(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (CUserException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
        return FALSE;
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd))
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, msg);
}

BOOL CDialog::OnCmdMsg(UINT id, int code, void* extra, bool probe)
{
    if (CWnd::OnCmdMsg(id, code, extra, probe))
        return TRUE;
    if (code != CN_COMMAND && code != CN_UPDATE_COMMAND_UI)
        return FALSE;
    CWinApp* app = FwGetApp();
    return app && app->OnCmdMsg(id, code, extra, probe);
}
