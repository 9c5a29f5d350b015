// The drawing's records beside the boxes their figures span, kept while the records stay as
// they are and sorted into columns by their boxes' left edges: a press, or a selection
// rectangle, among a million records then looks only through the columns that can hold what
// it is after, and reads a record only where its box says it may count, instead of following
// the list from record to record.
#pragma once

#include "shapes/Data.h"

#include "framework/core/ObList.h"

#include <cstdint>
#include <vector>

class CShapeIndex {
public:
    // The topmost record that a press at the point grabs (ShapeHit); null when none does.
    CData* HitAt(CTypedOwningList<CData>& list, CPoint point);
    // The records, in drawing order, whose figure box lies inside the rectangle, or with
    // bTouching, meets it.
    std::vector<CData*> Within(CTypedOwningList<CData>& list, const CRect& area, bool bTouching);
    // The records changed: the boxes no longer hold.
    void Forget() { m_records.clear(); }

private:
    // A record's figure box, how far outside it a press still grabs it, and its place in the
    // drawing order.
    struct Entry {
        CRect figure;
        std::int32_t reach;
        std::uint32_t index;
    };

    // Takes the records' boxes anew when the list is not the one they were taken from.
    void Keep(CTypedOwningList<CData>& list);
    // The column whose left edges include x; the first or last for an x beyond them all.
    std::size_t Column(std::int64_t x) const;
    // The records of the set places, in drawing order.
    std::vector<CData*> InOrder(const std::vector<std::uint64_t>& places) const;

    std::vector<CData*> m_records; // by place in the drawing order
    // The entries column by column, each column's in drawing order; column c holds the boxes
    // whose left edges lie in [m_nFirstLeft + c << m_nShift, + 1 << m_nShift).
    std::vector<Entry> m_entries;
    std::vector<std::size_t> m_columnStart;  // where each column starts, and the end
    std::vector<std::int64_t> m_columnRight; // the furthest right a press reaches in each
    std::int64_t m_nFirstLeft = 0;
    int m_nShift = 0;
    std::int64_t m_nMostReach = 0;
};
