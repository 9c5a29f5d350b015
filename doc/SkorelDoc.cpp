#include "SkorelDoc.h"

#include "framework/File.h"
#include "framework/MessageBox.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int kListBlockSize = 10;
constexpr std::uint64_t kRecordBytes = 32;

// Whether the file begins with the BMP magic "BM"; false when it can't be read.
bool StartsLikeBmp(const char* lpszPathName)
{
    CFileHandle file;
    char magic[2] = {};
    return file.Open(lpszPathName, CFileHandle::Mode::ReadExisting) && file.Read(magic, 2) == 2 &&
           magic[0] == 'B' && magic[1] == 'M';
}

} // namespace

IMPLEMENT_DYNCREATE(CSkorelDoc, CDocument)

CSkorelDoc::CSkorelDoc() : m_shapeList(kListBlockSize)
{
    m_tracker.m_nStyle = CResizeTracker::hatchedBorder | CResizeTracker::resizeOutside;
}

CSkorelDoc::~CSkorelDoc() = default;

void CSkorelDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << std::int32_t(m_shapeList.GetCount());
        for (POSITION pos = m_shapeList.GetHeadPosition(); pos;)
            m_shapeList.GetNext(pos)->Serialize(ar);
        return;
    }
    std::int32_t count = 0;
    ar >> count;
    if (count > 0 && std::uint64_t(count) > ar.BytesLeft() / kRecordBytes)
        throw CArchiveException(CArchiveException::endOfFile, "count beyond the data");
    // Nothing is appended unless every record was read.
    std::vector<std::unique_ptr<CData>> loaded;
    loaded.reserve(std::size_t(count > 0 ? count : 0));
    for (std::int32_t i = 0; i < count; ++i) {
        loaded.push_back(std::make_unique<CData>());
        loaded.back()->Serialize(ar);
    }
    for (std::unique_ptr<CData>& pData : loaded)
        m_shapeList.AddTail(std::move(pData));
}

BOOL CSkorelDoc::OnNewDoc() { return CDocument::OnNewDoc(); }

BOOL CSkorelDoc::OnOpenDoc(const char* lpszPathName)
{
    if (StartsLikeBmp(lpszPathName))
        return OpenPicture(lpszPathName);
    if (!CDocument::OnOpenDoc(lpszPathName))
        return FALSE;
    // An archive holds no picture: what is left is a picture object without pixels.
    m_pImage = std::make_unique<CBaseImage>();
    return TRUE;
}

BOOL CSkorelDoc::OpenPicture(const char* lpszPathName)
{
    auto pImage = std::make_unique<CBaseImage>();
    if (!pImage->LoadBMP(lpszPathName) || !pImage->m_pBits) {
        AfxMessageBox((std::string(lpszPathName) + "\n\n" + SKOREL_MSG_BAD_PICTURE).c_str(),
                      MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    DeleteContents();
    m_pImage = std::move(pImage);
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CSkorelDoc::OnSaveDoc(const char* lpszPathName)
{
    // A null path would make the image write over the file it was loaded from.
    if (!lpszPathName || !*lpszPathName || !m_pImage || !m_pImage->m_pBits)
        return FALSE;
    return m_pImage->SaveBMP(lpszPathName);
}
