#include "CrImageGIF.h"

#include "CrDibArena.h"
#include "CrGifCanvas.h"
#include "CrGifEncoder.h"
#include "CrGifLzw.h"
#include "CrGifStream.h"
#include "CrImageGIFEx.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace {

// Bytes the stored frames of one load may take together; a file that asks for more keeps the frames
// stored before that point.
constexpr double kFrameArrayBudget = 4 * CRIMAGE_MAX_MEMORY;

void BuildPalette(const CrRgbColor* table, uint32_t colors, bool transparent, CrGifPalette& palette)
{
    // Entries past the table: white under transparency, as the screen may be cleared with such an index.
    CrRgbQuad pad = transparent ? CrRgbQuad{255, 255, 255, 0} : CrRgbQuad{0, 0, 0, 0};
    for (uint32_t i = 0; i < 256; ++i)
        palette.entries[i] = i < colors ? CrRgbQuad{table[i].b, table[i].g, table[i].r, 0} : pad;
    palette.colors = colors;
}

// Buffers of one frame's decoding, kept from frame to frame.
struct FrameWork {
    std::vector<uint8_t> data;
    std::unique_ptr<uint8_t[]> pixels;
    size_t capacity = 0;
    CrRgbColor local[256];
    int codeSize = 0;  // as the frame declares it; -1 when the stream ended before it
};

// A frame whose codes cannot be read; a stream that ends before its code size is merely cut short.
bool CodeSizeRefused(int codeSize) { return codeSize >= 0 && !GifLzwCodeSizeValid(codeSize); }

// Reads the frame's colour table and code stream and decodes it; the result is the number of indices.
size_t DecodeFrameData(CrGifReader& reader, const CrGifStreamInfo& stream, const CrGifFrameRecord& frame,
                       FrameWork& work, CrGifPalette& palette)
{
    reader.Seek(frame.dataPos);
    const CrRgbColor* table = stream.globalTable;
    uint32_t colors = stream.globalColors;
    if (frame.localColors) {
        GifReadColorTable(reader, work.local, frame.localColors);
        table = work.local;
        colors = frame.localColors;
    }
    BuildPalette(table, colors, frame.TransIndex() >= 0, palette);

    const int codeSize = reader.GetByte();
    work.codeSize = codeSize;
    if (CodeSizeRefused(codeSize))
        return 0;
    work.data.clear();
    reader.ReadSubBlocks(&work.data);
    size_t size = work.data.size();
    work.data.resize(size + kGifLzwSlack, 0);

    // Rows below the screen are never shown, so a non-interlaced frame is decoded only down to its edge.
    size_t rows = size_t(frame.height);
    if (!frame.interlaced)
        rows = std::min<size_t>(rows, size_t(std::max<int64_t>(0, int64_t(stream.screenHeight) - frame.top)));
    size_t needed = std::min({size_t(frame.width) * rows, size_t(CRIMAGE_MAX_MEMORY), GifLzwMostPixels(size, codeSize)});
    if (needed + kGifLzwSlack > work.capacity) {
        work.pixels.reset(new (std::nothrow) uint8_t[needed + kGifLzwSlack]);
        work.capacity = work.pixels ? needed + kGifLzwSlack : 0;
        if (!work.pixels)
            return 0;
    }
    return GifLzwDecode(work.data.data(), size, codeSize, work.pixels.get(), needed).pixels;
}

} // namespace

CrImageGIF::CrImageGIF() : CrImage(CRIMAGE_FORMAT_GIF), m_loops(0)
{
    m_comment[0] = 0;
    SetDisposalMethod(0);
}

void CrImageGIF::GetComment(char* buffer) const
{
    if (!buffer)
        return;
    size_t n = strnlen(m_comment, 255);
    std::memcpy(buffer, m_comment, n);
    buffer[n] = 0;
}

bool CrImageGIF::Decode(CrFile* file)
{
    return DecodeStream(file, nullptr).success;
}

bool CrImageGIF::StoreFrame(const CrGifCanvas& canvas, int32_t index, const CrGifFrameRecord& record,
                            CrDibArena& arena, double& bytes)
{
    bytes += double(canvas.PictureBytes());
    if (bytes > kFrameArrayBudget)
        return false;
    CrImage* frame = new (std::nothrow) CrImage(CRIMAGE_FORMAT_GIF);
    if (!frame)
        return false;
    frame->CopyInfo(*this);
    if (!canvas.Store(*frame, &arena)) {
        delete frame;
        return false;
    }
    frame->SetFrameDelay(record.delay);
    frame->SetDisposalMethod(record.Disposal());
    frame->SetRetrieveAllFrames(false);
    return PutFrame(index, frame);
}

