#include "Parallel.h"

#include <QSemaphore>
#include <QThreadPool>

#include <algorithm>

namespace parallel {
namespace {

// Below this many pixels a slice on another thread costs more than it saves.
constexpr std::int64_t kMinWork = 256 * 1024;
constexpr int kMaxSlices = 4;

} // namespace

int MaxSlices()
{
    return std::clamp(QThreadPool::globalInstance()->maxThreadCount(), 1, kMaxSlices);
}

void For(std::int64_t n, std::int64_t costPerItem,
         const std::function<void(std::int64_t, std::int64_t, int)>& body)
{
    const int slices = int(std::min<std::int64_t>(MaxSlices(), n * costPerItem / kMinWork));
    if (slices <= 1 || n < slices) {
        if (n > 0)
            body(0, n, 0);
        return;
    }
    QSemaphore done;
    auto bounds = [n, slices](int s) { return n * s / slices; };
    for (int s = 1; s < slices; ++s)
        QThreadPool::globalInstance()->start([&, s] {
            body(bounds(s), bounds(s + 1), s);
            done.release();
        });
    body(0, bounds(1), 0);
    done.acquire(slices - 1);
}

} // namespace parallel
