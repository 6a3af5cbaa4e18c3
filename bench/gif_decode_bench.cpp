// GIF decoding speed: every frame of a file composed into full pictures, as the viewer needs them,
// against giflib (DGifSlurp and the same composition) and stb_image (stbi_load_gif_from_memory),
// measured in the same run on the same bytes. Times are the best of several runs (quick mode runs
// fewer), so a pass disturbed by other work on the machine does not count. Peak memory is what one
// decode adds to the resident set, measured in a child process of its own.
//
//   gif_decode_bench [--quick] [extra.gif ...]
//
// Inputs: a large still, a long animation and a screencast-like animation generated here (written by
// our encoder), the real-world files of ../shared/bench-data when that folder exists, and any files
// given on the command line.
#include "CrImage.h"
#include "CrImageGIF.h"
#include "CrMemFile.h"

#include <gif_lib.h>
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_GIF
#include <stb_image.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <functional>
#include <malloc.h>
#include <random>
#include <string>
#include <utility>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Input {
    std::string name;
    std::vector<uint8_t> bytes;
};

// ---- Generated inputs ----

void SetRamp(CrImage& image, uint32_t seed)
{
    std::vector<CrRgbColor> pal(256);
    for (int i = 0; i < 256; ++i)
        pal[size_t(i)] = CrRgbColor{uint8_t(i), uint8_t((i * 7 + seed) & 255), uint8_t(255 - i)};
    image.SetPalette(pal.data(), 256);
}

std::vector<uint8_t> EncodeFrames(std::vector<CrImage>& frames)
{
    std::vector<CrImage*> ptrs;
    for (CrImage& f : frames)
        ptrs.push_back(&f);
    CrImageGIF gif;
    gif.SetLoops(0);
    CrMemFile file;
    file.Open();
    if (!gif.Encode(&file, ptrs.data(), int32_t(ptrs.size()), false, true))
        return {};
    const uint8_t* data = file.GetBuffer(false);
    return std::vector<uint8_t>(data, data + file.Size());
}

// A photograph-like still: smooth shading with grain, so the codes run long but not endless.
Input LargeStill()
{
    const int w = 1200, h = 900;
    CrImage image;
    image.Create(w, h, 8, CRIMAGE_FORMAT_GIF);
    SetRamp(image, 3);
    std::mt19937 rng(1);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = image.GetBits(uint32_t(y));
        for (int x = 0; x < w; ++x) {
            double v = 128 + 60 * std::sin(x / 90.0) * std::cos(y / 70.0) + (x + y) / 40.0;
            row[x] = uint8_t(int(v + rng() % 5) & 255);
        }
    }
    uint8_t* data = nullptr;
    int32_t size = 0;
    Input in{"generated still 1200x900", {}};
    if (image.Encode(&data, &size, CRIMAGE_FORMAT_GIF))
        in.bytes.assign(data, data + size);
    std::free(data);
    return in;
}

// Full frames of a moving pattern.
Input LongAnimation()
{
    const int w = 320, h = 240, n = 300;
    std::vector<CrImage> frames(n);
    for (int i = 0; i < n; ++i) {
        CrImage& f = frames[size_t(i)];
        f.Create(w, h, 8, CRIMAGE_FORMAT_GIF);
        SetRamp(f, 5);
        f.SetFrameDelay(4);
        for (int y = 0; y < h; ++y) {
            uint8_t* row = f.GetBits(uint32_t(y));
            for (int x = 0; x < w; ++x) {
                int dx = x - w / 2 - int(80 * std::sin(i / 20.0)), dy = y - h / 2;
                row[x] = uint8_t(((dx * dx + dy * dy) >> 8) / (4 + i % 8) + (x / 40) * 2);
            }
        }
    }
    return {"generated animation 320x240x300", EncodeFrames(frames)};
}

// A screen recording: one full desktop, then small rectangles that change, over a transparent rest.
Input Screencast()
{
    const int w = 800, h = 600, n = 300;
    std::vector<CrImage> frames(n);
    std::mt19937 rng(2);
    for (int i = 0; i < n; ++i) {
        CrImage& f = frames[size_t(i)];
        int fw = i == 0 ? w : 24 + int(rng() % 60), fh = i == 0 ? h : 12 + int(rng() % 30);
        f.Create(fw, fh, 8, CRIMAGE_FORMAT_GIF);
        SetRamp(f, 5);
        f.SetFrameDelay(10);
        f.SetOffset(i == 0 ? 0 : int32_t(rng() % uint32_t(w - fw)), i == 0 ? 0 : int32_t(rng() % uint32_t(h - fh)));
        for (int y = 0; y < fh; ++y) {
            uint8_t* row = f.GetBits(uint32_t(y));
            for (int x = 0; x < fw; ++x)
                row[x] = i == 0 ? uint8_t(((x / 50) + (y / 30)) % 2 ? 240 : (x * y) % 13 + 20) : uint8_t(rng() % 4 ? 255 : rng() % 200);
        }
        if (i > 0)
            f.SetTransIndex(255);
    }
    return {"generated screencast 800x600x300", EncodeFrames(frames)};
}

