#include "CrMemFile.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {
constexpr int64_t kGrowStep = 0x10000;
}

CrMemFile::CrMemFile(uint8_t* buffer, uint32_t size)
    : m_buffer(buffer),
      m_size(buffer ? static_cast<int32_t>(size) : 0),
      m_ownsBuffer(buffer == nullptr),
      m_position(0),
      m_capacity(m_size),
      m_eof(false)
{
}

bool CrMemFile::Open()
{
    if (m_buffer)
        return false;
    m_size = m_capacity = m_position = 0;
    m_eof = false;
    m_buffer = static_cast<uint8_t*>(malloc(1));
    m_ownsBuffer = true;
    return m_buffer != nullptr;
}

uint8_t* CrMemFile::GetBuffer(bool detach)
{
    if (detach)
        m_ownsBuffer = false;
    return m_buffer;
}

bool CrMemFile::Close()
{
    if (m_buffer && m_ownsBuffer)
        free(m_buffer);
    m_buffer = nullptr;
    m_size = m_capacity = m_position = 0;
    return true;
}

// Makes room for `needed` bytes. A failed growth leaves buffer and capacity as they were, and a
// caller's buffer is never reallocated: writes beyond it fail instead.
bool CrMemFile::Reserve(int64_t needed)
{
    if (needed <= m_capacity)
        return m_buffer != nullptr;
    if (!m_ownsBuffer)
        return false;
    int64_t capacity = (needed & ~(kGrowStep - 1)) + kGrowStep;
    if (capacity > INT32_MAX)
        return false;
    void* grown = realloc(m_buffer, static_cast<size_t>(capacity));
    if (!grown)
        return false;
    m_buffer = static_cast<uint8_t*>(grown);
    m_capacity = static_cast<int32_t>(capacity);
    return true;
}

// Bytes skipped by a seek past the end read back as zeros once something is written after them.
void CrMemFile::FillGapTo(int32_t position)
{
    if (position > m_size)
        memset(m_buffer + m_size, 0, static_cast<size_t>(position - m_size));
}

uint32_t CrMemFile::Read(void* buffer, uint32_t size, uint32_t count)
{
    if (!buffer || !m_buffer)
        return 0;
    if (m_position >= m_size) {
        m_eof = true;
        return 0;
    }
    uint64_t wanted = static_cast<uint64_t>(size) * count;
    if (wanted == 0)
        return 0;
    uint64_t left = static_cast<uint64_t>(m_size - m_position);
    if (wanted > left) {
        wanted = left;
        m_eof = true;
    }
    memcpy(buffer, m_buffer + m_position, static_cast<size_t>(wanted));
    m_position += static_cast<int32_t>(wanted);
    return static_cast<uint32_t>(wanted / size);
}

uint32_t CrMemFile::Write(const void* buffer, uint32_t size, uint32_t count)
{
    m_eof = false;
    uint64_t bytes = static_cast<uint64_t>(size) * count;
    if (!m_buffer || !buffer || bytes == 0)
        return 0;
    int64_t end = static_cast<int64_t>(m_position) + static_cast<int64_t>(bytes);
    if (!Reserve(end))
        return 0;
    FillGapTo(m_position);
    memcpy(m_buffer + m_position, buffer, static_cast<size_t>(bytes));
    m_position = static_cast<int32_t>(end);
    if (m_position > m_size)
        m_size = m_position;
    return count;
}

bool CrMemFile::Seek(int32_t offset, int32_t origin)
{
    m_eof = false;
    if (!m_buffer)
        return false;
    int64_t target;
    switch (origin) {
    case 0: target = offset; break;
    case 1: target = static_cast<int64_t>(m_position) + offset; break;
    case 2: target = static_cast<int64_t>(m_size) + offset; break;
    default: return false;
    }
    if (target < 0)
        target = 0;
    if (target > INT32_MAX)
        target = INT32_MAX;
    m_position = static_cast<int32_t>(target);
    return true;
}

int32_t CrMemFile::Tell()
{
    return m_buffer ? m_position : -1;
}

int32_t CrMemFile::Size()
{
    return m_buffer ? m_size : -1;
}

bool CrMemFile::Flush()
{
    return m_buffer != nullptr;
}

bool CrMemFile::Eof()
{
    return m_buffer ? m_eof : true;
}

int32_t CrMemFile::Error()
{
    if (!m_buffer)
        return -1;
    return m_position > m_size ? 1 : 0;
}

bool CrMemFile::PutC(uint8_t c)
{
    m_eof = false;
    if (!m_buffer)
        return false;
    if (!Reserve(static_cast<int64_t>(m_position) + 1))
        return false;
    FillGapTo(m_position);
    m_buffer[m_position++] = c;
    if (m_position > m_size)
        m_size = m_position;
    return true;
}

int32_t CrMemFile::GetC()
{
    if (!m_buffer || m_position >= m_size) {
        m_eof = true;
        return -1;
    }
    return m_buffer[m_position++];
}

char* CrMemFile::GetS(char* buffer, int32_t n)
{
    if (!buffer || n <= 0)
        return nullptr;
    int32_t length = 0;
    while (length < n - 1) {
        int32_t c = GetC();
        if (c == -1) {
            buffer[length] = 0;
            return nullptr;
        }
        buffer[length++] = static_cast<char>(c);
        if (c == '\n')
            break;
    }
    buffer[length] = 0;
    return buffer;
}

int32_t CrMemFile::Scanf(const char*, void*)
{
    return 0;
}
