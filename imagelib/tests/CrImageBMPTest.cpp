// The BMP codec: bitmaps of every header kind, depth and compression built byte by byte, the
// header fields a file may lie about, and round trips of what the encoder writes.
#include "CodecTestSupport.h"
#include "CrImageBMP.h"

using namespace codectest;

namespace {

struct BmpSpec {
    uint32_t headerSize = 40;
    int32_t width = 4;
    int32_t height = 2;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t imageSize = 0;
    int32_t ppm = 3780;
    uint32_t colorsUsed = 0;
    std::vector<uint32_t> masks;  // after a 40-byte header, inside a larger one
    Bytes palette;                // raw entries
    Bytes pixels;
    bool fileHeader = true;
    uint32_t gap = 0;             // bytes between the palette and the pixels
};

Bytes BuildBmp(const BmpSpec& s)
{
    LE info;
    if (s.headerSize == 12) {
        info.U32(12).U16(uint32_t(s.width)).U16(uint32_t(s.height)).U16(1).U16(s.bits);
    } else {
        info.U32(s.headerSize).U32(uint32_t(s.width)).U32(uint32_t(s.height)).U16(1).U16(s.bits).U32(s.compression);
        info.U32(s.imageSize).U32(uint32_t(s.ppm)).U32(uint32_t(s.ppm)).U32(s.colorsUsed).U32(0);
        if (s.headerSize > 40) {
            for (uint32_t m : s.masks)
                info.U32(m);
            info.Zeros(s.headerSize - 40 - 4 * s.masks.size());
        } else {
            for (uint32_t m : s.masks)
                info.U32(m);
        }
    }
    info.Raw(s.palette).Zeros(s.gap);
    LE file;
    if (s.fileHeader)
        file.U16(0x4D42).U32(uint32_t(14 + info.b.size() + s.pixels.size())).U32(0).U32(uint32_t(14 + info.b.size()));
    return file.Raw(info.b).Raw(s.pixels).b;
}

Bytes Quads(std::initializer_list<CrRgbQuad> colors)
{
    Bytes b;
    for (const CrRgbQuad& c : colors)
        b.insert(b.end(), {c.rgbBlue, c.rgbGreen, c.rgbRed, 0});
    return b;
}

CrImage Decoded(const Bytes& bytes)
{
    CrImage image;
    EXPECT_TRUE(DecodeBytes(image, bytes, CRIMAGE_FORMAT_BMP)) << image.GetLastError();
    return image;
}

const CrRgbQuad kRed = Rgb(255, 0, 0), kGreen = Rgb(0, 255, 0), kBlue = Rgb(0, 0, 255), kWhite = Rgb(255, 255, 255);

} // namespace

TEST(BmpCodec, RoundTripsOfEveryDepth)
{
    for (uint32_t bpp : {1u, 4u, 8u, 24u})
        for (int32_t width : {1, 7, 33}) {
            CrImage image = bpp == 24 ? Rgb24(width, 5) : Indexed(width, 5, bpp);
            image.SetXDPI(300);
            CrImage back = Decoded(EncodeBytes(image, CRIMAGE_FORMAT_BMP));
            EXPECT_EQ(back.GetBpp(), bpp);
            EXPECT_EQ(back.GetXDPI(), 300);
            EXPECT_FALSE(back.AlphaIsValid());
            ExpectSamePicture(image, back, false, std::to_string(bpp) + " bits, width " + std::to_string(width));
        }
    // True colour with alpha goes out as 32 bits and comes back with its alpha.
    CrImage image = Rgb24(9, 4);
    AddAlphaPattern(image);
    image.AlphaSet(0, 0, 0);
    Bytes bytes = EncodeBytes(image, CRIMAGE_FORMAT_BMP);
    EXPECT_EQ(bytes[28], 32);
    CrImage back = Decoded(bytes);
    ASSERT_TRUE(back.AlphaIsValid());
    ExpectSamePicture(image, back, true, "32 bits");
}

