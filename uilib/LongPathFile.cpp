#include "LongPathFile.h"

#include "PathRules.h"

namespace {

// The long form needs an absolute path.
CString AbsoluteLongPath(const wchar_t* name)
{
    CString path(name);
    if (path.GetLength() < kLongPathThreshold || path.Left(4) == L"\\\\?\\")
        return path;
    DWORD size = ::GetFullPathNameW(name, 0, nullptr, nullptr);
    if (size > 0) {
        CString full;
        DWORD length = ::GetFullPathNameW(name, size, full.GetBuffer(static_cast<int>(size)), nullptr);
        full.ReleaseBuffer(length < size ? static_cast<int>(length) : 0);
        if (!full.IsEmpty())
            path = full;
    }
    return MakeLongPath(path);
}

} // namespace

int CLongPathFile::Open(const wchar_t* fileName, DWORD access, DWORD shareMode, DWORD disposition, DWORD flags)
{
    Close();
    if (!fileName || !*fileName)
        return -1;
    m_handle = ::CreateFileW(AbsoluteLongPath(fileName), access, shareMode, nullptr, disposition, flags, nullptr);
    return m_handle == INVALID_HANDLE_VALUE ? -1 : 0;
}

int CLongPathFile::Close()
{
    if (m_handle == INVALID_HANDLE_VALUE)
        return 1;
    if (!::CloseHandle(m_handle))
        return -1;
    m_handle = INVALID_HANDLE_VALUE;
    return 0;
}

int64_t CLongPathFile::GetLength()
{
    LARGE_INTEGER size;
    if (m_handle == INVALID_HANDLE_VALUE || !::GetFileSizeEx(m_handle, &size))
        return -1;
    return size.QuadPart;
}

int64_t CLongPathFile::SetLength(int64_t length)
{
    if (Seek(length, FILE_BEGIN) < 0 || !::SetEndOfFile(m_handle))
        return -1;
    return length;
}

int64_t CLongPathFile::Seek(int64_t distance, int origin)
{
    if (m_handle == INVALID_HANDLE_VALUE || origin < FILE_BEGIN || origin > FILE_END)
        return -1;
    LARGE_INTEGER move, position;
    move.QuadPart = distance;
    if (!::SetFilePointerEx(m_handle, move, &position, static_cast<DWORD>(origin)))
        return -1;
    return position.QuadPart;
}

int CLongPathFile::Read(void* buffer, size_t count, size_t* read)
{
    if (read)
        *read = 0;
    DWORD got = 0;
    if (m_handle == INVALID_HANDLE_VALUE || !::ReadFile(m_handle, buffer, static_cast<DWORD>(count), &got, nullptr))
        return -1;
    if (read)
        *read = got;
    return got > 0 ? 0 : 1;
}

int CLongPathFile::Write(const void* buffer, size_t count, size_t* written)
{
    if (written)
        *written = 0;
    DWORD put = 0;
    if (m_handle == INVALID_HANDLE_VALUE || !::WriteFile(m_handle, buffer, static_cast<DWORD>(count), &put, nullptr))
        return -1;
    if (written)
        *written = put;
    return 0;
}

int CLongPathFile::WriteAt(const void* buffer, size_t count, size_t* written, int64_t offset, _OVERLAPPED* overlapped)
{
    if (written)
        *written = 0;
    OVERLAPPED local{};
    OVERLAPPED* record = overlapped ? overlapped : &local;
    record->Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
    record->OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32);
    DWORD put = 0;
    if (m_handle == INVALID_HANDLE_VALUE || offset < 0 ||
        !::WriteFile(m_handle, buffer, static_cast<DWORD>(count), &put, record))
        return -1;
    if (written)
        *written = put;
    return 0;
}

int CLongPathFile::Flush()
{
    if (m_handle == INVALID_HANDLE_VALUE || !::FlushFileBuffers(m_handle))
        return -1;
    return 0;
}
