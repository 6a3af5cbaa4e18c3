#include "ViewGeometry.h"

#include <cstdint>

namespace {
int AtLeastOne(int64_t value) { return value < 1 ? 1 : static_cast<int>(value); }
} // namespace

ViewSize FitThumbnail(ViewSize size, ViewSize box)
{
    if (size.cx <= 0 || size.cy <= 0)
        return ViewSize{0, 0};
    // width / height >= box width / box height, without division.
    if (int64_t(size.cx) * box.cy >= int64_t(box.cx) * size.cy)
        return ViewSize{box.cx, AtLeastOne(int64_t(size.cy) * box.cx / size.cx)};
    return ViewSize{AtLeastOne(int64_t(size.cx) * box.cy / size.cy), box.cy};
}

ViewSize FitIcon(ViewSize size, int side)
{
    if (size.cx <= 0 || size.cy <= 0)
        return ViewSize{0, 0};
    if (size.cx >= size.cy)
        return ViewSize{side, AtLeastOne(int64_t(size.cy) * side / size.cx)};
    return ViewSize{AtLeastOne(int64_t(size.cx) * side / size.cy), side};
}

ViewRect FrameRect(int zoom, ViewSize image, ViewRect client)
{
    const int cw = client.Width(), ch = client.Height();
    const int iw = image.cx, ih = image.cy;
    ViewRect none{client.left, client.top, client.left, client.top};
    if (cw <= 0 || ch <= 0 || iw <= 0 || ih <= 0)
        return none;
    int64_t w, h;
    if (zoom == 0) {
        if (int64_t(iw) * ch > int64_t(cw) * ih) {
            w = cw;
            h = int64_t(ih) * cw / iw;
        } else {
            w = int64_t(iw) * ch / ih;
            h = ch;
        }
    } else {
        w = int64_t(zoom) * iw / 100;
        h = int64_t(zoom) * ih / 100;
        if (w > cw || h > ch) {
            // Both sides times the smaller of cw / w and ch / h, as the fraction num / den. The
            // product is taken just below its exact value (a whole product loses one pixel), as
            // the canvas always reduced: the picture never comes out larger than the window.
            int64_t num = cw, den = w;
            if (int64_t(ch) * w < int64_t(cw) * h) {
                num = ch;
                den = h;
            }
            w = (w * num - 1) / den;
            h = (h * num - 1) / den;
        }
    }
    if (w <= 0 || h <= 0)
        return none;
    int left = client.left + static_cast<int>((cw - w) / 2);
    int top = client.top + static_cast<int>((ch - h) / 2);
    return ViewRect{left, top, left + static_cast<int>(w), top + static_cast<int>(h)};
}
