#pragma once
// Device-independent bitmap structures with fixed-width fields in the Windows layout, so the
// same bytes are read, held and written on every host.
#include <cstdint>

struct CrBitmapInfoHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;       // positive: rows stored bottom-up
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression; // 0 uncompressed, 1 RLE8, 2 RLE4, 3 bit fields
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};
static_assert(sizeof(CrBitmapInfoHeader) == 40, "bitmap info header must keep the Windows layout");

#pragma pack(push, 2)
struct CrBitmapFileHeader {
    uint16_t bfType; // "BM"
    uint32_t bfSize;
    uint16_t bfReserved1;
    uint16_t bfReserved2;
    uint32_t bfOffBits;
};
#pragma pack(pop)
static_assert(sizeof(CrBitmapFileHeader) == 14, "bitmap file header must keep the Windows layout");

// A palette entry and the library's colour: blue, green, red, then alpha (or 0).
struct CrRgbQuad {
    uint8_t rgbBlue;
    uint8_t rgbGreen;
    uint8_t rgbRed;
    uint8_t rgbReserved;
};
static_assert(sizeof(CrRgbQuad) == 4, "palette entries are four bytes");

inline bool operator==(const CrRgbQuad& a, const CrRgbQuad& b)
{
    return a.rgbBlue == b.rgbBlue && a.rgbGreen == b.rgbGreen && a.rgbRed == b.rgbRed &&
           a.rgbReserved == b.rgbReserved;
}
inline bool operator!=(const CrRgbQuad& a, const CrRgbQuad& b) { return !(a == b); }

// A colour as red, green, blue bytes (palettes read from GIF files).
struct CrRgbColor {
    uint8_t r;
    uint8_t g;
    uint8_t b;
};
static_assert(sizeof(CrRgbColor) == 3, "colour triples are three bytes");
