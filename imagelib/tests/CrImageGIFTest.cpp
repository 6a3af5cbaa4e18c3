// Decoding GIF streams into composed pictures.
#include "CrImageGIF.h"
#include "CrMemFile.h"
#include "GifTestStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace giftest;

namespace {

// A decoder asked for one frame, as the dispatch asks through the info block.
struct PickGif : CrImageGIF {
    void Request(int32_t n) { m_info.requestedFrame = n; }
};

bool DecodeInto(CrImageGIF& gif, std::vector<uint8_t>& bytes)
{
    CrMemFile file(bytes.data(), uint32_t(bytes.size()));
    return gif.Decode(&file);
}

// Every frame; null when the stream does not decode.
std::unique_ptr<CrImageGIF> DecodeAll(std::vector<uint8_t>& bytes)
{
    auto gif = std::make_unique<CrImageGIF>();
    gif->SetRetrieveAllFrames(true);
    if (!DecodeInto(*gif, bytes))
        gif.reset();
    return gif;
}

std::vector<uint8_t> Fill(int w, int h, uint8_t v) { return std::vector<uint8_t>(size_t(w * h), v); }

ImageSpec Spec(int left, int top, int w, int h, std::vector<uint8_t> pixels)
{
    ImageSpec s;
    s.left = left;
    s.top = top;
    s.width = w;
    s.height = h;
    s.pixels = std::move(pixels);
    return s;
}

std::vector<uint8_t> Ramp(int n, int mod)
{
    std::vector<uint8_t> v(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        v[size_t(i)] = uint8_t(i % mod);
    return v;
}

} // namespace

TEST(GifDecode, StillImageKeepsIndicesPaletteAndFacts)
{
    auto table = Colors(256);
    auto pixels = Ramp(7 * 5, 256);
    GifBytes g;
    g.Header(7, 5, table).Control(0, 12).Image(Spec(0, 0, 7, 5, pixels)).Trailer();
    CrImageGIF gif;
    ASSERT_TRUE(DecodeInto(gif, g.b));
    EXPECT_EQ(gif.GetWidth(), 7);
    EXPECT_EQ(gif.GetHeight(), 5);
    EXPECT_EQ(gif.GetBpp(), 8u);
    EXPECT_EQ(gif.GetType(), uint32_t(CRIMAGE_FORMAT_GIF));
    EXPECT_EQ(gif.GetNumFrames(), 1);
    EXPECT_EQ(gif.GetFrameDelay(), 12u);
    EXPECT_EQ(gif.GetTransIndex(), -1);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(gif.GetPixelIndex(x, 4 - y), pixels[size_t(y * 7 + x)]);
            EXPECT_TRUE(At(gif, x, y) == table[pixels[size_t(y * 7 + x)]]);
        }
}

TEST(GifDecode, DepthFollowsTheColourTable)
{
    struct Case {
        uint32_t colors;
        uint32_t bpp;
    };
    for (Case c : {Case{2, 1}, Case{4, 4}, Case{16, 4}, Case{32, 8}, Case{256, 8}}) {
        auto table = Colors(c.colors);
        auto pixels = Ramp(9 * 3, int(c.colors));
        ImageSpec s = Spec(0, 0, 9, 3, pixels);
        s.minCodeSize = std::max<uint32_t>(2, c.bpp);
        GifBytes g;
        g.Header(9, 3, table).Image(s).Trailer();
        CrImageGIF gif;
        ASSERT_TRUE(DecodeInto(gif, g.b)) << c.colors;
        EXPECT_EQ(gif.GetBpp(), c.bpp) << c.colors;
        for (int i = 0; i < 27; ++i)
            EXPECT_TRUE(At(gif, i % 9, i / 9) == table[pixels[size_t(i)]]) << c.colors << " pixel " << i;
    }
}

TEST(GifDecode, RefusesWhatIsNotAGifAndLeavesTheErrorText)
{
    std::vector<uint8_t> bytes = {'G', 'I', 'F', '7', '9', 'a', 1, 0, 1, 0, 0, 0, 0, ';'};
    CrImageGIF gif;
    EXPECT_FALSE(DecodeInto(gif, bytes));
    EXPECT_STREQ(gif.GetLastError(), "");
    EXPECT_FALSE(gif.Decode(nullptr));
}

