#pragma once
// "Rename, Overwrite, or Cancel?": asks what to do with an output file that exists already.
// Closes by itself with the suggested new name after a countdown when auto close is on, and
// as Cancel when the run is stopped meanwhile.
#include "CDialog.h"
#include "OutputResolver.h"

class CFileExistsDlg : public CDialog {
    FW_DECLARE_MESSAGE_MAP()
public:
    CFileExistsDlg(const CString& folder, const CString& title, const CString& extension, CWnd* parent,
                   const CStopFlag* stop = nullptr);
    // Keeps the auto-close choice for the next prompt.
    ~CFileExistsDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    // The countdown's end (and Enter): the name in the box, not remembered.
    void OnOK() override;
    void OnCancel() override;

    CString m_folder;
    CString m_title;
    CString m_extension;
    int m_countdown = 20;
    CString m_newTitle;
    int m_remember = 0;
    int m_autoClose = 1;

private:
    void OnSaveAsNew();
    void OnOverwrite();
    void OnAutoCloseClicked();
    void OnTimer(UINT_PTR id);
    void OnDestroy();
    // False (and the suggestion back in the box) when the typed name is refused.
    bool TakeNewTitle();
    void ShowCountdown();

    const CStopFlag* m_stop;
    CString m_suggestion;
};

// The prompt of the conversion job: the dialog, owned by the given window.
class CFileExistsPrompt : public IFileExistsPrompt {
public:
    CFileExistsPrompt(HWND owner, const CStopFlag* stop) : m_owner(owner), m_stop(stop) {}
    int Ask(const CString& folder, const CString& title, const CString& extension, CString& newTitle) override;

private:
    HWND m_owner;
    const CStopFlag* m_stop;
};
