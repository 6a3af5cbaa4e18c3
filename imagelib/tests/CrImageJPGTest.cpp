// The JPEG codec: round trips of every kind of image it writes, the files libjpeg writes for us
// (CMYK, densities), options, truncation, cancelling and write failures.
#include "CodecTestSupport.h"
#include "CrImageJPG.h"

#include <cstdio>
extern "C" {
#include <jpeglib.h>
}

#include <gtest/gtest.h>

using namespace codectest;

namespace {

struct JpegFacts {
    int width = 0, height = 0, components = 0;
    int hSamp = 0, vSamp = 0;
    bool progressive = false, arithmetic = false;
    int densityUnit = -1, xDensity = 0, yDensity = 0;
};

void Quiet(j_common_ptr) {}

// Reads a file's header with libjpeg itself.
JpegFacts Inspect(const Bytes& bytes)
{
    JpegFacts f;
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    err.output_message = Quiet;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    f.width = int(cinfo.image_width);
    f.height = int(cinfo.image_height);
    f.components = cinfo.num_components;
    f.hSamp = cinfo.comp_info[0].h_samp_factor;
    f.vSamp = cinfo.comp_info[0].v_samp_factor;
    f.progressive = cinfo.progressive_mode;
    f.arithmetic = cinfo.arith_code;
    f.densityUnit = cinfo.density_unit;
    f.xDensity = cinfo.X_density;
    f.yDensity = cinfo.Y_density;
    jpeg_destroy_decompress(&cinfo);
    return f;
}

// A JPEG written by libjpeg from rows of `components` bytes per pixel.
Bytes WriteWithLibjpeg(int w, int h, int components, J_COLOR_SPACE space, const std::vector<uint8_t>& pixel,
                       int unit = 1, int xd = 72, int yd = 72)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = JDIMENSION(w);
    cinfo.image_height = JDIMENSION(h);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    cinfo.write_JFIF_header = TRUE;
    cinfo.density_unit = UINT8(unit);
    cinfo.X_density = UINT16(xd);
    cinfo.Y_density = UINT16(yd);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(size_t(w) * components);
    for (int x = 0; x < w; ++x)
        std::memcpy(&row[size_t(x) * components], pixel.data(), size_t(components));
    for (int y = 0; y < h; ++y) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes bytes(out, out + size);
    std::free(out);
    return bytes;
}

Bytes EncodeJpeg(CrImage& image, uint32_t options = 0)
{
    image.SetCodecOption(options, CRIMAGE_FORMAT_JPG);
    Bytes bytes = EncodeBytes(image, CRIMAGE_FORMAT_JPG);
    EXPECT_FALSE(bytes.empty()) << image.GetLastError();
    return bytes;
}

} // namespace

TEST(JpegCodec, TrueColourRoundTripAtTheDefaults)
{
    CrImage image = Smooth(61, 37);
    image.SetXDPI(300);
    image.SetYDPI(150);
    Bytes bytes = EncodeJpeg(image);
    JpegFacts f = Inspect(bytes);
    EXPECT_EQ(f.components, 3);
    EXPECT_EQ(f.hSamp, 2); // 4:2:0
    EXPECT_EQ(f.vSamp, 2);
    EXPECT_FALSE(f.progressive);
    EXPECT_EQ(f.densityUnit, 1);
    EXPECT_EQ(f.xDensity, 300);

    CrImage back;
    ASSERT_TRUE(DecodeBytes(back, bytes, CRIMAGE_FORMAT_JPG)) << back.GetLastError();
    EXPECT_EQ(back.GetType(), uint32_t(CRIMAGE_FORMAT_JPG));
    EXPECT_EQ(back.GetBpp(), 24u);
    EXPECT_EQ(back.GetXDPI(), 300);
    EXPECT_EQ(back.GetYDPI(), 150);
    EXPECT_LE(MaxDifference(image, back), 12);
}

