// How far a piece of work has got, and whether it has been asked to stop: shared between the
// thread that does the work, which reports and polls, and the one that shows it, which reads
// and may cancel.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>

class CProgress {
public:
    static constexpr int kWhole = 1000;

    // Asks the work to stop; it notices at its next poll.
    void Cancel() { m_bCancelled.store(true, std::memory_order_relaxed); }
    bool IsCancelled() const { return m_bCancelled.load(std::memory_order_relaxed); }

    // The work has done `done` of `total` within the part of the whole that runs from
    // `from` to `to` thousandths.
    void Report(std::int64_t done, std::int64_t total, int from = 0, int to = kWhole)
    {
        const std::int64_t part = total > 0 ? std::clamp<std::int64_t>(done, 0, total) : 0;
        m_nDone.store(from + int(total > 0 ? part * (to - from) / total : 0),
                      std::memory_order_relaxed);
    }
    // Thousandths of the whole done so far.
    int Done() const { return m_nDone.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> m_bCancelled{false};
    std::atomic<int> m_nDone{0};
};
