#include "SkorelView.h"

#include "ColorSwatches.h"

#include "res/resource.h"

#include "framework/core/Commands.h"
#include "framework/core/Resource.h"
#include "framework/docview/Frame.h"
#include "framework/window/Cursor.h"
#include "framework/window/Dialog.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace {

// The thickness each command sets; its ids are not in the order of their widths.
struct Width {
    UINT nID;
    int nThickness;
};
constexpr Width kWidths[] = {{ID_WIDTH_1, 1}, {ID_WIDTH_2, 2}, {ID_WIDTH_3, 3}, {ID_WIDTH_4, 4},
                             {ID_WIDTH_5, 5}, {ID_WIDTH_6, 6}, {ID_WIDTH_7, 7}};
constexpr UINT kFirstWidthId = std::ranges::min(kWidths, {}, &Width::nID).nID;
constexpr UINT kLastWidthId = std::ranges::max(kWidths, {}, &Width::nID).nID;
constexpr int kThinnest = std::ranges::min(kWidths, {}, &Width::nThickness).nThickness;
constexpr int kThickest = std::ranges::max(kWidths, {}, &Width::nThickness).nThickness;

// How long the window shows the drawing untouched before it lets the pixels it composed go:
// two seconds, long past a pause in the work, and what comes back is a paint of what shows.
constexpr UINT kSurfaceIdleMs = 2000;

// The shape kind each drawing tool's command chooses.
struct Tool {
    UINT nID;
    int nKind;
};
constexpr Tool kTools[] = {
    {ID_DRAW_LINE, SHAPE_LINE}, {ID_DRAW_RECT, SHAPE_RECT}, {ID_DRAW_ELLIPSE, SHAPE_ELLIPSE}};

// The row of a table for a command id; null when it has none.
template <class Row, std::size_t N> const Row* RowOf(const Row (&table)[N], UINT nID)
{
    const auto it = std::ranges::find(table, nID, &Row::nID);
    return it == std::end(table) ? nullptr : it;
}

} // namespace

IMPLEMENT_DYNCREATE(CSkorelView, CScrollView)

BEGIN_MESSAGE_MAP(CSkorelView, CScrollView)
ON_COMMAND(ID_DRAW_LINE, OnDrawLine)
ON_COMMAND(ID_DRAW_RECT, OnDrawRect)
ON_COMMAND(ID_DRAW_ELLIPSE, OnDrawEllipse)
ON_COMMAND(ID_LINE_COLOR, OnLineColor)
ON_COMMAND(ID_FILL_COLOR, OnFillColor)
ON_COMMAND(ID_SELECT, OnSelect)
ON_COMMAND(ID_ERASER, OnEraser)
ON_COMMAND_RANGE(kFirstWidthId, kLastWidthId, OnWidth)
ON_COMMAND(ID_WIDTH_THINNER, OnWidthThinner)
ON_COMMAND(ID_WIDTH_THICKER, OnWidthThicker)
ON_COMMAND_NOTIFY(ID_COLOR_SWATCH, OnColorSwatch)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_EXPORT, OnFileExport)
ON_COMMAND(ID_EDIT_COPY_PICTURE, OnEditCopyPicture)
ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_DIRECT, CView::OnFilePrintDirect)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
ON_COMMAND(ID_EDIT_CUT, OnEditCut)
ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
ON_COMMAND(ID_EDIT_CLEAR, OnEditClear)
ON_COMMAND(ID_EDIT_DUPLICATE, OnEditDuplicate)
ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
ON_COMMAND_RANGE(ID_ARRANGE_FRONT, ID_ARRANGE_BACK, OnArrange)
ON_UPDATE_COMMAND_UI_RANGE(ID_ARRANGE_FRONT, ID_ARRANGE_BACK, OnUpdateArrange)
ON_UPDATE_COMMAND_UI(ID_EDIT_DUPLICATE, OnUpdateNeedsSelection)
ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateEditSelectAll)
ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateNeedsSelection)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateNeedsSelection)
ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR, OnUpdateNeedsSelection)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
ON_UPDATE_COMMAND_UI(ID_DRAW_LINE, OnUpdateTool)
ON_UPDATE_COMMAND_UI(ID_DRAW_RECT, OnUpdateTool)
ON_UPDATE_COMMAND_UI(ID_DRAW_ELLIPSE, OnUpdateTool)
ON_UPDATE_COMMAND_UI(ID_SELECT, OnUpdateTool)
ON_UPDATE_COMMAND_UI_RANGE(kFirstWidthId, kLastWidthId, OnUpdateWidth)
ON_UPDATE_COMMAND_UI(ID_LINE_COLOR, OnUpdateLineColor)
ON_UPDATE_COMMAND_UI(ID_FILL_COLOR, OnUpdateFillColor)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_POSITION, OnUpdatePosition)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_SIZE, OnUpdateSize)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_THICKNESS, OnUpdateThickness)
ON_COMMAND(ID_VIEW_ZOOM_IN, CScrollView::OnZoomIn)
ON_COMMAND(ID_VIEW_ZOOM_OUT, CScrollView::OnZoomOut)
ON_COMMAND(ID_VIEW_ZOOM_ACTUAL, CScrollView::OnZoomActual)
ON_COMMAND(ID_VIEW_ZOOM_FIT, CScrollView::OnZoomFit)
ON_UPDATE_COMMAND_UI(ID_VIEW_ZOOM_IN, CScrollView::OnUpdateZoomIn)
ON_UPDATE_COMMAND_UI(ID_VIEW_ZOOM_OUT, CScrollView::OnUpdateZoomOut)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_ZOOM, CScrollView::OnUpdateZoomPane)
END_MESSAGE_MAP()

