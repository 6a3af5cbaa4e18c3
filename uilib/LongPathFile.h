#pragma once
// A stream over a Win32 file handle; paths of any length are accepted.
#include <windows.h>

#include "DataStream.h"

class CLongPathFile : public CDataStream {
public:
    CLongPathFile() = default;
    ~CLongPathFile() override { Close(); }
    CLongPathFile(const CLongPathFile&) = delete;
    CLongPathFile& operator=(const CLongPathFile&) = delete;

    // CreateFileW's arguments; 0 on success.
    int Open(const wchar_t* fileName, DWORD access, DWORD shareMode, DWORD disposition, DWORD flags);
    // 1 when nothing is open, 0 closed, -1 when closing failed (the handle is kept).
    int Close() override;
    int64_t GetLength() override;
    int64_t SetLength(int64_t length) override;
    int64_t GetPosition() override { return Seek(0, FILE_CURRENT); }
    int64_t Seek(int64_t distance, int origin) override;
    // 0 with at least one byte, 1 at the end of the file, -1 on failure.
    int Read(void* buffer, size_t count, size_t* read) override;
    int WriteAt(const void* buffer, size_t count, size_t* written, int64_t offset, _OVERLAPPED* overlapped) override;
    int Write(const void* buffer, size_t count, size_t* written) override;
    int Flush() override;

    HANDLE GetHandle() const { return m_handle; }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};
