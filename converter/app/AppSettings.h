#pragma once
// The converter's settings in the profile section "Settings", with the recent output folders
// and folder-scan filters.
#include <atomic>

#include "CString.h"
#include "RecentList.h"

class CMediaFormatCatalog;
class CMediaPreset;

class CAppSettings {
public:
    CAppSettings();
    virtual ~CAppSettings() = default;
    CAppSettings(const CAppSettings&) = delete;
    CAppSettings& operator=(const CAppSettings&) = delete;

    // Every key with the current value as its default, then the recent lists; 0.
    int Load();
    // The chosen preset from "Media.Codec" (format id) and "Media.Format" (preset name); 0.
    int LoadMediaChoice(const CMediaFormatCatalog& catalog);
    void Save();

    int ThumbnailWidth() const { return m_thumbnailWidth; }
    int ThumbnailHeight() const { return m_thumbnailHeight; }

    // Read and written by the conversion thread too.
    std::atomic<int> m_overwrite{0};  // 0 ask, 11 new name, 12 overwrite, 13 cancel
    int m_autoStart = 0;
    int m_autoClose = 0;
    int m_autoPlay = 0;
    int m_autoOpen = 0;
    int m_alwaysOnTop = 0;
    int m_sameAsInput = 0;
    int m_addToITunes = 0;
    CMediaPreset* m_preset = nullptr;  // into the catalogue
    std::atomic<int> m_autoSelect{1};  // the file-exists prompt closes by itself
    int m_thumbnailWidth = 100;
    int m_thumbnailHeight = 100;
    CRecentListBase m_recentFilters;
    int m_folderFilterIndex = 0;
    CString m_folderLastFolder;
    int m_folderScanSubfolders = 0;
    CString m_folderDefaultFilter;
    CRecentList m_recentFolders;
    int m_autoCheckUpdate = 1;
    int m_autoCheckUpdateEvery = 7;
};
