// Pictures read through Qt's image readers into 24-bit DIB rows: one small file per format
// against Qt's own decoding; transparency on white; and the files
// the reader must refuse or leave alone.
#include "framework/gdi/PictureReader.h"

#include "tests/support/Pictures.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;
using Bytes = std::vector<BYTE>;
using Result = CPictureReader::Result;

struct FormatCase {
    const char* name;
    Bytes file;
};

class PictureFormat : public ::testing::TestWithParam<FormatCase> {};

// Odd widths leave pad bytes at the end of each DIB row.
TEST_P(PictureFormat, ReadsAsQtDecodesIt)
{
    const Bytes& file = GetParam().file;
    CPictureReader reader(file);
    CDibPixels dib;
    ASSERT_EQ(reader.Read(dib), Result::Read);
    EXPECT_TRUE(DibShows(dib.bits.get(), dib.width, dib.height,
                         QImage::fromData(file.data(), int(file.size()))));
}

INSTANTIATE_TEST_SUITE_P(Formats, PictureFormat,
                         ::testing::Values(FormatCase{"Png", Encoded(Stripes(7, 5), "png")},
                                           FormatCase{"Jpeg", Encoded(Stripes(9, 4), "jpeg")},
                                           FormatCase{"Gif", Gif()},
                                           FormatCase{"Tiff", Encoded(Stripes(6, 5), "tiff")},
                                           FormatCase{"Webp", Encoded(Stripes(5, 6), "webp")},
                                           FormatCase{"Ico", Encoded(Stripes(16, 16), "ico")}),
                         [](const auto& info) { return std::string(info.param.name); });

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
