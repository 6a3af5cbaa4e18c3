#include "CrImage.h"

#include "CrDibArena.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

bool HostIsLittleEndian()
{
    const uint16_t probe = 1;
    uint8_t first;
    memcpy(&first, &probe, 1);
    return first == 1;
}

uint16_t Swap16(uint16_t v) { return static_cast<uint16_t>((v >> 8) | (v << 8)); }
uint32_t Swap32(uint32_t v)
{
    return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}

uint32_t NormalisedBpp(uint32_t bpp)
{
    if (bpp <= 1)
        return 1;
    if (bpp <= 4)
        return 4;
    if (bpp <= 8)
        return 8;
    return 24;
}

int32_t PelsPerMeter(int32_t dpi)
{
    return static_cast<int32_t>(std::floor(dpi * 39.37007874015748 + 0.5));
}

} // namespace

// ---- Life cycle ----

CrImage::CrImage(uint32_t formatId)
{
    StartUp(formatId);
}

CrImage::CrImage(int32_t width, int32_t height, uint32_t bpp, uint32_t formatId)
{
    StartUp(formatId);
    Create(width, height, bpp, formatId);
}

CrImage::CrImage(const CrImage& src, bool copyPixels, bool copySelection, bool copyAlpha)
{
    StartUp(src.GetType());
    Copy(src, copyPixels, copySelection, copyAlpha);
}

CrImage& CrImage::operator=(const CrImage& src)
{
    if (this != &src && !IsGhost()) {
        DestroyFrames();
        Copy(src);
    }
    return *this;
}

CrImage::~CrImage()
{
    DestroyFrames();
    Destroy();
}

void CrImage::StartUp(uint32_t formatId)
{
    m_pDib = nullptr;
    m_pSelection = nullptr;
    m_pAlpha = nullptr;
    m_ppLayers = nullptr;
    m_ppFrames = nullptr;
    m_frameSlots = 0;
    memset(&m_head, 0, sizeof(m_head));
    memset(&m_info, 0, sizeof(m_info));
    m_info.formatId = formatId;
    m_info.jpegQuality = 90.0f;
    m_info.jpegScale = 1;
    m_info.alphaMax = 255;
    m_info.transIndex = -1;
    m_info.enabled = true;
    m_info.littleEndianHost = HostIsLittleEndian();
    SetXDPI(96);
    SetYDPI(96);
}

bool CrImage::Destroy()
{
    if (IsGhost())
        return false;
    if (m_ppLayers) {
        for (int32_t i = 0; i < m_info.layerCount; i++)
            delete m_ppLayers[i];
        delete[] m_ppLayers;
        m_ppLayers = nullptr;
    }
    free(m_pSelection);
    free(m_pAlpha);
    CrDibFree(m_pDib);
    m_pSelection = m_pAlpha = m_pDib = nullptr;
    m_info.pFirstRow = nullptr;
    return true;
}

bool CrImage::DestroyFrames()
{
    if (IsGhost())
        return false;
    if (!m_ppFrames)
        return true;
    for (int32_t i = 0; i < m_frameSlots; i++)
        delete m_ppFrames[i];
    delete[] m_ppFrames;
    m_ppFrames = nullptr;
    m_frameSlots = 0;
    m_info.frameCount = 0;
    return true;
}

uint8_t* CrImage::Create(int32_t width, int32_t height, uint32_t bpp, uint32_t formatId)
{
    return Create(width, height, bpp, formatId, nullptr);
}

