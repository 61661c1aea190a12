#pragma once
// The baseline of JPEG loading: libjpeg-turbo alone decoding the large JPEG
// and writing its rows as a 24-bit BMP file.

#include <benchmark/benchmark.h>

namespace korven::bench {

// Seconds the baseline takes, measured once per run (the median of three).
double jpeg_baseline_seconds();

// Adds the counter "x_baseline": this benchmark's time per iteration as a
// ratio to the baseline.
void report_ratio_to_jpeg_baseline(benchmark::State& state);

}  // namespace korven::bench
