// Damaged GIF streams: every truncation of every fixture and a fixed set of seeded mutations,
// decoded whole and frame by frame. Nothing may crash, leak or overrun (run under the sanitizers),
// and every stored frame must have the picture's size.
#include "CrImageGIF.h"
#include "CrImageGIFEx.h"
#include "CrMemFile.h"
#include "GifTestStream.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace giftest;

namespace {

struct Fixture {
    std::string name;
    std::vector<uint8_t> bytes;
};

ImageSpec Spec(int left, int top, int w, int h, uint32_t colors, uint32_t seed)
{
    ImageSpec s;
    s.left = left;
    s.top = top;
    s.width = w;
    s.height = h;
    std::mt19937 rng(seed);
    for (int i = 0; i < w * h; ++i)
        s.pixels.push_back(uint8_t(rng() % colors));
    uint32_t bits = 2;
    while ((1u << bits) < colors)
        ++bits;
    s.minCodeSize = bits;
    return s;
}

std::vector<uint8_t> Encoded(CrImage& image, uint32_t kind)
{
    image.SetCodecOption(kind, CRIMAGE_FORMAT_GIF);
    uint8_t* data = nullptr;
    int32_t size = 0;
    EXPECT_TRUE(image.Encode(&data, &size, CRIMAGE_FORMAT_GIF)) << image.GetLastError();
    std::vector<uint8_t> bytes(data, data + size);
    std::free(data);
    return bytes;
}

CrImage Indexed(int w, int h, uint32_t bpp, uint32_t seed)
{
    CrImage image;
    image.Create(w, h, bpp, CRIMAGE_FORMAT_GIF);
    std::vector<CrRgbColor> table = Colors(image.GetNumColors(), uint8_t(seed));
    image.SetPalette(table.data(), uint32_t(table.size()));
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.SetPixelIndex(x, y, uint8_t((rng() % 3 ? x / 3 + y : rng()) % image.GetNumColors()));
    return image;
}

std::vector<Fixture> Fixtures()
{
    std::vector<Fixture> out;
    {
        GifBytes g;
        ImageSpec interlaced = Spec(2, 1, 9, 11, 16, 3);
        interlaced.interlaced = true;
        ImageSpec local2 = Spec(0, 0, 6, 4, 2, 4);
        local2.local = Colors(2, 9);
        ImageSpec local16 = Spec(5, 5, 7, 7, 16, 5);
        local16.local = Colors(16, 30);
        g.Header(12, 12, Colors(16), 3)
            .Loop(3)
            .Comment("robust")
            .Control(2, 5, 4)
            .Image(Spec(0, 0, 12, 12, 16, 1))
            .Control(3, 5)
            .Image(interlaced)
            .Control(1, 0, 1)
            .Image(local2)
            .Raw({0x77, 0x01, 0x00})
            .Application("ANIMEXTS1.0", {1, 2, 0})
            .Control(0)
            .Image(local16)
            .Image(Spec(8, 8, 10, 10, 16, 6))
            .Trailer();
        out.push_back({"built animation", g.b});
    }
    {
        GifBytes g;
        g.Header(0, 0).Image(Spec(0, 0, 5, 3, 4, 7)).Trailer();
        out.push_back({"zero screen, no table", g.b});
    }
    {
        CrImage a = Indexed(40, 30, 8, 11);
        out.push_back({"8-bit LZW", Encoded(a, 0)});
        CrImage b = Indexed(17, 9, 4, 12);
        out.push_back({"4-bit uncompressed", Encoded(b, 1)});
        CrImage c = Indexed(33, 20, 1, 13);
        out.push_back({"1-bit run-length", Encoded(c, 2)});
        CrImage d = Indexed(36, 18, 8, 14);
        out.push_back({"8-bit run-length", Encoded(d, 2)});
    }
    {
        CrImage rgb;
        rgb.Create(25, 18, 24, CRIMAGE_FORMAT_GIF);
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 25; ++x)
                rgb.SetPixelColor(x, y, CrRgbQuad{uint8_t(x * 9), uint8_t(y * 13), uint8_t(x ^ y), 0});
        out.push_back({"true-colour tiles", Encoded(rgb, 0)});
    }
    {
        CrImage f0 = Indexed(20, 10, 8, 21), f1 = Indexed(20, 10, 4, 22), f2 = Indexed(20, 10, 8, 23);
        f1.SetTransIndex(2);
        f2.SetDisposalMethod(3);
        CrImage* frames[] = {&f0, &f1, &f2};
        CrImageGIF gif;
        gif.SetLoops(0);
        CrMemFile file;
        file.Open();
        EXPECT_TRUE(gif.Encode(&file, frames, 3, true, true));
        uint8_t* data = file.GetBuffer(false);
        out.push_back({"encoded animation", std::vector<uint8_t>(data, data + file.Size())});
    }
    return out;
}

