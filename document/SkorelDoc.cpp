// The document's files: the archive form, drawings, pictures, and what is asked before a
// drawing is lost.
#include "SkorelDoc.h"

#include "res/resource.h"

#include "framework/core/ByteOrder.h"
#include "framework/core/Commands.h"
#include "framework/core/Error.h"
#include "framework/core/File.h"
#include "framework/core/Resource.h"
#include "framework/window/FileDialog.h"
#include "framework/window/MessageBox.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kListBlockSize = 10;

// The bytes of a drawing's signature and version.
constexpr std::uint64_t kSignatureBytes = 8;

bool EndsWithNoCase(const std::string& name, const std::string& tail)
{
    return name.size() >= tail.size() &&
           std::equal(tail.begin(), tail.end(), name.end() - std::ptrdiff_t(tail.size()),
                      [](char a, char b) { return std::tolower(a) == std::tolower(b); });
}

// What a file holds, judged by more than its first bytes.
struct FileKind {
    bool opened = false;  // else the last error says why it could not be opened
    bool drawing = false; // the count says exactly how long the records are, and what follows
                          // them is nothing or a BMP file
    bool picture = false; // starts as a BMP file does and is not named as a drawing
    std::uint64_t recordsOffset = 0; // where a drawing's count is
    std::uint64_t pictureOffset = 0; // a drawing's picture, when it has one
};

// Whether the archive form at `at` runs exactly to the end of the file or to a BMP file.
bool FindDrawing(CFileHandle& file, std::uint64_t length, std::uint64_t at, FileKind& kind)
{
    BYTE head[4] = {};
    if (!file.Seek(at) || file.Read(head, sizeof head) != sizeof head)
        return false;
    const auto count = std::int32_t(LoadLE32(head));
    if (count < 0)
        return false;
    const std::uint64_t end = at + 4 + CData::kArchiveBytes * std::uint64_t(count);
    BYTE magic[2] = {};
    if (length == end) {
        kind.drawing = true;
    } else if (length > end + 2 && file.Seek(end) && file.Read(magic, 2) == 2 && magic[0] == 'B' &&
               magic[1] == 'M') {
        kind.drawing = true;
        kind.pictureOffset = end;
    }
    kind.recordsOffset = at;
    return kind.drawing;
}

FileKind Examine(const char* lpszPathName)
{
    FileKind kind;
    CFileHandle file;
    std::uint64_t length = 0;
    if (!file.Open(lpszPathName, CFileHandle::Mode::ReadExisting))
        return kind;
    kind.opened = true;
    BYTE head[kSignatureBytes] = {};
    if (!file.Length(length) || file.Read(head, sizeof head) < 2)
        return kind;
    if (length >= kSignatureBytes && std::equal(std::begin(CSkorelDoc::kDrawingSignature),
                                                std::end(CSkorelDoc::kDrawingSignature), head)) {
        // A later version's drawing is not ours to read.
        if (LoadLE32(head + 4) == CSkorelDoc::kDrawingVersion)
            FindDrawing(file, length, kSignatureBytes, kind);
        return kind;
    }
    FindDrawing(file, length, 0, kind);
    // A picture can also read as a drawing of at least 19,778 records; its name decides.
    kind.picture =
        head[0] == 'B' && head[1] == 'M' && !(kind.drawing && EndsWithNoCase(lpszPathName, ".skr"));
    return kind;
}

} // namespace

SkorelFile TypeOfName(const std::string& name, SkorelFile chosen)
{
    if (EndsWithNoCase(name, ".skr"))
        return SkorelFile::Drawing;
    if (EndsWithNoCase(name, ".bmp"))
        return SkorelFile::Picture;
    return chosen;
}

std::string NamedAs(const std::string& name, SkorelFile type)
{
    const std::size_t slash = name.rfind('/');
    const std::size_t dot = name.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && dot > (slash == std::string::npos ? 0 : slash + 1);
    return (hasExtension ? name.substr(0, dot) : name) +
           (type == SkorelFile::Drawing ? ".skr" : ".bmp");
}

IMPLEMENT_DYNCREATE(CSkorelDoc, CDocument)

BEGIN_MESSAGE_MAP(CSkorelDoc, CDocument)
ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
ON_COMMAND(ID_EDIT_REDO, OnEditRedo)
ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateEditRedo)
END_MESSAGE_MAP()

CSkorelDoc::CSkorelDoc() : m_shapeList(kListBlockSize)
{
    m_tracker.m_nStyle = CResizeTracker::hatchedBorder | CResizeTracker::resizeOutside;
    m_undo.SetChangeHandler([this] { UpdateRecovery(); });
}

// A document is destroyed only when the user has decided what becomes of its changes; a
// process that ends otherwise leaves its recovery copy behind.
CSkorelDoc::~CSkorelDoc() { DropRecovery(); }

void CSkorelDoc::KeepRecoveryAt(const std::string& path)
{
    m_pRecovery = std::make_unique<CDrawingJournal>(path);
    UpdateRecovery();
}

void CSkorelDoc::DropRecovery()
{
    if (m_pRecovery)
        m_pRecovery->Stop();
}

