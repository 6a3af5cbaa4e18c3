#pragma once
// A memory context over 32-bit pixels to draw into and read back, for drawing tests that need
// no screen.
#include <windows.h>

#include <functional>

class DibCanvas {
public:
    DibCanvas(int width, int height) : m_width(width), m_height(height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;
    ~DibCanvas()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }

    HDC Dc() const { return m_dc; }
    COLORREF At(int x, int y) const
    {
        ::GdiFlush();
        const RGBQUAD& q = m_bits[y * m_width + x];
        return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    // Pixels of columns left..right-1 that match.
    int Count(int left, int right, const std::function<bool(COLORREF)>& match) const
    {
        int n = 0;
        for (int y = 0; y < m_height; y++)
            for (int x = left; x < right; x++)
                n += match(At(x, y)) ? 1 : 0;
        return n;
    }
    // An owner-draw request for a combo box item covering the whole canvas.
    DRAWITEMSTRUCT ComboItem(HWND control, int index, UINT state) const
    {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_COMBOBOX;
        item.itemID = static_cast<UINT>(index);
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = control;
        item.hDC = m_dc;
        item.rcItem = RECT{0, 0, m_width, m_height};
        return item;
    }

private:
    int m_width;
    int m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    RGBQUAD* m_bits = nullptr;
};
