#pragma once
// Frame-by-frame loading of a GIF animation, reporting to a callback that can stop the load.
#include "CrImageGIF.h"

#include <cstdint>

struct GifLoadInfo {
    int32_t reserved;    // always 0
    int32_t started;     // 1 from the first report on
    int32_t frameCount;  // frames in the file
    int32_t frameIndex;  // the frame just stored while OnFrameDecoded runs; frames delivered after it
};

// Each answer is 0 to go on; any other value stops the load and becomes its result.
class ILoadCallback {
public:
    virtual int OnFramesFound(CrImageGIF* gif, GifLoadInfo* info) = 0;
    virtual int OnFrameDecoded(CrImageGIF* gif, GifLoadInfo* info) = 0;
    // The load ended by itself or by a stop from OnFrameDecoded; the answer is not used.
    virtual int OnLoadFinished(CrImageGIF* gif, GifLoadInfo* info) = 0;

protected:
    ~ILoadCallback() = default;  // the loader never deletes its callback
};

class CrImageGIFEx : public CrImageGIF {
public:
    // -1 when the file cannot be opened or is not a GIF; 0 when the load ran to its end, asked for
    // the size only, asked for a frame the file lacks or was cancelled through the escape value;
    // otherwise the callback's non-zero answer.
    int LoadFrames(const wchar_t* path, ILoadCallback* callback);
    int DecodeFrames(CrFile* file, ILoadCallback* callback);
};
