#pragma once
// The raster image every part of the programs holds: a packed device-independent bitmap
// (header, palette, bottom-up rows) with an info block, optional alpha and selection planes
// and an owned array of frame images. The codec classes derive from it.
#include "CrBitmapTypes.h"
#include "CrGeometry.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

class CrDibArena;
class CrFile;
class CrImage;
#ifdef _WIN32
struct HDC__;   // HDC
struct tagRECT; // RECT
#endif

// Format ids.
enum : uint32_t {
    CRIMAGE_FORMAT_UNKNOWN = 0,
    CRIMAGE_FORMAT_BMP = 1,
    CRIMAGE_FORMAT_GIF = 2,
    CRIMAGE_FORMAT_JPG = 3,
    CRIMAGE_FORMAT_PNG = 4,
    CRIMAGE_FORMAT_ICO = 5,
};
constexpr int CRIMAGE_FORMAT_SLOTS = 6;
// Interpolation methods of GetPixelColorInterpolated; any other number samples bilinearly.
enum : int32_t {
    CRIMAGE_IM_NEAREST_NEIGHBOUR = 1,
    CRIMAGE_IM_BILINEAR = 2,
    CRIMAGE_IM_BSPLINE = 3,
    CRIMAGE_IM_BICUBIC = 4,
    CRIMAGE_IM_BICUBIC2 = 5,
    CRIMAGE_IM_LANCZOS = 6,
    CRIMAGE_IM_BOX = 7,
    CRIMAGE_IM_HERMITE = 8,
    CRIMAGE_IM_HAMMING = 9,
    CRIMAGE_IM_SINC = 10,
    CRIMAGE_IM_BLACKMAN = 11,
    CRIMAGE_IM_BESSEL = 12,
    CRIMAGE_IM_GAUSSIAN = 13,
    CRIMAGE_IM_QUADRATIC = 14,
    CRIMAGE_IM_MITCHELL = 15,
    CRIMAGE_IM_CATROM = 16,
    CRIMAGE_IM_HANNING = 17,
    CRIMAGE_IM_POWER = 18,
};
// What a point outside the picture yields; any other number gives the background.
enum : int32_t {
    CRIMAGE_OM_TRANSPARENT = 2,
    CRIMAGE_OM_BACKGROUND = 3,
    CRIMAGE_OM_REPEAT = 4,
    CRIMAGE_OM_CLAMP = 5,
    CRIMAGE_OM_MIRROR = 6,
};
// Resample modes: 1 nearest neighbour, 2 bicubic; any other is area averaging when a 24-bit
// image shrinks both ways, else bilinear.
enum : int32_t {
    CRIMAGE_RESAMPLE_AUTO = 0,
    CRIMAGE_RESAMPLE_NEAREST = 1,
    CRIMAGE_RESAMPLE_BICUBIC = 2,
};
// Largest pixel block an image may have, in bytes.
constexpr double CRIMAGE_MAX_MEMORY = 268435456.0;

// Facts about an image besides its pixels; copied and moved as a whole.
struct CrImageInfo {
    uint32_t rowBytes;       // width × bpp rounded up to 32 bits, in bytes
    uint8_t* pFirstRow;      // stored row 0, the bottom row of the picture
    CrImage* pGhostSource;   // the image whose buffers a ghost shares; null for an owner
    CrImage* pParent;
    uint32_t formatId;
    char lastError[256];
    uint32_t progress;       // per cent, for long operations
    int32_t escape;          // -1 asks decoders for the size only; above 0 stops them
    int32_t transIndex;      // -1 none
    CrRgbQuad transColor;
    float jpegQuality;
    uint8_t jpegScale;
    int32_t requestedFrame;
    int32_t frameCount;
    uint32_t frameDelay;     // 1/100 s
    int32_t xDpi;
    int32_t yDpi;
    CrRectL selectionBox;
    uint8_t alphaMax;
    bool alphaPalette;       // palette entries carry alpha in their fourth byte
    bool enabled;            // a disabled image is not drawn
    int32_t xOffset;
    int32_t yOffset;
    uint32_t codecOptions[CRIMAGE_FORMAT_SLOTS];
    CrRgbQuad nearestColor;  // the nearest-colour cache
    uint8_t nearestIndex;
    bool nearestValid;
    int32_t layerCount;
    uint32_t flags;
    uint8_t disposal;        // GIF disposal method 0-7
    bool retrieveAllFrames;
    bool littleEndianHost;
};

