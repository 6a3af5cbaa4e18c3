#include "CrGifEncoder.h"

#include "CrFile.h"
#include "CrImageGIF.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

constexpr uint32_t kMaxCode = 4096;
constexpr uint32_t kTileColumns = 17;
constexpr uint32_t kTileRows = 15;

// Codes packed least significant bit first into data sub-blocks of up to `limit` bytes.
class CodeSink {
public:
    CodeSink(CrFile& file, uint32_t limit, bool& failed) : m_file(file), m_limit(limit), m_failed(failed) {}

    void Put(uint32_t code, uint32_t width)
    {
        m_acc |= uint64_t(code) << m_bits;
        m_bits += width;
        while (m_bits >= 8) {
            Byte(uint8_t(m_acc));
            m_acc >>= 8;
            m_bits -= 8;
        }
    }
    // The last bits as a byte, then the last sub-block.
    void Finish()
    {
        if (m_bits > 0)
            Byte(uint8_t(m_acc));
        m_acc = 0;
        m_bits = 0;
        if (m_count > 0)
            WritePacket();
    }

private:
    void Byte(uint8_t b)
    {
        m_packet[m_count++] = b;
        if (m_count == m_limit)
            WritePacket();
    }
    void WritePacket()
    {
        uint8_t n = uint8_t(m_count);
        if (m_file.Write(&n, 1, 1) != 1 || m_file.Write(m_packet, 1, m_count) != m_count)
            m_failed = true;
        m_count = 0;
    }

    CrFile& m_file;
    uint32_t m_limit;
    bool& m_failed;
    uint8_t m_packet[255];
    uint32_t m_count = 0;
    uint64_t m_acc = 0;
    uint32_t m_bits = 0;
};

// Code-width bookkeeping shared by the LZW and uncompressed streams: the width grows once the next
// free code passes the largest code of the current width, and returns after a clear.
class WidthTracker {
public:
    WidthTracker(CodeSink& sink, uint32_t minCodeSize)
        : m_sink(sink), m_initBits(minCodeSize + 1), m_bits(m_initBits), m_maxCode((1u << m_bits) - 1),
          m_clear(1u << minCodeSize), m_free(m_clear + 2)
    {
    }
    uint32_t Clear() const { return m_clear; }
    uint32_t End() const { return m_clear + 1; }

    void Code(uint32_t code)
    {
        m_sink.Put(code, m_bits);
        if (m_free > m_maxCode || m_clearFlag) {
            if (m_clearFlag) {
                m_bits = m_initBits;
                m_maxCode = (1u << m_bits) - 1;
                m_clearFlag = false;
            } else {
                ++m_bits;
                m_maxCode = m_bits == 12 ? kMaxCode : (1u << m_bits) - 1;
            }
        }
    }
    // Claims the next free code; false (after writing a clear code) when the table is full.
    bool Advance()
    {
        if (m_free > kMaxCode - 1) {
            m_free = m_clear + 2;
            m_clearFlag = true;
            Code(m_clear);
            return false;
        }
        ++m_free;
        return true;
    }
    uint32_t Free() const { return m_free; }

private:
    CodeSink& m_sink;
    uint32_t m_initBits;
    uint32_t m_bits;
    uint32_t m_maxCode;
    uint32_t m_clear;
    uint32_t m_free;
    bool m_clearFlag = false;
};

void CompressLzw(CodeSink& sink, uint32_t minCodeSize, const std::vector<uint8_t>& pixels)
{
    constexpr int32_t kHashSize = 5003;
    constexpr int32_t kHashShift = 4;
    std::vector<int32_t> hashes(kHashSize, -1);
    std::vector<uint16_t> codes(kHashSize, 0);
    WidthTracker w(sink, minCodeSize);
    w.Code(w.Clear());
    uint32_t prefix = pixels[0];
    for (size_t p = 1; p < pixels.size(); ++p) {
        uint32_t c = pixels[p];
        int32_t key = int32_t((c << 12) + prefix);
        int32_t slot = int32_t((c << kHashShift) ^ prefix);
        if (hashes[slot] == key) {
            prefix = codes[slot];
            continue;
        }
        if (hashes[slot] >= 0) {
            int32_t step = slot == 0 ? 1 : kHashSize - slot;
            bool found = false;
            do {
                slot -= step;
                if (slot < 0)
                    slot += kHashSize;
                if (hashes[slot] == key) {
                    found = true;
                    break;
                }
            } while (hashes[slot] > 0);
            if (found) {
                prefix = codes[slot];
                continue;
            }
        }
        w.Code(prefix);
        uint32_t code = w.Free();
        if (w.Advance()) {
            codes[slot] = uint16_t(code);
            hashes[slot] = key;
        } else {
            std::fill(hashes.begin(), hashes.end(), -1);
        }
        prefix = c;
    }
    w.Code(prefix);
    w.Code(w.End());
}

