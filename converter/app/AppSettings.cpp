#include "AppSettings.h"

#include "ProfileSection.h"
#include "FileShell.h"
#include "MediaFormatCatalog.h"
#include "ThumbnailBox.h"

namespace {

const CProfileSection kProfile(L"Settings");
constexpr int kRecentCapacity = 20;

void SetUpRecentList(CRecentListBase& list, const wchar_t* section)
{
    list.m_strSection = section;
    list.m_strEntryFormat = L"%02d";
    list.m_nMaxCount = kRecentCapacity;
}

} // namespace

CAppSettings::CAppSettings()
{
    SetUpRecentList(m_recentFilters, L"Recent\\Filters");
    SetUpRecentList(m_recentFolders, L"Recent\\Folders");
}

int CAppSettings::Load()
{
    m_overwrite = kProfile.ReadInt(L"Overwrite", m_overwrite);
    m_autoStart = kProfile.ReadBool(L"AutoStart", m_autoStart);
    m_autoClose = kProfile.ReadBool(L"AutoClose", m_autoClose);
    m_autoPlay = kProfile.ReadBool(L"AutoPlay", m_autoPlay);
    m_autoOpen = kProfile.ReadBool(L"AutoOpen", m_autoOpen);
    m_alwaysOnTop = kProfile.ReadBool(L"AlwaysOnTop", m_alwaysOnTop);
    m_sameAsInput = kProfile.ReadBool(L"SameAsInput", m_sameAsInput);
    m_addToITunes = kProfile.ReadBool(L"AddToiTunes", m_addToITunes);
    m_autoSelect = kProfile.ReadBool(L"AutoSelect", m_autoSelect);
    m_thumbnailWidth = BoundThumbnailSide(kProfile.ReadInt(L"Thumbnail.Width", m_thumbnailWidth));
    m_thumbnailHeight = BoundThumbnailSide(kProfile.ReadInt(L"Thumbnail.Height", m_thumbnailHeight));
    m_folderFilterIndex = kProfile.ReadInt(L"FolderDialog.FilterIndex", m_folderFilterIndex);
    m_folderLastFolder = kProfile.ReadString(L"FolderDialog.LastFolder", m_folderLastFolder);
    m_folderScanSubfolders = kProfile.ReadBool(L"FolderDialog.ScanSubfolders", m_folderScanSubfolders);
    m_folderDefaultFilter = kProfile.ReadString(L"FolderDialog.DefaultFilter", m_folderDefaultFilter);
    m_autoCheckUpdate = kProfile.ReadBool(L"AutoCheckUpdate", m_autoCheckUpdate);
    m_autoCheckUpdateEvery = kProfile.ReadInt(L"AutoCheckUpdate.Every", m_autoCheckUpdateEvery);

    m_recentFolders.Load();
    if (m_recentFolders.GetCount() == 0) {
        // Added in front one after the other: the videos folder comes first.
        const CString music = GetMyMusicFolder(false);
        const CString videos = GetMyVideosFolder(false);
        if (!music.IsEmpty())
            m_recentFolders.Add(music);
        if (!videos.IsEmpty())
            m_recentFolders.Add(videos);
    }
    m_recentFilters.Load();
    return 0;
}

int CAppSettings::LoadMediaChoice(const CMediaFormatCatalog& catalog)
{
    const CString formatId = kProfile.ReadString(L"Media.Codec", CString());
    const CString presetName = kProfile.ReadString(L"Media.Format", CString());
    if (!formatId.IsEmpty() && !presetName.IsEmpty())
        m_preset = catalog.FindPreset(formatId, presetName);
    return 0;
}

void CAppSettings::Save()
{
    kProfile.WriteInt(L"Overwrite", m_overwrite);
    kProfile.WriteBool(L"AutoStart", m_autoStart);
    kProfile.WriteBool(L"AutoClose", m_autoClose);
    kProfile.WriteBool(L"AutoPlay", m_autoPlay);
    kProfile.WriteBool(L"AutoOpen", m_autoOpen);
    kProfile.WriteBool(L"AlwaysOnTop", m_alwaysOnTop);
    kProfile.WriteBool(L"SameAsInput", m_sameAsInput);
    kProfile.WriteBool(L"AddToiTunes", m_addToITunes);
    kProfile.WriteBool(L"AutoSelect", m_autoSelect);
    kProfile.WriteInt(L"Thumbnail.Width", m_thumbnailWidth);
    kProfile.WriteInt(L"Thumbnail.Height", m_thumbnailHeight);
    if (m_preset && m_preset->m_format) {
        kProfile.WriteString(L"Media.Codec", m_preset->m_format->m_id);
        const bool custom = (m_preset->m_settings.flags & MEDIA_PRESET_CUSTOM) != 0;
        kProfile.WriteString(L"Media.Format", custom ? CString(L"Custom") : CString(m_preset->m_settings.name));
    }
    kProfile.WriteInt(L"FolderDialog.FilterIndex", m_folderFilterIndex);
    kProfile.WriteString(L"FolderDialog.LastFolder", m_folderLastFolder);
    kProfile.WriteBool(L"FolderDialog.ScanSubfolders", m_folderScanSubfolders);
    kProfile.WriteString(L"FolderDialog.DefaultFilter", m_folderDefaultFilter);
    kProfile.WriteBool(L"AutoCheckUpdate", m_autoCheckUpdate);
    kProfile.WriteInt(L"AutoCheckUpdate.Every", m_autoCheckUpdateEvery);
    m_recentFolders.Save();
    m_recentFilters.Save();
}
