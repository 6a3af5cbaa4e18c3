#pragma once
// What the image fuzzers share: the input as a writable buffer (the memory file wants one), a
// size check that keeps the pictures small enough for many runs a second, and a walk over the
// decoded pixels so that every byte the decoder claims to have written is read.
#include "CrGifStream.h"
#include "CrImage.h"
#include "CrMemFile.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace fuzz {

// Pictures up to this many pixels are decoded, animations up to kMaxFramePixels in all their frames;
// larger ones are legitimate but slow to fuzz.
constexpr double kMaxPixels = 512.0 * 512.0;
constexpr double kMaxFramePixels = 16 * kMaxPixels;

// A size-only decode of the given format: true when the picture it announces is small.
inline bool SmallPicture(std::vector<uint8_t>& bytes, uint32_t formatId)
{
    // A GIF's screen may take its size from the first image, which only the block scan sees.
    if (bytes.size() >= 4 && std::memcmp(bytes.data(), "GIF8", 4) == 0 &&
        (formatId == CRIMAGE_FORMAT_GIF || formatId == CRIMAGE_FORMAT_UNKNOWN)) {
        CrMemFile file(bytes.data(), uint32_t(bytes.size()));
        CrGifReader reader(file);
        CrGifStreamInfo info;
        if (!GifReadHeader(reader, info))
            return true;
        GifScanBlocks(reader, info);
        const double pixels = double(info.screenWidth) * info.screenHeight;
        return pixels <= kMaxPixels && pixels * double(info.frames.size()) <= kMaxFramePixels;
    }
    CrImage size;
    size.SetEscape(-1);
    if (!size.Decode(bytes.data(), uint32_t(bytes.size()), formatId))
        return true; // the full decode fails the same way
    return double(size.GetWidth()) * size.GetHeight() <= kMaxPixels;
}

// The input as a writable buffer; false when its picture is too large to fuzz quickly.
inline bool Take(const uint8_t* data, size_t size, uint32_t formatId, std::vector<uint8_t>& bytes)
{
    bytes.assign(data, data + size);
    return SmallPicture(bytes, formatId);
}

inline uint32_t Touch(const CrImage& image)
{
    uint32_t sum = 0;
    for (int32_t y = 0; y < image.GetHeight(); ++y)
        for (int32_t x = 0; x < image.GetWidth(); ++x) {
            CrRgbQuad q = image.GetPixelColor(x, y, true);
            sum += q.rgbRed + q.rgbGreen + q.rgbBlue + q.rgbReserved;
        }
    return sum;
}

inline uint32_t TouchFrames(const CrImage& image)
{
    uint32_t sum = Touch(image);
    for (int32_t i = 0; i < image.GetNumFrames(); ++i)
        if (const CrImage* frame = image.GetFrame(i))
            sum += Touch(*frame);
    return sum;
}

} // namespace fuzz
