#include "DataStream.h"

#include <cstdlib>
#include <cstring>
#include <limits>

int CDataStream::WriteAt(const void*, size_t, size_t*, int64_t, _OVERLAPPED*) { return -1; }

CMemoryStream::CMemoryStream(size_t growStep) : m_growStep(growStep) {}

CMemoryStream::~CMemoryStream() { Close(); }

void* CMemoryStream::Alloc(size_t bytes) { return std::malloc(bytes); }
void* CMemoryStream::Realloc(void* block, size_t bytes) { return std::realloc(block, bytes); }
void CMemoryStream::ZeroFill(size_t from)
{
    if (m_buffer && from < m_capacity)
        std::memset(m_buffer + from, 0, m_capacity - from);
}
void CMemoryStream::Copy(void* to, const void* from, size_t bytes) { std::memmove(to, from, bytes); }
void CMemoryStream::Free(void* block) { std::free(block); }

int CMemoryStream::Close()
{
    m_position = m_capacity = m_length = m_growStep = 0;
    if (m_buffer && m_ownsBuffer)
        Free(m_buffer);
    m_buffer = nullptr;
    return 0;
}

int CMemoryStream::GrowFile(size_t bytes)
{
    if (m_capacity >= bytes)
        return 1;
    if (m_growStep == 0)
        return -1;
    size_t steps = (bytes - m_capacity + m_growStep - 1) / m_growStep;
    if (steps > (std::numeric_limits<size_t>::max() - m_capacity) / m_growStep)
        return -1;
    size_t capacity = m_capacity + steps * m_growStep;
    void* block = m_buffer ? Realloc(m_buffer, capacity) : Alloc(capacity);
    if (!block)
        return -1;
    size_t oldCapacity = m_buffer ? m_capacity : 0;
    m_buffer = static_cast<unsigned char*>(block);
    m_capacity = capacity;
    ZeroFill(oldCapacity);
    return 0;
}

int64_t CMemoryStream::SetLength(int64_t length)
{
    if (length < 0 || static_cast<uint64_t>(length) > std::numeric_limits<size_t>::max())
        return -1;
    size_t wanted = static_cast<size_t>(length);
    if (GrowFile(wanted) < 0)
        return -1;
    // What is cut off must read as zeros when the stream grows again.
    if (wanted < m_length)
        std::memset(m_buffer + wanted, 0, m_length - wanted);
    if (m_position > wanted)
        m_position = wanted;
    m_length = wanted;
    return length;
}

int64_t CMemoryStream::Seek(int64_t distance, int origin)
{
    int64_t base;
    switch (origin) {
    case 0: base = 0; break;
    case 1: base = static_cast<int64_t>(m_position); break;
    case 2: base = static_cast<int64_t>(m_length); break;
    default: return -1;
    }
    if ((distance > 0 && base > std::numeric_limits<int64_t>::max() - distance))
        return -1;
    int64_t target = base + distance;
    if (target < 0 || static_cast<uint64_t>(target) > std::numeric_limits<size_t>::max())
        return -1;
    m_position = static_cast<size_t>(target);
    return target;
}

int CMemoryStream::Read(void* buffer, size_t count, size_t* read)
{
    if (read)
        *read = 0;
    if (count == 0)
        return -1;
    if (m_position > m_length)
        return 1;
    size_t available = m_length - m_position;
    size_t n = count < available ? count : available;
    if (n > 0)
        Copy(buffer, m_buffer + m_position, n);
    m_position += n;
    if (read)
        *read = n;
    return 0;
}

int CMemoryStream::Write(const void* buffer, size_t count, size_t* written)
{
    if (written)
        *written = 0;
    if (count == 0 || count > std::numeric_limits<size_t>::max() - m_position)
        return -1;
    size_t end = m_position + count;
    if (GrowFile(end) < 0)
        return -1;
    Copy(m_buffer + m_position, buffer, count);
    m_position = end;
    if (m_position > m_length)
        m_length = m_position;
    if (written)
        *written = count;
    return 0;
}
