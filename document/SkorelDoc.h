// The document: the shape records in drawing order, the selection frame, and the picture
// under them. The view reaches the three members directly. New and Open start a fresh
// drawing; every change to it after that goes through the document as a step that can be
// undone.
#pragma once

#include "DrawingJournal.h"
#include "DrawingObserver.h"
#include "FileFilters.h"

#include "image/BaseImage.h"
#include "shapes/Data.h"
#include "shapes/RecordSet.h"

#include "framework/core/ObList.h"
#include "framework/docview/Document.h"
#include "framework/docview/UndoStack.h"
#include "framework/window/ResizeTracker.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// What a change did to the records, for the views (the hint of UpdateAllViews).
class CShapeHint : public CObject {
public:
    CRect m_rectChanged;                 // canvas pixels whose drawing changed
    bool m_bAll = false;                 // or all of them
    std::vector<CData*> m_touched;       // the records the change was about, in the list after it
    std::vector<const CData*> m_removed; // the records the change took out of the list
    bool m_bReset = false;               // a fresh drawing took the place of the old one
};

// Where reordering puts records in the drawing order: above all others, above the next one
// above them, below the next one below them, below all others.
enum class ShapeOrder { ToFront, Forward, Backward, ToBack };

// What a drawing or picture file holds.
struct CDrawingContents {
    std::vector<std::unique_ptr<CData>> records;
    std::unique_ptr<CBaseImage> picture; // null when there is none
    bool whole = true;                   // false: a damaged picture was left out
};

class CSkorelDoc : public CDocument {
    DECLARE_DYNCREATE(CSkorelDoc)
public:
    // The frame starts with a hatched border and handles outside (style 20), away from the
    // canvas; there is no picture.
    CSkorelDoc();

    // The records in the drawing file's archive form. Loading appends the records after those
    // already there (one step that can be undone), all of them or, when the data runs out (or
    // the count is more than it can hold), none.
    void Serialize(CArchive& ar) override;
    // The smallest canvas: a drawing without a picture, or with a smaller one, has this size.
    static constexpr int kMinCanvasWidth = 1280;
    static constexpr int kMinCanvasHeight = 1024;
    // The canvas: the smallest one, grown to hold the whole picture.
    CSize GetCanvasSize() const;
    // Where the picture lies on the canvas: its whole size at the origin; empty without one.
    CRect GetPictureRect() const;

    // Empties the drawing: no records, no picture, no selection frame, no steps to undo.
    void DeleteContents() override;
    // A fresh, empty drawing.
    BOOL OnNewDoc() override;
    // Reads a drawing or a picture file, judged by what the file holds, not by its name:
    // - a drawing (the signature and its version, or, written before the signature, the
    //   archive form at once; as long as its count says, then nothing or a BMP file) gives
    //   its records and its picture, if any; a damaged picture after the records is refused
    //   with a message, and the records are read all the same (`whole` false);
    // - a file that starts with "BM" and reads as a BMP file is a picture, unless it is named
    //   .skr and is a drawing as well;
    // - a picture of another format that CPictureReader reads is a picture as a BMP file
    //   would be; one that it recognises but refuses gets the damaged-picture message;
    // - anything else, or what memory cannot hold, fails with a message.
    // FALSE when nothing was read; the document is never touched.
    static BOOL ReadFile(const char* lpszPathName, CDrawingContents& contents);
    // The file's drawing in place of the document's: its records and picture, no steps to
    // undo, unmodified unless a damaged picture was left out. A file that cannot be read
    // changes nothing.
    BOOL OnOpenDoc(const char* lpszPathName) override;
    // Adds what the file holds to the drawing as one step that can be undone: its records
    // after the document's, and its picture, if it has one, in place of the document's. The
    // name stays. A file that cannot be read changes nothing.
    BOOL InsertFile(const char* lpszPathName);
    // The recovery copy carries the name.
    void SetPathName(const char* lpszPathName) override;
    // Writes the file of the type its name says (.skr a drawing, .bmp the picture, any case),
    // else of the type chosen in the Save As dialog (the picture, unless chosen otherwise).
    // FALSE when there is no picture with pixels for a picture file, or the write fails.
    BOOL OnSaveDoc(const char* lpszPathName) override;
    // Modified by every change to the records since the document was last kept in a file or
    // opened from one, and by an open that added to what was there.
    BOOL IsModified() const override;
    // Before New, Open and closing drop a modified drawing: asks whether to keep it, and on yes
    // saves it as a drawing file through a Save As dialog that offers drawings alone. FALSE
    // stops what was to come: cancelled, or no drawing written.
    BOOL SaveModified() override;
    // Asks for a name (AskSaveAs), proposing the document's with the type's extension, and
    // saves; FALSE when cancelled or not written.
    BOOL SaveAs(SkorelFile type, bool bDrawingOnly);

