#include "SettingsValues.h"

#include "ViewerFiles.h"

namespace {
CSettingsValues* g_settings = nullptr;

bool IsTempName(const CString& name)
{
    if (name.GetLength() != 8)
        return false;
    for (int i = 0; i < 8; i++)
        if (name[i] < L'0' || name[i] > L'9')
            return false;
    return true;
}
} // namespace

bool AreThumbnailSizesValid(int cx, int cy)
{
    return cx >= kThumbnailWidthMin && cx <= kThumbnailWidthMax && cy >= kThumbnailHeightMin && cy <= kThumbnailHeightMax;
}

int ClampRecentMax(int size) { return size < 0 ? 0 : size > kMaxRecentLimit ? kMaxRecentLimit : size; }

CSettingsValues::CSettingsValues()
{
    if (!g_settings)
        g_settings = this;
}

CSettingsValues::~CSettingsValues()
{
    if (g_settings == this)
        g_settings = nullptr;
}

CSettingsValues& ViewerSettings()
{
    if (g_settings)
        return *g_settings;
    // A stand-in with the defaults, which must not keep the place of a settings object made later.
    static CSettingsValues defaults;
    if (g_settings == &defaults)
        g_settings = nullptr;
    return defaults;
}

void CSettingsValues::ApplyBounds()
{
    MaxRecentFiles = ClampRecentMax(MaxRecentFiles);
    MaxRecentPlaylists = ClampRecentMax(MaxRecentPlaylists);
    if (!AreThumbnailSizesValid(ThumbnailCx, ThumbnailCy))
        ThumbnailCx = ThumbnailCy = kThumbnailSizeDefault;
}

CString CSettingsValues::NewTempFileName() const
{
    if (!ViewerFiles::CreateFolderTree(TempFolder))
        return CString();
    for (int n = 0; n < 100000000; n++) {
        CString name;
        name.Format(L"%08d", n);
        CString path = ViewerFiles::JoinPath(TempFolder, name);
        if (!ViewerFiles::PathExists(path))
            return path;
    }
    return CString();
}

bool CSettingsValues::IsOwnTempFile(const CString& path) const
{
    if (TempFolder.IsEmpty() || !IsTempName(ViewerFiles::FileNamePart(path)))
        return false;
    CString folder = ViewerFiles::FolderPart(path);
    CString own = TempFolder;
    own.TrimRight(L"\\/");
    return folder.CompareNoCase(own) == 0;
}

void CSettingsValues::DeleteOwnTempFiles() const
{
    if (TempFolder.IsEmpty() || !ViewerFiles::FolderExists(TempFolder))
        return;
    for (const CString& name : ViewerFiles::FileNames(TempFolder))
        if (IsTempName(name))
            ViewerFiles::RemoveFile(ViewerFiles::JoinPath(TempFolder, name));
    ViewerFiles::RemoveEmptyFolder(TempFolder);
}