CSkorelView::CSkorelView()
    : m_nThickness(1), m_nCanvasHeight(CSkorelDoc::kMinCanvasHeight),
      m_nCanvasWidth(CSkorelDoc::kMinCanvasWidth), m_nMode(MODE_DRAW), m_nShapeKind(SHAPE_LINE),
      m_crFill(RGB(255, 255, 255)), m_crLine(RGB(0, 0, 0)),
      m_planner(m_nCanvasWidth, m_nCanvasHeight)
{
    SetZoomSteps({25, 33, 50, 67, 100, 150, 200, 300, 400, 600, 800});
}

CSkorelView::~CSkorelView() = default;

CSkorelDoc* CSkorelView::GetDocument() const
{
    return dynamic_cast<CSkorelDoc*>(CView::GetDocument());
}

int CSkorelView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CScrollView::OnCreate(lpCreateStruct) == -1)
        return -1;
    // The window is the canvas; a smaller frame scrolls it. Every paint composes what it shows
    // from the document, so the window holds the drawing without a copy of it aside.
    SetScrollSizes(MM_TEXT, CSize(m_nCanvasWidth, m_nCanvasHeight));
    ReleaseSurfaceWhenIdle(kSurfaceIdleMs);
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
    // A single line's end handles move one end.
    CPoint point;
    if (pDoc && GetCursorPos(&point)) {
        ScreenToClient(&point);
        if (m_selection.LineEndAt(point, pDoc->m_tracker.m_nHandleSize) >= 0) {
            ::SetCursor(LoadCursor(nullptr, IDC_SIZEALL));
            return TRUE;
        }
    }
    if (pWnd == this && pDoc && pDoc->m_tracker.SetCursor(this, nHitTest))
        return TRUE;
    return CScrollView::OnSetCursor(pWnd, nHitTest, message);
}

void CSkorelView::ChooseDrawingTool(UINT nID)
{
    m_nShapeKind = RowOf(kTools, nID)->nKind;
    m_nMode = MODE_DRAW;
    // Choosing a drawing tool ends the selection.
    SelectShapes({});
}

void CSkorelView::OnDrawLine() { ChooseDrawingTool(ID_DRAW_LINE); }

void CSkorelView::OnDrawRect() { ChooseDrawingTool(ID_DRAW_RECT); }

