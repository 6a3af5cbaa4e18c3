#pragma once
// The update checker's windows: the progress dialog of a manual check, whose own worker thread
// fetches the descriptor, and the dialog that offers a newer version.
#include <windows.h>

#include "CDialog.h"
#include "CWinThread.h"
#include "Controls.h"
#include "HyperlinkButton.h"

class CUpdateChecker;

// Message of the check thread to the progress dialog: the check is over.
constexpr UINT WM_UPDATE_CHECK_DONE = 0x5B8;

class CUpdateProgressDlg : public CDialog {
    FW_DECLARE_MESSAGE_MAP()
public:
    int m_bAutoCheck = 0;   // the check box, in and out
    int m_nResult = -1;     // IsNewerAvailable of the check thread

    explicit CUpdateProgressDlg(CUpdateChecker* job);
    ~CUpdateProgressDlg() override;

    BOOL OnInitDialog() override;
    // Asks the check to stop; the dialog closes when the check thread has ended.
    void OnCancel() override;
    void OnOK() override {}

protected:
    void OnTimer(UINT_PTR id);
    LRESULT OnCheckDone(WPARAM, LPARAM);

private:
    CUpdateChecker* m_pJob;
    CProgressCtrl m_wndProgress;
    CWinThread* m_pCheckThread = nullptr;

    static UINT RunCheck(void* self);
};

class CNewVersionDlg : public CDialog {
    FW_DECLARE_MESSAGE_MAP()
public:
    int m_bAutoCheck = 0;
    CHyperlinkButton m_wndVersionLink;
    CHyperlinkButton m_wndLearnMore;

    explicit CNewVersionDlg(CUpdateChecker* job);
    // The program's setting takes the check box's last state.
    ~CNewVersionDlg() override;

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;

private:
    CUpdateChecker* m_pJob;
    CFont m_linkFont;

    void ShowLink(CHyperlinkButton& link, const wchar_t* text);
};
