#include "CrIOFile.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "CString.h"
#endif

bool CrIOFile::Open(const wchar_t* path, const wchar_t* mode)
{
    Close();
    if (!path || !mode)
        return false;
#ifdef _WIN32
    m_stream = _wfopen(path, mode);
#else
    m_stream = fopen(CString(path).ToUtf8().c_str(), CString(mode).ToUtf8().c_str());
#endif
    m_closeStream = m_stream != nullptr;
    return m_stream != nullptr;
}

bool CrIOFile::Replace(const wchar_t* from, const wchar_t* to)
{
#ifdef _WIN32
    return MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return rename(CString(from).ToUtf8().c_str(), CString(to).ToUtf8().c_str()) == 0;
#endif
}

bool CrIOFile::Remove(const wchar_t* path)
{
#ifdef _WIN32
    return DeleteFileW(path) != 0;
#else
    return remove(CString(path).ToUtf8().c_str()) == 0;
#endif
}

bool CrIOFile::Close()
{
    bool ok = true;
    if (m_stream && m_closeStream)
        ok = fclose(m_stream) == 0;
    m_stream = nullptr;
    m_closeStream = false;
    return ok;
}

uint32_t CrIOFile::Read(void* buffer, uint32_t size, uint32_t count)
{
    if (!m_stream)
        return 0;
    return static_cast<uint32_t>(fread(buffer, size, count, m_stream));
}

uint32_t CrIOFile::Write(const void* buffer, uint32_t size, uint32_t count)
{
    if (!m_stream)
        return 0;
    return static_cast<uint32_t>(fwrite(buffer, size, count, m_stream));
}

bool CrIOFile::Seek(int32_t offset, int32_t origin)
{
    if (!m_stream)
        return false;
    return fseek(m_stream, offset, origin) == 0;
}

int32_t CrIOFile::Tell()
{
    if (!m_stream)
        return 0;
    return static_cast<int32_t>(ftell(m_stream));
}

int32_t CrIOFile::Size()
{
    if (!m_stream)
        return -1;
    long position = ftell(m_stream);
    fseek(m_stream, 0, SEEK_END);
    long size = ftell(m_stream);
    fseek(m_stream, position, SEEK_SET);
    return static_cast<int32_t>(size);
}

bool CrIOFile::Flush()
{
    if (!m_stream)
        return false;
    return fflush(m_stream) == 0;
}

bool CrIOFile::Eof()
{
    if (!m_stream)
        return true;
    return feof(m_stream) != 0;
}

int32_t CrIOFile::Error()
{
    if (!m_stream)
        return -1;
    return ferror(m_stream);
}

bool CrIOFile::PutC(uint8_t c)
{
    if (!m_stream)
        return false;
    return fputc(c, m_stream) == c;
}

int32_t CrIOFile::GetC()
{
    if (!m_stream)
        return -1;
    return getc(m_stream);
}

char* CrIOFile::GetS(char* buffer, int32_t n)
{
    if (!m_stream)
        return nullptr;
    return fgets(buffer, n, m_stream);
}

int32_t CrIOFile::Scanf(const char* format, void* output)
{
    if (!m_stream)
        return -1;
    return fscanf(m_stream, format, output);
}