TEST(BmpCodec, HeaderKinds)
{
    // 2 × 2 pixels at 8 bits: rows bottom-up, padded to 4 bytes.
    const Bytes pixels = {0, 1, 0, 0, 2, 3, 0, 0};
    const Bytes palette = Quads({kRed, kGreen, kBlue, kWhite});
    auto check = [](const CrImage& image, const char* what) {
        EXPECT_EQ(image.GetPixelColor(0, 0, false), kRed) << what;
        EXPECT_EQ(image.GetPixelColor(1, 0, false), kGreen) << what;
        EXPECT_EQ(image.GetPixelColor(0, 1, false), kBlue) << what;
        EXPECT_EQ(image.GetPixelColor(1, 1, false), kWhite) << what;
    };
    BmpSpec s;
    s.width = 2;
    s.bits = 8;
    s.colorsUsed = 4;
    s.palette = palette;
    s.pixels = pixels;
    check(Decoded(BuildBmp(s)), "info header");
    for (uint32_t size : {52u, 56u, 64u, 108u, 124u}) {
        s.headerSize = size;
        check(Decoded(BuildBmp(s)), "larger header");
    }
    s.headerSize = 40;
    s.fileHeader = false;
    check(Decoded(BuildBmp(s)), "bare bitmap");

    // OS/2 1.x: 3-byte palette entries, all 2^bits of them.
    BmpSpec core;
    core.headerSize = 12;
    core.width = 2;
    core.bits = 1;
    core.palette = {0, 0, 255, 255, 0, 0}; // red, blue
    core.pixels = {0x40, 0, 0, 0, 0x80, 0, 0, 0};
    CrImage os2 = Decoded(BuildBmp(core));
    EXPECT_EQ(os2.GetPixelColor(0, 0, false), kRed);
    EXPECT_EQ(os2.GetPixelColor(1, 0, false), kBlue);
    EXPECT_EQ(os2.GetPixelColor(0, 1, false), kBlue);
    EXPECT_EQ(os2.GetPixelColor(1, 1, false), kRed);
}

TEST(BmpCodec, ColoursUsedIsClampedToTheBitCount)
{
    // A bare bitmap: the pixels follow the palette, so reading 1000 entries would misplace them.
    BmpSpec s;
    s.fileHeader = false;
    s.width = 2;
    s.bits = 1;
    s.colorsUsed = 1000;
    s.palette = Quads({kRed, kBlue});
    s.pixels = {0x40, 0, 0, 0, 0x80, 0, 0, 0};
    CrImage image = Decoded(BuildBmp(s));
    EXPECT_EQ(image.GetPixelColor(1, 0, false), kBlue);
    EXPECT_EQ(image.GetPixelColor(0, 1, false), kBlue);
    EXPECT_EQ(image.GetPixelColor(0, 0, false), kRed);
}

TEST(BmpCodec, PixelDataIsReadToTheBitmapsOwnSize)
{
    for (uint32_t claimed : {1u, 0xFFFFFFF0u}) {
        BmpSpec s;
        s.width = 3;
        s.height = 2;
        s.imageSize = claimed;
        s.pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 0, 0, 99, 99, 99, 99};
        CrImage image = Decoded(BuildBmp(s));
        EXPECT_EQ(image.GetPixelColor(2, 0, false), Rgb(9, 8, 7)) << claimed;
        EXPECT_EQ(image.GetPixelColor(2, 1, false), Rgb(19, 18, 17)) << claimed;
    }
}

