// Basic value types of the platform: integer aliases, colours, points, sizes, rectangles.
#pragma once

#include <algorithm>
#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;
using COLORREF = std::uint32_t;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// Colours are 0x00BBGGRR: red in the low byte.
constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b)
{
    return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
constexpr BYTE GetRValue(COLORREF cr) { return BYTE(cr & 0xFF); }
constexpr BYTE GetGValue(COLORREF cr) { return BYTE((cr >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF cr) { return BYTE((cr >> 16) & 0xFF); }

struct POINT {
    LONG x;
    LONG y;
};

struct SIZE {
    LONG cx;
    LONG cy;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

using LPPOINT = POINT*;
using LPRECT = RECT*;
using LPCRECT = const RECT*;

class CPoint : public POINT {
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int x0, int y0) : POINT{x0, y0} {}
    CPoint(POINT pt) : POINT(pt) {}
    bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
    CPoint operator-(const CPoint& o) const { return CPoint(x - o.x, y - o.y); }
    CPoint operator+(const CPoint& o) const { return CPoint(x + o.x, y + o.y); }
    CPoint& operator+=(const CPoint& o)
    {
        x += o.x;
        y += o.y;
        return *this;
    }
};

class CSize : public SIZE {
public:
    CSize() : SIZE{0, 0} {}
    CSize(int cx0, int cy0) : SIZE{cx0, cy0} {}
    bool operator==(const CSize& o) const { return cx == o.cx && cy == o.cy; }
};

class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(RECT rc) : RECT(rc) {}
    CRect(CPoint topLeft, CPoint bottomRight)
        : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}
    {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    void OffsetRect(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    // Left and top inside, right and bottom outside.
    bool PtInRect(POINT pt) const
    {
        return pt.x >= left && pt.x < right && pt.y >= top && pt.y < bottom;
    }
    CRect Normalized() const;
    bool operator==(const CRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};

inline CRect CRect::Normalized() const
{
    CRect r = *this;
    if (r.left > r.right) {
        r.left = right;
        r.right = left;
    }
    if (r.top > r.bottom) {
        r.top = bottom;
        r.bottom = top;
    }
    return r;
}

// A coordinate worked out in 64 bits, brought back into the 32-bit range: beyond an end of
// it, that end.
inline LONG SaturatedLong(std::int64_t v)
{
    return LONG(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

// The rectangle with `before` more on its left and top and `after` more on its right and
// bottom; edges that would leave the 32-bit range stop at its ends.
inline CRect GrownRect(const CRect& r, std::int64_t before, std::int64_t after)
{
    return CRect(SaturatedLong(std::int64_t(r.left) - before),
                 SaturatedLong(std::int64_t(r.top) - before),
                 SaturatedLong(std::int64_t(r.right) + after),
                 SaturatedLong(std::int64_t(r.bottom) + after));
}

inline BOOL PtInRect(const RECT* rc, POINT pt) { return CRect(*rc).PtInRect(pt) ? TRUE : FALSE; }

// The smallest rectangle holding both; an empty one counts for nothing. FALSE when the result
// is empty.
inline BOOL UnionRect(LPRECT dst, const RECT* a, const RECT* b)
{
    const CRect ra(*a), rb(*b);
    if (ra.IsRectEmpty() || rb.IsRectEmpty()) {
        *dst = ra.IsRectEmpty() ? (rb.IsRectEmpty() ? CRect() : rb) : ra;
        return !CRect(*dst).IsRectEmpty();
    }
    *dst = CRect(ra.left < rb.left ? ra.left : rb.left, ra.top < rb.top ? ra.top : rb.top,
                 ra.right > rb.right ? ra.right : rb.right,
                 ra.bottom > rb.bottom ? ra.bottom : rb.bottom);
    return TRUE;
}

// The common part of both; FALSE, and an empty rectangle, when they do not meet.
inline BOOL IntersectRect(LPRECT dst, const RECT* a, const RECT* b)
{
    const CRect r(a->left > b->left ? a->left : b->left, a->top > b->top ? a->top : b->top,
                  a->right < b->right ? a->right : b->right,
                  a->bottom < b->bottom ? a->bottom : b->bottom);
    *dst = r.IsRectEmpty() ? CRect() : r;
    return !r.IsRectEmpty();
}
