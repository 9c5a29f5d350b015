// Device contexts: GDI geometry, mix modes and object selection on 32-bit surfaces.
#include "tests/support/Surface.h"

#include "framework/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A white memory context of the given size.
struct Surface : MemorySurface {
    Surface(int w = 64, int h = 48) : MemorySurface(w, h, kWhite) {}
    // Bounding box of the pixels that are not white.
    CRect Ink() const
    {
        const CSize s = bmp.GetSize();
        CRect r(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
        for (int y = 0; y < s.cy; ++y)
            for (int x = 0; x < s.cx; ++x)
                if (dc.GetPixel(x, y) != kWhite) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x + 1);
                    r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
        return r;
    }
    int Count(COLORREF c) const
    {
        int n = 0;
        for (COLORREF p : Pixels())
            n += p == c;
        return n;
    }
};

struct Corners {
    const char* name;
    int x1, y1, x2, y2;
};

class RectangleCorners : public ::testing::TestWithParam<Corners> {};

TEST_P(RectangleCorners, CoverExactlyTheOrderedHalfOpenRectangle)
{
    const Corners c = GetParam();
    Surface s;
    CPen pen(PS_SOLID, 1, kRed);
    CBrush brush(kBlue);
    s.dc.SelectObject(&pen);
    s.dc.SelectObject(&brush);
    s.dc.Rectangle(c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(s.Ink(), CRect(10, 5, 30, 20));
    EXPECT_EQ(s.Count(kBlue), 18 * 13);
    EXPECT_EQ(s.Count(kRed), 20 * 15 - 18 * 13);

    Surface e;
    e.dc.SelectObject(&pen);
    e.dc.SelectObject(&brush);
    e.dc.Ellipse(c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(e.Ink(), CRect(10, 5, 30, 20));
}

INSTANTIATE_TEST_SUITE_P(AnyOrder, RectangleCorners,
                         ::testing::Values(Corners{"TopLeftFirst", 10, 5, 30, 20},
                                           Corners{"BottomRightFirst", 30, 20, 10, 5},
                                           Corners{"TopRightFirst", 30, 5, 10, 20},
                                           Corners{"BottomLeftFirst", 10, 20, 30, 5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DeviceContext, LineToLeavesOutItsEndPointAndMovesThePosition)
{
    Surface s;
    s.dc.MoveTo(2, 3);
    s.dc.LineTo(12, 3);
    EXPECT_EQ(s.Ink(), CRect(2, 3, 12, 4));
    EXPECT_EQ(s.dc.GetCurrentPosition(), CPoint(12, 3));
    Surface v;
    v.dc.MoveTo(5, 20);
    v.dc.LineTo(5, 10);
    EXPECT_EQ(v.Ink(), CRect(5, 11, 6, 21));
}

TEST(DeviceContext, ThinLineOffTheEdgeKeepsTheLastColumnAndRow)
{
    Surface s;
    s.dc.MoveTo(10, 5);
    s.dc.LineTo(100, 5);
    s.dc.MoveTo(200, 7);
    s.dc.LineTo(10, 7);
    s.dc.MoveTo(5, 10);
    s.dc.LineTo(5, 100);
    s.dc.MoveTo(7, 200);
    s.dc.LineTo(7, 10);
    for (int y : {5, 7})
        EXPECT_EQ(s.dc.GetPixel(63, y), RGB(0, 0, 0)) << "row " << y;
    for (int x : {5, 7})
        EXPECT_EQ(s.dc.GetPixel(x, 47), RGB(0, 0, 0)) << "column " << x;
}

TEST(DeviceContext, FigureFromAPointToItselfDrawsNothing)
{
    Surface s;
    s.dc.MoveTo(7, 7);
    s.dc.LineTo(7, 7);
    s.dc.Rectangle(9, 9, 9, 9);
    s.dc.Ellipse(9, 9, 9, 20);
    EXPECT_EQ(s.Count(kWhite), 64 * 48);
}

TEST(DeviceContext, WidePenIsCentredOnTheOutline)
{
    for (int width = 2; width <= 7; ++width) {
        Surface s;
        CPen pen(PS_SOLID, width, kRed);
        s.dc.SelectObject(&pen);
        s.dc.SelectStockObject(NULL_BRUSH);
        s.dc.Rectangle(20, 15, 40, 30);
        const int lo = width / 2, hi = width - lo;
        EXPECT_EQ(s.Ink(), CRect(20 - lo, 15 - lo, 39 + hi, 29 + hi)) << "width " << width;
        // The band is `width` pixels across on every side.
        int left = 0;
        for (int x = 0; x < 30; ++x)
            left += s.dc.GetPixel(x, 22) == kRed;
        EXPECT_EQ(left, width);

        Surface l;
        l.dc.SelectObject(&pen);
        l.dc.MoveTo(10, 20);
        l.dc.LineTo(50, 20);
        int across = 0;
        for (int y = 0; y < 48; ++y)
            across += l.dc.GetPixel(30, y) == kRed;
        EXPECT_EQ(across, width) << "line width " << width;
        // On the rows of the rectangle's band: a width of 2 at y = 20 covers rows 19 and 20.
        EXPECT_EQ(l.dc.GetPixel(30, 20 - lo), kRed) << "line width " << width;
        EXPECT_EQ(l.dc.GetPixel(30, 20 - lo - 1), kWhite) << "line width " << width;
    }
}

TEST(DeviceContext, ExclusiveOrFigureDrawnTwiceRestoresEveryPixel)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(-20, 84), width(1, 7);
    Surface s;
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
        for (int twice = 0; twice < 2; ++twice) {
            switch (i % 3) {
            case 0:
                s.dc.MoveTo(a, b);
                s.dc.LineTo(c, d);
                break;
            case 1:
                s.dc.Rectangle(a, b, c, d);
                break;
            default:
                s.dc.Ellipse(a, b, c, d);
                break;
            }
        }
        ASSERT_EQ(s.Pixels(), before) << "figure " << i;
    }
}

enum class Clipped { Line, Rectangle, Ellipse, Picture };

class ClippedFigure : public ::testing::TestWithParam<Clipped> {};

// Inside a clip a figure puts exactly the pixels it puts without one, and nothing outside:
// the rule that lets a paint redraw only part of a picture.
TEST_P(ClippedFigure, MatchesTheUnclippedFigureInsideAndTouchesNothingOutside)
{
    std::mt19937 rng(11 + int(GetParam()));
    std::uniform_int_distribution<int> coord(-30, 94), width(1, 7), style(0, 2);
    for (int i = 0; i < 300; ++i) {
        const int a = coord(rng), b = coord(rng), c = coord(rng), d = coord(rng);
        const CRect clip = CRect(coord(rng), coord(rng), coord(rng), coord(rng)).Normalized();
        CPen pen(style(rng) == 0 ? PS_DOT : PS_SOLID, width(rng), kRed);
        CBrush brush(kBlue);
        Surface whole, part, source(16, 12);
        source.dc.FillSolidRect(4, 3, 8, 6, kRed);
        for (Surface* s : {&whole, &part}) {
            if (s == &part)
                s->dc.IntersectClipRect(&clip);
            s->dc.SelectObject(&pen);
            s->dc.SelectObject(&brush);
            switch (GetParam()) {
            case Clipped::Line:
                s->dc.MoveTo(a, b);
                s->dc.LineTo(c, d);
                break;
            case Clipped::Rectangle:
                s->dc.Rectangle(a, b, c, d);
                break;
            case Clipped::Ellipse:
                s->dc.Ellipse(a, b, c, d);
                break;
            case Clipped::Picture:
                s->dc.BitBlt(a, b, 16, 12, &source.dc, 0, 0, SRCCOPY);
                break;
            }
        }
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) {
                const COLORREF want =
                    clip.PtInRect(CPoint(x, y)) ? whole.dc.GetPixel(x, y) : kWhite;
                ASSERT_EQ(part.dc.GetPixel(x, y), want)
                    << "figure " << i << " at " << x << "," << y;
            }
    }
}

INSTANTIATE_TEST_SUITE_P(Figures, ClippedFigure,
                         ::testing::Values(Clipped::Line, Clipped::Rectangle, Clipped::Ellipse,
                                           Clipped::Picture));

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
        const int figureKind = i % 3; // rectangle, ellipse, line
        const CRect figure(coord(rng), coord(rng), coord(rng), coord(rng));
        const int x = ax(rng), y = ay(rng);
        const CRect area(x, y, x + side(rng), y + side(rng));
        const int penWidth = figureKind == 2 ? fat(rng) : width(rng);
        Surface s;
        CPen pen(PS_SOLID, penWidth, kRed);
        CBrush brush(kBlue);
        s.dc.SelectObject(&pen);
        s.dc.SelectObject(&brush);
        if (figureKind == 2) {
            s.dc.MoveTo(figure.TopLeft());
            s.dc.LineTo(figure.BottomRight());
        } else {
            figureKind ? s.dc.Ellipse(&figure) : s.dc.Rectangle(&figure);
        }
        bool all = true;
        for (int py = area.top; py < area.bottom; ++py)
            for (int px = area.left; px < area.right; ++px)
                all = all && s.dc.GetPixel(px, py) != kWhite;
        if (figureKind == 2) {
            const bool says =
                LineCoversRect(figure.TopLeft(), figure.BottomRight(), penWidth, &area);
            ASSERT_TRUE(!says || all) << "case " << i;
            linesCovered += says;
        } else {
            ASSERT_EQ(FigureCoversRect(figureKind, &figure, penWidth, &area) != FALSE, all)
                << "case " << i;
            covered += all;
        }
    }
    EXPECT_GT(covered, 100);
    EXPECT_GT(linesCovered, 100);
}

