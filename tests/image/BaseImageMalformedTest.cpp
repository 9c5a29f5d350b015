// Damaged and hostile files: each is refused, or read only as far as it is whole, without
// reading or writing outside what was read (the suite also runs under AddressSanitizer).
#include "BmpFiles.h"

#include "image/BaseImage.h"

#include <gtest/gtest.h>

#include <functional>

using namespace bmptest;

namespace {

const std::vector<Ink> kIndexInks = {{0, 0}, {1, 0}, {2, 0}, {3, 0}};

std::vector<std::uint32_t> Grey(int n)
{
    std::vector<std::uint32_t> t;
    for (int i = 0; i < n; ++i)
        t.push_back(std::uint32_t(i) * 0x010101);
    return t;
}

struct Base {
    const char* name;
    Layout layout;
};

// A small valid file of every kind the reader accepts.
std::vector<Base> Bases()
{
    const std::array<std::uint32_t, 3> masks{0xF800, 0x07E0, 0x001F};
    return {
        {"Bits1", {1, BI_RGB, 40, false, Grey(2)}},
        {"Bits4", {4, BI_RGB, 40, false, Grey(16)}},
        {"Bits8", {8, BI_RGB, 40, false, Grey(256)}},
        {"Bits16", {16, BI_BITFIELDS, 40, false, {}, 0, masks}},
        {"Bits24", {24, BI_RGB, 40, false, {}}},
        {"Bits32", {32, BI_RGB, 108, true, {}}},
        {"Rle8", {8, BI_RLE8, 40, false, Grey(256)}},
        {"Rle4", {4, BI_RLE4, 40, false, Grey(16)}},
        {"Core8", {8, BI_RGB, 12, false, Grey(256)}},
        {"Os2Bits16", {16, BI_RGB, 64, false, {}}},
    };
}

std::vector<BYTE> Build(const Base& b) { return BuildBmp(b.layout, {7, 3, kIndexInks, 3}); }

class Truncated : public ::testing::TestWithParam<Base> {};

// Cut at every offset, with the true bfSize and with bfSize 0 (the whole file): refused.
TEST_P(Truncated, EveryShortenedFileIsRefused)
{
    const std::vector<BYTE> whole = Build(GetParam());
    QTemporaryDir dir;
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        std::vector<BYTE> part(whole.begin(), whole.begin() + std::ptrdiff_t(cut));
        CBaseImage image;
        EXPECT_FALSE(image.LoadBMP(WriteFile(dir, "cut.bmp", part).c_str())) << "cut at " << cut;
        EXPECT_NE(image.LoadPicture(part), CPictureReader::Result::Read) << "bytes cut at " << cut;
        if (cut >= 6) {
            Put32(part, 2, 0);
            EXPECT_FALSE(image.LoadBMP(WriteFile(dir, "cut0.bmp", part).c_str()))
                << "cut at " << cut << " with bfSize 0";
        }
    }
    CBaseImage image;
    EXPECT_TRUE(image.LoadBMP(WriteFile(dir, "whole.bmp", whole).c_str()));
    EXPECT_EQ(image.LoadPicture(whole), CPictureReader::Result::Read);
}

