// A JPEG decoded by libjpeg straight into the rows of a 24-bit DIB: no picture of four bytes a
// pixel is made beside the rows, and no pass converts one into them. Colour and grey pictures
// come this way; others (CMYK) are left to a reader that converts them.
#pragma once

#include "DecodedRows.h"

// Decodes the JPEG that `read` gives, which must be width × height pixels, placing each row
// where `place` says. A file that ends early decodes as far as it goes, the rest grey, as
// libjpeg decodes it for any reader.
DecodedRows ReadJpegRows(const RowSource& read, int width, int height, const RowPlace& place,
                         const RowStop& stop);
