// Changes to the records and the picture as steps that can be undone and redone. A step keeps
// what it changed, never a copy of the drawing: the records it took out of the list (it owns
// them while they are out) with their places, records' corners and style before or after a
// change in place, or the picture it took out.
#include "DrawingOrder.h"
#include "SkorelDoc.h"

#include "shapes/Shape.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace {

// What one step tells the observer, in one group.
class RecordGroup {
public:
    explicit RecordGroup(CSkorelDoc& doc) : m_doc(doc) { m_doc.Observer().BeginGroup(); }
    ~RecordGroup() { m_doc.Observer().EndGroup(); }
    RecordGroup(const RecordGroup&) = delete;
    RecordGroup& operator=(const RecordGroup&) = delete;

private:
    CSkorelDoc& m_doc;
};

// Takes out `count` records at `index` and puts `held` in their place; undoing and redoing
// are the same exchange, each handing back what the other put in. Drawing, pasting and
// opening put records in at the tail; the eraser takes all.
class SpliceStep : public CUndoStep {
public:
    SpliceStep(CSkorelDoc& doc, int index, int count, std::vector<std::unique_ptr<CData>> held,
               bool bTouchInserted, bool bRepaintAll)
        : m_doc(doc), m_nIndex(index), m_nCount(count), m_held(std::move(held)),
          m_bTouchInserted(bTouchInserted), m_bRepaintAll(bRepaintAll)
    {}

    void Redo() override { Exchange(); }
    void Undo() override { Exchange(); }

private:
    void Exchange()
    {
        CTypedOwningList<CData>& list = m_doc.m_shapeList;
        CShapeHint hint;
        hint.m_bAll = m_bRepaintAll;
        std::vector<std::unique_ptr<CData>> out;
        out.reserve(std::size_t(m_nCount));
        POSITION pos = list.FindIndex(m_nIndex);
        for (int i = 0; i < m_nCount && pos; ++i) {
            const POSITION at = pos;
            list.GetNext(pos);
            out.push_back(list.RemoveAt(at));
            GrowToShape(hint.m_rectChanged, *out.back());
            hint.m_removed.push_back(out.back().get());
        }
        std::vector<CData*> put;
        put.reserve(m_held.size());
        for (std::unique_ptr<CData>& pData : m_held) {
            GrowToShape(hint.m_rectChanged, *pData);
            if (m_bTouchInserted)
                hint.m_touched.push_back(pData.get());
            put.push_back(pData.get());
            list.InsertBeforeOrAtTail(pos, std::move(pData));
        }
        m_nCount = int(m_held.size());
        m_held = std::move(out);
        m_doc.Observer().Spliced(m_nIndex, int(m_held.size()), put);
        m_doc.ShapesChanged(hint);
    }

    CSkorelDoc& m_doc;
    int m_nIndex;
    int m_nCount;                               // records at m_nIndex the next exchange takes out
    std::vector<std::unique_ptr<CData>> m_held; // records it puts in
    bool m_bTouchInserted;
    bool m_bRepaintAll;
};

// So few places that finding each from the nearer end of the list beats one walk of it all.
constexpr std::size_t kFewPlaces = 8;

// The record at the index, found from the nearer end of the list; null past its end.
POSITION NearestAt(const CTypedOwningList<CData>& list, int index)
{
    const int count = list.GetCount();
    if (index < 0 || index >= count)
        return nullptr;
    if (index < count / 2)
        return list.FindIndex(index);
    POSITION pos = list.GetTailPosition();
    for (int i = count - 1; i > index; --i)
        list.GetPrev(pos);
    return pos;
}

// Finds the places a step takes records from or puts them at: a few from the nearer end of
// the list each, many in one walk.
class Places {
public:
    Places(const CTypedOwningList<CData>& list, std::size_t nPlaces)
        : m_list(list), m_bFew(nPlaces <= kFewPlaces), m_pos(list.GetHeadPosition())
    {}
    // The record at the index; indices come in ascending order, each as the list is then.
    POSITION At(int index)
    {
        if (m_bFew)
            return NearestAt(m_list, index);
        for (; m_nIndex < index && m_pos; ++m_nIndex)
            m_list.GetNext(m_pos);
        return m_pos;
    }
    // The record at the place was taken out, or one was put in before it.
    void Taken(POSITION next)
    {
        if (!m_bFew)
            m_pos = next;
    }
    void Put() { ++m_nIndex; }

private:
    const CTypedOwningList<CData>& m_list;
    bool m_bFew;
    POSITION m_pos;
    int m_nIndex = 0;
};

