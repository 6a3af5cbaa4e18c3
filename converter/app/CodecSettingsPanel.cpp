#include "CodecSettingsPanel.h"

#include <vector>

#include "CodecChoiceRules.h"
#include "MediaFormatInfo.h"
#include "MediaFormatting.h"
#include "TalvenaRes.h"

namespace {

const wchar_t kBitRateTip[] =
    L"- Higher bitrate = higher quality && larger file\n- Lower bitrate = lower quality && smaller file";

const wchar_t kInvalidValueCaption[] = L"Invalid Value";

struct Tip {
    int id;
    const wchar_t* text;
};

CString StreamTip(const wchar_t* kind)
{
    CString text;
    text.Format(L"Enable/disable %s\n- Checked = the output file contains %s stream\n- Unchecked = the output file "
                L"doesn't contain %s stream",
                kind, kind, kind);
    return text;
}

// A combo box of the dialog by its handle.
struct ComboRef {
    HWND hwnd;
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const { return ::SendMessageW(hwnd, message, wParam, lParam); }
    void ResetContent() const { Send(CB_RESETCONTENT); }
    int AddString(const wchar_t* text) const { return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
    void SetItemData(int row, DWORD_PTR data) const { Send(CB_SETITEMDATA, static_cast<WPARAM>(row), static_cast<LPARAM>(data)); }
    DWORD_PTR GetItemData(int row) const { return static_cast<DWORD_PTR>(Send(CB_GETITEMDATA, static_cast<WPARAM>(row))); }
    void SetCurSel(int row) const { Send(CB_SETCURSEL, static_cast<WPARAM>(row)); }
    int GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
};

ComboRef Combo(CWnd* item) { return {FwHwnd(item)}; }

// One value list: its texts with the index into the entry's list as item data (-1 for the "Auto"
// row of an empty list), the matching row selected, else the default's, else the first.
template <class T, class Text>
void FillValues(CWnd* control, const std::vector<T>& values, const T& chosen, const T& fallback, Text text)
{
    const ComboRef combo = Combo(control);
    combo.ResetContent();
    int selected = -1, fallbackRow = -1;
    for (size_t i = 0; i < values.size(); ++i) {
        const int row = combo.AddString(text(values[i]));
        combo.SetItemData(row, static_cast<DWORD_PTR>(i));
        if (values[i] == chosen && selected < 0)
            selected = row;
        if (values[i] == fallback && fallbackRow < 0)
            fallbackRow = row;
    }
    if (values.empty())
        combo.SetItemData(combo.AddString(text(T())), static_cast<DWORD_PTR>(-1));
    combo.SetCurSel(selected >= 0 ? selected : (fallbackRow >= 0 ? fallbackRow : 0));
}

template <class T>
T SelectedValue(CWnd* control, const std::vector<T>& values)
{
    const ComboRef combo = Combo(control);
    const int row = combo.GetCurSel();
    const auto index = row >= 0 ? static_cast<size_t>(combo.GetItemData(row)) : values.size();
    return index < values.size() ? values[index] : T();
}

// Shows the edit combo where the entry takes any value, else the drop list; the edit combo
// holds the chosen value itself.
void ShowValueControl(CWnd* dropList, CWnd* editCombo, bool free, const CString& chosenText)
{
    dropList->ShowWindow(free ? SW_HIDE : SW_SHOW);
    editCombo->ShowWindow(free ? SW_SHOW : SW_HIDE);
    if (free)
        editCombo->SetWindowText(chosenText);
}

// A stream's flags as its boxes say: off, or on with or without the source's quality.
uint32_t StreamFlags(bool on, bool sameQuality)
{
    if (!on)
        return MEDIA_NO_STREAM;
    return sameQuality ? static_cast<uint32_t>(MEDIA_SAME_QUALITY) : 0u;
}

CString RateText(const CIntPair& rate) { return FormatFrameRate(rate.first, rate.second, L"%.3f", false, true); }
CString KbpsText(const int32_t& rate) { return FormatKbps(rate, L"%.3f", false, true); }

} // namespace

void CCodecSettingsPanel::SetUp(CDialog* dialog)
{
    m_dialog = dialog;
    if (!m_tips.Create(dialog))
        return;
    m_tips.SetMaxTipWidth(0xFFFF);
    const CString videoTip = StreamTip(L"video"), audioTip = StreamTip(L"audio");
    const CString videoRate = CString(L"Set video bitrate (kbps)\n") + kBitRateTip;
    const CString audioRate = CString(L"Set audio bitrate (kbps)\n") + kBitRateTip;
    const Tip tips[] = {
        {IDC_CODEC_VIDEO, videoTip},
        {IDC_CODEC_AUDIO, audioTip},
        {IDC_CODEC_VIDEO_CODEC, L"Select video format/codec"},
        {IDC_CODEC_SIZE_EDIT, L"Set video resolution (width x height)"},
        {IDC_CODEC_SIZE_LIST, L"Set video resolution (width x height)"},
        {IDC_CODEC_RATE_LIST, L"Set video frame rate (fps)"},
        {IDC_CODEC_RATE_EDIT, L"Set video frame rate (fps)"},
        {IDC_CODEC_VIDEO_RATE_EDIT, videoRate},
        {IDC_CODEC_VIDEO_RATE_LIST, videoRate},
        {IDC_CODEC_AUDIO_CODEC, L"Select audio format/codec"},
        {IDC_CODEC_CHANNELS, L"Set audio channels"},
        {IDC_CODEC_SAMPLE_RATE, L"Set audio sample rate (Hz)"},
        {IDC_CODEC_AUDIO_RATE, audioRate},
    };
    for (const Tip& tip : tips)
        if (CWnd* control = Item(tip.id))
            m_tips.AddTool(control, tip.text);
    m_tips.Activate(TRUE);
}

void CCodecSettingsPanel::Load(const CMediaPreset& preset)
{
    m_format = preset.m_format;
    m_values = preset.m_settings;
    FillCodecs();
    const CVideoCodecInfo* video = preset.m_videoCodec;
    const CAudioCodecInfo* audio = preset.m_audioCodec;
    const ComboRef videoCodecs = Combo(Item(IDC_CODEC_VIDEO_CODEC));
    const ComboRef audioCodecs = Combo(Item(IDC_CODEC_AUDIO_CODEC));
    if (m_format) {
        for (size_t i = 0; i < m_format->m_videoCodecs.size(); ++i)
            if (m_format->m_videoCodecs[i].get() == video)
                videoCodecs.SetCurSel(static_cast<int>(i));
        for (size_t i = 0; i < m_format->m_audioCodecs.size(); ++i)
            if (m_format->m_audioCodecs[i].get() == audio)
                audioCodecs.SetCurSel(static_cast<int>(i));
    }
    const bool hasVideo = m_format && m_format->HasVideo();
    const bool hasAudio = m_format && m_format->HasAudio();
    m_dialog->CheckDlgButton(IDC_CODEC_VIDEO, hasVideo && !(m_values.videoFlags & MEDIA_NO_STREAM));
    m_dialog->CheckDlgButton(IDC_CODEC_AUDIO, hasAudio && !(m_values.audioFlags & MEDIA_NO_STREAM));
    m_dialog->CheckDlgButton(IDC_CODEC_VIDEO_SAME, (m_values.videoFlags & MEDIA_SAME_QUALITY) != 0);
    m_dialog->CheckDlgButton(IDC_CODEC_AUDIO_SAME, (m_values.audioFlags & MEDIA_SAME_QUALITY) != 0);
    FillVideoValues();
    FillAudioValues();
    UpdateBoxes();
}

void CCodecSettingsPanel::FillCodecs()
{
    const ComboRef videoCodecs = Combo(Item(IDC_CODEC_VIDEO_CODEC));
    const ComboRef audioCodecs = Combo(Item(IDC_CODEC_AUDIO_CODEC));
    videoCodecs.ResetContent();
    audioCodecs.ResetContent();
    if (!m_format)
        return;
    for (const auto& entry : m_format->m_videoCodecs)
        videoCodecs.AddString(entry->m_name);
    for (const auto& entry : m_format->m_audioCodecs)
        audioCodecs.AddString(entry->m_name);
    videoCodecs.SetCurSel(m_format->m_videoCodecs.empty() ? -1 : m_format->m_defaultVideoCodec);
    audioCodecs.SetCurSel(m_format->m_audioCodecs.empty() ? -1 : m_format->m_defaultAudioCodec);
}

CVideoCodecInfo* CCodecSettingsPanel::GetVideoCodec() const
{
    const int row = Combo(Item(IDC_CODEC_VIDEO_CODEC)).GetCurSel();
    return m_format && row >= 0 && static_cast<size_t>(row) < m_format->m_videoCodecs.size()
               ? m_format->m_videoCodecs[static_cast<size_t>(row)].get()
               : nullptr;
}

CAudioCodecInfo* CCodecSettingsPanel::GetAudioCodec() const
{
    const int row = Combo(Item(IDC_CODEC_AUDIO_CODEC)).GetCurSel();
    return m_format && row >= 0 && static_cast<size_t>(row) < m_format->m_audioCodecs.size()
               ? m_format->m_audioCodecs[static_cast<size_t>(row)].get()
               : nullptr;
}

void CCodecSettingsPanel::FillVideoValues()
{
    m_shownVideo = GetVideoCodec();
    static const CVideoCodecInfo kNone;
    const CVideoCodecInfo& codec = m_shownVideo ? *m_shownVideo : kNone;
    const CIntPair size{m_values.width, m_values.height};
    const CIntPair rate{m_values.rateNum, m_values.rateDen};
    const bool anySize = (codec.m_flags & VIDEO_ANY_SIZE) != 0;
    const bool anyRate = (codec.m_flags & VIDEO_ANY_FRAME_RATE) != 0;
    const bool anyBitRate = (codec.m_flags & VIDEO_ANY_BIT_RATE) != 0;
    for (int id : {IDC_CODEC_SIZE_LIST, IDC_CODEC_SIZE_EDIT})
        FillValues(Item(id), codec.m_sizes, size, codec.m_defaultSize, SizeChoiceText);
    for (int id : {IDC_CODEC_RATE_LIST, IDC_CODEC_RATE_EDIT})
        FillValues(Item(id), codec.m_frameRates, rate, codec.m_defaultFrameRate, RateText);
    for (int id : {IDC_CODEC_VIDEO_RATE_LIST, IDC_CODEC_VIDEO_RATE_EDIT})
        FillValues(Item(id), codec.m_bitRates, m_values.videoBitRate, codec.m_defaultBitRate, KbpsText);
    ShowValueControl(Item(IDC_CODEC_SIZE_LIST), Item(IDC_CODEC_SIZE_EDIT), anySize, SizeChoiceText(size));
    ShowValueControl(Item(IDC_CODEC_RATE_LIST), Item(IDC_CODEC_RATE_EDIT), anyRate, RateText(rate));
    ShowValueControl(Item(IDC_CODEC_VIDEO_RATE_LIST), Item(IDC_CODEC_VIDEO_RATE_EDIT), anyBitRate,
                     KbpsText(m_values.videoBitRate));
}

void CCodecSettingsPanel::FillAudioValues()
{
    m_shownAudio = GetAudioCodec();
    static const CAudioCodecInfo kNone;
    const CAudioCodecInfo& codec = m_shownAudio ? *m_shownAudio : kNone;
    FillValues(Item(IDC_CODEC_CHANNELS), codec.m_channels, m_values.channels, codec.m_defaultChannels,
               [](const int32_t& channels) { return FormatChannels(channels, true); });
    FillValues(Item(IDC_CODEC_SAMPLE_RATE), codec.m_sampleRates, m_values.sampleRate, codec.m_defaultSampleRate,
               [](const int32_t& rate) { return FormatHz(rate, L"%d", false, true); });
    FillValues(Item(IDC_CODEC_AUDIO_RATE), codec.m_bitRates, m_values.audioBitRate, codec.m_defaultBitRate, KbpsText);
}

void CCodecSettingsPanel::OnVideoCodecChanged()
{
    Read(m_values, false);
    FillVideoValues();
}

void CCodecSettingsPanel::OnAudioCodecChanged()
{
    Read(m_values, false);
    FillAudioValues();
}

void CCodecSettingsPanel::OnStreamBoxClicked() { UpdateBoxes(); }

bool CCodecSettingsPanel::IsVideoOn() const { return m_dialog->IsDlgButtonChecked(IDC_CODEC_VIDEO) == BST_CHECKED; }
bool CCodecSettingsPanel::IsAudioOn() const { return m_dialog->IsDlgButtonChecked(IDC_CODEC_AUDIO) == BST_CHECKED; }

void CCodecSettingsPanel::UpdateBoxes()
{
    const bool hasVideo = m_format && m_format->HasVideo();
    const bool hasAudio = m_format && m_format->HasAudio();
    const bool video = hasVideo && IsVideoOn();
    const bool audio = hasAudio && IsAudioOn();
    Item(IDC_CODEC_VIDEO)->EnableWindow(
        StreamBoxEnabled(hasVideo, (m_values.videoFlags & MEDIA_STREAM_LOCKED) != 0, video, hasAudio, audio));
    Item(IDC_CODEC_AUDIO)->EnableWindow(
        StreamBoxEnabled(hasAudio, (m_values.audioFlags & MEDIA_STREAM_LOCKED) != 0, audio, hasVideo, video));
    for (int id : {IDC_CODEC_VIDEO_CODEC, IDC_CODEC_SIZE_LIST, IDC_CODEC_SIZE_EDIT, IDC_CODEC_RATE_LIST,
                   IDC_CODEC_RATE_EDIT, IDC_CODEC_VIDEO_RATE_LIST, IDC_CODEC_VIDEO_RATE_EDIT, IDC_CODEC_VIDEO_SAME})
        Item(id)->EnableWindow(video);
    for (int id : {IDC_CODEC_AUDIO_CODEC, IDC_CODEC_CHANNELS, IDC_CODEC_SAMPLE_RATE, IDC_CODEC_AUDIO_RATE,
                   IDC_CODEC_AUDIO_SAME})
        Item(id)->EnableWindow(audio);
}

bool CCodecSettingsPanel::CheckTypedValues() const
{
    const CVideoCodecInfo* codec = m_shownVideo;
    if (!codec || !IsVideoOn())
        return true;
    struct Typed {
        uint32_t anyFlag;
        int id;
        CString (*problem)(const wchar_t*);
    } const typed[] = {
        {VIDEO_ANY_SIZE, IDC_CODEC_SIZE_EDIT, TypedSizeProblem},
        {VIDEO_ANY_FRAME_RATE, IDC_CODEC_RATE_EDIT, TypedFrameRateProblem},
        {VIDEO_ANY_BIT_RATE, IDC_CODEC_VIDEO_RATE_EDIT, TypedBitRateProblem},
    };
    for (const Typed& value : typed) {
        if (!(codec->m_flags & value.anyFlag))
            continue;
        const CString problem = value.problem(Item(value.id)->GetWindowText());
        if (problem.IsEmpty())
            continue;
        m_dialog->MessageBox(problem, kInvalidValueCaption, MB_OK | MB_ICONEXCLAMATION);
        m_dialog->GotoDlgCtrl(Item(value.id));
        return false;
    }
    return true;
}

void CCodecSettingsPanel::Read(MEDIA_PRESET_SETTINGS& values, bool final) const
{
    // The codecs chosen now, with the values their lists show (those of the codec shown last).
    if (const CVideoCodecInfo* chosen = GetVideoCodec())
        SetPresetText(values.videoCodec, chosen->m_id);
    if (const CAudioCodecInfo* chosen = GetAudioCodec())
        SetPresetText(values.audioCodec, chosen->m_id);
    if (const CVideoCodecInfo* codec = m_shownVideo) {
        const bool anySize = (codec->m_flags & VIDEO_ANY_SIZE) != 0;
        const bool anyRate = (codec->m_flags & VIDEO_ANY_FRAME_RATE) != 0;
        const bool anyBitRate = (codec->m_flags & VIDEO_ANY_BIT_RATE) != 0;
        const CIntPair size = anySize ? ParseTypedSize(Item(IDC_CODEC_SIZE_EDIT)->GetWindowText())
                                      : SelectedValue(Item(IDC_CODEC_SIZE_LIST), codec->m_sizes);
        const CIntPair rate = anyRate ? ParseTypedFrameRate(Item(IDC_CODEC_RATE_EDIT)->GetWindowText(), final)
                                      : SelectedValue(Item(IDC_CODEC_RATE_LIST), codec->m_frameRates);
        values.width = size.first;
        values.height = size.second;
        values.rateNum = rate.first;
        values.rateDen = rate.second;
        values.videoBitRate = anyBitRate ? ParseTypedBitRate(Item(IDC_CODEC_VIDEO_RATE_EDIT)->GetWindowText())
                                         : SelectedValue(Item(IDC_CODEC_VIDEO_RATE_LIST), codec->m_bitRates);
    }
    if (const CAudioCodecInfo* codec = m_shownAudio) {
        values.channels = SelectedValue(Item(IDC_CODEC_CHANNELS), codec->m_channels);
        values.sampleRate = SelectedValue(Item(IDC_CODEC_SAMPLE_RATE), codec->m_sampleRates);
        values.audioBitRate = SelectedValue(Item(IDC_CODEC_AUDIO_RATE), codec->m_bitRates);
    }
    // A locked stream keeps its on/off as the catalogue has it, whatever its box says.
    const bool videoOn = (values.videoFlags & MEDIA_STREAM_LOCKED) ? !(values.videoFlags & MEDIA_NO_STREAM) : IsVideoOn();
    const bool audioOn = (values.audioFlags & MEDIA_STREAM_LOCKED) ? !(values.audioFlags & MEDIA_NO_STREAM) : IsAudioOn();
    values.videoFlags &= MEDIA_STREAM_LOCKED;
    values.audioFlags &= MEDIA_STREAM_LOCKED;
    if (m_format && m_format->HasVideo())
        values.videoFlags |= StreamFlags(videoOn, m_dialog->IsDlgButtonChecked(IDC_CODEC_VIDEO_SAME) == BST_CHECKED);
    if (m_format && m_format->HasAudio())
        values.audioFlags |= StreamFlags(audioOn, m_dialog->IsDlgButtonChecked(IDC_CODEC_AUDIO_SAME) == BST_CHECKED);
}
