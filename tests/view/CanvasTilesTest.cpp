// The tiles a paint is composed in: which records hide which tiles, and so where each record
// still shows.
#include "view/CanvasTiles.h"
#include "view/ShapeIndex.h"

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

// The index's press and rectangle answers equal a walk over every record: the boxes it looks
// through first never leave out a record that counts. Lines every way, thick hollow outlines,
// a box drawn from its bottom-right and a record of an unknown kind.
TEST(ShapeIndex, AnswersAsAWalkOverEveryRecord)
{
    const CData records[] = {Record(SHAPE_LINE, {40, 40}, {200, 90}),
                             Record(SHAPE_LINE, {100, 10}, {100, 150}),
                             Record(SHAPE_LINE, {10, 120}, {230, 120}),
                             Record(SHAPE_LINE, {200, 20}, {60, 140}),
                             Record(SHAPE_RECT, {50, 30}, {120, 100}, 0, kNoFill, 21),
                             Record(SHAPE_ELLIPSE, {150, 60}, {90, 20}, 0, kNoFill, 7),
                             Record(SHAPE_RECT, {180, 110}, {140, 70}),
                             Record(9, {0, 0}, {250, 160})};
    CTypedOwningList<CData> list;
    for (const CData& d : records)
        list.AddTail(std::make_unique<CData>(d));
    CShapeIndex index;
    for (int y = -30; y < 190; y += 3)
        for (int x = -30; x < 280; x += 3) {
            const CPoint p(x, y);
            CData* walked = nullptr;
            for (POSITION pos = list.GetTailPosition(); pos && !walked;)
                if (CData* d = list.GetPrev(pos); ShapeHit(*d, p))
                    walked = d;
            ASSERT_EQ(index.HitAt(list, p), walked) << x << ", " << y;
        }
    const CRect bands[] = {{0, 0, 250, 160}, {45, 25, 125, 105}, {95, 5, 105, 155}, {0, 0, 0, 0}};
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
            EXPECT_EQ(index.Within(list, band, touching), walked)
                << band.left << ", " << band.top << (touching ? " touching" : " inside");
        }
}
