// The benchmark program: the usual console table, then each figure as a
// ratio to a memcpy of the same picture, measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "bench/batch_bench.h"
#include "bench/bench_support.h"
#include "bench/colour_view_bench.h"
#include "bench/draw_presses.h"

namespace {

constexpr const char* ratio_counter = "x_memcpy";

class RatioSummary : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        std::vector<Run> shown = runs;
        for (Run& run : shown) {
            const auto ratio = run.counters.find(ratio_counter);
            if (ratio == run.counters.end()) continue;
            // The counter holds the ratio already; as a rate it would be printed like a time ("1.6s").
            ratio->second.flags = benchmark::Counter::kDefaults;
            if (!run.error_occurred) ratios_.emplace_back(run.benchmark_name(), ratio->second.value);
        }
        ConsoleReporter::ReportRuns(shown);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nmemcpy in this run:\n");
        for (const auto& baseline : korven::bench::memcpy_baselines())
            std::printf("  %8.3f ms  %d x %d picture\n", baseline.seconds * 1e3, baseline.width,
                        baseline.height);
        std::printf("\nTime as a multiple of memcpy of the same picture:\n");
        for (const auto& [name, ratio] : ratios_) std::printf("  %8.3f  %s\n", ratio, name.c_str());
    }

private:
    std::vector<std::pair<std::string, double>> ratios_;
};

}  // namespace

int main(int argc, char** argv)
{
    if (const int child = korven::bench::run_draw_presses_child(argc, argv); child >= 0) return child;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioSummary reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    korven::bench::report_draw_presses();
    korven::bench::report_colour_managed_scroll();
    korven::bench::report_batch();
    return 0;
}