TEST(GifDecode, SizeOnlyRequestReadsTheScreen)
{
    GifBytes g;
    g.Header(300, 200, Colors(2)).Image(Spec(0, 0, 1, 1, {1})).Trailer();
    CrImageGIF gif;
    gif.SetEscape(-1);
    ASSERT_TRUE(DecodeInto(gif, g.b));
    EXPECT_EQ(gif.GetWidth(), 300);
    EXPECT_EQ(gif.GetHeight(), 200);
    EXPECT_FALSE(gif.IsValid());
}

TEST(GifDecode, ZeroScreenTakesTheFirstImageSize)
{
    GifBytes g;
    g.Header(0, 0, Colors(4)).Image(Spec(0, 0, 3, 2, Ramp(6, 4))).Trailer();
    CrImageGIF gif;
    ASSERT_TRUE(DecodeInto(gif, g.b));
    EXPECT_EQ(gif.GetWidth(), 3);
    EXPECT_EQ(gif.GetHeight(), 2);
}

TEST(GifDecode, FramesOutsideTheScreenAreClippedAndCounted)
{
    auto table = Colors(4);
    GifBytes g;
    g.Header(4, 4, table)
        .Image(Spec(0, 0, 4, 4, Fill(4, 4, 0)))
        .Image(Spec(2, 3, 5, 3, Fill(5, 3, 1)))       // sticks out right and below
        .Image(Spec(65535, 65534, 10, 10, Fill(10, 10, 2))) // beyond 16 bits
        .Image(Spec(0, 0, 1, 1, {3}))
        .Trailer();
    auto decoded = DecodeAll(g.b);
    ASSERT_TRUE(decoded);
    CrImageGIF& gif = *decoded;
    ASSERT_EQ(gif.GetNumFrames(), 4);
    const CrImage* f1 = gif.GetFrame(1);
    ASSERT_NE(f1, nullptr);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_TRUE(At(*f1, x, y) == table[(x >= 2 && y == 3) ? 1 : 0]) << x << "," << y;
    EXPECT_EQ(Picture(*gif.GetFrame(2)), Picture(*f1));
    EXPECT_TRUE(At(*gif.GetFrame(3), 0, 0) == table[3]);
}

TEST(GifDecode, InterlacedRowsLandInPlaceForEveryHeight)
{
    auto table = Colors(16);
    for (int h = 1; h <= 17; ++h) {
        std::vector<uint8_t> pixels;
        for (int y = 0; y < h; ++y)
            pixels.insert(pixels.end(), {uint8_t(y % 16), uint8_t((y + 1) % 16)});
        ImageSpec s = Spec(0, 0, 2, h, pixels);
        s.interlaced = true;
        s.minCodeSize = 4;
        GifBytes g;
        g.Header(2, uint32_t(h), table).Image(s).Trailer();
        CrImageGIF gif;
        ASSERT_TRUE(DecodeInto(gif, g.b)) << h;
        for (int y = 0; y < h; ++y)
            EXPECT_TRUE(At(gif, 1, y) == table[(y + 1) % 16]) << "height " << h << " row " << y;
    }
}

TEST(GifDecode, EmptySubBlockEndsTheCodeStream)
{
    auto table = Colors(4);
    GifBytes g;
    g.Header(2, 1, table).Control(0, 0, 3).Raw({0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0, 2});
    CodeBits c;
    c.Put(4, 3);
    c.Put(1, 3);
    auto first = c.SubBlocks(); // one sub-block with one pixel, then the terminator
    g.Raw(first);
    g.Image(Spec(1, 0, 1, 1, {2})).Trailer();
    auto decoded = DecodeAll(g.b);
    ASSERT_TRUE(decoded);
    CrImageGIF& gif = *decoded;
    ASSERT_EQ(gif.GetNumFrames(), 2);
    EXPECT_TRUE(At(*gif.GetFrame(0), 0, 0) == table[1]);
    EXPECT_TRUE(At(*gif.GetFrame(0), 1, 0) == table[3]); // undecoded: the screen shows through
    EXPECT_TRUE(At(*gif.GetFrame(1), 1, 0) == table[2]);
}

