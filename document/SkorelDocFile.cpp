// The document's files: the archive form, drawings and pictures read and written, and the
// Save As dialog.
#include "SkorelDoc.h"

#include "res/resource.h"
#include "shapes/Shape.h"

#include "framework/core/ByteOrder.h"
#include "framework/core/Error.h"
#include "framework/core/File.h"
#include "framework/core/Resource.h"
#include "framework/window/FileDialog.h"
#include "framework/window/MessageBox.h"
#include "framework/window/ProgressDialog.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <functional>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace {

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
    std::uint32_t version = 0; // a drawing's; 0 before the signature
    bool drawing = false;      // the count says exactly how long the records are, and what follows
                               // them is nothing or a BMP file
    bool picture = false;      // starts as a BMP file does and is not named as a drawing
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

// Looks at the open file from its start.
FileKind Examine(CFileHandle& file, const char* lpszPathName)
{
    FileKind kind;
    std::uint64_t length = 0;
    BYTE head[kSignatureBytes] = {};
    if (!file.Length(length) || !file.Seek(0) || file.Read(head, sizeof head) < 2)
        return kind;
    if (length >= kSignatureBytes && std::equal(std::begin(CSkorelDoc::kDrawingSignature),
                                                std::end(CSkorelDoc::kDrawingSignature), head)) {
        // A later version's drawing is not ours to read.
        kind.version = LoadLE32(head + 4);
        if (kind.version >= 1 && kind.version <= CSkorelDoc::kDrawingVersion)
            FindDrawing(file, length, kSignatureBytes, kind);
        return kind;
    }
    FindDrawing(file, length, 0, kind);
    // A picture can also read as a drawing of at least 19,778 records; its name decides.
    kind.picture =
        head[0] == 'B' && head[1] == 'M' && !(kind.drawing && EndsWithNoCase(lpszPathName, ".skr"));
    return kind;
}

// Reading a picture takes a while for a large one: it runs off the window's thread, with a
// progress dialog after a moment. FALSE when the user stopped it.
bool WithProgress(const std::function<void(CProgress&)>& read)
{
    return AfxRunWithProgress(res::LoadString(IDS_READING_PICTURE), read) != FALSE;
}

enum class Outcome { Read, Failed, Stopped };

// A BMP file at `offset`, without a message.
Outcome ReadBmp(CFileHandle& file, const char* lpszPathName, std::uint64_t offset,
                std::unique_ptr<CBaseImage>& picture)
{
    auto pImage = std::make_unique<CBaseImage>();
    bool read = false;
    if (!WithProgress([&](CProgress&) { read = pImage->LoadBMP(file, lpszPathName, offset); }))
        return Outcome::Stopped;
    if (!read || !pImage->m_pBits)
        return Outcome::Failed;
    picture = std::move(pImage);
    return Outcome::Read;
}

// A picture of a format other than BMP, through the picture reader.
BOOL ReadPicture(CFileHandle& file, const char* lpszPathName, CDrawingContents& contents)
{
    auto pImage = std::make_unique<CBaseImage>();
    auto result = CPictureReader::Result::NotPicture;
    if (!WithProgress([&](CProgress& progress) {
            result = pImage->LoadPicture(file, lpszPathName, &progress);
        }))
        return FALSE; // stopped: nothing to say
    switch (result) {
    case CPictureReader::Result::Read:
        contents.picture = std::move(pImage);
        return TRUE;
    case CPictureReader::Result::Cancelled:
        return FALSE;
    case CPictureReader::Result::Refused:
        AfxFileMessageBox(lpszPathName, res::LoadString(IDS_BAD_PICTURE), 0);
        return FALSE;
    case CPictureReader::Result::NotPicture:
        break;
    }
    AfxFileMessageBox(lpszPathName, res::LoadString(AFX_IDP_FAILED_TO_READ_DOC), 0);
    return FALSE;
}

// A drawing's records, then its picture, if it has one.
BOOL ReadDrawingFile(CFileHandle& file, const char* lpszPathName, const FileKind& kind,
                     CDrawingContents& contents)
{
    const auto read = [&contents](CArchive& ar) {
        if (!CSkorelDoc::ReadRecords(ar, contents.records))
            throw CArchiveException(CArchiveException::endOfFile, "records beyond the data");
    };
    if (!CDocument::ReadArchive(file, lpszPathName, kind.recordsOffset, read))
        return FALSE;
    if (kind.version < 2)
        CSkorelDoc::FillAsVersion1(contents.records);
    if (!kind.pictureOffset)
        return TRUE;
    switch (ReadBmp(file, lpszPathName, kind.pictureOffset, contents.picture)) {
    case Outcome::Read:
        return TRUE;
    case Outcome::Stopped:
        return FALSE;
    case Outcome::Failed:
        break;
    }
    AfxFileMessageBox(lpszPathName, res::LoadString(IDS_BAD_PICTURE), 0);
    contents.whole = false;
    return TRUE;
}

BOOL ReadKnownFile(const char* lpszPathName, CDrawingContents& contents)
{
    // One open file for everything that follows: what was checked is what is read.
    CFileHandle file;
    if (!file.Open(lpszPathName, CFileHandle::Mode::ReadExisting)) {
        AfxFileMessageBox(lpszPathName, res::LoadString(AFX_IDP_FAILED_TO_OPEN_DOC),
                          GetLastError());
        return FALSE;
    }
    const FileKind kind = Examine(file, lpszPathName);
    if (kind.picture) {
        const Outcome bmp = ReadBmp(file, lpszPathName, 0, contents.picture);
        if (bmp != Outcome::Failed)
            return bmp == Outcome::Read;
        if (!kind.drawing) {
            AfxFileMessageBox(lpszPathName, res::LoadString(IDS_BAD_PICTURE), 0);
            return FALSE;
        }
    }
    if (kind.drawing)
        return ReadDrawingFile(file, lpszPathName, kind, contents);
    return ReadPicture(file, lpszPathName, contents);
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
    const bool hollow =
        std::ranges::any_of(records, [](const CData* pData) { return IsHollow(*pData); });
    ar << std::uint32_t(hollow ? 2 : 1);
    StoreRecords(ar, records);
}

bool CSkorelDoc::ReadDrawing(CArchive& ar, std::vector<std::unique_ptr<CData>>& records)
{
    std::uint32_t signature = 0, version = 0;
    if (ar.BytesLeft() < kSignatureBytes)
        return false;
    ar >> signature >> version;
    if (signature != LoadLE32(kDrawingSignature) || version < 1 || version > kDrawingVersion ||
        !ReadRecords(ar, records))
        return false;
    if (version < 2)
        FillAsVersion1(records);
    return true;
}

void CSkorelDoc::FillAsVersion1(std::vector<std::unique_ptr<CData>>& records)
{
    for (const std::unique_ptr<CData>& pData : records)
        if (pData->m_crFill == kNoFill)
            pData->m_crFill = RGB(255, 255, 255);
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

BOOL CSkorelDoc::ReadFile(const char* lpszPathName, CDrawingContents& contents)
{
    try {
        return ReadKnownFile(lpszPathName, contents);
    } catch (const std::bad_alloc&) {
        contents = CDrawingContents();
        AfxFileMessageBox(lpszPathName, res::LoadString(AFX_IDP_FAILED_TO_READ_DOC),
                          ERROR_NOT_ENOUGH_MEMORY_FOR_FILE);
        return FALSE;
    }
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
