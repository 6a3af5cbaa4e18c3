#pragma once
// The video and audio controls that the format settings and preset settings dialogs share: the
// two stream boxes, the codec lists and the value lists of the chosen codecs (drop lists, or
// edit combos where a codec takes any value), with their tool tips.
#include "CDialog.h"
#include "Controls.h"
#include "MediaPreset.h"

class CMediaFormatInfo;

class CCodecSettingsPanel {
public:
    void SetUp(CDialog* dialog);
    // The preset's codecs, values and stream boxes into the controls.
    void Load(const CMediaPreset& preset);
    // The controls into a record: codec ids, values and the streams' flags (same quality, no
    // stream). `final` when the dialog takes its values.
    void Read(MEDIA_PRESET_SETTINGS& values, bool final) const;

    // False, after telling the user and putting the focus on it, when a typed value is none the
    // dialogs take; the dialog then stays open.
    bool CheckTypedValues() const;

    // The dialog hands these on.
    void OnStreamBoxClicked();
    void OnVideoCodecChanged();
    void OnAudioCodecChanged();

    bool IsVideoOn() const;
    bool IsAudioOn() const;
    CVideoCodecInfo* GetVideoCodec() const;
    CAudioCodecInfo* GetAudioCodec() const;

private:
    CWnd* Item(int id) const { return m_dialog->GetDlgItem(id); }
    void FillCodecs();
    void FillVideoValues();
    void FillAudioValues();
    void UpdateBoxes();

    CDialog* m_dialog = nullptr;
    const CMediaFormatInfo* m_format = nullptr;
    MEDIA_PRESET_SETTINGS m_values{};
    // The codecs whose values the lists hold.
    const CVideoCodecInfo* m_shownVideo = nullptr;
    const CAudioCodecInfo* m_shownAudio = nullptr;
    CToolTipCtrl m_tips;
};