TEST(GifDecode, RequestedFrameStopsThereWithoutRetrieveAll)
{
    auto table = Colors(8);
    GifBytes g;
    g.Header(5, 1, table);
    for (int i = 0; i < 5; ++i)
        g.Control(1, uint16_t(10 + i)).Image(Spec(i, 0, 1, 1, {uint8_t(i + 1)}));
    g.Trailer();
    PickGif picker;
    picker.Request(2);
    ASSERT_TRUE(DecodeInto(picker, g.b));
    EXPECT_EQ(picker.GetFrameDelay(), 12u);
    for (int x = 0; x < 5; ++x)
        EXPECT_TRUE(At(picker, x, 0) == table[x <= 2 ? x + 1 : 0]) << x;
    picker.Request(5);
    EXPECT_FALSE(DecodeInto(picker, g.b));
    EXPECT_EQ(picker.GetNumFrames(), 5);
}

TEST(GifDecode, RetrieveAllStoresEveryComposedFrame)
{
    auto table = Colors(8);
    GifBytes g;
    g.Header(3, 1, table).Loop(0);
    for (int i = 0; i < 3; ++i)
        g.Control(1, uint16_t(5 * (i + 1))).Image(Spec(i, 0, 1, 1, {uint8_t(i + 1)}));
    g.Trailer();
    auto decoded = DecodeAll(g.b);
    ASSERT_TRUE(decoded);
    CrImageGIF& gif = *decoded;
    ASSERT_EQ(gif.GetNumFrames(), 3);
    for (int i = 0; i < 3; ++i) {
        const CrImage* f = gif.GetFrame(i);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->GetWidth(), 3);
        EXPECT_EQ(f->GetFrameDelay(), uint32_t(5 * (i + 1)));
        EXPECT_EQ(f->GetDisposalMethod(), 1);
        for (int x = 0; x < 3; ++x)
            EXPECT_TRUE(At(*f, x, 0) == table[x <= i ? x + 1 : 0]) << i << "," << x;
    }
    EXPECT_EQ(Picture(gif), Picture(*gif.GetFrame(2)));
    EXPECT_EQ(gif.GetLoops(), 0);
}

TEST(GifDecode, RestoreToBackgroundClearsOnlyThePreviousRectangle)
{
    auto table = Colors(4);
    GifBytes g;
    g.Header(4, 1, table)
        .Control(1)
        .Image(Spec(0, 0, 4, 1, {1, 1, 1, 1}))
        .Control(2)
        .Image(Spec(1, 0, 1, 1, {2}))
        .Control(1)
        .Image(Spec(3, 0, 1, 1, {3}))
        .Trailer();
    auto decoded = DecodeAll(g.b);
    ASSERT_TRUE(decoded);
    CrImageGIF& gif = *decoded;
    const CrImage* f = gif.GetFrame(2);
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(At(*f, 0, 0) == table[1]);
    EXPECT_TRUE(At(*f, 1, 0) == table[0]); // background (no graphic control index: 0)
    EXPECT_TRUE(At(*f, 2, 0) == table[1]);
    EXPECT_TRUE(At(*f, 3, 0) == table[3]);
}

TEST(GifDecode, RestoreToPreviousBringsBackThePictureBeforeThatFrame)
{
    auto table = Colors(4);
    GifBytes g;
    g.Header(3, 1, table)
        .Control(0)
        .Image(Spec(0, 0, 3, 1, {1, 1, 1}))
        .Control(1)
        .Image(Spec(0, 0, 1, 1, {2}))
        .Control(3)
        .Image(Spec(0, 0, 2, 1, {3, 3}))
        .Image(Spec(2, 0, 1, 1, {0}))
        .Trailer();
    auto decoded = DecodeAll(g.b);
    ASSERT_TRUE(decoded);
    CrImageGIF& gif = *decoded;
    const CrImage* f2 = gif.GetFrame(2);
    const CrImage* f3 = gif.GetFrame(3);
    ASSERT_TRUE(f2 && f3);
    EXPECT_TRUE(At(*f2, 0, 0) == table[3]);
    EXPECT_TRUE(At(*f2, 1, 0) == table[3]);
    EXPECT_TRUE(At(*f3, 0, 0) == table[2]);
    EXPECT_TRUE(At(*f3, 1, 0) == table[1]);
    EXPECT_TRUE(At(*f3, 2, 0) == table[0]);
}

