#include "FormatSettingsDlg.h"

#include "AppFormatCatalog.h"
#include "AppGlobals.h"
#include "AppPaths.h"
#include "MediaFormatCatalog.h"
#include "MediaFormatInfo.h"
#include "TalvenaRes.h"

namespace {

bool IsShown(const CMediaCatalogItem& entry) { return (entry.m_flags & MEDIA_ITEM_HIDDEN) == 0; }

} // namespace

int FillFormatCombo(CFormatComboBox& combo, const CMediaFormatCatalog& catalog, const CMediaFormatInfo* current)
{
    combo.ResetContent();
    int currentRow = -1;
    for (const auto& group : catalog.m_groups) {
        if (!IsShown(*group))
            continue;
        bool anyShown = false;
        for (const auto& format : group->m_formats)
            anyShown = anyShown || IsShown(*format);
        if (!anyShown)
            continue;
        combo.AddEntry(group->m_name, group.get());
        for (const auto& format : group->m_formats) {
            if (!IsShown(*format))
                continue;
            const int row = combo.AddEntry(format->m_name + L"\t" + format->m_formatName, format.get());
            if (format.get() == current)
                currentRow = row;
        }
    }
    return currentRow;
}

FW_BEGIN_MESSAGE_MAP(CFormatSettingsDlg, CDialog)
    FwOnControl(CBN_SELCHANGE, IDC_FORMAT, &ThisClass::OnFormatChanged),
    FwOnControl(CBN_SELCHANGE, IDC_PRESET, &ThisClass::OnPresetChanged),
    FwOnControl(BN_CLICKED, IDC_CODEC_VIDEO, &ThisClass::OnStreamBox),
    FwOnControl(BN_CLICKED, IDC_CODEC_AUDIO, &ThisClass::OnStreamBox),
    FwOnControl(CBN_SELCHANGE, IDC_CODEC_VIDEO_CODEC, &ThisClass::OnVideoCodec),
    FwOnControl(CBN_SELCHANGE, IDC_CODEC_AUDIO_CODEC, &ThisClass::OnAudioCodec),
    FwOnControl(BN_CLICKED, IDC_CODEC_VIDEO_SAME, &ThisClass::OnValueChanged),
    FwOnControl(BN_CLICKED, IDC_CODEC_AUDIO_SAME, &ThisClass::OnValueChanged),
    FwOnControl(CBN_SELCHANGE, IDC_CODEC_SIZE_LIST, &ThisClass::OnValueChanged),
    FwOnControl(CBN_SELCHANGE, IDC_CODEC_RATE_LIST, &ThisClass::OnValueChanged),
    FwOnControl(CBN_SELCHANGE, IDC_CODEC_VIDEO_RATE_LIST, &ThisClass::OnValueChanged),
    FwOnControl(CBN_SELCHANGE, IDC_CODEC_SIZE_EDIT, &ThisClass::OnValueChanged),
    FwOnControl(CBN_SELCHANGE, IDC_CODEC_RATE_EDIT, &ThisClass::OnValueChanged),
    FwOnControl(CBN_SELCHANGE, IDC_CODEC_VIDEO_RATE_EDIT, &ThisClass::OnValueChanged),
    FwOnControl(CBN_EDITCHANGE, IDC_CODEC_SIZE_EDIT, &ThisClass::OnValueChanged),
    FwOnControl(CBN_EDITCHANGE, IDC_CODEC_RATE_EDIT, &ThisClass::OnValueChanged),
    FwOnControl(CBN_EDITCHANGE, IDC_CODEC_VIDEO_RATE_EDIT, &ThisClass::OnValueChanged),
    FwOnControl(CBN_SELCHANGE, IDC_CODEC_CHANNELS, &ThisClass::OnValueChanged),
    FwOnControl(CBN_SELCHANGE, IDC_CODEC_SAMPLE_RATE, &ThisClass::OnValueChanged),
    FwOnControl(CBN_SELCHANGE, IDC_CODEC_AUDIO_RATE, &ThisClass::OnValueChanged),
FW_END_MESSAGE_MAP()

CFormatSettingsDlg::CFormatSettingsDlg(int formatIndex, int presetIndex, CWnd* parent)
    : CDialog(IDD_FORMAT_SETTINGS, parent), m_formatIndex(formatIndex), m_presetIndex(presetIndex)
{
}

void CFormatSettingsDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_FORMAT, m_formatCombo);
    DDX_Control(dx, IDC_PRESET, m_presetCombo);
}

BOOL CFormatSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_panel.SetUp(this);
    if (g_pAppPaths)
        m_formatCombo.SetImageList(&g_pAppPaths->m_images16);
    if (g_pFormatCatalog)
        FillFormatCombo(m_formatCombo, *g_pFormatCatalog, nullptr);
    const int count = m_formatCombo.GetCount();
    SelectFormat(m_formatIndex >= 0 && m_formatIndex < count ? m_formatIndex : 0);
    m_formatCombo.EnableWindow(!m_fixedFormat);
    m_presetCombo.EnableWindow(!m_fixedPreset);
    return TRUE;
}

CMediaFormatInfo* CFormatSettingsDlg::GetFormat() const
{
    const int row = m_formatCombo.GetCurSel();
    if (row < 0 || m_formatCombo.IsHeading(row))
        return nullptr;
    return static_cast<CMediaFormatInfo*>(m_formatCombo.GetEntry(row));
}

CMediaPreset* CFormatSettingsDlg::GetPreset(int row) const
{
    return row >= 0 && row < m_presetCombo.GetCount() ? static_cast<CMediaPreset*>(m_presetCombo.GetItemDataPtr(row)) : nullptr;
}

void CFormatSettingsDlg::SelectFormat(int row)
{
    const int formatRow = m_formatCombo.FormatRowFrom(row);
    if (formatRow < 0)
        return;
    m_formatCombo.SetCurSel(formatRow);
    m_formatIndex = formatRow;
    FillPresets();
    SelectPreset(m_presetIndex >= 0 && m_presetIndex < m_presetCombo.GetCount() ? m_presetIndex : 0);
}

void CFormatSettingsDlg::FillPresets()
{
    m_presetCombo.ResetContent();
    CMediaFormatInfo* format = GetFormat();
    if (!format)
        return;
    for (const auto& preset : format->m_presets) {
        CString text;
        preset->GetListText(text, false);
        m_presetCombo.SetItemDataPtr(m_presetCombo.AddString(text), preset.get());
    }
    format->m_customPresetPos = -1;
    if (format->m_customPreset) {
        format->m_customPresetPos = m_presetCombo.AddString(L"Custom");
        m_presetCombo.SetItemDataPtr(format->m_customPresetPos, format->m_customPreset.get());
    }
}

void CFormatSettingsDlg::SelectPreset(int row)
{
    m_presetCombo.SetCurSel(row);
    m_presetIndex = row;
    if (CMediaPreset* preset = GetPreset(row))
        m_panel.Load(*preset);
}

void CFormatSettingsDlg::MatchPreset()
{
    CMediaFormatInfo* format = GetFormat();
    if (!format || !format->m_customPreset)
        return;
    MEDIA_PRESET_SETTINGS values = format->m_customPreset->m_settings;
    m_panel.Read(values, false);
    CMediaPreset probe(format);
    probe.SetSettings(values);
    const int same = format->FindSamePreset(probe);
    m_presetIndex = same >= 0 ? same : format->m_customPresetPos;
    m_presetCombo.SetCurSel(m_presetIndex);
}

void CFormatSettingsDlg::OnStreamBox()
{
    m_panel.OnStreamBoxClicked();
    MatchPreset();
}

void CFormatSettingsDlg::OnVideoCodec()
{
    m_panel.OnVideoCodecChanged();
    MatchPreset();
}

void CFormatSettingsDlg::OnAudioCodec()
{
    m_panel.OnAudioCodecChanged();
    MatchPreset();
}

void CFormatSettingsDlg::OnOK()
{
    if (!m_panel.CheckTypedValues())
        return;
    CMediaFormatInfo* format = GetFormat();
    CMediaPreset* target = format && format->m_customPreset ? format->m_customPreset.get() : GetPreset(m_presetIndex);
    if (target) {
        MEDIA_PRESET_SETTINGS values = target->m_settings;
        m_panel.Read(values, true);
        target->SetSettings(values);
        if (g_pFormatCatalog)
            g_pFormatCatalog->m_modified = 1;
    }
    EndDialog(IDOK);
}
