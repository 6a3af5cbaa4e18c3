#include "Settings.h"

#include "ProfileSection.h"
#include "ViewerGlobals.h"
#include "ViewerFiles.h"
#include "resource.h"

namespace {

const CProfileSection kProfile(L"Settings");

CString ReadFolder(const wchar_t* key, const CString& current)
{
    CString folder = kProfile.ReadString(key, current);
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
    ViewLayout = kProfile.ReadInt(L"ViewLayout", ViewLayout);
    PlaylistViewStyle = kProfile.ReadInt(L"PlaylistViewStyle", PlaylistViewStyle);
    AlwaysOnTop = kProfile.ReadBool(L"AlwaysOnTop", AlwaysOnTop);
    Transparent = kProfile.ReadBool(L"Transparent", Transparent);
    Repeat = kProfile.ReadInt(L"Repeat", Repeat);
    AutoAdvance = kProfile.ReadBool(L"AutoAdvance", AutoAdvance);
    AutoClose = kProfile.ReadBool(L"AutoClose", AutoClose);
    DisableScreenSaver = kProfile.ReadBool(L"DisableScreenSaver", DisableScreenSaver);
    AlwaysShowControlBar = kProfile.ReadBool(L"AlwaysShowControlBar", AlwaysShowControlBar);
    EscToExitFullScreen = kProfile.ReadInt(L"EscToExitFullScreen", EscToExitFullScreen);
    SaveRecentFiles = kProfile.ReadBool(L"SaveRecentFiles", SaveRecentFiles);
    MaxRecentFiles = kProfile.ReadInt(L"MaxRecentFiles", MaxRecentFiles);
    SaveRecentPlaylists = kProfile.ReadBool(L"SaveRecentPlaylists", SaveRecentPlaylists);
    MaxRecentPlaylists = kProfile.ReadInt(L"MaxRecentPlaylists", MaxRecentPlaylists);
    MaxRecentFiles = ClampRecentMax(MaxRecentFiles);
    MaxRecentPlaylists = ClampRecentMax(MaxRecentPlaylists);
    BackgroundTheme = kProfile.ReadInt(L"BackgroundTheme", BackgroundTheme);
    BackgroundHatch = kProfile.ReadInt(L"BackgroundHatch", BackgroundHatch);
    BackgroundColor = kProfile.ReadInt(L"BackgroundColor", BackgroundColor);
    Zoom = kProfile.ReadInt(L"Zoom", Zoom);
    LoadLastPlaylist = kProfile.ReadBool(L"LoadLastPlaylist", LoadLastPlaylist);
    AllowDuplicates = kProfile.ReadBool(L"AllowDuplicates", AllowDuplicates);
    ShowDuration = kProfile.ReadBool(L"ShowDuration", ShowDuration);
    ShowFrameCount = kProfile.ReadBool(L"ShowFrameCount", ShowFrameCount);
    ShowResolution = kProfile.ReadBool(L"ShowResolution", ShowResolution);
    ShowTitle = kProfile.ReadBool(L"ShowTitle", ShowTitle);
    ShowThumbnail = kProfile.ReadBool(L"ShowThumbnail", ShowThumbnail);
    ThumbnailCx = kProfile.ReadInt(L"Thumbnail.cx", ThumbnailCx);
    ThumbnailCy = kProfile.ReadInt(L"Thumbnail.cy", ThumbnailCy);
    ApplyBounds();
    LastFilterIndex = kProfile.ReadInt(L"LastFilterIndex", LastFilterIndex);
    LastOpenFolder = ReadFolder(L"LastOpenFolder", LastOpenFolder);
    LastScanSubfolders = kProfile.ReadBool(L"LastScanSubfolders", LastScanSubfolders);
    AutoCheckUpdate = kProfile.ReadBool(L"AutoCheckUpdate", AutoCheckUpdate);
    AutoCheckUpdateEvery = kProfile.ReadInt(L"AutoCheckUpdate.Every", AutoCheckUpdateEvery);
    LastSaveFolder = ReadFolder(L"LastSaveFolder", LastSaveFolder);
    InitRecentFiles(SaveRecentFiles ? MaxRecentFiles : 0);
    InitRecentPlaylists(SaveRecentPlaylists ? MaxRecentPlaylists : 0);
    TempFolder = kProfile.ReadString(L"TempFolder", TempFolder);
    if (TempFolder.IsEmpty())
        TempFolder = GetAppDataFolder() + L"\\Temp";
    CacheFrames = kProfile.ReadBool(L"CacheFrames", CacheFrames);
    return 0;
}

void CSettings::Save()
{
    kProfile.WriteInt(L"ViewLayout", ViewLayout);
    kProfile.WriteInt(L"PlaylistViewStyle", PlaylistViewStyle);
    kProfile.WriteBool(L"AlwaysOnTop", AlwaysOnTop);
    kProfile.WriteBool(L"Transparent", Transparent);
    kProfile.WriteInt(L"Repeat", Repeat);
    kProfile.WriteBool(L"AutoAdvance", AutoAdvance);
    kProfile.WriteBool(L"AutoClose", AutoClose);
    kProfile.WriteBool(L"DisableScreenSaver", DisableScreenSaver);
    kProfile.WriteBool(L"AlwaysShowControlBar", AlwaysShowControlBar);
    kProfile.WriteInt(L"EscToExitFullScreen", EscToExitFullScreen);
    kProfile.WriteBool(L"SaveRecentFiles", SaveRecentFiles);
    kProfile.WriteInt(L"MaxRecentFiles", MaxRecentFiles);
    kProfile.WriteBool(L"SaveRecentPlaylists", SaveRecentPlaylists);
    kProfile.WriteInt(L"MaxRecentPlaylists", MaxRecentPlaylists);
    kProfile.WriteInt(L"BackgroundTheme", BackgroundTheme);
    kProfile.WriteInt(L"BackgroundHatch", BackgroundHatch);
    kProfile.WriteInt(L"BackgroundColor", BackgroundColor);
    kProfile.WriteInt(L"Zoom", Zoom);
    kProfile.WriteBool(L"LoadLastPlaylist", LoadLastPlaylist);
    kProfile.WriteBool(L"AllowDuplicates", AllowDuplicates);
    kProfile.WriteBool(L"ShowDuration", ShowDuration);
    kProfile.WriteBool(L"ShowFrameCount", ShowFrameCount);
    kProfile.WriteBool(L"ShowResolution", ShowResolution);
    kProfile.WriteBool(L"ShowTitle", ShowTitle);
    kProfile.WriteBool(L"ShowThumbnail", ShowThumbnail);
    kProfile.WriteInt(L"Thumbnail.cx", ThumbnailCx);
    kProfile.WriteInt(L"Thumbnail.cy", ThumbnailCy);
    kProfile.WriteInt(L"LastFilterIndex", LastFilterIndex);
    kProfile.WriteString(L"LastOpenFolder", LastOpenFolder);
    kProfile.WriteBool(L"LastScanSubfolders", LastScanSubfolders);
    kProfile.WriteBool(L"AutoCheckUpdate", AutoCheckUpdate);
    kProfile.WriteInt(L"AutoCheckUpdate.Every", AutoCheckUpdateEvery);
    kProfile.WriteString(L"LastSaveFolder", LastSaveFolder);
    kProfile.WriteBool(L"CacheFrames", CacheFrames);
    m_recentFiles.Save();
    m_recentPlaylists.Save();
}

CString CSettings::GetDefaultPlaylistPath() { return GetAppDataFolder() + L"\\Default.playlist"; }

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
