// The span rasteriser behind the device contexts: every figure is cut into horizontal spans
// that touch each pixel once, so that an exclusive-or figure drawn twice restores the pixels.
#pragma once

#include "framework/core/Types.h"

#include <cstdint>
#include <functional>

namespace raster {

// 32-bit pixels 0xFFRRGGBB, `stride` pixels from one row to the next. Nothing is drawn
// outside [clipLeft, clipRight) × [clipTop, clipBottom), which lies inside the pixels; a
// figure is worked out the same with or without a clip, so inside it the pixels are exactly
// those it draws without one.
struct Target {
    std::uint32_t* bits;
    int width;
    int height;
    std::int64_t stride;
    int clipLeft = 0;
    int clipTop = 0;
    int clipRight = width;
    int clipBottom = height;
};

// A colour and the mix mode it is applied with (R2_*).
struct Ink {
    std::uint32_t rgb;
    int mix;
};

struct PenSpec {
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

// Whether the brush of the rectangle or ellipse with ordered corners l < r, t < b and a
// solid pen of penWidth paints every pixel of [x0, x1) × [y0, y1).
bool BrushCovers(bool bEllipse, std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b,
                 int penWidth, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);

// Draws onto one target and remembers the bounds of what it touched.
class Canvas {
public:
    explicit Canvas(const Target& t) : m_t(t) {}

    // GDI line from (x0, y0) up to but not including (x1, y1).
    void Line(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
              const PenSpec& pen);
    // Ordered corners l < r, t < b; brush may be null (hollow).
    void Rectangle(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b,
                   const PenSpec& pen, const Ink* brush);
    void Ellipse(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, const PenSpec& pen,
                 const Ink* brush);
    // Applies the ink to [x0, x1) of row y, clipped to the target.
    void Span(std::int64_t y, std::int64_t x0, std::int64_t x1, const Ink& ink);
    void Pixel(std::int64_t x, std::int64_t y, const Ink& ink) { Span(y, x, x + 1, ink); }

    int Height() const { return m_t.height; }
    // The rows a figure may touch: the clip's.
    std::int64_t FirstRow() const { return m_t.clipTop; }
    std::int64_t EndRow() const { return m_t.clipBottom; }
    bool Touched() const { return m_bTouched; }
    CRect Bounds() const { return m_bounds; }

private:
    // Runs row(canvas, y) for y in [y0, y1) clipped to the target, in slices on several
    // threads when the figure is large; each slice draws through a canvas of its own.
    void Rows(std::int64_t y0, std::int64_t y1, std::int64_t width,
              const std::function<void(Canvas&, std::int64_t)>& row);
    void Extend(const CRect& r);

    void ThinLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                  const PenSpec& pen, std::int64_t patternStart);
    void WideLine(double x0, double y0, double x1, double y1, double radius, const Ink& ink);

    Target m_t;
    bool m_bTouched = false;
    CRect m_bounds;
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

} // namespace raster
