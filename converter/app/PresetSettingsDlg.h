#pragma once
// One preset of a format: its name and its video and audio values, written back on OK.
#include "CDialog.h"
#include "CodecSettingsPanel.h"

class CMediaPreset;

class CPresetSettingsDlg : public CDialog {
    FW_DECLARE_MESSAGE_MAP()
public:
    explicit CPresetSettingsDlg(CMediaPreset* preset, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;

    CCodecSettingsPanel m_panel;

private:
    void OnStreamBox() { m_panel.OnStreamBoxClicked(); }
    void OnVideoCodec() { m_panel.OnVideoCodecChanged(); }
    void OnAudioCodec() { m_panel.OnAudioCodecChanged(); }

    CMediaPreset* m_preset;
};
