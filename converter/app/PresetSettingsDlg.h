#pragma once
// One preset of a format: its name and its video and audio values, written back on OK (not while
// the name is taken by another preset of the format or a typed value is out of range).
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
    CString NameProblem(const CString& name) const;
    void OnStreamBox() { m_panel.OnStreamBoxClicked(); }
    void OnVideoCodec() { m_panel.OnVideoCodecChanged(); }
    void OnAudioCodec() { m_panel.OnAudioCodecChanged(); }

    CMediaPreset* m_preset;
};
