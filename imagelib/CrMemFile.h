#pragma once
// CrFile over a heap buffer that grows in steps of 64 KiB as it is written.
#include "CrFile.h"

class CrMemFile : public CrFile {
public:
    // Reads (and writes within `size` bytes of) a caller's buffer; a null buffer makes the memory
    // file own whatever it allocates later.
    explicit CrMemFile(uint8_t* buffer = nullptr, uint32_t size = 0);
    ~CrMemFile() override { Close(); }
    CrMemFile(const CrMemFile&) = delete;
    CrMemFile& operator=(const CrMemFile&) = delete;

    // Starts an empty owned buffer for writing; false when a buffer exists already.
    bool Open();
    // With `detach` the caller takes the buffer and frees it with free().
    uint8_t* GetBuffer(bool detach = true);
    int32_t GetCapacity() const { return m_capacity; }

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
    bool Reserve(int64_t needed);
    void FillGapTo(int32_t position);

    uint8_t* m_buffer;
    int32_t m_size;
    bool m_ownsBuffer;
    int32_t m_position;
    int32_t m_capacity;
    bool m_eof;
};
