// Device contexts: object selection, mix modes, clips, what a drawing reports, blits and the
// device's capabilities.
#include "tests/support/Surface.h"

#include "framework/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

namespace {

using Figure = MemorySurface::Figure;


TEST(DeviceContext, SelectObjectReturnsWhatItReplaced)
{
    WhiteSurface s;
    CPen a(PS_SOLID, 1, kRed), b(PS_SOLID, 2, kBlue);
    EXPECT_EQ(s.dc.SelectObject(&a), CPen::Stock(BLACK_PEN));
    EXPECT_EQ(s.dc.SelectObject(&b), &a);
    CBrush br(kRed);
    EXPECT_EQ(s.dc.SelectObject(&br), CBrush::Stock(WHITE_BRUSH));
    EXPECT_EQ(s.dc.SelectStockObject(NULL_BRUSH), &br);
    EXPECT_TRUE(s.dc.GetCurrentBrush()->IsHollow());
    EXPECT_EQ(s.dc.SetROP2(R2_XORPEN), R2_COPYPEN);
    EXPECT_EQ(s.dc.GetROP2(), R2_XORPEN);
    EXPECT_EQ(GetStockObject(NULL_BRUSH), CBrush::Stock(NULL_BRUSH));
}

TEST(DeviceContext, SelectingABitmapOnlyWorksInAMemoryContext)
{
    CDC dc;
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(&dc, 4, 4);
    EXPECT_EQ(dc.SelectObject(&bmp), nullptr);
    EXPECT_FALSE(dc.Rectangle(0, 0, 2, 2));
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&bmp);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->GetSize(), CSize(1, 1));
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(0, 0, 0));
}

TEST(DeviceContext, DisplayIsATrueColorDevice)
{
    WhiteSurface s;
    EXPECT_EQ(s.dc.GetDeviceCaps(BITSPIXEL), 32);
    EXPECT_EQ(s.dc.GetDeviceCaps(RASTERCAPS) & RC_PALETTE, 0);
    EXPECT_EQ(s.dc.GetDeviceCaps(SIZEPALETTE), 0);
}

TEST(DeviceContext, ExclusiveOrWithGreyOnWhiteShowsMidGrey)
{
    WhiteSurface s;
    CPen pen(PS_SOLID, 1, RGB(127, 127, 127));
    s.dc.SelectObject(&pen);
    s.dc.SetROP2(R2_XORPEN);
    s.Draw(Figure::Line, 0, 0, 10, 0);
    EXPECT_EQ(s.dc.GetPixel(5, 0), RGB(128, 128, 128));
}

TEST(DeviceContext, ExclusiveOrFigureDrawnTwiceRestoresEveryPixel)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(-20, 84), width(1, 7);
    WhiteSurface s;
    // A busy background, so that restoring is not a matter of white alone.
    for (int i = 0; i < 20; ++i) {
        CBrush b(RGB(i * 12, 255 - i * 10, i * 7));
        s.dc.SelectObject(&b);
        s.dc.Ellipse(coord(rng), coord(rng), coord(rng), coord(rng));
    }
    const std::vector<COLORREF> before = s.Pixels();
    s.dc.SetROP2(R2_XORPEN);
    for (int i = 0; i < 200; ++i) {
        CPen pen(i % 3 == 0 ? PS_DOT : PS_SOLID, width(rng), RGB(127, 127, 127));
        CBrush brush(RGB(i, 2 * i, 3 * i));
        s.dc.SelectObject(&pen);
        if (i % 2)
            s.dc.SelectObject(&brush);
        else
            s.dc.SelectStockObject(NULL_BRUSH);
        const int a = coord(rng), b = coord(rng), c = coord(rng), d = coord(rng);
        for (int twice = 0; twice < 2; ++twice)
            s.Draw(Figure(i % 3), a, b, c, d);
        ASSERT_EQ(s.Pixels(), before) << "figure " << i;
    }
}

TEST(DeviceContext, BoundsAccumulateWhatWasDrawnUntilReset)
{
    WhiteSurface s;
    CRect bounds;
    EXPECT_EQ(s.dc.GetBoundsRect(&bounds, DCB_RESET), UINT(DCB_SET)); // the white fill
    EXPECT_EQ(s.dc.GetBoundsRect(&bounds, 0), UINT(DCB_RESET));
    s.dc.Rectangle(10, 12, 20, 30);
    s.Draw(Figure::Line, 40, 5, 50, 6);
    EXPECT_EQ(s.dc.GetBoundsRect(&bounds, DCB_RESET), UINT(DCB_SET));
    EXPECT_EQ(bounds, CRect(10, 5, 50, 30));
}

