// libpng reports fatal errors through the error callback, which jumps back into Decode or Encode.
// What those functions keep across the jump is plain data: libpng's structures and the row buffer,
// both reached through a state record and released on either road out.
#include "CrImagePNG.h"

#include "CrFile.h"

#include <png.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

const char kSaveError[] = "Error saving PNG file";

struct PngState {
    png_structp png;
    png_infop info;
    png_bytep volatile rows; // set after the jump point, freed with free()
};

void ReadData(png_structp png, png_bytep data, size_t length)
{
    CrFile* file = static_cast<CrFile*>(png_get_io_ptr(png));
    if (file->Read(data, 1, static_cast<uint32_t>(length)) != length)
        png_error(png, "Read Error");
}

void WriteData(png_structp png, png_bytep data, size_t length)
{
    CrFile* file = static_cast<CrFile*>(png_get_io_ptr(png));
    if (file->Write(data, 1, static_cast<uint32_t>(length)) != length)
        png_error(png, "Write Error");
}

void FlushData(png_structp png)
{
    if (!static_cast<CrFile*>(png_get_io_ptr(png))->Flush())
        png_error(png, "Flush Error");
}

// The error pointer is the image's last-error text (256 bytes).
void ErrorCallback(png_structp png, png_const_charp message)
{
    char* text = static_cast<char*>(png_get_error_ptr(png));
    if (text && message && message != text) {
        strncpy(text, message, 255);
        text[255] = 0;
    }
    png_longjmp(png, 1);
}

void WarningCallback(png_structp, png_const_charp) {}

int32_t Dpi(png_uint_32 perUnit, int unit)
{
    if (unit == PNG_RESOLUTION_METER)
        return static_cast<int32_t>(std::floor(perUnit * 0.0254 + 0.5));
    return static_cast<int32_t>(perUnit > 0x7FFFFFFF ? 0x7FFFFFFF : perUnit);
}

void ReleaseRead(PngState& s)
{
    free(s.rows);
    s.rows = nullptr;
    png_destroy_read_struct(&s.png, &s.info, nullptr);
}

void ReleaseWrite(PngState& s)
{
    free(s.rows);
    s.rows = nullptr;
    png_destroy_write_struct(&s.png, &s.info);
}

// The written index of a stored index, with entries 0 and `swap` exchanged.
uint8_t Swapped(uint8_t index, uint8_t swap) { return index == 0 ? swap : index == swap ? 0 : index; }

} // namespace

void CrImagePNG::Expand2To4Bits(uint8_t* row, int32_t width)
{
    for (int32_t x = width - 1; x >= 0; x--) {
        const uint8_t pixel = static_cast<uint8_t>((row[x >> 2] >> (6 - 2 * (x & 3))) & 3);
        uint8_t& out = row[x >> 1];
        out = (x & 1) ? static_cast<uint8_t>((out & 0xF0) | pixel) : static_cast<uint8_t>((out & 0x0F) | (pixel << 4));
    }
}

