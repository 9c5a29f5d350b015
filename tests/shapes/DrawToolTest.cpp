// The drawing tool: rubber-band feedback, finished shapes, the blank canvas and corners.
#include "shapes/DrawTool.h"

#include "tests/shapes/Records.h"
#include "tests/support/Surface.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr COLORREF kFeedback = RGB(128, 128, 128);

struct Canvas : MemorySurface {
    CDrawTool tool;
    Canvas() : MemorySurface(200, 150, RGB(0, 0, 0)) { tool.ClearCanvas(&dc, 200, 150); }
};

class RubberBand : public ::testing::TestWithParam<int> {};

TEST_P(RubberBand, SecondCallErasesFirstAndLeavesOnlyTheFigureToTheLastPoint)
{
    const int kind = GetParam();
    const CPoint anchor(40, 30), q(150, 20), p(90, 120);

    // What the figure from the anchor to P alone looks like in exclusive-or on white.
    Canvas expected;
    {
        CPen pen(PS_SOLID, 1, RGB(127, 127, 127));
        expected.dc.SelectObject(&pen);
        expected.dc.SelectStockObject(NULL_BRUSH);
        expected.dc.SetROP2(R2_XORPEN);
        if (kind == SHAPE_LINE) {
            expected.dc.MoveTo(anchor);
            expected.dc.LineTo(p);
        } else if (kind == SHAPE_RECT) {
            expected.dc.Rectangle(anchor.x, anchor.y, p.x, p.y);
        } else {
            expected.dc.Ellipse(anchor.x, anchor.y, p.x, p.y);
        }
    }

    Canvas c;
    c.tool.SetStartPoint(anchor);
    c.tool.DrawRubberBand(&c.dc, q, kind);
    c.tool.DrawRubberBand(&c.dc, p, kind);
    c.tool.DrawRubberBand(&c.dc, p, kind);
    EXPECT_EQ(c.Pixels(), expected.Pixels());
    if (kind != SHAPE_ELLIPSE) {
        EXPECT_EQ(c.dc.GetPixel(anchor.x, anchor.y), kFeedback);
    }
    EXPECT_EQ(c.tool.m_ptLast, p);
}

TEST_P(RubberBand, FirstCallLeavesNoStrayPixelAtTheAnchor)
{
    Canvas c;
    c.tool.SetStartPoint(CPoint(60, 60));
    c.tool.DrawRubberBand(&c.dc, CPoint(60, 60), GetParam());
    for (COLORREF px : c.Pixels())
        ASSERT_EQ(px, kWhite);
}

INSTANTIATE_TEST_SUITE_P(Kinds, RubberBand,
                         ::testing::Values(SHAPE_LINE, SHAPE_RECT, SHAPE_ELLIPSE),
                         [](const auto& info) {
                             return std::string(info.param == SHAPE_LINE   ? "Line"
                                                : info.param == SHAPE_RECT ? "Rectangle"
                                                                           : "Ellipse");
                         });

TEST(RubberBandFeedback, GreyOnWhiteShowsMidGrey)
{
    Canvas c;
    c.tool.SetStartPoint(CPoint(10, 10));
    c.tool.DrawRubberBand(&c.dc, CPoint(50, 10), SHAPE_LINE);
    EXPECT_EQ(c.dc.GetPixel(30, 10), kFeedback);
}

TEST(RubberBandFeedback, UnknownKindDrawsNothingButSetsTheStateAndTheContext)
{
    for (int kind : {0, 4}) {
        Canvas c;
        c.tool.SetStartPoint(CPoint(10, 10));
        c.tool.DrawRubberBand(&c.dc, CPoint(80, 70), kind);
        EXPECT_EQ(c.tool.m_ptLast, CPoint(80, 70));
        EXPECT_EQ(c.dc.GetROP2(), R2_XORPEN);
        EXPECT_TRUE(c.dc.GetCurrentBrush()->IsHollow());
        EXPECT_EQ(c.dc.GetCurrentPen(), CPen::Stock(BLACK_PEN));
        for (COLORREF px : c.Pixels())
            ASSERT_EQ(px, kWhite);
    }
}

