#pragma once
// LZW code-stream decoding of one GIF image, from its joined data sub-blocks into palette indices.
#include <cstddef>
#include <cstdint>

// Bytes the output and the input buffers must have beyond their sizes: copies run in whole words.
constexpr size_t kGifLzwSlack = 16;

struct GifLzwResult
{
    size_t pixels = 0;   // indices written, in stream order
    int badCodes = 0;    // codes beyond the table, repaired
    bool ended = false;  // the end code was met (not the end of the data or of the output)
};

// Minimum code sizes a stream may declare. Above 8 the roots past 255 are no palette index, but such
// streams exist (the codes start wide and the table fills sooner); 12 leaves no room for a table at
// 12-bit codes, and 1 reads differently from writer to writer.
constexpr int kGifLeastCodeSize = 2;
constexpr int kGifMostCodeSize = 11;
inline bool GifLzwCodeSizeValid(int minCodeSize)
{
    return minCodeSize >= kGifLeastCodeSize && minCodeSize <= kGifMostCodeSize;
}

// data: the image's code bytes (sub-block length bytes removed), followed by kGifLzwSlack readable bytes.
// out: room for capacity indices plus kGifLzwSlack bytes. A minimum code size that is not valid decodes
// nothing. Roots past 255 are written as their low byte.
GifLzwResult GifLzwDecode(const uint8_t* data, size_t size, int minCodeSize, uint8_t* out, size_t capacity);

// The most indices `size` code bytes can give: after a clear the n-th code stands for at most n
// indices, and no string is longer than the table. Frames are never given more room than that.
size_t GifLzwMostPixels(size_t size, int minCodeSize);