TEST(GifDecode, GraphicControlBelongsToTheNextImageOnly)
{
    auto table = Colors(4);
    GifBytes g;
    g.Header(2, 1, table)
        .Control(2, 40, 1)
        .Image(Spec(0, 0, 2, 1, {2, 2}))
        .Image(Spec(0, 0, 2, 1, {1, 3})) // no control: opaque, no delay, no disposal
        .Trailer();
    auto decoded = DecodeAll(g.b);
    ASSERT_TRUE(decoded);
    CrImageGIF& gif = *decoded;
    const CrImage* f1 = gif.GetFrame(1);
    ASSERT_NE(f1, nullptr);
    EXPECT_EQ(f1->GetFrameDelay(), 0u);
    EXPECT_EQ(f1->GetDisposalMethod(), 0);
    EXPECT_EQ(gif.GetFrame(0)->GetFrameDelay(), 40u);
    EXPECT_TRUE(At(*f1, 0, 0) == table[1]); // index 1 is drawn: the transparency was the first frame's
    EXPECT_TRUE(At(*f1, 1, 0) == table[3]);
}

TEST(GifDecode, TransparentPixelsLeaveTheScreen)
{
    auto table = Colors(4);
    GifBytes g;
    g.Header(3, 1, table)
        .Image(Spec(0, 0, 3, 1, {1, 1, 1}))
        .Control(0, 0, 2)
        .Image(Spec(0, 0, 3, 1, {2, 3, 2}))
        .Trailer();
    PickGif picker;
    picker.Request(1);
    ASSERT_TRUE(DecodeInto(picker, g.b));
    EXPECT_TRUE(At(picker, 0, 0) == table[1]);
    EXPECT_TRUE(At(picker, 1, 0) == table[3]);
    EXPECT_TRUE(At(picker, 2, 0) == table[1]);
}

TEST(GifDecode, TransparentIndexOutsideTheTableIsNoTransparency)
{
    auto table = Colors(4);
    const CrRgbColor black{0, 0, 0};
    // The second frame marks index 6 transparent, which its four colours do not have.
    for (const std::vector<CrRgbColor>& local : {std::vector<CrRgbColor>{}, Colors(4, 9)}) {
        ImageSpec second = Spec(0, 0, 3, 1, {6, 3, 6});
        second.local = local;
        GifBytes g;
        g.Header(3, 1, table).Image(Spec(0, 0, 3, 1, {1, 1, 1})).Control(0, 0, 6).Image(second).Trailer();
        auto decoded = DecodeAll(g.b);
        ASSERT_TRUE(decoded);
        const CrImage* f = decoded->GetFrame(1);
        ASSERT_NE(f, nullptr);
        const auto& colors = local.empty() ? table : local;
        EXPECT_EQ(Picture(*f), (std::vector<std::string>{Text(black) + Text(colors[3]) + Text(black)}));
    }

    // A still whose transparent index is past its table: opaque, on the header's background.
    GifBytes still;
    still.Header(2, 2, table, 2).Control(0, 0, 200).Image(Spec(0, 0, 2, 1, {1, 200})).Trailer();
    CrImageGIF gif;
    ASSERT_TRUE(DecodeInto(gif, still.b));
    EXPECT_EQ(gif.GetTransIndex(), -1);
    EXPECT_EQ(Picture(gif), (std::vector<std::string>{Text(table[1]) + Text(black), Text(table[2]) + Text(table[2])}));
}