TEST(DeviceContext, BoundsAccumulateWhatWasDrawnUntilReset)
{
    Surface s;
    CRect bounds;
    EXPECT_EQ(s.dc.GetBoundsRect(&bounds, DCB_RESET), UINT(DCB_SET)); // the white fill
    EXPECT_EQ(s.dc.GetBoundsRect(&bounds, 0), UINT(DCB_RESET));
    s.dc.Rectangle(10, 12, 20, 30);
    s.dc.MoveTo(40, 5);
    s.dc.LineTo(50, 6);
    EXPECT_EQ(s.dc.GetBoundsRect(&bounds, DCB_RESET), UINT(DCB_SET));
    EXPECT_EQ(bounds, CRect(10, 5, 50, 30));
}

TEST(DeviceContext, ExclusiveOrWithGreyOnWhiteShowsMidGrey)
{
    Surface s;
    CPen pen(PS_SOLID, 1, RGB(127, 127, 127));
    s.dc.SelectObject(&pen);
    s.dc.SetROP2(R2_XORPEN);
    s.dc.MoveTo(0, 0);
    s.dc.LineTo(10, 0);
    EXPECT_EQ(s.dc.GetPixel(5, 0), RGB(128, 128, 128));
}

TEST(DeviceContext, SelectObjectReturnsWhatItReplaced)
{
    Surface s;
    CPen a(PS_SOLID, 1, kRed), b(PS_SOLID, 2, kBlue);
    CPen* stock = s.dc.SelectObject(&a);
    EXPECT_EQ(stock, CPen::Stock(BLACK_PEN));
    EXPECT_EQ(s.dc.SelectObject(&b), &a);
    CBrush br(kRed);
    EXPECT_EQ(s.dc.SelectObject(&br), CBrush::Stock(WHITE_BRUSH));
    EXPECT_EQ(s.dc.SelectStockObject(NULL_BRUSH), &br);
    EXPECT_TRUE(s.dc.GetCurrentBrush()->IsHollow());
    EXPECT_EQ(s.dc.SetROP2(R2_XORPEN), R2_COPYPEN);
    EXPECT_EQ(s.dc.GetROP2(), R2_XORPEN);
    EXPECT_EQ(GetStockObject(NULL_BRUSH), CBrush::Stock(NULL_BRUSH));
}

