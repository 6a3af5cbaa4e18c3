#pragma once
// Point, size and rectangle over the Win32 records, so they pass wherever the API wants one.
#include <windows.h>

class CSize : public SIZE {
public:
    CSize() { cx = 0; cy = 0; }
    CSize(int x, int y) { cx = x; cy = y; }
    CSize(SIZE s) { cx = s.cx; cy = s.cy; }
    bool operator==(SIZE s) const { return cx == s.cx && cy == s.cy; }
    bool operator!=(SIZE s) const { return !(*this == s); }
};

class CPoint : public POINT {
public:
    CPoint() { x = 0; y = 0; }
    CPoint(int px, int py) { x = px; y = py; }
    CPoint(POINT p) { x = p.x; y = p.y; }
    // The packed form of mouse messages' lParam.
    explicit CPoint(LPARAM packed) { x = static_cast<short>(LOWORD(packed)); y = static_cast<short>(HIWORD(packed)); }
    void Offset(int dx, int dy) { x += dx; y += dy; }
    bool operator==(POINT p) const { return x == p.x && y == p.y; }
    bool operator!=(POINT p) const { return !(*this == p); }
    CPoint operator+(SIZE s) const { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(SIZE s) const { return CPoint(x - s.cx, y - s.cy); }
    CSize operator-(POINT p) const { return CSize(x - p.x, y - p.y); }
};

class CRect : public RECT {
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& r) { left = r.left; top = r.top; right = r.right; bottom = r.bottom; }
    CRect(POINT topLeft, SIZE size) { left = topLeft.x; top = topLeft.y; right = left + size.cx; bottom = top + size.cy; }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    bool IsRectEmpty() const { return ::IsRectEmpty(this) != FALSE; }
    bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool PtInRect(POINT p) const { return ::PtInRect(this, p) != FALSE; }

    void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
    void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
    void MoveToXY(int x, int y) { OffsetRect(x - left, y - top); }
    void MoveToX(int x) { OffsetRect(x - left, 0); }
    void MoveToY(int y) { OffsetRect(0, y - top); }
    void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
    void InflateRect(int l, int t, int r, int b) { left -= l; top -= t; right += r; bottom += b; }
    void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }
    void DeflateRect(int l, int t, int r, int b) { left += l; top += t; right -= r; bottom -= b; }
    void NormalizeRect()
    {
        if (left > right) { LONG t = left; left = right; right = t; }
        if (top > bottom) { LONG t = top; top = bottom; bottom = t; }
    }
    bool IntersectRect(const RECT& a, const RECT& b) { return ::IntersectRect(this, &a, &b) != FALSE; }
    bool UnionRect(const RECT& a, const RECT& b) { return ::UnionRect(this, &a, &b) != FALSE; }

    bool operator==(const RECT& r) const { return ::EqualRect(this, &r) != FALSE; }
    bool operator!=(const RECT& r) const { return !(*this == r); }
    operator RECT*() { return this; }
    operator const RECT*() const { return this; }
};
