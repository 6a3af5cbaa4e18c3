#pragma once
// System helpers of both programs: OS version, paths and folders, temporary files, text
// conversion, message pumping, the recycle bin, mail links and shutting down. Paths that do
// not fit the 1023-character buffers are refused, never cut.
#include <windows.h>

#include <cstdint>
#include <string>

#include "CString.h"
#include "NumberFormat.h"

constexpr int kMaxHelperPath = 1023;

class COSVersion {
public:
    int m_valid = 0;
    OSVERSIONINFOEXW m_info{};

    // Always 1; m_valid tells whether the version could be read.
    int Query();
    bool IsVistaOrLater() const;
};

// The path without its last component; empty when nothing could be removed.
CString GetFileDirectory(const wchar_t* path);
// The size of the file, -1 when it does not exist.
int64_t GetFileSize64(const wchar_t* path);
// Creates every missing folder of the path; true when it exists afterwards.
bool CreateDirectoryTree(const wchar_t* path);
CString GetMyPicturesFolder();
CString GetModuleFilePath();
// The profile's "AppFolder" (under the program's key), else the program file's folder.
CString GetAppFolder();
// <application data>\Brenmoor\<program name>, created when missing.
CString GetAppDataFolder();
// A new empty file "~Wu....tmp" in the temporary folder; the caller deletes it.
CString GetTempFilePath();

// The text in the system code page; the byte count with the NUL, or -1.
int WideToAnsi(const wchar_t* text, std::string& out);
// The characters with the NUL, or -1.
int AnsiToWide(const char* text, CString& out);

// Dispatches this thread's messages until one with `message` (for `wnd`, when given) has been
// dispatched; returns its id, or 0 when WM_QUIT came first (the quit is posted again so that
// the outer loop ends too).
UINT PumpMessagesUntil(HWND wnd, UINT message);
// The same until a message with that id and that lParam has been dispatched.
UINT PumpMessagesUntilMatch(HWND wnd, UINT message, LPARAM lParam);
// Waits for the thread to end while serving the messages it sends to this thread's windows
// (posted ones wait), so that a worker blocked in SendMessage can finish.
void WaitForThreadServingSentMessages(HANDLE thread);

// Deletes the file or folder with the shell; the caller's flags decide about the recycle bin.
bool DeleteToRecycleBin(const wchar_t* path, FILEOP_FLAGS flags, HWND owner);
// Opens a new mail; subject and body are given as plain text and encoded here.
int OpenMailTo(const wchar_t* address, const wchar_t* subject, const wchar_t* body);
// Ends the session with ExitWindowsEx; programs with unsaved work are never forced to close
// (EWX_FORCE and EWX_FORCEIFHUNG are dropped). 0 when the privilege cannot be had.
BOOL ShutdownSystem(UINT flags);
// The function ShutdownSystem calls (tests put a stand-in here).
extern BOOL(WINAPI* g_pfnExitWindowsEx)(UINT flags, DWORD reason);
