// The rectangle tracker: handle geometry and hit codes for the styles the program uses,
// cursors, and what it draws.
#include "framework/window/ResizeTracker.h"

#include "framework/gdi/Gdi.h"
#include "framework/window/Cursor.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr UINT kSelected = CResizeTracker::dottedLine | CResizeTracker::resizeInside;    // 10
constexpr UINT kInitial = CResizeTracker::hatchedBorder | CResizeTracker::resizeOutside; // 20

struct Surface {
    CDC dc;
    CBitmap bmp;
    int w, h;
    Surface(int width, int height) : w(width), h(height)
    {
        dc.CreateCompatibleDC(nullptr);
        bmp.CreateCompatibleBitmap(&dc, w, h);
        dc.SelectObject(&bmp);
        dc.FillSolidRect(0, 0, w, h, kWhite);
    }
    int CountNot(COLORREF c) const
    {
        int n = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                n += dc.GetPixel(x, y) != c;
        return n;
    }
};

CResizeTracker Tracker(UINT nStyle, CRect rect = CRect(10, 20, 110, 80))
{
    CResizeTracker t(rect, nStyle);
    t.m_nHandleSize = 7;
    return t;
}

struct HitCase {
    const char* name;
    UINT nStyle;
    CPoint point;
    int expected;
};

class TrackerHitTest : public ::testing::TestWithParam<HitCase> {};

TEST_P(TrackerHitTest, GivesTheHandleCode)
{
    EXPECT_EQ(Tracker(GetParam().nStyle).HitTest(GetParam().point), GetParam().expected);
}