void CSkorelDoc::UpdateRecovery()
{
    if (!m_pRecovery)
        return;
    if (!IsModified())
        m_pRecovery->Stop();
    else
        m_pRecovery->Keep(GetPathName(), m_shapeList, m_pImage);
}

void CSkorelDoc::SetPathName(const char* lpszPathName)
{
    CDocument::SetPathName(lpszPathName);
    UpdateRecovery();
}

void CSkorelDoc::TakeRecovered(CDrawingJournal::Drawing drawing)
{
    m_shapeList.RemoveAll();
    for (std::unique_ptr<CData>& pData : drawing.records)
        m_shapeList.AddTail(std::move(pData));
    m_pImage = std::move(drawing.picture);
    if (!drawing.name.empty())
        CDocument::SetPathName(drawing.name.c_str());
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
    UpdateRecovery();
}

bool CSkorelDoc::ReadRecords(CArchive& ar, std::vector<std::unique_ptr<CData>>& records)
{
    if (ar.BytesLeft() < 4)
        return false;
    std::int32_t count = 0;
    ar >> count;
    if (count > 0 && std::uint64_t(count) > ar.BytesLeft() / CData::kArchiveBytes)
        return false;
    records.reserve(records.size() + std::size_t(std::max(count, 0)));
    for (std::int32_t i = 0; i < count; ++i) {
        records.push_back(std::make_unique<CData>());
        records.back()->Serialize(ar);
    }
    return true;
}

void CSkorelDoc::StoreRecords(CArchive& ar, const std::vector<CData*>& records)
{
    ar << std::int32_t(records.size());
    for (CData* pData : records)
        pData->Serialize(ar);
}

void CSkorelDoc::StoreDrawing(std::vector<BYTE>& bytes, const std::vector<CData*>& records)
{
    bytes.insert(bytes.end(), std::begin(kDrawingSignature), std::end(kDrawingSignature));
    CArchive ar(bytes, CArchive::store);
    ar << kDrawingVersion;
    StoreRecords(ar, records);
}

bool CSkorelDoc::ReadDrawing(CArchive& ar, std::vector<std::unique_ptr<CData>>& records)
{
    std::uint32_t signature = 0, version = 0;
    if (ar.BytesLeft() < kSignatureBytes)
        return false;
    ar >> signature >> version;
    return signature == LoadLE32(kDrawingSignature) && version == kDrawingVersion &&
           ReadRecords(ar, records);
}

std::vector<CData*> CSkorelDoc::Records()
{
    std::vector<CData*> records;
    records.reserve(std::size_t(m_shapeList.GetCount()));
    for (POSITION pos = m_shapeList.GetHeadPosition(); pos;)
        records.push_back(m_shapeList.GetNext(pos));
    return records;
}

void CSkorelDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        StoreRecords(ar, Records());
        return;
    }
    std::vector<std::unique_ptr<CData>> loaded;
    if (!ReadRecords(ar, loaded))
        throw CArchiveException(CArchiveException::endOfFile, "records beyond the data");
    if (!loaded.empty())
        AddShapes(std::move(loaded), false);
}

BOOL CSkorelDoc::OnNewDoc()
{
    // New keeps the shapes and the picture, and with them whether they are kept in a file.
    const BOOL modified = CDocument::IsModified();
    if (!CDocument::OnNewDoc())
        return FALSE;
    SetModifiedFlag(modified);
    UpdateRecovery();
    return TRUE;
}

BOOL CSkorelDoc::OnOpenDoc(const char* lpszPathName)
{
    const BOOL opened = OpenFile(lpszPathName);
    UpdateRecovery();
    return opened;
}

BOOL CSkorelDoc::OpenFile(const char* lpszPathName)
{
    const FileKind file = Examine(lpszPathName);
    if (!file.opened) {
        AfxFileMessageBox(lpszPathName, res::LoadString(AFX_IDP_FAILED_TO_OPEN_DOC),
                          GetLastError());
        return FALSE;
    }
    if (file.picture) {
        auto pImage = std::make_unique<CBaseImage>();
        if (pImage->LoadBMP(lpszPathName) && pImage->m_pBits) {
            TakePicture(std::move(pImage));
            // The document is the file only when no shape lies over its picture.
            SetModifiedFlag(!m_shapeList.IsEmpty());
            return TRUE;
        }
        if (!file.drawing) {
            AfxFileMessageBox(lpszPathName, res::LoadString(IDS_BAD_PICTURE), 0);
            return FALSE;
        }
    }
    if (file.drawing)
        return OpenDrawing(lpszPathName, file.recordsOffset, file.pictureOffset);
    return OpenPicture(lpszPathName);
}

