// Pictures read into 24-bit DIB rows: each format against the pixels the test wrote into it;
// JPEGs against Qt's own decoding; the orientation a tag asks for against turns made here; the
// bound on what decoding costs and on a JPEG's scans; cancelling; and the files the reader must
// refuse or leave alone.
#include "framework/gdi/PictureReader.h"

#include "tests/support/Pictures.h"

#include <QImageReader>

#include <gtest/gtest.h>

#include <cstdio> // jpeglib.h needs FILE
#include <cstdlib>

#include <jpeglib.h>
#include <png.h>

namespace {

using namespace testing_support;
using Bytes = std::vector<BYTE>;
using Result = CPictureReader::Result;

struct FormatCase {
    const char* name;
    Bytes file;
    QImage source;
    int tolerance;
};

class PictureFormat : public ::testing::TestWithParam<FormatCase> {};

// The 5 × 3 GIF's checkerboard, red where x + y is even, as its LZW codes say.
QImage GifPixels()
{
    QImage image(5, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            image.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 255) : qRgb(255, 0, 0));
    return image;
}

// Odd widths leave pad bytes at the end of each DIB row.
TEST_P(PictureFormat, ReadsTheSourcePixels)
{
    KeepPictureSeed(GetParam().name, GetParam().file);
    CPictureReader reader(GetParam().file);
    CDibPixels dib;
    ASSERT_EQ(reader.Read(dib), Result::Read);
    EXPECT_LE(DibDistance(dib.bits.get(), dib.width, dib.height, GetParam().source),
              GetParam().tolerance);
}

const auto kLossless = [](QImageWriter& w) { w.setQuality(100); };

INSTANTIATE_TEST_SUITE_P(
    Formats, PictureFormat,
    ::testing::Values(FormatCase{"Png", Encoded(Stripes(7, 5), "png"), Stripes(7, 5), 0},
                      FormatCase{"Tiff", Encoded(Stripes(6, 5), "tiff"), Stripes(6, 5), 0},
                      FormatCase{"Webp", Encoded(Stripes(5, 6), "webp", kLossless), Stripes(5, 6),
                                 0},
                      FormatCase{"Ico", Encoded(Stripes(16, 16), "ico"), Stripes(16, 16), 0},
                      FormatCase{"Gif", Gif(), GifPixels(), 0},
                      FormatCase{"Jpeg", Encoded(Blocks(3, 2), "jpeg"), Blocks(3, 2), 8}),
    [](const auto& info) { return std::string(info.param.name); });

Bytes Head(Bytes b, std::size_t n)
{
    b.resize(n);
    return b;
}

// The picture as it shows with an EXIF orientation (1–8), from where the tag says its first
// row and column belong.
QImage Oriented(const QImage& s, int o)
{
    const int w = s.width(), h = s.height();
    QImage d(o >= 5 ? h : w, o >= 5 ? w : h, QImage::Format_RGB32);
    for (int y = 0; y < d.height(); ++y)
        for (int x = 0; x < d.width(); ++x) {
            const QPoint from[] = {{x, y}, {w - 1 - x, y}, {w - 1 - x, h - 1 - y}, {x, h - 1 - y},
                                   {y, x}, {y, h - 1 - x}, {w - 1 - y, h - 1 - x}, {w - 1 - y, x}};
            d.setPixel(x, y, s.pixel(from[o - 1]));
        }
    return d;
}

// A JPEG with an EXIF segment that holds the orientation alone, right behind its start.
Bytes WithOrientation(Bytes jpeg, BYTE o)
{
    const Bytes exif = {0xFF, 0xE1, 0x00, 0x22, 'E',  'x',  'i',  'f',  0,    0,    'M',  'M',
                        0x00, 0x2A, 0x00, 0x00, 0x00, 0x08, 0x00, 0x01, 0x01, 0x12, 0x00, 0x03,
                        0x00, 0x00, 0x00, 0x01, 0x00, o,    0x00, 0x00, 0,    0,    0,    0};
    jpeg.insert(jpeg.begin() + 2, exif.begin(), exif.end());
    return jpeg;
}

class PictureOrientation : public ::testing::TestWithParam<int> {};

TEST_P(PictureOrientation, ShowsAsTheTagSays)
{
    const QImage source = Blocks(4, 2);
    CDibPixels dib;
    ASSERT_EQ(CPictureReader(WithOrientation(Encoded(source, "jpeg"), BYTE(GetParam()))).Read(dib),
              Result::Read);
    EXPECT_LE(DibDistance(dib.bits.get(), dib.width, dib.height, Oriented(source, GetParam())), 8);
}

INSTANTIATE_TEST_SUITE_P(Exif, PictureOrientation, ::testing::Range(1, 9));

const auto kProgressive = [](QImageWriter& w) { w.setProgressiveScanWrite(true); };

