#include "colour/apply_curve.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>

#include "colour/apply_curve_rows.h"
#include "platform/numbers.h"

namespace korven {
namespace {

// Large pictures are shared with one helper thread: both take small runs of
// rows until none are left, so a helper that starts late or is slowed down
// only does less. Every pixel depends on its own inputs only, so the result
// is the same either way, and all rows are done before the pass returns.
constexpr long long pixels_worth_a_thread = 1 << 20;
constexpr int rows_per_run = 16;

template <typename RowFunction>
void for_each_row(int width, int height, RowFunction row)
{
    std::atomic<int> next_run{0};
    const auto take_runs = [&] {
        for (int first = next_run.fetch_add(rows_per_run); first < height;
             first = next_run.fetch_add(rows_per_run))
            for (int y = first; y < std::min(height, first + rows_per_run); ++y) row(y);
    };
    const long long pixels = static_cast<long long>(width) * height;
    std::thread helper;
    if (pixels >= pixels_worth_a_thread && std::thread::hardware_concurrency() >= 2) {
        try {
            helper = std::thread(take_runs);
        } catch (const std::exception&) {
            // No thread to be had: this thread does every run.
        }
    }
    take_runs();
    if (helper.joinable()) helper.join();
}

}  // namespace

void apply_all_channels(ConstPictureView original, PictureView adjusted, const LevelTable& table,
                        KernelCode code)
{
    const int width = std::min(original.width, adjusted.width);
    const int height = std::min(original.height, adjusted.height);
    if (width <= 0 || height <= 0) return;
    const curve_rows::AllChannelsPlan plan = curve_rows::plan_all_channels(table);
    const bool vector =
        code == KernelCode::fastest && curve_rows::has_vector_rows();
    for_each_row(width, height, [&](int y) {
        if (vector)
            curve_rows::vector_all_channels_row(plan, original.row(y), adjusted.row(y), width);
        else
            curve_rows::all_channels_row(plan, original.row(y), adjusted.row(y), width);
    });
}

void apply_one_channel(ConstPictureView original, PictureView adjusted, const LevelTable& table,
                       int channel, KernelCode code)
{
    const int width = std::min(original.width, adjusted.width);
    const int height = std::min(original.height, adjusted.height);
    if (width <= 0 || height <= 0 || channel < 0 || channel > 2) return;
    curve_rows::ChannelLevels levels{};
    for (std::size_t level = 0; level < levels.size(); ++level)
        levels[level] = static_cast<std::uint8_t>(std::clamp(round_to_int(table[level]), 0, 255));
    const bool vector = code == KernelCode::fastest && curve_rows::has_vector_rows();
    for_each_row(width, height, [&](int y) {
        if (vector)
            curve_rows::vector_one_channel_row(levels, channel, original.row(y), adjusted.row(y),
                                               width);
        else
            curve_rows::one_channel_row(levels, channel, original.row(y), adjusted.row(y), width);
    });
}

}  // namespace korven
