#pragma once
// Sizes and places of pictures: thumbnails, list icons and the canvas's fitted or zoomed frame.
struct ViewSize {
    int cx;
    int cy;
};

struct ViewRect {
    int left, top, right, bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
};

// A picture of `size` scaled to fill the box's width or height, keeping its aspect (at least 1 x 1).
ViewSize FitThumbnail(ViewSize size, ViewSize box);
// A picture scaled so that its longer side is `side` pixels (at least 1 x 1).
ViewSize FitIcon(ViewSize size, int side);
// Where the canvas draws a frame of `image` in `client`: zoom 0 fits it to the window, any other
// zoom is in per cent and is reduced to fit; centred. Empty when nothing is to be drawn.
ViewRect FrameRect(int zoom, ViewSize image, ViewRect client);
