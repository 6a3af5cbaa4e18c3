#include "PresetSettingsDlg.h"

#include "AppFormatCatalog.h"
#include "AppGlobals.h"
#include "MediaFormatInfo.h"
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

// Why the name cannot be the preset's: empty, or another preset of its format has it (case
// ignored, as the lists show names only); empty when it can.
CString CPresetSettingsDlg::NameProblem(const CString& name) const
{
    CString trimmed = name;
    if (trimmed.Trim().IsEmpty())
        return L"Please type a name for the preset.";
    const CMediaFormatInfo* format = m_preset ? m_preset->m_format : nullptr;
    if (!format)
        return CString();
    // The lists show the format's custom preset as "Custom": that name is taken too.
    bool taken = format->m_customPreset && trimmed.CompareNoCase(L"Custom") == 0;
    for (const auto& other : format->m_presets)
        taken = taken || (other.get() != m_preset && trimmed.CompareNoCase(other->m_settings.name) == 0);
    if (!taken)
        return CString();
    CString message;
    message.Format(L"The format already has a preset named \"%s\". Please type another name.", trimmed.GetString());
    return message;
}

void CPresetSettingsDlg::OnOK()
{
    const CString name = GetDlgItemText(IDC_PRESET_NAME);
    const CString problem = NameProblem(name);
    if (!problem.IsEmpty()) {
        MessageBox(problem, L"Preset Name", MB_OK | MB_ICONEXCLAMATION);
        GotoDlgCtrl(GetDlgItem(IDC_PRESET_NAME));
        return;
    }
    if (!m_panel.CheckTypedValues())
        return;
    if (m_preset) {
        MEDIA_PRESET_SETTINGS values = m_preset->m_settings;
        SetPresetText(values.name, CString(name).Trim());
        values.flags = 0;
        m_panel.Read(values, true);
        m_preset->SetSettings(values);
        if (g_pFormatCatalog)
            g_pFormatCatalog->m_modified = 1;
    }
    EndDialog(IDOK);
}
