// The part of the canvas a paint composes, cut into the tiles of a fixed grid, with what each
// tile shows of the drawing: a record that paints the whole of a tile, with its fill or its
// pen, hides everything drawn before it there, the white and the picture too. Composing from there
// on gives the tile's pixels exactly, and among many records most are hidden that way.
#pragma once

#include "shapes/Data.h"

#include "framework/core/ObList.h"

#include <utility>
#include <vector>

class CCanvasTiles {
public:
    explicit CCanvasTiles(const CRect& part);

    // Finds, walking from the tail, the last record that hides each tile.
    void FindCovers(const CTypedOwningList<CData>& list);
    // The tiles no record hides, as one rectangle (empty when there are none).
    CRect Uncovered() const;
    // The index of the first record that shows in any tile; count when none does.
    int EarliestStart(int count) const;
    // Where the record with this index and these bounds shows: the rectangle holding the tiles
    // it meets that no later record hides; empty when there are none.
    CRect WhereShows(const CRect& bounds, int index) const;

private:
    static constexpr int kTile = 64;

    CRect Tile(int column, int row) const;
    // The tiles a rectangle meets, as half-open column and row ranges; false when none.
    bool Range(const CRect& r, int& c0, int& c1, int& r0, int& r1) const;
    int Start(int column, int row) const { return m_start[std::size_t(row * m_nColumns + column)]; }

    CRect m_part;
    int m_nFirstColumn, m_nFirstRow, m_nColumns, m_nRows;
    // Per tile, the index of the record it starts at; -1 for the white and the picture.
    std::vector<int> m_start;
};

// What composing a part of the canvas draws: where white and the picture go, and in order each
// record that shows there, with where.
struct CCompositionPlan {
    CRect background;
    std::vector<std::pair<const CData*, CRect>> shown;
};

// Plans compositions. The plan of the whole canvas, made for a large part, is kept for the
// large parts that follow while the records stay as they are (until Forget): repainting the
// window or saving then costs what the visible records cost, not what the list's length
// costs. It is kept only while few of the records show, so that it never weighs much.
class CCompositionPlanner {
public:
    CCompositionPlanner(int nCanvasWidth, int nCanvasHeight);

    // The plan for the part; the whole canvas's may reach beyond it.
    const CCompositionPlan& Plan(const CTypedOwningList<CData>& list, const CRect& part);
    // The records changed: the kept plan no longer holds.
    void Forget() { m_bWholeKept = false; }
    // The canvas has another size.
    void Resize(int nCanvasWidth, int nCanvasHeight)
    {
        m_canvas = CRect(0, 0, nCanvasWidth, nCanvasHeight);
        Forget();
    }

private:
    static CCompositionPlan Make(const CTypedOwningList<CData>& list, const CRect& part);

    CRect m_canvas;
    CCompositionPlan m_whole;
    bool m_bWholeKept = false;
    CCompositionPlan m_part;
};
