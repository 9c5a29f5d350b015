#include "MyTracker.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::int64_t kTolerance = 20;
constexpr COLORREF kFeedbackGrey = RGB(127, 127, 127);
constexpr int kFrameStyle = CResizeTracker::dottedLine | CResizeTracker::resizeInside;
constexpr int kFrameHandleSize = 7;

bool Between(std::int64_t v, std::int64_t a, std::int64_t b)
{
    return v >= std::min(a, b) && v <= std::max(a, b);
}

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

void CMyTracker::Select(CPoint point, const CData* pData, CResizeTracker* pFrame)
{
    const int kind = pData->m_nKind;
    if (kind == SHAPE_LINE) {
        m_ptMovedStart = pData->m_ptStart;
        m_ptMovedEnd = pData->m_ptEnd;
        m_bGrabbed = TRUE;
    } else if (kind == SHAPE_RECT || kind == SHAPE_ELLIPSE) {
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
    if (kind == SHAPE_RECT || kind == SHAPE_ELLIPSE)
        FrameShape(pData, pFrame);
}

void CMyTracker::FrameShape(const CData* pData, CResizeTracker* pFrame)
{
    const int kind = pData ? pData->m_nKind : 0;
    if (kind == SHAPE_RECT || kind == SHAPE_ELLIPSE) {
        pFrame->m_rect = CRect(pData->m_ptStart, pData->m_ptEnd);
        pFrame->m_nStyle = kFrameStyle;
        pFrame->m_nHandleSize = kFrameHandleSize;
    } else if (kind == SHAPE_LINE) {
        const CPoint& a = pData->m_ptStart;
        const CPoint& b = pData->m_ptEnd;
        const CPoint far = Shifted(CPoint(std::max(a.x, b.x), std::max(a.y, b.y)), 1, 1);
        pFrame->m_rect = CRect(std::min(a.x, b.x), std::min(a.y, b.y), far.x, far.y);
        pFrame->m_nStyle = CResizeTracker::dottedLine;
        pFrame->m_nHandleSize = kFrameHandleSize;
    } else {
        pFrame->m_rect = CRect(0, 0, 0, 0);
    }
}

BOOL CMyTracker::HitTestLine(CPoint point, const CData* pData)
{
    m_nX1 = pData->m_ptStart.x;
    m_nY1 = pData->m_ptStart.y;
    m_nX2 = pData->m_ptEnd.x;
    m_nY2 = pData->m_ptEnd.y;
    m_nPtX = point.x;
    m_nPtY = point.y;
    const std::int64_t x1 = m_nX1, y1 = m_nY1, x2 = m_nX2, y2 = m_nY2, px = m_nPtX, py = m_nPtY;
    if (x1 == x2 && y1 == y2)
        return FALSE;
    if (x1 == x2)
        return std::llabs(px - x1) <= kTolerance && Between(py, y1, y2);
    if (y1 == y2)
        return std::llabs(py - y1) <= kTolerance && Between(px, x1, x2);
    // The vertical distance from the line at the point's x, only within the line's x range:
    // there the line's y lies between y1 and y2, give or take rounding, far inside 64 bits.
    if (!Between(px, x1, x2))
        return FALSE;
    const double slope = double(y2 - y1) / double(x2 - x1);
    const auto g = std::int64_t(double(px - x2) * slope + double(y2));
    return std::llabs(g - py) < kTolerance;
}

CRect CMyTracker::TrackRect(CPoint point, CDC* pDC, int nHandle)
{
    pDC->SelectStockObject(NULL_BRUSH);
    if (nHandle == CResizeTracker::hitMiddle) {
        const std::int64_t dx = std::int64_t(point.x) - m_ptLast.x;
        const std::int64_t dy = std::int64_t(point.y) - m_ptLast.y;
        m_rect = CRect(Shifted(m_rect.TopLeft(), dx, dy), Shifted(m_rect.BottomRight(), dx, dy));
        m_ptLast = point;
    } else {
        m_rect = Resized(m_rect, point, nHandle);
    }
    pDC->SetROP2(R2_XORPEN);
    CPen pen(PS_DOT, 2, kFeedbackGrey);
    CPen* pOldPen = pDC->SelectObject(&pen);
    bool drawn = true;
    if (m_nKind == SHAPE_RECT) {
        pDC->Rectangle(&m_rcOld);
        pDC->Rectangle(&m_rect);
    } else if (m_nKind == SHAPE_ELLIPSE) {
        pDC->Ellipse(&m_rcOld);
        pDC->Ellipse(&m_rect);
    } else {
        drawn = false;
    }
    pDC->SelectObject(pOldPen);
    if (drawn)
        m_rcOld = m_rect;
    return m_rect;
}

void CMyTracker::TrackLine(CPoint point, CDC* pDC)
{
    pDC->SelectStockObject(NULL_BRUSH);
    if (m_nKind != SHAPE_LINE || !m_bGrabbed)
        return;
    pDC->SetROP2(R2_XORPEN);
    CPen pen(PS_DOT, 2, kFeedbackGrey);
    CPen* pOldPen = pDC->SelectObject(&pen);
    const std::int64_t dx = std::int64_t(point.x) - m_ptLast.x;
    const std::int64_t dy = std::int64_t(point.y) - m_ptLast.y;
    m_ptMovedStart = Shifted(m_ptMovedStart, dx, dy);
    m_ptMovedEnd = Shifted(m_ptMovedEnd, dx, dy);
    m_ptLast = point;
    pDC->MoveTo(m_ptStart);
    pDC->LineTo(m_ptEnd);
    pDC->MoveTo(m_ptMovedStart);
    pDC->LineTo(m_ptMovedEnd);
    pDC->SelectObject(pOldPen);
    m_ptStart = m_ptMovedStart;
    m_ptEnd = m_ptMovedEnd;
}
