#include "ShapeIndex.h"

#include "shapes/Shape.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <functional>
#include <limits>
#include <numeric>

namespace {

// Columns are at least this many pixels wide (a power of two), and at most this many.
constexpr int kNarrowestShift = 3;
constexpr std::int64_t kMostColumns = 1 << 16;

// A bit for each place in the drawing order.
std::vector<std::uint64_t> NoPlaces(std::size_t count)
{
    return std::vector<std::uint64_t>(count / 64 + 1, 0);
}

void SetPlace(std::vector<std::uint64_t>& places, std::uint32_t index)
{
    places[index / 64] |= std::uint64_t(1) << (index % 64);
}

} // namespace

void CShapeIndex::Keep(CTypedOwningList<CData>& list)
{
    // A list of another length has surely changed; one of the same length changed in place
    // has told the view, which forgot the boxes.
    const auto count = std::size_t(list.GetCount());
    if (m_records.size() == count && m_entries.size() == count && !m_columnStart.empty())
        return;
    m_records.clear();
    m_records.reserve(count);
    std::vector<Entry> entries;
    entries.reserve(count);
    std::int64_t firstLeft = std::numeric_limits<std::int64_t>::max();
    std::int64_t lastLeft = std::numeric_limits<std::int64_t>::min();
    m_nMostReach = 0;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CData* pData = list.GetNext(pos);
        const auto reach = std::int32_t(
            std::min<std::int64_t>(HitReach(*pData), std::numeric_limits<std::int32_t>::max()));
        entries.push_back({FigureBox(*pData), reach, std::uint32_t(m_records.size())});
        m_records.push_back(pData);
        firstLeft = std::min<std::int64_t>(firstLeft, entries.back().figure.left);
        lastLeft = std::max<std::int64_t>(lastLeft, entries.back().figure.left);
        m_nMostReach = std::max<std::int64_t>(m_nMostReach, reach);
    }
    m_nFirstLeft = count ? firstLeft : 0;
    m_nShift = kNarrowestShift;
    while (count && ((lastLeft - m_nFirstLeft) >> m_nShift) >= kMostColumns)
        ++m_nShift;
    const std::size_t columns = count ? std::size_t((lastLeft - m_nFirstLeft) >> m_nShift) + 1 : 1;
    // Sorted by counting: each column's entries keep the drawing order.
    m_columnStart.assign(columns + 1, 0);
    m_columnRight.assign(columns, std::numeric_limits<std::int64_t>::min());
    for (const Entry& e : entries)
        ++m_columnStart[Column(e.figure.left) + 1];
    std::partial_sum(m_columnStart.begin(), m_columnStart.end(), m_columnStart.begin());
    std::vector<std::size_t> next(m_columnStart.begin(), m_columnStart.end() - 1);
    m_entries.resize(count);
    for (const Entry& e : entries) {
        const std::size_t c = Column(e.figure.left);
        m_entries[next[c]++] = e;
        m_columnRight[c] = std::max(m_columnRight[c], std::int64_t(e.figure.right) + e.reach);
    }
}

std::size_t CShapeIndex::Column(std::int64_t x) const
{
    const std::int64_t c = (std::max(x, m_nFirstLeft) - m_nFirstLeft) >> m_nShift;
    return std::size_t(std::min<std::int64_t>(c, std::int64_t(m_columnRight.size()) - 1));
}

std::vector<CData*> CShapeIndex::InOrder(const std::vector<std::uint64_t>& places) const
{
    std::size_t count = 0;
    for (const std::uint64_t bits : places)
        count += std::size_t(std::popcount(bits));
    std::vector<CData*> records;
    records.reserve(count);
    for (std::size_t word = 0; word < places.size(); ++word)
        for (std::uint64_t bits = places[word]; bits; bits &= bits - 1)
            records.push_back(m_records[word * 64 + std::size_t(std::countr_zero(bits))]);
    return records;
}

CData* CShapeIndex::HitAt(CTypedOwningList<CData>& list, CPoint point)
{
    Keep(list);
    if (m_records.empty() || point.x + m_nMostReach < m_nFirstLeft)
        return nullptr;
    // The records whose reach holds the point: their boxes' left edges lie at most the
    // furthest reach right of it.
    std::vector<std::uint32_t> near;
    const std::size_t last = Column(std::int64_t(point.x) + m_nMostReach);
    for (std::size_t c = 0; c <= last; ++c) {
        if (m_columnRight[c] <= point.x)
            continue;
        for (std::size_t i = m_columnStart[c]; i < m_columnStart[c + 1]; ++i) {
            const Entry& e = m_entries[i];
            if (GrownRect(e.figure, e.reach, e.reach).PtInRect(point))
                near.push_back(e.index);
        }
    }
    // The topmost that the press grabs.
    std::sort(near.begin(), near.end(), std::greater<>());
    for (const std::uint32_t index : near)
        if (ShapeHit(*m_records[index], point))
            return m_records[index];
    return nullptr;
}

std::vector<CData*> CShapeIndex::Within(CTypedOwningList<CData>& list, const CRect& area,
                                        bool bTouching)
{
    Keep(list);
    if (m_records.empty() || (bTouching && area.IsRectEmpty()))
        return {};
    // A box inside the rectangle starts in the columns across it; one that meets it, in those
    // or further left, in a column reaching past its left edge.
    const std::size_t first = bTouching ? 0 : Column(area.left);
    const std::size_t last = Column(std::int64_t(area.right) - 1);
    std::vector<std::uint64_t> places = NoPlaces(m_records.size());
    for (std::size_t c = first; c <= last; ++c) {
        if (m_columnRight[c] <= area.left)
            continue;
        for (std::size_t i = m_columnStart[c]; i < m_columnStart[c + 1]; ++i) {
            const CRect& b = m_entries[i].figure;
            const bool counts = bTouching ? b.left < area.right && area.left < b.right &&
                                                b.top < area.bottom && area.top < b.bottom
                                          : b.left >= area.left && b.top >= area.top &&
                                                b.right <= area.right && b.bottom <= area.bottom;
            if (counts)
                SetPlace(places, m_entries[i].index);
        }
    }
    return InOrder(places);
}
