#include "CrGifLzw.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr uint32_t kMaxCodes = 4096;

inline uint64_t LoadLE64(const uint8_t* p)
{
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    v = __builtin_bswap64(v);
#endif
    return v;
}

// Every string of the table was written out once, so it is copied from there. The source ends at or
// before dst, so the bytes that matter never overlap; short strings go as one 16-byte move into the slack.
inline void CopyEarlier(uint8_t* dst, const uint8_t* src, size_t len)
{
    if (len <= 16 && dst - src >= 16)
        std::memcpy(dst, src, 16);
    else
        std::memcpy(dst, src, len);
}

} // namespace

GifLzwResult GifLzwDecode(const uint8_t* data, size_t size, int minCodeSize, uint8_t* out, size_t capacity)
{
    GifLzwResult r;
    if (!GifLzwCodeSizeValid(minCodeSize))
        return r;

    // A table entry is where its string was first written and how long it is.
    uint32_t offsets[kMaxCodes];
    uint16_t lengths[kMaxCodes];

    const uint32_t clear = 1u << minCodeSize;
    const uint32_t end = clear + 1;
    uint32_t width = minCodeSize + 1;
    uint32_t next = clear + 2;
    uint64_t bitsLeft = uint64_t(size) * 8;
    uint64_t acc = 0;
    uint32_t accBits = 0;
    size_t in = 0;
    size_t pos = 0;
    uint32_t prevOffset = 0, prevLength = 0;
    bool havePrev = false; // a stream that does not start with a clear code starts as if it did

    while (bitsLeft >= width) {
        if (accBits < width) {
            acc |= LoadLE64(data + in) << accBits;
            in += (63 - accBits) >> 3;
            accBits |= 56;
        }
        uint32_t code = uint32_t(acc) & ((1u << width) - 1);
        acc >>= width;
        accBits -= width;
        bitsLeft -= width;

        if (code == clear) {
            width = minCodeSize + 1;
            next = clear + 2;
            havePrev = false;
            continue;
        }
        if (code == end) {
            r.ended = true;
            break;
        }
        if (pos >= capacity)
            break; // more pixels than the frame holds
        size_t room = capacity - pos;

        uint32_t length;
        if (!havePrev) {
            if (code > end) {
                ++r.badCodes;
                code = 0;
            }
            out[pos] = uint8_t(code);
            length = 1;
            havePrev = true;
        } else {
            if (code < clear) {
                out[pos] = uint8_t(code);
                length = 1;
            } else if (code < next) {
                length = lengths[code];
                if (length > room) {
                    std::memcpy(out + pos, out + offsets[code], room);
                    pos = capacity;
                    break;
                }
                CopyEarlier(out + pos, out + offsets[code], length);
            } else {
                // The code being defined right now: the previous string plus its own first byte.
                // Codes beyond it are damage; they are read the same way.
                if (code > next)
                    ++r.badCodes;
                length = prevLength + 1;
                if (length > room) {
                    std::memcpy(out + pos, out + prevOffset, room);
                    pos = capacity;
                    break;
                }
                CopyEarlier(out + pos, out + prevOffset, prevLength);
                out[pos + prevLength] = out[prevOffset];
            }
            // The new entry is the previous string and the first byte after it, contiguous in the output.
            // A full table takes no more entries, and the codes go on at 12 bits.
            if (next < kMaxCodes) {
                offsets[next] = prevOffset;
                lengths[next] = uint16_t(prevLength + 1);
                ++next;
                if (next == (1u << width) && width < 12)
                    ++width;
            }
        }
        prevOffset = uint32_t(pos);
        prevLength = length;
        pos += length;
    }
    r.pixels = pos;
    return r;
}

size_t GifLzwMostPixels(size_t size, int minCodeSize)
{
    if (!GifLzwCodeSizeValid(minCodeSize))
        return 0;
    const uint64_t codes = uint64_t(size) * 8 / uint64_t(minCodeSize + 1);
    const uint64_t ramp = std::min<uint64_t>(codes, kMaxCodes);
    const uint64_t most = ramp * (ramp + 1) / 2 + (codes - ramp) * kMaxCodes;
    return most < SIZE_MAX ? size_t(most) : SIZE_MAX;
}
