#include "Raster.h"

#include "Gdi.h"
#include "Parallel.h"

#include <algorithm>
#include <cmath>

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

void Apply(std::uint32_t* p, std::uint32_t* end, const Ink& ink)
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

// The closed pixel range [ceil(lo), floor(hi)] as a half-open one.
void Cover(double lo, double hi, std::int64_t& x0, std::int64_t& x1)
{
    x0 = static_cast<std::int64_t>(std::ceil(lo));
    x1 = static_cast<std::int64_t>(std::floor(hi)) + 1;
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

} // namespace

void Canvas::Span(std::int64_t y, std::int64_t x0, std::int64_t x1, const Ink& ink)
{
    if (y < 0 || y >= m_t.height)
        return;
    x0 = std::max<std::int64_t>(x0, 0);
    x1 = std::min<std::int64_t>(x1, m_t.width);
    if (x0 >= x1)
        return;
    std::uint32_t* row = m_t.bits + y * m_t.stride;
    Apply(row + x0, row + x1, ink);
    Extend(CRect(int(x0), int(y), int(x1), int(y + 1)));
}

void Canvas::Extend(const CRect& r)
{
    if (!m_bTouched) {
        m_bounds = r;
        m_bTouched = true;
        return;
    }
    m_bounds.left = std::min(m_bounds.left, r.left);
    m_bounds.top = std::min(m_bounds.top, r.top);
    m_bounds.right = std::max(m_bounds.right, r.right);
    m_bounds.bottom = std::max(m_bounds.bottom, r.bottom);
}

void Canvas::Rows(std::int64_t y0, std::int64_t y1, std::int64_t width,
                  const std::function<void(Canvas&, std::int64_t)>& row)
{
    y0 = std::max<std::int64_t>(y0, 0);
    y1 = std::min<std::int64_t>(y1, m_t.height);
    if (y0 >= y1)
        return;
    width = std::clamp<std::int64_t>(width, 1, m_t.width);
    std::vector<Canvas> parts(static_cast<std::size_t>(parallel::MaxSlices()), Canvas(m_t));
    parallel::For(y1 - y0, width, [&](std::int64_t a, std::int64_t b, int slice) {
        Canvas& part = parts[std::size_t(slice)];
        for (std::int64_t y = y0 + a; y < y0 + b; ++y)
            row(part, y);
    });
    for (const Canvas& part : parts)
        if (part.m_bTouched)
            Extend(part.m_bounds);
}