    // Changes to the records, each one step on m_undo; the views hear of each with a
    // CShapeHint.
    // Appends at the tail; they count as touched when bTouch is set.
    void AddShapes(std::vector<std::unique_ptr<CData>> records, bool bTouch);
    // Takes the records out wherever they are in the list.
    void RemoveShapes(const CRecordSet& records);
    void RemoveAllShapes();
    // Gives the record new corners (a move or a resize); nothing when they are its own.
    void ChangeShape(CData* pData, CPoint ptStart, CPoint ptEnd);
    // Moves the records by (dx, dy). With bJoin, a move that follows another with nothing
    // between them (no other step, no undo or redo, no save) joins its step.
    void MoveShapes(const std::vector<CData*>& records, std::int64_t dx, std::int64_t dy,
                    bool bJoin);
    // Gives each record the outline colour, fill colour and thickness `change` leaves in a
    // copy of it; nothing when none changes.
    void RestyleShapes(const std::vector<CData*>& records,
                       const std::function<void(CData&)>& change);
    // Whether reordering the records would change the drawing order.
    bool CanReorder(const CRecordSet& records, ShapeOrder order) const;
    // Moves the records in the drawing order, keeping their own order among themselves.
    void ReorderShapes(const CRecordSet& records, ShapeOrder order);
    // Puts the picture under the shapes in place of the one there, if any.
    void ReplacePicture(std::unique_ptr<CBaseImage> pImage);
    // Adds the records at the tail and, when there is one, the picture in place of the one
    // there: one step.
    void AddContents(CDrawingContents contents);

    // Tells the views what a step did; for the steps.
    void ShapesChanged(CShapeHint& hint);
    // Whoever follows the drawing's changes from now on (the recovery copy); it is told of the
    // drawing as it is at once.
    void Observe(std::unique_ptr<CDrawingObserver> pObserver);
    // The one following, or one that ignores all it is told.
    CDrawingObserver& Observer() const;
    // Takes a recovered drawing: its records and picture in place of the document's, under
    // its name, modified.
    void TakeRecovered(CDrawingJournal::Drawing drawing);

    CTypedOwningList<CData> m_shapeList;
    CResizeTracker m_tracker;
    // Shared with the recovery journal, whose thread may still be writing a picture that the
    // document has let go of; its pixels never change.
    std::shared_ptr<CBaseImage> m_pImage;
    CUndoStack m_undo;

protected:
    void OnFileSaveAs();
    // Asks for a file, as Open does, and inserts it.
    void OnFileInsert();
    void OnEditUndo();
    void OnEditRedo();
    void OnUpdateEditUndo(CCmdUI* pCmdUI);
    void OnUpdateEditRedo(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

private:
    // The records in drawing order.
    std::vector<CData*> Records();
    // The drawing in place of the document's, with nothing to undo; the views start afresh.
    void TakeContents(CDrawingContents contents);
    // Tells the observer that the drawing, its name or its state may have changed.
    void DrawingChanged() { Observer().DrawingChanged(*this); }
    // The document is now what a file holds.
    void KeptInFile();

    SkorelFile m_saveType = SkorelFile::Picture; // the type chosen in the last Save As dialog
    std::unique_ptr<CDrawingObserver> m_pObserver;
    // The last move's step, while the stack has seen no change since it (m_nLastMoveChange).
    CUndoStep* m_pLastMove = nullptr;
    std::uint64_t m_nLastMoveChange = 0;
};
