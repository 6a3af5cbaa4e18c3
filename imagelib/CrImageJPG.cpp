// libjpeg reports fatal errors by a long jump back into Decode or Encode. Everything those
// functions keep alive across the jump is plain data (libjpeg's own structures, the managers
// below, pool memory freed by jpeg_destroy_*), so the jump skips no destructor.
#include "CrImageJPG.h"

#include "CrFile.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>

// jerror.h numbers its messages by the library version that jpeglib.h defines: jpeglib.h first.
extern "C" {
#include <jpeglib.h>
#include <jerror.h>
}

namespace {

constexpr size_t kTransferSize = 4096;

struct CrJpegErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char* text; // the image's last error, 256 bytes
};

// The source and destination managers over a CrFile, with their transfer buffer.
struct CrJpegStreamManager {
    jpeg_destination_mgr destination;
    jpeg_source_mgr source;
    CrFile* file;
    JOCTET buffer[kTransferSize];
    bool startOfFile;
};

void ErrorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<CrJpegErrorManager*>(cinfo->err);
    char message[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, message);
    strncpy(err->text, message, 255);
    err->text[255] = 0;
    longjmp(err->jump, 1);
}

// Warnings (a truncated file among them) are not failures and print nothing.
void OutputMessage(j_common_ptr) {}

void SetUpErrors(CrJpegErrorManager& err, char* text)
{
    jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.output_message = OutputMessage;
    err.text = text;
}

CrJpegStreamManager* Manager(j_common_ptr cinfo) { return static_cast<CrJpegStreamManager*>(cinfo->client_data); }

// ---- Source manager ----

void InitSource(j_decompress_ptr cinfo) { Manager(reinterpret_cast<j_common_ptr>(cinfo))->startOfFile = true; }

boolean FillInputBuffer(j_decompress_ptr cinfo)
{
    CrJpegStreamManager* mgr = Manager(reinterpret_cast<j_common_ptr>(cinfo));
    size_t got = mgr->file->Read(mgr->buffer, 1, kTransferSize);
    if (got == 0) {
        if (mgr->startOfFile)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        WARNMS(cinfo, JWRN_JPEG_EOF);
        // An end-of-image marker in place of the missing data ends the picture where the file ends.
        mgr->buffer[0] = 0xFF;
        mgr->buffer[1] = JPEG_EOI;
        got = 2;
    }
    mgr->source.next_input_byte = mgr->buffer;
    mgr->source.bytes_in_buffer = got;
    mgr->startOfFile = false;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count)
{
    if (count <= 0)
        return;
    jpeg_source_mgr* src = cinfo->src;
    size_t n = static_cast<size_t>(count);
    while (n > src->bytes_in_buffer) {
        n -= src->bytes_in_buffer;
        FillInputBuffer(cinfo);
    }
    src->next_input_byte += n;
    src->bytes_in_buffer -= n;
}

void TermSource(j_decompress_ptr) {}

// ---- Destination manager ----

void InitDestination(j_compress_ptr cinfo)
{
    CrJpegStreamManager* mgr = Manager(reinterpret_cast<j_common_ptr>(cinfo));
    mgr->destination.next_output_byte = mgr->buffer;
    mgr->destination.free_in_buffer = kTransferSize;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo)
{
    CrJpegStreamManager* mgr = Manager(reinterpret_cast<j_common_ptr>(cinfo));
    if (mgr->file->Write(mgr->buffer, 1, kTransferSize) != kTransferSize)
        ERREXIT(cinfo, JERR_FILE_WRITE);
    InitDestination(cinfo);
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo)
{
    CrJpegStreamManager* mgr = Manager(reinterpret_cast<j_common_ptr>(cinfo));
    const size_t used = kTransferSize - mgr->destination.free_in_buffer;
    if (used > 0 && mgr->file->Write(mgr->buffer, 1, static_cast<uint32_t>(used)) != used)
        ERREXIT(cinfo, JERR_FILE_WRITE);
    mgr->file->Flush();
    if (mgr->file->Error())
        ERREXIT(cinfo, JERR_FILE_WRITE);
}

void SetUpStreams(CrJpegStreamManager& mgr, CrFile* file)
{
    mgr.file = file;
    mgr.startOfFile = true;
    mgr.source.next_input_byte = nullptr;
    mgr.source.bytes_in_buffer = 0;
    mgr.source.init_source = InitSource;
    mgr.source.fill_input_buffer = FillInputBuffer;
    mgr.source.skip_input_data = SkipInputData;
    mgr.source.resync_to_restart = jpeg_resync_to_restart;
    mgr.source.term_source = TermSource;
    mgr.destination.init_destination = InitDestination;
    mgr.destination.empty_output_buffer = EmptyOutputBuffer;
    mgr.destination.term_destination = TermDestination;
}

