#pragma once
// The converter's settings: what to do when an output file exists, the file manager's "Convert
// with Talvena" entry and the weekly update check. The caller saves the settings after OK.
#include "CDialog.h"

class CSettingsDlg : public CDialog {
public:
    explicit CSettingsDlg(CWnd* parent = nullptr);

    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;

    int m_policy = 0;       // 0 prompt, 1 new name, 2 overwrite, 3 cancel
    int m_shellMenu = 0;
    int m_autoCheckUpdate = 0;
};
