// Encoding a bitmap as a picture file through Qt's image writers.
#pragma once

#include "framework/core/Types.h"

#include <vector>

class CBitmap;

class CPictureWriter {
public:
    // The whole bitmap in the format of Qt's writer named `pszCodec` ("png"), at the quality
    // given (0–100) where the format has one, else at the writer's own; false (and `bytes`
    // empty) when the writer fails.
    static bool Encode(const CBitmap& bitmap, const char* pszCodec, std::vector<BYTE>& bytes,
                       int nQuality = -1);
};
