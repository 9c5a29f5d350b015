// The selection tracker: taking a record, and moving and resizing it with exclusive-or
// feedback.
#include "shapes/MyTracker.h"
#include "tests/shapes/Records.h"
#include "tests/support/Surface.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <vector>

namespace {

// A memory context on a 200 × 160 surface of random pixels.
struct Window : MemorySurface {
    Window() : MemorySurface(200, 160, 0)
    {
        std::mt19937 rng(7);
        for (int y = 0; y < 160; ++y)
            for (int x = 0; x < 200; ++x)
                dc.SetPixel(x, y, rng() & 0xFFFFFF);
    }
};

// ---- Select -----------------------------------------------------------------------------

TEST(MyTracker, StartsIdleWithNothingGrabbed)
{
    CMyTracker t;
    EXPECT_EQ(t.m_bGrabbed, 0);
    EXPECT_EQ(t.m_nKind, 0);
    EXPECT_EQ(t.m_rect, CRect(0, 0, 0, 0));
    EXPECT_EQ(t.m_rcOld, CRect(0, 0, 0, 0));
    EXPECT_EQ(t.m_ptLast, CPoint(0, 0));
    EXPECT_EQ(t.m_ptMovedStart, CPoint(0, 0));
}

class TrackerSelectBox : public ::testing::TestWithParam<int> {};

TEST_P(TrackerSelectBox, TakesTheCornersKindAndColors)
{
    CMyTracker t;
    const CData rec = Record(GetParam(), CPoint(10, 20), CPoint(110, 80));
    t.Select(CPoint(50, 50), &rec);
    EXPECT_EQ(t.m_rect, CRect(10, 20, 110, 80));
    EXPECT_EQ(t.m_rcOld, CRect(10, 20, 110, 80));
    EXPECT_EQ(t.m_bGrabbed, 1);
    EXPECT_EQ(t.m_nKind, GetParam());
    EXPECT_EQ(t.m_crLine, RGB(255, 0, 0));
    EXPECT_EQ(t.m_crFill, RGB(0, 0, 255));
    EXPECT_EQ(t.m_ptStart, CPoint(10, 20));
    EXPECT_EQ(t.m_ptEnd, CPoint(110, 80));
    EXPECT_EQ(t.m_ptLast, CPoint(50, 50));
}

INSTANTIATE_TEST_SUITE_P(Kinds, TrackerSelectBox, ::testing::Values(SHAPE_RECT, SHAPE_ELLIPSE),
                         [](const auto& info) {
                             return info.param == SHAPE_RECT ? "Rectangle" : "Ellipse";
                         });

TEST(MyTracker, SelectingALineTakesItsEnds)
{
    CMyTracker t;
    const CData line = Record(SHAPE_LINE, CPoint(30, 40), CPoint(5, 6));
    t.Select(CPoint(20, 25), &line);
    EXPECT_EQ(t.m_bGrabbed, 1);
    EXPECT_EQ(t.m_nKind, SHAPE_LINE);
    EXPECT_EQ(t.m_ptMovedStart, CPoint(30, 40));
    EXPECT_EQ(t.m_ptMovedEnd, CPoint(5, 6));
    EXPECT_EQ(t.m_ptStart, CPoint(30, 40));
    EXPECT_EQ(t.m_ptEnd, CPoint(5, 6));
    EXPECT_EQ(t.m_ptLast, CPoint(20, 25));
    EXPECT_EQ(t.m_rect, CRect(0, 0, 0, 0));
}

TEST(MyTracker, RecordOfAnotherKindIsNotTaken)
{
    CMyTracker t;
    const CData odd = Record(7, CPoint(10, 20), CPoint(110, 80));
    t.Select(CPoint(50, 50), &odd);
    EXPECT_EQ(t.m_bGrabbed, 0);
    EXPECT_EQ(t.m_nKind, 0);
    EXPECT_EQ(t.m_ptLast, CPoint(0, 0));
}

TEST(MyTracker, PressOnARectangleThenALineGrabsTheLine)
{
    Window w;
    CMyTracker t;
    const CData rect = Record(SHAPE_RECT, CPoint(10, 20), CPoint(110, 80));
    const CData line = Record(SHAPE_LINE, CPoint(20, 30), CPoint(90, 70), RGB(1, 2, 3));
    t.Select(CPoint(50, 50), &rect);
    t.Select(CPoint(50, 50), &line);
    EXPECT_EQ(t.m_nKind, SHAPE_LINE);
    EXPECT_EQ(t.m_crLine, RGB(1, 2, 3));
    t.TrackLine(CPoint(55, 52), &w.dc);
    EXPECT_EQ(t.m_ptStart, CPoint(25, 32));
    EXPECT_EQ(t.m_ptEnd, CPoint(95, 72));
}

// ---- TrackRect --------------------------------------------------------------------------

struct RectDrag {
    const char* name;
    int handle;
    CPoint point;
    CRect expected;
};

class TrackerTrackRect : public ::testing::TestWithParam<RectDrag> {};

TEST_P(TrackerTrackRect, MovesTheEdgesOfTheHandle)
{
    const RectDrag& c = GetParam();
    Window w;
    CMyTracker t;
    const CData rec = Record(SHAPE_RECT, CPoint(10, 20), CPoint(110, 80));
    t.Select(CPoint(60, 50), &rec);
    EXPECT_EQ(t.TrackRect(c.point, &w.dc, c.handle), c.expected);
    EXPECT_EQ(t.m_rect, c.expected);
}

// The rectangle (10, 20, 110, 80), grabbed at (60, 50).
INSTANTIATE_TEST_SUITE_P(
    Handles, TrackerTrackRect,
    ::testing::Values(RectDrag{"TopLeft", 0, {5, 15}, {5, 15, 110, 80}},
                      RectDrag{"TopRight", 1, {120, 15}, {10, 15, 120, 80}},
                      RectDrag{"BottomRight", 2, {120, 90}, {10, 20, 120, 90}},
                      RectDrag{"BottomLeft", 3, {5, 90}, {5, 20, 110, 90}},
                      RectDrag{"Top", 4, {999, 15}, {10, 15, 110, 80}},
                      RectDrag{"Right", 5, {120, 999}, {10, 20, 120, 80}},
                      RectDrag{"Bottom", 6, {999, 90}, {10, 20, 110, 90}},
                      RectDrag{"Left", 7, {5, 999}, {5, 20, 110, 80}},
                      RectDrag{"InsideMovesByTheOffset", 8, {70, 45}, {20, 15, 120, 75}},
                      RectDrag{"RightPastLeftIsNotNormalised", 5, {0, 50}, {10, 20, 0, 80}},
                      RectDrag{"TopPastBottomIsNotNormalised", 4, {50, 100}, {10, 100, 110, 80}},
                      RectDrag{"NothingLeavesItAlone", -1, {0, 0}, {10, 20, 110, 80}},
                      RectDrag{"UnknownCodeLeavesItAlone", 9, {0, 0}, {10, 20, 110, 80}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MyTracker, MovingInsideFollowsEachStepOfTheMouse)
{
    Window w;
    CMyTracker t;
    const CData rec = Record(SHAPE_RECT, CPoint(10, 20), CPoint(110, 80));
    t.Select(CPoint(50, 50), &rec);
    EXPECT_EQ(t.TrackRect(CPoint(60, 45), &w.dc, 8), CRect(20, 15, 120, 75));
    EXPECT_EQ(t.TrackRect(CPoint(70, 70), &w.dc, 8), CRect(30, 40, 130, 100));
    EXPECT_EQ(t.m_ptLast, CPoint(70, 70));
    EXPECT_EQ(t.m_rcOld, CRect(30, 40, 130, 100));
}

TEST(MyTracker, TrackRectLeavesTheContextInExclusiveOrWithTheHollowBrush)
{
    Window w;
    CPen* pen = w.dc.GetCurrentPen();
    CMyTracker t;
    const CData rec = Record(SHAPE_ELLIPSE, CPoint(10, 20), CPoint(110, 80));
    t.Select(CPoint(50, 50), &rec);
    t.TrackRect(CPoint(60, 60), &w.dc, 8);
    EXPECT_EQ(w.dc.GetROP2(), R2_XORPEN);
    EXPECT_EQ(static_cast<CGdiObject*>(w.dc.GetCurrentBrush()), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(w.dc.GetCurrentPen(), pen);
}

TEST(MyTracker, TrackRectWithoutAGrabbedBoxDrawsNothing)
{
    Window w;
    const std::vector<COLORREF> before = w.Pixels();
    CMyTracker t;
    t.m_rect = CRect(10, 20, 110, 80);
    EXPECT_EQ(t.TrackRect(CPoint(30, 30), &w.dc, 8), CRect(40, 50, 140, 110));
    EXPECT_EQ(t.m_rcOld, CRect(0, 0, 0, 0));
    EXPECT_EQ(w.Pixels(), before);
}

class TrackerFeedback : public ::testing::TestWithParam<int> {};

// The first step draws the shape's own outline once; coming back to the press point
// draws it a second time, which removes it: every pixel is as it was.
TEST_P(TrackerFeedback, DrawnTwiceRestoresTheWindow)
{
    Window w;
    const std::vector<COLORREF> before = w.Pixels();
    CMyTracker t;
    const CData rec = Record(GetParam(), CPoint(30, 40), CPoint(130, 100));
    const CPoint press(60, 60);
    t.Select(press, &rec);
    for (CPoint p : {CPoint(70, 65), CPoint(90, 20), CPoint(-40, 200)}) {
        if (GetParam() == SHAPE_LINE)
            t.TrackLine(p, &w.dc);
        else
            t.TrackRect(p, &w.dc, 8);
    }
    EXPECT_NE(w.Pixels(), before);
    if (GetParam() == SHAPE_LINE)
        t.TrackLine(press, &w.dc);
    else
        t.TrackRect(press, &w.dc, 8);
    EXPECT_EQ(w.Pixels(), before);
}

INSTANTIATE_TEST_SUITE_P(Kinds, TrackerFeedback,
                         ::testing::Values(SHAPE_LINE, SHAPE_RECT, SHAPE_ELLIPSE),
                         [](const auto& info) {
                             return info.param == SHAPE_LINE   ? "Line"
                                    : info.param == SHAPE_RECT ? "Rectangle"
                                                               : "Ellipse";
                         });

// ---- TrackLine --------------------------------------------------------------------------

TEST(MyTracker, TrackLineMovesAGrabbedLineByTheMouseOffset)
{
    Window w;
    CMyTracker t;
    const CData line = Record(SHAPE_LINE, CPoint(10, 10), CPoint(90, 90));
    t.Select(CPoint(50, 50), &line);
    t.TrackLine(CPoint(60, 45), &w.dc);
    EXPECT_EQ(t.m_ptStart, CPoint(20, 5));
    EXPECT_EQ(t.m_ptEnd, CPoint(100, 85));
    t.TrackLine(CPoint(50, 50), &w.dc);
    EXPECT_EQ(t.m_ptStart, CPoint(10, 10));
    EXPECT_EQ(t.m_ptMovedEnd, CPoint(90, 90));
    EXPECT_EQ(t.m_ptLast, CPoint(50, 50));
    EXPECT_EQ(w.dc.GetROP2(), R2_XORPEN);
}

TEST(MyTracker, TrackLineWithoutAGrabOnlySelectsTheHollowBrush)
{
    Window w;
    const std::vector<COLORREF> before = w.Pixels();
    CMyTracker t;
    t.m_nKind = SHAPE_LINE;
    t.m_ptStart = CPoint(1, 2);
    t.TrackLine(CPoint(60, 45), &w.dc);
    EXPECT_EQ(t.m_ptStart, CPoint(1, 2));
    EXPECT_EQ(t.m_ptLast, CPoint(0, 0));
    EXPECT_EQ(w.dc.GetROP2(), R2_COPYPEN);
    EXPECT_EQ(static_cast<CGdiObject*>(w.dc.GetCurrentBrush()), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(w.Pixels(), before);
}

TEST(MyTracker, ShapesAtTheEndOfTheRangeSaturateWhenDragged)
{
    Window w;
    CMyTracker t;
    const CData rec = Record(SHAPE_RECT, CPoint(INT_MAX - 5, 0), CPoint(INT_MAX, 10));
    t.Select(CPoint(0, 0), &rec);
    EXPECT_EQ(t.TrackRect(CPoint(100, 0), &w.dc, 8), CRect(INT_MAX, 0, INT_MAX, 10));
    const CData line = Record(SHAPE_LINE, CPoint(INT_MIN, 0), CPoint(0, 0));
    CMyTracker l;
    l.Select(CPoint(50, 0), &line);
    l.TrackLine(CPoint(0, 0), &w.dc);
    EXPECT_EQ(l.m_ptStart, CPoint(INT_MIN, 0));
    EXPECT_EQ(l.m_ptEnd, CPoint(-50, 0));
}

} // namespace