TEST(JpegCodec, ChannelOrderSurvives)
{
    // Pure blocks of red, green and blue: a swapped channel shows at once.
    CrImage image(32, 16, 24);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x)
            image.SetPixelColor(x, y, x < 16 ? Rgb(250, 10, 10) : y < 8 ? Rgb(10, 250, 10) : Rgb(10, 10, 250));
    Bytes bytes = EncodeJpeg(image, CRIMAGE_JPEG_SUBSAMPLE_1X1);
    CrImage back;
    ASSERT_TRUE(DecodeBytes(back, bytes, CRIMAGE_FORMAT_JPG));
    EXPECT_LE(MaxDifference(image, back), 16);
}

TEST(JpegCodec, GreyImagesOfEveryDepth)
{
    for (uint32_t bpp : {1u, 4u, 8u}) {
        CrImage image(40, 24, bpp);
        // The identity ramp is what a grey JPEG decodes to; packed depths use its first entries.
        for (uint32_t i = 0; i < image.GetNumColors(); ++i)
            image.SetPaletteColor(i, uint8_t(i), uint8_t(i), uint8_t(i));
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 40; ++x)
                image.SetPixelIndex(x, y, uint8_t(bpp == 8 ? x * 6 : (x / 8) % image.GetNumColors()));
        ASSERT_TRUE(image.IsGrayScale());
        Bytes bytes = EncodeJpeg(image, CRIMAGE_JPEG_SUBSAMPLE_1X1);
        EXPECT_EQ(Inspect(bytes).components, 1) << bpp;
        CrImage back;
        ASSERT_TRUE(DecodeBytes(back, bytes, CRIMAGE_FORMAT_JPG)) << bpp;
        EXPECT_EQ(back.GetBpp(), 8u);
        EXPECT_EQ(back.GetNumColors(), 256u);
        EXPECT_TRUE(back.IsGrayScale());
        EXPECT_LE(MaxDifference(image, back), bpp == 8 ? 10 : 3) << bpp;
    }
}

TEST(JpegCodec, RefusesColourPalettes)
{
    CrImage image = Indexed(8, 8, 8);
    EXPECT_TRUE(EncodeBytes(image, CRIMAGE_FORMAT_JPG).empty());
    EXPECT_STREQ(image.GetLastError(), "JPEG can save only RGB or GreyScale images");
}

TEST(JpegCodec, EncodingOptions)
{
    struct Case {
        uint32_t options;
        int components, hSamp, vSamp;
        bool progressive, arithmetic;
    };
    const Case cases[] = {
        {CRIMAGE_JPEG_PROGRESSIVE, 3, 2, 2, true, false},
        {CRIMAGE_JPEG_OPTIMIZE | CRIMAGE_JPEG_BASELINE, 3, 2, 2, false, false},
        {CRIMAGE_JPEG_ARITHMETIC, 3, 2, 2, false, true},
        {CRIMAGE_JPEG_SUBSAMPLE_2X1, 3, 2, 1, false, false},
        {CRIMAGE_JPEG_SUBSAMPLE_1X1, 3, 1, 1, false, false},
        {CRIMAGE_JPEG_GRAYSCALE, 1, 2, 2, false, false},
        {CRIMAGE_JPEG_SMOOTHING, 3, 2, 2, false, false},
    };
    for (const Case& c : cases) {
        CrImage image = Smooth(33, 21);
        CrImageJPG codec;
        codec.Ghost(image);
        codec.SetSmoothing(30);
        codec.SetCodecOption(c.options, CRIMAGE_FORMAT_JPG);
        CrMemFile file;
        file.Open();
        ASSERT_TRUE(codec.Encode(&file)) << c.options << codec.GetLastError();
        Bytes bytes(file.GetBuffer(false), file.GetBuffer(false) + file.Size());
        JpegFacts f = Inspect(bytes);
        EXPECT_EQ(f.components, c.components) << c.options;
        EXPECT_EQ(f.hSamp, c.hSamp) << c.options;
        EXPECT_EQ(f.vSamp, c.vSamp) << c.options;
        EXPECT_EQ(f.progressive, c.progressive) << c.options;
        EXPECT_EQ(f.arithmetic, c.arithmetic) << c.options;
        CrImage back;
        ASSERT_TRUE(DecodeBytes(back, bytes, CRIMAGE_FORMAT_JPG)) << c.options;
        EXPECT_EQ(back.GetBpp(), c.components == 1 ? 8u : 24u);
        if (c.components == 3) {
            EXPECT_LE(MaxDifference(image, back), 14) << c.options;
        }
    }
}

