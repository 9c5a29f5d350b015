// The selection: what the arrow tool and the edit commands select, the frame and marks that
// show it, the keys that move it, copies of it in place, and its place in the drawing order.
#include "SkorelView.h"

#include "shapes/Shape.h"

#include "res/resource.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>

namespace {

// Arrow-key moves this close together make one step.
constexpr auto kNudgeBurst = std::chrono::milliseconds(1000);
// A copy in place lies this far right and down of its original.
constexpr int kDuplicateShift = 10;

// The drawing order each arrange command asks for.
struct Arrangement {
    UINT nID;
    ShapeOrder order;
};
constexpr Arrangement kArrangements[] = {{ID_ARRANGE_FRONT, ShapeOrder::ToFront},
                                         {ID_ARRANGE_FORWARD, ShapeOrder::Forward},
                                         {ID_ARRANGE_BACKWARD, ShapeOrder::Backward},
                                         {ID_ARRANGE_BACK, ShapeOrder::ToBack}};

const Arrangement* ArrangementOf(UINT nID)
{
    const auto it = std::ranges::find(kArrangements, nID, &Arrangement::nID);
    return it == std::end(kArrangements) ? nullptr : it;
}

} // namespace

void CSkorelView::SelectShapes(const std::vector<CData*>& records)
{
    m_selection.Select(records);
    // The arrow keys move what is selected now, not a burst before it.
    m_lastNudge = {};
    // The style of the shape selected last is the choice the colour pair and the thickness
    // bar show, and what new shapes get.
    if (const CData* last = m_selection.Last()) {
        m_crLine = last->m_crLine;
        m_crFill = last->m_crFill;
        m_nThickness = std::clamp(last->m_nThickness, 1, 7);
    }
    FrameSelection();
    CommandStatesChanged();
}

void CSkorelView::FrameSelection()
{
    if (CSkorelDoc* pDoc = GetDocument())
        m_selection.PlaceFrame(pDoc->m_tracker);
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

void CSkorelView::SelectInBand(CPoint point, UINT nFlags)
{
    const bool add = (nFlags & MK_SHIFT) != 0;
    if (point == m_drag.m_ptPress) {
        if (!add)
            SelectShapes({});
        return;
    }
    const CRect band = CRect(m_drag.m_ptPress, point).Normalized();
    const bool touching = (nFlags & MK_ALT) != 0;
    std::vector<CData*> chosen = m_index.Within(GetDocument()->m_shapeList, band, touching);
    if (add) {
        std::erase_if(chosen, [this](CData* pData) { return m_selection.Contains(pData); });
        const std::vector<CData*> before = m_selection.Unordered();
        chosen.insert(chosen.begin(), before.begin(), before.end());
    }
    SelectShapes(chosen);
}

BOOL CSkorelView::OnKeyDown(UINT nChar, UINT, UINT nFlags)
{
    if (nChar == VK_ESCAPE) {
        if (m_drag.m_bButtonDown)
            CancelDrag();
        else if (!m_selection.IsEmpty())
            SelectShapes({});
        else
            return FALSE;
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
    if (m_selection.IsEmpty() || m_drag.m_bButtonDown)
        return FALSE;
    const auto now = std::chrono::steady_clock::now();
    GetDocument()->MoveShapes(m_selection.Unordered(), dx, dy, now - m_lastNudge < kNudgeBurst);
    m_lastNudge = now;
    return TRUE;
}

void CSkorelView::OnEditSelectAll()
{
    CancelDrag();
    std::vector<CData*> all;
    CTypedOwningList<CData>& list = GetDocument()->m_shapeList;
    all.reserve(std::size_t(list.GetCount()));
    for (POSITION pos = list.GetHeadPosition(); pos;)
        all.push_back(list.GetNext(pos));
    // What is selected is what the arrow tool works on.
    m_nMode = MODE_SELECT;
    SelectShapes(all);
}

void CSkorelView::OnUpdateEditSelectAll(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!GetDocument()->m_shapeList.IsEmpty());
}

void CSkorelView::OnEditDuplicate()
{
    std::vector<std::unique_ptr<CData>> copies;
    for (const CData* pData : m_selection.InOrder(GetDocument()->m_shapeList)) {
        copies.push_back(std::make_unique<CData>(*pData));
        copies.back()->m_ptStart = Shifted(pData->m_ptStart, kDuplicateShift, kDuplicateShift);
        copies.back()->m_ptEnd = Shifted(pData->m_ptEnd, kDuplicateShift, kDuplicateShift);
    }
    m_nMode = MODE_SELECT;
    GetDocument()->AddShapes(std::move(copies), true);
}

void CSkorelView::OnArrange(UINT nID)
{
    if (const Arrangement* arrangement = ArrangementOf(nID))
        GetDocument()->ReorderShapes(m_selection.Records(), arrangement->order);
}

void CSkorelView::OnUpdateArrange(CCmdUI* pCmdUI)
{
    const Arrangement* arrangement = ArrangementOf(pCmdUI->m_nID);
    pCmdUI->Enable(arrangement &&
                   GetDocument()->CanReorder(m_selection.Records(), arrangement->order));
}
