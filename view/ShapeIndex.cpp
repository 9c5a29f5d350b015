#include "ShapeIndex.h"

#include "shapes/Shape.h"

#include <cstddef>

void CShapeIndex::Keep(CTypedOwningList<CData>& list)
{
    // A list of another length has surely changed; one of the same length changed in place
    // has told the view, which forgot the boxes.
    const auto count = std::size_t(list.GetCount());
    if (m_records.size() == count && m_figures.size() == count)
        return;
    m_records.clear();
    m_figures.clear();
    m_reaches.clear();
    m_records.reserve(count);
    m_figures.reserve(count);
    m_reaches.reserve(count);
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CData* pData = list.GetNext(pos);
        const std::int64_t reach = HitReach(*pData);
        m_records.push_back(pData);
        m_figures.push_back(FigureBox(*pData));
        m_reaches.push_back(GrownRect(m_figures.back(), reach, reach));
    }
}

CData* CShapeIndex::HitAt(CTypedOwningList<CData>& list, CPoint point)
{
    Keep(list);
    for (std::size_t i = m_reaches.size(); i-- > 0;) {
        const CRect& r = m_reaches[i];
        if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom &&
            ShapeHit(*m_records[i], point))
            return m_records[i];
    }
    return nullptr;
}

std::vector<CData*> CShapeIndex::Within(CTypedOwningList<CData>& list, const CRect& area,
                                        bool bTouching)
{
    Keep(list);
    std::vector<CData*> found;
    const bool any = !area.IsRectEmpty();
    for (std::size_t i = 0; i < m_figures.size(); ++i) {
        const CRect& b = m_figures[i];
        const bool counts = bTouching ? any && b.left < area.right && area.left < b.right &&
                                            b.top < area.bottom && area.top < b.bottom
                                      : b.left >= area.left && b.top >= area.top &&
                                            b.right <= area.right && b.bottom <= area.bottom;
        if (counts)
            found.push_back(m_records[i]);
    }
    return found;
}