TEST(GifDecode, SmallLocalTablesAreNeverReadPastTheirEnd)
{
    auto global = Colors(256);
    for (uint32_t n : {2u, 16u}) {
        ImageSpec s = Spec(0, 0, 4, 1, Ramp(4, int(n)));
        s.local = Colors(n, 99);
        s.minCodeSize = std::max<uint32_t>(2, n == 2 ? 1 : 4);
        GifBytes g;
        g.Header(4, 2, global).Image(Spec(0, 0, 4, 2, Ramp(8, 256))).Image(s).Trailer();
        CrImageGIF gif;
        gif.SetRetrieveAllFrames(true);
        ASSERT_TRUE(DecodeInto(gif, g.b));
        const CrImage* f1 = gif.GetFrame(1);
        ASSERT_NE(f1, nullptr);
        for (int x = 0; x < 4; ++x) {
            EXPECT_TRUE(At(*f1, x, 0) == s.local[size_t(x) % n]) << n << " " << x;
            EXPECT_TRUE(At(*f1, x, 1) == global[size_t(4 + x)]) << n << " " << x;
        }
    }
}

TEST(GifDecode, FramesWithTheirOwnColoursComposeInTrueColour)
{
    auto global = Colors(4);
    ImageSpec s = Spec(1, 0, 1, 1, {1});
    s.local = Colors(4, 50);
    GifBytes g;
    g.Header(3, 1, global)
        .Image(Spec(0, 0, 3, 1, {1, 2, 3}))
        .Image(s)
        .Image(Spec(2, 0, 1, 1, {0}))
        .Trailer();
    auto decoded = DecodeAll(g.b);
    ASSERT_TRUE(decoded);
    CrImageGIF& gif = *decoded;
    EXPECT_EQ(gif.GetFrame(0)->GetBpp(), 4u);
    const CrImage* f1 = gif.GetFrame(1);
    const CrImage* f2 = gif.GetFrame(2);
    EXPECT_EQ(f1->GetBpp(), 24u);
    EXPECT_TRUE(At(*f1, 0, 0) == global[1]);
    EXPECT_TRUE(At(*f1, 1, 0) == s.local[1]);
    EXPECT_TRUE(At(*f1, 2, 0) == global[3]);
    EXPECT_TRUE(At(*f2, 1, 0) == s.local[1]);
    EXPECT_TRUE(At(*f2, 2, 0) == global[0]);
}

TEST(GifDecode, OddExtensionsArePassedOver)
{
    auto table = Colors(4);
    GifBytes g;
    g.Header(1, 1, table)
        .Raw({0x21, 0xFE, 0})                       // empty comment
        .Raw({0x21, 0xF9, 3, 0x09, 7, 0, 0})         // graphic control of 3 bytes
        .Raw({0x21, 0xFF, 0})                       // empty application block
        .Raw({0x21, 0xFF, 5, 'A', 'B', 'C', 'D', 'E', 0}) // application block of the wrong size
        .Raw({0x21, 0x01, 2, 9, 9, 0})              // unknown label
        .Comment("made here")
        .Image(Spec(0, 0, 1, 1, {2}))
        .Trailer();
    CrImageGIF gif;
    ASSERT_TRUE(DecodeInto(gif, g.b));
    EXPECT_EQ(gif.GetNumFrames(), 1);
    EXPECT_TRUE(At(gif, 0, 0) == table[2]);
    EXPECT_EQ(gif.GetFrameDelay(), 0u);
    char comment[256];
    gif.GetComment(comment);
    EXPECT_STREQ(comment, "made here");
}

TEST(GifDecode, LoopCountComesOnlyFromLoopingBlocks)
{
    struct Case {
        const char* id;
        std::vector<uint8_t> data;
        int32_t loops;
    };
    const Case cases[] = {
        {nullptr, {}, 1},
        {"NETSCAPE2.0", {1, 0, 0}, 0},
        {"NETSCAPE2.0", {1, 4, 0}, 5},
        {"ANIMEXTS1.0", {1, 0, 1}, 257},
        {"XMP DataXMP", {1, 4, 0}, 1},
        {"NETSCAPE2.0", {2, 4, 0}, 1},
        {"NETSCAPE2.0", {1, 4}, 1},
    };
    for (const Case& c : cases) {
        GifBytes g;
        g.Header(1, 1, Colors(2));
        if (c.id)
            g.Application(c.id, c.data);
        g.Image(Spec(0, 0, 1, 1, {0})).Trailer();
        CrImageGIF gif;
        ASSERT_TRUE(DecodeInto(gif, g.b));
        EXPECT_EQ(gif.GetLoops(), c.loops) << (c.id ? c.id : "none");
    }
}

