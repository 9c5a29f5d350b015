// DIB transfers with Win32's rules (source rectangle, bands of scan lines, clipping, colour
// tables, RLE streams), bitmaps read back as DIB rows, the bitmap description, the screen DC.
#include "framework/gdi/Dib.h"
#include "framework/gdi/Palette.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

namespace {

constexpr COLORREF kBackground = RGB(1, 2, 3);

// A header with a colour table of grey levels behind it, in a block of its own.
std::vector<BYTE> Info(int width, int height, int bitCount, DWORD compression = BI_RGB,
                       int entries = 0, DWORD clrUsed = 0)
{
    std::vector<BYTE> b(sizeof(BITMAPINFOHEADER) + 4 * std::size_t(entries));
    const BITMAPINFOHEADER bi{40, width, height,  1, WORD(bitCount), compression, 0,
                              0,  0,     clrUsed, 0};
    std::memcpy(b.data(), &bi, sizeof bi);
    for (int i = 0; i < entries; ++i)
        std::fill_n(b.begin() + 40 + 4 * i, 3, BYTE(i));
    return b;
}

const BITMAPINFO* AsInfo(const std::vector<BYTE>& b)
{
    return reinterpret_cast<const BITMAPINFO*>(b.data());
}

class Target {
public:
    Target(int width, int height)
    {
        m_bitmap.CreateCompatibleBitmap(nullptr, width, height);
        m_dc.CreateCompatibleDC(nullptr);
        m_dc.SelectObject(&m_bitmap);
        m_dc.FillSolidRect(0, 0, width, height, kBackground);
    }
    HDC dc() { return &m_dc; }
    COLORREF At(int x, int y) { return m_dc.GetPixel(x, y); }

private:
    CBitmap m_bitmap;
    CDC m_dc;
};

COLORREF Grey(int v) { return RGB(v, v, v); }

// ---- the source rectangle and bands of scan lines ---------------------------------------

struct Transfer {
    const char* name;
    int xDest, yDest, w, h, xSrc, ySrc, start, lines;
    bool topDown;
};

class DibTransfer : public ::testing::TestWithParam<Transfer> {};

// An 8-bit DIB of 6 × 5 whose scan line L holds index 40 × L + x. Only the band of scan
// lines given is in memory, in a block of exactly that size.
TEST_P(DibTransfer, CopiesTheSourceRectangleOfTheLinesGiven)
{
    const Transfer& t = GetParam();
    constexpr int kW = 6, kH = 5;
    const std::vector<BYTE> info = Info(kW, t.topDown ? -kH : kH, 8, BI_RGB, 256);
    std::vector<BYTE> bits(8 * std::size_t(t.lines));
    for (int r = 0; r < t.lines; ++r)
        for (int x = 0; x < kW; ++x)
            bits[8 * std::size_t(r) + x] = BYTE(40 * (t.start + r) + x);
    Target target(10, 8);
    SetDIBitsToDevice(target.dc(), t.xDest, t.yDest, t.w, t.h, t.xSrc, t.ySrc, t.start, t.lines,
                      bits.data(), AsInfo(info), DIB_RGB_COLORS);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const int i = x - t.xDest, j = y - t.yDest;
            const int sx = t.xSrc + i;
            const int line = t.topDown ? t.ySrc + j : t.ySrc + t.h - 1 - j;
            const bool drawn = i >= 0 && i < t.w && j >= 0 && j < t.h && sx >= 0 && sx < kW &&
                               line >= 0 && line < kH && line >= t.start &&
                               line < t.start + t.lines;
            ASSERT_EQ(target.At(x, y), drawn ? Grey(40 * line + sx) : kBackground)
                << x << ", " << y;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DibTransfer,
    ::testing::Values(Transfer{"Whole", 0, 0, 6, 5, 0, 0, 0, 5, false},
                      Transfer{"WholeTopDown", 0, 0, 6, 5, 0, 0, 0, 5, true},
                      Transfer{"Moved", 3, 2, 6, 5, 0, 0, 0, 5, false},
                      Transfer{"PartOfTheSource", 1, 1, 3, 2, 2, 1, 0, 5, false},
                      Transfer{"PartOfTheSourceTopDown", 1, 1, 3, 2, 2, 1, 0, 5, true},
                      Transfer{"CutAtTheTopLeft", -2, -3, 6, 5, 0, 0, 0, 5, false},
                      Transfer{"CutAtTheBottomRight", 7, 6, 6, 5, 0, 0, 0, 5, true},
                      Transfer{"BandOfTwoLines", 0, 0, 6, 5, 0, 0, 1, 2, false},
                      Transfer{"BandOfTwoLinesTopDown", 0, 0, 6, 5, 0, 0, 1, 2, true},
                      Transfer{"BandPastTheTop", 0, 0, 6, 5, 0, 0, 3, 2, false},
                      Transfer{"RectangleLargerThanTheDib", 0, 0, 9, 7, -1, -1, 0, 5, false},
                      Transfer{"SourceOutside", 0, 0, 6, 5, 6, 0, 0, 5, false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- depths -------------------------------------------------------------------------------

class DibDepth : public ::testing::TestWithParam<int> {};

// Narrow strips, each starting inside a byte or a word, are decoded pixel by pixel; the whole
// rows go through the vector decoders where the processor has them. Both show the same.
TEST_P(DibDepth, NarrowStripsMatchTheWholeRows)
{
    const int bits = GetParam();
    constexpr int kW = 301, kH = 3, kStrip = 7;
    std::vector<BYTE> info = Info(kW, kH, bits, BI_RGB, bits <= 8 ? 1 << bits : 0);
    // Blue, green and red apart in every entry, so that no channel can stand in for another.
    for (std::size_t at = 40; at < info.size(); at += 4) {
        info[at + 1] = BYTE(~info[at]);
        info[at + 2] = BYTE(info[at] * 7);
    }
    std::vector<BYTE> rows(std::size_t(DibRowBytes(kW, bits)) * kH);
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = BYTE(i * 37 + i / 7);
    Target whole(kW, kH), strips(kW, kH);
    SetDIBitsToDevice(whole.dc(), 0, 0, kW, kH, 0, 0, 0, kH, rows.data(), AsInfo(info),
                      DIB_RGB_COLORS);
    for (int x = 0; x < kW; x += kStrip)
        SetDIBitsToDevice(strips.dc(), x, 0, kStrip, kH, x, 0, 0, kH, rows.data(), AsInfo(info),
                          DIB_RGB_COLORS);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            ASSERT_EQ(strips.At(x, y), whole.At(x, y)) << x << ", " << y;
    EXPECT_NE(whole.At(0, 0), kBackground);
}

INSTANTIATE_TEST_SUITE_P(Depths, DibDepth, ::testing::Values(1, 4, 8, 16, 24, 32),
                         [](const auto& info) { return "Bits" + std::to_string(info.param); });

struct Pixel {
    const char* name;
    int bitCount;
    DWORD compression;
    std::array<DWORD, 3> masks;
    std::uint32_t raw;
    COLORREF shows;
};

class DibPixel : public ::testing::TestWithParam<Pixel> {};

TEST_P(DibPixel, ScalesEachChannelToEightBits)
{
    const Pixel& p = GetParam();
    std::vector<BYTE> info = Info(1, 1, p.bitCount, p.compression);
    if (p.compression == BI_BITFIELDS) {
        info.resize(52);
        std::memcpy(info.data() + 40, p.masks.data(), 12);
    }
    std::uint32_t bits = p.raw;
    Target target(1, 1);
    SetDIBitsToDevice(target.dc(), 0, 0, 1, 1, 0, 0, 0, 1, &bits, AsInfo(info), DIB_RGB_COLORS);
    EXPECT_EQ(target.At(0, 0), p.shows);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DibPixel,
    ::testing::Values(
        Pixel{"Rgb555", 16, BI_RGB, {}, 0x4210, RGB(132, 132, 132)},
        Pixel{"Rgb555White", 16, BI_RGB, {}, 0x7FFF, RGB(255, 255, 255)},
        Pixel{"Rgb565", 16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}, 0x8410, RGB(132, 130, 132)},
        Pixel{"Xrgb8888", 32, BI_RGB, {}, 0xAB123456, RGB(0x12, 0x34, 0x56)},
        Pixel{"Rgba8888",
              32,
              BI_BITFIELDS,
              {0xFF000000, 0xFF0000, 0xFF00},
              0x123456AB,
              RGB(0x12, 0x34, 0x56)},
        Pixel{
            "Ten10Ten", 32, BI_BITFIELDS, {0x3FF00000, 0xFFC00, 0x3FF}, 0x3FF01000, RGB(255, 1, 0)},
        Pixel{"NoMasks", 32, BI_BITFIELDS, {0, 0, 0}, 0xFFFFFFFF, RGB(0, 0, 0)}),
    [](const auto& info) { return std::string(info.param.name); });

class DibChannelWidth : public ::testing::TestWithParam<int> {};

// A red field of n bits at the top of a 32-bit pixel shows value × 255 ÷ (2ⁿ − 1), rounded to
// nearest, whatever its width: at either end, on both sides of the first and the middle step.
TEST_P(DibChannelWidth, ScalesToEightBitsRoundedToNearest)
{
    const int n = GetParam();
    const std::uint64_t top = (std::uint64_t(1) << n) - 1;
    const std::uint64_t half = (top + 509) / 510; // the least value that shows as 1
    const std::uint64_t values[] = {0, 1, half - 1, half, top / 2, top / 2 + 1, top - 1, top};
    constexpr int kCount = std::size(values);
    std::vector<BYTE> info = Info(kCount, 1, 32, BI_BITFIELDS);
    info.resize(52);
    const std::uint32_t masks[3] = {std::uint32_t(top << (32 - n)), 0, 0};
    std::memcpy(info.data() + 40, masks, 12);
    std::uint32_t bits[kCount];
    for (int i = 0; i < kCount; ++i)
        bits[i] = std::uint32_t(values[i] << (32 - n));
    Target target(kCount, 1);
    SetDIBitsToDevice(target.dc(), 0, 0, kCount, 1, 0, 0, 0, 1, bits, AsInfo(info), DIB_RGB_COLORS);
    for (int i = 0; i < kCount; ++i)
        EXPECT_EQ(unsigned(GetRValue(target.At(i, 0))), (values[i] * 510 + top) / (2 * top))
            << "value " << values[i];
}

INSTANTIATE_TEST_SUITE_P(Widths, DibChannelWidth,
                         ::testing::Values(1, 2, 3, 5, 6, 8, 9, 10, 12, 16, 24, 31, 32),
                         [](const auto& info) { return "Bits" + std::to_string(info.param); });

TEST(Dib, ColorTableShorterThanTheDepthShowsBlackBeyondIt)
{
    const std::vector<BYTE> info = Info(4, 1, 8, BI_RGB, 5, 5);
    const BYTE bits[4] = {4, 5, 255, 1};
    Target target(4, 1);
    SetDIBitsToDevice(target.dc(), 0, 0, 4, 1, 0, 0, 0, 1, bits, AsInfo(info), DIB_RGB_COLORS);
    EXPECT_EQ(target.At(0, 0), Grey(4));
    EXPECT_EQ(target.At(1, 0), Grey(0));
    EXPECT_EQ(target.At(2, 0), Grey(0));
    EXPECT_EQ(target.At(3, 0), Grey(1));
}

TEST(Dib, ClrUsedBeyondTheDepthReadsOnlyTheFullTable)
{
    const std::vector<BYTE> info = Info(2, 1, 1, BI_RGB, 2, 1000);
    const BYTE bits[4] = {0x40, 0, 0, 0};
    Target target(2, 1);
    SetDIBitsToDevice(target.dc(), 0, 0, 2, 1, 0, 0, 0, 1, bits, AsInfo(info), DIB_RGB_COLORS);
    EXPECT_EQ(target.At(1, 0), Grey(1));
}

TEST(Dib, RefusesWhatItCannotDraw)
{
    const BYTE bits[16] = {};
    Target target(2, 2);
    const auto refused = [&](const std::vector<BYTE>& info, UINT use = DIB_RGB_COLORS) {
        return SetDIBitsToDevice(target.dc(), 0, 0, 2, 2, 0, 0, 0, 2, bits, AsInfo(info), use) == 0;
    };
    EXPECT_TRUE(refused(Info(2, 2, 24), DIB_PAL_COLORS));
    EXPECT_TRUE(refused(Info(2, 2, 7)));
    EXPECT_TRUE(refused(Info(0, 2, 24)));
    EXPECT_TRUE(refused(Info(2, 0, 24)));
    EXPECT_TRUE(refused(Info(2, -2, 8, BI_RLE8, 256)));
    EXPECT_TRUE(refused(Info(2, 2, 24, BI_BITFIELDS)));
    std::vector<BYTE> core = Info(2, 2, 24);
    core[0] = 12;
    EXPECT_TRUE(refused(core));
    CDC noSurface;
    EXPECT_EQ(SetDIBitsToDevice(&noSurface, 0, 0, 2, 2, 0, 0, 0, 2, bits, AsInfo(Info(2, 2, 24)),
                                DIB_RGB_COLORS),
              0);
    EXPECT_EQ(target.At(0, 0), kBackground);
}

// ---- RLE ----------------------------------------------------------------------------------

struct Rle {
    const char* name;
    DWORD compression;
    std::vector<BYTE> stream;
    std::vector<const char*> rows; // top row first: a digit is that grey index, '.' untouched
};

class DibRle : public ::testing::TestWithParam<Rle> {};

// A 4 × 3 image; the stream lies in a block of exactly its size.
TEST_P(DibRle, DrawsTheRunsInsideTheImage)
{
    const Rle& r = GetParam();
    const int bits = r.compression == BI_RLE8 ? 8 : 4;
    std::vector<BYTE> info = Info(4, 3, bits, r.compression, 1 << bits);
    reinterpret_cast<BITMAPINFOHEADER*>(info.data())->biSizeImage = DWORD(r.stream.size());
    const std::vector<BYTE> stream = r.stream;
    Target target(5, 4);
    SetDIBitsToDevice(target.dc(), 0, 0, 4, 3, 0, 0, 0, 3, stream.data(), AsInfo(info),
                      DIB_RGB_COLORS);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            const char c = y < 3 && x < 4 ? r.rows[std::size_t(y)][x] : '.';
            ASSERT_EQ(target.At(x, y), c == '.' ? kBackground : Grey(c - '0')) << x << ", " << y;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DibRle,
    ::testing::Values(
        Rle{"Runs", BI_RLE8, {4, 1, 0, 0, 2, 2, 2, 3, 0, 0, 4, 9, 0, 1}, {"9999", "2233", "1111"}},
        Rle{"RunPastTheRowIsCut", BI_RLE8, {9, 1, 0, 0, 1, 2, 0, 1}, {"....", "2...", "1111"}},
        Rle{"Delta", BI_RLE8, {0, 2, 2, 1, 1, 3, 0, 1}, {"....", "..3.", "...."}},
        Rle{"DeltaAfterARunMovesFromItsEnd",
            BI_RLE8,
            {1, 5, 0, 2, 1, 1, 1, 6, 0, 1},
            {"....", "..6.", "5..."}},
        Rle{"DeltaOutOfTheImageStops", BI_RLE8, {1, 5, 0, 2, 0, 3, 1, 3}, {"....", "....", "5..."}},
        Rle{"DeltasPastTheRowStayThere",
            BI_RLE8,
            {0, 2, 255, 0, 0, 2, 255, 0, 2, 4, 0, 0, 1, 6},
            {"....", "6...", "...."}},
        Rle{"LiteralWithPadding",
            BI_RLE8,
            {0, 3, 1, 2, 3, 0, 1, 4, 0, 1},
            {"....", "....", "1234"}},
        Rle{"LiteralPastTheRowIsCut",
            BI_RLE8,
            {0, 5, 1, 2, 3, 4, 5, 0, 1, 6, 0, 1},
            {"....", "....", "1234"}},
        Rle{"LiteralPastTheStreamStops", BI_RLE8, {1, 7, 0, 9, 1, 2, 3}, {"....", "....", "7..."}},
        Rle{"EndOfLineOnTheTopLineStops",
            BI_RLE8,
            {0, 0, 0, 0, 0, 0, 4, 1},
            {"....", "....", "...."}},
        Rle{"NoEndMark", BI_RLE8, {2, 8}, {"....", "....", "88.."}},
        Rle{"Rle4RunsAlternate", BI_RLE4, {5, 0x12, 0, 0, 3, 0x77, 0, 1}, {"....", "777.", "1212"}},
        Rle{"Rle4LiteralOddCount",
            BI_RLE4,
            {0, 3, 0x12, 0x30, 1, 0x44, 0, 1},
            {"....", "....", "1234"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Dib, RleReadsNoMoreThanBiSizeImage)
{
    std::vector<BYTE> info = Info(4, 1, 8, BI_RLE8, 256);
    const BYTE stream[] = {2, 6, 2, 7};
    reinterpret_cast<BITMAPINFOHEADER*>(info.data())->biSizeImage = 2;
    Target target(4, 1);
    SetDIBitsToDevice(target.dc(), 0, 0, 4, 1, 0, 0, 0, 1, stream, AsInfo(info), DIB_RGB_COLORS);
    EXPECT_EQ(target.At(1, 0), Grey(6));
    EXPECT_EQ(target.At(2, 0), kBackground);
}

// ---- reading bitmaps back -----------------------------------------------------------------

class BitmapRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        bitmap.CreateCompatibleBitmap(nullptr, 5, 3);
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 5, 3, RGB(10, 20, 30));
        dc.SetPixel(0, 0, RGB(1, 2, 3));
        dc.SetPixel(4, 2, RGB(4, 5, 6));
    }
    BITMAPINFO Header(int height, int bitCount)
    {
        BITMAPINFO bmi{};
        bmi.bmiHeader = {40, 5, height, 1, WORD(bitCount), BI_RGB, 0, 0, 0, 0, 0};
        return bmi;
    }
    CBitmap bitmap;
    CDC dc;
};

TEST_F(BitmapRows, FirstCallCompletesTheHeader)
{
    BITMAPINFO bmi = Header(3, 24);
    EXPECT_NE(GetDIBits(&dc, &bitmap, 0, 3, nullptr, &bmi, DIB_RGB_COLORS), 0);
    EXPECT_EQ(bmi.bmiHeader.biSizeImage, 48u);
}

TEST_F(BitmapRows, Rows24BitBottomUpWithZeroPadding)
{
    BITMAPINFO bmi = Header(3, 24);
    std::vector<BYTE> rows(48, 0xEE);
    ASSERT_EQ(GetDIBits(&dc, &bitmap, 0, 3, rows.data(), &bmi, DIB_RGB_COLORS), 3);
    EXPECT_EQ(rows[0], 30); // bottom row first: (0, 2)
    EXPECT_EQ(rows[12], 6); // (4, 2): blue
    EXPECT_EQ(rows[13], 5);
    EXPECT_EQ(rows[15], 0); // pad
    EXPECT_EQ(rows[32], 3); // top row last: (0, 0)
    EXPECT_EQ(rows[34], 1);
}

TEST_F(BitmapRows, Rows32BitTopDown)
{
    BITMAPINFO bmi = Header(-3, 32);
    std::vector<BYTE> rows(60, 0xEE);
    ASSERT_EQ(GetDIBits(&dc, &bitmap, 0, 3, rows.data(), &bmi, DIB_RGB_COLORS), 3);
    EXPECT_EQ(rows[0], 3);
    EXPECT_EQ(rows[3], 0);
    EXPECT_EQ(rows[40 + 16], 6);
}

TEST_F(BitmapRows, BandOfLinesStopsAtTheBitmap)
{
    BITMAPINFO bmi = Header(3, 24);
    std::vector<BYTE> rows(16, 0xEE);
    EXPECT_EQ(GetDIBits(&dc, &bitmap, 2, 9, rows.data(), &bmi, DIB_RGB_COLORS), 1);
    EXPECT_EQ(rows[0], 3);
    EXPECT_EQ(GetDIBits(&dc, &bitmap, 3, 1, rows.data(), &bmi, DIB_RGB_COLORS), 0);
}

TEST_F(BitmapRows, RefusesOtherShapesAndFormats)
{
    BITMAPINFO bmi = Header(3, 8);
    EXPECT_EQ(GetDIBits(&dc, &bitmap, 0, 3, nullptr, &bmi, DIB_RGB_COLORS), 0);
    bmi = Header(4, 24);
    EXPECT_EQ(GetDIBits(&dc, &bitmap, 0, 3, nullptr, &bmi, DIB_RGB_COLORS), 0);
    CBitmap none;
    bmi = Header(3, 24);
    EXPECT_EQ(GetDIBits(&dc, &none, 0, 3, nullptr, &bmi, DIB_RGB_COLORS), 0);
}

// Every width around the vector blocks' edges: each pixel's own blue, green and red bytes, in
// order, and nothing written past the row's pad.
TEST(BitmapRowsWide, Rows24BitKeepEveryPixelAtEveryWidth)
{
    for (int width = 1; width <= 41; ++width) {
        SCOPED_TRACE(width);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(nullptr, width, 2);
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
        const auto color = [](int x, int y) { return RGB(x * 7 + y, 255 - x, x * 13 + 100 * y); };
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < width; ++x)
                dc.SetPixel(x, y, color(x, y));
        BITMAPINFO bmi{};
        bmi.bmiHeader = {40, width, -2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        const int rowBytes = (width * 3 + 3) / 4 * 4;
        std::vector<BYTE> rows(2 * rowBytes + 8, 0xEE);
        ASSERT_EQ(GetDIBits(&dc, &bitmap, 0, 2, rows.data(), &bmi, DIB_RGB_COLORS), 2);
        for (int y = 0; y < 2; ++y) {
            const BYTE* row = rows.data() + y * rowBytes;
            for (int x = 0; x < width; ++x) {
                const COLORREF c = color(x, y);
                ASSERT_EQ(row[3 * x], GetBValue(c)) << x;
                ASSERT_EQ(row[3 * x + 1], GetGValue(c)) << x;
                ASSERT_EQ(row[3 * x + 2], GetRValue(c)) << x;
            }
            for (int k = width * 3; k < rowBytes; ++k)
                ASSERT_EQ(row[k], 0) << k;
        }
        EXPECT_EQ(rows[2 * rowBytes], 0xEE);
    }
}

TEST_F(BitmapRows, GetObjectDescribesTheBitmap)
{
    BITMAP bm{};
    ASSERT_EQ(GetObject(&bitmap, sizeof bm, &bm), 24);
    EXPECT_EQ(bm.bmWidth, 5);
    EXPECT_EQ(bm.bmHeight, 3);
    EXPECT_EQ(bm.bmWidthBytes, 20);
    EXPECT_EQ(bm.bmPlanes, 1);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    EXPECT_EQ(GetObject(&bitmap, 10, &bm), 0);
    CBitmap none;
    EXPECT_EQ(GetObject(&none, sizeof bm, &bm), 0);
    EXPECT_EQ(GetObject(CPen::Stock(BLACK_PEN), sizeof bm, &bm), 0);
}

// ---- BMP files in memory ------------------------------------------------------------------

// A 4-bit 5 × 3 BMP file of grey levels written by hand, bottom-up: pixel (x, y) is index
// (x + 2 y) % 16.
std::vector<BYTE> GreyBmpFile()
{
    std::vector<BYTE> file(14);
    const std::vector<BYTE> info = Info(5, 3, 4, BI_RGB, 16);
    file.insert(file.end(), info.begin(), info.end());
    const std::size_t bits = file.size();
    for (int line = 0; line < 3; ++line) {
        BYTE row[4] = {};
        for (int x = 0; x < 5; ++x)
            row[x / 2] |= BYTE(((x + 2 * (2 - line)) % 16) << (x % 2 ? 0 : 4));
        file.insert(file.end(), row, row + 4);
    }
    file[0] = 'B', file[1] = 'M';
    const DWORD size = DWORD(file.size()), offset = DWORD(bits);
    std::memcpy(&file[2], &size, 4);
    std::memcpy(&file[10], &offset, 4);
    return file;
}

TEST(BitmapFile, DrawsEveryPixelOfAWholeFile)
{
    const std::vector<BYTE> file = GreyBmpFile();
    CBitmap bitmap;
    ASSERT_TRUE(LoadBitmapFile(file.data(), file.size(), bitmap));
    ASSERT_EQ(bitmap.GetSize(), CSize(5, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(bitmap.Image()->pixel(x, y),
                      qRgb((x + 2 * y) % 16, (x + 2 * y) % 16, (x + 2 * y) % 16));
}

TEST(BitmapFile, RefusesWhatIsNoWholeFile)
{
    const std::vector<BYTE> whole = GreyBmpFile();
    const auto changed = [&](std::size_t at, BYTE value) {
        std::vector<BYTE> f = whole;
        f[at] = value;
        return f;
    };
    for (const std::vector<BYTE>& file :
         {std::vector<BYTE>(whole.begin(), whole.end() - 1), // a row short
          std::vector<BYTE>(whole.begin(), whole.begin() + 40), changed(0, 'X'),
          changed(10, 0xFF),                   // rows beyond the file
          changed(14, 200), changed(28, 5)}) { // header past the rows, an odd depth
        CBitmap bitmap;
        EXPECT_FALSE(LoadBitmapFile(file.data(), file.size(), bitmap)) << file.size();
        EXPECT_FALSE(bitmap.IsCreated());
    }
}

TEST(Dib, ScreenContextIsTrueColorAndReleasedOnce)
{
    const HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE, 0);
    EXPECT_EQ(GetDeviceCaps(screen, SIZEPALETTE), 0);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 0);
}

} // namespace
