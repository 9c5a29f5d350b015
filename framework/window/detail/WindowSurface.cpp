#include "WindowSurface.h"

#include "Zoom.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Pixels beyond what shows, on every side: a scroll by less than this needs no new surface.
constexpr int kMarginFraction = 4; // of what shows
constexpr int kMinMargin = 64;

struct Mapping {
    void* address;
    std::size_t bytes;
};

// A 32-bit image on pages of its own, all zero (transparent) until written, given back to
// the system whole when the image goes. A null image when memory is short.
QImage ZeroImage(const QSize& size, QImage::Format format)
{
    const std::size_t bytes = std::size_t(size.width()) * 4 * std::size_t(size.height());
    if (bytes == 0)
        return QImage();
    void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return QImage();
    auto* mapping = new Mapping{p, bytes};
    return QImage(
        static_cast<uchar*>(p), size.width(), size.height(), qsizetype(size.width()) * 4, format,
        [](void* info) {
            const auto* m = static_cast<Mapping*>(info);
            ::munmap(m->address, m->bytes);
            delete m;
        },
        mapping);
}

// Copies the pixels of the client rectangle `part` from one image to another; each holds the
// client area from its own top-left point.
void CopyPart(const QImage& from, QPoint fromOrigin, QImage& to, QPoint toOrigin, const QRect& part)
{
    for (int y = part.top(); y <= part.bottom(); ++y)
        std::memcpy(to.scanLine(y - toOrigin.y()) + std::size_t(part.left() - toOrigin.x()) * 4,
                    from.constScanLine(y - fromOrigin.y()) +
                        std::size_t(part.left() - fromOrigin.x()) * 4,
                    std::size_t(part.width()) * 4);
}

int Margin(int shown) { return std::max(kMinMargin, shown / kMarginFraction); }

} // namespace

QRegion WindowSurface::Hold(const QRect& need, const QSize& client)
{
    const QRect area(QPoint(0, 0), client);
    const QRect wanted = need.intersected(area);
    QRect rect = m_rect.intersected(area);
    if (!wanted.isEmpty()) {
        const QRect margined = wanted
                                   .adjusted(-Margin(wanted.width()), -Margin(wanted.height()),
                                             Margin(wanted.width()), Margin(wanted.height()))
                                   .intersected(area);
        // A surface far larger than what shows (after a zoom in, or a smaller window) goes.
        const auto size = [](const QRect& r) { return qint64(r.width()) * r.height(); };
        if (!rect.contains(wanted) || size(rect) > 2 * size(margined))
            rect = margined;
    }
    if (rect == m_rect)
        return QRegion();
    QImage pixels = ZeroImage(rect.size(), QImage::Format_RGB32);
    QImage shown = m_bTrackShown ? ZeroImage(rect.size(), QImage::Format_ARGB32) : QImage();
    // Without the memory the surface stays as it was; what it does not hold is not drawn.
    if (!rect.isEmpty() && (pixels.isNull() || (m_bTrackShown && shown.isNull())))
        return QRegion();
    const QRect kept = rect.intersected(m_rect);
    if (!kept.isEmpty()) {
        CopyPart(m_pixels, m_rect.topLeft(), pixels, rect.topLeft(), kept);
        if (m_bTrackShown)
            CopyPart(m_shown, m_rect.topLeft(), shown, rect.topLeft(), kept);
    }
    m_pixels = std::move(pixels);
    m_shown = std::move(shown);
    const QRegion added = QRegion(rect) - QRegion(m_rect);
    m_rect = rect;
    return added;
}

void WindowSurface::Release()
{
    m_rect = QRect();
    m_pixels = QImage();
    m_shown = QImage();
}

void WindowSurface::TrackShown(bool bTrack)
{
    m_bTrackShown = bTrack;
    m_shown = bTrack ? ZeroImage(m_rect.size(), QImage::Format_ARGB32) : QImage();
}

std::vector<QRect> WindowSurface::Changed(const QRect& rect) const
{
    const QPoint origin = m_rect.topLeft();
    std::vector<QRect> changed =
        zoom::Changed(m_pixels, m_shown, rect.intersected(m_rect).translated(-origin));
    for (QRect& r : changed)
        r.translate(origin);
    return changed;
}

void WindowSurface::Shown(const QRect& around, const QRect& inside)
{
    if (!TracksShown())
        return;
    const QPoint origin = m_rect.topLeft();
    const QRect all = around.intersected(m_rect).translated(-origin);
    const QRect whole = inside.intersected(all.translated(origin)).translated(-origin);
    for (int y = all.top(); y <= all.bottom(); ++y) {
        auto* shown = reinterpret_cast<QRgb*>(m_shown.scanLine(y));
        std::fill(shown + all.left(), shown + all.right() + 1, 0u);
        if (y >= whole.top() && y <= whole.bottom())
            std::memcpy(shown + whole.left(),
                        reinterpret_cast<const QRgb*>(m_pixels.constScanLine(y)) + whole.left(),
                        std::size_t(whole.width()) * 4);
    }
}
