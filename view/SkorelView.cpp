#include "SkorelView.h"

#include "res/resource.h"

#include "framework/Commands.h"
#include "framework/Cursor.h"
#include "framework/Dialog.h"

IMPLEMENT_DYNCREATE(CSkorelView, CScrollView)

BEGIN_MESSAGE_MAP(CSkorelView, CScrollView)
ON_COMMAND(ID_DRAW_LINE, OnDrawLine)
ON_COMMAND(ID_DRAW_RECT, OnDrawRect)
ON_COMMAND(ID_DRAW_ELLIPSE, OnDrawEllipse)
ON_COMMAND(ID_LINE_COLOR, OnLineColor)
ON_COMMAND(ID_FILL_COLOR, OnFillColor)
ON_COMMAND(ID_SELECT, OnSelect)
ON_COMMAND(ID_ERASER, OnEraser)
ON_COMMAND(ID_WIDTH_1, OnWidth1)
ON_COMMAND(ID_WIDTH_2, OnWidth2)
ON_COMMAND(ID_WIDTH_3, OnWidth3)
ON_COMMAND(ID_WIDTH_4, OnWidth4)
ON_COMMAND(ID_WIDTH_5, OnWidth5)
ON_COMMAND(ID_WIDTH_6, OnWidth6)
ON_COMMAND(ID_WIDTH_7, OnWidth7)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_DIRECT, CView::OnFilePrintDirect)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
ON_COMMAND(ID_EDIT_CUT, OnEditCut)
ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
ON_COMMAND(ID_EDIT_CLEAR, OnEditClear)
ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateNeedsSelection)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateNeedsSelection)
ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR, OnUpdateNeedsSelection)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
ON_UPDATE_COMMAND_UI(ID_DRAW_LINE, OnUpdateTool)
ON_UPDATE_COMMAND_UI(ID_DRAW_RECT, OnUpdateTool)
ON_UPDATE_COMMAND_UI(ID_DRAW_ELLIPSE, OnUpdateTool)
ON_UPDATE_COMMAND_UI(ID_SELECT, OnUpdateTool)
ON_UPDATE_COMMAND_UI_RANGE(ID_WIDTH_1, ID_WIDTH_5, OnUpdateWidth)
ON_UPDATE_COMMAND_UI(ID_LINE_COLOR, OnUpdateLineColor)
ON_UPDATE_COMMAND_UI(ID_FILL_COLOR, OnUpdateFillColor)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_POSITION, OnUpdatePosition)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_SIZE, OnUpdateSize)
END_MESSAGE_MAP()

CSkorelView::CSkorelView()
    : m_nThickness(1), m_nCanvasHeight(1024), m_nCanvasWidth(1280), m_bMoved(FALSE),
      m_nMode(MODE_DRAW), m_bButtonDown(FALSE), m_nShapeKind(SHAPE_LINE),
      m_crFill(RGB(255, 255, 255)), m_crLine(RGB(0, 0, 0))
{}

CSkorelView::~CSkorelView() = default;

CSkorelDoc* CSkorelView::GetDocument() const
{
    return dynamic_cast<CSkorelDoc*>(CView::GetDocument());
}

int CSkorelView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CScrollView::OnCreate(lpCreateStruct) == -1)
        return -1;
    // The window is the canvas; a smaller frame scrolls it.
    SetScrollSizes(MM_TEXT, CSize(m_nCanvasWidth, m_nCanvasHeight));
    CClientDC dc(this);
    m_dcBlank.CreateCompatibleDC(&dc);
    m_bmpBlank.LoadBitmap(IDB_CANVAS);
    m_dcBlank.SelectObject(&m_bmpBlank);
    m_dcCanvas.CreateCompatibleDC(&dc);
    m_bmpCanvas.CreateCompatibleBitmap(&dc, m_nCanvasWidth, m_nCanvasHeight);
    m_dcCanvas.SelectObject(&m_bmpCanvas);
    m_dcCanvas.BitBlt(0, 0, m_nCanvasWidth, m_nCanvasHeight, &m_dcBlank, 0, 0, SRCCOPY);
    return 0;
}