TEST(JpegCodec, DecodingOptions)
{
    CrImage image = Smooth(48, 32);
    Bytes bytes = EncodeJpeg(image);
    struct Case {
        uint32_t options;
        uint32_t bpp;
    };
    for (Case c : {Case{CRIMAGE_JPEG_DECODE_GRAYSCALE, 8}, Case{CRIMAGE_JPEG_QUANTIZE, 8},
                   Case{CRIMAGE_JPEG_QUANTIZE | CRIMAGE_JPEG_ONE_PASS | CRIMAGE_JPEG_DITHER, 8},
                   Case{CRIMAGE_JPEG_NO_FANCY_UPSAMPLING, 24}}) {
        CrImage back;
        back.SetCodecOption(c.options, CRIMAGE_FORMAT_JPG);
        ASSERT_TRUE(DecodeBytes(back, bytes, CRIMAGE_FORMAT_JPG)) << c.options << back.GetLastError();
        EXPECT_EQ(back.GetBpp(), c.bpp) << c.options;
        if (c.options & CRIMAGE_JPEG_DECODE_GRAYSCALE) {
            EXPECT_TRUE(back.IsGrayScale());
        } else if (c.options & CRIMAGE_JPEG_QUANTIZE) {
            EXPECT_LE(MaxDifference(image, back), 60) << c.options; // 90 colours
        } else {
            EXPECT_LE(MaxDifference(image, back), 12);
        }
    }
}

TEST(JpegCodec, CmykFilesDecodeToTrueColour)
{
    // Adobe-style inverted CMYK: each channel is the colour's level, scaled by the K byte.
    Bytes bytes = WriteWithLibjpeg(16, 16, 4, JCS_CMYK, {200, 100, 50, 128});
    CrImage image;
    ASSERT_TRUE(DecodeBytes(image, bytes, CRIMAGE_FORMAT_JPG)) << image.GetLastError();
    EXPECT_EQ(image.GetBpp(), 24u);
    CrRgbQuad c = image.GetPixelColor(8, 8);
    EXPECT_NEAR(c.rgbRed, 200 * 128 / 255, 3);
    EXPECT_NEAR(c.rgbGreen, 100 * 128 / 255, 3);
    EXPECT_NEAR(c.rgbBlue, 50 * 128 / 255, 3);
}

TEST(JpegCodec, DensityUnits)
{
    struct Case {
        int unit, xd, yd;
        int32_t xDpi, yDpi;
    };
    // Dots per centimetre are converted; an aspect ratio scales the default height resolution.
    for (Case c : {Case{2, 72, 72, 183, 183}, Case{1, 300, 200, 300, 200}, Case{0, 1, 2, 96, 192}, Case{1, 0, 0, 96, 96}}) {
        Bytes bytes = WriteWithLibjpeg(8, 8, 1, JCS_GRAYSCALE, {77}, c.unit, c.xd, c.yd);
        CrImage image;
        ASSERT_TRUE(DecodeBytes(image, bytes, CRIMAGE_FORMAT_JPG));
        EXPECT_EQ(image.GetXDPI(), c.xDpi) << c.unit;
        EXPECT_EQ(image.GetYDPI(), c.yDpi) << c.unit;
    }
}

TEST(JpegCodec, ScaleAndSizeOnly)
{
    CrImage image = Smooth(64, 40);
    Bytes bytes = EncodeJpeg(image);
    struct Scaler : CrImage {
        void Scale(uint8_t s) { m_info.jpegScale = s; }
    };
    Scaler half;
    half.Scale(2);
    ASSERT_TRUE(DecodeBytes(half, bytes, CRIMAGE_FORMAT_JPG));
    EXPECT_EQ(half.GetWidth(), 32);
    EXPECT_EQ(half.GetHeight(), 20);

    Scaler zero;
    zero.Scale(0);
    EXPECT_FALSE(DecodeBytes(zero, bytes, CRIMAGE_FORMAT_JPG));
    EXPECT_STREQ(zero.GetLastError(), "JPEG decode scale must be greater than zero");

    ExpectSizeOnly(bytes, CRIMAGE_FORMAT_JPG, 64, 40);
}