// A 24-bit pixel buffer (rows bottom-up, padded to 4 bytes) that holds the screen rectangle
// left, top, width × height: the work bitmap that drawing paints into.
struct CrPaintBuffer {
    uint8_t* bits;
    uint32_t rowBytes;
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
};

class CrImage {
public:
    // ---- Life cycle ----
    explicit CrImage(uint32_t formatId = CRIMAGE_FORMAT_UNKNOWN);
    CrImage(int32_t width, int32_t height, uint32_t bpp, uint32_t formatId = CRIMAGE_FORMAT_UNKNOWN);
    CrImage(const CrImage& src, bool copyPixels = true, bool copySelection = true, bool copyAlpha = true);
    CrImage& operator=(const CrImage& src);
    virtual ~CrImage();

    bool Destroy();
    bool DestroyFrames();
    // Pointer to the new pixel block (header, palette, zeroed pixels) or null with the reason
    // in the last error. bpp becomes 1, 4, 8 or 24.
    uint8_t* Create(int32_t width, int32_t height, uint32_t bpp, uint32_t formatId = CRIMAGE_FORMAT_UNKNOWN);
    // The same with the block taken from `arena` (the heap when it is null).
    uint8_t* Create(int32_t width, int32_t height, uint32_t bpp, uint32_t formatId, CrDibArena* arena);
    // A ghost source makes this image a ghost of it; otherwise a deep copy. False when this
    // image has no pixel data afterwards.
    bool Copy(const CrImage& src, bool copyPixels = true, bool copySelection = true, bool copyAlpha = true);
    // Takes the info block of `src`, only while this image has no pixel data.
    void CopyInfo(const CrImage& src);
    // Takes over everything of `src`, which is left empty; frames only with `transferFrames`.
    bool Transfer(CrImage& src, bool transferFrames = true);
    // Shares the buffers of `src` without owning them.
    void Ghost(const CrImage& src);
    void Clear(uint8_t value = 0);

    // ---- Access ----
    uint8_t* GetBits(uint32_t row = 0) const;
    uint32_t GetSize() const;
    uint8_t* GetDIB() const { return m_pDib; }
    bool IsValid() const { return m_pDib != nullptr; }
    bool IsGhost() const { return m_info.pGhostSource != nullptr; }
    bool IsInside(int32_t x, int32_t y) const;
    int32_t GetWidth() const { return m_head.biWidth; }
    int32_t GetHeight() const { return m_head.biHeight; }
    uint32_t GetBpp() const { return m_head.biBitCount; }
    uint32_t GetRowBytes() const { return m_info.rowBytes; }
    uint32_t GetNumColors() const { return m_head.biClrUsed; }
    uint32_t GetType() const { return m_info.formatId; }
    bool SetType(uint32_t formatId);
    static uint32_t GetOptionSlot(uint32_t formatId);
    uint32_t GetCodecOption(uint32_t formatId = CRIMAGE_FORMAT_UNKNOWN) const;
    bool SetCodecOption(uint32_t option, uint32_t formatId = CRIMAGE_FORMAT_UNKNOWN);
    int32_t GetTransIndex() const { return m_info.transIndex; }
    void SetTransIndex(int32_t index);
    bool IsTransparent() const { return m_info.transIndex >= 0; }
    CrRgbQuad GetTransColor() const;
    void SetTransColor(CrRgbQuad color);
    bool IsIndexed() const { return m_head.biClrUsed != 0; }
    int32_t GetXDPI() const { return m_info.xDpi; }
    int32_t GetYDPI() const { return m_info.yDpi; }
    void SetXDPI(int32_t dpi);
    void SetYDPI(int32_t dpi);
    uint32_t GetFrameDelay() const { return m_info.frameDelay; }
    void SetFrameDelay(uint32_t delay) { m_info.frameDelay = delay; }
    void GetOffset(int32_t* x, int32_t* y) const;
    void SetOffset(int32_t x, int32_t y);
    int32_t GetJpegQuality() const;
    uint8_t GetJpegScale() const { return m_info.jpegScale; }
    // The escape value may be set from another thread while a decoder runs.
    int32_t GetEscape() const;
    void SetEscape(int32_t escape);
    uint32_t GetProgress() const;
    int32_t GetNumFrames() const { return m_info.frameCount; }
    uint8_t GetDisposalMethod() const { return m_info.disposal; }
    void SetDisposalMethod(uint8_t method) { m_info.disposal = method; }
    bool GetRetrieveAllFrames() const { return m_info.retrieveAllFrames; }
    void SetRetrieveAllFrames(bool all) { m_info.retrieveAllFrames = all; }
    CrImage* GetFrame(int32_t n) const;
    const char* GetLastError() const { return m_info.lastError; }
#ifdef _WIN32
    // A movable global memory block (HGLOBAL) with header, palette and pixels, for the clipboard.
    void* CopyToHandle() const;
#endif

