// Our GIF decoder beside giflib on streams whose code table fills up and goes on without a clear
// code: both must give back the indices that were coded.
#include "CrImageGIF.h"
#include "CrMemFile.h"
#include "GifTestStream.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

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

// giflib's indices of the first image, top row first; empty when it cannot read the stream.
std::vector<uint8_t> PeerIndices(const std::vector<uint8_t>& bytes)
{
    Source source{&bytes, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, ReadSource, &error);
    if (!gif)
        return {};
    std::vector<uint8_t> out;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0) {
        const SavedImage& image = gif->SavedImages[0];
        out.assign(image.RasterBits, image.RasterBits + image.ImageDesc.Width * image.ImageDesc.Height);
    }
    DGifCloseFile(gif, &error);
    return out;
}

std::vector<uint8_t> OurIndices(std::vector<uint8_t> bytes)
{
    CrImageGIF gif;
    CrMemFile file(bytes.data(), uint32_t(bytes.size()));
    std::vector<uint8_t> out;
    if (!gif.Decode(&file))
        return out;
    for (int y = gif.GetHeight() - 1; y >= 0; --y)
        for (int x = 0; x < gif.GetWidth(); ++x)
            out.push_back(gif.GetPixelIndex(x, y));
    return out;
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
