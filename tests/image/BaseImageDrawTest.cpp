// Showing an image: where its pixels land, and which palette the context holds meanwhile.
#include "BmpFiles.h"

#include "image/BaseImage.h"

#include <gtest/gtest.h>

using namespace bmptest;

namespace {

// A memory context that notes, at every change of its pixels, the palette it held and the
// bounds of the change.
class PaletteSpy : public CDC {
public:
    PaletteSpy(int width, int height)
    {
        m_bitmap.CreateCompatibleBitmap(nullptr, width, height);
        CreateCompatibleDC(nullptr);
        SelectObject(&m_bitmap);
    }
    std::vector<HPALETTE> palettes;
    std::vector<CRect> changes;

protected:
    void OnChanged(const CRect& bounds) override
    {
        palettes.push_back(GetCurrentPalette());
        changes.push_back(bounds);
    }

private:
    CBitmap m_bitmap;
};

HPALETTE MakePalette()
{
    LOGPALETTE lp{0x300, 1, {{1, 2, 3, 0}}};
    return ::CreatePalette(&lp);
}

std::string SaveTemp(const QTemporaryDir& dir, const std::vector<BYTE>& bytes)
{
    return WriteFile(dir, "in.bmp", bytes);
}

TEST(BaseImageDraw, EmptyImageDrawsNothingAndLeavesTheContextAlone)
{
    PaletteSpy dc(4, 4);
    const HPALETTE before = dc.GetCurrentPalette();
    CBaseImage image;
    EXPECT_FALSE(image.Draw(0, 0, &dc));
    EXPECT_TRUE(dc.changes.empty());
    EXPECT_EQ(dc.GetCurrentPalette(), before);
    EXPECT_EQ(dc.GetStretchBltMode(), BLACKONWHITE);
}

TEST(BaseImageDraw, TrueColorImageSelectsNoPalette)
{
    PaletteSpy dc(4, 4);
    const HPALETTE before = dc.GetCurrentPalette();
    CBaseImage image;
    ASSERT_TRUE(image.Create(3, 2, 0, RGB(9, 8, 7)));
    EXPECT_FALSE(image.UseSystemPalette(&dc));
    ASSERT_TRUE(image.Draw(0, 0, &dc));
    ASSERT_EQ(dc.palettes.size(), 1u);
    EXPECT_EQ(dc.palettes[0], before);
    EXPECT_EQ(dc.GetCurrentPalette(), before);
    EXPECT_EQ(dc.GetStretchBltMode(), COLORONCOLOR);
    EXPECT_EQ(dc.changes[0], CRect(0, 0, 3, 2));
}

TEST(BaseImageDraw, LoadedPaletteImageSelectsItsPaletteAndRestoresThePrevious)
{
    QTemporaryDir dir;
    const auto bytes =
        BuildBmp({8, BI_RGB, 40, false, {0x112233, 0x445566}, 2}, {3, 2, {{1, 0x445566}}});
    CBaseImage image;
    ASSERT_TRUE(image.LoadBMP(SaveTemp(dir, bytes).c_str()));
    PaletteSpy dc(5, 5);
    const HPALETTE mine = MakePalette();
    dc.SelectPalette(mine, FALSE);
    ASSERT_TRUE(image.Draw(1, 1, &dc));
    ASSERT_EQ(dc.palettes.size(), 1u);
    EXPECT_EQ(dc.palettes[0], image.m_pPalette->GetSafeHandle());
    EXPECT_EQ(dc.GetCurrentPalette(), mine);
    EXPECT_EQ(ToRgb(dc.GetPixel(1, 1)), 0x445566u);
    dc.SelectPalette(PaletteObject::Default(), FALSE);
    ::DeleteObject(mine);
}

TEST(BaseImageDraw, PaletteImageWithoutPaletteObjectSelectsNone)
{
    CBaseImage image;
    ASSERT_TRUE(image.CreateHeader(4, 2, 256));
    std::vector<BYTE> bits(8, 0);
    image.m_pBits = bits.data();
    PaletteSpy dc(4, 4);
    const HPALETTE before = dc.GetCurrentPalette();
    EXPECT_FALSE(image.UseSystemPalette(&dc));
    ASSERT_TRUE(image.Draw(0, 0, &dc));
    ASSERT_EQ(dc.palettes.size(), 1u);
    EXPECT_EQ(dc.palettes[0], before);
}

TEST(BaseImageDraw, CanvasSizedImageCoversExactlyTheCanvas)
{
    CBaseImage image;
    ASSERT_TRUE(image.Create(1280, 1024, 0, RGB(255, 255, 255)));
    Surface s(1282, 1026, RGB(1, 2, 3));
    ASSERT_TRUE(image.Draw(0, 0, s.dc()));
    EXPECT_EQ(s.At(0, 0), 0xFFFFFFu);
    EXPECT_EQ(s.At(1279, 1023), 0xFFFFFFu);
    EXPECT_EQ(s.At(1280, 0), 0x010203u);
    EXPECT_EQ(s.At(0, 1024), 0x010203u);
    EXPECT_EQ(s.At(1280, 1024), 0x010203u);
}

struct Placement {
    const char* name;
    int x, y;
};

class DrawPlacement : public ::testing::TestWithParam<Placement> {};

// A picture partly off the surface on any side shows the part that falls on it.
TEST_P(DrawPlacement, ClipsToTheSurface)
{
    const Placement& c = GetParam();
    const Picture p{13, 7, {{0x102030, 0x102030}, {0xA0B0C0, 0xA0B0C0}, {0x00FF00, 0x00FF00}}};
    QTemporaryDir dir;
    for (bool topDown : {false, true}) {
        CBaseImage image;
        ASSERT_TRUE(
            image.LoadBMP(SaveTemp(dir, BuildBmp({24, BI_RGB, 40, topDown, {}}, p)).c_str()));
        PaletteSpy dc(8, 5);
        dc.FillSolidRect(0, 0, 8, 5, RGB(1, 2, 3));
        dc.changes.clear();
        ASSERT_TRUE(image.Draw(c.x, c.y, &dc));
        const auto clamp = [](std::int64_t v, int hi) {
            return int(std::clamp<std::int64_t>(v, 0, hi));
        };
        const CRect on(clamp(c.x, 8), clamp(c.y, 5), clamp(std::int64_t(c.x) + 13, 8),
                       clamp(std::int64_t(c.y) + 7, 5));
        if (on.IsRectEmpty())
            EXPECT_TRUE(dc.changes.empty());
        else
            EXPECT_EQ(dc.changes, std::vector<CRect>{on});
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool inside = on.PtInRect(CPoint(x, y));
                const std::uint32_t want = inside ? p.At(x - c.x, y - c.y).rgb : 0x010203u;
                ASSERT_EQ(ToRgb(dc.GetPixel(x, y)), want)
                    << x << ", " << y << " top-down " << topDown;
            }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DrawPlacement,
    ::testing::Values(Placement{"Inside", 0, 0}, Placement{"LeftAndTop", -3, -2},
                      Placement{"RightAndBottom", 4, 2}, Placement{"AllAround", -6, -3},
                      Placement{"OffTheRight", 8, 0}, Placement{"OffTheTop", 0, -7},
                      Placement{"FarAway", -2147483647, 2147483647}),
    [](const auto& info) { return std::string(info.param.name); });

// Rows: a run of two, then an end of line; a delta one right and one up, a pixel, then the end
// of the picture. What the stream skips keeps the white of the surface, not colour 0 (black).
TEST(BaseImageDraw, PixelsAnRleStreamSkipsKeepWhatTheSurfaceHeld)
{
    QTemporaryDir dir;
    for (const DWORD compression : {BI_RLE8, BI_RLE4}) {
        const bool rle4 = compression == BI_RLE4;
        std::vector<std::uint32_t> table(rle4 ? 16 : 256, 0x000000);
        table[1] = 0x102030;
        table[2] = 0xA0B0C0;
        std::vector<BYTE> file =
            BuildBmp({rle4 ? 4 : 8, compression, 40, false, table}, {4, 3, {{0, 0}}});
        ReplaceRleStream(
            file, {2, BYTE(rle4 ? 0x11 : 1), 0, 0, 0, 2, 1, 1, 1, BYTE(rle4 ? 0x22 : 2), 0, 1});
        CBaseImage image;
        ASSERT_TRUE(image.LoadBMP(SaveTemp(dir, file).c_str()));
        Surface s(4, 3, RGB(255, 255, 255));
        ASSERT_TRUE(image.Draw(0, 0, s.dc()));
        const char* rows[] = {".2..", "....", "11.."};
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) {
                const char c = rows[y][x];
                ASSERT_EQ(s.At(x, y), c == '.' ? 0xFFFFFFu : table[std::size_t(c - '0')])
                    << x << ", " << y << (rle4 ? " RLE4" : " RLE8");
            }
    }
}

TEST(BaseImageDraw, RenderToBitmapMakesADisplayBitmapOfTheImage)
{
    CBaseImage image;
    ASSERT_TRUE(image.Create(16, 4, 16, RGB(0, 0, 255)));
    image.RenderToBitmap();
    ASSERT_NE(image.m_pBitmap, nullptr);
    EXPECT_EQ(image.m_pBitmap->GetSize(), CSize(16, 4));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(image.m_pBitmap);
    EXPECT_EQ(dc.GetPixel(15, 3), RGB(0, 0, 255));
    const CBitmap* first = image.m_pBitmap;
    image.RenderToBitmap();
    EXPECT_NE(image.m_pBitmap, nullptr);
    EXPECT_NE(image.m_pBitmap, first);
}

} // namespace
