#pragma once
// Enumerates the entries of a folder that match a pattern.
#include <windows.h>

#include "CString.h"

class CFileFind {
public:
    CFileFind() = default;
    ~CFileFind() { Close(); }
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // Starts a search (for example "folder\\*"); TRUE when something matches. FindNextFile must
    // be called before the first entry is read.
    BOOL FindFile(const wchar_t* pattern = L"*.*");
    // Moves to the next entry; FALSE after the last one (which is then still readable).
    BOOL FindNextFile();
    void Close();

    CString GetFileName() const { return m_found.cFileName; }
    CString GetFilePath() const { return m_root + m_found.cFileName; }
    CString GetRoot() const { return m_root; }
    ULONGLONG GetLength() const { return (static_cast<ULONGLONG>(m_found.nFileSizeHigh) << 32) | m_found.nFileSizeLow; }
    DWORD GetAttributes() const { return m_found.dwFileAttributes; }
    BOOL IsDirectory() const { return (m_found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    BOOL IsDots() const;

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW m_next{};
    WIN32_FIND_DATAW m_found{};
    bool m_hasNext = false;
    CString m_root;   // the pattern's folder with a trailing backslash
};
