// The view the user draws in: the drawing state and its commands, the mouse interaction that
// makes, moves and resizes shapes, the paint through an off-screen canvas, and Save.
#pragma once

#include "CanvasTiles.h"
#include "DrawingExport.h"
#include "Selection.h"
#include "ShapeClipboard.h"
#include "ShapeIndex.h"

#include "document/SkorelDoc.h"
#include "image/BaseImage.h"
#include "shapes/DrawTool.h"
#include "shapes/MyTracker.h"

#include "framework/docview/ScrollView.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// What the left button does in the view: draws shapes, or selects, moves and resizes them.
enum ViewMode : int { MODE_DRAW = 0, MODE_SELECT = 1 };

class CSkorelView : public CScrollView {
    DECLARE_DYNCREATE(CSkorelView)

public:
    CSkorelView();
    ~CSkorelView() override;

    CSkorelDoc* GetDocument() const;
    // The selected record when exactly one is selected; null otherwise.
    CData* Selected() const { return m_selection.Single(); }
    // The shapes selected with the arrow tool.
    const CSelection& GetSelection() const { return m_selection; }

    // Composes the part of the canvas the paint is for (its clip box: white, picture, shapes)
    // straight onto the window; the selection frame goes on top, once there are shapes. The
    // frame is a mark for the user, never part of the drawing: Save, export and printing
    // compose the drawing alone.
    void OnDraw(CDC* pDC) override;
    // Prints the canvas as large as the printable area takes it, its shape kept, centred
    // across the top of the page, smoothly filtered; Print Preview shows the same page.
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    // After New and Open: the canvas takes the document's size and shows from its top-left
    // corner, repainted from the document.
    void OnInitialUpdate() override;
    // A change to the drawing (a CShapeHint): drops a drag in progress, forgets selected
    // shapes that left the list (every one, when a fresh drawing came), follows the canvas
    // size, selects the shapes an undo, redo, paste or move touched (with the arrow tool), and
    // repaints.
    void OnUpdate(CView* pSender, long lHint, CObject* pHint) override;
    // The drawing as it is now, the area of the canvas, into a new bitmap of the area's size.
    void CopyCanvas(const CRect& area, CBitmap& picture);
    // Save without its dialog: the top-left 800 × 600 pixels of the drawing as it is now to a
    // BMP file. FALSE, with the last error set, when the file could not be written.
    BOOL SaveCanvas(const std::string& path);
    // Export without its dialog: the drawing as it is now (the export area) to a file of the
    // format, replacing an existing one only when the new one is complete. FALSE, with the
    // last error set where the system said why, when it could not be written.
    BOOL ExportTo(const std::string& path, ExportFormat format, bool bPictureOnly);
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;

    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    // A right click during a drag drops it, as Escape does.
    void OnRButtonDown(UINT nFlags, CPoint point) override;
    void OnMouseLeave() override;
    // A drag that loses the mouse (a modal dialog took it) is dropped.
    void OnCaptureChanged(CWnd* pWnd) override;
    // Escape drops a drag, or without one deselects; the arrow keys move the selected shapes
    // by 1 pixel, 10 with Shift, a burst of them as one step.
    BOOL OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;