bool CrImagePNG::Decode(CrFile* file)
{
    if (!file)
        return false;
    PngState s = {nullptr, nullptr, nullptr};
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, m_info.lastError, ErrorCallback, WarningCallback);
    if (!s.png) {
        SetLastError("Failed to create PNG structure");
        return false;
    }
    s.info = png_create_info_struct(s.png);
    if (!s.info) {
        png_destroy_read_struct(&s.png, nullptr, nullptr);
        SetLastError("Failed to initialize PNG info structure");
        return false;
    }
    if (setjmp(png_jmpbuf(s.png))) {
        ReleaseRead(s);
        return false;
    }
    png_set_read_fn(s.png, file, ReadData);
    png_read_info(s.png, s.info);

    const png_uint_32 width = png_get_image_width(s.png, s.info);
    const png_uint_32 height = png_get_image_height(s.png, s.info);
    const int depth = png_get_bit_depth(s.png, s.info);
    const int colorType = png_get_color_type(s.png, s.info);
    if (GetEscape() == -1) {
        m_head.biWidth = static_cast<int32_t>(width);
        m_head.biHeight = static_cast<int32_t>(height);
        m_info.formatId = CRIMAGE_FORMAT_PNG;
        ReleaseRead(s);
        return true;
    }

    int channels;
    switch (colorType) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE: channels = 1; break;
    case PNG_COLOR_TYPE_RGB: channels = 3; break;
    case PNG_COLOR_TYPE_GRAY_ALPHA: channels = 2; break;
    case PNG_COLOR_TYPE_RGB_ALPHA: channels = 4; break;
    default: png_error(s.png, "unknown PNG color type");
    }
    const uint32_t bpp = channels >= 3 ? 24 : channels == 2 ? 8 : depth > 8 ? 8 : static_cast<uint32_t>(depth);
    if (!Create(static_cast<int32_t>(width), static_cast<int32_t>(height), bpp, CRIMAGE_FORMAT_PNG)) {
        ReleaseRead(s);
        return false;
    }

    png_uint_32 xRes = 0, yRes = 0;
    int unit = PNG_RESOLUTION_UNKNOWN;
    png_get_pHYs(s.png, s.info, &xRes, &yRes, &unit);
    SetXDPI(Dpi(xRes, unit));
    SetYDPI(Dpi(yRes, unit));

    png_colorp palette = nullptr;
    int paletteSize = 0;
    if (png_get_PLTE(s.png, s.info, &palette, &paletteSize)) {
        for (int i = 0; i < paletteSize && i < static_cast<int>(GetNumColors()); i++)
            SetPaletteColor(static_cast<uint32_t>(i), palette[i].red, palette[i].green, palette[i].blue);
        SetClrImportant(static_cast<uint32_t>(paletteSize));
    } else if (depth == 2) {
        for (uint32_t i = 0; i < 4; i++)
            SetPaletteColor(i, static_cast<uint8_t>(i * 85), static_cast<uint8_t>(i * 85), static_cast<uint8_t>(i * 85));
    } else if (IsIndexed()) {
        SetGrayPalette();
    }

    png_bytep alphas = nullptr;
    int alphaCount = 0;
    png_color_16p transColor = nullptr;
    if (png_get_tRNS(s.png, s.info, &alphas, &alphaCount, &transColor)) {
        const int shift = depth == 16 ? 8 : 0;
        if (colorType == PNG_COLOR_TYPE_PALETTE) {
            // One fully transparent first entry is a transparent index; other tables are per-entry alpha.
            if (alphaCount == 1 && alphas[0] == 0) {
                SetTransIndex(0);
            } else if (alphaCount > 0) {
                CrRgbQuad* entries = GetPalette();
                for (uint32_t i = 0; i < GetNumColors(); i++)
                    entries[i].rgbReserved = static_cast<int>(i) < alphaCount ? alphas[i] : 255;
                m_info.alphaPalette = true;
            }
        } else if (colorType == PNG_COLOR_TYPE_GRAY) {
            SetTransIndex(transColor->gray >> shift);
        } else if (colorType == PNG_COLOR_TYPE_RGB) {
            CrRgbQuad color = {static_cast<uint8_t>(transColor->blue >> shift),
                               static_cast<uint8_t>(transColor->green >> shift),
                               static_cast<uint8_t>(transColor->red >> shift), 0};
            SetTransColor(color);
            m_info.transIndex = 0;
        }
    }

    if (channels == 2 || channels == 4)
        AlphaCreate();
    if (colorType & PNG_COLOR_MASK_COLOR)
        png_set_bgr(s.png);
    if (depth == 16)
        png_set_strip_16(s.png);
    if (GetEscape()) {
        ReleaseRead(s);
        return false;
    }
    const int passes = png_set_interlace_handling(s.png);
    png_read_update_info(s.png, s.info);
    uint32_t& option = m_info.codecOptions[CRIMAGE_FORMAT_PNG];
    option = passes >= 2 ? (option | CRIMAGE_PNG_INTERLACED) : (option & ~static_cast<uint32_t>(CRIMAGE_PNG_INTERLACED));

    // An interlaced picture builds up over its passes in rows kept whole in libpng's layout; otherwise
    // one row is enough. Either way a row is as long as libpng says, which may exceed the bitmap's row.
    const size_t rowBytes = png_get_rowbytes(s.png, s.info);
    const size_t keptRows = passes >= 2 ? height : 1;
    // Rows of one pass without alpha fit the bitmap's own rows as libpng gives them.
    const bool direct = passes == 1 && (channels == 1 || channels == 3) && rowBytes <= GetRowBytes();
    if (!direct) {
        s.rows = static_cast<png_bytep>(calloc(keptRows, rowBytes));
        if (!s.rows)
            png_error(s.png, "CrImage::Create can't allocate memory");
    }
    for (int pass = 0; pass < passes; pass++) {
        for (png_uint_32 y = 0; y < height; y++) {
            if (GetEscape()) {
                ReleaseRead(s);
                return false;
            }
            const uint32_t target = static_cast<uint32_t>(height - 1 - y);
            if (direct) {
                png_read_row(s.png, GetBits(target), nullptr);
                if (depth == 2)
                    Expand2To4Bits(GetBits(target), GetWidth());
                continue;
            }
            png_bytep row = s.rows + (keptRows > 1 ? y : 0) * rowBytes;
            png_read_row(s.png, row, nullptr);
            if (pass == passes - 1)
                StoreRow(row, rowBytes, target, channels, depth);
        }
    }
    png_read_end(s.png, nullptr);
    ReleaseRead(s);
    return true;
}

