// What the decoders that write a picture straight into the rows of a 24-bit DIB share: where
// their bytes come from, where each row goes, and how a decoding ends.
#pragma once

#include "framework/core/Types.h"

#include <cstddef>
#include <cstdint>
#include <functional>

enum class DecodedRows {
    Read,     // every row was placed
    NotTaken, // a picture of a kind the decoder leaves to another; no row was placed
    Damaged,  // the decoder met an error it could not go past; some rows may be placed
    Stopped,  // the stop asked to end before every row was placed
};

// Fills up to n bytes of the file and says how many it did, fewer only at its end.
using RowSource = std::function<std::size_t(BYTE*, std::size_t)>;
// Where row y of the picture goes: the first byte of its first pixel, blue, green and red, and
// in `step` the bytes from a pixel to the next.
using RowPlace = std::function<BYTE*(int y, std::int64_t& step)>;
// Asked before each row: true ends the decoding.
using RowStop = std::function<bool()>;

// How much of the file a decoder asks its source for at a time.
constexpr std::size_t kRowSourceBlock = 64 * 1024;

// A channel of a pixel laid on white.
inline BYTE OnWhite(int channel, int alpha)
{
    return BYTE((channel * alpha + 255 * (255 - alpha)) / 255);
}
