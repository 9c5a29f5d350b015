// The mouse: drawing a shape with rubber-band feedback, Shift making it square, round or at
// 45°; with the arrow tool, grabbing shapes to move them, a single box's handles to resize it
// (Shift keeping its proportions), a single line's ends, and the selection rectangle.
#include "SkorelView.h"

#include "shapes/Shape.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>

namespace {

// The box with the handle moved to the point, keeping the proportions of `original`: a
// corner moves along the box's diagonal from the opposite corner, an edge scales the other
// side about its middle.
CRect Proportional(const CRect& original, const CRect& resized, int nHandle)
{
    const double w = std::max<double>(std::abs(double(original.right) - original.left), 1);
    const double h = std::max<double>(std::abs(double(original.bottom) - original.top), 1);
    const double dw = double(resized.right) - resized.left;
    const double dh = double(resized.bottom) - resized.top;
    const auto sign = [](double v, double like) { return like < 0 ? -std::abs(v) : std::abs(v); };
    if (nHandle <= CResizeTracker::hitBottomLeft) {
        const double scale = std::max(std::abs(dw) / w, std::abs(dh) / h);
        const LONG nw = SaturatedLong(std::llround(sign(w * scale, dw)));
        const LONG nh = SaturatedLong(std::llround(sign(h * scale, dh)));
        // The corner opposite the handle stays.
        const bool left =
            nHandle == CResizeTracker::hitTopLeft || nHandle == CResizeTracker::hitBottomLeft;
        const bool top =
            nHandle == CResizeTracker::hitTopLeft || nHandle == CResizeTracker::hitTopRight;
        CRect r = resized;
        (left ? r.left : r.right) =
            SaturatedLong((left ? r.right : r.left) + std::int64_t(left ? -nw : nw));
        (top ? r.top : r.bottom) =
            SaturatedLong((top ? r.bottom : r.top) + std::int64_t(top ? -nh : nh));
        return r;
    }
    const bool across = nHandle == CResizeTracker::hitLeft || nHandle == CResizeTracker::hitRight;
    CRect r = resized;
    if (across) {
        const double nh = h * std::abs(dw) / w, middle = (double(r.top) + r.bottom) / 2;
        r.top = SaturatedLong(std::llround(middle - nh / 2));
        r.bottom = SaturatedLong(std::llround(middle + nh / 2));
    } else {
        const double nw = w * std::abs(dh) / h, middle = (double(r.left) + r.right) / 2;
        r.left = SaturatedLong(std::llround(middle - nw / 2));
        r.right = SaturatedLong(std::llround(middle + nw / 2));
    }
    return r;
}

} // namespace

void CSkorelView::OnLButtonDown(UINT nFlags, CPoint point)
{
    // A press while a drag is still going means its release was lost.
    CancelDrag();
    m_drag.m_bDropped = false;
    // Arrow keys after a press start a step of their own.
    m_lastNudge = {};
    SetCapture();
    m_drag.m_bButtonDown = true;
    m_drag.m_ptPress = point;
    if (m_nMode == MODE_DRAW) {
        m_drag.m_kind = Drag::Draw;
        m_drawTool.SetStartPoint(point);
    } else {
        PressInSelection(point, nFlags);
    }
    CView::OnLButtonDown(nFlags, point);
}

CData* CSkorelView::HitRecord(CPoint point) const
{
    return m_index.HitAt(GetDocument()->m_shapeList, point);
}

void CSkorelView::PressInSelection(CPoint point, UINT nFlags)
{
    CSkorelDoc* pDoc = GetDocument();
    const int handle = pDoc->m_tracker.m_nHandleSize;
    m_drag.m_nHitCode = -1;
    // A single shape's handles come before any shape under them, with Shift too (which keeps
    // the proportions).
    if (CData* single = m_selection.Single()) {
        m_drag.m_nLineEnd = m_selection.LineEndAt(point, handle);
        const int code = IsBoxShape(single->m_nKind) ? pDoc->m_tracker.HitTest(point) : -1;
        if (m_drag.m_nLineEnd >= 0 ||
            (code >= CResizeTracker::hitTopLeft && code < CResizeTracker::hitMiddle)) {
            m_myTracker.Select(point, single);
            m_drag.m_nHitCode = code;
            m_drag.m_kind = m_drag.m_nLineEnd >= 0 ? Drag::LineEnd : Drag::Resize;
            return;
        }
    }
    CData* hit = HitRecord(point);
    if (nFlags & MK_SHIFT) {
        // Shift adds a shape to the selection or takes it out; on empty canvas it draws a
        // rectangle whose shapes join the selection.
        if (hit) {
            m_selection.Toggle(hit);
            SelectShapes(m_selection.Unordered());
            m_drag.m_kind = Drag::None;
            return;
        }
    } else if (hit) {
        if (!m_selection.Contains(hit))
            SelectShapes({hit});
        m_myTracker.Select(point, hit);
        m_drag.m_nHitCode = CResizeTracker::hitMiddle;
        m_drag.m_rcMoved = pDoc->m_tracker.m_rect;
        m_drag.m_kind = Drag::Move;
        return;
    }
    m_drag.m_kind = Drag::Band;
    m_drawTool.SetStartPoint(point);
}

