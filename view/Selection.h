// The shapes selected with the arrow tool: any number of the document's records, known by
// their addresses while they are in the list, and the marks that show them: one frame around
// all of them, with handles when a single box is selected, handles on a single line's ends,
// and a small mark on each shape of several.
#pragma once

#include "shapes/Data.h"
#include "shapes/RecordSet.h"

#include "framework/core/ObList.h"
#include "framework/gdi/Gdi.h"
#include "framework/window/ResizeTracker.h"

#include <utility>
#include <vector>

class CSelection {
public:
    bool IsEmpty() const { return m_order.empty(); }
    std::size_t Count() const { return m_order.size(); }
    bool Contains(const CData* pData) const { return m_records.Contains(pData); }
    // The record selected when exactly one is; null otherwise.
    CData* Single() const { return m_order.size() == 1 ? m_pLast : nullptr; }
    // The record selected last, while it is selected; null with none.
    CData* Last() const { return m_pLast; }
    const CRecordSet& Records() const { return m_records; }

    // Whether exactly these records are selected.
    bool Is(const std::vector<CData*>& records) const;
    void Clear();
    void Select(const std::vector<CData*>& records);
    // Adds the record, or takes it out when it is selected already.
    void Toggle(CData* pData);
    // Forgets records that left the list.
    void Forget(const std::vector<const CData*>& records);

    // The selected records in drawing order.
    std::vector<CData*> InOrder(CTypedOwningList<CData>& list) const;
    // The selected records in the order they were selected, which need not be the drawing
    // order.
    std::vector<CData*> Unordered() const;

    // Places the frame: on a single shape as FrameShape does; around every selected shape,
    // without handles, when there are several; away (empty) when there are none. The marks
    // go where the records are now, until the frame is placed again.
    void PlaceFrame(CResizeTracker& frame);
    // Where the frame and the marks draw, handles of nHandle pixels included; empty with
    // nothing selected.
    CRect MarkedArea(const CResizeTracker& frame, int nHandle) const;
    // Draws the marks that the frame does not: a single line's two end handles, or a mark
    // on each of several shapes, where the frame was placed; only what lies in the context's
    // clip costs much.
    void DrawMarks(CDC* pDC, int nHandle) const;
    // The end of a single selected line whose handle of nHandle pixels holds the point: 0 its
    // start, 1 its end, -1 neither.
    int LineEndAt(CPoint point, int nHandle) const;

private:
    // Drops the marks' places, which hold for the records selected when they were placed.
    void ForgetMarks();

    CRecordSet m_records;
    // The same records in the order they were selected (drawing order for a rectangle or
    // all): walking them reads the records where they lie, one after another.
    std::vector<CData*> m_order;
    CData* m_pLast = nullptr; // the one selected last, while selected
    // Where the marks go, read once with the frame, so that painting them does not visit the
    // records one by one: two points a record, a line's ends or a box's opposite corners, and
    // whether the record is a box, marked at all four.
    std::vector<std::pair<CPoint, CPoint>> m_marked;
    std::vector<bool> m_markedBox;
};
