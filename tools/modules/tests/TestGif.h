#pragma once
// Animated GIFs for the stand-in's tests, written plainly: a 256-colour palette, every pixel one
// 9-bit code with a clear code before the table would grow, one delay per frame (a negative
// delay writes the frame without its control block).
#include <cstdint>
#include <string>
#include <vector>

// The palette index of a pixel: different in every column, row and frame.
inline uint8_t TestGifIndex(int x, int y, int frame)
{
    return uint8_t((x * 7 + y * 13 + frame * 50) % 256);
}

// The colour of a palette index.
inline void TestGifColour(uint8_t index, uint8_t rgb[3])
{
    for (int c = 0; c < 3; ++c)
        rgb[c] = uint8_t((index * 3 + c) * 37 % 256);
}

inline std::string MakeTestGif(int width, int height, const std::vector<int>& delays)
{
    std::string gif = "GIF89a";
    auto word = [&gif](int value) {
        gif += char(value & 0xFF);
        gif += char((value >> 8) & 0xFF);
    };
    word(width);
    word(height);
    gif += char(0xF7);
    gif += '\0';
    gif += '\0';
    for (int i = 0; i < 256; ++i) {
        uint8_t rgb[3];
        TestGifColour(uint8_t(i), rgb);
        gif.append(reinterpret_cast<const char*>(rgb), 3);
    }
    for (size_t frame = 0; frame < delays.size(); ++frame) {
        if (delays[frame] >= 0) {
            gif += std::string("\x21\xF9\x04\x00", 4);
            word(delays[frame]);
            gif += std::string("\x00\x00", 2);
        }
        gif += '\x2C';
        word(0);
        word(0);
        word(width);
        word(height);
        gif += '\0';
        gif += '\x08';
        std::string data;
        uint32_t bits = 0;
        int count = 0;
        auto code = [&](int value) {
            bits |= uint32_t(value) << count;
            for (count += 9; count >= 8; count -= 8, bits >>= 8)
                data += char(bits & 0xFF);
        };
        int sinceClear = 0;
        code(256);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                if (sinceClear == 254) {
                    code(256);
                    sinceClear = 0;
                }
                code(TestGifIndex(x, y, int(frame)));
                ++sinceClear;
            }
        code(257);
        if (count)
            data += char(bits & 0xFF);
        for (size_t at = 0; at < data.size(); at += 255) {
            const std::string block = data.substr(at, 255);
            gif += char(block.size());
            gif += block;
        }
        gif += '\0';
    }
    gif += '\x3B';
    return gif;
}