    // ---- Palette ----
    uint32_t GetPaletteSize() const { return m_head.biClrUsed * 4; }
    CrRgbQuad* GetPalette() const;
    CrRgbQuad GetPaletteColor(uint32_t index) const;
    bool GetPaletteColor(uint32_t index, uint8_t* r, uint8_t* g, uint8_t* b) const;
    void SetPaletteColor(uint32_t index, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha = 0);
    void SetPaletteColor(uint32_t index, CrRgbQuad color);
    void SetPalette(const CrRgbQuad* entries, uint32_t n = 256);
    void SetPalette(uint32_t n, const uint8_t* red, const uint8_t* green = nullptr, const uint8_t* blue = nullptr);
    void SetPalette(const CrRgbColor* rgb, uint32_t n = 256);
    void SetGrayPalette();
    bool IsGrayScale() const;
    void SwapIndex(uint8_t a, uint8_t b);
    uint32_t GetClrImportant() const { return m_head.biClrImportant; }
    void SetClrImportant(uint32_t n);

    // ---- Pixels (x from the left, y from the bottom) ----
    uint8_t GetPixelIndex(int32_t x, int32_t y) const;
    uint8_t GetPixelIndexUnchecked(int32_t x, int32_t y) const;
    void SetPixelIndex(int32_t x, int32_t y, uint8_t index);
    void SetPixelIndexUnchecked(int32_t x, int32_t y, uint8_t index);
    CrRgbQuad GetPixelColor(int32_t x, int32_t y, bool getAlpha = true) const;
    CrRgbQuad GetPixelColorUnchecked(int32_t x, int32_t y, bool getAlpha = true) const;
    void SetPixelColor(int32_t x, int32_t y, CrRgbQuad color, bool setAlpha = false);
    // `colorRef` in red-low order (0x00BBGGRR).
    void SetPixelColor(int32_t x, int32_t y, uint32_t colorRef);
    void SetPixelColorUnchecked(int32_t x, int32_t y, CrRgbQuad color, bool setAlpha = false);
    uint8_t GetNearestIndex(CrRgbQuad color);
    static CrRgbQuad RGBtoRGBQUAD(uint32_t colorRef);
    void RGBtoBGR(uint8_t* buffer, int32_t length) const;
    uint8_t* GetPixelPointer(int32_t x, int32_t y) const;
    // Fills this 24-bit image from 16- or 32-bit pixels laid out by the given masks.
    bool BitFieldsToRGB(const uint8_t* src, uint32_t redMask, uint32_t greenMask, uint32_t blueMask, uint32_t bpp);

    // ---- Alpha plane ----
    bool AlphaIsValid() const { return m_pAlpha != nullptr; }
    bool AlphaCreate();
    void AlphaDelete();
    void AlphaSet(uint8_t level);
    void AlphaSet(int32_t x, int32_t y, uint8_t level);
    bool AlphaSet(const CrImage& gray);
    bool AlphaCopy(const CrImage& src);
    void AlphaInvert();
    uint8_t AlphaGet(int32_t x, int32_t y) const;
    uint8_t* AlphaGetPointer(int32_t x = 0, int32_t y = 0) const;
    uint8_t AlphaGetUnchecked(int32_t x, int32_t y) const;
    uint8_t GetAlphaMax() const { return m_info.alphaMax; }
    void SetAlphaMax(uint8_t max) { m_info.alphaMax = max; }
    bool AlphaPaletteIsValid() const;
    bool AlphaFlip();
    bool AlphaMirror();
    bool AlphaSplit(CrImage* dest);

