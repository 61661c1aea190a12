// The benchmark program: the usual console table, then each figure as a
// ratio to a memcpy of the same picture, measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

class RatioSummary : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto ratio = run.counters.find("x_memcpy");
            if (ratio != run.counters.end() && !run.error_occurred)
                ratios_.emplace_back(run.benchmark_name(), ratio->second.value);
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nTime as a multiple of memcpy of the same picture:\n");
        for (const auto& [name, ratio] : ratios_) std::printf("  %8.3f  %s\n", ratio, name.c_str());
    }

private:
    std::vector<std::pair<std::string, double>> ratios_;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioSummary reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
