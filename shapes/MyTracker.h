// Moves and resizes a grabbed shape while the user drags it with the arrow tool, drawing
// exclusive-or feedback on the window. It never changes a record: the view copies the
// result back at button-up.
#pragma once

#include "Data.h"

#include "framework/gdi/Gdi.h"

class CMyTracker : public CObject {
public:
    CMyTracker() = default;
    ~CMyTracker() override = default;

    // Takes a record hit at button-down: a line's end points, or a rectangle's or ellipse's
    // corners (as stored), its kind and colours, and the press point. Records of other kinds
    // are not taken; after an earlier take in the same press their kind and colours are still
    // copied. Where the selection frame goes is the view's to say (FrameShape).
    void Select(CPoint point, const CData* pData);
    // TRUE when the point is close to the line record (LineHit). Keeps the point and the
    // line's ends in the six hit-test fields.
    BOOL HitTestLine(CPoint point, const CData* pData);
    // Moves an edge, a corner (handle 0–7) or the whole rectangle (8) to the point, without
    // normalising; other codes change nothing. Replaces the feedback of a rectangle (kind 2)
    // or ellipse (kind 3). Leaves the context in exclusive-or mode with the hollow brush.
    CRect TrackRect(CPoint point, CDC* pDC, int nHandle);
    // Moves a grabbed line by the mouse's displacement and replaces its feedback. Only the
    // hollow brush is selected when no line is grabbed.
    void TrackLine(CPoint point, CDC* pDC);
    // Gives a grabbed rectangle or ellipse the rectangle and replaces its feedback.
    CRect TrackTo(const CRect& rect, CDC* pDC);
    // Moves one end of a grabbed line (0 its start, 1 its end) to the point and replaces its
    // feedback.
    void TrackLineEnd(CPoint point, int nEnd, CDC* pDC);

    int m_nPtY = 0; // point last given to HitTestLine
    int m_nPtX = 0;
    int m_nY1 = 0; // start of the line last given to HitTestLine
    int m_nX1 = 0;
    int m_nY2 = 0; // its end
    int m_nX2 = 0;
    CPoint m_ptMovedEnd; // grabbed line moved by the latest mouse offset
    CPoint m_ptMovedStart;
    CPoint m_ptLast; // mouse position of the last move step (the press point at first)
    CRect m_rect;    // current rectangle of a grabbed rectangle or ellipse
    int m_nKind = 0; // kind of the grabbed shape; 0 before the first grab
    CPoint m_ptEnd;  // grabbed line as last drawn
    CPoint m_ptStart;
    COLORREF m_crLine = 0; // colours of the grabbed shape
    COLORREF m_crFill = 0;
    BOOL m_bGrabbed = FALSE; // a shape is grabbed in the current press
    CRect m_rcOld;           // grabbed rectangle as last drawn
};
