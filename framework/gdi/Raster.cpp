#include "Raster.h"

#include "Gdi.h"

#include "framework/core/Parallel.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace raster {
namespace {

// Dotted cosmetic pens: three pixels on, three off, counted along the line.
constexpr std::int64_t kDotRun = 3;

// The floor of a / b and what remains, in [0, b), for b > 0 and a quotient that fits 64 bits.
void FloorDivMod(__int128 a, std::int64_t b, std::int64_t& q, std::int64_t& r)
{
    q = static_cast<std::int64_t>(a / b);
    r = static_cast<std::int64_t>(a % b);
    if (r < 0) {
        r += b;
        --q;
    }
}

// Exact floor and ceiling for |v| < 2^62, without a call into the maths library (the
// baseline instruction set has no rounding instruction): an integer's part truncated
// converts back exactly.
std::int64_t Floor(double v)
{
    const auto t = static_cast<std::int64_t>(v);
    return t - (double(t) > v ? 1 : 0);
}
std::int64_t Ceil(double v)
{
    const auto t = static_cast<std::int64_t>(v);
    return t + (double(t) < v ? 1 : 0);
}

// The closed pixel range [ceil(lo), floor(hi)] as a half-open one.
void Cover(double lo, double hi, std::int64_t& x0, std::int64_t& x1)
{
    x0 = Ceil(lo);
    x1 = Floor(hi) + 1;
}

// Row y of the filled ellipse with centre (cx, cy) and radii (rx, ry), as [x0, x1).
bool EllipseRow(double cx, double cy, double rx, double ry, std::int64_t y, std::int64_t& x0,
                std::int64_t& x1)
{
    if (rx <= 0 || ry <= 0)
        return false;
    const double dy = (double(y) - cy) / ry;
    if (dy * dy > 1.0)
        return false;
    const double hw = rx * std::sqrt(1.0 - dy * dy);
    Cover(cx - hw, cx + hw, x0, x1);
    return x1 > x0;
}

// The two ellipses of a figure: the pen covers the ring between the outer and the inner one,
// the brush the inside of the inner one.
struct EllipseRings {
    double centreX, centreY;
    double outerRadiusX, outerRadiusY;
    double innerRadiusX, innerRadiusY;
};

EllipseRings RingsOf(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, bool hasPen,
                     int penWidth)
{
    const double rx = double(r - l - 1) / 2.0, ry = double(b - t - 1) / 2.0;
    const double half = hasPen ? penWidth / 2.0 : 0.0;
    return {double(l + r - 1) / 2.0,       double(t + b - 1) / 2.0,      rx + half, ry + half,
            hasPen ? rx - half : rx + 0.5, hasPen ? ry - half : ry + 0.5};
}

// A wide line's rows are worked out this many at a time.
constexpr int kRowBatch = 64;

// Four rows' values, worked on by one instruction where the processor allows.
using Lanes = double __attribute__((vector_size(32)));

// The pen of a wide line: a band of the radius either side of the path from (x0, y0) by
// (dx, dy), closed by a round cap at either end. Each row's part of it is the band's span
// and the caps' spans taken together.
struct LineBand {
    double x0, y0, dx, dy, radius;
    double len = std::sqrt(dx * dx + dy * dy);

