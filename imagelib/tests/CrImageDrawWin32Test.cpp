// Drawing into a real device context: a memory DC over a DIB section, read back pixel by pixel.
#include "CodecTestSupport.h"

#include <windows.h>

using namespace codectest;

namespace {

// A 32-bit top-down surface selected into a memory device context.
class Surface {
public:
    Surface(int32_t width, int32_t height, COLORREF fill) : m_width(width), m_height(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        Fill(fill);
    }
    ~Surface()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    HDC dc() const { return m_dc; }
    void Fill(COLORREF color)
    {
        GdiFlush();
        for (int32_t i = 0; i < m_width * m_height; ++i)
            m_bits[i] = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    }
    CrRgbQuad Get(int32_t x, int32_t y) const
    {
        GdiFlush();
        const uint32_t p = m_bits[y * m_width + x];
        return Rgb(uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p));
    }

private:
    int32_t m_width, m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    uint32_t* m_bits = nullptr;
};

const COLORREF kBackRef = RGB(10, 20, 30);
const CrRgbQuad kBack = Rgb(10, 20, 30);

// The picture's colour at screen (X, Y) for an image drawn at (x, y), scaled by k, maybe flipped.
CrRgbQuad Expected(const CrImage& image, int32_t x, int32_t y, int32_t k, int32_t X, int32_t Y, bool flip)
{
    const int32_t sy = (Y - y) / k;
    return image.GetPixelColor((X - x) / k, flip ? sy : image.GetHeight() - 1 - sy, false);
}

void ExpectPicture(const Surface& s, const CrImage& image, int32_t x, int32_t y, int32_t k, bool flip, int32_t w,
                   int32_t h, const std::string& what)
{
    for (int32_t Y = 0; Y < h; ++Y)
        for (int32_t X = 0; X < w; ++X) {
            const bool inside = X >= x && X < x + image.GetWidth() * k && Y >= y && Y < y + image.GetHeight() * k;
            ASSERT_EQ(s.Get(X, Y), inside ? Expected(image, x, y, k, X, Y, flip) : kBack) << what << " at " << X << "," << Y;
        }
}

} // namespace

TEST(DrawWin32, OpaqueAtItsOwnSizeScaledAndFlipped)
{
    for (uint32_t bpp : {8u, 24u})
        for (int32_t k : {1, 2})
            for (bool flip : {false, true}) {
                CrImage image = bpp == 24 ? Rgb24(7, 5) : Indexed(7, 5, 8);
                Surface s(24, 16, kBackRef);
                ASSERT_TRUE(image.Draw(s.dc(), 3, 2, 7 * k, 5 * k, nullptr, false, flip));
                ExpectPicture(s, image, 3, 2, k, flip, 24, 16,
                              std::to_string(bpp) + " bits, scale " + std::to_string(k) + (flip ? ", flipped" : ""));
            }
}

TEST(DrawWin32, TransparentAndAlphaPixelsBlendOverTheBackground)
{
    for (bool flip : {false, true}) {
        CrImage image = Indexed(6, 4, 4);
        image.SetTransIndex(2);
        Surface s(8, 6, kBackRef);
        ASSERT_TRUE(image.Draw(s.dc(), 1, 1, -1, -1, nullptr, false, flip));
        for (int32_t Y = 0; Y < 6; ++Y)
            for (int32_t X = 0; X < 8; ++X) {
                const bool inside = X >= 1 && X < 7 && Y >= 1 && Y < 5;
                const int32_t row = flip ? Y - 1 : 4 - Y;
                const bool clear = !inside || image.GetPixelIndex(X - 1, row) == 2;
                ASSERT_EQ(s.Get(X, Y), clear ? kBack : image.GetPixelColor(X - 1, row, false)) << X << "," << Y;
            }
    }

    CrImage alpha(2, 1, 24);
    alpha.SetPixelColor(0, 0, Rgb(200, 100, 0));
    alpha.SetPixelColor(1, 0, Rgb(200, 100, 0));
    alpha.AlphaCreate();
    alpha.AlphaSet(0, 0, 128);
    alpha.AlphaSet(1, 0, 0);
    Surface s(2, 1, RGB(0, 0, 200));
    ASSERT_TRUE(alpha.Draw(s.dc(), 0, 0));
    EXPECT_EQ(s.Get(0, 0), Rgb(100, 50, 99));
    EXPECT_EQ(s.Get(1, 0), Rgb(0, 0, 200));
}

TEST(DrawWin32, ClipRectangles)
{
    CrImage image = Rgb24(8, 8);
    for (bool blended : {false, true}) {
        if (blended)
            image.AlphaCreate();
        Surface s(12, 12, kBackRef);
        RECT clip = {4, 4, 7, 9};
        ASSERT_TRUE(image.Draw(s.dc(), 2, 2, 8, 8, &clip));
        for (int32_t Y = 0; Y < 12; ++Y)
            for (int32_t X = 0; X < 12; ++X) {
                const bool shown = X >= 4 && X < 7 && Y >= 4 && Y < 9;
                ASSERT_EQ(s.Get(X, Y), shown ? Expected(image, 2, 2, 1, X, Y, false) : kBack) << X << "," << Y;
            }
        // The clip rectangle does not outlive the call.
        ASSERT_TRUE(image.Draw(s.dc(), 2, 2));
        ExpectPicture(s, image, 2, 2, 1, false, 12, 12, "after a clipped draw");

        // A destination wholly outside the clip box paints nothing.
        Surface t(12, 12, kBackRef);
        RECT away = {0, 0, 2, 2};
        EXPECT_TRUE(image.Draw(t.dc(), 5, 5, 16, 16, &away));
        for (int32_t Y = 0; Y < 12; ++Y)
            for (int32_t X = 0; X < 12; ++X)
                ASSERT_EQ(t.Get(X, Y), kBack);
    }
}

TEST(DrawWin32, NothingToDraw)
{
    Surface s(4, 4, kBackRef);
    CrImage empty;
    EXPECT_FALSE(empty.Draw(s.dc(), 0, 0));
    CrImage image = Rgb24(2, 2);
    EXPECT_FALSE(image.Draw(nullptr, 0, 0));
    EXPECT_FALSE(image.Draw(s.dc(), 0, 0, 0, 2));
    EXPECT_FALSE(image.Draw(s.dc(), 0, 0, 2, 0));
    TestImage disabled;
    disabled.Create(2, 2, 24);
    disabled.Info().enabled = false;
    EXPECT_FALSE(disabled.Draw(s.dc(), 0, 0));
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 4; ++x)
            ASSERT_EQ(s.Get(x, y), kBack);
    RECT rect = {1, 1, 3, 3};
    EXPECT_TRUE(image.Draw(s.dc(), rect));
    ExpectPicture(s, image, 1, 1, 1, false, 4, 4, "rectangle form");
}

TEST(DrawWin32, NoCopyWithoutAWorkBitmap)
{
    // Logical units ten thousand times smaller than pixels: the paint area is far too large for a
    // work bitmap, so nothing may be copied to the device.
    Surface s(16, 16, kBackRef);
    SetMapMode(s.dc(), MM_ANISOTROPIC);
    SetWindowExtEx(s.dc(), 160000, 160000, nullptr);
    SetViewportExtEx(s.dc(), 16, 16, nullptr);
    CrImage image = Rgb24(4, 4);
    EXPECT_FALSE(image.Draw(s.dc(), 0, 0, 160000, 160000));
    SetMapMode(s.dc(), MM_TEXT);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x)
            ASSERT_EQ(s.Get(x, y), kBack);
}