// Records taken out of the list at places given in ascending order, each as its index in the
// list with all of them in it, and put back at such places.
std::vector<std::unique_ptr<CData>> TakeAt(CSkorelDoc& doc, const std::vector<int>& indices,
                                           CShapeHint& hint)
{
    CTypedOwningList<CData>& list = doc.m_shapeList;
    std::vector<std::unique_ptr<CData>> taken;
    taken.reserve(indices.size());
    Places places(list, indices.size());
    for (const int wanted : indices) {
        // The records taken before this one are no longer before it.
        const int now = wanted - int(taken.size());
        POSITION at = places.At(now);
        if (!at)
            break;
        POSITION next = at;
        list.GetNext(next);
        taken.push_back(list.RemoveAt(at));
        places.Taken(next);
        GrowToShape(hint.m_rectChanged, *taken.back());
        hint.m_removed.push_back(taken.back().get());
        doc.Observer().Spliced(now, 1, {});
    }
    return taken;
}

void PutAt(CSkorelDoc& doc, const std::vector<int>& indices,
           std::vector<std::unique_ptr<CData>> records, CShapeHint& hint)
{
    CTypedOwningList<CData>& list = doc.m_shapeList;
    Places places(list, indices.size());
    for (std::size_t i = 0; i < indices.size() && i < records.size(); ++i) {
        const POSITION before = places.At(indices[i]);
        CData* pData = records[i].get();
        GrowToShape(hint.m_rectChanged, *pData);
        hint.m_touched.push_back(pData);
        list.InsertBeforeOrAtTail(before, std::move(records[i]));
        places.Put();
        doc.Observer().Spliced(indices[i], 0, {pData});
    }
}

// Takes records out wherever they are in the list (from), and puts them at other places (to),
// in the same order among themselves; with no places to put them, takes them out alone.
// Undoing and redoing swap the two.
class ScatterStep : public CUndoStep {
public:
    ScatterStep(CSkorelDoc& doc, std::vector<int> from, std::vector<int> to)
        : m_doc(doc), m_from(std::move(from)), m_to(std::move(to))
    {}

    void Redo() override { Move(m_from, m_to); }
    void Undo() override { Move(m_to, m_from); }

private:
    void Move(const std::vector<int>& from, const std::vector<int>& to)
    {
        const RecordGroup group(m_doc);
        CShapeHint hint;
        std::vector<std::unique_ptr<CData>> taken =
            from.empty() ? std::move(m_held) : TakeAt(m_doc, from, hint);
        if (to.empty())
            m_held = std::move(taken);
        else
            PutAt(m_doc, to, std::move(taken), hint);
        m_doc.ShapesChanged(hint);
    }

    CSkorelDoc& m_doc;
    std::vector<int> m_from, m_to;
    std::vector<std::unique_ptr<CData>> m_held; // taken out and not put anywhere
};

// What a change in place gives a record: its corners (a move or a resize) and its style.
struct RecordFields {
    CPoint ptStart, ptEnd;
    COLORREF crLine, crFill;
    int nThickness;

    static RecordFields Of(const CData& d)
    {
        return {d.m_ptStart, d.m_ptEnd, d.m_crLine, d.m_crFill, d.m_nThickness};
    }
    void GiveTo(CData& d) const
    {
        d.m_ptStart = ptStart;
        d.m_ptEnd = ptEnd;
        d.m_crLine = crLine;
        d.m_crFill = crFill;
        d.m_nThickness = nThickness;
    }
    bool operator==(const RecordFields&) const = default;
};

// Gives records other corners or another style in place; undoing and redoing swap them. A move, or
// a thicker outline, reaches elsewhere, so the change covers both bounds of each.
class ChangeInPlaceStep : public CUndoStep {
public:
    ChangeInPlaceStep(CSkorelDoc& doc, std::vector<std::pair<CData*, RecordFields>> changes)
        : m_doc(doc), m_changes(std::move(changes))
    {}

    void Redo() override { Exchange(); }
    void Undo() override { Exchange(); }

    // Moves the records further, as the same step: undoing it takes back the whole move.
    // Only while the step is done.
    void MoveFurther(std::int64_t dx, std::int64_t dy)
    {
        const RecordGroup group(m_doc);
        CShapeHint hint;
        for (auto& [pData, fields] : m_changes) {
            GrowToShape(hint.m_rectChanged, *pData);
            pData->m_ptStart = Shifted(pData->m_ptStart, dx, dy);
            pData->m_ptEnd = Shifted(pData->m_ptEnd, dx, dy);
            GrowToShape(hint.m_rectChanged, *pData);
            hint.m_touched.push_back(pData);
            m_doc.Observer().Changed(*pData);
        }
        m_doc.ShapesChanged(hint);
    }

private:
    void Exchange()
    {
        const RecordGroup group(m_doc);
        CShapeHint hint;
        for (auto& [pData, fields] : m_changes) {
            GrowToShape(hint.m_rectChanged, *pData);
            const RecordFields was = RecordFields::Of(*pData);
            fields.GiveTo(*pData);
            fields = was;
            GrowToShape(hint.m_rectChanged, *pData);
            hint.m_touched.push_back(pData);
            m_doc.Observer().Changed(*pData);
        }
        m_doc.ShapesChanged(hint);
    }

