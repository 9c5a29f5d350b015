// The selected shapes through the clipboard: cut, copy, paste and delete. The clipboard carries
// shapes in the archive form under a type of our own, and a picture of them on white for other
// programs. A picture alone on the clipboard pastes as the picture under the shapes.
#include "SkorelView.h"

#include "document/DrawingFile.h"
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

} // namespace

void CSkorelView::OnUpdateNeedsSelection(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_selection.IsEmpty()); }

void CSkorelView::OnUpdateEditPaste(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CClipboard::HasData(kShapesMimeType) || CClipboard::HasPicture());
}

void CSkorelView::OnEditCopy()
{
    const std::vector<CData*> records = m_selection.InOrder(GetDocument()->m_shapeList);
    if (records.empty())
        return;
    std::vector<BYTE> bytes;
    CArchive ar(bytes, CArchive::store);
    skr::StoreRecords(ar, records);

    // The shapes on white, cut to where they draw.
    CRect bounds;
    for (const CData* pData : records) {
        const CRect shape = ShapeBounds(*pData);
        UnionRect(&bounds, &bounds, &shape);
    }
    const int width =
        int(std::min<std::int64_t>(std::int64_t(bounds.right) - bounds.left, kMaxPictureSide));
    const int height =
        int(std::min<std::int64_t>(std::int64_t(bounds.bottom) - bounds.top, kMaxPictureSide));
    CDC dc;
    CBitmap picture;
    dc.CreateCompatibleDC(nullptr);
    picture.CreateCompatibleBitmap(&dc, width, height);
    dc.SelectObject(&picture);
    dc.FillSolidRect(0, 0, width, height, RGB(255, 255, 255));
    for (const CData* pData : records) {
        CData moved = *pData;
        moved.m_ptStart =
            Shifted(moved.m_ptStart, -std::int64_t(bounds.left), -std::int64_t(bounds.top));
        moved.m_ptEnd =
            Shifted(moved.m_ptEnd, -std::int64_t(bounds.left), -std::int64_t(bounds.top));
        m_drawTool.DrawShape(&dc, &moved);
    }
    CClipboard::SetData(kShapesMimeType, bytes, &picture);
}

void CSkorelView::OnEditCut()
{
    OnEditCopy();
    OnEditClear();
}

void CSkorelView::OnEditClear()
{
    if (!m_selection.IsEmpty())
        GetDocument()->RemoveShapes(m_selection.Records());
}

void CSkorelView::OnEditPaste()
{
    // Shapes come first: a shape copied here carries a picture of itself too.
    if (!CClipboard::HasData(kShapesMimeType)) {
        PastePicture();
        return;
    }
    CClipboardRequest request = CClipboardRequest::ForData(kShapesMimeType);
    std::vector<BYTE> bytes;
    if (!AfxRunWithProgress(res::LoadString(IDS_READING_CLIPBOARD),
                            [&](CProgress& progress) { bytes = request.Fetch(progress); }))
        return;
    if (!request.Answered()) {
        AfxMessageBox(res::LoadString(IDS_CLIPBOARD_NO_ANSWER), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    std::vector<std::unique_ptr<CData>> records;
    CArchive ar(bytes, CArchive::load);
    // Anything but a count and exactly that many records is not ours to paste.
    if (!skr::ReadRecords(ar, records) || ar.BytesLeft() != 0 || records.empty())
        return;
    m_nPasteShift = bytes == m_lastPasted ? m_nPasteShift + kPasteShift : kPasteShift;
    m_lastPasted = std::move(bytes);
    for (const std::unique_ptr<CData>& pData : records) {
        pData->m_ptStart = Shifted(pData->m_ptStart, m_nPasteShift, m_nPasteShift);
        pData->m_ptEnd = Shifted(pData->m_ptEnd, m_nPasteShift, m_nPasteShift);
    }
    // The pasted shape comes selected, ready to be moved with the arrow tool.
    m_nMode = MODE_SELECT;
    GetDocument()->AddShapes(std::move(records), true);
}

void CSkorelView::PastePicture()
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
        return;
    if (result != CPictureReader::Result::Read) {
        const UINT message = request.Answered() ? IDS_BAD_PICTURE : IDS_CLIPBOARD_NO_ANSWER;
        AfxMessageBox(res::LoadString(message), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    GetDocument()->ReplacePicture(std::move(pImage));
}