BOOL CSkorelDoc::OpenPicture(const char* lpszPathName)
{
    auto pImage = std::make_unique<CBaseImage>();
    switch (pImage->LoadPicture(lpszPathName)) {
    case CPictureReader::Result::Read:
        TakePicture(std::move(pImage));
        SetModifiedFlag(!m_shapeList.IsEmpty());
        return TRUE;
    case CPictureReader::Result::Refused:
        AfxFileMessageBox(lpszPathName, res::LoadString(IDS_BAD_PICTURE), 0);
        return FALSE;
    case CPictureReader::Result::NotPicture:
        break;
    }
    AfxFileMessageBox(lpszPathName, res::LoadString(AFX_IDP_FAILED_TO_READ_DOC), 0);
    return FALSE;
}

BOOL CSkorelDoc::OpenDrawing(const char* lpszPathName, std::uint64_t recordsOffset,
                             std::uint64_t pictureOffset)
{
    const bool drawnBefore = !m_shapeList.IsEmpty();
    if (!ReadArchive(lpszPathName, recordsOffset, [this](CArchive& ar) { Serialize(ar); }))
        return FALSE;
    // The picture is the drawing's own, or none.
    auto pImage = std::make_unique<CBaseImage>();
    const bool pictureRead = !pictureOffset || pImage->LoadBMP(lpszPathName, pictureOffset);
    // The document is the file only when nothing was drawn before and all of it was read.
    const bool whole = !drawnBefore && pictureRead;
    if (pictureRead)
        TakePicture(std::move(pImage));
    else
        AfxFileMessageBox(lpszPathName, res::LoadString(IDS_BAD_PICTURE), 0);
    if (whole)
        m_undo.SetClean();
    SetModifiedFlag(!whole);
    return TRUE;
}

void CSkorelDoc::TakePicture(std::unique_ptr<CBaseImage> pImage)
{
    m_pImage = std::move(pImage);
    UpdateAllViews(nullptr); // a new picture under everything
}

BOOL CSkorelDoc::OnSaveDoc(const char* lpszPathName)
{
    SetLastError(0);
    if (!lpszPathName || !*lpszPathName)
        return FALSE;
    if (TypeOfName(lpszPathName, m_saveType) == SkorelFile::Drawing)
        return WriteDrawing(lpszPathName);
    // A null path would make the image write over the file it was loaded from.
    if (!m_pImage || !m_pImage->m_pBits || !m_pImage->SaveBMP(lpszPathName))
        return FALSE;
    // Without shapes the picture file holds the whole document.
    if (m_shapeList.IsEmpty())
        KeptInFile();
    return TRUE;
}

BOOL CSkorelDoc::WriteDrawing(const char* lpszPathName)
{
    std::vector<BYTE> head;
    StoreDrawing(head, Records());
    CFileReplacement file;
    const bool picture = m_pImage && m_pImage->m_pBits;
    if (!file.Open(lpszPathName) || !file.Write(head.data(), head.size()) ||
        (picture && !m_pImage->WriteTo(file)) || !file.Commit())
        return FALSE;
    KeptInFile();
    return TRUE;
}

void CSkorelDoc::KeptInFile()
{
    m_undo.SetClean();
    SetModifiedFlag(FALSE);
    UpdateRecovery();
}

BOOL CSkorelDoc::IsModified() const { return CDocument::IsModified() || !m_undo.IsClean(); }

BOOL CSkorelDoc::SaveModified() { return TRUE; }

BOOL CSkorelDoc::CanCloseFrame(CFrameWnd*)
{
    if (!IsModified())
        return TRUE;
    switch (
        AfxMessageBox(res::LoadString(IDS_SAVE_DRAWING_PROMPT), MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return SaveAs(SkorelFile::Drawing, true);
    case IDNO:
        return TRUE;
    default:
        return FALSE;
    }
}

void CSkorelDoc::OnFileSaveAs() { SaveAs(SkorelFile::Picture, false); }

BOOL CSkorelDoc::SaveAs(SkorelFile type, bool bDrawingOnly)
{
    const std::string initial = GetPathName().empty() ? GetTitle() : GetPathName();
    // A name typed without an extension gets the chosen type's.
    CFileDialog dlg(FALSE, "bmp", NamedAs(initial, type).c_str(),
                    OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    res::LoadString(bDrawingOnly ? IDS_SAVE_DRAWING_FILTER : IDS_SAVE_AS_FILTER));
    const int drawingIndex = bDrawingOnly ? 1 : 2;
    dlg.SetFilterIndex(type == SkorelFile::Drawing ? drawingIndex : 1);
    // The shapes never go into a picture file by mistake.
    dlg.SetNameCheck(
        [drawingIndex](const std::string& path, int nFilterIndex) -> std::optional<CNameRefusal> {
            if (nFilterIndex != drawingIndex ||
                TypeOfName(path, SkorelFile::Drawing) == SkorelFile::Drawing)
                return std::nullopt;
            return CNameRefusal{res::LoadString(IDS_DRAWING_NOT_PICTURE),
                                NamedAs(path, SkorelFile::Drawing)};
        });
    if (dlg.DoModal() != IDOK)
        return FALSE;
    m_saveType = dlg.GetFilterIndex() == drawingIndex ? SkorelFile::Drawing : SkorelFile::Picture;
    const BOOL saved = DoSave(dlg.GetPathName().c_str());
    m_saveType = SkorelFile::Picture;
    return saved;
}
