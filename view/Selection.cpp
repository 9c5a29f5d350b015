#include "Selection.h"

#include "shapes/Shape.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

namespace {

// The colour of the marks on each of several selected shapes and of a line's end handles.
constexpr COLORREF kMarkColor = RGB(0, 120, 215);

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
                // Most of a mask is empty: eight bytes at a time.
                std::uint64_t eight = 0;
                while (x + 8 <= width && (std::memcpy(&eight, row + x, 8), eight == 0))
                    x += 8;
                if (x < width && !row[x])
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

// Ors the bytes of `from` into `into`, eight at a time.
void OrBytes(std::uint8_t* into, const std::uint8_t* from, std::size_t count)
{
    std::size_t x = 0;
    for (; x + 8 <= count; x += 8) {
        std::uint64_t a, b;
        std::memcpy(&a, into + x, 8);
        std::memcpy(&b, from + x, 8);
        a |= b;
        std::memcpy(into + x, &a, 8);
    }
    for (; x < count; ++x)
        into[x] |= from[x];
}

// Calls fn with each record, asking for records a few places ahead before they are used: the
// selected records lie apart in memory, and waiting for each in turn costs more than reading.
template <typename Fn> void ForEachRecord(const std::vector<CData*>& records, Fn fn)
{
    constexpr std::size_t kAhead = 16;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i + kAhead < records.size()) {
            // A record may straddle two cache lines.
            const auto* ahead = reinterpret_cast<const char*>(records[i + kAhead]);
            __builtin_prefetch(ahead);
            __builtin_prefetch(ahead + sizeof(CData) - 1);
        }
        fn(*records[i]);
    }
}

// The marks of many shapes, which crowd and overlap, gathered on a mask of the clip's pixels
// and then filled a rectangle at a time. All marks are squares of one side: each sets the
// byte of its top-left corner, and only the box the corners span grows into the squares,
// so that a hundred thousand marks cost a byte each, not a fill of each square's rows, and a
// few marks cost little however large the clip. Corners may lie up to a side less one above
// and left of the clip, for the squares it cuts. Marks too few to cover the clip between them
// are filled a square at a time, without the mask's passes over the clip.
class MarkMask {
public:
    MarkMask(const CRect& clip, int nSide)
        : m_nSide(nSide),
          m_reach(clip.left - (nSide - 1), clip.top - (nSide - 1), clip.right, clip.bottom),
          m_nFewest(std::size_t(m_reach.Width()) * std::size_t(m_reach.Height()) /
                    (std::size_t(nSide) * std::size_t(nSide)))
    {}

    // The marks on the places' points: a box's four corners, a line's two ends.
    void Add(const std::vector<std::pair<CPoint, CPoint>>& places, const std::vector<bool>& boxes)
    {
        // A mark's top-left corner in the mask's terms, from its centre; false outside.
        const std::int64_t left = std::int64_t(m_reach.left) + m_nSide / 2,
                           top = std::int64_t(m_reach.top) + m_nSide / 2;
        const auto width = std::uint64_t(m_reach.Width()), height = std::uint64_t(m_reach.Height());
        const auto corner = [=](std::int64_t px, std::int64_t py, int& x, int& y) {
            x = int(px - left);
            y = int(py - top);
            return std::uint64_t(px - left) < width && std::uint64_t(py - top) < height;
        };
        const auto forEachCorner = [&](std::size_t i, const auto& take) {
            const auto [a, b] = places[i];
            int x, y;
            if (corner(a.x, a.y, x, y))
                take(x, y);
            if (corner(b.x, b.y, x, y))
                take(x, y);
            if (boxes[i]) {
                if (corner(b.x, a.y, x, y))
                    take(x, y);
                if (corner(a.x, b.y, x, y))
                    take(x, y);
            }
        };
        std::size_t i = 0;
        for (; i < places.size() && m_corners.empty(); ++i)
            forEachCorner(i, [this](int x, int y) { AddFew(x, y); });
        if (i == places.size())
            return;
        // On the mask from here on, with the box of its corners kept at hand.
        std::uint8_t* mask = m_corners.data();
        int setLeft = m_setLeft, setTop = m_setTop, setRight = m_setRight, setBottom = m_setBottom;
        for (; i < places.size(); ++i)
            forEachCorner(i, [&](int x, int y) {
                mask[std::size_t(y) * width + std::size_t(x)] = 1;
                setLeft = std::min(setLeft, x);
                setTop = std::min(setTop, y);
                setRight = std::max(setRight, x + 1);
                setBottom = std::max(setBottom, y + 1);
            });
        m_setLeft = setLeft;
        m_setTop = setTop;
        m_setRight = setRight;
        m_setBottom = setBottom;
    }

