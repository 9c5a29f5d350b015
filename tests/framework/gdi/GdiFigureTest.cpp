// Device contexts' figures, pixel by pixel: corners in any order, the ends of lines, pens of
// every width and style, and coordinates anywhere in the 32-bit range.
#include "tests/support/Surface.h"

#include "framework/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

namespace {

using Figure = MemorySurface::Figure;


struct Corners {
    const char* name;
    int x1, y1, x2, y2;
};

class RectangleCorners : public ::testing::TestWithParam<Corners> {};

TEST_P(RectangleCorners, CoverExactlyTheOrderedHalfOpenRectangle)
{
    const Corners c = GetParam();
    CPen pen(PS_SOLID, 1, kRed);
    CBrush brush(kBlue);
    for (const Figure figure : {Figure::Rectangle, Figure::Ellipse}) {
        WhiteSurface s;
        s.dc.SelectObject(&pen);
        s.dc.SelectObject(&brush);
        s.Draw(figure, c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(s.Ink(), CRect(10, 5, 30, 20));
        if (figure == Figure::Rectangle) {
            EXPECT_EQ(s.Count(kBlue), 18 * 13);
            EXPECT_EQ(s.Count(kRed), 20 * 15 - 18 * 13);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AnyOrder, RectangleCorners,
                         ::testing::Values(Corners{"TopLeftFirst", 10, 5, 30, 20},
                                           Corners{"BottomRightFirst", 30, 20, 10, 5},
                                           Corners{"TopRightFirst", 30, 5, 10, 20},
                                           Corners{"BottomLeftFirst", 10, 20, 30, 5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DeviceContext, LineToLeavesOutItsEndPointAndMovesThePosition)
{
    WhiteSurface s;
    s.dc.MoveTo(2, 3);
    s.dc.LineTo(12, 3);
    EXPECT_EQ(s.Ink(), CRect(2, 3, 12, 4));
    EXPECT_EQ(s.dc.GetCurrentPosition(), CPoint(12, 3));
    WhiteSurface v;
    v.Draw(Figure::Line, 5, 20, 5, 10);
    EXPECT_EQ(v.Ink(), CRect(5, 11, 6, 21));
}

TEST(DeviceContext, ThinLineOffTheEdgeKeepsTheLastColumnAndRow)
{
    WhiteSurface s;
    s.Draw(Figure::Line, 10, 5, 100, 5);
    s.Draw(Figure::Line, 200, 7, 10, 7);
    s.Draw(Figure::Line, 5, 10, 5, 100);
    s.Draw(Figure::Line, 7, 200, 7, 10);
    for (int y : {5, 7})
        EXPECT_EQ(s.dc.GetPixel(63, y), RGB(0, 0, 0)) << "row " << y;
    for (int x : {5, 7})
        EXPECT_EQ(s.dc.GetPixel(x, 47), RGB(0, 0, 0)) << "column " << x;
}

TEST(DeviceContext, FigureFromAPointToItselfDrawsNothing)
{
    WhiteSurface s;
    s.Draw(Figure::Line, 7, 7, 7, 7);
    s.Draw(Figure::Rectangle, 9, 9, 9, 9);
    s.Draw(Figure::Ellipse, 9, 9, 9, 20);
    EXPECT_EQ(s.Count(kWhite), 64 * 48);
}

// A pen `width` pixels wide lies `width / 2` of them before the outline's pixels and the rest
// from them on; a line's band sits on the same rows.
TEST(DeviceContext, WidePenIsCentredOnTheOutline)
{
    for (int width = 2; width <= 7; ++width) {
        SCOPED_TRACE(width);
        const int lo = width / 2, hi = width - lo;
        const auto band = [&](int i, int at) { return i >= at - lo && i < at + hi; };
        CPen pen(PS_SOLID, width, kRed);
        WhiteSurface s, l;
        s.dc.SelectObject(&pen);
        s.dc.SelectStockObject(NULL_BRUSH);
        s.Draw(Figure::Rectangle, 20, 15, 40, 30);
        EXPECT_EQ(s.Ink(), CRect(20 - lo, 15 - lo, 39 + hi, 29 + hi));
        for (int x = 0; x < 64; ++x)
            EXPECT_EQ(s.dc.GetPixel(x, 22) == kRed, band(x, 20) || band(x, 39)) << x;
        l.dc.SelectObject(&pen);
        l.Draw(Figure::Line, 10, 20, 50, 20);
        for (int y = 0; y < 48; ++y)
            EXPECT_EQ(l.dc.GetPixel(30, y) == kRed, band(y, 20)) << y;
    }
}

TEST(DeviceContext, DottedThinPenSkipsPixelsWideOneIsSolid)
{
    WhiteSurface s;
    CPen dot(PS_DOT, 1, kRed), wide(PS_DOT, 2, kRed);
    s.dc.SelectObject(&dot);
    s.Draw(Figure::Line, 0, 1, 30, 1);
    EXPECT_EQ(s.Count(kRed), 15);
    s.dc.SelectObject(&wide);
    s.Draw(Figure::Line, 0, 10, 30, 10);
    for (int x = 1; x < 29; ++x)
        EXPECT_EQ(s.dc.GetPixel(x, 10), kRed) << x;
}

TEST(DeviceContext, FiguresFarOutsideTheSurfaceAreClippedQuickly)
{
    WhiteSurface s;
    CPen pen(PS_SOLID, 7, kRed), thin(PS_SOLID, 1, kBlue);
    s.dc.SelectObject(&pen);
    s.Draw(Figure::Line, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    s.Draw(Figure::Rectangle, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    s.Draw(Figure::Ellipse, INT_MIN, -5, INT_MAX, 5);
    s.dc.SelectObject(&thin);
    s.Draw(Figure::Line, -2000000000, 10, 2000000000, 12);
    EXPECT_GT(s.Count(kRed), 0);
    EXPECT_GT(s.Count(kBlue), 0);
}

// ---- figures anywhere in the 32-bit range --------------------------------------------------

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
        WhiteSurface s;
        CPen pen(c.style, width, kRed);
        CBrush brush(kBlue);
        s.dc.SelectObject(&pen);
        s.dc.SelectObject(&brush);
        s.Draw(c.figure, c.x1, c.y1, c.x2, c.y2);
        const COLORREF colors[] = {kRed, kBlue, kWhite};
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(s.dc.GetPixel(x, y), colors[c.shows(x, y, std::max(width, 1))])
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

} // namespace
