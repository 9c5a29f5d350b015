// One drawn shape: a line, a rectangle or an ellipse.
#pragma once

#include "framework/core/Archive.h"
#include "framework/core/Object.h"
#include "framework/core/Types.h"

#include <cstdint>

// Shape kind codes; any other code is kept as it is and draws nothing.
constexpr int SHAPE_LINE = 1;
constexpr int SHAPE_RECT = 2;
constexpr int SHAPE_ELLIPSE = 3;

// A point moved by (dx, dy); coordinates saturate at the ends of their range instead of
// wrapping, so a record far out there can still be moved further.
inline CPoint Shifted(CPoint p, std::int64_t dx, std::int64_t dy)
{
    return CPoint(SaturatedLong(p.x + dx), SaturatedLong(p.y + dy));
}

// The fill of a hollow rectangle or ellipse: only its outline is drawn.
constexpr COLORREF kNoFill = 0xFFFFFFFF;

class CData : public CObject {
public:
    // Gives no field a value: whoever makes a record fills it in.
    CData() = default;
    ~CData() override = default;

    // The record's kArchiveBytes: start x, y, end x, y, kind, line colour, fill colour,
    // thickness, each a 32-bit little-endian integer.
    void Serialize(CArchive& ar) override;
    static constexpr std::uint64_t kArchiveBytes = 32;

    // Never read or archived: it stays because the record's published layout has it.
    CRect m_rect;
    int m_nThickness;  // outline width in pixels
    CPoint m_ptEnd;    // line: drag end; rectangle, ellipse: bottom-right corner
    CPoint m_ptStart;  // line: drag start; rectangle, ellipse: top-left corner
    int m_nKind;       // SHAPE_LINE, SHAPE_RECT or SHAPE_ELLIPSE
    COLORREF m_crFill; // interior of rectangles and ellipses; kNoFill leaves it unpainted
    COLORREF m_crLine; // outline
};
