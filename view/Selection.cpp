#include "Selection.h"

#include "shapes/Shape.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

// The colour of the marks on each of several selected shapes and of a line's end handles.
constexpr COLORREF kMarkColor = RGB(0, 120, 215);

// The points a mark goes on: a box's four corners, a line's two ends.
struct MarkPoints {
    explicit MarkPoints(const CData& d)
    {
        if (IsLineShape(d.m_nKind)) {
            points = {d.m_ptStart, d.m_ptEnd};
            count = 2;
        } else if (IsBoxShape(d.m_nKind)) {
            const CRect box = CRect(d.m_ptStart, d.m_ptEnd).Normalized();
            points = {box.TopLeft(), CPoint(box.right - 1, box.top),
                      CPoint(box.left, box.bottom - 1), CPoint(box.right - 1, box.bottom - 1)};
            count = 4;
        }
    }
    const CPoint* begin() const { return points.data(); }
    const CPoint* end() const { return points.data() + count; }

    std::array<CPoint, 4> points;
    std::size_t count = 0;
};

// A square of the side centred on the point.
CRect Square(CPoint p, int nSide)
{
    const std::int64_t half = nSide / 2;
    return CRect(Shifted(p, -half, -half), Shifted(p, nSide - half, nSide - half));
}

// Fills the set pixels of a mask of the width, whose first pixel is at the origin, a run of a
// row at a time, with a run carried down the rows below that repeat it.
void FillMask(CDC* pDC, CPoint origin, int width, const std::vector<std::uint8_t>& mask)
{
    const int height = int(mask.size() / std::size_t(width));
    // The runs of the row above, not drawn yet: their left, right and first row.
    struct Run {
        int left, right, top;
    };
    std::vector<Run> open, next;
    const auto draw = [&](const Run& r, int bottom) {
        pDC->FillSolidRect(origin.x + r.left, origin.y + r.top, r.right - r.left, bottom - r.top,
                           kMarkColor);
    };
    for (int y = 0; y <= height; ++y) {
        next.clear();
        std::size_t carried = 0;
        for (int x = 0; y < height && x < width;) {
            const std::uint8_t* row = mask.data() + std::size_t(y) * std::size_t(width);
            if (!row[x]) {
                ++x;
                continue;
            }
            const int left = x;
            while (x < width && row[x])
                ++x;
            // Runs come left to right in both rows: the one above that matches is ahead.
            while (carried < open.size() && open[carried].left < left)
                draw(open[carried++], y);
            if (carried < open.size() && open[carried].left == left && open[carried].right == x)
                next.push_back(open[carried++]);
            else
                next.push_back({left, x, y});
        }
        for (; carried < open.size(); ++carried)
            draw(open[carried], y);
        std::swap(open, next);
    }
}

} // namespace

bool CSelection::Is(const std::vector<CData*>& records) const
{
    return records.size() == m_records.size() &&
           std::ranges::all_of(records, [this](CData* pData) { return Contains(pData); });
}

void CSelection::Clear()
{
    m_records.Clear();
    m_order.clear();
    m_pLast = nullptr;
}

void CSelection::Select(const std::vector<CData*>& records)
{
    Clear();
    m_records.Reserve(records.size());
    for (CData* pData : records)
        if (m_records.Insert(pData))
            m_order.push_back(pData);
    m_pLast = records.empty() ? nullptr : records.back();
}

void CSelection::Toggle(CData* pData)
{
    if (m_records.Erase(pData)) {
        std::erase(m_order, pData);
        if (m_pLast == pData)
            m_pLast = m_order.empty() ? nullptr : m_order.back();
        return;
    }
    m_records.Insert(pData);
    m_order.push_back(pData);
    m_pLast = pData;
}

void CSelection::Forget(const std::vector<const CData*>& records)
{
    std::size_t erased = 0;
    for (const CData* pData : records)
        erased += m_records.Erase(pData) ? 1 : 0;
    if (erased == 0)
        return;
    std::erase_if(m_order, [this](CData* pData) { return !Contains(pData); });
    if (m_pLast && !Contains(m_pLast))
        m_pLast = m_order.empty() ? nullptr : m_order.back();
}

std::vector<CData*> CSelection::InOrder(CTypedOwningList<CData>& list) const
{
    if (m_records.size() <= 1)
        return Unordered();
    std::vector<CData*> ordered;
    ordered.reserve(m_records.size());
    for (POSITION pos = list.GetHeadPosition(); pos && ordered.size() < m_records.size();)
        if (CData* pData = list.GetNext(pos); m_records.Contains(pData))
            ordered.push_back(pData);
    return ordered;
}

std::vector<CData*> CSelection::Unordered() const { return m_order; }

void CSelection::PlaceFrame(CResizeTracker& frame) const
{
    if (m_records.size() <= 1) {
        FrameShape(Single(), &frame);
        return;
    }
    CRect around;
    for (const CData* pData : m_order) {
        const CRect box = FigureBox(*pData);
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
    if (m_order.empty() || (single && !IsLineShape(single->m_nKind)))
        return; // nothing to mark, or the frame's handles are the marks
    CRect clip;
    pDC->GetClipBox(&clip);
    if (clip.IsRectEmpty())
        return;
    // The marks of many shapes crowd and overlap: they are gathered on a mask of the clip's
    // pixels, which is then filled a rectangle at a time.
    const int width = clip.Width(), height = clip.Height();
    std::vector<std::uint8_t> mask(std::size_t(width) * std::size_t(height));
    const int side = single ? nHandle : std::max(1, (nHandle + 1) / 2);
    for (const CData* pData : m_order)
        for (const CPoint p : MarkPoints(*pData)) {
            const CRect mark = Square(p, side);
            CRect shown;
            if (!IntersectRect(&shown, &mark, &clip))
                continue;
            for (LONG y = shown.top; y < shown.bottom; ++y)
                std::fill_n(mask.begin() + std::ptrdiff_t(y - clip.top) * width +
                                (shown.left - clip.left),
                            shown.Width(), std::uint8_t(1));
        }
    FillMask(pDC, clip.TopLeft(), width, mask);
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
