// Every rule of a shape that depends on its kind, in one place: how its figure is drawn between
// its two points, the corners a record keeps, the pixels it may touch, whether a point hits
// it, whether it hides what was drawn before it, and where its selection frame goes. A record
// of a kind the table does not know is nothing: it draws nothing, touches no pixel, is never
// hit, hides nothing, shows no frame and writes no SVG. A new kind is one row of the table in
// Shape.cpp, one drawing routine and one SVG routine.
#pragma once

#include "Data.h"

#include "framework/gdi/Gdi.h"
#include "framework/gdi/SvgWriter.h"
#include "framework/window/ResizeTracker.h"

// The grey of every drag's exclusive-or feedback.
constexpr COLORREF kFeedbackGrey = RGB(127, 127, 127);

// A box (rectangle, ellipse) spans its two corners, kept in order: it is hit anywhere between
// them, may hide what lies under its fill, and its frame has handles to resize it. A line runs
// from its start to its end in the order drawn, is hit near its path and is only moved.
bool IsBoxShape(int nKind);
bool IsLineShape(int nKind);

// The corners a record of the kind keeps for a figure dragged from a to b: a box's top-left
// and bottom-right, a line's ends as they are.
void OrderCorners(int nKind, CPoint& a, CPoint& b);

// Draws the kind's figure from a to b with the context's pen, brush and mix mode.
void DrawFigure(CDC* pDC, int nKind, CPoint a, CPoint b);
// Draws the record with its own pen and brush; a hollow one without a brush.
void DrawShapeRecord(CDC* pDC, const CData& data);
// Whether the record is a box drawn as its outline alone (its fill is kNoFill).
bool IsHollow(const CData& data);
// Writes the record as the one SVG element of its kind (<line>, <rect>, <ellipse>) with its
// outline colour, fill (none for a line) and thickness, where the record draws.
void WriteShapeSvg(CSvgWriter& svg, const CData& data);

// The box the record's figure spans between its two points, its last pixel included.
CRect FigureBox(const CData& data);
// How far outside its figure box a press may still grab the record (see ShapeHit).
std::int64_t HitReach(const CData& data);
// The pixels drawing the record may touch: its corners widened by its pen on every side (a
// little more than the pen reaches, never less); empty for an unknown kind.
CRect ShapeBounds(const CData& data);
// Widens the bounds to take in the record's (an empty one becomes the record's).
void GrowToShape(CRect& bounds, const CData& data);
// Whether a press at the point grabs the record: anywhere in a filled box (left and top edges
// in, right and bottom out), near a hollow box's outline (its half width and a few pixels
// either side), near a line (see LineHit).
bool ShapeHit(const CData& data, CPoint point);
// Within 20 pixels across a vertical or horizontal line between its ends, or within 19
// pixels vertically of a sloped line inside its x range; a line of no length is never hit.
bool LineHit(CPoint point, CPoint a, CPoint b);
// Whether drawing the record paints every pixel of the area, with its pen or its fill: then
// nothing drawn before it shows there. A line's pen counts only a pixel or so inside its edge;
// a hollow box hides nothing.
bool ShapeHides(const CData& data, const CRect& area);
// A quick first look: whether the record can hide any square of that side at all.
bool ShapeMayHide(const CData& data, int nSide);
// Places the frame on the record as its selection mark: on a box's corners with a dotted
// border and handles inside; around a line's ends with a dotted border alone. No record, or
// one of an unknown kind, hides the frame at (0, 0, 0, 0).
void FrameShape(const CData* pData, CResizeTracker* pFrame);
// The side of the frame's handles, in canvas pixels, for a view at a zoom (a percentage): as
// large on the screen at every zoom as FrameShape's handles at 100 %, and at least a pixel.
int FrameHandleSize(int nZoom);
