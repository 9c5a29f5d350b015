// The drawing as an SVG document, for vector editors and browsers: the picture as the canvas
// shows it, then each record as an element of its own, so that the shapes stay shapes.
#pragma once

#include "document/SkorelDoc.h"

#include "framework/core/Types.h"
#include "framework/gdi/Gdi.h"

#include <vector>

namespace skr {

// An SVG document of the area of the canvas: the canvas's white where the picture leaves any
// of the area, the part of the picture on the canvas (as PNG), then every record in drawing
// order.
std::vector<BYTE> DrawingSvg(const CSkorelDoc& doc, const CRect& area);

} // namespace skr
