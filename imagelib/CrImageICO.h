#pragma once
// The ICO codec: one image of an icon or cursor file (with its mask, or PNG-compressed) in, icon
// files of one or more images out.
#include "CrImage.h"

class CrImageICO : public CrImage {
public:
    explicit CrImageICO(int32_t offset = 0) : CrImage(CRIMAGE_FORMAT_ICO), m_offset(offset), m_entry(0), m_start(0) {}

    // Decodes the image of the requested frame; the frame count becomes the file's image count.
    bool Decode(CrFile* file);
    // The first call (append clear) starts a file of `pageCount` images; each later call on the same
    // codec object, with append set, adds the next image.
    bool Encode(CrFile* file, bool append = false, int32_t pageCount = 1);

private:
    bool DecodeBitmap(CrFile* file, int32_t width, int32_t height);
    void ApplyMask(const uint8_t* mask, uint32_t maskRow, bool alphaFromData);
    bool WriteBitmap(CrFile* file, bool withAlpha, uint32_t colourBytes);

    int32_t m_offset; // where the next image's data goes, from the start of the file
    int32_t m_entry;  // the next directory entry
    int32_t m_start;  // the file position of the icon's first byte
};