    CSkorelDoc& m_doc;
    // The records stay in the list while this step is on the stack in its place: the steps
    // after it that took them out have been undone before this one runs. Each with the fields
    // it gets at the next exchange.
    std::vector<std::pair<CData*, RecordFields>> m_changes;
};

// Gives each record the fields `change` makes of its own, as one step; nothing when none
// changes.
// The step, or null.
ChangeInPlaceStep* PushChanges(CSkorelDoc& doc, const std::vector<CData*>& records,
                               const std::function<void(RecordFields&)>& change)
{
    std::vector<std::pair<CData*, RecordFields>> changes;
    changes.reserve(records.size());
    for (CData* pData : records) {
        RecordFields fields = RecordFields::Of(*pData);
        change(fields);
        if (fields != RecordFields::Of(*pData))
            changes.emplace_back(pData, fields);
    }
    if (changes.empty())
        return nullptr;
    auto step = std::make_unique<ChangeInPlaceStep>(doc, std::move(changes));
    ChangeInPlaceStep* pStep = step.get();
    doc.m_undo.Push(std::move(step));
    return pStep;
}

// Puts a picture under the shapes; undoing and redoing swap it with the one it replaced.
class PictureStep : public CUndoStep {
public:
    PictureStep(CSkorelDoc& doc, std::unique_ptr<CBaseImage> pImage)
        : m_doc(doc), m_pImage(std::move(pImage))
    {}

    void Redo() override { Exchange(); }
    void Undo() override { Exchange(); }

private:
    void Exchange()
    {
        std::swap(m_doc.m_pImage, m_pImage);
        CShapeHint hint;
        hint.m_bAll = true; // a picture lies under everything
        m_doc.ShapesChanged(hint);
    }

    CSkorelDoc& m_doc;
    std::shared_ptr<CBaseImage> m_pImage; // the picture the next exchange puts in
};

// Several steps as one: redone in order, undone in the reverse order.
class StepGroup : public CUndoStep {
public:
    StepGroup(CSkorelDoc& doc, std::vector<std::unique_ptr<CUndoStep>> steps)
        : m_doc(doc), m_steps(std::move(steps))
    {}

    void Redo() override
    {
        const RecordGroup group(m_doc);
        for (const std::unique_ptr<CUndoStep>& step : m_steps)
            step->Redo();
    }
    void Undo() override
    {
        const RecordGroup group(m_doc);
        for (auto it = m_steps.rbegin(); it != m_steps.rend(); ++it)
            (*it)->Undo();
    }

private:
    CSkorelDoc& m_doc;
    std::vector<std::unique_ptr<CUndoStep>> m_steps;
};

bool Holds(const CRecordSet& records, const CData* pData) { return records.Contains(pData); }

// The indices of the records in the list, ascending: a walk from both ends at once that stops
// once every one is found, so that records near either end cost a few steps.
std::vector<int> IndicesOf(const CTypedOwningList<CData>& list, const CRecordSet& records)
{
    std::vector<int> indices;
    POSITION head = list.GetHeadPosition(), tail = list.GetTailPosition();
    for (int front = 0, back = list.GetCount() - 1;
         indices.size() < records.size() && front <= back; ++front, --back) {
        if (Holds(records, list.GetNext(head)))
            indices.push_back(front);
        if (front < back && Holds(records, list.GetPrev(tail)))
            indices.push_back(back);
    }
    std::ranges::sort(indices);
    return indices;
}

} // namespace

void CSkorelDoc::AddContents(CDrawingContents contents)
{
    std::vector<std::unique_ptr<CUndoStep>> steps;
    if (!contents.records.empty())
        steps.push_back(std::make_unique<SpliceStep>(*this, m_shapeList.GetCount(), 0,
                                                     std::move(contents.records), false, false));
    if (contents.picture)
        steps.push_back(std::make_unique<PictureStep>(*this, std::move(contents.picture)));
    if (steps.size() == 1)
        m_undo.Push(std::move(steps.front()));
    else if (!steps.empty())
        m_undo.Push(std::make_unique<StepGroup>(*this, std::move(steps)));
}

void CSkorelDoc::ReplacePicture(std::unique_ptr<CBaseImage> pImage)
{
    m_undo.Push(std::make_unique<PictureStep>(*this, std::move(pImage)));
}

void CSkorelDoc::AddShapes(std::vector<std::unique_ptr<CData>> records, bool bTouch)
{
    if (records.empty())
        return;
    const int index = m_shapeList.GetCount();
    m_undo.Push(std::make_unique<SpliceStep>(*this, index, 0, std::move(records), bTouch, false));
}

