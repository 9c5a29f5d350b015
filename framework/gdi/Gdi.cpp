#include "Gdi.h"

#include "Palette.h"
#include "Raster.h"

#include "framework/core/Parallel.h"
#include "framework/core/Resource.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <memory>
#include <vector>

// ---- pens and brushes ------------------------------------------------------------------

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
{
    if (m_bCreated || m_bStock)
        return FALSE;
    m_nStyle = nPenStyle;
    m_nWidth = nWidth;
    m_crColor = crColor;
    m_bCreated = true;
    return TRUE;
}

BOOL CPen::DeleteObject()
{
    if (!m_bCreated || m_bStock)
        return FALSE;
    m_bCreated = false;
    return TRUE;
}

CPen* CPen::Stock(int nIndex)
{
    static CPen white(PS_SOLID, 1, RGB(255, 255, 255));
    static CPen black(PS_SOLID, 1, 0);
    static CPen none(PS_NULL, 1, 0);
    CPen* p = nIndex == WHITE_PEN   ? &white
              : nIndex == BLACK_PEN ? &black
              : nIndex == NULL_PEN  ? &none
                                    : nullptr;
    if (p)
        p->m_bStock = true;
    return p;
}

CBrush::CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }

BOOL CBrush::CreateSolidBrush(COLORREF crColor)
{
    if (m_bCreated || m_bStock)
        return FALSE;
    m_crColor = crColor;
    m_bCreated = true;
    return TRUE;
}

BOOL CBrush::DeleteObject()
{
    if (!m_bCreated || m_bStock)
        return FALSE;
    m_bCreated = false;
    return TRUE;
}

CBrush* CBrush::Stock(int nIndex)
{
    static CBrush brushes[5] = {CBrush(RGB(255, 255, 255)), CBrush(RGB(192, 192, 192)),
                                CBrush(RGB(128, 128, 128)), CBrush(RGB(64, 64, 64)),
                                CBrush(RGB(0, 0, 0))};
    static CBrush hollow = [] {
        CBrush b;
        b.m_bHollow = true;
        b.m_bCreated = true;
        return b;
    }();
    CBrush* p = nIndex >= WHITE_BRUSH && nIndex <= BLACK_BRUSH ? &brushes[nIndex]
                : nIndex == NULL_BRUSH                         ? &hollow
                                                               : nullptr;
    if (p)
        p->m_bStock = true;
    return p;
}

HGDIOBJ GetStockObject(int nIndex)
{
    if (CPen* pen = CPen::Stock(nIndex))
        return pen;
    return CBrush::Stock(nIndex);
}

std::vector<std::unique_ptr<CGdiObject>>& GdiHandles()
{
    // The objects the platform's Create functions made, until DeleteObject frees them.
    static std::vector<std::unique_ptr<CGdiObject>> handles;
    return handles;
}

HGDIOBJ AfxAddGdiHandle(std::unique_ptr<CGdiObject> pObject)
{
    GdiHandles().push_back(std::move(pObject));
    return GdiHandles().back().get();
}

BOOL DeleteObject(HGDIOBJ hObject)
{
    auto& handles = GdiHandles();
    const auto it = std::find_if(handles.begin(), handles.end(),
                                 [hObject](const auto& h) { return h.get() == hObject; });
    if (it == handles.end())
        return FALSE;
    handles.erase(it);
    return TRUE;
}

// ---- bitmaps ---------------------------------------------------------------------------

CBitmap::CBitmap() = default;
CBitmap::~CBitmap() = default;

BOOL CBitmap::CreateCompatibleBitmap(CDC*, int nWidth, int nHeight)
{
    if (m_pImage || nWidth <= 0 || nHeight <= 0)
        return FALSE;
    auto image = std::make_unique<QImage>(nWidth, nHeight, QImage::Format_RGB32);
    if (image->isNull())
        return FALSE;
    image->fill(0xFF000000u);
    m_pImage = std::move(image);
    return TRUE;
}

