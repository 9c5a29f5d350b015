// Encoding a bitmap as a picture file through Qt's image writers.
#pragma once

#include "framework/core/Types.h"

#include <vector>

class CBitmap;

class CPictureWriter {
public:
    enum class Format { Png, Jpeg, Bmp };

    // The whole bitmap in the format; false (and `bytes` empty) when the writer fails.
    static bool Encode(const CBitmap& bitmap, Format format, std::vector<BYTE>& bytes);
};
