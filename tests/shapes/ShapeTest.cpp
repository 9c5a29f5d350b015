// The rules of each kind of shape: the corners a record keeps, the pixels it may touch, where
// a press grabs it, what its fill hides, where its selection frame goes; and the line's hit
// tolerances. A kind the table does not know is nothing everywhere.
#include "shapes/Shape.h"
#include "shapes/MyTracker.h"
#include "tests/shapes/Records.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

namespace {

struct KindCase {
    const char* name;
    int kind;
    CPoint start, end;                         // kept for a drag from (300, 200) to (100, 50)
    CRect bounds;                              // with a 3-pixel pen
    std::vector<std::pair<CPoint, bool>> hits; // a press there grabs it, or not
    bool hidesMiddle;                          // its fill hides (180, 110)-(220, 140)
    CRect frame;
    UINT frameStyle;
    bool hollow = false; // a box with no fill
};

class ShapeKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(ShapeKinds, AnswerEveryRule)
{
    const KindCase& c = GetParam();
    CPoint a(300, 200), b(100, 50);
    OrderCorners(c.kind, a, b);
    EXPECT_EQ(a, c.start);
    EXPECT_EQ(b, c.end);
    const CData d = Record(c.kind, a, b, RGB(255, 0, 0), c.hollow ? kNoFill : RGB(0, 0, 255));
    EXPECT_EQ(ShapeBounds(d), c.bounds);
    for (const auto& [point, hit] : c.hits)
        EXPECT_EQ(ShapeHit(d, point), hit) << point.x << "," << point.y;
    EXPECT_EQ(ShapeHides(d, CRect(180, 110, 220, 140)), c.hidesMiddle);
    CResizeTracker frame(CRect(1, 2, 3, 4), 20);
    FrameShape(&d, &frame);
    EXPECT_EQ(frame.m_rect, c.frame);
    EXPECT_EQ(frame.m_nStyle, c.frameStyle);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ShapeKinds,
    ::testing::Values(
        KindCase{"Line",
                 SHAPE_LINE,
                 {300, 200},
                 {100, 50},
                 {97, 47, 304, 204},
                 {{{200, 125}, true}, {{100, 50}, true}, {{200, 160}, false}, {{99, 50}, false}},
                 false,
                 {100, 50, 301, 201},
                 CResizeTracker::dottedLine},
        KindCase{"Rectangle",
                 SHAPE_RECT,
                 {100, 50},
                 {300, 200},
                 {97, 47, 304, 204},
                 {{{100, 50}, true}, {{299, 199}, true}, {{300, 120}, false}, {{150, 200}, false}},
                 true,
                 {100, 50, 300, 200},
                 CResizeTracker::dottedLine | CResizeTracker::resizeInside},
        KindCase{"Ellipse",
                 SHAPE_ELLIPSE,
                 {100, 50},
                 {300, 200},
                 {97, 47, 304, 204},
                 {{{101, 51}, true}, {{200, 125}, true}, {{99, 51}, false}},
                 true,
                 {100, 50, 300, 200},
                 CResizeTracker::dottedLine | CResizeTracker::resizeInside},
        // A hollow box is hit only near its outline (half its 3-pixel pen and 5 pixels either
        // side of it) and hides nothing.
        KindCase{"HollowRectangle",
                 SHAPE_RECT,
                 {100, 50},
                 {300, 200},
                 {97, 47, 304, 204},
                 {{{100, 50}, true},
                  {{105, 120}, true},
                  {{108, 120}, false},
                  {{93, 120}, true},
                  {{92, 120}, false},
                  {{200, 125}, false},
                  {{299, 199}, true}},
                 false,
                 {100, 50, 300, 200},
                 CResizeTracker::dottedLine | CResizeTracker::resizeInside,
                 true},
        KindCase{"HollowEllipse",
                 SHAPE_ELLIPSE,
                 {100, 50},
                 {300, 200},
                 {97, 47, 304, 204},
                 {{{200, 50}, true},
                  {{200, 45}, true},
                  {{200, 60}, false},
                  {{200, 125}, false},
                  {{101, 51}, false},
                  {{300, 125}, true}},
                 false,
                 {100, 50, 300, 200},
                 CResizeTracker::dottedLine | CResizeTracker::resizeInside,
                 true},
        KindCase{"Unknown",
                 7,
                 {300, 200},
                 {100, 50},
                 {},
                 {{{200, 125}, false}},
                 false,
                 {0, 0, 0, 0},
                 20}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Shape, NoRecordHidesTheFrame)
{
    CResizeTracker frame(CRect(1, 2, 3, 4), 20);
    FrameShape(nullptr, &frame);
    EXPECT_EQ(frame.m_rect, CRect(0, 0, 0, 0));
}

struct LineCase {
    const char* name;
    CPoint start, end, point;
    BOOL expected;
};

class ShapeLineHit : public ::testing::TestWithParam<LineCase> {};

TEST_P(ShapeLineHit, DecidesByTheTolerances)
{
    const LineCase& c = GetParam();
    EXPECT_EQ(LineHit(c.point, c.start, c.end), c.expected != FALSE);
    CMyTracker t;
    const CData line = Record(SHAPE_LINE, c.start, c.end);
    EXPECT_EQ(t.HitTestLine(c.point, &line), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ShapeLineHit,
    ::testing::Values(
        LineCase{"HorizontalTwentyBelow", {10, 100}, {200, 100}, {50, 120}, TRUE},
        LineCase{"HorizontalTwentyOneBelow", {10, 100}, {200, 100}, {50, 121}, FALSE},
        LineCase{"HorizontalTwentyAbove", {10, 100}, {200, 100}, {50, 80}, TRUE},
        LineCase{"HorizontalBeforeStart", {10, 100}, {200, 100}, {5, 100}, FALSE},
        LineCase{"HorizontalAtEnd", {200, 100}, {10, 100}, {200, 100}, TRUE},
        LineCase{"VerticalTwentyLeftAtEnd", {100, 10}, {100, 200}, {80, 200}, TRUE},
        LineCase{"VerticalTwentyOneLeft", {100, 10}, {100, 200}, {79, 50}, FALSE},
        LineCase{"VerticalTwentyRightAtStart", {100, 10}, {100, 200}, {120, 10}, TRUE},
        LineCase{"VerticalPastEnd", {100, 10}, {100, 200}, {100, 201}, FALSE},
        LineCase{"SlopedNineteenBelow", {0, 0}, {100, 100}, {50, 69}, TRUE},
        LineCase{"SlopedTwentyBelow", {0, 0}, {100, 100}, {50, 70}, FALSE},
        LineCase{"SlopedNineteenAbove", {0, 0}, {100, 100}, {50, 31}, TRUE},
        LineCase{"SlopedTwentyAbove", {0, 0}, {100, 100}, {50, 30}, FALSE},
        LineCase{"SlopedOutsideXRange", {0, 0}, {100, 100}, {101, 101}, FALSE},
        LineCase{"SlopedDrawnBackwards", {100, 100}, {0, 0}, {50, 60}, TRUE},
        LineCase{"SlopedFractionalSlope", {300, 40}, {250, 10}, {280, 25}, TRUE},
        LineCase{"SlopedUpward", {0, 100}, {100, 0}, {50, 60}, TRUE},
        LineCase{"SteepWithinItsXRange", {0, 0}, {10, 100}, {5, 50}, TRUE},
        LineCase{"SteepBesideItsXRange", {0, 0}, {10, 100}, {11, 100}, FALSE},
        LineCase{"ZeroLengthEvenOnIt", {5, 5}, {5, 5}, {5, 5}, FALSE},
        LineCase{"WholeRangeDiagonal", {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {0, 0}, TRUE},
        LineCase{"SteepestOverTheWholeRange",
                 {INT_MIN, INT_MAX},
                 {INT_MIN + 1, INT_MIN},
                 {INT_MIN, INT_MAX - 19},
                 TRUE},
        LineCase{"VerticalAtTheEndOfTheRange", {INT_MAX, 0}, {INT_MAX, 10}, {INT_MIN, 5}, FALSE},
        LineCase{
            "HorizontalAtTheStartOfTheRange", {0, INT_MIN}, {9, INT_MIN}, {5, INT_MIN + 20}, TRUE}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
