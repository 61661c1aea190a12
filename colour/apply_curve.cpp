#include "colour/apply_curve.h"

#include <algorithm>

#include "colour/apply_curve_rows.h"
#include "core/shared_runs.h"

namespace korven {
namespace {

// Large pictures are shared with one helper thread in small runs of rows.
// Every pixel depends on its own inputs only, so the result is the same
// either way, and all rows are done before the pass returns.
constexpr int rows_per_run = 16;

template <typename RowFunction>
void for_each_row(int width, int height, RowFunction row)
{
    share_runs(height, rows_per_run, static_cast<long long>(width) * height, [&](int first, int end) {
        for (int y = first; y < end; ++y) row(y);
    });
}

// The vector rows, fastest first.
constexpr CodePath vector_paths[] = {CodePath::avx512, CodePath::avx2};

curve_rows::RowLoops row_loops(CodePath path)
{
    switch (path_to_run(path, vector_paths)) {
    case CodePath::avx512: return curve_rows::avx512_rows();
    case CodePath::avx2: return curve_rows::avx2_rows();
    default: return curve_rows::portable_rows;
    }
}

}  // namespace

std::vector<CodePath> curve_paths_here() { return paths_here(vector_paths); }

void apply_all_channels(ConstPictureView original, PictureView adjusted, const LevelTable& table,
                        CodePath path)
{
    const int width = std::min(original.width, adjusted.width);
    const int height = std::min(original.height, adjusted.height);
    if (width <= 0 || height <= 0) return;
    const curve_rows::AllChannelsPlan plan = curve_rows::plan_all_channels(table);
    const auto row = row_loops(path).all_channels;
    for_each_row(width, height,
                 [&](int y) { row(plan, original.row(y), adjusted.row(y), width); });
}

void apply_one_channel(ConstPictureView original, ConstPictureView previous, PictureView adjusted,
                       const LevelTable& table, int channel, CodePath path)
{
    const int width = std::min({original.width, previous.width, adjusted.width});
    const int height = std::min({original.height, previous.height, adjusted.height});
    if (width <= 0 || height <= 0 || channel < 0 || channel > 2) return;
    const curve_rows::OneChannelPlan plan = curve_rows::plan_one_channel(table, channel);
    const auto row = row_loops(path).one_channel;
    for_each_row(width, height,
                 [&](int y) { row(plan, original.row(y), previous.row(y), adjusted.row(y), width); });
}

}  // namespace korven
