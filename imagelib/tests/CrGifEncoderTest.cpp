// Writing GIF streams, checked byte by byte where the layout matters and by decoding them again.
#include "CrImageGIF.h"
#include "CrMemFile.h"
#include "GifTestStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

using namespace giftest;

namespace {

// A memory file that refuses writes once `budget` bytes have gone in.
class ShortFile : public CrMemFile {
public:
    explicit ShortFile(uint32_t budget) : m_budget(budget) { Open(); }
    uint32_t Write(const void* buffer, uint32_t size, uint32_t count) override
    {
        if (uint64_t(size) * count > m_budget)
            return 0;
        m_budget -= size * count;
        return CrMemFile::Write(buffer, size, count);
    }

private:
    uint32_t m_budget;
};

std::vector<uint8_t> Bytes(CrMemFile& file)
{
    uint8_t* data = file.GetBuffer(false);
    return std::vector<uint8_t>(data, data + file.Size());
}

// An indexed image filled from indices given top row first.
void Fill(CrImage& image, int w, int h, uint32_t bpp, const std::vector<uint8_t>& pixels, uint8_t seed = 0)
{
    ASSERT_TRUE(image.Create(w, h, bpp, CRIMAGE_FORMAT_GIF));
    std::vector<CrRgbColor> table = Colors(image.GetNumColors(), seed);
    image.SetPalette(table.data(), uint32_t(table.size()));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.SetPixelIndex(x, h - 1 - y, pixels[size_t(y * w + x)]);
}

std::vector<uint8_t> Indices(const CrImage& image)
{
    std::vector<uint8_t> out;
    for (int y = image.GetHeight() - 1; y >= 0; --y)
        for (int x = 0; x < image.GetWidth(); ++x)
            out.push_back(image.GetPixelIndex(x, y));
    return out;
}

// Random pixels with runs of all lengths, as pictures have.
std::vector<uint8_t> Pixels(size_t n, uint32_t colors, uint32_t seed)
{
    std::mt19937 rng(seed);
    std::vector<uint8_t> v;
    while (v.size() < n) {
        uint8_t c = uint8_t(rng() % colors);
        size_t run = rng() % 3 == 0 ? 1 + rng() % 300 : 1 + rng() % 4;
        for (size_t i = 0; i < run && v.size() < n; ++i)
            v.push_back(c);
    }
    return v;
}

std::vector<uint8_t> EncodeGif(CrImageGIF& gif)
{
    CrMemFile file;
    file.Open();
    EXPECT_TRUE(gif.Encode(&file)) << gif.GetLastError();
    return Bytes(file);
}

std::unique_ptr<CrImageGIF> DecodeGif(std::vector<uint8_t>& bytes, bool all = false)
{
    auto gif = std::make_unique<CrImageGIF>();
    gif->SetRetrieveAllFrames(all);
    CrMemFile file(bytes.data(), uint32_t(bytes.size()));
    EXPECT_TRUE(gif->Decode(&file));
    return gif;
}

std::vector<uint8_t> EncodeAnimation(CrImageGIF& gif, CrImage** frames, int32_t count, bool localPalette, bool localDisposal)
{
    CrMemFile file;
    file.Open();
    EXPECT_TRUE(gif.Encode(&file, frames, count, localPalette, localDisposal)) << gif.GetLastError();
    return Bytes(file);
}

size_t Find(const std::vector<uint8_t>& bytes, const std::string& what)
{
    auto it = std::search(bytes.begin(), bytes.end(), what.begin(), what.end());
    return it == bytes.end() ? std::string::npos : size_t(it - bytes.begin());
}

} // namespace

