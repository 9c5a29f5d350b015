// Small picture files for the tests, made by Qt's writers (GIF, which Qt only reads, as bytes),
// and DIB rows checked against a picture decoded by Qt.
#pragma once

#include "framework/core/Types.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <vector>

namespace testing_support {

// A picture whose every pixel differs from its neighbours.
inline QImage Stripes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(40 * x % 256, 60 * y % 256, (x + y) % 2 ? 200 : 30));
    return image;
}

inline std::vector<BYTE> Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return std::vector<BYTE>(bytes.begin(), bytes.end());
}

// A 5 × 3 GIF, red and blue alternating; its screen size at byte 6 and its image's at byte 24.
inline std::vector<BYTE> Gif()
{
    return {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x05, 0x00, 0x03, 0x00, 0x80, 0x00,
            0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x2C, 0x00, 0x00, 0x00, 0x00,
            0x05, 0x00, 0x03, 0x00, 0x00, 0x02, 0x0C, 0x04, 0x43, 0x30, 0x04, 0x43,
            0x30, 0x04, 0x43, 0x30, 0x04, 0x43, 0x14, 0x00, 0x3B};
}

// Whether 24-bit bottom-up DIB rows hold exactly the picture's pixels.
inline bool DibShows(const BYTE* bits, int width, int height, const QImage& expected)
{
    return QImage(bits, width, height, (3 * width + 3) / 4 * 4, QImage::Format_BGR888).mirrored() ==
           expected.convertToFormat(QImage::Format_BGR888);
}

} // namespace testing_support
