// The part of the canvas a paint composes, cut into the tiles of a fixed grid, with what each
// tile shows of the drawing: a record that paints the whole of a tile, with its fill or its
// pen, hides everything drawn before it there, the white and the picture too. Composing from there
// on gives the tile's pixels exactly, and among many records most are hidden that way.
#pragma once

#include "shapes/Data.h"

#include "framework/core/ObList.h"

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
