#pragma once
// Byte streams with 64-bit lengths and positions (the HTTP client's sinks). Portable; the file
// stream over a Win32 handle is CLongPathFile.
#include <cstddef>
#include <cstdint>

struct _OVERLAPPED;

class CDataStream {
public:
    virtual ~CDataStream() = default;
    virtual int Close() = 0;
    virtual int64_t GetLength() = 0;
    // The new length, or -1.
    virtual int64_t SetLength(int64_t length) = 0;
    virtual int64_t GetPosition() = 0;
    // origin 0 start, 1 current position, 2 end; the new position or -1.
    virtual int64_t Seek(int64_t distance, int origin) = 0;
    virtual int Read(void* buffer, size_t count, size_t* read) = 0;
    // Writes at `offset` through the caller's overlapped record; not every stream can.
    virtual int WriteAt(const void* buffer, size_t count, size_t* written, int64_t offset, _OVERLAPPED* overlapped);
    // 0, or -1 when not everything could be written.
    virtual int Write(const void* buffer, size_t count, size_t* written) = 0;
    virtual int Flush() { return 0; }
};

// A stream in a heap buffer that grows in steps of `growStep` bytes; the bytes past the length
// are always zero. Sizes are checked for overflow: a position or length the address space
// cannot hold is refused.
class CMemoryStream : public CDataStream {
public:
    explicit CMemoryStream(size_t growStep);
    ~CMemoryStream() override;
    CMemoryStream(const CMemoryStream&) = delete;
    CMemoryStream& operator=(const CMemoryStream&) = delete;

    int Close() override;
    int64_t GetLength() override { return static_cast<int64_t>(m_length); }
    int64_t SetLength(int64_t length) override;
    int64_t GetPosition() override { return static_cast<int64_t>(m_position); }
    int64_t Seek(int64_t distance, int origin) override;
    // 1 when the position lies past the end; 0 otherwise (also with 0 bytes at the very end).
    int Read(void* buffer, size_t count, size_t* read) override;
    int Write(const void* buffer, size_t count, size_t* written) override;

    const unsigned char* GetBuffer() const { return m_buffer; }
    size_t GetCapacity() const { return m_capacity; }

protected:
    // The allocator, replaceable as a whole by a subclass.
    virtual void* Alloc(size_t bytes);
    virtual void* Realloc(void* block, size_t bytes);
    // Zeroes the buffer from `from` to the capacity.
    virtual void ZeroFill(size_t from);
    virtual void Copy(void* to, const void* from, size_t bytes);
    virtual void Free(void* block);
    // Makes room for at least `bytes`: 0 grown, 1 already enough, -1 refused or out of memory.
    virtual int GrowFile(size_t bytes);

private:
    size_t m_growStep;
    size_t m_position = 0;
    size_t m_capacity = 0;
    size_t m_length = 0;
    unsigned char* m_buffer = nullptr;
    int m_ownsBuffer = 1;
};
