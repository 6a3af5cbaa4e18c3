#pragma once
// The GIF codec: decodes a GIF stream into one composed frame or, with retrieve-all, into every
// frame of the animation, and encodes an image, an animation or a true-colour picture.
#include "CrImage.h"

class CrDibArena;
class CrGifCanvas;
struct CrGifFrameRecord;
class ILoadCallback;

class CrImageGIF : public CrImage {
public:
    CrImageGIF();

    bool Decode(CrFile* file);
    bool Encode(CrFile* file);
    // Writes `images` as an animation: screen and global palette of the first, then every image
    // with its own palette (localPalette) and its own disposal method (localDisposal).
    bool Encode(CrFile* file, CrImage** images, int32_t count, bool localPalette = false, bool localDisposal = false);

    // Plays of the animation: 0 for ever, 1 once (no looping block), n times.
    int32_t GetLoops() const { return m_loops; }
    void SetLoops(int32_t loops) { m_loops = loops; }
    // Copies the comment of the last decode (at most 255 characters and the terminator).
    void GetComment(char* buffer) const;

protected:
    struct DecodeOutcome {
        bool success;
        int32_t answer;  // -1 not a GIF, 0 done or cancelled, else a callback's answer
    };
    // The decoder both public decoders run; the callback (may be null) hears of the frames.
    DecodeOutcome DecodeStream(CrFile* file, ILoadCallback* callback);

private:
    friend class CrGifEncoder;

    // Adds a copy of the composed picture to the frame array; false when it cannot be held.
    bool StoreFrame(const CrGifCanvas& canvas, int32_t index, const CrGifFrameRecord& record, CrDibArena& arena,
                    double& bytes);

    int32_t m_loops;
    char m_comment[256];
};
