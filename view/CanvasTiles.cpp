#include "CanvasTiles.h"

#include "shapes/Shape.h"

#include <algorithm>
#include <cstdint>

CCanvasTiles::CCanvasTiles(const CRect& part)
    : m_part(part), m_nFirstColumn(part.left / kTile), m_nFirstRow(part.top / kTile),
      m_nColumns((part.right - 1) / kTile - m_nFirstColumn + 1),
      m_nRows((part.bottom - 1) / kTile - m_nFirstRow + 1),
      m_start(std::size_t(m_nColumns * m_nRows), 0)
{}

CRect CCanvasTiles::Tile(int column, int row) const
{
    const int left = (m_nFirstColumn + column) * kTile, top = (m_nFirstRow + row) * kTile;
    const CRect tile(left, top, left + kTile, top + kTile);
    CRect inside;
    IntersectRect(&inside, &tile, &m_part);
    return inside;
}

bool CCanvasTiles::Range(const CRect& r, int& c0, int& c1, int& r0, int& r1) const
{
    CRect meets;
    if (!IntersectRect(&meets, &r, &m_part))
        return false;
    c0 = meets.left / kTile - m_nFirstColumn;
    c1 = (meets.right - 1) / kTile - m_nFirstColumn + 1;
    r0 = meets.top / kTile - m_nFirstRow;
    r1 = (meets.bottom - 1) / kTile - m_nFirstRow + 1;
    return true;
}

void CCanvasTiles::FindCovers(const CTypedOwningList<CData>& list)
{
    std::vector<bool> covered(m_start.size(), false);
    std::size_t open = covered.size();
    int index = list.GetCount();
    for (POSITION pos = list.GetTailPosition(); pos && open;) {
        const CData* pData = list.GetPrev(pos);
        --index;
        int c0, c1, r0, r1;
        if (!ShapeMayHide(*pData, kTile) || !Range(ShapeBounds(*pData), c0, c1, r0, r1))
            continue;
        for (int row = r0; row < r1; ++row)
            for (int column = c0; column < c1; ++column) {
                const std::size_t at = std::size_t(row * m_nColumns + column);
                if (!covered[at] && ShapeHides(*pData, Tile(column, row))) {
                    covered[at] = true;
                    m_start[at] = index;
                    --open;
                }
            }
    }
    // A tile no record hides starts at the white: index 0 with the background under it.
    for (std::size_t at = 0; at < covered.size(); ++at)
        if (!covered[at])
            m_start[at] = -1;
}

CRect CCanvasTiles::Uncovered() const
{
    CRect box;
    for (int row = 0; row < m_nRows; ++row)
        for (int column = 0; column < m_nColumns; ++column)
            if (Start(column, row) < 0) {
                const CRect tile = Tile(column, row);
                UnionRect(&box, &box, &tile);
            }
    return box;
}

int CCanvasTiles::EarliestStart(int count) const
{
    int earliest = count;
    for (int start : m_start)
        earliest = std::min(earliest, std::max(start, 0));
    return earliest;
}

CRect CCanvasTiles::WhereShows(const CRect& bounds, int index) const
{
    int c0, c1, r0, r1;
    CRect box;
    if (!Range(bounds, c0, c1, r0, r1))
        return box;
    for (int row = r0; row < r1; ++row)
        for (int column = c0; column < c1; ++column)
            if (Start(column, row) <= index) {
                const CRect tile = Tile(column, row);
                UnionRect(&box, &box, &tile);
            }
    CRect shows;
    IntersectRect(&shows, &box, &bounds);
    return shows;
}

CCompositionPlanner::CCompositionPlanner(int nCanvasWidth, int nCanvasHeight)
    : m_canvas(0, 0, nCanvasWidth, nCanvasHeight)
{}

const CCompositionPlan& CCompositionPlanner::Plan(const CTypedOwningList<CData>& list,
                                                  const CRect& part)
{
    // A part of a quarter of the canvas or more is planned with the whole.
    const bool large = std::int64_t(part.Width()) * part.Height() * 4 >=
                       std::int64_t(m_canvas.Width()) * m_canvas.Height();
    if (!large) {
        m_part = Make(list, part);
        return m_part;
    }
    if (!m_bWholeKept) {
        m_whole = Make(list, m_canvas);
        m_bWholeKept = m_whole.shown.size() * 2 <= std::size_t(list.GetCount());
    }
    return m_whole;
}

CCompositionPlan CCompositionPlanner::Make(const CTypedOwningList<CData>& list, const CRect& part)
{
    CCompositionPlan plan;
    CCanvasTiles tiles(part);
    tiles.FindCovers(list);
    // White and the picture go wherever no record hides them; over a tile that one hides they
    // do no harm, since that record covers them again.
    plan.background = tiles.Uncovered();
    // Every record from the earliest start on, in order, where it shows.
    int index = tiles.EarliestStart(list.GetCount());
    for (POSITION pos = list.FindIndex(index); pos; ++index) {
        const CData* pData = list.GetNext(pos);
        const CRect shows = tiles.WhereShows(ShapeBounds(*pData), index);
        if (!shows.IsRectEmpty())
            plan.shown.emplace_back(pData, shows);
    }
    return plan;
}
