#include "DrawTool.h"

#include "Shape.h"

namespace {
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
    DrawFigure(pDC, nKind, m_ptAnchor, m_ptLast);
    DrawFigure(pDC, nKind, m_ptAnchor, point);
    m_ptLast = point;
    pDC->SelectObject(pOldPen);
}

void CDrawTool::DrawShape(CDC* pDC, const CData* pData) { DrawShapeRecord(pDC, *pData); }

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
    m_ptTopLeft = CRect(p1, p2).Normalized().TopLeft();
    return m_ptTopLeft;
}

CPoint CDrawTool::BottomRightOf(CPoint p1, CPoint p2)
{
    m_ptBottomRight = CRect(p1, p2).Normalized().BottomRight();
    return m_ptBottomRight;
}
