#include "AppFormatCatalog.h"

#include "BuiltinFormats.h"

int CAppFormatCatalog::Load(const CString& path)
{
    if (CMediaFormatCatalog::Load(path) == -1)
        return -1;
    for (const auto& group : m_groups) {
        for (const auto& format : group->m_formats) {
            for (const auto& preset : format->m_presets)
                preset->m_settings.audioFlags |= MEDIA_NO_STREAM | MEDIA_STREAM_LOCKED;
        }
    }
    return 0;
}

void CAppFormatCatalog::Clear()
{
    m_groups.clear();
}

int CAppFormatCatalog::Build()
{
    BuildVideoGroup();
    BuildDeviceGroup();
    return 0;
}

namespace {

#ifdef _WIN32
constexpr wchar_t kPathSeparator = L'\\';
#else
constexpr wchar_t kPathSeparator = L'/';
#endif

void BuildGroup(CMediaFormatCatalog& catalog, BuiltinGroup which, int32_t category, const wchar_t* id,
                const wchar_t* name)
{
    auto group = std::make_unique<CMediaFormatGroup>();
    group->m_category = category;
    group->m_id = id;
    group->m_name = name;
    for (int i = 0; const wchar_t* formatId = BuiltinFormatId(which, i); ++i)
        group->m_formats.push_back(BuildMediaFormatEntry(formatId));
    catalog.m_groups.push_back(std::move(group));
}

} // namespace

int CAppFormatCatalog::BuildVideoGroup()
{
    BuildGroup(*this, BUILTIN_VIDEO_GROUP, MEDIA_CATEGORY_VIDEO, L"MCG_Video", L"Video");
    return 0;
}

int CAppFormatCatalog::BuildDeviceGroup()
{
    BuildGroup(*this, BUILTIN_DEVICE_GROUP, MEDIA_CATEGORY_DEVICE_GROUP, L"MCG_Device", L"Device");
    return 0;
}

int CAppFormatCatalog::LoadDefault(const CString& dataFolder)
{
    CString path = dataFolder;
    if (!path.IsEmpty() && path.Right(1) != L"\\" && path.Right(1) != L"/")
        path += kPathSeparator;
    return Load(path + FileName());
}
