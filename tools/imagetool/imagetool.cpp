// imagetool: looks into images through the image library, for tests and benchmarks.
//
//   imagetool info FILE         format, size, depth; for a GIF the loop count and one line per frame
//   imagetool frames FILE DIR   every frame as it is shown, true colour with alpha, as DIR/NNN.png
//   imagetool convert IN OUT    load, then save in the format of OUT's extension
//
// Exits with 1 and the library's error text when an image cannot be read or written.
#include "CString.h"
#include "CrFile.h"
#include "CrGifStream.h"
#include "CrIOFile.h"
#include "CrImage.h"
#include "CrImageGIFEx.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const kFormatNames[] = {"none", "BMP", "GIF", "JPG", "PNG", "ICO"};

uint32_t FormatOfPath(const std::string& path)
{
    std::string ext = path.substr(path.find_last_of('.') == std::string::npos ? path.size() : path.find_last_of('.') + 1);
    for (char& c : ext)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    const char* const exts[] = {"", "bmp", "gif", "jpg", "png", "ico"};
    for (uint32_t id = 1; id <= 5; ++id)
        if (ext == exts[id] || (id == CRIMAGE_FORMAT_JPG && ext == "jpeg"))
            return id;
    return CRIMAGE_FORMAT_UNKNOWN;
}

int Fail(const std::string& what, const char* reason)
{
    std::fprintf(stderr, "imagetool: %s: %s\n", what.c_str(), reason && *reason ? reason : "cannot be read");
    return 1;
}

const char* LoopText(int32_t loops)
{
    static char text[32];
    if (loops == 0)
        return "for ever";
    if (loops == 1)
        return "once";
    std::snprintf(text, sizeof text, "%d times", loops);
    return text;
}

// The frames as the file lists them: placement and graphic control.
bool ScanGif(const std::string& path, CrGifStreamInfo& info)
{
    CrIOFile file;
    if (!file.Open(CString::FromUtf8(path.c_str()), L"rb"))
        return false;
    CrGifReader reader(file);
    if (!GifReadHeader(reader, info))
        return false;
    GifScanBlocks(reader, info);
    return true;
}

int Info(const std::string& path)
{
    CrImage image;
    if (!image.Load(CString::FromUtf8(path.c_str())))
        return Fail(path, image.GetLastError());
    std::printf("format: %s\n", kFormatNames[image.GetType() <= 5 ? image.GetType() : 0]);
    std::printf("size: %d x %d\n", image.GetWidth(), image.GetHeight());
    std::printf("bits per pixel: %u\n", image.GetBpp());
    std::printf("frames: %d\n", std::max(1, image.GetNumFrames()));
    CrGifStreamInfo gif;
    if (image.GetType() != CRIMAGE_FORMAT_GIF || !ScanGif(path, gif))
        return 0;
    std::printf("loops: %d (%s)\n", gif.loops, LoopText(gif.loops));
    if (gif.hasComment)
        std::printf("comment: %s\n", gif.comment);
    for (size_t i = 0; i < gif.frames.size(); ++i) {
        const CrGifFrameRecord& f = gif.frames[i];
        std::printf("frame %zu: delay %u, disposal %u, size %d x %d, offset %d,%d, transparent %d%s%s\n", i, f.delay,
                    f.Disposal(), f.width, f.height, f.left, f.top, f.TransIndex(), f.localColors ? ", local colours" : "",
                    f.interlaced ? ", interlaced" : "");
    }
    return 0;
}

// The frame as it is shown: true colour, transparent pixels with alpha 0, written as PNG.
bool WriteShownFrame(const CrImage& frame, const std::string& path)
{
    CrImage shown(frame);
    if (!shown.IncreaseBpp(24) || !shown.AlphaCreate())
        return false;
    const bool transparent = frame.IsTransparent();
    const int32_t transIndex = frame.GetTransIndex();
    const CrRgbQuad transColor = frame.GetTransColor();
    for (int32_t y = 0; y < frame.GetHeight(); ++y)
        for (int32_t x = 0; x < frame.GetWidth(); ++x) {
            CrRgbQuad c = frame.GetPixelColor(x, y, false);
            const bool clear = transparent && (frame.IsIndexed() ? frame.GetPixelIndex(x, y) == transIndex
                                                                 : (c.rgbRed == transColor.rgbRed && c.rgbGreen == transColor.rgbGreen &&
                                                                    c.rgbBlue == transColor.rgbBlue));
            if (clear)
                shown.AlphaSet(x, y, 0);
        }
    return shown.Save(CString::FromUtf8(path.c_str()), CRIMAGE_FORMAT_PNG);
}

int Frames(const std::string& path, const std::string& dir)
{
    CrImageGIFEx gif;
    gif.SetRetrieveAllFrames(true);
    std::vector<const CrImage*> frames;
    CrImage still;
    struct Quiet : ILoadCallback {
        int OnFramesFound(CrImageGIF*, GifLoadInfo*) override { return 0; }
        int OnFrameDecoded(CrImageGIF*, GifLoadInfo*) override { return 0; }
        int OnLoadFinished(CrImageGIF*, GifLoadInfo*) override { return 0; }
    } quiet;
    if (gif.LoadFrames(CString::FromUtf8(path.c_str()), &quiet) == 0 && gif.GetNumFrames() > 0) {
        for (int32_t i = 0; i < gif.GetNumFrames(); ++i)
            if (const CrImage* f = gif.GetFrame(i))
                frames.push_back(f);
    } else {
        if (!still.Load(CString::FromUtf8(path.c_str())))
            return Fail(path, still.GetLastError());
        frames.push_back(&still);
    }
    for (size_t i = 0; i < frames.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/%03zu.png", i);
        if (!WriteShownFrame(*frames[i], dir + name))
            return Fail(dir + name, "cannot be written");
    }
    std::printf("%zu frames written to %s\n", frames.size(), dir.c_str());
    return 0;
}

int Convert(const std::string& in, const std::string& out)
{
    CrImage image;
    image.SetRetrieveAllFrames(true);
    if (!image.Load(CString::FromUtf8(in.c_str())))
        return Fail(in, image.GetLastError());
    // JPEG holds only true colour and grey.
    const uint32_t format = FormatOfPath(out);
    if (format == CRIMAGE_FORMAT_JPG && image.IsIndexed() && !image.IsGrayScale())
        image.IncreaseBpp(24);
    if (!image.Save(CString::FromUtf8(out.c_str()), format))
        return Fail(out, *image.GetLastError() ? image.GetLastError() : "cannot be written");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "info")
        return Info(args[1]);
    if (args.size() == 3 && args[0] == "frames")
        return Frames(args[1], args[2]);
    if (args.size() == 3 && args[0] == "convert")
        return Convert(args[1], args[2]);
    std::fprintf(stderr, "usage: imagetool info FILE | frames FILE DIR | convert IN OUT\n");
    return 2;
}
