#include "GifTiming.h"

#include <cstring>
#include <string>

namespace {

class CGifBlocks {
public:
    CGifBlocks(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool Has(size_t count) const { return m_at <= m_size && m_size - m_at >= count; }
    uint8_t Byte() { return m_data[m_at++]; }
    int Word()
    {
        const int value = m_data[m_at] | (m_data[m_at + 1] << 8);
        m_at += 2;
        return value;
    }
    void Skip(size_t count) { m_at += count; }
    // Past a run of data sub-blocks and its empty end; false when the file ends first.
    bool SkipSubBlocks()
    {
        while (Has(1)) {
            const uint8_t length = Byte();
            if (length == 0)
                return true;
            if (!Has(length))
                return false;
            Skip(length);
        }
        return false;
    }
    uint8_t Peek() const { return m_data[m_at]; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

int PlayedDelay(int delay)
{
    return delay < kGifMinDelay ? kGifDefaultDelay : delay;
}

} // namespace

bool ReadGifTiming(const uint8_t* data, size_t size, CGifTiming& timing)
{
    timing = CGifTiming();
    CGifBlocks gif(data, size);
    if (!gif.Has(13) || (std::memcmp(data, "GIF87a", 6) != 0 && std::memcmp(data, "GIF89a", 6) != 0))
        return false;
    gif.Skip(6);
    timing.m_width = gif.Word();
    timing.m_height = gif.Word();
    const uint8_t packed = gif.Byte();
    gif.Skip(2);
    if (packed & 0x80)
        gif.Skip(3u << ((packed & 7) + 1));
    int delay = 0;  // of the next frame, from its graphic control extension
    while (gif.Has(1)) {
        const uint8_t kind = gif.Byte();
        if (kind == 0x3B)
            break;
        if (kind == 0x21) {
            if (!gif.Has(1))
                break;
            // A graphic control block: flags, delay, transparent index.
            if (gif.Byte() == 0xF9 && gif.Has(1) && gif.Peek() >= 3 && gif.Has(1 + size_t(gif.Peek()))) {
                const size_t length = gif.Byte();
                gif.Skip(1);
                delay = gif.Word();
                gif.Skip(length - 3);
            }
            if (!gif.SkipSubBlocks())
                break;
        } else if (kind == 0x2C) {
            if (!gif.Has(9))
                break;
            gif.Skip(8);
            const uint8_t image = gif.Byte();
            if (image & 0x80)
                gif.Skip(3u << ((image & 7) + 1));
            // The code size, then the picture's data.
            if (!gif.Has(1))
                break;
            gif.Skip(1);
            timing.m_delays.push_back(PlayedDelay(delay));
            delay = 0;
            if (!gif.SkipSubBlocks())
                break;
        } else {
            break;
        }
    }
    return !timing.m_delays.empty();
}

bool ReadGifTimingFile(FILE* file, CGifTiming& timing)
{
    std::string bytes;
    char buffer[65536];
    for (size_t got; (bytes.empty() || bytes.compare(0, 4, "GIF8") == 0) &&
                     (got = std::fread(buffer, 1, bytes.empty() ? 6 : sizeof(buffer), file)) > 0;)
        bytes.append(buffer, got);
    return ReadGifTiming(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), timing);
}
