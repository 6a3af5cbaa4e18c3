#pragma once
// Hands finished videos to iTunes through its COM automation, and tells whether iTunes is
// installed or running. Where there is no iTunes the adds answer -1 and nothing else happens.
#include <windows.h>

#include "CString.h"
#include "Collections.h"

// What callers tell the user when an add answered -1.
extern const wchar_t kITunesUnavailableText[];

// The registry key of iTunes opens for reading (machine-wide, else the user's).
bool IsITunesInstalled();
// The running iTunes' main window, or null.
HWND FindITunesWindow();

// 0 when every file was added; -1 when iTunes cannot be reached (not installed, not
// registered, no library) or an add failed. With `quitIfStarted`, an iTunes that was not
// running before the call is told to quit afterwards.
int AddFileToITunes(const CString& path, BOOL quitIfStarted);
int AddFilesToITunes(const CStringArray& paths, BOOL quitIfStarted);
