// The rasteriser's clip: a figure drawn through a clip leaves every pixel outside it alone and
// puts inside it exactly the pixels the figure draws without one.
#include "framework/gdi/Raster.h"
#include "framework/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 160, kHeight = 120;

using Figure = std::function<void(raster::Canvas&)>;

struct ClipCase {
    const char* name;
    Figure draw;
};

// The pixels after drawing onto a noisy background through the clip [l, r) × [t, b).
std::vector<std::uint32_t> Drawn(const Figure& draw, int l, int t, int r, int b)
{
    std::vector<std::uint32_t> pixels(std::size_t(kWidth) * kHeight);
    std::mt19937 rng(11);
    for (std::uint32_t& p : pixels)
        p = 0xFF000000u | (rng() & 0xFFFFFFu);
    raster::Target target{pixels.data(), kWidth, kHeight, kWidth, l, t, r, b};
    raster::Canvas canvas(target);
    draw(canvas);
    return pixels;
}

class RasterClip : public ::testing::TestWithParam<ClipCase> {};

TEST_P(RasterClip, DrawsInsideExactlyWhatItDrawsWithoutOneAndNothingOutside)
{
    const Figure& draw = GetParam().draw;
    const std::vector<std::uint32_t> background = Drawn([](raster::Canvas&) {}, 0, 0, 0, 0);
    const std::vector<std::uint32_t> whole = Drawn(draw, 0, 0, kWidth, kHeight);
    ASSERT_NE(whole, background);
    for (const CRect clip : {CRect(30, 20, 90, 70), CRect(0, 0, 7, kHeight), CRect(100, 0, 160, 9),
                             CRect(61, 47, 62, 48), CRect(50, 50, 50, 80)}) {
        const std::vector<std::uint32_t> clipped =
            Drawn(draw, clip.left, clip.top, clip.right, clip.bottom);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const std::size_t at = std::size_t(y) * kWidth + x;
                const bool inside = clip.PtInRect(CPoint(x, y));
                ASSERT_EQ(clipped[at], inside ? whole[at] : background[at])
                    << x << "," << y << " clip " << clip.left << "," << clip.top;
            }
    }
}

const raster::PenSpec kThin{PS_SOLID, 1, {0xFF102030, R2_COPYPEN}};
const raster::PenSpec kWide{PS_SOLID, 7, {0xFF00FF00, R2_XORPEN}};
const raster::PenSpec kDotted{PS_DOT, 1, {0xFFFFFFFF, R2_NOT}};
const raster::Ink kFill{0xFFC08040, R2_COPYPEN};

INSTANTIATE_TEST_SUITE_P(
    Figures, RasterClip,
    ::testing::Values(
        ClipCase{"ThinLine", [](raster::Canvas& c) { c.Line(-20, 5, 170, 110, kThin); }},
        ClipCase{"WideLine", [](raster::Canvas& c) { c.Line(150, -10, 10, 100, kWide); }},
        ClipCase{"DottedLine", [](raster::Canvas& c) { c.Line(5, 60, 155, 61, kDotted); }},
        ClipCase{"FilledRectangle",
                 [](raster::Canvas& c) { c.Rectangle(20, 15, 140, 100, kWide, &kFill); }},
        ClipCase{"HollowEllipse",
                 [](raster::Canvas& c) { c.Ellipse(-30, 10, 120, 130, kThin, nullptr); }},
        ClipCase{"FilledEllipse",
                 [](raster::Canvas& c) { c.Ellipse(40, 20, 150, 90, kWide, &kFill); }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