BOOL CSkorelView::OnEraseBkgnd(CDC*)
{
    // The paint covers the canvas completely; erasing first would only flicker.
    return TRUE;
}

BOOL CSkorelView::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_nMode == MODE_DRAW) {
        ::SetCursor(LoadCursor(nullptr, IDC_CROSS));
        return TRUE;
    }
    CSkorelDoc* pDoc = GetDocument();
    if (pWnd == this && pDoc && pDoc->m_tracker.SetCursor(this, nHitTest))
        return TRUE;
    return CScrollView::OnSetCursor(pWnd, nHitTest, message);
}

void CSkorelView::ChooseDrawingTool(int nKind)
{
    m_nShapeKind = nKind;
    m_nMode = MODE_DRAW;
    // Choosing a drawing tool ends the selection.
    SelectShape(nullptr);
}

void CSkorelView::OnDrawLine() { ChooseDrawingTool(SHAPE_LINE); }

void CSkorelView::OnDrawRect() { ChooseDrawingTool(SHAPE_RECT); }

void CSkorelView::OnDrawEllipse() { ChooseDrawingTool(SHAPE_ELLIPSE); }

COLORREF CSkorelView::ChooseColor(COLORREF crCurrent)
{
    CColorDialog dlg(crCurrent, CC_RGBINIT | CC_FULLOPEN, this);
    return dlg.DoModal() == IDOK ? dlg.GetColor() : crCurrent;
}

void CSkorelView::OnLineColor() { m_crLine = ChooseColor(m_crLine); }

void CSkorelView::OnFillColor() { m_crFill = ChooseColor(m_crFill); }

void CSkorelView::OnSelect() { m_nMode = MODE_SELECT; }

void CSkorelView::OnEraser()
{
    CancelDrag();
    GetDocument()->RemoveAllShapes();
    // The frame goes to (0, 0, 0, 0) with the selection; an empty drawing repaints too.
    SelectShape(nullptr);
    Invalidate(TRUE);
}

void CSkorelView::OnUpdateTool(CCmdUI* pCmdUI)
{
    const bool selecting = m_nMode == MODE_SELECT;
    switch (pCmdUI->m_nID) {
    case ID_SELECT:
        pCmdUI->SetRadio(selecting);
        break;
    case ID_DRAW_LINE:
        pCmdUI->SetRadio(!selecting && m_nShapeKind == SHAPE_LINE);
        break;
    case ID_DRAW_RECT:
        pCmdUI->SetRadio(!selecting && m_nShapeKind == SHAPE_RECT);
        break;
    default:
        pCmdUI->SetRadio(!selecting && m_nShapeKind == SHAPE_ELLIPSE);
        break;
    }
}

void CSkorelView::OnUpdateWidth(CCmdUI* pCmdUI)
{
    // The ids of 5 to 7 run backwards.
    static constexpr int kWidths[] = {1, 2, 3, 4, 7, 6, 5};
    pCmdUI->SetRadio(kWidths[pCmdUI->m_nID - ID_WIDTH_1] == m_nThickness);
}

void CSkorelView::OnUpdateLineColor(CCmdUI* pCmdUI) { pCmdUI->SetColor(m_crLine); }

void CSkorelView::OnUpdateFillColor(CCmdUI* pCmdUI) { pCmdUI->SetColor(m_crFill); }

void CSkorelView::OnWidth1() { m_nThickness = 1; }
void CSkorelView::OnWidth2() { m_nThickness = 2; }
void CSkorelView::OnWidth3() { m_nThickness = 3; }
void CSkorelView::OnWidth4() { m_nThickness = 4; }
void CSkorelView::OnWidth5() { m_nThickness = 5; }
void CSkorelView::OnWidth6() { m_nThickness = 6; }
void CSkorelView::OnWidth7() { m_nThickness = 7; }
