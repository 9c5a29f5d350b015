// Runs the registered benchmarks and prints, for each pair (ours, reference), how many times
// the reference's time ours takes, from the medians of their repetitions.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration)
                m_times[r.run_name.str()].push_back(r.GetAdjustedRealTime());
        ConsoleReporter::ReportRuns(runs);
    }
    // The median of the repetitions' times; 0 when the benchmark did not run.
    double Time(const std::string& name) const
    {
        const auto it = m_times.find(name);
        if (it == m_times.end())
            return 0.0;
        std::vector<double> times = it->second;
        std::sort(times.begin(), times.end());
        const std::size_t n = times.size();
        return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    }

private:
    std::map<std::string, std::vector<double>> m_times;
};

// `pairs` holds (ours, reference) benchmark names, as Google Benchmark reports them.
inline int RunWithRatios(int argc, char** argv,
                         const std::vector<std::pair<std::string, std::string>>& pairs)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const auto& [ours, reference] : pairs) {
        const double a = reporter.Time(ours), b = reporter.Time(reference);
        if (a > 0 && b > 0)
            std::printf("ratio %-50s / %-40s = %.2f\n", ours.c_str(), reference.c_str(), a / b);
    }
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
