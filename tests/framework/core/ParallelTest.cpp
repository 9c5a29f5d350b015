// Splitting work over the pool: every item exactly once, pieces of about equal cost, and work
// that still finishes while every pool thread is held up elsewhere.
#include "framework/core/Parallel.h"

#include <QThreadPool>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <numeric>
#include <vector>

namespace {

struct Piece {
    std::int64_t begin, end;
    int slice;
};

// A pool of four threads, whatever the machine has, so that work splits into four.
class ParallelFor : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_nThreads = QThreadPool::globalInstance()->maxThreadCount();
        QThreadPool::globalInstance()->setMaxThreadCount(4);
    }
    void TearDown() override
    {
        QThreadPool::globalInstance()->waitForDone();
        QThreadPool::globalInstance()->setMaxThreadCount(m_nThreads);
    }

    // The pieces that For runs, by their starts, after checking that they cover [0, n) once,
    // each on a slice below MaxSlices.
    template <class Work> static std::vector<Piece> Pieces(std::int64_t n, const Work& work)
    {
        std::mutex lock;
        std::vector<Piece> pieces;
        work([&](std::int64_t a, std::int64_t b, int slice) {
            EXPECT_TRUE(slice >= 0 && slice < parallel::MaxSlices()) << slice;
            std::lock_guard guard(lock);
            pieces.push_back({a, b, slice});
        });
        std::ranges::sort(pieces, {}, &Piece::begin);
        std::int64_t next = 0;
        for (const Piece& p : pieces) {
            EXPECT_EQ(p.begin, next);
            EXPECT_LT(p.begin, p.end);
            next = p.end;
        }
        EXPECT_EQ(next, n);
        return pieces;
    }

private:
    int m_nThreads = 1;
};

TEST_F(ParallelFor, SplitsLargeWorkAndKeepsSmallWorkOnTheCallingThread)
{
    struct Case {
        std::int64_t n, costPerItem;
        std::size_t pieces;
    };
    for (const Case c :
         {Case{1000, 1, 1}, Case{1000, 1 << 20, 4}, Case{3, 1 << 30, 1}, Case{0, 1 << 30, 0}}) {
        const auto pieces =
            Pieces(c.n, [&](const auto& body) { parallel::For(c.n, c.costPerItem, body); });
        EXPECT_EQ(pieces.size(), c.pieces) << c.n << " × " << c.costPerItem;
        if (c.pieces == 1) {
            EXPECT_EQ(pieces[0].slice, 0);
        }
    }
}

TEST_F(ParallelFor, CutsItemsOfTheirOwnCostsIntoEqualShares)
{
    // Rows of a drawing: a few dear ones at the top, many cheap ones, a dear stretch below.
    std::vector<std::int64_t> costs(1000, 1000);
    std::fill_n(costs.begin(), 10, std::int64_t(1) << 22);
    std::fill_n(costs.begin() + 600, 100, std::int64_t(1) << 18);
    const std::int64_t total = std::accumulate(costs.begin(), costs.end(), std::int64_t(0));
    const std::int64_t most = *std::ranges::max_element(costs);
    const auto pieces =
        Pieces(std::int64_t(costs.size()), [&](const auto& body) { parallel::For(costs, body); });
    ASSERT_EQ(pieces.size(), 4u);
    for (const Piece& p : pieces) {
        const std::int64_t cost =
            std::accumulate(costs.begin() + p.begin, costs.begin() + p.end, std::int64_t(0));
        EXPECT_LE(cost, total / 4 + most) << p.begin << "–" << p.end;
    }
    // Cheap work stays whole.
    EXPECT_EQ(Pieces(3, [](const auto& body) { parallel::For({5, 5, 5}, body); }).size(), 1u);
}

TEST_F(ParallelFor, FinishesOnTheCallingThreadWhileThePoolIsHeldUp)
{
    // Every pool thread is taken, as by other work: what For hands the pool waits.
    for (int t = 0; t < 4; ++t)
        QThreadPool::globalInstance()->reserveThread();
    const auto pieces = Pieces(1000, [](const auto& body) { parallel::For(1000, 1 << 20, body); });
    for (int t = 0; t < 4; ++t)
        QThreadPool::globalInstance()->releaseThread();
    EXPECT_EQ(pieces.size(), 4u);
    for (const Piece& p : pieces)
        EXPECT_EQ(p.slice, 0);
}

TEST_F(ParallelFor, KeepsWorkSplitInsideAPieceOnItsThread)
{
    std::atomic<int> inner{0};
    parallel::For(1000, 1 << 20, [&](std::int64_t, std::int64_t, int slice) {
        parallel::For(1000, 1 << 20, [&](std::int64_t a, std::int64_t b, int innerSlice) {
            EXPECT_EQ(a, 0);
            EXPECT_EQ(b, 1000);
            EXPECT_EQ(innerSlice, 0) << "inside slice " << slice;
            ++inner;
        });
    });
    EXPECT_EQ(inner, 4);
}

} // namespace