    // ---- Selection mask ----
    bool SelectionIsValid() const { return m_pSelection != nullptr; }
    bool SelectionCreate();
    void SelectionDelete();
    bool SelectionIsInside(int32_t x, int32_t y) const;
    bool SelectionCopy(const CrImage& src);
    void SelectionSet(int32_t x, int32_t y, uint8_t level);
    uint8_t SelectionGetUnchecked(int32_t x, int32_t y) const;
    uint8_t* SelectionGetPointer(int32_t x = 0, int32_t y = 0) const;
    CrRectL GetSelectionBox() const { return m_info.selectionBox; }
    void SetSelectionBox(const CrRectL& box) { m_info.selectionBox = box; }
    bool SelectionFlip();
    bool SelectionMirror();

    // ---- Sub-pixel sampling (pixel centres at integer coordinates) ----
    int32_t ApplyOverflow(int32_t& x, int32_t& y, int32_t method) const;
    float ApplyOverflow(float& x, float& y, int32_t method) const;
    // `background` defaults to white with alpha 0.
    CrRgbQuad GetPixelColorWithOverflow(int32_t x, int32_t y, int32_t overflow = CRIMAGE_OM_BACKGROUND,
                                        const CrRgbQuad* background = nullptr) const;
    CrRgbQuad GetPixelColorInterpolated(float x, float y, int32_t method = CRIMAGE_IM_BILINEAR,
                                        int32_t overflow = CRIMAGE_OM_BACKGROUND,
                                        const CrRgbQuad* background = nullptr) const;
    CrRgbQuad GetAreaColorInterpolated(float x, float y, float width, float height,
                                       int32_t method = CRIMAGE_IM_BILINEAR,
                                       int32_t overflow = CRIMAGE_OM_BACKGROUND,
                                       const CrRgbQuad* background = nullptr) const;
    static void AddAreaContribution(CrRgbQuad color, float weight, float* red, float* green, float* blue, float* alpha);

    // ---- Filter kernels (distance from the sample point) ----
    static float KernelBSpline(float x);
    static float KernelCubic(float x);
    static float KernelGeneralizedCubic(float x, float a = -0.5f);
    static float KernelLanczosSinc(float x, float r = 3.0f);
    static float KernelBox(float x);
    static float KernelHermite(float x);
    static float KernelHanning(float x);
    static float KernelHamming(float x);
    static float KernelSinc(float x);
    static float KernelBlackman(float x);
    static float KernelBesselJ1(float x);
    static float KernelBesselP1(float x);
    static float KernelBesselQ1(float x);
    static float KernelBesselOrder1(float x);
    static float KernelBessel(float x);
    static float KernelGaussian(float x);
    static float KernelQuadratic(float x);
    static float KernelMitchell(float x);
    static float KernelCatrom(float x);
    static float KernelPower(float x, float a = 2.0f);

    // ---- Whole-image operations (results go to `dest`, or to this image when it is null) ----
    bool IncreaseBpp(uint32_t bpp);
    bool GrayScale();
    bool Flip(bool flipSelection = true, bool flipAlpha = true);
    bool Mirror(bool mirrorSelection = true, bool mirrorAlpha = true);
    bool RotateLeft(CrImage* dest = nullptr);
    bool RotateRight(CrImage* dest = nullptr);
    bool Negative();
    bool Resample(int32_t newWidth, int32_t newHeight, int32_t mode = CRIMAGE_RESAMPLE_AUTO, CrImage* dest = nullptr);
    // `canvas` fills the margins; its fourth byte is the alpha level there.
    bool Expand(int32_t left, int32_t top, int32_t right, int32_t bottom, CrRgbQuad canvas, CrImage* dest = nullptr);
    bool Expand(int32_t newWidth, int32_t newHeight, CrRgbQuad canvas, CrImage* dest = nullptr);
    bool Thumbnail(int32_t width, int32_t height, CrRgbQuad canvas, CrImage* dest = nullptr);