TEST(GifDecode, StrayBytesAreSkippedUpToTheNextZero)
{
    auto table = Colors(4);
    GifBytes g;
    g.Header(2, 1, table).Image(Spec(0, 0, 2, 1, {1, 1}));
    g.Raw({0x55, 0x2C, 0x21, 0x3B, 0x00}); // junk up to and including a zero byte
    g.Image(Spec(1, 0, 1, 1, {3})).Trailer();
    auto decoded = DecodeAll(g.b);
    ASSERT_TRUE(decoded);
    CrImageGIF& gif = *decoded;
    ASSERT_EQ(gif.GetNumFrames(), 2);
    EXPECT_TRUE(At(gif, 1, 0) == table[3]);
}

TEST(GifDecode, TruncatedStreamKeepsTheFramesItHolds)
{
    auto table = Colors(4);
    GifBytes g;
    g.Header(2, 1, table).Image(Spec(0, 0, 2, 1, {1, 2})).Image(Spec(0, 0, 2, 1, {3, 3}));
    std::vector<uint8_t> cut(g.b.begin(), g.b.end() - 3);
    CrImageGIF gif;
    gif.SetRetrieveAllFrames(true);
    ASSERT_TRUE(DecodeInto(gif, cut));
    EXPECT_EQ(gif.GetNumFrames(), 2);
    EXPECT_TRUE(At(*gif.GetFrame(0), 1, 0) == table[2]);
}

TEST(GifDecode, TilesWithoutGlobalTableMakeOneTrueColourPicture)
{
    ImageSpec a = Spec(0, 0, 2, 1, {0, 1});
    a.local = Colors(2, 10);
    a.minCodeSize = 2;
    ImageSpec b = Spec(2, 0, 1, 2, {1, 0});
    b.local = Colors(2, 90);
    b.minCodeSize = 2;
    ImageSpec c = Spec(0, 1, 2, 1, {1, 1});
    c.local = Colors(2, 150);
    c.minCodeSize = 2;
    GifBytes g;
    g.Header(3, 2).Image(a).Image(b).Image(c).Trailer();
    auto decoded = DecodeAll(g.b);
    ASSERT_TRUE(decoded);
    CrImageGIF& gif = *decoded;
    EXPECT_EQ(gif.GetBpp(), 24u);
    EXPECT_EQ(gif.GetNumFrames(), 1);
    ASSERT_NE(gif.GetFrame(0), nullptr);
    EXPECT_TRUE(At(gif, 0, 0) == a.local[0]);
    EXPECT_TRUE(At(gif, 1, 0) == a.local[1]);
    EXPECT_TRUE(At(gif, 2, 0) == b.local[1]);
    EXPECT_TRUE(At(gif, 2, 1) == b.local[0]);
    EXPECT_TRUE(At(gif, 0, 1) == c.local[1]);
    EXPECT_EQ(Picture(gif), Picture(*gif.GetFrame(0)));
}

TEST(GifDecode, EscapeStopsTheDecoder)
{
    GifBytes g;
    g.Header(1, 1, Colors(2)).Image(Spec(0, 0, 1, 1, {1})).Trailer();
    CrImageGIF gif;
    gif.SetEscape(1);
    EXPECT_FALSE(DecodeInto(gif, g.b));
}

