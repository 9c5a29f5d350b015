// Pictures in the formats Qt's image readers read for the program: PNG, JPEG, GIF (its first
// frame), TIFF, WebP and ICO (its first image). BMP is not among them: the program reads BMP
// files itself.
#pragma once

#include "framework/core/Types.h"

#include <cstdint>
#include <memory>
#include <vector>

// A decoded picture as a 24-bit bottom-up DIB: rows of DibRowBytes(width, 24) bytes, blue,
// green and red a pixel, the last row of the picture first.
struct CDibPixels {
    int width = 0;
    int height = 0;
    std::unique_ptr<BYTE[]> bits;
};

class CPictureReader {
public:
    enum class Result {
        Read,       // the pixels are in the CDibPixels
        NotPicture, // none of the formats takes the data
        Refused,    // a format takes it, but it is damaged or too large
    };
    // No picture has more pixels than this; a larger one is refused before it is decoded.
    static constexpr std::int64_t kMaxPixels = std::int64_t(1) << 28;

    explicit CPictureReader(const char* pszPath);
    explicit CPictureReader(std::vector<BYTE> bytes);
    ~CPictureReader();
    CPictureReader(const CPictureReader&) = delete;
    CPictureReader& operator=(const CPictureReader&) = delete;

    // Decodes the picture, turned as its orientation tag says; transparent parts show on
    // white, as the canvas under them.
    Result Read(CDibPixels& dib);

private:
    struct Source;
    std::unique_ptr<Source> m_source;
};
