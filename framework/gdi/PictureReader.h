// Pictures in the formats the program's table of picture formats has decoded (see
// res::PictureFormats): of an animation its first frame, of an icon its first image. Qt's
// readers judge the format and read the header; JPEGs and PNGs are then decoded by libjpeg and
// libpng straight into the rows, where those take them, every other picture by Qt's reader.
#pragma once

#include "framework/core/File.h"
#include "framework/core/Progress.h"
#include "framework/core/Types.h"

#include <cstdint>
#include <memory>
#include <vector>

// A decoded picture as a 24-bit bottom-up DIB: rows of DibRowBytes(width, 24) bytes, blue,
// green and red a pixel, the last row of the picture first.
struct CDibPixels {
    int width = 0;
    int height = 0;
    FileBlock bits; // on huge pages when large: a picture's rows are filled once, whole
};

class CPictureReader {
public:
    enum class Result {
        Read,       // the pixels are in the CDibPixels
        NotPicture, // none of the formats takes the data
        Refused,    // a format takes it, but it is damaged, too large or too costly to decode
        Cancelled,  // the progress asked the reading to stop
    };

    // What decoding one picture may take, counted from its header before anything is
    // decoded: Qt's decoded picture (4 bytes a pixel for most, 1 for grey JPEGs, 8 for 16-bit
    // PNG and TIFF), the 3 bytes a pixel of the rows, and the decoder's own buffers of the
    // whole picture — libjpeg's coefficients of a progressive JPEG (2 bytes a pixel for each
    // full-size component), an animated WebP's canvas (4 bytes a pixel) and its file, which
    // Qt reads whole. A gibibyte holds a common picture of 153 million pixels.
    static constexpr std::int64_t kMaxDecodeBytes = std::int64_t(1) << 30;
    // A legitimate progressive JPEG has a handful of scans: libjpeg's own progression has 10
    // (6 for grey), encoders that search for the smallest file stay under a few dozen. Each
    // scan costs a pass over every block of its components, so that thousands of empty scans
    // in a few kilobytes keep libjpeg busy for minutes; like ImageMagick, the reader refuses
    // "too many scans". At this bound the empty scans of a picture at the memory bound cost
    // about half a second more; scans that hold data cost what their bytes do.
    static constexpr int kMaxJpegScans = 100;

    // Reads the regular file at the path, opened without blocking on anything else.
    explicit CPictureReader(const char* pszPath);
    // Reads the open file from its start; the handle must outlive the reader.
    explicit CPictureReader(CFileHandle& file);
    explicit CPictureReader(std::vector<BYTE> bytes);
    ~CPictureReader();
    CPictureReader(const CPictureReader&) = delete;
    CPictureReader& operator=(const CPictureReader&) = delete;

    // Replaces kMaxDecodeBytes as the bound on what decoding may take.
    void SetMaxDecodeBytes(std::int64_t bytes) { m_nMaxDecodeBytes = bytes; }

    // Decodes the picture, turned as its orientation tag says; transparent parts show on
    // white, as the canvas under them. With a progress, the reading reports how far it got
    // and stops soon after it is cancelled. Safe on any thread.
    Result Read(CDibPixels& dib, CProgress* pProgress = nullptr);

private:
    struct Source;
    std::unique_ptr<Source> m_source;
    std::int64_t m_nMaxDecodeBytes = kMaxDecodeBytes;
};
