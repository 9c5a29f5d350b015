// Block transfers between device contexts: pattern, stretched and straight copies.
#include "Gdi.h"

#include "Raster.h"
#include "detail/DcAccess.h"

#include "framework/core/Parallel.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop)
{
    const CRect r = CRect(x, y, x + nWidth, y + nHeight).Normalized();
    raster::Ink ink{0, R2_NOP};
    if (dwRop == DSTINVERT)
        ink.mix = R2_NOT;
    else if (dwRop == BLACKNESS)
        ink.mix = R2_BLACK;
    else if (dwRop == WHITENESS)
        ink.mix = R2_WHITE;
    else if (!DcAccess::Brush(*this, ink))
        return TRUE;
    else
        ink.mix = R2_COPYPEN;
    return Draw([&](raster::Canvas& c) {
        const std::int64_t top = std::max<std::int64_t>(r.top, c.FirstRow());
        const std::int64_t bottom = std::min<std::int64_t>(r.bottom, c.EndRow());
        for (std::int64_t row = top; row < bottom; ++row)
            c.Span(row, r.left, r.right, ink);
    });
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                     int nSrcWidth, int nSrcHeight, DWORD dwRop)
{
    if (!pSrcDC || !pSrcDC->m_pSurface || dwRop != SRCCOPY || (!m_pPainter && !m_pSurface))
        return FALSE;
    const CPoint org = m_ptViewportOrg, srcOrg = pSrcDC->m_ptViewportOrg;
    const QRectF target(double(x) + org.x, double(y) + org.y, nWidth, nHeight);
    const QRectF source(double(xSrc) + srcOrg.x, double(ySrc) + srcOrg.y, nSrcWidth, nSrcHeight);
    const auto draw = [&](QPainter& p) {
        p.setRenderHint(QPainter::SmoothPixmapTransform, m_nStretchMode == HALFTONE);
        p.drawImage(target, *pSrcDC->m_pSurface, source);
    };
    if (m_pPainter) {
        m_pPainter->save();
        draw(*m_pPainter);
        m_pPainter->restore();
        return TRUE;
    }
    CRect clip;
    GetClipBox(&clip);
    {
        QPainter p(m_pSurface);
        p.setClipRect(QRect(clip.left + org.x, clip.top + org.y, clip.Width(), clip.Height()));
        p.setCompositionMode(QPainter::CompositionMode_Source);
        draw(p);
    }
    CRect changed;
    const CRect drawn(x, y, x + nWidth, y + nHeight);
    if (IntersectRect(&changed, &drawn, &clip))
        SurfaceChanged(changed);
    return TRUE;
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                 DWORD dwRop)
{
    if (dwRop == DSTINVERT || dwRop == BLACKNESS || dwRop == WHITENESS)
        return PatBlt(x, y, nWidth, nHeight, dwRop);
    if (!pSrcDC || !pSrcDC->m_pSurface || (dwRop != SRCCOPY && dwRop != SRCINVERT))
        return FALSE;
    const QImage& src = *pSrcDC->m_pSurface;
    const CPoint org = m_ptViewportOrg, srcOrg = pSrcDC->m_ptViewportOrg;
    if (m_pPainter) {
        m_pPainter->drawImage(QPoint(x + org.x, y + org.y), src,
                              QRect(xSrc + srcOrg.x, ySrc + srcOrg.y, nWidth, nHeight));
        return TRUE;
    }
    if (!m_pSurface)
        return FALSE;
    // On the devices: clip the source rectangle to the source and the destination to the clip.
    CRect box;
    GetClipBox(&box);
    box.OffsetRect(org.x, org.y);
    std::int64_t sx = std::int64_t(xSrc) + srcOrg.x, sy = std::int64_t(ySrc) + srcOrg.y;
    std::int64_t dx = std::int64_t(x) + org.x, dy = std::int64_t(y) + org.y, w = nWidth,
                 h = nHeight;
    auto clip = [&](std::int64_t& a, std::int64_t& b, std::int64_t& len, std::int64_t limA,
                    std::int64_t lowB, std::int64_t limB) {
        const std::int64_t cut = std::max<std::int64_t>({0, -a, lowB - b});
        a += cut;
        b += cut;
        len -= cut;
        len = std::min({len, limA - a, limB - b});
    };
    clip(sx, dx, w, src.width(), box.left, box.right);
    clip(sy, dy, h, src.height(), box.top, box.bottom);
    if (w <= 0 || h <= 0)
        return TRUE;
    const bool xorMix = dwRop == SRCINVERT;
    const std::int64_t srcStride = src.bytesPerLine() / 4;
    const auto* srcBits = reinterpret_cast<const std::uint32_t*>(src.constBits());
    auto* dstBits = reinterpret_cast<std::uint32_t*>(m_pSurface->bits());
    const std::int64_t dstStride = m_pSurface->bytesPerLine() / 4;
    parallel::For(h, w, [&](std::int64_t first, std::int64_t last, int) {
        for (std::int64_t row = first; row < last; ++row) {
            const std::uint32_t* s = srcBits + (sy + row) * srcStride + sx;
            std::uint32_t* d = dstBits + (dy + row) * dstStride + dx;
            if (xorMix)
                for (std::int64_t i = 0; i < w; ++i)
                    d[i] ^= s[i] & 0x00FFFFFFu;
            else
                std::copy(s, s + w, d);
        }
    });
    SurfaceChanged(
        CRect(int(dx - org.x), int(dy - org.y), int(dx + w - org.x), int(dy + h - org.y)));
    return TRUE;
}
