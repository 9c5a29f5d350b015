#include "UndoStack.h"

#include <QUndoStack>

namespace {

// Qt's command around a step of ours.
class StepCommand : public QUndoCommand {
public:
    explicit StepCommand(std::unique_ptr<CUndoStep> pStep) : m_pStep(std::move(pStep)) {}
    void redo() override { m_pStep->Redo(); }
    void undo() override { m_pStep->Undo(); }

private:
    std::unique_ptr<CUndoStep> m_pStep;
};

} // namespace

CUndoStack::CUndoStack() : m_stack(std::make_unique<QUndoStack>()) {}

CUndoStack::~CUndoStack() = default;

void CUndoStack::Push(std::unique_ptr<CUndoStep> pStep)
{
    if (!pStep)
        return;
    m_stack->push(new StepCommand(std::move(pStep)));
    Changed();
}

bool CUndoStack::CanUndo() const { return m_stack->canUndo(); }
bool CUndoStack::CanRedo() const { return m_stack->canRedo(); }
void CUndoStack::Undo()
{
    m_stack->undo();
    Changed();
}

void CUndoStack::Redo()
{
    m_stack->redo();
    Changed();
}
int CUndoStack::GetCount() const { return m_stack->count(); }
void CUndoStack::Clear()
{
    m_stack->clear();
    ++m_nChanges;
}
bool CUndoStack::IsClean() const { return m_stack->isClean(); }
void CUndoStack::SetClean() { m_stack->setClean(); }