TEST(DrawShape, UnknownKindDrawsNothingAndRestoresPenAndBrush)
{
    Canvas c;
    CPen pen(PS_SOLID, 3, RGB(1, 2, 3));
    CBrush brush(RGB(4, 5, 6));
    c.dc.SelectObject(&pen);
    c.dc.SelectObject(&brush);
    const CData d = Record(7, {10, 10}, {100, 100}, RGB(255, 0, 0), RGB(0, 255, 0), 5);
    c.tool.DrawShape(&c.dc, &d);
    EXPECT_EQ(c.dc.GetCurrentPen(), &pen);
    EXPECT_EQ(c.dc.GetCurrentBrush(), &brush);
    for (COLORREF px : c.Pixels())
        ASSERT_EQ(px, kWhite);
}

TEST(DrawShape, FilledRectangleHasFillInsideAndLineColorOutline)
{
    const COLORREF line = RGB(200, 0, 0), fill = RGB(0, 0, 200);
    for (int thickness : {1, 7}) {
        Canvas c;
        const CData d = Record(SHAPE_RECT, {50, 40}, {120, 100}, line, fill, thickness);
        c.tool.DrawShape(&c.dc, &d);
        const int lo = thickness / 2, hi = thickness - lo;
        // Outline band on the left edge, fill just inside it, white just outside.
        for (int x = 50 - lo; x < 50 + hi; ++x)
            EXPECT_EQ(c.dc.GetPixel(x, 70), line) << "thickness " << thickness << " x " << x;
        EXPECT_EQ(c.dc.GetPixel(50 + hi, 70), fill);
        EXPECT_EQ(c.dc.GetPixel(85, 70), fill);
        EXPECT_EQ(c.dc.GetPixel(50 - lo - 1, 70), kWhite);
        EXPECT_EQ(c.dc.GetPixel(119 + hi, 70), kWhite);
        EXPECT_EQ(c.dc.GetPixel(118 + hi, 70), line);
    }
}

TEST(DrawShape, LineShowsOnlyItsOutlineColorAndEllipseIsFilled)
{
    Canvas c;
    const CData line = Record(SHAPE_LINE, {10, 10}, {100, 10}, RGB(0, 128, 0), RGB(255, 0, 0), 3);
    c.tool.DrawShape(&c.dc, &line);
    EXPECT_EQ(c.dc.GetPixel(50, 9), RGB(0, 128, 0));
    EXPECT_EQ(c.dc.GetPixel(50, 11), RGB(0, 128, 0));
    EXPECT_EQ(c.dc.GetPixel(50, 12), kWhite);
    const CData ellipse = Record(SHAPE_ELLIPSE, {100, 50}, {180, 130}, 0, RGB(255, 255, 0), 1);
    c.tool.DrawShape(&c.dc, &ellipse);
    EXPECT_EQ(c.dc.GetPixel(140, 90), RGB(255, 255, 0));
    EXPECT_EQ(c.dc.GetPixel(100, 90), RGB(0, 0, 0));
    EXPECT_EQ(c.dc.GetPixel(101, 51), kWhite);
}

TEST(ClearCanvas, PaintsTheWholeAreaWhiteWhateverWasThere)
{
    Canvas c;
    c.dc.FillSolidRect(0, 0, 200, 150, RGB(10, 20, 30));
    c.tool.ClearCanvas(&c.dc, 200, 150);
    for (COLORREF px : c.Pixels())
        ASSERT_EQ(px, kWhite);
}

struct CornerCase {
    const char* name;
    CPoint a, b, topLeft, bottomRight;
};

class Corners : public ::testing::TestWithParam<CornerCase> {};

TEST_P(Corners, AreTheComponentWiseMinimumAndMaximum)
{
    const CornerCase c = GetParam();
    CDrawTool tool;
    EXPECT_EQ(tool.TopLeftOf(c.a, c.b), c.topLeft);
    EXPECT_EQ(tool.BottomRightOf(c.a, c.b), c.bottomRight);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, Corners,
    ::testing::Values(CornerCase{"SharedX", {5, 9}, {5, 3}, {5, 3}, {5, 9}},
                      CornerCase{"Crossed", {30, 10}, {10, 30}, {10, 10}, {30, 30}},
                      CornerCase{"SamePoint", {7, 7}, {7, 7}, {7, 7}, {7, 7}},
                      CornerCase{"Negative", {-3, 4}, {2, -8}, {-3, -8}, {2, 4}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
