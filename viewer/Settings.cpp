#include "Settings.h"

#include "CWinApp.h"
#include "ViewerGlobals.h"
#include "ViewerFiles.h"
#include "resource.h"

namespace {

const wchar_t kSection[] = L"Settings";

void ReadInt(const wchar_t* key, int& field)
{
    field = FwGetApp()->GetProfileInt(kSection, key, field);
}

void ReadBool(const wchar_t* key, int& field)
{
    field = FwGetApp()->GetProfileInt(kSection, key, field) != 0;
}

void WriteInt(const wchar_t* key, int value) { FwGetApp()->WriteProfileInt(kSection, key, value); }
void WriteBool(const wchar_t* key, int value) { WriteInt(key, value ? 1 : 0); }

CString ReadFolder(const wchar_t* key, const CString& current)
{
    CString folder = FwGetApp()->GetProfileString(kSection, key, current);
    return folder.IsEmpty() ? GetMyPicturesFolder() : folder;
}

} // namespace

CSettings::CSettings()
{
    g_pSettings = this;
}

CSettings::~CSettings()
{
    if (g_pSettings == this)
        g_pSettings = nullptr;
}

void CSettings::InitRecentList(CRecentList& list, const wchar_t* section, int size)
{
    list.m_strSection = section;
    list.m_strEntryFormat = L"%02d";
    list.m_nMaxCount = size;
    if (size != 0)
        list.Load();
}

void CSettings::InitRecentFiles(int size) { InitRecentList(m_recentFiles, L"Recent\\Files", size); }
void CSettings::InitRecentPlaylists(int size) { InitRecentList(m_recentPlaylists, L"Recent\\Playlists", size); }

int CSettings::Load()
{
    ReadInt(L"ViewLayout", ViewLayout);
    ReadInt(L"PlaylistViewStyle", PlaylistViewStyle);
    ReadBool(L"AlwaysOnTop", AlwaysOnTop);
    ReadBool(L"Transparent", Transparent);
    Repeat = FwGetApp()->GetProfileInt(kSection, L"Repeat", Repeat);
    ReadBool(L"AutoAdvance", AutoAdvance);
    ReadBool(L"AutoClose", AutoClose);
    ReadBool(L"DisableScreenSaver", DisableScreenSaver);
    ReadBool(L"AlwaysShowControlBar", AlwaysShowControlBar);
    ReadInt(L"EscToExitFullScreen", EscToExitFullScreen);
    ReadBool(L"SaveRecentFiles", SaveRecentFiles);
    ReadInt(L"MaxRecentFiles", MaxRecentFiles);
    ReadBool(L"SaveRecentPlaylists", SaveRecentPlaylists);
    ReadInt(L"MaxRecentPlaylists", MaxRecentPlaylists);
    MaxRecentFiles = ClampRecentMax(MaxRecentFiles);
    MaxRecentPlaylists = ClampRecentMax(MaxRecentPlaylists);
    ReadInt(L"BackgroundTheme", BackgroundTheme);
    ReadInt(L"BackgroundHatch", BackgroundHatch);
    ReadInt(L"BackgroundColor", BackgroundColor);
    ReadInt(L"Zoom", Zoom);
    ReadBool(L"LoadLastPlaylist", LoadLastPlaylist);
    ReadBool(L"AllowDuplicates", AllowDuplicates);
    ReadBool(L"ShowDuration", ShowDuration);
    ReadBool(L"ShowFrameCount", ShowFrameCount);
    ReadBool(L"ShowResolution", ShowResolution);
    ReadBool(L"ShowTitle", ShowTitle);
    ReadBool(L"ShowThumbnail", ShowThumbnail);
    ReadInt(L"Thumbnail.cx", ThumbnailCx);
    ReadInt(L"Thumbnail.cy", ThumbnailCy);
    ApplyBounds();
    ReadInt(L"LastFilterIndex", LastFilterIndex);
    LastOpenFolder = ReadFolder(L"LastOpenFolder", LastOpenFolder);
    ReadBool(L"LastScanSubfolders", LastScanSubfolders);
    ReadBool(L"AutoCheckUpdate", AutoCheckUpdate);
    ReadInt(L"AutoCheckUpdate.Every", AutoCheckUpdateEvery);
    LastSaveFolder = ReadFolder(L"LastSaveFolder", LastSaveFolder);
    InitRecentFiles(SaveRecentFiles ? MaxRecentFiles : 0);
    InitRecentPlaylists(SaveRecentPlaylists ? MaxRecentPlaylists : 0);
    TempFolder = FwGetApp()->GetProfileString(kSection, L"TempFolder", TempFolder);
    if (TempFolder.IsEmpty())
        TempFolder = GetAppDataFolder() + L"\\Temp";
    ReadBool(L"CacheFrames", CacheFrames);
    return 0;
}

