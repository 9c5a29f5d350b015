// The rasteriser's clip: a figure drawn through a clip leaves every pixel outside it alone and
// puts inside it exactly the pixels the figure draws without one.
#include "framework/gdi/Raster.h"
#include "framework/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int kCanvasWidth = 160, kCanvasHeight = 120;

using CanvasFigure = std::function<void(raster::Canvas&)>;

struct ClipCase {
    const char* name;
    CanvasFigure draw;
};

// The pixels after drawing onto a noisy background through the clip [l, r) × [t, b).
std::vector<std::uint32_t> Drawn(const CanvasFigure& draw, int l, int t, int r, int b)
{
    std::vector<std::uint32_t> pixels(std::size_t(kCanvasWidth) * kCanvasHeight);
    std::mt19937 rng(11);
    for (std::uint32_t& p : pixels)
        p = 0xFF000000u | (rng() & 0xFFFFFFu);
    raster::Target target{pixels.data(), kCanvasWidth, kCanvasHeight, kCanvasWidth, l, t, r, b};
    raster::Canvas canvas(target);
    draw(canvas);
    return pixels;
}

class RasterClip : public ::testing::TestWithParam<ClipCase> {};

TEST_P(RasterClip, DrawsInsideExactlyWhatItDrawsWithoutOneAndNothingOutside)
{
    const CanvasFigure& draw = GetParam().draw;
    const std::vector<std::uint32_t> background = Drawn([](raster::Canvas&) {}, 0, 0, 0, 0);
    const std::vector<std::uint32_t> whole = Drawn(draw, 0, 0, kCanvasWidth, kCanvasHeight);
    ASSERT_NE(whole, background);
    for (const CRect clip : {CRect(30, 20, 90, 70), CRect(0, 0, 7, kCanvasHeight), CRect(100, 0, 160, 9),
                             CRect(61, 47, 62, 48), CRect(50, 50, 50, 80)}) {
        const std::vector<std::uint32_t> clipped =
            Drawn(draw, clip.left, clip.top, clip.right, clip.bottom);
        for (int y = 0; y < kCanvasHeight; ++y)
            for (int x = 0; x < kCanvasWidth; ++x) {
                const std::size_t at = std::size_t(y) * kCanvasWidth + x;
                const bool inside = clip.PtInRect(CPoint(x, y));
                ASSERT_EQ(clipped[at], inside ? whole[at] : background[at])
                    << x << "," << y << " clip " << clip.left << "," << clip.top;
            }
    }
}

const raster::Stroke kThinStroke{PS_SOLID, 1, {0xFF102030, R2_COPYPEN}};
const raster::Stroke kWide{PS_SOLID, 7, {0xFF00FF00, R2_XORPEN}};
const raster::Stroke kDotted{PS_DOT, 1, {0xFFFFFFFF, R2_NOT}};
const raster::Ink kFill{0xFFC08040, R2_COPYPEN};

INSTANTIATE_TEST_SUITE_P(
    Figures, RasterClip,
    ::testing::Values(
        ClipCase{"ThinLine", [](raster::Canvas& c) { c.Line(-20, 5, 170, 110, kThinStroke); }},
        ClipCase{"WideLine", [](raster::Canvas& c) { c.Line(150, -10, 10, 100, kWide); }},
        ClipCase{"DottedLine", [](raster::Canvas& c) { c.Line(5, 60, 155, 61, kDotted); }},
        ClipCase{"FilledRectangle",
                 [](raster::Canvas& c) { c.Rectangle(20, 15, 140, 100, kWide, &kFill); }},
        ClipCase{"HollowEllipse",
                 [](raster::Canvas& c) { c.Ellipse(-30, 10, 120, 130, kThinStroke, nullptr); }},
        ClipCase{"FilledEllipse",
                 [](raster::Canvas& c) { c.Ellipse(40, 20, 150, 90, kWide, &kFill); }}),
    [](const auto& info) { return std::string(info.param.name); });

// A wide pen paints the points within half its width of the path (half a pixel up and left
// for even widths), checked against that distance worked out pixel by pixel; a pixel within a
// hair of the edge may go either way. The touched bounds are those of the painted pixels.
TEST(RasterWideLine, PaintsThePixelsWithinHalfItsWidthOfThePath)
{
    std::mt19937 rng(5);
    const auto coordinate = [&](int size) { return int(rng() % unsigned(size + 60)) - 30; };
    for (int n = 0; n < 300; ++n) {
        int x0 = coordinate(kCanvasWidth), y0 = coordinate(kCanvasHeight), x1 = coordinate(kCanvasWidth),
            y1 = coordinate(kCanvasHeight);
        if (n % 10 == 0)
            y1 = y0; // along the axes too
        else if (n % 10 == 1)
            x1 = x0;
        if (x0 == x1 && y0 == y1)
            continue;
        const int width = 2 + n % 6;
        std::vector<std::uint32_t> pixels(std::size_t(kCanvasWidth) * kCanvasHeight, 0);
        raster::Target target{pixels.data(), kCanvasWidth, kCanvasHeight, kCanvasWidth};
        raster::Canvas canvas(target);
        canvas.Line(x0, y0, x1, y1, raster::Stroke{PS_SOLID, width, {0x0000FF, R2_XORPEN}});
        const double shift = width % 2 == 0 ? -0.5 : 0.0, radius = width / 2.0;
        const double ax = x0 + shift, ay = y0 + shift, dx = x1 - x0, dy = y1 - y0;
        CRect painted;
        for (int y = 0; y < kCanvasHeight; ++y)
            for (int x = 0; x < kCanvasWidth; ++x) {
                const double along =
                    std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
                const double distance = std::hypot(x - ax - along * dx, y - ay - along * dy);
                const bool on = pixels[std::size_t(y) * kCanvasWidth + x] != 0;
                if (std::fabs(distance - radius) > 1e-6) {
                    ASSERT_EQ(on, distance < radius)
                        << x << "," << y << " of line " << x0 << "," << y0 << " to " << x1 << ","
                        << y1 << " width " << width;
                }
                const CRect pixel(x, y, x + 1, y + 1);
                if (on)
                    ::UnionRect(&painted, &painted, &pixel);
            }
        EXPECT_EQ(canvas.Bounds(), painted);
    }
}

} // namespace
