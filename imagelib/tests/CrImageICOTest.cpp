// The ICO codec: icons the encoder writes, icons built byte by byte with their masks, PNG entries,
// several images in one file, and the directory's limits.
#include "CodecTestSupport.h"
#include "CrImageICO.h"

using namespace codectest;

namespace {

struct Requester : CrImage {
    void Request(int32_t frame) { m_info.requestedFrame = frame; }
};

// One icon image as stored: bitmap header with doubled height, palette, colour bits, mask.
Bytes IconBitmap(int32_t w, int32_t h, uint16_t bits, const Bytes& palette, const Bytes& colour, const Bytes& mask)
{
    LE b;
    b.U32(40).U32(uint32_t(w)).U32(uint32_t(h * 2)).U16(1).U16(bits).U32(0).U32(uint32_t(colour.size()));
    b.U32(0).U32(0).U32(uint32_t(palette.size() / 4)).U32(0);
    return b.Raw(palette).Raw(colour).Raw(mask).b;
}

struct IconEntry {
    uint8_t width, height;
    Bytes data;
};

Bytes BuildIco(const std::vector<IconEntry>& entries, uint16_t type = 1)
{
    LE b;
    b.U16(0).U16(type).U16(uint32_t(entries.size()));
    uint32_t offset = uint32_t(6 + 16 * entries.size());
    for (const IconEntry& e : entries) {
        b.U8(e.width).U8(e.height).U8(0).U8(0).U16(1).U16(4).U32(uint32_t(e.data.size())).U32(offset);
        offset += uint32_t(e.data.size());
    }
    for (const IconEntry& e : entries)
        b.Raw(e.data);
    return b.b;
}

// A 4 × 2 picture at 4 bits: rows bottom-up, each padded to 4 bytes.
const Bytes kPalette16 = [] {
    Bytes p;
    for (int i = 0; i < 16; ++i)
        p.insert(p.end(), {uint8_t(i * 10), uint8_t(i * 5), uint8_t(200 - i * 3), 0});
    return p;
}();
const Bytes kColour4x2 = {0x12, 0x34, 0, 0, 0x56, 0x12, 0, 0}; // row 0: 1 2 3 4, row 1: 5 6 1 2

Bytes MaskRows(uint8_t row0, uint8_t row1) { return {row0, 0, 0, 0, row1, 0, 0, 0}; }

CrImage DecodeIco(const Bytes& bytes, int32_t frame = 0)
{
    Requester image;
    image.Request(frame);
    EXPECT_TRUE(DecodeBytes(image, bytes, CRIMAGE_FORMAT_ICO)) << image.GetLastError();
    return image;
}

} // namespace

TEST(IcoCodec, RoundTripsOfWhatTheEncoderWrites)
{
    for (uint32_t bpp : {1u, 4u, 8u, 24u})
        for (int32_t width : {5, 32, 300}) {
            const std::string what = std::to_string(bpp) + " bits, width " + std::to_string(width);
            CrImage image = bpp == 24 ? Rgb24(width, 9) : Indexed(width, 9, bpp);
            if (bpp < 24) {
                // The transparent index is one that no other pixel uses.
                const uint8_t t = uint8_t(image.GetNumColors() - 1);
                for (int32_t y = 0; y < 9; ++y)
                    for (int32_t x = 0; x < width; ++x)
                        image.SetPixelIndex(x, y, uint8_t(x % 3 == 0 && y % 2 ? t : (x + y) % t));
                image.SetTransIndex(t);
            }
            Bytes bytes = EncodeBytes(image, CRIMAGE_FORMAT_ICO);
            ASSERT_FALSE(bytes.empty()) << what << ": " << image.GetLastError();
            CrImage back = DecodeIco(bytes);
            EXPECT_EQ(back.GetType(), uint32_t(CRIMAGE_FORMAT_ICO)) << what;
            EXPECT_EQ(back.GetNumFrames(), 1) << what;
            EXPECT_EQ(back.GetBpp(), bpp) << what;
            ASSERT_EQ(back.GetWidth(), width) << what;
            if (bpp == 24) {
                ExpectSamePicture(image, back, false, what);
                continue;
            }
            ASSERT_EQ(back.GetTransIndex(), width > 255 ? 0 : image.GetTransIndex()) << what;
            for (int32_t y = 0; y < 9; ++y)
                for (int32_t x = 0; x < width; ++x) {
                    const bool clear = image.GetPixelIndex(x, y) == image.GetTransIndex();
                    ASSERT_EQ(back.GetPixelIndex(x, y) == back.GetTransIndex(), clear) << what << " at " << x << "," << y;
                    if (!clear) {
                        ASSERT_EQ(back.GetPixelColor(x, y, false), image.GetPixelColor(x, y, false)) << what;
                    }
                }
        }

    CrImage alpha = Rgb24(7, 5);
    AddAlphaPattern(alpha);
    alpha.AlphaSet(1, 1, 0);
    CrImage back = DecodeIco(EncodeBytes(alpha, CRIMAGE_FORMAT_ICO));
    ASSERT_TRUE(back.AlphaIsValid());
    ExpectSamePicture(alpha, back, true, "32 bits");
}

