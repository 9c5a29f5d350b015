#include "Shape.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::int64_t kLineTolerance = 20;
// How far beside a hollow box's outline a press still grabs it.
constexpr double kOutlineTolerance = 5;
constexpr int kFrameHandleSize = 7;

void DrawLine(CDC* pDC, CPoint a, CPoint b)
{
    pDC->MoveTo(a);
    pDC->LineTo(b);
}

void DrawRectangle(CDC* pDC, CPoint a, CPoint b) { pDC->Rectangle(a.x, a.y, b.x, b.y); }

void DrawEllipse(CDC* pDC, CPoint a, CPoint b) { pDC->Ellipse(a.x, a.y, b.x, b.y); }

// The SVG elements follow the device context's geometry: a pen of width 1 or less paints one
// pixel, a line runs between the centres of its end pixels, and a box's outline runs through
// the centres of its outermost pixels (its right and bottom edges lie outside it).
int SvgPenWidth(const CData& d) { return std::max(d.m_nThickness, 1); }

void SvgLine(CSvgWriter& svg, const CData& d)
{
    svg.Line(d.m_ptStart.x + 0.5, d.m_ptStart.y + 0.5, d.m_ptEnd.x + 0.5, d.m_ptEnd.y + 0.5,
             d.m_crLine, SvgPenWidth(d));
}

// A box's outline, and the lengths of its sides between the pixel centres.
struct SvgBox {
    double left, top, width, height;
};

SvgBox BoxOf(const CData& d)
{
    const CRect box = CRect(d.m_ptStart, d.m_ptEnd).Normalized();
    return {box.left + 0.5, box.top + 0.5, std::max(double(box.right) - box.left - 1, 0.0),
            std::max(double(box.bottom) - box.top - 1, 0.0)};
}

void SvgRectangle(CSvgWriter& svg, const CData& d)
{
    const SvgBox b = BoxOf(d);
    svg.Rect(b.left, b.top, b.width, b.height, d.m_crLine, d.m_crFill, SvgPenWidth(d));
}

void SvgEllipse(CSvgWriter& svg, const CData& d)
{
    const SvgBox b = BoxOf(d);
    svg.Ellipse(b.left + b.width / 2, b.top + b.height / 2, b.width / 2, b.height / 2, d.m_crLine,
                d.m_crFill, SvgPenWidth(d));
}

struct ShapeKind {
    int nKind;
    bool bBox;
    bool bEllipse; // a box whose fill is the ellipse inside it
    void (*draw)(CDC* pDC, CPoint a, CPoint b);
    void (*svg)(CSvgWriter& svg, const CData& data);
};

constexpr ShapeKind kKinds[] = {
    {SHAPE_LINE, false, false, DrawLine, SvgLine},
    {SHAPE_RECT, true, false, DrawRectangle, SvgRectangle},
    {SHAPE_ELLIPSE, true, true, DrawEllipse, SvgEllipse},
};

const ShapeKind* Find(int nKind)
{
    for (const ShapeKind& kind : kKinds)
        if (kind.nKind == nKind)
            return &kind;
    return nullptr;
}

bool Between(std::int64_t v, std::int64_t a, std::int64_t b)
{
    return v >= std::min(a, b) && v <= std::max(a, b);
}

} // namespace

bool IsBoxShape(int nKind)
{
    const ShapeKind* kind = Find(nKind);
    return kind && kind->bBox;
}

bool IsLineShape(int nKind)
{
    const ShapeKind* kind = Find(nKind);
    return kind && !kind->bBox;
}

void OrderCorners(int nKind, CPoint& a, CPoint& b)
{
    if (!IsBoxShape(nKind))
        return;
    const CRect box = CRect(a, b).Normalized();
    a = box.TopLeft();
    b = box.BottomRight();
}

void DrawFigure(CDC* pDC, int nKind, CPoint a, CPoint b)
{
    if (const ShapeKind* kind = Find(nKind))
        kind->draw(pDC, a, b);
}

bool IsHollow(const CData& data) { return IsBoxShape(data.m_nKind) && data.m_crFill == kNoFill; }