bool ReadFile(const std::string& path, std::vector<uint8_t>& out)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    int c;
    out.clear();
    while ((c = std::fgetc(f)) != EOF)
        out.push_back(uint8_t(c));
    std::fclose(f);
    return true;
}

void AddFolder(const std::string& dir, std::vector<Input>& inputs)
{
    DIR* d = opendir(dir.c_str());
    if (!d)
        return;
    std::vector<std::string> names;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name.size() > 4 && name.substr(name.size() - 4) == ".gif")
            names.push_back(name);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        Input in{name, {}};
        if (ReadFile(dir + "/" + name, in.bytes))
            inputs.push_back(in);
    }
}

// ---- The decoders ----

struct Result {
    int frames = 0;
};

Result Ours(const std::vector<uint8_t>& bytes)
{
    CrImage image;
    image.SetRetrieveAllFrames(true);
    if (!image.Decode(const_cast<uint8_t*>(bytes.data()), uint32_t(bytes.size()), CRIMAGE_FORMAT_GIF))
        return {};
    return {std::max(1, image.GetNumFrames())};
}

struct MemReader {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

int ReadMem(GifFileType* gif, GifByteType* buf, int n)
{
    MemReader* r = static_cast<MemReader*>(gif->UserData);
    size_t take = std::min(size_t(n), r->size - r->pos);
    std::memcpy(buf, r->data + r->pos, take);
    r->pos += take;
    return int(take);
}

// giflib reads the file; the composition onto the screen with disposal and transparency is the same
// work our decoder does, into one indexed picture per frame.
Result Giflib(const std::vector<uint8_t>& bytes)
{
    MemReader reader{bytes.data(), bytes.size(), 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadMem, &error);
    if (!gif)
        return {};
    if (DGifSlurp(gif) != GIF_OK) {
        DGifCloseFile(gif, &error);
        return {};
    }
    const int w = gif->SWidth, h = gif->SHeight;
    std::vector<uint8_t> canvas(size_t(w) * h, uint8_t(gif->SBackGroundColor));
    std::vector<uint8_t> saved;
    std::vector<std::vector<uint8_t>> frames;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& img = gif->SavedImages[i];
        GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
        DGifSavedExtensionToGCB(gif, i, &gcb);
        const GifImageDesc& d = img.ImageDesc;
        if (gcb.DisposalMode == DISPOSE_PREVIOUS)
            saved = canvas;
        for (int y = 0; y < d.Height && d.Top + y < h; ++y) {
            const uint8_t* src = img.RasterBits + size_t(y) * d.Width;
            uint8_t* dst = canvas.data() + size_t(d.Top + y) * w + d.Left;
            int n = std::min(d.Width, w - d.Left);
            for (int x = 0; x < n; ++x)
                if (src[x] != gcb.TransparentColor)
                    dst[x] = src[x];
        }
        frames.push_back(canvas);
        if (gcb.DisposalMode == DISPOSE_BACKGROUND) {
            for (int y = 0; y < d.Height && d.Top + y < h; ++y)
                std::memset(canvas.data() + size_t(d.Top + y) * w + d.Left, gif->SBackGroundColor,
                            size_t(std::max(0, std::min(d.Width, w - d.Left))));
        } else if (gcb.DisposalMode == DISPOSE_PREVIOUS) {
            canvas = saved;
        }
    }
    Result r{gif->ImageCount};
    DGifCloseFile(gif, &error);
    return r;
}

Result Stb(const std::vector<uint8_t>& bytes)
{
    int *delays = nullptr, x = 0, y = 0, z = 0, comp = 0;
    stbi_uc* pixels = stbi_load_gif_from_memory(bytes.data(), int(bytes.size()), &delays, &x, &y, &z, &comp, 4);
    if (!pixels)
        return {};
    stbi_image_free(pixels);
    stbi_image_free(delays);
    return {z};
}

