// A JPEG decoded by libjpeg straight into the rows of a 24-bit DIB: no picture of four bytes a
// pixel is made beside the rows, and no pass converts one into them. Colour and grey pictures
// come this way; others (CMYK) are left to a reader that converts them.
#pragma once

#include "framework/core/Types.h"

#include <cstddef>
#include <cstdint>
#include <functional>

enum class JpegRowsResult {
    Read,     // every row was placed
    NotTaken, // the picture's colours are not ones libjpeg turns into RGB; no row was placed
    Damaged,  // libjpeg met an error it could not go past; some rows may be placed
    Stopped,  // stop() asked to end before every row was placed
};

// Decodes the JPEG that `read` gives (filling up to n bytes, fewer only at its end), which
// must be width × height pixels. Each decoded row y goes where place(y, step) says: the first
// byte of its first pixel, blue, green and red, with `step` bytes from a pixel to the next. A
// file that ends early decodes as far as it goes, the rest grey, as libjpeg decodes it for any
// reader. stop() is asked before each row.
JpegRowsResult ReadJpegRows(const std::function<std::size_t(BYTE*, std::size_t)>& read, int width,
                            int height, const std::function<BYTE*(int, std::int64_t&)>& place,
                            const std::function<bool()>& stop);