void CompressPlain(CodeSink& sink, uint32_t minCodeSize, const std::vector<uint8_t>& pixels)
{
    WidthTracker w(sink, minCodeSize);
    w.Code(w.Clear());
    for (uint8_t c : pixels) {
        w.Code(c);
        w.Advance();
    }
    w.Code(w.End());
}

// Runs of equal pixels as codes a standard decoder builds for itself: after a clear, the pixel and
// then the codes being defined give runs of 1, 2, 3 ... pixels; later runs of the same pixel reuse them.
class RunLengthStream {
public:
    RunLengthStream(CodeSink& sink, uint32_t minCodeSize)
        : m_sink(sink), m_clear(1u << minCodeSize), m_base(m_clear + 2), m_maxCodes(4093 - m_clear),
          m_plainClear(minCodeSize + 1 > 3 ? m_clear - 2 : 9), m_initBits(minCodeSize + 1), m_bits(m_initBits)
    {
    }

    void Write(const std::vector<uint8_t>& pixels)
    {
        Clear();
        size_t i = 0;
        while (i < pixels.size()) {
            size_t j = i + 1;
            while (j < pixels.size() && pixels[j] == pixels[i])
                ++j;
            Flush(pixels[i], j - i);
            i = j;
        }
        m_sink.Put(m_clear + 1, m_bits);
    }

private:
    void Clear()
    {
        m_sink.Put(m_clear, m_bits);
        m_bits = m_initBits;
        m_count = 0;
        m_bumpAt = m_clear - 1;
        m_knownRun = 0;
    }
    void Emit(uint32_t code)
    {
        m_sink.Put(code, m_bits);
        ++m_count;
        if (m_count == m_bumpAt && m_bits < 12) {
            ++m_bits;
            m_bumpAt += 1u << (m_bits - 1);
        }
        // Without known runs the table is not worth its wider codes.
        if (m_count >= (m_knownRun > 1 ? m_maxCodes : m_plainClear))
            Clear();
    }
    void EmitRun(uint8_t pixel, size_t run) { Emit(run == 1 ? pixel : m_base + uint32_t(run) - 2); }

    // Codes for a series of `run` pixels started right after a clear.
    size_t SeriesCost(size_t run) const
    {
        size_t m = m_maxCodes;
        size_t triangle = m * (m + 1) / 2;
        size_t cost = run / triangle * m;
        size_t r = run % triangle;
        size_t k = size_t(std::sqrt(double(2 * r)));
        while (k * (k + 1) < 2 * r)
            ++k;
        while (k > 0 && (k - 1) * k >= 2 * r)
            --k;
        return cost + k;
    }
    void Series(uint8_t pixel, size_t run)
    {
        size_t piece = 1;
        while (run > 0) {
            if (m_count == 0)
                piece = 1; // a clear came in between: the table starts again
            size_t n = std::min(piece, run);
            m_knownPixel = pixel;
            m_knownRun = std::max(m_knownRun, n);
            EmitRun(pixel, n);
            run -= n;
            ++piece;
        }
    }
    void Flush(uint8_t pixel, size_t run)
    {
        if (run == 1) {
            Emit(pixel);
            return;
        }
        if (m_count == 0) {
            Series(pixel, run);
            return;
        }
        if (m_knownRun > 1 && m_knownPixel == pixel) {
            size_t whole = run / m_knownRun, rest = run % m_knownRun;
            size_t cost = whole + (rest ? 1 : 0);
            if (m_count + cost < m_maxCodes && cost <= 1 + SeriesCost(run)) {
                for (size_t i = 0; i < whole; ++i)
                    EmitRun(pixel, m_knownRun);
                if (rest)
                    EmitRun(pixel, rest);
                return;
            }
            Clear();
            Series(pixel, run);
            return;
        }
        if (1 + SeriesCost(run) < run) {
            Clear();
            Series(pixel, run);
            return;
        }
        for (size_t i = 0; i < run; ++i)
            Emit(pixel);
    }

    CodeSink& m_sink;
    const uint32_t m_clear;
    const uint32_t m_base;       // the first code a decoder defines after a clear
    const uint32_t m_maxCodes;   // codes between clears while runs are known
    const uint32_t m_plainClear; // codes between clears otherwise
    const uint32_t m_initBits;
    uint32_t m_bits;
    uint32_t m_count = 0;        // codes since the last clear
    uint32_t m_bumpAt = 0;       // code count at which the decoder widens its codes
    size_t m_knownRun = 0;       // longest run of m_knownPixel the decoder has a code for
    uint8_t m_knownPixel = 0;
};