uint8_t* CrImage::Create(int32_t width, int32_t height, uint32_t bpp, uint32_t formatId, CrDibArena* arena)
{
    if (!Destroy())
        return nullptr;
    if (width <= 0 || height <= 0) {
        SetLastError("CrImage::Create : width and height must be greater than zero");
        return nullptr;
    }
    bpp = NormalisedBpp(bpp);
    const uint64_t rowBytes = ((static_cast<uint64_t>(width) * bpp + 31) / 32) * 4;
    const uint64_t imageSize = rowBytes * static_cast<uint64_t>(height);
    if (static_cast<double>(width) * height * bpp / 8 > CRIMAGE_MAX_MEMORY ||
        static_cast<double>(imageSize) > CRIMAGE_MAX_MEMORY) {
        SetLastError("CRIMAGE_MAX_MEMORY exceeded");
        return nullptr;
    }
    const uint32_t colors = bpp == 1 ? 2 : bpp == 4 ? 16 : bpp == 8 ? 256 : 0;

    m_info.formatId = formatId;
    m_info.rowBytes = static_cast<uint32_t>(rowBytes);
    m_head.biSize = sizeof(CrBitmapInfoHeader);
    m_head.biWidth = width;
    m_head.biHeight = height;
    m_head.biPlanes = 1;
    m_head.biBitCount = static_cast<uint16_t>(bpp);
    m_head.biCompression = 0;
    m_head.biSizeImage = static_cast<uint32_t>(imageSize);
    m_head.biClrUsed = colors;

    // Zeroed, so a decoder that stops early leaves defined pixels behind.
    const size_t bytes = sizeof(CrBitmapInfoHeader) + colors * 4 + size_t(imageSize);
    m_pDib = arena ? arena->Alloc(bytes) : CrDibAlloc(bytes);
    if (!m_pDib) {
        SetLastError("CrImage::Create can't allocate memory");
        return nullptr;
    }
    memcpy(m_pDib, &m_head, sizeof(m_head));
    m_info.pFirstRow = m_pDib + sizeof(CrBitmapInfoHeader) + colors * 4;
    m_info.nearestValid = false;
    return m_pDib;
}

bool CrImage::Copy(const CrImage& src, bool copyPixels, bool copySelection, bool copyAlpha)
{
    if (&src == this)
        return IsValid();
    if (src.IsGhost()) {
        Ghost(src);
        return IsValid();
    }
    // A ghost's header must keep describing the buffers it shares.
    if (IsGhost())
        return false;
    AssignInfo(src.m_info);
    m_head = src.m_head;
    if (!Create(src.GetWidth(), src.GetHeight(), src.GetBpp(), src.GetType()))
        return false;
    if (src.IsValid()) {
        const uint32_t paletteBytes = GetPaletteSize() < src.GetPaletteSize() ? GetPaletteSize() : src.GetPaletteSize();
        if (paletteBytes)
            memcpy(GetPalette(), src.GetPalette(), paletteBytes);
        if (copyPixels)
            memcpy(m_info.pFirstRow, src.m_info.pFirstRow, static_cast<size_t>(m_head.biSizeImage));
    }
    const size_t plane = PlaneSize();
    if (copySelection && src.m_pSelection) {
        m_pSelection = static_cast<uint8_t*>(malloc(plane));
        if (m_pSelection)
            memcpy(m_pSelection, src.m_pSelection, plane);
    }
    if (copyAlpha && src.m_pAlpha) {
        m_pAlpha = static_cast<uint8_t*>(malloc(plane));
        if (m_pAlpha)
            memcpy(m_pAlpha, src.m_pAlpha, plane);
    }
    return true;
}

void CrImage::CopyInfo(const CrImage& src)
{
    if (!m_pDib)
        AssignInfo(src.m_info);
}

// Copies the info block but keeps the fields that describe this image's own buffers.
void CrImage::AssignInfo(const CrImageInfo& src)
{
    const uint32_t rowBytes = m_info.rowBytes;
    uint8_t* firstRow = m_info.pFirstRow;
    CrImage* ghostSource = m_info.pGhostSource;
    CrImage* parent = m_info.pParent;
    const int32_t layers = m_info.layerCount;
    m_info = src;
    m_info.rowBytes = rowBytes;
    m_info.pFirstRow = firstRow;
    m_info.pGhostSource = ghostSource;
    m_info.pParent = parent;
    m_info.layerCount = layers;
}

bool CrImage::Transfer(CrImage& src, bool transferFrames)
{
    if (&src == this || !Destroy())
        return false;
    if (transferFrames)
        DestroyFrames();
    ShareContent(src);
    memset(&src.m_head, 0, sizeof(src.m_head));
    memset(&src.m_info, 0, sizeof(src.m_info));
    src.m_pDib = src.m_pSelection = src.m_pAlpha = nullptr;
    src.m_ppLayers = nullptr;
    if (transferFrames)
        TakeFrames(src);
    return true;
}

