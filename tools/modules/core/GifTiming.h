#pragma once
// What the encoder needs to know of a GIF source before ffmpeg reads it: its picture size and how
// long each frame shows, read from the file's blocks without decoding any picture.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

struct CGifTiming {
    int m_width = 0;
    int m_height = 0;
    // Hundredths of a second per frame, as the viewer plays them: a delay under 5 (a frame
    // without a delay too) shows for 10.
    std::vector<int> m_delays;
};

// Below this many hundredths a delay is played at kGifDefaultDelay.
constexpr int kGifMinDelay = 5;
constexpr int kGifDefaultDelay = 10;

// True when the bytes are a GIF with at least one frame; a file cut short keeps the frames
// before the cut.
bool ReadGifTiming(const uint8_t* data, size_t size, CGifTiming& timing);

// The same from an open file, read from its start; only a file that begins as a GIF is read on,
// so the input of a frame grab may be a video of any length.
bool ReadGifTimingFile(FILE* file, CGifTiming& timing);
