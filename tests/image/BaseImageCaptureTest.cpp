// Capturing the top-left 800 × 600 pixels of a device context into a BMP file.
#include "BmpFiles.h"

#include "image/BaseImage.h"

#include <gtest/gtest.h>

using namespace bmptest;

namespace {

// The canvas: blocks of 40 × 40 pixels in colours of their own inside the captured area,
// pure red outside it.
class CaptureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int y = 0; y < 1024; y += 40)
            for (int x = 0; x < 1280; x += 40) {
                const bool captured = x < 800 && y < 600;
                canvas.dc()->FillSolidRect(
                    x, y, 40, 40, captured ? RGB(x / 5, y / 5, (x + y) % 199) : RGB(255, 0, 0));
            }
    }
    std::string Path(const char* name) { return dir.filePath(name).toStdString(); }

    Surface canvas{1280, 1024};
    Surface window{10, 10};
    QTemporaryDir dir;
    CBaseImage image;
};

TEST_F(CaptureTest, WritesThe800By600CornerAs24Bits)
{
    ASSERT_TRUE(image.CaptureToFile(window.dc(), canvas.dc(), Path("shot.bmp")));
    const std::vector<BYTE> b = ReadFile(Path("shot.bmp"));
    ASSERT_EQ(b.size(), 1440054u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(Get32(b, 2), 1440054u);
    EXPECT_EQ(Get32(b, 6), 0u);
    EXPECT_EQ(Get32(b, 10), 54u);
    EXPECT_EQ(Get32(b, 14), 40u);
    EXPECT_EQ(Get32(b, 18), 800u);
    EXPECT_EQ(Get32(b, 22), 600u);
    EXPECT_EQ(b[26] | b[27] << 8, 1);
    EXPECT_EQ(b[28] | b[29] << 8, 24);
    EXPECT_EQ(Get32(b, 30), 0u);
    EXPECT_EQ(Get32(b, 34), 1440000u);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const std::size_t at = 54 + std::size_t(599 - y) * 2400 + 3 * std::size_t(x);
            const std::uint32_t rgb = std::uint32_t(b[at + 2]) << 16 | b[at + 1] << 8 | b[at];
            ASSERT_EQ(rgb, canvas.At(x, y)) << x << ", " << y;
            ASSERT_NE(rgb, 0xFF0000u);
        }
}

TEST_F(CaptureTest, CaptureLoadsAndShowsAsTheCanvas)
{
    ASSERT_TRUE(image.CaptureToFile(window.dc(), canvas.dc(), Path("shot.bmp")));
    CBaseImage shot;
    ASSERT_TRUE(shot.LoadBMP(Path("shot.bmp").c_str()));
    Surface shown(800, 600);
    ASSERT_TRUE(shot.Draw(0, 0, shown.dc()));
    for (int y = 0; y < 600; y += 7)
        for (int x = 0; x < 800; x += 7)
            ASSERT_EQ(shown.At(x, y), canvas.At(x, y)) << x << ", " << y;
}

TEST_F(CaptureTest, ReplacesAnExistingFile)
{
    const std::string path = WriteFile(dir, "shot.bmp", std::vector<BYTE>(3000000, 7));
    ASSERT_TRUE(image.CaptureToFile(window.dc(), canvas.dc(), path));
    EXPECT_EQ(ReadFile(path).size(), 1440054u);
    EXPECT_EQ(FileNames(dir), std::vector<std::string>{"shot.bmp"});
}

TEST_F(CaptureTest, FailedWriteLeavesTheExistingFileAsItWas)
{
    const std::vector<BYTE> old(100, 7);
    const std::string path = WriteFile(dir, "shot.bmp", old);
    {
        const FileSizeLimit full(100000);
        EXPECT_FALSE(image.CaptureToFile(window.dc(), canvas.dc(), path));
    }
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_EQ(FileNames(dir), std::vector<std::string>{"shot.bmp"});
}

TEST_F(CaptureTest, RefusesWhatCannotBeWritten)
{
    EXPECT_FALSE(image.CaptureToFile(window.dc(), canvas.dc(), Path("missing/shot.bmp")));
    EXPECT_FALSE(image.CaptureToFile(window.dc(), canvas.dc(), std::string(512, 'a')));
    CBitmap never;
    EXPECT_FALSE(image.WriteBitmapFile(&never, Path("never.bmp")));
    EXPECT_TRUE(FileNames(dir).empty());
}

TEST_F(CaptureTest, WriteBitmapFileKeepsTheBitmapsOwnSize)
{
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(nullptr, 3, 2));
    ASSERT_TRUE(image.WriteBitmapFile(&bitmap, Path("small.bmp")));
    const std::vector<BYTE> b = ReadFile(Path("small.bmp"));
    EXPECT_EQ(b.size(), 54u + 2 * 12);
    EXPECT_EQ(Get32(b, 34), 24u);
}

} // namespace
