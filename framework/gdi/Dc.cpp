// Device contexts: their surface, clip, selected objects, mix modes, figures and pixels.
#include "Gdi.h"

#include "Palette.h"
#include "Raster.h"
#include "detail/DcAccess.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <utility>

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

BOOL CDC::CreateSharingDC(const CDC* pDC)
{
    if (!pDC || !pDC->m_pSurface || m_bMemory || m_pSurface || m_pPainter)
        return FALSE;
    m_pSurface = pDC->m_pSurface;
    m_ptViewportOrg = pDC->m_ptViewportOrg;
    m_bClipped = pDC->m_bClipped;
    m_rcClip = pDC->m_rcClip;
    m_bLimited = pDC->m_bLimited;
    m_rcLimit = pDC->m_rcLimit;
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

BOOL FigureCoversRect(BOOL bEllipse, LPCRECT lpFigure, int nPenWidth, LPCRECT lpArea)
{
    const CRect f = CRect(*lpFigure).Normalized();
    if (f.IsRectEmpty())
        return FALSE;
    const CPen pen(PS_SOLID, nPenWidth, 0);
    return raster::FigureCovers(bEllipse != FALSE, f.left, f.top, f.right, f.bottom, pen.Width(),
                                lpArea->left, lpArea->top, lpArea->right, lpArea->bottom);
}

BOOL LineCoversRect(POINT from, POINT to, int nPenWidth, LPCRECT lpArea)
{
    const CPen pen(PS_SOLID, nPenWidth, 0);
    return raster::LineCovers(from.x, from.y, to.x, to.y, pen.Width(), lpArea->left, lpArea->top,
                              lpArea->right, lpArea->bottom);
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

CPoint CDC::SetViewportOrg(int x, int y) { return std::exchange(m_ptViewportOrg, CPoint(x, y)); }

int CDC::GetClipBox(LPRECT lpRect) const
{
    CRect box(0, 0, GetDeviceCaps(HORZRES), GetDeviceCaps(VERTRES));
    const bool some = (!m_bLimited || IntersectRect(&box, &m_rcLimit, &box)) &&
                      (!m_bClipped || IntersectRect(&box, &m_rcClip, &box));
    const int kind = some ? SIMPLEREGION : NULLREGION;
    box.OffsetRect(-m_ptViewportOrg.x, -m_ptViewportOrg.y);
    *lpRect = kind == SIMPLEREGION ? box : CRect();
    return kind;
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2)
{
    CRect box;
    GetClipBox(&box);
    const CRect r(x1, y1, x2, y2);
    m_bClipped = true;
    const int kind = IntersectRect(&m_rcClip, &box, &r) ? SIMPLEREGION : NULLREGION;
    m_rcClip.OffsetRect(m_ptViewportOrg.x, m_ptViewportOrg.y);
    return kind;
}

int CDC::IntersectClipRect(LPCRECT lpRect)
{
    return IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CDC::SelectClipRgn(std::nullptr_t)
{
    m_bClipped = false;
    CRect box;
    return GetClipBox(&box);
}

void CDC::LimitTo(const CRect& rect)
{
    m_rcLimit = CRect(rect.left + m_ptViewportOrg.x, rect.top + m_ptViewportOrg.y,
                      rect.right + m_ptViewportOrg.x, rect.bottom + m_ptViewportOrg.y);
    m_bLimited = true;
}

CPen* CDC::SelectObject(CPen* pPen) { return pPen ? std::exchange(m_pPen, pPen) : nullptr; }

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    return pBrush ? std::exchange(m_pBrush, pBrush) : nullptr;
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

BOOL CDC::Draw(const std::function<void(raster::Canvas&)>& draw, int nBorder)
{
    raster::Target t;
    if (!DcAccess::Target(*this, t))
        return FALSE;
    raster::Canvas canvas(t);
    draw(canvas);
    if (!canvas.Touched())
        return TRUE;
    const CRect b = canvas.Bounds();
    if (nBorder <= 0 || b.Width() <= 2 * nBorder || b.Height() <= 2 * nBorder) {
        SurfaceChanged(b);
        return TRUE;
    }
    SurfaceChanged(CRect(b.left, b.top, b.right, b.top + nBorder));
    SurfaceChanged(CRect(b.left, b.bottom - nBorder, b.right, b.bottom));
    SurfaceChanged(CRect(b.left, b.top + nBorder, b.left + nBorder, b.bottom - nBorder));
    SurfaceChanged(CRect(b.right - nBorder, b.top + nBorder, b.right, b.bottom - nBorder));
    return TRUE;
}

BOOL CDC::LineTo(int x, int y)
{
    const CPoint from = m_ptCurrent;
    m_ptCurrent = CPoint(x, y);
    const raster::Stroke pen = DcAccess::Pen(*this);
    return Draw([&](raster::Canvas& c) { c.Line(from.x, from.y, x, y, pen); });
}

BOOL CDC::Figure(int x1, int y1, int x2, int y2, FigureFn figure)
{
    const CRect r = CRect(x1, y1, x2, y2).Normalized();
    const raster::Stroke pen = DcAccess::Pen(*this);
    raster::Ink brush;
    const bool filled = DcAccess::Brush(*this, brush);
    // A hollow rectangle touches a band as wide as its pen along its sides, however clipped.
    const int border = !filled && figure == &raster::Canvas::Rectangle ? std::max(pen.width, 1) : 0;
    return Draw(
        [&](raster::Canvas& c) {
            if (!r.IsRectEmpty())
                (c.*figure)(r.left, r.top, r.right, r.bottom, pen, filled ? &brush : nullptr);
        },
        border);
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

COLORREF CDC::GetPixel(int x, int y) const
{
    const std::int64_t dx = std::int64_t(x) + m_ptViewportOrg.x;
    const std::int64_t dy = std::int64_t(y) + m_ptViewportOrg.y;
    if (!m_pSurface || dx < 0 || dy < 0 || dx >= m_pSurface->width() || dy >= m_pSurface->height())
        return CLR_INVALID;
    return raster::FromPixel(
        reinterpret_cast<const std::uint32_t*>(m_pSurface->constScanLine(int(dy)))[dx]);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF crColor)
{
    if (GetPixel(x, y) == CLR_INVALID)
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
