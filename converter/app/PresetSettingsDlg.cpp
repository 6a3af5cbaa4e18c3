#include "PresetSettingsDlg.h"

#include "AppFormatCatalog.h"
#include "AppGlobals.h"
#include "MediaPreset.h"
#include "TalvenaRes.h"

FW_BEGIN_MESSAGE_MAP(CPresetSettingsDlg, CDialog)
    FwOnControl(BN_CLICKED, IDC_CODEC_VIDEO, &ThisClass::OnStreamBox),
    FwOnControl(BN_CLICKED, IDC_CODEC_AUDIO, &ThisClass::OnStreamBox),
    FwOnControl(CBN_SELCHANGE, IDC_CODEC_VIDEO_CODEC, &ThisClass::OnVideoCodec),
    FwOnControl(CBN_SELCHANGE, IDC_CODEC_AUDIO_CODEC, &ThisClass::OnAudioCodec),
FW_END_MESSAGE_MAP()

CPresetSettingsDlg::CPresetSettingsDlg(CMediaPreset* preset, CWnd* parent)
    : CDialog(IDD_PRESET_SETTINGS, parent), m_preset(preset)
{
}

BOOL CPresetSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_panel.SetUp(this);
    ::SendDlgItemMessageW(m_hWnd, IDC_PRESET_NAME, EM_LIMITTEXT, MEDIA_PRESET_TEXT - 1, 0);
    if (m_preset) {
        SetDlgItemText(IDC_PRESET_NAME, m_preset->m_settings.name);
        m_panel.Load(*m_preset);
    }
    return TRUE;
}

void CPresetSettingsDlg::OnOK()
{
    if (m_preset) {
        MEDIA_PRESET_SETTINGS values = m_preset->m_settings;
        SetPresetText(values.name, GetDlgItemText(IDC_PRESET_NAME));
        values.flags = 0;
        m_panel.Read(values, true);
        m_preset->SetSettings(values);
        if (g_pFormatCatalog)
            g_pFormatCatalog->m_modified = 1;
    }
    EndDialog(IDOK);
}
