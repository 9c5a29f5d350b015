// The document: the shape records in drawing order, the selection frame, and the picture
// last opened. The view reaches the three members directly. Every change to the records goes
// through the document as a step that can be undone.
#pragma once

#include "DrawingJournal.h"

#include "image/BaseImage.h"
#include "shapes/Data.h"

#include "framework/core/ObList.h"
#include "framework/docview/Document.h"
#include "framework/docview/UndoStack.h"
#include "framework/window/ResizeTracker.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What a change did to the records, for the views (the hint of UpdateAllViews).
class CShapeHint : public CObject {
public:
    CRect m_rectChanged;             // canvas pixels whose drawing changed
    bool m_bAll = false;             // or all of them
    CData* m_pTouched = nullptr;     // the record the change was about, in the list after it
    std::vector<POSITION> m_removed; // where the records the change took out of the list were
};

// The two kinds of file the document writes.
enum class SkorelFile {
    Picture, // the opened picture as a BMP file
    Drawing, // the records in the archive form, then the picture, if any, as a BMP file
};

// The type a name says: .skr a drawing, .bmp a picture; else the type chosen.
SkorelFile TypeOfName(const std::string& name, SkorelFile chosen);
// The name with the type's extension in place of the one it has, if any.
std::string NamedAs(const std::string& name, SkorelFile type);

class CSkorelDoc : public CDocument {
    DECLARE_DYNCREATE(CSkorelDoc)
public:
    // The frame starts with a hatched border and handles outside (style 20), away from the
    // canvas; there is no picture.
    CSkorelDoc();
    ~CSkorelDoc() override;

    // The archive form: a signed 32-bit count, then that many records head to tail, each in
    // the record's own form. Loading appends the records after those already there (one step
    // that can be undone), all of them or, when the data runs out (or the count is more than
    // it can hold), none.
    void Serialize(CArchive& ar) override;
    // The archive form of the records given, for the drawing and the clipboard alike.
    static void StoreRecords(CArchive& ar, const std::vector<CData*>& records);
    // Reads a count and that many records; false, with nothing read into `records`, when the
    // data is short of them. Raises nothing.
    static bool ReadRecords(CArchive& ar, std::vector<std::unique_ptr<CData>>& records);
    // A drawing file: the signature and its 32-bit version, the archive form, then the
    // picture, if any, as a BMP file. Files written before the signature start with the
    // archive form at once.
    static constexpr BYTE kDrawingSignature[4] = {'S', 'K', 'R', 'L'};
    static constexpr std::uint32_t kDrawingVersion = 1;
    // Appends a drawing's signature, version and records, as a drawing file holds them.
    static void StoreDrawing(std::vector<BYTE>& bytes, const std::vector<CData*>& records);
    // Reads them back; false when the signature, the version or the records are not a
    // drawing's. Raises nothing.
    static bool ReadDrawing(CArchive& ar, std::vector<std::unique_ptr<CData>>& records);
    // Keeps the shapes, the picture and whether they are modified: only the framework's new
    // step runs.
    BOOL OnNewDoc() override;
    // Opens a drawing or a BMP picture, judged by what the file holds, not by its name:
    // - a drawing (the signature and its version, or, written before the signature, the
    //   archive form at once; as long as its count says, then nothing or a BMP file) appends
    //   its records and replaces the picture with its own, or with none; a damaged picture
    //   after the records is refused with a message, and the records stay;
    // - a file that starts with "BM" and reads as a BMP file replaces the picture, unless it
    //   is named .skr and is a drawing as well;
    // - a picture of another format that CPictureReader reads replaces the picture as a BMP
    //   file would; one that it recognises but refuses gets the damaged-picture message;
    // - anything else fails with a message and leaves the document as it was.
    // Afterwards the document is unmodified only when it holds exactly what the file does.
    BOOL OnOpenDoc(const char* lpszPathName) override;
    // The recovery copy carries the name.
    void SetPathName(const char* lpszPathName) override;
    // Writes the file of the type its name says (.skr a drawing, .bmp the picture, any case),
    // else of the type chosen in the Save As dialog (the picture, unless chosen otherwise).
    // FALSE when there is no picture with pixels for a picture file, or the write fails.
    BOOL OnSaveDoc(const char* lpszPathName) override;
    // Modified by every change to the records since the document was last kept in a file or
    // opened from one, and by an open that added to what was there.
    BOOL IsModified() const override;
    // New and Open keep the shapes, so nothing is lost and nothing is asked.
    BOOL SaveModified() override;
    // Closing loses the shapes: asks whether to keep the drawing, and on yes saves it as a
    // drawing file through a Save As dialog that offers drawings alone. FALSE keeps the window
    // open: cancelled, or no drawing written.
    BOOL CanCloseFrame(CFrameWnd* pFrame) override;
    // Asks for a name, proposing the document's with the type's extension, and saves. Both
    // file types are offered with `type` chosen, or the drawing alone. A drawing is never
    // written under a .bmp name: the dialog says so and offers the .skr name instead.
    BOOL SaveAs(SkorelFile type, bool bDrawingOnly);

    // Changes to the records, each one step on m_undo; the views hear of each with a
    // CShapeHint.
    // Appends at the tail; the last one counts as touched when bTouch is set.
    void AddShapes(std::vector<std::unique_ptr<CData>> records, bool bTouch);
    void RemoveShape(const CData* pData);
    void RemoveAllShapes();
    // Gives the record new corners (a move or a resize); nothing when they are its own.
    void ChangeShape(CData* pData, CPoint ptStart, CPoint ptEnd);
    // Gives the record a new outline colour, fill colour and thickness; nothing when they are
    // its own.
    void RestyleShape(CData* pData, COLORREF crLine, COLORREF crFill, int nThickness);
    // Puts the picture under the shapes in place of the one there, if any.
    void ReplacePicture(std::unique_ptr<CBaseImage> pImage);

    // Tells the views what a step did; for the steps.
    void ShapesChanged(CShapeHint& hint);
    // Tells the recovery journal what a step did to the records; for the steps.
    void RecordSplice(int index, int removed, const std::vector<CData*>& inserted);
    void RecordChange(CData& record);

    // Keeps a recovery copy at `path` from now on, for as long as the document has changes
    // that are not in a file; each process keeps its own.
    void KeepRecoveryAt(const std::string& path);
    // Stops keeping the copy and removes it: the user decided what becomes of the changes.
    void DropRecovery();
    // The recovery copy's journal, if one is kept.
    CDrawingJournal* Recovery() const { return m_pRecovery.get(); }
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
    void OnEditUndo();
    void OnEditRedo();
    void OnUpdateEditUndo(CCmdUI* pCmdUI);
    void OnUpdateEditRedo(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

private:
    // The records in drawing order.
    std::vector<CData*> Records();
    BOOL OpenFile(const char* lpszPathName);
    BOOL OpenDrawing(const char* lpszPathName, std::uint64_t recordsOffset,
                     std::uint64_t pictureOffset);
    // A picture that is not BMP, through the picture reader.
    BOOL OpenPicture(const char* lpszPathName);
    // Puts the picture under the shapes and repaints.
    void TakePicture(std::unique_ptr<CBaseImage> pImage);
    // Starts, renews or removes the recovery copy after a change: it is kept while the
    // document is modified.
    void UpdateRecovery();
    BOOL WriteDrawing(const char* lpszPathName);
    // The document is now what a file holds.
    void KeptInFile();

    SkorelFile m_saveType = SkorelFile::Picture; // the type chosen in the last Save As dialog
    std::unique_ptr<CDrawingJournal> m_pRecovery;
};
