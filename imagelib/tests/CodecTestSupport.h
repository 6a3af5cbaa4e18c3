#pragma once
// Helpers of the JPEG, PNG, BMP and ICO codec tests: images with patterns, encoding to and decoding
// from byte vectors, little-endian byte builders and streams that fail on purpose.
#include "CrImage.h"
#include "CrMemFile.h"
#include "TestImage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace codectest {

using Bytes = std::vector<uint8_t>;

inline Bytes EncodeBytes(CrImage& image, uint32_t formatId)
{
    uint8_t* data = nullptr;
    int32_t size = 0;
    Bytes out;
    if (image.Encode(&data, &size, formatId))
        out.assign(data, data + size);
    std::free(data);
    return out;
}

inline bool DecodeBytes(CrImage& image, const Bytes& bytes, uint32_t formatId)
{
    Bytes copy = bytes; // the memory file wants a writable buffer
    return image.Decode(copy.data(), uint32_t(copy.size()), formatId);
}

// A size-only decode (escape -1): the size and format, no pixels.
inline void ExpectSizeOnly(const Bytes& bytes, uint32_t formatId, int32_t width, int32_t height)
{
    CrImage size;
    size.SetEscape(-1);
    ASSERT_TRUE(DecodeBytes(size, bytes, formatId));
    EXPECT_FALSE(size.IsValid());
    EXPECT_EQ(size.GetWidth(), width);
    EXPECT_EQ(size.GetHeight(), height);
    EXPECT_EQ(size.GetType(), formatId);
}

// A palette of distinct colours; `seed` moves them.
inline void FillPalette(CrImage& image, uint8_t seed = 0)
{
    for (uint32_t i = 0; i < image.GetNumColors(); ++i)
        image.SetPaletteColor(i, uint8_t(i * 37 + seed), uint8_t(i * 91 + 7 + seed), uint8_t(255 - i * 13 - seed));
}

inline CrImage Indexed(int32_t w, int32_t h, uint32_t bpp, uint8_t seed = 0)
{
    CrImage image(w, h, bpp);
    FillPalette(image, seed);
    FillPattern(image);
    return image;
}

inline CrImage GrayRamp(int32_t w, int32_t h, uint32_t bpp)
{
    CrImage image(w, h, bpp);
    image.SetGrayPalette();
    FillPattern(image);
    return image;
}

inline CrImage Rgb24(int32_t w, int32_t h)
{
    CrImage image(w, h, 24);
    FillPattern(image);
    return image;
}

// A picture without sharp edges, for lossy codecs.
inline CrImage Smooth(int32_t w, int32_t h)
{
    CrImage image(w, h, 24);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            image.SetPixelColor(x, y, Rgb(uint8_t(40 + x * 160 / w), uint8_t(200 - y * 150 / h), uint8_t(90 + (x + y) * 60 / (w + h))));
    return image;
}

// Random colours: what compresses worst.
inline CrImage Noise(int32_t w, int32_t h, uint32_t seed = 1)
{
    CrImage image(w, h, 24);
    uint32_t state = seed;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            state = state * 1664525u + 1013904223u;
            image.SetPixelColor(x, y, Rgb(uint8_t(state >> 24), uint8_t(state >> 16), uint8_t(state >> 8)));
        }
    return image;
}

inline void AddAlphaPattern(CrImage& image)
{
    image.AlphaCreate();
    for (int32_t y = 0; y < image.GetHeight(); ++y)
        for (int32_t x = 0; x < image.GetWidth(); ++x)
            image.AlphaSet(x, y, uint8_t((x * 50 + y * 31) % 256));
}

// The same colours (and alpha, when asked) at every pixel.
inline void ExpectSamePicture(const CrImage& expected, const CrImage& actual, bool alpha, const std::string& what)
{
    ASSERT_EQ(actual.GetWidth(), expected.GetWidth()) << what;
    ASSERT_EQ(actual.GetHeight(), expected.GetHeight()) << what;
    for (int32_t y = 0; y < expected.GetHeight(); ++y)
        for (int32_t x = 0; x < expected.GetWidth(); ++x) {
            CrRgbQuad e = expected.GetPixelColor(x, y, alpha), a = actual.GetPixelColor(x, y, alpha);
            if (!alpha)
                e.rgbReserved = a.rgbReserved = 0;
            ASSERT_EQ(a, e) << what << " at " << x << "," << y;
        }
}

// Largest difference of any channel over the picture.
inline int MaxDifference(const CrImage& a, const CrImage& b)
{
    int most = 0;
    for (int32_t y = 0; y < a.GetHeight(); ++y)
        for (int32_t x = 0; x < a.GetWidth(); ++x) {
            CrRgbQuad p = a.GetPixelColor(x, y, false), q = b.GetPixelColor(x, y, false);
            most = std::max({most, std::abs(p.rgbRed - q.rgbRed), std::abs(p.rgbGreen - q.rgbGreen),
                             std::abs(p.rgbBlue - q.rgbBlue)});
        }
    return most;
}

// Little-endian byte builder for file fixtures.
struct LE {
    Bytes b;
    LE& U8(uint32_t v)
    {
        b.push_back(uint8_t(v));
        return *this;
    }
    LE& U16(uint32_t v) { return U8(v).U8(v >> 8); }
    LE& U32(uint32_t v) { return U16(v).U16(v >> 16); }
    LE& Raw(const Bytes& more)
    {
        b.insert(b.end(), more.begin(), more.end());
        return *this;
    }
    LE& Zeros(size_t n)
    {
        b.insert(b.end(), n, 0);
        return *this;
    }
};

// A memory file that takes only `limit` bytes, then fails every write.
class ShortFile : public CrMemFile {
public:
    explicit ShortFile(uint32_t limit) : m_limit(limit) { Open(); }
    uint32_t Write(const void* buffer, uint32_t size, uint32_t count) override
    {
        if (uint64_t(Size()) + uint64_t(size) * count > m_limit)
            return 0;
        return CrMemFile::Write(buffer, size, count);
    }
    bool PutC(uint8_t c) override { return Write(&c, 1, 1) == 1; }

private:
    uint32_t m_limit;
};

// Snapshot of everything an encoder must leave alone.
struct ImageBytes {
    Bytes dib;
    Bytes alpha;
    int32_t transIndex;
    explicit ImageBytes(const CrImage& image)
        : dib(image.GetDIB(), image.GetDIB() + image.GetSize()), transIndex(image.GetTransIndex())
    {
        if (image.AlphaIsValid())
            alpha.assign(image.AlphaGetPointer(), image.AlphaGetPointer() + size_t(image.GetWidth()) * image.GetHeight());
    }
    bool operator==(const ImageBytes& o) const { return dib == o.dib && alpha == o.alpha && transIndex == o.transIndex; }
};

} // namespace codectest