CrImageGIF::DecodeOutcome CrImageGIF::DecodeStream(CrFile* file, ILoadCallback* callback)
{
    if (!file)
        return {false, -1};
    CrGifReader reader(*file);
    CrGifStreamInfo stream;
    if (!GifReadHeader(reader, stream))
        return {false, -1};
    if (GetEscape() == -1) {
        m_head.biWidth = int32_t(stream.screenWidth);
        m_head.biHeight = int32_t(stream.screenHeight);
        m_info.formatId = CRIMAGE_FORMAT_GIF;
        return {true, 0};
    }

    GifScanBlocks(reader, stream);
    m_loops = stream.loops;
    std::memcpy(m_comment, stream.hasComment ? stream.comment : "", stream.hasComment ? sizeof m_comment : 1);
    const std::vector<CrGifFrameRecord>& frames = stream.frames;
    const uint32_t width = stream.screenWidth, height = stream.screenHeight;

    // Tiles of one true-colour still: no global table, several images, the first not the whole screen.
    const bool tiles = frames.size() > 1 && stream.globalColors == 0 &&
                       (uint32_t(frames[0].width) != width || uint32_t(frames[0].height) != height);
    const int32_t count = tiles ? 1 : int32_t(frames.size());
    m_info.frameCount = count;
    if (m_info.requestedFrame < 0 || m_info.requestedFrame >= count)
        return {false, 0};
    if (tiles)
        m_info.requestedFrame = 0;
    if (width == 0 || height == 0 || double(width) * height > CRIMAGE_MAX_MEMORY)
        return {false, -1};

    GifLoadInfo load{0, 1, count, 0};
    if (callback) {
        int answer = callback->OnFramesFound(this, &load);
        if (answer)
            return {false, answer};
    }
    const bool all = m_info.retrieveAllFrames;
    if (all && !AllocFrames(count))
        return {false, -1};

    CrGifCanvas canvas;
    CrGifPalette palette;
    FrameWork work;
    // Every frame kept is a full screen: they come from one arena.
    CrDibArena arena(all ? size_t(count) : 0);
    const CrGifFrameRecord* last = nullptr;
    bool escaped = false;
    bool refused = false;
    int32_t answer = 0;
    double storedBytes = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        if (GetEscape() > 0) {
            escaped = true;
            break;
        }
        const CrGifFrameRecord& frame = frames[i];
        size_t decoded = DecodeFrameData(reader, stream, frame, work, palette);
        if (GetEscape() != 0) {
            escaped = true;
            break;
        }
        if (CodeSizeRefused(work.codeSize)) {
            // Later frames would be drawn over a picture that lacks this one: the frames before stand.
            char text[96];
            std::snprintf(text, sizeof text, "GIF: minimum code size %d is not valid (%d to %d are)", work.codeSize,
                          kGifLeastCodeSize, kGifMostCodeSize);
            SetLastError(text);
            refused = true;
            break;
        }
        if (!last) {
            // The screen starts transparent when the first frame has transparency, else in the
            // background colour of the header.
            uint8_t background = stream.background < palette.colors ? stream.background : 0;
            if (!canvas.Start(width, height, palette, background, frame.TransIndex(), tiles))
                break;
        }
        canvas.Draw(frame, work.pixels.get(), decoded, palette);
        last = &frame;
        if (tiles)
            continue;
        if (!all) {
            if (int32_t(i) == m_info.requestedFrame)
                break;
            continue;
        }
        if (!StoreFrame(canvas, int32_t(i), frame, arena, storedBytes))
            break;
        if (callback) {
            load.frameIndex = int32_t(i);
            answer = callback->OnFrameDecoded(this, &load);
            ++load.frameIndex;
            if (answer)
                break;
        }
    }

    bool stored = last && canvas.Store(*this);
    if (stored) {
        SetFrameDelay(last->delay);
        SetDisposalMethod(last->Disposal());
    }
    if (escaped)
        return {false, 0};
    // Only a load of every frame can stand without the refused one and those after it.
    if (refused && (!all || tiles))
        return {false, -1};
    if (tiles && all && stored && StoreFrame(canvas, 0, *last, arena, storedBytes) && callback) {
        load.frameIndex = 0;
        answer = callback->OnFrameDecoded(this, &load);
        ++load.frameIndex;
    }
    if (callback)
        callback->OnLoadFinished(this, &load);
    return {stored, stored ? answer : -1};
}

bool CrImageGIF::Encode(CrFile* file)
{
    if (CheckEncodeArgs(file))
        return false;
    CrGifEncoder encoder(*this, file);
    return encoder.EncodeImage();
}

bool CrImageGIF::Encode(CrFile* file, CrImage** images, int32_t count, bool localPalette, bool localDisposal)
{
    CrGifEncoder encoder(*this, file);
    return encoder.EncodeAnimation(images, count, localPalette, localDisposal);
}
