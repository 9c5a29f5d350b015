// Changes that can be undone and redone, kept in order, with the place where the document was
// last kept (its clean state).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class QUndoStack;

// One change. The stack runs Redo when the step is pushed, so a step's Redo makes the change
// and its Undo takes it back; each is called only in the state the other left.
class CUndoStep {
public:
    virtual ~CUndoStep() = default;
    virtual void Redo() = 0;
    virtual void Undo() = 0;
};

class CUndoStack {
public:
    CUndoStack();
    ~CUndoStack();
    CUndoStack(const CUndoStack&) = delete;
    CUndoStack& operator=(const CUndoStack&) = delete;

    // Makes the change (the step's Redo) and keeps it on top; the steps undone before it are
    // dropped.
    void Push(std::unique_ptr<CUndoStep> pStep);
    bool CanUndo() const;
    bool CanRedo() const;
    void Undo();
    void Redo();
    // Steps kept, undone ones included.
    int GetCount() const;
    // How many pushes, undos, redos and clears the stack has seen: a change count that stayed
    // the same means the steps are as they were.
    std::uint64_t GetChangeCount() const { return m_nChanges; }
    // Drops every step; the state now counts as clean. The change handler is not called: the
    // caller is replacing what the steps referred to.
    void Clear();

    // Whether the changes made stand where they stood at the last SetClean.
    bool IsClean() const;
    void SetClean();

    // Called after every Push, Undo and Redo, in the state the step left.
    void SetChangeHandler(std::function<void()> handler) { m_onChange = std::move(handler); }

private:
    void Changed()
    {
        ++m_nChanges;
        if (m_onChange)
            m_onChange();
    }

    std::unique_ptr<QUndoStack> m_stack;
    std::function<void()> m_onChange;
    std::uint64_t m_nChanges = 0;
};
