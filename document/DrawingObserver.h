// Whoever follows the document's drawing as it changes, step by step: the recovery copy.
#pragma once

#include <vector>

class CData;
class CSkorelDoc;

class CDrawingObserver {
public:
    virtual ~CDrawingObserver() = default;

    // The drawing, its name or whether it is kept in a file may have changed: after every
    // step, undo and redo, save, New and Open.
    virtual void DrawingChanged(CSkorelDoc& doc) = 0;
    // The drawing is about to be replaced whole: let go of every record it knows.
    virtual void Forget() = 0;
    // What a step did to the records, told as it happens: at `index`, `removed` records were
    // taken out and `inserted` put in their place; a record in the list changed in place.
    virtual void Spliced(int index, int removed, const std::vector<CData*>& inserted) = 0;
    virtual void Changed(CData& record) = 0;
    // What is told between the two is one change, kept or lost whole. They nest.
    virtual void BeginGroup() = 0;
    virtual void EndGroup() = 0;
    // Waits until what it was told is kept; false when keeping it failed.
    virtual bool Flush() = 0;
};
