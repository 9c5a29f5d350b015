// Splitting large pixel work by rows over the thread pool, as Qt's own raster engine does:
// it pays for large fills, block transfers and compositions; small work, and a pool of one
// thread, runs on the calling thread alone.
#pragma once

#include <cstdint>
#include <functional>

namespace parallel {

// How many slices For may cut work into.
int MaxSlices();

// Calls body(begin, end, slice) for slices of [0, n) that together cover it once: on the
// calling thread alone when n × costPerItem is small, or when called from inside a slice,
// otherwise on the calling thread and the pool's at the same time. Returns when every slice is
// done.
void For(std::int64_t n, std::int64_t costPerItem,
         const std::function<void(std::int64_t, std::int64_t, int)>& body);

} // namespace parallel
