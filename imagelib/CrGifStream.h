#pragma once
// Reading the block structure of a GIF stream: a buffered reader over CrFile, and one pass over
// the blocks that lists every image with its placement and graphic control.
#include "CrBitmapTypes.h"

#include <cstdint>
#include <vector>

class CrFile;

class CrGifReader {
public:
    explicit CrGifReader(CrFile& file);
    CrGifReader(const CrGifReader&) = delete;
    CrGifReader& operator=(const CrGifReader&) = delete;

    // The next byte, or -1 at the end of the stream.
    int GetByte()
    {
        if (m_pos < m_fill)
            return m_buf[m_pos++];
        return Fill() ? m_buf[m_pos++] : -1;
    }
    // Bytes copied; fewer than n only at the end of the stream.
    uint32_t Read(void* dst, uint32_t n);
    bool Skip(uint32_t n);
    int32_t Tell() const { return m_base + int32_t(m_pos); }
    bool Seek(int32_t position);
    // Data sub-blocks up to and including their terminator, appended to `out` (or passed over when
    // it is null). False when the stream ends first; what was read stays appended.
    bool ReadSubBlocks(std::vector<uint8_t>* out);

private:
    bool Fill();

    CrFile& m_file;
    int32_t m_base;  // stream position of m_buf[0]
    uint32_t m_pos;
    uint32_t m_fill;
    uint8_t m_buf[16384];
};

// One image descriptor and the graphic control that belongs to it.
struct CrGifFrameRecord {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool interlaced = false;
    uint32_t localColors = 0;  // 0: the frame uses the global table
    int32_t dataPos = 0;       // stream position right after the descriptor (local table, then data)
    bool hasControl = false;
    uint8_t controlFlags = 0;  // bit 0 transparency, bits 2-4 disposal
    uint16_t delay = 0;        // 1/100 s
    uint8_t transByte = 0;     // the transparent-index byte as stored, flag or not

    int32_t TransIndex() const { return (controlFlags & 1) ? transByte : -1; }
    uint8_t Disposal() const { return uint8_t((controlFlags >> 2) & 7); }
};

struct CrGifStreamInfo {
    uint32_t screenWidth = 0;
    uint32_t screenHeight = 0;
    uint8_t flags = 0;
    uint8_t background = 0;
    uint32_t globalColors = 0;      // 0: no global table
    CrRgbColor globalTable[256] = {};
    std::vector<CrGifFrameRecord> frames;
    // Plays of the animation: 1 unless a looping block says otherwise, 0 for ever.
    int32_t loops = 1;
    bool hasComment = false;
    char comment[256] = {};
};

// Colour-table entries for a descriptor's or header's flags byte.
inline uint32_t GifTableColors(uint8_t flags) { return 2u << (flags & 7); }

// Header and global colour table. False for a stream that does not start with "GIF8".
bool GifReadHeader(CrGifReader& reader, CrGifStreamInfo& info);

// Every block from the reader's position to the trailer or the end of the stream: images are listed
// (a screen of zero size takes the first image's), extensions are read for their values.
void GifScanBlocks(CrGifReader& reader, CrGifStreamInfo& info);

// Reads a colour table of n entries at the reader's position; false when the stream ends inside it.
bool GifReadColorTable(CrGifReader& reader, CrRgbColor* table, uint32_t n);
