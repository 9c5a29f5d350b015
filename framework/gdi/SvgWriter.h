// An SVG document of a part of the canvas, one canvas pixel a user unit, written element by
// element in drawing order.
#pragma once

#include "framework/core/Types.h"

#include <memory>
#include <vector>

class CSvgWriter {
public:
    // Starts the document: `area` of the canvas, in canvas coordinates.
    explicit CSvgWriter(const CRect& area);
    ~CSvgWriter();
    CSvgWriter(const CSvgWriter&) = delete;
    CSvgWriter& operator=(const CSvgWriter&) = delete;

    // A rectangle of the canvas filled with a colour, without an outline.
    void Fill(const CRect& rect, COLORREF fill);
    // A PNG picture embedded in the document, its top-left pixel at (x, y).
    void Image(int x, int y, int width, int height, const std::vector<BYTE>& png);
    // Outlines run through pixel centres: a canvas pixel (x, y) has its centre at
    // (x + 0.5, y + 0.5). A line's ends are round. A fill of CLR_NONE is none.
    void Line(double x1, double y1, double x2, double y2, COLORREF stroke, int width);
    void Rect(double x, double y, double width, double height, COLORREF stroke, COLORREF fill,
              int strokeWidth);
    void Ellipse(double cx, double cy, double rx, double ry, COLORREF stroke, COLORREF fill,
                 int strokeWidth);
    // Ends the document and hands back its UTF-8 text.
    std::vector<BYTE> Finish();

private:
    struct Stream;
    std::unique_ptr<Stream> m_stream;
};
