#pragma once
// The JPEG codec over libjpeg: decodes baseline, progressive, grey and CMYK files into a bottom-up
// bitmap and encodes 24-bit and grey images.
#include "CrImage.h"

// JPEG option bits (codec option word of format 3).
enum : uint32_t {
    CRIMAGE_JPEG_BASELINE = 0x01,
    CRIMAGE_JPEG_ARITHMETIC = 0x02,
    CRIMAGE_JPEG_GRAYSCALE = 0x04,
    CRIMAGE_JPEG_OPTIMIZE = 0x08,
    CRIMAGE_JPEG_PROGRESSIVE = 0x10,
    CRIMAGE_JPEG_SMOOTHING = 0x40,
    CRIMAGE_JPEG_DECODE_GRAYSCALE = 0x80,
    CRIMAGE_JPEG_QUANTIZE = 0x100,
    CRIMAGE_JPEG_DITHER = 0x200,
    CRIMAGE_JPEG_ONE_PASS = 0x400,
    CRIMAGE_JPEG_NO_FANCY_UPSAMPLING = 0x800,
    CRIMAGE_JPEG_SUBSAMPLE_2X1 = 0x1000,
    CRIMAGE_JPEG_SUBSAMPLE_1X1 = 0x2000,
};

class CrImageJPG : public CrImage {
public:
    CrImageJPG() : CrImage(CRIMAGE_FORMAT_JPG), m_smoothing(0), m_dither(0) {}

    // False with libjpeg's message in the last error; false without a new text when cancelled.
    bool Decode(CrFile* file);
    bool Encode(CrFile* file);

    void SetSmoothing(int32_t factor) { m_smoothing = factor; }
    void SetDither(int32_t mode) { m_dither = mode; }

private:
    int32_t m_smoothing;
    int32_t m_dither;
};
