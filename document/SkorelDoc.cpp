// The document's life: a fresh drawing at New, the file's drawing at Open, a file added at
// Insert, what is asked before a modified drawing is dropped, and its recovery copy.
#include "SkorelDoc.h"

#include "FileDialogs.h"

#include "res/resource.h"

#include "framework/core/Commands.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kListBlockSize = 10;

// Follows nothing: the observer of a document that has none.
class CNoObserver final : public CDrawingObserver {
public:
    void DrawingChanged(CSkorelDoc&) override {}
    void Forget() override {}
    void Spliced(int, int, const std::vector<CData*>&) override {}
    void Changed(CData&) override {}
    void BeginGroup() override {}
    void EndGroup() override {}
    bool Flush() override { return true; }
};

} // namespace

IMPLEMENT_DYNCREATE(CSkorelDoc, CDocument)

BEGIN_MESSAGE_MAP(CSkorelDoc, CDocument)
ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
ON_COMMAND(ID_FILE_INSERT, OnFileInsert)
ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
ON_COMMAND(ID_EDIT_REDO, OnEditRedo)
ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateEditRedo)
END_MESSAGE_MAP()

CSkorelDoc::CSkorelDoc() : m_shapeList(kListBlockSize)
{
    m_tracker.m_nStyle = CResizeTracker::hatchedBorder | CResizeTracker::resizeOutside;
    m_undo.SetChangeHandler([this] { DrawingChanged(); });
}

CSize CSkorelDoc::GetCanvasSize() const
{
    const CRect picture = GetPictureRect();
    return CSize(std::max<LONG>(kMinCanvasWidth, picture.right),
                 std::max<LONG>(kMinCanvasHeight, picture.bottom));
}

CRect CSkorelDoc::GetPictureRect() const
{
    if (!m_pImage || !m_pImage->m_pBits)
        return CRect();
    const CSize size = m_pImage->GetSize();
    return CRect(0, 0, size.cx, std::abs(size.cy));
}

void CSkorelDoc::Observe(std::unique_ptr<CDrawingObserver> pObserver)
{
    m_pObserver = std::move(pObserver);
    DrawingChanged();
}

CDrawingObserver& CSkorelDoc::Observer() const
{
    static CNoObserver s_none;
    return m_pObserver ? *m_pObserver : s_none;
}

void CSkorelDoc::SetPathName(const char* lpszPathName)
{
    CDocument::SetPathName(lpszPathName);
    DrawingChanged();
}

std::vector<CData*> CSkorelDoc::Records()
{
    std::vector<CData*> records;
    records.reserve(std::size_t(m_shapeList.GetCount()));
    for (POSITION pos = m_shapeList.GetHeadPosition(); pos;)
        records.push_back(m_shapeList.GetNext(pos));
    return records;
}

void CSkorelDoc::DeleteContents() { TakeContents(CDrawingContents()); }

void CSkorelDoc::TakeContents(CDrawingContents contents)
{
    // The steps and the observer refer to the records: they let go first.
    m_undo.Clear();
    Observer().Forget();
    m_shapeList.RemoveAll();
    for (std::unique_ptr<CData>& pData : contents.records)
        m_shapeList.AddTail(std::move(pData));
    m_pImage = std::move(contents.picture);
    m_tracker.m_rect = CRect();
    CShapeHint hint;
    hint.m_bAll = true;
    hint.m_bReset = true;
    ShapesChanged(hint);
}

BOOL CSkorelDoc::OnNewDoc()
{
    if (!CDocument::OnNewDoc())
        return FALSE;
    DrawingChanged();
    return TRUE;
}

BOOL CSkorelDoc::OnOpenDoc(const char* lpszPathName)
{
    CDrawingContents contents;
    if (!ReadFile(lpszPathName, contents))
        return FALSE;
    // The document is the file only when all of it was read.
    const bool whole = contents.whole;
    TakeContents(std::move(contents));
    SetModifiedFlag(!whole);
    DrawingChanged();
    return TRUE;
}

BOOL CSkorelDoc::InsertFile(const char* lpszPathName)
{
    CDrawingContents contents;
    if (!ReadFile(lpszPathName, contents))
        return FALSE;
    AddContents(std::move(contents));
    return TRUE;
}

void CSkorelDoc::OnFileInsert()
{
    if (const std::optional<std::string> path = AskInsertFile())
        InsertFile(path->c_str());
}

void CSkorelDoc::TakeRecovered(CDrawingJournal::Drawing drawing)
{
    CDrawingContents contents;
    contents.records = std::move(drawing.records);
    contents.picture = std::move(drawing.picture);
    TakeContents(std::move(contents));
    if (!drawing.name.empty())
        CDocument::SetPathName(drawing.name.c_str());
    SetModifiedFlag(TRUE);
    DrawingChanged();
}

void CSkorelDoc::KeptInFile()
{
    m_undo.SetClean();
    SetModifiedFlag(FALSE);
    DrawingChanged();
}

BOOL CSkorelDoc::IsModified() const { return CDocument::IsModified() || !m_undo.IsClean(); }

BOOL CSkorelDoc::SaveModified()
{
    if (!IsModified())
        return TRUE;
    switch (AskKeepDrawing()) {
    case IDYES:
        return SaveAs(SkorelFile::Drawing, true);
    case IDNO:
        return TRUE;
    default:
        return FALSE;
    }
}
