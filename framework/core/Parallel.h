// Splitting large pixel work by rows over the thread pool, as Qt's own raster engine does:
// it pays for large fills, block transfers and compositions; small work, and a pool of one
// thread, runs on the calling thread alone.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace parallel {

// How many threads at most For runs work on at once; the slice numbers it passes are below.
int MaxSlices();

// Calls body(begin, end, slice) for pieces of [0, n) that together cover it once: on the
// calling thread alone when n × costPerItem is small, or when called from inside a piece,
// otherwise on the calling thread (slice 0) and the pool's (slices 1 on) at the same time, each
// thread taking the next piece as it is free. A slice's pieces run one after another, so that
// state kept for each slice needs no lock. Returns when every piece is done.
void For(std::int64_t n, std::int64_t costPerItem,
         const std::function<void(std::int64_t, std::int64_t, int)>& body);

// The same for items of costs of their own, such as rows that hold more or less of a drawing:
// the pieces cover [0, costs.size()) and each holds about an equal share of the total cost.
void For(const std::vector<std::int64_t>& costs,
         const std::function<void(std::int64_t, std::int64_t, int)>& body);

} // namespace parallel
