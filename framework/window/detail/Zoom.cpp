#include "Zoom.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace zoom {
namespace {

// The client pixels a screen pixel of one axis covers below 100 %, each with the length of
// its part, in units of 1 / (100 · z) client pixel: the screen pixel x covers
// [100 x, 100 x + 100) and the client pixel c covers [c z, c z + z).
struct Tap {
    int index;
    std::uint32_t weight;
};
struct Taps {
    std::vector<int> start; // the taps of output i are taps[start[i]] … taps[start[i + 1] - 1]
    std::vector<Tap> taps;
    std::vector<std::uint32_t> total; // sum of the weights of output i
};

// Outputs first … first + count - 1; taps index the pixels held, which start at client pixel
// `origin` and are `held` long: a client pixel beyond them has no tap.
Taps AxisTaps(int first, int count, int clientLength, int percent, int origin, int held)
{
    Taps t;
    t.start.reserve(std::size_t(count) + 1);
    t.total.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        t.start.push_back(int(t.taps.size()));
        const std::int64_t lo = std::int64_t(first + i) * 100, hi = lo + 100;
        const int from = std::max({0, origin, int(lo / percent)});
        const int to = std::min({clientLength, origin + held, int((hi + percent - 1) / percent)});
        std::uint32_t sum = 0;
        for (int c = from; c < to; ++c) {
            const std::int64_t w = std::min(hi, std::int64_t(c + 1) * percent) -
                                   std::max(lo, std::int64_t(c) * percent);
            if (w <= 0)
                continue;
            t.taps.push_back({c - origin, std::uint32_t(w)});
            sum += std::uint32_t(w);
        }
        t.total.push_back(sum);
    }
    t.start.push_back(int(t.taps.size()));
    return t;
}

// Writes n copies of v; the short runs of a zoom up to 800 % without a loop.
QRgb* Repeat(QRgb* dst, int n, QRgb v)
{
    switch (n) {
    case 8:
        *dst++ = v;
        [[fallthrough]];
    case 7:
        *dst++ = v;
        [[fallthrough]];
    case 6:
        *dst++ = v;
        [[fallthrough]];
    case 5:
        *dst++ = v;
        [[fallthrough]];
    case 4:
        *dst++ = v;
        [[fallthrough]];
    case 3:
        *dst++ = v;
        [[fallthrough]];
    case 2:
        *dst++ = v;
        [[fallthrough]];
    case 1:
        *dst++ = v;
        [[fallthrough]];
    case 0:
        return dst;
    default:
        return std::fill_n(dst, n, v);
    }
}

// The pixel of the image that holds client column (or row) c: its own, or the nearest one held.
int HeldIndex(int c, int clientLength, int origin, int held)
{
    return std::clamp(std::clamp(c, 0, clientLength - 1) - origin, 0, held - 1);
}

void Nearest(const Held& s, const QRect& screen, int percent, QImage& out, QPoint at)
{
    const QImage& surface = s.image;
    // Each client column shows as a run of equal screen pixels.
    struct Run {
        int column, length;
    };
    std::vector<Run> runs;
    for (int x = 0; x < screen.width(); ++x) {
        const int column = HeldIndex(ClientPixel(screen.left() + x, percent), s.client.width(),
                                     s.origin.x(), surface.width());
        if (!runs.empty() && runs.back().column == column)
            ++runs.back().length;
        else
            runs.push_back({column, 1});
    }
    int shownRow = -1;
    for (int y = 0; y < screen.height(); ++y) {
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(at.y() + y)) + at.x();
        const int row = HeldIndex(ClientPixel(screen.top() + y, percent), s.client.height(),
                                  s.origin.y(), surface.height());
        // Rows of one client row are alike.
        if (row == shownRow) {
            std::memcpy(dst,
                        reinterpret_cast<const QRgb*>(out.constScanLine(at.y() + y - 1)) + at.x(),
                        std::size_t(screen.width()) * 4);
            continue;
        }
        const auto* src = reinterpret_cast<const QRgb*>(surface.constScanLine(row));
        for (const Run& run : runs)
            dst = Repeat(dst, run.length, src[run.column]);
        shownRow = row;
    }
}

