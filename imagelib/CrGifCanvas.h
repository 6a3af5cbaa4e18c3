#pragma once
// The logical screen of a GIF animation: frames are drawn onto it in turn, with their transparency
// and disposal, and each composed picture can be stored as an image of the screen's size.
//
// The screen stays indexed while every frame shares the first frame's colours; a frame with other
// colours turns it into 24-bit colour, so earlier pixels keep theirs.
#include "CrBitmapTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CrDibArena;
class CrImage;
struct CrGifFrameRecord;

struct CrGifPalette {
    CrRgbQuad entries[256];  // the colour table, padded to 256 entries
    uint32_t colors = 0;     // entries that came from the table
};

class CrGifCanvas {
public:
    // background: the index the screen starts with and is restored to; transIndex: the first frame's
    // transparent index (-1 none). With `tiles` every frame is pasted into one 24-bit picture and
    // disposal does not apply. False when the screen cannot be held.
    bool Start(uint32_t width, uint32_t height, const CrGifPalette& first, uint8_t background,
               int32_t transIndex, bool tiles);
    // Applies the disposal of the frame drawn before, then draws the first `count` indices of this
    // frame (in stream order, interlaced or not), clipped to the screen.
    void Draw(const CrGifFrameRecord& frame, const uint8_t* indices, size_t count, const CrGifPalette& palette);
    // Makes `image` the composed picture (it keeps its info block and its frames), its pixels taken
    // from `arena` when there is one.
    bool Store(CrImage& image, CrDibArena* arena = nullptr) const;
    // Pixel bytes of one stored picture.
    size_t PictureBytes() const { return m_pixels.size(); }

private:
    struct Rect {
        int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // screen coordinates from the top, end exclusive
        bool Empty() const { return x0 >= x1 || y0 >= y1; }
    };

    uint8_t* Row(int32_t y) { return m_pixels.data() + size_t(m_height - 1 - y) * m_stride; }
    const uint8_t* Row(int32_t y) const { return m_pixels.data() + size_t(m_height - 1 - y) * m_stride; }
    size_t PixelBytes() const { return m_rgb ? 3 : 1; }
    bool SharesColors(const CrGifPalette& palette) const;
    bool ToRgb();
    void Fill(const Rect& r);
    void Save(const Rect& r);
    void Restore();
    void DrawRow(int32_t y, const uint8_t* src, int32_t left, int32_t width, int32_t trans, const CrGifPalette& palette);

    uint32_t m_width = 0;
    uint32_t m_height = 0;
    uint32_t m_stride = 0;
    bool m_rgb = false;
    bool m_tiles = false;
    uint32_t m_bpp = 8;       // depth of stored indexed pictures
    CrGifPalette m_palette;   // the colours of an indexed screen
    uint8_t m_background = 0;
    int32_t m_transIndex = -1;
    std::vector<uint8_t> m_pixels;  // rows bottom-up and padded to 4 bytes, as in the image

    uint8_t m_lastDisposal = 0;
    Rect m_lastRect;
    std::vector<uint8_t> m_saved;   // the screen under the last frame, for "restore to previous"
    bool m_savedRgb = false;
};