    // The choices for new shapes, and the drawing state.
    COLORREF LineColor() const { return m_crLine; }
    COLORREF FillColor() const { return m_crFill; }
    int Thickness() const { return m_nThickness; }
    ViewMode Mode() const { return m_nMode; }
    int ShapeKind() const { return m_nShapeKind; }
    // The canvas: the document's size, at least 1280 × 1024.
    CSize CanvasSize() const { return CSize(m_nCanvasWidth, m_nCanvasHeight); }
    // Where the pointer was last seen.
    CPoint Pointer() const { return m_ptPointer; }
    // The left button went down in the view and is still down.
    bool IsDragging() const { return m_drag.m_bButtonDown; }
    const CMyTracker& Tracker() const { return m_myTracker; }
    // A choice of outline colour, fill colour or thickness: the choice for new shapes, and for
    // the selected shapes too (one step that can be undone).
    void ChooseLineColor(COLORREF cr);
    void ChooseFillColor(COLORREF cr);
    void ChooseThickness(int nThickness);

protected:
    void OnDrawLine();
    void OnDrawRect();
    void OnDrawEllipse();
    void OnLineColor();
    void OnFillColor();
    void OnSelect();
    void OnEraser();
    // The thickness commands: each id sets the width of its row in the table (SkorelView.cpp).
    void OnWidth(UINT nID);
    // One pixel thinner or thicker, within 1 to 7.
    void OnWidthThinner();
    void OnWidthThicker();
    // A colour-bar swatch clicked: its colour as the outline or the fill colour, as the
    // button and the colour say (ColorSwatches.h).
    void OnColorSwatch(const CCmdNotify& notify);
    void OnFileSave();
    // Asks for a file, its type and the area, and exports the drawing there.
    void OnFileExport();
    // The drawing (the area last chosen in the export dialog) to the clipboard as a picture.
    void OnEditCopyPicture();
    // The selected shapes to and from the clipboard, deleted, and copied in place.
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnEditClear();
    void OnEditDuplicate();
    void OnEditSelectAll();
    void OnUpdateNeedsSelection(CCmdUI* pCmdUI);
    void OnUpdateEditPaste(CCmdUI* pCmdUI);
    void OnUpdateEditSelectAll(CCmdUI* pCmdUI);
    // The selected shapes' place in the drawing order: each command's id its order.
    void OnArrange(UINT nID);
    void OnUpdateArrange(CCmdUI* pCmdUI);
    // What the toolbar, the menus and the status bar show of the drawing state.
    void OnUpdateTool(CCmdUI* pCmdUI);
    void OnUpdateWidth(CCmdUI* pCmdUI);
    void OnUpdateLineColor(CCmdUI* pCmdUI);
    void OnUpdateFillColor(CCmdUI* pCmdUI);
    void OnUpdatePosition(CCmdUI* pCmdUI);
    void OnUpdateSize(CCmdUI* pCmdUI);
    void OnUpdateThickness(CCmdUI* pCmdUI);
    // The selection frame's handles keep their size on the screen.
    void OnZoomChanged() override;
    DECLARE_MESSAGE_MAP()

private:
    // Asks for a colour, opening on cr, offering no fill as well when asked; true, with the
    // colour (or kNoFill) in cr, unless cancelled.
    bool ChooseColor(COLORREF& cr, bool bOfferNoFill);
    // Gives the selected shapes, if any, their style as `change` leaves a copy of each.
    void RestyleSelected(const std::function<void(CData&)>& change);
    // Draws white, the picture and the records of the area of the canvas onto the context,
    // pixel for pixel as a composition of the whole canvas would, canvas pixel (x, y) at
    // (x - shift.x, y - shift.y): only what shows there is drawn.
    void Compose(CDC* pDC, const CRect& area, CPoint shift = CPoint());
    // Takes the document's canvas size, when it changed: the scroll range and the plans.
    void FollowCanvasSize();
    // Export and picture copy of the drawing as this view composes it.
    CDrawingExport Export();
    // Where the selection frame draws now; empty when it draws nothing.
    CRect FrameArea() const;
    // Marks for repainting where the frame was drawn and where it is now, when it moved.
    void UpdateFrameArea();
    // The record a press at the point grabs: the last one it hits, painted on top; null
    // when it hits none.
    CData* HitRecord(CPoint point) const;
    // A press with the arrow tool: on a single shape's handle, a resize (or a line's end); on
    // a shape, a move of it, or of the selection it is in; with Shift, the shape joins or
    // leaves the selection; on empty canvas, a selection rectangle.
    void PressInSelection(CPoint point, UINT nFlags);
    // The point a drag from `from` ends at, Shift making a drawn square, circle or a line at a
    // multiple of 45°, of the shape kind.
    CPoint Constrained(CPoint from, CPoint point, int nKind, UINT nFlags) const;
    // Appends the shape the drag from m_ptStart drew, when it has a size.
    void AddDrawnShape(CPoint ptEnd);
    // The drag's feedback in the selection mode, for the pointer at the point.
    void TrackSelectionDrag(CPoint point, UINT nFlags, CDC* pDC);
    // Writes the grabbed shapes' new place or size back into their records.
    void CommitSelection();
    // Selects what the selection rectangle from the press to the point holds: the shapes
    // wholly inside it, or with Alt every shape it touches; added to the selection with
    // Shift. A click that did not move deselects (without Shift).
    void SelectInBand(CPoint point, UINT nFlags);
    // Ends the drag: releases the mouse and repaints where its feedback was.
    void EndDrag();
    // Ends a drag whose release will not come or must not count (Escape, a change to the
    // records): nothing is stored, and the repaint takes the rubber band or the tracker's
    // outline off the window.
    void CancelDrag();
    // Chooses the kind the tool command draws, in drawing mode.
    void ChooseDrawingTool(UINT nID);
    // Makes the records the selection (none: nothing selected), with the frame on them and
    // the style of the one selected last as the choice for new shapes; the one place that
    // changes the selection.
    void SelectShapes(const std::vector<CData*>& records);
    // Places the frame on the selection as it is now.
    void FrameSelection();
    // Marks for repainting where the drag drew its feedback, which the paint then replaces.
    void EraseFeedback();
    // Sizes the selection frame's handles for the zoom, so that they show as large at every
    // zoom, and repaints the frame.
    void FitFrameToZoom();