BOOL CBitmap::LoadBitmap(UINT nIDResource)
{
    if (m_pImage)
        return FALSE;
    const res::Binary* data = res::FindBitmap(nIDResource);
    if (!data)
        return FALSE;
    QImage image;
    if (!image.loadFromData(data->data, qsizetype(data->size), "BMP"))
        return FALSE;
    m_pImage = std::make_unique<QImage>(image.convertToFormat(QImage::Format_RGB32));
    return TRUE;
}

BOOL CBitmap::DeleteObject()
{
    if (!m_pImage)
        return FALSE;
    m_pImage.reset();
    return TRUE;
}

CSize CBitmap::GetSize() const
{
    return m_pImage ? CSize(m_pImage->width(), m_pImage->height()) : CSize();
}

void CBitmap::Attach(std::unique_ptr<QImage> image) { m_pImage = std::move(image); }

// ---- device contexts -------------------------------------------------------------------

struct DcAccess {
    static bool Target(const CDC& dc, raster::Target& t)
    {
        QImage* img = dc.m_pSurface;
        if (!img || img->isNull())
            return false;
        CRect clip;
        dc.GetClipBox(&clip);
        t = {reinterpret_cast<std::uint32_t*>(img->bits()),
             img->width(),
             img->height(),
             img->bytesPerLine() / 4,
             clip.left,
             clip.top,
             clip.right,
             clip.bottom};
        return true;
    }
    static raster::PenSpec Pen(const CDC& dc)
    {
        const CPen* p = dc.m_pPen;
        return {p->Style(), p->Width(), {raster::ToPixel(p->Color()), dc.m_nDrawMode}};
    }
    static bool Brush(const CDC& dc, raster::Ink& ink)
    {
        const CBrush* b = dc.m_pBrush;
        if (b->IsHollow())
            return false;
        ink = {raster::ToPixel(b->Color()), dc.m_nDrawMode};
        return true;
    }
};

CDC::CDC()
    : m_pPen(CPen::Stock(BLACK_PEN)), m_pBrush(CBrush::Stock(WHITE_BRUSH)),
      m_hPalette(PaletteObject::Default())
{}

CDC::~CDC() = default;

BOOL CDC::CreateCompatibleDC(CDC*)
{
    if (m_bMemory || m_pSurface || m_pPainter)
        return FALSE;
    m_bMemory = true;
    m_defaultBitmap.CreateCompatibleBitmap(this, 1, 1);
    m_pBitmap = &m_defaultBitmap;
    UpdateSurface();
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    if (!m_bMemory && !m_pSurface && !m_pPainter)
        return FALSE;
    m_bMemory = false;
    m_pBitmap = nullptr;
    m_pSurface = nullptr;
    m_pPainter = nullptr;
    return TRUE;
}

void CDC::UpdateSurface()
{
    if (m_bMemory)
        m_pSurface = m_pBitmap ? m_pBitmap->Image() : nullptr;
}

void CDC::AttachSurface(QImage* pSurface) { m_pSurface = pSurface; }

void CDC::AttachPainter(QPainter* pPainter, int nLogPixels)
{
    m_pPainter = pPainter;
    m_nLogPixels = nLogPixels;
}

BOOL BrushCoversRect(BOOL bEllipse, LPCRECT lpFigure, int nPenWidth, LPCRECT lpArea)
{
    const CRect f = CRect(*lpFigure).Normalized();
    if (f.IsRectEmpty())
        return FALSE;
    const CPen pen(PS_SOLID, nPenWidth, 0);
    return raster::BrushCovers(bEllipse != FALSE, f.left, f.top, f.right, f.bottom, pen.Width(),
                               lpArea->left, lpArea->top, lpArea->right, lpArea->bottom);
}

void CDC::OnChanged(const CRect&) {}

void CDC::SurfaceChanged(const CRect& bounds)
{
    UnionRect(&m_rcBounds, &m_rcBounds, &bounds);
    OnChanged(bounds);
}

