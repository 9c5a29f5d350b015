// The document: the shape records in drawing order, the selection frame, and the picture
// last opened. The view reaches the three members directly.
#pragma once

#include "framework/Document.h"
#include "framework/ObList.h"
#include "framework/RectTracker.h"
#include "image/BaseImage.h"
#include "shapes/Data.h"

#include <memory>

class CSkorelDoc : public CDocument {
    DECLARE_DYNCREATE(CSkorelDoc)
public:
    // The frame starts with a hatched border and handles outside (style 20), away from the
    // canvas; there is no picture.
    CSkorelDoc();
    ~CSkorelDoc() override;

    // The archive form: a signed 32-bit count, then that many 32-byte records head to tail.
    // Loading appends the records after those already there, all of them or, when the data
    // runs out (or the count is more than it can hold), none.
    void Serialize(CArchive& ar) override;
    // Keeps the shapes and the picture: only the framework's new step runs.
    BOOL OnNewDoc() override;
    // A file that starts with "BM" is a picture: it replaces the picture when the image reads
    // it, and otherwise fails with a message, leaving the document as it was. Any other file
    // is read as the archive (records appended) and leaves an empty picture.
    BOOL OnOpenDoc(const char* lpszPathName) override;
    // Writes the picture as a BMP file; FALSE when there is no picture with pixels to write
    // or the write fails.
    BOOL OnSaveDoc(const char* lpszPathName) override;

    CTypedOwningList<CData> m_shapeList;
    CResizeTracker m_tracker;
    std::unique_ptr<CBaseImage> m_pImage;

private:
    BOOL OpenPicture(const char* lpszPathName);
};

// Shown when a file that starts like a BMP file can't be read as a picture.
constexpr const char* SKOREL_MSG_BAD_PICTURE =
    "그림 파일을 열 수 없습니다. BMP 파일이 손상되었거나 지원하지 않는 형식입니다.";
