#pragma once
// Writing GIF89a streams for CrImageGIF: one image, an animation, or a true-colour picture cut into
// tiles with palettes of their own; code streams LZW (default), uncompressed or run-length.
#include <cstdint>
#include <vector>

class CrFile;
class CrImage;
class CrImageGIF;

class CrGifEncoder {
public:
    CrGifEncoder(CrImageGIF& gif, CrFile* file);
    CrGifEncoder(const CrGifEncoder&) = delete;
    CrGifEncoder& operator=(const CrGifEncoder&) = delete;

    // The image the encoder belongs to (its frame array, when it has several frames).
    bool EncodeImage();
    bool EncodeAnimation(CrImage** images, int32_t count, bool localPalette, bool localDisposal);

private:
    bool EncodeTiles();
    bool Fail(const char* text);
    bool Finish();

    void Put(const void* data, uint32_t size);
    void PutByte(uint8_t b) { Put(&b, 1); }
    void PutWord(uint32_t v);
    void PutPalette(const CrImage& image);
    void WriteHeader(const CrImage& image);
    void WriteLoops();
    void WriteControl(const CrImage& image, uint8_t disposal);
    void WriteComment();
    void WriteImage(const CrImage& image, bool localPalette);

    CrImageGIF& m_gif;
    CrFile* m_file;
    bool m_failed = false;
};
