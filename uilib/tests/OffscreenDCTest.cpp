#include <gtest/gtest.h>

#include "FwTestSupport.h"
#include "OffscreenDC.h"

namespace {

// A 100 x 100 colour bitmap in a memory context, painted white.
class Canvas {
public:
    CDC dc;
    CBitmap bitmap;
    HGDIOBJ old = nullptr;

    Canvas()
    {
        CClientDC screen(nullptr);
        dc.CreateCompatibleDC(&screen);
        bitmap.CreateCompatibleBitmap(screen.m_hDC, 100, 100);
        old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(CRect(0, 0, 100, 100), RGB(255, 255, 255));
    }
    ~Canvas() { dc.SelectObject(old); }
    COLORREF At(int x, int y) { return dc.GetPixel(x, y); }
};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

} // namespace

TEST(OffscreenDC, DrawsInTargetCoordinatesAndCopiesBackAtTheEnd)
{
    Canvas canvas;
    CRect area(20, 30, 60, 70);
    {
        COffscreenDC off(&canvas.dc, &area);
        off.FillSolidRect(area, kRed);
        off.SetPixel(25, 35, kBlue);
        off.FillSolidRect(CRect(0, 0, 10, 10), kBlue);   // outside the buffer: lost
        EXPECT_EQ(canvas.At(25, 35), kWhite);            // nothing shown yet
    }
    EXPECT_EQ(canvas.At(25, 35), kBlue);
    EXPECT_EQ(canvas.At(20, 30), kRed);
    EXPECT_EQ(canvas.At(59, 69), kRed);
    EXPECT_EQ(canvas.At(19, 30), kWhite);
    EXPECT_EQ(canvas.At(60, 70), kWhite);
    EXPECT_EQ(canvas.At(5, 5), kWhite);
}

TEST(OffscreenDC, WithoutARectangleTheClipBoxIsBuffered)
{
    Canvas canvas;
    CRgn clip;
    clip.CreateRectRgn(10, 10, 50, 50);
    canvas.dc.SelectClipRgn(&clip);
    {
        COffscreenDC off(&canvas.dc);
        off.FillSolidRect(CRect(0, 0, 100, 100), kRed);
    }
    canvas.dc.SelectClipRgn(nullptr);
    EXPECT_EQ(canvas.At(10, 10), kRed);
    EXPECT_EQ(canvas.At(49, 49), kRed);
    EXPECT_EQ(canvas.At(50, 50), kWhite);
    EXPECT_EQ(canvas.At(5, 5), kWhite);
}

TEST(OffscreenDC, PrintingContextsAreDrawnDirectly)
{
    Canvas canvas;
    canvas.dc.m_bPrinting = TRUE;
    {
        COffscreenDC off(&canvas.dc);
        EXPECT_EQ(off.m_hDC, canvas.dc.m_hDC);
        off.SetPixel(3, 3, kBlue);
        EXPECT_EQ(canvas.At(3, 3), kBlue);   // at once
    }
    EXPECT_NE(canvas.dc.m_hDC, nullptr);
    EXPECT_EQ(canvas.At(3, 3), kBlue);       // the target's handle still works
    canvas.dc.m_bPrinting = FALSE;
}

TEST(OffscreenDC, EmptyRectangleCopiesNothing)
{
    Canvas canvas;
    CRect empty(40, 40, 40, 40);
    {
        COffscreenDC off(&canvas.dc, &empty);
        off.FillSolidRect(CRect(0, 0, 100, 100), kRed);
    }
    EXPECT_EQ(canvas.At(40, 40), kWhite);
}
