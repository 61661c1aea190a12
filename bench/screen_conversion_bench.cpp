// The colour-managed view's conversion on a window-sized area of random
// colours: the matrix-shaper form (Adobe RGB to sRGB) on every path this
// processor runs, and the sampled grid.
#include <vector>

#include "bench/bench_support.h"
#include "core/screen_conversion.h"
#include "files/colour_profile.h"

namespace korven::bench {
namespace {

constexpr int window_width = 1600;
constexpr int window_height = 1000;

void convert_window(benchmark::State& state, const ScreenConversion& conversion, CodePath path)
{
    Picture area = synthetic_picture(window_width, window_height);
    for (auto _ : state) {
        conversion.convert(area.view(), path);
        benchmark::ClobberMemory();
    }
    report_ratio_to_memcpy(state, window_width, window_height);
}

void BM_ScreenConversionMatrixShaper(benchmark::State& state, CodePath path)
{
    const auto conversion = screen_conversion_for(adobe_rgb_profile_bytes(), false);
    if (!conversion || conversion->uses_grid()) {
        state.SkipWithError("Adobe RGB gave no matrix-shaper conversion");
        return;
    }
    convert_window(state, *conversion, path);
}

// A grid of the colours themselves: every pass costs as much as any other,
// and the random colours stay random, the hardest case for the choice of
// tetrahedron.
void BM_ScreenConversionGrid(benchmark::State& state)
{
    constexpr int points = ScreenConversion::grid_points;
    const auto level = [](int point) { return static_cast<std::uint16_t>((point * 65535 + 16) / (points - 1)); };
    std::vector<ScreenConversion::GridNode> nodes;
    for (int r = 0; r < points; ++r)
        for (int g = 0; g < points; ++g)
            for (int b = 0; b < points; ++b) nodes.push_back({level(r), level(g), level(b)});
    convert_window(state, ScreenConversion::grid(nodes), CodePath::portable);
}
BENCHMARK(BM_ScreenConversionGrid)->Unit(benchmark::kMillisecond)->UseRealTime();

[[maybe_unused]] const bool registered = [] {
    register_per_path("BM_ScreenConversionMatrixShaper", paths_here(ScreenConversion::vector_paths()),
                      BM_ScreenConversionMatrixShaper);
    return true;
}();

}  // namespace
}  // namespace korven::bench
