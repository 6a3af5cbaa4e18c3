#pragma once
// The PNG codec over libpng: every colour type and depth, transparency, resolution and interlaced
// files in; palette, grey, RGB and alpha images out.
#include "CrImage.h"

// PNG option bits (codec option word of format 4).
enum : uint32_t {
    CRIMAGE_PNG_INTERLACED = 0x01,
    CRIMAGE_PNG_LEVEL_MASK = 0x0E, // 2: zlib level 0, 4: level 1, 6: level 9, else the default
};

class CrImagePNG : public CrImage {
public:
    CrImagePNG() : CrImage(CRIMAGE_FORMAT_PNG) {}

    bool Decode(CrFile* file);
    // Never changes this image (nor the image it is a ghost of), whether it succeeds or not.
    bool Encode(CrFile* file);

    // Widens `width` 2-bit pixels at the start of `row`, in place from the end, to 4-bit pixels.
    static void Expand2To4Bits(uint8_t* row, int32_t width);

private:
    // A decoded row in libpng's layout into bitmap row `row` (and the alpha plane).
    void StoreRow(const uint8_t* src, size_t length, uint32_t row, int channels, int depth);
    void BuildRow(uint8_t* out, int32_t y, int channels, uint8_t swap) const;
};
