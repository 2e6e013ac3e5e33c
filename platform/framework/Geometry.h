// Points, sizes and rectangles with the value semantics the window and drawing code uses.
#pragma once

#include "WinTypes.h"

#include <algorithm>
#include <ostream>

struct POINT
{
    LONG x = 0;
    LONG y = 0;
};

struct SIZE
{
    LONG cx = 0;
    LONG cy = 0;
};

struct RECT
{
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};

class CSize : public SIZE
{
public:
    constexpr CSize() noexcept = default;
    constexpr CSize(int w, int h) noexcept : SIZE{w, h} {}
    constexpr CSize(SIZE s) noexcept : SIZE(s) {}
    constexpr bool operator==(const CSize& o) const noexcept { return cx == o.cx && cy == o.cy; }
    constexpr CSize operator+(CSize o) const noexcept { return {cx + o.cx, cy + o.cy}; }
    constexpr CSize operator-(CSize o) const noexcept { return {cx - o.cx, cy - o.cy}; }
};

class CPoint : public POINT
{
public:
    constexpr CPoint() noexcept = default;
    constexpr CPoint(int px, int py) noexcept : POINT{px, py} {}
    constexpr CPoint(POINT p) noexcept : POINT(p) {}
    constexpr bool operator==(const CPoint& o) const noexcept { return x == o.x && y == o.y; }
    constexpr CPoint operator+(CSize s) const noexcept { return {x + s.cx, y + s.cy}; }
    constexpr CPoint operator-(CSize s) const noexcept { return {x - s.cx, y - s.cy}; }
    constexpr CSize operator-(CPoint p) const noexcept { return {x - p.x, y - p.y}; }
    constexpr CPoint operator+(CPoint p) const noexcept { return {x + p.x, y + p.y}; }
    void Offset(int dx, int dy) noexcept
    {
        x += dx;
        y += dy;
    }
};

class CRect : public RECT
{
public:
    constexpr CRect() noexcept = default;
    constexpr CRect(int l, int t, int r, int b) noexcept : RECT{l, t, r, b} {}
    constexpr CRect(RECT r) noexcept : RECT(r) {}
    constexpr CRect(CPoint tl, CSize s) noexcept : RECT{tl.x, tl.y, tl.x + s.cx, tl.y + s.cy} {}
    constexpr CRect(CPoint tl, CPoint br) noexcept : RECT{tl.x, tl.y, br.x, br.y} {}

    constexpr int Width() const noexcept { return right - left; }
    constexpr int Height() const noexcept { return bottom - top; }
    constexpr CSize Size() const noexcept { return {Width(), Height()}; }
    constexpr CPoint TopLeft() const noexcept { return {left, top}; }
    constexpr CPoint BottomRight() const noexcept { return {right, bottom}; }
    constexpr CPoint CenterPoint() const noexcept { return {(left + right) / 2, (top + bottom) / 2}; }
    constexpr bool IsRectEmpty() const noexcept { return right <= left || bottom <= top; }
    constexpr bool IsRectNull() const noexcept { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    // Left and top edges are inside, right and bottom outside.
    constexpr bool PtInRect(POINT p) const noexcept
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    constexpr bool operator==(const CRect& o) const noexcept
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }

    void SetRect(int l, int t, int r, int b) noexcept { *this = CRect(l, t, r, b); }
    void SetRectEmpty() noexcept { *this = CRect(); }
    void OffsetRect(int dx, int dy) noexcept
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void OffsetRect(CPoint p) noexcept { OffsetRect(p.x, p.y); }
    void InflateRect(int dx, int dy) noexcept
    {
        left -= dx;
        right += dx;
        top -= dy;
        bottom += dy;
    }
    void DeflateRect(int dx, int dy) noexcept { InflateRect(-dx, -dy); }
    void NormalizeRect() noexcept
    {
        if (left > right)
            std::swap(left, right);
        if (top > bottom)
            std::swap(top, bottom);
    }
    bool IntersectRect(const RECT& a, const RECT& b) noexcept
    {
        *this = CRect(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                      std::min(a.bottom, b.bottom));
        if (IsRectEmpty())
        {
            SetRectEmpty();
            return false;
        }
        return true;
    }
    bool UnionRect(const RECT& a, const RECT& b) noexcept
    {
        const CRect ra(a), rb(b);
        if (ra.IsRectEmpty())
            *this = rb;
        else if (rb.IsRectEmpty())
            *this = ra;
        else
            *this = CRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                          std::max(a.bottom, b.bottom));
        return !IsRectEmpty();
    }
};

inline std::ostream& operator<<(std::ostream& os, const CPoint& p)
{
    return os << '(' << p.x << ',' << p.y << ')';
}
inline std::ostream& operator<<(std::ostream& os, const CSize& s)
{
    return os << '[' << s.cx << 'x' << s.cy << ']';
}
inline std::ostream& operator<<(std::ostream& os, const CRect& r)
{
    return os << '{' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << '}';
}
