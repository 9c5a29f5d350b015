// What a JPEG file's markers say before any of it is decoded: its size, whether libjpeg will
// keep every coefficient of the picture, and how many scans it holds. A progressive file can
// hold thousands of nearly empty scans in a few kilobytes, and libjpeg passes over every block
// of the picture for each of them: the scans are counted from the markers, without decoding.
#pragma once

#include "framework/core/Types.h"

#include <cstddef>
#include <cstdint>
#include <functional>

struct JpegLayout {
    int width = 0;
    int height = 0;
    bool progressive = false;
    // The start-of-scan markers before the end of the image (or of the data); counting stops
    // one past the bound it was given.
    int scans = 0;
    // libjpeg's buffer of every coefficient of every component (128 bytes an 8 × 8 block),
    // which it allocates for a progressive file or one whose components come in several scans.
    std::int64_t coefficientBytes = 0;

    bool KeepsAllCoefficients() const { return progressive || scans > 1; }
};

// Reads the markers through `read` (which fills up to n bytes and returns how many it did,
// fewer only at the end of the data) up to the end of the image, and stops early once the
// scans number more than maxScans. False when the data is not a JPEG file whose frame header
// libjpeg takes: no start of image, a second frame, a scan before the frame, a frame of no
// pixels or of more components or sampling than libjpeg allows.
bool ReadJpegLayout(const std::function<std::size_t(BYTE*, std::size_t)>& read, int maxScans,
                    JpegLayout& layout);
