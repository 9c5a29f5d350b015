// The document: the shape records in drawing order, the selection frame, and the picture
// last opened. The view reaches the three members directly. Every change to the records goes
// through the document as a step that can be undone.
#pragma once

#include "framework/Document.h"
#include "framework/ObList.h"
#include "framework/ResizeTracker.h"
#include "framework/UndoStack.h"
#include "image/BaseImage.h"
#include "shapes/Data.h"

#include <memory>
#include <vector>

// What a change did to the records, for the views (the hint of UpdateAllViews).
class CShapeHint : public CObject {
public:
    CRect m_rectChanged;                 // canvas pixels whose drawing changed
    bool m_bAll = false;                 // or all of them
    CData* m_pTouched = nullptr;         // the record the change was about, in the list after it
    std::vector<const CData*> m_removed; // records the change took out of the list
};

// The two kinds of file the document writes.
enum class SkorelFile {
    Picture, // the opened picture as a BMP file
    Drawing, // the records in the archive form, then the picture, if any, as a BMP file
};

class CSkorelDoc : public CDocument {
    DECLARE_DYNCREATE(CSkorelDoc)
public:
    // The frame starts with a hatched border and handles outside (style 20), away from the
    // canvas; there is no picture.
    CSkorelDoc();
    ~CSkorelDoc() override;

    // The archive form: a signed 32-bit count, then that many 32-byte records head to tail.
    // Loading appends the records after those already there (one step that can be undone),
    // all of them or, when the data runs out (or the count is more than it can hold), none.
    void Serialize(CArchive& ar) override;
    // Reads a count and that many records; false, with nothing read into `records`, when the
    // data is short of them. Raises nothing.
    static bool ReadRecords(CArchive& ar, std::vector<std::unique_ptr<CData>>& records);
    // Keeps the shapes and the picture: only the framework's new step runs.
    BOOL OnNewDoc() override;
    // A drawing (the archive form, as long as its count says, optionally followed by a BMP
    // file) appends its records and replaces the picture with its own, or with none; a BMP
    // file replaces the picture when the image reads it, and otherwise fails with a message,
    // leaving the document as it was; any other file is read as the archive form (records
    // appended) and leaves an empty picture. A damaged picture after the records of a drawing
    // is refused with a message and the records stay.
    BOOL OnOpenDoc(const char* lpszPathName) override;
    // Writes the file of the type its name says (.skr a drawing, .bmp the picture, any case),
    // else of the type chosen in the Save As dialog (the picture, unless chosen otherwise).
    // FALSE when there is no picture with pixels for a picture file, or the write fails.
    BOOL OnSaveDoc(const char* lpszPathName) override;
    // Modified by every change to the records since the drawing was last kept as a drawing
    // file or opened from one.
    BOOL IsModified() const override;
    // New and Open keep the shapes, so nothing is lost and nothing is asked.
    BOOL SaveModified() override;
    // Closing loses the shapes: asks whether to keep the drawing, and on yes saves it as a
    // drawing file through the Save As dialog. FALSE keeps the window open.
    BOOL CanCloseFrame(CFrameWnd* pFrame) override;
    // Asks for a name with both file types offered, `type` chosen, and saves.
    BOOL SaveAs(SkorelFile type);

    // Changes to the records, each one step on m_undo; the views hear of each with a
    // CShapeHint.
    // Appends at the tail; the last one counts as touched when bTouch is set.
    void AddShapes(std::vector<std::unique_ptr<CData>> records, bool bTouch);
    void RemoveShape(const CData* pData);
    void RemoveAllShapes();
    // Gives the record new corners (a move or a resize); nothing when they are its own.
    void ChangeShape(CData* pData, CPoint ptStart, CPoint ptEnd);

    // Tells the views what a step did; for the steps.
    void ShapesChanged(CShapeHint& hint);

    CTypedOwningList<CData> m_shapeList;
    CResizeTracker m_tracker;
    std::unique_ptr<CBaseImage> m_pImage;
    CUndoStack m_undo;

protected:
    void OnFileSaveAs();
    void OnEditUndo();
    void OnEditRedo();
    void OnUpdateEditUndo(CCmdUI* pCmdUI);
    void OnUpdateEditRedo(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

private:
    BOOL OpenPicture(const char* lpszPathName);
    BOOL WriteDrawing(const char* lpszPathName);

    SkorelFile m_saveType = SkorelFile::Picture; // the type chosen in the last Save As dialog
};