TEST(BmpCodec, RefusedHeaders)
{
    struct Case {
        const char* what;
        int32_t width, height;
        uint16_t bits;
        uint32_t compression;
        uint32_t headerSize;
        const char* text;
    };
    const Case cases[] = {
        {"negative width", -4, 2, 24, 0, 40, "Error reading BMP info"},
        {"zero width", 0, 2, 24, 0, 40, "Error reading BMP info"},
        {"most negative height", 4, INT32_MIN, 24, 0, 40, "Error reading BMP info"},
        {"huge picture", 100000, 100000, 24, 0, 40, "CRIMAGE_MAX_MEMORY exceeded"},
        {"huge top-down picture", 100000, -100000, 8, 0, 40, "CRIMAGE_MAX_MEMORY exceeded"},
        {"2 bits", 4, 2, 2, 0, 40, "Error reading BMP info"},
        {"small header", 4, 2, 24, 0, 20, "Error reading BMP info"},
        {"compressed 24 bits", 4, 2, 24, 1, 40, "unknown compression"},
        {"RLE4 on 8 bits", 4, 2, 8, 2, 40, "compression type not supported"},
        {"bit fields on 8 bits", 4, 2, 8, 3, 40, "compression type not supported"},
        {"JPEG inside", 4, 2, 32, 4, 40, "unknown compression"},
        {"OS/2 Huffman", 4, 2, 1, 3, 64, "compression type not supported"},
    };
    for (const Case& c : cases) {
        BmpSpec s;
        s.width = c.width;
        s.height = c.height;
        s.bits = c.bits;
        s.compression = c.compression;
        s.headerSize = c.headerSize;
        s.pixels = Bytes(64, 1);
        CrImage image;
        EXPECT_FALSE(DecodeBytes(image, BuildBmp(s), CRIMAGE_FORMAT_BMP)) << c.what;
        EXPECT_STREQ(image.GetLastError(), c.text) << c.what;
    }
    // A bits offset past any file leaves the pixels as they were made.
    BmpSpec far;
    far.pixels = Bytes(24, 7);
    Bytes bytes = BuildBmp(far);
    bytes[10] = bytes[11] = bytes[12] = 0xFF;
    bytes[13] = 0xFF;
    CrImage beyond;
    ASSERT_TRUE(DecodeBytes(beyond, bytes, CRIMAGE_FORMAT_BMP));
    EXPECT_EQ(beyond.GetPixelColor(0, 0, false), Rgb(0, 0, 0));

    CrImage tiny;
    EXPECT_FALSE(DecodeBytes(tiny, Bytes{'B', 'M', 0}, CRIMAGE_FORMAT_BMP));
    EXPECT_STREQ(tiny.GetLastError(), "Not a BMP");
}

TEST(BmpCodec, TopDownRowsAreFlipped)
{
    BmpSpec s;
    s.width = 1;
    s.height = -3;
    s.pixels = {255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0}; // blue, green, red from the top
    CrImage image = Decoded(BuildBmp(s));
    EXPECT_EQ(image.GetHeight(), 3);
    EXPECT_EQ(image.GetPixelColor(0, 2, false), kBlue);
    EXPECT_EQ(image.GetPixelColor(0, 1, false), kGreen);
    EXPECT_EQ(image.GetPixelColor(0, 0, false), kRed);

    s.bits = 32;
    s.pixels = {255, 0, 0, 10, 0, 255, 0, 20, 0, 0, 255, 30};
    CrImage alpha = Decoded(BuildBmp(s));
    EXPECT_EQ(alpha.GetPixelColor(0, 2, true), Rgb(0, 0, 255, 10));
    EXPECT_EQ(alpha.GetPixelColor(0, 0, true), Rgb(255, 0, 0, 30));
}

TEST(BmpCodec, BitFields)
{
    // One 5-6-5 pixel of each primary and white.
    const Bytes rgb565 = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0xFF, 0xFF};
    auto check565 = [](const CrImage& image, const char* what) {
        EXPECT_EQ(image.GetBpp(), 24u) << what;
        EXPECT_EQ(image.GetPixelColor(0, 0, false), Rgb(255, 0, 0)) << what;
        EXPECT_EQ(image.GetPixelColor(1, 0, false), Rgb(0, 255, 0)) << what;
        EXPECT_EQ(image.GetPixelColor(2, 0, false), Rgb(0, 0, 255)) << what;
        EXPECT_EQ(image.GetPixelColor(3, 0, false), Rgb(255, 255, 255)) << what;
    };
    BmpSpec s;
    s.width = 4;
    s.height = 1;
    s.bits = 16;
    s.compression = 3;
    s.masks = {0xF800, 0x07E0, 0x001F};
    s.pixels = rgb565;
    check565(Decoded(BuildBmp(s)), "masks after the header");
    // Version 4 and 5 headers carry their masks inside.
    for (uint32_t size : {108u, 124u}) {
        s.headerSize = size;
        check565(Decoded(BuildBmp(s)), "masks in the header");
    }

    BmpSpec plain;
    plain.width = 2;
    plain.height = 1;
    plain.bits = 16;
    plain.pixels = {0x00, 0x7C, 0x1F, 0x00}; // 5-5-5 red, blue
    CrImage image = Decoded(BuildBmp(plain));
    EXPECT_EQ(image.GetPixelColor(0, 0, false), Rgb(255, 0, 0));
    EXPECT_EQ(image.GetPixelColor(1, 0, false), Rgb(0, 0, 255));

    BmpSpec wide;
    wide.width = 2;
    wide.height = 1;
    wide.bits = 32;
    wide.compression = 3;
    wide.headerSize = 124;
    wide.masks = {0xFF, 0xFF00, 0xFF0000}; // red in the lowest byte
    wide.pixels = {10, 20, 30, 0, 40, 50, 60, 0};
    CrImage swapped = Decoded(BuildBmp(wide));
    EXPECT_EQ(swapped.GetPixelColor(0, 0, false), Rgb(10, 20, 30));
    EXPECT_FALSE(swapped.AlphaIsValid());
}

