#include "MediaFormatCatalog.h"

#include "CatalogFiles.h"
#include "MediaFormatsXml.h"

int CMediaFormatCatalog::Load(const CString& path)
{
    Clear();
    if (Build() != 0)
        return -1;
    m_path = path;
    LoadFile();
    return 0;
}

int CMediaFormatCatalog::LoadFile()
{
    const int result = m_path.IsEmpty() ? -1 : CMediaFormatsXml::Read(m_path, *this);
    if (result == 0)
        return 0;
    for (const auto& group : m_groups) {
        for (const auto& format : group->m_formats)
            format->Reset();
    }
    // Whatever the user had in a file we cannot take stays available beside the rewritten one;
    // when no copy can be made the file is not rewritten unasked.
    const bool rejected = !m_path.IsEmpty() && CatalogFiles::Exists(m_path);
    m_modified = !rejected || CatalogFiles::Copy(m_path, BackupPath(m_path)) == 0 ? 1 : 0;
    return 0;
}

int CMediaFormatCatalog::Save()
{
    if (m_groups.empty() || m_path.IsEmpty() || !m_modified)
        return 1;
    return CMediaFormatsXml::Write(m_path, *this);
}

CMediaFormatInfo* CMediaFormatCatalog::FindFormat(const wchar_t* id) const
{
    if (!id)
        return nullptr;
    for (const auto& group : m_groups) {
        for (const auto& format : group->m_formats) {
            if (format->m_id.CompareNoCase(id) == 0)
                return format.get();
        }
    }
    return nullptr;
}

CMediaPreset* CMediaFormatCatalog::FindPreset(const wchar_t* formatId, const wchar_t* presetName) const
{
    CMediaFormatInfo* format = FindFormat(formatId);
    if (!format || !presetName)
        return nullptr;
    if (CString(presetName).CompareNoCase(L"Custom") == 0)
        return format->m_customPreset.get();
    for (const auto& preset : format->m_presets) {
        if (CString(preset->m_settings.name).CompareNoCase(presetName) == 0)
            return preset.get();
    }
    return nullptr;
}

CString CMediaFormatCatalog::BackupPath(const CString& path)
{
    return path + L".bak";
}
