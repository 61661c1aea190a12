// The baseline: memcpy of a 6000 x 4000 picture. Every other figure is a ratio to it.
#include <cstring>

#include "bench/bench_support.h"

namespace korven::bench {
namespace {

void BM_MemcpyLargePicture(benchmark::State& state)
{
    const Picture source = synthetic_picture(large_width, large_height);
    Picture target(large_width, large_height);
    const std::size_t bytes = source.pixels().size() * sizeof(Colour);
    for (auto _ : state) {
        std::memcpy(target.pixels().data(), source.pixels().data(), bytes);
        benchmark::ClobberMemory();
    }
    report_ratio_to_memcpy(state, large_width, large_height);
}
BENCHMARK(BM_MemcpyLargePicture)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace korven::bench


