#include "DrawTool.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {
constexpr COLORREF kFeedbackGrey = RGB(127, 127, 127);
constexpr COLORREF kWhite = RGB(255, 255, 255);
} // namespace

void CDrawTool::SetStartPoint(CPoint point)
{
    m_ptLast = point;
    m_ptAnchor = m_ptLast;
}

void CDrawTool::DrawRubberBand(CDC* pDC, CPoint point, int nKind)
{
    CPen pen(PS_SOLID, 1, kFeedbackGrey);
    pDC->SelectStockObject(NULL_BRUSH);
    pDC->SetROP2(R2_XORPEN);
    CPen* pOldPen = pDC->SelectObject(&pen);
    switch (nKind) {
    case SHAPE_LINE:
        pDC->MoveTo(m_ptAnchor);
        pDC->LineTo(m_ptLast);
        pDC->MoveTo(m_ptAnchor);
        pDC->LineTo(point);
        break;
    case SHAPE_RECT:
        pDC->Rectangle(m_ptAnchor.x, m_ptAnchor.y, m_ptLast.x, m_ptLast.y);
        pDC->Rectangle(m_ptAnchor.x, m_ptAnchor.y, point.x, point.y);
        break;
    case SHAPE_ELLIPSE:
        pDC->Ellipse(m_ptAnchor.x, m_ptAnchor.y, m_ptLast.x, m_ptLast.y);
        pDC->Ellipse(m_ptAnchor.x, m_ptAnchor.y, point.x, point.y);
        break;
    default:
        break;
    }
    m_ptLast = point;
    pDC->SelectObject(pOldPen);
}

void CDrawTool::DrawShape(CDC* pDC, const CData* pData)
{
    CPen pen(PS_SOLID, pData->m_nThickness, pData->m_crLine);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush brush(pData->m_crFill);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    const CPoint& s = pData->m_ptStart;
    const CPoint& e = pData->m_ptEnd;
    switch (pData->m_nKind) {
    case SHAPE_LINE:
        pDC->MoveTo(s);
        pDC->LineTo(e);
        break;
    case SHAPE_RECT:
        pDC->Rectangle(s.x, s.y, e.x, e.y);
        break;
    case SHAPE_ELLIPSE:
        pDC->Ellipse(s.x, s.y, e.x, e.y);
        break;
    default:
        break;
    }
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

void CDrawTool::ClearCanvas(CDC* pDC, int cx, int cy)
{
    CPen pen(PS_SOLID, 2, kWhite);
    CBrush brush(kWhite);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    pDC->Rectangle(0, 0, cx, cy);
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

CPoint CDrawTool::TopLeftOf(CPoint p1, CPoint p2)
{
    m_ptTopLeft = CPoint(std::min(p1.x, p2.x), std::min(p1.y, p2.y));
    return m_ptTopLeft;
}

CPoint CDrawTool::BottomRightOf(CPoint p1, CPoint p2)
{
    m_ptBottomRight = CPoint(std::max(p1.x, p2.x), std::max(p1.y, p2.y));
    return m_ptBottomRight;
}

CRect CDrawTool::BoundsOf(const CData* pData)
{
    const std::int64_t reach = std::max(pData->m_nThickness, 1) / 2 + 2;
    const auto clamp = [](std::int64_t v) {
        return int(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
    };
    const CPoint& a = pData->m_ptStart;
    const CPoint& b = pData->m_ptEnd;
    return CRect(clamp(std::int64_t(std::min(a.x, b.x)) - reach),
                 clamp(std::int64_t(std::min(a.y, b.y)) - reach),
                 clamp(std::int64_t(std::max(a.x, b.x)) + reach + 1),
                 clamp(std::int64_t(std::max(a.y, b.y)) + reach + 1));
}

bool CDrawTool::Hides(const CData* pData, const CRect& area)
{
    if (pData->m_nKind != SHAPE_RECT && pData->m_nKind != SHAPE_ELLIPSE)
        return false;
    const CRect figure(pData->m_ptStart, pData->m_ptEnd);
    return BrushCoversRect(pData->m_nKind == SHAPE_ELLIPSE, &figure, pData->m_nThickness, &area);
}
