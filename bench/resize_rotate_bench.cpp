// "Resizing" and "Rotating" on a 6000 x 4000 picture: the averaging reduction,
// the bitmap stretch, and rotations by quarter turns and by tilts. `path` 0
// is the fastest code this processor runs (AVX2 where it has it), 1 the plain
// code every processor runs.
#include "bench/bench_support.h"
#include "geometry/average_reduce.h"
#include "geometry/rotate_sheared.h"
#include "platform/form.h"

namespace korven::bench {
namespace {

KernelPath path_of(const benchmark::State& state, int argument)
{
    return state.range(argument) == 0 ? KernelPath::fastest : KernelPath::portable;
}

// Each side divided by range(0).
void BM_AverageReduceLargePicture(benchmark::State& state)
{
    const Picture source = synthetic_picture(large_width, large_height);
    const int divisor = static_cast<int>(state.range(0));
    Picture target(large_width / divisor, large_height / divisor);
    for (auto _ : state) {
        average_reduce(source.view(), target.view(), path_of(state, 1));
        benchmark::ClobberMemory();
    }
    report_ratio_to_memcpy(state, large_width, large_height);
}
BENCHMARK(BM_AverageReduceLargePicture)
    ->ArgNames({"divisor", "path"})
    ->ArgsProduct({{4, 3, 2}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

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

// By range(0) degrees. Only a quarter turn has a vector path.
void BM_RotateLargePicture(benchmark::State& state)
{
    const Picture source = synthetic_picture(large_width, large_height);
    const RotationPlan plan = plan_rotation(static_cast<float>(state.range(0)), large_width, large_height);
    Picture target(plan.width(), plan.height());
    for (auto _ : state) {
        rotate_sheared(source.view(), target.view(), plan, path_of(state, 1));
        benchmark::ClobberMemory();
    }
    report_ratio_to_memcpy(state, large_width, large_height);
}
BENCHMARK(BM_RotateLargePicture)
    ->ArgNames({"degrees", "path"})
    ->Args({90, 0})->Args({90, 1})->Args({270, 0})->Args({180, 0})
    ->Args({10, 0})->Args({350, 0})->Args({100, 0})->Args({100, 1})->Args({45, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace korven::bench