void CSkorelView::OnDrawEllipse() { ChooseDrawingTool(ID_DRAW_ELLIPSE); }

bool CSkorelView::ChooseColor(COLORREF& cr, bool bOfferNoFill)
{
    CColorDialog dlg(cr == kNoFill ? RGB(255, 255, 255) : cr, CC_RGBINIT | CC_FULLOPEN, this);
    if (bOfferNoFill)
        dlg.AddNoColorButton(res::LoadString(IDS_NO_FILL));
    if (dlg.DoModal() != IDOK)
        return false;
    cr = dlg.GetColor() == CLR_NONE ? kNoFill : dlg.GetColor();
    return true;
}

void CSkorelView::OnLineColor()
{
    if (COLORREF cr = m_crLine; ChooseColor(cr, false))
        ChooseLineColor(cr);
}

void CSkorelView::OnFillColor()
{
    if (COLORREF cr = m_crFill; ChooseColor(cr, true))
        ChooseFillColor(cr);
}

void CSkorelView::OnColorSwatch(const CCmdNotify& notify)
{
    if (notify.nItem >= kColorSwatches.size())
        return;
    const COLORREF cr = kColorSwatches[notify.nItem];
    if (notify.nButton == MK_RBUTTON || cr == kNoFill)
        ChooseFillColor(cr);
    else
        ChooseLineColor(cr);
}

void CSkorelView::ChooseLineColor(COLORREF cr)
{
    m_crLine = cr;
    RestyleSelected([cr](CData& d) { d.m_crLine = cr; });
}

void CSkorelView::ChooseFillColor(COLORREF cr)
{
    m_crFill = cr;
    RestyleSelected([cr](CData& d) { d.m_crFill = cr; });
}

void CSkorelView::ChooseThickness(int nThickness)
{
    m_nThickness = nThickness;
    RestyleSelected([nThickness](CData& d) { d.m_nThickness = nThickness; });
}

void CSkorelView::RestyleSelected(const std::function<void(CData&)>& change)
{
    if (!m_selection.IsEmpty())
        GetDocument()->RestyleShapes(m_selection.Unordered(), change);
}

void CSkorelView::OnSelect() { m_nMode = MODE_SELECT; }

void CSkorelView::OnEraser()
{
    CancelDrag();
    GetDocument()->RemoveAllShapes();
    // The frame goes to (0, 0, 0, 0) with the selection; an empty drawing repaints too.
    SelectShapes({});
    Invalidate(TRUE);
}

void CSkorelView::OnUpdateTool(CCmdUI* pCmdUI)
{
    const bool selecting = m_nMode == MODE_SELECT;
    if (pCmdUI->m_nID == ID_SELECT)
        pCmdUI->SetRadio(selecting);
    else if (const Tool* tool = RowOf(kTools, pCmdUI->m_nID))
        pCmdUI->SetRadio(!selecting && m_nShapeKind == tool->nKind);
}

void CSkorelView::OnUpdateWidth(CCmdUI* pCmdUI)
{
    const Width* width = RowOf(kWidths, pCmdUI->m_nID);
    pCmdUI->SetRadio(width && width->nThickness == m_nThickness);
}

void CSkorelView::OnUpdateLineColor(CCmdUI* pCmdUI) { pCmdUI->SetColor(m_crLine); }

void CSkorelView::OnUpdateFillColor(CCmdUI* pCmdUI) { pCmdUI->SetColor(m_crFill); }

void CSkorelView::OnWidth(UINT nID)
{
    if (const Width* width = RowOf(kWidths, nID))
        ChooseThickness(width->nThickness);
}

void CSkorelView::OnWidthThinner() { ChooseThickness(std::max(m_nThickness - 1, kThinnest)); }

void CSkorelView::OnWidthThicker() { ChooseThickness(std::min(m_nThickness + 1, kThickest)); }

void CSkorelView::OnUpdateThickness(CCmdUI* pCmdUI)
{
    pCmdUI->SetText(res::FormatString(IDS_THICKNESS_PANE, std::to_string(m_nThickness)).c_str());
}
