// The document's files: the archive form, drawings, pictures, and what is asked before a
// drawing is lost.
#include "SkorelDoc.h"

#include "res/resource.h"

#include "framework/ByteOrder.h"
#include "framework/Commands.h"
#include "framework/Error.h"
#include "framework/File.h"
#include "framework/FileDialog.h"
#include "framework/MessageBox.h"
#include "framework/Resource.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int kListBlockSize = 10;
constexpr std::uint64_t kRecordBytes = 32;

// What a file holds, judged by more than its first bytes: a drawing's count says exactly how
// long its records are, and what follows them is nothing or a BMP file.
struct FileKind {
    enum Kind { Drawing, Picture, Other } kind = Other;
    std::uint64_t pictureOffset = 0; // a drawing's picture, when it has one
};

FileKind Examine(const char* lpszPathName)
{
    CFileHandle file;
    std::uint64_t length = 0;
    BYTE head[4] = {};
    if (!file.Open(lpszPathName, CFileHandle::Mode::ReadExisting) || !file.Length(length))
        return {};
    const std::size_t got = file.Read(head, sizeof head);
    const auto count = std::int32_t(std::uint32_t(head[0]) | std::uint32_t(head[1]) << 8 |
                                    std::uint32_t(head[2]) << 16 | std::uint32_t(head[3]) << 24);
    if (got == sizeof head && count >= 0) {
        const std::uint64_t records = 4 + kRecordBytes * std::uint64_t(count);
        BYTE magic[2] = {};
        if (length == records)
            return {FileKind::Drawing, 0};
        if (length > records + 2 && file.Seek(records) && file.Read(magic, 2) == 2 &&
            magic[0] == 'B' && magic[1] == 'M')
            return {FileKind::Drawing, records};
    }
    if (got >= 2 && head[0] == 'B' && head[1] == 'M')
        return {FileKind::Picture};
    return {};
}

bool EndsWithNoCase(const std::string& name, const std::string& tail)
{
    return name.size() >= tail.size() &&
           std::equal(tail.begin(), tail.end(), name.end() - std::ptrdiff_t(tail.size()),
                      [](char a, char b) { return std::tolower(a) == std::tolower(b); });
}

// A name that says its type: .skr a drawing, .bmp a picture; else the type chosen.
SkorelFile TypeOfName(const std::string& name, SkorelFile chosen)
{
    if (EndsWithNoCase(name, ".skr"))
        return SkorelFile::Drawing;
    if (EndsWithNoCase(name, ".bmp"))
        return SkorelFile::Picture;
    return chosen;
}

} // namespace

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
}

CSkorelDoc::~CSkorelDoc() = default;

bool CSkorelDoc::ReadRecords(CArchive& ar, std::vector<std::unique_ptr<CData>>& records)
{
    if (ar.BytesLeft() < 4)
        return false;
    std::int32_t count = 0;
    ar >> count;
    if (count > 0 && std::uint64_t(count) > ar.BytesLeft() / kRecordBytes)
        return false;
    records.reserve(records.size() + std::size_t(std::max(count, 0)));
    for (std::int32_t i = 0; i < count; ++i) {
        records.push_back(std::make_unique<CData>());
        records.back()->Serialize(ar);
    }
    return true;
}

void CSkorelDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << std::int32_t(m_shapeList.GetCount());
        for (POSITION pos = m_shapeList.GetHeadPosition(); pos;)
            m_shapeList.GetNext(pos)->Serialize(ar);
        return;
    }
    std::vector<std::unique_ptr<CData>> loaded;
    if (!ReadRecords(ar, loaded))
        throw CArchiveException(CArchiveException::endOfFile, "records beyond the data");
    if (!loaded.empty())
        AddShapes(std::move(loaded), false);
}

BOOL CSkorelDoc::OnNewDoc() { return CDocument::OnNewDoc(); }

BOOL CSkorelDoc::OnOpenDoc(const char* lpszPathName)
{
    const FileKind file = Examine(lpszPathName);
    if (file.kind == FileKind::Picture)
        return OpenPicture(lpszPathName);
    if (!CDocument::OnOpenDoc(lpszPathName))
        return FALSE;
    // The records are in; the picture is the drawing's own, or none.
    auto pImage = std::make_unique<CBaseImage>();
    if (file.pictureOffset && !pImage->LoadBMP(lpszPathName, file.pictureOffset)) {
        AfxFileMessageBox(lpszPathName, res::LoadString(IDS_BAD_PICTURE), 0);
    } else {
        m_pImage = std::move(pImage);
        UpdateAllViews(nullptr); // a new picture under everything
    }
    if (file.kind == FileKind::Drawing)
        m_undo.SetClean();
    return TRUE;
}

BOOL CSkorelDoc::OpenPicture(const char* lpszPathName)
{
    auto pImage = std::make_unique<CBaseImage>();
    if (!pImage->LoadBMP(lpszPathName) || !pImage->m_pBits) {
        AfxFileMessageBox(lpszPathName, res::LoadString(IDS_BAD_PICTURE), 0);
        return FALSE;
    }
    DeleteContents();
    m_pImage = std::move(pImage);
    UpdateAllViews(nullptr); // a new picture under everything
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CSkorelDoc::OnSaveDoc(const char* lpszPathName)
{
    SetLastError(0);
    if (!lpszPathName || !*lpszPathName)
        return FALSE;
    if (TypeOfName(lpszPathName, m_saveType) == SkorelFile::Drawing)
        return WriteDrawing(lpszPathName);
    // A null path would make the image write over the file it was loaded from.
    if (!m_pImage || !m_pImage->m_pBits)
        return FALSE;
    return m_pImage->SaveBMP(lpszPathName);
}

BOOL CSkorelDoc::WriteDrawing(const char* lpszPathName)
{
    std::vector<BYTE> records;
    CArchive ar(records, CArchive::store);
    Serialize(ar);
    CFileReplacement file;
    const bool picture = m_pImage && m_pImage->m_pBits;
    if (!file.Open(lpszPathName) || !file.Write(records.data(), records.size()) ||
        (picture && !m_pImage->WriteTo(file)) || !file.Commit())
        return FALSE;
    m_undo.SetClean();
    return TRUE;
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
        return SaveAs(SkorelFile::Drawing);
    case IDNO:
        return TRUE;
    default:
        return FALSE;
    }
}

void CSkorelDoc::OnFileSaveAs() { SaveAs(SkorelFile::Picture); }

BOOL CSkorelDoc::SaveAs(SkorelFile type)
{
    const std::string& initial = GetPathName().empty() ? GetTitle() : GetPathName();
    // A name typed without an extension gets the chosen type's.
    CFileDialog dlg(FALSE, "bmp", initial.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    res::LoadString(IDS_SAVE_AS_FILTER));
    dlg.SetFilterIndex(type == SkorelFile::Drawing ? 2 : 1);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    m_saveType = dlg.GetFilterIndex() == 2 ? SkorelFile::Drawing : SkorelFile::Picture;
    const BOOL saved = DoSave(dlg.GetPathName().c_str());
    m_saveType = SkorelFile::Picture;
    return saved;
}
