// A context whose pixels hold only part of the plane (a viewport origin): every way of drawing
// puts exactly the pixels there that it puts on pixels holding the whole plane, and the clip,
// the bounds and pixel positions stay in the plane's coordinates.
#include "tests/support/Surface.h"

#include "framework/gdi/Dib.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kWidth = 96, kHeight = 80;
// The part of the plane the small surface holds.
const CRect kHeld(25, 20, 65, 50);

// A source of block transfers: pixels of the whole plane, with some texture.
struct Source : MemorySurface {
    Source() : MemorySurface(kWidth, kHeight, RGB(9, 9, 9))
    {
        for (int i = 0; i < 12; ++i) {
            CBrush b(RGB(i * 20, 200 - i * 15, i * 9));
            dc.SelectObject(&b);
            dc.Ellipse(i * 7, i * 5, i * 7 + 30, i * 5 + 25);
        }
    }
};

struct Step {
    const char* name;
    std::function<void(CDC&)> draw;
};

void WithPen(CDC& dc, int width, int mix, const std::function<void()>& draw)
{
    CPen pen(PS_SOLID, width, RGB(200, 40, 10));
    CBrush brush(RGB(30, 160, 90));
    dc.SelectObject(&pen);
    dc.SelectObject(&brush);
    dc.SetROP2(mix);
    draw();
    dc.SelectStockObject(BLACK_PEN);
    dc.SelectStockObject(WHITE_BRUSH);
}