    // ---- Drawing (screen coordinates: y grows downwards) ----
    // True when drawing must blend over the screen: a transparent index, an alpha plane or palette alpha.
    bool NeedsBlending() const;
    // Paints the image, placed at (x, y) and cx × cy on the screen, into the part of the screen
    // rectangle `area` holds that the destination covers: opaque images overwrite it, others blend
    // over what it shows. `flip` shows the picture upside down within its destination.
    void DrawInto(CrPaintBuffer& area, int32_t x, int32_t y, int32_t cx, int32_t cy, bool smooth, bool flip) const;
#ifdef _WIN32
    // Into a device context; cx or cy below 0 means the image's own size. False when nothing was drawn.
    bool Draw(HDC__* hdc, int32_t x, int32_t y, int32_t cx = -1, int32_t cy = -1, const tagRECT* clip = nullptr,
              bool smooth = false, bool flip = false) const;
    bool Draw(HDC__* hdc, const tagRECT& rect, const tagRECT* clip = nullptr, bool smooth = false, bool flip = false) const;
#endif

    // ---- Codec dispatch (load, save, decode, encode by format id) ----
    // Format id 0 decodes by trying every codec. The encoded buffer is the caller's to free().
    bool Decode(CrFile* file, uint32_t formatId);
    bool Decode(FILE* stream, uint32_t formatId);
    bool Decode(uint8_t* buffer, uint32_t size, uint32_t formatId);
    bool Load(const wchar_t* path, uint32_t formatId = CRIMAGE_FORMAT_UNKNOWN);
#ifdef _WIN32
    // An HRSRC of the HMODULE `module`.
    bool LoadResource(void* resource, uint32_t formatId, void* module = nullptr);
#endif
    bool Encode(CrFile* file, uint32_t formatId);
    bool Encode(FILE* stream, uint32_t formatId);
    bool Encode(uint8_t** buffer, int32_t* size, uint32_t formatId);
    bool Save(const wchar_t* path, uint32_t formatId);
    // True (with the reason in the last error) when there is no file or no pixel data to encode.
    bool CheckEncodeArgs(CrFile* file);

protected:
    // Byte order of 16- and 32-bit values read from files (little-endian on disk).
    uint16_t FileToHost16(uint16_t value) const;
    uint32_t FileToHost32(uint32_t value) const;
    void FileToHost(CrBitmapInfoHeader* header) const;

    void SetLastError(const char* text);
    // Frame array for decoders: `count` empty entries (old frames deleted), and storing an
    // owned frame (the old one at that place deleted).
    bool AllocFrames(int32_t count);
    bool PutFrame(int32_t index, CrImage* frame);

    uint8_t* m_pDib;             // header copy, palette and pixel rows in one block
    CrBitmapInfoHeader m_head;
    CrImageInfo m_info;
    uint8_t* m_pSelection;       // width × height bytes, rows bottom-up
    uint8_t* m_pAlpha;           // width × height bytes, rows bottom-up
    CrImage** m_ppLayers;
    CrImage** m_ppFrames;

private:
    // 1 decoded or encoded, 0 the codec failed, -1 no such codec in this build.
    int DecodeAs(uint32_t formatId, CrFile* file, int32_t start);
    int EncodeAs(uint32_t formatId, CrFile* file);

    void StartUp(uint32_t formatId);
    void AssignInfo(const CrImageInfo& src);
    void SyncHeader();
    void SetResolution(int32_t* dpiField, int32_t* pelsPerMeter, int32_t dpi);
    void SetProgress(uint32_t percent);
    size_t PlaneSize() const;
    void ShareContent(const CrImage& src);
    void TakeFrames(CrImage& src);
    // A new image of this one's depth, format, info block and palette at another size.
    bool MakeLike(CrImage& target, int32_t width, int32_t height, uint32_t bpp);
    bool MoveResult(CrImage& result, CrImage* dest);
    bool Rotate(bool left, CrImage* dest);
    void ResampleNearest(CrImage& target);
    void ResampleBicubic(CrImage& target);
    void ResampleBilinear(CrImage& target);
    void ResampleArea(CrImage& target);
    bool ResampleAlpha(CrImage& target, int32_t mode);
    CrRgbQuad SampleKernel(float x, float y, int32_t method, int32_t overflow, const CrRgbQuad& background) const;

    int32_t m_frameSlots;        // entries of m_ppFrames, whatever the info block's count says
};
