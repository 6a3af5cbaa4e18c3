#pragma once
// Fixtures of the viewer's tests: GIF files of our own making and a scratch folder per test
// (ScratchFolderTest).
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "CString.h"
#include "FsPath.h"
#include "CrIOFile.h"
#include "CrImageGIF.h"
#include "ScratchFolder.h"

#if defined(_WIN32) && __has_include("FwTestSupport.h")
#include "FwTestSupport.h"
#else
inline void PrintTo(const CString& text, std::ostream* os) { *os << '"' << text.ToUtf8() << '"'; }
#endif

struct TestFrame {
    uint8_t r, g, b;
    uint32_t delay;   // hundredths of a second
};

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
    CrImageGIF gif;
    CrIOFile file;
    bool ok = file.Open(path, L"wb") && gif.Encode(&file, images.data(), int32_t(images.size()), true, false);
    file.Close();
    for (CrImage* image : images)
        delete image;
    return ok;
}

