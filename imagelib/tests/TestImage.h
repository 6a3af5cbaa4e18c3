#pragma once
// Test access to the parts of CrImage that only the codecs see, plus small fixture helpers.
#include "CrImage.h"

#include <ostream>

class TestImage : public CrImage {
public:
    using CrImage::CrImage;
    using CrImage::AllocFrames;
    using CrImage::FileToHost;
    using CrImage::FileToHost16;
    using CrImage::FileToHost32;
    using CrImage::PutFrame;
    using CrImage::SetLastError;

    CrBitmapInfoHeader& Head() { return m_head; }
    CrImageInfo& Info() { return m_info; }
    const CrBitmapInfoHeader& DibHeader() const { return *reinterpret_cast<const CrBitmapInfoHeader*>(GetDIB()); }
};

inline bool AllBytesAre(const uint8_t* p, size_t n, uint8_t value)
{
    for (size_t i = 0; i < n; i++)
        if (p[i] != value)
            return false;
    return true;
}

inline CrRgbQuad Rgb(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 0)
{
    CrRgbQuad q;
    q.rgbRed = r;
    q.rgbGreen = g;
    q.rgbBlue = b;
    q.rgbReserved = a;
    return q;
}

// Pixel colours change with x and y so that every misplaced pixel shows.
inline CrRgbQuad PatternColor(int32_t x, int32_t y)
{
    return Rgb(static_cast<uint8_t>(x * 7 + 1), static_cast<uint8_t>(y * 13 + 2), static_cast<uint8_t>(x * 3 + y * 5));
}

inline void FillPattern(CrImage& image)
{
    for (int32_t y = 0; y < image.GetHeight(); y++)
        for (int32_t x = 0; x < image.GetWidth(); x++) {
            if (image.IsIndexed())
                image.SetPixelIndex(x, y, static_cast<uint8_t>((x + 3 * y) % image.GetNumColors()));
            else
                image.SetPixelColor(x, y, PatternColor(x, y));
        }
}

inline void FillColor(CrImage& image, CrRgbQuad c)
{
    for (int32_t y = 0; y < image.GetHeight(); y++)
        for (int32_t x = 0; x < image.GetWidth(); x++)
            image.SetPixelColor(x, y, c);
}

inline void PrintTo(const CrRgbQuad& c, std::ostream* os)
{
    *os << "rgba(" << int(c.rgbRed) << "," << int(c.rgbGreen) << "," << int(c.rgbBlue) << "," << int(c.rgbReserved) << ")";
}