TEST(GifEncode, HeaderFlagsAndMinimumCodeSizeFollowTheDepth)
{
    struct Case {
        uint32_t bpp;
        uint8_t flags;
        uint8_t minCodeSize;
    };
    for (Case c : {Case{1, 0x80, 2}, Case{4, 0xE3, 4}, Case{8, 0xE7, 8}}) {
        CrImageGIF gif;
        Fill(gif, 3, 2, c.bpp, Pixels(6, 2, 1));
        std::vector<uint8_t> b = EncodeGif(gif);
        ASSERT_GT(b.size(), 13u);
        EXPECT_EQ(std::string(b.begin(), b.begin() + 6), "GIF89a");
        EXPECT_EQ(b[10], c.flags) << c.bpp;
        size_t descriptor = 13 + 3 * (size_t(1) << c.bpp) + 8;
        ASSERT_EQ(b[descriptor], 0x2C);
        EXPECT_EQ(b[descriptor + 9], 0) << "no local table";
        EXPECT_EQ(b[descriptor + 10], c.minCodeSize) << c.bpp;
        EXPECT_EQ(b.back(), 0x3B);
    }
}

TEST(GifEncode, EveryCodeStreamRoundTripsAtEveryDepth)
{
    struct Size {
        int w, h;
    };
    for (uint32_t bpp : {1u, 4u, 8u})
        for (uint32_t kind : {0u, 1u, 2u})
            for (Size s : {Size{1, 1}, Size{3, 5}, Size{33, 17}, Size{300, 7}, Size{97, 131}}) {
                CrImageGIF gif;
                std::vector<uint8_t> pixels = Pixels(size_t(s.w * s.h), 1u << bpp, bpp * 31 + kind * 7 + uint32_t(s.w));
                Fill(gif, s.w, s.h, bpp, pixels);
                gif.SetCodecOption(kind, CRIMAGE_FORMAT_GIF);
                std::vector<uint8_t> b = EncodeGif(gif);
                auto back = DecodeGif(b);
                EXPECT_EQ(back->GetBpp(), bpp);
                EXPECT_EQ(Indices(*back), pixels) << "bpp " << bpp << " kind " << kind << " " << s.w << "x" << s.h;
                EXPECT_EQ(std::memcmp(back->GetPalette(), gif.GetPalette(), gif.GetPaletteSize()), 0);
            }
}

TEST(GifEncode, LongRunsOfOneColourRoundTrip)
{
    // One colour: the uncompressed stream passes every width and a clear after code 4095; the
    // run-length stream reuses its runs; LZW builds long strings.
    for (uint32_t kind : {0u, 1u, 2u}) {
        CrImageGIF gif;
        std::vector<uint8_t> pixels(250 * 40, 77);
        Fill(gif, 250, 40, 8, pixels);
        gif.SetCodecOption(kind, CRIMAGE_FORMAT_GIF);
        std::vector<uint8_t> b = EncodeGif(gif);
        EXPECT_EQ(Indices(*DecodeGif(b)), pixels) << kind;
    }
}

TEST(GifEncode, TransparencyDelayAndDisposalGoIntoTheGraphicControl)
{
    CrImageGIF gif;
    Fill(gif, 2, 2, 4, {1, 2, 3, 4});
    gif.SetTransIndex(3);
    gif.SetFrameDelay(25);
    gif.SetDisposalMethod(2);
    std::vector<uint8_t> b = EncodeGif(gif);
    size_t at = 13 + 48;
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + long(at), b.begin() + long(at + 8)),
              (std::vector<uint8_t>{0x21, 0xF9, 4, 1 | (2 << 2), 25, 0, 3, 0}));
    auto back = DecodeGif(b);
    EXPECT_EQ(back->GetTransIndex(), 3);
    EXPECT_EQ(back->GetFrameDelay(), 25u);
    EXPECT_EQ(back->GetDisposalMethod(), 2);
}