    void Fill(CDC* pDC) const
    {
        if (m_corners.empty()) {
            for (const CPoint corner : m_few)
                pDC->FillSolidRect(m_reach.left + corner.x, m_reach.top + corner.y, m_nSide,
                                   m_nSide, kMarkColor);
            return;
        }
        // The marked pixels, in the mask's terms: the clip's part of the corners' box grown by
        // the side.
        const CRect clip(m_nSide - 1, m_nSide - 1, m_reach.Width(), m_reach.Height());
        const CRect set(m_setLeft, m_setTop, m_setRight, m_setBottom);
        const CRect grown(set.left, set.top, set.right + m_nSide - 1, set.bottom + m_nSide - 1);
        CRect out;
        if (set.IsRectEmpty() || !IntersectRect(&out, &grown, &clip))
            return;
        const auto width = std::size_t(out.Width()), wide = std::size_t(m_reach.Width());
        // Along the rows that hold corners: a pixel is marked when a corner lies within a side
        // to its left.
        std::vector<std::uint8_t> rows(width * std::size_t(set.Height()));
        for (int y = set.top; y < set.bottom; ++y) {
            std::uint8_t* row = rows.data() + std::size_t(y - set.top) * width;
            for (int k = 0; k < m_nSide; ++k)
                OrBytes(row, m_corners.data() + std::size_t(y) * wide + std::size_t(out.left - k),
                        width);
        }
        // Down the columns: a pixel is marked when a marked row lies within a side above.
        std::vector<std::uint8_t> mask(width * std::size_t(out.Height()));
        for (int y = out.top; y < out.bottom; ++y) {
            std::uint8_t* row = mask.data() + std::size_t(y - out.top) * width;
            for (int from = std::max(y - m_nSide + 1, set.top); from <= std::min(y, set.bottom - 1);
                 ++from)
                OrBytes(row, rows.data() + std::size_t(from - set.top) * width, width);
        }
        FillMask(pDC, CPoint(m_reach.left + out.left, m_reach.top + out.top), int(width), mask);
    }

private:
    // A corner while the mask is not made: kept as it is while few, or else the first that
    // makes the mask.
    void AddFew(int x, int y)
    {
        if (m_few.size() < m_nFewest) {
            m_few.emplace_back(x, y);
            return;
        }
        m_corners.resize(std::size_t(m_reach.Width()) * std::size_t(m_reach.Height()));
        for (const CPoint few : m_few)
            SetCorner(few.x, few.y);
        m_few.clear();
        SetCorner(x, y);
    }

    void SetCorner(int x, int y)
    {
        m_corners[std::size_t(y) * std::size_t(m_reach.Width()) + std::size_t(x)] = 1;
        m_setLeft = std::min(m_setLeft, x);
        m_setTop = std::min(m_setTop, y);
        m_setRight = std::max(m_setRight, x + 1);
        m_setBottom = std::max(m_setBottom, y + 1);
    }

    int m_nSide;
    CRect m_reach; // the clip and the corners of squares it cuts
    // The corners themselves, in the mask's terms, while no more than m_nFewest, as many
    // squares as cover the clip; then none, and the mask over the reach instead, row by row.
    std::size_t m_nFewest;
    std::vector<CPoint> m_few;
    std::vector<std::uint8_t> m_corners;
    // The box of the corners set, in the mask's terms; empty with none.
    int m_setLeft = INT_MAX, m_setTop = INT_MAX, m_setRight = INT_MIN, m_setBottom = INT_MIN;
};

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
    ForgetMarks();
}

void CSelection::ForgetMarks()
{
    m_marked.clear();
    m_markedBox.clear();
}

void CSelection::Select(const std::vector<CData*>& records)
{
    // A selection made again of about as many records reuses the set's slots.
    m_records.Reset(records.size());
    m_order.clear();
    m_records.InsertAll(records, m_order);
    m_pLast = records.empty() ? nullptr : records.back();
    ForgetMarks();
}

void CSelection::Toggle(CData* pData)
{
    if (m_records.Erase(pData)) {
        std::erase(m_order, pData);
        if (m_pLast == pData)
            m_pLast = m_order.empty() ? nullptr : m_order.back();
        ForgetMarks();
        return;
    }
    m_records.Insert(pData);
    m_order.push_back(pData);
    m_pLast = pData;
    ForgetMarks();
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
    ForgetMarks();
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

void CSelection::PlaceFrame(CResizeTracker& frame)
{
    // The places' room follows the selection's size, also when it shrinks.
    if (m_marked.capacity() > 2 * m_order.size())
        m_marked = {};
    ForgetMarks();
    m_marked.reserve(m_order.size());
    m_markedBox.reserve(m_order.size());
    CRect around;
    ForEachRecord(m_order, [this, &around](const CData& d) {
        if (IsBoxShape(d.m_nKind)) {
            const CRect normal = CRect(d.m_ptStart, d.m_ptEnd).Normalized();
            m_marked.emplace_back(normal.TopLeft(), Shifted(normal.BottomRight(), -1, -1));
            m_markedBox.push_back(true);
        } else if (IsLineShape(d.m_nKind)) {
            m_marked.emplace_back(d.m_ptStart, d.m_ptEnd);
            m_markedBox.push_back(false);
        }
        const CRect figure = FigureBox(d);
        UnionRect(&around, &around, &figure);
    });
    if (m_records.size() <= 1) {
        FrameShape(Single(), &frame);
        return;
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
    MarkMask marks(clip, std::max(1, single ? nHandle : (nHandle + 1) / 2));
    marks.Add(m_marked, m_markedBox);
    marks.Fill(pDC);
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