// A figure, or without one a picture copied in.
class ClippedFigure : public ::testing::TestWithParam<std::optional<Figure>> {};

// Inside a clip a figure puts exactly the pixels it puts without one, and nothing outside:
// the rule that lets a paint redraw only part of a picture.
TEST_P(ClippedFigure, MatchesTheUnclippedFigureInsideAndTouchesNothingOutside)
{
    std::mt19937 rng(11 + (GetParam() ? int(*GetParam()) : 3));
    std::uniform_int_distribution<int> coord(-30, 94), width(1, 7), style(0, 2);
    for (int i = 0; i < 300; ++i) {
        const int a = coord(rng), b = coord(rng), c = coord(rng), d = coord(rng);
        const CRect clip = CRect(coord(rng), coord(rng), coord(rng), coord(rng)).Normalized();
        CPen pen(style(rng) == 0 ? PS_DOT : PS_SOLID, width(rng), kRed);
        CBrush brush(kBlue);
        WhiteSurface whole, part, source(16, 12);
        source.dc.FillSolidRect(4, 3, 8, 6, kRed);
        part.dc.IntersectClipRect(&clip);
        for (WhiteSurface* s : {&whole, &part}) {
            s->dc.SelectObject(&pen);
            s->dc.SelectObject(&brush);
            if (GetParam())
                s->Draw(*GetParam(), a, b, c, d);
            else
                s->dc.BitBlt(a, b, 16, 12, &source.dc, 0, 0, SRCCOPY);
        }
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(part.dc.GetPixel(x, y),
                          clip.PtInRect(CPoint(x, y)) ? whole.dc.GetPixel(x, y) : kWhite)
                    << "figure " << i << " at " << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Figures, ClippedFigure,
                         ::testing::Values(Figure::Line, Figure::Rectangle, Figure::Ellipse,
                                           std::nullopt));

// A memory context that keeps every change it reports.
struct ReportingContext : CDC {
    std::vector<CRect> changes;

protected:
    void OnChanged(const CRect& bounds) override { changes.push_back(bounds); }
};

// A hollow rectangle reports its sides apart, so that a window shows only those again, and
// still every pixel it changed, clipped or not.
TEST(DeviceContext, HollowRectangleReportsItsSidesAndEveryPixelItChanged)
{
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> coord(-30, 94), width(1, 7), style(0, 2);
    for (int i = 0; i < 300; ++i) {
        ReportingContext dc;
        CBitmap bmp;
        dc.CreateCompatibleDC(nullptr);
        bmp.CreateCompatibleBitmap(&dc, 64, 48);
        dc.SelectObject(&bmp);
        dc.FillSolidRect(0, 0, 64, 48, kWhite);
        CRect bounds;
        dc.GetBoundsRect(&bounds, DCB_RESET);
        dc.changes.clear();
        CPen pen(style(rng) == 0 ? PS_DOT : PS_SOLID, width(rng), kRed);
        dc.SelectObject(&pen);
        dc.SelectStockObject(NULL_BRUSH);
        const CRect clip = CRect(coord(rng), coord(rng), coord(rng), coord(rng)).Normalized();
        dc.IntersectClipRect(&clip);
        dc.Rectangle(coord(rng), coord(rng), coord(rng), coord(rng));
        std::int64_t reported = 0;
        for (const CRect& r : dc.changes)
            reported += std::int64_t(r.Width()) * r.Height();
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_TRUE(dc.GetPixel(x, y) == kWhite ||
                            std::ranges::any_of(
                                dc.changes,
                                [&](const CRect& r) { return r.PtInRect(CPoint(x, y)) != FALSE; }))
                    << "figure " << i << " at " << x << "," << y;
        // Wider and taller than two of the widest pen's bands, the sides leave out the middle.
        dc.GetBoundsRect(&bounds, 0);
        if (bounds.Width() > 14 && bounds.Height() > 14) {
            EXPECT_LT(reported, std::int64_t(bounds.Width()) * bounds.Height()) << "figure " << i;
        }
    }
}

// A figure hides what lies under an area exactly when its pen and brush paint all of it; a
// line, only when its pen certainly does, and then it does.
TEST(DeviceContext, CoversRectSaysWhetherTheFigurePaintsTheWholeArea)
{
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> coord(-10, 74), width(-1, 7), fat(8, 60), side(1, 20),
        ax(0, 43), ay(0, 27);
    int covered = 0, linesCovered = 0;
    for (int i = 0; i < 3000; ++i) {
        const Figure kind = Figure((i + 1) % 3); // a rectangle, an ellipse, a line in turn
        const CRect figure(coord(rng), coord(rng), coord(rng), coord(rng));
        const int x = ax(rng), y = ay(rng);
        const CRect area(x, y, x + side(rng), y + side(rng));
        const int penWidth = kind == Figure::Line ? fat(rng) : width(rng);
        WhiteSurface s;
        CPen pen(PS_SOLID, penWidth, kRed);
        CBrush brush(kBlue);
        s.dc.SelectObject(&pen);
        s.dc.SelectObject(&brush);
        s.Draw(kind, figure.left, figure.top, figure.right, figure.bottom);
        bool all = true;
        for (int py = area.top; py < area.bottom; ++py)
            for (int px = area.left; px < area.right; ++px)
                all = all && s.dc.GetPixel(px, py) != kWhite;
        if (kind == Figure::Line) {
            const bool says =
                LineCoversRect(figure.TopLeft(), figure.BottomRight(), penWidth, &area);
            ASSERT_TRUE(!says || all) << "case " << i;
            linesCovered += says;
        } else {
            ASSERT_EQ(FigureCoversRect(kind == Figure::Ellipse, &figure, penWidth, &area) != FALSE,
                      all)
                << "case " << i;
            covered += all;
        }
    }
    EXPECT_GT(covered, 100);
    EXPECT_GT(linesCovered, 100);
}

// Every 1 × 1 to 3 × 3 area of the surface, around lines of even widths (drawn half a pixel
// off their path) in both directions along many slopes: a line claims only areas it paints.
TEST(DeviceContext, EvenWidthLinesClaimOnlyAreasTheyPaintWhole)
{
    const CPoint ends[][2] = {{{8, 24}, {56, 24}}, {{32, 6}, {32, 42}}, {{10, 8}, {54, 40}},
                              {{10, 40}, {54, 8}}, {{6, 20}, {58, 29}}, {{27, 4}, {36, 44}}};
    int claims = 0;
    for (const int width : {2, 4, 6, 8, 10, 12, 16})
        for (const auto& line : ends)
            for (const bool reversed : {false, true}) {
                const CPoint from = line[reversed], to = line[!reversed];
                WhiteSurface s;
                CPen pen(PS_SOLID, width, kRed);
                s.dc.SelectObject(&pen);
                s.Draw(Figure::Line, from.x, from.y, to.x, to.y);
                for (int y = 0; y < 46; ++y)
                    for (int x = 0; x < 62; ++x)
                        for (int side = 1; side <= 9; ++side) {
                            const CRect area(x, y, x + (side + 2) / 3, y + (side + 2) % 3 + 1);
                            if (!LineCoversRect(from, to, width, &area))
                                continue;
                            ++claims;
                            for (int py = area.top; py < area.bottom; ++py)
                                for (int px = area.left; px < area.right; ++px)
                                    ASSERT_NE(s.dc.GetPixel(px, py), kWhite)
                                        << "width " << width << " from " << from.x << "," << from.y
                                        << " to " << to.x << "," << to.y << ": " << px << "," << py;
                        }
            }
    EXPECT_GT(claims, 10000);
}

TEST(DeviceContext, BitBltCopiesAndClips)
{
    WhiteSurface src(16, 16), dst(20, 20);
    src.dc.FillSolidRect(4, 4, 4, 4, kRed);
    dst.dc.BitBlt(-4, -4, 16, 16, &src.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.Ink(), CRect(0, 0, 4, 4));
    EXPECT_EQ(dst.dc.GetPixel(0, 0), kRed);
    dst.dc.BitBlt(18, 18, 16, 16, &src.dc, 4, 4, SRCCOPY);
    EXPECT_EQ(dst.dc.GetPixel(19, 19), kRed);
    EXPECT_TRUE(dst.dc.BitBlt(0, 0, 5, 5, &src.dc, 100, 100, SRCCOPY));
}

} // namespace
