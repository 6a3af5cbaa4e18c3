// The main dialog's format and preset choice, and the dialogs that edit the catalogue.

#include "TalvenaDlg.h"

#include "AppFormatCatalog.h"
#include "AppGlobals.h"
#include "FormatManagerDlg.h"
#include "FormatSettingsDlg.h"
#include "TalvenaDlgHelpers.h"

namespace {

bool IsGroupEntry(const CMediaCatalogItem* entry)
{
    return entry && (entry->m_flags & MEDIA_ITEM_GROUP) != 0;
}

} // namespace

void CTalvenaDlg::FillFormatCombo()
{
    m_formatCombo.ResetContent();
    if (!g_pFormatCatalog)
        return;
    const int row = ::FillFormatCombo(m_formatCombo, *g_pFormatCatalog, m_currentFormat);
    if (row >= 0)
        m_formatIndex = row;
}

void CTalvenaDlg::SelectFormat(int index)
{
    const int count = m_formatCombo.GetCount();
    auto entryAt = [&](int i) { return static_cast<CMediaCatalogItem*>(m_formatCombo.GetItemDataPtr(i)); };
    while (index + 1 < count && IsGroupEntry(entryAt(index)))
        ++index;
    m_formatCombo.SetCurSel(index);
    CMediaCatalogItem* entry = index >= 0 && index < count ? entryAt(index) : nullptr;
    const bool isFormat = entry && !IsGroupEntry(entry);
    if (isFormat && static_cast<CMediaFormatInfo*>(entry) != m_currentFormat) {
        m_currentFormat = static_cast<CMediaFormatInfo*>(entry);
        const auto chosen = m_chosenPresets.find(m_currentFormat);
        m_presetIndex = chosen != m_chosenPresets.end() ? chosen->second : m_currentFormat->m_defaultPreset;
        m_currentPreset = nullptr;
    } else if (!isFormat) {
        m_currentFormat = nullptr;
    }
    m_presetCombo.EnableWindow(isFormat && !IsConverting());
    m_formatIndex = index;
    FillPresetCombo();
    SelectPreset(ClampIndex(m_presetIndex, m_presetCombo.GetCount()));
}

void CTalvenaDlg::FillPresetCombo()
{
    m_presetCombo.ResetContent();
    if (!m_currentFormat)
        return;
    for (const auto& preset : m_currentFormat->m_presets) {
        CString text;
        preset->GetListText(text, true);
        const int index = m_presetCombo.AddString(text);
        m_presetCombo.SetItemDataPtr(index, preset.get());
        if (preset.get() == m_currentPreset)
            m_presetIndex = index;
    }
    m_currentFormat->m_customPresetPos = -1;
    if (CMediaPreset* custom = m_currentFormat->m_customPreset.get()) {
        const int index = m_presetCombo.AddString(L"Custom");
        m_presetCombo.SetItemDataPtr(index, custom);
        m_currentFormat->m_customPresetPos = index;
        if (custom == m_currentPreset)
            m_presetIndex = index;
    }
}

void CTalvenaDlg::SelectPreset(int index)
{
    if (index < 0 || index >= m_presetCombo.GetCount()) {
        m_currentPreset = nullptr;
        return;
    }
    m_presetCombo.SetCurSel(index);
    m_presetIndex = index;
    m_currentPreset = static_cast<CMediaPreset*>(m_presetCombo.GetItemDataPtr(index));
}

void CTalvenaDlg::OnFormatChanged()
{
    if (m_currentFormat)
        m_chosenPresets[m_currentFormat] = m_presetIndex;
    const int index = m_formatCombo.GetCurSel();
    if (index >= 0 && index != m_formatIndex)
        SelectFormat(index);
}

void CTalvenaDlg::OnPresetChanged()
{
    const int index = m_presetCombo.GetCurSel();
    if (index >= 0 && index != m_presetIndex)
        SelectPreset(index);
}

void CTalvenaDlg::OnAdvanced()
{
    if (!m_currentFormat || IsConverting())
        return;
    CFormatSettingsDlg dialog(m_formatIndex, m_presetIndex, this);
    if (dialog.DoModal() != IDOK)
        return;
    SelectFormat(ClampIndex(dialog.m_formatIndex, m_formatCombo.GetCount()));
    SelectPreset(ClampIndex(dialog.m_presetIndex, m_presetCombo.GetCount()));
    if (g_pFormatCatalog)
        g_pFormatCatalog->Save();
}

void CTalvenaDlg::OnFormatManager()
{
    // The run reads the chosen preset: its presets are not deleted or reset under it.
    if (IsConverting())
        return;
    const CString formatId = m_currentFormat ? m_currentFormat->m_id : CString();
    // The listed rows are converted with the chosen preset: while there are any, it stays.
    CMediaPreset* const chosen = m_currentPreset;
    const bool rowsWaiting = m_list.GetItemCount() > 0;
    CFormatManagerDlg dialog(this);
    dialog.m_isPresetInUse = [chosen, rowsWaiting](const CMediaPreset* preset) { return rowsWaiting && preset == chosen; };
    dialog.DoModal();
    // Presets may have gone: the choice is found again by the format's id, and the preset by
    // itself when it is still there (its place may have moved).
    m_currentPreset = nullptr;
    m_currentFormat = g_pFormatCatalog && !formatId.IsEmpty() ? g_pFormatCatalog->FindFormat(formatId) : nullptr;
    FillFormatCombo();
    SelectFormat(ClampIndex(m_formatIndex, m_formatCombo.GetCount()));
    int presetRow = ClampIndex(m_presetIndex, m_presetCombo.GetCount());
    for (int row = 0; rowsWaiting && row < m_presetCombo.GetCount(); ++row)
        if (m_presetCombo.GetItemDataPtr(row) == chosen)
            presetRow = row;
    SelectPreset(presetRow);
}