void CrImagePNG::StoreRow(const uint8_t* src, size_t length, uint32_t row, int channels, int depth)
{
    uint8_t* dst = GetBits(row);
    const int32_t width = GetWidth();
    uint8_t* alpha = m_pAlpha ? m_pAlpha + static_cast<size_t>(row) * static_cast<size_t>(width) : nullptr;
    switch (channels) {
    case 2:
        for (int32_t x = 0; x < width; x++) {
            dst[x] = src[2 * x];
            alpha[x] = src[2 * x + 1];
        }
        break;
    case 4:
        for (int32_t x = 0; x < width; x++, dst += 3, src += 4) {
            memcpy(dst, src, 3);
            alpha[x] = src[3];
        }
        break;
    default:
        memcpy(dst, src, length < GetRowBytes() ? length : GetRowBytes());
        if (depth == 2)
            Expand2To4Bits(dst, width);
        break;
    }
}

bool CrImagePNG::Encode(CrFile* file)
{
    if (CheckEncodeArgs(file))
        return false;
    const bool indexed = IsIndexed();
    const bool alpha = AlphaIsValid();
    // A grey PNG of the image's depth shows the grey ramp a decoder gives that depth.
    bool grayRamp = indexed && !m_info.alphaPalette;
    for (uint32_t i = 0; grayRamp && i < GetNumColors(); i++) {
        const CrRgbQuad c = GetPaletteColor(i);
        const uint32_t level = i * (255 / (GetNumColors() - 1));
        grayRamp = c.rgbRed == level && c.rgbGreen == level && c.rgbBlue == level;
    }
    int colorType, depth, channels;
    if (alpha) {
        colorType = grayRamp ? PNG_COLOR_TYPE_GRAY_ALPHA : PNG_COLOR_TYPE_RGB_ALPHA;
        channels = grayRamp ? 2 : 4;
        depth = 8;
    } else {
        colorType = !indexed ? PNG_COLOR_TYPE_RGB : grayRamp ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_PALETTE;
        channels = indexed ? 1 : 3;
        depth = indexed ? static_cast<int>(GetBpp()) : 8;
    }
    const int32_t transIndex = m_info.transIndex;
    const bool palette = colorType == PNG_COLOR_TYPE_PALETTE;
    // The transparent entry goes first in the file; the swap is made on copies only.
    const uint8_t swap = palette && transIndex > 0 ? static_cast<uint8_t>(transIndex) : 0;

    PngState s = {nullptr, nullptr, nullptr};
    s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, ErrorCallback, WarningCallback);
    if (!s.png) {
        SetLastError("Failed to create PNG structure");
        return false;
    }
    s.info = png_create_info_struct(s.png);
    if (!s.info) {
        png_destroy_write_struct(&s.png, nullptr);
        SetLastError("Failed to initialize PNG info structure");
        return false;
    }
    if (setjmp(png_jmpbuf(s.png))) {
        ReleaseWrite(s);
        SetLastError(kSaveError);
        return false;
    }
    png_set_write_fn(s.png, file, WriteData, FlushData);

    const uint32_t options = GetCodecOption(CRIMAGE_FORMAT_PNG);
    png_set_IHDR(s.png, s.info, static_cast<png_uint_32>(GetWidth()), static_cast<png_uint_32>(GetHeight()), depth,
                 colorType, (options & CRIMAGE_PNG_INTERLACED) ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const uint32_t level = options & CRIMAGE_PNG_LEVEL_MASK;
    png_set_compression_level(s.png, level == 2 ? 0 : level == 4 ? 1 : level == 6 ? 9 : -1);

    png_color_16 background = {0, 255, 255, 255, 0};
    const CrRgbQuad transColor = GetTransColor();
    if (transIndex >= 0) {
        background.red = transColor.rgbRed;
        background.green = transColor.rgbGreen;
        background.blue = transColor.rgbBlue;
        background.gray = colorType == PNG_COLOR_TYPE_GRAY ? static_cast<png_uint_16>(transIndex) : 0;
    }
    png_set_bKGD(s.png, s.info, &background);
    png_set_pHYs(s.png, s.info, static_cast<png_uint_32>(m_head.biXPelsPerMeter),
                 static_cast<png_uint_32>(m_head.biYPelsPerMeter), PNG_RESOLUTION_METER);

    png_color entries[256];
    png_byte alphas[256];
    if (palette) {
        uint32_t count = GetClrImportant() ? GetClrImportant() : GetNumColors();
        if (transIndex >= 0 && static_cast<uint32_t>(transIndex) >= count)
            count = static_cast<uint32_t>(transIndex) + 1;
        for (uint32_t i = 0; i < count; i++) {
            const CrRgbQuad c = GetPaletteColor(Swapped(static_cast<uint8_t>(i), swap));
            entries[i].red = c.rgbRed;
            entries[i].green = c.rgbGreen;
            entries[i].blue = c.rgbBlue;
            alphas[i] = m_info.alphaPalette ? c.rgbReserved : 255;
        }
        png_set_PLTE(s.png, s.info, entries, static_cast<int>(count));
        if (transIndex >= 0)
            alphas[0] = 0;
        if (m_info.alphaPalette)
            png_set_tRNS(s.png, s.info, alphas, static_cast<int>(count), nullptr);
        else if (transIndex >= 0)
            png_set_tRNS(s.png, s.info, alphas, 1, nullptr);
    } else if (transIndex >= 0 && !alpha) {
        png_color_16 trans = {0, transColor.rgbRed, transColor.rgbGreen, transColor.rgbBlue,
                              static_cast<png_uint_16>(transIndex)};
        png_set_tRNS(s.png, s.info, nullptr, 0, &trans);
    }

    const size_t pngRow = (static_cast<size_t>(GetWidth()) * static_cast<size_t>(channels * depth) + 7) / 8;
    const size_t bufferSize = pngRow > GetRowBytes() ? pngRow : GetRowBytes();
    s.rows = static_cast<png_bytep>(calloc(1, bufferSize));
    if (!s.rows)
        png_error(s.png, kSaveError);
    png_write_info(s.png, s.info);
    const int passes = png_set_interlace_handling(s.png);
    for (int pass = 0; pass < passes; pass++)
        for (int32_t y = GetHeight() - 1; y >= 0; y--) {
            BuildRow(s.rows, y, channels, swap);
            png_write_row(s.png, s.rows);
        }
    png_write_end(s.png, s.info);
    ReleaseWrite(s);
    return true;
}

