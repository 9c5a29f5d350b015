// The drawing's records in order beside the boxes their figures span, kept in one block while
// the records stay as they are: a press, or a selection rectangle, among a million records
// then looks through boxes side by side and reads a record only where its box says it may
// count, instead of following the list from record to record.
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
    // Takes the records' boxes anew when the list is not the one they were taken from.
    void Keep(CTypedOwningList<CData>& list);

    // Side by side, by the records' places: each record, the box its figure spans, and the
    // box a press must fall in to grab it.
    std::vector<CData*> m_records;
    std::vector<CRect> m_figures, m_reaches;
};
