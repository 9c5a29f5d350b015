// The mouse: drawing a shape with rubber-band feedback, grabbing, moving and resizing one.
#include "SkorelView.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>

void CSkorelView::OnLButtonDown(UINT nFlags, CPoint point)
{
    // A press while a drag is still going means its release was lost.
    CancelDrag();
    m_bDropped = false;
    SetCapture();
    m_bButtonDown = TRUE;
    if (m_nMode == MODE_DRAW) {
        m_ptStart = point;
        m_drawTool.SetStartPoint(point);
    } else {
        PressInSelection(point);
    }
    CView::OnLButtonDown(nFlags, point);
}

void CSkorelView::PressInSelection(CPoint point)
{
    CSkorelDoc* pDoc = GetDocument();
    // Every record that is hit is taken in turn, so the last one, painted on top, wins.
    for (POSITION pos = pDoc->m_shapeList.GetHeadPosition(); pos;) {
        const POSITION at = pos;
        CData* pData = pDoc->m_shapeList.GetNext(pos);
        if (pData->m_nKind == SHAPE_LINE) {
            m_bHit = m_myTracker.HitTestLine(point, pData);
        } else if (pData->m_nKind == SHAPE_RECT || pData->m_nKind == SHAPE_ELLIPSE) {
            const CRect bounds(pData->m_ptStart.x, pData->m_ptStart.y, pData->m_ptEnd.x,
                               pData->m_ptEnd.y);
            m_bHit = PtInRect(&bounds, point);
        } else {
            m_bHit = FALSE;
        }
        if (m_bHit) {
            m_posSelected = at;
            m_myTracker.Select(point, pData, &pDoc->m_tracker);
        }
    }
    // The shape grabbed last is the selected one; a press that grabs nothing keeps it.
    if (m_myTracker.m_bGrabbed) {
        m_pSelected = pDoc->m_shapeList.GetAt(m_posSelected);
        if (m_pSelected->m_nKind == SHAPE_LINE)
            CMyTracker::FrameShape(m_pSelected, &pDoc->m_tracker);
    }
    m_nHitCode = pDoc->m_tracker.HitTest(point);
    UpdateFrameArea();
}

void CSkorelView::OnMouseMove(UINT nFlags, CPoint point)
{
    m_ptPointer = point;
    m_bPointerIn =
        point.x >= 0 && point.y >= 0 && point.x < m_nCanvasWidth && point.y < m_nCanvasHeight;
    if (m_bButtonDown && !(nFlags & MK_LBUTTON))
        CancelDrag();
    CClientDC dc(this);
    if (m_bButtonDown && m_nMode == MODE_DRAW) {
        m_drawTool.DrawRubberBand(&dc, point, m_nShapeKind);
    } else if (m_bButtonDown && m_nMode == MODE_SELECT) {
        m_bMoved = TRUE;
        if (m_myTracker.m_nKind == SHAPE_LINE)
            m_myTracker.TrackLine(point, &dc);
        else
            m_rectTracked = m_myTracker.TrackRect(point, &dc, m_nHitCode);
    }
    CRect drawn;
    if (dc.GetBoundsRect(&drawn, DCB_RESET) == DCB_SET)
        UnionRect(&m_rcFeedback, &m_rcFeedback, &drawn);
    CView::OnMouseMove(nFlags, point);
}

void CSkorelView::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (std::exchange(m_bDropped, false)) {
        CView::OnLButtonUp(nFlags, point);
        return;
    }
    m_bButtonDown = FALSE;
    if (m_nMode == MODE_DRAW)
        AddDrawnShape(point);
    else if (m_myTracker.m_bGrabbed && m_bMoved)
        CommitSelection();
    m_myTracker.m_bGrabbed = FALSE;
    m_bHit = FALSE;
    m_bMoved = FALSE;
    ReleaseCapture();
    EraseFeedback();
    UpdateFrameArea();
    CView::OnLButtonUp(nFlags, point);
}

void CSkorelView::AddDrawnShape(CPoint ptEnd)
{
    // A click that does not move draws nothing: no record, which would only be an invisible
    // step to undo.
    if (ptEnd == m_ptStart)
        return;
    auto pData = std::make_unique<CData>();
    if (m_nShapeKind == SHAPE_RECT || m_nShapeKind == SHAPE_ELLIPSE) {
        pData->m_ptStart = m_drawTool.TopLeftOf(m_ptStart, ptEnd);
        pData->m_ptEnd = m_drawTool.BottomRightOf(m_ptStart, ptEnd);
    } else {
        // A line keeps the direction it was drawn in.
        pData->m_ptStart = m_ptStart;
        pData->m_ptEnd = ptEnd;
    }
    pData->m_nKind = m_nShapeKind;
    pData->m_crLine = m_crLine;
    pData->m_crFill = m_crFill;
    pData->m_nThickness = m_nThickness;
    std::vector<std::unique_ptr<CData>> drawn;
    drawn.push_back(std::move(pData));
    GetDocument()->AddShapes(std::move(drawn), true);
}

