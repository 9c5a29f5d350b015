// The rectangle tracker: a frame with eight resize handles drawn around a rectangle, with a
// hit test that says which handle a point is on and the cursor that goes with it.
#pragma once

#include "framework/core/Types.h"

class CDC;
class CWnd;

class CResizeTracker {
public:
    // Style bits of m_nStyle.
    enum StyleFlags : UINT {
        solidLine = 1,
        dottedLine = 2,
        hatchedBorder = 4,
        resizeInside = 8,
        resizeOutside = 16,
        hatchInside = 32,
    };
    // Hit codes: the corners and edge midpoints of m_rect as stored, so code 0 is the handle at
    // (left, top) even when the rectangle is inverted.
    enum TrackerHit {
        hitNothing = -1,
        hitTopLeft = 0,
        hitTopRight = 1,
        hitBottomRight = 2,
        hitBottomLeft = 3,
        hitTop = 4,
        hitRight = 5,
        hitBottom = 6,
        hitLeft = 7,
        hitMiddle = 8,
    };

    // Starts far outside any window, so that a tracker nobody has placed yet draws nothing
    // visible and is never hit.
    CResizeTracker();
    CResizeTracker(const CRect& rect, UINT nStyle);

    // Draws the frame on the context as the style says: the border one pixel outside the
    // rectangle, a hatched band of handle width around it, a hatched interior, black handles.
    // The context's pen, brush and mix mode are put back afterwards. A rectangle that is a
    // single point (as after the drawing was erased) draws nothing.
    void Draw(CDC* pDC) const;
    // hitNothing … hitMiddle for a point. Handles are tested before the interior and corners
    // before edges. Handles exist only with resizeInside or resizeOutside. A point-sized
    // rectangle is never hit.
    int HitTest(CPoint point) const;
    // Sets the sizing or move cursor (GetCursorId) when the mouse is over the window's client
    // area, on a handle or inside; false when it set none. Lives with the window classes.
    BOOL SetCursor(CWnd* pWnd, UINT nHitTest) const;
    // The cursor for a hit code: diagonal sizing for corners (following an inverted
    // rectangle), vertical or horizontal sizing for edges, moving inside, 0 for hitNothing.
    int GetCursorId(int nHandle) const;
    // The square of a handle (0–7); empty when the style has no handles.
    CRect GetHandleRect(int nHandle) const;

    CRect m_rect;      // as set, not necessarily normalised
    UINT m_nStyle = 0; // StyleFlags
    int m_nHandleSize; // side of a handle square, in pixels
    CSize m_sizeMin;   // smallest size a resize should leave

private:
    bool IsHidden() const;
};
