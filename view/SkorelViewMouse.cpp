// The mouse: drawing a shape with rubber-band feedback, grabbing, moving and resizing one.
#include "SkorelView.h"

#include "shapes/Shape.h"

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
    if (m_nMode == MODE_DRAW)
        m_drawTool.SetStartPoint(point);
    else
        PressInSelection(point);
    CView::OnLButtonDown(nFlags, point);
}

POSITION CSkorelView::HitRecord(CPoint point) const
{
    const CTypedOwningList<CData>& list = GetDocument()->m_shapeList;
    for (POSITION pos = list.GetTailPosition(); pos;) {
        const POSITION at = pos;
        if (ShapeHit(*list.GetPrev(pos), point))
            return at;
    }
    return nullptr;
}

void CSkorelView::PressInSelection(CPoint point)
{
    const POSITION hit = HitRecord(point);
    m_bHit = hit != nullptr;
    // A press that grabs nothing keeps the selection.
    if (hit) {
        m_myTracker.Select(point, GetDocument()->m_shapeList.GetAt(hit));
        SelectShape(hit);
    }
    m_nHitCode = GetDocument()->m_tracker.HitTest(point);
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
        if (IsLineShape(m_myTracker.m_nKind))
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
    const bool commit = m_nMode == MODE_SELECT && m_myTracker.m_bGrabbed && m_bMoved;
    EndDrag();
    if (m_nMode == MODE_DRAW)
        AddDrawnShape(point);
    else if (commit)
        CommitSelection();
    CView::OnLButtonUp(nFlags, point);
}

void CSkorelView::OnRButtonDown(UINT, CPoint) { CancelDrag(); }

void CSkorelView::AddDrawnShape(CPoint ptEnd)
{
    // A click that does not move draws nothing: no record, which would only be an invisible
    // step to undo.
    if (ptEnd == m_ptStart)
        return;
    auto pData = std::make_unique<CData>();
    pData->m_ptStart = m_ptStart;
    pData->m_ptEnd = ptEnd;
    OrderCorners(m_nShapeKind, pData->m_ptStart, pData->m_ptEnd);
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
        else if (IsLineShape(m_myTracker.m_nKind))
            box = CRect(m_myTracker.m_ptStart, m_myTracker.m_ptEnd);
        else
            box = m_bMoved ? m_rectTracked : m_myTracker.m_rect;
        const auto extent = [](LONG a, LONG b) { return std::llabs(std::int64_t(b) - a); };
        text = std::to_string(extent(box.left, box.right)) + " × " +
               std::to_string(extent(box.top, box.bottom));
    }
    pCmdUI->SetText(text.c_str());
}

void CSkorelView::EndDrag()
{
    m_bButtonDown = FALSE;
    m_myTracker.m_bGrabbed = FALSE;
    m_bMoved = FALSE;
    ReleaseCapture();
    EraseFeedback();
    UpdateFrameArea();
}

void CSkorelView::CancelDrag()
{
    if (!m_bButtonDown)
        return;
    m_bDropped = true;
    EndDrag();
}

void CSkorelView::EraseFeedback()
{
    InvalidateRect(&m_rcFeedback);
    m_rcFeedback = CRect();
}

void CSkorelView::CommitSelection()
{
    CData* pData = Selected();
    if (!pData)
        return;
    CSkorelDoc* pDoc = GetDocument();
    // Kind and colours are the record's own: the tracker only ever copied them.
    if (IsLineShape(m_myTracker.m_nKind)) {
        pDoc->ChangeShape(pData, m_myTracker.m_ptStart, m_myTracker.m_ptEnd);
        return;
    }
    if (m_nHitCode < CResizeTracker::hitTopLeft || m_nHitCode > CResizeTracker::hitMiddle)
        return;
    // A resize stores the corners in order even when an edge was dragged past the other; the
    // frame keeps the rectangle as dragged.
    CPoint a = m_rectTracked.TopLeft(), b = m_rectTracked.BottomRight();
    if (m_nHitCode != CResizeTracker::hitMiddle)
        OrderCorners(m_myTracker.m_nKind, a, b);
    pDoc->ChangeShape(pData, a, b);
    pDoc->m_tracker.m_rect = m_rectTracked;
    UpdateFrameArea();
}

CData* CSkorelView::Selected() const
{
    return m_posSelected ? GetDocument()->m_shapeList.GetAt(m_posSelected) : nullptr;
}

void CSkorelView::SelectShape(POSITION pos)
{
    m_posSelected = pos;
    FrameShape(Selected(), &GetDocument()->m_tracker);
    FitFrameToZoom();
}

void CSkorelView::FitFrameToZoom()
{
    if (CSkorelDoc* pDoc = GetDocument()) {
        pDoc->m_tracker.m_nHandleSize = FrameHandleSize(GetZoom());
        UpdateFrameArea();
    }
}

void CSkorelView::OnZoomChanged() { FitFrameToZoom(); }

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
    CData* pData = Selected();
    if (!pData || m_bButtonDown)
        return FALSE;
    GetDocument()->ChangeShape(pData, Shifted(pData->m_ptStart, dx, dy),
                               Shifted(pData->m_ptEnd, dx, dy));
    return TRUE;
}
