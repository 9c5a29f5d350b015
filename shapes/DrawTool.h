// Draws rubber-band feedback while the user drags, finished shapes and the blank canvas.
#pragma once

#include "Data.h"

#include "framework/gdi/Gdi.h"

class CDrawTool : public CObject {
public:
    CDrawTool() = default;
    ~CDrawTool() override = default;

    // Remembers where the drag begins; the feedback starts as a figure from there to there.
    void SetStartPoint(CPoint point);
    // Erases the feedback figure drawn last and draws the one from the anchor to `point`, in
    // exclusive-or mode with a 1-pixel grey pen and no fill. Leaves the context in that mode
    // with the hollow brush selected.
    void DrawRubberBand(CDC* pDC, CPoint point, int nKind);
    // Draws the record with its own pen and brush, in the context's current mix mode.
    void DrawShape(CDC* pDC, const CData* pData);
    // Paints (0, 0, cx, cy) white.
    void ClearCanvas(CDC* pDC, int cx, int cy);
    // The component-wise minimum and maximum of two points.
    CPoint TopLeftOf(CPoint p1, CPoint p2);
    CPoint BottomRightOf(CPoint p1, CPoint p2);

    CPoint m_ptAnchor;      // where the current drag began
    CPoint m_ptLast;        // end of the feedback figure on the screen now
    CPoint m_ptBottomRight; // last result of BottomRightOf
    CPoint m_ptTopLeft;     // last result of TopLeftOf
    // Never read: it stays because the tool's published layout has it.
    CRect m_rect;
};