// A CMYK JPEG, as print software writes them, made with libjpeg itself: Qt writes none.
Bytes CmykJpeg(int width, int height)
{
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(width);
    c.image_height = JDIMENSION(height);
    c.input_components = 4;
    c.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(std::size_t(4 * width));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < 4 * width; ++x)
            row[std::size_t(x)] = JSAMPLE((x * 37 + y * 11) % 256);
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    Bytes bytes(out, out + size);
    std::free(out);
    return bytes;
}

// Colour and grey JPEGs are decoded by libjpeg straight into the rows, others through Qt's
// reader: either way the pixels are exactly those Qt's reader decodes from the same bytes,
// also of a file cut short.
TEST(PictureReader, DecodesJpegsAsQtDoes)
{
    QImage grey = Stripes(37, 23).convertToFormat(QImage::Format_Grayscale8);
    const Bytes photo = Encoded(Stripes(61, 45), "jpeg", [](QImageWriter& w) { w.setQuality(60); });
    const Bytes cases[] = {photo, Encoded(Stripes(33, 17), "jpeg", kProgressive),
                           Encoded(grey, "jpeg"), Head(photo, photo.size() * 2 / 3),
                           CmykJpeg(19, 13)};
    for (const Bytes& file : cases) {
        QByteArray copy(reinterpret_cast<const char*>(file.data()), qsizetype(file.size()));
        QBuffer buffer(&copy);
        QImageReader qt(&buffer, "jpeg");
        const QImage expected = qt.read().convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(expected.isNull()) << file.size();
        CDibPixels dib;
        ASSERT_EQ(CPictureReader(file).Read(dib), Result::Read) << file.size();
        EXPECT_TRUE(DibShows(dib.bits.get(), dib.width, dib.height, expected)) << file.size();
    }
}

// A picture with alpha across its width, every pixel a colour of its own.
QImage SeeThrough(int width, int height)
{
    QImage image = Stripes(width, height).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const QRgb p = image.pixel(x, y);
            image.setPixel(x, y, qRgba(qRed(p), qGreen(p), qBlue(p), x * 255 / (width - 1)));
        }
    return image;
}

// The picture as an interlaced PNG, eight bits a sample, with or without its alpha, made with
// libpng itself: Qt writes none.
Bytes InterlacedPng(const QImage& image, bool alpha)
{
    Bytes bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &bytes,
        [](png_structp p, png_bytep data, png_size_t n) {
            auto* out = static_cast<Bytes*>(png_get_io_ptr(p));
            out->insert(out->end(), data, data + n);
        },
        nullptr);
    png_set_IHDR(png, info, png_uint_32(image.width()), png_uint_32(image.height()), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_ADAM7,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const QImage rows =
        image.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    std::vector<png_bytep> pointers;
    for (int y = 0; y < rows.height(); ++y)
        pointers.push_back(const_cast<png_bytep>(rows.constScanLine(y)));
    png_set_rows(png, info, pointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

// PNGs of eight bits or fewer a sample are decoded by libpng straight into the rows, others
// through Qt's reader: either way the pixels are those Qt's reader decodes, laid on white here,
// interlaced ones too; a file cut short is refused.
TEST(PictureReader, DecodesPngsAsQtDoes)
{
    QImage palette = SeeThrough(13, 7).convertToFormat(QImage::Format_Indexed8);
    const Bytes rgb = Encoded(Stripes(29, 11), "png");
    const Bytes cases[] = {
        rgb,
        Encoded(SeeThrough(23, 9), "png"),
        Encoded(Stripes(9, 21).convertToFormat(QImage::Format_Grayscale8), "png"),
        Encoded(Stripes(17, 5).convertToFormat(QImage::Format_Mono), "png"),
        Encoded(palette, "png"),
        Encoded(SeeThrough(11, 6).convertToFormat(QImage::Format_RGBA64), "png"),
        InterlacedPng(Stripes(19, 14), false),
        InterlacedPng(SeeThrough(19, 14), true)};
    for (const Bytes& file : cases) {
        QByteArray copy(reinterpret_cast<const char*>(file.data()), qsizetype(file.size()));
        QBuffer buffer(&copy);
        QImage expected =
            QImageReader(&buffer, "png").read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(expected.isNull()) << file.size();
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x) {
                const QRgb p = expected.pixel(x, y);
                const auto white = [a = qAlpha(p)](int c) {
                    return (c * a + 255 * (255 - a)) / 255;
                };
                expected.setPixel(x, y, qRgb(white(qRed(p)), white(qGreen(p)), white(qBlue(p))));
            }
        CDibPixels dib;
        ASSERT_EQ(CPictureReader(file).Read(dib), Result::Read) << file.size();
        EXPECT_TRUE(DibShows(dib.bits.get(), dib.width, dib.height, expected)) << file.size();
    }
    CDibPixels none;
    EXPECT_EQ(CPictureReader(Head(rgb, rgb.size() - 20)).Read(none), Result::Refused);
}

// A JPEG of `scans` scans: its last scan repeated before its end, which libjpeg reads with a
// warning.
Bytes WithScans(Bytes jpeg, int scans)
{
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA)
            starts.push_back(i);
    const Bytes last(jpeg.begin() + std::ptrdiff_t(starts.back()), jpeg.end() - 2);
    for (int i = int(starts.size()); i < scans; ++i)
        jpeg.insert(jpeg.end() - 2, last.begin(), last.end());
    return jpeg;
}