// The rectangle (10, 20, 110, 80) with 7-pixel handles.
INSTANTIATE_TEST_SUITE_P(
    Styles, TrackerHitTest,
    ::testing::Values(HitCase{"InsideTopLeft", kSelected, {10, 20}, 0},
                      HitCase{"InsideTopLeftFarCorner", kSelected, {16, 26}, 0},
                      HitCase{"InsideTopRight", kSelected, {109, 20}, 1},
                      HitCase{"InsideBottomRight", kSelected, {109, 79}, 2},
                      HitCase{"InsideBottomLeft", kSelected, {10, 79}, 3},
                      HitCase{"InsideTop", kSelected, {60, 20}, 4},
                      HitCase{"InsideRight", kSelected, {109, 50}, 5},
                      HitCase{"InsideBottom", kSelected, {57, 79}, 6},
                      HitCase{"InsideLeft", kSelected, {10, 53}, 7},
                      HitCase{"InsideBetweenHandles", kSelected, {30, 20}, 8},
                      HitCase{"InsideMiddle", kSelected, {60, 50}, 8},
                      HitCase{"InsideRightEdgeIsOutside", kSelected, {110, 50}, -1},
                      HitCase{"InsideLeftOfFrame", kSelected, {9, 50}, -1},
                      HitCase{"InsideFarAway", kSelected, {500, 500}, -1},
                      HitCase{"OutsideTopLeft", kInitial, {9, 19}, 0},
                      HitCase{"OutsideTopLeftFarCorner", kInitial, {3, 13}, 0},
                      HitCase{"OutsideTopRight", kInitial, {110, 19}, 1},
                      HitCase{"OutsideBottomRight", kInitial, {116, 86}, 2},
                      HitCase{"OutsideBottomLeft", kInitial, {9, 80}, 3},
                      HitCase{"OutsideTop", kInitial, {60, 19}, 4},
                      HitCase{"OutsideRight", kInitial, {110, 50}, 5},
                      HitCase{"OutsideBottom", kInitial, {60, 80}, 6},
                      HitCase{"OutsideLeft", kInitial, {9, 50}, 7},
                      HitCase{"OutsideCornerOfRectIsInside", kInitial, {10, 20}, 8},
                      HitCase{"OutsideBeyondHandle", kInitial, {117, 50}, -1},
                      HitCase{"OutsideBandBetweenHandles", kInitial, {30, 19}, -1},
                      HitCase{"NoHandlesCornerIsInside", CResizeTracker::dottedLine, {10, 20}, 8},
                      HitCase{"NoHandlesOutside", CResizeTracker::solidLine, {9, 19}, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResizeTracker, HandleCodesFollowTheStoredCornersOfAnInvertedRectangle)
{
    // Dragged past each other: left 110 > right 10.
    const CResizeTracker t = Tracker(kSelected, CRect(110, 20, 10, 80));
    EXPECT_EQ(t.HitTest(CPoint(109, 20)), 0);
    EXPECT_EQ(t.HitTest(CPoint(10, 20)), 1);
    EXPECT_EQ(t.HitTest(CPoint(60, 50)), 8);
    EXPECT_EQ(t.GetCursorId(0), IDC_SIZENESW);
    EXPECT_EQ(t.GetCursorId(1), IDC_SIZENWSE);
}

TEST(ResizeTracker, StartsWhereItDrawsNothingOnTheCanvasAndIsNeverHit)
{
    CResizeTracker t;
    t.m_nStyle = kInitial;
    Surface s(1280, 1024);
    t.Draw(&s.dc);
    EXPECT_EQ(s.CountNot(kWhite), 0);
    for (CPoint p : {CPoint(0, 0), CPoint(1279, 1023), CPoint(-1, -1), CPoint(640, 512)})
        EXPECT_EQ(t.HitTest(p), -1);
}

TEST(ResizeTracker, PointSizedRectangleIsHiddenAndNeverHit)
{
    const CResizeTracker t = Tracker(kSelected, CRect(0, 0, 0, 0));
    Surface s(64, 64);
    t.Draw(&s.dc);
    EXPECT_EQ(s.CountNot(kWhite), 0);
    EXPECT_EQ(t.HitTest(CPoint(0, 0)), -1);
    EXPECT_EQ(t.HitTest(CPoint(3, 3)), -1);
}

TEST(ResizeTracker, CursorsGoWithTheHandles)
{
    const CResizeTracker t = Tracker(kSelected);
    const int expected[] = {IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZENS,
                            IDC_SIZEWE,   IDC_SIZENS,   IDC_SIZEWE,   IDC_SIZEALL};
    for (int code = 0; code <= 8; ++code)
        EXPECT_EQ(t.GetCursorId(code), expected[code]) << code;
    EXPECT_EQ(t.GetCursorId(-1), 0);
    EXPECT_EQ(t.GetCursorId(9), 0);
    EXPECT_NE(LoadCursor(nullptr, t.GetCursorId(8)), nullptr);
}

TEST(ResizeTracker, DottedStyleDrawsABorderOutsideAndHandlesInside)
{
    const CResizeTracker t = Tracker(kSelected);
    Surface s(160, 120);
    t.Draw(&s.dc);
    for (int i = 0; i < 8; ++i) {
        const CRect h = t.GetHandleRect(i);
        EXPECT_EQ(h.Width(), 7);
        for (int y = h.top; y < h.bottom; ++y)
            for (int x = h.left; x < h.right; ++x)
                ASSERT_EQ(s.dc.GetPixel(x, y), kBlack) << i << " " << x << "," << y;
    }
    int borderInk = 0;
    for (int x = 20; x < 100; ++x)
        borderInk += s.dc.GetPixel(x, 19) == kBlack;
    EXPECT_GT(borderInk, 20); // dotted: some pixels,
    EXPECT_LT(borderInk, 80); // not all
    EXPECT_EQ(s.dc.GetPixel(60, 50), kWhite);
    EXPECT_EQ(s.dc.GetPixel(30, 30), kWhite);
    EXPECT_EQ(s.dc.GetPixel(60, 18), kWhite);
    int rightInk = 0;
    for (int y = 30; y < 70; ++y) {
        rightInk += s.dc.GetPixel(110, y) == kBlack; // one pixel outside the rectangle
        EXPECT_EQ(s.dc.GetPixel(111, y), kWhite);
        EXPECT_EQ(s.dc.GetPixel(108, y), y >= 47 && y < 54 ? kBlack : kWhite);
    }
    EXPECT_GT(rightInk, 10);
}

TEST(ResizeTracker, HatchedStyleDrawsADiagonalBandAndHandlesOutside)
{
    const CResizeTracker t = Tracker(kInitial);
    Surface s(160, 120);
    t.Draw(&s.dc);
    auto inHandle = [&](int x, int y) {
        for (int i = 0; i < 8; ++i)
            if (t.GetHandleRect(i).PtInRect(CPoint(x, y)))
                return true;
        return false;
    };
    const CRect band(3, 13, 117, 87);
    const CRect rect(10, 20, 110, 80);
    for (int y = 0; y < s.h; ++y)
        for (int x = 0; x < s.w; ++x) {
            const bool hatched =
                band.PtInRect(CPoint(x, y)) && !rect.PtInRect(CPoint(x, y)) && (x + y) % 4 == 0;
            const COLORREF expected = hatched || inHandle(x, y) ? kBlack : kWhite;
            ASSERT_EQ(s.dc.GetPixel(x, y), expected) << x << "," << y;
        }
}

TEST(ResizeTracker, HatchedInteriorMarksOnlyTheDiagonals)
{
    const CResizeTracker t = Tracker(CResizeTracker::hatchInside, CRect(4, 4, 20, 12));
    Surface s(24, 16);
    t.Draw(&s.dc);
    for (int y = 0; y < s.h; ++y)
        for (int x = 0; x < s.w; ++x) {
            const bool hatched = x >= 4 && x < 20 && y >= 4 && y < 12 && (x + y) % 4 == 0;
            ASSERT_EQ(s.dc.GetPixel(x, y), hatched ? kBlack : kWhite) << x << "," << y;
        }
}

TEST(ResizeTracker, DrawPutsBackTheContextsState)
{
    Surface s(160, 120);
    CPen pen(PS_SOLID, 3, RGB(1, 2, 3));
    CBrush brush(RGB(4, 5, 6));
    s.dc.SelectObject(&pen);
    s.dc.SelectObject(&brush);
    s.dc.SetROP2(R2_XORPEN);
    s.dc.MoveTo(7, 8);
    Tracker(63).Draw(&s.dc);
    EXPECT_EQ(s.dc.GetCurrentPen(), &pen);
    EXPECT_EQ(s.dc.GetCurrentBrush(), &brush);
    EXPECT_EQ(s.dc.GetROP2(), R2_XORPEN);
    EXPECT_EQ(s.dc.GetCurrentPosition(), CPoint(7, 8));
}

// Under the sanitizers, nothing overflows; hit codes stay codes, a point far inside is inside,
// a rectangle far off the surface draws nothing on it.
TEST(ResizeTracker, RectanglesAtTheEndsOfTheRangeAreSafe)
{
    for (UINT style : {kSelected, kInitial, 63u}) {
        EXPECT_EQ(Tracker(style, CRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX)).HitTest(CPoint(0, 0)),
                  CResizeTracker::hitMiddle);
        Surface far(64, 64);
        Tracker(style, CRect(INT_MAX, 0, INT_MAX, 10)).Draw(&far.dc);
        EXPECT_EQ(far.CountNot(kWhite), 0) << style;
        for (const CRect& rc :
             {CRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX), CRect(INT_MAX, INT_MAX, INT_MIN, INT_MIN),
              CRect(INT_MAX, 0, INT_MAX, 10)}) {
            Surface s(64, 64);
            const CResizeTracker t = Tracker(style, rc);
            t.Draw(&s.dc);
            for (CPoint p : {CPoint(0, 0), CPoint(INT_MAX, INT_MAX), CPoint(INT_MIN, 0)}) {
                const int hit = t.HitTest(p);
                EXPECT_TRUE(hit >= CResizeTracker::hitNothing && hit <= CResizeTracker::hitMiddle);
            }
        }
    }
}

} // namespace
