// libjpeg-turbo alone: the large JPEG decoded and written as a 24-bit BMP
// file, top row first, a row at a time, as a plain converter does. Loading a
// JPEG (load_and_paint_bench.cpp) is compared with it.
#include "bench/jpeg_baseline.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include <jpeglib.h>

#include "bench/bench_support.h"
#include "bench/large_jpeg.h"

namespace korven::bench {
namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

void put_u32(unsigned char* at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

bool decode_to_bmp(const std::filesystem::path& jpeg, const std::filesystem::path& bmp)
{
    const File in(std::fopen(jpeg.c_str(), "rb"), std::fclose);
    const File out(std::fopen(bmp.c_str(), "wb"), std::fclose);
    if (!in || !out) return false;
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);  // the file is known to be good
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, in.get());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);

    const std::uint32_t stride = (info.output_width * 3 + 3) / 4 * 4;
    unsigned char header[54] = {'B', 'M'};
    put_u32(header + 2, 54 + stride * info.output_height);
    put_u32(header + 10, 54);
    put_u32(header + 14, 40);
    put_u32(header + 18, info.output_width);
    put_u32(header + 22, static_cast<std::uint32_t>(-static_cast<std::int32_t>(info.output_height)));
    put_u32(header + 26, 1 | (24 << 16));
    bool written = std::fwrite(header, sizeof header, 1, out.get()) == 1;
    std::vector<unsigned char> row(stride, 0);
    JSAMPROW rows[1] = {row.data()};
    while (info.output_scanline < info.output_height) {
        jpeg_read_scanlines(&info, rows, 1);
        written = written && std::fwrite(row.data(), stride, 1, out.get()) == 1;
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return written;
}

std::filesystem::path baseline_bmp() { return scratch_folder() / "baseline.bmp"; }

void BM_JpegDecodeAndBmpWriteBaseline(benchmark::State& state)
{
    const std::filesystem::path jpeg = large_jpeg();
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(baseline_bmp());  // written afresh every time, as loading does
        state.ResumeTiming();
        if (jpeg.empty() || !decode_to_bmp(jpeg, baseline_bmp())) {
            state.SkipWithError("cannot convert the JPEG file");
            break;
        }
    }
    report_ratio_to_memcpy(state, large_width, large_height);
    std::filesystem::remove(baseline_bmp());
    std::filesystem::remove(jpeg);
}
BENCHMARK(BM_JpegDecodeAndBmpWriteBaseline)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

double jpeg_baseline_seconds()
{
    static const double seconds = [] {
        std::vector<double> spent;
        for (int round = 0; round < 3; ++round) {
            std::filesystem::remove(baseline_bmp());
            const std::filesystem::path jpeg = large_jpeg();  // made outside the timing if need be
            const auto start = std::chrono::steady_clock::now();
            decode_to_bmp(jpeg, baseline_bmp());
            spent.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        std::filesystem::remove(baseline_bmp());
        std::sort(spent.begin(), spent.end());
        return spent[1];
    }();
    return seconds;
}

void report_ratio_to_jpeg_baseline(benchmark::State& state)
{
    state.counters["x_baseline"] = benchmark::Counter(
        jpeg_baseline_seconds() * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace korven::bench
