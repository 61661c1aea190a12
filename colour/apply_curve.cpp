#include "colour/apply_curve.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <optional>
#include <thread>

#include "colour/apply_curve_rows.h"

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

curve_rows::RowLoops row_loops(KernelCode code)
{
    std::optional<curve_rows::RowLoops> loops;
    if (code == KernelCode::fastest || code == KernelCode::avx512)
        loops = curve_rows::avx512_rows();
    if (!loops && (code == KernelCode::fastest || code == KernelCode::avx2))
        loops = curve_rows::avx2_rows();
    return loops.value_or(curve_rows::portable_rows);
}

}  // namespace

std::vector<KernelCode> kernel_codes_here()
{
    std::vector<KernelCode> codes;
    if (curve_rows::avx512_rows()) codes.push_back(KernelCode::avx512);
    if (curve_rows::avx2_rows()) codes.push_back(KernelCode::avx2);
    codes.push_back(KernelCode::portable);
    return codes;
}

std::string_view kernel_code_name(KernelCode code)
{
    switch (code) {
    case KernelCode::fastest: return "fastest";
    case KernelCode::avx512: return "avx512";
    case KernelCode::avx2: return "avx2";
    case KernelCode::portable: return "portable";
    }
    return "unknown";
}

void apply_all_channels(ConstPictureView original, PictureView adjusted, const LevelTable& table,
                        KernelCode code)
{
    const int width = std::min(original.width, adjusted.width);
    const int height = std::min(original.height, adjusted.height);
    if (width <= 0 || height <= 0) return;
    const curve_rows::AllChannelsPlan plan = curve_rows::plan_all_channels(table);
    const auto row = row_loops(code).all_channels;
    for_each_row(width, height,
                 [&](int y) { row(plan, original.row(y), adjusted.row(y), width); });
}

void apply_one_channel(ConstPictureView original, PictureView adjusted, const LevelTable& table,
                       int channel, KernelCode code)
{
    const int width = std::min(original.width, adjusted.width);
    const int height = std::min(original.height, adjusted.height);
    if (width <= 0 || height <= 0 || channel < 0 || channel > 2) return;
    const curve_rows::OneChannelPlan plan = curve_rows::plan_one_channel(table, channel);
    const auto row = row_loops(code).one_channel;
    for_each_row(width, height,
                 [&](int y) { row(plan, original.row(y), adjusted.row(y), width); });
}

}  // namespace korven
