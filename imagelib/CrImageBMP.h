#pragma once
// The BMP codec: Windows and OS/2 bitmaps (core, info, V4 and V5 headers; 1 to 32 bits; RLE4,
// RLE8, bit fields; bottom-up or top-down) in, uncompressed bitmaps out.
#include "CrImage.h"

// What a bitmap's information header says beyond its 40-byte form.
struct CrBmpLayout {
    bool coreHeader;    // OS/2 1.x: 3-byte palette entries
    bool hasMasks;      // bit-field masks were given (in the header or after it)
    uint32_t redMask;
    uint32_t greenMask;
    uint32_t blueMask;
};

class CrImageBMP : public CrImage {
public:
    CrImageBMP() : CrImage(CRIMAGE_FORMAT_BMP) {}

    bool Decode(CrFile* file);
    bool Encode(CrFile* file);
    // Reads the information header (and the masks that belong to it), normalised to the 40-byte form
    // with colours used clamped to what the bit count allows; false for a header this codec refuses.
    bool ReadBitmapInfo(CrFile* file, CrBitmapInfoHeader* header, CrBmpLayout* layout = nullptr);

private:
    bool ReadPixels(CrFile* file, const CrBitmapInfoHeader& header, const CrBmpLayout& layout);
    void DecodeRle(CrFile* file, bool rle4);
    bool ReadBitFields(CrFile* file, const CrBitmapInfoHeader& header, const CrBmpLayout& layout);
};

// Little-endian fields of the file structures, for writers on any host.
void CrPutLE16(uint8_t* at, uint32_t value);
void CrPutLE32(uint8_t* at, uint32_t value);
// The 40-byte information header in file layout.
void CrPutBitmapInfoHeader(uint8_t* at, const CrBitmapInfoHeader& header);
