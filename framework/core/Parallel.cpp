#include "Parallel.h"

#include <QSemaphore>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <memory>
#include <numeric>
#include <utility>

namespace parallel {
namespace {

// Below this many pixels a slice on another thread costs more than it saves.
constexpr std::int64_t kMinWork = 256 * 1024;
constexpr int kMaxSlices = 4;

// Set while a thread runs a slice: work it splits in turn stays on that thread, so that no
// slice waits for pool threads that all wait themselves.
thread_local bool t_inSlice = false;

// Runs one piece as the slice, unless the piece is empty, with the mark set.
void RunSlice(const std::function<void(std::int64_t, std::int64_t, int)>& body, std::int64_t a,
              std::int64_t b, int slice)
{
    if (a >= b)
        return;
    const bool outer = std::exchange(t_inSlice, true);
    body(a, b, slice);
    t_inSlice = outer;
}

// Runs as many pieces as slices, between bounds(0) = 0 and bounds(slices) = the end, on the
// calling thread (slice 0) and on slices - 1 of the pool's (slices 1 on), each thread taking
// the next piece not taken yet: a pool thread that starts late, held up by other work on the
// machine, leaves its piece to a thread that is running. Returns when every piece is done; a
// pool thread that starts after that finds nothing left.
void RunSlices(int slices, const std::function<std::int64_t(int)>& bounds,
               const std::function<void(std::int64_t, std::int64_t, int)>& body)
{
    struct Shared {
        std::atomic<int> next{0};
        QSemaphore done; // a release for each piece a pool thread ran
    };
    const auto shared = std::make_shared<Shared>();
    // Runs pieces until none is left; how many.
    const auto take = [shared, slices, &bounds, &body](int slice) {
        int ran = 0;
        for (int piece; (piece = shared->next++) < slices; ++ran)
            RunSlice(body, bounds(piece), bounds(piece + 1), slice);
        return ran;
    };
    for (int s = 1; s < slices; ++s)
        QThreadPool::globalInstance()->start([shared, take, s] {
            if (const int ran = take(s))
                shared->done.release(ran);
        });
    shared->done.acquire(slices - take(0));
}

// How many slices work of this total cost is worth, at most.
int SlicesFor(std::int64_t cost)
{
    return t_inSlice ? 1 : int(std::min<std::int64_t>(MaxSlices(), cost / kMinWork));
}

// Runs all of [0, n) on the calling thread when it is not worth more than one slice; whether
// it did.
bool RanAlone(std::int64_t n, int slices,
              const std::function<void(std::int64_t, std::int64_t, int)>& body)
{
    if (slices > 1 && n >= slices)
        return false;
    if (n > 0)
        body(0, n, 0);
    return true;
}

} // namespace

int MaxSlices()
{
    return std::clamp(QThreadPool::globalInstance()->maxThreadCount(), 1, kMaxSlices);
}

void For(std::int64_t n, std::int64_t costPerItem,
         const std::function<void(std::int64_t, std::int64_t, int)>& body)
{
    const int slices = SlicesFor(n * costPerItem);
    if (RanAlone(n, slices, body))
        return;
    RunSlices(
        slices, [n, slices](int p) { return n * p / slices; }, body);
}

void For(const std::vector<std::int64_t>& costs,
         const std::function<void(std::int64_t, std::int64_t, int)>& body)
{
    const auto n = std::int64_t(costs.size());
    // The cost of the items before each item, and of all.
    std::vector<std::int64_t> before(costs.size() + 1, 0);
    std::partial_sum(costs.begin(), costs.end(), before.begin() + 1);
    const int slices = SlicesFor(before.back());
    if (RanAlone(n, slices, body))
        return;
    // A piece ends at the first item whose cost before it reaches the piece's share.
    RunSlices(
        slices,
        [&before, n, slices](int p) {
            if (p == slices)
                return n;
            const std::int64_t share = before.back() / slices * p;
            return std::int64_t(std::lower_bound(before.begin(), before.end(), share) -
                                before.begin());
        },
        body);
}

} // namespace parallel