void DrawShapeRecord(CDC* pDC, const CData& data)
{
    CPen pen(PS_SOLID, data.m_nThickness, data.m_crLine);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush brush(data.m_crFill);
    CBrush* pOldBrush = pDC->SelectObject(IsHollow(data) ? CBrush::Stock(NULL_BRUSH) : &brush);
    DrawFigure(pDC, data.m_nKind, data.m_ptStart, data.m_ptEnd);
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

void WriteShapeSvg(CSvgWriter& svg, const CData& data)
{
    if (const ShapeKind* kind = Find(data.m_nKind))
        kind->svg(svg, data);
}

CRect ShapeBounds(const CData& data)
{
    if (!Find(data.m_nKind))
        return CRect();
    const std::int64_t reach = std::max(data.m_nThickness, 1) / 2 + 2;
    return GrownRect(CRect(data.m_ptStart, data.m_ptEnd).Normalized(), reach, reach + 1);
}

void GrowToShape(CRect& bounds, const CData& data)
{
    const CRect shape = ShapeBounds(data);
    UnionRect(&bounds, &bounds, &shape);
}

namespace {

// Whether the point lies near a hollow box's outline: within its pen's half width and
// kOutlineTolerance pixels on either side of the path the outline runs along.
bool OutlineHit(const CData& data, bool bEllipse, CPoint point)
{
    const CRect box = CRect(data.m_ptStart, data.m_ptEnd).Normalized();
    const double reach = std::max(data.m_nThickness, 1) / 2.0 + kOutlineTolerance;
    const double px = point.x + 0.5, py = point.y + 0.5;
    const double left = box.left, top = box.top, right = box.right, bottom = box.bottom;
    const double a = (right - left) / 2, b = (bottom - top) / 2;
    if (!bEllipse || a <= reach || b <= reach) {
        const bool near =
            px >= left - reach && px <= right + reach && py >= top - reach && py <= bottom + reach;
        const bool inside =
            px > left + reach && px < right - reach && py > top + reach && py < bottom - reach;
        return near && !inside;
    }
    // The distance from the ellipse along the ray from its centre.
    const double dx = px - (left + a), dy = py - (top + b);
    const double r = std::hypot(dx / a, dy / b);
    const double along = std::hypot(dx, dy);
    return r > 0 && std::abs(along - along / r) <= reach;
}

} // namespace

CRect FigureBox(const CData& data)
{
    return GrownRect(CRect(data.m_ptStart, data.m_ptEnd).Normalized(), 0, 1);
}

std::int64_t HitReach(const CData& data)
{
    // A line's tolerance, or a hollow outline's half width and tolerance, with a pixel to
    // spare for rounding.
    return std::int64_t(std::max(double(kLineTolerance), kOutlineTolerance)) +
           std::max(data.m_nThickness, 1) / 2 + 1;
}

bool ShapeHit(const CData& data, CPoint point)
{
    const ShapeKind* kind = Find(data.m_nKind);
    if (!kind)
        return false;
    if (!kind->bBox)
        return LineHit(point, data.m_ptStart, data.m_ptEnd);
    if (IsHollow(data))
        return OutlineHit(data, kind->bEllipse, point);
    return CRect(data.m_ptStart, data.m_ptEnd).PtInRect(point);
}

bool LineHit(CPoint point, CPoint a, CPoint b)
{
    const std::int64_t x1 = a.x, y1 = a.y, x2 = b.x, y2 = b.y, px = point.x, py = point.y;
    if (x1 == x2 && y1 == y2)
        return false;
    if (x1 == x2)
        return std::llabs(px - x1) <= kLineTolerance && Between(py, y1, y2);
    if (y1 == y2)
        return std::llabs(py - y1) <= kLineTolerance && Between(px, x1, x2);
    // The vertical distance from the line at the point's x, only within the line's x range:
    // there the line's y lies between y1 and y2, give or take rounding, far inside 64 bits.
    if (!Between(px, x1, x2))
        return false;
    const double slope = double(y2 - y1) / double(x2 - x1);
    const auto g = std::int64_t(double(px - x2) * slope + double(y2));
    return std::llabs(g - py) < kLineTolerance;
}

bool ShapeHides(const CData& data, const CRect& area)
{
    const ShapeKind* kind = Find(data.m_nKind);
    if (!kind)
        return false;
    if (!kind->bBox)
        return LineCoversRect(data.m_ptStart, data.m_ptEnd, data.m_nThickness, &area);
    if (IsHollow(data))
        return false;
    const CRect figure(data.m_ptStart, data.m_ptEnd);
    return FigureCoversRect(kind->bEllipse, &figure, data.m_nThickness, &area);
}

bool ShapeMayHide(const CData& data, int nSide)
{
    // A pen can hold a square only when it is wider than the square's diagonal, with the
    // margin LineCoversRect keeps.
    return (IsBoxShape(data.m_nKind) && !IsHollow(data)) ||
           (IsLineShape(data.m_nKind) &&
            std::int64_t(data.m_nThickness) >= 3 * std::int64_t(nSide) / 2 + 4);
}

int FrameHandleSize(int nZoom)
{
    return std::max(1, (kFrameHandleSize * 100 + nZoom / 2) / std::max(nZoom, 1));
}

void FrameShape(const CData* pData, CResizeTracker* pFrame)
{
    const int nKind = pData ? pData->m_nKind : 0;
    if (!Find(nKind)) {
        pFrame->m_rect = CRect(0, 0, 0, 0);
        return;
    }
    pFrame->m_nHandleSize = kFrameHandleSize;
    if (IsBoxShape(nKind)) {
        pFrame->m_rect = CRect(pData->m_ptStart, pData->m_ptEnd);
        pFrame->m_nStyle = CResizeTracker::dottedLine | CResizeTracker::resizeInside;
    } else {
        // Around every pixel of the line, its end included.
        pFrame->m_rect = FigureBox(*pData);
        pFrame->m_nStyle = CResizeTracker::dottedLine;
    }
}
