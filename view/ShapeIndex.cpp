#include "ShapeIndex.h"

#include "shapes/Shape.h"

#include <cstddef>

const std::vector<CShapeIndex::Entry>& CShapeIndex::Entries(CTypedOwningList<CData>& list)
{
    // A list of another length has surely changed; one of the same length changed in place
    // has told the view, which forgot the boxes.
    if (m_entries.size() == std::size_t(list.GetCount()))
        return m_entries;
    m_entries.clear();
    m_entries.reserve(std::size_t(list.GetCount()));
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CData* pData = list.GetNext(pos);
        m_entries.push_back({pData, FigureBox(*pData), HitReach(*pData)});
    }
    return m_entries;
}

CData* CShapeIndex::HitAt(CTypedOwningList<CData>& list, CPoint point)
{
    const std::vector<Entry>& entries = Entries(list);
    const std::int64_t x = point.x, y = point.y;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        const CRect& b = it->box;
        if (x >= b.left - it->reach && x < b.right + it->reach && y >= b.top - it->reach &&
            y < b.bottom + it->reach && ShapeHit(*it->pData, point))
            return it->pData;
    }
    return nullptr;
}

std::vector<CData*> CShapeIndex::Within(CTypedOwningList<CData>& list, const CRect& area,
                                        bool bTouching)
{
    std::vector<CData*> found;
    for (const Entry& e : Entries(list)) {
        const CRect& b = e.box;
        const bool counts = bTouching ? !area.IsRectEmpty() && b.left < area.right &&
                                            area.left < b.right && b.top < area.bottom &&
                                            area.top < b.bottom
                                      : b.left >= area.left && b.top >= area.top &&
                                            b.right <= area.right && b.bottom <= area.bottom;
        if (counts)
            found.push_back(e.pData);
    }
    return found;
}
