#pragma once
// The about box both programs show from their Help menu (dialog 100 of AboutDlg.rc2): the
// program's name, version, description and rights, a link to the maker's web site and the
// maker's mail address.
#include <windows.h>

#include "CDialog.h"
#include "HyperlinkButton.h"

// What the box tells of the program.
struct CAboutBoxInfo {
    CString version;             // "3.2.3"; the title shows its first number
    CString homePage;            // target and text of the web-site link
    CString email;               // text of the mail link
    UINT emailCommand = 0;       // the program's command that a click on the address runs
    HFONT titleFont = nullptr;   // null: a larger bold one made from the dialog's font
    HFONT linkFont = nullptr;    // null: an underlined one made from the dialog's font
};

class CAboutDlg : public CDialog {
    FW_DECLARE_MESSAGE_MAP()
public:
    CHyperlinkButton m_wndWebSite;
    CHyperlinkButton m_wndEmail;
    CAboutBoxInfo m_info;

    explicit CAboutDlg(CWnd* parent = nullptr);

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

protected:
    void OnEmail();

private:
    CFont m_titleFont;
    CFont m_linkFont;

    HFONT TitleFont();
    HFONT LinkFont();
    void ShowLink(CHyperlinkButton& link, const wchar_t* target, const wchar_t* text);
};
