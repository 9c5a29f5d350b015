// Every depth and header variant the reader accepts: loaded, shown, saved, loaded and shown
// again, and the saved file read by ImageMagick, all with the same pixels.
#include "BmpFiles.h"

#include "image/BaseImage.h"

#include <gtest/gtest.h>

using namespace bmptest;

namespace {

std::vector<std::uint32_t> Table(int n)
{
    std::vector<std::uint32_t> t;
    for (int i = 0; i < n; ++i)
        t.push_back(std::uint32_t((i * 37 + 11) & 0xFF) << 16 |
                    std::uint32_t((i * 91 + 13) & 0xFF) << 8 | std::uint32_t((i * 151 + 7) & 0xFF));
    return t;
}

// Inks of the given indices into a table; an index beyond the table shows black.
std::vector<Ink> Indices(const std::vector<std::uint32_t>& table, std::vector<std::uint32_t> idx)
{
    std::vector<Ink> inks;
    for (std::uint32_t i : idx)
        inks.push_back({i, i < table.size() ? table[i] : 0});
    return inks;
}

std::vector<std::uint32_t> Range(std::uint32_t n, std::uint32_t step = 1)
{
    std::vector<std::uint32_t> r;
    for (std::uint32_t i = 0; i < n; i += step)
        r.push_back(i);
    return r;
}

struct Variant {
    const char* name;
    Layout layout;
    std::vector<Ink> inks;
    int run = 1;
};

void PrintTo(const Variant& v, std::ostream* os) { *os << v.name; }

Variant Palette(const char* name, int bits, DWORD headerSize, DWORD compression = BI_RGB)
{
    const int n = 1 << bits;
    const std::vector<std::uint32_t> t = Table(n);
    return {
        name, {bits, compression, headerSize, false, t}, Indices(t, Range(n, bits == 8 ? 3 : 1))};
}

const std::vector<Ink> kTrueColors = {
    {0x000000, 0x000000}, {0xFFFFFF, 0xFFFFFF}, {0x123456, 0x123456}, {0xFF0000, 0xFF0000},
    {0x00FF00, 0x00FF00}, {0x0000FF, 0x0000FF}, {0x80C0E0, 0x80C0E0}};

Variant TrueColor(const char* name, int bits, DWORD headerSize, bool topDown = false)
{
    return {name, {bits, BI_RGB, headerSize, topDown, {}}, kTrueColors};
}

// 5-5-5 and 5-6-5 pixels whose channels are all-off, all-on or in between.
const std::vector<Ink> k555 = {{0x0000, 0x000000}, {0x7C00, 0xFF0000}, {0x03E0, 0x00FF00},
                               {0x001F, 0x0000FF}, {0x7FFF, 0xFFFFFF}, {0x4210, 0x848484}};
const std::vector<Ink> k565 = {{0x0000, 0x000000}, {0xF800, 0xFF0000}, {0x07E0, 0x00FF00},
                               {0x001F, 0x0000FF}, {0xFFFF, 0xFFFFFF}, {0x8410, 0x848284}};
// Masks in the opposite order: red in the low byte.
const std::vector<Ink> kSwapped32 = {
    {0x000000FF, 0xFF0000}, {0x0000FF00, 0x00FF00}, {0x00FF0000, 0x0000FF}, {0x00563412, 0x123456}};

std::vector<Variant> Variants()
{
    std::vector<Variant> v = {
        Palette("Bits1", 1, 40),
        Palette("Bits4", 4, 40),
        Palette("Bits8", 8, 40),
        Palette("Core1", 1, 12),
        Palette("Core4", 4, 12),
        Palette("Core8", 8, 12),
        Palette("Header52Bits8", 8, 52),
        Palette("Header64Bits4", 4, 64),
        Palette("Header124Bits8", 8, 124),
        TrueColor("Bits24", 24, 40),
        TrueColor("Bits24TopDown", 24, 40, true),
        TrueColor("Core24", 24, 12),
        TrueColor("Header56Bits24", 24, 56),
        TrueColor("Header108Bits24", 24, 108),
        TrueColor("Bits32", 32, 40),
        {"Bits16", {16, BI_RGB, 40, false, {}}, k555},
        {"Bits16Fields", {16, BI_BITFIELDS, 40, false, {}, 0, {0xF800, 0x07E0, 0x001F}}, k565},
        {"Header56Bits32Fields",
         {32, BI_BITFIELDS, 56, false, {}, 0, {0x0000FF, 0x00FF00, 0xFF0000}},
         kSwapped32},
        {"Header124Bits16Fields",
         {16, BI_BITFIELDS, 124, false, {}, 0, {0xF800, 0x07E0, 0x001F}},
         k565},
    };
    Variant rle8 = Palette("Rle8", 8, 40, BI_RLE8);
    rle8.run = 4;
    Variant rle4 = Palette("Rle4", 4, 40, BI_RLE4);
    rle4.run = 3;
    Variant topDown8 = Palette("Bits8TopDown", 8, 40);
    topDown8.layout.topDown = true;
    Variant gap = Palette("Bits8OffBitsGap", 8, 40);
    gap.layout.gap = 6;
    Variant shortTable = {"Bits8ShortTable", {8, BI_RGB, 40, false, Table(20), 20}, {}};
    shortTable.inks = Indices(shortTable.layout.table, {0, 5, 19, 20, 200, 255, 7});
    Variant shortTable4 = {"Bits4ShortTable", {4, BI_RGB, 40, false, Table(3), 3}, {}};
    shortTable4.inks = Indices(shortTable4.layout.table, Range(16));
    for (const Variant& x : {rle8, rle4, topDown8, gap, shortTable, shortTable4})
        v.push_back(x);
    return v;
}

Picture PictureOf(const Variant& v) { return {13, 7, v.inks, v.run}; }

// Draws the image one pixel in from the corner of a larger surface and compares every pixel.
void ExpectShows(CBaseImage& image, const Picture& p)
{
    Surface s(p.width + 2, p.height + 2);
    ASSERT_TRUE(image.Draw(1, 1, s.dc()));
    int wrong = 0;
    for (int y = 0; y < p.height + 2; ++y)
        for (int x = 0; x < p.width + 2; ++x) {
            const bool inside = x >= 1 && y >= 1 && x <= p.width && y <= p.height;
            const std::uint32_t want = inside ? p.At(x - 1, y - 1).rgb : ToRgb(RGB(1, 2, 3));
            if (s.At(x, y) != want && wrong++ < 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << s.At(x, y)
                              << ", not " << want;
        }
    EXPECT_EQ(wrong, 0);
}

class BmpRoundTrip : public ::testing::TestWithParam<Variant> {};

TEST_P(BmpRoundTrip, LoadSaveLoadShowsTheSamePixelsAsImageMagick)
{
    const Variant& v = GetParam();
    const Picture picture = PictureOf(v);
    const std::vector<BYTE> bytes = BuildBmp(v.layout, picture);
    KeepSeed(v.name, bytes);
    QTemporaryDir dir;
    const std::string in = WriteFile(dir, "in.bmp", bytes);
    const std::string out = dir.filePath("out.bmp").toStdString();

    CBaseImage image;
    ASSERT_TRUE(image.LoadBMP(in.c_str()));
    EXPECT_EQ(image.m_nColors, v.layout.bitCount <= 8 ? 1 << v.layout.bitCount : 0);
    ExpectShows(image, picture);
    ASSERT_TRUE(image.SaveBMP(out.c_str()));
    CBaseImage again;
    ASSERT_TRUE(again.LoadBMP(out.c_str()));
    ExpectShows(again, picture);

    if (!HaveConvert())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    const auto pixels = ConvertPixels(out, picture.width, picture.height);
    ASSERT_TRUE(pixels) << "convert could not read the saved file";
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            ASSERT_EQ((*pixels)[std::size_t(y * picture.width + x)], picture.At(x, y).rgb)
                << "at (" << x << ", " << y << ")";
}

INSTANTIATE_TEST_SUITE_P(Variants, BmpRoundTrip, ::testing::ValuesIn(Variants()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