UINT CDC::GetBoundsRect(LPRECT lpRectBounds, UINT flags)
{
    *lpRectBounds = m_rcBounds;
    const UINT state = m_rcBounds.IsRectEmpty() ? DCB_RESET : DCB_SET;
    if (flags & DCB_RESET)
        m_rcBounds = CRect();
    return state;
}

int CDC::GetClipBox(LPRECT lpRect) const
{
    const CRect whole(0, 0, GetDeviceCaps(HORZRES), GetDeviceCaps(VERTRES));
    if (!m_bClipped) {
        *lpRect = whole;
        return SIMPLEREGION;
    }
    return IntersectRect(lpRect, &m_rcClip, &whole) ? SIMPLEREGION : NULLREGION;
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2)
{
    CRect box;
    GetClipBox(&box);
    const CRect r(x1, y1, x2, y2);
    m_bClipped = true;
    return IntersectRect(&m_rcClip, &box, &r) ? SIMPLEREGION : NULLREGION;
}

int CDC::IntersectClipRect(LPCRECT lpRect)
{
    return IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CDC::SelectClipRgn(std::nullptr_t)
{
    m_bClipped = false;
    return SIMPLEREGION;
}

CPen* CDC::SelectObject(CPen* pPen)
{
    if (!pPen)
        return nullptr;
    CPen* old = m_pPen;
    m_pPen = pPen;
    return old;
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    if (!pBrush)
        return nullptr;
    CBrush* old = m_pBrush;
    m_pBrush = pBrush;
    return old;
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    // Only a memory context holds a bitmap, and only a created one can be selected.
    if (!m_bMemory || !pBitmap || !pBitmap->IsCreated())
        return nullptr;
    CBitmap* old = m_pBitmap;
    m_pBitmap = pBitmap;
    UpdateSurface();
    return old;
}

CGdiObject* CDC::SelectStockObject(int nIndex)
{
    if (CPen* pen = CPen::Stock(nIndex))
        return SelectObject(pen);
    if (CBrush* brush = CBrush::Stock(nIndex))
        return SelectObject(brush);
    return nullptr;
}

HPALETTE CDC::SelectPalette(HPALETTE hPalette, BOOL)
{
    if (!hPalette)
        return nullptr;
    HPALETTE old = m_hPalette;
    m_hPalette = hPalette;
    return old;
}

UINT CDC::RealizePalette()
{
    // A true-colour device maps no palette entries.
    return 0;
}

int CDC::SetROP2(int nDrawMode)
{
    const int old = m_nDrawMode;
    if (nDrawMode >= R2_BLACK && nDrawMode <= R2_WHITE)
        m_nDrawMode = nDrawMode;
    return old;
}

int CDC::SetStretchBltMode(int nStretchMode)
{
    const int old = m_nStretchMode;
    if (nStretchMode >= BLACKONWHITE && nStretchMode <= HALFTONE)
        m_nStretchMode = nStretchMode;
    return old;
}

CPoint CDC::MoveTo(int x, int y)
{
    const CPoint old = m_ptCurrent;
    m_ptCurrent = CPoint(x, y);
    return old;
}

BOOL CDC::Draw(const std::function<void(raster::Canvas&)>& draw)
{
    raster::Target t;
    if (!DcAccess::Target(*this, t))
        return FALSE;
    raster::Canvas canvas(t);
    draw(canvas);
    if (canvas.Touched())
        SurfaceChanged(canvas.Bounds());
    return TRUE;
}

BOOL CDC::LineTo(int x, int y)
{
    const CPoint from = m_ptCurrent;
    m_ptCurrent = CPoint(x, y);
    const raster::PenSpec pen = DcAccess::Pen(*this);
    return Draw([&](raster::Canvas& c) { c.Line(from.x, from.y, x, y, pen); });
}

BOOL CDC::Figure(int x1, int y1, int x2, int y2, FigureFn figure)
{
    const CRect r = CRect(x1, y1, x2, y2).Normalized();
    const raster::PenSpec pen = DcAccess::Pen(*this);
    raster::Ink brush;
    const bool filled = DcAccess::Brush(*this, brush);
    return Draw([&](raster::Canvas& c) {
        if (!r.IsRectEmpty())
            (c.*figure)(r.left, r.top, r.right, r.bottom, pen, filled ? &brush : nullptr);
    });
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2)
{
    return Figure(x1, y1, x2, y2, &raster::Canvas::Rectangle);
}

BOOL CDC::Rectangle(LPCRECT lpRect)
{
    return Rectangle(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

BOOL CDC::Ellipse(int x1, int y1, int x2, int y2)
{
    return Figure(x1, y1, x2, y2, &raster::Canvas::Ellipse);
}

BOOL CDC::Ellipse(LPCRECT lpRect)
{
    return Ellipse(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    const raster::Ink ink{raster::ToPixel(clr), R2_COPYPEN};
    Draw([&](raster::Canvas& c) {
        for (std::int64_t row = y; row < std::int64_t(y) + cy; ++row)
            c.Span(row, x, std::int64_t(x) + cx, ink);
    });
}

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
    const QRectF target(x, y, nWidth, nHeight);
    const QRectF source(xSrc, ySrc, nSrcWidth, nSrcHeight);
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
        p.setClipRect(QRect(clip.left, clip.top, clip.Width(), clip.Height()));
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
    if (m_pPainter) {
        m_pPainter->drawImage(QPoint(x, y), src, QRect(xSrc, ySrc, nWidth, nHeight));
        return TRUE;
    }
    if (!m_pSurface)
        return FALSE;
    // Clip the source rectangle to the source and the destination to the clip.
    CRect box;
    GetClipBox(&box);
    std::int64_t sx = xSrc, sy = ySrc, dx = x, dy = y, w = nWidth, h = nHeight;
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
    SurfaceChanged(CRect(int(dx), int(dy), int(dx + w), int(dy + h)));
    return TRUE;
}

COLORREF CDC::GetPixel(int x, int y) const
{
    if (!m_pSurface || x < 0 || y < 0 || x >= m_pSurface->width() || y >= m_pSurface->height())
        return CLR_INVALID;
    return raster::FromPixel(
        reinterpret_cast<const std::uint32_t*>(m_pSurface->constScanLine(y))[x]);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF crColor)
{
    if (!m_pSurface || x < 0 || y < 0 || x >= m_pSurface->width() || y >= m_pSurface->height())
        return CLR_INVALID;
    const raster::Ink ink{raster::ToPixel(crColor), R2_COPYPEN};
    Draw([&](raster::Canvas& c) { c.Pixel(x, y, ink); });
    return crColor;
}

int CDC::GetDeviceCaps(int nIndex) const
{
    switch (nIndex) {
    case RASTERCAPS:
        return RC_BITBLT | RC_DI_BITMAP | RC_DIBTODEV;
    case BITSPIXEL:
        return 32;
    case PLANES:
        return 1;
    case SIZEPALETTE:
        return 0;
    case NUMCOLORS:
        return -1;
    case HORZRES:
        return m_pSurface ? m_pSurface->width() : m_pPainter ? m_pPainter->device()->width() : 0;
    case VERTRES:
        return m_pSurface ? m_pSurface->height() : m_pPainter ? m_pPainter->device()->height() : 0;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return m_nLogPixels;
    default:
        return 0;
    }
}

// ---- the screen ---------------------------------------------------------------------------

namespace {

std::vector<std::unique_ptr<CDC>>& ScreenContexts()
{
    static std::vector<std::unique_ptr<CDC>> contexts;
    return contexts;
}

} // namespace

HDC GetDC(HWND hWnd)
{
    if (hWnd)
        return nullptr;
    ScreenContexts().push_back(std::make_unique<CDC>());
    return ScreenContexts().back().get();
}

int ReleaseDC(HWND hWnd, HDC hDC)
{
    auto& contexts = ScreenContexts();
    const auto it = std::find_if(contexts.begin(), contexts.end(),
                                 [hDC](const auto& dc) { return dc.get() == hDC; });
    if (hWnd || it == contexts.end())
        return 0;
    contexts.erase(it);
    return 1;
}
