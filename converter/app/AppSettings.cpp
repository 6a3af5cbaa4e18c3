#include "AppSettings.h"

#include "CWinApp.h"
#include "FileShell.h"
#include "MediaFormatCatalog.h"
#include "ThumbnailBox.h"

namespace {

const wchar_t kSection[] = L"Settings";
constexpr int kRecentCapacity = 20;

int ReadInt(const wchar_t* key, int current)
{
    return FwGetApp()->GetProfileInt(kSection, key, current);
}

int ReadBool(const wchar_t* key, int current)
{
    return ReadInt(key, current) != 0 ? 1 : 0;
}

CString ReadString(const wchar_t* key, const CString& current)
{
    return FwGetApp()->GetProfileString(kSection, key, current);
}

void WriteInt(const wchar_t* key, int value)
{
    FwGetApp()->WriteProfileInt(kSection, key, value);
}

void WriteBool(const wchar_t* key, int value)
{
    WriteInt(key, value ? 1 : 0);
}

void WriteString(const wchar_t* key, const CString& value)
{
    FwGetApp()->WriteProfileString(kSection, key, value);
}

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
    m_overwrite = ReadInt(L"Overwrite", m_overwrite);
    m_autoStart = ReadBool(L"AutoStart", m_autoStart);
    m_autoClose = ReadBool(L"AutoClose", m_autoClose);
    m_autoPlay = ReadBool(L"AutoPlay", m_autoPlay);
    m_autoOpen = ReadBool(L"AutoOpen", m_autoOpen);
    m_alwaysOnTop = ReadBool(L"AlwaysOnTop", m_alwaysOnTop);
    m_sameAsInput = ReadBool(L"SameAsInput", m_sameAsInput);
    m_addToITunes = ReadBool(L"AddToiTunes", m_addToITunes);
    m_autoSelect = ReadBool(L"AutoSelect", m_autoSelect);
    m_thumbnailWidth = BoundThumbnailSide(ReadInt(L"Thumbnail.Width", m_thumbnailWidth));
    m_thumbnailHeight = BoundThumbnailSide(ReadInt(L"Thumbnail.Height", m_thumbnailHeight));
    m_folderFilterIndex = ReadInt(L"FolderDialog.FilterIndex", m_folderFilterIndex);
    m_folderLastFolder = ReadString(L"FolderDialog.LastFolder", m_folderLastFolder);
    m_folderScanSubfolders = ReadBool(L"FolderDialog.ScanSubfolders", m_folderScanSubfolders);
    m_folderDefaultFilter = ReadString(L"FolderDialog.DefaultFilter", m_folderDefaultFilter);
    m_autoCheckUpdate = ReadBool(L"AutoCheckUpdate", m_autoCheckUpdate);
    m_autoCheckUpdateEvery = ReadInt(L"AutoCheckUpdate.Every", m_autoCheckUpdateEvery);

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
    const CString formatId = ReadString(L"Media.Codec", CString());
    const CString presetName = ReadString(L"Media.Format", CString());
    if (!formatId.IsEmpty() && !presetName.IsEmpty())
        m_preset = catalog.FindPreset(formatId, presetName);
    return 0;
}

void CAppSettings::Save()
{
    WriteInt(L"Overwrite", m_overwrite);
    WriteBool(L"AutoStart", m_autoStart);
    WriteBool(L"AutoClose", m_autoClose);
    WriteBool(L"AutoPlay", m_autoPlay);
    WriteBool(L"AutoOpen", m_autoOpen);
    WriteBool(L"AlwaysOnTop", m_alwaysOnTop);
    WriteBool(L"SameAsInput", m_sameAsInput);
    WriteBool(L"AddToiTunes", m_addToITunes);
    WriteBool(L"AutoSelect", m_autoSelect);
    WriteInt(L"Thumbnail.Width", m_thumbnailWidth);
    WriteInt(L"Thumbnail.Height", m_thumbnailHeight);
    if (m_preset && m_preset->m_format) {
        WriteString(L"Media.Codec", m_preset->m_format->m_id);
        const bool custom = (m_preset->m_settings.flags & MEDIA_PRESET_CUSTOM) != 0;
        WriteString(L"Media.Format", custom ? CString(L"Custom") : CString(m_preset->m_settings.name));
    }
    WriteInt(L"FolderDialog.FilterIndex", m_folderFilterIndex);
    WriteString(L"FolderDialog.LastFolder", m_folderLastFolder);
    WriteBool(L"FolderDialog.ScanSubfolders", m_folderScanSubfolders);
    WriteString(L"FolderDialog.DefaultFilter", m_folderDefaultFilter);
    WriteBool(L"AutoCheckUpdate", m_autoCheckUpdate);
    WriteInt(L"AutoCheckUpdate.Every", m_autoCheckUpdateEvery);
    m_recentFolders.Save();
    m_recentFilters.Save();
}
