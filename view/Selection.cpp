#include "Selection.h"

#include "shapes/Shape.h"

#include <algorithm>

namespace {

// The colour of the marks on each of several selected shapes and of a line's end handles.
constexpr COLORREF kMarkColour = RGB(0, 120, 215);

// The corners a mark goes on: a box's four, a line's two ends.
std::vector<CPoint> MarkPoints(const CData& d)
{
    if (IsLineShape(d.m_nKind))
        return {d.m_ptStart, d.m_ptEnd};
    if (!IsBoxShape(d.m_nKind))
        return {};
    const CRect box = CRect(d.m_ptStart, d.m_ptEnd).Normalized();
    return {box.TopLeft(), CPoint(box.right - 1, box.top), CPoint(box.left, box.bottom - 1),
            CPoint(box.right - 1, box.bottom - 1)};
}

// A square of the side centred on the point.
CRect Square(CPoint p, int nSide)
{
    const std::int64_t half = nSide / 2;
    return CRect(Shifted(p, -half, -half), Shifted(p, nSide - half, nSide - half));
}

} // namespace

bool CSelection::Is(const std::vector<CData*>& records) const
{
    return records.size() == m_records.size() &&
           std::ranges::all_of(records, [this](CData* pData) { return Contains(pData); });
}

void CSelection::Clear()
{
    m_records.clear();
    m_pLast = nullptr;
}

void CSelection::Select(const std::vector<CData*>& records)
{
    Clear();
    m_records.insert(records.begin(), records.end());
    m_pLast = records.empty() ? nullptr : records.back();
}

void CSelection::Toggle(CData* pData)
{
    if (m_records.erase(pData)) {
        if (m_pLast == pData)
            m_pLast = m_records.empty() ? nullptr : *m_records.begin();
        return;
    }
    m_records.insert(pData);
    m_pLast = pData;
}

void CSelection::Forget(const std::vector<const CData*>& records)
{
    for (const CData* pData : records)
        m_records.erase(const_cast<CData*>(pData)); // a key only
    if (m_pLast && !Contains(m_pLast))
        m_pLast = m_records.empty() ? nullptr : *m_records.begin();
}

std::vector<CData*> CSelection::InOrder(CTypedOwningList<CData>& list) const
{
    if (m_records.size() <= 1)
        return Unordered();
    std::vector<CData*> ordered;
    ordered.reserve(m_records.size());
    for (POSITION pos = list.GetHeadPosition(); pos && ordered.size() < m_records.size();)
        if (CData* pData = list.GetNext(pos); m_records.contains(pData))
            ordered.push_back(pData);
    return ordered;
}

std::vector<CData*> CSelection::Unordered() const
{
    return std::vector<CData*>(m_records.begin(), m_records.end());
}

void CSelection::PlaceFrame(CResizeTracker& frame) const
{
    if (m_records.size() <= 1) {
        FrameShape(Single(), &frame);
        return;
    }
    CRect around;
    for (const CData* pData : m_records) {
        const CRect box = GrownRect(CRect(pData->m_ptStart, pData->m_ptEnd).Normalized(), 0, 1);
        UnionRect(&around, &around, &box);
    }
    frame.m_rect = around;
    frame.m_nStyle = CResizeTracker::dottedLine;
}

CRect CSelection::MarkedArea(const CResizeTracker& frame, int nHandle) const
{
    if (m_records.empty())
        return CRect();
    // The border lies just outside the rectangle, the handles and marks inside or across it.
    const std::int64_t reach = std::int64_t(std::max(nHandle, 0)) + 2;
    return GrownRect(frame.m_rect.Normalized(), reach, reach);
}

void CSelection::DrawMarks(CDC* pDC, int nHandle) const
{
    const CData* single = Single();
    if (single && !IsLineShape(single->m_nKind))
        return; // the frame's handles are its marks
    CRect clip;
    pDC->GetClipBox(&clip);
    const int side = single ? nHandle : std::max(1, (nHandle + 1) / 2);
    for (const CData* pData : m_records)
        for (const CPoint p : MarkPoints(*pData)) {
            const CRect mark = Square(p, side);
            CRect shown;
            if (IntersectRect(&shown, &mark, &clip))
                pDC->FillSolidRect(shown.left, shown.top, shown.Width(), shown.Height(),
                                   kMarkColour);
        }
}

int CSelection::LineEndAt(CPoint point, int nHandle) const
{
    const CData* line = Single();
    if (!line || !IsLineShape(line->m_nKind))
        return -1;
    if (Square(line->m_ptEnd, nHandle).PtInRect(point))
        return 1;
    return Square(line->m_ptStart, nHandle).PtInRect(point) ? 0 : -1;
}