void Canvas::Line(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                  const PenSpec& pen)
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
                      const PenSpec& pen, std::int64_t patternStart)
{
    const std::int64_t dx = x1 - x0, dy = y1 - y0;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    // Step along the major axis; the minor coordinate is the path's, rounded.
    const std::int64_t n = xMajor ? std::llabs(dx) : std::llabs(dy);
    const std::int64_t major0 = xMajor ? x0 : y0;
    const std::int64_t step = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t minor0 = xMajor ? y0 : x0;
    const std::int64_t dMinor = xMajor ? dy : dx;
    const std::int64_t limit = xMajor ? m_t.width : m_t.height;
    // Only the steps whose major coordinate lies on the target.
    std::int64_t first = 0, last = n;
    if (step > 0) {
        first = std::max<std::int64_t>(first, -major0);
        last = std::min<std::int64_t>(last, limit - major0);
    } else {
        first = std::max<std::int64_t>(first, major0 - limit + 1);
        last = std::min<std::int64_t>(last, major0 + 1);
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
    for (std::int64_t i = first; i < last; ++i) {
        if (pen.style != PS_DOT || phase < kDotRun) {
            const std::int64_t major = major0 + step * i;
            if (xMajor)
                Pixel(major, minor, pen.ink);
            else
                Pixel(minor, major, pen.ink);
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
}

void Canvas::WideLine(double x0, double y0, double x1, double y1, double radius, const Ink& ink)
{
    const double dx = x1 - x0, dy = y1 - y0;
    const double len = std::sqrt(dx * dx + dy * dy);
    const double top = std::max(std::min(y0, y1) - radius, -1.0);
    const double bottom = std::min(std::max(y0, y1) + radius, double(m_t.height));
    for (std::int64_t y = std::int64_t(std::ceil(top)); double(y) <= bottom; ++y) {
        const double Y = double(y);
        double lo = HUGE_VAL, hi = -HUGE_VAL;
        // The two round caps.
        for (const auto& [px, py] : {std::pair{x0, y0}, std::pair{x1, y1}}) {
            const double d = Y - py;
            if (std::fabs(d) <= radius) {
                const double h = std::sqrt(radius * radius - d * d);
                lo = std::min(lo, px - h);
                hi = std::max(hi, px + h);
            }
        }
        // The band between them: perpendicular distance within the radius, projection on
        // the segment.
        double bLo = -HUGE_VAL, bHi = HUGE_VAL;
        const double c = dx * (Y - y0);
        if (dy != 0) {
            double a = x0 + (c - radius * len) / dy, b = x0 + (c + radius * len) / dy;
            bLo = std::max(bLo, std::min(a, b));
            bHi = std::min(bHi, std::max(a, b));
        } else if (std::fabs(c) > radius * len) {
            bLo = HUGE_VAL;
        }
        const double e = dy * (Y - y0);
        if (dx != 0) {
            double a = x0 - e / dx, b = x0 + (len * len - e) / dx;
            bLo = std::max(bLo, std::min(a, b));
            bHi = std::min(bHi, std::max(a, b));
        } else if (e < 0 || e > len * len) {
            bLo = HUGE_VAL;
        }
        if (bLo <= bHi) {
            lo = std::min(lo, bLo);
            hi = std::max(hi, bHi);
        }
        if (lo > hi)
            continue;
        std::int64_t a, b;
        Cover(std::max(lo, -1.0), std::min(hi, double(m_t.width)), a, b);
        Span(y, a, b, ink);
    }
}

void Canvas::Rectangle(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b,
                       const PenSpec& pen, const Ink* brush)
{
    if (pen.style == PS_NULL) {
        if (brush)
            for (std::int64_t y = std::max<std::int64_t>(t, 0);
                 y < std::min<std::int64_t>(b - 1, m_t.height); ++y)
                Span(y, l, r - 1, *brush);
        return;
    }
    if (pen.style == PS_DOT && pen.width <= 1) {
        if (brush)
            for (std::int64_t y = std::max<std::int64_t>(t + 1, 0);
                 y < std::min<std::int64_t>(b - 1, m_t.height); ++y)
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
    // The pen's band is centred on the path through the outermost pixels of [l, r) × [t, b).
    const std::int64_t lo = pen.width / 2, hi = pen.width - lo;
    const std::int64_t ol = l - lo, ot = t - lo, or_ = r - 1 + hi, ob = b - 1 + hi;
    const std::int64_t il = l + hi, it = t + hi, ir = r - 1 - lo, ib = b - 1 - lo;
    const bool hole = il < ir && it < ib;
    Rows(ot, ob, or_ - ol, [&](Canvas& c, std::int64_t y) {
        if (hole && y >= it && y < ib) {
            c.Span(y, ol, il, pen.ink);
            if (brush)
                c.Span(y, il, ir, *brush);
            c.Span(y, ir, or_, pen.ink);
        } else {
            c.Span(y, ol, or_, pen.ink);
        }
    });
}

void Canvas::Ellipse(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b,
                     const PenSpec& pen, const Ink* brush)
{
    const double cx = double(l + r - 1) / 2.0, cy = double(t + b - 1) / 2.0;
    const double rx = double(r - l - 1) / 2.0, ry = double(b - t - 1) / 2.0;
    const bool hasPen = pen.style != PS_NULL;
    const double half = hasPen ? pen.width / 2.0 : 0.0;
    // The pen covers the ring between the outer and the inner ellipse, the brush the inside.
    const double orx = rx + half, ory = ry + half;
    const double irx = hasPen ? rx - half : rx + 0.5, iry = hasPen ? ry - half : ry + 0.5;
    const auto y0 = std::int64_t(std::floor(cy - ory)), y1 = std::int64_t(std::ceil(cy + ory)) + 1;
    Rows(y0, y1, r - l, [&](Canvas& c, std::int64_t y) {
        std::int64_t oa = 0, ob = 0, ia = 0, ib = 0;
        const bool outer = EllipseRow(cx, cy, orx, ory, y, oa, ob);
        const bool inner = EllipseRow(cx, cy, irx, iry, y, ia, ib);
        if (!hasPen) {
            if (brush && inner)
                c.Span(y, ia, ib, *brush);
        } else if (outer && !inner) {
            c.Span(y, oa, ob, pen.ink);
        } else if (outer) {
            c.Span(y, oa, ia, pen.ink);
            if (brush)
                c.Span(y, ia, ib, *brush);
            c.Span(y, ib, ob, pen.ink);
        }
    });
}

} // namespace raster