TEST(GifEncode, LoopBlockCarriesRepeatsAfterTheFirstPlay)
{
    struct Case {
        int32_t loops;
        int value; // -1: no block
    };
    for (Case c : {Case{1, -1}, Case{0, 0}, Case{2, 1}, Case{10, 9}}) {
        CrImage a, b;
        Fill(a, 2, 1, 8, {1, 2});
        Fill(b, 2, 1, 8, {3, 4});
        CrImage* frames[] = {&a, &b};
        CrImageGIF gif;
        gif.SetLoops(c.loops);
        std::vector<uint8_t> bytes = EncodeAnimation(gif, frames, 2, false, false);
        size_t at = Find(bytes, "NETSCAPE2.0");
        if (c.value < 0) {
            EXPECT_EQ(at, std::string::npos);
        } else {
            ASSERT_NE(at, std::string::npos);
            EXPECT_EQ(bytes[at + 12], 1);
            EXPECT_EQ(bytes[at + 13] | (bytes[at + 14] << 8), c.value);
        }
        EXPECT_EQ(DecodeGif(bytes)->GetLoops(), c.loops) << c.loops;
    }
}

TEST(GifEncode, AnimationKeepsEachFramesColours)
{
    CrImage a, b, c;
    Fill(a, 3, 2, 8, Pixels(6, 256, 1), 0);
    Fill(b, 3, 2, 8, Pixels(6, 256, 2), 0);  // same palette as the first
    Fill(c, 3, 2, 4, Pixels(6, 16, 3), 40); // other colours
    b.SetFrameDelay(7);
    CrImage* frames[] = {&a, &b, &c};
    CrImageGIF gif;
    std::vector<uint8_t> bytes = EncodeAnimation(gif, frames, 3, false, true);
    auto back = DecodeGif(bytes, true);
    ASSERT_EQ(back->GetNumFrames(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Picture(*back->GetFrame(i)), Picture(*frames[i])) << i;
    EXPECT_EQ(back->GetFrame(1)->GetFrameDelay(), 7u);
}

TEST(GifEncode, AnimationChecksItsImages)
{
    CrImage good, empty, rgb;
    Fill(good, 2, 2, 8, {0, 1, 2, 3});
    ASSERT_TRUE(rgb.Create(2, 2, 24));
    struct Case {
        std::vector<CrImage*> frames;
        const char* text;
    };
    const Case cases[] = {
        {{}, "multipage GIF, no images!"},
        {{nullptr}, "multipage GIF, no images!"},
        {{&good, nullptr}, "Bad image pointer"},
        {{&good, &empty}, "Empty image"},
        {{&good, &rgb}, "CrImageGIF::Encode cannot create animated GIFs with a true color frame. Use DecreaseBpp before"},
    };
    for (const Case& c : cases) {
        CrImageGIF gif;
        CrMemFile file;
        file.Open();
        CrImage** frames = c.frames.empty() ? nullptr : const_cast<CrImage**>(c.frames.data());
        EXPECT_FALSE(gif.Encode(&file, frames, int32_t(c.frames.size())));
        EXPECT_STREQ(gif.GetLastError(), c.text);
    }
    CrImageGIF gif;
    CrImage* frames[] = {&good};
    EXPECT_FALSE(gif.Encode(nullptr, frames, 1));
    EXPECT_STREQ(gif.GetLastError(), "invalid file pointer");
}

TEST(GifEncode, TrueColourIsCutIntoTilesWithTheirOwnPalettes)
{
    CrImageGIF gif;
    ASSERT_TRUE(gif.Create(40, 20, 24, CRIMAGE_FORMAT_GIF));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            gif.SetPixelColor(x, y, CrRgbQuad{uint8_t(x * 6), uint8_t(y * 12), uint8_t(x * y), 0});
    std::vector<uint8_t> b = EncodeGif(gif);
    EXPECT_EQ(b[10], 0x11);
    // Descriptors in order: position and size, each with a 256-entry local table.
    struct Tile {
        int x, y, w, h;
    };
    std::vector<Tile> expected = {{0, 0, 17, 15}, {17, 0, 17, 15}, {34, 0, 6, 15},
                                  {0, 15, 17, 5}, {17, 15, 17, 5}, {34, 15, 6, 5}};
    std::vector<Tile> found;
    for (size_t i = 13; i + 10 < b.size(); ++i) {
        if (b[i] == 0x2C && b[i - 1] == 0 && b[i - 8] == 0x21 && b[i - 7] == 0xF9) {
            found.push_back({b[i + 1] | b[i + 2] << 8, b[i + 3] | b[i + 4] << 8, b[i + 5] | b[i + 6] << 8, b[i + 7] | b[i + 8] << 8});
            EXPECT_EQ(b[i + 9], 0x87);
        }
    }
    ASSERT_EQ(found.size(), expected.size());
    for (size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].x, expected[i].x);
        EXPECT_EQ(found[i].y, expected[i].y);
        EXPECT_EQ(found[i].w, expected[i].w);
        EXPECT_EQ(found[i].h, expected[i].h);
    }
    auto back = DecodeGif(b);
    EXPECT_EQ(back->GetBpp(), 24u);
    EXPECT_EQ(Picture(*back), Picture(gif));
}

