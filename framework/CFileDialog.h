#pragma once
// The system's open and save dialogs as framework dialogs. The object is attached to the hook's
// dialog while the system dialog runs (for Explorer-style dialogs the child dialog inside the
// system's frame), so message maps, the CDN_ notifications and the overridables below reach it.
// Derived classes own the record and its buffers and point m_pOFN at them; the hook procedure
// goes into the record as lpfnHook.
#include <windows.h>
#include <commdlg.h>

#include "CDialog.h"

// A place in a list that GetNextPathName walks; null when the list is done.
struct FwPositionTag;
using POSITION = FwPositionTag*;

// The command a dialog's Help button sends to it.
constexpr UINT ID_HELP = 0xE146;

class CFileDialog : public CDialog {
public:
    OPENFILENAMEW* m_pOFN = nullptr;
    BOOL m_bOpenFileDialog;

    CFileDialog(BOOL openFileDialog, CWnd* parent) : CDialog(0, parent), m_bOpenFileDialog(openFileDialog) {}

    // IDOK when the user chose, IDCANCEL otherwise. The owner is disabled meanwhile and the
    // focus is put back afterwards.
    INT_PTR DoModal() override;

    // While an Explorer-style dialog is open these ask the dialog (the name being typed or
    // selected); afterwards they read the record.
    CString GetPathName() const;
    CString GetFileExt() const;
    // The chosen paths one after the other: every selected file of a multiple selection with
    // its folder, else the one path.
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& position) const;

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // Answers of the overridables go back to the system dialog unchanged.
    virtual UINT OnShareViolation(const wchar_t*) { return OFN_SHAREWARN; }
    virtual BOOL OnFileNameOK() { return FALSE; }
    virtual void OnLBSelChangedNotify(UINT, UINT, UINT) {}
    virtual void OnInitDone() {}
    virtual void OnFileNameChange() {}
    virtual void OnFolderChange() {}
    virtual void OnTypeChange() {}

    static UINT_PTR CALLBACK HookProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The system dialog ends itself.
    void OnOK() override { Default(); }
    void OnCancel() override { Default(); }

private:
    bool IsExplorerOpen() const;
    // A CDM_ text of the open Explorer dialog.
    CString AskDialog(UINT message) const;
    void SendHelpCommand() { SendMessage(WM_COMMAND, ID_HELP); }
};