    // The band's span on rows row0 .. row0 + n - 1, left above right where it misses the row.
    // The arrays hold n rounded up to four.
    void Rows(double row0, int n, double* lefts, double* rights) const;
    // Takes the cap centred on (px, py) into the spans of rows y0 .. y0 + n - 1.
    void Cap(double px, double py, std::int64_t y0, int n, double* lefts, double* rights) const;
};

// The band of a line slanted off both axes on rows row0 .. row0 + n - 1: the points whose
// distance across the line is within the radius (cross product) and whose projection falls
// on the segment (dot product). Each lane does a row's arithmetic operation for operation as
// a single row would, so the pixels do not depend on the instructions chosen.
__attribute__((target_clones("avx2", "default"))) void
SlantedRows(const LineBand& b, double row0, int n, double* lefts, double* rights)
{
    const double reach = b.radius * b.len, len2 = b.len * b.len;
    for (int i = 0; i < n; i += 4) {
        const Lanes row = (row0 + i) + Lanes{0, 1, 2, 3};
        const Lanes across = b.dx * (row - b.y0);
        const Lanes edgeA = b.x0 + (across - reach) / b.dy;
        const Lanes edgeB = b.x0 + (across + reach) / b.dy;
        const Lanes along = b.dy * (row - b.y0);
        const Lanes startEdge = b.x0 - along / b.dx, endEdge = b.x0 + (len2 - along) / b.dx;
        // std::min and std::max, lane by lane.
        const Lanes acrossLeft = edgeB < edgeA ? edgeB : edgeA;
        const Lanes acrossRight = edgeA < edgeB ? edgeB : edgeA;
        const Lanes alongLeft = endEdge < startEdge ? endEdge : startEdge;
        const Lanes alongRight = startEdge < endEdge ? endEdge : startEdge;
        const Lanes left = acrossLeft < alongLeft ? alongLeft : acrossLeft;
        const Lanes right = alongRight < acrossRight ? alongRight : acrossRight;
        const auto miss = left > right;
        const Lanes l = miss ? Lanes{} + HUGE_VAL : left, r = miss ? Lanes{} - HUGE_VAL : right;
        std::memcpy(lefts + i, &l, sizeof l);
        std::memcpy(rights + i, &r, sizeof r);
    }
}

void LineBand::Rows(double row0, int n, double* lefts, double* rights) const
{
    if (dx != 0 && dy != 0) {
        SlantedRows(*this, row0, n, lefts, rights);
        return;
    }
    // Along an axis: one of the two tests holds for whole rows.
    for (int i = 0; i < n; ++i) {
        const double row = row0 + i;
        double left = -HUGE_VAL, right = HUGE_VAL;
        const double across = dx * (row - y0);
        if (dy != 0) {
            const double edgeA = x0 + (across - radius * len) / dy;
            const double edgeB = x0 + (across + radius * len) / dy;
            left = std::min(edgeA, edgeB);
            right = std::max(edgeA, edgeB);
        } else if (std::fabs(across) > radius * len) {
            left = HUGE_VAL;
        }
        const double along = dy * (row - y0);
        if (dx != 0) {
            const double startEdge = x0 - along / dx, endEdge = x0 + (len * len - along) / dx;
            left = std::max(left, std::min(startEdge, endEdge));
            right = std::min(right, std::max(startEdge, endEdge));
        } else if (along < 0 || along > len * len) {
            left = HUGE_VAL;
        }
        lefts[i] = left <= right ? left : HUGE_VAL;
        rights[i] = left <= right ? right : -HUGE_VAL;
    }
}

void LineBand::Cap(double px, double py, std::int64_t y0, int n, double* lefts,
                   double* rights) const
{
    const std::int64_t from = std::max(y0, Floor(py - radius));
    const std::int64_t to = std::min(y0 + n, Ceil(py + radius) + 1);
    for (std::int64_t y = from; y < to; ++y) {
        const double fromCentre = double(y) - py;
        if (std::fabs(fromCentre) > radius)
            continue;
        const double halfChord = std::sqrt(radius * radius - fromCentre * fromCentre);
        lefts[y - y0] = std::min(lefts[y - y0], px - halfChord);
        rights[y - y0] = std::max(rights[y - y0], px + halfChord);
    }
}

} // namespace

void ClearUpperVectorState()
{
#if defined(__x86_64__) || defined(__i386__)
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx)
        __asm__ volatile("vzeroupper");
#endif
}