// One picture row (y from the bottom) in the written layout.
void CrImagePNG::BuildRow(uint8_t* out, int32_t y, int channels, uint8_t swap) const
{
    const int32_t width = GetWidth();
    const uint8_t* bits = GetBits(static_cast<uint32_t>(y));
    if (channels == 2 || channels == 4) {
        const bool transparent = m_info.transIndex >= 0;
        const CrRgbQuad transColor = GetTransColor();
        for (int32_t x = 0; x < width; x++) {
            const CrRgbQuad c = GetPixelColorUnchecked(x, y, false);
            unsigned a = AlphaGetUnchecked(x, y);
            if (IsIndexed()) {
                if (m_info.alphaPalette)
                    a = a * (c.rgbReserved + 1u) >> 8;
                if (transparent && GetPixelIndexUnchecked(x, y) == m_info.transIndex)
                    a = 0;
            } else if (transparent && c.rgbRed == transColor.rgbRed && c.rgbGreen == transColor.rgbGreen &&
                       c.rgbBlue == transColor.rgbBlue) {
                a = 0;
            }
            if (channels == 2) {
                *out++ = c.rgbBlue;
            } else {
                *out++ = c.rgbRed;
                *out++ = c.rgbGreen;
                *out++ = c.rgbBlue;
            }
            *out++ = static_cast<uint8_t>(a);
        }
        return;
    }
    memcpy(out, bits, GetRowBytes());
    if (channels == 3) {
        for (int32_t x = 0; x < width; x++) {
            const uint8_t t = out[3 * x];
            out[3 * x] = out[3 * x + 2];
            out[3 * x + 2] = t;
        }
    } else if (swap) {
        for (int32_t x = 0; x < width; x++) {
            const uint8_t index = Swapped(GetPixelIndexUnchecked(x, y), swap);
            switch (GetBpp()) {
            case 8: out[x] = index; break;
            case 4:
                out[x >> 1] = (x & 1) ? static_cast<uint8_t>((out[x >> 1] & 0xF0) | index)
                                      : static_cast<uint8_t>((out[x >> 1] & 0x0F) | (index << 4));
                break;
            default: {
                const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
                out[x >> 3] = index ? static_cast<uint8_t>(out[x >> 3] | bit) : static_cast<uint8_t>(out[x >> 3] & ~bit);
                break;
            }
            }
        }
    }
}
