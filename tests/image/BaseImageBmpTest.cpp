// Reading and writing BMP files: the layout written, what is read from where, and what a
// failed save leaves behind.
#include "BmpFiles.h"

#include "image/BaseImage.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace bmptest;

namespace {

const std::vector<Ink> kInks = {{0x102030, 0x102030}, {0xFFFFFF, 0xFFFFFF}, {0x00FF00, 0x00FF00}};

std::vector<BYTE> Bits24(int width = 5, int height = 3)
{
    return BuildBmp({24, BI_RGB, 40, false, {}}, {width, height, kInks});
}

std::vector<BYTE> Bits8(DWORD clrUsed = 0, int entries = 256, int gap = 0)
{
    std::vector<std::uint32_t> table;
    for (int i = 0; i < entries; ++i)
        table.push_back(std::uint32_t(i) * 0x010101);
    return BuildBmp({8, BI_RGB, 40, false, table, clrUsed, {}, gap},
                    {6, 2, {{1, 0x010101}, {200, 0xC8C8C8}, {255, 0xFFFFFF}}});
}

class BmpFile : public ::testing::Test {
protected:
    std::string Write(const std::vector<BYTE>& bytes, const char* name = "in.bmp")
    {
        return WriteFile(dir, name, bytes);
    }
    std::string Path(const char* name) { return dir.filePath(name).toStdString(); }

