#include "bench/bench_support.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "app/startup.h"
#include "platform/form.h"

namespace korven::bench {

void start_program()
{
    static const bool started = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static char name[] = "korven_bench";
        static char* arguments[] = {name, nullptr};
        fe::init(1, arguments);
        start_up();
        return true;
    }();
    (void)started;
}

Picture synthetic_picture(int width, int height, std::uint32_t seed)
{
    Picture picture(width, height);
    std::uint32_t x = seed * 2654435761u + 12345u;
    for (Colour& pixel : picture.pixels()) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        pixel = x & 0xFFFFFFu;
    }
    return picture;
}

Picture photo_like_picture()
{
    Picture picture(large_width, large_height);
    for (int y = 0; y < large_height; ++y)
        for (int x = 0; x < large_width; ++x)
            picture.at(x, y) = rgb(x * 255 / large_width, y * 255 / large_height, ((x ^ y) & 31) + 100);
    return picture;
}

namespace {

std::map<std::pair<int, int>, double>& measured_memcpy()
{
    static std::map<std::pair<int, int>, double> measured;
    return measured;
}

}  // namespace

double memcpy_seconds(int width, int height)
{
    auto& measured = measured_memcpy();
    const auto key = std::make_pair(width, height);
    if (auto found = measured.find(key); found != measured.end()) return found->second;

    // Pictures, so the copy runs on the same kind of memory (huge pages) as
    // every operation measured against it.
    Picture from(width, height), to(width, height);
    std::fill(from.pixels().begin(), from.pixels().end(), Colour{1});
    const std::size_t bytes = from.pixels().size() * sizeof(Colour);
    // The median of many copies, as the benchmarks' own times are averages
    // over many runs: a single best copy would flatter memcpy.
    std::vector<double> spent;
    for (int round = 0; round < 31; ++round) {
        const auto start = std::chrono::steady_clock::now();
        std::memcpy(to.pixels().data(), from.pixels().data(), bytes);
        benchmark::ClobberMemory();
        spent.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(spent.begin(), spent.begin() + 15, spent.end());
    measured[key] = spent[15];
    return spent[15];
}

std::vector<MemcpyBaseline> memcpy_baselines()
{
    std::vector<MemcpyBaseline> baselines;
    for (const auto& [size, seconds] : measured_memcpy())
        baselines.push_back({size.first, size.second, seconds});
    return baselines;
}

void report_ratio_to_memcpy(benchmark::State& state, int width, int height)
{
    const double per_iteration = memcpy_seconds(width, height);
    state.counters["x_memcpy"] = benchmark::Counter(
        per_iteration * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace korven::bench
