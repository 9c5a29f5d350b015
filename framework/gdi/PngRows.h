// A PNG of eight bits or fewer a sample decoded by libpng straight into the rows of a 24-bit
// DIB, transparent parts laid on white a row at a time: no picture of four bytes a pixel is
// made beside the rows, and no pass converts one into them. PNGs of sixteen bits a sample are
// left to a reader that converts them.
#pragma once

#include "DecodedRows.h"

// Decodes the PNG that `read` gives, which must be width × height pixels, as ReadJpegRows does
// a JPEG. A file that ends early, or is damaged anywhere before its last row, is Damaged.
DecodedRows ReadPngRows(const RowSource& read, int width, int height, const RowPlace& place,
                        const RowStop& stop);
