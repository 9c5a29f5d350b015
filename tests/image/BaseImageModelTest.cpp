// Blank images, headers, the default palette, colour lookup and images from a colour table.
#include "image/BaseImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

std::vector<BYTE> Bits(const CBaseImage& image)
{
    return {image.m_pBits, image.m_pBits + image.m_pBmInfo->bmiHeader.biSizeImage};
}

bool AllBytes(const std::vector<BYTE>& b, BYTE v)
{
    return std::all_of(b.begin(), b.end(), [v](BYTE x) { return x == v; });
}

TEST(BaseImageModel, NewImageIsEmpty)
{
    CBaseImage image;
    EXPECT_EQ(image.m_nDefaultWidth, 1240);
    EXPECT_EQ(image.m_nDefaultHeight, 1024);
    EXPECT_EQ(image.m_pBmInfo, nullptr);
    EXPECT_EQ(image.m_pBits, nullptr);
    EXPECT_EQ(image.m_pFileData, nullptr);
    EXPECT_EQ(image.m_pLogPalette, nullptr);
    EXPECT_EQ(image.m_pPalette, nullptr);
    EXPECT_EQ(image.m_pBitmap, nullptr);
    EXPECT_EQ(image.GetSize(), CSize());
    EXPECT_EQ(image.FindColorIndex(0), -1);
}

struct ModelHeaderCase {
    const char* name;
    int width, height, colors;
    bool ok;
    int rowPad;
    DWORD sizeImage;
    WORD bitCount;
};

class CreateHeader : public ::testing::TestWithParam<ModelHeaderCase> {};

TEST_P(CreateHeader, FollowsTheRowRule)
{
    const ModelHeaderCase& c = GetParam();
    CBaseImage image;
    ASSERT_EQ(image.CreateHeader(c.width, c.height, c.colors), c.ok ? TRUE : FALSE);
    if (!c.ok) {
        EXPECT_EQ(image.m_pBmInfo, nullptr);
        return;
    }
    const BITMAPINFOHEADER& bi = image.m_pBmInfo->bmiHeader;
    EXPECT_EQ(bi.biSize, 40u);
    EXPECT_EQ(bi.biWidth, c.width);
    EXPECT_EQ(bi.biHeight, c.height);
    EXPECT_EQ(bi.biPlanes, 1);
    EXPECT_EQ(bi.biBitCount, c.bitCount);
    EXPECT_EQ(bi.biCompression, BI_RGB);
    EXPECT_EQ(bi.biClrUsed, 0u);
    EXPECT_EQ(image.m_nRowPad, c.rowPad);
    EXPECT_EQ(bi.biSizeImage, c.sizeImage);
    EXPECT_EQ(image.m_nColors, c.colors);
    EXPECT_EQ(image.m_pBits, nullptr);
    EXPECT_EQ(image.m_pPalette, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cases, CreateHeader,
                         ::testing::Values(ModelHeaderCase{"Bits4Width9", 9, 3, 16, true, 3, 24, 4},
                                           ModelHeaderCase{"Bits8Width5", 5, 2, 256, true, 3, 16, 8},
                                           ModelHeaderCase{"Bits1Width8", 8, 1, 2, true, 3, 4, 1},
                                           ModelHeaderCase{"Bits24Width3", 3, 2, 0, true, 3, 24, 24},
                                           ModelHeaderCase{"Bits24Width4", 4, 2, 0, true, 0, 24, 24},
                                           ModelHeaderCase{"Bits4Width1", 1, 3, 16, false, 0, 0, 0},
                                           ModelHeaderCase{"Bits1Width7", 7, 3, 2, false, 0, 0, 0},
                                           ModelHeaderCase{"ThreeColours", 8, 8, 3, false, 0, 0, 0},
                                           ModelHeaderCase{"ZeroWidth", 0, 8, 0, false, 0, 0, 0},
                                           ModelHeaderCase{"NegativeHeight", 8, -8, 0, false, 0, 0, 0},
                                           ModelHeaderCase{"PixelBlockOver2GB", 40000, 40000, 0, false,
                                                      0, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BaseImageModel, FailedHeaderKeepsTheImage)
{
    CBaseImage image;
    ASSERT_TRUE(image.Create(4, 2, 0, RGB(9, 9, 9)));
    const BYTE* bits = image.m_pBits;
    EXPECT_FALSE(image.CreateHeader(7, 3, 2));
    EXPECT_FALSE(image.Create(1, 1, 16, 0));
    EXPECT_EQ(image.m_pBits, bits);
    EXPECT_EQ(image.GetSize(), CSize(4, 2));
    EXPECT_EQ(image.m_nColors, 0);
}

struct BlankCase {
    const char* name;
    int width, height, colors;
    COLORREF fill;
    BYTE every; // the value of every byte of the block
};

class BlankImage : public ::testing::TestWithParam<BlankCase> {};

TEST_P(BlankImage, FillsEveryByte)
{
    const BlankCase& c = GetParam();
    CBaseImage image;
    ASSERT_TRUE(image.Create(c.width, c.height, c.colors, c.fill));
    EXPECT_TRUE(AllBytes(Bits(image), c.every));
    EXPECT_NE(image.m_pPalette, nullptr);
    EXPECT_EQ(image.m_pFileData, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BlankImage,
    ::testing::Values(BlankCase{"Bits8White", 5, 3, 256, RGB(255, 255, 255), 215},
                      BlankCase{"Bits4PureBlue", 9, 2, 16, RGB(0, 0, 255), 0x55},
                      BlankCase{"Bits4WhiteIsNotInThePalette", 9, 2, 16, RGB(255, 255, 255), 0},
                      BlankCase{"Bits1WhateverFill", 8, 2, 2, RGB(0, 0, 51), 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BaseImageModel, Blank24BitWhiteHasNoPadBytes)
{
    CBaseImage image;
    ASSERT_TRUE(image.Create(4, 4, 256, 0));
    ASSERT_TRUE(image.Create(4, 2, 0, RGB(255, 255, 255)));
    EXPECT_EQ(image.m_pBmInfo->bmiHeader.biSizeImage, 24u);
    EXPECT_TRUE(AllBytes(Bits(image), 0xFF));
    EXPECT_EQ(image.m_pPalette, nullptr);
}

TEST(BaseImageModel, Blank24BitRedRowsArePadded)
{
    CBaseImage image;
    ASSERT_TRUE(image.Create(3, 2, 0, RGB(255, 0, 0)));
    const std::vector<BYTE> b = Bits(image);
    ASSERT_EQ(b.size(), 24u);
    const std::vector<BYTE> pixels = {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF};
    EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), b.begin()));
    EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), b.begin() + 12));
}