TEST(BmpCodec, ThirtyTwoBitsWithoutAlphaAreOpaque)
{
    BmpSpec s;
    s.width = 2;
    s.height = 1;
    s.bits = 32;
    s.pixels = {1, 2, 3, 0, 4, 5, 6, 0};
    CrImage image = Decoded(BuildBmp(s));
    ASSERT_TRUE(image.AlphaIsValid());
    EXPECT_EQ(image.GetPixelColor(0, 0, true), Rgb(3, 2, 1, 255));
    EXPECT_EQ(image.GetPixelColor(1, 0, true), Rgb(6, 5, 4, 255));
}

TEST(BmpCodec, RunLengthEncoding)
{
    // RLE8 on 6 × 3: a run, a literal, end of line, a move over skipped pixels, end of bitmap.
    BmpSpec s;
    s.width = 6;
    s.height = 3;
    s.bits = 8;
    s.compression = 1;
    s.colorsUsed = 4;
    s.palette = Quads({kWhite, kRed, kGreen, kBlue});
    s.pixels = {3, 1, 0, 3, 2, 3, 2, 0, 0, 0, 0, 2, 2, 1, 2, 3, 0, 1};
    CrImage image = Decoded(BuildBmp(s));
    const uint8_t expected[3][6] = {{1, 1, 1, 2, 3, 2}, {0, 0, 0, 0, 0, 0}, {0, 0, 3, 3, 0, 0}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(image.GetPixelIndex(x, y), expected[y][x]) << x << "," << y;

    // RLE4: a run of alternating nibbles, a literal of 3 nibbles (padded), runs past the row end.
    BmpSpec f = s;
    f.bits = 4;
    f.compression = 2;
    f.pixels = {4, 0x12, 0, 3, 0x31, 0x20, 0, 0, 20, 0x33, 0, 0, 9, 0x21, 0, 1};
    CrImage four = Decoded(BuildBmp(f));
    const uint8_t expected4[3][6] = {{1, 2, 1, 2, 3, 1}, {3, 3, 3, 3, 3, 3}, {2, 1, 2, 1, 2, 1}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(four.GetPixelIndex(x, y), expected4[y][x]) << x << "," << y;

    // Moves and runs that leave the bitmap write nothing outside it.
    f.pixels = {0, 2, 200, 0, 255, 3, 0, 0, 0, 2, 5, 1, 200, 0x11, 0, 1};
    CrImage outside = Decoded(BuildBmp(f));
    EXPECT_EQ(outside.GetPixelIndex(5, 2), 1);
}

TEST(BmpCodec, Resolution)
{
    BmpSpec s;
    s.ppm = 11811;
    s.pixels = Bytes(24, 0);
    CrImage image = Decoded(BuildBmp(s));
    EXPECT_EQ(image.GetXDPI(), 300);
    s.ppm = 0;
    EXPECT_EQ(Decoded(BuildBmp(s)).GetXDPI(), 96);
}

TEST(BmpCodec, SizeOnlyCancelAndWriteFailures)
{
    CrImage image = Indexed(12, 7, 8);
    Bytes bytes = EncodeBytes(image, CRIMAGE_FORMAT_BMP);
    ExpectSizeOnly(bytes, CRIMAGE_FORMAT_BMP, 12, 7);

    CrImage cancelled;
    cancelled.SetEscape(1);
    EXPECT_FALSE(DecodeBytes(cancelled, bytes, CRIMAGE_FORMAT_BMP));
    EXPECT_STREQ(cancelled.GetLastError(), "Cancelled");

    for (uint32_t limit : {0u, 20u, 100u, 1000u}) {
        ShortFile file(limit);
        EXPECT_FALSE(image.Encode(&file, CRIMAGE_FORMAT_BMP)) << limit;
        EXPECT_STREQ(image.GetLastError(), "Write Error in BMP file");
    }
}