void CSkorelView::OnCaptureChanged(CWnd*) { CancelDrag(); }

void CSkorelView::OnMouseLeave() { m_bPointerIn = FALSE; }

void CSkorelView::OnUpdatePosition(CCmdUI* pCmdUI)
{
    const std::string text =
        m_bPointerIn ? std::to_string(m_ptPointer.x) + ", " + std::to_string(m_ptPointer.y) : "";
    pCmdUI->SetText(text.c_str());
}

void CSkorelView::OnUpdateSize(CCmdUI* pCmdUI)
{
    std::string text;
    if (m_bButtonDown && (m_nMode == MODE_DRAW || m_myTracker.m_bGrabbed)) {
        // The box of the shape as the drag would leave it now.
        CRect box;
        if (m_nMode == MODE_DRAW)
            box = CRect(m_ptStart, m_ptPointer);
        else if (m_myTracker.m_nKind == SHAPE_LINE)
            box = CRect(m_myTracker.m_ptStart, m_myTracker.m_ptEnd);
        else
            box = m_bMoved ? m_rectTracked : m_myTracker.m_rect;
        const auto extent = [](LONG a, LONG b) { return std::llabs(std::int64_t(b) - a); };
        text = std::to_string(extent(box.left, box.right)) + " × " +
               std::to_string(extent(box.top, box.bottom));
    }
    pCmdUI->SetText(text.c_str());
}

void CSkorelView::CancelDrag()
{
    if (!m_bButtonDown)
        return;
    m_bButtonDown = FALSE;
    m_bDropped = true;
    m_myTracker.m_bGrabbed = FALSE;
    m_bHit = FALSE;
    m_bMoved = FALSE;
    ReleaseCapture();
    EraseFeedback();
}

void CSkorelView::EraseFeedback()
{
    InvalidateRect(&m_rcFeedback);
    m_rcFeedback = CRect();
}

void CSkorelView::CommitSelection()
{
    CSkorelDoc* pDoc = GetDocument();
    if (!m_posSelected)
        return;
    CData* pData = pDoc->m_shapeList.GetAt(m_posSelected);
    const CRect& r = m_rectTracked;
    // Kind and colours are the record's own: the tracker only ever copied them.
    if (m_myTracker.m_nKind == SHAPE_LINE) {
        pDoc->ChangeShape(pData, m_myTracker.m_ptStart, m_myTracker.m_ptEnd);
    } else if (m_nHitCode == CResizeTracker::hitMiddle) {
        pDoc->ChangeShape(pData, r.TopLeft(), r.BottomRight());
        pDoc->m_tracker.m_rect = r;
        UpdateFrameArea();
    } else if (m_nHitCode >= CResizeTracker::hitTopLeft && m_nHitCode <= CResizeTracker::hitLeft) {
        // The stored corners are normalised even when an edge was dragged past the other; the
        // frame keeps the rectangle as dragged.
        pDoc->ChangeShape(pData, m_drawTool.TopLeftOf(r.TopLeft(), r.BottomRight()),
                          m_drawTool.BottomRightOf(r.TopLeft(), r.BottomRight()));
        pDoc->m_tracker.m_rect = r;
        UpdateFrameArea();
    }
}

void CSkorelView::SelectShape(CData* pData)
{
    CSkorelDoc* pDoc = GetDocument();
    m_pSelected = pData;
    m_posSelected = pData ? pDoc->m_shapeList.Find(pData) : nullptr;
    CMyTracker::FrameShape(pData, &pDoc->m_tracker);
    UpdateFrameArea();
}

BOOL CSkorelView::OnKeyDown(UINT nChar, UINT, UINT nFlags)
{
    if (nChar == VK_ESCAPE && m_bButtonDown) {
        CancelDrag();
        return TRUE;
    }
    const int step = (nFlags & MK_SHIFT) ? 10 : 1;
    int dx = 0, dy = 0;
    switch (nChar) {
    case VK_LEFT:
        dx = -step;
        break;
    case VK_RIGHT:
        dx = step;
        break;
    case VK_UP:
        dy = -step;
        break;
    case VK_DOWN:
        dy = step;
        break;
    default:
        return FALSE;
    }
    if (!m_pSelected || m_bButtonDown)
        return FALSE;
    GetDocument()->ChangeShape(m_pSelected, Shifted(m_pSelected->m_ptStart, dx, dy),
                               Shifted(m_pSelected->m_ptEnd, dx, dy));
    return TRUE;
}