CPoint CSkorelView::Constrained(CPoint from, CPoint point, int nKind, UINT nFlags) const
{
    if (!(nFlags & MK_SHIFT))
        return point;
    const std::int64_t dx = std::int64_t(point.x) - from.x, dy = std::int64_t(point.y) - from.y;
    const std::int64_t ax = std::llabs(dx), ay = std::llabs(dy);
    const auto toward = [](std::int64_t d, std::int64_t length) {
        return d < 0 ? -length : length;
    };
    if (IsLineShape(nKind)) {
        // The nearest of the eight directions: within 22.5° of an axis the line lies on it.
        constexpr double kTan22_5 = 0.41421356;
        if (double(ay) <= kTan22_5 * double(ax))
            return Shifted(from, dx, 0);
        if (double(ax) <= kTan22_5 * double(ay))
            return Shifted(from, 0, dy);
        const std::int64_t d = (ax + ay) / 2;
        return Shifted(from, toward(dx, d), toward(dy, d));
    }
    const std::int64_t side = std::max(ax, ay);
    return Shifted(from, toward(dx, side), toward(dy, side));
}

void CSkorelView::OnMouseMove(UINT nFlags, CPoint point)
{
    m_ptPointer = point;
    m_bPointerIn =
        point.x >= 0 && point.y >= 0 && point.x < m_nCanvasWidth && point.y < m_nCanvasHeight;
    if (m_drag.m_bButtonDown && !(nFlags & MK_LBUTTON))
        CancelDrag();
    CClientDC dc(this);
    if (m_drag.m_bButtonDown && m_drag.m_kind == Drag::Draw)
        m_drawTool.DrawRubberBand(&dc, Constrained(m_ptStart, point, m_nShapeKind, nFlags),
                                  m_nShapeKind);
    else if (m_drag.m_bButtonDown && m_drag.m_kind != Drag::None)
        TrackSelectionDrag(point, nFlags, &dc);
    CRect drawn;
    if (dc.GetBoundsRect(&drawn, DCB_RESET) == DCB_SET)
        UnionRect(&m_drag.m_rcFeedback, &m_drag.m_rcFeedback, &drawn);
    CView::OnMouseMove(nFlags, point);
}

void CSkorelView::TrackSelectionDrag(CPoint point, UINT nFlags, CDC* pDC)
{
    m_drag.m_bMoved = true;
    switch (m_drag.m_kind) {
    case Drag::Band:
        m_drawTool.DrawRubberBand(pDC, point, SHAPE_RECT);
        break;
    case Drag::Move:
        if (m_selection.Count() > 1) {
            // Many shapes move as their frame shows.
            const std::int64_t dx = std::int64_t(point.x) - m_drag.m_ptPress.x;
            const std::int64_t dy = std::int64_t(point.y) - m_drag.m_ptPress.y;
            const CRect& frame = GetDocument()->m_tracker.m_rect;
            const CRect moved(Shifted(frame.TopLeft(), dx, dy),
                              Shifted(frame.BottomRight(), dx, dy));
            CPen pen(PS_DOT, 2, kFeedbackGrey);
            CPen* pOldPen = pDC->SelectObject(&pen);
            pDC->SelectStockObject(NULL_BRUSH);
            pDC->SetROP2(R2_XORPEN);
            pDC->Rectangle(&m_drag.m_rcMoved);
            pDC->Rectangle(&moved);
            pDC->SelectObject(pOldPen);
            m_drag.m_rcMoved = moved;
        } else if (IsLineShape(m_myTracker.m_nKind)) {
            m_myTracker.TrackLine(point, pDC);
        } else {
            m_drag.m_rectTracked = m_myTracker.TrackRect(point, pDC, m_drag.m_nHitCode);
        }
        break;
    case Drag::Resize: {
        m_drag.m_rectTracked = m_myTracker.TrackRect(point, pDC, m_drag.m_nHitCode);
        if (nFlags & MK_SHIFT) {
            const CRect original(Selected()->m_ptStart, Selected()->m_ptEnd);
            m_drag.m_rectTracked = m_myTracker.TrackTo(
                Proportional(original, m_drag.m_rectTracked, m_drag.m_nHitCode), pDC);
        }
        break;
    }
    case Drag::LineEnd: {
        const CData* line = Selected();
        const CPoint fixed = m_drag.m_nLineEnd == 0 ? line->m_ptEnd : line->m_ptStart;
        m_myTracker.TrackLineEnd(Constrained(fixed, point, SHAPE_LINE, nFlags), m_drag.m_nLineEnd,
                                 pDC);
        break;
    }
    default:
        break;
    }
}

