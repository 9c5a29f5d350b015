// Pictures read through Qt's image readers into 24-bit DIB rows: one small file per format,
// from a file and from bytes, compared with Qt's own decoding of the same file; transparency on
// white; and a table of files the reader must not take or must refuse.
#include "framework/gdi/PictureReader.h"

#include "tests/support/Pictures.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

using testing_support::DibShows;
using testing_support::Encoded;
using testing_support::Gif;
using testing_support::Stripes;
using Bytes = std::vector<BYTE>;
using Result = CPictureReader::Result;

std::string Write(const QTemporaryDir& dir, const char* name, const Bytes& bytes)
{
    const QString path = dir.filePath(QString::fromUtf8(name));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    return QFile::encodeName(path).toStdString();
}

QImage QtDecoded(const Bytes& bytes)
{
    return QImage::fromData(bytes.data(), int(bytes.size())).convertToFormat(QImage::Format_RGB32);
}

struct FormatCase {
    const char* name;
    Bytes file;
};

class PictureFormat : public ::testing::TestWithParam<FormatCase> {};

// Odd widths leave pad bytes at the end of each DIB row.
TEST_P(PictureFormat, ReadsAsQtDecodesItFromFileAndBytes)
{
    const Bytes& file = GetParam().file;
    const QImage expected = QtDecoded(file);
    ASSERT_FALSE(expected.isNull());
    QTemporaryDir dir;
    CPictureReader fromFile(Write(dir, GetParam().name, file).c_str());
    CPictureReader fromBytes(file);
    for (CPictureReader* reader : {&fromFile, &fromBytes}) {
        CDibPixels dib;
        ASSERT_EQ(reader->Read(dib), Result::Read);
        EXPECT_TRUE(DibShows(dib.bits.get(), dib.width, dib.height, expected));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, PictureFormat,
    ::testing::Values(FormatCase{"Png", Encoded(Stripes(7, 5), "png")},
                      FormatCase{"Jpeg", Encoded(Stripes(9, 4), "jpeg")},
                      FormatCase{"Gif", Gif(5, 3)},
                      FormatCase{"Tiff", Encoded(Stripes(6, 5), "tiff")},
                      FormatCase{"Webp", Encoded(Stripes(5, 6), "webp")},
                      FormatCase{"Ico", Encoded(Stripes(16, 16), "ico")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PictureReader, TransparentPixelsShowOnWhite)
{
    QImage image(3, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(0, 0, 0, 0));
    image.setPixel(1, 0, qRgba(10, 20, 30, 255));
    image.setPixel(2, 0, qRgba(0, 0, 0, 0));
    CPictureReader reader(Encoded(image, "png"));
    CDibPixels dib;
    ASSERT_EQ(reader.Read(dib), Result::Read);
    QImage expected(3, 1, QImage::Format_RGB32);
    expected.fill(Qt::white);
    expected.setPixel(1, 0, qRgb(10, 20, 30));
    EXPECT_TRUE(DibShows(dib.bits.get(), 3, 1, expected));
}

// The CRC-32 of PNG chunks.
std::uint32_t Crc32(const BYTE* p, std::size_t n)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k)
            crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

// A real PNG whose header, its checksum mended, announces width × height pixels.
Bytes PngAnnouncing(std::uint32_t width, std::uint32_t height)
{
    Bytes b = Encoded(Stripes(2, 2), "png");
    const auto put = [&b](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + std::size_t(i)] = BYTE(v >> (24 - 8 * i));
    };
    put(16, width);
    put(20, height);
    put(29, Crc32(b.data() + 12, 17)); // the chunk's type and its 13 bytes of data
    return b;
}

Bytes Head(Bytes b, std::size_t n)
{
    b.resize(n);
    return b;
}

struct MalformedCase {
    const char* name;
    Bytes bytes;
    Result result;
};

class PictureMalformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(PictureMalformed, IsRefusedOrNotTaken)
{
    CPictureReader reader(GetParam().bytes);
    CDibPixels dib;
    EXPECT_EQ(reader.Read(dib), GetParam().result);
    EXPECT_EQ(dib.bits, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Files, PictureMalformed,
    ::testing::Values(
        // Past 2^28 pixels by one row, announced in the header: refused before decoding.
        MalformedCase{"PngPastTheLimit", PngAnnouncing(16384, 16385), Result::Refused},
        MalformedCase{"GifPastTheLimit", Gif(16384, 16385), Result::Refused},
        MalformedCase{"PngOfMostPixels", PngAnnouncing(0x7FFFFFFF, 0x7FFFFFFF), Result::Refused},
        MalformedCase{"PngCutShort", Head(Encoded(Stripes(40, 40), "png"), 60), Result::Refused},
        MalformedCase{"JpegWithoutImage", Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10, 'J', 'F'},
                      Result::Refused},
        MalformedCase{"GifCutShort", Head(Gif(5, 3), 20), Result::Refused},
        MalformedCase{"TiffCutShort", Head(Encoded(Stripes(40, 40), "tiff"), 40),
                      Result::Refused},
        // BMP is the program's own to read, and Qt's other formats are not taken.
        MalformedCase{"Bmp", Encoded(Stripes(2, 2), "bmp"), Result::NotPicture},
        MalformedCase{"Svg", Bytes{'<', 's', 'v', 'g', '/', '>'}, Result::NotPicture},
        MalformedCase{"Ppm", Encoded(Stripes(2, 2), "ppm"), Result::NotPicture},
        MalformedCase{"Zeros", Bytes(64, 0), Result::NotPicture},
        MalformedCase{"Empty", Bytes{}, Result::NotPicture}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PictureReader, MissingFileIsNotAPicture)
{
    CPictureReader reader("/nonexistent/picture.png");
    CDibPixels dib;
    EXPECT_EQ(reader.Read(dib), Result::NotPicture);
}

} // namespace