TEST(BaseImageModel, DefaultPaletteIsTheColorCube)
{
    CBaseImage image;
    ASSERT_TRUE(image.Create(2, 2, 256, 0));
    const LOGPALETTE* lp = image.m_pLogPalette;
    ASSERT_NE(lp, nullptr);
    EXPECT_EQ(lp->palVersion, 0x300);
    EXPECT_EQ(lp->palNumEntries, 256);
    auto entry = [lp](int i) {
        const PALETTEENTRY& e = lp->palPalEntry[i];
        return RGB(e.peRed, e.peGreen, e.peBlue);
    };
    EXPECT_EQ(entry(1), RGB(0, 0, 51));
    EXPECT_EQ(entry(6), RGB(0, 51, 0));
    EXPECT_EQ(entry(36), RGB(51, 0, 0));
    EXPECT_EQ(entry(215), RGB(255, 255, 255));
    EXPECT_EQ(entry(216), RGB(0, 0, 0));
    const RGBQUAD& q = image.m_pBmInfo->bmiColors[0];
    const RGBQUAD* table = &q;
    EXPECT_EQ(table[36].rgbRed, 51);
    EXPECT_EQ(table[1].rgbBlue, 51);
    EXPECT_EQ(image.m_pPalette->GetEntryCount(), 256);
}

TEST(BaseImageModel, TwoColorPaletteIsBlackAndDarkBlue)
{
    CBaseImage image;
    ASSERT_TRUE(image.Create(8, 1, 2, 0));
    EXPECT_EQ(image.FindColorIndex(RGB(0, 0, 0)), 0);
    EXPECT_EQ(image.FindColorIndex(RGB(0, 0, 51)), 1);
    EXPECT_EQ(image.FindColorIndex(RGB(0, 0, 102)), -1);
}

TEST(BaseImageModel, FindColorIndexTakesTheLowerOfEqualEntries)
{
    std::vector<COLORREF> colors(256, RGB(7, 7, 7));
    colors[3] = colors[9] = RGB(10, 20, 30);
    CBaseImage image;
    image.CreateFromColorTable(4, 4, colors.data());
    EXPECT_EQ(image.FindColorIndex(RGB(10, 20, 30)), 3);
    EXPECT_EQ(image.FindColorIndex(RGB(30, 20, 10)), -1);

    CBaseImage trueColor;
    ASSERT_TRUE(trueColor.Create(2, 2, 0, 0));
    EXPECT_EQ(trueColor.FindColorIndex(RGB(0, 0, 0)), -1);
}

TEST(BaseImageModel, CreateFromColorTableMakesAZeroed8BitImage)
{
    std::vector<COLORREF> colors(256);
    for (int i = 0; i < 256; ++i)
        colors[i] = RGB(i, 255 - i, i / 2);
    CBaseImage image;
    image.CreateFromColorTable(10, 3, colors.data());
    ASSERT_NE(image.m_pBits, nullptr);
    EXPECT_EQ(image.m_pBmInfo->bmiHeader.biSizeImage, 36u);
    EXPECT_TRUE(AllBytes(Bits(image), 0));
    EXPECT_EQ(image.m_bmfHeader.bfType, 0x4D42);
    EXPECT_EQ(DWORD(image.m_bmfHeader.bfSize), 1114u);
    EXPECT_EQ(DWORD(image.m_bmfHeader.bfOffBits), 1078u);
    EXPECT_EQ(image.m_nColors, 256);
    EXPECT_EQ(image.FindColorIndex(RGB(200, 55, 100)), 200);
    const RGBQUAD* table = &image.m_pBmInfo->bmiColors[0];
    EXPECT_EQ(table[200].rgbRed, 200);
    EXPECT_EQ(table[200].rgbGreen, 55);
    EXPECT_EQ(table[200].rgbBlue, 100);
}

TEST(BaseImageModel, CreateFromColorTableRefusesImpossibleSizes)
{
    std::vector<COLORREF> colors(256);
    CBaseImage image;
    image.CreateFromColorTable(0, 3, colors.data());
    image.CreateFromColorTable(5, -1, colors.data());
    EXPECT_EQ(image.m_pBits, nullptr);
    EXPECT_EQ(image.m_pPalette, nullptr);
}

} // namespace
