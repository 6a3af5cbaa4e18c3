#include "AdvancedOptionsDlg.h"

#include "ConvertItem.h"
#include "OptionDialogRules.h"
#include "TalvenaRes.h"

FW_BEGIN_MESSAGE_MAP(CAdvancedOptionsDlg, CDialog)
    FwOnControl(BN_CLICKED, IDC_ADVANCED_ROTATE, &ThisClass::OnRotateClicked),
FW_END_MESSAGE_MAP()

CAdvancedOptionsDlg::CAdvancedOptionsDlg(CConvertItem* item, CWnd* parent)
    : CDialog(IDD_ADVANCED_OPTIONS, parent), m_item(item)
{
    if (!m_item)
        return;
    const CConvertSettings& settings = m_item->m_settings;
    m_hflip = settings.m_hflip;
    m_vflip = settings.m_vflip;
    m_grey = settings.m_grey;
    m_negate = settings.m_negate;
    RotationToChoice(settings.m_rotation, m_rotate, m_rotation);
}

BOOL CAdvancedOptionsDlg::OnInitDialog()
{
    // The angles are in the list before the data exchange selects one.
    for (const wchar_t* angle : {L"90 degrees", L"180 degrees", L"270 degrees"})
        SendDlgItemMessage(IDC_ADVANCED_ANGLE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(angle));
    CDialog::OnInitDialog();
    OnRotateClicked();
    return TRUE;
}

void CAdvancedOptionsDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Check(dx, IDC_ADVANCED_HFLIP, m_hflip);
    DDX_Check(dx, IDC_ADVANCED_VFLIP, m_vflip);
    DDX_Check(dx, IDC_ADVANCED_GREY, m_grey);
    DDX_Check(dx, IDC_ADVANCED_NEGATE, m_negate);
    DDX_Check(dx, IDC_ADVANCED_ROTATE, m_rotate);
    DDX_CBIndex(dx, IDC_ADVANCED_ANGLE, m_rotation);
}

void CAdvancedOptionsDlg::OnRotateClicked()
{
    GetDlgItem(IDC_ADVANCED_ANGLE)->EnableWindow(IsDlgButtonChecked(IDC_ADVANCED_ROTATE) == BST_CHECKED);
}

void CAdvancedOptionsDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (m_item) {
        CConvertSettings& settings = m_item->m_settings;
        settings.m_rotation = RotationFromChoice(m_rotate, m_rotation);
        settings.m_hflip = m_hflip;
        settings.m_vflip = m_vflip;
        settings.m_grey = m_grey;
        settings.m_negate = m_negate;
    }
    EndDialog(IDOK);
}
