#pragma once
// CrFile over a C runtime stream.
#include "CrFile.h"

#include <cstdio>

class CrIOFile : public CrFile {
public:
    // A stream handed in stays the caller's to close.
    explicit CrIOFile(FILE* stream = nullptr) : m_stream(stream), m_closeStream(false) {}
    ~CrIOFile() override { Close(); }
    CrIOFile(const CrIOFile&) = delete;
    CrIOFile& operator=(const CrIOFile&) = delete;

    // Opens a file by wide path (C runtime modes such as L"rb"); this object then closes it.
    bool Open(const wchar_t* path, const wchar_t* mode);
    FILE* GetStream() const { return m_stream; }
    // Moves `from` over `to`, replacing an existing file.
    static bool Replace(const wchar_t* from, const wchar_t* to);
    static bool Remove(const wchar_t* path);

    bool Close() override;
    uint32_t Read(void* buffer, uint32_t size, uint32_t count) override;
    uint32_t Write(const void* buffer, uint32_t size, uint32_t count) override;
    bool Seek(int32_t offset, int32_t origin) override;
    int32_t Tell() override;
    int32_t Size() override;
    bool Flush() override;
    bool Eof() override;
    int32_t Error() override;
    bool PutC(uint8_t c) override;
    int32_t GetC() override;
    char* GetS(char* buffer, int32_t n) override;
    int32_t Scanf(const char* format, void* output) override;

private:
    FILE* m_stream;
    bool m_closeStream;
};