TEST(DeviceContext, DottedThinPenSkipsPixelsWideOneIsSolid)
{
    Surface s;
    CPen dot(PS_DOT, 1, kRed);
    s.dc.SelectObject(&dot);
    s.dc.MoveTo(0, 1);
    s.dc.LineTo(30, 1);
    EXPECT_EQ(s.Count(kRed), 15);
    Surface w;
    CPen wide(PS_DOT, 2, kRed);
    w.dc.SelectObject(&wide);
    w.dc.MoveTo(0, 10);
    w.dc.LineTo(30, 10);
    for (int x = 1; x < 29; ++x)
        EXPECT_EQ(w.dc.GetPixel(x, 10), kRed) << x;
}

TEST(DeviceContext, FiguresFarOutsideTheSurfaceAreClippedQuickly)
{
    Surface s;
    CPen pen(PS_SOLID, 7, kRed);
    s.dc.SelectObject(&pen);
    s.dc.MoveTo(INT_MIN, INT_MIN);
    s.dc.LineTo(INT_MAX, INT_MAX);
    s.dc.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    s.dc.Ellipse(INT_MIN, -5, INT_MAX, 5);
    CPen thin(PS_SOLID, 1, kBlue);
    s.dc.SelectObject(&thin);
    s.dc.MoveTo(-2000000000, 10);
    s.dc.LineTo(2000000000, 12);
    EXPECT_GT(s.Count(kRed), 0);
    EXPECT_GT(s.Count(kBlue), 0);
}

