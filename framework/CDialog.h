#pragma once
// Dialogs from resource templates, modal (with the framework's own loop, so that message
// pre-translation and idle updates reach them) or modeless, with data exchange and validation.
#include <windows.h>

#include "CWnd.h"

// One transfer between a dialog's members and its controls.
class CDataExchange {
public:
    BOOL m_bSaveAndValidate;   // TRUE: controls to members (with validation)
    CWnd* m_pDlgWnd;

    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
    // The control `id`, remembered for the focus on a failed validation.
    HWND PrepareCtrl(int id);
    // Shows `message`, puts the focus on the last control and abandons the exchange.
    [[noreturn]] void Fail(const wchar_t* message);

private:
    HWND m_hWndLastControl = nullptr;
};

void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
// A group of radio buttons that starts at `id`: the index of the checked one, -1 for none.
void DDX_Radio(CDataExchange* dx, int id, int& value);
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
void DDX_CBString(CDataExchange* dx, int id, CString& value);
void DDV_MinMaxInt(CDataExchange* dx, int value, int minimum, int maximum);
void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minimum, UINT maximum);
void DDV_MaxChars(CDataExchange* dx, const CString& value, int maximum);

class CDialog : public CWnd {
    FW_DECLARE_MESSAGE_MAP()
public:
    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

    // IDOK, IDCANCEL or the value given to EndDialog; -1 when the dialog cannot be made.
    virtual INT_PTR DoModal();
    // A modeless dialog.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange*) {}
    // FALSE when a validation failed (the user has been told).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    BOOL PreTranslateMessage(MSG* msg) override;
    // The dialog's own handlers, then the application's.
    BOOL OnCmdMsg(UINT id, int code, void* extra, bool probe = false) override;

    void GotoDlgCtrl(CWnd* control) { SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(FwHwnd(control)), TRUE); }
    void NextDlgCtrl() { SendMessage(WM_NEXTDLGCTL, 0, FALSE); }
    void PrevDlgCtrl() { SendMessage(WM_NEXTDLGCTL, 1, FALSE); }
    void SetDefID(UINT id) { SendMessage(DM_SETDEFID, id); }
    DWORD GetDefID() const { return static_cast<DWORD>(SendMessage(DM_GETDEFID)); }

protected:
    // The window a modal dialog belongs to: the parent, else this thread's main window; the
    // top-level window of either, or none.
    HWND FindModalOwner() const;
    // The main frame this dialog is opened over keeps its command updates (its bars) going.
    void UpdateOwnerCommands();
    LRESULT OnInitDialogMessage(WPARAM, LPARAM);
    BOOL CreateFromTemplate(HWND owner);

private:
    INT_PTR m_nModalResult = -1;
    bool m_bInModalLoop = false;
};
