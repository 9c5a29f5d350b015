// Small picture files for the tests, made by Qt's writers (GIF, which Qt only reads, as bytes),
// and DIB rows checked against the pictures the tests made.
#pragma once

#include "framework/core/Types.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
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

// 16 × 16 blocks of flat greys, each block a grey of its own: what JPEG keeps nearly exactly,
// whatever its subsampling and however it spreads the colour planes between blocks.
inline QImage Blocks(int columns, int rows)
{
    QImage image(16 * columns, 16 * rows, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int grey = 10 + (y / 16 * columns + x / 16) * 67 % 236;
            image.setPixel(x, y, qRgb(grey, grey, grey));
        }
    return image;
}

// `setUp` may set the writer's options.
inline std::vector<BYTE> Encoded(const QImage& image, const char* format,
                                 const std::function<void(QImageWriter&)>& setUp = nullptr)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (setUp)
        setUp(writer);
    writer.write(image);
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

// The largest difference of a channel between 24-bit bottom-up DIB rows and the picture; 256
// when their sizes differ.
inline int DibDistance(const BYTE* bits, int width, int height, const QImage& expected)
{
    if (!bits || expected.size() != QSize(width, height))
        return 256;
    const QImage got = QImage(bits, width, height, (3 * width + 3) / 4 * 4, QImage::Format_BGR888);
    int most = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const QRgb a = got.pixel(x, height - 1 - y), e = expected.pixel(x, y);
            most = std::max({most, std::abs(qRed(a) - qRed(e)), std::abs(qGreen(a) - qGreen(e)),
                             std::abs(qBlue(a) - qBlue(e))});
        }
    return most;
}

// Whether 24-bit bottom-up DIB rows hold exactly the picture's pixels.
inline bool DibShows(const BYTE* bits, int width, int height, const QImage& expected)
{
    return DibDistance(bits, width, height, expected) == 0;
}

// Keeps a picture as a seed of the picture fuzzer when the test run asks for seeds.
inline void KeepPictureSeed(const std::string& name, const std::vector<BYTE>& bytes)
{
    const QString root = qEnvironmentVariable("SKOREL_FUZZ_SEEDS");
    if (root.isEmpty() || !QDir().mkpath(root + "/fuzz_picture"))
        return;
    QFile file(root + "/fuzz_picture/" + QString::fromStdString(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

} // namespace testing_support
