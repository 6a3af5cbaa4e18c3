#pragma once
// Small point and rectangle types of the image library.
#include <cstdint>

// Integer box with y counted from the bottom of the picture, so top lies above bottom.
struct CrRectL {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct CrPointF {
    float x;
    float y;

    CrPointF() : x(0), y(0) {}
    CrPointF(float px, float py) : x(px), y(py) {}
};

struct CrRectF {
    float left;
    float top;
    float right;
    float bottom;

    CrRectF() : left(0), top(0), right(0), bottom(0) {}
    CrRectF(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) {}
    CrRectF(const CrRectF&) = default;
    CrRectF& operator=(const CrRectF&) = default;

    float Width() const { return right - left; }
    float Height() const { return bottom - top; }
    float Area() const { return Width() * Height(); }
    CrPointF Center() const { return CrPointF((left + right) / 2, (top + bottom) / 2); }
    // The common part; the empty rectangle when the two do not meet.
    CrRectF Intersect(const CrRectF& other) const
    {
        CrRectF r(left > other.left ? left : other.left, top > other.top ? top : other.top,
                  right < other.right ? right : other.right, bottom < other.bottom ? bottom : other.bottom);
        if (r.left > r.right || r.top > r.bottom)
            return CrRectF();
        return r;
    }
};
