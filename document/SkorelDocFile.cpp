// The document's files: drawings and pictures read and written through the drawing file and
// the image, and the Save As dialog.
#include "SkorelDoc.h"

#include "DrawingFile.h"
#include "FileDialogs.h"
#include "FileFilters.h"

#include "res/resource.h"

#include "framework/core/Error.h"
#include "framework/core/File.h"
#include "framework/core/Resource.h"
#include "framework/window/MessageBox.h"
#include "framework/window/ProgressDialog.h"

#include <cstdint>
#include <functional>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace {

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
BOOL ReadDrawingFile(CFileHandle& file, const char* lpszPathName, const skr::FileKind& kind,
                     CDrawingContents& contents)
{
    const auto read = [&contents](CArchive& ar) {
        if (!skr::ReadRecords(ar, contents.records))
            throw CArchiveException(CArchiveException::endOfFile, "records beyond the data");
    };
    if (!CDocument::ReadArchive(file, lpszPathName, kind.recordsOffset, read))
        return FALSE;
    if (kind.version < 2)
        skr::FillAsVersion1(contents.records);
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
    const skr::FileKind kind = skr::Examine(file, lpszPathName);
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

void CSkorelDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        skr::StoreRecords(ar, Records());
        return;
    }
    std::vector<std::unique_ptr<CData>> loaded;
    if (!skr::ReadRecords(ar, loaded))
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
    if (TypeOfName(lpszPathName, m_saveType) == SkorelFile::Drawing) {
        if (!skr::WriteDrawing(lpszPathName, Records(), m_pImage.get()))
            return FALSE;
        KeptInFile();
        return TRUE;
    }
    // A null path would make the image write over the file it was loaded from.
    if (!m_pImage || !m_pImage->m_pBits || !m_pImage->SaveBMP(lpszPathName))
        return FALSE;
    // Without shapes the picture file holds the whole document.
    if (m_shapeList.IsEmpty())
        KeptInFile();
    return TRUE;
}

void CSkorelDoc::OnFileSaveAs() { SaveAs(SkorelFile::Picture, false); }

BOOL CSkorelDoc::SaveAs(SkorelFile type, bool bDrawingOnly)
{
    const std::optional<CSaveChoice> choice =
        AskSaveAs(GetPathName().empty() ? GetTitle() : GetPathName(), type, bDrawingOnly);
    if (!choice)
        return FALSE;
    m_saveType = choice->type;
    const BOOL saved = DoSave(choice->path.c_str());
    m_saveType = SkorelFile::Picture;
    return saved;
}
