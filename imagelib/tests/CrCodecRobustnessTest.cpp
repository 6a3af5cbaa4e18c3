// Damaged JPEG, PNG, BMP and ICO files: every truncation of every fixture and a fixed set of seeded
// mutations, decoded by their own codec and by detection. Nothing may crash, leak or overrun (run
// under the sanitizers), and a decoded picture must be whole.
#include "CodecTestSupport.h"

#include <random>

using namespace codectest;

namespace {

struct Fixture {
    std::string name;
    uint32_t formatId;
    Bytes bytes;
};

Bytes Encoded(CrImage image, uint32_t formatId, uint32_t options = 0)
{
    image.SetCodecOption(options, formatId);
    Bytes bytes = EncodeBytes(image, formatId);
    EXPECT_FALSE(bytes.empty()) << image.GetLastError();
    return bytes;
}

CrImage WithAlpha(CrImage image)
{
    AddAlphaPattern(image);
    return image;
}

CrImage Transparent(CrImage image, int32_t index)
{
    image.SetTransIndex(index);
    return image;
}

Bytes Rle8()
{
    LE b;
    b.U16(0x4D42).U32(0).U32(0).U32(14 + 40 + 16);
    b.U32(40).U32(6).U32(3).U16(1).U16(8).U32(1).U32(0).U32(0).U32(0).U32(4).U32(0);
    b.U32(0xFF0000).U32(0xFF00).U32(0xFF).U32(0xFFFFFF);
    return b.Raw({3, 1, 0, 3, 2, 3, 2, 0, 0, 0, 0, 2, 2, 1, 2, 3, 0, 1}).b;
}

Bytes Rle4()
{
    LE b;
    b.U16(0x4D42).U32(0).U32(0).U32(14 + 40 + 16);
    b.U32(40).U32(6).U32(3).U16(1).U16(4).U32(2).U32(0).U32(0).U32(0).U32(4).U32(0);
    b.U32(0xFF0000).U32(0xFF00).U32(0xFF).U32(0xFFFFFF);
    return b.Raw({4, 0x12, 0, 3, 0x31, 0x20, 0, 0, 20, 0x33, 0, 0, 9, 0x21, 0, 1}).b;
}

Bytes BitFields565()
{
    LE b;
    b.U16(0x4D42).U32(0).U32(0).U32(14 + 124);
    b.U32(124).U32(4).U32(2).U16(1).U16(16).U32(3).U32(0).U32(0).U32(0).U32(0).U32(0);
    b.U32(0xF800).U32(0x07E0).U32(0x001F).Zeros(124 - 52);
    return b.Raw({0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0xFF, 0xFF, 1, 2, 3, 4, 5, 6, 7, 8}).b;
}

Bytes Os2Core()
{
    LE b;
    b.U16(0x4D42).U32(0).U32(0).U32(14 + 12 + 6);
    b.U32(12).U16(2).U16(2).U16(1).U16(1);
    return b.Raw({0, 0, 255, 255, 0, 0, 0x40, 0, 0, 0, 0x80, 0, 0, 0}).b;
}

Bytes PngIcon()
{
    Bytes png = Encoded(Indexed(10, 4, 8), CRIMAGE_FORMAT_PNG);
    LE b;
    b.U16(0).U16(1).U16(1).U8(0).U8(0).U8(0).U8(0).U16(1).U16(8).U32(uint32_t(png.size())).U32(22);
    return b.Raw(png).b;
}

std::vector<Fixture> Fixtures()
{
    std::vector<Fixture> out;
    out.push_back({"baseline JPEG", CRIMAGE_FORMAT_JPG, Encoded(Noise(24, 16), CRIMAGE_FORMAT_JPG)});
    out.push_back({"progressive JPEG", CRIMAGE_FORMAT_JPG, Encoded(Smooth(21, 13), CRIMAGE_FORMAT_JPG, 0x10)});
    out.push_back({"grey JPEG", CRIMAGE_FORMAT_JPG, Encoded(GrayRamp(17, 9, 8), CRIMAGE_FORMAT_JPG)});
    out.push_back({"arithmetic JPEG", CRIMAGE_FORMAT_JPG, Encoded(Smooth(16, 16), CRIMAGE_FORMAT_JPG, 0x02)});
    out.push_back({"palette PNG", CRIMAGE_FORMAT_PNG, Encoded(Transparent(Indexed(13, 7, 8), 3), CRIMAGE_FORMAT_PNG)});
    out.push_back({"interlaced 4-bit PNG", CRIMAGE_FORMAT_PNG, Encoded(Indexed(11, 9, 4), CRIMAGE_FORMAT_PNG, 1)});
    out.push_back({"RGBA PNG", CRIMAGE_FORMAT_PNG, Encoded(WithAlpha(Rgb24(9, 6)), CRIMAGE_FORMAT_PNG)});
    out.push_back({"interlaced grey alpha PNG", CRIMAGE_FORMAT_PNG, Encoded(WithAlpha(GrayRamp(7, 7, 8)), CRIMAGE_FORMAT_PNG, 1)});
    out.push_back({"1-bit BMP", CRIMAGE_FORMAT_BMP, Encoded(Indexed(13, 5, 1), CRIMAGE_FORMAT_BMP)});
    out.push_back({"32-bit BMP", CRIMAGE_FORMAT_BMP, Encoded(WithAlpha(Rgb24(5, 4)), CRIMAGE_FORMAT_BMP)});
    out.push_back({"RLE8 BMP", CRIMAGE_FORMAT_BMP, Rle8()});
    out.push_back({"RLE4 BMP", CRIMAGE_FORMAT_BMP, Rle4()});
    out.push_back({"V5 bit-field BMP", CRIMAGE_FORMAT_BMP, BitFields565()});
    out.push_back({"OS/2 BMP", CRIMAGE_FORMAT_BMP, Os2Core()});
    out.push_back({"4-bit icon", CRIMAGE_FORMAT_ICO, Encoded(Transparent(Indexed(16, 8, 4), 2), CRIMAGE_FORMAT_ICO)});
    out.push_back({"32-bit icon", CRIMAGE_FORMAT_ICO, Encoded(WithAlpha(Rgb24(6, 5)), CRIMAGE_FORMAT_ICO)});
    out.push_back({"PNG icon", CRIMAGE_FORMAT_ICO, PngIcon()});
    return out;
}

void DecodeBothWays(const Bytes& bytes, uint32_t formatId, const std::string& what)
{
    for (uint32_t id : {formatId, uint32_t(CRIMAGE_FORMAT_UNKNOWN)}) {
        CrImage image;
        if (!DecodeBytes(image, bytes, id) || !image.IsValid())
            continue;
        ASSERT_GT(image.GetWidth(), 0) << what;
        ASSERT_GT(image.GetHeight(), 0) << what;
        // Touch the corners of the pixels and planes.
        image.GetPixelColor(0, 0);
        image.GetPixelColor(image.GetWidth() - 1, image.GetHeight() - 1);
    }
}

Bytes Mutate(const Bytes& in, std::mt19937& rng)
{
    Bytes b = in;
    static const uint8_t kSpecial[] = {0x00, 0xFF, 0x7F, 0x80, 0x01, 0xD8, 0xDA, 0xC0, 0xC4, 0x49};
    const int edits = 1 + int(rng() % 4);
    for (int e = 0; e < edits && !b.empty(); ++e) {
        const size_t at = rng() % b.size();
        switch (rng() % 5) {
        case 0: b[at] = uint8_t(rng()); break;
        case 1: b[at] = kSpecial[rng() % sizeof kSpecial]; break;
        case 2: b[at] ^= uint8_t(1u << (rng() % 8)); break;
        case 3: b.insert(b.begin() + long(at), uint8_t(rng())); break;
        default: b.erase(b.begin() + long(at)); break;
        }
    }
    return b;
}

} // namespace

TEST(CodecRobustness, EveryTruncationDecodes)
{
    for (const Fixture& f : Fixtures()) {
        ASSERT_GT(f.bytes.size(), 16u) << f.name;
        for (size_t n = 0; n < f.bytes.size(); ++n)
            DecodeBothWays(Bytes(f.bytes.begin(), f.bytes.begin() + long(n)), f.formatId,
                           f.name + " cut at " + std::to_string(n));
    }
}

TEST(CodecRobustness, SeededMutationsDecode)
{
    std::mt19937 rng(20240611);
    for (const Fixture& f : Fixtures())
        for (int i = 0; i < 300; ++i)
            DecodeBothWays(Mutate(f.bytes, rng), f.formatId, f.name + " mutation " + std::to_string(i));
}
