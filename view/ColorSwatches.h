// The colours the colour bar offers: the dark row over the light one, as a desktop paint
// program offers them, and at the end of the light row no fill at all. A swatch clicked with
// the left button gives the outline colour, with the right button the fill colour; no fill is
// a fill whichever button picks it, since an outline is never none.
#pragma once

#include "shapes/Data.h"

#include <array>

inline constexpr std::array kColorSwatches = {
    RGB(0, 0, 0),       RGB(128, 128, 128), RGB(128, 0, 0),   RGB(128, 128, 0),   RGB(0, 128, 0),
    RGB(0, 128, 128),   RGB(0, 0, 128),     RGB(128, 0, 128), RGB(128, 128, 64),  RGB(0, 64, 64),
    RGB(0, 128, 255),   RGB(0, 64, 128),    RGB(128, 0, 255), RGB(128, 64, 0),    RGB(64, 64, 64),

    RGB(255, 255, 255), RGB(192, 192, 192), RGB(255, 0, 0),   RGB(255, 255, 0),   RGB(0, 255, 0),
    RGB(0, 255, 255),   RGB(0, 0, 255),     RGB(255, 0, 255), RGB(255, 255, 128), RGB(0, 255, 128),
    RGB(128, 255, 255), RGB(128, 128, 255), RGB(255, 0, 128), RGB(255, 128, 64),  kNoFill,
};
