#pragma once
// The byte stream every codec reads and writes through; the codecs never learn whether a file
// or a memory buffer lies behind it.
#include <cstdint>

class CrFile {
public:
    virtual ~CrFile() = default;
    virtual bool Close() = 0;
    // Whole items read or written.
    virtual uint32_t Read(void* buffer, uint32_t size, uint32_t count) = 0;
    virtual uint32_t Write(const void* buffer, uint32_t size, uint32_t count) = 0;
    // origin: 0 from the start, 1 from the current position, 2 from the end.
    virtual bool Seek(int32_t offset, int32_t origin) = 0;
    virtual int32_t Tell() = 0;
    virtual int32_t Size() = 0;
    virtual bool Flush() = 0;
    virtual bool Eof() = 0;
    virtual int32_t Error() = 0;
    virtual bool PutC(uint8_t c) { return Write(&c, 1, 1) == 1; }
    // The next byte 0-255, or -1 at the end.
    virtual int32_t GetC() = 0;
    virtual char* GetS(char* buffer, int32_t n) = 0;
    virtual int32_t Scanf(const char* format, void* output) = 0;
};
