// The tiles a paint is composed in: which records hide which tiles, and so where each record
// still shows.
#include "view/CanvasTiles.h"
#include "view/ShapeIndex.h"

#include "shapes/Shape.h"

#include "tests/shapes/Records.h"

#include <gtest/gtest.h>

#include <random>
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

namespace {

// The index's answers for points on a grid and for the bands against a walk over every record.
void ExpectIndexAnswersAsAWalk(const std::vector<CData>& records, const CRect& grid, int step,
                               const std::vector<CRect>& bands)
{
    CTypedOwningList<CData> list;
    for (const CData& d : records)
        list.AddTail(std::make_unique<CData>(d));
    CShapeIndex index;
    for (int y = grid.top; y < grid.bottom; y += step)
        for (int x = grid.left; x < grid.right; x += step) {
            const CPoint p(x, y);
            CData* walked = nullptr;
            for (POSITION pos = list.GetTailPosition(); pos && !walked;)
                if (CData* d = list.GetPrev(pos); ShapeHit(*d, p))
                    walked = d;
            ASSERT_EQ(index.HitAt(list, p), walked) << x << ", " << y;
        }
    for (const CRect& band : bands)
        for (const bool touching : {false, true}) {
            std::vector<CData*> walked;
            for (POSITION pos = list.GetHeadPosition(); pos;) {
                CData* d = list.GetNext(pos);
                // The pixels from one corner to the other, both included.
                CRect box = CRect(d->m_ptStart, d->m_ptEnd).Normalized();
                box.right += 1;
                box.bottom += 1;
                CRect common;
                if (touching ? IntersectRect(&common, &box, &band) != FALSE
                             : box.left >= band.left && box.top >= band.top &&
                                   box.right <= band.right && box.bottom <= band.bottom)
                    walked.push_back(d);
            }
            ASSERT_EQ(index.Within(list, band, touching), walked)
                << band.left << ", " << band.top << ", " << band.right << ", " << band.bottom
                << (touching ? " touching" : " inside");
        }
}

} // namespace

// The index's press and rectangle answers equal a walk over every record: the boxes and
// columns it looks through first never leave out a record that counts. Lines every way, thick
// hollow outlines, a box drawn from its bottom-right and a record of an unknown kind; then
// thousands of records of every kind, far apart and close together.
TEST(ShapeIndex, AnswersAsAWalkOverEveryRecord)
{
    ExpectIndexAnswersAsAWalk({Record(SHAPE_LINE, {40, 40}, {200, 90}),
                               Record(SHAPE_LINE, {100, 10}, {100, 150}),
                               Record(SHAPE_LINE, {10, 120}, {230, 120}),
                               Record(SHAPE_LINE, {200, 20}, {60, 140}),
                               Record(SHAPE_RECT, {50, 30}, {120, 100}, 0, kNoFill, 21),
                               Record(SHAPE_ELLIPSE, {150, 60}, {90, 20}, 0, kNoFill, 7),
                               Record(SHAPE_RECT, {180, 110}, {140, 70}),
                               Record(9, {0, 0}, {250, 160})},
                              {-30, -30, 280, 190}, 3,
                              {{0, 0, 250, 160}, {45, 25, 125, 105}, {95, 5, 105, 155}, {}});
    std::mt19937 rng(7);
    const auto coordinate = [&rng] {
        // Mostly on a large canvas; a few far out, where columns must widen.
        return rng() % 50 ? int(rng() % 2100) - 100 : int(rng() % 4000000) - 2000000;
    };
    std::vector<CData> records;
    for (int i = 0; i < 1500; ++i) {
        const int kind = int(rng() % 3) + SHAPE_LINE;
        const CPoint a(coordinate(), coordinate());
        const CPoint b(a.x + int(rng() % 300) - 150, a.y + int(rng() % 300) - 150);
        records.push_back(Record(kind, a, b, 0, rng() % 2 ? kNoFill : 0, int(rng() % 7) + 1));
    }
    std::vector<CRect> bands;
    for (int i = 0; i < 40; ++i)
        bands.push_back(CRect(CPoint(coordinate(), coordinate()),
                              CPoint(coordinate(), coordinate())).Normalized());
    bands.push_back(CRect(-3000000, -3000000, 3000000, 3000000));
    ExpectIndexAnswersAsAWalk(records, {-120, -120, 2000, 2000}, 53, bands);
}
