#pragma once
// File operations of the converter through the shell and the file system, shell icons and the
// user's special folders.
#include <windows.h>
#include <shellapi.h>

#include "CString.h"

// Copies the sources (paths separated by "|") to the destination: a folder when
// `destinationIsFolder` is set, else a file whose folder is made first. True when the shell
// copied and the user did not abort.
bool CopyFilesTo(const CString& sources, const CString& destination, bool destinationIsFolder, FILEOP_FLAGS flags,
                 HWND owner);
// 1 when the shell renamed the file and the user did not abort, else 0.
int RenameFileShell(const CString& from, const CString& to, FILEOP_FLAGS flags, HWND owner);
// 1 when there is no such file, 0 when it was deleted, -1 when it could not be.
int DeleteFileIfExists(const CString& path);
// Moves the file over the target; 0 or -1 (the target is then left as it was).
int MoveFileReplace(const CString& from, const CString& to);
// The file name without folder and extension.
CString GetPathTitle(const CString& path);

// The system icon index for a path (which need not exist), -1 on failure.
int GetSysIconIndex(const CString& path, UINT extraFlags);
// Empty when the folder cannot be had.
CString GetMyVideosFolder(bool create);
CString GetMyMusicFolder(bool create);