TEST(GifEncode, TrueColourTransparencySurvives)
{
    CrImageGIF gif;
    ASSERT_TRUE(gif.Create(20, 16, 24, CRIMAGE_FORMAT_GIF));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x)
            gif.SetPixelColor(x, y, (x + y) % 3 ? CrRgbQuad{10, 20, 30, 0} : CrRgbQuad{uint8_t(x), 90, uint8_t(y), 0});
    gif.SetTransColor(CrRgbQuad{10, 20, 30, 0});
    gif.SetTransIndex(0);
    std::vector<uint8_t> b = EncodeGif(gif);
    auto back = DecodeGif(b);
    EXPECT_EQ(Picture(*back), Picture(gif));
    EXPECT_TRUE(back->IsTransparent());
    CrRgbQuad t = back->GetTransColor();
    EXPECT_EQ(t.rgbBlue, 10);
    EXPECT_EQ(t.rgbGreen, 20);
    EXPECT_EQ(t.rgbRed, 30);
}

TEST(GifEncode, WriteErrorFails)
{
    CrImageGIF whole;
    Fill(whole, 40, 30, 8, Pixels(1200, 256, 9));
    const uint32_t size = uint32_t(EncodeGif(whole).size());
    for (uint32_t budget : {0u, 5u, 13u, size / 2, size - 1}) {
        CrImageGIF gif;
        Fill(gif, 40, 30, 8, Pixels(1200, 256, 9));
        ShortFile file(budget);
        EXPECT_FALSE(gif.Encode(&file)) << budget;
        EXPECT_STREQ(gif.GetLastError(), "Write Error in GIF file");
    }
}

TEST(GifEncode, CommentOfADecodedFileIsWrittenAgain)
{
    GifBytes g;
    g.Header(2, 1, Colors(4)).Comment(std::string(255, 'c')).Image([] {
        ImageSpec s;
        s.width = 2;
        s.height = 1;
        s.pixels = {1, 2};
        return s;
    }());
    g.Trailer();
    CrImageGIF gif;
    CrMemFile in(g.b.data(), uint32_t(g.b.size()));
    ASSERT_TRUE(gif.Decode(&in));
    std::vector<uint8_t> b = EncodeGif(gif);
    char comment[256];
    DecodeGif(b)->GetComment(comment);
    EXPECT_EQ(std::string(comment), std::string(255, 'c'));
}

TEST(GifEncode, FrameArrayOfADecodedAnimationIsWrittenAsAnAnimation)
{
    CrImage a, b;
    Fill(a, 3, 1, 8, {1, 2, 3}, 0);
    Fill(b, 3, 1, 8, {4, 5, 6}, 0);
    b.SetFrameDelay(3);
    CrImage* frames[] = {&a, &b};
    CrImageGIF writer;
    std::vector<uint8_t> bytes = EncodeAnimation(writer, frames, 2, true, true);
    auto decoded = DecodeGif(bytes, true);
    ASSERT_EQ(decoded->GetNumFrames(), 2);

    std::vector<uint8_t> again = EncodeGif(*decoded);
    auto back = DecodeGif(again, true);
    ASSERT_EQ(back->GetNumFrames(), 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(Picture(*back->GetFrame(i)), Picture(*frames[i])) << i;
}