// Header, info block and the buffers except the frames, without freeing or copying anything.
void CrImage::ShareContent(const CrImage& src)
{
    m_head = src.m_head;
    m_info = src.m_info;
    m_pDib = src.m_pDib;
    m_pSelection = src.m_pSelection;
    m_pAlpha = src.m_pAlpha;
    m_ppLayers = src.m_ppLayers;
}

void CrImage::TakeFrames(CrImage& src)
{
    m_ppFrames = src.m_ppFrames;
    m_frameSlots = src.m_frameSlots;
    src.m_ppFrames = nullptr;
    src.m_frameSlots = 0;
}

void CrImage::Ghost(const CrImage& src)
{
    if (&src == this)
        return;
    if (!IsGhost()) {
        DestroyFrames();
        Destroy();
    }
    ShareContent(src);
    m_ppFrames = src.m_ppFrames;
    m_frameSlots = src.m_frameSlots;
    m_info.pGhostSource = const_cast<CrImage*>(&src);
}

void CrImage::Clear(uint8_t value)
{
    if (!m_pDib)
        return;
    if (GetBpp() == 1 && value)
        value = 255;
    else if (GetBpp() == 4)
        value = static_cast<uint8_t>((value & 15) * 17);
    memset(m_info.pFirstRow, value, static_cast<size_t>(m_info.rowBytes) * GetHeight());
}

// ---- Frames ----

CrImage* CrImage::GetFrame(int32_t n) const
{
    int32_t count = m_info.frameCount < m_frameSlots ? m_info.frameCount : m_frameSlots;
    if (!m_ppFrames || count <= 0)
        return nullptr;
    if (n < 0)
        return m_ppFrames[count - 1];
    return n < count ? m_ppFrames[n] : nullptr;
}

bool CrImage::AllocFrames(int32_t count)
{
    if (!DestroyFrames() || count <= 0)
        return false;
    m_ppFrames = new (std::nothrow) CrImage*[static_cast<size_t>(count)]();
    if (!m_ppFrames)
        return false;
    m_frameSlots = count;
    m_info.frameCount = count;
    return true;
}

bool CrImage::PutFrame(int32_t index, CrImage* frame)
{
    if (IsGhost() || !m_ppFrames || index < 0 || index >= m_frameSlots)
        return false;
    if (m_ppFrames[index] != frame)
        delete m_ppFrames[index];
    m_ppFrames[index] = frame;
    return true;
}

// ---- Access ----

uint8_t* CrImage::GetBits(uint32_t row) const
{
    if (!m_pDib || row >= static_cast<uint32_t>(GetHeight()))
        return nullptr;
    return m_info.pFirstRow + static_cast<size_t>(row) * m_info.rowBytes;
}

uint32_t CrImage::GetSize() const
{
    if (!m_pDib)
        return 0;
    return m_head.biSize + GetPaletteSize() + m_head.biSizeImage;
}

bool CrImage::IsInside(int32_t x, int32_t y) const
{
    return x >= 0 && y >= 0 && x < GetWidth() && y < GetHeight();
}

bool CrImage::SetType(uint32_t formatId)
{
    if (formatId >= CRIMAGE_FORMAT_BMP && formatId <= CRIMAGE_FORMAT_ICO) {
        m_info.formatId = formatId;
        return true;
    }
    m_info.formatId = CRIMAGE_FORMAT_UNKNOWN;
    return false;
}

uint32_t CrImage::GetOptionSlot(uint32_t formatId)
{
    return formatId < CRIMAGE_FORMAT_SLOTS ? formatId : 0;
}

uint32_t CrImage::GetCodecOption(uint32_t formatId) const
{
    uint32_t slot = GetOptionSlot(formatId);
    if (slot == 0)
        slot = GetOptionSlot(m_info.formatId);
    return m_info.codecOptions[slot];
}

bool CrImage::SetCodecOption(uint32_t option, uint32_t formatId)
{
    uint32_t slot = GetOptionSlot(formatId);
    if (slot == 0)
        slot = GetOptionSlot(m_info.formatId);
    m_info.codecOptions[slot] = option;
    return true;
}

