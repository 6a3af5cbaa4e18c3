#pragma once
// Groups of formats and the catalogue that holds them. The structure (groups, formats, codec
// entries) is always built by the program; the catalogue file only carries what can change.
#include <memory>
#include <vector>

#include "MediaFormatInfo.h"

class CMediaFormatGroup : public CMediaCatalogItem {
public:
    CMediaFormatGroup() { m_flags = MEDIA_ITEM_GROUP; }
    CMediaFormatGroup(const CMediaFormatGroup&) = delete;
    CMediaFormatGroup& operator=(const CMediaFormatGroup&) = delete;

    CString m_name;
    std::vector<std::unique_ptr<CMediaFormatInfo>> m_formats;  // in display order
    int32_t m_defaultFormat = 0;  // only kept in the file ("DefaultCodec")
};

// The catalogue is the top group: its children are groups (m_groups), so its own format list
// stays empty.
class CMediaFormatCatalog : public CMediaFormatGroup {
public:
    CMediaFormatCatalog() { m_flags = 0; }

    // Builds the catalogue anew and takes the presets from the file at the path (or the built-in
    // ones when the file cannot be taken). -1 when the catalogue cannot be built, else 0.
    virtual int Load(const CString& path);
    virtual void Clear() {}
    virtual int Build() = 0;

    // The file's presets, or the built-in ones (marking the catalogue modified). A file that
    // exists but is rejected is first kept beside it as a backup; without a backup it is not
    // marked for rewriting. Returns 0.
    int LoadFile();
    // Writes the file when the catalogue has groups, a path and changes: 0 written, -1 failed,
    // 1 nothing to write. The modified flag is left as it is.
    int Save();

    // Case-insensitive lookups; "Custom" names a format's custom preset.
    CMediaFormatInfo* FindFormat(const wchar_t* id) const;
    CMediaPreset* FindPreset(const wchar_t* formatId, const wchar_t* presetName) const;

    // The name of the copy kept of a rejected file.
    static CString BackupPath(const CString& path);

    CString m_version = L"2.3.0";
    int32_t m_modified = 0;
    CString m_path;
    std::vector<std::unique_ptr<CMediaFormatGroup>> m_groups;
};