TEST(IcoCodec, MasksBecomeTransparency)
{
    {
        // Masked pixels of several colours: the highest unused index takes their place.
        CrImage image = DecodeIco(BuildIco({{4, 2, IconBitmap(4, 2, 4, kPalette16, kColour4x2, MaskRows(0x90, 0x00))}}));
        EXPECT_EQ(image.GetTransIndex(), 15);
        EXPECT_EQ(image.GetPixelIndex(0, 0), 15);
        EXPECT_EQ(image.GetPixelIndex(3, 0), 15);
        EXPECT_EQ(image.GetPixelIndex(1, 0), 2);
        EXPECT_FALSE(image.AlphaIsValid());
    }
    {
        // One colour under the mask that no visible pixel has: that colour is the transparent one.
        CrImage image = DecodeIco(BuildIco({{4, 2, IconBitmap(4, 2, 4, kPalette16, kColour4x2, MaskRows(0x00, 0xC0))}}));
        EXPECT_EQ(image.GetTransIndex(), 15); // 5 and 6 differ: an unused index
        Bytes sameColour = {0x33, 0x14, 0, 0, 0x56, 0x12, 0, 0};
        CrImage one = DecodeIco(BuildIco({{4, 2, IconBitmap(4, 2, 4, kPalette16, sameColour, MaskRows(0xC0, 0x00))}}));
        EXPECT_EQ(one.GetTransIndex(), 3);
        EXPECT_EQ(one.GetPixelIndex(1, 0), 3);
    }
    {
        // A masked colour that visible pixels share must not make them transparent too.
        Bytes shared = {0x11, 0x34, 0, 0, 0x56, 0x12, 0, 0};
        CrImage image = DecodeIco(BuildIco({{4, 2, IconBitmap(4, 2, 4, kPalette16, shared, MaskRows(0xC0, 0x00))}}));
        EXPECT_EQ(image.GetTransIndex(), 15);
        EXPECT_EQ(image.GetPixelIndex(0, 0), 15);
        EXPECT_EQ(image.GetPixelIndex(2, 1), 1);
    }
    {
        // Every index in use: the mask stays as alpha.
        Bytes colour = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
        CrImage image = DecodeIco(BuildIco({{8, 2, IconBitmap(8, 2, 4, kPalette16, colour, MaskRows(0xC0, 0x00))}}));
        EXPECT_EQ(image.GetTransIndex(), -1);
        ASSERT_TRUE(image.AlphaIsValid());
        EXPECT_EQ(image.AlphaGet(1, 0), 0);
        EXPECT_EQ(image.AlphaGet(2, 0), 255);
    }
    {
        // No mask bit set: no transparency at all.
        CrImage image = DecodeIco(BuildIco({{4, 2, IconBitmap(4, 2, 4, kPalette16, kColour4x2, MaskRows(0, 0))}}));
        EXPECT_EQ(image.GetTransIndex(), -1);
        EXPECT_FALSE(image.AlphaIsValid());
    }
}

TEST(IcoCodec, MissingAndFullMasks)
{
    // Without its mask the picture keeps its colours.
    Bytes noMask = IconBitmap(4, 2, 4, kPalette16, kColour4x2, {});
    CrImage image = DecodeIco(BuildIco({{4, 2, noMask}}));
    EXPECT_EQ(image.GetTransIndex(), -1);
    EXPECT_EQ(image.GetPixelColor(0, 0, false), Rgb(200 - 3, 5, 10));

    // A mask over everything: the inverted picture over index 0.
    CrImage full = DecodeIco(BuildIco({{4, 2, IconBitmap(4, 2, 4, kPalette16, kColour4x2, Bytes(8, 0xFF))}}));
    EXPECT_EQ(full.GetTransIndex(), 0);
    EXPECT_EQ(full.GetPixelColor(0, 0, false), Rgb(255 - 197, 255 - 5, 255 - 10));
}