void CrImage::SetTransIndex(int32_t index)
{
    m_info.transIndex = static_cast<int64_t>(index) < static_cast<int64_t>(GetNumColors()) ? index : 0;
}

CrRgbQuad CrImage::GetTransColor() const
{
    if (GetBpp() < 24 && m_info.transIndex >= 0)
        return GetPaletteColor(static_cast<uint32_t>(m_info.transIndex));
    return m_info.transColor;
}

void CrImage::SetTransColor(CrRgbQuad color)
{
    color.rgbReserved = 0;
    m_info.transColor = color;
}

void CrImage::SetXDPI(int32_t dpi)
{
    SetResolution(&m_info.xDpi, &m_head.biXPelsPerMeter, dpi);
}

void CrImage::SetYDPI(int32_t dpi)
{
    SetResolution(&m_info.yDpi, &m_head.biYPelsPerMeter, dpi);
}

void CrImage::SetResolution(int32_t* dpiField, int32_t* pelsPerMeter, int32_t dpi)
{
    if (dpi <= 0)
        dpi = 96;
    *dpiField = dpi;
    *pelsPerMeter = PelsPerMeter(dpi);
    SyncHeader();
}

// The pixel block carries its own copy of the header (the clipboard and the BMP writer use it).
void CrImage::SyncHeader()
{
    if (m_pDib)
        memcpy(m_pDib, &m_head, sizeof(m_head));
}

void CrImage::GetOffset(int32_t* x, int32_t* y) const
{
    if (x)
        *x = m_info.xOffset;
    if (y)
        *y = m_info.yOffset;
}

void CrImage::SetOffset(int32_t x, int32_t y)
{
    m_info.xOffset = x;
    m_info.yOffset = y;
}

int32_t CrImage::GetJpegQuality() const
{
    return static_cast<int32_t>(std::floor(m_info.jpegQuality + 0.5f));
}

int32_t CrImage::GetEscape() const
{
    return __atomic_load_n(&m_info.escape, __ATOMIC_RELAXED);
}

void CrImage::SetEscape(int32_t escape)
{
    __atomic_store_n(&m_info.escape, escape, __ATOMIC_RELAXED);
}

uint32_t CrImage::GetProgress() const
{
    return __atomic_load_n(&m_info.progress, __ATOMIC_RELAXED);
}

void CrImage::SetProgress(uint32_t percent)
{
    __atomic_store_n(&m_info.progress, percent, __ATOMIC_RELAXED);
}

void CrImage::SetLastError(const char* text)
{
    strncpy(m_info.lastError, text ? text : "", sizeof(m_info.lastError) - 1);
    m_info.lastError[sizeof(m_info.lastError) - 1] = 0;
}

size_t CrImage::PlaneSize() const
{
    return static_cast<size_t>(GetWidth()) * static_cast<size_t>(GetHeight());
}

// ---- Byte order ----

uint16_t CrImage::FileToHost16(uint16_t value) const
{
    return m_info.littleEndianHost ? value : Swap16(value);
}

uint32_t CrImage::FileToHost32(uint32_t value) const
{
    return m_info.littleEndianHost ? value : Swap32(value);
}

void CrImage::FileToHost(CrBitmapInfoHeader* header) const
{
    if (!header || m_info.littleEndianHost)
        return;
    header->biSize = Swap32(header->biSize);
    header->biWidth = static_cast<int32_t>(Swap32(static_cast<uint32_t>(header->biWidth)));
    header->biHeight = static_cast<int32_t>(Swap32(static_cast<uint32_t>(header->biHeight)));
    header->biPlanes = Swap16(header->biPlanes);
    header->biBitCount = Swap16(header->biBitCount);
    header->biCompression = Swap32(header->biCompression);
    header->biSizeImage = Swap32(header->biSizeImage);
    header->biXPelsPerMeter = static_cast<int32_t>(Swap32(static_cast<uint32_t>(header->biXPelsPerMeter)));
    header->biYPelsPerMeter = static_cast<int32_t>(Swap32(static_cast<uint32_t>(header->biYPelsPerMeter)));
    header->biClrUsed = Swap32(header->biClrUsed);
    header->biClrImportant = Swap32(header->biClrImportant);
}
