// JPEG and PNG throughput of the image library against the same libraries called directly, on one
// 24-bit 2000 × 1500 picture in memory: the ratio is the cost of our layer (goal: at least 0.95).
// Both sides do the same work: the same settings, bottom-up blue-green-red rows in and out.
//
//   codec_bench [--quick]
#include "CrImage.h"

#include <cstdio>
extern "C" {
#include <jpeglib.h>
}
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr int32_t kWidth = 2000, kHeight = 1500;
using Bytes = std::vector<uint8_t>;

// A photo-like picture: gradients, edges and some noise.
CrImage MakePicture()
{
    CrImage image(kWidth, kHeight, 24);
    uint32_t noise = 12345;
    for (int32_t y = 0; y < kHeight; ++y) {
        uint8_t* row = image.GetBits(uint32_t(y));
        for (int32_t x = 0; x < kWidth; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int n = int(noise >> 28) - 8;
            const bool block = ((x / 150) + (y / 120)) % 3 == 0;
            row[3 * x] = uint8_t(std::clamp(x * 255 / kWidth + n, 0, 255));
            row[3 * x + 1] = uint8_t(std::clamp((block ? 200 : 60) + n, 0, 255));
            row[3 * x + 2] = uint8_t(std::clamp(y * 255 / kHeight + n, 0, 255));
        }
    }
    return image;
}

// ---- Ours ----

Bytes OursEncode(CrImage& image, uint32_t format)
{
    uint8_t* data = nullptr;
    int32_t size = 0;
    Bytes out;
    if (image.Encode(&data, &size, format))
        out.assign(data, data + size);
    std::free(data);
    return out;
}

bool OursDecode(Bytes& bytes, uint32_t format)
{
    CrImage image;
    return image.Decode(bytes.data(), uint32_t(bytes.size()), format) && image.GetWidth() == kWidth;
}

// ---- libjpeg directly ----

Bytes JpegEncode(const CrImage& image)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, FALSE);
    cinfo.comp_info[0].h_samp_factor = cinfo.comp_info[0].v_samp_factor = 2;
    cinfo.density_unit = 1;
    cinfo.X_density = cinfo.Y_density = 96;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = image.GetBits(uint32_t(kHeight - 1) - cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes bytes(out, out + size);
    std::free(out);
    return bytes;
}

bool JpegDecode(const Bytes& bytes)
{
    Bytes pixels; // a new picture each time, as ours
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    const size_t stride = (size_t(cinfo.output_width) * 3 + 3) & ~size_t(3);
    pixels.assign(stride * cinfo.output_height, 0);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = &pixels[(cinfo.output_height - 1 - cinfo.output_scanline) * stride];
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

// ---- libpng directly ----

void Append(png_structp png, png_bytep data, size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void Flush(png_structp) {}

struct Reader {
    const Bytes* bytes;
    size_t at;
};
void ReadBytes(png_structp png, png_bytep data, size_t length)
{
    auto* r = static_cast<Reader*>(png_get_io_ptr(png));
    if (r->at + length > r->bytes->size())
        png_error(png, "Read Error");
    std::memcpy(data, r->bytes->data() + r->at, length);
    r->at += length;
}

Bytes PngEncode(const CrImage& image)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return Bytes();
    }
    png_set_write_fn(png, &out, Append, Flush);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_pHYs(png, info, 3780, 3780, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    png_set_bgr(png);
    for (int32_t y = kHeight - 1; y >= 0; --y)
        png_write_row(png, image.GetBits(uint32_t(y)));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

bool PngDecode(const Bytes& bytes)
{
    Bytes pixels; // a new picture each time, as ours
    Reader reader{&bytes, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, ReadBytes);
    png_read_info(png, info);
    png_set_bgr(png);
    png_read_update_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    pixels.assign(stride * height, 0);
    for (png_uint_32 y = 0; y < height; ++y)
        png_read_row(png, &pixels[(height - 1 - y) * stride], nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

// Best time of several runs, in milliseconds.
double Time(const std::function<void()>& run, bool quick)
{
    double best = 1e30, total = 0;
    const int minRuns = quick ? 3 : 5;
    const double minTime = quick ? 0.2 : 1.0;
    for (int runs = 0; runs < minRuns || total < minTime; ++runs) {
        const auto start = std::chrono::steady_clock::now();
        run();
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        best = std::min(best, s);
        total += s;
    }
    return best * 1000;
}

void Report(const char* what, double ours, double peer)
{
    const double mb = double(kWidth) * kHeight * 3 / 1e6;
    std::printf("%-12s | %9.2f %8.1f | %9.2f %8.1f | %6.3f\n", what, ours, mb / (ours / 1000), peer, mb / (peer / 1000),
                peer / ours);
}

} // namespace

int main(int argc, char** argv)
{
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    CrImage picture = MakePicture();
    std::printf("picture %d x %d, 24 bits; peers: libjpeg and libpng called directly with the same settings\n",
                kWidth, kHeight);
    std::printf("%-12s | %9s %8s | %9s %8s | %6s\n", "operation", "ours ms", "MB/s", "peer ms", "MB/s", "ratio");

    Bytes ourJpeg, peerJpeg, ourPng, peerPng;
    const double jpegEncode = Time([&] { ourJpeg = OursEncode(picture, CRIMAGE_FORMAT_JPG); }, quick);
    const double jpegEncodePeer = Time([&] { peerJpeg = JpegEncode(picture); }, quick);
    Report("JPEG encode", jpegEncode, jpegEncodePeer);
    const double jpegDecode = Time([&] { OursDecode(ourJpeg, CRIMAGE_FORMAT_JPG); }, quick);
    const double jpegDecodePeer = Time([&] { JpegDecode(ourJpeg); }, quick);
    Report("JPEG decode", jpegDecode, jpegDecodePeer);

    const double pngEncode = Time([&] { ourPng = OursEncode(picture, CRIMAGE_FORMAT_PNG); }, quick);
    const double pngEncodePeer = Time([&] { peerPng = PngEncode(picture); }, quick);
    Report("PNG encode", pngEncode, pngEncodePeer);
    const double pngDecode = Time([&] { OursDecode(ourPng, CRIMAGE_FORMAT_PNG); }, quick);
    const double pngDecodePeer = Time([&] { PngDecode(ourPng); }, quick);
    Report("PNG decode", pngDecode, pngDecodePeer);
    std::printf("ratio = peer time / our time (1 = no overhead; goal at least 0.95); MB/s of pixel bytes\n");
    std::printf("sizes: JPEG ours %zu, peer %zu bytes; PNG ours %zu, peer %zu bytes\n", ourJpeg.size(), peerJpeg.size(),
                ourPng.size(), peerPng.size());
    return ourJpeg.empty() || ourPng.empty() ? 1 : 0;
}