void CSettings::Save()
{
    WriteInt(L"ViewLayout", ViewLayout);
    WriteInt(L"PlaylistViewStyle", PlaylistViewStyle);
    WriteBool(L"AlwaysOnTop", AlwaysOnTop);
    WriteBool(L"Transparent", Transparent);
    WriteInt(L"Repeat", Repeat);
    WriteBool(L"AutoAdvance", AutoAdvance);
    WriteBool(L"AutoClose", AutoClose);
    WriteBool(L"DisableScreenSaver", DisableScreenSaver);
    WriteBool(L"AlwaysShowControlBar", AlwaysShowControlBar);
    WriteInt(L"EscToExitFullScreen", EscToExitFullScreen);
    WriteBool(L"SaveRecentFiles", SaveRecentFiles);
    WriteInt(L"MaxRecentFiles", MaxRecentFiles);
    WriteBool(L"SaveRecentPlaylists", SaveRecentPlaylists);
    WriteInt(L"MaxRecentPlaylists", MaxRecentPlaylists);
    WriteInt(L"BackgroundTheme", BackgroundTheme);
    WriteInt(L"BackgroundHatch", BackgroundHatch);
    WriteInt(L"BackgroundColor", BackgroundColor);
    WriteInt(L"Zoom", Zoom);
    WriteBool(L"LoadLastPlaylist", LoadLastPlaylist);
    WriteBool(L"AllowDuplicates", AllowDuplicates);
    WriteBool(L"ShowDuration", ShowDuration);
    WriteBool(L"ShowFrameCount", ShowFrameCount);
    WriteBool(L"ShowResolution", ShowResolution);
    WriteBool(L"ShowTitle", ShowTitle);
    WriteBool(L"ShowThumbnail", ShowThumbnail);
    WriteInt(L"Thumbnail.cx", ThumbnailCx);
    WriteInt(L"Thumbnail.cy", ThumbnailCy);
    WriteInt(L"LastFilterIndex", LastFilterIndex);
    FwGetApp()->WriteProfileString(kSection, L"LastOpenFolder", LastOpenFolder);
    WriteBool(L"LastScanSubfolders", LastScanSubfolders);
    WriteBool(L"AutoCheckUpdate", AutoCheckUpdate);
    WriteInt(L"AutoCheckUpdate.Every", AutoCheckUpdateEvery);
    FwGetApp()->WriteProfileString(kSection, L"LastSaveFolder", LastSaveFolder);
    WriteBool(L"CacheFrames", CacheFrames);
    m_recentFiles.Save();
    m_recentPlaylists.Save();
}

CString CSettings::GetDefaultPlaylistPath() { return GetAppDataFolder() + L"\\Default.playlist"; }

CString CSettings::NewTempFilePath()
{
    CString path = NewTempFileName();
    return path.IsEmpty() ? GetTempFilePath() : path;
}

CUIResources::CUIResources()
{
    g_pUIResources = this;
}

CUIResources::~CUIResources()
{
    if (m_hHandCursor)
        ::DestroyCursor(m_hHandCursor);
    if (g_pUIResources == this)
        g_pUIResources = nullptr;
}

int CUIResources::Load()
{
    m_osVersion.Query();
    LOGFONTW font{};
    HGDIOBJ stock = ::GetStockObject(DEFAULT_GUI_FONT);
    if (!stock || !::GetObjectW(stock, sizeof font, &font))
        ::GetObjectW(::GetStockObject(SYSTEM_FONT), sizeof font, &font);
    if (lstrcmpW(font.lfFaceName, L"Tahoma") != 0) {
        lstrcpynW(font.lfFaceName, L"Tahoma", LF_FACESIZE);
        font.lfHeight = -11;
    }
    m_fontNormal.CreateFontIndirect(&font);
    font.lfUnderline = TRUE;
    m_fontUnderline.CreateFontIndirect(&font);
    font.lfUnderline = FALSE;
    font.lfWeight = FW_BOLD;
    m_fontBold.CreateFontIndirect(&font);
    font.lfHeight += font.lfHeight / 3;
    m_fontLargeBold.CreateFontIndirect(&font);
    m_hHandCursor = ::LoadCursorW(FwGetInstanceHandle(), MAKEINTRESOURCEW(IDC_HAND_POINTER));
    return 0;
}
