#pragma once
// Small GIF streams written byte by byte for the codec tests. Image data is written as plain codes
// with a clear code often enough that the code width never grows, or by a dictionary encoder of the
// tests' own, so the fixtures do not depend on the encoder under test.
#include "CrBitmapTypes.h"
#include "CrImage.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace giftest {

inline std::vector<CrRgbColor> Colors(uint32_t n, uint8_t seed = 0)
{
    std::vector<CrRgbColor> table(n);
    for (uint32_t i = 0; i < n; ++i)
        table[i] = CrRgbColor{uint8_t(i * 37 + seed), uint8_t(i * 91 + 7 + seed), uint8_t(i * 13 + 200 - seed)};
    return table;
}

// Codes least significant bit first, in sub-blocks of up to 255 bytes.
class CodeBits {
public:
    void Put(uint32_t code, uint32_t width)
    {
        acc |= uint64_t(code) << bits;
        bits += width;
        while (bits >= 8) {
            bytes.push_back(uint8_t(acc));
            acc >>= 8;
            bits -= 8;
        }
    }
    std::vector<uint8_t> SubBlocks()
    {
        if (bits > 0)
            bytes.push_back(uint8_t(acc));
        acc = 0;
        bits = 0;
        std::vector<uint8_t> out;
        for (size_t i = 0; i < bytes.size(); i += 255) {
            size_t n = std::min<size_t>(255, bytes.size() - i);
            out.push_back(uint8_t(n));
            out.insert(out.end(), bytes.begin() + long(i), bytes.begin() + long(i + n));
        }
        out.push_back(0);
        return out;
    }

private:
    std::vector<uint8_t> bytes;
    uint64_t acc = 0;
    uint32_t bits = 0;
};

inline std::vector<uint8_t> PlainCodes(const std::vector<uint8_t>& pixels, uint32_t minCodeSize)
{
    const uint32_t clear = 1u << minCodeSize, width = minCodeSize + 1;
    CodeBits c;
    uint32_t sinceClear = 0;
    c.Put(clear, width);
    for (uint8_t p : pixels) {
        if (sinceClear == clear - 2) {
            c.Put(clear, width);
            sinceClear = 0;
        }
        c.Put(p, width);
        ++sinceClear;
    }
    c.Put(clear + 1, width);
    return c.SubBlocks();
}

// A textbook LZW encoder: strings are matched against a dictionary and the code width grows with it.
// Once the table is full (4096 codes) it goes on in 12-bit codes with the table as it is and sends
// no clear code until the end ("deferred clear"), as some writers do.
// `fullCodes` counts the codes sent with the table full.
inline std::vector<uint8_t> DeferredClearCodes(const std::vector<uint8_t>& pixels, uint32_t minCodeSize,
                                               size_t* fullCodes = nullptr)
{
    const uint32_t clear = 1u << minCodeSize;
    uint32_t width = minCodeSize + 1, next = clear + 2;
    std::map<std::pair<uint32_t, uint8_t>, uint32_t> table;
    CodeBits c;
    c.Put(clear, width);
    if (pixels.empty()) {
        c.Put(clear + 1, width);
        return c.SubBlocks();
    }
    uint32_t prefix = pixels[0];
    for (size_t i = 1; i < pixels.size(); ++i) {
        auto found = table.find({prefix, pixels[i]});
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        c.Put(prefix, width);
        if (next == 4096 && fullCodes)
            ++*fullCodes;
        if (next < 4096) {
            table[{prefix, pixels[i]}] = next++;
            if (next > (1u << width) && width < 12)
                ++width;
        }
        prefix = pixels[i];
    }
    c.Put(prefix, width);
    // The reader adds an entry for that last code before it reads the end code: its width may grow.
    if (pixels.size() > 1 && next < 4096 && ++next > (1u << width) && width < 12)
        ++width;
    c.Put(clear + 1, width);
    return c.SubBlocks();
}

struct ImageSpec {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<uint8_t> pixels;        // top row first
    std::vector<CrRgbColor> local;      // a local table when not empty (2, 4, ... 256 entries)
    bool interlaced = false;
    uint32_t minCodeSize = 8;
    bool dictionary = false;            // coded with DeferredClearCodes instead of plain codes
};

class GifBytes {
public:
    std::vector<uint8_t> b;

    GifBytes& Raw(std::initializer_list<uint8_t> bytes)
    {
        b.insert(b.end(), bytes);
        return *this;
    }
    GifBytes& Raw(const std::vector<uint8_t>& bytes)
    {
        b.insert(b.end(), bytes.begin(), bytes.end());
        return *this;
    }
    GifBytes& Word(uint32_t v) { return Raw({uint8_t(v), uint8_t(v >> 8)}); }

