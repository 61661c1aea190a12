// The analysis pass over a 6000 x 4000 picture, by each instruction set, and
// the whole "Analysis" press on that picture.
#include "bench/bench_support.h"
#include "colour/analysis.h"
#include "colour/analysis_button.h"
#include "state/document_controls.h"

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
void BM_AnalyseLargePicture(benchmark::State& bench, CodePath path)
{
    const Picture picture =
        bench.range(0) == 0 ? synthetic_picture(large_width, large_height) : photo_like_picture();
    const ChromaMatrix matrix = chroma_matrix();
    Picture chart(640, 648);
    for (auto _ : bench) {
        benchmark::DoNotOptimize(analyse(picture.view(), matrix, 324.0f, chart.view(), path));
        benchmark::ClobberMemory();
    }
    report_ratio_to_memcpy(bench, large_width, large_height);
}
[[maybe_unused]] const bool registered = [] {
    for (auto* bench : register_per_path("BM_AnalyseLargePicture", analysis_paths_here(), BM_AnalyseLargePicture))
        bench->ArgName("photo")->Arg(0)->Arg(1);
    return true;
}();

// "Analysis" with the adjusted picture shown: the pass, the chart and the redraw.
void BM_AnalysisButtonLargePicture(benchmark::State& bench)
{
    start_program();
    State& s = state();
    s.pictures.set(adjusted_slot, synthetic_picture(large_width, large_height));
    s.picture_width[adjusted_slot] = large_width;
    s.picture_height[adjusted_slot] = large_height;
    show_picture_window(true);
    for (auto _ : bench) {
        s.shown_picture = adjusted_slot;
        BUTTON7_ON();
    }
    report_ratio_to_memcpy(bench, large_width, large_height);
}
BENCHMARK(BM_AnalysisButtonLargePicture)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace korven::bench
