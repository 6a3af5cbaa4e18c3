#pragma once
// The viewer's persistent options with their defaults and bounds (portable). The Windows side
// (Settings.h) adds the profile, the recent lists and the folder questions; portable code reads the
// values through ViewerSettings().
#include <atomic>

#include "CString.h"

// The bounds of the thumbnail size, used by the settings dialog and when the settings are read,
// so that a size the dialog accepts is never reset at the next start.
constexpr int kThumbnailWidthMin = 40;
constexpr int kThumbnailWidthMax = 400;
constexpr int kThumbnailHeightMin = 30;
constexpr int kThumbnailHeightMax = 300;
constexpr int kThumbnailSizeDefault = 200;
// Largest size of a recent-items list.
constexpr int kMaxRecentLimit = 30;

bool AreThumbnailSizesValid(int cx, int cy);
int ClampRecentMax(int size);

class CSettingsValues {
public:
    CSettingsValues();
    virtual ~CSettingsValues();
    CSettingsValues(const CSettingsValues&) = delete;
    CSettingsValues& operator=(const CSettingsValues&) = delete;

    int ViewLayout = 2;
    int PlaylistViewStyle = 1;
    int AlwaysOnTop = 0;
    int Transparent = 0;
    std::atomic<int> Repeat{0};    // read by the play thread
    int AutoAdvance = 1;
    int AutoClose = 0;
    int DisableScreenSaver = 1;
    int AlwaysShowControlBar = 1;
    int EscToExitFullScreen = 10;
    int SaveRecentFiles = 1;
    int MaxRecentFiles = 10;
    int SaveRecentPlaylists = 1;
    int MaxRecentPlaylists = 10;
    int LoadLastPlaylist = 1;
    int AllowDuplicates = 1;
    int ShowTitle = 1;
    int ShowThumbnail = 1;
    int ShowDuration = 1;
    int ShowFrameCount = 1;
    int ShowResolution = 1;
    int ThumbnailCx = kThumbnailSizeDefault;
    int ThumbnailCy = kThumbnailSizeDefault;
    int BackgroundTheme = 2;
    int BackgroundHatch = 0;
    int BackgroundColor = 0;
    int Zoom = 100;
    int LastFilterIndex = 0;
    CString LastOpenFolder;
    int LastScanSubfolders = 0;
    CString LastSaveFolder;
    int AutoCheckUpdate = 1;
    int AutoCheckUpdateEvery = 7;
    CString TempFolder;
    int CacheFrames = 0;

    // Both maxima into 0..30; both thumbnail sides back to 200 when either is out of bounds.
    void ApplyBounds();
    // A new file name "%08d" in the temporary folder that does not exist yet; empty when the
    // folder cannot be made.
    CString NewTempFileName() const;
    // The file the playlist writer puts a thumbnail in: always one of the viewer's own, so that
    // no thumbnail is written where it could not be told apart from the user's files.
    virtual CString NewTempFilePath() { return NewTempFileName(); }
    // True for a file that NewTempFileName could have made: an eight-digit name directly in the
    // temporary folder. Only such files are ever deleted by the viewer.
    bool IsOwnTempFile(const CString& path) const;
    // Deletes the viewer's own files in the temporary folder, then the folder when it is empty;
    // anything else in it stays.
    void DeleteOwnTempFiles() const;
};

// The application's settings, or a default set when none was made (portable tests).
CSettingsValues& ViewerSettings();