    // What the left button's drag in the view does.
    enum class Drag {
        None,
        Draw,    // draws a shape
        Band,    // draws the selection rectangle
        Move,    // moves the selected shapes
        Resize,  // moves an edge or corner of a single selected box
        LineEnd, // moves one end of a single selected line
    };
    // The drag from the last press until its release, or until it is dropped.
    struct DragState {
        Drag m_kind = Drag::None;
        bool m_bButtonDown = false; // the left button went down in the view and is still down
        bool m_bMoved = false;      // the mouse moved during a selection drag
        bool m_bDropped = false;    // the drag was dropped: its release changes nothing
        CPoint m_ptPress;           // where the drag began
        int m_nHitCode = -1;        // the frame's hit code at a press in selection mode
        int m_nLineEnd = -1;        // the end a LineEnd drag moves: 0 the start, 1 the end
        CRect m_rectTracked;        // rectangle last reported by the tracker's feedback
        CRect m_rcMoved;            // a move's frame as its feedback last drew it
        CRect m_rcFeedback;         // where the drag drew its feedback
    };
    DragState m_drag;
    int m_nThickness; // thickness of new shapes, 1 to 7
    // The canvas: the document's size, at least 1280 × 1024.
    int m_nCanvasHeight;
    int m_nCanvasWidth;
    ViewMode m_nMode;
    CDrawTool m_drawTool;
    CMyTracker m_myTracker;
    int m_nShapeKind; // SHAPE_LINE, SHAPE_RECT or SHAPE_ELLIPSE for drawing mode
    // Press point in drawing mode: the drawing tool's anchor, which SetStartPoint writes.
    const CPoint& m_ptStart = m_drawTool.m_ptAnchor;
    COLORREF m_crFill;         // fill colour of new shapes
    COLORREF m_crLine;         // outline colour of new shapes
    CPoint m_ptPointer;        // where the pointer was last seen
    bool m_bPointerIn = false; // the pointer is over the canvas
    CSelection m_selection;
    std::chrono::steady_clock::time_point m_lastNudge; // when the arrow keys moved shapes last
    CRect m_rcFrameShown;                              // where the frame is on the window
    CCompositionPlanner m_planner;
    mutable CShapeIndex m_index; // kept for presses and selection rectangles
    CShapeClipboard m_clipboard;
    CBaseImage m_captureImage; // writes the canvas to a file on Save
    // The box for the picture area alone was ticked in the last export dialog; it starts
    // ticked.
    bool m_bExportPictureOnly = true;
};
