#include "CrImageBMP.h"

#include "CrFile.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr uint16_t kBmpType = 0x4D42; // "BM"
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kOs2HeaderSize = 64;
// Larger headers are not bitmaps: this keeps other formats from being taken for bare bitmaps.
constexpr uint32_t kMaxHeaderSize = 1024;
constexpr uint32_t kFileHeaderSize = 14;

enum : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

int32_t DpiOf(int32_t pixelsPerMeter) { return static_cast<int32_t>(std::floor(pixelsPerMeter * 0.0254 + 0.5)); }

uint32_t ReadU32(CrFile* file, bool* ok)
{
    uint8_t b[4] = {0, 0, 0, 0};
    *ok = *ok && file->Read(b, 1, 4) == 4;
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

bool ValidBitCount(uint32_t bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

} // namespace

void CrPutLE16(uint8_t* at, uint32_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void CrPutLE32(uint8_t* at, uint32_t value)
{
    CrPutLE16(at, value);
    CrPutLE16(at + 2, value >> 16);
}

void CrPutBitmapInfoHeader(uint8_t* at, const CrBitmapInfoHeader& h)
{
    CrPutLE32(at, h.biSize);
    CrPutLE32(at + 4, static_cast<uint32_t>(h.biWidth));
    CrPutLE32(at + 8, static_cast<uint32_t>(h.biHeight));
    CrPutLE16(at + 12, h.biPlanes);
    CrPutLE16(at + 14, h.biBitCount);
    CrPutLE32(at + 16, h.biCompression);
    CrPutLE32(at + 20, h.biSizeImage);
    CrPutLE32(at + 24, static_cast<uint32_t>(h.biXPelsPerMeter));
    CrPutLE32(at + 28, static_cast<uint32_t>(h.biYPelsPerMeter));
    CrPutLE32(at + 32, h.biClrUsed);
    CrPutLE32(at + 36, h.biClrImportant);
}

bool CrImageBMP::ReadBitmapInfo(CrFile* file, CrBitmapInfoHeader* header, CrBmpLayout* layout)
{
    if (!file || !header)
        return false;
    CrBmpLayout local;
    if (!layout)
        layout = &local;
    memset(layout, 0, sizeof *layout);
    memset(header, 0, sizeof *header);
    bool ok = true;
    const uint32_t size = ReadU32(file, &ok);
    if (!ok)
        return false;
    if (size == kCoreHeaderSize) {
        uint8_t core[8];
        if (file->Read(core, 1, 8) != 8)
            return false;
        header->biSize = kInfoHeaderSize;
        header->biWidth = core[0] | (core[1] << 8);
        header->biHeight = core[2] | (core[3] << 8);
        header->biPlanes = static_cast<uint16_t>(core[4] | (core[5] << 8));
        header->biBitCount = static_cast<uint16_t>(core[6] | (core[7] << 8));
        layout->coreHeader = true;
    } else if (size >= kInfoHeaderSize && size <= kMaxHeaderSize) {
        uint8_t* rest = reinterpret_cast<uint8_t*>(header) + 4;
        if (file->Read(rest, 1, kInfoHeaderSize - 4) != kInfoHeaderSize - 4)
            return false;
        header->biSize = size;
        FileToHost(header);
        header->biSize = size;
        uint32_t consumed = kInfoHeaderSize;
        // Bit-field masks sit inside the later headers (OS/2 2.x has other fields there), or follow
        // a 40-byte header.
        const bool bitFields = header->biCompression == kBitFields && header->biBitCount >= 16;
        if (bitFields && (size == kInfoHeaderSize || (size >= kInfoHeaderSize + 12 && size != kOs2HeaderSize))) {
            layout->redMask = ReadU32(file, &ok);
            layout->greenMask = ReadU32(file, &ok);
            layout->blueMask = ReadU32(file, &ok);
            layout->hasMasks = ok;
            if (size > kInfoHeaderSize)
                consumed += 12;
        }
        if (!ok || (size > consumed && !file->Seek(static_cast<int32_t>(size - consumed), 1)))
            return false;
        if (size == kOs2HeaderSize && header->biCompression >= kBitFields)
            header->biCompression = 0xFFFFFFFF; // OS/2 Huffman or RLE24: not supported
    } else {
        return false;
    }

    if (header->biWidth <= 0 || header->biHeight == 0 || header->biHeight == INT32_MIN ||
        !ValidBitCount(header->biBitCount))
        return false;
    const uint32_t bits = header->biBitCount;
    const int64_t height = header->biHeight < 0 ? -static_cast<int64_t>(header->biHeight) : header->biHeight;
    if (header->biSizeImage == 0)
        header->biSizeImage = static_cast<uint32_t>(((bits * static_cast<uint64_t>(header->biWidth) + 31) / 32) * 4 * height);
    if (bits <= 8) {
        const uint32_t most = 1u << bits;
        if (header->biClrUsed == 0 || header->biClrUsed > most)
            header->biClrUsed = most;
    } else if (header->biClrUsed > 256) {
        header->biClrUsed = 256;
    }
    return true;
}

bool CrImageBMP::Decode(CrFile* file)
{
    if (!file)
        return false;
    const int32_t start = file->Tell();
    uint8_t fileHeader[kFileHeaderSize];
    if (file->Read(fileHeader, 1, kFileHeaderSize) != kFileHeaderSize) {
        SetLastError("Not a BMP");
        return false;
    }
    uint32_t bitsOffset = fileHeader[10] | (fileHeader[11] << 8) | (fileHeader[12] << 16) |
                          (static_cast<uint32_t>(fileHeader[13]) << 24);
    if ((fileHeader[0] | (fileHeader[1] << 8)) != kBmpType) {
        // A bare bitmap: the information header comes first.
        file->Seek(start, 0);
        bitsOffset = 0;
    }
    CrBitmapInfoHeader header;
    CrBmpLayout layout;
    if (!ReadBitmapInfo(file, &header, &layout)) {
        SetLastError("Error reading BMP info");
        return false;
    }
    const bool topDown = header.biHeight < 0;
    if (topDown)
        header.biHeight = -header.biHeight;
    if (GetEscape() == -1) {
        m_head.biWidth = header.biWidth;
        m_head.biHeight = header.biHeight;
        m_info.formatId = CRIMAGE_FORMAT_BMP;
        return true;
    }
    if (!Create(header.biWidth, header.biHeight, header.biBitCount, CRIMAGE_FORMAT_BMP))
        return false;
    SetXDPI(DpiOf(header.biXPelsPerMeter));
    SetYDPI(DpiOf(header.biYPelsPerMeter));
    if (GetEscape()) {
        SetLastError("Cancelled");
        return false;
    }

    CrRgbQuad* palette = GetPalette();
    if (palette) {
        const uint32_t entrySize = layout.coreHeader ? 3 : 4;
        uint8_t entry[4];
        for (uint32_t i = 0; i < header.biClrUsed && file->Read(entry, 1, entrySize) == entrySize; i++)
            palette[i] = CrRgbQuad{entry[0], entry[1], entry[2], 0};
    } else if (bitsOffset == 0 && header.biClrUsed) {
        // A colour table beside true-colour pixels only helps palette displays.
        file->Seek(static_cast<int32_t>(header.biClrUsed * 4), 1);
    }
    if (GetEscape()) {
        SetLastError("Cancelled");
        return false;
    }
    if (bitsOffset) {
        const int64_t bits = static_cast<int64_t>(start) + bitsOffset;
        file->Seek(static_cast<int32_t>(bits < INT32_MAX ? bits : INT32_MAX), 0);
    }
    if (!ReadPixels(file, header, layout))
        return false;

    if (topDown)
        Flip(false, true);
    return true;
}

// Pixel data is read to this image's own buffer size, whatever the header's image size says; a
// short file leaves the remaining pixels as Create left them.
bool CrImageBMP::ReadPixels(CrFile* file, const CrBitmapInfoHeader& header, const CrBmpLayout& layout)
{
    const size_t imageSize = static_cast<size_t>(GetRowBytes()) * static_cast<size_t>(GetHeight());
    switch (header.biBitCount) {
    case 1:
    case 4:
    case 8:
        if (header.biCompression == kRgb) {
            file->Read(GetBits(0), 1, static_cast<uint32_t>(imageSize));
        } else if ((header.biCompression == kRle8 && header.biBitCount == 8) ||
                   (header.biCompression == kRle4 && header.biBitCount == 4)) {
            DecodeRle(file, header.biCompression == kRle4);
        } else {
            SetLastError("compression type not supported");
            return false;
        }
        return true;
    case 24:
        if (header.biCompression != kRgb) {
            SetLastError("unknown compression");
            return false;
        }
        file->Read(GetBits(0), 1, static_cast<uint32_t>(imageSize));
        return true;
    default:
        return ReadBitFields(file, header, layout);
    }
}

bool CrImageBMP::ReadBitFields(CrFile* file, const CrBitmapInfoHeader& header, const CrBmpLayout& layout)
{
    const uint32_t bits = header.biBitCount;
    if (header.biCompression != kRgb && header.biCompression != kBitFields) {
        SetLastError("unknown compression");
        return false;
    }
    uint32_t red = bits == 16 ? 0x7C00 : 0xFF0000, green = bits == 16 ? 0x3E0 : 0xFF00, blue = bits == 16 ? 0x1F : 0xFF;
    if (header.biCompression == kBitFields && layout.hasMasks) {
        red = layout.redMask;
        green = layout.greenMask;
        blue = layout.blueMask;
    }
    const size_t width = static_cast<size_t>(GetWidth());
    const size_t rowBytes = bits == 16 ? ((width * 2 + 3) & ~static_cast<size_t>(3)) : width * 4;
    const size_t size = rowBytes * static_cast<size_t>(GetHeight());
    uint8_t* src = static_cast<uint8_t*>(calloc(size, 1));
    if (!src) {
        SetLastError("can't allocate memory");
        return false;
    }
    file->Read(src, 1, static_cast<uint32_t>(size));
    if (bits == 32 && header.biCompression == kRgb && AlphaCreate()) {
        uint8_t* alpha = AlphaGetPointer();
        bool anyAlpha = false;
        for (size_t i = 0; i < width * static_cast<size_t>(GetHeight()); i++) {
            alpha[i] = src[i * 4 + 3];
            anyAlpha = anyAlpha || alpha[i];
        }
        // Fourth bytes that are all 0 are padding, not a transparent picture.
        if (!anyAlpha)
            AlphaInvert();
    }
    BitFieldsToRGB(src, red, green, blue, bits);
    free(src);
    return true;
}

// Run-length data: a count and a value, or 0 and a code (0 end of line, 1 end of bitmap, 2 a move,
// n literal pixels padded to 16 bits). Nothing is written outside the bitmap.
void CrImageBMP::DecodeRle(CrFile* file, bool rle4)
{
    const int32_t width = GetWidth(), height = GetHeight();
    int32_t x = 0, y = 0;
    auto put = [&](uint8_t value) {
        if (x < width && y < height)
            SetPixelIndexUnchecked(x, y, value);
        x++;
    };
    while (y < height) {
        const int32_t count = file->GetC();
        const int32_t value = file->GetC();
        if (count < 0 || value < 0)
            return;
        if (count > 0) {
            for (int32_t i = 0; i < count; i++)
                put(rle4 ? static_cast<uint8_t>((i & 1) ? (value & 15) : (value >> 4)) : static_cast<uint8_t>(value));
            continue;
        }
        switch (value) {
        case 0:
            x = 0;
            y++;
            break;
        case 1:
            return;
        case 2: {
            const int32_t dx = file->GetC();
            const int32_t dy = file->GetC();
            if (dx < 0 || dy < 0)
                return;
            x += dx;
            y += dy;
            break;
        }
        default: {
            const int32_t bytes = rle4 ? (value + 1) / 2 : value;
            for (int32_t i = 0; i < bytes; i++) {
                const int32_t b = file->GetC();
                if (b < 0)
                    return;
                if (rle4) {
                    put(static_cast<uint8_t>(b >> 4));
                    if (2 * i + 1 < value)
                        put(static_cast<uint8_t>(b & 15));
                } else {
                    put(static_cast<uint8_t>(b));
                }
            }
            if (bytes & 1)
                file->GetC();
            break;
        }
        }
    }
}

bool CrImageBMP::Encode(CrFile* file)
{
    if (CheckEncodeArgs(file))
        return false;
    const bool withAlpha = !IsIndexed() && AlphaIsValid();
    CrBitmapInfoHeader header = m_head;
    header.biSize = kInfoHeaderSize;
    header.biCompression = kRgb;
    header.biSizeImage = GetRowBytes() * static_cast<uint32_t>(GetHeight());
    if (withAlpha) {
        header.biBitCount = 32;
        header.biSizeImage = static_cast<uint32_t>(GetWidth()) * 4 * static_cast<uint32_t>(GetHeight());
    }
    const uint32_t paletteBytes = GetPaletteSize();
    uint8_t head[kFileHeaderSize + kInfoHeaderSize];
    CrPutLE16(head, kBmpType);
    CrPutLE32(head + 2, kFileHeaderSize + kInfoHeaderSize + paletteBytes + header.biSizeImage);
    CrPutLE32(head + 6, 0);
    CrPutLE32(head + 10, kFileHeaderSize + kInfoHeaderSize + paletteBytes);
    CrPutBitmapInfoHeader(head + kFileHeaderSize, header);
    bool ok = file->Write(head, 1, sizeof head) == sizeof head;
    if (ok && paletteBytes)
        ok = file->Write(GetPalette(), 1, paletteBytes) == paletteBytes;
    if (ok && !withAlpha) {
        ok = file->Write(GetBits(0), 1, header.biSizeImage) == header.biSizeImage;
    } else if (ok) {
        const size_t rowSize = static_cast<size_t>(GetWidth()) * 4;
        uint8_t* row = static_cast<uint8_t*>(malloc(rowSize));
        ok = row != nullptr;
        for (int32_t y = 0; ok && y < GetHeight(); y++) {
            const uint8_t* src = GetBits(static_cast<uint32_t>(y));
            for (int32_t x = 0; x < GetWidth(); x++) {
                memcpy(row + 4 * x, src + 3 * x, 3);
                row[4 * x + 3] = AlphaGetUnchecked(x, y);
            }
            ok = file->Write(row, 1, static_cast<uint32_t>(rowSize)) == rowSize;
        }
        free(row);
    }
    ok = ok && file->Flush() && !file->Error();
    if (!ok)
        SetLastError("Write Error in BMP file");
    return ok;
}