    QTemporaryDir dir;
};

TEST_F(BmpFile, Saving24BitTwoByTwoWritesOneByteBehindBfSize)
{
    CBaseImage image;
    ASSERT_TRUE(image.Create(2, 2, 0, RGB(1, 2, 3)));
    ASSERT_TRUE(image.SaveBMP(Path("out.bmp").c_str()));
    const std::vector<BYTE> b = ReadFile(Path("out.bmp"));
    ASSERT_EQ(b.size(), 71u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(Get32(b, 2), 70u);
    EXPECT_EQ(Get32(b, 6), 0u);
    EXPECT_EQ(Get32(b, 10), 54u);
    EXPECT_EQ(Get32(b, 34), 16u);
    EXPECT_EQ(b[54], 3); // blue of the first pixel
    EXPECT_EQ(b[70], 0);
    EXPECT_EQ(DWORD(image.m_bmfHeader.bfSize), 70u);
}

class SavePaletteImage : public BmpFile, public ::testing::WithParamInterface<int> {};

TEST_P(SavePaletteImage, PutsThePixelsBehindTheFullColorTable)
{
    const int colors = GetParam();
    CBaseImage image;
    ASSERT_TRUE(image.Create(8, 3, colors, 0));
    ASSERT_TRUE(image.SaveBMP(Path("out.bmp").c_str()));
    const std::vector<BYTE> b = ReadFile(Path("out.bmp"));
    const std::uint32_t offBits = 54 + 4 * colors;
    const std::uint32_t pixelBytes = colors == 256 ? 24 : 12;
    EXPECT_EQ(Get32(b, 10), offBits);
    EXPECT_EQ(Get32(b, 2), offBits + pixelBytes);
    EXPECT_EQ(b.size(), offBits + pixelBytes + 1);
    EXPECT_EQ(b[54 + 4 * 1 + 0], 51); // colour 1 of the cube: blue 51
}

INSTANTIATE_TEST_SUITE_P(Depths, SavePaletteImage, ::testing::Values(2, 16, 256),
                         [](const auto& info) { return "Colors" + std::to_string(info.param); });

TEST_F(BmpFile, LoadedFileSavedAgainIsReproducedByteForByte)
{
    std::vector<BYTE> in = Bits8();
    Put16(in, 6, 0x1234); // reserved fields, written back as 0
    Put16(in, 8, 0x5678);
    in[54 + 4 * 7 + 3] = 0x99;        // a reserved byte of the colour table, kept
    Put32(in, 34, Get32(in, 34) + 4); // biSizeImage covering four bytes more
    in.insert(in.end(), {9, 8, 7, 6});
    Put32(in, 2, std::uint32_t(in.size()));
    CBaseImage image;
    ASSERT_TRUE(image.LoadBMP(Write(in).c_str()));
    ASSERT_TRUE(image.SaveBMP(Path("out.bmp").c_str()));
    std::vector<BYTE> want = in;
    Put16(want, 6, 0);
    Put16(want, 8, 0);
    want.push_back(0);
    EXPECT_EQ(ReadFile(Path("out.bmp")), want);
}

TEST_F(BmpFile, SaveWithoutPathRewritesTheLoadedFile)
{
    const std::string path = Write(Bits24());
    CBaseImage image;
    ASSERT_TRUE(image.LoadBMP(path.c_str()));
    EXPECT_EQ(image.m_strFileName, path);
    ASSERT_TRUE(image.SaveBMP(nullptr));
    EXPECT_EQ(ReadFile(path).size(), Bits24().size() + 1);
}

TEST_F(BmpFile, Loading24BitBuildsNoPalette)
{
    CBaseImage image;
    ASSERT_TRUE(image.LoadBMP(Write(Bits24()).c_str()));
    EXPECT_EQ(image.m_nColors, 0);
    EXPECT_EQ(image.m_pLogPalette, nullptr);
    EXPECT_EQ(image.m_pPalette, nullptr);
    EXPECT_EQ(image.GetSize(), CSize(5, 3));
    EXPECT_EQ(image.m_pBmInfo, reinterpret_cast<BITMAPINFO*>(image.m_pFileData));
    EXPECT_EQ(image.m_pBits, image.m_pFileData + 40);
}

TEST_F(BmpFile, TopDownFileHasNegativeHeight)
{
    CBaseImage image;
    const auto bytes = BuildBmp({24, BI_RGB, 40, true, {}}, {4, 3, kInks});
    ASSERT_TRUE(image.LoadBMP(Write(bytes).c_str()));
    EXPECT_EQ(image.GetSize(), CSize(4, -3));
}

TEST_F(BmpFile, ShortColorTableIsReadAtItsLengthAndFilledWithBlack)
{
    CBaseImage image;
    ASSERT_TRUE(image.LoadBMP(Write(Bits8(201, 201)).c_str()));
    ASSERT_EQ(image.m_nColors, 256);
    const PALETTEENTRY* e = image.m_pLogPalette->palPalEntry;
    EXPECT_EQ(e[200].peRed, 200);
    EXPECT_EQ(e[201].peRed, 0);
    EXPECT_EQ(e[255].peBlue, 0);
    ASSERT_TRUE(image.SaveBMP(Path("out.bmp").c_str()));
    const std::vector<BYTE> b = ReadFile(Path("out.bmp"));
    EXPECT_EQ(Get32(b, 10), 1078u);
    EXPECT_EQ(Get32(b, 46), 0u); // biClrUsed: the table is whole now
    EXPECT_EQ(b[1078], 255);     // the bottom-left pixel
}

TEST_F(BmpFile, PixelsStartAtBfOffBitsBehindTheTable)
{
    CBaseImage image;
    ASSERT_TRUE(image.LoadBMP(Write(Bits8(0, 256, 10)).c_str()));
    EXPECT_EQ(image.m_pBits, image.m_pFileData + 40 + 1024 + 10);
    EXPECT_EQ(image.m_pBits[0], 255);
    ASSERT_TRUE(image.SaveBMP(Path("out.bmp").c_str()));
    EXPECT_EQ(Get32(ReadFile(Path("out.bmp")), 10), 1078u);
}

TEST_F(BmpFile, BfOffBitsInsideTheTableIsOverruled)
{
    std::vector<BYTE> in = Bits8();
    Put32(in, 10, 100);
    CBaseImage image;
    ASSERT_TRUE(image.LoadBMP(Write(in).c_str()));
    EXPECT_EQ(image.m_pBits, image.m_pFileData + 40 + 1024);
}

TEST_F(BmpFile, BfSizeOfZeroOrTooSmallMeansTheWholeFile)
{
    for (std::uint32_t bfSize : {0u, 20u}) {
        std::vector<BYTE> in = Bits24();
        Put32(in, 2, bfSize);
        CBaseImage image;
        EXPECT_TRUE(image.LoadBMP(Write(in).c_str())) << bfSize;
    }
}

TEST_F(BmpFile, BytesBehindBfSizeAreNotPartOfTheImage)
{
    std::vector<BYTE> in = Bits24();
    Put32(in, 2, std::uint32_t(in.size() - 4)); // the last row reaches past bfSize
    CBaseImage image;
    EXPECT_FALSE(image.LoadBMP(Write(in).c_str()));
}

TEST_F(BmpFile, LyingBiSizeImageAndBiClrUsedAreMendedForSaving)
{
    std::vector<BYTE> in = Bits8();
    Put32(in, 34, 0xFFFFFF00u);
    Put32(in, 46, 1000);
    CBaseImage image;
    ASSERT_TRUE(image.LoadBMP(Write(in).c_str()));
    ASSERT_TRUE(image.SaveBMP(Path("out.bmp").c_str()));
    const std::vector<BYTE> b = ReadFile(Path("out.bmp"));
    EXPECT_EQ(Get32(b, 34), 16u);
    EXPECT_EQ(Get32(b, 46), 0u);
    EXPECT_EQ(b.size(), 1078u + 16 + 1);
}

TEST_F(BmpFile, ZeroBiSizeImageIsComputedBySaving)
{
    std::vector<BYTE> in = Bits24(5, 3);
    Put32(in, 34, 0);
    CBaseImage image;
    ASSERT_TRUE(image.LoadBMP(Write(in).c_str()));
    ASSERT_TRUE(image.SaveBMP(Path("out.bmp").c_str()));
    const std::vector<BYTE> b = ReadFile(Path("out.bmp"));
    EXPECT_EQ(Get32(b, 34), 48u);
    EXPECT_EQ(Get32(b, 2), 54u + 48);
}

struct HeaderCase {
    const char* name;
    Layout layout;
    std::uint32_t savedHeader; // biSize written
    std::uint32_t offBits;     // bfOffBits written
};

class SaveHeader : public BmpFile, public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(SaveHeader, WritesAHeaderOtherReadersKnow)
{
    const HeaderCase& c = GetParam();
    const std::vector<BYTE> in = BuildBmp(c.layout, {4, 2, {{1, 0}}});
    CBaseImage image;
    ASSERT_TRUE(image.LoadBMP(Write(in).c_str()));
    ASSERT_TRUE(image.SaveBMP(Path("out.bmp").c_str()));
    const std::vector<BYTE> b = ReadFile(Path("out.bmp"));
    EXPECT_EQ(Get32(b, 14), c.savedHeader);
    EXPECT_EQ(Get32(b, 10), c.offBits);
    EXPECT_EQ(Get32(b, 2) + 1, b.size());
    if (c.savedHeader == in[14]) {
        EXPECT_TRUE(std::equal(in.begin() + 14, in.begin() + c.offBits, b.begin() + 14));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveHeader,
    ::testing::Values(
        HeaderCase{"V5Header", {24, BI_RGB, 124, false, {}}, 124, 138},
        HeaderCase{"V4Header", {24, BI_RGB, 108, false, {}}, 108, 122},
        HeaderCase{"MasksBehind40Bytes",
                   {16, BI_BITFIELDS, 40, false, {}, 0, {0xF800, 0x7E0, 0x1F}},
                   40,
                   66},
        HeaderCase{"MasksInside56Bytes",
                   {32, BI_BITFIELDS, 56, false, {}, 0, {0xFF, 0xFF00, 0xFF0000}},
                   56,
                   70},
        HeaderCase{"CoreHeaderConverted", {1, BI_RGB, 12, false, {0, 0xFFFFFF}}, 40, 62},
        HeaderCase{
            "Os2HeaderConverted", {4, BI_RGB, 64, false, std::vector<std::uint32_t>(16)}, 40, 118}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BmpFile, EmbeddedProfileIsDroppedFromAV5Header)
{
    std::vector<BYTE> in = BuildBmp({24, BI_RGB, 124, false, {}}, {2, 2, kInks});
    Put32(in, 14 + 56, 0x4D424544); // 'MBED'
    Put32(in, 14 + 112, 4000);
    Put32(in, 14 + 116, 500);
    CBaseImage image;
    ASSERT_TRUE(image.LoadBMP(Write(in).c_str()));
    ASSERT_TRUE(image.SaveBMP(Path("out.bmp").c_str()));
    const std::vector<BYTE> b = ReadFile(Path("out.bmp"));
    EXPECT_EQ(Get32(b, 14 + 56), 0x73524742u);
    EXPECT_EQ(Get32(b, 14 + 112), 0u);
    EXPECT_EQ(Get32(b, 14 + 116), 0u);
}

TEST_F(BmpFile, SavingAnEmptyImageTouchesNoFile)
{
    const std::string existing = Write({1, 2, 3}, "keep.bmp");
    CBaseImage image;
    EXPECT_FALSE(image.SaveBMP(existing.c_str()));
    EXPECT_FALSE(image.SaveBMP(Path("new.bmp").c_str()));
    EXPECT_EQ(ReadFile(existing), (std::vector<BYTE>{1, 2, 3}));
    EXPECT_EQ(FileNames(dir), std::vector<std::string>{"keep.bmp"});
    CBaseImage unnamed;
    ASSERT_TRUE(unnamed.Create(2, 2, 0, 0));
    EXPECT_FALSE(unnamed.SaveBMP(nullptr));
}

TEST_F(BmpFile, FailedSaveLeavesTheExistingFileAsItWas)
{
    const std::vector<BYTE> old = Bits24();
    const std::string path = Write(old, "picture.bmp");
    CBaseImage image;
    ASSERT_TRUE(image.Create(100, 100, 0, RGB(255, 0, 0)));
    {
        const FileSizeLimit full(4096);
        EXPECT_FALSE(image.SaveBMP(path.c_str()));
    }
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_EQ(FileNames(dir), std::vector<std::string>{"picture.bmp"});
    ASSERT_TRUE(image.SaveBMP(path.c_str()));
    EXPECT_EQ(ReadFile(path).size(), 54u + 30000 + 1);
}

TEST_F(BmpFile, SaveIntoAMissingFolderFails)
{
    CBaseImage image;
    ASSERT_TRUE(image.Create(2, 2, 0, 0));
    EXPECT_FALSE(image.SaveBMP(Path("no/such/folder/out.bmp").c_str()));
}

TEST_F(BmpFile, PathsOfAnyLengthTheSystemTakesWork)
{
    // Folders of 100 characters make a path of well over 512 bytes.
    std::string folder = dir.path().toStdString();
    while (folder.size() < 900) {
        folder += "/" + std::string(100, 'd');
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
    }
    const std::string path = folder + "/" + std::string(200, 'f') + ".bmp";
    CBaseImage image;
    ASSERT_TRUE(image.Create(2, 2, 0, 0));
    ASSERT_TRUE(image.SaveBMP(path.c_str()));
    CBaseImage again;
    ASSERT_TRUE(again.LoadBMP(path.c_str()));
    EXPECT_EQ(again.m_strFileName, path);
}

TEST_F(BmpFile, FailedLoadKeepsWhatTheImageHeld)
{
    CBaseImage image;
    const std::string good = Write(Bits8());
    ASSERT_TRUE(image.LoadBMP(good.c_str()));
    const BYTE* bits = image.m_pBits;
    const BITMAPFILEHEADER header = image.m_bmfHeader;
    std::vector<BYTE> bad = Bits24();
    bad[28] = 7; // biBitCount
    std::vector<BYTE> foreign = Bits24();
    foreign[0] = 'M';
    foreign[1] = 'B';
    for (const std::string& path :
         {Write(bad, "bad.bmp"), Write(foreign, "foreign.bmp"), Path("missing.bmp")}) {
        EXPECT_FALSE(image.LoadBMP(path.c_str())) << path;
        EXPECT_EQ(image.m_pBits, bits);
        EXPECT_EQ(image.m_nColors, 256);
        EXPECT_NE(image.m_pPalette, nullptr);
        EXPECT_EQ(image.m_strFileName, good);
        EXPECT_EQ(std::memcmp(&image.m_bmfHeader, &header, sizeof header), 0);
    }
}

TEST_F(BmpFile, FileThatStartsWithMBIsRefused)
{
    std::vector<BYTE> in = Bits24();
    in[0] = 'M';
    in[1] = 'B';
    CBaseImage image;
    EXPECT_FALSE(image.LoadBMP(Write(in).c_str()));
    EXPECT_EQ(image.m_bmfHeader.bfType, 0);
    EXPECT_EQ(image.m_pFileData, nullptr);
}

} // namespace
