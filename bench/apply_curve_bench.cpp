// DRAW's two passes over a 6000 x 4000 picture with a random-looking curve,
// once on every path this processor runs (avx512, avx2, portable).
#include "bench/bench_support.h"
#include "colour/apply_curve.h"
#include "colour/level_table.h"

namespace korven::bench {
namespace {

// A wavy curve that raises some ranges (many overflows) and lowers others.
PointLevels wavy_curve()
{
    PointLevels points{};
    std::uint32_t x = 2463534242u;
    for (auto& point : points) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        point = static_cast<std::int16_t>(x % 256);
    }
    return points;
}

void BM_ApplyAllChannelsLargePicture(benchmark::State& state, CodePath path)
{
    const Picture original = synthetic_picture(large_width, large_height);
    Picture adjusted(large_width, large_height);
    const LevelTable table = build_level_table(wavy_curve(), CurveMode::all_channels);
    for (auto _ : state) {
        apply_all_channels(original.view(), adjusted.view(), table, path);
        benchmark::ClobberMemory();
    }
    report_ratio_to_memcpy(state, large_width, large_height);
}

void BM_ApplyOneChannelLargePicture(benchmark::State& state, CodePath path)
{
    const Picture original = synthetic_picture(large_width, large_height);
    // As DRAW runs it: the adjusted picture before, and a new one.
    const Picture previous = synthetic_picture(large_width, large_height, 2);
    Picture adjusted = Picture::for_overwrite(large_width, large_height);
    const LevelTable table = build_level_table(wavy_curve(), CurveMode::one_channel);
    int channel = 0;
    for (auto _ : state) {
        apply_one_channel(original.view(), previous.view(), adjusted.view(), table, channel, path);
        channel = (channel + 1) % 3;
        benchmark::ClobberMemory();
    }
    report_ratio_to_memcpy(state, large_width, large_height);
}

[[maybe_unused]] const bool registered = [] {
    register_per_path("BM_ApplyAllChannelsLargePicture", curve_paths_here(), BM_ApplyAllChannelsLargePicture);
    register_per_path("BM_ApplyOneChannelLargePicture", curve_paths_here(), BM_ApplyOneChannelLargePicture);
    return true;
}();

}  // namespace
}  // namespace korven::bench