// Palette indices from the top row of the picture down, left to right.
std::vector<uint8_t> TopDownIndices(const CrImage& image)
{
    const int32_t w = image.GetWidth(), h = image.GetHeight();
    const uint32_t bpp = image.GetBpp();
    std::vector<uint8_t> pixels(size_t(w) * size_t(h));
    uint8_t* out = pixels.data();
    for (int32_t y = h - 1; y >= 0; --y) {
        const uint8_t* row = image.GetBits(uint32_t(y));
        if (bpp == 8) {
            std::memcpy(out, row, size_t(w));
            out += w;
            continue;
        }
        for (int32_t x = 0; x < w; ++x) {
            if (bpp == 4)
                *out++ = uint8_t((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15);
            else
                *out++ = uint8_t((row[x >> 3] >> (7 - (x & 7))) & 1);
        }
    }
    return pixels;
}

bool SamePalette(const CrImage& a, const CrImage& b)
{
    return a.GetNumColors() == b.GetNumColors() &&
           std::memcmp(a.GetPalette(), b.GetPalette(), a.GetPaletteSize()) == 0;
}

} // namespace

CrGifEncoder::CrGifEncoder(CrImageGIF& gif, CrFile* file) : m_gif(gif), m_file(file) {}

bool CrGifEncoder::Fail(const char* text)
{
    m_gif.SetLastError(text);
    return false;
}

bool CrGifEncoder::Finish()
{
    if (!m_file->Flush() || m_file->Error())
        m_failed = true;
    return m_failed ? Fail("Write Error in GIF file") : true;
}

void CrGifEncoder::Put(const void* data, uint32_t size)
{
    if (m_file->Write(data, 1, size) != size)
        m_failed = true;
}

void CrGifEncoder::PutWord(uint32_t v)
{
    uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
    Put(b, 2);
}

void CrGifEncoder::PutPalette(const CrImage& image)
{
    const CrRgbQuad* pal = image.GetPalette();
    for (uint32_t i = 0; i < image.GetNumColors(); ++i) {
        uint8_t rgb[3] = {pal[i].rgbRed, pal[i].rgbGreen, pal[i].rgbBlue};
        Put(rgb, 3);
    }
}

void CrGifEncoder::WriteHeader(const CrImage& image)
{
    Put("GIF89a", 6);
    PutWord(uint32_t(image.GetWidth()));
    PutWord(uint32_t(image.GetHeight()));
    const uint32_t bpp = image.GetBpp();
    const bool palette = image.GetPalette() != nullptr;
    PutByte(palette ? uint8_t(0x80 | (((bpp - 1) & 7) << 5) | (bpp - 1)) : uint8_t(0x11));
    PutByte(0);
    PutByte(0);
    if (palette)
        PutPalette(image);
}

void CrGifEncoder::WriteLoops()
{
    // Plays once without the block; the block counts repeats after the first play, 0 for ever.
    int32_t loops = m_gif.GetLoops();
    if (loops == 1)
        return;
    Put("\x21\xFF\x0BNETSCAPE2.0\x03\x01", 16);
    PutWord(uint32_t(std::clamp(loops - 1, 0, 65535)));
    PutByte(0);
}

void CrGifEncoder::WriteControl(const CrImage& image, uint8_t disposal)
{
    int32_t trans = image.GetTransIndex();
    Put("\x21\xF9\x04", 3);
    PutByte(uint8_t((trans != -1 ? 1 : 0) | ((disposal & 7) << 2)));
    PutWord(image.GetFrameDelay());
    PutByte(uint8_t(trans));
    PutByte(0);
}

void CrGifEncoder::WriteComment()
{
    size_t n = std::strlen(m_gif.m_comment);
    if (n == 0)
        return;
    n = std::min<size_t>(n, 255);
    Put("\x21\xFE", 2);
    PutByte(uint8_t(n));
    Put(m_gif.m_comment, uint32_t(n));
    PutByte(0);
}