// ---- figures anywhere in the 32-bit range --------------------------------------------------

enum class Figure { Line, Rectangle, Ellipse };

// What a pixel of the surface shows: the pen, the brush or the white it had.
enum Shows { kPen, kBrush, kUntouched };

struct Extreme {
    const char* name;
    Figure figure;
    int style;
    int x1, y1, x2, y2;
    std::vector<int> widths; // 0 and below draw as 1
    Shows (*shows)(std::int64_t x, std::int64_t y, int width);
};

void PrintTo(const Extreme& c, std::ostream* os) { *os << c.name; }

class ExtremeFigure : public ::testing::TestWithParam<Extreme> {};

// A red pen and a blue brush on the 64 × 48 surface.
TEST_P(ExtremeFigure, DrawsExactlyItsClippedPart)
{
    const Extreme& c = GetParam();
    for (int width : c.widths) {
        Surface s;
        CPen pen(c.style, width, kRed);
        CBrush brush(kBlue);
        s.dc.SelectObject(&pen);
        s.dc.SelectObject(&brush);
        if (c.figure == Figure::Line) {
            s.dc.MoveTo(c.x1, c.y1);
            s.dc.LineTo(c.x2, c.y2);
        } else if (c.figure == Figure::Rectangle) {
            s.dc.Rectangle(c.x1, c.y1, c.x2, c.y2);
        } else {
            s.dc.Ellipse(c.x1, c.y1, c.x2, c.y2);
        }
        const COLORREF colours[] = {kRed, kBlue, kWhite};
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(s.dc.GetPixel(x, y), colours[c.shows(x, y, std::max(width, 1))])
                    << "(" << x << ", " << y << ") width " << width;
    }
}

const std::vector<int> kThin = {-3, 0, 1};
const std::vector<int> kAnyWidth = {-3, 0, 1, 2, 3, 4, 5, 6, 7};
// Ellipses whose outline lies half-way between pixel centres, away from rounding ties.
const std::vector<int> kOddWidths = {-3, 0, 1, 3, 5, 7};

Shows PenIf(bool on) { return on ? kPen : kUntouched; }

Shows Inside(std::int64_t, std::int64_t, int) { return kBrush; }

// A pen of width w covers the pixels within w / 2 of the path across it.
Shows OnTheMainDiagonal(std::int64_t x, std::int64_t y, int w)
{
    return PenIf(2 * (x - y) * (x - y) <= w * w);
}

