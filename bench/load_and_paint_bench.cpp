// Loading large pictures, and redrawing the picture window at one to one,
// enlarged by 4 and reduced by 4. A redraw must not grow with the picture:
// nothing beyond the window's canvas is copied or converted.
#include <filesystem>
#include <string>

#include "state/state.h"
#include "bench/bench_support.h"
#include "bench/jpeg_baseline.h"
#include "bench/large_jpeg.h"
#include "display/loading.h"
#include "display/picture_window.h"
#include "files/image_files.h"

namespace korven::bench {
namespace {

// A load that replaces a loaded photo of the same size. The first two loads
// of a session also find new memory for the original and the adjusted
// picture (on a machine short of free huge pages that costs more than the
// load itself); two loads before the timing do that.
void warm_up(const std::string& file)
{
    for (int load = 0; load < 2; ++load) load_picture_file(file);
}

void BM_LoadLargeBmp(benchmark::State& bench)
{
    start_program();
    const std::string file = (scratch_folder() / "large.bmp").string();
    if (!fe::save_file(synthetic_picture(large_width, large_height), file)) {
        bench.SkipWithError("cannot write the BMP file");
        return;
    }
    warm_up(file);
    for (auto _ : bench) load_picture_file(file);
    report_ratio_to_memcpy(bench, large_width, large_height);
    std::filesystem::remove(file);
}
BENCHMARK(BM_LoadLargeBmp)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The file reading alone, to tell it apart from what loading adds.
void BM_ReadLargeBmpFile(benchmark::State& bench)
{
    const std::string file = (scratch_folder() / "large-read.bmp").string();
    if (!fe::save_file(synthetic_picture(large_width, large_height), file)) {
        bench.SkipWithError("cannot write the BMP file");
        return;
    }
    for (auto _ : bench) {
        fe::Bitmap picture;
        fe::load_file(picture, file);
        benchmark::DoNotOptimize(picture.pixels().data());
    }
    report_ratio_to_memcpy(bench, large_width, large_height);
    std::filesystem::remove(file);
}
BENCHMARK(BM_ReadLargeBmpFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// A 6000 x 4000 JPEG of quality 90, converted to a BMP file beside it and
// loaded, after the warm-up above; "x_baseline" compares it with
// libjpeg-turbo decoding the same file and writing a BMP file, alone
// (jpeg_baseline_bench.cpp).
void BM_LoadLargeJpeg(benchmark::State& bench)
{
    start_program();
    const std::filesystem::path jpeg = large_jpeg(), bmp = scratch_folder() / "large.bmp";
    if (jpeg.empty()) {
        bench.SkipWithError("cannot write the JPEG file");
        return;
    }
    warm_up(jpeg.string());
    for (auto _ : bench) {
        bench.PauseTiming();
        std::filesystem::remove(bmp);  // convert afresh every time
        bench.ResumeTiming();
        load_picture_file(jpeg.string());
    }
    report_ratio_to_memcpy(bench, large_width, large_height);
    report_ratio_to_jpeg_baseline(bench);
    std::filesystem::remove(bmp);
    std::filesystem::remove(jpeg);
}
BENCHMARK(BM_LoadLargeJpeg)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

enum Zoom { one_to_one, enlarged_by_4, reduced_by_4 };

// DRAW2 of a `width` x `height` adjusted picture, viewed from its top-left
// corner (where a load leaves the view) or from its middle. The cost is bounded
// by the window's canvas: a picture that covers it (1800 x 1600 does even when
// reduced by 4) costs as much as a 6000 x 4000 one; a smaller one costs less.
void BM_Draw2(benchmark::State& bench)
{
    start_program();
    const int width = static_cast<int>(bench.range(0)), height = static_cast<int>(bench.range(1));
    const auto zoom = static_cast<Zoom>(bench.range(2));
    const bool from_middle = bench.range(3) == 1;
    State& s = state();
    s.pictures.set(adjusted_slot, synthetic_picture(width, height));
    s.shown_picture = adjusted_slot;
    s.shown_width = static_cast<std::int16_t>(width);
    s.shown_height = static_cast<std::int16_t>(height);
    s.zoom_in_factor = zoom == enlarged_by_4 ? 4 : 1;
    s.zoom_out_divisor = zoom == reduced_by_4 ? 4 : 1;
    const int view_size = zoom == enlarged_by_4 ? 90 : zoom == reduced_by_4 ? 1440 : 360;
    for (auto _ : bench) {
        s.view_width = s.view_height = static_cast<std::int16_t>(view_size);
        s.view_left = static_cast<std::int16_t>(from_middle ? width / 2 : 0);
        s.view_top = static_cast<std::int16_t>(from_middle ? height / 2 : 0);
        DRAW2();
    }
    report_ratio_to_memcpy(bench, width, height);
}
BENCHMARK(BM_Draw2)
    ->ArgNames({"width", "height", "zoom", "middle"})
    ->ArgsProduct({{600}, {400}, {one_to_one, enlarged_by_4, reduced_by_4}, {0, 1}})
    ->ArgsProduct({{1800}, {1600}, {one_to_one, enlarged_by_4, reduced_by_4}, {0, 1}})
    ->ArgsProduct({{6000}, {4000}, {one_to_one, enlarged_by_4, reduced_by_4}, {0, 1}})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

}  // namespace
}  // namespace korven::bench