void CSkorelView::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (std::exchange(m_drag.m_bDropped, false)) {
        CView::OnLButtonUp(nFlags, point);
        return;
    }
    const Drag drag = m_drag.m_kind;
    const bool moved = m_drag.m_bMoved;
    EndDrag();
    // A drawing tool's release draws from the last press, also the release of a double
    // click's second press, which is no press of its own.
    if (m_nMode == MODE_DRAW)
        AddDrawnShape(Constrained(m_ptStart, point, m_nShapeKind, nFlags));
    else if (drag == Drag::Band)
        SelectInBand(point, nFlags);
    else if (drag != Drag::None && moved)
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

void CSkorelView::OnMouseLeave() { m_bPointerIn = false; }

void CSkorelView::OnUpdatePosition(CCmdUI* pCmdUI)
{
    const std::string text =
        m_bPointerIn ? std::to_string(m_ptPointer.x) + ", " + std::to_string(m_ptPointer.y) : "";
    pCmdUI->SetText(text.c_str());
}

void CSkorelView::OnUpdateSize(CCmdUI* pCmdUI)
{
    std::string text;
    if (m_drag.m_bButtonDown && m_drag.m_kind != Drag::None) {
        // The box of the shape as the drag would leave it now, as its feedback shows it.
        CRect box;
        switch (m_drag.m_kind) {
        case Drag::Draw:
            box = CRect(m_ptStart, m_drawTool.m_ptLast);
            break;
        case Drag::Band:
            box = CRect(m_drag.m_ptPress, m_drawTool.m_ptLast);
            break;
        case Drag::Move:
            box = m_selection.Count() > 1 ? m_drag.m_rcMoved
                  : IsLineShape(m_myTracker.m_nKind)
                      ? CRect(m_myTracker.m_ptStart, m_myTracker.m_ptEnd)
                  : m_drag.m_bMoved ? m_drag.m_rectTracked
                                    : m_myTracker.m_rect;
            break;
        case Drag::LineEnd:
            box = CRect(m_myTracker.m_ptStart, m_myTracker.m_ptEnd);
            break;
        default:
            box = m_drag.m_bMoved ? m_drag.m_rectTracked : m_myTracker.m_rect;
            break;
        }
        const auto extent = [](LONG a, LONG b) { return std::llabs(std::int64_t(b) - a); };
        text = std::to_string(extent(box.left, box.right)) + " × " +
               std::to_string(extent(box.top, box.bottom));
    }
    pCmdUI->SetText(text.c_str());
}

void CSkorelView::EndDrag()
{
    m_drag.m_bButtonDown = false;
    m_myTracker.m_bGrabbed = FALSE;
    m_drag.m_bMoved = false;
    m_drag.m_kind = Drag::None;
    ReleaseCapture();
    EraseFeedback();
    UpdateFrameArea();
}

void CSkorelView::CancelDrag()
{
    if (!m_drag.m_bButtonDown)
        return;
    m_drag.m_bDropped = true;
    EndDrag();
}

void CSkorelView::EraseFeedback()
{
    InvalidateRect(&m_drag.m_rcFeedback);
    m_drag.m_rcFeedback = CRect();
}

void CSkorelView::CommitSelection()
{
    CSkorelDoc* pDoc = GetDocument();
    if (m_selection.Count() > 1) {
        pDoc->MoveShapes(m_selection.Unordered(),
                         std::int64_t(m_drag.m_rcMoved.left) - pDoc->m_tracker.m_rect.left,
                         std::int64_t(m_drag.m_rcMoved.top) - pDoc->m_tracker.m_rect.top, false);
        return;
    }
    CData* pData = Selected();
    if (!pData)
        return;
    // Kind and colours are the record's own: the tracker only ever copied them.
    if (IsLineShape(m_myTracker.m_nKind)) {
        pDoc->ChangeShape(pData, m_myTracker.m_ptStart, m_myTracker.m_ptEnd);
        return;
    }
    if (m_drag.m_nHitCode < CResizeTracker::hitTopLeft ||
        m_drag.m_nHitCode > CResizeTracker::hitMiddle)
        return;
    // A resize stores the corners in order even when an edge was dragged past the other; the
    // frame keeps the rectangle as dragged.
    CPoint a = m_drag.m_rectTracked.TopLeft(), b = m_drag.m_rectTracked.BottomRight();
    if (m_drag.m_nHitCode != CResizeTracker::hitMiddle)
        OrderCorners(m_myTracker.m_nKind, a, b);
    pDoc->ChangeShape(pData, a, b);
    pDoc->m_tracker.m_rect = m_drag.m_rectTracked;
    UpdateFrameArea();
}
