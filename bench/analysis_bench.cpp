// The analysis pass over a 6000 x 4000 picture, by each instruction set, and
// the whole "Analysis" press on that picture.
#include "bench/bench_support.h"
#include "colour/analysis.h"
#include "colour/analysis_button.h"
#include "state/state.h"

namespace korven::bench {
namespace {

// The chroma matrix as start-up fills it.
ChromaMatrix chroma_matrix()
{
    start_program();
    return state().chroma_matrix;
}

// Random colours spread the dots over the whole diagram; a photo-like
// picture has long runs of equal brightness.
void BM_AnalyseLargePicture(benchmark::State& bench)
{
    const auto code = static_cast<AnalysisCode>(bench.range(0));
    if (!processor_has(code)) {
        bench.SkipWithError("this processor lacks the instruction set");
        return;
    }
    const Picture picture =
        bench.range(1) == 0 ? synthetic_picture(large_width, large_height) : photo_like_picture();
    const ChromaMatrix matrix = chroma_matrix();
    Picture chart(640, 648);
    for (auto _ : bench) {
        benchmark::DoNotOptimize(analyse(picture.view(), matrix, 324.0f, chart.view(), code));
        benchmark::ClobberMemory();
    }
    report_ratio_to_memcpy(bench, large_width, large_height);
}
BENCHMARK(BM_AnalyseLargePicture)
    ->ArgNames({"code", "photo"})  // code: 0 fastest, 1 AVX-512, 2 AVX2, 3 portable
    ->ArgsProduct({{0, 1, 2, 3}, {0}})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// "Analysis" with the adjusted picture shown: the pass, the chart and the redraw.
void BM_AnalysisButtonLargePicture(benchmark::State& bench)
{
    start_program();
    State& s = state();
    s.pictures[adjusted_slot] = synthetic_picture(large_width, large_height);
    s.picture_width[adjusted_slot] = large_width;
    s.picture_height[adjusted_slot] = large_height;
    fe::show_window(ui().FORM2);
    for (auto _ : bench) {
        s.shown_picture = adjusted_slot;
        BUTTON7_ON();
    }
    report_ratio_to_memcpy(bench, large_width, large_height);
}
BENCHMARK(BM_AnalysisButtonLargePicture)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace korven::bench
