// GIF decoding as the programs use it: every frame at once, one requested frame, and frame by
// frame through the loader's callback.
#include "CrImageGIF.h"
#include "CrImageGIFEx.h"
#include "FuzzInput.h"

namespace {

struct PickFrame : CrImageGIF {
    explicit PickFrame(int32_t n) { m_info.requestedFrame = n; }
};

// Stops after a few frames, as the viewer's stop flag can.
struct StopAfter : ILoadCallback {
    int limit;
    explicit StopAfter(int n) : limit(n) {}
    int OnFramesFound(CrImageGIF*, GifLoadInfo*) override { return 0; }
    int OnFrameDecoded(CrImageGIF* gif, GifLoadInfo* info) override
    {
        fuzz::Touch(*gif);
        return info->frameIndex + 1 >= limit ? 7 : 0;
    }
    int OnLoadFinished(CrImageGIF*, GifLoadInfo*) override { return 0; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes;
    if (!fuzz::Take(data, size, CRIMAGE_FORMAT_GIF, bytes))
        return 0;
    {
        CrImageGIF all;
        all.SetRetrieveAllFrames(true);
        CrMemFile file(bytes.data(), uint32_t(bytes.size()));
        if (all.Decode(&file))
            fuzz::TouchFrames(all);
        char comment[256];
        all.GetComment(comment);
    }
    {
        PickFrame second(1);
        CrMemFile file(bytes.data(), uint32_t(bytes.size()));
        if (second.Decode(&file))
            fuzz::Touch(second);
    }
    {
        CrImageGIFEx loader;
        loader.SetRetrieveAllFrames(true);
        StopAfter stop(3);
        CrMemFile file(bytes.data(), uint32_t(bytes.size()));
        loader.DecodeFrames(&file, &stop);
        fuzz::TouchFrames(loader);
    }
    return 0;
}
