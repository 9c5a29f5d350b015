// The span rasteriser behind the device contexts: every figure is cut into horizontal spans
// that touch each pixel once, so that an exclusive-or figure drawn twice restores the pixels.
#pragma once

#include "Gdi.h"

#include "framework/core/Types.h"

#include <algorithm>
#include <cstdint>
#include <functional>

namespace raster {

// 32-bit pixels 0xFFRRGGBB, `stride` pixels from one row to the next, holding the part of the
// plane whose top-left point is (originX, originY): figures and the clip are in the plane's
// coordinates. Nothing is drawn outside [clipLeft, clipRight) × [clipTop, clipBottom), which
// lies inside the pixels; a figure is worked out the same with or without a clip, and wherever
// the pixels lie, so inside it the pixels are exactly those it draws without one.
struct Target {
    std::uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
    std::int64_t stride = 0;
    int clipLeft = 0;
    int clipTop = 0;
    int clipRight = width;
    int clipBottom = height;
    std::int64_t originX = 0;
    std::int64_t originY = 0;

    // The pixel of the plane's point (x, y), which lies inside the pixels.
    std::uint32_t* At(std::int64_t x, std::int64_t y) const
    {
        return bits + ((y - originY) * stride + (x - originX));
    }
};

// A colour and the mix mode it is applied with (R2_*).
struct Ink {
    std::uint32_t rgb;
    int mix;
};

struct Stroke {
    int style; // PS_SOLID, PS_DOT or PS_NULL
    int width;
    Ink ink;
};

// Where a rectangle drawn with a solid pen of some width puts its pen and its brush: the pen
// fills the band between the outer and the inner edges (half-open, like every rectangle
// here), the brush what the inner edges hold.
struct RectangleBands {
    std::int64_t outerLeft, outerTop, outerRight, outerBottom;
    std::int64_t innerLeft, innerTop, innerRight, innerBottom;
    bool HasInside() const { return innerLeft < innerRight && innerTop < innerBottom; }
};
RectangleBands BandsOf(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b,
                       int penWidth);

// Whether the rectangle or ellipse with ordered corners l < r, t < b, a solid pen of penWidth
// and a brush paints every pixel of [x0, x1) × [y0, y1), with the one or the other.
bool FigureCovers(bool bEllipse, std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b,
                  int penWidth, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);
// Whether a line from (ax, ay) to (bx, by) with a solid pen of penWidth certainly paints every
// pixel of [x0, x1) × [y0, y1): a pixel or so short of the pen's edge counts as outside, so
// that no rounding of the drawing can tell otherwise.
bool LineCovers(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by, int penWidth,
                std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);

// Applies the ink to the pixels [p, end).
inline void Apply(std::uint32_t* p, std::uint32_t* end, const Ink& ink)
{
    const std::uint32_t rgb = ink.rgb & 0x00FFFFFFu;
    switch (ink.mix) {
    case R2_XORPEN:
        for (; p != end; ++p)
            *p ^= rgb;
        break;
    case R2_NOT:
        for (; p != end; ++p)
            *p ^= 0x00FFFFFFu;
        break;
    case R2_NOP:
        break;
    case R2_BLACK:
        std::fill(p, end, 0xFF000000u);
        break;
    case R2_WHITE:
        std::fill(p, end, 0xFFFFFFFFu);
        break;
    default:
        std::fill(p, end, 0xFF000000u | rgb);
        break;
    }
}

// Qt's vectorised pixel loops can leave the upper halves of the AVX registers in use; then
// every scalar floating-point instruction of the rasteriser, built for the baseline
// instruction set, waits on them, and a figure's arithmetic runs at half speed or worse.
// Drawing clears them first, on every thread it draws on.
void ClearUpperVectorState();

// Draws onto one target and remembers the bounds of what it touched.
class Canvas {
public:
    explicit Canvas(const Target& t) : m_t(t) { ClearUpperVectorState(); }

    // GDI line from (x0, y0) up to but not including (x1, y1).
    void Line(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
              const Stroke& pen);
    // Ordered corners l < r, t < b; brush may be null (hollow).
    void Rectangle(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b,
                   const Stroke& pen, const Ink* brush);
    void Ellipse(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, const Stroke& pen,
                 const Ink* brush);
    // Applies the ink to [x0, x1) of row y, clipped to the target.
    void Span(std::int64_t y, std::int64_t x0, std::int64_t x1, const Ink& ink);
    void Pixel(std::int64_t x, std::int64_t y, const Ink& ink) { Span(y, x, x + 1, ink); }

    int Height() const { return m_t.height; }
    // The rows a figure may touch: the clip's.
    std::int64_t FirstRow() const { return m_t.clipTop; }
    std::int64_t EndRow() const { return m_t.clipBottom; }
    bool Touched() const { return m_left < m_right; }
    CRect Bounds() const
    {
        return Touched() ? CRect(int(m_left), int(m_top), int(m_right), int(m_bottom)) : CRect();
    }

private:
    // Runs row(canvas, y) for y in [y0, y1) clipped to the target, in slices on several
    // threads when the figure is large; each slice draws through a canvas of its own.
    void Rows(std::int64_t y0, std::int64_t y1, std::int64_t width,
              const std::function<void(Canvas&, std::int64_t)>& row);
    // The bounds of what one figure's inner loop touched, kept apart from the canvas's so that
    // they can live in registers.
    struct Touch {
        std::int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
        // Row y's [x0, x1), not empty, rows coming in any order.
        void Add(std::int64_t x0, std::int64_t y, std::int64_t x1)
        {
            left = std::min(left, x0);
            right = std::max(right, x1);
            top = std::min(top, y);
            bottom = std::max(bottom, y + 1);
        }
    };
    void Extend(const Touch& touch)
    {
        if (touch.left < touch.right)
            Extend(touch.left, touch.top, touch.right, touch.bottom);
    }
    // Takes [x0, x1) × [y0, y1), not empty, into the bounds of what was touched.
    void Extend(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1)
    {
        m_left = std::min(m_left, x0);
        m_top = std::min(m_top, y0);
        m_right = std::max(m_right, x1);
        m_bottom = std::max(m_bottom, y1);
    }

    void ThinLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                  const Stroke& pen, std::int64_t patternStart);
    void WideLine(double x0, double y0, double x1, double y1, double radius, const Ink& ink);

    Target m_t;
    // The bounds of what was touched; empty (left not below right) while nothing was.
    std::int64_t m_left = INT64_MAX, m_top = INT64_MAX, m_right = INT64_MIN, m_bottom = INT64_MIN;
};

// Converts 0x00BBGGRR to the surface's 0xFFRRGGBB and back.
constexpr std::uint32_t ToPixel(COLORREF cr)
{
    return 0xFF000000u | ((cr & 0xFFu) << 16) | (cr & 0xFF00u) | ((cr >> 16) & 0xFFu);
}
constexpr COLORREF FromPixel(std::uint32_t px)
{
    return ((px >> 16) & 0xFFu) | (px & 0xFF00u) | ((px & 0xFFu) << 16);
}

inline void Canvas::Span(std::int64_t y, std::int64_t x0, std::int64_t x1, const Ink& ink)
{
    if (y < m_t.clipTop || y >= m_t.clipBottom)
        return;
    x0 = std::max<std::int64_t>(x0, m_t.clipLeft);
    x1 = std::min<std::int64_t>(x1, m_t.clipRight);
    if (x0 >= x1)
        return;
    std::uint32_t* first = m_t.At(x0, y);
    Apply(first, first + (x1 - x0), ink);
    Extend(x0, y, x1, y + 1);
}

} // namespace raster
