#include "CrImageICO.h"

#include "CrFile.h"
#include "CrImageBMP.h"
#include "CrImagePNG.h"
#include "CrMemFile.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint32_t kDirectorySize = 6;
constexpr uint32_t kEntrySize = 16;
constexpr uint32_t kHeaderSize = 40;

uint32_t LE16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t LE32(const uint8_t* p) { return LE16(p) | (LE16(p + 2) << 16); }

uint32_t MaskRowBytes(int32_t width) { return ((static_cast<uint32_t>(width) + 31) / 32) * 4; }

} // namespace

bool CrImageICO::Decode(CrFile* file)
{
    if (!file)
        return false;
    const int32_t start = file->Tell();
    uint8_t directory[kDirectorySize];
    if (file->Read(directory, 1, kDirectorySize) != kDirectorySize)
        return false;
    const uint32_t type = LE16(directory + 2);
    const int32_t count = static_cast<int32_t>(LE16(directory + 4));
    if (LE16(directory) != 0 || (type != 1 && type != 2))
        return false;
    m_info.frameCount = count;
    const int32_t wanted = m_info.requestedFrame;
    if (wanted < 0 || wanted >= count)
        return false;
    uint8_t entry[kEntrySize];
    if (!file->Seek(start + static_cast<int32_t>(kDirectorySize + kEntrySize * static_cast<uint32_t>(wanted)), 0) ||
        file->Read(entry, 1, kEntrySize) != kEntrySize)
        return false;
    // A width or height byte of 0 means 256.
    const int32_t width = entry[0] ? entry[0] : 256;
    const int32_t height = entry[1] ? entry[1] : 256;
    const uint32_t offset = LE32(entry + 12);
    if (offset > static_cast<uint32_t>(INT32_MAX - start))
        return false;
    const int32_t at = start + static_cast<int32_t>(offset);

    // PNG-compressed images are known by their signature, whatever the entry says.
    uint8_t signature[8];
    file->Seek(at, 0);
    const bool png = file->Read(signature, 1, 8) == 8 && memcmp(signature, kPngSignature, 8) == 0;
    file->Seek(at, 0);

    if (GetEscape() == -1) {
        m_head.biWidth = width;
        m_head.biHeight = height;
        if (png) {
            CrImagePNG size;
            size.SetEscape(-1);
            if (size.Decode(file)) {
                m_head.biWidth = size.GetWidth();
                m_head.biHeight = size.GetHeight();
            }
        }
        m_info.formatId = CRIMAGE_FORMAT_ICO;
        return true;
    }
    if (png) {
        CrImagePNG picture;
        picture.CopyInfo(*this);
        if (!picture.Decode(file)) {
            SetLastError(picture.GetLastError());
            return false;
        }
        Transfer(picture, false);
        m_info.formatId = CRIMAGE_FORMAT_ICO;
        m_info.frameCount = count;
        return true;
    }
    return DecodeBitmap(file, width, height);
}