class FrameChecker : public ILoadCallback {
public:
    int OnFramesFound(CrImageGIF*, GifLoadInfo* info) override
    {
        EXPECT_GE(info->frameCount, 1);
        return 0;
    }
    int OnFrameDecoded(CrImageGIF* gif, GifLoadInfo* info) override
    {
        const CrImage* frame = gif->GetFrame(info->frameIndex);
        EXPECT_NE(frame, nullptr);
        if (frame) {
            EXPECT_GT(frame->GetWidth(), 0);
            frame->GetPixelColor(frame->GetWidth() - 1, frame->GetHeight() - 1);
        }
        return 0;
    }
    int OnLoadFinished(CrImageGIF*, GifLoadInfo*) override { return 0; }
};

void DecodeBothWays(std::vector<uint8_t>& bytes, const std::string& what)
{
    {
        CrImage image;
        if (image.Decode(bytes.data(), uint32_t(bytes.size()), CRIMAGE_FORMAT_UNKNOWN) && image.IsValid())
            image.GetPixelColor(image.GetWidth() / 2, image.GetHeight() / 2);
    }
    CrImageGIFEx gif;
    gif.SetRetrieveAllFrames(true);
    FrameChecker checker;
    CrMemFile file(bytes.data(), uint32_t(bytes.size()));
    if (gif.DecodeFrames(&file, &checker) == 0 && gif.IsValid()) {
        for (int i = 0; i < gif.GetNumFrames(); ++i) {
            const CrImage* f = gif.GetFrame(i);
            if (!f)
                continue;
            ASSERT_EQ(f->GetWidth(), gif.GetWidth()) << what;
            ASSERT_EQ(f->GetHeight(), gif.GetHeight()) << what;
        }
    }
}

std::vector<uint8_t> Mutate(const std::vector<uint8_t>& in, std::mt19937& rng)
{
    std::vector<uint8_t> b = in;
    static const uint8_t kSpecial[] = {0x00, 0xFF, 0x2C, 0x21, 0x3B, 0xF9, 0x80, 0x01, 0x0B};
    int edits = 1 + int(rng() % 4);
    for (int e = 0; e < edits && !b.empty(); ++e) {
        size_t at = rng() % b.size();
        switch (rng() % 5) {
        case 0:
            b[at] = uint8_t(rng());
            break;
        case 1:
            b[at] = kSpecial[rng() % sizeof kSpecial];
            break;
        case 2:
            b[at] ^= uint8_t(1u << (rng() % 8));
            break;
        case 3:
            b.insert(b.begin() + long(at), uint8_t(rng()));
            break;
        default:
            b.erase(b.begin() + long(at));
            break;
        }
    }
    return b;
}

} // namespace

TEST(GifRobustness, EveryTruncationDecodes)
{
    for (const Fixture& f : Fixtures()) {
        ASSERT_GT(f.bytes.size(), 13u) << f.name;
        for (size_t n = 0; n <= f.bytes.size(); ++n) {
            std::vector<uint8_t> cut(f.bytes.begin(), f.bytes.begin() + long(n));
            DecodeBothWays(cut, f.name + " cut at " + std::to_string(n));
        }
    }
}

TEST(GifRobustness, SeededMutationsDecode)
{
    std::mt19937 rng(20240601);
    for (const Fixture& f : Fixtures()) {
        for (int i = 0; i < 400; ++i) {
            std::vector<uint8_t> mutated = Mutate(f.bytes, rng);
            DecodeBothWays(mutated, f.name + " mutation " + std::to_string(i));
        }
    }
}
