#include "ShapeClipboard.h"

#include "document/DrawingFile.h"
#include "shapes/DrawTool.h"
#include "shapes/Shape.h"

#include "res/resource.h"

#include "framework/core/Resource.h"
#include "framework/window/Clipboard.h"
#include "framework/window/MessageBox.h"
#include "framework/window/ProgressDialog.h"

#include <algorithm>

namespace {

constexpr const char* kShapesMimeType = "application/x-skorel-shapes";
// Pasting the same shapes again moves each copy this much further right and down.
constexpr int kPasteShift = 10;
// The clipboard's picture is cut at this size, whatever the shapes' extent.
constexpr int kMaxPictureSide = 4096;

void Shift(CData& data, std::int64_t dx, std::int64_t dy)
{
    data.m_ptStart = Shifted(data.m_ptStart, dx, dy);
    data.m_ptEnd = Shifted(data.m_ptEnd, dx, dy);
}

// The records on white, cut to where they draw.
void DrawPicture(const std::vector<CData*>& records, CBitmap& picture)
{
    CRect bounds;
    for (const CData* pData : records)
        GrowToShape(bounds, *pData);
    const int width =
        int(std::min<std::int64_t>(std::int64_t(bounds.right) - bounds.left, kMaxPictureSide));
    const int height =
        int(std::min<std::int64_t>(std::int64_t(bounds.bottom) - bounds.top, kMaxPictureSide));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    picture.CreateCompatibleBitmap(&dc, width, height);
    dc.SelectObject(&picture);
    dc.FillSolidRect(0, 0, width, height, RGB(255, 255, 255));
    CDrawTool tool;
    for (const CData* pData : records) {
        CData moved = *pData;
        Shift(moved, -std::int64_t(bounds.left), -std::int64_t(bounds.top));
        tool.DrawShape(&dc, &moved);
    }
}

} // namespace

bool CShapeClipboard::CanPaste()
{
    return CClipboard::HasData(kShapesMimeType) || CClipboard::HasPicture();
}

void CShapeClipboard::Copy(const std::vector<CData*>& records)
{
    if (records.empty())
        return;
    std::vector<BYTE> bytes;
    CArchive ar(bytes, CArchive::store);
    skr::StoreRecords(ar, records);
    CBitmap picture;
    DrawPicture(records, picture);
    CClipboard::SetData(kShapesMimeType, bytes, &picture);
}

CShapeClipboard::Pasted CShapeClipboard::Paste()
{
    Pasted pasted;
    if (!CClipboard::HasData(kShapesMimeType)) {
        pasted.picture = PastePicture();
        return pasted;
    }
    CClipboardRequest request = CClipboardRequest::ForData(kShapesMimeType);
    std::vector<BYTE> bytes;
    if (!AfxRunWithProgress(res::LoadString(IDS_READING_CLIPBOARD),
                            [&](CProgress& progress) { bytes = request.Fetch(progress); }))
        return pasted;
    if (!request.Answered()) {
        AfxMessageBox(res::LoadString(IDS_CLIPBOARD_NO_ANSWER), MB_OK | MB_ICONEXCLAMATION);
        return pasted;
    }
    CArchive ar(bytes, CArchive::load);
    // Anything but a count and exactly that many records is not ours to paste.
    if (!skr::ReadRecords(ar, pasted.records) || ar.BytesLeft() != 0) {
        pasted.records.clear();
        return pasted;
    }
    if (pasted.records.empty())
        return pasted;
    m_nPasteShift = bytes == m_lastPasted ? m_nPasteShift + kPasteShift : kPasteShift;
    m_lastPasted = std::move(bytes);
    for (const std::unique_ptr<CData>& pData : pasted.records)
        Shift(*pData, m_nPasteShift, m_nPasteShift);
    return pasted;
}

std::unique_ptr<CBaseImage> CShapeClipboard::PastePicture() const
{
    CClipboardRequest request = CClipboardRequest::ForPicture();
    auto pImage = std::make_unique<CBaseImage>();
    CPictureReader::Result result = CPictureReader::Result::NotPicture;
    // Fetched and decoded off the window's thread; a cancel changes nothing and says nothing.
    if (!AfxRunWithProgress(res::LoadString(IDS_READING_PICTURE), [&](CProgress& progress) {
            std::vector<BYTE> bytes = request.Fetch(progress);
            if (!progress.IsCancelled())
                result = pImage->LoadPicture(std::move(bytes), &progress);
        }))
        return nullptr;
    if (result != CPictureReader::Result::Read) {
        const UINT message = request.Answered() ? IDS_BAD_PICTURE : IDS_CLIPBOARD_NO_ANSWER;
        AfxMessageBox(res::LoadString(message), MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    return pImage;
}
