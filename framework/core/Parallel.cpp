#include "Parallel.h"

#include <QSemaphore>
#include <QThreadPool>

#include <algorithm>
#include <utility>

namespace parallel {
namespace {

// Below this many pixels a slice on another thread costs more than it saves.
constexpr std::int64_t kMinWork = 256 * 1024;
constexpr int kMaxSlices = 4;

// Set while a thread runs a slice: work it splits in turn stays on that thread, so that no
// slice waits for pool threads that all wait themselves.
thread_local bool t_inSlice = false;

// Runs one slice with the mark set.
void RunSlice(const std::function<void(std::int64_t, std::int64_t, int)>& body, std::int64_t a,
              std::int64_t b, int slice)
{
    const bool outer = std::exchange(t_inSlice, true);
    body(a, b, slice);
    t_inSlice = outer;
}

} // namespace

int MaxSlices()
{
    return std::clamp(QThreadPool::globalInstance()->maxThreadCount(), 1, kMaxSlices);
}

void For(std::int64_t n, std::int64_t costPerItem,
         const std::function<void(std::int64_t, std::int64_t, int)>& body)
{
    const int slices =
        t_inSlice ? 1 : int(std::min<std::int64_t>(MaxSlices(), n * costPerItem / kMinWork));
    if (slices <= 1 || n < slices) {
        if (n > 0)
            body(0, n, 0);
        return;
    }
    QSemaphore done;
    auto bounds = [n, slices](int s) { return n * s / slices; };
    for (int s = 1; s < slices; ++s)
        QThreadPool::globalInstance()->start([&, s] {
            RunSlice(body, bounds(s), bounds(s + 1), s);
            done.release();
        });
    RunSlice(body, 0, bounds(1), 0);
    done.acquire(slices - 1);
}

} // namespace parallel
