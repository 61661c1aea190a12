#pragma once
// Shared pieces of the benchmarks: the large synthetic picture, and the
// memcpy of the same picture that every figure is reported against.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/code_path.h"
#include "core/picture.h"

namespace korven::bench {

constexpr int large_width = 6000;
constexpr int large_height = 4000;

// A deterministic picture with every kind of pixel: greys, primaries, mixes.
Picture synthetic_picture(int width, int height, std::uint32_t seed = 1);

// A photo-like 6000 x 4000 picture: smooth gradients with some fine texture,
// which compresses like a photo (random noise would not).
Picture photo_like_picture();

// The program, started once and offscreen, so that its windows and state exist.
void start_program();

// Seconds per memcpy of a picture of this size, measured once per run.
double memcpy_seconds(int width, int height);

// The memcpy times measured so far in this run, one per picture size.
struct MemcpyBaseline {
    int width = 0;
    int height = 0;
    double seconds = 0;
};
std::vector<MemcpyBaseline> memcpy_baselines();

// Adds the counter "x_memcpy": this benchmark's time per iteration as a ratio
// to memcpy of a `width` x `height` picture. (Kept as an inverted rate so the
// library divides by the measured time; bench/main.cpp prints it as a number.)
void report_ratio_to_memcpy(benchmark::State& state, int width, int height);

// Registers `run(state, path)` once per code path, named NAME/PATH (for
// example BM_ApplyAllChannelsLargePicture/avx2), so that every figure says
// which code made it. Returns the registrations for their arguments.
template <class Run>
std::vector<benchmark::internal::Benchmark*> register_per_path(const std::string& name,
                                                               const std::vector<CodePath>& paths, Run run)
{
    std::vector<benchmark::internal::Benchmark*> registered;
    for (const CodePath path : paths) {
        const std::string full_name = name + "/" + std::string(code_path_name(path));
        registered.push_back(benchmark::RegisterBenchmark(
            full_name.c_str(), [run, path](benchmark::State& state) { run(state, path); }));
        registered.back()->Unit(benchmark::kMillisecond)->UseRealTime();
    }
    return registered;
}

}  // namespace korven::bench
