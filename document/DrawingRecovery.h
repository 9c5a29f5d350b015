// The recovery copy of a drawing with changes that are not in a file: a journal that follows
// the document, started by the first change, renewed as the drawing or its name changes, and
// removed once the drawing is kept in a file, replaced, or closed (the user has then decided
// what becomes of the changes). A process that ends otherwise leaves the copy behind.
#pragma once

#include "DrawingJournal.h"
#include "DrawingObserver.h"

#include <string>

class CDrawingRecovery : public CDrawingObserver {
public:
    // Keeps the copy in the journal file at the path; each process keeps its own.
    explicit CDrawingRecovery(std::string path) : m_journal(std::move(path)) {}
    ~CDrawingRecovery() override { m_journal.Stop(); }

    void DrawingChanged(CSkorelDoc& doc) override;
    void Forget() override { m_journal.Stop(); }
    void Spliced(int index, int removed, const std::vector<CData*>& inserted) override
    {
        m_journal.Spliced(index, removed, inserted);
    }
    void Changed(CData& record) override { m_journal.Changed(record); }
    void BeginGroup() override { m_journal.BeginGroup(); }
    void EndGroup() override { m_journal.EndGroup(); }
    bool Flush() override { return m_journal.Flush(); }

    CDrawingJournal& Journal() { return m_journal; }

private:
    CDrawingJournal m_journal;
};
