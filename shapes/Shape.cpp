#include "Shape.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::int64_t kLineTolerance = 20;
constexpr int kFrameHandleSize = 7;

void DrawLine(CDC* pDC, CPoint a, CPoint b)
{
    pDC->MoveTo(a);
    pDC->LineTo(b);
}

void DrawRectangle(CDC* pDC, CPoint a, CPoint b) { pDC->Rectangle(a.x, a.y, b.x, b.y); }

void DrawEllipse(CDC* pDC, CPoint a, CPoint b) { pDC->Ellipse(a.x, a.y, b.x, b.y); }

struct ShapeKind {
    int nKind;
    bool bBox;
    bool bEllipse; // a box whose fill is the ellipse inside it
    void (*draw)(CDC* pDC, CPoint a, CPoint b);
};

constexpr ShapeKind kKinds[] = {
    {SHAPE_LINE, false, false, DrawLine},
    {SHAPE_RECT, true, false, DrawRectangle},
    {SHAPE_ELLIPSE, true, true, DrawEllipse},
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

void DrawShapeRecord(CDC* pDC, const CData& data)
{
    CPen pen(PS_SOLID, data.m_nThickness, data.m_crLine);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush brush(data.m_crFill);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    DrawFigure(pDC, data.m_nKind, data.m_ptStart, data.m_ptEnd);
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

CRect ShapeBounds(const CData& data)
{
    if (!Find(data.m_nKind))
        return CRect();
    const std::int64_t reach = std::max(data.m_nThickness, 1) / 2 + 2;
    return GrownRect(CRect(data.m_ptStart, data.m_ptEnd).Normalized(), reach, reach + 1);
}

bool ShapeHit(const CData& data, CPoint point)
{
    if (IsLineShape(data.m_nKind))
        return LineHit(point, data.m_ptStart, data.m_ptEnd);
    return IsBoxShape(data.m_nKind) && CRect(data.m_ptStart, data.m_ptEnd).PtInRect(point);
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
    const CRect figure(data.m_ptStart, data.m_ptEnd);
    return FigureCoversRect(kind->bEllipse, &figure, data.m_nThickness, &area);
}

bool ShapeMayHide(const CData& data, int nSide)
{
    // A pen can hold a square only when it is wider than the square's diagonal, with the
    // margin LineCoversRect keeps.
    return IsBoxShape(data.m_nKind) ||
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
        pFrame->m_rect = GrownRect(CRect(pData->m_ptStart, pData->m_ptEnd).Normalized(), 0, 1);
        pFrame->m_nStyle = CResizeTracker::dottedLine;
    }
}
