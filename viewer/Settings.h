#pragma once
// The viewer's settings in the application profile (section "Settings"), its recent lists and
// folders, and the cursor and fonts its windows draw with.
#include <windows.h>

#include "CDC.h"
#include "RecentList.h"
#include "SettingsValues.h"
#include "SysHelpers.h"

class CSettings : public CSettingsValues {
public:
    CRecentList m_recentFiles;
    CRecentList m_recentPlaylists;

    CSettings();
    ~CSettings() override;

    int Load();
    void Save();
    void InitRecentFiles(int size);
    void InitRecentPlaylists(int size);
    void AddRecentFile(const wchar_t* path) { m_recentFiles.Add(path); }
    void ClearRecentFiles() { m_recentFiles.RemoveAll(); }
    void AddRecentPlaylist(const wchar_t* path) { m_recentPlaylists.Add(path); }
    void RemoveRecentPlaylist(int index) { m_recentPlaylists.Remove(index); }
    void ClearRecentPlaylists() { m_recentPlaylists.RemoveAll(); }

    static CString GetDefaultPlaylistPath();
    // Only the viewer's own files go: the folder may have been set by hand to one with other files.
    void DeleteTempFolder() const { DeleteOwnTempFiles(); }

private:
    static void InitRecentList(CRecentList& list, const wchar_t* section, int size);
};

class CUIResources {
public:
    COSVersion m_osVersion;
    CFont m_fontNormal;
    CFont m_fontBold;
    CFont m_fontUnderline;
    CFont m_fontLargeBold;
    HCURSOR m_hHandCursor = nullptr;

    CUIResources();
    virtual ~CUIResources();
    CUIResources(const CUIResources&) = delete;
    CUIResources& operator=(const CUIResources&) = delete;

    int Load();
};
