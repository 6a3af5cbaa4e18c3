// The PNG codec: files of every colour type, depth and interlacing written by libpng itself,
// transparency and resolution chunks, round trips of every image kind, and an encoder that never
// touches the image it writes.
#include "CodecTestSupport.h"
#include "CrImagePNG.h"

#include <png.h>

#include <functional>

using namespace codectest;

namespace {

// What one sample of channel c at (x, y) is, at the file's depth (top row first).
using SampleFn = std::function<uint32_t(int x, int y, int c)>;

struct PngLayout {
    int width = 9, height = 7;
    int colorType = PNG_COLOR_TYPE_RGB;
    int depth = 8;
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<png_byte> alphas;     // tRNS of a palette file
    bool transColor = false;          // tRNS of a grey or RGB file
    png_color_16 trans = {};
    int physUnit = -1;                // no pHYs
    png_uint_32 physX = 0, physY = 0;
};

void AppendBytes(png_structp png, png_bytep data, size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void NoFlush(png_structp) {}

int Channels(int colorType)
{
    switch (colorType) {
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 1;
    }
}

Bytes WritePng(const PngLayout& layout, const SampleFn& sample)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        ADD_FAILURE() << "libpng refused the fixture";
        return Bytes();
    }
    png_set_write_fn(png, &out, AppendBytes, NoFlush);
    png_set_IHDR(png, info, png_uint_32(layout.width), png_uint_32(layout.height), layout.depth, layout.colorType,
                 layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!layout.palette.empty())
        png_set_PLTE(png, info, layout.palette.data(), int(layout.palette.size()));
    if (!layout.alphas.empty())
        png_set_tRNS(png, info, layout.alphas.data(), int(layout.alphas.size()), nullptr);
    if (layout.transColor)
        png_set_tRNS(png, info, nullptr, 0, &layout.trans);
    if (layout.physUnit >= 0)
        png_set_pHYs(png, info, layout.physX, layout.physY, layout.physUnit);
    png_write_info(png, info);
    const int channels = Channels(layout.colorType);
    const size_t rowBytes = (size_t(layout.width) * channels * layout.depth + 7) / 8;
    std::vector<std::vector<png_byte>> rows(size_t(layout.height), std::vector<png_byte>(rowBytes, 0));
    for (int y = 0; y < layout.height; ++y) {
        png_byte* row = rows[size_t(y)].data();
        for (int x = 0; x < layout.width; ++x)
            for (int c = 0; c < channels; ++c) {
                const uint32_t v = sample(x, y, c);
                const size_t i = size_t(x) * channels + size_t(c);
                if (layout.depth == 16) {
                    row[2 * i] = png_byte(v >> 8);
                    row[2 * i + 1] = png_byte(v);
                } else if (layout.depth == 8) {
                    row[i] = png_byte(v);
                } else {
                    const size_t bit = i * size_t(layout.depth);
                    row[bit / 8] |= png_byte(v << (8 - layout.depth - bit % 8));
                }
            }
    }
    std::vector<png_bytep> pointers;
    for (auto& r : rows)
        pointers.push_back(r.data());
    png_write_image(png, pointers.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

// A sample of the depth that differs from pixel to pixel and from channel to channel.
uint32_t Pattern(int x, int y, int c, int depth)
{
    const uint32_t most = (1u << depth) - 1;
    return (uint32_t(x * 5 + y * 3 + c * 7) * (depth == 16 ? 4099u : depth == 8 ? 17u : 1u)) & most;
}

uint8_t ToByte(uint32_t v, int depth)
{
    if (depth == 16)
        return uint8_t(v >> 8);
    return uint8_t(v * 255 / ((1u << depth) - 1));
}

} // namespace

TEST(PngCodec, EveryColourTypeDepthAndInterlacing)
{
    struct Case {
        int colorType;
        int depth;
    };
    const Case cases[] = {
        {PNG_COLOR_TYPE_GRAY, 1},       {PNG_COLOR_TYPE_GRAY, 2},      {PNG_COLOR_TYPE_GRAY, 4},
        {PNG_COLOR_TYPE_GRAY, 8},       {PNG_COLOR_TYPE_GRAY, 16},     {PNG_COLOR_TYPE_RGB, 8},
        {PNG_COLOR_TYPE_RGB, 16},       {PNG_COLOR_TYPE_PALETTE, 1},   {PNG_COLOR_TYPE_PALETTE, 2},
        {PNG_COLOR_TYPE_PALETTE, 4},    {PNG_COLOR_TYPE_PALETTE, 8},   {PNG_COLOR_TYPE_GRAY_ALPHA, 8},
        {PNG_COLOR_TYPE_GRAY_ALPHA, 16}, {PNG_COLOR_TYPE_RGB_ALPHA, 8}, {PNG_COLOR_TYPE_RGB_ALPHA, 16},
    };
    for (const Case& c : cases)
        for (bool interlaced : {false, true}) {
            const std::string what = "type " + std::to_string(c.colorType) + " depth " + std::to_string(c.depth) +
                                     (interlaced ? " interlaced" : "");
            PngLayout layout;
            layout.width = 13; // odd, and wider than a byte of packed pixels
            layout.height = 11;
            layout.colorType = c.colorType;
            layout.depth = c.depth;
            layout.interlaced = interlaced;
            const bool palette = c.colorType == PNG_COLOR_TYPE_PALETTE;
            if (palette)
                for (int i = 0; i < (1 << c.depth); ++i)
                    layout.palette.push_back(png_color{png_byte(i * 40), png_byte(255 - i * 20), png_byte(i * 7 + 3)});
            const int channels = Channels(c.colorType);
            Bytes bytes = WritePng(layout, [&](int x, int y, int ch) { return Pattern(x, y, ch, c.depth); });

            CrImage image;
            ASSERT_TRUE(DecodeBytes(image, bytes, CRIMAGE_FORMAT_PNG)) << what << ": " << image.GetLastError();
            EXPECT_EQ(image.GetType(), uint32_t(CRIMAGE_FORMAT_PNG));
            EXPECT_EQ(image.GetCodecOption(CRIMAGE_FORMAT_PNG) & CRIMAGE_PNG_INTERLACED, interlaced ? 1u : 0u) << what;
            EXPECT_EQ(image.AlphaIsValid(), channels == 2 || channels == 4) << what;
            EXPECT_EQ(image.GetBpp(), channels >= 3 ? 24u : c.depth == 2 ? 4u : c.depth > 8 || channels == 2 ? 8u : uint32_t(c.depth))
                << what;
            for (int y = 0; y < layout.height; ++y)
                for (int x = 0; x < layout.width; ++x) {
                    const int row = layout.height - 1 - y; // the file's rows run from the top
                    CrRgbQuad expected;
                    if (palette) {
                        const png_color& e = layout.palette[Pattern(x, y, 0, c.depth)];
                        expected = Rgb(e.red, e.green, e.blue);
                    } else if (channels <= 2) {
                        const uint8_t g = ToByte(Pattern(x, y, 0, c.depth), c.depth);
                        expected = Rgb(g, g, g);
                    } else {
                        expected = Rgb(ToByte(Pattern(x, y, 0, c.depth), c.depth), ToByte(Pattern(x, y, 1, c.depth), c.depth),
                                       ToByte(Pattern(x, y, 2, c.depth), c.depth));
                    }
                    if (channels == 2 || channels == 4)
                        expected.rgbReserved = ToByte(Pattern(x, y, channels - 1, c.depth), c.depth);
                    ASSERT_EQ(image.GetPixelColor(x, row, true), expected) << what << " at " << x << "," << y;
                }
        }
}

TEST(PngCodec, Expand2To4Bits)
{
    uint8_t row[4] = {0x1B, 0xE4, 0, 0}; // 0 1 2 3 3 2 1 0
    CrImagePNG::Expand2To4Bits(row, 8);
    EXPECT_EQ(row[0], 0x01);
    EXPECT_EQ(row[1], 0x23);
    EXPECT_EQ(row[2], 0x32);
    EXPECT_EQ(row[3], 0x10);
}

TEST(PngCodec, Transparency)
{
    auto palette = [](int n) {
        std::vector<png_color> p;
        for (int i = 0; i < n; ++i)
            p.push_back(png_color{png_byte(i), png_byte(2 * i), png_byte(3 * i)});
        return p;
    };
    auto index = [](int x, int, int) { return uint32_t(x % 4); };
    {
        // One fully transparent entry: the transparent index.
        PngLayout layout;
        layout.colorType = PNG_COLOR_TYPE_PALETTE;
        layout.palette = palette(4);
        layout.alphas = {0};
        CrImage image;
        ASSERT_TRUE(DecodeBytes(image, WritePng(layout, index), CRIMAGE_FORMAT_PNG));
        EXPECT_EQ(image.GetTransIndex(), 0);
        EXPECT_FALSE(image.AlphaPaletteIsValid());
    }
    {
        // One half-transparent entry keeps its own alpha; the others are opaque.
        PngLayout layout;
        layout.colorType = PNG_COLOR_TYPE_PALETTE;
        layout.palette = palette(4);
        layout.alphas = {100};
        CrImage image;
        ASSERT_TRUE(DecodeBytes(image, WritePng(layout, index), CRIMAGE_FORMAT_PNG));
        EXPECT_EQ(image.GetTransIndex(), -1);
        EXPECT_EQ(image.GetPaletteColor(0).rgbReserved, 100);
        EXPECT_EQ(image.GetPaletteColor(1).rgbReserved, 255);
    }
    {
        PngLayout layout;
        layout.colorType = PNG_COLOR_TYPE_PALETTE;
        layout.palette = palette(4);
        layout.alphas = {10, 20, 30};
        CrImage image;
        ASSERT_TRUE(DecodeBytes(image, WritePng(layout, index), CRIMAGE_FORMAT_PNG));
        EXPECT_TRUE(image.AlphaPaletteIsValid());
        EXPECT_EQ(image.GetPaletteColor(2).rgbReserved, 30);
        EXPECT_EQ(image.GetPaletteColor(3).rgbReserved, 255);
    }
    for (int depth : {8, 16}) {
        PngLayout layout;
        layout.colorType = PNG_COLOR_TYPE_GRAY;
        layout.depth = depth;
        layout.transColor = true;
        layout.trans.gray = png_uint_16(depth == 16 ? 0x2A00 : 0x2A);
        CrImage image;
        ASSERT_TRUE(DecodeBytes(image, WritePng(layout, index), CRIMAGE_FORMAT_PNG));
        EXPECT_EQ(image.GetTransIndex(), 0x2A) << depth;
    }
    {
        PngLayout layout;
        layout.transColor = true;
        layout.trans.red = 10;
        layout.trans.green = 20;
        layout.trans.blue = 30;
        CrImage image;
        ASSERT_TRUE(DecodeBytes(image, WritePng(layout, index), CRIMAGE_FORMAT_PNG));
        EXPECT_EQ(image.GetTransIndex(), 0);
        EXPECT_EQ(image.GetTransColor(), Rgb(10, 20, 30));
    }
}

TEST(PngCodec, Resolution)
{
    struct Case {
        int unit;
        png_uint_32 x, y;
        int32_t xDpi, yDpi;
    };
    for (Case c : {Case{PNG_RESOLUTION_METER, 3780, 11811, 96, 300}, Case{PNG_RESOLUTION_UNKNOWN, 2, 3, 2, 3},
                   Case{-1, 0, 0, 96, 96}}) {
        PngLayout layout;
        layout.physUnit = c.unit;
        layout.physX = c.x;
        layout.physY = c.y;
        CrImage image;
        ASSERT_TRUE(DecodeBytes(image, WritePng(layout, [](int, int, int) { return 5u; }), CRIMAGE_FORMAT_PNG));
        EXPECT_EQ(image.GetXDPI(), c.xDpi) << c.unit;
        EXPECT_EQ(image.GetYDPI(), c.yDpi) << c.unit;
    }
    CrImage image = Rgb24(3, 3);
    image.SetXDPI(300);
    image.SetYDPI(72);
    CrImage back;
    ASSERT_TRUE(DecodeBytes(back, EncodeBytes(image, CRIMAGE_FORMAT_PNG), CRIMAGE_FORMAT_PNG));
    EXPECT_EQ(back.GetXDPI(), 300);
    EXPECT_EQ(back.GetYDPI(), 72);
}

TEST(PngCodec, RoundTripsOfEveryImageKind)
{
    struct Case {
        const char* name;
        std::function<CrImage()> make;
        uint32_t bpp; // decoded depth
        bool alpha;
    };
    const Case cases[] = {
        {"1-bit palette", [] { return Indexed(19, 5, 1); }, 1, false},
        {"4-bit palette", [] { return Indexed(19, 5, 4); }, 4, false},
        {"8-bit palette", [] { return Indexed(19, 5, 8); }, 8, false},
        {"1-bit grey", [] { return GrayRamp(19, 5, 1); }, 1, false},
        {"4-bit grey", [] { return GrayRamp(19, 5, 4); }, 4, false},
        {"8-bit grey", [] { return GrayRamp(19, 5, 8); }, 8, false},
        {"24-bit", [] { return Rgb24(19, 5); }, 24, false},
        {"24-bit with alpha",
         [] {
             CrImage i = Rgb24(19, 5);
             AddAlphaPattern(i);
             return i;
         },
         24, true},
        {"8-bit grey with alpha",
         [] {
             CrImage i = GrayRamp(19, 5, 8);
             AddAlphaPattern(i);
             return i;
         },
         8, true},
        // A palette cannot carry an alpha channel in PNG: written as RGBA.
        {"8-bit palette with alpha",
         [] {
             CrImage i = Indexed(19, 5, 8);
             AddAlphaPattern(i);
             return i;
         },
         24, true},
        {"4-bit palette with alpha",
         [] {
             CrImage i = Indexed(19, 5, 4);
             AddAlphaPattern(i);
             return i;
         },
         24, true},
    };
    for (const Case& c : cases)
        for (uint32_t options : {0u, uint32_t(CRIMAGE_PNG_INTERLACED), 2u, 4u, 6u}) {
            CrImage image = c.make();
            image.SetCodecOption(options, CRIMAGE_FORMAT_PNG);
            Bytes bytes = EncodeBytes(image, CRIMAGE_FORMAT_PNG);
            ASSERT_FALSE(bytes.empty()) << c.name << ": " << image.GetLastError();
            CrImage back;
            ASSERT_TRUE(DecodeBytes(back, bytes, CRIMAGE_FORMAT_PNG)) << c.name << ": " << back.GetLastError();
            EXPECT_EQ(back.GetBpp(), c.bpp) << c.name;
            EXPECT_EQ(back.AlphaIsValid(), c.alpha) << c.name;
            EXPECT_EQ(back.GetCodecOption(CRIMAGE_FORMAT_PNG) & 1u, options & 1u) << c.name;
            ExpectSamePicture(image, back, c.alpha, std::string(c.name) + " options " + std::to_string(options));
        }
}

TEST(PngCodec, TransparentEntryGoesFirstWithoutTouchingTheImage)
{
    CrImage image = Indexed(10, 6, 8);
    image.SetTransIndex(5);
    const ImageBytes before(image);
    Bytes bytes = EncodeBytes(image, CRIMAGE_FORMAT_PNG);
    ASSERT_FALSE(bytes.empty());
    EXPECT_TRUE(ImageBytes(image) == before);

    CrImage back;
    ASSERT_TRUE(DecodeBytes(back, bytes, CRIMAGE_FORMAT_PNG));
    EXPECT_EQ(back.GetTransIndex(), 0);
    EXPECT_EQ(back.GetPaletteColor(0), image.GetPaletteColor(5));
    ExpectSamePicture(image, back, false, "swapped palette");
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(back.GetPixelIndex(x, y) == 0, image.GetPixelIndex(x, y) == 5);

    // The same on 1- and 4-bit pictures, and on a failed write.
    for (uint32_t bpp : {1u, 4u}) {
        CrImage small = Indexed(11, 3, bpp);
        small.SetTransIndex(1);
        const ImageBytes kept(small);
        CrImage decoded;
        ASSERT_TRUE(DecodeBytes(decoded, EncodeBytes(small, CRIMAGE_FORMAT_PNG), CRIMAGE_FORMAT_PNG));
        ExpectSamePicture(small, decoded, false, "packed swap");
        EXPECT_EQ(decoded.GetTransIndex(), 0);
        EXPECT_TRUE(ImageBytes(small) == kept);
    }
    ShortFile file(60);
    EXPECT_FALSE(image.Encode(&file, CRIMAGE_FORMAT_PNG));
    EXPECT_STREQ(image.GetLastError(), "Error saving PNG file");
    EXPECT_TRUE(ImageBytes(image) == before);
}

TEST(PngCodec, TransparentColoursAndAlphaPalettesAreWritten)
{
    CrImage rgb = Rgb24(8, 8);
    rgb.SetTransIndex(0);
    rgb.SetTransColor(rgb.GetPixelColor(2, 3, false));
    CrImage back;
    ASSERT_TRUE(DecodeBytes(back, EncodeBytes(rgb, CRIMAGE_FORMAT_PNG), CRIMAGE_FORMAT_PNG));
    EXPECT_EQ(back.GetTransIndex(), 0);
    EXPECT_EQ(back.GetTransColor(), rgb.GetPixelColor(2, 3, false));

    // With an alpha channel the transparent colour becomes alpha 0.
    rgb.AlphaCreate();
    CrImage withAlpha;
    ASSERT_TRUE(DecodeBytes(withAlpha, EncodeBytes(rgb, CRIMAGE_FORMAT_PNG), CRIMAGE_FORMAT_PNG));
    EXPECT_EQ(withAlpha.AlphaGet(2, 3), 0);
    EXPECT_EQ(withAlpha.AlphaGet(3, 3), 255);

    TestImage gray;
    gray.Create(6, 6, 8);
    gray.SetGrayPalette();
    FillPattern(gray);
    gray.SetTransIndex(7);
    CrImage grayBack;
    ASSERT_TRUE(DecodeBytes(grayBack, EncodeBytes(gray, CRIMAGE_FORMAT_PNG), CRIMAGE_FORMAT_PNG));
    EXPECT_TRUE(grayBack.IsGrayScale());
    EXPECT_EQ(grayBack.GetTransIndex(), 7);

    TestImage palette;
    palette.Create(6, 6, 4);
    FillPalette(palette);
    FillPattern(palette);
    for (uint32_t i = 0; i < 16; ++i) {
        CrRgbQuad c = palette.GetPaletteColor(i);
        c.rgbReserved = uint8_t(i * 16);
        palette.SetPaletteColor(i, c);
    }
    palette.Info().alphaPalette = true;
    CrImage paletteBack;
    ASSERT_TRUE(DecodeBytes(paletteBack, EncodeBytes(palette, CRIMAGE_FORMAT_PNG), CRIMAGE_FORMAT_PNG));
    EXPECT_TRUE(paletteBack.AlphaPaletteIsValid());
    for (uint32_t i = 0; i < 16; ++i)
        EXPECT_EQ(paletteBack.GetPaletteColor(i), palette.GetPaletteColor(i)) << i;
}

TEST(PngCodec, FailuresAndSizeOnly)
{
    CrImage image = Rgb24(30, 20);
    Bytes bytes = EncodeBytes(image, CRIMAGE_FORMAT_PNG);
    ExpectSizeOnly(bytes, CRIMAGE_FORMAT_PNG, 30, 20);

    Bytes cut(bytes.begin(), bytes.begin() + long(bytes.size() / 2));
    CrImage truncated;
    EXPECT_FALSE(DecodeBytes(truncated, cut, CRIMAGE_FORMAT_PNG));
    EXPECT_STREQ(truncated.GetLastError(), "Read Error");

    Bytes notPng(40, 7);
    CrImage other;
    EXPECT_FALSE(DecodeBytes(other, notPng, CRIMAGE_FORMAT_PNG));
    EXPECT_STRNE(other.GetLastError(), "");

    TestImage cancelled;
    cancelled.SetLastError("before");
    cancelled.SetEscape(1);
    EXPECT_FALSE(DecodeBytes(cancelled, bytes, CRIMAGE_FORMAT_PNG));
    EXPECT_STREQ(cancelled.GetLastError(), "before");

    for (uint32_t limit : {0u, 8u, 50u}) {
        ShortFile file(limit);
        EXPECT_FALSE(image.Encode(&file, CRIMAGE_FORMAT_PNG)) << limit;
        EXPECT_STREQ(image.GetLastError(), "Error saving PNG file") << limit;
    }
}
