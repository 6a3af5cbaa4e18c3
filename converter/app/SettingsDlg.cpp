#include "SettingsDlg.h"

#include "AppGlobals.h"
#include "AppSettings.h"
#include "OptionDialogRules.h"
#include "ShellMenuRegistrar.h"
#include "TalvenaRes.h"

CSettingsDlg::CSettingsDlg(CWnd* parent) : CDialog(IDD_SETTINGS, parent)
{
    if (g_pAppSettings) {
        m_policy = PolicyFromOverwrite(g_pAppSettings->m_overwrite);
        m_autoCheckUpdate = g_pAppSettings->m_autoCheckUpdate;
    }
    // A two-state box: ticked while either handler key is there, so OK mends half an entry.
    m_shellMenu = IsShellMenuRegistered() > 0;
}

void CSettingsDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Radio(dx, IDC_SETTINGS_PROMPT, m_policy);
    DDX_Check(dx, IDC_SETTINGS_SHELL_MENU, m_shellMenu);
    DDX_Check(dx, IDC_SETTINGS_AUTO_UPDATE, m_autoCheckUpdate);
}

void CSettingsDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (g_pAppSettings) {
        g_pAppSettings->m_overwrite = OverwriteFromPolicy(m_policy);
        g_pAppSettings->m_autoCheckUpdate = m_autoCheckUpdate;
    }
    CShellMenuRegistrar().Register(m_shellMenu != 0);
    EndDialog(IDOK);
}