    GifBytes& Header(uint32_t w, uint32_t h, const std::vector<CrRgbColor>& global = {}, uint8_t background = 0)
    {
        for (char ch : std::string("GIF89a"))
            b.push_back(uint8_t(ch));
        Word(w).Word(h);
        b.push_back(global.empty() ? 0 : uint8_t(0xF0 | TableBits(global.size())));
        Raw({background, 0});
        Table(global);
        return *this;
    }
    GifBytes& Control(uint8_t disposal, uint16_t delay = 0, int trans = -1)
    {
        Raw({0x21, 0xF9, 4, uint8_t((disposal << 2) | (trans >= 0 ? 1 : 0))});
        Word(delay);
        return Raw({uint8_t(trans >= 0 ? trans : 0), 0});
    }
    GifBytes& Comment(const std::string& text)
    {
        Raw({0x21, 0xFE, uint8_t(text.size())});
        b.insert(b.end(), text.begin(), text.end());
        return Raw({0});
    }
    GifBytes& Application(const std::string& id, const std::vector<uint8_t>& data)
    {
        Raw({0x21, 0xFF, 11});
        b.insert(b.end(), id.begin(), id.end());
        b.push_back(uint8_t(data.size()));
        Raw(data);
        return Raw({0});
    }
    GifBytes& Loop(uint16_t repeats) { return Application("NETSCAPE2.0", {1, uint8_t(repeats), uint8_t(repeats >> 8)}); }
    GifBytes& Descriptor(const ImageSpec& s)
    {
        b.push_back(0x2C);
        Word(uint32_t(s.left)).Word(uint32_t(s.top)).Word(uint32_t(s.width)).Word(uint32_t(s.height));
        b.push_back(uint8_t((s.local.empty() ? 0 : 0x80 | TableBits(s.local.size())) | (s.interlaced ? 0x40 : 0)));
        Table(s.local);
        return *this;
    }
    GifBytes& Image(const ImageSpec& s)
    {
        Descriptor(s);
        b.push_back(uint8_t(s.minCodeSize));
        const std::vector<uint8_t>& order = s.interlaced ? InterlacedOrder(s) : s.pixels;
        return Raw(s.dictionary ? DeferredClearCodes(order, s.minCodeSize) : PlainCodes(order, s.minCodeSize));
    }
    GifBytes& Trailer() { return Raw({0x3B}); }

    static std::vector<uint8_t> InterlacedOrder(const ImageSpec& s)
    {
        std::vector<uint8_t> out;
        const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        for (int p = 0; p < 4; ++p)
            for (int y = start[p]; y < s.height; y += step[p])
                out.insert(out.end(), s.pixels.begin() + y * s.width, s.pixels.begin() + (y + 1) * s.width);
        return out;
    }

private:
    static uint8_t TableBits(size_t n)
    {
        uint8_t bits = 0;
        while ((2u << bits) < n)
            ++bits;
        return bits;
    }
    void Table(const std::vector<CrRgbColor>& t)
    {
        for (const CrRgbColor& c : t)
            Raw({c.r, c.g, c.b});
    }
};

// A two-frame animation whose images are coded with the given minimum code size by the dictionary
// encoder: a 100 x 100 picture of runs and noise, then a 40 x 30 patch over it. Colours are as many
// as the roots allow, at most 16.
struct CodeSizeFixture {
    std::vector<CrRgbColor> table;
    std::vector<uint8_t> bytes;
    std::vector<std::vector<uint8_t>> frames;  // the composed screen after each image, top row first
    static constexpr int kSide = 100;
};

inline CodeSizeFixture CodeSizeAnimation(uint32_t minCodeSize)
{
    CodeSizeFixture f;
    const uint32_t colors = std::min(1u << minCodeSize, 16u);
    f.table = Colors(colors);
    const int side = CodeSizeFixture::kSide;
    ImageSpec full;
    full.width = full.height = side;
    uint32_t seed = 99 + minCodeSize, value = 0;
    for (int i = 0; i < side * side; ++i) {
        seed = seed * 1103515245u + 12345u;
        if ((seed >> 16) % 4 == 0)
            value = (seed >> 20) % colors;
        full.pixels.push_back(uint8_t(value));
    }
    ImageSpec patch;
    patch.left = 10;
    patch.top = 20;
    patch.width = 40;
    patch.height = 30;
    for (int i = 0; i < patch.width * patch.height; ++i)
        patch.pixels.push_back(uint8_t((i / 3 + i / 40) % colors));
    GifBytes g;
    g.Header(side, side, f.table);
    for (ImageSpec* s : {&full, &patch}) {
        s->minCodeSize = minCodeSize;
        s->dictionary = true;
        g.Control(1, 10).Image(*s);
    }
    f.bytes = g.Trailer().b;
    f.frames.push_back(full.pixels);
    std::vector<uint8_t> composed = full.pixels;
    for (int y = 0; y < patch.height; ++y)
        for (int x = 0; x < patch.width; ++x)
            composed[size_t((patch.top + y) * side + patch.left + x)] = patch.pixels[size_t(y * patch.width + x)];
    f.frames.push_back(composed);
    return f;
}

// Pixel colour with y counted from the top.
inline CrRgbColor At(const CrImage& image, int x, int y)
{
    CrRgbQuad q = image.GetPixelColor(x, image.GetHeight() - 1 - y, false);
    return CrRgbColor{q.rgbRed, q.rgbGreen, q.rgbBlue};
}

inline bool operator==(const CrRgbColor& a, const CrRgbColor& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

inline std::string Text(const CrRgbColor& c)
{
    return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

// Every pixel of the image (top row first) as colours.
inline std::vector<std::string> Picture(const CrImage& image)
{
    std::vector<std::string> out;
    for (int y = 0; y < image.GetHeight(); ++y) {
        std::string row;
        for (int x = 0; x < image.GetWidth(); ++x)
            row += Text(At(image, x, y));
        out.push_back(row);
    }
    return out;
}

// Pixels of the image (top row first) whose colour is not that of the index at their place.
inline size_t WrongPixels(const CrImage& image, const std::vector<uint8_t>& indices,
                          const std::vector<CrRgbColor>& table)
{
    const int w = image.GetWidth(), h = image.GetHeight();
    if (size_t(w) * size_t(h) != indices.size())
        return indices.size() + 1;
    size_t wrong = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            wrong += !(At(image, x, y) == table[indices[size_t(y * w + x)]]);
    return wrong;
}

// An image of 4 x 4 pixels whose data declares `minCodeSize`, whatever it is.
inline GifBytes& ImageWithCodeSize(GifBytes& g, uint8_t minCodeSize)
{
    ImageSpec s;
    s.width = s.height = 4;
    return g.Descriptor(s).Raw({minCodeSize, 2, 0x55, 0x55, 0});
}

} // namespace giftest
