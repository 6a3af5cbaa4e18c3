// CrImage::Draw into a device context: clipping, the one-call path for opaque pictures at their own
// size, and a work bitmap for everything that is scaled or blended (composited by DrawInto).
#include "CrImage.h"

#include <windows.h>

#include <algorithm>

namespace {

struct WorkBitmap {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    BITMAPINFO info = {};
    void* bits = nullptr;

    WorkBitmap(HDC target, int32_t width, int32_t height)
    {
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height; // bottom-up
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(target);
        if (dc)
            bitmap = CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap)
            previous = SelectObject(dc, bitmap);
    }
    ~WorkBitmap()
    {
        if (previous)
            SelectObject(dc, previous);
        if (bitmap)
            DeleteObject(bitmap);
        if (dc)
            DeleteDC(dc);
    }
    bool Ready() const { return bitmap && bits && previous; }
};

} // namespace

bool CrImage::Draw(HDC hdc, const RECT& rect, const RECT* clip, bool smooth, bool flip) const
{
    return Draw(hdc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, clip, smooth, flip);
}

bool CrImage::Draw(HDC hdc, int32_t x, int32_t y, int32_t cx, int32_t cy, const RECT* clip, bool smooth, bool flip) const
{
    if (!m_pDib || !hdc || cx == 0 || cy == 0 || !m_info.enabled)
        return false;
    if (cx < 0)
        cx = GetWidth();
    if (cy < 0)
        cy = GetHeight();
    const int saved = SaveDC(hdc);
    if (!saved)
        return false;
    if (clip) {
        HRGN region = CreateRectRgnIndirect(clip);
        ExtSelectClipRgn(hdc, region, RGN_AND);
        DeleteObject(region);
    }
    RECT box = {};
    GetClipBox(hdc, &box);
    const LONG left = std::min(box.right, std::max(box.left, static_cast<LONG>(x)));
    const LONG top = std::min(box.bottom, std::max(box.top, static_cast<LONG>(y)));
    const LONG right = std::max(box.left, std::min(box.right, static_cast<LONG>(x + cx)));
    const LONG bottom = std::max(box.top, std::min(box.bottom, static_cast<LONG>(y + cy)));
    const int32_t pw = right - left, ph = bottom - top;

    bool drawn = true;
    const BITMAPINFO* own = reinterpret_cast<const BITMAPINFO*>(m_pDib);
    if (!NeedsBlending() && cx == GetWidth() && cy == GetHeight()) {
        SetStretchBltMode(hdc, COLORONCOLOR);
        if (!flip)
            SetDIBitsToDevice(hdc, x, y, cx, cy, 0, 0, 0, cy, GetBits(), own, DIB_RGB_COLORS);
        else
            StretchDIBits(hdc, x, y + cy - 1, cx, -cy, 0, 0, cx, cy, GetBits(), own, DIB_RGB_COLORS, SRCCOPY);
    } else if (pw > 0 && ph > 0) {
        WorkBitmap work(hdc, pw, ph);
        drawn = work.Ready();
        if (drawn) {
            if (NeedsBlending())
                BitBlt(work.dc, 0, 0, pw, ph, hdc, left, top, SRCCOPY);
            GdiFlush();
            CrPaintBuffer area = {static_cast<uint8_t*>(work.bits), static_cast<uint32_t>((pw * 3 + 3) & ~3), left, top, pw, ph};
            DrawInto(area, x, y, cx, cy, smooth, flip);
            SetDIBitsToDevice(hdc, left, top, static_cast<DWORD>(pw), static_cast<DWORD>(ph), 0, 0, 0,
                              static_cast<UINT>(ph), work.bits, &work.info, DIB_RGB_COLORS);
        }
    }
    RestoreDC(hdc, saved);
    return drawn;
}