// Errors, streams and the link from libjpeg's structure back to them; what follows is the jump point.
template <class Info>
void Prepare(Info& cinfo, CrJpegErrorManager& err, CrJpegStreamManager& mgr, CrFile* file, char* text)
{
    memset(&cinfo, 0, sizeof cinfo);
    SetUpErrors(err, text);
    SetUpStreams(mgr, file);
    cinfo.err = &err.pub;
    cinfo.client_data = &mgr;
}

int32_t Rounded(double value) { return static_cast<int32_t>(value + 0.5); }

} // namespace

bool CrImageJPG::Decode(CrFile* file)
{
    if (!file)
        return false;
    if (GetJpegScale() == 0) {
        SetLastError("JPEG decode scale must be greater than zero");
        return false;
    }
    jpeg_decompress_struct cinfo;
    CrJpegErrorManager err;
    CrJpegStreamManager mgr;
    Prepare(cinfo, err, mgr, file, m_info.lastError);
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.src = &mgr.source;
    jpeg_read_header(&cinfo, TRUE);

    const uint32_t options = GetCodecOption(CRIMAGE_FORMAT_JPG);
    if (options & CRIMAGE_JPEG_DECODE_GRAYSCALE)
        cinfo.out_color_space = JCS_GRAYSCALE;
    const bool quantize = (options & CRIMAGE_JPEG_QUANTIZE) != 0;
    if (quantize) {
        cinfo.quantize_colors = TRUE;
        cinfo.desired_number_of_colors = GetJpegQuality() & 0xFF;
    }
    if (options & CRIMAGE_JPEG_DITHER)
        cinfo.dither_mode = static_cast<J_DITHER_MODE>(m_dither);
    if (options & CRIMAGE_JPEG_ONE_PASS)
        cinfo.two_pass_quantize = FALSE;
    if (options & CRIMAGE_JPEG_NO_FANCY_UPSAMPLING)
        cinfo.do_fancy_upsampling = FALSE;
#ifdef JCS_EXTENSIONS
    // Rows arrive in the bitmap's blue-green-red order.
    if (cinfo.out_color_space == JCS_RGB && !quantize)
        cinfo.out_color_space = JCS_EXT_BGR;
#endif
    cinfo.scale_num = 1;
    cinfo.scale_denom = GetJpegScale();

    if (GetEscape() == -1) {
        jpeg_calc_output_dimensions(&cinfo);
        m_head.biWidth = static_cast<int32_t>(cinfo.output_width);
        m_head.biHeight = static_cast<int32_t>(cinfo.output_height);
        m_info.formatId = CRIMAGE_FORMAT_JPG;
        jpeg_destroy_decompress(&cinfo);
        return true;
    }

    jpeg_start_decompress(&cinfo);
    const int components = cinfo.output_components;
    if ((components != 1 && components != 3 && components != 4) ||
        !Create(static_cast<int32_t>(cinfo.output_width), static_cast<int32_t>(cinfo.output_height),
                components == 1 ? 8 : 24, CRIMAGE_FORMAT_JPG)) {
        if (components != 1 && components != 3 && components != 4)
            SetLastError("unsupported JPEG colour components");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }

    if (cinfo.density_unit == 2) {
        SetXDPI(Rounded(cinfo.X_density * 2.54));
        SetYDPI(Rounded(cinfo.Y_density * 2.54));
    } else if (cinfo.density_unit == 0) {
        if (cinfo.X_density && cinfo.Y_density)
            SetYDPI(static_cast<int32_t>(static_cast<int64_t>(GetXDPI()) * cinfo.Y_density / cinfo.X_density));
    } else {
        SetXDPI(cinfo.X_density);
        SetYDPI(cinfo.Y_density);
    }

    if (quantize) {
        const int colors = cinfo.actual_number_of_colors;
        for (int i = 0; i < colors && i < 256; i++) {
            const int last = cinfo.out_color_components - 1;
            SetPaletteColor(static_cast<uint32_t>(i), cinfo.colormap[0][i], cinfo.colormap[last > 0 ? 1 : 0][i],
                            cinfo.colormap[last][i]);
        }
    } else if (components == 1) {
        SetGrayPalette();
    }

    const size_t rowLength = static_cast<size_t>(cinfo.output_width) * static_cast<size_t>(components);
    JSAMPARRAY buffer =
        (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE, static_cast<JDIMENSION>(rowLength), 1);
    // Rows that need no conversion go straight into the bitmap.
    const bool direct = !(components == 4 && !quantize) && !(components == 3 && cinfo.out_color_space == JCS_RGB);
    while (cinfo.output_scanline < cinfo.output_height) {
        if (GetEscape()) {
            jpeg_destroy_decompress(&cinfo);
            return false;
        }
        uint8_t* dst = GetBits(static_cast<uint32_t>(GetHeight()) - 1 - cinfo.output_scanline);
        if (direct) {
            JSAMPROW row = dst;
            jpeg_read_scanlines(&cinfo, &row, 1);
            continue;
        }
        jpeg_read_scanlines(&cinfo, buffer, 1);
        const uint8_t* src = buffer[0];
        if (components == 4) {
            for (JDIMENSION x = 0; x < cinfo.output_width; x++, src += 4, dst += 3) {
                const unsigned k = src[3];
                dst[0] = static_cast<uint8_t>(src[2] * k / 255);
                dst[1] = static_cast<uint8_t>(src[1] * k / 255);
                dst[2] = static_cast<uint8_t>(src[0] * k / 255);
            }
        } else {
            memcpy(dst, src, rowLength);
            RGBtoBGR(dst, static_cast<int32_t>(rowLength));
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

bool CrImageJPG::Encode(CrFile* file)
{
    if (CheckEncodeArgs(file))
        return false;
    const bool gray = IsIndexed();
    if (gray && !IsGrayScale()) {
        SetLastError("JPEG can save only RGB or GreyScale images");
        return false;
    }
    jpeg_compress_struct cinfo;
    CrJpegErrorManager err;
    CrJpegStreamManager mgr;
    Prepare(cinfo, err, mgr, file, m_info.lastError);
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    cinfo.dest = &mgr.destination;

    cinfo.image_width = static_cast<JDIMENSION>(GetWidth());
    cinfo.image_height = static_cast<JDIMENSION>(GetHeight());
    cinfo.input_components = gray ? 1 : 3;
#ifdef JCS_EXTENSIONS
    cinfo.in_color_space = gray ? JCS_GRAYSCALE : JCS_EXT_BGR;
#else
    cinfo.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
#endif
    jpeg_set_defaults(&cinfo);

    const uint32_t options = GetCodecOption(CRIMAGE_FORMAT_JPG);
    if (options & CRIMAGE_JPEG_ARITHMETIC)
        cinfo.arith_code = TRUE;
    if (options & CRIMAGE_JPEG_OPTIMIZE)
        cinfo.optimize_coding = TRUE;
    if (options & CRIMAGE_JPEG_GRAYSCALE)
        jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    if (options & CRIMAGE_JPEG_SMOOTHING)
        cinfo.smoothing_factor = m_smoothing;
    jpeg_set_quality(&cinfo, GetJpegQuality(), (options & CRIMAGE_JPEG_BASELINE) ? TRUE : FALSE);
    if (options & CRIMAGE_JPEG_PROGRESSIVE)
        jpeg_simple_progression(&cinfo);
    cinfo.comp_info[0].h_samp_factor = (options & CRIMAGE_JPEG_SUBSAMPLE_1X1) ? 1 : 2;
    cinfo.comp_info[0].v_samp_factor = (options & (CRIMAGE_JPEG_SUBSAMPLE_1X1 | CRIMAGE_JPEG_SUBSAMPLE_2X1)) ? 1 : 2;
    for (int i = 1; i < cinfo.num_components; i++)
        cinfo.comp_info[i].h_samp_factor = cinfo.comp_info[i].v_samp_factor = 1;

    cinfo.density_unit = 1;
    cinfo.X_density = static_cast<UINT16>(GetXDPI() < 65535 ? GetXDPI() : 65535);
    cinfo.Y_density = static_cast<UINT16>(GetYDPI() < 65535 ? GetYDPI() : 65535);

    jpeg_start_compress(&cinfo, TRUE);
    // 8-bit grey and (with libjpeg-turbo's extensions) 24-bit rows go to libjpeg as they are; packed
    // grey rows are widened to a byte per pixel, and plain RGB input needs its channels swapped.
    // A widened row takes a byte per pixel, more than a packed row holds.
    const size_t rowLength = std::max<size_t>(GetRowBytes(), static_cast<size_t>(GetWidth())) + 8;
    JSAMPARRAY buffer = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                   static_cast<JDIMENSION>(rowLength), 1);
    while (cinfo.next_scanline < cinfo.image_height) {
        const uint32_t row = static_cast<uint32_t>(GetHeight()) - 1 - cinfo.next_scanline;
        JSAMPROW line = GetBits(row);
        const int32_t y = static_cast<int32_t>(row);
        if (gray && GetBpp() < 8) {
            for (int32_t x = 0; x < GetWidth(); x++)
                buffer[0][x] = GetPaletteColor(GetPixelIndexUnchecked(x, y)).rgbRed;
            line = buffer[0];
        } else if (!gray && cinfo.in_color_space == JCS_RGB) {
            memcpy(buffer[0], line, GetRowBytes());
            for (int32_t x = 0; x < GetWidth(); x++) {
                JSAMPLE t = buffer[0][x * 3];
                buffer[0][x * 3] = buffer[0][x * 3 + 2];
                buffer[0][x * 3 + 2] = t;
            }
            line = buffer[0];
        }
        jpeg_write_scanlines(&cinfo, &line, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}
