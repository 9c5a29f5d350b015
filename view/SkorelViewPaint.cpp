// Painting the drawing straight onto the window, printing, and saving the canvas as a BMP
// file: each composes what it needs from the document when it needs it.
#include "SkorelView.h"

#include "CanvasTiles.h"

#include "shapes/Shape.h"

#include "res/resource.h"

#include "framework/core/Error.h"
#include "framework/core/Parallel.h"
#include "framework/core/Resource.h"
#include "framework/window/FileDialog.h"
#include "framework/window/MessageBox.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <numeric>
#include <utility>
#include <vector>

void CSkorelView::OnDraw(CDC* pDC)
{
    CRect area;
    pDC->GetClipBox(&area);
    Compose(pDC, area);
    CSkorelDoc* pDoc = GetDocument();
    if (!pDoc->m_shapeList.IsEmpty())
        pDoc->m_tracker.Draw(pDC);
    m_selection.DrawMarks(pDC, pDoc->m_tracker.m_nHandleSize);
}

namespace {

// What drawing each row of the part costs, about: each record costs as much as a thousand
// pixels on its first row there, and on each row the pixels it covers and a little more.
std::vector<std::int64_t> RowCosts(const CCompositionPlan& plan, const CRect& part)
{
    constexpr std::int64_t kPerRecord = 1024, kPerRow = 32;
    // The change of the cost from the row before, then the costs themselves; and what starts
    // on each row.
    const auto rows = std::size_t(part.Height());
    std::vector<std::int64_t> costs(rows + 1, 0), starts(rows, 0);
    for (const auto& shown : plan.shown) {
        CRect clip;
        if (!IntersectRect(&clip, &shown.second, &part))
            continue;
        const auto top = std::size_t(clip.top - part.top);
        costs[top] += clip.Width() + kPerRow;
        costs[std::size_t(clip.bottom - part.top)] -= clip.Width() + kPerRow;
        starts[top] += kPerRecord;
    }
    costs.pop_back();
    std::partial_sum(costs.begin(), costs.end(), costs.begin());
    std::transform(costs.begin(), costs.end(), starts.begin(), costs.begin(), std::plus<>());
    return costs;
}

} // namespace

void CSkorelView::Compose(CDC* pDC, const CRect& area, CPoint shift)
{
    const CRect canvas(0, 0, m_nCanvasWidth, m_nCanvasHeight);
    CRect part;
    if (!IntersectRect(&part, &area, &canvas))
        return;
    // A canvas rectangle where it lands on the context.
    const auto onContext = [shift](const CRect& r) {
        return CRect(r.left - shift.x, r.top - shift.y, r.right - shift.x, r.bottom - shift.y);
    };
    CSkorelDoc* pDoc = GetDocument();
    const CCompositionPlan& plan = m_planner.Plan(pDoc->m_shapeList, part);
    CRect background;
    if (IntersectRect(&background, &plan.background, &part)) {
        const CRect there = onContext(background);
        pDC->IntersectClipRect(&there);
        m_drawTool.ClearCanvas(pDC, there.right, there.bottom);
        if (pDoc->m_pImage)
            pDoc->m_pImage->Draw(-shift.x, -shift.y, pDC->GetSafeHdc());
        pDC->SelectClipRgn(nullptr);
    }
    // Drawn in bands of rows side by side, each of about the same cost: each pixel still gets
    // the records in their order.
    const bool shifted = shift != CPoint();
    parallel::For(RowCosts(plan, part), [&](std::int64_t a, std::int64_t b, int) {
        CDC band;
        band.CreateSharingDC(pDC);
        const CRect rows(part.left, part.top + int(a), part.right, part.top + int(b));
        for (const auto& [pData, shows] : plan.shown) {
            CRect clip;
            if (!IntersectRect(&clip, &shows, &rows))
                continue;
            const CRect there = onContext(clip);
            band.IntersectClipRect(&there);
            if (shifted) {
                CData moved = *pData;
                moved.m_ptStart = Shifted(moved.m_ptStart, -shift.x, -shift.y);
                moved.m_ptEnd = Shifted(moved.m_ptEnd, -shift.x, -shift.y);
                DrawShapeRecord(&band, moved);
            } else {
                DrawShapeRecord(&band, *pData);
            }
            band.SelectClipRgn(nullptr);
        }
    });
}

CRect CSkorelView::FrameArea() const
{
    const CSkorelDoc* pDoc = GetDocument();
    if (pDoc->m_shapeList.IsEmpty())
        return CRect();
    return m_selection.MarkedArea(pDoc->m_tracker, pDoc->m_tracker.m_nHandleSize);
}

