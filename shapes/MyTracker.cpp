#include "MyTracker.h"

#include "Shape.h"

#include <cstdint>

namespace {

// The rectangle with the edges of a resize handle (0–7) moved to the point; any other code
// leaves it as it is.
CRect Resized(CRect rc, CPoint p, int nHandle)
{
    switch (nHandle) {
    case CResizeTracker::hitTopLeft:
        return CRect(p.x, p.y, rc.right, rc.bottom);
    case CResizeTracker::hitTopRight:
        return CRect(rc.left, p.y, p.x, rc.bottom);
    case CResizeTracker::hitBottomRight:
        return CRect(rc.left, rc.top, p.x, p.y);
    case CResizeTracker::hitBottomLeft:
        return CRect(p.x, rc.top, rc.right, p.y);
    case CResizeTracker::hitTop:
        return CRect(rc.left, p.y, rc.right, rc.bottom);
    case CResizeTracker::hitRight:
        return CRect(rc.left, rc.top, p.x, rc.bottom);
    case CResizeTracker::hitBottom:
        return CRect(rc.left, rc.top, rc.right, p.y);
    case CResizeTracker::hitLeft:
        return CRect(p.x, rc.top, rc.right, rc.bottom);
    default:
        return rc;
    }
}

} // namespace

void CMyTracker::Select(CPoint point, const CData* pData)
{
    const int kind = pData->m_nKind;
    if (IsLineShape(kind)) {
        m_ptMovedStart = pData->m_ptStart;
        m_ptMovedEnd = pData->m_ptEnd;
        m_bGrabbed = TRUE;
    } else if (IsBoxShape(kind)) {
        m_rcOld = CRect(pData->m_ptStart, pData->m_ptEnd);
        m_bGrabbed = TRUE;
        m_rect = m_rcOld;
    }
    if (!m_bGrabbed)
        return;
    m_crFill = pData->m_crFill;
    m_crLine = pData->m_crLine;
    m_ptStart = pData->m_ptStart;
    m_ptEnd = pData->m_ptEnd;
    m_nKind = kind;
    m_ptLast = point;
}

BOOL CMyTracker::HitTestLine(CPoint point, const CData* pData)
{
    m_nX1 = pData->m_ptStart.x;
    m_nY1 = pData->m_ptStart.y;
    m_nX2 = pData->m_ptEnd.x;
    m_nY2 = pData->m_ptEnd.y;
    m_nPtX = point.x;
    m_nPtY = point.y;
    return LineHit(point, pData->m_ptStart, pData->m_ptEnd) ? TRUE : FALSE;
}

CRect CMyTracker::TrackRect(CPoint point, CDC* pDC, int nHandle)
{
    if (nHandle != CResizeTracker::hitMiddle)
        return TrackTo(Resized(m_rect, point, nHandle), pDC);
    const std::int64_t dx = std::int64_t(point.x) - m_ptLast.x;
    const std::int64_t dy = std::int64_t(point.y) - m_ptLast.y;
    m_ptLast = point;
    return TrackTo(CRect(Shifted(m_rect.TopLeft(), dx, dy), Shifted(m_rect.BottomRight(), dx, dy)),
                   pDC);
}

CRect CMyTracker::TrackTo(const CRect& rect, CDC* pDC)
{
    pDC->SelectStockObject(NULL_BRUSH);
    m_rect = rect;
    pDC->SetROP2(R2_XORPEN);
    CPen pen(PS_DOT, 2, kFeedbackGrey);
    CPen* pOldPen = pDC->SelectObject(&pen);
    if (IsBoxShape(m_nKind)) {
        DrawFigure(pDC, m_nKind, m_rcOld.TopLeft(), m_rcOld.BottomRight());
        DrawFigure(pDC, m_nKind, m_rect.TopLeft(), m_rect.BottomRight());
        m_rcOld = m_rect;
    }
    pDC->SelectObject(pOldPen);
    return m_rect;
}

void CMyTracker::TrackLineEnd(CPoint point, int nEnd, CDC* pDC)
{
    pDC->SelectStockObject(NULL_BRUSH);
    if (!IsLineShape(m_nKind) || !m_bGrabbed)
        return;
    pDC->SetROP2(R2_XORPEN);
    CPen pen(PS_DOT, 2, kFeedbackGrey);
    CPen* pOldPen = pDC->SelectObject(&pen);
    DrawFigure(pDC, m_nKind, m_ptStart, m_ptEnd);
    (nEnd == 0 ? m_ptStart : m_ptEnd) = point;
    DrawFigure(pDC, m_nKind, m_ptStart, m_ptEnd);
    pDC->SelectObject(pOldPen);
    m_ptMovedStart = m_ptStart;
    m_ptMovedEnd = m_ptEnd;
}

void CMyTracker::TrackLine(CPoint point, CDC* pDC)
{
    pDC->SelectStockObject(NULL_BRUSH);
    if (!IsLineShape(m_nKind) || !m_bGrabbed)
        return;
    pDC->SetROP2(R2_XORPEN);
    CPen pen(PS_DOT, 2, kFeedbackGrey);
    CPen* pOldPen = pDC->SelectObject(&pen);
    const std::int64_t dx = std::int64_t(point.x) - m_ptLast.x;
    const std::int64_t dy = std::int64_t(point.y) - m_ptLast.y;
    m_ptMovedStart = Shifted(m_ptMovedStart, dx, dy);
    m_ptMovedEnd = Shifted(m_ptMovedEnd, dx, dy);
    m_ptLast = point;
    DrawFigure(pDC, m_nKind, m_ptStart, m_ptEnd);
    DrawFigure(pDC, m_nKind, m_ptMovedStart, m_ptMovedEnd);
    pDC->SelectObject(pOldPen);
    m_ptStart = m_ptMovedStart;
    m_ptEnd = m_ptMovedEnd;
}