TEST(JpegCodec, EmptyAndTruncatedFiles)
{
    CrImage empty;
    EXPECT_FALSE(empty.Decode(static_cast<uint8_t*>(nullptr), 0, CRIMAGE_FORMAT_JPG));
    CrImage none;
    Bytes nothing(1, 0);
    CrMemFile file(nothing.data(), 0);
    EXPECT_FALSE(none.Decode(&file, CRIMAGE_FORMAT_JPG));
    EXPECT_STREQ(none.GetLastError(), "Empty input file");

    // Cut in the middle of the scan: the top of the picture is as a whole decode gives it.
    CrImage image = Noise(64, 64);
    Bytes bytes = EncodeJpeg(image);
    ASSERT_GT(bytes.size(), 4000u); // mostly scan data
    CrImage whole;
    ASSERT_TRUE(DecodeBytes(whole, bytes, CRIMAGE_FORMAT_JPG));
    bytes.resize(bytes.size() / 2);
    CrImage cut;
    ASSERT_TRUE(DecodeBytes(cut, bytes, CRIMAGE_FORMAT_JPG)) << cut.GetLastError();
    ASSERT_EQ(cut.GetHeight(), 64);
    for (int y = 56; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(cut.GetPixelColor(x, y), whole.GetPixelColor(x, y)) << x << "," << y;
    // Every missing row is one flat colour, not leftovers of other memory.
    const CrRgbQuad last = cut.GetPixelColor(0, 0);
    for (int x = 0; x < 64; ++x)
        EXPECT_EQ(cut.GetPixelColor(x, 0), last);
}

TEST(JpegCodec, CancelledDecodeLeavesTheTextAlone)
{
    CrImage image = Smooth(16, 16);
    Bytes bytes = EncodeJpeg(image);
    TestImage target;
    target.SetLastError("before");
    target.SetEscape(1);
    EXPECT_FALSE(DecodeBytes(target, bytes, CRIMAGE_FORMAT_JPG));
    EXPECT_STREQ(target.GetLastError(), "before");
}

TEST(JpegCodec, WriteFailuresAreReported)
{
    for (uint32_t limit : {0u, 100u, 1000u}) {
        CrImage image = Rgb24(120, 90);
        ShortFile file(limit);
        EXPECT_FALSE(image.Encode(&file, CRIMAGE_FORMAT_JPG)) << limit;
        EXPECT_STRNE(image.GetLastError(), "") << limit;
    }
}

TEST(JpegCodec, DispatchFindsOtherFormatsAndKeepsItsOwnError)
{
    CrImage gif = Indexed(6, 4, 8);
    Bytes gifBytes = EncodeBytes(gif, CRIMAGE_FORMAT_GIF);
    ASSERT_FALSE(gifBytes.empty());
    CrImage image;
    ASSERT_TRUE(DecodeBytes(image, gifBytes, CRIMAGE_FORMAT_UNKNOWN));
    EXPECT_EQ(image.GetType(), uint32_t(CRIMAGE_FORMAT_GIF));

    CrImage jpeg = Smooth(10, 10);
    Bytes bytes = EncodeJpeg(jpeg);
    CrImage detected;
    ASSERT_TRUE(DecodeBytes(detected, bytes, CRIMAGE_FORMAT_UNKNOWN));
    EXPECT_EQ(detected.GetType(), uint32_t(CRIMAGE_FORMAT_JPG));

    bytes.resize(50);
    CrImage corrupt;
    EXPECT_FALSE(DecodeBytes(corrupt, bytes, CRIMAGE_FORMAT_JPG));
    EXPECT_STRNE(corrupt.GetLastError(), "Decode: Unknown or wrong format");
    EXPECT_STRNE(corrupt.GetLastError(), "");
}