TEST(GifDecode, FullCodeTableGoesOnWithoutAClearCode)
{
    struct Case {
        uint32_t minCodeSize;
        uint32_t colors;
        int width, height;
    };
    // At size 11 the table is full after 2046 entries, with 12-bit codes from the start.
    for (const Case& c : {Case{8, 256, 160, 120}, Case{2, 4, 200, 150}, Case{4, 16, 97, 301}, Case{11, 16, 100, 100}}) {
        auto table = Colors(c.colors);
        // Noise fills the table quickly; the flat band after it is coded from the full table.
        std::vector<uint8_t> pixels(size_t(c.width * c.height));
        uint32_t seed = 12345;
        for (size_t i = 0; i < pixels.size(); ++i) {
            seed = seed * 1103515245 + 12345;
            pixels[i] = i < pixels.size() * 3 / 4 ? uint8_t((seed >> 16) % c.colors) : uint8_t(i / 7 % 3);
        }
        size_t fullCodes = 0;
        DeferredClearCodes(pixels, c.minCodeSize, &fullCodes);
        ASSERT_GT(fullCodes, 1000u) << c.minCodeSize;

        ImageSpec s = Spec(0, 0, c.width, c.height, pixels);
        s.minCodeSize = c.minCodeSize;
        s.dictionary = true;
        GifBytes g;
        g.Header(uint32_t(c.width), uint32_t(c.height), table).Image(s).Trailer();
        CrImageGIF gif;
        ASSERT_TRUE(DecodeInto(gif, g.b)) << c.minCodeSize;
        EXPECT_EQ(WrongPixels(gif, pixels, table), 0u) << c.minCodeSize;
    }
}

TEST(GifDecode, EveryMinimumCodeSizeFromTwoToElevenDecodesExactly)
{
    for (uint32_t size = 2; size <= 11; ++size) {
        CodeSizeFixture f = CodeSizeAnimation(size);
        auto decoded = DecodeAll(f.bytes);
        ASSERT_TRUE(decoded) << size;
        ASSERT_EQ(decoded->GetNumFrames(), 2) << size;
        for (int i = 0; i < 2; ++i) {
            ASSERT_NE(decoded->GetFrame(i), nullptr) << size;
            EXPECT_EQ(WrongPixels(*decoded->GetFrame(i), f.frames[size_t(i)], f.table), 0u) << size << " frame " << i;
        }
        CrImage first;
        ASSERT_TRUE(first.Decode(f.bytes.data(), uint32_t(f.bytes.size()), CRIMAGE_FORMAT_GIF)) << size;
        EXPECT_EQ(WrongPixels(first, f.frames[0], f.table), 0u) << size;
    }
}

TEST(GifDecode, MinimumCodeSizesOutsideTwoToElevenAreRefusedWithTheReason)
{
    auto table = Colors(4);
    for (int size : {0, 1, 12, 13, 255}) {
        const std::string reason = "GIF: minimum code size " + std::to_string(size) + " is not valid (2 to 11 are)";
        GifBytes alone;
        ImageWithCodeSize(alone.Header(4, 4, table), uint8_t(size)).Trailer();
        CrImageGIF gif;
        EXPECT_FALSE(DecodeInto(gif, alone.b)) << size;
        EXPECT_EQ(gif.GetLastError(), reason);
        CrImage image;
        EXPECT_FALSE(image.Decode(alone.b.data(), uint32_t(alone.b.size()), CRIMAGE_FORMAT_GIF)) << size;
        EXPECT_EQ(image.GetLastError(), reason);

        // After a good frame: a load of every frame keeps the frames before; a frame asked for at or
        // past the refused one is not there.
        GifBytes later;
        later.Header(4, 4, table).Image(Spec(0, 0, 4, 4, Fill(4, 4, 1)));
        ImageWithCodeSize(later, uint8_t(size)).Image(Spec(0, 0, 4, 4, Fill(4, 4, 2))).Trailer();
        auto decoded = DecodeAll(later.b);
        ASSERT_TRUE(decoded) << size;
        EXPECT_EQ(decoded->GetLastError(), reason);
        ASSERT_EQ(decoded->GetNumFrames(), 3);
        ASSERT_NE(decoded->GetFrame(0), nullptr);
        EXPECT_EQ(WrongPixels(*decoded->GetFrame(0), Fill(4, 4, 1), table), 0u);
        EXPECT_EQ(decoded->GetFrame(1), nullptr);
        EXPECT_EQ(decoded->GetFrame(2), nullptr);
        PickGif picker;
        picker.Request(2);
        EXPECT_FALSE(DecodeInto(picker, later.b)) << size;
        EXPECT_EQ(picker.GetLastError(), reason);
        picker.Request(0);
        EXPECT_TRUE(DecodeInto(picker, later.b)) << size;
    }
}