// Below 100 % by a whole factor k: each screen pixel is the plain average of its k × k block,
// cut at the client area's edges. The weighted average gives exactly these values, since it
// weighs them all alike; here they come without products.
void Box(const Held& s, const QRect& screen, int k, QImage& out, QPoint at)
{
    const QImage& surface = s.image;
    // The pixels of the image that hold a block's client pixels: all of them, where it shows.
    const auto held = [k](int block, int clientLength, int origin, int length) {
        const int first = block * k;
        return std::pair(std::max(first, origin) - origin,
                         std::min({first + k, clientLength, origin + length}) - origin);
    };
    std::vector<std::pair<int, int>> columns(std::size_t(screen.width()));
    for (int x = 0; x < screen.width(); ++x)
        columns[std::size_t(x)] =
            held(screen.left() + x, s.client.width(), s.origin.x(), surface.width());
    std::vector<std::uint32_t> sums(std::size_t(screen.width()) * 3);
    for (int y = 0; y < screen.height(); ++y) {
        std::ranges::fill(sums, 0u);
        const auto [top, bottom] =
            held(screen.top() + y, s.client.height(), s.origin.y(), surface.height());
        for (int r = top; r < bottom; ++r) {
            const auto* src = reinterpret_cast<const QRgb*>(surface.constScanLine(r));
            for (int x = 0; x < screen.width(); ++x) {
                const auto [left, right] = columns[std::size_t(x)];
                std::uint32_t* sum = &sums[std::size_t(x) * 3];
                for (int c = left; c < right; ++c) {
                    sum[0] += std::uint32_t(qRed(src[c]));
                    sum[1] += std::uint32_t(qGreen(src[c]));
                    sum[2] += std::uint32_t(qBlue(src[c]));
                }
            }
        }
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(at.y() + y)) + at.x();
        for (int x = 0; x < screen.width(); ++x) {
            const auto [left, right] = columns[std::size_t(x)];
            const int n = std::max(0, right - left) * std::max(0, bottom - top);
            const std::uint32_t* sum = &sums[std::size_t(x) * 3];
            const auto mean = [n](std::uint32_t v) {
                return int((v + std::uint32_t(n) / 2) / std::uint32_t(n));
            };
            dst[x] = n > 0 ? qRgb(mean(sum[0]), mean(sum[1]), mean(sum[2])) : qRgb(0, 0, 0);
        }
    }
}

void Average(const Held& s, const QRect& screen, int percent, QImage& out, QPoint at)
{
    const QImage& surface = s.image;
    const Taps cols = AxisTaps(screen.left(), screen.width(), s.client.width(), percent,
                               s.origin.x(), surface.width());
    const Taps rows = AxisTaps(screen.top(), screen.height(), s.client.height(), percent,
                               s.origin.y(), surface.height());
    // Per channel at most 255 · 100 · 100: 32 bits suffice.
    std::vector<std::uint32_t> sums(std::size_t(screen.width()) * 3);
    for (int y = 0; y < screen.height(); ++y) {
        std::ranges::fill(sums, 0u);
        for (int r = rows.start[std::size_t(y)]; r < rows.start[std::size_t(y) + 1]; ++r) {
            const Tap row = rows.taps[std::size_t(r)];
            const auto* src = reinterpret_cast<const QRgb*>(surface.constScanLine(row.index));
            for (int x = 0; x < screen.width(); ++x) {
                // The row's part first, then its weight: the same sums, fewer products.
                std::uint32_t red = 0, green = 0, blue = 0;
                for (int c = cols.start[std::size_t(x)]; c < cols.start[std::size_t(x) + 1]; ++c) {
                    const Tap col = cols.taps[std::size_t(c)];
                    const QRgb p = src[col.index];
                    red += col.weight * std::uint32_t(qRed(p));
                    green += col.weight * std::uint32_t(qGreen(p));
                    blue += col.weight * std::uint32_t(qBlue(p));
                }
                std::uint32_t* sum = &sums[std::size_t(x) * 3];
                sum[0] += row.weight * red;
                sum[1] += row.weight * green;
                sum[2] += row.weight * blue;
            }
        }
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(at.y() + y)) + at.x();
        for (int x = 0; x < screen.width(); ++x) {
            const std::uint32_t total = rows.total[std::size_t(y)] * cols.total[std::size_t(x)];
            const std::uint32_t* sum = &sums[std::size_t(x) * 3];
            dst[x] =
                total ? qRgb(int((sum[0] + total / 2) / total), int((sum[1] + total / 2) / total),
                             int((sum[2] + total / 2) / total))
                      : qRgb(0, 0, 0);
        }
    }
}