TEST(IcoCodec, EntrySizesAndPngImages)
{
    // Width and height bytes of 0 mean 256.
    Bytes colour(256 / 8 * 256, 0x0F), mask(256 / 8 * 256, 0);
    Bytes palette = {0, 0, 0, 0, 255, 255, 255, 0};
    CrImage big = DecodeIco(BuildIco({{0, 0, IconBitmap(256, 256, 1, palette, colour, mask)}}));
    EXPECT_EQ(big.GetWidth(), 256);
    EXPECT_EQ(big.GetHeight(), 256);
    EXPECT_EQ(big.GetPixelIndex(7, 100), 1);

    // A PNG entry is known by its signature, whatever its size bytes say.
    CrImage picture = Rgb24(20, 10);
    Bytes png = EncodeBytes(picture, CRIMAGE_FORMAT_PNG);
    Bytes file = BuildIco({{4, 2, IconBitmap(4, 2, 4, kPalette16, kColour4x2, MaskRows(0, 0))}, {16, 16, png}});
    CrImage second = DecodeIco(file, 1);
    EXPECT_EQ(second.GetType(), uint32_t(CRIMAGE_FORMAT_ICO));
    EXPECT_EQ(second.GetNumFrames(), 2);
    ExpectSamePicture(picture, second, false, "PNG entry");

    Requester size;
    size.SetEscape(-1);
    size.Request(1);
    ASSERT_TRUE(DecodeBytes(size, file, CRIMAGE_FORMAT_ICO));
    EXPECT_EQ(size.GetWidth(), 20);
    EXPECT_EQ(size.GetHeight(), 10);
    size.Request(0);
    ASSERT_TRUE(DecodeBytes(size, file, CRIMAGE_FORMAT_ICO));
    EXPECT_EQ(size.GetWidth(), 4);
    EXPECT_FALSE(size.IsValid());
}

TEST(IcoCodec, DirectoryLimits)
{
    Bytes file = BuildIco({{4, 2, IconBitmap(4, 2, 4, kPalette16, kColour4x2, MaskRows(0, 0))},
                           {4, 2, IconBitmap(4, 2, 4, kPalette16, kColour4x2, MaskRows(0, 0))}});
    Requester image;
    image.Request(3);
    EXPECT_FALSE(DecodeBytes(image, file, CRIMAGE_FORMAT_ICO));
    EXPECT_EQ(image.GetNumFrames(), 2);
    image.Request(-1);
    EXPECT_FALSE(DecodeBytes(image, file, CRIMAGE_FORMAT_ICO));

    Bytes cursor = file;
    cursor[2] = 2;
    EXPECT_TRUE(DecodeIco(cursor).IsValid());
    for (size_t at : {size_t(0), size_t(2)}) {
        Bytes bad = file;
        bad[at] = 3;
        CrImage refused;
        EXPECT_FALSE(DecodeBytes(refused, bad, CRIMAGE_FORMAT_ICO)) << at;
    }
    // An image offset beyond every file.
    Bytes far = file;
    far[6 + 12] = far[6 + 13] = far[6 + 14] = far[6 + 15] = 0xFF;
    CrImage lost;
    EXPECT_FALSE(DecodeBytes(lost, far, CRIMAGE_FORMAT_ICO));
}

TEST(IcoCodec, SeveralImagesInOneFile)
{
    CrImage a = Indexed(16, 16, 8, 3), b = Rgb24(300, 40), c = Indexed(5, 3, 1);
    CrImage* images[] = {&a, &b, &c};
    CrMemFile file;
    file.Open();
    CrImageICO writer;
    for (int i = 0; i < 3; ++i) {
        writer.Ghost(*images[i]);
        ASSERT_TRUE(writer.Encode(&file, i > 0, 3)) << i << writer.GetLastError();
    }
    EXPECT_FALSE(writer.Encode(&file, true, 3)); // no fourth entry
    Bytes bytes(file.GetBuffer(false), file.GetBuffer(false) + file.Size());
    for (int i = 0; i < 3; ++i) {
        CrImage back = DecodeIco(bytes, i);
        EXPECT_EQ(back.GetNumFrames(), 3);
        ExpectSamePicture(*images[i], back, false, "image " + std::to_string(i));
    }
}

TEST(IcoCodec, WriteFailures)
{
    for (uint32_t limit : {0u, 10u, 30u, 200u}) {
        CrImage image = Indexed(16, 16, 4);
        ShortFile file(limit);
        EXPECT_FALSE(image.Encode(&file, CRIMAGE_FORMAT_ICO)) << limit;
        EXPECT_STREQ(image.GetLastError(), "Write Error in ICO file") << limit;
    }
}
