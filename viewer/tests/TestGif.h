#pragma once
// GIF files of our own making for the viewer's tests and benchmarks: each frame one solid colour.
#include <cstdint>
#include <vector>

#include "CString.h"
#include "CrIOFile.h"
#include "CrImageGIF.h"

struct TestFrame {
    uint8_t r, g, b;
    uint32_t delay;   // hundredths of a second
};

// Writes the frames as one animation and deletes them.
inline bool WriteGifFrames(const CString& path, std::vector<CrImage*>& images)
{
    CrImageGIF gif;
    CrIOFile file;
    bool ok = file.Open(path, L"wb") && gif.Encode(&file, images.data(), int32_t(images.size()), true, false);
    file.Close();
    for (CrImage* image : images)
        delete image;
    images.clear();
    return ok;
}

// An animation whose frames are each one solid colour.
inline bool WriteTestGif(const CString& path, int width, int height, const std::vector<TestFrame>& frames)
{
    std::vector<CrImage*> images;
    for (const TestFrame& f : frames) {
        CrImage* image = new CrImage(width, height, 8, CRIMAGE_FORMAT_GIF);
        image->SetPaletteColor(0, CrRgbQuad{f.b, f.g, f.r, 0});
        image->Clear(0);
        image->SetFrameDelay(f.delay);
        images.push_back(image);
    }
    return WriteGifFrames(path, images);
}

// The colours of ColourFrames, in turn: neighbours always differ.
inline const std::vector<TestFrame>& FrameColours()
{
    static const std::vector<TestFrame> colours = {{220, 40, 40, 0},  {40, 200, 60, 0}, {40, 80, 230, 0},
                                                   {230, 210, 40, 0}, {200, 50, 200, 0}, {40, 210, 210, 0}};
    return colours;
}

// Solid-colour frames with the given delays, each colour distinct from its neighbours.
inline std::vector<TestFrame> ColourFrames(int count, uint32_t delay)
{
    const std::vector<TestFrame>& colours = FrameColours();
    std::vector<TestFrame> frames;
    for (int i = 0; i < count; i++) {
        TestFrame f = colours[size_t(i) % colours.size()];
        f.delay = delay;
        frames.push_back(f);
    }
    return frames;
}
