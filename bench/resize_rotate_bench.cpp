// "Resizing" and "Rotating" on a 6000 x 4000 picture: the averaging reduction,
// the bitmap stretch, and rotations by quarter turns and by tilts, once per
// code path this processor runs.
#include "bench/bench_support.h"
#include "geometry/average_reduce.h"
#include "geometry/kernel_path.h"
#include "geometry/rotate_sheared.h"
#include "platform/form.h"

namespace korven::bench {
namespace {

// Each side divided by range(0).
void BM_AverageReduceLargePicture(benchmark::State& state, CodePath path)
{
    const Picture source = synthetic_picture(large_width, large_height);
    const int divisor = static_cast<int>(state.range(0));
    Picture target(large_width / divisor, large_height / divisor);
    for (auto _ : state) {
        average_reduce(source.view(), target.view(), path);
        benchmark::ClobberMemory();
    }
    report_ratio_to_memcpy(state, large_width, large_height);
}

// Each side multiplied by range(0) / 4.
void BM_StretchLargePicture(benchmark::State& state)
{
    const Picture source = synthetic_picture(large_width, large_height);
    const int quarters = static_cast<int>(state.range(0));
    fe::Bitmap target(large_width * quarters / 4, large_height * quarters / 4);
    for (auto _ : state) {
        fe::stretch_bitmap(target, 0, 0, target.width(), target.height(), source);
        benchmark::ClobberMemory();
    }
    report_ratio_to_memcpy(state, large_width, large_height);
}
BENCHMARK(BM_StretchLargePicture)->ArgName("quarters")->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond)->UseRealTime();

// By range(0) degrees.
void BM_RotateLargePicture(benchmark::State& state, CodePath path)
{
    const Picture source = synthetic_picture(large_width, large_height);
    const RotationPlan plan = plan_rotation(static_cast<float>(state.range(0)), large_width, large_height);
    Picture target(plan.width(), plan.height());
    for (auto _ : state) {
        rotate_sheared(source.view(), target.view(), plan, path);
        benchmark::ClobberMemory();
    }
    report_ratio_to_memcpy(state, large_width, large_height);
}
[[maybe_unused]] const bool registered = [] {
    for (auto* bench : register_per_path("BM_AverageReduceLargePicture", geometry_paths_here(),
                                         BM_AverageReduceLargePicture))
        bench->ArgName("divisor")->Arg(4)->Arg(3)->Arg(2);
    // A turn with a quarter in it on every path; the tilts alone have no vector code.
    for (auto* bench : register_per_path("BM_RotateLargePicture", geometry_paths_here(), BM_RotateLargePicture))
        bench->ArgName("degrees")->Arg(90)->Arg(100);
    for (auto* bench : register_per_path("BM_RotateLargePicture", {CodePath::fastest}, BM_RotateLargePicture))
        bench->ArgName("degrees")->Arg(270)->Arg(180)->Arg(10)->Arg(350)->Arg(45);
    return true;
}();

}  // namespace
}  // namespace korven::bench
