#pragma once
// "Format Settings": a format and one of its presets, with the codec values of the format's
// custom preset edited; the preset list follows the values to the preset they match.
#include "CDialog.h"
#include "CodecSettingsPanel.h"
#include "FormatComboBox.h"

class CMediaFormatCatalog;
class CMediaFormatInfo;

// The catalogue's shown groups as headings with their shown formats ("name\tdescription")
// beneath; the row of `current`, or -1.
int FillFormatCombo(CFormatComboBox& combo, const CMediaFormatCatalog& catalog, const CMediaFormatInfo* current);

class CFormatSettingsDlg : public CDialog {
    FW_DECLARE_MESSAGE_MAP()
public:
    CFormatSettingsDlg(int formatIndex, int presetIndex, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;

    CMediaFormatInfo* GetFormat() const;
    CMediaPreset* GetPreset(int row) const;

    // Rows of the two combo boxes, given and taken back by the caller.
    int m_formatIndex;
    int m_presetIndex;
    // The caller may hold either choice fixed.
    bool m_fixedFormat = false;
    bool m_fixedPreset = false;

    CFormatComboBox m_formatCombo;
    CComboBox m_presetCombo;
    CCodecSettingsPanel m_panel;

private:
    void SelectFormat(int row);
    void FillPresets();
    void SelectPreset(int row);
    // The values as the controls hold them, matched against the format's presets.
    void MatchPreset();

    void OnFormatChanged() { SelectFormat(m_formatCombo.GetCurSel()); }
    void OnPresetChanged() { SelectPreset(m_presetCombo.GetCurSel()); }
    void OnStreamBox();
    void OnVideoCodec();
    void OnAudioCodec();
    void OnValueChanged() { MatchPreset(); }
};
