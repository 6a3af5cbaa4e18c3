// Our GIF decoder beside giflib: on streams whose code table fills up and goes on without a clear
// code both must give back the indices that were coded, and on a long animation our composed frames
// must be giflib's images drawn in turn onto the screen.
#include "CrImageGIF.h"
#include "CrMemFile.h"
#include "GifTestStream.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

using namespace giftest;

namespace {

struct Source {
    const std::vector<uint8_t>* bytes;
    size_t at;
};

int ReadSource(GifFileType* gif, GifByteType* out, int n)
{
    Source* s = static_cast<Source*>(gif->UserData);
    size_t take = std::min(size_t(n), s->bytes->size() - s->at);
    std::memcpy(out, s->bytes->data() + s->at, take);
    s->at += take;
    return int(take);
}

// giflib's screens after each image, top row first: the first image covers the screen, the others
// are drawn over it with their transparency, and "restore to previous" puts back what was under them.
// With `firstOnly` the first image alone. Empty when giflib cannot read the stream.
std::vector<std::vector<uint8_t>> PeerScreens(const std::vector<uint8_t>& bytes, bool firstOnly = false)
{
    Source source{&bytes, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, ReadSource, &error);
    if (!gif)
        return {};
    std::vector<std::vector<uint8_t>> screens;
    std::vector<uint8_t> screen(size_t(gif->SWidth) * size_t(gif->SHeight));
    const int images = DGifSlurp(gif) == GIF_OK ? (firstOnly ? std::min(gif->ImageCount, 1) : gif->ImageCount) : 0;
    for (int i = 0; i < images; ++i) {
        const GifImageDesc& d = gif->SavedImages[i].ImageDesc;
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
        DGifSavedExtensionToGCB(gif, i, &control);
        const std::vector<uint8_t> under = screen;
        for (int y = 0; y < d.Height; ++y)
            for (int x = 0; x < d.Width; ++x) {
                uint8_t index = gif->SavedImages[i].RasterBits[size_t(y) * size_t(d.Width) + size_t(x)];
                if (index != control.TransparentColor)
                    screen[size_t(d.Top + y) * size_t(gif->SWidth) + size_t(d.Left + x)] = index;
            }
        screens.push_back(screen);
        if (control.DisposalMode == DISPOSE_PREVIOUS)
            screen = under;
    }
    DGifCloseFile(gif, &error);
    return screens;
}

std::vector<uint8_t> Indices(const CrImage& image)
{
    std::vector<uint8_t> out;
    for (int y = image.GetHeight() - 1; y >= 0; --y)
        for (int x = 0; x < image.GetWidth(); ++x)
            out.push_back(image.GetPixelIndex(x, y));
    return out;
}

std::vector<uint8_t> PeerIndices(const std::vector<uint8_t>& bytes)
{
    std::vector<std::vector<uint8_t>> screens = PeerScreens(bytes, true);
    return screens.empty() ? std::vector<uint8_t>() : screens[0];
}

std::vector<uint8_t> OurIndices(std::vector<uint8_t> bytes)
{
    CrImageGIF gif;
    CrMemFile file(bytes.data(), uint32_t(bytes.size()));
    return gif.Decode(&file) ? Indices(gif) : std::vector<uint8_t>();
}

} // namespace

TEST(GifPeer, FullCodeTableWithoutClearDecodesLikeGiflib)
{
    for (uint32_t min = 2; min <= 8; ++min) {
        const int width = 240, height = 200;
        std::vector<uint8_t> pixels(size_t(width * height));
        uint32_t seed = 99 + min;
        for (size_t i = 0; i < pixels.size(); ++i) {
            seed = seed * 1103515245 + 12345;
            pixels[i] = uint8_t(i % 5 == 0 ? i / width % (1u << min) : (seed >> 16) % (1u << min));
        }
        size_t fullCodes = 0;
        DeferredClearCodes(pixels, min, &fullCodes);
        ASSERT_GT(fullCodes, 100u) << min;

        ImageSpec s;
        s.width = width;
        s.height = height;
        s.pixels = pixels;
        s.minCodeSize = min;
        s.dictionary = true;
        GifBytes g;
        g.Header(width, height, Colors(1u << min)).Image(s).Trailer();
        EXPECT_TRUE(PeerIndices(g.b) == pixels) << "giflib, code size " << min;
        EXPECT_TRUE(OurIndices(g.b) == pixels) << "ours, code size " << min;
    }
}

TEST(GifPeer, LongAnimationComposesLikeGiflib)
{
    // Enough full screens to be kept in more than one run of memory: 100 of 1000 x 700.
    const int width = 1000, height = 700, frames = 100;
    std::mt19937 rng(5);
    GifBytes g;
    g.Header(width, height, Colors(256));
    for (int i = 0; i < frames; ++i) {
        ImageSpec s;
        s.width = i == 0 ? width : 8 + int(rng() % 200);
        s.height = i == 0 ? height : 8 + int(rng() % 150);
        s.left = i == 0 ? 0 : int(rng() % uint32_t(width - s.width));
        s.top = i == 0 ? 0 : int(rng() % uint32_t(height - s.height));
        for (int p = 0; p < s.width * s.height; ++p)
            s.pixels.push_back(uint8_t(i == 0 ? p % 251 : rng() % 3 ? 255 : rng() % 200));
        s.interlaced = i % 7 == 3;
        s.dictionary = i % 2 == 0;
        g.Control(i % 5 == 4 ? 3 : 1, 4, i == 0 ? -1 : 255).Image(s);
    }
    g.Trailer();
    std::vector<std::vector<uint8_t>> peer = PeerScreens(g.b);
    ASSERT_EQ(peer.size(), size_t(frames));

    CrImageGIF gif;
    gif.SetRetrieveAllFrames(true);
    CrMemFile file(g.b.data(), uint32_t(g.b.size()));
    ASSERT_TRUE(gif.Decode(&file));
    ASSERT_EQ(gif.GetNumFrames(), frames);
    for (int i = 0; i < frames; ++i) {
        ASSERT_NE(gif.GetFrame(i), nullptr) << i;
        EXPECT_TRUE(Indices(*gif.GetFrame(i)) == peer[size_t(i)]) << "frame " << i;
    }
}