struct BoundCase {
    const char* name;
    Bytes file;
    std::int64_t maxBytes;
    Result result;
};

class PictureBound : public ::testing::TestWithParam<BoundCase> {};

TEST_P(PictureBound, ReadsExactlyWhatDecodingWithinTheBoundCosts)
{
    KeepPictureSeed(GetParam().name, GetParam().file);
    CPictureReader reader(GetParam().file);
    reader.SetMaxDecodeBytes(GetParam().maxBytes);
    CDibPixels dib;
    EXPECT_EQ(reader.Read(dib), GetParam().result);
}

// 7 bytes a pixel: Qt's RGB32 picture and the rows. A progressive 32 × 32 JPEG with 4:2:0
// subsampling keeps 2 bytes of coefficients a pixel of its full-size Y and of its two
// quarter-size colour planes: 2048 + 512 + 512 bytes more.
constexpr std::int64_t kPlain = 7 * 1000, kBaseline = 7 * 1024, kCoefficients = kBaseline + 3072;

INSTANTIATE_TEST_SUITE_P(
    Costs, PictureBound,
    ::testing::Values(
        BoundCase{"PngAtTheBound", Encoded(Stripes(40, 25), "png"), kPlain, Result::Read},
        BoundCase{"PngPastIt", Encoded(Stripes(40, 25), "png"), kPlain - 1, Result::Refused},
        BoundCase{"Baseline", Encoded(Blocks(2, 2), "jpeg"), kBaseline, Result::Read},
        BoundCase{"ProgressiveCountsCoefficients", Encoded(Blocks(2, 2), "jpeg", kProgressive),
                  kBaseline, Result::Refused},
        BoundCase{"ProgressiveAtTheBound", Encoded(Blocks(2, 2), "jpeg", kProgressive),
                  kCoefficients, Result::Read},
        BoundCase{"ProgressivePastIt", Encoded(Blocks(2, 2), "jpeg", kProgressive),
                  kCoefficients - 1, Result::Refused},
        BoundCase{"AllTheScansAllowed", WithScans(Encoded(Blocks(1, 1), "jpeg", kProgressive), 100),
                  CPictureReader::kMaxDecodeBytes, Result::Read},
        BoundCase{"TooManyScans", WithScans(Encoded(Blocks(1, 1), "jpeg", kProgressive), 101),
                  CPictureReader::kMaxDecodeBytes, Result::Refused}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PictureReader, ReportsItsProgressAndStopsWhenCancelled)
{
    const Bytes file = Encoded(Stripes(300, 200), "png");
    CProgress progress, cancelled;
    CDibPixels dib, none;
    EXPECT_EQ(CPictureReader(file).Read(dib, &progress), Result::Read);
    EXPECT_EQ(progress.Done(), CProgress::kWhole);
    cancelled.Cancel();
    EXPECT_EQ(CPictureReader(file).Read(none, &cancelled), Result::Cancelled);
    EXPECT_EQ(none.bits, nullptr);
}

TEST(PictureReader, TransparentPixelsShowOnWhite)
{
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(0, 0, 0, 0));
    image.setPixel(1, 0, qRgba(10, 20, 30, 255));
    CPictureReader reader(Encoded(image, "png"));
    CDibPixels dib;
    ASSERT_EQ(reader.Read(dib), Result::Read);
    image.setPixel(0, 0, qRgb(255, 255, 255));
    EXPECT_TRUE(DibShows(dib.bits.get(), 2, 1, image));
}

// The GIF with a screen and an image of width × height pixels.
Bytes GifOf(BYTE w0, BYTE w1, BYTE h0, BYTE h1)
{
    Bytes b = Gif();
    for (std::size_t at : {6, 24})
        std::copy_n(std::begin({w0, w1, h0, h1}), 4, b.begin() + std::ptrdiff_t(at));
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
        // 16384 × 16385 pixels: 2^28 and a row more.
        MalformedCase{"PastTheLimit", GifOf(0x00, 0x40, 0x01, 0x40), Result::Refused},
        MalformedCase{"PngCutShort", Head(Encoded(Stripes(40, 40), "png"), 60), Result::Refused},
        MalformedCase{"GifCutShort", Head(Gif(), 20), Result::Refused},
        // BMP is the program's own to read, and Qt's other formats are not taken.
        MalformedCase{"Bmp", Encoded(Stripes(2, 2), "bmp"), Result::NotPicture},
        MalformedCase{"Svg", Bytes{'<', 's', 'v', 'g', '/', '>'}, Result::NotPicture},
        MalformedCase{"Ppm", Encoded(Stripes(2, 2), "ppm"), Result::NotPicture},
        MalformedCase{"Zeros", Bytes(64, 0), Result::NotPicture},
        MalformedCase{"Empty", Bytes{}, Result::NotPicture}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