RectangleBands BandsOf(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, int penWidth)
{
    // The pen's band is centred on the path through the outermost pixels of [l, r) × [t, b).
    const std::int64_t before = penWidth / 2, after = penWidth - before;
    return {l - before, t - before, r - 1 + after,  b - 1 + after,
            l + after,  t + after,  r - 1 - before, b - 1 - before};
}

bool FigureCovers(bool bEllipse, std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b,
                  int penWidth, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1)
{
    if (x0 >= x1 || y0 >= y1)
        return true;
    // Pen and brush together paint the whole outer edge's inside, row by row without a gap.
    if (!bEllipse) {
        const RectangleBands band = BandsOf(l, t, r, b, penWidth);
        return band.outerLeft <= x0 && band.outerRight >= x1 && band.outerTop <= y0 &&
               band.outerBottom >= y1;
    }
    // An ellipse narrows away from its centre row: the area's first and last rows are its
    // narrowest.
    const EllipseRings e = RingsOf(l, t, r, b, true, penWidth);
    for (const std::int64_t y : {y0, y1 - 1}) {
        std::int64_t a = 0, z = 0;
        if (!EllipseRow(e.centreX, e.centreY, e.outerRadiusX, e.outerRadiusY, y, a, z) || a > x0 ||
            z < x1)
            return false;
    }
    return true;
}

bool LineCovers(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by, int penWidth,
                std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1)
{
    if (x0 >= x1 || y0 >= y1)
        return true;
    // The pen is a round-ended band around the path (shifted half a pixel for even widths);
    // it is convex, so it holds the area when it holds its corner pixels. A pixel and a half
    // of margin outweighs the shift and every rounding of the drawing.
    const double reach = penWidth / 2.0 - 1.5;
    if (penWidth <= 1 || reach <= 0 || (ax == bx && ay == by))
        return false;
    const double dx = double(bx - ax), dy = double(by - ay), len2 = dx * dx + dy * dy;
    for (const std::int64_t y : {y0, y1 - 1})
        for (const std::int64_t x : {x0, x1 - 1}) {
            const double px = double(x - ax), py = double(y - ay);
            const double along = std::clamp((px * dx + py * dy) / len2, 0.0, 1.0);
            const double ex = px - along * dx, ey = py - along * dy;
            if (ex * ex + ey * ey > reach * reach)
                return false;
        }
    return true;
}

void Canvas::Rows(std::int64_t y0, std::int64_t y1, std::int64_t width,
                  const std::function<void(Canvas&, std::int64_t)>& row)
{
    y0 = std::max<std::int64_t>(y0, m_t.clipTop);
    y1 = std::min<std::int64_t>(y1, m_t.clipBottom);
    if (y0 >= y1)
        return;
    width = std::clamp<std::int64_t>(width, 1, std::max(m_t.clipRight - m_t.clipLeft, 1));
    std::vector<Canvas> parts(static_cast<std::size_t>(parallel::MaxSlices()), Canvas(m_t));
    parallel::For(y1 - y0, width, [&](std::int64_t a, std::int64_t b, int slice) {
        ClearUpperVectorState();
        Canvas& part = parts[std::size_t(slice)];
        for (std::int64_t y = y0 + a; y < y0 + b; ++y)
            row(part, y);
    });
    for (const Canvas& part : parts)
        if (part.Touched())
            Extend(part.m_left, part.m_top, part.m_right, part.m_bottom);
}

void Canvas::Line(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                  const Stroke& pen)
{
    if (pen.style == PS_NULL || (x0 == x1 && y0 == y1))
        return;
    if (pen.width <= 1) {
        ThinLine(x0, y0, x1, y1, pen, 0);
        return;
    }
    // Even widths sit half a pixel up and left of the path, as the rectangle's band does.
    const double shift = pen.width % 2 == 0 ? -0.5 : 0.0;
    WideLine(double(x0) + shift, double(y0) + shift, double(x1) + shift, double(y1) + shift,
             pen.width / 2.0, pen.ink);
}

