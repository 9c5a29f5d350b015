// Small picture files for the tests: made by Qt's own writers, or written byte by byte for the
// formats Qt only reads, and a CBaseImage-style DIB compared with Qt's decoding of the same file.
#pragma once

#include "framework/core/Types.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QImageWriter>

#include <cstdint>
#include <vector>

namespace testing_support {

// A picture whose every pixel differs from its neighbours: red across, green down.
inline QImage Stripes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(40 * x % 256, 60 * y % 256, (x + y) % 2 ? 200 : 30));
    return image;
}

// The picture as a file of the format, written by Qt.
inline std::vector<BYTE> Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.write(image);
    return std::vector<BYTE>(bytes.begin(), bytes.end());
}

// A GIF of width × height pixels, colour 0 red and colour 1 blue, pixel (x, y) colour
// (x + y) % 2. Each pixel's code follows a clear code, so that every code stays 3 bits wide.
inline std::vector<BYTE> Gif(std::uint16_t width, std::uint16_t height)
{
    std::vector<BYTE> b = {'G', 'I', 'F', '8', '9', 'a'};
    const auto put16 = [&b](std::uint16_t v) {
        b.push_back(BYTE(v));
        b.push_back(BYTE(v >> 8));
    };
    put16(width);
    put16(height);
    b.insert(b.end(), {0x80, 0, 0, 255, 0, 0, 0, 0, 255, 0x2C});
    put16(0);
    put16(0);
    put16(width);
    put16(height);
    b.insert(b.end(), {0, 2}); // no local table; LZW codes of 2 bits, 3 with clear and end
    std::vector<BYTE> data;
    std::uint32_t acc = 0;
    int bits = 0;
    const auto code = [&](unsigned c) {
        acc |= c << bits;
        bits += 3;
        for (; bits >= 8; bits -= 8, acc >>= 8)
            data.push_back(BYTE(acc));
    };
    const std::int64_t pixels = std::int64_t(width) * height;
    for (std::int64_t i = 0; i < pixels && i < 4096; ++i) {
        code(4);
        code(unsigned((i % width + i / width) % 2));
    }
    code(5);
    if (bits > 0)
        data.push_back(BYTE(acc));
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - at);
        b.push_back(BYTE(n));
        b.insert(b.end(), data.begin() + std::ptrdiff_t(at), data.begin() + std::ptrdiff_t(at + n));
    }
    b.insert(b.end(), {0, 0x3B});
    return b;
}

// Whether 24-bit bottom-up DIB rows hold exactly the picture's pixels.
inline bool DibShows(const BYTE* bits, int width, int height, const QImage& expected)
{
    if (expected.width() != width || expected.height() != height)
        return false;
    const std::size_t stride = std::size_t(width * 3 + 3) / 4 * 4;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const BYTE* p = bits + stride * std::size_t(height - 1 - y) + 3 * std::size_t(x);
            if (qRgb(p[2], p[1], p[0]) != (expected.pixel(x, y) | 0xFF000000u))
                return false;
        }
    return true;
}

} // namespace testing_support
