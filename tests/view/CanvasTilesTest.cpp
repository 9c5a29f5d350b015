// The tiles a paint is composed in: which records hide which tiles, and so where each record
// still shows.
#include "view/CanvasTiles.h"

#include "shapes/Shape.h"

#include "tests/shapes/Records.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TilesCase {
    const char* name;
    std::vector<CData> records;
    CRect uncovered;
    int earliestStart;
    std::vector<CRect> shows; // where each record shows, in list order
};

// A line over the whole part (0, 0, 256, 128), and filled rectangles that hide the whole part or
// its left half (64-pixel tiles: columns 0 and 1 wholly under the fill, column 2 not).
const CData kLine = Record(SHAPE_LINE, {0, 0}, {255, 127});
const CData kCoversAll = Record(SHAPE_RECT, {-10, -10}, {300, 300});
const CData kCoversLeft = Record(SHAPE_RECT, {-10, -10}, {140, 300});
const CData kOddKind = Record(9, {-10, -10}, {300, 300});
const CData kFatLine = Record(SHAPE_LINE, {-100, 64}, {400, 64}, 0, 0, 300);

class CanvasTiles : public ::testing::TestWithParam<TilesCase> {};

TEST_P(CanvasTiles, FindWhatEachRecordStillShows)
{
    const TilesCase& c = GetParam();
    CTypedOwningList<CData> list;
    for (const CData& d : c.records)
        list.AddTail(std::make_unique<CData>(d));
    const CRect part(0, 0, 256, 128);
    CCanvasTiles tiles(part);
    tiles.FindCovers(list);
    EXPECT_EQ(tiles.Uncovered(), c.uncovered);
    EXPECT_EQ(tiles.EarliestStart(list.GetCount()), c.earliestStart);
    for (std::size_t i = 0; i < c.records.size(); ++i)
        EXPECT_EQ(tiles.WhereShows(ShapeBounds(c.records[i]), int(i)), c.shows[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Scenes, CanvasTiles,
    ::testing::Values(
        TilesCase{"NothingHides", {kLine}, {0, 0, 256, 128}, 0, {{0, 0, 256, 128}}},
        TilesCase{"AFillHidesAllBeforeIt",
                  {kLine, kCoversAll, kLine},
                  {},
                  1,
                  {{}, {0, 0, 256, 128}, {0, 0, 256, 128}}},
        TilesCase{"AFillHidesTheTilesItCoversWhole",
                  {kLine, kCoversLeft},
                  {128, 0, 256, 128},
                  0,
                  {{128, 0, 256, 128}, {0, 0, 144, 128}}},
        TilesCase{"AFatPenHidesAsAFillDoes", {kLine, kFatLine}, {}, 1, {{}, {0, 0, 256, 128}}},
        TilesCase{"AnUnknownKindHidesNothing",
                  {kLine, kOddKind},
                  {0, 0, 256, 128},
                  0,
                  {{0, 0, 256, 128}, {}}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