const Step kSteps[] = {
    {"WideLine",
     [](CDC& dc) { WithPen(dc, 5, R2_COPYPEN, [&] { dc.MoveTo(3, 70), dc.LineTo(90, 4); }); }},
    {"ThinXorLine",
     [](CDC& dc) { WithPen(dc, 1, R2_XORPEN, [&] { dc.MoveTo(0, 21), dc.LineTo(95, 47); }); }},
    {"FilledEllipse",
     [](CDC& dc) { WithPen(dc, 3, R2_COPYPEN, [&] { dc.Ellipse(10, 12, 70, 60); }); }},
    {"HollowRectangle",
     [](CDC& dc) {
         WithPen(dc, 2, R2_XORPEN, [&] {
             dc.SelectStockObject(NULL_BRUSH);
             dc.Rectangle(30, 18, 61, 52);
         });
     }},
    {"FillSolidRect", [](CDC& dc) { dc.FillSolidRect(40, 10, 50, 30, RGB(1, 99, 3)); }},
    {"PatBltInvert", [](CDC& dc) { dc.PatBlt(20, 30, 30, 40, DSTINVERT); }},
    {"Pixels",
     [](CDC& dc) { dc.SetPixel(25, 20, RGB(7, 8, 9)), dc.SetPixel(64, 49, RGB(9, 8, 7)); }},
    {"ClippedFigure",
     [](CDC& dc) {
         dc.IntersectClipRect(30, 25, 50, 45);
         WithPen(dc, 4, R2_COPYPEN, [&] { dc.Ellipse(0, 0, 90, 70); });
         dc.SelectClipRgn(nullptr);
     }},
    {"BitBlt",
     [](CDC& dc) {
         Source src;
         dc.BitBlt(20, 15, 40, 30, &src.dc, 31, 22, SRCCOPY);
     }},
    {"StretchBlt",
     [](CDC& dc) {
         Source src;
         dc.SetStretchBltMode(HALFTONE);
         dc.StretchBlt(10, 10, 70, 50, &src.dc, 0, 0, 35, 25, SRCCOPY);
     }},
    {"SetDIBitsToDevice",
     [](CDC& dc) {
         std::vector<BYTE> rows(std::size_t(DibRowBytes(30, 24)) * 20);
         for (std::size_t i = 0; i < rows.size(); ++i)
             rows[i] = BYTE(i * 13);
         BITMAPINFO info{};
         info.bmiHeader = {40, 30, 20, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
         SetDIBitsToDevice(&dc, 22, 27, 30, 20, 0, 0, 0, 20, rows.data(), &info, DIB_RGB_COLORS);
     }},
};

class ViewportOrigin : public ::testing::TestWithParam<Step> {};

TEST_P(ViewportOrigin, DrawsWhatTheWholePlaneGetsThere)
{
    Source whole, held;
    MemorySurface part(kHeld.Width(), kHeld.Height(), 0);
    part.dc.BitBlt(0, 0, kHeld.Width(), kHeld.Height(), &held.dc, kHeld.left, kHeld.top, SRCCOPY);
    EXPECT_EQ(part.dc.SetViewportOrg(-kHeld.left, -kHeld.top), CPoint(0, 0));
    GetParam().draw(whole.dc);
    GetParam().draw(part.dc);
    int changed = 0;
    for (int y = kHeld.top; y < kHeld.bottom; ++y)
        for (int x = kHeld.left; x < kHeld.right; ++x) {
            ASSERT_EQ(part.dc.GetPixel(x, y), whole.dc.GetPixel(x, y)) << x << "," << y;
            changed += whole.dc.GetPixel(x, y) != held.dc.GetPixel(x, y);
        }
    EXPECT_GT(changed, 0); // the step drew on the part held
    EXPECT_EQ(part.dc.GetPixel(kHeld.left - 1, kHeld.top), CLR_INVALID);
    EXPECT_EQ(part.dc.GetPixel(kHeld.right, kHeld.bottom - 1), CLR_INVALID);
}

INSTANTIATE_TEST_SUITE_P(Steps, ViewportOrigin, ::testing::ValuesIn(kSteps),
                         [](const auto& info) { return std::string(info.param.name); });

// The clip box and the bounds of what was drawn are the plane's; a clip set before the origin
// moves stays on the same pixels.
TEST(ViewportOriginClip, ClipAndBoundsAreInThePlane)
{
    MemorySurface part(kHeld.Width(), kHeld.Height(), RGB(255, 255, 255));
    part.dc.SetViewportOrg(-kHeld.left, -kHeld.top);
    CRect box;
    EXPECT_EQ(part.dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, kHeld);
    part.dc.GetBoundsRect(&box, DCB_RESET);
    part.dc.FillSolidRect(0, 0, 40, 30, RGB(1, 2, 3));
    EXPECT_EQ(part.dc.GetBoundsRect(&box, DCB_RESET), DCB_SET);
    EXPECT_EQ(box, CRect(25, 20, 40, 30));
    EXPECT_EQ(part.dc.IntersectClipRect(30, 25, 200, 200), SIMPLEREGION);
    part.dc.SetViewportOrg(0, 0);
    part.dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(5, 5, 40, 30));
}

// A source holding part of the plane gives block transfers the plane's pixels, straight and
// stretched.
TEST(ViewportOriginSource, TransfersReadThePlanesPixels)
{
    Source whole;
    MemorySurface part(50, 40, 0);
    part.dc.BitBlt(0, 0, 50, 40, &whole.dc, 30, 20, SRCCOPY);
    part.dc.SetViewportOrg(-30, -20);
    for (const bool stretched : {false, true}) {
        WhiteSurface fromWhole(40, 30), fromPart(40, 30);
        for (auto [to, from] : {std::pair{&fromWhole, &whole.dc}, {&fromPart, &part.dc}}) {
            if (stretched)
                to->dc.StretchBlt(0, 0, 40, 30, from, 33, 24, 20, 15, SRCCOPY);
            else
                to->dc.BitBlt(2, 1, 36, 28, from, 35, 25, SRCINVERT);
        }
        EXPECT_EQ(fromPart.Pixels(), fromWhole.Pixels()) << stretched;
        EXPECT_NE(fromPart.Count(RGB(255, 255, 255)), 40 * 30);
    }
}

} // namespace