// Pixels compared at a time when looking for what changed.
constexpr int kChunk = 8;

// The chunks of row y of the rectangle where the images differ, as [first, end) pixel ranges
// with neighbouring chunks joined.
void RowChanges(const QImage& a, const QImage& b, const QRect& rect, int y,
                std::vector<std::pair<int, int>>& runs)
{
    runs.clear();
    const auto* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const auto* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    for (int x = rect.left(); x <= rect.right(); x += kChunk) {
        const int end = std::min(x + kChunk, rect.right() + 1);
        // A whole chunk has no early exit and a fixed length: the compiler makes it a few
        // vector operations.
        QRgb differ = 0;
        if (end - x == kChunk) {
            for (int i = 0; i < kChunk; ++i)
                differ |= pa[x + i] ^ pb[x + i];
        } else {
            for (int i = x; i < end; ++i)
                differ |= pa[i] ^ pb[i];
        }
        if (!differ)
            continue;
        if (!runs.empty() && runs.back().second == x)
            runs.back().second = end;
        else
            runs.emplace_back(x, end);
    }
}

// The rectangle's edges scaled by num / den, widened to whole pixels (around) or narrowed to
// them.
QRect ScaledEdges(const QRect& r, int num, int den, bool around)
{
    const auto edge = [num, den](int v, bool up) {
        const double e = double(v) * num / den;
        return int(up ? std::ceil(e) : std::floor(e));
    };
    return QRect(QPoint(edge(r.left(), !around), edge(r.top(), !around)),
                 QPoint(edge(r.right() + 1, around) - 1, edge(r.bottom() + 1, around) - 1));
}

} // namespace

QRect ClientRectAround(const QRect& screen, int percent)
{
    return ScaledEdges(screen, 100, percent, true);
}

QRect ClientRectInside(const QRect& screen, int percent)
{
    return ScaledEdges(screen, 100, percent, false);
}

std::vector<QRect> Changed(const QImage& surface, const QImage& shown, const QRect& rect)
{
    std::vector<QRect> changed;
    const QRect area = rect.intersected(surface.rect()).intersected(shown.rect());
    std::vector<std::pair<int, int>> runs, open;
    int openTop = 0;
    const auto close = [&](int end) {
        for (const auto& [x0, x1] : open)
            changed.emplace_back(QPoint(x0, openTop), QPoint(x1 - 1, end - 1));
        open.clear();
    };
    for (int y = area.top(); y <= area.bottom(); ++y) {
        RowChanges(surface, shown, area, y, runs);
        if (runs == open)
            continue;
        close(y);
        open.swap(runs);
        openTop = y;
    }
    close(area.bottom() + 1);
    return changed;
}

int ScreenLength(int length, int percent)
{
    return int((std::int64_t(length) * percent + 99) / 100);
}

QRect ScreenRect(const QRect& client, int percent)
{
    return ScaledEdges(client, percent, 100, true);
}

int ClientPixel(int screenPixel, int percent)
{
    return int(std::floor((screenPixel + 0.5) * 100.0 / percent));
}

int ScreenPixel(int clientPixel, int percent)
{
    return int(std::floor((clientPixel + 0.5) * percent / 100.0));
}

void Zoomed(const Held& surface, const QRect& screen, int percent, QImage& out)
{
    if (out.width() < screen.width() || out.height() < screen.height())
        out = QImage(screen.size().expandedTo(out.size()), QImage::Format_RGB32);
    ZoomedInto(surface, screen, percent, out, QPoint(0, 0));
}

void ZoomedInto(const Held& surface, const QRect& screen, int percent, QImage& out, QPoint at)
{
    if (surface.image.isNull() || screen.isEmpty())
        return;
    if (percent >= kActualSize)
        Nearest(surface, screen, percent, out, at);
    else if (kActualSize % percent == 0)
        Box(surface, screen, kActualSize / percent, out, at);
    else
        Average(surface, screen, percent, out, at);
}

} // namespace zoom