void CSkorelDoc::RemoveShapes(const CRecordSet& records)
{
    std::vector<int> indices = IndicesOf(m_shapeList, records);
    if (!indices.empty())
        m_undo.Push(std::make_unique<ScatterStep>(*this, std::move(indices), std::vector<int>()));
}

void CSkorelDoc::RemoveAllShapes()
{
    if (m_shapeList.IsEmpty())
        return;
    m_undo.Push(std::make_unique<SpliceStep>(*this, 0, m_shapeList.GetCount(),
                                             std::vector<std::unique_ptr<CData>>(), false, true));
}

void CSkorelDoc::ChangeShape(CData* pData, CPoint ptStart, CPoint ptEnd)
{
    PushChanges(*this, {pData}, [&](RecordFields& fields) {
        fields.ptStart = ptStart;
        fields.ptEnd = ptEnd;
    });
}

void CSkorelDoc::MoveShapes(const std::vector<CData*>& records, std::int64_t dx, std::int64_t dy,
                            bool bJoin)
{
    // A move joins the one before it when nothing has come between them: the step on top is
    // still that move, and the drawing is not kept in a file as it stands.
    if (bJoin && m_pLastMove && m_undo.GetChangeCount() == m_nLastMoveChange && !m_undo.IsClean()) {
        static_cast<ChangeInPlaceStep*>(m_pLastMove)->MoveFurther(dx, dy);
        DrawingChanged();
        return;
    }
    m_pLastMove = PushChanges(*this, records, [dx, dy](RecordFields& fields) {
        fields.ptStart = Shifted(fields.ptStart, dx, dy);
        fields.ptEnd = Shifted(fields.ptEnd, dx, dy);
    });
    m_nLastMoveChange = m_undo.GetChangeCount();
}

void CSkorelDoc::RestyleShapes(const std::vector<CData*>& records,
                               const std::function<void(CData&)>& change)
{
    PushChanges(*this, records, [&change](RecordFields& fields) {
        CData style;
        fields.GiveTo(style);
        change(style);
        fields = RecordFields::Of(style);
    });
}

bool CSkorelDoc::CanReorder(const CRecordSet& records, ShapeOrder order) const
{
    if (records.empty())
        return false;
    // Front and forward change nothing when the records are the topmost already; back and
    // backward when they are the lowest.
    const bool up = order == ShapeOrder::ToFront || order == ShapeOrder::Forward;
    std::size_t seen = 0;
    POSITION pos = up ? m_shapeList.GetTailPosition() : m_shapeList.GetHeadPosition();
    while (pos && seen < records.size()) {
        const CData* pData = up ? m_shapeList.GetPrev(pos) : m_shapeList.GetNext(pos);
        if (!Holds(records, pData))
            return true;
        ++seen;
    }
    return false;
}

void CSkorelDoc::ReorderShapes(const CRecordSet& records, ShapeOrder order)
{
    if (!CanReorder(records, order))
        return;
    if (order == ShapeOrder::ToFront || order == ShapeOrder::ToBack) {
        // To either end: where the records are is all there is to find.
        std::vector<int> from = IndicesOf(m_shapeList, records);
        const int count = int(from.size());
        std::vector<int> to(from.size());
        for (int i = 0; i < count; ++i)
            to[std::size_t(i)] =
                order == ShapeOrder::ToFront ? m_shapeList.GetCount() - count + i : i;
        m_undo.Push(std::make_unique<ScatterStep>(*this, std::move(from), std::move(to)));
        return;
    }
    std::vector<const CData*> list;
    std::vector<bool> marks;
    list.reserve(std::size_t(m_shapeList.GetCount()));
    marks.reserve(list.capacity());
    for (POSITION pos = m_shapeList.GetHeadPosition(); pos;) {
        list.push_back(m_shapeList.GetNext(pos));
        marks.push_back(Holds(records, list.back()));
    }
    std::vector<int> from;
    for (std::size_t i = 0; i < marks.size(); ++i)
        if (marks[i])
            from.push_back(int(i));
    m_undo.Push(std::make_unique<ScatterStep>(
        *this, std::move(from), SteppedPlaces(list, marks, order == ShapeOrder::Forward)));
}

void CSkorelDoc::ShapesChanged(CShapeHint& hint) { UpdateAllViews(nullptr, 0, &hint); }

void CSkorelDoc::OnEditUndo() { m_undo.Undo(); }

void CSkorelDoc::OnEditRedo() { m_undo.Redo(); }

void CSkorelDoc::OnUpdateEditUndo(CCmdUI* pCmdUI) { pCmdUI->Enable(m_undo.CanUndo()); }

void CSkorelDoc::OnUpdateEditRedo(CCmdUI* pCmdUI) { pCmdUI->Enable(m_undo.CanRedo()); }
