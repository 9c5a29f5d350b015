// Painting through the off-screen canvas, printing, and saving the canvas as a BMP file.
#include "SkorelView.h"

#include "framework/FileDialog.h"
#include "framework/MessageBox.h"

void CSkorelView::OnDraw(CDC* pDC)
{
    CSkorelDoc* pDoc = GetDocument();
    m_drawTool.ClearCanvas(&m_dcCanvas, m_nCanvasWidth, m_nCanvasHeight);
    if (pDoc->m_pImage)
        pDoc->m_pImage->Draw(0, 0, m_dcCanvas.GetSafeHdc());
    // The frame is drawn after every record, so it ends on top of them all.
    for (POSITION pos = pDoc->m_shapeList.GetHeadPosition(); pos;) {
        m_drawTool.DrawShape(&m_dcCanvas, pDoc->m_shapeList.GetNext(pos));
        pDoc->m_tracker.Draw(&m_dcCanvas);
    }
    pDC->BitBlt(0, 0, m_nCanvasWidth, m_nCanvasHeight, &m_dcCanvas, 0, 0, SRCCOPY);
}

void CSkorelView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    CSkorelDoc* pDoc = GetDocument();
    if (pDoc && pDoc->m_pImage)
        pDoc->m_pImage->Draw(0, 0, m_dcCanvas.GetSafeHdc());
}

void CSkorelView::OnUpdate(CView*, long, CObject*) {}

BOOL CSkorelView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

void CSkorelView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CSkorelView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CSkorelView::OnFileSave()
{
    CFileDialog dlg(FALSE, "", "*.bmp", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    "(*.BMP)|*.BMP|모든파일(*.*)|*.*|");
    if (dlg.DoModal() != IDOK)
        return;
    CClientDC dc(this);
    const std::string path = dlg.GetPathName();
    if (m_captureImage.CaptureToFile(&dc, &m_dcCanvas, path))
        AfxMessageBox("저장 성공");
}