void CrGifEncoder::WriteImage(const CrImage& image, bool localPalette)
{
    const uint32_t bpp = image.GetBpp();
    int32_t x = 0, y = 0;
    image.GetOffset(&x, &y);
    PutByte(0x2C);
    PutWord(uint32_t(x));
    PutWord(uint32_t(y));
    PutWord(uint32_t(image.GetWidth()));
    PutWord(uint32_t(image.GetHeight()));
    PutByte(localPalette ? uint8_t(0x80 | (bpp - 1)) : 0);
    if (localPalette)
        PutPalette(image);
    const uint32_t minCodeSize = std::max<uint32_t>(bpp, 2);
    PutByte(uint8_t(minCodeSize));

    std::vector<uint8_t> pixels = TopDownIndices(image);
    uint32_t kind = m_gif.GetCodecOption(CRIMAGE_FORMAT_GIF);
    CodeSink sink(*m_file, kind == 2 ? 255 : 254, m_failed);
    if (kind == 1)
        CompressPlain(sink, minCodeSize, pixels);
    else if (kind == 2)
        RunLengthStream(sink, minCodeSize).Write(pixels);
    else
        CompressLzw(sink, minCodeSize, pixels);
    sink.Finish();
    PutByte(0);
    if (!m_file->Flush() || m_file->Error())
        m_failed = true;
}

bool CrGifEncoder::EncodeImage()
{
    if (m_gif.GetWidth() > 65535 || m_gif.GetHeight() > 65535)
        return Fail("CrImageGIF::Encode : a GIF image is at most 65535 pixels wide and high");
    if (m_gif.GetBpp() > 8)
        return EncodeTiles();
    if (m_gif.GetNumFrames() > 1 && m_gif.m_ppFrames)
        return EncodeAnimation(m_gif.m_ppFrames, m_gif.GetNumFrames(), false, false);
    WriteHeader(m_gif);
    WriteControl(m_gif, m_gif.GetDisposalMethod());
    WriteComment();
    WriteImage(m_gif, false);
    PutByte(0x3B);
    return Finish();
}

bool CrGifEncoder::EncodeAnimation(CrImage** images, int32_t count, bool localPalette, bool localDisposal)
{
    if (!m_file)
        return Fail("invalid file pointer");
    if (!images || count <= 0 || !images[0])
        return Fail("multipage GIF, no images!");
    for (int32_t i = 0; i < count; ++i) {
        const CrImage* image = images[i];
        if (!image)
            return Fail("Bad image pointer");
        if (!image->IsValid())
            return Fail("Empty image");
        if (!image->GetPalette())
            return Fail("CrImageGIF::Encode cannot create animated GIFs with a true color frame. Use DecreaseBpp before");
        if (image->GetWidth() > 65535 || image->GetHeight() > 65535)
            return Fail("CrImageGIF::Encode : a GIF image is at most 65535 pixels wide and high");
    }
    const CrImage& first = *images[0];
    WriteHeader(first);
    WriteLoops();
    for (int32_t i = 0; i < count; ++i) {
        const CrImage& image = *images[i];
        WriteControl(image, localDisposal ? image.GetDisposalMethod() : m_gif.GetDisposalMethod());
        if (i == 0)
            WriteComment();
        // A frame whose colours differ from the screen's carries its own table either way.
        WriteImage(image, i > 0 && (localPalette || !SamePalette(image, first)));
    }
    PutByte(0x3B);
    return Finish();
}

bool CrGifEncoder::EncodeTiles()
{
    const CrImage& source = m_gif;
    const int32_t w = source.GetWidth(), h = source.GetHeight();
    const bool transparent = source.IsTransparent();
    WriteHeader(source);
    WriteComment();
    for (int32_t ty = 0; ty < h; ty += int32_t(kTileRows)) {
        for (int32_t tx = 0; tx < w; tx += int32_t(kTileColumns)) {
            const int32_t tw = std::min<int32_t>(kTileColumns, w - tx);
            const int32_t th = std::min<int32_t>(kTileRows, h - ty);
            CrImage tile(CRIMAGE_FORMAT_GIF);
            tile.CopyInfo(source);
            if (!tile.Create(tw, th, 8, CRIMAGE_FORMAT_GIF))
                return Fail(tile.GetLastError());
            if (transparent)
                tile.SetPaletteColor(0, source.GetTransColor());
            for (int32_t r = 0; r < th; ++r)
                for (int32_t c = 0; c < tw; ++c)
                    tile.SetPaletteColor(uint32_t(r) * kTileColumns + uint32_t(c) + 1,
                                         source.GetPixelColor(tx + c, h - 1 - (ty + r), false));
            for (int32_t r = 0; r < th; ++r)
                for (int32_t c = 0; c < tw; ++c)
                    tile.SetPixelIndex(c, th - 1 - r, tile.GetNearestIndex(source.GetPixelColor(tx + c, h - 1 - (ty + r), false)));
            tile.SetTransIndex(transparent ? 0 : -1);
            tile.SetOffset(tx, ty);
            WriteControl(tile, m_gif.GetDisposalMethod());
            WriteImage(tile, true);
        }
    }
    PutByte(0x3B);
    return Finish();
}