void Canvas::ThinLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                      const Stroke& pen, std::int64_t patternStart)
{
    const std::int64_t dx = x1 - x0, dy = y1 - y0;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    // Step along the major axis; the minor coordinate is the path's, rounded.
    const std::int64_t n = xMajor ? std::llabs(dx) : std::llabs(dy);
    const std::int64_t major0 = xMajor ? x0 : y0;
    const std::int64_t step = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t minor0 = xMajor ? y0 : x0;
    const std::int64_t dMinor = xMajor ? dy : dx;
    const std::int64_t low = xMajor ? m_t.clipLeft : m_t.clipTop;
    const std::int64_t high = xMajor ? m_t.clipRight : m_t.clipBottom;
    // Only the steps whose major coordinate lies in the clip.
    std::int64_t first = 0, last = n;
    if (step > 0) {
        first = std::max<std::int64_t>(first, low - major0);
        last = std::min<std::int64_t>(last, high - major0);
    } else {
        first = std::max<std::int64_t>(first, major0 - high + 1);
        last = std::min<std::int64_t>(last, major0 - low + 1);
    }
    if (first >= last)
        return;
    // Step i lands on minor0 + floor((2 i dMinor + n) / 2n), the path rounded half up. That is
    // worked out exactly once, at the first step on the target (the product takes more than 64
    // bits at the ends of the range), and then carried along by its remainder: |dMinor| <= n,
    // so a step moves the minor coordinate by one at most.
    const std::int64_t den = 2 * n, inc = 2 * dMinor;
    std::int64_t minor = 0, rem = 0;
    FloorDivMod(__int128(2) * first * dMinor + n, den, minor, rem);
    minor += minor0;
    std::int64_t phase = (patternStart + first) % (2 * kDotRun);
    const std::int64_t minorLow = xMajor ? m_t.clipTop : m_t.clipLeft;
    const std::int64_t minorHigh = xMajor ? m_t.clipBottom : m_t.clipRight;
    Touch touch;
    for (std::int64_t i = first; i < last; ++i) {
        if ((pen.style != PS_DOT || phase < kDotRun) && minor >= minorLow && minor < minorHigh) {
            const std::int64_t major = major0 + step * i;
            const std::int64_t x = xMajor ? major : minor, y = xMajor ? minor : major;
            std::uint32_t* pixel = m_t.At(x, y);
            Apply(pixel, pixel + 1, pen.ink);
            touch.Add(x, y, x + 1);
        }
        rem += inc;
        if (rem >= den) {
            rem -= den;
            ++minor;
        } else if (rem < 0) {
            rem += den;
            --minor;
        }
        if (++phase == 2 * kDotRun)
            phase = 0;
    }
    Extend(touch);
}

void Canvas::WideLine(double x0, double y0, double x1, double y1, double radius, const Ink& ink)
{
    const LineBand band{x0, y0, x1 - x0, y1 - y0, radius};
    const std::int64_t firstRow =
        std::max<std::int64_t>(Ceil(std::min(y0, y1) - radius), m_t.clipTop);
    const std::int64_t endRow =
        std::min<std::int64_t>(Floor(std::max(y0, y1) + radius) + 1, m_t.clipBottom);
    const double clipLeft = m_t.clipLeft, lastColumn = m_t.clipRight - 1;
    // Rows go a batch at a time: first the band of every row, four rows to an instruction
    // where the line slants, then the caps on the few rows they reach, then the spans, already
    // inside the clip.
    double lefts[kRowBatch], rights[kRowBatch];
    Touch touch;
    for (std::int64_t y = firstRow; y < endRow; y += kRowBatch) {
        const int n = int(std::min<std::int64_t>(kRowBatch, endRow - y));
        band.Rows(double(y), n, lefts, rights);
        band.Cap(x0, y0, y, n, lefts, rights);
        band.Cap(x1, y1, y, n, lefts, rights);
        for (int i = 0; i < n; ++i) {
            std::int64_t first = 0, end = 0;
            Cover(std::clamp(lefts[i], clipLeft, lastColumn + 1),
                  std::clamp(rights[i], clipLeft - 1, lastColumn), first, end);
            if (first >= end)
                continue;
            std::uint32_t* start = m_t.At(first, y + i);
            Apply(start, start + (end - first), ink);
            touch.Add(first, y + i, end);
        }
    }
    Extend(touch);
}

