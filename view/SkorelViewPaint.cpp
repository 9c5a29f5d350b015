// Painting through the off-screen canvas, printing, and saving the canvas as a BMP file.
#include "SkorelView.h"

#include <algorithm>

#include "res/resource.h"

#include "framework/Error.h"
#include "framework/FileDialog.h"
#include "framework/MessageBox.h"
#include "framework/Resource.h"

void CSkorelView::OnDraw(CDC* pDC)
{
    ComposeCanvas();
    pDC->BitBlt(0, 0, m_nCanvasWidth, m_nCanvasHeight, &m_dcCanvas, 0, 0, SRCCOPY);
    CSkorelDoc* pDoc = GetDocument();
    if (!pDoc->m_shapeList.IsEmpty())
        pDoc->m_tracker.Draw(pDC);
}

void CSkorelView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    ComposeCanvas();
    const CRect& page = pInfo->m_rectDraw;
    const double scale =
        std::min(double(page.Width()) / m_nCanvasWidth, double(page.Height()) / m_nCanvasHeight);
    const int width = int(m_nCanvasWidth * scale);
    const int height = int(m_nCanvasHeight * scale);
    pDC->SetStretchBltMode(HALFTONE);
    pDC->StretchBlt(page.left + (page.Width() - width) / 2, page.top, width, height, &m_dcCanvas, 0,
                    0, m_nCanvasWidth, m_nCanvasHeight, SRCCOPY);
}

void CSkorelView::ComposeCanvas()
{
    CSkorelDoc* pDoc = GetDocument();
    m_drawTool.ClearCanvas(&m_dcCanvas, m_nCanvasWidth, m_nCanvasHeight);
    if (pDoc->m_pImage)
        pDoc->m_pImage->Draw(0, 0, m_dcCanvas.GetSafeHdc());
    for (POSITION pos = pDoc->m_shapeList.GetHeadPosition(); pos;)
        m_drawTool.DrawShape(&m_dcCanvas, pDoc->m_shapeList.GetNext(pos));
}

void CSkorelView::OnInitialUpdate()
{
    CScrollView::OnInitialUpdate();
    Invalidate(TRUE);
}

void CSkorelView::OnUpdate(CView*, long, CObject* pHint)
{
    CancelDrag();
    if (const auto* hint = dynamic_cast<const CShapeHint*>(pHint)) {
        if (m_pSelected && std::ranges::find(hint->m_removed, m_pSelected) != hint->m_removed.end())
            SelectShape(nullptr);
        if (hint->m_pTouched && m_nMode == MODE_SELECT)
            SelectShape(const_cast<CData*>(hint->m_pTouched));
    }
    Invalidate(TRUE);
}

BOOL CSkorelView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

void CSkorelView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CSkorelView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CSkorelView::OnFileSave()
{
    CFileDialog dlg(FALSE, "", "*.bmp", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    "(*.BMP)|*.BMP|모든파일(*.*)|*.*|");
    if (dlg.DoModal() != IDOK)
        return;
    // The file gets the drawing as it is now, whether or not the screen has caught up.
    ComposeCanvas();
    CClientDC dc(this);
    const std::string path = dlg.GetPathName();
    if (m_captureImage.CaptureToFile(&dc, &m_dcCanvas, path))
        AfxMessageBox("저장 성공");
    else
        AfxFileMessageBox(path, res::FindString(IDS_SAVE_FAILED), GetLastError());
}