void CSkorelView::UpdateFrameArea()
{
    const CRect now = FrameArea();
    if (now == m_rcFrameShown)
        return;
    InvalidateRect(&m_rcFrameShown);
    InvalidateRect(&now);
    m_rcFrameShown = now;
}

void CSkorelView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    CBitmap drawing;
    CopyCanvas(CRect(0, 0, m_nCanvasWidth, m_nCanvasHeight), drawing);
    CDC source;
    source.CreateCompatibleDC(nullptr);
    source.SelectObject(&drawing);
    const CRect& page = pInfo->m_rectDraw;
    const double scale =
        std::min(double(page.Width()) / m_nCanvasWidth, double(page.Height()) / m_nCanvasHeight);
    const int width = int(m_nCanvasWidth * scale);
    const int height = int(m_nCanvasHeight * scale);
    pDC->SetStretchBltMode(HALFTONE);
    pDC->StretchBlt(page.left + (page.Width() - width) / 2, page.top, width, height, &source, 0, 0,
                    m_nCanvasWidth, m_nCanvasHeight, SRCCOPY);
}

void CSkorelView::CopyCanvas(const CRect& area, CBitmap& picture)
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    picture.CreateCompatibleBitmap(&dc, area.Width(), area.Height());
    dc.SelectObject(&picture);
    Compose(&dc, area, area.TopLeft());
}

void CSkorelView::FollowCanvasSize()
{
    const CSize size = GetDocument()->GetCanvasSize();
    if (size.cx == m_nCanvasWidth && size.cy == m_nCanvasHeight)
        return;
    m_nCanvasWidth = size.cx;
    m_nCanvasHeight = size.cy;
    m_planner.Resize(m_nCanvasWidth, m_nCanvasHeight);
    SetScrollSizes(MM_TEXT, size);
}

void CSkorelView::OnInitialUpdate()
{
    CScrollView::OnInitialUpdate();
    FollowCanvasSize();
    ScrollToPosition(CPoint(0, 0));
    Invalidate(TRUE);
}

void CSkorelView::OnUpdate(CView*, long, CObject* pHint)
{
    CancelDrag();
    const auto* hint = dynamic_cast<const CShapeHint*>(pHint);
    if (hint && hint->m_bReset) {
        m_selection.Clear();
        m_clipboard.Forget();
    }
    FollowCanvasSize();
    const CRect changed = !hint || hint->m_bAll ? CRect(0, 0, m_nCanvasWidth, m_nCanvasHeight)
                                                : hint->m_rectChanged; // only what it drew anew
    m_planner.Forget();
    m_index.Forget();
    InvalidateRect(&changed);
    if (hint) {
        m_selection.Forget(hint->m_removed);
        if (!hint->m_touched.empty() && m_nMode == MODE_SELECT && !m_selection.Is(hint->m_touched))
            SelectShapes(hint->m_touched);
        else
            FrameSelection();
    }
    UpdateFrameArea();
}

BOOL CSkorelView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

void CSkorelView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CSkorelView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CSkorelView::OnFileSave()
{
    // A name typed without an extension gets .bmp.
    CFileDialog dlg(FALSE, "bmp", "*.bmp", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    res::LoadString(IDS_SAVE_FILTER));
    // The picture never takes a drawing's name: it would replace a drawing's shapes with
    // pixels, and open later as something other than what was saved.
    dlg.SetNameCheck([](const std::string& path, int) -> std::optional<CNameRefusal> {
        if (TypeOfName(path, SkorelFile::Picture) != SkorelFile::Drawing)
            return std::nullopt;
        return CNameRefusal{res::LoadString(IDS_PICTURE_NOT_DRAWING),
                            NamedAs(path, SkorelFile::Picture)};
    });
    if (dlg.DoModal() != IDOK)
        return;
    const std::string path = dlg.GetPathName();
    if (SaveCanvas(path))
        AfxMessageBox(res::LoadString(IDS_SAVE_SUCCEEDED));
    else
        AfxFileMessageBox(path, res::LoadString(IDS_SAVE_FAILED), GetLastError());
}

BOOL CSkorelView::SaveCanvas(const std::string& path)
{
    // The file gets the drawing as it is now, whether or not the screen has caught up.
    CBitmap drawing;
    CopyCanvas(CRect(0, 0, CBaseImage::kCaptureWidth, CBaseImage::kCaptureHeight), drawing);
    CDC source;
    source.CreateCompatibleDC(nullptr);
    source.SelectObject(&drawing);
    CClientDC dc(this);
    return m_captureImage.CaptureToFile(&dc, &source, path);
}