void Canvas::Rectangle(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b,
                       const Stroke& pen, const Ink* brush)
{
    if (pen.style == PS_NULL) {
        if (brush)
            for (std::int64_t y = std::max<std::int64_t>(t, FirstRow());
                 y < std::min<std::int64_t>(b - 1, EndRow()); ++y)
                Span(y, l, r - 1, *brush);
        return;
    }
    if (pen.style == PS_DOT && pen.width <= 1) {
        if (brush)
            for (std::int64_t y = std::max<std::int64_t>(t + 1, FirstRow());
                 y < std::min<std::int64_t>(b - 1, EndRow()); ++y)
                Span(y, l + 1, r - 1, *brush);
        if (r - l == 1 || b - t == 1) {
            ThinLine(l, t, r - 1 + (r - l == 1 ? 0 : 1), b - 1 + (b - t == 1 ? 0 : 1), pen, 0);
            return;
        }
        // Around the border once, the pattern running on from side to side.
        const std::int64_t w = r - 1 - l, h = b - 1 - t;
        ThinLine(l, t, r - 1, t, pen, 0);
        ThinLine(r - 1, t, r - 1, b - 1, pen, w);
        ThinLine(r - 1, b - 1, l, b - 1, pen, w + h);
        ThinLine(l, b - 1, l, t, pen, 2 * w + h);
        return;
    }
    const RectangleBands band = BandsOf(l, t, r, b, pen.width);
    const bool hole = band.HasInside();
    Rows(band.outerTop, band.outerBottom, band.outerRight - band.outerLeft,
         [&](Canvas& c, std::int64_t y) {
             if (hole && y >= band.innerTop && y < band.innerBottom) {
                 c.Span(y, band.outerLeft, band.innerLeft, pen.ink);
                 if (brush)
                     c.Span(y, band.innerLeft, band.innerRight, *brush);
                 c.Span(y, band.innerRight, band.outerRight, pen.ink);
             } else {
                 c.Span(y, band.outerLeft, band.outerRight, pen.ink);
             }
         });
}

void Canvas::Ellipse(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b,
                     const Stroke& pen, const Ink* brush)
{
    const bool hasPen = pen.style != PS_NULL;
    const EllipseRings e = RingsOf(l, t, r, b, hasPen, pen.width);
    const auto y0 = std::int64_t(std::floor(e.centreY - e.outerRadiusY));
    const auto y1 = std::int64_t(std::ceil(e.centreY + e.outerRadiusY)) + 1;
    Rows(y0, y1, r - l, [&](Canvas& c, std::int64_t y) {
        std::int64_t outerLeft = 0, outerRight = 0, innerLeft = 0, innerRight = 0;
        const bool outer = EllipseRow(e.centreX, e.centreY, e.outerRadiusX, e.outerRadiusY, y,
                                      outerLeft, outerRight);
        const bool inner = EllipseRow(e.centreX, e.centreY, e.innerRadiusX, e.innerRadiusY, y,
                                      innerLeft, innerRight);
        if (!hasPen) {
            if (brush && inner)
                c.Span(y, innerLeft, innerRight, *brush);
        } else if (outer && !inner) {
            c.Span(y, outerLeft, outerRight, pen.ink);
        } else if (outer) {
            c.Span(y, outerLeft, innerLeft, pen.ink);
            if (brush)
                c.Span(y, innerLeft, innerRight, *brush);
            c.Span(y, innerRight, outerRight, pen.ink);
        }
    });
}

} // namespace raster
