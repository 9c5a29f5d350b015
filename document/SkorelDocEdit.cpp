// Changes to the records and the picture as steps that can be undone and redone. A step keeps
// what it changed, never a copy of the drawing: the records it took out of the list (it owns
// them while they are out), a record's corners and style before or after a change in place, or
// the picture it took out.
#include "SkorelDoc.h"

#include "shapes/Shape.h"

#include <utility>

namespace {

void Grow(CRect& bounds, const CData* pData)
{
    const CRect shape = ShapeBounds(*pData);
    UnionRect(&bounds, &bounds, &shape);
}

// Takes out `count` records at `index` and puts `held` in their place; undoing and redoing
// are the same exchange, each handing back what the other put in. Drawing, pasting and
// opening put records in at the tail; deleting takes one out; the eraser takes all.
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
            Grow(hint.m_rectChanged, out.back().get());
            hint.m_removed.push_back(at);
        }
        std::vector<CData*> put;
        put.reserve(m_held.size());
        for (std::unique_ptr<CData>& pData : m_held) {
            Grow(hint.m_rectChanged, pData.get());
            if (m_bTouchInserted)
                hint.m_pTouched = pData.get();
            put.push_back(pData.get());
            list.InsertBeforeOrAtTail(pos, std::move(pData));
        }
        m_nCount = int(m_held.size());
        m_held = std::move(out);
        m_doc.RecordSplice(m_nIndex, int(m_held.size()), put);
        m_doc.ShapesChanged(hint);
    }

    CSkorelDoc& m_doc;
    int m_nIndex;
    int m_nCount;                               // records at m_nIndex the next exchange takes out
    std::vector<std::unique_ptr<CData>> m_held; // records it puts in
    bool m_bTouchInserted;
    bool m_bRepaintAll;
};

// What a change in place gives a record: its corners (a move or a resize) and its style.
struct RecordLook {
    CPoint ptStart, ptEnd;
    COLORREF crLine, crFill;
    int nThickness;

    static RecordLook Of(const CData& d)
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
    bool operator==(const RecordLook&) const = default;
};

// Gives a record another look in place; undoing and redoing swap the two. A move, or a
// thicker outline, reaches elsewhere, so the change covers both bounds.
class LookStep : public CUndoStep {
public:
    LookStep(CSkorelDoc& doc, CData* pData, const RecordLook& look)
        : m_doc(doc), m_pData(pData), m_look(look)
    {}

    void Redo() override { Exchange(); }
    void Undo() override { Exchange(); }

private:
    void Exchange()
    {
        CShapeHint hint;
        hint.m_rectChanged = ShapeBounds(*m_pData);
        const RecordLook was = RecordLook::Of(*m_pData);
        m_look.GiveTo(*m_pData);
        m_look = was;
        Grow(hint.m_rectChanged, m_pData);
        hint.m_pTouched = m_pData;
        m_doc.RecordChange(*m_pData);
        m_doc.ShapesChanged(hint);
    }

    CSkorelDoc& m_doc;
    // The record stays in the list while this step is on the stack in its place: the steps
    // after it that took it out have been undone before this one runs.
    CData* m_pData;
    RecordLook m_look; // what the record gets at the next exchange
};

void PushLook(CSkorelDoc& doc, CData* pData, const RecordLook& look)
{
    if (RecordLook::Of(*pData) != look)
        doc.m_undo.Push(std::make_unique<LookStep>(doc, pData, look));
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
    explicit StepGroup(std::vector<std::unique_ptr<CUndoStep>> steps) : m_steps(std::move(steps))
    {}

    void Redo() override
    {
        for (const std::unique_ptr<CUndoStep>& step : m_steps)
            step->Redo();
    }
    void Undo() override
    {
        for (auto it = m_steps.rbegin(); it != m_steps.rend(); ++it)
            (*it)->Undo();
    }

private:
    std::vector<std::unique_ptr<CUndoStep>> m_steps;
};

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
        m_undo.Push(std::make_unique<StepGroup>(std::move(steps)));
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

void CSkorelDoc::RemoveShape(const CData* pData)
{
    int index = 0;
    for (POSITION pos = m_shapeList.GetHeadPosition(); pos; ++index)
        if (m_shapeList.GetNext(pos) == pData) {
            m_undo.Push(std::make_unique<SpliceStep>(
                *this, index, 1, std::vector<std::unique_ptr<CData>>(), true, false));
            return;
        }
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
    RecordLook look = RecordLook::Of(*pData);
    look.ptStart = ptStart;
    look.ptEnd = ptEnd;
    PushLook(*this, pData, look);
}

void CSkorelDoc::RestyleShape(CData* pData, COLORREF crLine, COLORREF crFill, int nThickness)
{
    RecordLook look = RecordLook::Of(*pData);
    look.crLine = crLine;
    look.crFill = crFill;
    look.nThickness = nThickness;
    PushLook(*this, pData, look);
}

void CSkorelDoc::ShapesChanged(CShapeHint& hint) { UpdateAllViews(nullptr, 0, &hint); }

void CSkorelDoc::RecordSplice(int index, int removed, const std::vector<CData*>& inserted)
{
    if (m_pRecovery)
        m_pRecovery->Spliced(index, removed, inserted);
}

void CSkorelDoc::RecordChange(CData& record)
{
    if (m_pRecovery)
        m_pRecovery->Changed(record);
}

void CSkorelDoc::OnEditUndo() { m_undo.Undo(); }

void CSkorelDoc::OnEditRedo() { m_undo.Redo(); }

void CSkorelDoc::OnUpdateEditUndo(CCmdUI* pCmdUI) { pCmdUI->Enable(m_undo.CanUndo()); }

void CSkorelDoc::OnUpdateEditRedo(CCmdUI* pCmdUI) { pCmdUI->Enable(m_undo.CanRedo()); }