// The band of a tall figure whose sides run down columns 10 and 40.
Shows AcrossColumns10To40(std::int64_t x, std::int64_t, int w)
{
    const int lo = w / 2, hi = w - lo;
    if ((x >= 10 - lo && x < 10 + hi) || (x >= 40 - lo && x < 40 + hi))
        return kPen;
    return x >= 10 + hi && x < 40 - lo ? kBrush : kUntouched;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtremeFigure,
    ::testing::Values(
        Extreme{"DiagonalOverTheWholeRange", Figure::Line, PS_SOLID, INT_MIN, INT_MIN, INT_MAX,
                INT_MAX, kAnyWidth, OnTheMainDiagonal},
        Extreme{"DiagonalBackwards", Figure::Line, PS_SOLID, INT_MAX, INT_MAX, INT_MIN, INT_MIN,
                kAnyWidth, OnTheMainDiagonal},
        Extreme{"DottedDiagonalCountsFromItsStart", Figure::Line, PS_DOT, INT_MIN, INT_MIN, INT_MAX,
                INT_MAX, kThin,
                [](std::int64_t x, std::int64_t y, int) {
                    return PenIf(x == y && (x - INT_MIN) / 3 % 2 == 0);
                }},
        Extreme{"SteepBesideTheDiagonal", Figure::Line, PS_SOLID, INT_MIN + 48, INT_MIN, INT_MAX,
                INT_MAX, kThin,
                [](std::int64_t x, std::int64_t y, int) { return PenIf(x == y + 24); }},
        Extreme{"NearlyDiagonalAboveTheSurface", Figure::Line, PS_SOLID, INT_MIN + 1, 11, 12,
                INT_MIN + 1, kThin, [](std::int64_t, std::int64_t, int) { return kUntouched; }},
        // Half-way up, at row 24, the path crosses from column 0 to column 1.
        Extreme{"SteepStepsAcrossHalfWay", Figure::Line, PS_SOLID, 0, INT_MIN + 48, 1, INT_MAX,
                kThin,
                [](std::int64_t x, std::int64_t y, int) { return PenIf(x == (y < 24 ? 0 : 1)); }},
        Extreme{"HorizontalOverTheWholeRange", Figure::Line, PS_SOLID, INT_MIN, 20, INT_MAX, 20,
                kAnyWidth,
                [](std::int64_t, std::int64_t y, int w) {
                    return PenIf(y >= 20 - w / 2 && y < 20 - w / 2 + w);
                }},
        Extreme{"RectangleAroundTheSurface", Figure::Rectangle, PS_SOLID, INT_MIN, INT_MIN, INT_MAX,
                INT_MAX, kAnyWidth, Inside},
        Extreme{"DottedRectangleAroundTheSurface", Figure::Rectangle, PS_DOT, INT_MAX, INT_MAX,
                INT_MIN, INT_MIN, kAnyWidth, Inside},
        Extreme{"TallRectangle", Figure::Rectangle, PS_SOLID, 10, INT_MIN, 41, INT_MAX, kAnyWidth,
                AcrossColumns10To40},
        Extreme{"EllipseAroundTheSurface", Figure::Ellipse, PS_SOLID, INT_MAX, INT_MIN, INT_MIN,
                INT_MAX, kAnyWidth, Inside},
        Extreme{"TallEllipse", Figure::Ellipse, PS_SOLID, 10, INT_MIN, 41, INT_MAX, kOddWidths,
                AcrossColumns10To40}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DeviceContext, BitBltCopiesAndClips)
{
    Surface src(16, 16), dst(20, 20);
    src.dc.FillSolidRect(4, 4, 4, 4, kRed);
    dst.dc.BitBlt(-4, -4, 16, 16, &src.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.Ink(), CRect(0, 0, 4, 4));
    EXPECT_EQ(dst.dc.GetPixel(0, 0), kRed);
    dst.dc.BitBlt(18, 18, 16, 16, &src.dc, 4, 4, SRCCOPY);
    EXPECT_EQ(dst.dc.GetPixel(19, 19), kRed);
    EXPECT_TRUE(dst.dc.BitBlt(0, 0, 5, 5, &src.dc, 100, 100, SRCCOPY));
}

TEST(DeviceContext, DisplayIsATrueColourDevice)
{
    Surface s;
    EXPECT_EQ(s.dc.GetDeviceCaps(BITSPIXEL), 32);
    EXPECT_EQ(s.dc.GetDeviceCaps(RASTERCAPS) & RC_PALETTE, 0);
    EXPECT_EQ(s.dc.GetDeviceCaps(SIZEPALETTE), 0);
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

} // namespace