bool CrImageICO::DecodeBitmap(CrFile* file, int32_t width, int32_t height)
{
    CrBitmapInfoHeader header;
    CrImageBMP reader;
    if (!reader.ReadBitmapInfo(file, &header))
        return false;
    const uint32_t bits = header.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return false;
    if (!Create(width, height, bits, CRIMAGE_FORMAT_ICO))
        return false;

    CrRgbQuad* palette = GetPalette();
    const uint32_t colors = header.biClrUsed < GetNumColors() ? header.biClrUsed : GetNumColors();
    for (uint32_t i = 0; palette && i < colors && file->Read(&palette[i], 4, 1) == 1; i++)
        palette[i].rgbReserved = 0;

    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (bits == 32) {
        std::vector<uint8_t> bgra(pixels * 4, 0);
        file->Read(bgra.data(), 1, static_cast<uint32_t>(bgra.size()));
        if (!AlphaCreate()) {
            SetLastError("CrImage::Create can't allocate memory");
            return false;
        }
        uint8_t* alpha = AlphaGetPointer();
        for (int32_t y = 0; y < height; y++) {
            uint8_t* row = GetBits(static_cast<uint32_t>(y));
            for (int32_t x = 0; x < width; x++) {
                const uint8_t* p = &bgra[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4];
                memcpy(row + 3 * x, p, 3);
                alpha[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = p[3];
            }
        }
    } else {
        file->Read(GetBits(0), 1, GetRowBytes() * static_cast<uint32_t>(height));
    }

    const uint32_t maskRow = MaskRowBytes(width);
    std::vector<uint8_t> mask(static_cast<size_t>(maskRow) * static_cast<size_t>(height));
    // Without a mask the picture stands as it is.
    if (file->Read(mask.data(), 1, static_cast<uint32_t>(mask.size())) == mask.size())
        ApplyMask(mask.data(), maskRow, bits == 32);
    return true;
}

// Masked pixels become transparent: by a palette index where one is free for them, else by alpha.
void CrImageICO::ApplyMask(const uint8_t* mask, uint32_t maskRow, bool alphaFromData)
{
    const int32_t width = GetWidth(), height = GetHeight();
    const size_t maskSize = static_cast<size_t>(maskRow) * static_cast<size_t>(height);
    bool allSet = true;
    for (size_t i = 0; i < maskSize && allSet; i++)
        allSet = mask[i] == 0xFF;
    if (allSet) {
        // Every pixel inverts the screen: shown here as the inverted picture over index 0.
        if (!alphaFromData) {
            SetTransIndex(0);
            Negative();
        }
        return;
    }
    auto masked = [&](int32_t x, int32_t y) {
        return (mask[static_cast<size_t>(y) * maskRow + static_cast<size_t>(x >> 3)] & (0x80 >> (x & 7))) != 0;
    };
    const bool created = !AlphaIsValid();
    if (!AlphaCreate())
        return;
    int32_t maskedCount = 0;
    bool usedOpaque[256] = {};
    bool used[256] = {};
    int32_t maskedIndex = -1;
    bool oneIndex = true;
    for (int32_t y = 0; y < height; y++)
        for (int32_t x = 0; x < width; x++) {
            const uint8_t index = IsIndexed() ? GetPixelIndexUnchecked(x, y) : 0;
            used[index] = true;
            if (!masked(x, y)) {
                usedOpaque[index] = true;
                continue;
            }
            AlphaSet(x, y, 0);
            maskedCount++;
            if (maskedIndex >= 0 && maskedIndex != index)
                oneIndex = false;
            maskedIndex = index;
        }
    if (maskedCount == 0) {
        if (created)
            AlphaDelete();
        return;
    }
    if (!IsIndexed())
        return;
    // One colour under the mask that no visible pixel shares is the transparent colour itself.
    if (oneIndex && !usedOpaque[maskedIndex]) {
        SetTransIndex(maskedIndex);
        AlphaDelete();
        return;
    }
    int32_t unused = static_cast<int32_t>(GetNumColors()) - 1;
    while (unused >= 0 && used[unused])
        unused--;
    if (unused < 0)
        return; // every index shows: the alpha plane stays
    for (int32_t y = 0; y < height; y++)
        for (int32_t x = 0; x < width; x++)
            if (masked(x, y))
                SetPixelIndexUnchecked(x, y, static_cast<uint8_t>(unused));
    SetTransIndex(unused);
    AlphaDelete();
}

bool CrImageICO::Encode(CrFile* file, bool append, int32_t pageCount)
{
    if (CheckEncodeArgs(file))
        return false;
    if (GetBpp() <= 8 && !IsIndexed())
        return false;
    if (pageCount < 1)
        pageCount = 1;
    bool ok = true;
    if (!append) {
        m_start = file->Tell();
        m_entry = 0;
        m_offset = static_cast<int32_t>(kDirectorySize + kEntrySize * static_cast<uint32_t>(pageCount));
        std::vector<uint8_t> head(static_cast<size_t>(m_offset), 0);
        head[2] = 1;
        head[4] = static_cast<uint8_t>(pageCount);
        head[5] = static_cast<uint8_t>(pageCount >> 8);
        ok = file->Write(head.data(), 1, static_cast<uint32_t>(head.size())) == head.size();
    } else if (m_entry >= pageCount) {
        SetLastError("Write Error in ICO file");
        return false;
    }

    const bool withAlpha = !IsIndexed() && AlphaIsValid();
    const uint32_t width = static_cast<uint32_t>(GetWidth()), height = static_cast<uint32_t>(GetHeight());
    const uint32_t colourBytes = withAlpha ? width * height * 4 : GetRowBytes() * height;
    uint32_t size = kHeaderSize + GetPaletteSize() + colourBytes + MaskRowBytes(GetWidth()) * height;
    const bool large = width > 255 || height > 255;
    ok = ok && file->Seek(m_start + m_offset, 0);
    if (ok && large) {
        // Too large for the entry's size bytes: stored as PNG.
        CrImagePNG png;
        png.Ghost(*this);
        CrMemFile packed;
        packed.Open();
        if (!png.Encode(&packed)) {
            SetLastError(png.GetLastError());
            return false;
        }
        size = static_cast<uint32_t>(packed.Size());
        ok = file->Write(packed.GetBuffer(false), 1, size) == size;
    } else if (ok) {
        ok = WriteBitmap(file, withAlpha, colourBytes);
    }

    uint8_t entry[kEntrySize] = {};
    entry[0] = large ? 0 : static_cast<uint8_t>(width);
    entry[1] = large ? 0 : static_cast<uint8_t>(height);
    entry[2] = GetNumColors() < 256 ? static_cast<uint8_t>(GetNumColors()) : 0;
    CrPutLE16(entry + 4, 1);
    CrPutLE16(entry + 6, withAlpha ? 32 : GetBpp());
    CrPutLE32(entry + 8, size);
    CrPutLE32(entry + 12, static_cast<uint32_t>(m_offset));
    ok = ok && file->Seek(m_start + static_cast<int32_t>(kDirectorySize + kEntrySize * static_cast<uint32_t>(m_entry)), 0) &&
         file->Write(entry, 1, kEntrySize) == kEntrySize;
    m_offset += static_cast<int32_t>(size);
    m_entry++;
    ok = ok && file->Seek(m_start + m_offset, 0) && file->Flush() && !file->Error();
    if (!ok)
        SetLastError("Write Error in ICO file");
    return ok;
}

// Header, palette (the transparent entry black), colour bits and the mask of transparent pixels.
bool CrImageICO::WriteBitmap(CrFile* file, bool withAlpha, uint32_t colourBytes)
{
    const int32_t width = GetWidth(), height = GetHeight();
    CrBitmapInfoHeader header = m_head;
    header.biSize = kHeaderSize;
    header.biHeight = height * 2;
    header.biPlanes = 1;
    header.biBitCount = static_cast<uint16_t>(withAlpha ? 32 : GetBpp());
    header.biCompression = 0;
    header.biSizeImage = colourBytes;
    header.biClrImportant = 0;
    uint8_t head[kHeaderSize];
    CrPutBitmapInfoHeader(head, header);
    bool ok = file->Write(head, 1, kHeaderSize) == kHeaderSize;

    const bool transparent = m_info.transIndex >= 0;
    const CrRgbQuad transColor = GetTransColor();
    auto clear = [&](int32_t x, int32_t y) {
        if (IsIndexed())
            return transparent && GetPixelIndexUnchecked(x, y) == m_info.transIndex;
        if (AlphaIsValid() && AlphaGetUnchecked(x, y) == 0)
            return true;
        const CrRgbQuad c = GetPixelColorUnchecked(x, y, false);
        return transparent && c.rgbRed == transColor.rgbRed && c.rgbGreen == transColor.rgbGreen &&
               c.rgbBlue == transColor.rgbBlue;
    };
    if (ok && IsIndexed()) {
        std::vector<CrRgbQuad> palette(GetPalette(), GetPalette() + GetNumColors());
        for (CrRgbQuad& e : palette)
            e.rgbReserved = 0;
        if (transparent)
            palette[static_cast<size_t>(m_info.transIndex)] = CrRgbQuad{0, 0, 0, 0};
        ok = file->Write(palette.data(), 1, GetPaletteSize()) == GetPaletteSize();
    }
    // Transparent pixels are black in the colour bits, so the screen shows through them unchanged.
    std::vector<uint8_t> row(withAlpha ? static_cast<size_t>(width) * 4 : GetRowBytes());
    for (int32_t y = 0; ok && y < height; y++) {
        const uint8_t* bits = GetBits(static_cast<uint32_t>(y));
        memcpy(row.data(), bits, IsIndexed() || !withAlpha ? row.size() : 0);
        for (int32_t x = 0; x < width && !IsIndexed(); x++) {
            uint8_t* p = withAlpha ? &row[static_cast<size_t>(x) * 4] : &row[static_cast<size_t>(x) * 3];
            if (withAlpha) {
                memcpy(p, bits + 3 * x, 3);
                p[3] = AlphaGetUnchecked(x, y);
            } else if (clear(x, y)) {
                p[0] = p[1] = p[2] = 0;
            }
        }
        ok = file->Write(row.data(), 1, static_cast<uint32_t>(row.size())) == row.size();
    }
    std::vector<uint8_t> maskRow(MaskRowBytes(width));
    for (int32_t y = 0; ok && y < height; y++) {
        std::fill(maskRow.begin(), maskRow.end(), 0);
        for (int32_t x = 0; x < width; x++)
            if (clear(x, y))
                maskRow[static_cast<size_t>(x >> 3)] |= static_cast<uint8_t>(0x80 >> (x & 7));
        ok = file->Write(maskRow.data(), 1, static_cast<uint32_t>(maskRow.size())) == maskRow.size();
    }
    return ok;
}