INSTANTIATE_TEST_SUITE_P(Kinds, Truncated, ::testing::ValuesIn(Bases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Offsets of the info header's fields in the file.
constexpr std::size_t kWidth = 18, kHeight = 22, kPlanes = 26, kBitCount = 28, kCompression = 30,
                      kSizeImage = 34, kClrUsed = 46;

struct Damage {
    const char* name;
    int base; // index into Bases()
    std::function<void(std::vector<BYTE>&)> damage;
    bool loads; // mended and read safely rather than refused
};

void PrintTo(const Damage& d, std::ostream* os) { *os << d.name; }

auto Set32(std::size_t at, std::uint32_t v)
{
    return [at, v](std::vector<BYTE>& b) { Put32(b, at, v); };
}

auto Set16(std::size_t at, std::uint16_t v)
{
    return [at, v](std::vector<BYTE>& b) { Put16(b, at, v); };
}

auto Both(std::function<void(std::vector<BYTE>&)> a, std::function<void(std::vector<BYTE>&)> b)
{
    return [a, b](std::vector<BYTE>& bytes) {
        a(bytes);
        b(bytes);
    };
}

auto Stream(std::vector<BYTE> rle)
{
    return [rle](std::vector<BYTE>& b) { ReplaceRleStream(b, rle); };
}

constexpr int kBits1 = 0, kBits4 = 1, kBits8 = 2, kBits16 = 3, kBits24 = 4, kRle8 = 6, kRle4 = 7,
              kCore = 8, kOs2Bits16 = 9;

std::vector<Damage> Damages()
{
    return {
        {"EmptyFile", kBits24, [](auto& b) { b.clear(); }, false},
        {"OnlyAFileHeader", kBits24, [](auto& b) { b.resize(14); }, false},
        {"NotBM", kBits24, Set16(0, 0x4142), false},
        {"BfSizeClaims2GB", kBits24, Set32(2, 0x7FFFFFFF), false},
        {"BfSizeClaims4GB", kBits24, Set32(2, 0xFFFFFFFF), false},
        {"WidthZero", kBits24, Set32(kWidth, 0), false},
        {"WidthNegative", kBits24, Set32(kWidth, 0xFFFFFFF9), false},
        {"WidthHuge", kBits24, Set32(kWidth, 0x7FFFFFFF), false},
        {"HeightZero", kBits24, Set32(kHeight, 0), false},
        {"HeightIntMin", kBits24, Set32(kHeight, 0x80000000), false},
        {"HeightHuge", kBits8, Set32(kHeight, 0x7FFFFFFF), false},
        {"HeightHugeTopDown", kBits8, Set32(kHeight, 0x80000001), false},
        {"ProductOverflows32Bits", kBits24, Both(Set32(kWidth, 0x10000), Set32(kHeight, 0x10000)),
         false},
        {"RowBytesOverflow32Bits", kBits16, Set32(kWidth, 0x7FFFFFF0), false},
        {"PlanesZero", kBits24, Set16(kPlanes, 0), false},
        {"PlanesTwo", kBits24, Set16(kPlanes, 2), false},
        {"BitCountZero", kBits24, Set16(kBitCount, 0), false},
        {"BitCountTwo", kBits8, Set16(kBitCount, 2), false},
        {"BitCount64", kBits24, Set16(kBitCount, 64), false},
        {"Jpeg", kBits24, Set32(kCompression, BI_JPEG), false},
        {"Png", kBits24, Set32(kCompression, BI_PNG), false},
        {"CompressionUnknown", kBits24, Set32(kCompression, 77), false},
        {"Rle8On24Bits", kBits24, Set32(kCompression, BI_RLE8), false},
        {"Rle4On8Bits", kBits8, Set32(kCompression, BI_RLE4), false},
        {"RleTopDown", kRle8, Set32(kHeight, 0xFFFFFFFD), false},
        {"BitfieldsOn24Bits", kBits24, Set32(kCompression, BI_BITFIELDS), false},
        {"BiSizeZero", kBits24, Set32(14, 0), false},
        {"BiSizeUnknown", kBits24, Set32(14, 20), false},
        {"BiSizeHuge", kBits24, Set32(14, 0x7FFFFFF0), false},
        {"BiSizeBeyondTheFile", kBits24, Set32(14, 124), false},
        {"MasksCutOff", kBits16,
         [](auto& b) {
             b.resize(14 + 44);
             Put32(b, 2, 0);
         },
         false},
        {"TableCutOff", kBits8,
         [](auto& b) {
             b.resize(14 + 40 + 500);
             Put32(b, 2, 0);
         },
         false},
        {"BfOffBitsBeyondTheFile", kBits24, Set32(10, 0xFFFFFFF0), false},
        {"BfOffBitsLeavesNoRoomForRows", kBits24,
         [](auto& b) { Put32(b, 10, std::uint32_t(b.size() - 10)); }, false},
        {"ClrUsedHugeOn24BitsWithoutOffBits", kBits24,
         Both(Set32(kClrUsed, 0x40000000), Set32(10, 0)), false},
        {"RleSizeBeyondTheFile", kRle8, Set32(kSizeImage, 0x10000), false},
        {"CoreWidthZero", kCore, Set16(18, 0), false},
        {"Core16Bits", kCore, Set16(24, 16), false},
        {"BfSizeZero", kBits24, Set32(2, 0), true},
        {"BfOffBitsZero", kBits8, Set32(10, 0), true},
        {"ClrUsedHuge", kBits8, Set32(kClrUsed, 0xFFFFFFFF), true},
        {"ClrUsedOneOnBits4", kBits4, Set32(kClrUsed, 1), true},
        {"ClrUsedOnOs2Bits16", kOs2Bits16, Set32(kClrUsed, 0x1000), true},
        {"SizeImageHuge", kBits24, Set32(kSizeImage, 0xFFFFFFFF), true},
        {"SizeImageTooSmall", kBits1, Set32(kSizeImage, 1), true},
        {"RleSizeZero", kRle8, Set32(kSizeImage, 0), true},
        {"RleRunPastTheRow", kRle8, Stream({255, 1, 3, 2, 0, 1}), true},
        {"RleDeltaOutOfTheImage", kRle8, Stream({2, 1, 0, 2, 200, 200, 5, 1, 0, 1}), true},
        {"RleDeltasPastTheRow", kRle8, Stream({0, 2, 255, 0, 0, 2, 255, 0, 4, 1, 0, 1}), true},
        {"RleLiteralPastTheStream", kRle8, Stream({0, 200, 1, 2, 3}), true},
        {"RleLiteralPastTheRow", kRle8, Stream({0, 9, 1, 2, 3, 1, 2, 3, 1, 2, 3, 0, 0, 1}), true},
        {"RleLinesPastTheTop", kRle8,
         Stream({1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1}), true},
        {"RleWithoutEnd", kRle8, Stream({3, 1}), true},
        {"RleOddByteAtTheEnd", kRle8, Stream({3, 1, 0}), true},
        {"Rle4LiteralPastTheRow", kRle4, Stream({0, 11, 0x12, 0x31, 0x23, 0x12, 0x31, 0x20, 0, 1}),
         true},
    };
}

class Damaged : public ::testing::TestWithParam<Damage> {};

TEST_P(Damaged, IsRefusedOrReadSafely)
{
    const Damage& d = GetParam();
    std::vector<BYTE> bytes = Build(Bases()[std::size_t(d.base)]);
    d.damage(bytes);
    KeepSeed(std::string("damaged-") + d.name, bytes);
    QTemporaryDir dir;
    CBaseImage image;
    ASSERT_EQ(image.LoadBMP(WriteFile(dir, "in.bmp", bytes).c_str()), d.loads ? TRUE : FALSE);
    if (!d.loads) {
        EXPECT_EQ(image.m_pBits, nullptr);
        EXPECT_EQ(image.m_pBmInfo, nullptr);
        return;
    }
    Surface s(12, 6);
    EXPECT_TRUE(image.Draw(1, 1, s.dc()));
    const std::string out = dir.filePath("out.bmp").toStdString();
    ASSERT_TRUE(image.SaveBMP(out.c_str()));
    CBaseImage again;
    ASSERT_TRUE(again.LoadBMP(out.c_str()));
    Surface t(12, 6);
    again.Draw(1, 1, t.dc());
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(t.At(x, y), s.At(x, y))
                << "saved file shows (" << x << ", " << y << ") otherwise";
}

INSTANTIATE_TEST_SUITE_P(Cases, Damaged, ::testing::ValuesIn(Damages()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