// Best seconds of several runs: the first pass also pays for pages and caches the others find ready.
double Time(const std::function<Result()>& run, bool quick, int& frames)
{
    double best = 0, total = 0;
    const int minRuns = quick ? 3 : 5;
    const double minTime = quick ? 0.05 : 0.5;
    for (int runs = 0; runs < minRuns || (total < minTime && runs < 200); ++runs) {
        auto t0 = std::chrono::steady_clock::now();
        frames = run().frames;
        double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        best = runs == 0 ? s : std::min(best, s);
        total += s;
    }
    return best;
}

long StatusKB(const char* key)
{
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char line[256];
    long kb = -1;
    const size_t n = std::strlen(key);
    while (kb < 0 && std::fgets(line, sizeof line, f))
        if (std::strncmp(line, key, n) == 0)
            kb = std::atol(line + n);
    std::fclose(f);
    return kb;
}

// Megabytes one run adds to the peak resident set, or -1 when the system cannot tell. The run goes in
// a child process: it starts with the parent's pages, its freed heap handed back and its peak reset.
double PeakMegabytes(const std::function<Result()>& run)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        malloc_trim(0);
        FILE* reset = std::fopen("/proc/self/clear_refs", "w");
        bool ok = reset && std::fputs("5", reset) >= 0;
        ok = reset && std::fclose(reset) == 0 && ok;
        const long before = StatusKB("VmRSS:");
        run();
        const long peak = StatusKB("VmHWM:");
        const long kb = ok && before >= 0 && peak >= before ? peak - before : -1;
        ssize_t written = write(fds[1], &kb, sizeof kb);
        _exit(written == sizeof kb ? 0 : 1);
    }
    close(fds[1]);
    long kb = -1;
    if (pid < 0 || read(fds[0], &kb, sizeof kb) != sizeof kb)
        kb = -1;
    close(fds[0]);
    if (pid > 0)
        waitpid(pid, nullptr, 0);
    return kb < 0 ? -1 : kb / 1024.0;
}

void PrintMegabytes(double mb)
{
    if (mb < 0)
        std::printf(" %7s", "-");
    else
        std::printf(" %7.1f", mb);
}

} // namespace

int main(int argc, char** argv)
{
    bool quick = false;
    std::vector<Input> inputs;
    std::vector<std::string> extra;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0)
            quick = true;
        else
            extra.push_back(argv[i]);
    }
    inputs.push_back(LargeStill());
    inputs.push_back(LongAnimation());
    inputs.push_back(Screencast());
    AddFolder(std::string(SUITE_SOURCE_DIR) + "/../shared/bench-data", inputs);
    for (const std::string& path : extra) {
        Input in{path.substr(path.find_last_of('/') + 1), {}};
        if (ReadFile(path, in.bytes))
            inputs.push_back(in);
    }

    std::printf("%-34s %8s %6s | %9s %8s | %9s %6s | %9s %6s | %7s %7s\n", "file", "KB", "frames", "ours ms",
                "MB/s", "giflib ms", "ratio", "stb ms", "ratio", "ours MB", "gif MB");
    bool ok = true;
    for (const Input& in : inputs) {
        int ourFrames = 0, gifFrames = 0, stbFrames = 0;
        double ours = Time([&] { return Ours(in.bytes); }, quick, ourFrames);
        double gl = Time([&] { return Giflib(in.bytes); }, quick, gifFrames);
        double stb = Time([&] { return Stb(in.bytes); }, quick, stbFrames);
        if (ourFrames == 0)
            ok = false;
        std::printf("%-34s %8.1f %6d | %9.2f %8.1f |", in.name.c_str(), in.bytes.size() / 1024.0, ourFrames,
                    ours * 1e3, in.bytes.size() / ours / 1e6);
        for (auto peer : {std::make_pair(gl, gifFrames), std::make_pair(stb, stbFrames)}) {
            if (peer.second > 0)
                std::printf(" %9.2f %5.2fx |", peer.first * 1e3, peer.first / ours);
            else
                std::printf(" %9s %6s |", "failed", "-");
        }
        PrintMegabytes(PeakMegabytes([&] { return Ours(in.bytes); }));
        PrintMegabytes(PeakMegabytes([&] { return Giflib(in.bytes); }));
        std::printf("\n");
    }
    std::printf("ratio = peer time / our time (above 1: we are faster); MB/s of GIF bytes decoded;\n"
                "MB = peak resident memory one decode adds (ours, giflib)\n");
    return ok ? 0 : 1;
}
