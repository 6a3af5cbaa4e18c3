#pragma once
// Removes a temporary file when the guard goes away. A file still held by a finishing program
// cannot be deleted yet, so deleting is retried every 100 ms (at most 10000 times, about
// 1000 s); a file that no longer exists ends the wait at once.
#include "CString.h"

class CTempFileGuard {
public:
    explicit CTempFileGuard(const CString& path = CString(), int deleteFile = 1)
        : m_path(path), m_delete(deleteFile)
    {
    }
    CTempFileGuard(const CTempFileGuard&) = delete;
    CTempFileGuard& operator=(const CTempFileGuard&) = delete;
    virtual ~CTempFileGuard();

    void SetPath(const CString& path) { m_path = path; }
    const CString& GetPath() const { return m_path; }
    void SetDelete(int deleteFile) { m_delete = deleteFile; }

    CString m_path;
    int m_delete;
    int m_tries = 10000;
};
