#include "CFileFind.h"

BOOL CFileFind::FindFile(const wchar_t* pattern)
{
    Close();
    CString text(pattern ? pattern : L"*.*");
    int last = -1;
    for (int i = 0; i < text.GetLength(); i++)
        if (text[i] == L'\\' || text[i] == L'/')
            last = i;
    m_root = last >= 0 ? text.Left(last + 1) : CString();
    m_handle = ::FindFirstFileW(text, &m_next);
    m_hasNext = m_handle != INVALID_HANDLE_VALUE;
    return m_hasNext;
}

BOOL CFileFind::FindNextFile()
{
    if (!m_hasNext)
        return FALSE;
    m_found = m_next;
    m_hasNext = ::FindNextFileW(m_handle, &m_next) != FALSE;
    return m_hasNext;
}

void CFileFind::Close()
{
    if (m_handle != INVALID_HANDLE_VALUE)
        ::FindClose(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    m_hasNext = false;
}

BOOL CFileFind::IsDots() const
{
    const wchar_t* name = m_found.cFileName;
    return IsDirectory() && name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}
